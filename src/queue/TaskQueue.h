// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/Settings.h"
#include "machine/engine/EngineHost.h"
#include "machine/engine/PrintEngine.h"
#include "model/TaskDrawingLoader.h"
#include "model/TaskLists.h"
#include "queue/DrawingPreloader.h"
#include "queue/HotFolder.h"
#include "queue/InterruptedJob.h"
#include "queue/QueueView.h"
#include "queue/TaskListEdits.h"
#include "queue/UndoHistory.h"

#include <ctime>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace inkvale {

/// The task queue: chooses, starts, repeats and removes the document's print tasks, runs
/// the two hot-folder scans and keeps the undo history. It is the print engine's host:
/// it is driven by the operator's commands, the scheduler (StartNextTask), the folder-poll
/// thread (the two scans) and the print engine (JobFinished), every call on the window
/// thread (the worker threads' calls arrive through the front end's hand-off), one at a
/// time.
class CTaskQueue : public IEngineHost {
public:
    /// Every reference must outlive the queue. The settings are the program's own record:
    /// a failed job switches its AutoStartEnable off. The engine is given with SetEngine
    /// before the first call that needs it (the engine is made after its host).
    CTaskQueue(CTaskLists& doc, CSettings& settings, CQueueView& view);
    CTaskQueue(CTaskLists& doc, CSettings& settings, CQueueView& view, IQueueEngine& engine);
    void SetEngine(IQueueEngine& engine) { m_pEngine = &engine; }
    /// The machine's parameter block, for the preflight of every drawing the queue loads
    /// (none: no preflight).
    void SetMachineParams(const CMachineParams& params) { m_pParams = &params; }

    /// The current task: the one the operator highlighted last, shown in the preview and
    /// printed by Start. It is kept by id, so that lists that change under it (files
    /// arriving, tasks leaving) never move it to another task; 0 when there is none. The
    /// queue itself never changes it: only the view does, for the operator.
    uint64_t CurrentTaskId() const { return m_nCurrentTaskId; }
    void SetCurrentTaskId(uint64_t nTaskId) { m_nCurrentTaskId = nTaskId; }
    /// Row of the current task in the three lists, -1 when it has left them.
    int CurrentTaskIndex() const;
    /// Makes the task of that row current (none for a row beyond the lists).
    void SetCurrentTaskIndex(int nRow);

    // The scheduler and the engine.

    /// `StartNextTask` (message 0x469): -1 when it may not run or found nothing, else 0.
    /// A call made while one is running returns 0 at once.
    int StartNextTask() override;
    /// The Start button: prints the current task. When there is none, or it has left the
    /// lists, nothing prints and the view is told why.
    void PrintCurrentTask();
    /// Unfinished jobs of the ledger are continued by the scheduler as soon as the machine
    /// is ready (ResumeInterrupted=auto); otherwise they wait for the operator. Either way
    /// nothing else starts while there is one.
    void SetAutoResume(bool bAuto) { m_bAutoResume = bAuto; }
    /// A job the ledger says printed, found at start-up: its task takes the copies the
    /// ledger says were still owed, and a finished automatic-folder file leaves its folder
    /// (even when the saved lists no longer knew its task), so that nothing prints twice.
    void SettlePrintedJob(const CJobRecord& record);
    /// `OnJobFinished` (message 0x466, nResult kJobSuccess or another value for failure);
    /// the view hears of the end with JobEnded.
    void JobFinished(int nResult) override;
    /// The monitor's posted news of a silent machine, passed on to the view.
    void MachineSilence(std::time_t tSilentSince) override { m_view.MachineSilence(tSilentSince); }

    // The hot folders (messages 0x46B and 0x46C).

    void ScanManualFolder() override;
    void ScanAutoFolder() override;
    /// A file this program placed whole in the automatic folder (an upload): taken at once,
    /// without the settle time of files that other programs write.
    void TakePlacedFile(const std::string& strPath);
    /// With false both scans do nothing: a front end that prints one given file (the
    /// command line) leaves the hot folders to the program's own runs. On by default.
    void EnableFolderScans(bool bEnable) { m_bFolderScans = bEnable; }
    bool FolderScansEnabled() const { return m_bFolderScans; }

    // The operator's commands that change the lists and push an undo snapshot.

