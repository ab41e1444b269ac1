// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"

#include "ui/JobStatusText.h"
#include "ui/LoadProgress.h"

#include "ui/CommandBar.h"
#include "ui/PreviewView.h"
#include "ui/MainWindowPrompts.h"
#include "ui/StatusPanes.h"
#include "ui/StatusTexts.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTableWidgetItem>
#include <QToolBar>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>

#include <cstring>
#include <limits>

namespace inkvale {

namespace {

constexpr int kStatusEveryMs = 500;
constexpr int kInitialWidth = 970;
constexpr int kInitialHeight = 650;
// Room the command bar's dock keeps around the bar.
constexpr int kBarDockSlack = 12;
// Plotter units in a metre, for a drawing's length when no journal tells the job's paper.
constexpr double kUnitsPerMetre = 40000.0;

// The computer's IPv4 addresses other than loopback, in interface order.
std::vector<std::string> LocalIpv4Addresses() {
    std::vector<std::string> out;
    ifaddrs* pList = nullptr;
    if (::getifaddrs(&pList) != 0)
        return out;
    for (ifaddrs* p = pList; p != nullptr; p = p->ifa_next) {
        if (p->ifa_addr == nullptr || p->ifa_addr->sa_family != AF_INET)
            continue;
        sockaddr_in addr{};
        std::memcpy(&addr, p->ifa_addr, sizeof addr);
        char sz[INET_ADDRSTRLEN] = {};
        if (::inet_ntop(AF_INET, &addr.sin_addr, sz, sizeof sz) == nullptr)
            continue;
        if (std::string(sz).rfind("127.", 0) != 0)
            out.emplace_back(sz);
    }
    ::freeifaddrs(pList);
    return out;
}

// The operator's text of a link's refusal; empty when the link did not refuse.
QString LinkRefusalMessage(const CLinkRefusal& refusal) {
    switch (refusal.m_nCode) {
    case ELinkRefusal::kLoopbackOnly:
        return QCoreApplication::translate(
                   "CMainWindow",
                   "此开发版本只能连接本机回环网络 (127.0.0.0/8)，无法连接 %1；"
                   "请用 package 预设构建 (cmake --preset package) 以连接真实的绘图仪。")
            .arg(QString::fromStdString(FormatMachineIP(refusal.m_nAddress)));
    case ELinkRefusal::kNone:
        break;
    }
    return {};
}

// The logo text the settings start with (config/SettingsStore) is the program's Chinese
// greeting, printed on the cleaning band. In another language with a translation the
// operator gets it in theirs; a logo the operator wrote stays as it is.
void ShowDefaultLogoInLanguage(CSettings& settings) {
    static constexpr const char* kDefaultLogo =
        QT_TRANSLATE_NOOP("CMainWindow", "欢迎使用喷墨绘图仪");
    if (settings.Language == 0 || settings.CustomString != kDefaultLogo)
        return;
    const QString logo = QCoreApplication::translate("CMainWindow", kDefaultLogo);
    if (logo != QString::fromUtf8(kDefaultLogo))
        settings.CustomString = logo.toStdString();
}

} // namespace

CMainWindow::CMainWindow(CSettings& settings, CMachineParams& params, CMainWindowPrompts* pPrompts,
                       bool bStartServices, QWidget* pParent)
    : QMainWindow(pParent), m_settings(settings), m_params(params),
      m_pOwnPrompts(pPrompts == nullptr ? std::make_unique<CQtMainWindowPrompts>(this) : nullptr),
      m_prompts(pPrompts != nullptr ? *pPrompts : *m_pOwnPrompts), m_handOff(settings) {
    m_pCore = std::make_unique<CInkvaleCore>(m_settings, m_params, *this, m_handOff);
    m_pDlgMachine = std::make_unique<CCommuDlgMachine>(m_pCore->Links().Commu(), Engine().State());
    m_pDlgPrompts = std::make_unique<CQtDialogPrompts>(this);

    setWindowTitle(QStringLiteral("Inkvale"));
    resize(kInitialWidth, kInitialHeight);
    ShowDefaultLogoInLanguage(m_settings);
    setAcceptDrops(true);
    CreateStatusBar();
    m_pBar = new CCommandBar(m_settings, this);
    m_pBarDock = new QToolBar(this);
    m_pBarDock->setObjectName(QStringLiteral("commandBar"));
    m_pBarDock->setMovable(false);
    m_pBarDock->addWidget(m_pBar);
    addToolBar(Qt::TopToolBarArea, m_pBarDock);
    connect(m_pBar, &CCommandBar::Command, this, [this](int nId) { RunCommand(nId); });
    connect(m_pBar, &CCommandBar::ButtonPress, this,
            [this](int nId, int nLParam) { JogButton(nId, nLParam); });
    CreatePanes();
    CreateMenus();

    m_settings.m_nClosing = 0;
    if (bStartServices) {
        m_pCore->StartServices();
        m_pCore->EnablePreloading();
        new CLoadProgress(Queue(), this); // owned by the window
        // A job the program did not finish last time is offered once the machine is ready.
        ShowInterruptedJob();
        m_bOfferResume = m_interrupted.has_value();
    }
    ShowLocalAddresses();
    connect(&m_statusTimer, &QTimer::timeout, this, [this] { UpdateStatus(); });
    m_statusTimer.start(kStatusEveryMs);
}

CMainWindow::~CMainWindow() {
    Shutdown();
}

void CMainWindow::RestoreQueue() {
    const CResult restored = m_pCore->EnableQueueSaving();
    RefreshTaskList();
    m_pView->Redraw();
    for (const CMessage& message : restored.m_arrMessages)
        QTimer::singleShot(0, this, [this, message] { ShowMessage(message); });
}

void CMainWindow::Shutdown() {
    if (m_bShutDown)
        return;
    m_bShutDown = true;
    m_statusTimer.stop();
    m_pCore->Shutdown();
}

// The panes left to right; when the bar is short the queue's totals give up their room
// first, then the addresses and the mouse and carriage positions, and the job's line last.
void CMainWindow::CreateStatusBar() {
    m_pPanes = new CStatusPanes(
        *statusBar(),
        {kPaneMouse, kPaneState, kPanePos, kPaneMachineIp, kPaneLocalIp, kPaneJob, kPaneQueue},
        {kPaneQueue, kPaneLocalIp, kPaneMouse, kPanePos, kPaneMachineIp, kPaneJob});
    SetPane(kPaneMouse, MousePositionText(m_settings.Language, 0, 0), kPaneGrey);
    SetPane(kPaneState, QCoreApplication::translate("CMainWindow", "机器状态").toStdString(),
            kPaneGrey);
    SetPane(kPanePos, "X:0 Y:0", kPaneGrey);
    SetPane(kPaneMachineIp, MachineIpText(m_settings.Language, m_params.MachineIP()), kPaneGrey);
}

void CMainWindow::SetPane(int nPane, const std::string& strText, uint32_t nColour) {
    m_pPanes->SetText(nPane, QString::fromStdString(strText), nColour);
}

QString CMainWindow::PaneText(int nPane) const {
    return m_pPanes->Text(nPane);
}

uint32_t CMainWindow::PaneColour(int nPane) const {
    return m_pPanes->Colour(nPane);
}

void CMainWindow::CreatePanes() {
    m_pSplitter = new QSplitter(Qt::Vertical, this);
    m_pSplitter->setObjectName(QStringLiteral("mainSplitter"));
    m_pTaskList = new CTaskListView(Queue(), m_settings, m_listHost, m_pSplitter);
    m_pView = new CPreviewView(m_settings, *this, nullptr, m_pSplitter);
    // A column never starts narrower than its header (some languages' are long).
    const QHeaderView* pHeader = m_pTaskList->horizontalHeader();
    for (int nColumn = 0; nColumn < m_pTaskList->columnCount(); ++nColumn)
        m_pTaskList->setColumnWidth(nColumn, std::max(m_pTaskList->columnWidth(nColumn),
                                                      pHeader->sectionSizeHint(nColumn)));
    m_pSplitter->addWidget(m_pTaskList);
    m_pSplitter->addWidget(m_pView);
    m_pSplitter->setStretchFactor(0, 1);
    m_pSplitter->setStretchFactor(1, 2);
    m_pSplitter->setSizes({kInitialHeight / 3, kInitialHeight * 2 / 3});
    setCentralWidget(m_pSplitter);
}

QAction* CMainWindow::AddCommand(QMenu* pMenu, const char* szText, int nCommand) {
    QAction* pAction = pMenu->addAction(QCoreApplication::translate("CMainWindow", szText));
    connect(pAction, &QAction::triggered, this, [this, nCommand] { RunCommand(nCommand); });
    m_actions[nCommand] = pAction;
    return pAction;
}

void CMainWindow::CreateMenus() {
    QMenu* pFile = menuBar()->addMenu(QCoreApplication::translate("CMainWindow", "文件(&F)"));
    AddCommand(pFile, QT_TRANSLATE_NOOP("CMainWindow", "打开"), kCmdAddFiles);
    AddCommand(pFile, QT_TRANSLATE_NOOP("CMainWindow", "打开任务文件..."), kCmdOpenTaskFile)
        ->setShortcut(QKeySequence::Open);
    AddCommand(pFile, QT_TRANSLATE_NOOP("CMainWindow", "保存任务文件..."), kCmdSaveTaskFile)
        ->setShortcut(QKeySequence::Save);
    AddCommand(pFile, QT_TRANSLATE_NOOP("CMainWindow", "删除"), kCmdDeleteTasks);
    pFile->addSeparator();
    AddCommand(pFile, QT_TRANSLATE_NOOP("CMainWindow", "退出(&X)"), kCmdExit);
    QMenu* pEdit = menuBar()->addMenu(QCoreApplication::translate("CMainWindow", "编辑(&E)"));
    AddCommand(pEdit, QT_TRANSLATE_NOOP("CMainWindow", "撤销"), kCmdUndo)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    AddCommand(pEdit, QT_TRANSLATE_NOOP("CMainWindow", "重做"), kCmdRedo)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    QMenu* pView = menuBar()->addMenu(QCoreApplication::translate("CMainWindow", "查看(&V)"));
    AddCommand(pView, QT_TRANSLATE_NOOP("CMainWindow", "适合窗口"), kCmdFitWindowMenu);
    QAction* pBarItem =
        AddCommand(pView, QT_TRANSLATE_NOOP("CMainWindow", "控制面板"), kCmdCommandBar);
    pBarItem->setCheckable(true);
    pBarItem->setChecked(true);
    AddCommand(pView, QT_TRANSLATE_NOOP("CMainWindow", "隐藏"), kCmdHide);
    QMenu* pSetup = menuBar()->addMenu(QCoreApplication::translate("CMainWindow", "设置(&S)"));
    AddCommand(pSetup, QT_TRANSLATE_NOOP("CMainWindow", "系统设置"), kCmdSystemSettings);
    AddCommand(pSetup, QT_TRANSLATE_NOOP("CMainWindow", "机器参数"), kCmdMachineParams);
    AddCommand(pSetup, QT_TRANSLATE_NOOP("CMainWindow", "绘图单位"), kCmdPlotUnits);
    // The dedicated USB link (362) is chosen only through the settings file.
    QMenu* pLink = menuBar()->addMenu(QCoreApplication::translate("CMainWindow", "通讯(&C)"));
    AddCommand(pLink, QT_TRANSLATE_NOOP("CMainWindow", "网口"), kCmdViaEthernet)->setCheckable(true);
    AddCommand(pLink, QT_TRANSLATE_NOOP("CMainWindow", "免驱USB(USB打印支持)"), kCmdViaUsbPrint)
        ->setCheckable(true);
    UpdateLinkChecks();
    // The language items are not part of the program's menu: the bar's button switches.
    QMenu* pHelp = menuBar()->addMenu(QCoreApplication::translate("CMainWindow", "帮助(&H)"));
    AddCommand(pHelp, QT_TRANSLATE_NOOP("CMainWindow", "关于(&A)..."), kCmdAbout);

    // Accelerators of the preview.
    for (const auto& [nCommand, key] :
         {std::pair{kCmdPageUp, Qt::Key_PageUp}, std::pair{kCmdPageDown, Qt::Key_PageDown}}) {
        auto* pAction = new QAction(this);
        pAction->setShortcut(QKeySequence(key));
        pAction->setShortcutContext(Qt::WindowShortcut);
        const int n = nCommand;
        connect(pAction, &QAction::triggered, this, [this, n] { RunCommand(n); });
        addAction(pAction);
        m_actions[nCommand] = pAction;
    }
}

QAction* CMainWindow::Action(int nCommand) const {
    const auto it = m_actions.find(nCommand);
    return it == m_actions.end() ? nullptr : it->second;
}

bool CMainWindow::CommandBarVisible() const {
    return !m_pBarDock->isHidden();
}

void CMainWindow::UpdateLinkChecks() {
    m_actions.at(kCmdViaEthernet)->setChecked(m_settings.CommuVia == 0);
    m_actions.at(kCmdViaUsbPrint)->setChecked(m_settings.CommuVia == 1);
}

void CMainWindow::ShowLocalAddresses() {
    SetPane(kPaneLocalIp,
            LocalIpText(m_settings.Language, JoinLocalAddresses(LocalIpv4Addresses())), kPaneGrey);
}

void CMainWindow::UpdateStatus() {
    if (m_bInStatusUpdate || m_settings.m_nClosing)
        return;
    m_bInStatusUpdate = true;
    CEngineState& state = Engine().State();
    const CStatePane pane =
        StatePaneText(MachineStatus().m_nMachineState.load(), state.m_nMachineOnline == 1,
                      m_settings.Language, state.m_nBandCount, state.m_nLastBandDone);
    SetPane(kPaneState, pane.m_pane.m_strText, pane.m_pane.m_nColour);
    if (pane.m_bDrawProgress) {
        // Message 0x467: the preview marks the last confirmed band.
        ++m_nProgressDraws;
        m_pView->ShowPrintProgress(state.m_nLastBandDone, m_params);
    }
    if (state.m_nPosFresh.exchange(0) != 0)
        SetPane(kPanePos,
                PositionText(state.m_nPosX, state.m_nPosY, m_params.FeedStepBase(),
                             m_params.XDotsPerMetre()),
                kPaneGrey);
    SetPane(kPaneMachineIp, MachineIpText(m_settings.Language, m_params.MachineIP()), kPaneGrey);
    ShowLinkRefusal(MachineStatus().m_linkRefusal.Load());
    m_pBar->UpdateMachineButtons(Engine().CommandBarState());
    ShowJobProgress(QString::fromStdString(pane.m_pane.m_strText));
    m_bInStatusUpdate = false;
    OfferWhenReady();
    m_pCore->SaveQueueIfChanged();
}

// The job pane, the printing row's state cell and the tray icon's tooltip follow the job.
void CMainWindow::ShowJobProgress(const QString& strState) {
    const bool bRunning = Engine().JobRunning();
    if (bRunning && !m_bJobSeen) {
        m_jobRecord.reset();
        const std::string strJobDir = Engine().CurrentJobDir();
        if (!strJobDir.empty()) {
            CJobLoad loaded = CJobJournal::LoadRecord(strJobDir);
            if (loaded.Ok())
                m_jobRecord = std::move(loaded.m_record);
        }
    }
    m_bJobSeen = bRunning;
    const std::time_t tSilentSince = Engine().SilentSince();
    const auto tNow = std::chrono::steady_clock::now();
    m_jobTime.Tick(bRunning, tSilentSince != 0, tNow);
    QString strJob;
    CJobProgress job;
    if (bRunning) {
        job.m_strName = Engine().WorkPage().m_strName;
        FillJobFrame(job);
        job.m_dElapsedSeconds = m_jobTime.Seconds(tNow);
        job.m_tSilentSince = tSilentSince;
        job.m_bPaused = MachineStatus().m_nMachineState.load() == kStatePaused;
        const int nRow = PrintingRow();
        if (const COnePage* pTask = TaskAt(Doc(), nRow))
            job.m_nCopiesLeft = std::max(pTask->m_nCopies - 1, 0);
        strJob = JobStatusText(job);
        if (QTableWidgetItem* pCell = nRow >= 0 ? m_pTaskList->item(nRow, 1) : nullptr) {
            const QString base = pCell->data(Qt::UserRole + 1).toString();
            if (base.isEmpty())
                pCell->setData(Qt::UserRole + 1, pCell->text());
            pCell->setText(RowStateText(base.isEmpty() ? pCell->text() : base, job));
        }
    }
    m_pPanes->SetText(kPaneJob, strJob, kPaneGrey, QString::fromStdString(job.m_strName));
    if (m_pTray != nullptr) {
        const QString tip = strJob.isEmpty() ? strState : strState + QLatin1Char('\n') + strJob;
        if (m_pTray->toolTip() != tip)
            m_pTray->setToolTip(tip);
    }
}

// The engine counts the bands of the job it sent, which for a resumed job are only the
// rest of it; the journal's record of the job knows the whole. Without a record (no
// installation directory) or with one of another job, the job is taken as sent, and its
// length as the drawing's.
void CMainWindow::FillJobFrame(CJobProgress& job) {
    const CEngineState& state = Engine().State();
    const int32_t nSent = state.m_nBandCount;
    job.m_nBandsDone = state.m_nBandsDone;
    if (m_jobRecord && m_jobRecord->m_nBandCount - m_jobRecord->m_params.m_nFirstBand == nSent &&
        m_jobRecord->m_nBandCount <= std::numeric_limits<int32_t>::max()) {
        const CBandParams& params = m_jobRecord->m_params;
        job.m_nBandCount = static_cast<int32_t>(m_jobRecord->m_nBandCount);
        job.m_nFirstBand = static_cast<int32_t>(params.m_nFirstBand);
        job.m_dTotalM = FeedLengthMm(params, job.m_nBandCount) / 1000.0;
        job.m_dDoneM = FeedLengthMm(params, int64_t{job.m_nFirstBand} + job.m_nBandsDone) / 1000.0;
        return;
    }
    job.m_nBandCount = nSent;
    job.m_dTotalM = Engine().WorkPage().m_nMaxX / kUnitsPerMetre;
    job.m_dDoneM = nSent > 0 ? job.m_dTotalM * job.m_nBandsDone / nSent : 0.0;
}

void CMainWindow::MachineSilence(std::time_t /*tSilentSince*/) {
    UpdateStatus();
}

// Row of the task the machine prints, -1 when none.
int CMainWindow::PrintingRow() {
    for (int nRow = 0; nRow < inkvale::TaskCount(Doc()); ++nRow) {
        if (const COnePage* pTask = TaskAt(Doc(), nRow);
            pTask && pTask->m_nPrintState == PS_PRINTING)
            return nRow;
    }
    return -1;
}

// While the link refuses the machine's address (a loopback-only build), the message area
// says why the state pane shows the machine offline; the pane's tooltip says it too, for a
// window too narrow for the whole message. The message is shown again when something else
// (a menu's status tip) took the area, and cleared once the link no longer refuses.
void CMainWindow::ShowLinkRefusal(const CLinkRefusal& refusal) {
    const QString text = LinkRefusalMessage(refusal);
    QStatusBar* pBar = statusBar();
    if (!text.isEmpty() && pBar->currentMessage() != text)
        pBar->showMessage(text);
    else if (text.isEmpty() && !m_strLinkRefusal.isEmpty() &&
             pBar->currentMessage() == m_strLinkRefusal)
        pBar->clearMessage();
    if (text != m_strLinkRefusal)
        m_pPanes->Label(kPaneState)->setToolTip(text);
    m_strLinkRefusal = text;
}

// A window larger than the screen it opens on (a high scale factor makes every pixel
// count twice) is made to fit it, and the command bar takes the form its width allows.
void CMainWindow::showEvent(QShowEvent* pEvent) {
    QMainWindow::showEvent(pEvent);
    FitToScreen();
}

void CMainWindow::resizeEvent(QResizeEvent* pEvent) {
    QMainWindow::resizeEvent(pEvent);
    m_pBar->FitWidth(m_pBarDock->contentsRect().width() - kBarDockSlack);
}

void CMainWindow::FitToScreen() {
    const QScreen* pScreen = screen();
    if (pScreen == nullptr)
        return;
    const QRect room = pScreen->availableGeometry();
    // The window's frame lies outside its size; it is known once the window is shown.
    const QSize most = room.size() - (frameGeometry().size() - size());
    m_pBar->FitWidth(std::min(width(), most.width()) - kBarDockSlack);
    if (width() <= most.width() && height() <= most.height())
        return;
    resize(std::min(width(), most.width()), std::min(height(), most.height()));
    if (!room.contains(frameGeometry()))
        move(room.topLeft());
}

void CMainWindow::closeEvent(QCloseEvent* pEvent) {
    if (!m_bShutDown && Engine().JobRunning()) {
        const bool bOk =
            Chinese() ? m_prompts.AskOkCancel(
                            "机器正在运行,强行关闭可能造成任务失败!\n是否强行关闭程序?", "提示")
                      : m_prompts.AskOkCancel("Task not finished!\nContinue?", "Warning");
        if (!bOk) {
            pEvent->ignore();
            return;
        }
    }
    // The engine's threads end on the closing flag; Shutdown waits for them.
    Shutdown();
    pEvent->accept();
}

} // namespace inkvale
