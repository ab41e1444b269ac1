// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"
#include "ui/PreflightTexts.h"
#include "ui/StatusTexts.h"

#include "config/SettingsStore.h"
#include "machine/engine/ManualCommands.h"
#include "model/HpglWriter.h"
#include "queue/TaskListEdits.h"
#include "ui/CommandBar.h"
#include "ui/MachineParamsDialog.h"
#include "ui/MachineAddressDialog.h"
#include "ui/OffsetDialog.h"
#include "ui/HpglUnitDialog.h"
#include "ui/SettingsDialog.h"
#include "ui/PreviewView.h"
#include "ui/MainWindowPrompts.h"
#include "ui/OperatorText.h"
#include "ui/UndoTexts.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <cctype>

namespace inkvale {

bool CMainWindow::RunCommand(int nCommand) {
    switch (nCommand) {
    case kCmdAddFiles:
        AddFilesCommand();
        break;
    case kCmdSaveTaskFile:
        SaveTaskFileCommand();
        break;
    case kCmdOpenTaskFile:
        OpenTaskFileCommand();
        break;
    case kCmdUndo:
        Queue().Undo();
        RefreshTaskList();
        break;
    case kCmdRedo:
        Queue().Redo();
        RefreshTaskList();
        break;
    case kCmdSaveHpgl:
        SaveHpglCommand();
        break;
    case kCmdDeleteTasks:
    case kCmdCopiesUp:
    case kCmdCopiesDown:
        m_pTaskList->RunCommand(nCommand);
        break;
    case kCmdRotate:
        RotateCommand();
        break;
    case kCmdSystemSettings:
    case kCmdPlotUnits:
        SettingsCommand(nCommand);
        break;
    case kCmdMachineParams:
        MachineParamsCommand();
        break;
    case kCmdMachineIp:
        CMachineAddressDialog(m_params, *m_pDlgMachine, *m_pDlgPrompts, this).exec();
        break;
    case kCmdLeftOffset:
        COffsetDialog(m_settings, m_params, *m_pDlgMachine, *m_pDlgPrompts, this).exec();
        break;
    case kCmdFitBar:
    case kCmdFitWindowMenu:
    case kCmdPageUp:
    case kCmdPageDown:
    case CPreviewView::kCmdDeleteLines:
    case CPreviewView::kCmdSelectAll:
    case CPreviewView::kCmdSplitFeed:
    case CPreviewView::kCmdSplitWidth:
    case CPreviewView::kCmdMoveToOrigin:
    case CPreviewView::kCmdMirrorCopy:
        m_pView->RunCommand(nCommand);
        break;
    case kCmdModeSelect:
        SetMouseMode(1);
        break;
    case kCmdModeMoveView:
        SetMouseMode(0);
        break;
    case kCmdModeMoveLine:
        SetMouseMode(2);
        break;
    case kCmdModeSetStart:
        SetMouseMode(3);
        break;
    case kCmdHide:
        HideToTray();
        break;
    case kCmdCommandBar:
        m_pBarDock->setVisible(m_pBarDock->isHidden());
        m_actions.at(kCmdCommandBar)->setChecked(CommandBarVisible());
        break;
    case kCmdViaEthernet:
    case kCmdViaUsbPrint:
        m_settings.CommuVia = nCommand == kCmdViaEthernet ? 0 : 1;
        UpdateLinkChecks();
        break;
    case kCmdLanguage:
        m_pBar->CycleLanguage();
        break;
    case CCommandBar::kIdAuto: // the bar has set AutoStartEnable already
        break;
    case kCmdAbout:
        m_prompts.About(m_settings.Language);
        break;
    case kCmdExit:
        close();
        break;
    case kBtnStart:
    case kBtnPause:
    case kBtnStop:
    case kBtnReset:
    case kBtnTest:
        ManualButton(nCommand);
        break;
    case kBtnLeft: // the jog buttons act on press and release only
    case kBtnRight:
    case kBtnFeed:
    case kBtnBack:
        break;
    default:
        return false;
    }
    return true;
}

void CMainWindow::SettingsCommand(int nCommand) {
    int nResult = QDialog::Rejected;
    if (nCommand == kCmdSystemSettings) {
        CSettingsDialog sheet({m_settings, m_params, *m_pDlgMachine, *m_pDlgPrompts, m_sysSetHost},
                         this);
        nResult = sheet.exec();
    } else {
        CHpglUnitDialog dlg(m_settings, this);
        nResult = dlg.exec();
    }
    if (nResult == QDialog::Accepted && !SaveSettings(m_settings, m_params))
        qWarning("Inkvale: the settings could not be saved");
}

void CMainWindow::CSysSetHost::DiscardAllDrawings() {
    m_frame.Queue().DiscardAllDrawings();
    m_frame.m_pView->Redraw();
}

void CMainWindow::MachineParamsCommand() {
    const EParaCommandResult result =
        RunParaCommand(m_settings, m_params, *m_pDlgMachine, *m_pDlgPrompts, this);
    if (result == EParaCommandResult::DialogOk && !SaveSettings(m_settings, m_params))
        qWarning("Inkvale: the settings could not be saved");
    if (result != EParaCommandResult::Cancelled && result != EParaCommandResult::WrongCode) {
        m_pView->FitView();
        m_pView->Redraw();
    }
}

std::string CMainWindow::AddFileFilter(int32_t nType) {
    switch (nType) {
    case 1:
        return "HPGL Files (*.p* *.h* *.spl);;All Files(*.*) (*)";
    case 2:
        return "DXF Files (*.dxf);;All Files(*.*) (*)";
    case 3:
        return "Support Files (*.p* *.h* *.spl *.dxf);;All Files(*.*) (*)";
    default:
        return "All Files(*.*) (*);;HP-GL(*.plt) (*.plt);;AutoCAD(*.dxf) (*.dxf)";
    }
}

void CMainWindow::AddFilesCommand() {
    AddPaths(m_prompts.OpenFiles("Add File", AddFileFilter(m_settings.ManualAddFileType)));
}

void CMainWindow::OpenTaskFileCommand() {
    const std::vector<std::string> arrPaths = m_prompts.OpenFiles(
        QCoreApplication::translate("CMainWindow", "打开保存的打印任务").toStdString(),
        "Inkvale (*.sptask);;All Files(*.*) (*)");
    if (!arrPaths.empty())
        OpenTaskFile(arrPaths.front());
}

// The three lists as a task file the program and others can open again (the drawings of
// split pieces, mirrored copies and merges included).
void CMainWindow::SaveTaskFileCommand() {
    std::string strPath = m_prompts.SaveFile("Inkvale (*.sptask);;All Files(*.*) (*)");
    if (strPath.empty())
        return;
    if (strPath.find('.', strPath.rfind('/') + 1) == std::string::npos)
        strPath += ".sptask";
    const CDocResult result = Doc().SaveTaskFile(strPath);
    for (const CMessage& message : result.m_arrMessages)
        ShowMessage(message);
}

void CMainWindow::OpenTaskFile(const std::string& strPath) {
    const CDocResult result = Queue().OpenTaskFile(strPath);
    RefreshTaskList();
    m_pView->Redraw();
    for (const CMessage& message : result.m_arrMessages)
        ShowMessage(message);
}

void CMainWindow::AddPaths(const std::vector<std::string>& arrPaths) {
    if (arrPaths.empty())
        return;
    Queue().AddFiles(arrPaths);
    RefreshTaskList();
}

std::string CMainWindow::WithPltSuffix(const std::string& strName) {
    std::string strTail = strName.size() > 4 ? strName.substr(strName.size() - 4) : "";
    std::transform(strTail.begin(), strTail.end(), strTail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return strTail == ".plt" ? strName : strName + ".plt";
}

void CMainWindow::SaveHpglCommand() {
    const COnePage* pTask = TaskAt(Doc(), Queue().CurrentTaskIndex());
    if (pTask == nullptr || pTask->m_arrCurves.empty())
        return;
    const uint64_t nTaskId = pTask->m_nTaskId;
    const std::string strName = m_prompts.SaveFile("All files(*.*) (*);;HP-GL(*.plt) (*.plt)");
    if (strName.empty())
        return;
    pTask = TaskById(nTaskId);
    if (pTask == nullptr || pTask->m_arrCurves.empty()) {
        ShowMessage({EMsg::kTaskGone, {}});
        return;
    }
    const CWriteResult result = WriteHpgl(*pTask, WithPltSuffix(strName));
    for (const CMessage& message : result.m_arrMessages)
        ShowMessage(message);
}

void CMainWindow::RotateCommand() {
    if (TaskById(Queue().CurrentTaskId()) == nullptr)
        return;
    Queue().RotateTask(Queue().CurrentTaskId());
    RefreshTaskList();
    m_pView->Redraw();
}

void CMainWindow::SetMouseMode(int32_t nMode) {
    m_settings.m_nMouseMode = nMode;
    m_pBar->RefreshToolButtons();
}

bool CMainWindow::IsDrawingFileName(const std::string& strPath) {
    const QString suffix = QFileInfo(QString::fromStdString(strPath)).suffix().toLower();
    return suffix.startsWith(QLatin1Char('p')) || suffix.startsWith(QLatin1Char('h')) ||
           suffix == QLatin1String("spl") || suffix == QLatin1String("dxf");
}

namespace {
std::vector<std::string> DroppedDrawings(const QMimeData* pData) {
    std::vector<std::string> out;
    if (pData == nullptr || !pData->hasUrls())
        return out;
    for (const QUrl& url : pData->urls()) {
        const std::string strPath = url.toLocalFile().toStdString();
        if (url.isLocalFile() && CMainWindow::IsDrawingFileName(strPath))
            out.push_back(strPath);
    }
    return out;
}
} // namespace

void CMainWindow::dragEnterEvent(QDragEnterEvent* pEvent) {
    if (!DroppedDrawings(pEvent->mimeData()).empty())
        pEvent->acceptProposedAction();
}

void CMainWindow::dropEvent(QDropEvent* pEvent) {
    const std::vector<std::string> arrPaths = DroppedDrawings(pEvent->mimeData());
    if (arrPaths.empty())
        return;
    pEvent->acceptProposedAction();
    AddPaths(arrPaths);
}

void CMainWindow::HideToTray() {
    // Without a notification area the window could not come back: it is minimised instead.
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        showMinimized();
        return;
    }
    if (m_pTray == nullptr) {
        m_pTray = new QSystemTrayIcon(QIcon(QStringLiteral(":/icons/app.svg")), this);
        m_pTray->setToolTip(QStringLiteral("ShowWindow"));
        connect(m_pTray, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::DoubleClick ||
                        reason == QSystemTrayIcon::Trigger)
                        ShowFromTray();
                });
    }
    m_pTray->show();
    hide();
}

