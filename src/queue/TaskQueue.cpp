// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/TaskQueue.h"

#include "machine/engine/EngineHost.h"
#include "machine/link/MachineProtocol.h"
#include "model/TaskDrawingLoader.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace inkvale {

namespace {

constexpr int64_t kMiB = 1048576;

/// A task that may be chosen from the opened or manual-folder list: repeating, or waiting
/// and queued.
bool IsQueuedCandidate(const COnePage& task) {
    return task.m_nPrintState == PS_REPEAT ||
           (task.m_nPrintState == PS_WAITING && task.m_bQueued != 0);
}

std::unique_ptr<COnePage> FolderTask(const CFolderFile& file) {
    auto task = std::make_unique<COnePage>();
    task->m_strPath = file.m_strPath;
    task->m_strName = file.m_strName;
    task->m_nFileSize = file.m_nSize;
    task->m_tTime = file.m_tTime;
    return task;
}

/// Positions of a list's tasks by path (the first task of a path, as a search in list
/// order finds it).
std::unordered_map<std::string_view, size_t> IndexByPath(const CTaskList& list) {
    std::unordered_map<std::string_view, size_t> index;
    index.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i)
        index.emplace(list[i]->m_strPath, i);
    return index;
}

} // namespace

CTaskQueue::CTaskQueue(CInkvaleDoc& doc, CSettings& settings, CQueueView& view)
    : m_doc(doc), m_settings(settings), m_view(view) {}

CTaskQueue::CTaskQueue(CInkvaleDoc& doc, CSettings& settings, CQueueView& view,
                       IQueueEngine& engine)
    : m_doc(doc), m_settings(settings), m_view(view), m_pEngine(&engine) {}

bool CTaskQueue::LoadDrawing(int nRow, COnePage& task, bool bShowErrors) {
    m_view.SelectRow(nRow);
    if (!task.m_arrCurves.empty())
        return true;
    const CTaskLoadResult result = LoadTaskDrawing(task, m_settings, bShowErrors);
    for (const CMessage& message : result.m_arrMessages)
        m_view.ShowMessage(message);
    // The task's state and size changed; the selection stays on the task that was loaded.
    if (result.Ok())
        m_view.RefreshTaskList();
    m_view.Redraw();
    return !task.m_arrCurves.empty();
}

int CTaskQueue::StartNextTask() {
    if (m_bInStartNextTask)
        return 0;
    m_bInStartNextTask = true;
    const int nResult = ChooseAndStart();
    m_bInStartNextTask = false;
    return nResult;
}

int CTaskQueue::ChooseAndStart() {
    if (m_settings.m_nClosing.Load() != 0 || m_pEngine->MachineState() != kStateReady)
        return -1;
    int nRow = 0;
    COnePage* pTask = ChooseQueuedTask(m_doc.m_arrOpened, 0, nRow);
    if (pTask == nullptr)
        pTask = ChooseQueuedTask(m_doc.m_arrManDir, FirstRowOf(m_doc, kSourceManDir), nRow);
    const bool bFolderOrOpened = pTask != nullptr;
    if (pTask == nullptr && m_settings.AutoStartEnable != 0)
        pTask = ChooseAutoTask(nRow);
    if (pTask == nullptr)
        return -1;
    m_nCurrentTaskIndex = nRow;
    if (bFolderOrOpened && !LoadDrawing(nRow, *pTask, false)) {
        // An unreadable queued task is chosen again next time: it holds back the others.
        m_view.RefreshTaskList();
        return 0;
    }
    (void)StartJob(*pTask);
    if (bFolderOrOpened)
        pTask->m_bQueued = 0;
    m_view.RefreshTaskList();
    m_view.SelectRow(m_nCurrentTaskIndex);
    m_view.Redraw();
    m_pEngine->SleepMs(kAfterStartMs);
    return 0;
}

// The first candidate of the list; one with no copies left is put back to waiting and
// ends the search in this list for this call.
COnePage* CTaskQueue::ChooseQueuedTask(CTaskList& list, int nFirstRow, int& nRow) {
    for (size_t i = 0; i < list.size(); ++i) {
        COnePage& task = *list[i];
        if (!IsQueuedCandidate(task))
            continue;
        if (task.m_nCopies <= 0) {
            task.m_nPrintState = PS_WAITING;
            task.m_bQueued = 0;
            return nullptr;
        }
        nRow = nFirstRow + static_cast<int>(i);
        m_view.SelectRow(nRow);
        return &task;
    }
    return nullptr;
}

