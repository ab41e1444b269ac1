// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program's window against the plotter simulator on loopback: the service threads
// run, their calls come over to the window thread, a marker dropped into the automatic folder
// prints by itself and leaves the folder, and closing while idle ends every thread.
#include "common/TestPaths.h"
#include "config/SettingsStore.h"
#include "machine/link/MachineProtocol.h"
#include "queue/TaskListEdits.h"
#include "ui/CommandBar.h"
#include "ui/PreviewView.h"
#include "ui/LoadProgress.h"
#include "ui/MainWindow.h"
#include "ui/MainWindowPrompts.h"
#include "ui/TaskListView.h"
#include "ui/StatusTexts.h"

#include "SimMachine.h"
#include "SimServer.h"

#include "UiTestApp.h"

#include "machine/engine/JobJournal.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QInputDialog>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidgetItem>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>

namespace inkvale {
namespace {

void EnsureApp() {
    inkvale::test::EnsureUiTestApp();
}

// Runs the window thread's events, as a modal dialog does, until done() holds or 30 s have
// passed.
template <class Done>
bool RunNestedLoopUntil(Done done) {
    const auto tEnd = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < tEnd) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (done())
            return true;
    }
    return false;
}

// Records what the window shows. With m_whileOpen set, a message box or the save dialog
// stays open, running the window thread's events as a modal dialog does, until the
// function says the dialog may close.
class CSilentPrompts : public CMainWindowPrompts {
public:
    void Inform(const std::string& s, const std::string&) override {
        m_arrShown.push_back(s);
        StayOpen();
    }
    void Error(const std::string& s, const std::string&) override {
        m_arrShown.push_back(s);
        StayOpen();
    }
    void StayOpen() {
        if (!m_whileOpen)
            return;
        auto whileOpen = std::move(m_whileOpen); // once; and a box inside it closes at once
        m_whileOpen = nullptr;
        m_bClosedInTime = RunNestedLoopUntil(whileOpen);
    }
    std::function<bool()> m_whileOpen;
    bool m_bClosedInTime = false;
    std::string m_strSaveAs;
    bool AskOkCancel(const std::string&, const std::string&) override {
        ++m_nAsked;
        return true;
    }
    int m_nAsked = 0;
    std::vector<std::string> OpenFiles(const std::string&, const std::string&) override {
        return {};
    }
    std::string SaveFile(const std::string&) override {
        StayOpen();
        return m_strSaveAs;
    }
    void About(int) override {}
    /// Records the offer and answers with m_nChoice; m_onChoose looks at the window first.
    int Choose(const std::string& strText, const std::string&,
               const std::vector<std::string>& choices) override {
        m_arrChoices.push_back(strText);
        m_arrChoiceButtons = choices;
        if (m_onChoose)
            m_onChoose();
        return m_nChoice;
    }
    int m_nChoice = -1;
    std::function<void()> m_onChoose;
    std::vector<std::string> m_arrChoices;
    std::vector<std::string> m_arrChoiceButtons;
    std::vector<std::string> m_arrShown;
};

class MainWindowEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApp();
        // The program speaks to port 5291: the simulator listens there on a loopback address
        // of its own, so that parallel runs do not meet.
        std::random_device rd;
        const uint32_t b = 1 + rd() % 250, c = 1 + rd() % 250, d = 2 + rd() % 250;
        const std::string strAddress =
            "127." + std::to_string(b) + "." + std::to_string(c) + "." + std::to_string(d);
        std::string strError;
        ASSERT_TRUE(m_server.Start(strAddress, 5291, &strError)) << strError;
        const uint32_t nIP = 127u | (b << 8) | (c << 16) | (d << 24);
        ASSERT_TRUE(test::WriteFileBytes(m_home.Path() / "Inkvale.ini",
                                         "[Para]\nMachineIP=" + std::to_string(nIP) +
                                             "\nLanguage=1\nAutoStartEnable=1\nSpAutoClean=0\n"
                                             "PrintFileName=0\n"));
        (void)LoadSettings(m_settings, m_params, m_home.Path().string());
        m_params.ResetMachineParams();
        ASSERT_EQ(m_params.MachineIP(), nIP);
        m_pFrame = std::make_unique<CMainWindow>(m_settings, m_params, &m_prompts, true);
    }
    void TearDown() override {
        m_pFrame.reset();
        m_server.Stop();
    }
    /// Runs the window thread until done() holds or the time (40 s) has passed.
    template <class Done>
    bool RunUntil(Done done, std::chrono::milliseconds limit = std::chrono::seconds(40)) {
        const auto tEnd = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < tEnd) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            if (done())
                return true;
        }
        return false;
    }
    std::string WriteMarker() {
        const std::string strMarker = m_settings.AutoDir + "marker.plt";
        EXPECT_TRUE(
            test::WriteFileBytes(strMarker, "IN;SP1;PU0,0;PD4000,0,4000,4000,0,4000,0,0;PU;"));
        return strMarker;
    }

    sim::CSimMachine m_machine;
    sim::CSimServer m_server{m_machine};
    test::CScratchDir m_home;
    CSettings m_settings;
    CMachineParams m_params;
    CSilentPrompts m_prompts;
    std::unique_ptr<CMainWindow> m_pFrame;
};

