// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/Result.h"

#include <ctime>
#include <string>

namespace inkvale {

/// What the task queue asks of the windows: the task list window and the preview implement
/// it, tests fake it. The queue never shows anything itself; texts for the operator come
/// through ShowMessage. Window thread only.
class CQueueView {
public:
    virtual ~CQueueView() = default;
    /// The task list shows the tasks' states and positions again.
    virtual void RefreshTaskList() = 0;
    /// The preview selects the task list row nRow.
    virtual void SelectRow(int nRow) = 0;
    /// The preview draws the current task again.
    virtual void Redraw() = 0;
    /// A message the operator must see; the view makes its text in the operator's language.
    virtual void ShowMessage(const CMessage& message) = 0;
    /// Automatic mode was switched off (AutoStartEnable := 0): the command bar releases
    /// its automatic-mode button.
    virtual void AutoModeOff() = 0;
    /// A job ended and the queue has taken its result (kJobSuccess or a failure).
    virtual void JobEnded(int nResult) { (void)nResult; }
    /// The machine stopped answering during the job (tSilentSince: the local time it last
    /// answered) or answers again (0); the view shows it at once instead of at its next tick.
    virtual void MachineSilence(std::time_t tSilentSince) { (void)tSilentSince; }
};

} // namespace inkvale
