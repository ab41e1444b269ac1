// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace inkvale {

/// What loading a task's drawing asks of the windows: the task list window and the
/// preview implement it (the command-line front end passes none). Window thread only.
class CTaskLoadView {
public:
    virtual ~CTaskLoadView() = default;
    /// The task list shows the tasks' states and positions again.
    virtual void RefreshTaskList() = 0;
    /// The preview selects the task list row nRow.
    virtual void SelectRow(int nRow) = 0;
};

} // namespace inkvale