void CMainWindow::ShowFromTray() {
    if (m_pTray != nullptr)
        m_pTray->hide();
    showNormal();
    raise();
    activateWindow();
}

void CMainWindow::ManualButton(int nId) {
    const CManualOutcome outcome = ButtonClicked(nId, Engine().CommandBarState());
    if (outcome.m_nAction == kActStop && Engine().JobRunning() && !ConfirmStop())
        return;
    if (outcome.m_nAction == kActStop && Engine().JobRunning())
        Engine().State().m_nOperatorStop = 1; // before the machine can act on it
    ApplyManualOutcome(outcome, m_pCore->Links().Commu(), m_settings);
    if (outcome.m_bAutoStartOff)
        m_pBar->ReleaseAutoButton();
    if (outcome.m_bPrintCurrentTask) // message 0x468, handled after this click
        QTimer::singleShot(0, this, [this] { Queue().PrintCurrentTask(); });
}

// A Stop with more than a few bands to go asks first: it throws away the rest of the
// marker and switches automatic printing off.
bool CMainWindow::ConfirmStop() {
    const CEngineState& state = Engine().State();
    const int nLeft = state.m_nBandCount - state.m_nBandsDone;
    if (nLeft <= kStopWithoutAskingBands)
        return true;
    return m_prompts.AskOkCancel(
        QCoreApplication::translate("CMainWindow",
                                    "停止这个任务并关闭自动打印吗？\n还有 %1 带没有打印。")
            .arg(nLeft)
            .toStdString(),
        QCoreApplication::translate("CMainWindow", "停止").toStdString());
}