// The first automatic-folder task with copies due and a readable drawing; unreadable files
// leave the queue and the disk on their turn.
COnePage* CTaskQueue::ChooseAutoTask(int& nRow) {
    CTaskList& list = m_doc.m_arrAutoDir;
    for (size_t i = 0; i < list.size();) {
        COnePage& task = *list[i];
        const int nTaskRow = FirstRowOf(m_doc, kSourceAutoDir) + static_cast<int>(i);
        if (task.m_nCopies <= 0 ||
            (task.m_nPrintState != PS_WAITING && task.m_nPrintState != PS_REPEAT)) {
            ++i;
            continue;
        }
        if (task.m_arrCurves.empty() && !LoadDrawing(nTaskRow, task, false)) {
            task.m_nCopies = 0;
            (void)DeleteTaskFile(task, m_settings.AutoDir);
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
            m_view.RefreshTaskList();
            m_view.Redraw();
            continue;
        }
        nRow = nTaskRow;
        return &task;
    }
    return nullptr;
}

// Print state 1 while the engine starts the job; back to 0 when it refuses.
bool CTaskQueue::StartJob(COnePage& task) {
    task.m_nPrintState = PS_PRINTING;
    const CJobStartResult result = m_pEngine->StartPrintJob(task);
    for (const CMessage& message : result.m_arrMessages)
        m_view.ShowMessage(message);
    if (!result.Ok())
        task.m_nPrintState = PS_WAITING;
    return result.Ok();
}

void CTaskQueue::PrintCurrentTask() {
    const int nRow = m_nCurrentTaskIndex;
    if (nRow < 0 || nRow >= TaskCount(m_doc) || m_pEngine->MachineState() != kStateReady)
        return;
    COnePage* pTask = SelectTaskByRow(m_doc, nRow);
    if (pTask == nullptr || pTask->m_nPrintState != PS_WAITING)
        return;
    if (!LoadDrawing(nRow, *pTask, false)) {
        m_view.RefreshTaskList();
        return;
    }
    if (!StartJob(*pTask))
        return;
    // A finished task with no copies left prints once more.
    if (pTask->m_nCopies <= 1)
        pTask->m_nCopies = 1;
    m_view.RefreshTaskList();
}

void CTaskQueue::JobFinished(int nResult) {
    const bool bSuccess = nResult == kJobSuccess;
    for (CTaskList* pList : {&m_doc.m_arrOpened, &m_doc.m_arrManDir}) {
        auto it = std::find_if(pList->begin(), pList->end(),
                               [](const auto& t) { return t->m_nPrintState == PS_PRINTING; });
        if (it == pList->end())
            continue;
        COnePage& task = **it;
        if (bSuccess) {
            task.m_nCopies = task.m_nCopies > 0 ? task.m_nCopies - 1 : 0;
            task.m_nPrintState = task.m_nCopies > 0 ? PS_REPEAT : PS_WAITING;
        } else {
            task.m_nPrintState = PS_WAITING;
        }
    }
    CTaskList& autoList = m_doc.m_arrAutoDir;
    auto it = std::find_if(autoList.begin(), autoList.end(),
                           [](const auto& t) { return t->m_nPrintState == PS_PRINTING; });
    if (it != autoList.end()) {
        COnePage& task = **it;
        task.m_nPrintState = PS_WAITING;
        if (bSuccess) {
            task.m_nCopies = task.m_nCopies > 0 ? task.m_nCopies - 1 : 0;
            if (task.m_nCopies <= 0) {
                DeleteFinishedAutoTasks(m_doc, m_settings);
                m_view.RefreshTaskList();
            }
        }
    }
    // A failed job stops automatic printing even when its task has left the lists
    // meanwhile (deleted or replaced while it printed).
    if (!bSuccess)
        AutoModeOff();
    m_pEngine->ClearJob();
    m_view.RefreshTaskList();
    m_view.Redraw();
    m_view.JobEnded(nResult);
}

void CTaskQueue::AutoModeOff() {
    m_settings.AutoStartEnable = 0;
    m_view.AutoModeOff();
}

void CTaskQueue::ScanAutoFolder() {
    if (!m_bFolderScans)
        return;
    ScanFolder(m_settings.AutoDir, kSourceAutoDir);
    m_writerCheck.ForgetUnseen();
}

void CTaskQueue::ScanManualFolder() {
    if (!m_bFolderScans)
        return;
    ScanFolder(m_settings.ManDir, kSourceManDir);
    if (m_settings.AutoDelFinish == 0 || !DeleteZeroCopyTasks(m_doc, m_settings, true))
        return;
    m_view.RefreshTaskList();
    m_nCurrentTaskIndex = std::max(m_nCurrentTaskIndex - 1, 0);
    m_view.SelectRow(m_nCurrentTaskIndex);
    m_view.Redraw();
}

