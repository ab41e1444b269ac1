// SPDX-License-Identifier: GPL-3.0-or-later
// `inkvale-cli print` and `resume` around the job ledger, against the simulator on a
// loopback address: one program per home, nothing printed while an unfinished job waits,
// copies owed printed after the resumed copy, a machine still in a dead job said at once,
// the last progress line of a good print, and a ledger that cannot be written.

#include "SimFixture.h"
#include "common/TestPaths.h"
#include "config/InstanceLock.h"
#include "machine/engine/JobJournal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <random>
#include <string>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#ifdef INKVALE_CLI_PATH

namespace inkvale::test {
namespace {

using namespace std::chrono_literals;
using CClock = std::chrono::steady_clock;

struct CCliRun {
    pid_t m_nPid = -1;
    std::string m_strErr;
};

// Starts inkvale-cli with its stderr (and stdout) in a file; bounded by timeout(1).
CCliRun StartCli(const std::vector<std::string>& args, const std::string& strLog) {
    std::fflush(stdout);
    std::fflush(stderr);
    CCliRun run;
    run.m_strErr = strLog;
    run.m_nPid = fork();
    if (run.m_nPid != 0)
        return run;
    std::vector<std::string> all = {"/usr/bin/timeout", "120", INKVALE_CLI_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    if (std::freopen(strLog.c_str(), "w", stderr) == nullptr || ::dup2(2, 1) < 0)
        _exit(126);
    ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
    ::execv(argv[0], argv.data());
    _exit(127);
}

// The exit status, -1 for a signal; the process is killed (and the test fails) past 150 s.
// The wait is the process's own end, not a poll.
int WaitCli(const CCliRun& run) {
    auto ended = std::async(std::launch::async, [nPid = run.m_nPid] {
        int nStatus = 0;
        while (::waitpid(nPid, &nStatus, 0) < 0 && errno == EINTR) {
        }
        return nStatus;
    });
    if (ended.wait_for(150s) != std::future_status::ready) {
        ::kill(run.m_nPid, SIGKILL);
        ADD_FAILURE() << "inkvale-cli did not end within its bound";
        (void)ended.get();
        return -2;
    }
    const int nStatus = ended.get();
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
}

// Whether the process has ended, leaving its status to WaitCli.
bool Ended(pid_t nPid) {
    siginfo_t info{};
    return ::waitid(P_PID, static_cast<id_t>(nPid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid != 0;
}

class CliLedger : public ::testing::Test {
protected:
    void SetUp() override {
        sim::CSimTiming timing;
        timing.m_nStartMs = 20;
        timing.m_nFinishMs = 20;
        timing.m_nBandPrintMs = 15;
        m_sim.SetTiming(timing);
        m_sim.SetKeepLog(false);
        std::string strError;
        for (int nTry = 0; nTry < 20 && !m_bListening; ++nTry) {
            m_nHost = 2 + (getpid() * 3 + nTry * 11) % 250;
            m_bListening =
                m_server.Start("127.0.0." + std::to_string(m_nHost), kMachinePort, &strError);
        }
        ASSERT_TRUE(m_bListening) << strError;
        const uint32_t nIp = 127u | (uint32_t(m_nHost) << 24);
        std::ofstream(m_home.File("Inkvale.ini"))
            << "[Para]\nMachineIP=" << nIp << "\nPrintFileName=0\nLanguage=1\n";
        m_strMarker = m_home.File("marker.plt");
        std::string s = "IN;SP1;";
        for (int i = 0; i < 40; ++i)
            s += "PU" + std::to_string(400 + i * 600) + ",300;PD" + std::to_string(900 + i * 600) +
                 ",3000;";
        std::ofstream(m_strMarker) << s << "PU0,0;";
    }
    void TearDown() override { m_server.Stop(); }

    std::vector<std::string> Args(std::vector<std::string> tail) const {
        tail.insert(tail.begin(), {"--home", m_home.Path().string()});
        return tail;
    }
    int Run(std::vector<std::string> tail, std::string* pOut = nullptr) {
        const std::string strLog = m_home.File("cli" + std::to_string(m_nRuns++) + ".txt");
        const int n = WaitCli(StartCli(Args(std::move(tail)), strLog));
        if (pOut != nullptr)
            *pOut = ReadFileBytes(strLog);
        return n;
    }
    std::string JobsDir() const { return m_home.Path().string() + "/Jobs/"; }

    sim::CSimMachine m_sim;
    sim::CSimServer m_server{m_sim};
    CScratchDir m_home;
    std::string m_strMarker;
    int m_nHost = 2;
    int m_nRuns = 0;
    bool m_bListening = false;
};

// One program per home: a print on a home another program holds is refused, and says who.
TEST_F(CliLedger, PrintRefusedOnAHomeAnotherProgramDrives) {
    const CInstanceLock held = CInstanceLock::Acquire(m_home.Path().string());
    ASSERT_TRUE(held.Acquired());
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"print", m_strMarker}, {"resume"}, {"jobs", "--discard", "x"}}) {
        std::string strOut;
        EXPECT_EQ(Run(args, &strOut), 1) << strOut;
        EXPECT_NE(strOut.find("is used by"), std::string::npos) << strOut;
        EXPECT_NE(strOut.find(std::to_string(getpid())), std::string::npos) << strOut;
    }
    EXPECT_EQ(m_sim.Stats().m_nJobsAccepted, 0);
    // Read-only commands need no lock.
    EXPECT_EQ(Run({"info", m_strMarker}), 0);
}

// --copies 3 stopped during copy 2: the ledger owes one more copy, nothing else prints
// meanwhile, and resume finishes copy 2 and then prints copy 3; a second resume has
// nothing to do. The last progress line of a good run shows every band.
TEST_F(CliLedger, CopiesOwedPrintAfterTheResumedCopy) {
    const CCliRun print =
        StartCli(Args({"print", m_strMarker, "--copies", "3", "--link-wait", "2"}),
                 m_home.File("print.txt"));
    ASSERT_TRUE(m_sim.WaitUntil([&] { return m_sim.Stats().m_nJobsFinished == 1; }));
    const int nFirstCopy = m_sim.Stats().m_nBandsConfirmed;
    ASSERT_TRUE(m_sim.WaitUntil([&] {
        const sim::CSimStats st = m_sim.Stats();
        return st.m_nJobsAccepted == 2 && st.m_nBandsConfirmed >= nFirstCopy + 3;
    }));
    ASSERT_TRUE(m_sim.WaitUntil([&] { return m_sim.State() == kStatePrinting; }));
    m_sim.ForceState(kStateCarriageTimeout, 300);
    ASSERT_EQ(WaitCli(print), 1) << ReadFileBytes(print.m_strErr);
    EXPECT_NE(ReadFileBytes(print.m_strErr).find("'inkvale-cli resume' continues it"),
              std::string::npos);
    const std::vector<std::string> jobs = CJobJournal::ListJobs(JobsDir());
    ASSERT_EQ(jobs.size(), 1u);
    const CJobLoad load = CJobJournal::LoadRecord(jobs[0]);
    ASSERT_TRUE(load.Ok()) << load.m_strDiag;
    EXPECT_EQ(load.m_record.m_nCopiesOwed, 1);

    // Another file waits behind the unfinished job.
    std::string strOut;
    EXPECT_EQ(Run({"print", m_strMarker}, &strOut), 1);
    EXPECT_NE(strOut.find("did not finish"), std::string::npos) << strOut;
    EXPECT_EQ(m_sim.Stats().m_nJobsAccepted, 2);

    ASSERT_TRUE(m_sim.WaitUntil([&] { return m_sim.State() == kStateReady; }));
    ASSERT_EQ(Run({"resume"}, &strOut), 0) << strOut;
    EXPECT_NE(strOut.find("still owed"), std::string::npos) << strOut;
    const sim::CSimStats st = m_sim.Stats();
    EXPECT_EQ(st.m_nJobsFinished, 3); // copy 1, the rest of copy 2, copy 3
    EXPECT_EQ(st.m_nBadBands, 0);
    const int64_t nBands = load.m_record.m_nBandCount;
    // Every band of three copies, the one in flight at most twice.
    EXPECT_GE(st.m_nBandsConfirmed, 3 * nBands);
    EXPECT_LE(st.m_nBandsConfirmed, 3 * nBands + 1);
    const std::string strLast = strOut.substr(strOut.rfind("copy "));
    const std::string strFull =
        std::to_string(nBands) + "/" + std::to_string(nBands) + " bands 100.00%";
    EXPECT_NE(strLast.find(strFull), std::string::npos) << strLast;
    EXPECT_TRUE(CJobJournal::ListJobs(JobsDir()).empty());
    EXPECT_EQ(Run({"resume"}, &strOut), 1);
    EXPECT_NE(strOut.find("nothing to resume"), std::string::npos) << strOut;
}

// The program killed mid-job leaves the machine in the job: resume says so at once instead
// of waiting at "0/0 bands", and with --stop stops it there and continues.
TEST_F(CliLedger, MachineStillInTheDeadJobIsSaidAtOnce) {
    const CCliRun print = StartCli(Args({"print", m_strMarker}), m_home.File("print.txt"));
    ASSERT_TRUE(m_sim.WaitUntil([&] { return m_sim.Stats().m_nBandsConfirmed >= 4; }));
    // timeout(1) leads a process group of its own with inkvale-cli in it: both die.
    ::kill(-print.m_nPid, SIGKILL);
    EXPECT_NE(WaitCli(print), 0);
    ASSERT_TRUE(m_sim.WaitUntil([&] { return CJobJournal::ListJobs(JobsDir()).size() == 1; }, 10s));
    if (m_sim.State() == kStateReady)
        GTEST_SKIP() << "the simulator dropped the job by itself";
    std::string strOut;
    EXPECT_EQ(Run({"resume"}, &strOut), 1);
    EXPECT_NE(strOut.find("still in the interrupted job"), std::string::npos) << strOut;
    EXPECT_EQ(Run({"resume", "--stop"}, &strOut), 0) << strOut;
    EXPECT_TRUE(CJobJournal::ListJobs(JobsDir()).empty());
}

// No band without its record: a ledger folder on a full file system stops the print before
// the machine hears of it, and the exit status and text say why.
TEST_F(CliLedger, FullDiskRefusesThePrintAndSaysWhy) {
    const std::string strJobs = m_home.File("Jobs");
    std::filesystem::create_directories(strJobs);
    if (::mount("none", strJobs.c_str(), "tmpfs", 0, "size=8k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here";
    std::ofstream(strJobs + "/filler") << std::string(64 * 1024, 'x');
    std::string strOut;
    const int nExit = Run({"print", m_strMarker}, &strOut);
    ::umount2(strJobs.c_str(), MNT_DETACH);
    EXPECT_EQ(nExit, 1) << strOut;
    EXPECT_NE(strOut.find("record cannot be written"), std::string::npos) << strOut;
    EXPECT_EQ(m_sim.Stats().m_nJobsAccepted, 0);
    EXPECT_EQ(m_sim.Stats().m_nBandsConfirmed, 0);
}

// The exactly-once harness: markers printed with their copies while the program is killed
// (SIGKILL) and the machine faults at random bands, each interruption followed by
// `resume --stop` until nothing is left. Every file must come out exactly its copies: the
// machine confirmed every band of every copy, and no band more than the one in flight per
// interruption. Seeded and short here; INKVALE_EXACTLY_ONCE_FILES=N runs N files by hand.
TEST_F(CliLedger, ExactlyOnceThroughKillsAndFaults) {
    const char* pszFiles = std::getenv("INKVALE_EXACTLY_ONCE_FILES");
    const int nFiles = pszFiles != nullptr ? std::max(1, std::atoi(pszFiles)) : 4;
    const char* pszSeed = std::getenv("INKVALE_EXACTLY_ONCE_SEED");
    const unsigned nSeed =
        pszSeed != nullptr ? static_cast<unsigned>(std::atoi(pszSeed)) : 20261211u;
    std::mt19937 random(nSeed);
    int64_t nExpected = 0;
    int nInterruptions = 0;
    for (int f = 0; f < nFiles; ++f) {
        const std::string strFile = m_home.File("m" + std::to_string(f) + ".plt");
        std::string s = "IN;SP1;";
        const int nPieces = 10 + static_cast<int>(random() % 30);
        for (int i = 0; i < nPieces; ++i)
            s += "PU" + std::to_string(400 + i * 600) + ",300;PD" + std::to_string(900 + i * 600) +
                 ",3000;";
        std::ofstream(strFile) << s << "PU0,0;";
        std::string strInfo;
        ASSERT_EQ(Run({"info", strFile, "--json"}, &strInfo), 0) << strInfo;
        const size_t nAt = strInfo.find("\"bands\": ");
        ASSERT_NE(nAt, std::string::npos) << strInfo;
        const int64_t nBands = std::atoll(strInfo.c_str() + nAt + 9);
        const int nCopies = 1 + static_cast<int>(random() % 3);
        nExpected += nBands * nCopies;
        std::vector<std::string> args = {
            "print", strFile, "--copies", std::to_string(nCopies), "--link-wait", "2"};
        for (int nRun = 0;; ++nRun) {
            ASSERT_LT(nRun, 12) << "file " << f << " never finished";
            const int nBefore = m_sim.Stats().m_nBandsConfirmed;
            const CCliRun cli = StartCli(Args(args), m_home.File("ex.txt"));
            // Half the runs are interrupted a few bands in: killed, or the machine faults.
            const bool bInterrupt = nRun < 3 && random() % 2 == 0;
            const int nAfter = 2 + static_cast<int>(random() % (nBands + 2));
            const bool bKill = random() % 2 == 0;
            if (bInterrupt &&
                m_sim.WaitUntil(
                    [&] {
                        return m_sim.Stats().m_nBandsConfirmed >= nBefore + nAfter ||
                               Ended(cli.m_nPid);
                    },
                    60s) &&
                !Ended(cli.m_nPid)) {
                ++nInterruptions;
                if (bKill)
                    ::kill(-cli.m_nPid, SIGKILL);
                else
                    m_sim.ForceState(kStateCarriageTimeout, 200);
            }
            const int nExit = WaitCli(cli);
            const std::string strOut = ReadFileBytes(cli.m_strErr);
            if (nExit == 0 && args[0] == "print")
                break;
            if (nExit != 0 && strOut.find("nothing to resume") != std::string::npos)
                break;
            ASSERT_TRUE(m_sim.WaitUntil([&] { return m_sim.State() != kStateCarriageTimeout; }, 10s));
            args = {"resume", "--stop", "--link-wait", "2"};
            if (nExit == 0)
                continue; // once more: copies still owed, or "nothing to resume"
        }
    }
    const sim::CSimStats st = m_sim.Stats();
    std::printf("[ exactly  ] %d files, %d interruptions, %lld bands expected, %d confirmed\n",
                nFiles, nInterruptions, static_cast<long long>(nExpected), st.m_nBandsConfirmed);
    EXPECT_GE(st.m_nBandsConfirmed, nExpected);
    EXPECT_LE(st.m_nBandsConfirmed, nExpected + nInterruptions);
    EXPECT_EQ(st.m_nBadBands, 0);
    EXPECT_TRUE(CJobJournal::ListJobs(JobsDir()).empty());
}

} // namespace
} // namespace inkvale::test

#endif
