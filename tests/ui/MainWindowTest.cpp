// SPDX-License-Identifier: GPL-3.0-or-later
// The main window, its command bar and the hand-over of the engine's calls, on the
// off-screen platform. No service threads run: the machine state is set by hand.
#include "ui/MainWindow.h"
#include "common/TestPaths.h"
#include "config/SettingsStore.h"
#include "queue/TaskListEdits.h"
#include "ui/CommandBar.h"
#include "ui/MainWindowPrompts.h"
#include "ui/TaskListView.h"
#include "ui/StatusTexts.h"
#include "ui/UiThreadHandOff.h"

#include "UiTestApp.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTableWidgetItem>
#include <QThread>
#include <QToolButton>
#include <QUrl>

#include <atomic>
#include <chrono>
#include <future>
#include <filesystem>
#include <memory>
#include <random>
#include <thread>

namespace inkvale {
namespace {

void EnsureApp() {
    inkvale::test::EnsureUiTestApp();
}

// Records what the frame would show and gives scripted answers.
class CFakePrompts : public CMainWindowPrompts {
public:
    void Inform(const std::string& strText, const std::string&) override {
        m_arrShown.push_back(strText);
    }
    void Error(const std::string& strText, const std::string&) override {
        m_arrShown.push_back(strText);
    }
    bool AskOkCancel(const std::string& strText, const std::string& strCaption) override {
        m_arrAsked.push_back(strCaption + "|" + strText);
        return m_bAnswerOk;
    }
    std::vector<std::string> OpenFiles(const std::string&, const std::string&) override {
        return m_arrFilesToOpen;
    }
    std::string SaveFile(const std::string&) override { return m_strSaveAs; }
    void About(int nLanguage) override { m_arrAbout.push_back(nLanguage); }
    int Choose(const std::string& strText, const std::string&,
               const std::vector<std::string>&) override {
        m_arrAsked.push_back(strText);
        return -1;
    }
    std::string m_strSaveAs;
    std::vector<int> m_arrAbout;

    std::vector<std::string> m_arrShown;
    std::vector<std::string> m_arrAsked;
    std::vector<std::string> m_arrFilesToOpen;
    bool m_bAnswerOk = false;
};

constexpr const char* kSmallPlot = "IN;SP1;PU0,0;PD4000,0,4000,4000,0,4000,0,0;PU;";

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApp();
        ASSERT_TRUE(test::WriteFileBytes(m_dir.Path() / "Inkvale.ini",
                                         "[Para]\nMachineIP=16777343\nLanguage=1\n"));
        (void)LoadSettings(m_settings, m_params, m_dir.Path().string());
        m_params.ResetMachineParams();
        ASSERT_EQ(m_params.MachineIP(), 16777343u); // loopback only
    }
    void Create(int32_t nLanguage = 1) {
        m_settings.Language = nLanguage;
        m_frame = std::make_unique<CMainWindow>(m_settings, m_params, &m_prompts, false);
    }
    std::string WritePlot(const std::string& strName) {
        const std::string strPath = (m_dir.Path() / strName).string();
        EXPECT_TRUE(test::WriteFileBytes(strPath, kSmallPlot));
        return strPath;
    }

    test::CScratchDir m_dir;
    CSettings m_settings;
    CMachineParams m_params;
    CFakePrompts m_prompts;
    std::unique_ptr<CMainWindow> m_frame;
};

// ---- the machine-state pane -------------------------------------------------------------

struct CStateCase {
    int nState;
    bool bOnline;
    int32_t nLanguage;
    const char* szText;
    uint32_t nColour;
    bool bProgress;
};

TEST(StatusTextsTest, StatePaneTableByStateAndLanguage) {
    // Band count 400, last band 99: 24.75 % wherever the text takes the progress.
    const CStateCase kCases[] = {
        {0, false, 0, "已脱机...", kPaneRed, false},
        {1, false, 1, "Offline", kPaneRed, false},
        {4, false, 2, "Bağlı değil", kPaneRed, false}, // offline wins over the state byte
        {0, false, 3, "oflayn", kPaneRed, false},
        {0, false, 4, "Оффлайн", kPaneRed, false},
        {0, false, 5, "Офлайн", kPaneRed, false},
        {0, false, 6, "", kPaneRed, false},
        {0, true, 0, "Init...", kPaneYellow, false},
        {0, true, 5, "Init...", kPaneYellow, false},
        {1, true, 0, "准备就绪", kPaneGreen, false},
        {1, true, 1, "Ready", kPaneGreen, false},
        {1, true, 4, "Готовий", kPaneGreen, false},
        {1, true, 9, "Ready", kPaneGreen, false},
        {2, true, 1, "Plot Test...", kPaneYellow, false},
        {2, true, 2, "Gözenekleri temizle…", kPaneYellow, false},
        {3, true, 5, "Передача данных...", kPaneYellow, false},
        {4, true, 0, "工作中,完成24.75%", kPaneYellow, true},
        {4, true, 1, "Working, 24.75% complete", kPaneYellow, true},
        {4, true, 3, "İşləyir, 24.75% tamamlanıb", kPaneYellow, true},
        {4, true, 4, "24.75% готово", kPaneYellow, true},
        {5, true, 5, "Задание исполнено...", kPaneYellow, false},
        {5, true, 1, "Finishing...", kPaneYellow, false},
        {6, true, 1, "Pause, 24.75% complete", kPaneYellow, true},
        {6, true, 2, "Beklet, 24.75% tamamlandı", kPaneYellow, true},
        {7, true, 4, "MEM ERROR...", kPaneRed, false},
        {7, true, 0, "内存错误...", kPaneRed, false},
        {8, true, 1, "Init Timeout...", kPaneRed, false},
        {9, true, 1, "Car Move Time Out, Paper Jam?", kPaneYellow, false},
        {9, true, 0, "未检测到小车移动", kPaneYellow, false},
        {0xFF, true, 1, "Connecting...", kPaneYellow, false},
        {0xFF, true, 0, "正在读取系统参数...", kPaneYellow, false},
        {10, true, 0, "Error code 10", kPaneRed, false},
        {10, true, 1, "Error code 10", kPaneRed, false},
        {10, true, 5, "Error code 10", kPaneRed, false},
        {200, true, 3, "Error code 200", kPaneRed, false},
    };
    for (const CStateCase& c : kCases) {
        SCOPED_TRACE(::testing::Message() << "state " << c.nState << " language " << c.nLanguage);
        const CStatePane pane = StatePaneText(c.nState, c.bOnline, c.nLanguage, 400, 99);
        EXPECT_EQ(pane.m_pane.m_strText, c.szText);
        EXPECT_EQ(pane.m_pane.m_nColour, c.nColour);
        EXPECT_EQ(pane.m_bDrawProgress, c.bProgress);
    }
}