// Both scans: every eligible file of every pattern becomes a task when it is new or its
// time or size changed (AddOrUpdateFolderTask). Files whose task is current are passed
// over without opening them, which keeps a scan of a full folder cheap. Files of the
// automatic folder are taken only once their writer has finished.
void CTaskQueue::ScanFolder(const std::string& strFolder, int32_t nSource) {
    const std::vector<std::string> patterns = PatternList(m_settings.PrtFileExtension);
    if (patterns.empty())
        return;
    const std::vector<CFolderFile> files =
        ListFolderFiles(FolderWithSlash(strFolder), int64_t{m_settings.PltMaxSizeMb} * kMiB);
    CTaskList& list = ListOfSource(m_doc, nSource);
    auto index = IndexByPath(list);
    for (const std::string& strPattern : patterns) {
        for (const CFolderFile& file : files) {
            if (!MatchesPattern(file.m_strName, strPattern))
                continue;
            const auto it = index.find(file.m_strPath);
            if (it != index.end() && list[it->second]->m_tTime == file.m_tTime &&
                list[it->second]->m_nFileSize == file.m_nSize)
                continue;
            if (nSource == kSourceAutoDir && !m_writerCheck.WriterFinished(file))
                continue;
            if (it != index.end()) {
                const size_t nPos = it->second;
                index.erase(it);
                list[nPos] = FolderTask(file);
                index.emplace(list[nPos]->m_strPath, nPos);
            } else {
                list.push_back(FolderTask(file));
                index.emplace(list.back()->m_strPath, list.size() - 1);
            }
            m_bListsChanged = true;
        }
        if (!m_bListsChanged)
            continue;
        if (nSource == kSourceManDir) {
            SortManualList();
            index = IndexByPath(list);
        }
        m_view.RefreshTaskList();
        m_bListsChanged = false;
    }
}

// Newest first; tasks of equal time keep their order.
void CTaskQueue::SortManualList() {
    std::stable_sort(m_doc.m_arrManDir.begin(), m_doc.m_arrManDir.end(),
                     [](const auto& a, const auto& b) { return a->m_tTime > b->m_tTime; });
}

void CTaskQueue::AddFiles(const std::vector<std::string>& paths) {
    for (const std::string& strPath : paths) {
        const CAddResult result = AddFileTask(m_doc, m_settings, strPath);
        for (const CMessage& message : result.m_arrMessages)
            m_view.ShowMessage(message);
    }
    PushUndoSnapshot();
    m_view.RefreshTaskList();
    if (m_settings.AutoPreview == 0)
        return;
    if (COnePage* pTask = TaskAt(m_doc, m_nCurrentTaskIndex))
        (void)LoadDrawing(m_nCurrentTaskIndex, *pTask, false);
}

void CTaskQueue::DeleteSelected() {
    DeleteSelectedTasks(m_doc, m_settings);
    PushUndoSnapshot();
    m_view.RefreshTaskList();
    m_view.Redraw();
}

void CTaskQueue::MergeSelected(EMerge eKind) {
    MergeSelectedTasks(m_doc, eKind);
    DeleteSelectedTasks(m_doc, m_settings);
    m_view.RefreshTaskList();
    m_view.Redraw();
}

void CTaskQueue::QueueSelected(bool bQueued) {
    SetQueued(m_doc, bQueued);
    PushUndoSnapshot();
    m_view.RefreshTaskList();
}

void CTaskQueue::PushUndoSnapshot() {
    m_undo.Push(m_doc);
}

void CTaskQueue::Undo() {
    if (m_undo.Undo(m_doc))
        AfterDocumentLoaded();
}

void CTaskQueue::Redo() {
    if (m_undo.Redo(m_doc))
        AfterDocumentLoaded();
}

// A snapshot does not keep the tasks' names; backups and history rows need them.
void CTaskQueue::AfterDocumentLoaded() {
    for (CTaskList* pList : {&m_doc.m_arrOpened, &m_doc.m_arrManDir, &m_doc.m_arrAutoDir}) {
        for (const auto& task : *pList)
            task->m_strName = FileNameOf(task->m_strPath);
    }
    m_view.RefreshTaskList();
    m_view.Redraw();
}

void CTaskQueue::DiscardAllDrawings() {
    inkvale::DiscardAllDrawings(m_doc);
}

} // namespace inkvale