TEST_F(MainWindowEndToEndTest, AutomaticFolderMarkerPrintsThroughTheWindowThread) {
    const std::string strMarker = WriteMarker();
    bool bListed = false;
    bool bSawReady = false;
    const bool bDone = RunUntil([&] {
        bListed = bListed || m_pFrame->TaskCount() > 0;
        m_pFrame->UpdateStatus();
        bSawReady = bSawReady || m_pFrame->PaneText(CMainWindow::kPaneState) == "Ready";
        return m_machine.Stats().m_nJobsFinished >= 1 && !m_pFrame->Engine().JobRunning() &&
               m_pFrame->TaskCount() == 0 && !std::filesystem::exists(strMarker);
    });
    EXPECT_TRUE(bDone);
    EXPECT_TRUE(bListed);
    EXPECT_TRUE(bSawReady);
    EXPECT_EQ(m_machine.Stats().m_nJobsFinished, 1);
    EXPECT_TRUE(m_prompts.m_arrShown.empty()) << m_prompts.m_arrShown.front();

    // Closing while idle asks nothing and ends the threads promptly.
    const auto tClose = std::chrono::steady_clock::now();
    EXPECT_TRUE(m_pFrame->close());
    EXPECT_EQ(m_prompts.m_nAsked, 0);
    m_pFrame.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - tClose, std::chrono::seconds(10));
}

// A marker the machine drops halfway (a carriage fault) is not lost: once the machine is
// ready again the window offers it, with its row marked and the preview showing where it
// stopped; resuming prints the rest, after which the task counts as printed and the
// journal is gone.
TEST_F(MainWindowEndToEndTest, InterruptedMarkerIsOfferedMarkedAndResumed) {
    sim::CSimTiming timing;
    timing.m_nBandPrintMs = 40;
    m_machine.SetTiming(timing);
    m_pFrame->resize(1000, 700); // the preview draws at its size
    m_pFrame->show();
    const std::string strMarker = m_settings.AutoDir + "long marker.plt";
    ASSERT_TRUE(
        test::WriteFileBytes(strMarker, "IN;SP1;PU0,0;PD40000,0,40000,4000,0,4000,0,0;PU;"));
    ASSERT_TRUE(RunUntil([&] { return m_pFrame->Engine().State().m_nBandsDone >= 5; }));
    m_machine.ForceState(kStateCarriageTimeout, 300);

    bool bRowMarked = false, bStopShown = false;
    m_prompts.m_nChoice = 0; // resume
    m_prompts.m_onChoose = [&] {
        const QTableWidgetItem* pItem = m_pFrame->TaskList().item(0, 0);
        bRowMarked = pItem != nullptr && !pItem->icon().isNull() && !pItem->toolTip().isEmpty();
        m_pFrame->SetCurrentTaskIndex(0);
        m_pFrame->View().Redraw();
        const QImage picture = m_pFrame->View().Picture();
        for (int y = 0; y < picture.height() && !bStopShown; y += 2) {
            for (int x = 0; x < picture.width() && !bStopShown; ++x)
                bStopShown = picture.pixel(x, y) == qRgb(0xFF, 0x8C, 0);
        }
        const QString strPictures = qEnvironmentVariable("INKVALE_DIALOG_PICTURES");
        if (!strPictures.isEmpty()) {
            EXPECT_TRUE(m_pFrame->grab().save(strPictures + "/interrupted-job.png"));
        }
    };
    ASSERT_TRUE(RunUntil([&] {
        m_pFrame->UpdateStatus();
        return !m_prompts.m_arrChoices.empty();
    }));
    EXPECT_TRUE(bRowMarked);
    EXPECT_TRUE(bStopShown);
    ASSERT_EQ(m_prompts.m_arrChoiceButtons.size(), 3u);
    EXPECT_NE(m_prompts.m_arrChoices[0].find("long marker.plt"), std::string::npos);

    const bool bDone = RunUntil([&] {
        m_pFrame->UpdateStatus();
        return m_machine.Stats().m_nJobsFinished >= 1 && !m_pFrame->Engine().JobRunning() &&
               m_pFrame->TaskCount() == 0;
    });
    EXPECT_TRUE(bDone);
    EXPECT_FALSE(std::filesystem::exists(strMarker));
    // The printed job's folder goes once the lists saved after its end are on the disk.
    EXPECT_TRUE(RunUntil([&] {
        m_pFrame->UpdateStatus();
        return CJobJournal::ListJobs(m_home.Path().string() + "/Jobs/").empty();
    }));
    EXPECT_EQ(m_prompts.m_arrChoices.size(), 1u);
    // The first job stopped after at least five bands; the second sent only the rest.
    EXPECT_LE(m_machine.Stats().m_nBandsConfirmed, m_pFrame->Engine().State().m_nBandCount + 5 + 1);
}

// Closing in the middle of a job: the band sender's job-finished call arrives while the
// window thread waits for it to end; neither may wait for the other.
TEST_F(MainWindowEndToEndTest, ClosingWhileAJobRunsEndsWithoutDeadlock) {
    sim::CSimTiming timing;
    timing.m_nBandPrintMs = 1500; // slow bands: the job is still running when we close
    m_machine.SetTiming(timing);
    (void)WriteMarker();
    ASSERT_TRUE(RunUntil([&] { return m_pFrame->Engine().JobRunning(); }));
    const auto tClose = std::chrono::steady_clock::now();
    EXPECT_TRUE(m_pFrame->close());
    EXPECT_EQ(m_prompts.m_nAsked, 1);
    m_pFrame.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - tClose, std::chrono::seconds(15));
}

