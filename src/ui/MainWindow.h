// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "core/InkvaleCore.h"
#include "machine/engine/EngineHost.h"
#include "machine/engine/JobJournal.h"
#include "machine/engine/JobActiveTime.h"
#include "machine/engine/PrintEngine.h"
#include "machine/link/LinkRefusal.h"
#include "machine/link/MachineLinks.h"
#include "model/TaskLists.h"
#include "queue/InterruptedJob.h"
#include "queue/QueueView.h"
#include "queue/TaskQueue.h"
#include "raster/RasterBandSource.h"
#include "ui/DlgMachineAccess.h"
#include "ui/SettingsDialogHost.h"
#include "ui/JobStatusText.h"
#include "ui/TaskListView.h"
#include "ui/PreviewHost.h"
#include "ui/QtDialogPrompts.h"
#include "ui/UiThreadHandOff.h"

#include <QMainWindow>
#include <QString>
#include <QTimer>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QSplitter;
class QSystemTrayIcon;
class QToolBar;

namespace inkvale {

class CCommandBar;
class CPreviewView;
class CMainWindowPrompts;
class CStatusPanes;

/// Numbers of the frame's own commands (menus, bar buttons and accelerators).
enum EFrameCommand : int {
    kCmdAddFiles = 270,
    kCmdSaveHpgl = 271,
    kCmdDeleteTasks = 275,
    kCmdCopiesUp = 276,
    kCmdCopiesDown = 277,
    kCmdRotate = 278,
    kCmdSystemSettings = 285,
    kCmdMachineParams = 286,
    kCmdMachineIp = 287,
    kCmdLeftOffset = 288,
    kCmdFitBar = 289,
    kCmdModeSelect = 290,
    kCmdModeMoveView = 291,
    kCmdModeMoveLine = 292,
    kCmdModeSetStart = 293,
    kCmdPageUp = 294,
    kCmdPageDown = 295,
    kCmdFitWindowMenu = 296,
    kCmdHide = 297,
    kCmdLanguage = 314,
    kCmdCommandBar = 355,
    kCmdPlotUnits = 356,
    kCmdViaEthernet = 360,
    kCmdViaUsbPrint = 361,
    kCmdOpenTaskFile = 57601,
    kCmdSaveTaskFile = 57603,
    kCmdUndo = 57643,
    kCmdRedo = 57644,
    kCmdAbout = 57664,
    kCmdExit = 57665,
};

/// Numbers of the frame's other window messages.
inline constexpr int kMsgDrawProgress = 0x467;
inline constexpr int kMsgPrintCurrentTask = 0x468;

/// The single top-level window: the command bar on top, the task list over the preview in
/// a splitter, the six-pane status bar. It is the desktop front end of the application
/// core (document, links, engine, queue): it routes every command to it, is its view, and
/// shows the machine's state twice a second.
class CMainWindow : public QMainWindow, public CPreviewHost, public CQueueView {
    Q_OBJECT
public:
    /// Status pane ids.
    enum : int {
        kPaneMouse = 601,
        kPaneState = 602,
        kPanePos = 603,
        kPaneMachineIp = 604,
        kPaneLocalIp = 605,
        kPaneJob = 606,  ///< the running job: name, band, metres, time and copies left
        kPaneQueue = 607 ///< the queue's totals: tasks, paper, time and ink
    };

    /// pPrompts: message boxes and file dialogs (nullptr: the real ones). With
    /// bStartServices the monitor, scheduler and folder threads start at once.
    CMainWindow(CSettings& settings, CMachineParams& params, CMainWindowPrompts* pPrompts = nullptr,
               bool bStartServices = true, QWidget* pParent = nullptr);
    ~CMainWindow() override;

    /// Runs a command by its number; false for numbers the frame does not know.
    bool RunCommand(int nCommand);
    /// One status update (timer 11): state, position and machine address panes, and the
    /// link's refusal to reach the machine in the status bar's message area.
    void UpdateStatus();
    /// The Add command for given files (the dialog's choice, or files dropped on the window).
    void AddPaths(const std::vector<std::string>& arrPaths);
    /// The tray icon's double-click: the window is shown and the icon removed.
    void ShowFromTray();
    /// Sets the closing flag and stops the engine's threads (once).
    void Shutdown();