TEST(StatusTextsTest, ProgressWithoutBandsAndTheOtherPanes) {
    // Paused with no job: empty text, no marker; printing with no bands: 0 %.
    EXPECT_EQ(StatePaneText(6, true, 1, 0, 5).m_pane, (CPaneText{"", kPaneYellow}));
    EXPECT_FALSE(StatePaneText(6, true, 1, 0, 5).m_bDrawProgress);
    EXPECT_EQ(StatePaneText(4, true, 1, 0, 5).m_pane.m_strText, "Working, 0.00% complete");
    EXPECT_EQ(MousePositionText(0, 4079, -81), "鼠标:(101mm,-2mm)");
    EXPECT_EQ(MousePositionText(2, 40, 80), "Mouse:(1mm,2mm)");
    EXPECT_EQ(MachineIpText(0, 16777343u), "绘图仪IP:127.0.0.1");
    EXPECT_EQ(MachineIpText(1, 0xAF01A8C0u), "Machine IP:192.168.1.175");
    EXPECT_EQ(PositionText(2000, 600, 40000, 12000), "X:50.0 mm  Y:50.0 mm");
    EXPECT_EQ(PositionText(2000, 600, 0, 0), "X:0.0 mm  Y:0.0 mm"); // block not read yet
    std::vector<std::string> arrTwelve;
    for (int i = 1; i <= 12; ++i)
        arrTwelve.push_back("10.0.0." + std::to_string(i));
    const std::string strJoined = JoinLocalAddresses(arrTwelve);
    EXPECT_EQ(strJoined.rfind("(10)10.0.0.10 "), strJoined.size() - 14);
    EXPECT_EQ(strJoined.find("10.0.0.11"), std::string::npos);
    EXPECT_EQ(LocalIpText(0, ""), "本地IP:");
    EXPECT_EQ(LocalIpText(1, "(1)10.0.0.1 "), "Local IP:(1)10.0.0.1 ");
}

TEST_F(MainWindowTest, StatusUpdateShowsStatePositionAndAddress) {
    Create(1);
    CEngineState& state = m_frame->Engine().State();
    m_frame->MachineStatus().m_nMachineState = 4;
    state.m_nMachineOnline = 1;
    state.m_nBandCount = 400;
    state.m_nLastBandDone = 99;
    m_params.SetFeedStepBase(40000);
    state.m_nPosX = 2000;
    state.m_nPosY = 0;
    state.m_nPosFresh = 1;
    m_frame->UpdateStatus();
    EXPECT_EQ(m_frame->PaneText(CMainWindow::kPaneState), "Working, 24.75% complete");
    EXPECT_EQ(m_frame->PaneColour(CMainWindow::kPaneState), kPaneYellow);
    EXPECT_EQ(m_frame->ProgressDraws(), 1);
    EXPECT_EQ(m_frame->PaneText(CMainWindow::kPanePos).left(9), "X:50.0 mm");
    EXPECT_EQ(state.m_nPosFresh.load(), 0);
    EXPECT_EQ(m_frame->PaneText(CMainWindow::kPaneMachineIp), "Machine IP:127.0.0.1");

    // Offline: red whatever the state byte says, no progress marker; the position stays.
    state.m_nMachineOnline = 0;
    m_settings.Language = 0;
    m_frame->UpdateStatus();
    EXPECT_EQ(m_frame->PaneText(CMainWindow::kPaneState), "已脱机...");
    EXPECT_EQ(m_frame->PaneColour(CMainWindow::kPaneState), kPaneRed);
    EXPECT_EQ(m_frame->ProgressDraws(), 1);
    EXPECT_EQ(m_frame->PaneText(CMainWindow::kPanePos).left(9), "X:50.0 mm");

    // While closing the update does nothing.
    state.m_nMachineOnline = 1;
    m_settings.m_nClosing = 1;
    m_frame->UpdateStatus();
    EXPECT_EQ(m_frame->PaneText(CMainWindow::kPaneState), "已脱机...");
}

