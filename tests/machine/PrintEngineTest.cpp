// SPDX-License-Identifier: GPL-3.0-or-later
// The print engine against the simulator: whole jobs, the machine's refusals and faults,
// and the end of a job when the program closes.

#include "PrintEngineFixture.h"
#include "common/TestPaths.h"
#include "machine/engine/JobSetup.h"
#include "model/HpglWriter.h"

#include <chrono>

namespace inkvale::test {
namespace {

using sim::CSimFault;
using sim::ESimFault;
using namespace std::chrono_literals;

int CountWrites(const std::vector<sim::CSimFrameLog>& frames, uint8_t nAddress) {
    int n = 0;
    for (const auto& f : frames)
        n += (f.m_cKind == 'R' && f.m_bytes.size() > 2 && f.m_bytes[2] == nAddress) ? 1 : 0;
    return n;
}

void ExpectSameSheet(const sim::CSimSheetImage& printed, const sim::CSimSheetImage& expected) {
    ASSERT_FALSE(expected.Empty());
    EXPECT_EQ(printed.m_nWidth, expected.m_nWidth);
    EXPECT_EQ(printed.m_nHeight, expected.m_nHeight);
    EXPECT_TRUE(printed.m_pixels == expected.m_pixels) << "printed sheet differs";
    EXPECT_GT(expected.InkCount(), 0);
}

TEST_F(CPrintEngineTest, JobPrintsEveryBandAndReportsSuccess) {
    GoOnline();
    COnePage task = LineTask(8000, 6000); // 8 bands
    const CJobStartResult start = m_pEngine->StartPrintJob(task);
    ASSERT_TRUE(start.Ok());
    EXPECT_TRUE(start.m_arrMessages.empty());
    EXPECT_EQ(task.m_nPrintState, PS_PRINTING);
    EXPECT_TRUE(m_pEngine->JobRunning());
    EXPECT_EQ(m_host.WaitJobFinished(), kJobSuccess);
    EXPECT_FALSE(m_pEngine->JobRunning());
    EXPECT_TRUE(m_pEngine->WorkPage().m_arrCurves.empty());
    const CEngineState& state = m_pEngine->State();
    EXPECT_EQ(state.m_nBandCount, 8);
    EXPECT_EQ(state.m_nLastBandDone, 7);
    EXPECT_EQ(state.m_nBandsDone, 8);
    const sim::CSimStats stats = m_sim.Stats();
    EXPECT_EQ(stats.m_nJobsFinished, 1);
    EXPECT_EQ(stats.m_nBandsConfirmed, 8);
    EXPECT_EQ(stats.m_nBadBands, 0);
    ExpectSameSheet(m_sim.LastSheet(), ExpectedSheet());
    // The header carries JobWidth and BandCount.
    const auto headers = FramesOfKind('R');
    ASSERT_FALSE(headers.empty());
    EXPECT_EQ(headers[0][2], kRegJobHeader);
    EXPECT_EQ(static_cast<int32_t>(GetLe32(&headers[0][4])), state.m_nJobWidth.load());
    EXPECT_EQ(GetLe32(&headers[0][8]), 8u);
    EXPECT_EQ(m_pEngine->JoinFinishedJob().m_nResends, 0);
}

TEST_F(CPrintEngineTest, CopiesAreSeparateJobsAndProgressRestarts) {
    GoOnline();
    for (int nCopy = 0; nCopy < 2; ++nCopy) {
        // As the queue does, the next copy starts once the machine reports ready.
        ASSERT_TRUE(WaitFor([&] {
            return m_pEngine->Link().ReadStatus() == 0 && m_status.m_nMachineState == kStateReady;
        }));
        COnePage task = LineTask(4000, 3000);
        ASSERT_TRUE(m_pEngine->StartPrintJob(task).Ok());
        // LastBandDone starts again at 0 for every job.
        EXPECT_LE(m_pEngine->State().m_nBandsDone, 1);
        EXPECT_EQ(m_host.WaitJobFinished(), kJobSuccess);
    }
    EXPECT_EQ(m_sim.Stats().m_nJobsFinished, 2);
    EXPECT_EQ(CountWrites(m_sim.Frames(), kRegJobHeader), 2);
}

// The reply to the last band's confirmation is lost, so the host confirms again while the
// machine finishes the job and goes back to ready: printed, unless the operator sent Stop
// in the meantime.
TEST_F(CPrintEngineTest, ReadyAfterALostLastConfirmationIsPrintedOnlyWithoutStop) {
    sim::CSimTiming timing;
    timing.m_nFinishMs = 800; // time to press Stop while the host confirms again
    m_sim.SetTiming(timing);
    for (const bool bStop : {false, true}) {
        GoOnline();
        ASSERT_TRUE(WaitFor([&] {
            return m_pEngine->Link().ReadStatus() == 0 && m_status.m_nMachineState == kStateReady;
        }));
        const int nConfirmed = m_sim.Stats().m_nBandsConfirmed;
        m_sim.AddFault({ESimFault::Lose, 'R', kRegBandDone, 1, 0, 7});
        COnePage task = LineTask(8000, 6000); // 8 bands
        ASSERT_TRUE(m_pEngine->StartPrintJob(task).Ok());
        if (bStop) {
            ASSERT_TRUE(WaitFor([&] { return m_sim.Stats().m_nBandsConfirmed == nConfirmed + 8; }));
            ASSERT_TRUE(m_pEngine->JobRunning());
            m_pEngine->State().m_nOperatorStop = 1;
            (void)m_pEngine->Link().Commu().SendAction(kActStop);
        }
        EXPECT_EQ(m_host.WaitJobFinished(), bStop ? kJobFailure : kJobSuccess) << bStop;
        EXPECT_EQ(m_sim.Stats().m_nBandsConfirmed, nConfirmed + 8);
        (void)m_pEngine->JoinFinishedJob();
    }
}

TEST_F(CPrintEngineTest, RefusedHeaderStartsNoSenderAndSaysNothing) {
    GoOnline();
    m_sim.AddFault({ESimFault::RefuseJob, 0, -1, 1, 1, 0});
    COnePage task = LineTask(4000, 3000);
    const CJobStartResult start = m_pEngine->StartPrintJob(task);
    EXPECT_EQ(start.m_nCode, -1);
    EXPECT_TRUE(start.m_arrMessages.empty());
    EXPECT_EQ(start.m_strDiag, "the machine did not accept the job header");
    EXPECT_EQ(task.m_nPrintState, PS_WAITING);
    EXPECT_FALSE(m_pEngine->JobRunning());
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(CountWrites(m_sim.Frames(), kRegBandRequest), 0);
    EXPECT_TRUE(m_host.Messages().empty());
}

TEST_F(CPrintEngineTest, OverWideJobIsRefusedWithItsMessage) {
    GoOnline();
    m_sim.ClearFrames();
    m_settings.Language = 1;
    COnePage task = LineTask(4000, 100000); // 2.5 m across the roll
    const CJobStartResult start = m_pEngine->StartPrintJob(task);
    EXPECT_EQ(start.m_nCode, -1);
    EXPECT_TRUE(start.Says(EMsg::kJobTooWide));
    EXPECT_EQ(m_host.WaitJobFinished(1s), kJobFailure);
    EXPECT_TRUE(m_sim.Frames().empty()); // no job header went out
    EXPECT_FALSE(m_pEngine->JobRunning());
}

TEST_F(CPrintEngineTest, DroppedConnectionMidBandResendsTheBand) {
    GoOnline();
    // The connection goes away in the middle of the second band's data (each band of this
    // job takes several 600-byte chunks).
    COnePage task = LineTask(8000, 20000);
    ASSERT_TRUE(m_pEngine->StartPrintJob(task).Ok());
    ASSERT_TRUE(WaitFor([&] { return m_pEngine->State().m_nBandsDone >= 1; }));
    m_sim.AddFault({ESimFault::Drop, 'D', -1, 1, 0, 1});
    EXPECT_EQ(m_host.WaitJobFinished(), kJobSuccess);
    EXPECT_GE(m_pEngine->JoinFinishedJob().m_nResends, 1);
    EXPECT_EQ(m_sim.Stats().m_nBadBands, 0);
    ExpectSameSheet(m_sim.LastSheet(), ExpectedSheet());
}

TEST_F(CPrintEngineTest, LostReplyToTheLastConfirmationStillFinishes) {
    GoOnline();
    // The machine takes the last confirmation and ends the job, but its reply is garbled;
    // asked again it refuses (it has no job any more) and reports ready.
    m_sim.AddFault({ESimFault::Garble, 'R', kRegBandDone, 1, 2, 7});
    COnePage task = LineTask(8000, 6000);
    ASSERT_TRUE(m_pEngine->StartPrintJob(task).Ok());
    EXPECT_EQ(m_host.WaitJobFinished(), kJobSuccess);
    EXPECT_EQ(m_pEngine->State().m_nLastBandDone, 7);
    EXPECT_GE(CountWrites(m_sim.Frames(), kRegBandDone), 9); // asked again after the garble
}

TEST_F(CPrintEngineTest, RefusedConfirmationOfAStoppedJobFailsIt) {
    GoOnline();
    COnePage task = LineTask(8000, 6000);
    ASSERT_TRUE(m_pEngine->StartPrintJob(task).Ok());
    ASSERT_TRUE(WaitFor([&] { return m_pEngine->State().m_nBandsDone >= 2; }));
    // Stopped on the panel between data and confirmation of some band: every further
    // confirmation is refused with the ready state.
    m_sim.AddFault({ESimFault::Garble, 'D', -1, 1, 0, 0});
    m_sim.PanelAction(kActStop);
    EXPECT_EQ(m_host.WaitJobFinished(), kJobFailure);
    EXPECT_LT(m_pEngine->State().m_nBandsDone, 8);
}

TEST_F(CPrintEngineTest, PausedMachineAnswersBusyUntilResumed) {
    GoOnline();
    COnePage task = LineTask(8000, 6000);
    ASSERT_TRUE(m_pEngine->StartPrintJob(task).Ok());
    ASSERT_TRUE(WaitFor([&] { return m_pEngine->State().m_nBandsDone >= 2; }));
    CSettings& settings = m_settings;
    ApplyManualOutcome(ButtonClicked(kBtnPause, m_pEngine->CommandBarState()), *m_pCommu, settings);
    EXPECT_EQ(m_sim.State(), kStatePaused);
    const int32_t nDoneAtPause = m_pEngine->State().m_nBandsDone;
    std::this_thread::sleep_for(300ms);
    // While paused no band gets through and the sender keeps asking.
    EXPECT_LE(m_pEngine->State().m_nBandsDone, nDoneAtPause + 1);
    EXPECT_TRUE(m_pEngine->JobRunning());
    EXPECT_EQ(m_pEngine->CommandBarState().m_nMachineState, kStatePaused);
    ApplyManualOutcome(ButtonClicked(kBtnStart, m_pEngine->CommandBarState()), *m_pCommu, settings);
    EXPECT_EQ(m_host.WaitJobFinished(), kJobSuccess);
    ExpectSameSheet(m_sim.LastSheet(), ExpectedSheet());
}

TEST_F(CPrintEngineTest, StopAtTheRequestOfBandFiveFailsTheJob) {
    GoOnline();
    COnePage task = LineTask(20000, 3000); // 20 bands
    // The sixth band request (band 5) is answered after the operator pressed Stop.
    m_sim.AddFault({ESimFault::StopJob, 'R', kRegBandRequest, 1, 0, 5});
    ASSERT_TRUE(m_pEngine->StartPrintJob(task).Ok());
    EXPECT_EQ(m_pEngine->State().m_nBandCount, 20);
    EXPECT_EQ(m_host.WaitJobFinished(), kJobFailure);
    EXPECT_EQ(m_pEngine->State().m_nBandsDone, 5);
    EXPECT_EQ(m_sim.Stats().m_nJobsAborted, 1);
    EXPECT_FALSE(m_pEngine->JobRunning());
}

TEST_F(CPrintEngineTest, StopButtonDuringAJobTurnsAutomaticModeOff) {
    GoOnline();
    m_settings.AutoStartEnable = 1;
    COnePage task = LineTask(20000, 3000);
    ASSERT_TRUE(m_pEngine->StartPrintJob(task).Ok());
    ASSERT_TRUE(WaitFor([&] { return m_pEngine->State().m_nBandsDone >= 3; }));
    const CManualOutcome stop = ButtonClicked(kBtnStop, m_pEngine->CommandBarState());
    EXPECT_EQ(stop.m_nAction, kActStop);
    ApplyManualOutcome(stop, *m_pCommu, m_settings);
    EXPECT_EQ(m_settings.AutoStartEnable, 0);
    EXPECT_EQ(m_host.WaitJobFinished(), kJobFailure);
    EXPECT_LT(m_pEngine->State().m_nBandsDone, 20);
}

TEST_F(CPrintEngineTest, VanishedMachineJobEndsWithinASecondOfClosing) {
    GoOnline();
    COnePage task = LineTask(20000, 3000);
    ASSERT_TRUE(m_pEngine->StartPrintJob(task).Ok());
    ASSERT_TRUE(WaitFor([&] { return m_pEngine->State().m_nBandsDone >= 3; }));
    m_server.Stop(); // the machine is gone: every connect is refused from now on
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(m_pEngine->JobRunning()); // the job keeps trying until the program closes
    const auto tClose = std::chrono::steady_clock::now();
    m_settings.m_nClosing = 1;
    EXPECT_EQ(m_host.WaitJobFinished(2s), kJobFailure);
    EXPECT_LT(std::chrono::steady_clock::now() - tClose, 1s);
}

// A machine switched off mid-job: the job keeps trying for the link-lost limit, then ends
// as failed and says why, instead of waiting without end.
TEST_F(CPrintEngineTest, VanishedMachineFailsTheJobAfterTheLinkLostLimit) {
    GoOnline();
    m_pEngine->SetLinkLostLimit(1500ms);
    COnePage task = LineTask(20000, 3000);
    ASSERT_TRUE(m_pEngine->StartPrintJob(task).Ok());
    ASSERT_TRUE(WaitFor([&] { return m_pEngine->State().m_nBandsDone >= 3; }));
    const auto tGone = std::chrono::steady_clock::now();
    m_server.Stop();
    EXPECT_EQ(m_host.WaitJobFinished(10s), kJobFailure);
    EXPECT_GE(std::chrono::steady_clock::now() - tGone, 1500ms);
    (void)m_pEngine->JoinFinishedJob();
    EXPECT_EQ(m_pEngine->LastJobError(), "the machine has not answered for 1 s");
}

TEST_F(CPrintEngineTest, SilentMachineDuringTheWaitForPrintingEndsOnClosing) {
    GoOnline();
    sim::CSimTiming timing;
    timing.m_nStartMs = 60000; // the machine never starts printing
    m_sim.SetTiming(timing);
    COnePage task = LineTask(4000, 3000);
    ASSERT_TRUE(m_pEngine->StartPrintJob(task).Ok());
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(m_pEngine->JobRunning());
    const auto tClose = std::chrono::steady_clock::now();
    m_settings.m_nClosing = 1;
    EXPECT_EQ(m_host.WaitJobFinished(2s), kJobFailure);
    EXPECT_LT(std::chrono::steady_clock::now() - tClose, 1s);
}

TEST_F(CPrintEngineTest, MachineBackInReadyBeforePrintingFailsTheJob) {
    GoOnline();
    sim::CSimTiming timing;
    timing.m_nStartMs = 60000;
    m_sim.SetTiming(timing);
    COnePage task = LineTask(4000, 3000);
    ASSERT_TRUE(m_pEngine->StartPrintJob(task).Ok());
    std::this_thread::sleep_for(30ms);
    m_sim.PanelAction(kActStop);
    EXPECT_EQ(m_host.WaitJobFinished(), kJobFailure);
    EXPECT_EQ(CountWrites(m_sim.Frames(), kRegBandRequest), 0);
}

TEST_F(CPrintEngineTest, BackupAndHistoryAtJobStart) {
    GoOnline();
    CScratchDir dir;
    m_settings.BackupPrintedFiles = 1;
    m_settings.BackupDir = dir.Path().string() + "/";
    m_settings.HistoryEnable = 1;
    m_settings.HistoryFile = dir.File("history.csv");
    COnePage task = LineTask(4000, 3000);
    ASSERT_TRUE(m_pEngine->StartPrintJob(task).Ok());
    EXPECT_EQ(m_host.WaitJobFinished(), kJobSuccess);
    std::tm local{};
    localtime_r(&m_clock.m_tFixed, &local);
    const std::string strBackup = BackupFileName(m_settings.BackupDir, "line.plt", local);
    // The backup holds the task's own drawing, not the shifted working copy.
    EXPECT_EQ(ReadFileBytes(strBackup), FormatHpgl(task));
    const std::string strHistory = ReadFileBytes(m_settings.HistoryFile);
    EXPECT_NE(strHistory.find(",/tmp/line.plt,1,len="), std::string::npos) << strHistory;
}

TEST_F(CPrintEngineTest, EngineThreadsTickAndEndOnClosing) {
    m_pEngine->StartEngineThreads();
    CEngineThreads& threads = m_pEngine->Services();
    EXPECT_TRUE(threads.MonitorRunning());
    ASSERT_TRUE(WaitFor([&] { return m_host.CountOf(kMsgScanAutoDir) >= 1; }));
    EXPECT_GE(m_host.CountOf(kMsgScanManDir), 1);
    EXPECT_GE(m_host.CountOf(kMsgStartNextTask), 1);
    // The monitor found the machine and read its block.
    ASSERT_TRUE(WaitFor([&] { return m_pEngine->State().m_nMachineOnline == 1; }));
    const auto tClose = std::chrono::steady_clock::now();
    m_settings.m_nClosing = 1;
    ASSERT_TRUE(WaitFor(
        [&] {
            return !threads.MonitorRunning() && !threads.SchedulerRunning() &&
                   !threads.FolderPollRunning();
        },
        1s));
    EXPECT_LT(std::chrono::steady_clock::now() - tClose, 1s);
}

TEST_F(CPrintEngineTest, SchedulerIsQuietWhileAJobRuns) {
    m_status.m_bJobRunning = true; // JobThread set
    CEngineThreads& threads = m_pEngine->Services();
    for (int i = 0; i < 3; ++i)
        threads.SchedulerTurn();
    EXPECT_EQ(m_host.CountOf(kMsgStartNextTask), 0);
    m_status.m_bJobRunning = false;
    threads.SchedulerTurn();
    EXPECT_EQ(m_host.CountOf(kMsgStartNextTask), 1);
}

TEST_F(CPrintEngineTest, MonitorGoesOfflineOnAFailedPollAndOnlineOnAParameterRead) {
    ASSERT_TRUE(m_sim.SetParam("HeadCombination", 3));
    CEngineThreads& threads = m_pEngine->Services();
    CEngineState& state = m_pEngine->State();
    threads.MonitorTurn(); // offline: a parameter read
    EXPECT_EQ(state.m_nMachineOnline, 1);
    EXPECT_EQ(m_params.HeadCombination(), 3);
    // Online: the 51st turn polls the state, then the position.
    m_sim.ClearFrames();
    for (int i = 0; i < 51; ++i)
        threads.MonitorTurn();
    EXPECT_TRUE(FramesOfKind('Q').empty());
    threads.MonitorTurn();
    const auto reads = FramesOfKind('Q');
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(reads[0], (std::vector<uint8_t>{0x04, 0x51, 0x64, 0x01}));
    EXPECT_EQ(reads[1], (std::vector<uint8_t>{0x04, 0x51, 0x5C, 0x08}));
    EXPECT_EQ(m_status.m_nMachineState, kStateReady);
    EXPECT_EQ(state.m_nPosFresh, 1);
    // The next poll fails: offline, state "no answer".
    m_sim.AddFault({ESimFault::Garble, 'Q', kRegState, 1, 0, 0});
    for (int i = 0; i < 52; ++i)
        threads.MonitorTurn();
    EXPECT_EQ(state.m_nMachineOnline, 0);
    EXPECT_EQ(m_status.m_nMachineState, kStateNoAnswer);
    // A successful parameter read brings it back.
    threads.MonitorTurn();
    EXPECT_EQ(state.m_nMachineOnline, 1);
}

TEST_F(CPrintEngineTest, ForeignJobOnTheMachineSlowsThePollingToSixSeconds) {
    CEngineThreads& threads = m_pEngine->Services();
    threads.MonitorTurn(); // online
    m_sim.ForceState(kStatePrinting, 60000);
    for (int i = 0; i < 51; ++i)
        threads.MonitorTurn();
    m_clock.m_dScale = 0.001;
    const int64_t nBefore = m_clock.m_nSleptMs;
    threads.MonitorTurn(); // status 4, then the long pause, then the position
    EXPECT_EQ(m_status.m_nMachineState, kStatePrinting);
    EXPECT_EQ(m_clock.m_nSleptMs - nBefore, 5 + 3000 + 3000 + 3 + 3);
    EXPECT_EQ(m_pEngine->State().m_nPosFresh, 1);
}

TEST_F(CPrintEngineTest, FailedStatusReadDuringAJobChangesNothing) {
    GoOnline();
    m_status.m_nMachineState = kStatePrinting;
    m_status.m_bJobRunning = true;
    m_sim.AddFault({ESimFault::Garble, 'Q', kRegState, 1, 0, 0});
    EXPECT_EQ(m_pEngine->Link().ReadStatus(), -1);
    EXPECT_EQ(m_pEngine->State().m_nMachineOnline, 1);
    EXPECT_EQ(m_status.m_nMachineState, kStatePrinting);
    m_status.m_bJobRunning = false;
}

} // namespace
} // namespace inkvale::test
