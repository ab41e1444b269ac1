// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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
    /// The task of a row, left as the only selected task of the document; nullptr when the
    /// row does not exist.
    virtual COnePage* SelectTaskByRow(int nRow) = 0;
    /// Row of a task, -1 when it is in no list.
    virtual int RowOf(const COnePage& task) const = 0;
    /// Inserts a new task at position nPos (clamped to the list) of the manual-folder
    /// list. Tasks made by splitting or mirroring share the path of the file they came
    /// from: deleting one of them must not delete a file another task still shows.
    virtual void InsertManualTask(int nPos, std::unique_ptr<COnePage> task) = 0;
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