#ifdef INKVALE_LOOPBACK_ONLY
// A development build given a machine outside 127.0.0.0/8: the monitor's look for the
// machine (made here by hand) is refused without a connection, and the status bar says why
// in the language of the program's texts until a look over a link that opens, or fails for
// another reason, clears it.
TEST_F(MainWindowTest, StatusBarExplainsARefusedMachineAddress) {
    m_params.SetMachineIP(0x010200C0u); // 192.0.2.1, a documentation address
    Create(0);
    QStatusBar* pBar = m_frame->statusBar();
    const QLabel* pStatePane = m_frame->findChild<QLabel*>(QStringLiteral("pane602"));
    ASSERT_NE(pStatePane, nullptr);
    EXPECT_EQ(m_frame->Engine().Link().ReadParams(), -1);
    m_frame->UpdateStatus();
    const QString chinese =
        QStringLiteral("此开发版本只能连接本机回环网络 (127.0.0.0/8)，无法连接 192.0.2.1；"
                       "请用 package 预设构建 (cmake --preset package) 以连接真实的绘图仪。");
    EXPECT_EQ(pBar->currentMessage(), chinese);
    EXPECT_EQ(pStatePane->toolTip(), chinese);
    EXPECT_EQ(m_frame->PaneText(CMainWindow::kPaneState), "已脱机...");

    // A menu's status tip that took the message area gives it back at the next update.
    pBar->clearMessage();
    m_frame->UpdateStatus();
    EXPECT_EQ(pBar->currentMessage(), chinese);

#ifdef INKVALE_APP_PATH
    {
        test::CShippedTranslation english;
        ASSERT_TRUE(english.Loaded());
        m_settings.Language = 1;
        m_frame->UpdateStatus();
        EXPECT_EQ(pBar->currentMessage().toStdString(),
                  "This development build reaches only the loopback network (127.0.0.0/8), not "
                  "192.0.2.1; build with the package preset (cmake --preset package) to reach a "
                  "real plotter.");
    }
#endif

    // A loopback address where nobody listens: the connection fails, but is not refused.
    std::random_device rd;
    m_params.SetMachineIP(127u | ((1 + rd() % 250) << 8) | ((1 + rd() % 250) << 16) |
                          ((2 + rd() % 250) << 24));
    (void)m_frame->Engine().Link().ReadParams();
    m_frame->UpdateStatus();
    EXPECT_EQ(pBar->currentMessage(), QString());
    EXPECT_EQ(pStatePane->toolTip(), QString());
}
#endif

// ---- commands ---------------------------------------------------------------------------

TEST_F(MainWindowTest, ToolCommandsSetTheMouseModeAndTheBarIcons) {
    Create();
    CCommandBar& bar = m_frame->Bar();
    EXPECT_EQ(bar.IconOf(CCommandBar::kIdMoveView), 195); // mode 0 at start
    ASSERT_TRUE(m_frame->RunCommand(kCmdModeMoveLine));
    EXPECT_EQ(m_settings.m_nMouseMode, 2);
    EXPECT_EQ(bar.IconOf(CCommandBar::kIdMoveLine), 197);
    EXPECT_EQ(bar.IconOf(CCommandBar::kIdSelect), 192);
    EXPECT_EQ(bar.IconOf(CCommandBar::kIdMoveView), 194);
    EXPECT_EQ(bar.IconOf(CCommandBar::kIdSetStart), 198);
    EXPECT_EQ(bar.IconOf(CCommandBar::kIdFit), 191);
    // Through the bar's own button, as the operator does it.
    bar.Button(CCommandBar::kIdSetStart)->click();
    EXPECT_EQ(m_settings.m_nMouseMode, 3);
    EXPECT_EQ(bar.IconOf(CCommandBar::kIdSetStart), 199);
    EXPECT_EQ(bar.IconOf(CCommandBar::kIdMoveLine), 196);
    // The preview leaving start-point mode releases the button.
    m_settings.m_nMouseMode = 0;
    m_frame->MouseModeChanged();
    EXPECT_EQ(bar.IconOf(CCommandBar::kIdSetStart), 198);
    EXPECT_EQ(bar.IconOf(CCommandBar::kIdMoveView), 195);
}

TEST_F(MainWindowTest, MenuCommandsBarVisibilityLinkChecksAndUnknownIds) {
    Create();
    m_frame->show();
    QAction* pBarItem = m_frame->Action(kCmdCommandBar);
    ASSERT_NE(pBarItem, nullptr);
    EXPECT_TRUE(m_frame->CommandBarVisible());
    EXPECT_TRUE(pBarItem->isChecked());
    pBarItem->trigger();
    EXPECT_FALSE(m_frame->CommandBarVisible());
    EXPECT_FALSE(pBarItem->isChecked());
    m_frame->RunCommand(kCmdCommandBar);
    EXPECT_TRUE(m_frame->CommandBarVisible());
    EXPECT_TRUE(pBarItem->isChecked());

    EXPECT_TRUE(m_frame->Action(kCmdViaEthernet)->isChecked());
    m_frame->Action(kCmdViaUsbPrint)->trigger();
    EXPECT_EQ(m_settings.CommuVia, 1);
    EXPECT_TRUE(m_frame->Action(kCmdViaUsbPrint)->isChecked());
    EXPECT_FALSE(m_frame->Action(kCmdViaEthernet)->isChecked());
    m_frame->RunCommand(kCmdViaEthernet);
    EXPECT_EQ(m_settings.CommuVia, 0);
    EXPECT_FALSE(m_frame->Action(kCmdViaUsbPrint)->isChecked());

    EXPECT_FALSE(m_frame->RunCommand(12345));
    m_frame->RunCommand(kCmdAbout);
    m_settings.Language = 0;
    m_frame->RunCommand(kCmdAbout);
    EXPECT_EQ(m_prompts.m_arrAbout, (std::vector<int>{1, 0}));
}

