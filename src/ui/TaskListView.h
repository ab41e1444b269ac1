// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/Settings.h"
#include "model/TaskLists.h"
#include "queue/TaskQueue.h"

#include <QTableWidget>

#include <memory>

class QMenu;

namespace inkvale {

/// What the task list needs from the window that hosts it: the preview's row selection,
/// drawing load and redraw. Window thread only.
class CListViewHost {
public:
    virtual ~CListViewHost() = default;
    /// The preview shows the task of the row (without reading its drawing).
    virtual void SelectRow(int nRow) = 0;
    /// The preview reads the current task's drawing (texts shown with bShowErrors).
    virtual void LoadCurrentDrawing(bool bShowErrors) = 0;
    /// The preview draws the current task again.
    virtual void Redraw() = 0;
};

/// Sort modes of the task list.
enum ESortMode : int {
    kSortNone = 0,
    kSortPathUp = 1,
    kSortPathDown = 2,
    kSortTimeUp = 3,
    kSortTimeDown = 4,
};

/// `SortTasks`: sorts each of the three lists by itself (tasks never change lists), stably.
/// Paths compare by their UTF-16 code units; mode 0 or an unknown mode sorts nothing.
void SortTasks(CTaskLists& doc, int nMode);

/// Command numbers the task list handles.
inline constexpr int kListCmdDelete = 275;
inline constexpr int kListCmdCopiesUp = 276;
inline constexpr int kListCmdCopiesDown = 277;
inline constexpr int kListCmdMergeFrontBack = 330;
inline constexpr int kListCmdMergeTopBottom = 331;
inline constexpr int kListCmdQueue = 332;
inline constexpr int kListCmdUnqueue = 333;
inline constexpr int kListCmdDeleteZeroCopies = 334;
inline constexpr int kListCmdMoveTop = 335;
inline constexpr int kListCmdMoveUp = 336;
inline constexpr int kListCmdMoveDown = 337;

/// `CTaskListView`: the task list window. One row per task of the three lists in the global
/// row order, columns in the language of the settings at creation; clicks, keys, header
/// clicks and the context menu become task queue operations.
class CTaskListView : public QTableWidget {
    Q_OBJECT
public:
    /// Every reference must outlive the window.
    CTaskListView(CTaskQueue& queue, CSettings& settings, CListViewHost& host,
                QWidget* pParent = nullptr);
    ~CTaskListView() override;

    /// `RefreshTaskList`: rebuilds every row from the document; tasks marked selected get
    /// their rows selected, and the current task's row is focused. The marks follow the
    /// operator's selection as it is made, so a refresh never undoes a Ctrl- or
    /// Shift-selection, and never moves it to another task when rows come and go.
    void RefreshTaskList();
    /// Makes the row current. A row inside the operator's selection leaves the selection
    /// as it is; any other row becomes the only selected one.
    void ShowCurrentRow(int nRow);
    /// Runs one of the commands kCmd*; false for any other number.
    bool RunCommand(int nId);

    /// `DeleteSelected` (command 275, key Delete).
    void DeleteSelected();
    /// `ChangeCopies` (commands 276 up, 277 down).
    void ChangeCopies(bool bUp);

    int SortMode() const { return m_nSortMode; }
    /// What a click on the header of nColumn does (only the time and path columns sort).
    void HeaderClicked(int nColumn);
    /// What a click on a row does: the preview shows and loads the clicked row. A click
    /// that took the row out of the selection (Ctrl) loads nothing.
    void RowClicked();

    /// The context menu (command ids in each action's data()); the caller owns it.
    std::unique_ptr<QMenu> CreateContextMenu();

    /// The task of this path was interrupted mid-job: its row carries a warning icon and
    /// the text as its tooltip ("" for none). Shown at the next refresh.
    void SetInterruptedTask(const std::string& strPath, const QString& strText);

protected:
    void keyReleaseEvent(QKeyEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;

private:
    void CreateColumns();
    void FillRow(int nRow, const COnePage& task, int32_t nSource);
    void MarkRow(QTableWidgetItem& item, int nCol, const COnePage& task, const QString& why);
    /// The document's selection marks := the rows selected in the control; false when none.
    bool MarkSelectedRows();
    /// The id of the task a row shows (0 for none).
    uint64_t TaskIdAtRow(int nRow) const;
    /// The operator's selection in the control becomes the tasks' marks.
    void TakeSelection();
    /// The task of the row becomes the only selected one and the current one.
    void SelectOnly(int nRow);
    /// After tasks left the lists: when the current one went with them, the first row
    /// becomes current.
    void KeepACurrentTask();
    int FirstSelectedRow() const;
    void QueueSelected(bool bQueued);
    void MoveSelected(int nId);
    void MergeSelected(EMerge eKind);
    void DeleteZeroCopies();

    CTaskQueue& m_queue;
    CSettings& m_settings;
    CListViewHost& m_host;
    int m_nSortMode = kSortNone;
    bool m_bRefreshing = false; ///< the rows are being rebuilt from the marks
    std::string m_strInterruptedPath;
    QString m_strInterrupted;
};

} // namespace inkvale