// A garment marker of about nBytes: one "PU x,y;PD x,y,...;" polyline a line, each starting
// within nSpan plotter units of the origin.
std::string BigMarker(size_t nBytes, int nSpan = 79000) {
    std::string s = "IN;SP1;\n";
    s.reserve(nBytes + 4096);
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> at(0, nSpan);
    while (s.size() < nBytes) {
        int x = at(rng), y = at(rng);
        s += "PU" + std::to_string(x) + "," + std::to_string(y) + ";PD";
        for (int k = 0; k < 40; ++k) {
            x += static_cast<int>(rng() % 61) - 30;
            y += static_cast<int>(rng() % 61) - 30;
            s += (k == 0 ? "" : ",") + std::to_string(x) + "," + std::to_string(y);
        }
        s += ";\n";
    }
    return s;
}

// Clicking a 30 MB marker reads it off the window thread: a timer of the window keeps its
// pace (no gap over 100 ms) until the drawing is there, and a read that takes over half a
// second shows the progress box, which goes once the drawing has come.
TEST_F(MainWindowEndToEndTest, BigMarkerLoadsWithoutFreezingTheWindow) {
    m_settings.AutoStartEnable = 0;
    m_pFrame->Bar().ReleaseAutoButton();
    m_pFrame->resize(1000, 700);
    m_pFrame->show();
    const std::string strPath = m_home.Path().string() + "/big marker.plt";
    ASSERT_TRUE(test::WriteFileBytes(strPath, BigMarker(30'000'000)));
    RunUntil([] { return false; }, std::chrono::milliseconds(300)); // settle after show

    using Clock = std::chrono::steady_clock;
    auto tLast = Clock::now();
    Clock::duration longest{};
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const auto tNow = Clock::now();
        longest = std::max(longest, tNow - tLast);
        tLast = tNow;
    });
    ticker.start(10);
    tLast = Clock::now();
    const auto tStart = tLast;
    m_pFrame->Queue().AddFiles({strPath});
    ASSERT_EQ(m_pFrame->TaskCount(), 1);
    m_pFrame->SetCurrentTaskIndex(0);
    m_pFrame->View().LoadCurrentDrawing(true);
    bool bBoxShown = false;
    const bool bLoaded = RunUntil([&] {
        const auto* pBox = m_pFrame->findChild<QWidget*>(QStringLiteral("loadProgress"));
        bBoxShown = bBoxShown || (pBox != nullptr && pBox->isVisible());
        const COnePage* pTask = m_pFrame->TaskAtRow(0);
        return pTask != nullptr && !pTask->m_arrCurves.empty();
    });
    const auto loadTime = Clock::now() - tStart;
    ASSERT_TRUE(bLoaded);
    // The box goes by itself once the drawing is there. The longest gap of the window's
    // ticks is a figure to read, not to assert: a busy machine stretches it.
    EXPECT_TRUE(RunUntil([&] {
        const auto* pBox = m_pFrame->findChild<QWidget*>(QStringLiteral("loadProgress"));
        return pBox == nullptr || !pBox->isVisible();
    }));
    ticker.stop();
    if (loadTime > std::chrono::milliseconds(700)) {
        EXPECT_TRUE(bBoxShown);
    }
    EXPECT_GT(m_pFrame->TaskAtRow(0)->VertexCount(), 1'000'000u);
    std::printf("30 MB marker: loaded in %lld ms, longest window gap %lld ms\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(loadTime).count()),
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(longest).count()));
}

// The progress box of a read the window waits for, as the operator meets it.
class LoadProgressBoxTest : public MainWindowEndToEndTest {
protected:
    using Clock = std::chrono::steady_clock;
    /// The box's delay here: well inside the reads of the test on any machine.
    static constexpr std::chrono::milliseconds kShowAfter{50};

