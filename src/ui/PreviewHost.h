// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/Result.h"

#include <cstdint>
#include <memory>
#include <string>

namespace inkvale {

class COnePage;

/// What the preview needs from the window that owns it: the task queue's rows, the task
/// list and the status bar. The main window implements it over the task queue; tests fake
/// it. Window thread only.
class CPreviewHost {
public:
    virtual ~CPreviewHost() = default;

    /// Number of tasks over the three lists (the rows of the task list).
    virtual int TaskCount() const = 0;
    /// Row of the task shown in the preview.
    virtual int CurrentTaskIndex() const = 0;
    virtual void SetCurrentTaskIndex(int nRow) = 0;
    /// The task of a row; nullptr when the row does not exist. The selection stays as it
    /// is: it belongs to the task list.
    virtual COnePage* TaskAtRow(int nRow) = 0;
    /// Row of the task of this id, -1 when it is in no list.
    virtual int RowOfTask(uint64_t nTaskId) = 0;
    /// The task of this id, nullptr when it left the lists. A dialog runs a nested event
    /// loop in which a job may end or a folder scan replace tasks: after one, a task is
    /// looked up again by its id, never used through a pointer taken before.
    virtual COnePage* TaskById(uint64_t nTaskId) = 0;
    /// Splits the task along the paper feed into pieces of nLength plotter units (the
    /// queue's SplitTaskAlongFeed), with the messages for the operator.
    virtual CResult SplitAlongFeed(uint64_t nTaskId, int32_t nLength) = 0;
    /// Puts a mirrored copy of the task, its path followed by strSuffix, at the front of
    /// the manual-folder list (the queue's InsertMirroredCopy).
    virtual void MirrorCopy(uint64_t nTaskId, const std::string& strSuffix) = 0;
    /// Shows the task list again (rows, start positions, selection).
    virtual void RefreshTaskList() = 0;
    /// Reads and prepares the drawing of a task without curves (the task drawing loader),
    /// showing its messages when asked to.
    virtual void LoadDrawing(COnePage& task, bool bShowErrors) = 0;
    /// The preview left start-point mode (the mouse mode is 0 again): the command bar
    /// releases its button.
    virtual void MouseModeChanged() = 0;
    /// Text for the mouse-position pane of the status bar.
    virtual void ShowMousePosition(const std::string& strText) = 0;
};

} // namespace inkvale
