// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/TaskQueue.h"

#include "machine/engine/EngineHost.h"
#include "machine/link/MachineProtocol.h"
#include "model/TaskDrawingLoader.h"
#include "queue/DerivedTasks.h"
#include "queue/Preflight.h"

#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <iterator>
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

/// What the task list and the operator are told about a drawing that could not be loaded.
CMessage ProblemOf(const CTaskLoadResult& result, const std::string& strName) {
    switch (result.m_nCode) {
    case kLoadEmpty:
        return {EMsg::kDrawingEmpty, {strName}};
    case kLoadTooWide:
        return {EMsg::kDrawingTooWide, {strName}};
    default:
        return {EMsg::kDrawingUnreadable, {strName}};
    }
}

bool MatchesAnyPattern(const std::string& strName, const std::vector<std::string>& patterns) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const std::string& p) { return MatchesPattern(strName, p); });
}

/// The message of a file over PltMaxSizeMb: its name, its size and the limit, in MB.
CMessage OverLimit(const std::string& strName, int64_t nSize, int32_t nLimitMb) {
    return {EMsg::kFileOverLimit,
            {strName, std::to_string((nSize + kMiB - 1) / kMiB), std::to_string(nLimitMb)}};
}

/// The files that split pieces and mirrored copies of a list came from, with the time and
/// size they had: such a file is known to the list although no task has its path.
std::unordered_map<std::string, std::pair<int64_t, int64_t>> DerivedSources(const CTaskList& list) {
    std::unordered_map<std::string, std::pair<int64_t, int64_t>> sources;
    for (const auto& task : list) {
        if (IsDerivedPath(task->m_strPath))
            sources.emplace(SourcePathOf(task->m_strPath),
                            std::make_pair(task->m_tTime, task->m_nFileSize));
    }
    return sources;
}

} // namespace

CTaskQueue::CTaskQueue(CTaskLists& doc, CSettings& settings, CQueueView& view)
    : m_doc(doc), m_settings(settings), m_view(view) {}

CTaskQueue::CTaskQueue(CTaskLists& doc, CSettings& settings, CQueueView& view, IQueueEngine& engine)
    : m_doc(doc), m_settings(settings), m_view(view), m_pEngine(&engine) {}

void CTaskQueue::ListsChanged() {
    NoteChanged();
    m_view.RefreshTaskList();
}

CTaskLoadResult CTaskQueue::LoadQuietly(COnePage& task, bool bShowErrors) {
    if (!task.m_arrCurves.empty())
        return {};
    if (task.m_nFileSize > int64_t{m_settings.PltMaxSizeMb} * kMiB) {
        task.m_problem = OverLimit(task.m_strName, task.m_nFileSize, m_settings.PltMaxSizeMb);
        return CResult::Failure(kLoadUnreadable, "the file is over the size limit",
                                {task.m_problem});
    }
    KnowPrintableWidth();
    if (LoadOffThread(task))
        return CResult::Failure(kLoadPending, "the drawing is being read");
    CTaskLoadResult result = LoadTaskDrawing(task, m_settings, bShowErrors);
    task.m_problem = result.Ok() ? CMessage{} : ProblemOf(result, task.m_strName);
    if (result.Ok())
        RunTaskPreflight(task, task);
    // The task's state and size changed: its row shows them.
    if (result.Ok())
        ListsChanged();
    m_view.Redraw();
    return result;
}

// A big file is read by the preloader while the window goes on; the task takes the
// drawing in AcceptPreloaded, and whoever waited for it (the preview, a start) acts then.
bool CTaskQueue::LoadOffThread(const COnePage& task) {
    // A task whose reading failed is read here again: its caller acts on the exact reason.
    if (m_pPreloader == nullptr || task.m_nFileSize <= kWaitedLoadBytes ||
        IsDerivedPath(task.m_strPath) || task.m_problem.m_eId != EMsg::kNone)
        return false;
    if (std::find(m_waitedLoads.begin(), m_waitedLoads.end(), task.m_nTaskId) ==
        m_waitedLoads.end()) {
        m_waitedLoads.push_back(task.m_nTaskId);
        m_pPreloader->LoadFirst(task.m_nTaskId, task.m_strPath, m_settings, m_nDrawingGeneration);
    }
    return true;
}

void CTaskQueue::CancelWaitedLoads() {
    m_waitedLoads.clear();
    m_nPrintWhenLoaded = 0;
    m_view.Redraw();
}

int CTaskQueue::CurrentTaskIndex() const {
    return m_nCurrentTaskId == 0 ? -1 : RowOfTask(m_doc, m_nCurrentTaskId);
}

void CTaskQueue::SetCurrentTaskIndex(int nRow) {
    const COnePage* pTask = TaskAt(m_doc, nRow);
    m_nCurrentTaskId = pTask != nullptr ? pTask->m_nTaskId : 0;
}

bool CTaskQueue::LoadDrawing(COnePage& task, bool bShowErrors) {
    const uint64_t nTaskId = task.m_nTaskId;
    const CTaskLoadResult result = LoadQuietly(task, bShowErrors);
    for (const CMessage& message : result.m_arrMessages)
        m_view.ShowMessage(message);
    const COnePage* pAfter = TaskById(m_doc, nTaskId);
    return pAfter != nullptr && !pAfter->m_arrCurves.empty();
}