    void SetUp() override {
        MainWindowEndToEndTest::SetUp();
        if (HasFatalFailure())
            return;
        m_settings.AutoStartEnable = 0;
        m_settings.AutoPreview = 0; // only the Start waits for a drawing
        m_pFrame->Bar().ReleaseAutoButton();
        auto* pProgress = m_pFrame->findChild<CLoadProgress*>();
        ASSERT_NE(pProgress, nullptr);
        pProgress->SetShowAfter(kShowAfter);
        m_pFrame->resize(1000, 700);
        m_pFrame->show();
        // The window's own timer, timed until the drawing waited for is there: taking it and
        // starting the job are the window's work and may take longer.
        QObject::connect(&m_ticker, &QTimer::timeout, [this] {
            const auto tNow = Clock::now();
            if (HasDrawing(m_nWaited))
                m_ticker.stop();
            else
                m_longestGap = std::max(m_longestGap, tNow - m_tLastTick);
            m_tLastTick = tNow;
        });
    }
    /// Runs the window until done() holds or the test's 20 s have passed; done() is asked
    /// at least once.
    template <class Done>
    bool Within(Done done) {
        return RunUntil(done, std::chrono::duration_cast<std::chrono::milliseconds>(
                                  std::max(m_tDeadline - Clock::now(), Clock::duration{}))) ||
               done();
    }
    QProgressDialog* VisibleBox() {
        for (QProgressDialog* pBox : m_pFrame->findChildren<QProgressDialog*>()) {
            if (pBox->isVisible())
                return pBox;
        }
        return nullptr;
    }
    bool HasDrawing(uint64_t nTaskId) {
        const COnePage* pTask = TaskById(m_pFrame->Doc(), nTaskId);
        return pTask != nullptr && !pTask->m_arrCurves.empty();
    }
    int32_t PrintState(uint64_t nTaskId) {
        const COnePage* pTask = TaskById(m_pFrame->Doc(), nTaskId);
        return pTask != nullptr ? pTask->m_nPrintState : -1;
    }
    /// Adds a 30 MB marker and makes it the current task, behind another one the preloader
    /// is reading: a Start then waits for both reads. Returns the task.
    uint64_t AddBehindAnother(const std::string& strName) {
        const std::string strAhead = m_home.File("ahead of " + strName);
        const std::string strPath = m_home.File(strName);
        const int nRow = m_pFrame->TaskCount() + 1;
        // Contents of their own: a duplicate would carry a warning.
        const auto tail = [](int n) { return "PU0,0;PD" + std::to_string(n) + ",0;\n"; };
        EXPECT_TRUE(test::WriteFileBytes(strAhead, m_strMarker + tail(nRow)));
        EXPECT_TRUE(test::WriteFileBytes(strPath, m_strMarker + tail(nRow + 1)));
        m_pFrame->Queue().AddFiles({strAhead});
        m_pFrame->Queue().AddFiles({strPath});
        const COnePage* pTask = TaskAt(m_pFrame->Doc(), nRow);
        EXPECT_NE(pTask, nullptr);
        m_pFrame->SetCurrentTaskIndex(nRow);
        return pTask != nullptr ? pTask->m_nTaskId : 0;
    }
    /// Starts the current task, which waits for nTaskId, and runs the window until the box
    /// shows. How long the box took, or nothing when it did not show.
    std::optional<Clock::duration> StartAndAwaitBox(uint64_t nTaskId) {
        m_nWaited = nTaskId;
        m_longestGap = {};
        m_tLastTick = Clock::now();
        m_ticker.start(10);
        const auto tStart = Clock::now();
        m_pFrame->RunCommand(kBtnStart);
        if (!Within([&] { return VisibleBox() != nullptr; }))
            return std::nullopt;
        return Clock::now() - tStart;
    }
    /// The operator's click on the button.
    static void Click(QAbstractButton& button) {
        const QPointF at = QRectF(button.rect()).center();
        const QPointF global = button.mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(&button, &press);
        QApplication::sendEvent(&button, &release);
    }
    static long long Ms(Clock::duration d) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(d).count();
    }

    const Clock::time_point m_tDeadline = Clock::now() + std::chrono::seconds(20);
    const std::string m_strMarker = BigMarker(30'000'000, 30000); // 0.75 m square
    QTimer m_ticker;
    uint64_t m_nWaited = 0;
    Clock::time_point m_tLastTick;
    Clock::duration m_longestGap{};
};

// A Start that waits for a big marker shows the box once the read has lasted the delay, as a
// box that leaves the window its input and its pace. Cancel stops the waiting: the box goes
// at once, and the drawing that still arrives is taken without printing. A second Start, left
// to wait, ends with the box closing by itself and the task printing.
TEST_F(LoadProgressBoxTest, ShowsWhileReadingCancelStopsTheStartOrClosesByItself) {
    ASSERT_TRUE(Within(
        [&] { return m_pFrame->Engine().CommandBarState().m_nMachineState == kStateReady; }));

    // Cancel.
    const uint64_t nFirst = AddBehindAnother("first.plt");
    const auto firstShown = StartAndAwaitBox(nFirst);
    ASSERT_TRUE(firstShown.has_value());
    QProgressDialog* pBox = VisibleBox();
    EXPECT_GE(*firstShown, kShowAfter);
    EXPECT_TRUE(pBox->labelText().contains(QStringLiteral("first.plt")))
        << pBox->labelText().toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ASSERT_EQ(m_pFrame->Queue().WaitedLoad(), nFirst);
    ASSERT_FALSE(HasDrawing(nFirst)) << "the reads ended before Cancel: the markers are too small";
    auto* pCancel = pBox->findChild<QPushButton*>();
    ASSERT_NE(pCancel, nullptr);
    Click(*pCancel);
    m_ticker.stop();
    const Clock::duration firstGap = m_longestGap;
    EXPECT_EQ(m_pFrame->Queue().WaitedLoad(), 0u);
    EXPECT_EQ(VisibleBox(), nullptr);

    // The read goes on; its drawing arrives and is taken by the task, and nothing starts.
    ASSERT_TRUE(Within([&] { return HasDrawing(nFirst); }));
    EXPECT_EQ(PrintState(nFirst), PS_WAITING);
    EXPECT_FALSE(m_pFrame->Engine().JobRunning());
    EXPECT_EQ(VisibleBox(), nullptr);

    // Left to wait.
    const uint64_t nSecond = AddBehindAnother("second.plt");
    const auto secondShown = StartAndAwaitBox(nSecond);
    ASSERT_TRUE(secondShown.has_value());
    EXPECT_GE(*secondShown, kShowAfter);
    EXPECT_TRUE(VisibleBox()->labelText().contains(QStringLiteral("second.plt")));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    Clock::time_point tArrived{};
    ASSERT_TRUE(Within([&] {
        if (tArrived == Clock::time_point{} && HasDrawing(nSecond))
            tArrived = Clock::now();
        return tArrived != Clock::time_point{} && VisibleBox() == nullptr;
    }));
    const auto closedAfter = Clock::now() - tArrived;
    const Clock::duration secondGap = m_longestGap;
    EXPECT_EQ(PrintState(nSecond), PS_PRINTING);
    EXPECT_TRUE(Within([&] { return m_machine.Stats().m_nJobsAccepted >= 1; }));
    EXPECT_EQ(m_machine.Stats().m_nJobsAccepted, 1); // the second marker's alone
    EXPECT_EQ(PrintState(nFirst), PS_WAITING);
    EXPECT_TRUE(m_prompts.m_arrShown.empty()) << m_prompts.m_arrShown.front();
    std::printf("[ progress ] box after %lld and %lld ms, longest window gaps %lld and %lld ms, "
                "closed %lld ms after the drawing came\n",
                Ms(*firstShown), Ms(*secondShown), Ms(firstGap), Ms(secondGap), Ms(closedAfter));
    m_pFrame->RunCommand(kBtnStop);
    EXPECT_TRUE(Within([&] { return !m_pFrame->Engine().JobRunning(); }));
}

