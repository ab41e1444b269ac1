// SPDX-License-Identifier: GPL-3.0-or-later
// The queue, the hot folders and the print engine together against the simulated machine on
// loopback: the window thread is the test's own loop, the engine's threads reach it through
// a blocking hand-off as in the program, and every wait of the engine is shortened.

#include "QueueTestSupport.h"
#include "common/TestPaths.h"
#include "config/SettingsStore.h"
#include "core/LoopHandOff.h"
#include "machine/SimFixture.h"
#include "raster/RasterBandSource.h"

#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

extern char** environ;

namespace inkvale::test {
namespace {

using CSteady = std::chrono::steady_clock;

/// Waits shortened twentyfold; the wall clock stands still, so every job of a test starts
/// in the same second (as quick jobs of small drawings do).
class CFastClock : public IEngineClock {
public:
    void SleepMs(int nMs) override {
        std::this_thread::sleep_for(std::chrono::microseconds(std::max(nMs * 50, 50)));
    }
    std::time_t Now() override { return 1'781'000'000; }
    std::time_t LabelTime() override { return 1'781'000'000; }
};

class QueueEndToEnd : public CSimCommuTest {
protected:
    void SetUp() override {
        std::ofstream(m_home.File("Inkvale.ini")) << "[Para]\nMachineIP=16777343\n";
        ASSERT_TRUE(LoadSettings(m_settings, m_params, m_home.Path().string() + "/"));
        m_params.ResetMachineParams();
        m_settings.PltMaxSizeMb = 30;
        m_settings.PrtFileExtension = "*.plt;*.hpg;";
        m_settings.BackupPrintedFiles = 1;
        m_settings.HistoryEnable = 1;
        m_settings.SpAutoClean = 0;
        m_settings.PrintFileName = 0;
        CSimCommuTest::SetUp();
        sim::CSimTiming timing;
        timing.m_nStartMs = 20;
        timing.m_nFinishMs = 20;
        m_sim.SetTiming(timing);
        // As the application core wires them: the queue is the engine's host, reached
        // through the loop's hand-off.
        m_pQueue = std::make_unique<CTaskQueue>(m_doc, m_settings, m_view);
        m_pHost = std::make_unique<CHandOffEngineHost>(*m_pQueue, m_handOff);
        m_pEngine = std::make_unique<CPrintEngine>(m_settings, m_params, *m_pCommu, m_status,
                                                   *m_pHost, m_raster, m_clock);
        m_pQueue->SetEngine(*m_pEngine);
        m_pEngine->StartEngineThreads();
    }
    void TearDown() override {
        m_settings.m_nClosing = 1;
        m_handOff.Stop();
        m_pEngine->Shutdown();
        CSimCommuTest::TearDown();
    }

    /// Runs the window thread's loop until done() holds or the time is up.
    template <class Done>
    bool RunUntil(Done done, std::chrono::seconds limit = std::chrono::seconds(40)) {
        const auto tEnd = CSteady::now() + limit;
        while (!done()) {
            if (CSteady::now() > tEnd)
                return false;
            m_handOff.RunOnce(std::chrono::milliseconds(5));
        }
        return true;
    }

    CScratchDir m_home;
    CSettings m_settings;
    CMachineParams m_params;
    CFastClock m_clock;
    CRasterBandFactory m_raster;
    CTaskLists m_doc;
    CFakeQueueView m_view;
    std::unique_ptr<CTaskQueue> m_pQueue;
    CLoopHandOff m_handOff{m_settings};
    std::unique_ptr<CHandOffEngineHost> m_pHost;
    std::unique_ptr<CPrintEngine> m_pEngine;
};

/// Starts `sh -c script` with the arguments; the child's id.
pid_t Spawn(const std::string& strScript, const std::vector<std::string>& args) {
    std::vector<std::string> all{"sh", "-c", strScript, "sh"};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    return pid;
}

// Another process copies a drawing into the automatic folder in three slow pieces, holding
// the file open in between. The scans must not take it before the writer closed it; then it
// prints by itself and leaves the folder.
TEST_F(QueueEndToEnd, FileCopiedSlowlyIntoTheAutomaticFolderPrintsOnceCompleteThenGoes) {
    m_settings.AutoStartEnable = 1;
    const std::string strPath = m_settings.AutoDir + "slow.plt";
    const std::string strDrawing = "IN;SP1;PU0,0;PD4000,0,4000,4000,0,4000,0,0;PU;";
    const pid_t pid = Spawn("exec 3>\"$1\"; printf 'IN;SP1;PU0,0;' >&3; sleep 0.6; "
                            "printf 'PD4000,0,4000,4000,' >&3; sleep 0.6; "
                            "printf '0,4000,0,0;PU;' >&3; exec 3>&-",
                            {strPath});
    ASSERT_GT(pid, 0);
    bool bTakenEarly = false;
    bool bWriterDone = false;
    const bool bDone = RunUntil([&] {
        if (!bWriterDone) {
            int nStatus = 0;
            bWriterDone = ::waitpid(pid, &nStatus, WNOHANG) == pid;
            // While the writer runs the file must not be a task.
            if (!bWriterDone && !m_doc.m_arrAutoDir.empty() &&
                m_doc.m_arrAutoDir[0]->m_nFileSize != static_cast<int64_t>(strDrawing.size()))
                bTakenEarly = true;
        }
        return bWriterDone && m_view.m_nJobsEnded >= 1 && !m_pEngine->JobRunning() &&
               m_doc.m_arrAutoDir.empty();
    });
    if (!bWriterDone)
        ::waitpid(pid, nullptr, 0);
    ASSERT_TRUE(bDone) << "jobs finished " << m_view.m_nJobsEnded;
    EXPECT_FALSE(bTakenEarly);
    EXPECT_EQ(m_view.m_nJobFailures, 0);
    EXPECT_FALSE(std::filesystem::exists(strPath));
    const sim::CSimStats stats = m_sim.Stats();
    EXPECT_EQ(stats.m_nJobsAccepted, 1);
    EXPECT_EQ(stats.m_nJobsFinished, 1);
    EXPECT_GT(stats.m_nBandsConfirmed, 0);
    EXPECT_EQ(stats.m_nBadBands, 0);
    // The one job left one backup and one history row.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_settings.BackupDir),
                            std::filesystem::directory_iterator()),
              1);
}

int CountLines(const std::string& strPath) {
    std::ifstream in(strPath);
    int n = 0;
    for (std::string line; std::getline(in, line);)
        n += line.empty() ? 0 : 1;
    return n;
}

// A queued task with three copies prints three jobs; each job start leaves a backup of the
// task's drawing and a row in the print history, even when all start in the same second.
TEST_F(QueueEndToEnd, ThreeCopiesLeaveThreeBackupsAndThreeHistoryRows) {
    const std::string strPath = m_home.File("three.plt");
    ASSERT_TRUE(WriteFileBytes(strPath, "IN;SP1;PU0,0;PD2000,0,2000,2000;PU;"));
    m_settings.AutoDelFinish = 0; // the printed task stays in its list, to be looked at
    m_pQueue->AddFiles({strPath});
    ASSERT_EQ(m_doc.m_arrOpened.size(), 1u);
    SelectTaskByRow(m_doc, 0);
    ChangeCopies(m_doc, true);
    ChangeCopies(m_doc, true);
    m_pQueue->QueueSelected(true);
    const COnePage& task = *m_doc.m_arrOpened[0];
    const bool bDone = RunUntil([&] {
        return task.m_nCopies == 0 && !m_pEngine->JobRunning() && m_view.m_nJobsEnded == 3;
    });
    ASSERT_TRUE(bDone) << "copies left " << task.m_nCopies;
    EXPECT_EQ(task.m_nPrintState, PS_WAITING);
    EXPECT_EQ(m_view.m_nJobFailures, 0);
    EXPECT_EQ(m_sim.Stats().m_nJobsFinished, 3);
    std::vector<std::string> backups;
    for (const auto& entry : std::filesystem::directory_iterator(m_settings.BackupDir))
        backups.push_back(entry.path().filename().string());
    ASSERT_EQ(backups.size(), 3u);
    for (const std::string& name : backups)
        EXPECT_TRUE(name.ends_with("_three.plt")) << name;
    EXPECT_EQ(CountLines(m_settings.HistoryFile), 3);
    // The task stays (finished, copies 0) and its file stays on disk.
    EXPECT_EQ(m_doc.m_arrOpened.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(strPath));
}

} // namespace
} // namespace inkvale::test
