// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/TaskListEdits.h"

#include "queue/DerivedTasks.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>
#include <utility>

namespace inkvale {

namespace {

constexpr int64_t kMiB = 1048576;

/// The three lists in row order with their source values.
struct CListRef {
    CTaskList* m_pList;
    int32_t m_nSource;
};

std::array<CListRef, 3> ListsInRowOrder(CTaskLists& doc) {
    return {{{&doc.m_arrOpened, kSourceOpened},
             {&doc.m_arrManDir, kSourceManDir},
             {&doc.m_arrAutoDir, kSourceAutoDir}}};
}

int Size(const CTaskList& list) {
    return static_cast<int>(list.size());
}

/// Removes every task of the list for which pred holds; the removed tasks go to pRemoved
/// with the folder whose files they may remove (nullptr: their files stay). True when any
/// was removed.
template <class Pred>
bool RemoveTasks(CTaskList& list, const std::string* pFolder, Pred pred,
                 std::vector<CRemovedTask>& removed) {
    const size_t nBefore = list.size();
    std::erase_if(list, [&](std::unique_ptr<COnePage>& task) {
        if (!pred(*task))
            return false;
        removed.push_back({std::move(task), pFolder});
        return true;
    });
    return list.size() != nBefore;
}

/// Whether a task of the document still shows a drawing of this file.
bool FileStillUsed(CTaskLists& doc, const std::string& strSource) {
    for (const CListRef& ref : ListsInRowOrder(doc)) {
        for (const auto& task : *ref.m_pList) {
            if (SourcePathOf(task->m_strPath) == strSource)
                return true;
        }
    }
    return false;
}

/// The files of the removed tasks leave their hot folders, each once, and only when no
/// task left in the document still shows its drawing (a split piece, a mirrored copy).
void RemoveFilesOf(CTaskLists& doc, std::vector<CRemovedTask>& removed, CDisposals* pMoved) {
    std::vector<std::string> done;
    for (const CRemovedTask& r : removed) {
        if (r.m_pFolder == nullptr)
            continue;
        const std::string strSource = SourcePathOf(r.m_pTask->m_strPath);
        if (std::find(done.begin(), done.end(), strSource) != done.end() ||
            FileStillUsed(doc, strSource))
            continue;
        done.push_back(strSource);
        CDisposal moved = DeleteTaskFile(*r.m_pTask, *r.m_pFolder);
        if (pMoved != nullptr && moved.m_eWhere != EDisposal::kNone)
            pMoved->push_back(std::move(moved));
    }
}

} // namespace

int TaskCount(const CTaskLists& doc) {
    return Size(doc.m_arrOpened) + Size(doc.m_arrManDir) + Size(doc.m_arrAutoDir);
}

CTaskPos FindRow(CTaskLists& doc, int nRow) {
    if (nRow < 0)
        return {};
    int nFirst = 0;
    for (const CListRef& ref : ListsInRowOrder(doc)) {
        const int n = Size(*ref.m_pList);
        if (nRow < nFirst + n)
            return {ref.m_pList, static_cast<size_t>(nRow - nFirst), nFirst, ref.m_nSource};
        nFirst += n;
    }
    return {};
}

COnePage* TaskAt(CTaskLists& doc, int nRow) {
    const CTaskPos pos = FindRow(doc, nRow);
    return pos.Valid() ? (*pos.m_pList)[pos.m_nIndex].get() : nullptr;
}

CTaskPos FindTask(CTaskLists& doc, uint64_t nTaskId) {
    int nFirst = 0;
    for (const CListRef& ref : ListsInRowOrder(doc)) {
        const CTaskList& list = *ref.m_pList;
        for (size_t i = 0; i < list.size(); ++i) {
            if (list[i]->m_nTaskId == nTaskId)
                return {ref.m_pList, i, nFirst, ref.m_nSource};
        }
        nFirst += Size(list);
    }
    return {};
}

COnePage* TaskById(CTaskLists& doc, uint64_t nTaskId) {
    const CTaskPos pos = FindTask(doc, nTaskId);
    return pos.Valid() ? (*pos.m_pList)[pos.m_nIndex].get() : nullptr;
}

int RowOfTask(CTaskLists& doc, uint64_t nTaskId) {
    const CTaskPos pos = FindTask(doc, nTaskId);
    return pos.Valid() ? pos.m_nFirstRow + static_cast<int>(pos.m_nIndex) : -1;
}

CTaskList& ListOfSource(CTaskLists& doc, int32_t nSource) {
    if (nSource == kSourceManDir)
        return doc.m_arrManDir;
    return nSource == kSourceAutoDir ? doc.m_arrAutoDir : doc.m_arrOpened;
}

int FirstRowOf(const CTaskLists& doc, int32_t nSource) {
    if (nSource == kSourceManDir)
        return Size(doc.m_arrOpened);
    if (nSource == kSourceAutoDir)
        return Size(doc.m_arrOpened) + Size(doc.m_arrManDir);
    return 0;
}

void ClearTaskSelection(CTaskLists& doc) {
    for (const CListRef& ref : ListsInRowOrder(doc)) {
        for (const auto& task : *ref.m_pList)
            task->m_bTaskSelected = 0;
    }
}

COnePage* MarkTaskSelected(CTaskLists& doc, int nRow) {
    COnePage* pTask = TaskAt(doc, nRow);
    if (pTask != nullptr)
        pTask->m_bTaskSelected = 1;
    return pTask;
}

COnePage* SelectTaskByRow(CTaskLists& doc, int nRow) {
    ClearTaskSelection(doc);
    const CTaskPos pos = FindRow(doc, nRow);
    if (!pos.Valid())
        return nullptr;
    COnePage* pTask = (*pos.m_pList)[pos.m_nIndex].get();
    pTask->m_bTaskSelected = 1;
    pTask->m_nSource = pos.m_nSource;
    return pTask;
}

void DeleteSelectedTasks(CTaskLists& doc, const CSettings& settings, CDisposals* pMoved) {
    const auto selected = [](const COnePage& t) { return t.m_bTaskSelected != 0; };
    std::vector<CRemovedTask> removed;
    RemoveTasks(doc.m_arrOpened, nullptr, selected, removed);
    RemoveTasks(doc.m_arrManDir, &settings.ManDir, selected, removed);
    RemoveTasks(doc.m_arrAutoDir, &settings.AutoDir, selected, removed);
    RemoveFilesOf(doc, removed, pMoved);
}

bool DeleteZeroCopyTasks(CTaskLists& doc, const CSettings& settings, bool bDeleteManualFiles,
                         CDisposals* pMoved) {
    const auto finished = [](const COnePage& t) { return t.m_nCopies <= 0; };
    std::vector<CRemovedTask> removed;
    bool bAny = RemoveTasks(doc.m_arrOpened, nullptr, finished, removed);
    bAny = RemoveTasks(doc.m_arrManDir, bDeleteManualFiles ? &settings.ManDir : nullptr, finished,
                       removed) ||
           bAny;
    bAny = RemoveTasks(doc.m_arrAutoDir, &settings.AutoDir, finished, removed) || bAny;
    RemoveFilesOf(doc, removed, pMoved);
    return bAny;
}

void DeleteFinishedAutoTasks(CTaskLists& doc, const CSettings& settings, CDisposals* pMoved) {
    std::vector<CRemovedTask> removed;
    RemoveTasks(
        doc.m_arrAutoDir, &settings.AutoDir, [](const COnePage& t) { return t.m_nCopies <= 0; },
        removed);
    RemoveFilesOf(doc, removed, pMoved);
}

void ChangeCopies(CTaskLists& doc, bool bUp) {
    for (const CListRef& ref : ListsInRowOrder(doc)) {
        for (const auto& task : *ref.m_pList) {
            if (task->m_bTaskSelected == 0)
                continue;
            int32_t& n = task->m_nCopies;
            // No upper limit other than the counter's own: it must not wrap to negative.
            if (bUp)
                n = n < std::numeric_limits<int32_t>::max() ? n + 1 : n;
            else
                n = std::max(n, 2) - 1;
        }
    }
}

void SetQueued(CTaskLists& doc, bool bQueued) {
    for (CTaskList* pList : {&doc.m_arrOpened, &doc.m_arrManDir}) {
        for (const auto& task : *pList) {
            if (task->m_bTaskSelected != 0)
                task->m_bQueued = bQueued ? 1 : 0;
        }
    }
}

int MoveTaskToTop(CTaskLists& doc, int nRow) {
    const CTaskPos pos = FindRow(doc, nRow);
    if (!pos.Valid())
        return nRow;
    CTaskList& list = *pos.m_pList;
    std::rotate(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(pos.m_nIndex),
                list.begin() + static_cast<std::ptrdiff_t>(pos.m_nIndex) + 1);
    return pos.m_nFirstRow;
}

int MoveTaskUp(CTaskLists& doc, int nRow) {
    const CTaskPos pos = FindRow(doc, nRow);
    if (!pos.Valid() || pos.m_nIndex == 0)
        return nRow;
    std::swap((*pos.m_pList)[pos.m_nIndex], (*pos.m_pList)[pos.m_nIndex - 1]);
    return nRow - 1;
}

int MoveTaskDown(CTaskLists& doc, int nRow) {
    const CTaskPos pos = FindRow(doc, nRow);
    if (!pos.Valid() || pos.m_nIndex + 1 >= pos.m_pList->size())
        return nRow;
    std::swap((*pos.m_pList)[pos.m_nIndex], (*pos.m_pList)[pos.m_nIndex + 1]);
    return nRow + 1;
}

CAddResult AddFileTask(CTaskLists& doc, const CSettings& settings, const std::string& strPath) {
    for (const auto& task : doc.m_arrOpened) {
        if (task->m_strPath == strPath)
            return CResult::Failure(-1, "already open: " + strPath, {{EMsg::kAlreadyOpen, {}}});
    }
    struct stat st {};
    // Only regular files can become tasks; anything else has no drawing to read.
    if (::stat(strPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return CResult::Failure(-1, "not a readable file: " + strPath);
    if (static_cast<int64_t>(st.st_size) > int64_t{settings.PltMaxSizeMb} * kMiB)
        return CResult::Failure(-1, "larger than PltMaxSizeMb: " + strPath,
                                {{EMsg::kFileTooLarge, {}}});
    auto task = std::make_unique<COnePage>();
    task->m_strPath = strPath;
    task->m_strName = FileNameOf(strPath);
    task->m_tTime = static_cast<int64_t>(st.st_mtim.tv_sec);
    task->m_nFileSize = static_cast<int64_t>(st.st_size);
    doc.m_arrOpened.push_back(std::move(task));
    return {};
}

int AddOrUpdateFolderTask(CTaskLists& doc, int32_t nSource, const std::string& strPath,
                          const std::string& strName, int64_t nSize, int64_t tTime) {
    CTaskList& list = ListOfSource(doc, nSource);
    auto task = std::make_unique<COnePage>();
    task->m_strPath = strPath;
    task->m_strName = strName;
    task->m_nFileSize = nSize;
    task->m_tTime = tTime;
    for (auto& existing : list) {
        if (existing->m_strPath != strPath)
            continue;
        if (existing->m_tTime == tTime && existing->m_nFileSize == nSize)
            return 0;
        existing = std::move(task);
        return 1;
    }
    // A file that was split or mirrored is still in the list as its pieces.
    for (const auto& existing : list) {
        if (IsDerivedPath(existing->m_strPath) && SourcePathOf(existing->m_strPath) == strPath &&
            existing->m_tTime == tTime && existing->m_nFileSize == nSize)
            return 0;
    }
    list.push_back(std::move(task));
    return 1;
}

void MergeSelectedTasks(CTaskLists& doc, EMerge eKind) {
    auto merged = std::make_unique<COnePage>();
    merged->m_strPath = "Combination";
    merged->m_strName = "Combination";
    const bool bTurn = eKind == EMerge::TopBottom;
    for (const CListRef& ref : ListsInRowOrder(doc)) {
        for (const auto& task : *ref.m_pList) {
            if (task->m_bTaskSelected == 0)
                continue;
            if (bTurn) {
                // The source tasks go away after a merge, but turning a copy keeps a
                // merge that is not followed by the deletion harmless.
                COnePage turned;
                turned.CopyTask(*task);
                turned.RotateQuarter();
                merged->AppendShifted(turned);
            } else {
                merged->AppendShifted(*task);
            }
            merged->AddSeam();
        }
    }
    if (bTurn) {
        merged->RotateQuarterBack();
        merged->CalcExtents();
        merged->MoveToOrigin();
    } else {
        merged->CalcExtents();
    }
    doc.m_arrOpened.push_back(std::move(merged));
}

void DiscardAllDrawings(CTaskLists& doc) {
    for (const CListRef& ref : ListsInRowOrder(doc)) {
        for (const auto& task : *ref.m_pList) {
            if (!IsDerivedPath(task->m_strPath))
                task->ClearCurves();
        }
    }
}

std::string FileNameOf(const std::string& strPath) {
    const size_t n = strPath.rfind('/');
    return n == std::string::npos ? strPath : strPath.substr(n + 1);
}

std::string FolderWithSlash(const std::string& strFolder) {
    if (strFolder.empty() || strFolder.back() == '/')
        return strFolder;
    return strFolder + '/';
}

bool IsTaskFileInFolder(const COnePage& task, const std::string& strFolderSetting) {
    const std::string strPath = SourcePathOf(task.m_strPath);
    const std::string strFolder = FolderWithSlash(strFolderSetting);
    if (strFolder.empty() || !strPath.starts_with(strFolder))
        return false;
    const std::string_view name = std::string_view(strPath).substr(strFolder.size());
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

bool IsTaskFileUnchanged(const COnePage& task) {
    struct stat st {};
    return ::lstat(SourcePathOf(task.m_strPath).c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           static_cast<int64_t>(st.st_size) == task.m_nFileSize &&
           static_cast<int64_t>(st.st_mtim.tv_sec) == task.m_tTime;
}

CDisposal DeleteTaskFile(const COnePage& task, const std::string& strFolder) {
    CDisposal kept;
    if (!IsTaskFileInFolder(task, strFolder) || !IsTaskFileUnchanged(task))
        return kept;
    return MoveToTrash(SourcePathOf(task.m_strPath));
}

} // namespace inkvale
