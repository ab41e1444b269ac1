// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/engine/JobJournal.h"
#include "machine/engine/PrintEngine.h"
#include "model/InkvaleDoc.h"

#include <cstdint>
#include <optional>
#include <string>

namespace inkvale {

/// The job the journal keeps, as the operator is told of it.
struct CInterruptedJob {
    CJobRecord m_record;
    int64_t m_nResumeBand = 0; ///< the first band a resumed job sends (counted from 0)
    double m_dPrintedM = 0.0;  ///< paper the bands before it cover
    double m_dTotalM = 0.0;    ///< paper the whole job covers
    /// Where the machine stopped in the task's drawing: the plotter X (along the feed) the
    /// resumed job starts at, before the task's start position is taken off.
    int32_t m_nStopX = 0;
};

/// The interrupted job of a journal folder; none when there is no job, or when one is
/// still running in this program (bRunning: a job of this engine runs now).
std::optional<CInterruptedJob> FindInterruptedJob(const std::string& strJournalDir, bool bRunning);

/// The task of the lists that the job printed (the same path); nullptr when none.
COnePage* TaskOfJob(CInkvaleDoc& doc, const CJobRecord& record);

/// Continues the journal's job on the engine. On success its task (if still in the lists)
/// is the one printing, so that the job's end counts as one of its copies printed.
CJobStartResult ResumeInterruptedJob(CInkvaleDoc& doc, IQueueEngine& engine);

} // namespace inkvale