    CCommandBar& Bar() { return *m_pBar; }
    CPreviewView& View() { return *m_pView; }
    CInkvaleCore& Core() { return *m_pCore; }
    CPrintEngine& Engine() { return m_pCore->Engine(); }
    CMachineStatus& MachineStatus() { return m_pCore->Links().Status(); }
    CTaskListView& TaskList() { return *m_pTaskList; }
    CTaskQueue& Queue() { return m_pCore->Queue(); }
    const CTaskQueue& Queue() const { return m_pCore->Queue(); }
    CTaskLists& Doc() { return m_pCore->Doc(); }
    const CTaskLists& Doc() const { return m_pCore->Doc(); }
    IEngineHost& EngineHost() { return m_pCore->EngineHost(); }
    /// A pane's whole text; ShownText(nPane) of Panes() is what it shows in a short bar.
    QString PaneText(int nPane) const;
    const CStatusPanes& Panes() const { return *m_pPanes; }
    /// Background of a pane as a Windows colour value.
    uint32_t PaneColour(int nPane) const;
    QAction* Action(int nCommand) const;
    bool CommandBarVisible() const;
    /// How many times the status update asked the preview to draw the progress marker.
    int ProgressDraws() const { return m_nProgressDraws; }

    /// Reads a task file into the document in place of the three lists (the queue's
    /// OpenTaskFile) and shows what went wrong, if anything.
    void OpenTaskFile(const std::string& strPath);

    /// The save name rule: ".plt" is added unless the name is longer than four characters
    /// and already ends in ".plt" (any case).
    static std::string WithPltSuffix(const std::string& strName);
    /// The Add dialog's name filters for a `ManualAddFileType` value.
    static std::string AddFileFilter(int32_t nType);
    /// Files the window accepts when dropped: HP-GL (*.p*, *.h*, *.spl) and DXF names.
    static bool IsDrawingFileName(const std::string& strPath);