void CMainWindow::JogButton(int nId, int nLParam) {
    const CManualOutcome outcome = ButtonPressMessage(nId, nLParam, Engine().CommandBarState());
    ApplyManualOutcome(outcome, m_pCore->Links().Commu(), m_settings);
}

// The engine's calls, on the window thread.
// The preview's and the queue's window operations.
int CMainWindow::TaskCount() const {
    return inkvale::TaskCount(Doc());
}

int CMainWindow::CurrentTaskIndex() const {
    return Queue().CurrentTaskIndex();
}

void CMainWindow::SetCurrentTaskIndex(int nRow) {
    Queue().SetCurrentTaskIndex(nRow);
}

COnePage* CMainWindow::TaskAtRow(int nRow) {
    return inkvale::TaskAt(Doc(), nRow);
}

int CMainWindow::RowOfTask(uint64_t nTaskId) {
    return inkvale::RowOfTask(Doc(), nTaskId);
}

COnePage* CMainWindow::TaskById(uint64_t nTaskId) {
    return inkvale::TaskById(Doc(), nTaskId);
}

CResult CMainWindow::SplitAlongFeed(uint64_t nTaskId, int32_t nLength) {
    return Queue().SplitAlongFeed(nTaskId, nLength);
}

void CMainWindow::MirrorCopy(uint64_t nTaskId, const std::string& strSuffix) {
    Queue().MirrorCopy(nTaskId, strSuffix);
}

