// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/Settings.h"
#include "model/InkvaleDoc.h"

#include <cstdint>
#include <string>

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
int TaskCount(const CInkvaleDoc& doc);
/// Where a row is; invalid for rows outside 0 .. total-1.
CTaskPos FindRow(CInkvaleDoc& doc, int nRow);
/// The task of a row, or nullptr.
COnePage* TaskAt(CInkvaleDoc& doc, int nRow);
/// The list of a source value (kSourceOpened, kSourceManDir, kSourceAutoDir).
CTaskList& ListOfSource(CInkvaleDoc& doc, int32_t nSource);
/// Row of a list's first task.
int FirstRowOf(const CInkvaleDoc& doc, int32_t nSource);

/// `ClearTaskSelection`: no task is selected.
void ClearTaskSelection(CInkvaleDoc& doc);
/// `MarkTaskSelected`: selects the task of the row (others keep their marks).
COnePage* MarkTaskSelected(CInkvaleDoc& doc, int nRow);
/// `SelectTaskByRow`: only this task is selected; its source becomes its list's.
COnePage* SelectTaskByRow(CInkvaleDoc& doc, int nRow);
// Files are deleted only for tasks of the two folder lists and only when they lie directly
// in that list's folder of the settings: a task file or snapshot read back cannot make the
// queue delete files elsewhere.

/// `DeleteSelectedTasks`: removes every selected task; tasks of the two folder lists delete
/// their files first, opened-list files stay on disk.
void DeleteSelectedTasks(CInkvaleDoc& doc, const CSettings& settings);
/// `DeleteZeroCopyTasks`: removes every task with copies <= 0; automatic-folder files are
/// deleted, manual-folder files when bDeleteManualFiles, opened-list files never.
/// True when a task was removed.
bool DeleteZeroCopyTasks(CInkvaleDoc& doc, const CSettings& settings, bool bDeleteManualFiles);
/// `DeleteFinishedAutoTasks`: removes automatic-folder tasks with copies <= 0 with their files.
void DeleteFinishedAutoTasks(CInkvaleDoc& doc, const CSettings& settings);
/// `ChangeCopies`: one copy more (bUp) or one less but never below 1, for every selected task.
void ChangeCopies(CInkvaleDoc& doc, bool bUp);
/// `SetQueued`: the queued mark of every selected opened and manual-folder task;
/// automatic-folder tasks are never queued.
void SetQueued(CInkvaleDoc& doc, bool bQueued);
/// `MoveTaskToTop`, `MoveTaskUp`, `MoveTaskDown`: moves within the task's own list and
/// returns the row the task has afterwards (the row unchanged when nothing moved).
int MoveTaskToTop(CInkvaleDoc& doc, int nRow);
int MoveTaskUp(CInkvaleDoc& doc, int nRow);
int MoveTaskDown(CInkvaleDoc& doc, int nRow);
/// `AddFileTask`: appends a task for the file to the opened list unless a task of that
/// list has the same path, the file cannot be examined, or it is larger than PltMaxSizeMb
/// MiB. The drawing is not read here.
CAddResult AddFileTask(CInkvaleDoc& doc, const CSettings& settings, const std::string& strPath);
/// `AddOrUpdateFolderTask` on the manual-folder or automatic-folder list: 0 when a task of
/// the path with this time and size exists, 1 when one was replaced or appended.
int AddOrUpdateFolderTask(CInkvaleDoc& doc, int32_t nSource, const std::string& strPath,
                          const std::string& strName, int64_t nSize, int64_t tTime);
/// `MergeSelectedTasks`: appends to the opened list a "Combination" task holding the
/// selected drawings as eKind lays them. The source tasks stay; the caller deletes them.
void MergeSelectedTasks(CInkvaleDoc& doc, EMerge eKind);
/// `DiscardAllDrawings`: every drawing is read again when next needed.
void DiscardAllDrawings(CInkvaleDoc& doc);

/// The folder with a final '/' (empty stays empty).
std::string FolderWithSlash(const std::string& strFolder);
/// The part of a path after its last '/'.
std::string FileNameOf(const std::string& strPath);
/// Deletes a folder task's source file when it lies directly in strFolder and is still the
/// file the task was made from (same size and last-write second): a file rewritten or
/// replaced since is a new drawing and stays. A missing file is no failure. False when the
/// path is outside the folder or the file is not the task's any more.
bool DeleteTaskFile(const COnePage& task, const std::string& strFolder);

/// Messages of the queue in the language of the settings.

} // namespace inkvale
