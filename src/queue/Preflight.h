// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "model/TaskLists.h"
#include "model/OnePage.h"
#include "support/Result.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace inkvale {

/// The name of a kind in the command line's output ("too-wide", ...).
const char* PreflightKindName(EPreflightKind eKind);

/// Picolitres a nozzle fires per dot: the drop volume of the heads, for the ink estimate.
inline constexpr double kDropVolumePl = 30.0;

/// Looks at a task with its drawing loaded: its size, bands, paper, time and ink for one
/// copy, and what would go wrong (wider than the machine prints, a size no marker has,
/// parts outside the paper, nothing to print). Needs no copy of the drawing and does not
/// rasterise it: one pass over the vertices. Duplicates need the whole queue
/// (MarkDuplicates). nContentHash: PreflightContentHash of the task when known, else 0.
CPreflight RunPreflight(const COnePage& task, const CSettings& settings,
                        const CMachineParams& params, uint64_t nContentHash = 0);

/// The hash of the task's file (and of the suffix of a derived path) that tells duplicates
/// apart; 0 when the file cannot be read. RunPreflight reads it unless it is given, so a
/// thread that has just read the drawing can read it too, off the window thread.
uint64_t PreflightContentHash(const COnePage& task);

/// The printable width of the machine, millimetres: its carriage travel less the buffers
/// and the left offset.
double PrintableWidthMm(const CMachineParams& params);

/// The widest drawing the machine prints with these settings, mm (within 0.05 mm): the
/// printable width less what a job adds to a drawing's width (its size correction).
double WidestPrintableDrawingMm(const CSettings& settings, const CMachineParams& params);

/// The queue's totals: every task of the three lists with its copies still due (a task
/// whose drawing has not been looked at yet counts as a task only).
struct CQueueTotals {
    int m_nTasks = 0;
    double m_dPaperM = 0.0;
    double m_dSeconds = 0.0;
    double m_dInkMl = 0.0;
};
CQueueTotals QueueTotals(const CTaskLists& doc);

/// Marks every task whose file has the same contents as a task before it in the lists
/// (and the same split or mirror suffix) as a duplicate of that one; earlier marks go.
void MarkDuplicates(CTaskLists& doc);

} // namespace inkvale