// Messages that arise while a task is chosen and started are shown once no task is in use
// any more: their boxes run nested event loops in which tasks may leave the lists. The
// guard stays up meanwhile, so a timer in such a loop cannot start a second job.
int CTaskQueue::StartNextTask() {
    if (m_bInStartNextTask)
        return 0;
    m_bInStartNextTask = true;
    const int nResult = ChooseAndStart();
    ShowPending();
    m_bInStartNextTask = false;
    return nResult;
}

int CTaskQueue::ChooseAndStart() {
    if (m_settings.m_nClosing.Load() != 0 || m_pEngine->MachineState() != kStateReady)
        return -1;
    if (m_pEngine->HasUnfinishedJobs())
        return ResumeWaitingJob();
    int nRow = 0;
    COnePage* pTask = ChooseQueuedTask(m_doc.m_arrOpened, 0, nRow);
    if (pTask == nullptr)
        pTask = ChooseQueuedTask(m_doc.m_arrManDir, FirstRowOf(m_doc, kSourceManDir), nRow);
    const bool bFolderOrOpened = pTask != nullptr;
    if (pTask == nullptr && m_settings.AutoStartEnable != 0)
        pTask = ChooseAutoTask(nRow);
    if (pTask == nullptr)
        return -1;
    if (bFolderOrOpened) {
        if (FileLeftItsFolder(*pTask)) {
            ListsChanged(); // the next turn takes the next task
            return 0;
        }
        const CTaskLoadResult loaded = LoadQuietly(*pTask, false);
        Defer(loaded);
        if (pTask->m_arrCurves.empty()) {
            // An unreadable queued task is chosen again next time: it holds back the others.
            ListsChanged();
            return 0;
        }
        pTask->m_bQueued = 0;
        if (PassOverBlocked(*pTask))
            return 0;
    }
    const CJobStartResult started = StartQuietly(*pTask);
    Defer(started);
    ListsChanged();
    m_view.Redraw();
    // No pause here: the owning thread never sleeps. The scheduler's own period keeps
    // the starts apart, and it asks again only once the job has ended.
    return 0;
}

// A job that did not finish comes first: continued now when the settings say so, else it
// waits for the operator's decision and nothing else starts meanwhile. A job that cannot
// be continued (its file changed, its record damaged) is not tried again by itself.
int CTaskQueue::ResumeWaitingJob() {
    if (!m_bAutoResume)
        return -1;
    for (const std::string& strDir : m_pEngine->UnfinishedJobs()) {
        if (m_autoResumeRefused.contains(strDir))
            continue;
        const CJobStartResult started = ResumeInterruptedJob(m_doc, *m_pEngine, strDir);
        Defer(started);
        if (started.Ok()) {
            ListsChanged();
            return 0;
        }
        m_autoResumeRefused.insert(strDir);
    }
    return -1;
}

void CTaskQueue::SettlePrintedJob(const CJobRecord& record) {
    COnePage* pTask = TaskOfJob(m_doc, record);
    if (pTask != nullptr) {
        pTask->m_nCopies = record.m_nCopiesOwed;
        pTask->m_nPrintState = record.m_nCopiesOwed > 0 ? PS_REPEAT : PS_WAITING;
        if (FindTask(m_doc, pTask->m_nTaskId).m_nSource == kSourceAutoDir &&
            record.m_nCopiesOwed == 0) {
            pTask->m_nPrintState = PS_WAITING;
            DeleteFinishedAutoTasks(m_doc, m_settings, &m_arrRemovedFiles);
        }
        ListsChanged();
        return;
    }
    // The saved lists lost the task; its file, unchanged, must not come back as a new task.
    uint64_t nHash = 0;
    int64_t nSize = 0;
    COnePage file;
    file.m_strPath = record.m_strFilePath;
    if (record.m_nCopiesOwed == 0 && !record.m_strFilePath.empty() &&
        IsTaskFileInFolder(file, m_settings.AutoDir) &&
        HashFile(record.m_strFilePath, nHash, nSize) && nHash == record.m_nFileHash &&
        nSize == record.m_nFileSize) {
        const CDisposal moved = MoveToTrash(record.m_strFilePath);
        if (moved.Ok())
            m_arrRemovedFiles.push_back(moved);
    }
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
            NoteChanged();
            return nullptr;
        }
        nRow = nFirstRow + static_cast<int>(i);
        return &task;
    }
    return nullptr;
}

// The first automatic-folder task with copies due and a readable drawing. An unreadable
// file leaves the queue on its turn: to the Rejected/ folder with the reason, unless it
// changed since it was taken (a writer is at it again), in which case only its task goes
// and the next scan takes the new version once written.
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
        // A file taken away or rewritten since: its task goes (a rewritten file is a new
        // version, which the next scan takes once written); the file stays where it is.
        if (FileLeftItsFolder(task)) {
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
            ListsChanged();
            continue;
        }
        if (task.m_arrCurves.empty()) {
            const CTaskLoadResult loaded = LoadQuietly(task, false);
            if (loaded.m_nCode == kLoadPending)
                return nullptr; // chosen again on a later call, once read
            if (task.m_arrCurves.empty()) {
                std::unique_ptr<COnePage> refused = std::move(list[i]);
                list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
                RejectFile(*refused, loaded);
                ListsChanged();
                m_view.Redraw();
                continue;
            }
        }
        if (task.m_preflight.Blocking()) {
            (void)PassOverBlocked(task);
            ++i;
            continue;
        }
        nRow = nTaskRow;
        return &task;
    }
    return nullptr;
}

