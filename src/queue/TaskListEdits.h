// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/Settings.h"
#include "model/TaskLists.h"
#include "queue/FileDisposal.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace inkvale {

// The document's operations on its three task lists. Every operation that names a task by
// a row uses the one row numbering of the task list window: the opened list first, then the
// manual-folder list, then the automatic-folder list. A row outside 0 .. total-1 is ignored
// unless an operation says otherwise. Window thread only.

/// The list a row falls in and the task's position inside it.
struct CTaskPos {
    CTaskList* m_pList = nullptr; ///< nullptr when the row is outside the lists
    size_t m_nIndex = 0;          ///< position inside m_pList
    int m_nFirstRow = 0;          ///< row of the list's first task
    int32_t m_nSource = kSourceOpened;
    bool Valid() const { return m_pList != nullptr; }
};

/// How MergeSelectedTasks lays the drawings: one after another along the paper feed
/// (FrontBack) or, turned a quarter, across it (TopBottom).
enum class EMerge { FrontBack, TopBottom };

/// Outcome of AddFileTask: 0 when the task was added, else -1 with the message for the
/// operator when there is one.
using CAddResult = CResult;

/// Total number of tasks of the three lists.
int TaskCount(const CTaskLists& doc);
/// Where a row is; invalid for rows outside 0 .. total-1.
CTaskPos FindRow(CTaskLists& doc, int nRow);
/// The task of a row, or nullptr.
COnePage* TaskAt(CTaskLists& doc, int nRow);
/// Where the task of this id is; invalid when no list holds it (it was deleted or
/// replaced). The row is m_nFirstRow + m_nIndex.
CTaskPos FindTask(CTaskLists& doc, uint64_t nTaskId);
/// The task of this id, or nullptr.
COnePage* TaskById(CTaskLists& doc, uint64_t nTaskId);
/// Row of the task of this id, -1 when no list holds it.
int RowOfTask(CTaskLists& doc, uint64_t nTaskId);
/// The list of a source value (kSourceOpened, kSourceManDir, kSourceAutoDir).
CTaskList& ListOfSource(CTaskLists& doc, int32_t nSource);
/// Row of a list's first task.
int FirstRowOf(const CTaskLists& doc, int32_t nSource);

/// `ClearTaskSelection`: no task is selected.
void ClearTaskSelection(CTaskLists& doc);
/// `MarkTaskSelected`: selects the task of the row (others keep their marks).
COnePage* MarkTaskSelected(CTaskLists& doc, int nRow);
/// `SelectTaskByRow`: only this task is selected; its source becomes its list's.
COnePage* SelectTaskByRow(CTaskLists& doc, int nRow);
// Files leave their folder only for tasks of the two folder lists and only when they lie
// directly in that list's folder of the settings: a task file or snapshot read back cannot
// make the queue remove files elsewhere. A file leaves for the desktop trash (or the
// Printed/ folder beside its folder), from where it can be restored, and only when no task
// left in the document still shows its drawing: split pieces and mirrored copies share the
// file they came from. Where each file went is added to *pMoved when it is given.

/// Where removed files went.
using CDisposals = std::vector<CDisposal>;
/// A task removed from its list, and the folder its file may leave (nullptr: it stays).
struct CRemovedTask {
    std::unique_ptr<COnePage> m_pTask;
    const std::string* m_pFolder;
};

/// `DeleteSelectedTasks`: removes every selected task; tasks of the two folder lists remove
/// their files, opened-list files stay on disk.
void DeleteSelectedTasks(CTaskLists& doc, const CSettings& settings, CDisposals* pMoved = nullptr);
/// `DeleteZeroCopyTasks`: removes every task with copies <= 0; automatic-folder files are
/// removed, manual-folder files when bDeleteManualFiles, opened-list files never.
/// True when a task was removed.
bool DeleteZeroCopyTasks(CTaskLists& doc, const CSettings& settings, bool bDeleteManualFiles,
                         CDisposals* pMoved = nullptr);
/// `DeleteFinishedAutoTasks`: removes automatic-folder tasks with copies <= 0 with their files.
void DeleteFinishedAutoTasks(CTaskLists& doc, const CSettings& settings,
                             CDisposals* pMoved = nullptr);
/// `ChangeCopies`: one copy more (bUp) or one less but never below 1, for every selected task.
void ChangeCopies(CTaskLists& doc, bool bUp);
/// `SetQueued`: the queued mark of every selected opened and manual-folder task;
/// automatic-folder tasks are never queued.
void SetQueued(CTaskLists& doc, bool bQueued);
/// `MoveTaskToTop`, `MoveTaskUp`, `MoveTaskDown`: moves within the task's own list and
/// returns the row the task has afterwards (the row unchanged when nothing moved).
int MoveTaskToTop(CTaskLists& doc, int nRow);
int MoveTaskUp(CTaskLists& doc, int nRow);
int MoveTaskDown(CTaskLists& doc, int nRow);
/// `AddFileTask`: appends a task for the file to the opened list unless a task of that
/// list has the same path, the file cannot be examined, or it is larger than PltMaxSizeMb
/// MiB. The drawing is not read here.
CAddResult AddFileTask(CTaskLists& doc, const CSettings& settings, const std::string& strPath);
/// `AddOrUpdateFolderTask` on the manual-folder or automatic-folder list: 0 when a task of
/// the path with this time and size exists, 1 when one was replaced or appended.
int AddOrUpdateFolderTask(CTaskLists& doc, int32_t nSource, const std::string& strPath,
                          const std::string& strName, int64_t nSize, int64_t tTime);
/// `MergeSelectedTasks`: appends to the opened list a "Combination" task holding the
/// selected drawings as eKind lays them. The source tasks stay; the caller deletes them.
void MergeSelectedTasks(CTaskLists& doc, EMerge eKind);
/// `DiscardAllDrawings`: every drawing is read again when next needed.
void DiscardAllDrawings(CTaskLists& doc);

/// The folder with a final '/' (empty stays empty).
std::string FolderWithSlash(const std::string& strFolder);
/// The part of a path after its last '/'.
std::string FileNameOf(const std::string& strPath);
/// Whether the file a task came from lies directly in the folder.
bool IsTaskFileInFolder(const COnePage& task, const std::string& strFolder);
/// Whether the file a task came from is still the one the task was made from (a regular
/// file of the same size and last-write second): a file rewritten or replaced since is a
/// new drawing, or one still being written.
bool IsTaskFileUnchanged(const COnePage& task);
/// Moves a folder task's source file to the trash when it lies directly in strFolder and
/// is still the file the task was made from. kNone (the file stays) otherwise, and when
/// the file is gone already.
CDisposal DeleteTaskFile(const COnePage& task, const std::string& strFolder);

/// Messages of the queue in the language of the settings.

} // namespace inkvale