// The plot settings change while a Start waits (their OK discards every drawing): the read
// under way is of the old settings and is dropped, but the waiting goes on for the drawing
// read again, and the Start goes ahead once it is there.
TEST_F(LoadProgressBoxTest, ASettingsChangeWhileAStartWaitsReadsAgainAndStarts) {
    ASSERT_TRUE(Within(
        [&] { return m_pFrame->Engine().CommandBarState().m_nMachineState == kStateReady; }));
    const uint64_t nTask = AddBehindAnother("marker.plt");
    ASSERT_TRUE(StartAndAwaitBox(nTask).has_value());
    ASSERT_FALSE(HasDrawing(nTask)) << "the reads ended too soon: the markers are too small";
    m_pFrame->Queue().DiscardAllDrawings();
    EXPECT_EQ(m_pFrame->Queue().WaitedLoad(), nTask);
    EXPECT_TRUE(Within([&] { return m_machine.Stats().m_nJobsAccepted >= 1; }));
    EXPECT_EQ(PrintState(nTask), PS_PRINTING);
    EXPECT_TRUE(Within([&] { return VisibleBox() == nullptr; }));
    EXPECT_TRUE(m_prompts.m_arrShown.empty()) << m_prompts.m_arrShown.front();
    m_pFrame->RunCommand(kBtnStop);
    EXPECT_TRUE(Within([&] { return !m_pFrame->Engine().JobRunning(); }));
}

// The bar's Start button without a running job prints the current task; its Stop button
// during the job stops the machine and switches automatic mode off.
TEST_F(MainWindowEndToEndTest, StartPrintsTheCurrentTaskStopEndsTheJobAndAutomaticMode) {
    m_settings.AutoStartEnable = 0;
    m_pFrame->Bar().ReleaseAutoButton();
    const std::string strPath = m_home.Path().string() + "/hand.plt";
    ASSERT_TRUE(test::WriteFileBytes(strPath, "IN;SP1;PU0,0;PD4000,0,4000,4000,0,4000,0,0;PU;"));
    m_pFrame->AddPaths({strPath});
    ASSERT_EQ(m_pFrame->TaskCount(), 1);
    m_pFrame->SetCurrentTaskIndex(0);
    ASSERT_TRUE(
        RunUntil([&] { return m_pFrame->Engine().CommandBarState().m_nMachineState == 1; }));

    m_pFrame->RunCommand(kBtnStart);
    ASSERT_TRUE(RunUntil([&] { return m_machine.Stats().m_nJobsFinished >= 1; }));
    EXPECT_EQ(m_machine.Stats().m_nJobsFinished, 1);
    EXPECT_EQ(m_pFrame->TaskCount(), 1); // an added task stays in its list

    // A second, slow job; Stop while it prints.
    sim::CSimTiming timing;
    timing.m_nBandPrintMs = 1500;
    m_machine.SetTiming(timing);
    ASSERT_TRUE(RunUntil([&] {
        const CCommandBarState state = m_pFrame->Engine().CommandBarState();
        return !state.m_bJobRunning && state.m_nMachineState == 1;
    }));
    TaskAt(m_pFrame->Doc(), 0)->m_nCopies = 1; // the first job used up the copy
    m_settings.AutoStartEnable = 1;            // as if the operator had ticked the box
    m_pFrame->RunCommand(kBtnStart);
    ASSERT_TRUE(RunUntil([&] {
        const CCommandBarState state = m_pFrame->Engine().CommandBarState();
        return state.m_bJobRunning && (state.m_nMachineState & 0x0F) == 4;
    }));
    m_pFrame->RunCommand(kBtnStop);
    EXPECT_EQ(m_settings.AutoStartEnable, 0);
    EXPECT_FALSE(m_pFrame->Bar().AutoTicked());
    EXPECT_TRUE(RunUntil([&] { return !m_pFrame->Engine().JobRunning(); }));
}