// A drawing wider than the roll is folded into strips the machine prints (always for DXF,
// with splitting on for HP-GL).
void CTaskQueue::KnowPrintableWidth() {
    if (m_pParams == nullptr)
        return;
    const CMachineParams params(*m_pParams);
    // A millimetre less than the limit: the job's width is rounded to whole dots.
    const double dWidest = WidestPrintableDrawingMm(m_settings, params) - 1.0;
    m_settings.m_nPrintableWidthMm = dWidest >= 1.0 ? static_cast<int32_t>(dWidest) : 0;
}

void CTaskQueue::RunTaskPreflight(COnePage& task, const COnePage& drawing, uint64_t nContentHash) {
    if (m_pParams == nullptr)
        return;
    // The monitor may store a fresh block meanwhile: the preflight works on a copy.
    const CMachineParams params(*m_pParams);
    task.m_preflight = RunPreflight(drawing, m_settings, params, nContentHash);
}

bool CTaskQueue::PassOverBlocked(COnePage& task) {
    for (const CPreflightWarning& w : task.m_preflight.m_arrWarnings) {
        if (!w.m_bBlocking)
            continue;
        if (!(task.m_problem == w.m_message)) {
            task.m_problem = w.m_message;
            ListsChanged();
        }
        return true;
    }
    return false;
}

// The reason goes into the text file beside the refused file; the operator hears of it
// with the load's own messages once the start is over.
void CTaskQueue::RejectFile(const COnePage& task, const CResult& why) {
    if (!IsTaskFileInFolder(task, m_settings.AutoDir) || !IsTaskFileUnchanged(task))
        return;
    // A file that cannot be moved aside is refused once: scans pass over it from then on.
    if (!m_refused.emplace(task.m_strPath, task.m_tTime, task.m_nFileSize).second)
        return;
    const CDisposal moved = MoveToRejected(task.m_strPath, why.m_strDiag, std::time(nullptr));
    Defer(why);
    if (moved.Ok())
        m_arrPending.push_back({EMsg::kFileRejected, {task.m_strName, moved.m_strPath}});
    else
        m_arrPending.push_back({EMsg::kFileRejectFailed, {task.m_strPath, moved.m_strDiag}});
}

// A hot-folder task prints only while its file is still there as it was read: a file taken
// away or rewritten since is the operator's or the CAD's decision, not a marker to print from
// what was read before. The task stays, marked, and no longer holds a queue back.
bool CTaskQueue::FileLeftItsFolder(COnePage& task) {
    const CTaskPos pos = FindTask(m_doc, task.m_nTaskId);
    if (!pos.Valid() || pos.m_nSource == kSourceOpened || IsDerivedPath(task.m_strPath))
        return false;
    if (IsTaskFileUnchanged(task)) {
        if (task.m_problem.m_eId == EMsg::kTaskFileGone)
            task.m_problem = {}; // back from the trash
        return false;
    }
    task.m_problem = {EMsg::kTaskFileGone, {task.m_strName}};
    task.m_bQueued = 0;
    return true;
}

// Print state 1 while the engine starts the job; back to 0 when it refuses. The job's
// history and disposal go by the list the task is in now.
CJobStartResult CTaskQueue::StartQuietly(COnePage& task) {
    if (const CTaskPos pos = FindTask(m_doc, task.m_nTaskId); pos.Valid())
        task.m_nSource = pos.m_nSource;
    task.m_nPrintState = PS_PRINTING;
    CJobStartResult result = m_pEngine->StartPrintJob(task);
    if (!result.Ok())
        task.m_nPrintState = PS_WAITING;
    NoteChanged();
    return result;
}

void CTaskQueue::Defer(const CResult& result) {
    m_arrPending.insert(m_arrPending.end(), result.m_arrMessages.begin(),
                        result.m_arrMessages.end());
}