    /// The Add command: AddFileTask for every path, each added file followed by its
    /// snapshot (texts to show go to the view); with AutoPreview the current task's
    /// drawing is loaded silently.
    void AddFiles(const std::vector<std::string>& paths);
    /// The Delete command: DeleteSelectedTasks, then a snapshot.
    void DeleteSelected();
    /// The task list's removal of finished tasks: DeleteZeroCopyTasks with manual-folder
    /// files. True when a task was removed.
    bool DeleteZeroCopies();
    /// The two merge commands: the drawings of the selected tasks are read where they are
    /// not held yet, then MergeSelectedTasks, then the selected source tasks are deleted
    /// (folder files with them) and a snapshot is taken. False, with nothing changed and
    /// the reason shown, when a selected drawing cannot be read.
    bool MergeSelected(EMerge eKind);
    /// The queue (true) and unqueue commands: SetQueued, then a snapshot.
    void QueueSelected(bool bQueued);
    /// Copies + and −: ChangeCopies of the selected tasks, then a snapshot.
    void ChangeCopiesOfSelected(bool bUp);
    /// Turns the task's drawing a quarter turn and looks at it again; then a snapshot.
    void RotateTask(uint64_t nTaskId);
    /// Before a command that changes the lists: the first one after the start keeps the
    /// lists as they were, so that it can be undone. Then the command's PushUndoSnapshot.
    void PrepareUndo();
    /// `PushUndoSnapshot`, `Undo`, `Redo`: the snapshot names the command for the menu.
    /// Undo and Redo bring the tasks back as they were (copies, marks, figures); a job
    /// that prints goes on.
    void PushUndoSnapshot(CUndoLabel label = {});
    /// Reads a task file in place of the three lists; on success the tasks get their
    /// names and a snapshot is taken (an Undo goes back to the lists before it).
    CDocResult OpenTaskFile(const std::string& strPath);
    /// Undo also brings back from the trash the files of the tasks it restores.
    void Undo();
    void Redo();
    const CUndoHistory& UndoHistory() const { return m_undo; }

    /// The preview's split along the paper feed (SplitTaskAlongFeed, after the task's
    /// drawing is read when it holds none) and mirrored copy (InsertMirroredCopy), each
    /// followed by a snapshot when it changed the lists.
    CResult SplitAlongFeed(uint64_t nTaskId, int32_t nLength);
    void MirrorCopy(uint64_t nTaskId, const std::string& strSuffix);

    /// The preflight of every task that holds its drawing and has none yet; the preloader
    /// reads the others. After the lists were restored (a start, a task file, an undo).
    void RefreshFigures();

    /// `DiscardAllDrawings` (message 0x470): split pieces and mirrored copies keep theirs,
    /// which no file holds. A drawing waited for is read again first, and still waited for.
    void DiscardAllDrawings();

    /// The preview's load: reads the task's drawing when it has none (texts to show only
    /// with bShowErrors). True when the task has a drawing. The task
    /// may have left the lists when this returns (a message box runs a nested event loop):
    /// callers look it up again by its id.
    bool LoadDrawing(COnePage& task, bool bShowErrors);

    CTaskLists& Doc() { return m_doc; }

    /// Who hears of every change of the document's tasks (the saved lists; nobody by
    /// default). It is called on the window thread, possibly several times for one command
    /// and between the steps of one, so it only takes note: it must not read or change the
    /// lists there and then.
    void SetChangeListener(std::function<void()> fnChanged) { m_fnChanged = std::move(fnChanged); }
    /// Tells the listener that the tasks changed. The queue calls it after its own changes;
    /// a front end calls it after the changes it makes to tasks itself (copies, order, the
    /// preview's edits of a drawing).
    void NoteChanged() {
        if (m_fnChanged)
            m_fnChanged();
    }