// While a job prints, the status bar says which task, which band, how many metres, how long
// and how many copies are left, and the printing row its progress. A Stop with bands left
// asks first, fails the job and never removes the automatic-folder file. With
// INKVALE_DIALOG_PICTURES naming a folder, the window is pictured mid-job there.
TEST_F(MainWindowEndToEndTest, JobFeedbackAndAStopThatAsksFirst) {
    sim::CSimTiming timing;
    timing.m_nBandPrintMs = 250;
    m_machine.SetTiming(timing);
    const std::string strMarker = m_settings.AutoDir + "long marker.plt";
    ASSERT_TRUE(
        test::WriteFileBytes(strMarker, "IN;SP1;PU0,0;PD40000,0,40000,4000,0,4000,0,0;PU;"));
    ASSERT_TRUE(RunUntil([&] { return m_pFrame->Engine().State().m_nBandsDone >= 2; }));
    m_pFrame->UpdateStatus();
    const QString job = m_pFrame->PaneText(CMainWindow::kPaneJob);
    EXPECT_TRUE(job.contains(QStringLiteral("long marker.plt"))) << job.toStdString();
    EXPECT_TRUE(job.contains(QStringLiteral(" m / 1.0 m"))) << job.toStdString();
    const QString row = m_pFrame->TaskList().item(0, 1)->text();
    EXPECT_TRUE(row.endsWith(QLatin1Char('%'))) << row.toStdString();
    const QString strPictures = qEnvironmentVariable("INKVALE_DIALOG_PICTURES");
    if (!strPictures.isEmpty()) {
        m_pFrame->resize(1280, 720);
        m_pFrame->show();
        EXPECT_TRUE(m_pFrame->grab().save(strPictures + "/status-bar-job.png"));
    }
    EXPECT_TRUE(m_pFrame->RunCommand(kBtnStop));
    EXPECT_EQ(m_prompts.m_nAsked, 1); // more than a few bands were left
    EXPECT_TRUE(RunUntil([&] { return !m_pFrame->Engine().JobRunning(); }));
    EXPECT_TRUE(std::filesystem::exists(strMarker));
    EXPECT_EQ(m_settings.AutoStartEnable, 0);
}

// A plotter that stops answering mid-job: within a few polls the printing row waits for it
// and the job line says since when; once it answers both show the progress again, and the
// job prints to its end.
TEST_F(MainWindowEndToEndTest, SilentPlotterIsShownAtOnceAndTheJobGoesOn) {
    m_pFrame->Engine().SetSilenceLimits({.m_poll = std::chrono::milliseconds(100)});
    sim::CSimTiming timing;
    timing.m_nBandPrintMs = 100;
    m_machine.SetTiming(timing);
    const std::string strMarker = m_settings.AutoDir + "long marker.plt";
    ASSERT_TRUE(
        test::WriteFileBytes(strMarker, "IN;SP1;PU0,0;PD40000,0,40000,4000,0,4000,0,0;PU;"));
    ASSERT_TRUE(RunUntil([&] { return m_pFrame->Engine().State().m_nBandsDone >= 2; }));
    const auto rowText = [&] {
        const QTableWidgetItem* pCell = m_pFrame->TaskList().item(0, 1);
        return pCell != nullptr ? pCell->text() : QString();
    };
    // The texts in the window's loaded translation.
    const QString waiting = QCoreApplication::translate("JobStatus", "等待绘图仪");
    const QStringList silentParts =
        QCoreApplication::translate("JobStatus", "，绘图仪自 %1 起无响应")
            .split(QStringLiteral("%1"));
    ASSERT_EQ(silentParts.size(), 2);
    const QString silentSince = QRegularExpression::escape(silentParts[0]) +
                                QStringLiteral("\\d\\d:\\d\\d:\\d\\d") +
                                QRegularExpression::escape(silentParts[1]) + QLatin1Char('$');
    m_machine.SetSilentFor(2000);
    ASSERT_TRUE(RunUntil([&] { return rowText() == waiting; })) << rowText().toStdString();
    const QString job = m_pFrame->PaneText(CMainWindow::kPaneJob);
    EXPECT_TRUE(job.contains(QRegularExpression(silentSince))) << job.toStdString();
    EXPECT_TRUE(job.startsWith(QStringLiteral("long marker.plt"))) << job.toStdString();
    ASSERT_TRUE(RunUntil([&] { return rowText().endsWith(QLatin1Char('%')); }))
        << rowText().toStdString();
    EXPECT_FALSE(
        m_pFrame->PaneText(CMainWindow::kPaneJob).contains(QRegularExpression(silentSince)));
    ASSERT_TRUE(RunUntil([&] { return m_machine.Stats().m_nJobsFinished == 1; }));
    EXPECT_EQ(m_machine.Stats().m_nBadBands, 0);
}

// Added files show their sizes, or why they cannot print, without a click: their drawings
// are read off the window thread.
TEST_F(MainWindowEndToEndTest, AddedFilesShowTheirSizesWithoutAClick) {
    m_settings.AutoPreview = 0;
    const std::string strPlt = m_home.File("a.plt");
    const std::string strBad = m_home.File("bad.plt");
    ASSERT_TRUE(test::WriteFileBytes(strPlt, "IN;SP1;PU0,0;PD8000,0,8000,4000;PU;"));
    ASSERT_TRUE(test::WriteFileBytes(strBad, "IN;PS0;"));
    const std::string strDxf = (test::CorpusDir() / "dxf" / "astm-parser-clo-box.dxf").string();
    m_pFrame->Queue().AddFiles({strPlt, strDxf, strBad});
    m_pFrame->RefreshTaskList();
    CTaskListView& list = m_pFrame->TaskList();
    ASSERT_TRUE(RunUntil([&] {
        return TaskAt(m_pFrame->Doc(), 0)->m_nMaxX > 0 && TaskAt(m_pFrame->Doc(), 1)->m_nMaxX > 0 &&
               TaskAt(m_pFrame->Doc(), 2)->m_problem.m_eId != EMsg::kNone;
    }));
    EXPECT_EQ(list.item(0, 3)->text().trimmed().toStdString(), "100 * 200");
    EXPECT_NE(list.item(1, 3)->text().toStdString(), "0 * 0");
    EXPECT_EQ(TaskAt(m_pFrame->Doc(), 2)->m_problem.m_eId, EMsg::kDrawingEmpty);
    EXPECT_FALSE(list.item(2, 3)->toolTip().isEmpty());
    EXPECT_TRUE(m_prompts.m_arrShown.empty()); // nothing pops up by itself

    // A manual-folder file shows its size too, but keeps no drawing until it is needed.
    ASSERT_TRUE(test::WriteFileBytes(m_settings.ManDir + "m.plt", "IN;SP1;PU0,0;PD4000,2000;PU;"));
    ASSERT_TRUE(RunUntil([&] {
        const CTaskList& manual = m_pFrame->Doc().m_arrManDir;
        return !manual.empty() && manual.front()->m_nMaxX == 4000;
    }));
    EXPECT_TRUE(m_pFrame->Doc().m_arrManDir.front()->m_arrCurves.empty());
}