void CTaskQueue::PrintCurrentTask() {
    // Start always says why nothing prints: the machine's state may have changed since the
    // button was pressed.
    if (m_pEngine->MachineState() != kStateReady) {
        m_view.ShowMessage({EMsg::kMachineNotReady, {}});
        return;
    }
    COnePage* pTask = TaskById(m_doc, m_nCurrentTaskId);
    if (pTask == nullptr) {
        // Never another task in its place: the operator chose this one.
        m_view.ShowMessage(
            {m_nCurrentTaskId == 0 ? EMsg::kNoCurrentTask : EMsg::kCurrentTaskGone, {}});
        return;
    }
    if (pTask->m_nPrintState != PS_WAITING)
        return;
    if (m_pEngine->HasUnfinishedJobs()) {
        const std::optional<CInterruptedJob> waiting =
            FindInterruptedJob(m_pEngine->UnfinishedJobs());
        m_view.ShowMessage(
            {EMsg::kUnfinishedJobWaits,
             {waiting && !waiting->m_record.m_strTaskName.empty() ? waiting->m_record.m_strTaskName
                                                                  : std::string("?")}});
        return;
    }
    if (FileLeftItsFolder(*pTask)) {
        ListsChanged();
        m_view.ShowMessage(pTask->m_problem);
        return;
    }
    const uint64_t nTaskId = pTask->m_nTaskId;
    const CTaskLoadResult loaded = LoadQuietly(*pTask, false);
    if (loaded.m_nCode == kLoadPending) {
        m_nPrintWhenLoaded = nTaskId;
        return;
    }
    if (pTask->m_arrCurves.empty()) {
        // Start on a task that cannot print says why, there and in the task's row.
        const CMessage problem = pTask->m_problem;
        ListsChanged();
        for (const CMessage& message : loaded.m_arrMessages)
            m_view.ShowMessage(message);
        if (problem.m_eId != EMsg::kNone && !loaded.Says(problem.m_eId))
            m_view.ShowMessage(problem);
        return;
    }
    pTask = TaskById(m_doc, nTaskId);
    if (pTask == nullptr)
        return;
    const CJobStartResult started = StartQuietly(*pTask);
    // A finished task with no copies left prints once more.
    if (started.Ok() && pTask->m_nCopies <= 1)
        pTask->m_nCopies = 1;
    ListsChanged();
    for (const CMessage& message : started.m_arrMessages)
        m_view.ShowMessage(message); // the last use of the task is behind
    // A start the machine did not take (its link lost the job header) says so too.
    if (!started.Ok() && started.m_arrMessages.empty())
        m_view.ShowMessage({EMsg::kMachineNotReady, {}});
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
                DeleteFinishedAutoTasks(m_doc, m_settings, &m_arrRemovedFiles);
                ListsChanged();
            }
        }
    }
    // The ledger said "printed" before any of this; its record may go once it is safe.
    if (bSuccess)
        m_pEngine->PrintedJobHandled();
    // A failed job stops automatic printing even when its task has left the lists
    // meanwhile (deleted or replaced while it printed).
    if (!bSuccess)
        AutoModeOff();
    m_bChangedSinceSnapshot = true;
    m_pEngine->ClearJob();
    ListsChanged();
    m_view.Redraw();
    m_view.JobEnded(nResult);
}

void CTaskQueue::AutoModeOff() {
    m_settings.AutoStartEnable = 0;
    m_view.AutoModeOff();
}

void CTaskQueue::TakePlacedFile(const std::string& strPath) {
    m_writerCheck.Vouch(strPath);
    ScanAutoFolder();
}

void CTaskQueue::ScanAutoFolder() {
    if (!m_bFolderScans)
        return;
    ScanFolder(m_settings.AutoDir, kSourceAutoDir);
    m_writerCheck.ForgetUnseen();
    ShowPending();
}

// Shown once no task is in use any more: a message box runs a nested event loop.
void CTaskQueue::ShowPending() {
    std::vector<CMessage> pending;
    pending.swap(m_arrPending);
    for (const CMessage& message : pending)
        m_view.ShowMessage(message);
}

// Files removed from the hot folders where the desktop trash could not take them wait in
// Printed/ beside their folder for PrintedKeepDays; checked once an hour.
void CTaskQueue::PrunePrintedFolders() {
    const std::time_t tNow = std::time(nullptr);
    if (m_tLastPrune != 0 && tNow - m_tLastPrune < kPruneEverySeconds)
        return;
    m_tLastPrune = tNow;
    for (const std::string* pFolder : {&m_settings.ManDir, &m_settings.AutoDir}) {
        if (pFolder->empty())
            continue;
        const std::string strPrinted = FolderWithSlash(*pFolder) + "../Printed/";
        (void)PrunePrinted(strPrinted, m_settings.PrintedKeepDays, tNow);
    }
}

// A file over the size limit in the manual folder is listed with the reason it cannot
// print; it stays in the folder for the operator to deal with.
void CTaskQueue::ListTooLarge(const std::vector<CFolderFile>& files,
                              const std::vector<std::string>& patterns, CTaskList& list) {
    for (const CFolderFile& file : files) {
        const bool bMatches = MatchesAnyPattern(file.m_strName, patterns);
        const bool bListed = std::any_of(list.begin(), list.end(), [&](const auto& task) {
            return task->m_strPath == file.m_strPath && task->m_nFileSize == file.m_nSize &&
                   task->m_tTime == file.m_tTime;
        });
        if (!bMatches || bListed)
            continue;
        std::erase_if(list, [&](const auto& task) { return task->m_strPath == file.m_strPath; });
        auto task = FolderTask(file);
        task->m_problem = OverLimit(file.m_strName, file.m_nSize, m_settings.PltMaxSizeMb);
        m_arrPending.push_back(task->m_problem);
        list.push_back(std::move(task));
        m_bListsChanged = true;
    }
}