    /// New tasks of the lists have their drawings read by the preloader (none by default).
    void SetPreloader(IDrawingPreloader* pPreloader) { m_pPreloader = pPreloader; }
    /// A preloaded drawing for a task: taken when the task still has none, its file is still
    /// the one the task was made from and no setting changed the drawings since; dropped
    /// otherwise. Manual-folder tasks take only its size. A drawing that could not be read
    /// marks the task with the reason. The list is shown again when bRefresh is set: a
    /// preloader handing over many drawings refreshes it only now and then. The preloader
    /// hands the drawing over with its boxes current (CalcExtents) and, in
    /// m_preflight.m_nContentHash, its file's hash (PreflightContentHash) or 0: the work
    /// of a large drawing that is done off the window thread.
    void AcceptPreloaded(uint64_t nTaskId, uint64_t nGeneration, COnePage& loaded,
                         const CTaskLoadResult& result, bool bRefresh = true);
    /// The drawing a click or a start waits for while the preloader reads it (0: none).
    uint64_t WaitedLoad() const { return m_waitedLoads.empty() ? 0 : m_waitedLoads.back(); }
    /// Stops waiting for every such drawing: nothing starts when it comes, and a
    /// manual-folder task keeps only its size again.
    void CancelWaitedLoads();
    /// Files above this size are read off the owning thread once a preloader is set.
    static constexpr int64_t kWaitedLoadBytes = 1 << 20;

private:
    /// NoteChanged, then the view shows the lists again.
    void ListsChanged();
    int ChooseAndStart();
    COnePage* ChooseQueuedTask(CTaskList& list, int nFirstRow, int& nRow);
    COnePage* ChooseAutoTask(int& nRow);
    CTaskLoadResult LoadQuietly(COnePage& task, bool bShowErrors);
    bool LoadOffThread(const COnePage& task);
    void TakeWaitedLoad(uint64_t nTaskId, const CTaskLoadResult& result);
    CJobStartResult StartQuietly(COnePage& task);
    void Defer(const CResult& result);
    void RejectFile(const COnePage& task, const CResult& why);
    void RestoreRemovedFiles();
    void PrunePrintedFolders();
    void RequestPreloads();
    void ShowPending();
    void ListTooLarge(const std::vector<CFolderFile>& files,
                      const std::vector<std::string>& patterns, CTaskList& list);
    void RejectTooLarge(const std::vector<CFolderFile>& files,
                        const std::vector<std::string>& patterns);
    void AutoModeOff();
    /// The scheduler's turn while unfinished jobs wait: resumes one when told to.
    int ResumeWaitingJob();
    /// The preflight of a task from a loaded drawing of it (its own, or a preloaded one).
    void KnowPrintableWidth();
    /// Reads the task's drawing when it holds none; the reason when it cannot.
    CResult ReadDrawingNow(COnePage& task);
    /// Reads the drawings of the selected tasks that hold none; the first failure's reason.
    CResult ReadSelectedDrawings();
    void RunTaskPreflight(COnePage& task, const COnePage& drawing, uint64_t nContentHash = 0);
    /// A task whose preflight blocks printing is passed over, with the reason in its row.
    bool PassOverBlocked(COnePage& task);
    void AfterDocumentLoaded();
    CUndoLabel SelectedLabel(EUndoStep eStep) const;
    bool FileLeftItsFolder(COnePage& task);
    uint64_t PrintingTaskId() const;
    void KeepPrinting(uint64_t nTaskId);
    void RemoveFilesOfRedoneDeletes(
        const std::vector<std::pair<COnePage, const std::string*>>& folderFiles);
    void ScanFolder(const std::string& strFolder, int32_t nSource);
    void SortManualList();

    CTaskLists& m_doc;
    CSettings& m_settings;
    CQueueView& m_view;
    IQueueEngine* m_pEngine = nullptr;
    const CMachineParams* m_pParams = nullptr;
    CUndoHistory m_undo;
    /// The lists before the command under way, when they changed since the last snapshot;
    /// pushed with the command's own snapshot.
    std::optional<CUndoHistory::CSnapshot> m_baseline;
    CWriterCheck m_writerCheck;
    uint64_t m_nCurrentTaskId = 0;
    bool m_bInStartNextTask = false;
    bool m_bFolderScans = true;
    bool m_bAutoResume = false;
    std::set<std::string> m_autoResumeRefused; ///< jobs an automatic resume could not continue
    bool m_bListsChanged = false;              ///< a scan added or replaced a task
    /// Scans or a job's end changed the lists since the last undo snapshot.
    bool m_bChangedSinceSnapshot = false;
    std::vector<CMessage> m_arrPending; ///< to show at the end of StartNextTask
    CDisposals m_arrRemovedFiles;       ///< where removed files went, for Undo
    IDrawingPreloader* m_pPreloader = nullptr;
    std::function<void()> m_fnChanged;
    std::set<uint64_t> m_preloadAsked;   ///< tasks whose drawing was asked for
    std::vector<uint64_t> m_waitedLoads; ///< asked by LoadFirst, oldest first
    uint64_t m_nPrintWhenLoaded = 0;     ///< PrintCurrentTask waits for this task's drawing
    uint64_t m_nDrawingGeneration = 0;   ///< goes up whenever the drawings are discarded
    std::time_t m_tLastPrune = 0;
    static constexpr std::time_t kPruneEverySeconds = 3600;
    /// Refused automatic-folder files (path, time, size), each refused once.
    std::set<std::tuple<std::string, int64_t, int64_t>> m_refused;
};

} // namespace inkvale
