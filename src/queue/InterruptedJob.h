// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/engine/JobJournal.h"
#include "machine/engine/PrintEngine.h"
#include "model/TaskLists.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace inkvale {

/// A job of the ledger that did not finish, as the operator is told of it.
struct CInterruptedJob {
    std::string m_strJobDir; ///< its folder in Jobs/
    std::string m_strDamage; ///< why its record cannot be used; "" when it can
    CJobRecord m_record;
    int64_t m_nResumeBand = 0; ///< the first band a resumed job sends (counted from 0)
    double m_dPrintedM = 0.0;  ///< paper the bands before it cover
    double m_dTotalM = 0.0;    ///< paper the whole job covers
    /// Where the machine stopped in the task's drawing: the plotter X (along the feed) the
    /// resumed job starts at, before the task's start position is taken off.
    int32_t m_nStopX = 0;
};

/// The unfinished jobs of these job folders (the engine's UnfinishedJobs), oldest first; a
/// damaged one is listed with why, so that the operator can discard it.
std::vector<CInterruptedJob> InterruptedJobsOf(const std::vector<std::string>& jobDirs);
/// The first of them; none when there is none.
std::optional<CInterruptedJob> FindInterruptedJob(const std::vector<std::string>& jobDirs);

/// The task of the lists that the job printed (the same path); nullptr when none.
COnePage* TaskOfJob(CTaskLists& doc, const CJobRecord& record);

/// Continues a job of the ledger on the engine (strJobDir; "" the oldest unfinished one).
/// On success its task (if still in the lists) is the one printing with the copies the
/// ledger says were owed after this one, so that the job's end counts it and the rest
/// follow.
CJobStartResult ResumeInterruptedJob(CTaskLists& doc, IQueueEngine& engine,
                                     const std::string& strJobDir = {});

} // namespace inkvale