// A file over the size limit in the automatic folder is refused once its writer is done.
void CTaskQueue::RejectTooLarge(const std::vector<CFolderFile>& files,
                                const std::vector<std::string>& patterns) {
    for (const CFolderFile& file : files) {
        if (!MatchesAnyPattern(file.m_strName, patterns) ||
            !m_writerCheck.WriterFinished(file, m_settings.FileSettleMs))
            continue;
        COnePage task;
        task.m_strPath = file.m_strPath;
        task.m_strName = file.m_strName;
        task.m_tTime = file.m_tTime;
        task.m_nFileSize = file.m_nSize;
        const CMessage why = OverLimit(file.m_strName, file.m_nSize, m_settings.PltMaxSizeMb);
        RejectFile(task, CResult::Failure(-1,
                                          "the file has " + why.m_arrArgs[1] +
                                              " MB, more than the limit of " + why.m_arrArgs[2] +
                                              " MB (PltMaxSizeMb)",
                                          {why}));
    }
}

void CTaskQueue::ScanManualFolder() {
    if (!m_bFolderScans)
        return;
    PrunePrintedFolders();
    ScanFolder(m_settings.ManDir, kSourceManDir);
    ShowPending();
    if (m_settings.AutoDelFinish == 0 ||
        !DeleteZeroCopyTasks(m_doc, m_settings, true, &m_arrRemovedFiles))
        return;
    ListsChanged();
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
    std::vector<CFolderFile> tooLarge;
    const std::vector<CFolderFile> files = ListFolderFiles(
        FolderWithSlash(strFolder), int64_t{m_settings.PltMaxSizeMb} * kMiB, &tooLarge);
    if (nSource == kSourceAutoDir)
        RejectTooLarge(tooLarge, patterns);
    else
        ListTooLarge(tooLarge, patterns, ListOfSource(m_doc, nSource));
    CTaskList& list = ListOfSource(m_doc, nSource);
    auto index = IndexByPath(list);
    const auto derived = DerivedSources(list);
    for (const std::string& strPattern : patterns) {
        for (const CFolderFile& file : files) {
            if (!MatchesPattern(file.m_strName, strPattern))
                continue;
            const auto it = index.find(file.m_strPath);
            if (it != index.end() && list[it->second]->m_tTime == file.m_tTime &&
                list[it->second]->m_nFileSize == file.m_nSize)
                continue;
            if (nSource == kSourceAutoDir &&
                m_refused.contains({file.m_strPath, file.m_tTime, file.m_nSize}))
                continue;
            // A file that was split or mirrored is still in the list as its pieces.
            const auto from = derived.find(file.m_strPath);
            if (it == index.end() && from != derived.end() &&
                from->second == std::make_pair(file.m_tTime, file.m_nSize))
                continue;
            if (nSource == kSourceAutoDir &&
                !m_writerCheck.WriterFinished(file, m_settings.FileSettleMs))
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
        m_bChangedSinceSnapshot = true;
        ListsChanged();
        m_bListsChanged = false;
        RequestPreloads();
    }
}

// Newest first; tasks of equal time keep their order.
void CTaskQueue::SortManualList() {
    std::stable_sort(m_doc.m_arrManDir.begin(), m_doc.m_arrManDir.end(),
                     [](const auto& a, const auto& b) { return a->m_tTime > b->m_tTime; });
}

void CTaskQueue::AddFiles(const std::vector<std::string>& paths) {
    PrepareUndo();
    std::vector<CMessage> messages;
    for (const std::string& strPath : paths) {
        const CAddResult result = AddFileTask(m_doc, m_settings, strPath);
        messages.insert(messages.end(), result.m_arrMessages.begin(), result.m_arrMessages.end());
        if (result.Ok())
            PushUndoSnapshot({EUndoStep::kAdd, TaskNameOf(strPath), 1});
    }
    RequestPreloads();
    for (const CMessage& message : messages)
        m_view.ShowMessage(message);
    ListsChanged();
    if (m_settings.AutoPreview == 0)
        return;
    if (COnePage* pTask = TaskById(m_doc, m_nCurrentTaskId))
        (void)LoadDrawing(*pTask, false);
}

void CTaskQueue::DeleteSelected() {
    PrepareUndo();
    const CUndoLabel label = SelectedLabel(EUndoStep::kDelete);
    DeleteSelectedTasks(m_doc, m_settings, &m_arrRemovedFiles);
    PushUndoSnapshot(label);
    ListsChanged();
    m_view.Redraw();
}

// A manual-folder task that was never shown holds only its size: a command made of its
// drawing (a merge, a split) reads it first, or it would make its pieces of nothing while
// the task, and with a merge its file, went away.
CResult CTaskQueue::ReadDrawingNow(COnePage& task) {
    if (!task.m_arrCurves.empty())
        return {};
    if (task.m_nFileSize > int64_t{m_settings.PltMaxSizeMb} * kMiB) {
        task.m_problem = OverLimit(task.m_strName, task.m_nFileSize, m_settings.PltMaxSizeMb);
        return CResult::Failure(kLoadUnreadable, "over the size limit", {task.m_problem});
    }
    KnowPrintableWidth();
    const CTaskLoadResult result = LoadTaskDrawing(task, m_settings, false);
    task.m_problem = result.Ok() ? CMessage{} : ProblemOf(result, task.m_strName);
    if (!result.Ok())
        return CResult::Failure(kLoadUnreadable, "unreadable", {task.m_problem});
    return {};
}

// Messages wait until no task is in use (their boxes run nested event loops).
CResult CTaskQueue::ReadSelectedDrawings() {
    for (CTaskList* pList : {&m_doc.m_arrOpened, &m_doc.m_arrManDir, &m_doc.m_arrAutoDir}) {
        for (const auto& task : *pList) {
            if (task->m_bTaskSelected == 0)
                continue;
            CResult read = ReadDrawingNow(*task);
            if (!read.Ok())
                return read;
        }
    }
    return {};
}

bool CTaskQueue::MergeSelected(EMerge eKind) {
    const CResult read = ReadSelectedDrawings();
    if (!read.Ok()) {
        ListsChanged();
        for (const CMessage& message : read.m_arrMessages)
            m_view.ShowMessage(message);
        return false;
    }
    PrepareUndo();
    const CUndoLabel label = SelectedLabel(EUndoStep::kMerge);
    MergeSelectedTasks(m_doc, eKind);
    DeleteSelectedTasks(m_doc, m_settings, &m_arrRemovedFiles);
    RefreshFigures();
    PushUndoSnapshot(label);
    ListsChanged();
    m_view.Redraw();
    return true;
}

void CTaskQueue::QueueSelected(bool bQueued) {
    PrepareUndo();
    SetQueued(m_doc, bQueued);
    PushUndoSnapshot(SelectedLabel(bQueued ? EUndoStep::kQueue : EUndoStep::kUnqueue));
    ListsChanged();
}

void CTaskQueue::ChangeCopiesOfSelected(bool bUp) {
    PrepareUndo();
    inkvale::ChangeCopies(m_doc, bUp);
    PushUndoSnapshot(SelectedLabel(EUndoStep::kCopies));
    ListsChanged();
}

void CTaskQueue::RotateTask(uint64_t nTaskId) {
    COnePage* pTask = TaskById(m_doc, nTaskId);
    if (pTask == nullptr)
        return;
    PrepareUndo();
    pTask->RotateQuarter();
    if (!pTask->m_arrCurves.empty())
        RunTaskPreflight(*pTask, *pTask);
    PushUndoSnapshot({EUndoStep::kRotate, pTask->m_strName, 1});
    ListsChanged();
}

CUndoLabel CTaskQueue::SelectedLabel(EUndoStep eStep) const {
    CUndoLabel label{eStep, {}, 0};
    for (const CTaskList* pList : {&m_doc.m_arrOpened, &m_doc.m_arrManDir, &m_doc.m_arrAutoDir}) {
        for (const auto& task : *pList) {
            if (task->m_bTaskSelected == 0)
                continue;
            if (label.m_nTasks++ == 0)
                label.m_strSubject = task->m_strName;
        }
    }
    return label;
}

// The first command after the start keeps the lists as they were before it, so that it can
// be undone too.
// The same when scans or jobs changed the lists since the last snapshot: an undo then goes
// back to the lists just before the command, with the files that arrived meanwhile. That
// snapshot is taken now and pushed with the command's own, so that a command that changes
// nothing leaves the history as it was.
void CTaskQueue::PrepareUndo() {
    m_baseline.reset();
    if (m_undo.Count() == 0 || m_bChangedSinceSnapshot)
        m_baseline = m_undo.Take(m_doc);
    else
        m_undo.KeepSelection(m_doc);
}

// Every command of the operator that changes the lists ends here.
void CTaskQueue::PushUndoSnapshot(CUndoLabel label) {
    if (m_baseline) {
        m_undo.Push(std::move(*m_baseline));
        m_baseline.reset();
    }
    m_undo.Push(m_doc, std::move(label));
    m_bChangedSinceSnapshot = false;
    NoteChanged();
}

CDocResult CTaskQueue::OpenTaskFile(const std::string& strPath) {
    PrepareUndo();
    CDocResult result = m_doc.OpenTaskFile(strPath);
    if (!result.Ok())
        return result;
    AfterDocumentLoaded();
    PushUndoSnapshot({EUndoStep::kOpen, TaskNameOf(strPath), 0});
    return result;
}

bool CTaskQueue::DeleteZeroCopies() {
    if (!DeleteZeroCopyTasks(m_doc, m_settings, true, &m_arrRemovedFiles))
        return false;
    NoteChanged();
    return true;
}

void CTaskQueue::Undo() {
    const uint64_t nPrinting = PrintingTaskId();
    if (!m_undo.Undo(m_doc))
        return;
    KeepPrinting(nPrinting);
    RestoreRemovedFiles();
    AfterDocumentLoaded();
}

// The job goes on through an undo or redo: its task, when the lists still hold it, shows
// it prints, and the job's end finds it.
uint64_t CTaskQueue::PrintingTaskId() const {
    for (const CTaskList* pList : {&m_doc.m_arrOpened, &m_doc.m_arrManDir, &m_doc.m_arrAutoDir}) {
        for (const auto& task : *pList) {
            if (task->m_nPrintState == PS_PRINTING)
                return task->m_nTaskId;
        }
    }
    return 0;
}

void CTaskQueue::KeepPrinting(uint64_t nTaskId) {
    if (COnePage* pTask = nTaskId != 0 ? TaskById(m_doc, nTaskId) : nullptr)
        pTask->m_nPrintState = PS_PRINTING;
}

// Files of tasks that an undo brought back return from the trash, unless a new file took
// their place meanwhile (then the file stays in the trash, and the task shows the new one).
void CTaskQueue::RestoreRemovedFiles() {
    for (CTaskList* pList : {&m_doc.m_arrManDir, &m_doc.m_arrAutoDir}) {
        for (const auto& task : *pList) {
            const std::string strSource = SourcePathOf(task->m_strPath);
            auto it =
                std::find_if(m_arrRemovedFiles.rbegin(), m_arrRemovedFiles.rend(),
                             [&](const CDisposal& d) { return d.m_strOriginal == strSource; });
            if (it == m_arrRemovedFiles.rend() || !RestoreFile(*it).Ok())
                continue;
            m_arrRemovedFiles.erase(std::next(it).base());
        }
    }
}

void CTaskQueue::Redo() {
    const uint64_t nPrinting = PrintingTaskId();
    std::vector<std::pair<COnePage, const std::string*>> folderFiles;
    for (const auto& [pList, pFolder] : {std::pair{&m_doc.m_arrManDir, &m_settings.ManDir},
                                         std::pair{&m_doc.m_arrAutoDir, &m_settings.AutoDir}}) {
        for (const auto& task : *pList) {
            COnePage file;
            file.m_strPath = task->m_strPath;
            file.m_tTime = task->m_tTime;
            file.m_nFileSize = task->m_nFileSize;
            folderFiles.emplace_back(std::move(file), pFolder);
        }
    }
    if (!m_undo.Redo(m_doc))
        return;
    KeepPrinting(nPrinting);
    RemoveFilesOfRedoneDeletes(folderFiles);
    AfterDocumentLoaded();
}

// A redone delete takes the files with it again, as the delete did: otherwise the next scan
// would bring the deleted tasks back.
void CTaskQueue::RemoveFilesOfRedoneDeletes(
    const std::vector<std::pair<COnePage, const std::string*>>& folderFiles) {
    for (const auto& [file, pFolder] : folderFiles) {
        const std::string strSource = SourcePathOf(file.m_strPath);
        const bool bStillListed =
            std::any_of(m_doc.m_arrManDir.begin(), m_doc.m_arrManDir.end(),
                        [&](const auto& t) { return SourcePathOf(t->m_strPath) == strSource; }) ||
            std::any_of(m_doc.m_arrAutoDir.begin(), m_doc.m_arrAutoDir.end(),
                        [&](const auto& t) { return SourcePathOf(t->m_strPath) == strSource; });
        if (bStillListed || IsDerivedPath(file.m_strPath))
            continue;
        CDisposal moved = DeleteTaskFile(file, *pFolder);
        if (moved.m_eWhere != EDisposal::kNone)
            m_arrRemovedFiles.push_back(std::move(moved));
    }
}

// A snapshot keeps neither the tasks' names, which backups and history rows need, nor the
// size of their files, by which a rescan and a delete recognise a file; the size is the
// file's when it still has the task's last-write time.
void CTaskQueue::AfterDocumentLoaded() {
    for (CTaskList* pList : {&m_doc.m_arrOpened, &m_doc.m_arrManDir, &m_doc.m_arrAutoDir}) {
        for (const auto& task : *pList) {
            task->m_strName = TaskNameOf(task->m_strPath);
            struct stat st {};
            if (::stat(SourcePathOf(task->m_strPath).c_str(), &st) == 0 &&
                static_cast<int64_t>(st.st_mtim.tv_sec) == task->m_tTime)
                task->m_nFileSize = static_cast<int64_t>(st.st_size);
        }
    }
    RefreshFigures();
    ListsChanged();
    m_view.Redraw();
}

// Tasks that hold their drawing are looked at here; the others are read by the preloader,
// which brings their figures with the drawing.
void CTaskQueue::RefreshFigures() {
    for (CTaskList* pList : {&m_doc.m_arrOpened, &m_doc.m_arrManDir, &m_doc.m_arrAutoDir}) {
        for (const auto& task : *pList) {
            if (!task->m_preflight.m_bDone && !task->m_arrCurves.empty())
                RunTaskPreflight(*task, *task);
        }
    }
    RequestPreloads();
}

void CTaskQueue::DiscardAllDrawings() {
    inkvale::DiscardAllDrawings(m_doc);
    ++m_nDrawingGeneration;
    m_preloadAsked.clear();
    RequestPreloads();
    // A drawing someone waits for is read again with the new settings, ahead of the others;
    // the wait (and a start behind it) goes on until then. The reads under way are dropped.
    std::erase_if(m_waitedLoads,
                  [this](uint64_t nTaskId) { return TaskById(m_doc, nTaskId) == nullptr; });
    if (m_pPreloader == nullptr)
        return;
    for (const uint64_t nTaskId : m_waitedLoads)
        m_pPreloader->LoadFirst(nTaskId, TaskById(m_doc, nTaskId)->m_strPath, m_settings,
                                m_nDrawingGeneration);
}

// Every task without a drawing, a known problem or a request yet.
void CTaskQueue::RequestPreloads() {
    if (m_pPreloader == nullptr)
        return;
    KnowPrintableWidth(); // the preloader folds with a copy of these settings
    for (CTaskList* pList : {&m_doc.m_arrOpened, &m_doc.m_arrManDir, &m_doc.m_arrAutoDir}) {
        for (const auto& task : *pList) {
            if (!task->m_arrCurves.empty() || task->m_problem.m_eId != EMsg::kNone ||
                IsDerivedPath(task->m_strPath) ||
                task->m_nFileSize > int64_t{m_settings.PltMaxSizeMb} * kMiB ||
                !m_preloadAsked.insert(task->m_nTaskId).second)
                continue;
            m_pPreloader->Preload(task->m_nTaskId, task->m_strPath, m_settings,
                                  m_nDrawingGeneration);
        }
    }
}

void CTaskQueue::AcceptPreloaded(uint64_t nTaskId, uint64_t nGeneration, COnePage& loaded,
                                 const CTaskLoadResult& result, bool bRefresh) {
    if (nGeneration != m_nDrawingGeneration) {
        // Read with settings that have changed since: DiscardAllDrawings asked for it again.
        if (bRefresh)
            ListsChanged(); // the drawings taken before this one
        return;
    }
    const auto waited = std::find(m_waitedLoads.begin(), m_waitedLoads.end(), nTaskId);
    const bool bWaited = waited != m_waitedLoads.end();
    if (bWaited)
        m_waitedLoads.erase(waited);
    COnePage* pTask = TaskById(m_doc, nTaskId);
    if (pTask == nullptr || !pTask->m_arrCurves.empty() || pTask->m_nPrintState != PS_WAITING ||
        !IsTaskFileUnchanged(*pTask)) {
        if (bRefresh)
            ListsChanged(); // the drawings taken before this one
        return;
    }
    if (!result.Ok()) {
        pTask->m_problem = ProblemOf(result, pTask->m_strName);
    } else {
        // The boxes and the file's hash came with the drawing; the file is unchanged since.
        loaded.m_strPath = pTask->m_strPath;
        loaded.m_strName = pTask->m_strName;
        loaded.m_nStartMm = 0;
        RunTaskPreflight(*pTask, loaded, loaded.m_preflight.m_nContentHash);
        pTask->m_nMaxX = loaded.m_nMaxX;
        pTask->m_nMinX = loaded.m_nMinX;
        pTask->m_nMaxY = loaded.m_nMaxY;
        pTask->m_nMinY = loaded.m_nMinY;
        pTask->m_problem = {};
        // A manual folder may hold hundreds of markers that are never printed: their
        // tasks keep only the size, and read the drawing again when it is needed. The
        // others take the curves, which move with their boxes.
        if (bWaited || FindTask(m_doc, nTaskId).m_nSource != kSourceManDir) {
            pTask->m_arrCurves = std::move(loaded.m_arrCurves);
            pTask->m_nStartMm = 0;
        }
    }
    if (bRefresh)
        ListsChanged();
    if (bWaited)
        TakeWaitedLoad(nTaskId, result);
}

// The preview shows the drawing it waited for, or why there is none; a start waiting for
// it goes ahead.
void CTaskQueue::TakeWaitedLoad(uint64_t nTaskId, const CTaskLoadResult& result) {
    ListsChanged();
    m_view.Redraw();
    if (m_nPrintWhenLoaded == nTaskId) {
        m_nPrintWhenLoaded = 0;
        if (m_nCurrentTaskId == nTaskId)
            PrintCurrentTask();
        return;
    }
    for (const CMessage& message : result.m_arrMessages)
        m_view.ShowMessage(message);
}

CResult CTaskQueue::SplitAlongFeed(uint64_t nTaskId, int32_t nLength) {
    if (COnePage* pTask = TaskById(m_doc, nTaskId)) {
        CResult read = ReadDrawingNow(*pTask);
        if (!read.Ok()) {
            ListsChanged();
            return read;
        }
    }
    PrepareUndo();
    const COnePage* pTask = TaskById(m_doc, nTaskId);
    CUndoLabel label{EUndoStep::kSplit, pTask != nullptr ? pTask->m_strName : std::string(), 1};
    CResult result = SplitTaskAlongFeed(m_doc, nTaskId, nLength);
    if (result.Ok()) {
        RefreshFigures();
        PushUndoSnapshot(std::move(label));
    }
    return result;
}

void CTaskQueue::MirrorCopy(uint64_t nTaskId, const std::string& strSuffix) {
    if (COnePage* pTask = TaskById(m_doc, nTaskId);
        pTask != nullptr && !ReadDrawingNow(*pTask).Ok()) {
        ListsChanged(); // the row shows why
        return;
    }
    PrepareUndo();
    const COnePage* pTask = TaskById(m_doc, nTaskId);
    CUndoLabel label{EUndoStep::kMirror, pTask != nullptr ? pTask->m_strName : std::string(), 1};
    if (InsertMirroredCopy(m_doc, nTaskId, strSuffix) != nullptr) {
        RefreshFigures();
        PushUndoSnapshot(std::move(label));
    }
}

} // namespace inkvale