    // CPreviewHost and CQueueView (window thread).
    int TaskCount() const override;
    int CurrentTaskIndex() const override;
    void SetCurrentTaskIndex(int nRow) override;
    COnePage* TaskAtRow(int nRow) override;
    int RowOfTask(uint64_t nTaskId) override;
    COnePage* TaskById(uint64_t nTaskId) override;
    CResult SplitAlongFeed(uint64_t nTaskId, int32_t nLength) override;
    void MirrorCopy(uint64_t nTaskId, const std::string& strSuffix) override;
    void RefreshTaskList() override;
    void LoadDrawing(COnePage& task, bool bShowErrors) override;
    void MouseModeChanged() override;
    void ShowMousePosition(const std::string& strText) override;
    void SelectRow(int nRow) override;
    void Redraw() override;
    void ShowMessage(const CMessage& message) override;
    /// A text made by the window itself, already in the operator's language.
    void ShowText(const std::string& strText);
    void AutoModeOff() override;
    /// A failed job may have been kept by the journal: it is offered once the machine is
    /// ready again.
    void JobEnded(int nResult) override;
    /// The machine went silent or answers again: the status shows it at once.
    void MachineSilence(std::time_t tSilentSince) override;
    /// Offers the journal's interrupted job now: resume, print from the start, or discard.
    void OfferInterruptedJob();
    void OfferStopHeldJob();
    void OfferDamagedJob(const CInterruptedJob& job);
    void DiscardJob(const std::string& strJobDir);
    /// Brings back the lists saved at the last run and keeps them saved from now on.
    void RestoreQueue();

protected:
    void closeEvent(QCloseEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;

private:
    void CreateStatusBar();
    void ShowJobProgress(const QString& strState);
    int PrintingRow();
    void ShowTaskProblem(const COnePage* pTask);
    void UpdateUndoActions();
    /// Reads where the journal's job stands and shows it in the task list and preview.
    void ShowInterruptedJob();
    /// The offer waits until the machine is online and ready.
    void OfferWhenReady();
    void PrintInterruptedFromStart(const CInterruptedJob& job);
    bool ConfirmStop();
    /// Bands left below which Stop does not ask.
    static constexpr int kStopWithoutAskingBands = 3;
    void CreateMenus();
    void CreatePanes();
    QAction* AddCommand(QMenu* pMenu, const char* szText, int nCommand);
    void SetPane(int nPane, const std::string& strText, uint32_t nColour);
    /// The running job in the whole job's terms (its band count, where a resumed run
    /// started, the paper both cover), from the job journal's record when it has one.
    void FillJobFrame(CJobProgress& job);
    /// The window's size and the command bar's form for the screen it is on.
    void FitToScreen();
    void ShowLinkRefusal(const CLinkRefusal& refusal);
    void ShowLocalAddresses();
    void UpdateLinkChecks();
    void AddFilesCommand();
    void OpenTaskFileCommand();
    void SaveTaskFileCommand();
    void SaveHpglCommand();
    void RotateCommand();
    void SetMouseMode(int32_t nMode);
    void HideToTray();
    void ManualButton(int nId);
    void JogButton(int nId, int nLParam);
    void MachineParamsCommand();
    void SettingsCommand(int nCommand);
    bool Chinese() const { return m_settings.Language == 0; }

    CSettings& m_settings;
    CMachineParams& m_params;
    std::unique_ptr<CMainWindowPrompts> m_pOwnPrompts;
    CMainWindowPrompts& m_prompts;
    CUiThreadHandOff m_handOff;
    std::unique_ptr<CInkvaleCore> m_pCore;

    /// The task list's way to the preview.
    class CListHost : public CListViewHost {
    public:
        explicit CListHost(CMainWindow& frame) : m_frame(frame) {}
        void SelectRow(int nRow) override;
        void LoadCurrentDrawing(bool bShowErrors) override;
        void Redraw() override;

    private:
        CMainWindow& m_frame;
    };
    CListHost m_listHost{*this};
    /// The settings sheet's way to the queue (message 0x470).
    class CSysSetHost : public CSettingsDialogHost {
    public:
        explicit CSysSetHost(CMainWindow& frame) : m_frame(frame) {}
        void DiscardAllDrawings() override;

    private:
        CMainWindow& m_frame;
    };
    CSysSetHost m_sysSetHost{*this};
    std::unique_ptr<CCommuDlgMachine> m_pDlgMachine;
    std::unique_ptr<CQtDialogPrompts> m_pDlgPrompts;

    CCommandBar* m_pBar = nullptr;
    QToolBar* m_pBarDock = nullptr;
    QSplitter* m_pSplitter = nullptr;
    CTaskListView* m_pTaskList = nullptr;
    CPreviewView* m_pView = nullptr;
    CStatusPanes* m_pPanes = nullptr; ///< owned by the status bar
    std::map<int, QAction*> m_actions;
    QSystemTrayIcon* m_pTray = nullptr;
    /// Whether the window has seen the running job already.
    bool m_bJobSeen = false;
    /// The journal's record of the running job, read when the window first saw it.
    std::optional<CJobRecord> m_jobRecord;
    CJobActiveTime m_jobTime; ///< the running job's time without the machine's silences
    QString m_strTaskProblem; ///< the current task's problem shown in the message area
    QTimer m_statusTimer;
    bool m_bInStatusUpdate = false;
    QString m_strLinkRefusal; ///< the refusal the status bar shows, "" when none
    bool m_bShutDown = false;
    int m_nProgressDraws = 0;
    bool m_bOfferResume = false;      ///< an interrupted job waits to be offered
    bool m_bMachineWasOnline = false; ///< the machine answered at the last status tick
    std::optional<CInterruptedJob> m_interrupted;
};

} // namespace inkvale