TEST_F(MainWindowTest, AddCopiesAndDeleteGoThroughTheQueue) {
    Create();
    m_prompts.m_arrFilesToOpen = {WritePlot("a.plt"), WritePlot("b.plt")};
    ASSERT_TRUE(m_frame->RunCommand(kCmdAddFiles));
    ASSERT_EQ(m_frame->TaskCount(), 2);
    EXPECT_GT(m_frame->Queue().UndoHistory().Count(), 0u);
    COnePage* pFirst = SelectTaskByRow(m_frame->Doc(), 0);
    ASSERT_NE(pFirst, nullptr);
    m_frame->RefreshTaskList(); // the list's selection follows the document's marks
    EXPECT_EQ(m_frame->TaskList().rowCount(), 2);
    const int32_t nCopies = pFirst->m_nCopies;
    m_frame->RunCommand(kCmdCopiesUp);
    m_frame->RunCommand(kCmdCopiesUp);
    m_frame->RunCommand(kCmdCopiesDown);
    EXPECT_EQ(pFirst->m_nCopies, nCopies + 1);
    m_frame->RunCommand(kCmdDeleteTasks);
    EXPECT_EQ(m_frame->TaskCount(), 1);
    EXPECT_EQ(TaskAt(m_frame->Doc(), 0)->m_strName, "b.plt");
}

// A mouse click on a row of the real task list, with modifiers.
void ClickRow(CTaskListView& list, int nRow, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const QPoint at = list.visualRect(list.model()->index(nRow, 0)).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, QPointF(at), QPointF(list.viewport()->mapToGlobal(at)),
                          Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, mods);
        QApplication::sendEvent(list.viewport(), &click);
    }
}

std::vector<int> SelectedRows(CTaskListView& list) {
    std::vector<int> rows;
    for (int r = 0; r < list.rowCount(); ++r)
        if (list.selectionModel()->isRowSelected(r, {}))
            rows.push_back(r);
    return rows;
}

// Clicking a DXF row loads it and leaves the highlight, the preview and Start on that row:
// Start must print the marker the operator clicked, never row 0's.
TEST_F(MainWindowTest, ClickingADxfRowKeepsItSelectedAndCurrent) {
    Create();
    const std::string strDxf = (test::CorpusDir() / "dxf" / "astm-parser-clo-box.dxf").string();
    m_prompts.m_arrFilesToOpen = {WritePlot("a.plt"), strDxf, WritePlot("c.plt")};
    ASSERT_TRUE(m_frame->RunCommand(kCmdAddFiles));
    ASSERT_EQ(m_frame->TaskCount(), 3);
    CTaskListView& list = m_frame->TaskList();
    m_frame->RefreshTaskList();
    const QPoint at = list.visualRect(list.model()->index(1, 0)).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(
            type, QPointF(at), QPointF(list.viewport()->mapToGlobal(at)), Qt::LeftButton,
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(list.viewport(), &click);
    }
    const COnePage* pDxf = TaskAt(m_frame->Doc(), 1);
    ASSERT_NE(pDxf, nullptr);
    EXPECT_FALSE(pDxf->m_arrCurves.empty()); // loaded by the click
    EXPECT_EQ(m_frame->CurrentTaskIndex(), 1);
    EXPECT_EQ(list.currentRow(), 1);
    const QList<QModelIndex> rows = list.selectionModel()->selectedRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].row(), 1);
    EXPECT_EQ(pDxf->m_bTaskSelected, 1);
    EXPECT_EQ(TaskAt(m_frame->Doc(), 0)->m_bTaskSelected, 0);
    EXPECT_TRUE(m_prompts.m_arrShown.empty());
}

// Ctrl-click adds and removes rows, Shift-click takes a range, and the commands act on
// exactly the rows selected, although every click loads its row.
TEST_F(MainWindowTest, CtrlAndShiftClicksBuildTheSelectionTheCommandsUse) {
    Create();
    for (int i = 0; i < 6; ++i)
        m_prompts.m_arrFilesToOpen.push_back(WritePlot("t" + std::to_string(i) + ".plt"));
    ASSERT_TRUE(m_frame->RunCommand(kCmdAddFiles));
    CTaskListView& list = m_frame->TaskList();
    m_frame->RefreshTaskList();
    const struct {
        int nRow;
        Qt::KeyboardModifiers mods;
        std::vector<int> selected;
    } clicks[] = {
        {2, Qt::NoModifier, {2}},
        {4, Qt::ControlModifier, {2, 4}},
        {0, Qt::ControlModifier, {0, 2, 4}},
        {4, Qt::ControlModifier, {0, 2}},
        {2, Qt::NoModifier, {2}},
        {5, Qt::ShiftModifier, {2, 3, 4, 5}},
        {3, Qt::ControlModifier, {2, 4, 5}},
    };
    for (const auto& c : clicks) {
        ClickRow(list, c.nRow, c.mods);
        EXPECT_EQ(SelectedRows(list), c.selected) << c.nRow;
    }
    EXPECT_EQ(m_frame->CurrentTaskIndex(), 5); // the Ctrl-click that deselected 3 loads nothing
    m_frame->RunCommand(kCmdCopiesUp);
    std::vector<int32_t> copies;
    for (int r = 0; r < 6; ++r)
        copies.push_back(TaskAt(m_frame->Doc(), r)->m_nCopies);
    EXPECT_EQ(copies, (std::vector<int32_t>{1, 1, 2, 1, 2, 2}));
    EXPECT_EQ(SelectedRows(list), (std::vector<int>{2, 4, 5}));
    m_frame->RunCommand(kCmdDeleteTasks);
    std::vector<std::string> names;
    for (int r = 0; r < m_frame->TaskCount(); ++r)
        names.push_back(TaskAt(m_frame->Doc(), r)->m_strName);
    EXPECT_EQ(names, (std::vector<std::string>{"t0.plt", "t1.plt", "t3.plt"}));
}