// Each task is looked at as its drawing arrives: a drawing wider than the machine prints and
// a duplicate file carry a warning icon with the reason in their row, the preview's tooltip
// gives the figures, and the status bar adds up the queue. With 200 tasks, a change of the
// lists shows in the totals at once. With INKVALE_DIALOG_PICTURES naming a folder,
// the window is pictured there.
TEST_F(MainWindowEndToEndTest, PreflightWarningsInTheRowsAndQueueTotalsInTheStatusBar) {
    m_settings.AutoPreview = 0;
    const std::string strMarker = m_home.File("marker.plt");
    const std::string strCopy = m_home.File("marker copy.plt");
    const std::string strWide = m_home.File("wide.plt");
    const std::string strMarkerText = "IN;SP1;PU0,0;PD40000,0,40000,20000,0,20000,0,0;PU;";
    ASSERT_TRUE(test::WriteFileBytes(strMarker, strMarkerText));
    ASSERT_TRUE(test::WriteFileBytes(strCopy, strMarkerText));
    ASSERT_TRUE(test::WriteFileBytes(strWide, "IN;SP1;PU0,0;PD40000,0,40000,100000,0,0;PU;"));
    m_pFrame->Queue().AddFiles({strMarker, strCopy, strWide});
    ASSERT_TRUE(RunUntil([&] {
        return TaskAt(m_pFrame->Doc(), 0)->m_preflight.m_bDone &&
               TaskAt(m_pFrame->Doc(), 1)->m_preflight.m_bDone &&
               TaskAt(m_pFrame->Doc(), 2)->m_preflight.m_bDone;
    }));
    m_pFrame->RefreshTaskList();
    CTaskListView& list = m_pFrame->TaskList();
    EXPECT_TRUE(list.item(0, 0)->icon().isNull());
    EXPECT_TRUE(list.item(0, 0)->toolTip().isEmpty());
    EXPECT_FALSE(list.item(1, 0)->icon().isNull()); // the same contents as the first
    EXPECT_TRUE(list.item(1, 0)->toolTip().contains(QStringLiteral("marker.plt")));
    EXPECT_FALSE(list.item(2, 0)->icon().isNull()); // 2.5 m across a 2 m machine
    // The drawing's own width, the one the row and the preflight give.
    EXPECT_TRUE(list.item(2, 0)->toolTip().contains(QStringLiteral("2500")))
        << list.item(2, 0)->toolTip().toStdString();
    EXPECT_TRUE(TaskAt(m_pFrame->Doc(), 2)->m_preflight.Blocking());
    const QString totals = m_pFrame->PaneText(CMainWindow::kPaneQueue);
    EXPECT_TRUE(totals.startsWith(QStringLiteral("3 "))) << totals.toStdString();
    m_pFrame->SetCurrentTaskIndex(0);
    m_pFrame->SelectRow(0);
    EXPECT_TRUE(m_pFrame->View().toolTip().contains(QStringLiteral("1000 × 500 mm")))
        << m_pFrame->View().toolTip().toStdString();
    const QString strPictures = qEnvironmentVariable("INKVALE_DIALOG_PICTURES");
    if (!strPictures.isEmpty()) {
        m_pFrame->resize(1280, 720);
        m_pFrame->show();
        RunUntil([] { return false; }, std::chrono::milliseconds(300));
        EXPECT_TRUE(m_pFrame->grab().save(strPictures + "/preflight-list.png"));
    }

    // 200 tasks: the totals follow a change (the time it takes is printed, not asserted).
    const COnePage& looked = *TaskAt(m_pFrame->Doc(), 0);
    for (int i = 0; i < 197; ++i) {
        auto pTask = std::make_unique<COnePage>();
        pTask->m_strPath = m_home.File("t" + std::to_string(i) + ".plt");
        pTask->m_strName = "t" + std::to_string(i) + ".plt";
        pTask->m_preflight = looked.m_preflight;
        m_pFrame->Doc().m_arrOpened.push_back(std::move(pTask));
    }
    m_pFrame->RefreshTaskList();
    TaskAt(m_pFrame->Doc(), 0)->m_nCopies = 5;
    const auto tChange = std::chrono::steady_clock::now();
    m_pFrame->RefreshTaskList();
    const auto took = std::chrono::steady_clock::now() - tChange;
    EXPECT_TRUE(m_pFrame->PaneText(CMainWindow::kPaneQueue).startsWith(QStringLiteral("200 ")));
    std::printf("[ totals   ] 200 tasks: the list and its totals in %.1f ms\n",
                std::chrono::duration<double, std::milli>(took).count());
}