void CMainWindow::RefreshTaskList() {
    // The preview's edits of a task end here too: the saved lists hear of them.
    Queue().NoteChanged();
    m_pTaskList->RefreshTaskList();
    ShowTaskProblem(TaskById(Queue().CurrentTaskId()));
    UpdateUndoActions();
    // Every change of the lists passes here: the totals follow at once.
    const QString totals = QueueTotalsText(QueueTotals(Doc()));
    SetPane(kPaneQueue, totals.toStdString(), kPaneGrey);
}

void CMainWindow::LoadDrawing(COnePage& task, bool bShowErrors) {
    (void)Queue().LoadDrawing(task, bShowErrors);
}

// Undo and Redo are offered only when there is a command to take back or make again, and
// say which.
void CMainWindow::UpdateUndoActions() {
    const CUndoHistory& history = Queue().UndoHistory();
    for (const bool bUndo : {true, false}) {
        QAction* pAction = Action(bUndo ? kCmdUndo : kCmdRedo);
        if (pAction == nullptr)
            continue;
        pAction->setEnabled(bUndo ? history.CanUndo() : history.CanRedo());
        pAction->setText(
            UndoActionText(bUndo, bUndo ? history.UndoLabel() : history.RedoLabel()));
    }
}

void CMainWindow::MouseModeChanged() {
    m_pBar->RefreshToolButtons();
}

void CMainWindow::ShowMousePosition(const std::string& strText) {
    SetPane(kPaneMouse, strText, 0xF0F0F0);
}

void CMainWindow::SelectRow(int nRow) {
    m_pTaskList->ShowCurrentRow(nRow);
    m_pView->SelectRow(nRow);
    ShowTaskProblem(TaskAt(Doc(), nRow));
}

// The message area says why the current task cannot print, as its row's tooltip does.
void CMainWindow::ShowTaskProblem(const COnePage* pTask) {
    const QString text = pTask != nullptr && pTask->m_problem.m_eId != EMsg::kNone
                             ? OperatorText(pTask->m_problem)
                             : QString();
    if (!text.isEmpty())
        statusBar()->showMessage(text);
    else if (!m_strTaskProblem.isEmpty() && statusBar()->currentMessage() == m_strTaskProblem)
        statusBar()->clearMessage();
    m_strTaskProblem = text;
    // The preview's tooltip gives the task's preflight in full.
    m_pView->setToolTip(pTask != nullptr ? PreflightDetailsText(*pTask) : QString());
}

void CMainWindow::Redraw() {
    m_pView->Redraw();
}

void CMainWindow::ShowMessage(const CMessage& message) {
    ShowText(OperatorText(message).toStdString());
}

void CMainWindow::ShowText(const std::string& strText) {
    m_prompts.Inform(strText, "Inkvale");
}

void CMainWindow::AutoModeOff() {
    m_pBar->ReleaseAutoButton();
}

void CMainWindow::CListHost::SelectRow(int nRow) {
    m_frame.m_pView->SelectRow(nRow);
}

void CMainWindow::CListHost::LoadCurrentDrawing(bool bShowErrors) {
    m_frame.m_pView->LoadCurrentDrawing(bShowErrors);
}

void CMainWindow::CListHost::Redraw() {
    m_frame.m_pView->Redraw();
}

} // namespace inkvale