// Ctrl+Z and Ctrl+Y in the Edit menu step through one snapshot per added file; Ctrl+O opens
// a task file in place of the lists, and Undo brings the lists back.
TEST_F(MainWindowTest, UndoRedoAndOpeningATaskFile) {
    Create();
    EXPECT_EQ(m_frame->Action(kCmdUndo)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(m_frame->Action(kCmdRedo)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));
    EXPECT_EQ(m_frame->Action(kCmdOpenTaskFile)->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(m_frame->Action(kCmdSaveTaskFile)->shortcut(), QKeySequence(QKeySequence::Save));
    m_prompts.m_arrFilesToOpen = {WritePlot("a.plt"), WritePlot("b.plt")};
    ASSERT_TRUE(m_frame->RunCommand(kCmdAddFiles));
    // File > Save task file: the name without an extension gets ".sptask".
    m_prompts.m_strSaveAs = (m_dir.Path() / "two").string();
    m_frame->Action(kCmdSaveTaskFile)->trigger();
    const std::string strTaskFile = (m_dir.Path() / "two.sptask").string();
    ASSERT_TRUE(std::filesystem::exists(strTaskFile));
    const struct {
        int nCommand;
        int nTasks;
    } steps[] = {{kCmdUndo, 1}, {kCmdUndo, 0}, {kCmdUndo, 0}, {kCmdRedo, 1},
                 {kCmdRedo, 2}, {kCmdRedo, 2}, {kCmdUndo, 1}};
    for (const auto& step : steps) {
        m_frame->Action(step.nCommand)->trigger();
        EXPECT_EQ(m_frame->TaskCount(), step.nTasks) << step.nCommand;
        EXPECT_EQ(m_frame->TaskList().rowCount(), step.nTasks);
    }
    m_prompts.m_arrFilesToOpen = {strTaskFile};
    m_frame->Action(kCmdOpenTaskFile)->trigger();
    ASSERT_EQ(m_frame->TaskCount(), 2);
    EXPECT_EQ(TaskAt(m_frame->Doc(), 1)->m_strName, "b.plt");
    m_frame->Action(kCmdUndo)->trigger();
    EXPECT_EQ(m_frame->TaskCount(), 1);
    // A file that is no task file says so and leaves the lists alone.
    m_prompts.m_arrFilesToOpen = {WritePlot("not-a-task.sptask")};
    m_frame->Action(kCmdOpenTaskFile)->trigger();
    EXPECT_EQ(m_frame->TaskCount(), 1);
    ASSERT_EQ(m_prompts.m_arrShown.size(), 1u);
}

// Start on a drawing with nothing to print says why, and its row shows it in red with the
// reason as its tooltip; the machine buttons that cannot act are disabled and say why.
TEST_F(MainWindowTest, FailuresSayWhyWhereTheOperatorLooks) {
    Create(0);
    const std::string strEmpty = (m_dir.Path() / "raster-only.plt").string();
    ASSERT_TRUE(test::WriteFileBytes(strEmpty, "IN;PS0;"));
    m_prompts.m_arrFilesToOpen = {strEmpty};
    ASSERT_TRUE(m_frame->RunCommand(kCmdAddFiles));
    CEngineState& state = m_frame->Engine().State();
    m_frame->MachineStatus().m_nMachineState = 1;
    state.m_nMachineOnline = 1;
    m_frame->UpdateStatus();
    QToolButton* pStart = m_frame->Bar().Button(kBtnStart);
    ASSERT_TRUE(pStart->isEnabled());
    m_frame->SetCurrentTaskIndex(0);
    m_frame->RunCommand(kBtnStart);
    QCoreApplication::processEvents(); // Start prints the current task after the click
    const std::string strWhy =
        "raster-only.plt 中没有可以打印的内容（例如只有 HP-GL/2 光栅数据）。";
    EXPECT_EQ(m_prompts.m_arrShown, std::vector<std::string>{strWhy});
    const QTableWidgetItem* pCell = m_frame->TaskList().item(0, 1);
    ASSERT_NE(pCell, nullptr);
    EXPECT_EQ(pCell->toolTip().toStdString(), strWhy);
    EXPECT_EQ(pCell->foreground().color(), QColor(0xC0, 0x00, 0x00));
    EXPECT_EQ(m_frame->statusBar()->currentMessage().toStdString(), strWhy);
    // With INKVALE_DIALOG_PICTURES naming a folder, the row is pictured there with its
    // reason where the tooltip shows it.
    if (const QString strPictures = qEnvironmentVariable("INKVALE_DIALOG_PICTURES");
        !strPictures.isEmpty()) {
        m_frame->resize(1100, 420);
        m_frame->show();
        m_frame->TaskList().clearSelection(); // the row's own colours
        m_frame->statusBar()->showMessage(pCell->toolTip());
        EXPECT_TRUE(m_frame->grab().save(strPictures + "/failed-task-row.png"));
    }

    const struct {
        uint8_t nState;
        int32_t bOnline;
        bool bJob;
        int nButton;
        const char* pszTip; // nullptr: enabled
    } cases[] = {
        {1, 0, false, kBtnStart, "机器没有应答：请检查电源、网线或 USB 线，以及机器的地址。"},
        {4, 1, true, kBtnStart, "正在打印任务，请等它结束。"},
        {1, 1, false, kBtnStop, "没有可以停止的任务。"},
        {4, 1, true, kBtnStop, nullptr},
        {6, 1, true, kBtnPause, nullptr},
    };
    for (const auto& c : cases) {
        m_frame->MachineStatus().m_nMachineState = c.nState;
        m_frame->MachineStatus().m_bJobRunning = c.bJob;
        state.m_nMachineOnline = c.bOnline;
        m_frame->UpdateStatus();
        QToolButton* pButton = m_frame->Bar().Button(c.nButton);
        EXPECT_EQ(pButton->isEnabled(), c.pszTip == nullptr) << c.nButton;
        if (c.pszTip != nullptr) {
            EXPECT_EQ(pButton->toolTip().toStdString(), c.pszTip) << c.nButton;
        }
    }
    EXPECT_TRUE(m_frame->Bar().Button(kBtnPause)->isChecked()); // paused: Pause stays pressed
    m_frame->MachineStatus().m_bJobRunning = false;
}

TEST_F(MainWindowTest, SaveAndRotateWorkOnTheCurrentTask) {
    Create();
    // Nothing to save before a task has a drawing: no dialog, no file.
    m_prompts.m_strSaveAs = (m_dir.Path() / "never.plt").string();
    m_frame->RunCommand(kCmdSaveHpgl);
    EXPECT_FALSE(std::filesystem::exists(m_prompts.m_strSaveAs));

    m_frame->AddPaths({WritePlot("wide.plt")});
    COnePage* pTask = TaskAt(m_frame->Doc(), 0);
    ASSERT_NE(pTask, nullptr);
    m_frame->SetCurrentTaskIndex(0);
    ASSERT_TRUE(m_frame->Queue().LoadDrawing(*pTask, false));
    pTask->CalcExtents();
    const int32_t nWidth = pTask->m_nMaxX - pTask->m_nMinX;
    m_frame->RunCommand(kCmdRotate);
    EXPECT_EQ(pTask->m_nMaxY - pTask->m_nMinY, nWidth);

    m_prompts.m_strSaveAs = (m_dir.Path() / "copy.hpg").string();
    m_frame->RunCommand(kCmdSaveHpgl);
    const std::filesystem::path saved = m_dir.Path() / "copy.hpg.plt";
    ASSERT_TRUE(std::filesystem::exists(saved));
    EXPECT_GT(std::filesystem::file_size(saved), 0u);
    EXPECT_TRUE(m_prompts.m_arrShown.empty());
}

TEST_F(MainWindowTest, HideAndShowAgain) {
    Create();
    m_frame->show();
    m_frame->RunCommand(kCmdHide);
    // Without a notification area (the off-screen platform) the window is minimised instead
    // of vanishing for good.
    EXPECT_TRUE(!m_frame->isVisible() || m_frame->isMinimized());
    m_frame->ShowFromTray();
    EXPECT_TRUE(m_frame->isVisible());
    EXPECT_FALSE(m_frame->isMinimized());
}

#ifdef INKVALE_APP_PATH
// The English translation built beside the program covers the menus and the bar captions.
TEST_F(MainWindowTest, EnglishTranslationCoversMenusAndCaptions) {
    auto pEnglish = std::make_unique<test::CShippedTranslation>();
    ASSERT_TRUE(pEnglish->Loaded());
    Create(1);
    QStringList arrTexts;
    for (QAction* pMenu : m_frame->menuBar()->actions()) {
        arrTexts << pMenu->text();
        if (pMenu->menu() != nullptr)
            for (QAction* pItem : pMenu->menu()->actions())
                if (!pItem->isSeparator())
                    arrTexts << pItem->text();
    }
    for (int nId : {270, 272, 279, 240, 288})
        arrTexts << m_frame->Bar().Button(nId)->text();
    pEnglish.reset();
    EXPECT_GE(arrTexts.size(), 20);
    EXPECT_TRUE(arrTexts.contains(QStringLiteral("&File")));
    for (const QString& text : arrTexts) {
        bool bAscii = true;
        for (QChar c : text)
            bAscii = bAscii && c.unicode() < 128;
        EXPECT_TRUE(bAscii) << text.toStdString();
    }
}
#endif

TEST_F(MainWindowTest, DroppedDrawingsAreAddedOthersRefused) {
    Create();
    const std::string strPlot = WritePlot("drop.plt");
    const std::string strText = (m_dir.Path() / "notes.txt").string();
    ASSERT_TRUE(test::WriteFileBytes(strText, "hello"));

    QMimeData textOnly;
    textOnly.setUrls({QUrl::fromLocalFile(QString::fromStdString(strText))});
    QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &textOnly, Qt::LeftButton,
                            Qt::NoModifier);
    refused.setAccepted(false);
    QApplication::sendEvent(m_frame.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());

    QMimeData both;
    both.setUrls({QUrl::fromLocalFile(QString::fromStdString(strText)),
                  QUrl::fromLocalFile(QString::fromStdString(strPlot))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &both, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QApplication::sendEvent(m_frame.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &both, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_frame.get(), &drop);
    ASSERT_EQ(m_frame->TaskCount(), 1);
    EXPECT_EQ(TaskAt(m_frame->Doc(), 0)->m_strPath, strPlot);
}

TEST(MainWindowNamesTest, SaveNameAndDropNameRules) {
    const std::pair<const char*, const char*> kNames[] = {
        {"out.PLT", "out.PLT"}, {"a.plt", "a.plt"},   {"x.hpg", "x.hpg.plt"},
        {".plt", ".plt.plt"},   {"plot", "plot.plt"}, {"/d/a.Plt", "/d/a.Plt"}};
    for (const auto& [szIn, szOut] : kNames)
        EXPECT_EQ(CMainWindow::WithPltSuffix(szIn), szOut) << szIn;
    for (const char* sz : {"/a/b.plt", "/a/b.HPG", "/a/b.spl", "/a/b.DXF", "/a/b.p01"})
        EXPECT_TRUE(CMainWindow::IsDrawingFileName(sz)) << sz;
    for (const char* sz : {"/a/b.txt", "/a/plt", "/a/b.dwg", "/a/b.sptask"})
        EXPECT_FALSE(CMainWindow::IsDrawingFileName(sz)) << sz;
}

// ---- closing ----------------------------------------------------------------------------

TEST_F(MainWindowTest, ClosingAsksOnlyWhileAJobRuns) {
    Create(0);
    m_frame->show();
    EXPECT_TRUE(m_frame->close());
    EXPECT_TRUE(m_prompts.m_arrAsked.empty());
    EXPECT_TRUE(m_settings.m_nClosing.Load() != 0);
}

TEST_F(MainWindowTest, ClosingWhileAJobRunsNeedsOk) {
    Create(1);
    m_frame->show();
    m_frame->MachineStatus().m_bJobRunning = true;
    m_prompts.m_bAnswerOk = false;
    EXPECT_FALSE(m_frame->close());
    ASSERT_EQ(m_prompts.m_arrAsked.size(), 1u);
    EXPECT_EQ(m_prompts.m_arrAsked[0], "Warning|Task not finished!\nContinue?");
    EXPECT_TRUE(m_frame->isVisible());
    EXPECT_EQ(m_settings.m_nClosing.Load(), 0);
    m_prompts.m_bAnswerOk = true;
    EXPECT_TRUE(m_frame->close());
    EXPECT_EQ(m_prompts.m_arrAsked.size(), 2u);
    EXPECT_NE(m_settings.m_nClosing.Load(), 0);
    m_frame->MachineStatus().m_bJobRunning = false;
}

// ---- command bar ------------------------------------------------------------------------

TEST_F(MainWindowTest, LanguageButtonCyclesAndShowsTheNotice) {
    Create(3);
    CCommandBar& bar = m_frame->Bar();
    EXPECT_EQ(bar.IconOf(CCommandBar::kIdLanguage), 205);
    EXPECT_FALSE(bar.NoticeVisible());
    bar.Button(CCommandBar::kIdLanguage)->click();
    EXPECT_EQ(m_settings.Language, 4);
    EXPECT_EQ(bar.IconOf(CCommandBar::kIdLanguage), 204);
    EXPECT_TRUE(bar.NoticeVisible());

    m_settings.Language = 5;
    const int kExpected[] = {0, 1, 2, 3, 4};
    const int kIcons[] = {200, 201, 202, 205, 204};
    for (size_t i = 0; i < 5; ++i) {
        m_frame->RunCommand(kCmdLanguage);
        EXPECT_EQ(m_settings.Language, kExpected[i]);
        EXPECT_EQ(bar.IconOf(CCommandBar::kIdLanguage), kIcons[i]);
    }
    m_settings.Language = 17; // out of range values go back to Chinese
    m_frame->RunCommand(kCmdLanguage);
    EXPECT_EQ(m_settings.Language, 0);
    EXPECT_EQ(CCommandBar::LanguageIcon(5), 203);
    EXPECT_EQ(CCommandBar::LanguageIcon(-1), 200);
}

TEST_F(MainWindowTest, TooltipsFollowTheLanguage) {
    for (int32_t nLanguage : {0, 1, 2, 5}) {
        m_settings.Language = nLanguage;
        CCommandBar bar(m_settings);
        const bool bChinese = nLanguage == 0;
        EXPECT_EQ(bar.ToolTipOf(270), bChinese ? QString::fromUtf8("添加plt") : "Add plt");
        EXPECT_EQ(bar.ToolTipOf(284),
                  bChinese ? QString::fromUtf8("测试喷头") : "Clean the nozzle");
        EXPECT_EQ(bar.ToolTipOf(290), bChinese ? QString::fromUtf8("选择线条") : "Select");
        EXPECT_EQ(bar.ToolTipOf(287), "IP");
        EXPECT_TRUE(bar.ToolTipOf(CCommandBar::kIdAuto).isEmpty());
        EXPECT_TRUE(bar.ToolTipOf(CCommandBar::kIdLanguage).isEmpty());
    }
}

TEST_F(MainWindowTest, AutoBoxAndJogPressRelease) {
    m_settings.AutoStartEnable = 1;
    CCommandBar bar(m_settings);
    EXPECT_TRUE(bar.AutoTicked());
    EXPECT_EQ(bar.IconOf(CCommandBar::kIdAuto), 190);
    bar.Button(CCommandBar::kIdAuto)->click();
    EXPECT_EQ(m_settings.AutoStartEnable, 0);
    bar.Button(CCommandBar::kIdAuto)->click();
    EXPECT_EQ(m_settings.AutoStartEnable, 1);
    bar.ReleaseAutoButton();
    EXPECT_EQ(m_settings.AutoStartEnable, 0);
    EXPECT_FALSE(bar.AutoTicked());
    EXPECT_EQ(bar.IconOf(CCommandBar::kIdAuto), 189);

    std::vector<std::pair<int, int>> arrPresses;
    std::vector<int> arrCommands;
    QObject::connect(&bar, &CCommandBar::ButtonPress,
                     [&](int nId, int nLParam) { arrPresses.emplace_back(nId, nLParam); });
    QObject::connect(&bar, &CCommandBar::Command, [&](int nId) { arrCommands.push_back(nId); });
    bar.show();
    QToolButton* pLeft = bar.Button(279);
    const QPointF pt(pLeft->width() / 2.0, pLeft->height() / 2.0);
    QMouseEvent down(QEvent::MouseButtonPress, pt, pLeft->mapToGlobal(pt), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pLeft, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, pt, pLeft->mapToGlobal(pt), Qt::LeftButton,
                   Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(pLeft, &up);
    EXPECT_EQ(arrPresses, (std::vector<std::pair<int, int>>{{279, 1}, {279, 0}}));
    EXPECT_TRUE(arrCommands.empty());
    bar.Button(283)->click();
    EXPECT_EQ(arrCommands, std::vector<int>{283});
}

TEST_F(MainWindowTest, QueueSwitchingAutomaticModeOffReleasesTheBox) {
    m_settings.AutoStartEnable = 1;
    Create();
    EXPECT_TRUE(m_frame->Bar().AutoTicked());
    m_frame->AutoModeOff();
    EXPECT_FALSE(m_frame->Bar().AutoTicked());
    EXPECT_EQ(m_settings.AutoStartEnable, 0);
}

// ---- hand-over of the engine's calls ----------------------------------------------------

class CRecordingHost : public IEngineHost {
public:
    void JobFinished(int nResult) override { Record(nResult); }
    int StartNextTask() override {
        Record(0x469);
        return 0;
    }
    void ScanManualFolder() override { Record(0x46B); }
    void ScanAutoFolder() override { Record(0x46C); }
    void Record(int n) {
        m_arrCalls.push_back(n);
        m_bOnWindowThread = m_bOnWindowThread && QThread::currentThread() == qApp->thread();
    }
    std::vector<int> m_arrCalls;
    bool m_bOnWindowThread = true;
};

// The engine's workers post their events and go on: nothing they send waits for the window
// thread, which runs the events in order; a scheduler call still waiting is not posted
// again.
TEST(UiThreadHandOffTest, WorkerEventsArePostedAndRunOnTheWindowThreadInOrder) {
    EnsureApp();
    CSettings settings;
    CRecordingHost target;
    CUiThreadHandOff handOff(settings);
    CHandOffEngineHost host(target, handOff);
    // The window thread runs no events meanwhile: a worker that waited for it would never end.
    auto worker = std::async(std::launch::async, [&] {
        host.ScanAutoFolder();
        host.JobFinished(kJobFailure);
        for (int i = 0; i < 5; ++i)
            host.StartNextTask();
    });
    ASSERT_EQ(worker.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    EXPECT_TRUE(target.m_arrCalls.empty());
    const auto tEnd = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (target.m_arrCalls.size() < 3 && std::chrono::steady_clock::now() < tEnd)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
    EXPECT_EQ(target.m_arrCalls, (std::vector<int>{0x46C, kJobFailure, 0x469}));
    EXPECT_TRUE(target.m_bOnWindowThread);
    // On the window thread itself the call runs in place.
    host.StartNextTask();
    EXPECT_EQ(target.m_arrCalls.size(), 4u);
}

// Once the closing flag is set the window thread may be waiting for the workers to end:
// events posted then, and events still waiting, are dropped.
TEST(UiThreadHandOffTest, EventsAreDroppedOnceTheProgramCloses) {
    EnsureApp();
    CSettings settings;
    CRecordingHost target;
    CUiThreadHandOff handOff(settings);
    CHandOffEngineHost host(target, handOff);
    auto before = std::async(std::launch::async, [&] { host.ScanManualFolder(); });
    ASSERT_EQ(before.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    settings.m_nClosing = 1;
    auto after = std::async(std::launch::async, [&] { host.JobFinished(kJobFailure); });
    ASSERT_EQ(after.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    QCoreApplication::processEvents();
    EXPECT_TRUE(target.m_arrCalls.empty());
    host.ScanAutoFolder(); // on the window thread: still in place
    EXPECT_EQ(target.m_arrCalls, std::vector<int>{0x46C});
}

} // namespace
} // namespace inkvale