// ---- a task that leaves the lists while a dialog is open --------------------------------
// A modal dialog runs a nested event loop: the band sender's job end and the folder scans
// are handled inside it, and may delete the very task the dialog was opened for. Each
// command looks its task up again afterwards; run under AddressSanitizer these tests catch
// any use of the freed task.

class DialogWhileJobEndsTest : public MainWindowEndToEndTest {
protected:
    /// The marker of the automatic folder printing slowly, shown in the preview.
    uint64_t PrintingMarker() {
        sim::CSimTiming timing;
        timing.m_nBandPrintMs = 300;
        m_machine.SetTiming(timing);
        (void)WriteMarker();
        EXPECT_TRUE(RunUntil([&] { return m_pFrame->Engine().JobRunning(); }));
        const COnePage* pTask = TaskAt(m_pFrame->Doc(), 0);
        EXPECT_NE(pTask, nullptr);
        m_pFrame->SetCurrentTaskIndex(0);
        return pTask != nullptr ? pTask->m_nTaskId : 0;
    }
    bool TaskGone(uint64_t nTaskId) { return TaskById(m_pFrame->Doc(), nTaskId) == nullptr; }
};

constexpr const char* kTaskGoneText = "对话框打开期间该任务已被删除或替换，没有执行操作。";

TEST_F(DialogWhileJobEndsTest, SaveDialog) {
    const uint64_t nTaskId = PrintingMarker();
    m_prompts.m_strSaveAs = m_home.File("saved.plt");
    m_prompts.m_whileOpen = [&] { return TaskGone(nTaskId); };
    EXPECT_TRUE(m_pFrame->RunCommand(kCmdSaveHpgl));
    EXPECT_TRUE(m_prompts.m_bClosedInTime);
    EXPECT_EQ(m_prompts.m_arrShown, std::vector<std::string>{kTaskGoneText});
    EXPECT_FALSE(std::filesystem::exists(m_home.File("saved.plt")));
}

// The preview's split prompts are real input dialogs; a timer answers them once the job has
// ended and taken its task along, and closes the message that follows.
TEST_F(DialogWhileJobEndsTest, SplitPrompts) {
    for (const int nCommand : {CPreviewView::kCmdSplitFeed, CPreviewView::kCmdSplitWidth}) {
        const uint64_t nTaskId = PrintingMarker();
        std::vector<QString> messages;
        bool bAnswered = false;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            QWidget* pModal = QApplication::activeModalWidget();
            if (auto* pBox = qobject_cast<QMessageBox*>(pModal)) {
                messages.push_back(pBox->text());
                pBox->accept();
            } else if (auto* pInput = qobject_cast<QInputDialog*>(pModal);
                       pInput != nullptr && TaskGone(nTaskId)) {
                pInput->setDoubleValue(150);
                pInput->accept();
                bAnswered = true;
            }
        });
        timer.start(20);
        m_pFrame->View().RunCommand(nCommand);
        timer.stop();
        EXPECT_TRUE(bAnswered) << nCommand;
        EXPECT_EQ(messages, std::vector<QString>{QString::fromUtf8(kTaskGoneText)}) << nCommand;
        EXPECT_EQ(m_pFrame->TaskCount(), 0);
    }
}

// The operator starts a job the machine refuses as wider than it prints (automatic mode
// would pass over it); while that message is open, a new version of the file replaces the
// task.
TEST_F(DialogWhileJobEndsTest, RefusalMessage) {
    m_settings.AutoStartEnable = 0;
    m_pFrame->Bar().ReleaseAutoButton();
    m_settings.PaperLenMm = 3000; // the roll takes it, the carriage does not
    const std::string strMarker = m_settings.AutoDir + "wide.plt";
    ASSERT_TRUE(test::WriteFileBytes(strMarker, "IN;SP1;PU0,0;PD4000,100000;PU;"));
    ASSERT_TRUE(RunUntil([&] {
        return m_pFrame->TaskCount() == 1 &&
               m_pFrame->Engine().CommandBarState().m_nMachineState == kStateReady;
    }));
    uint64_t nTaskId = 0;
    m_prompts.m_whileOpen = [&] {
        if (nTaskId == 0) {
            nTaskId = TaskAt(m_pFrame->Doc(), 0)->m_nTaskId;
            EXPECT_TRUE(test::WriteFileBytes(strMarker, "IN;SP1;PU0,0;PD8000,0,8000,8000;PU;"));
        }
        return TaskGone(nTaskId);
    };
    m_pFrame->SetCurrentTaskIndex(0);
    m_pFrame->RunCommand(kBtnStart);
    // The new version waits in the list.
    EXPECT_TRUE(RunUntil([&] {
        return nTaskId != 0 && TaskGone(nTaskId) && m_pFrame->TaskCount() == 1 &&
               !m_pFrame->Engine().JobRunning();
    }));
    EXPECT_TRUE(m_prompts.m_bClosedInTime);
    EXPECT_EQ(m_prompts.m_arrShown.size(), 1u);
    EXPECT_EQ(m_machine.Stats().m_nJobsFinished, 0);
}

} // namespace
} // namespace inkvale
