// SPDX-License-Identifier: GPL-3.0-or-later
// `inkvale-cli print` against the simulator on a loopback address: copies, the exit status,
// the progress line, and a printed sheet equal to `inkvale-cli render` of the same file; a
// machine address the build may not reach; the usage, help and version texts.

#include "SimBandDecode.h"
#include "SimFixture.h"
#include "common/TestPaths.h"
#include "config/MachineParams.h"
#include "raster/BandGeometry.h"
#include "raster/BandParams.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#ifdef INKVALE_CLI_PATH

namespace inkvale::test {
namespace {

struct CRun {
    int m_nStatus = -1;
    std::string m_strStdout;
    std::string m_strStderr;
    std::string m_strOut; ///< stdout, then stderr
};

// Runs inkvale-cli with the arguments; bounded by `timeout` (seconds) through timeout(1).
CRun RunCli(const std::string& strArgs, int nTimeoutS = 60) {
    const CScratchDir dir;
    const std::string strErr = dir.File("stderr.txt");
    // The program's font cache outlives it, which a sanitizer build would report as a leak.
    const std::string strCmd = "ASAN_OPTIONS=detect_leaks=0 timeout " + std::to_string(nTimeoutS) +
                               " " INKVALE_CLI_PATH " " + strArgs + " 2>" + strErr;
    CRun run;
    FILE* p = popen(strCmd.c_str(), "r");
    if (p == nullptr)
        return run;
    std::array<char, 4096> buf{};
    size_t n = 0;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0)
        run.m_strStdout.append(buf.data(), n);
    const int nStatus = pclose(p);
    run.m_nStatus = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    run.m_strStderr = ReadFileBytes(strErr);
    run.m_strOut = run.m_strStdout + run.m_strStderr;
    return run;
}

// The program connects to port 5291: the simulator listens there on a loopback address of
// its own (127.0.0.x), so that parallel test runs do not meet.
class PrintEngineCli : public ::testing::Test {
protected:
    void SetUp() override {
        sim::CSimTiming timing;
        timing.m_nStartMs = 20;
        timing.m_nFinishMs = 20;
        m_sim.SetTiming(timing);
        std::string strError;
        for (int nTry = 0; nTry < 20 && !m_bListening; ++nTry) {
            m_nHost = 2 + (getpid() + nTry * 7) % 250;
            m_bListening = m_server.Start(Address(), kMachinePort, &strError);
        }
        ASSERT_TRUE(m_bListening) << strError;
        const uint32_t nIp = 127u | (uint32_t(m_nHost) << 24);
        std::ofstream ini(m_home.File("Inkvale.ini"));
        ini << "[Para]\nMachineIP=" << nIp << "\nDxfUnit=400\n";
    }
    void TearDown() override { m_server.Stop(); }

    std::string Address() const { return "127.0.0." + std::to_string(m_nHost); }
    std::string Home() const { return "--home " + m_home.Path().string(); }

    sim::CSimMachine m_sim;
    sim::CSimServer m_server{m_sim};
    CScratchDir m_home;
    int m_nHost = 2;
    bool m_bListening = false;
};

const std::string kMarker = (CorpusDir() / "dxf/astm-parser-WM_LOOSE_SHAPE_TANK.DXF").string();

TEST_F(PrintEngineCli, PrintsCopiesAsJobsAndMatchesTheRender) {
    const CRun print = RunCli(Home() + " print " + kMarker + " --copies 2");
    ASSERT_EQ(print.m_nStatus, 0) << print.m_strOut;
    EXPECT_NE(print.m_strOut.find("copy 2/2 ["), std::string::npos) << print.m_strOut;
    EXPECT_NE(print.m_strOut.find(" bands "), std::string::npos);
    EXPECT_NE(print.m_strOut.find("printed 2 copies"), std::string::npos);
    const sim::CSimStats stats = m_sim.Stats();
    EXPECT_EQ(stats.m_nJobsAccepted, 2);
    EXPECT_EQ(stats.m_nJobsFinished, 2);
    EXPECT_EQ(stats.m_nBadBands, 0);

    const std::string strPng = m_home.File("render.png");
    const CRun render = RunCli(Home() + " render " + kMarker + " -o " + strPng);
    ASSERT_EQ(render.m_nStatus, 0) << render.m_strOut;
    const QImage image(QString::fromStdString(strPng));
    const sim::CSimSheetImage printed = m_sim.LastSheet();
    ASSERT_EQ(image.width(), printed.m_nWidth);
    ASSERT_EQ(image.height(), printed.m_nHeight);
    int nDiffer = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool bInk = qGray(image.pixel(x, y)) < 128;
            nDiffer += bInk != printed.Ink(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(nDiffer, 0);
    EXPECT_GT(printed.InkCount(), 1000);
}

// A machine that stops answering mid-job: within a few seconds the progress line says since
// when, and the job goes on to its end once the machine answers again.
TEST_F(PrintEngineCli, SilentMachineIsShownOnTheProgressLineAndTheJobGoesOn) {
    std::ofstream(m_home.File("Inkvale.ini"), std::ios::app) << "Language=1\n";
    sim::CSimTiming timing;
    timing.m_nStartMs = 20;
    timing.m_nBandPrintMs = 50; // bands slow enough that the silence comes mid-job
    timing.m_nFinishMs = 20;
    m_sim.SetTiming(timing);
    // Silent, once two bands are confirmed, for a few of the monitor's polls.
    std::atomic<bool> bDone{false};
    std::atomic<bool> bSilenced{false};
    std::thread silencer([&] {
        if (m_sim.WaitUntil([&] { return bDone || m_sim.Stats().m_nBandsConfirmed >= 2; }) &&
            !bDone) {
            m_sim.SetSilentFor(5000);
            bSilenced = true;
        }
    });
    const CRun print = RunCli(Home() + " print " + kMarker);
    bDone = true;
    m_sim.Wake();
    silencer.join();
    ASSERT_TRUE(bSilenced) << print.m_strOut;
    EXPECT_EQ(print.m_nStatus, 0) << print.m_strOut;
    EXPECT_TRUE(std::regex_search(print.m_strStderr,
                                  std::regex(" left [0-9:]+  the plotter does not answer since "
                                             "[0-9]{2}:[0-9]{2}:[0-9]{2}")))
        << print.m_strStderr;
    const sim::CSimStats stats = m_sim.Stats();
    EXPECT_EQ(stats.m_nJobsFinished, 1);
    EXPECT_EQ(stats.m_nBadBands, 0);
}

// --from-band N sends the machine a job of the remaining bands (N odd: every band on the
// other pass direction of the machine's count), and they print exactly the rest of the whole
// job's render.
TEST_F(PrintEngineCli, FromBandPrintsExactlyTheRestOfTheRender) {
    constexpr int kFrom = 3;
    // The label band prints the time it is printed at, which a render cannot match.
    std::ofstream(m_home.File("Inkvale.ini"), std::ios::app) << "PrintFileName=0\n";
    const CRun print =
        RunCli(Home() + " print " + kMarker + " --from-band " + std::to_string(kFrom));
    ASSERT_EQ(print.m_nStatus, 0) << print.m_strOut;
    EXPECT_NE(print.m_strOut.find("starting at band 3"), std::string::npos) << print.m_strOut;
    const std::string strPng = m_home.File("render.png");
    ASSERT_EQ(RunCli(Home() + " render " + kMarker + " -o " + strPng).m_nStatus, 0);
    const QImage image(QString::fromStdString(strPng));
    const sim::CSimSheetImage printed = m_sim.LastSheet();
    CMachineParams params;
    params.ResetMachineParams();
    const int64_t nOffset = CBandGeometry(MakeBandParams(params)).BandOffset(kFrom);
    ASSERT_EQ(image.height(), printed.m_nHeight);
    ASSERT_EQ(image.width() - nOffset, printed.m_nWidth);
    int nDiffer = 0;
    int64_t nInk = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < printed.m_nWidth; ++x) {
            const bool bInk = qGray(image.pixel(static_cast<int>(x + nOffset), y)) < 128;
            nDiffer += bInk != printed.Ink(x, y) ? 1 : 0;
            nInk += bInk ? 1 : 0;
        }
    }
    EXPECT_EQ(nDiffer, 0);
    EXPECT_GT(nInk, 1000);
    // A band beyond the job is refused with the reason, and nothing is printed.
    const CRun beyond = RunCli(Home() + " print " + kMarker + " --from-band 100000");
    EXPECT_EQ(beyond.m_nStatus, 1) << beyond.m_strOut;
}

// Each copy is a job of the program's own queue: it backs the drawing up and writes a
// history row, as the window does.
TEST_F(PrintEngineCli, EveryCopyLeavesABackupAndAHistoryRow) {
    std::filesystem::create_directory(m_home.Path() / "backup");
    std::ofstream(m_home.File("Inkvale.ini"), std::ios::app)
        << "BackupPrintedFiles=1\nBackupDir=" << m_home.File("backup") << "/\nHistoryEnable=1\n"
        << "HistoryFile=" << m_home.File("history.csv") << "\n";
    const CRun print = RunCli(Home() + " print " + kMarker + " --copies 3");
    ASSERT_EQ(print.m_nStatus, 0) << print.m_strOut;
    EXPECT_EQ(m_sim.Stats().m_nJobsFinished, 3);
    int nBackups = 0;
    for (const auto& entry : std::filesystem::directory_iterator(m_home.Path() / "backup")) {
        EXPECT_NE(entry.path().filename().string().find("WM_LOOSE_SHAPE_TANK"), std::string::npos);
        ++nBackups;
    }
    EXPECT_EQ(nBackups, 3);
    const std::string strHistory = ReadFileBytes(m_home.File("history.csv"));
    EXPECT_EQ(std::count(strHistory.begin(), strHistory.end(), '\n'), 3) << strHistory;
}

TEST_F(PrintEngineCli, RefusedJobExitsWithFailure) {
    m_sim.AddFault({sim::ESimFault::RefuseJob, 0, -1, 5, 1, 0});
    const CRun print = RunCli(Home() + " print " + kMarker);
    EXPECT_EQ(print.m_nStatus, 1) << print.m_strOut;
    EXPECT_NE(print.m_strOut.find("did not accept the job"), std::string::npos) << print.m_strOut;
    EXPECT_EQ(m_sim.Stats().m_nJobsAccepted, 0);
}

TEST_F(PrintEngineCli, OverWideJobShowsTheSizeMessage) {
    ASSERT_TRUE(m_sim.SetParam("CarriageTravelMm", 200));
    const CRun print = RunCli(Home() + " print " + kMarker);
    EXPECT_EQ(print.m_nStatus, 1) << print.m_strOut;
    // The command line speaks English unless Language asks for Chinese.
    EXPECT_NE(print.m_strOut.find("Out of size in Y"), std::string::npos) << print.m_strOut;
}

TEST_F(PrintEngineCli, UsageAndUnreadableFile) {
    EXPECT_EQ(RunCli(Home() + " print").m_nStatus, 2);
    EXPECT_EQ(RunCli(Home() + " print a.plt --copies 0").m_nStatus, 2);
    EXPECT_EQ(RunCli(Home() + " print " + m_home.File("missing.plt")).m_nStatus, 1);
}

#ifdef INKVALE_LOOPBACK_ONLY
// A development build given a machine outside 127.0.0.0/8 says so and fails at once, instead
// of waiting 20 s for a machine it will never try to reach. The bound of the run is below
// that wait.
TEST(InkvaleCliPrint, DevelopmentBuildRefusesANonLoopbackMachineAndSaysWhy) {
    const CScratchDir home;
    // 192.0.2.1, a documentation address, first octet in the lowest byte.
    std::ofstream(home.File("Inkvale.ini")) << "[Para]\nMachineIP=16908480\nCommuVia=0\n";
    const CRun print = RunCli("--home " + home.Path().string() + " print " + kMarker, 15);
    EXPECT_EQ(print.m_nStatus, 1) << print.m_strOut;
    EXPECT_NE(print.m_strStderr.find(
                  "\ninkvale-cli print: This development build reaches only the loopback network "
                  "(127.0.0.0/8), not 192.0.2.1; build with the package preset (cmake --preset "
                  "package) to reach a real plotter.\n"),
              std::string::npos)
        << print.m_strStderr;
    EXPECT_EQ(print.m_strStdout, "");
}
#endif

// The version of the project, as its top CMakeLists.txt declares it.
std::string ProjectVersion() {
    const std::string strTop = ReadFileBytes(SourceDir() / "CMakeLists.txt");
    std::smatch match;
    if (!std::regex_search(strTop, match, std::regex(R"(project\(Inkvale VERSION ([0-9.]+))")))
        return "?";
    return match[1];
}

// --help answers on stdout with status 0 (for a command, before anything else: the file is
// not even looked at); wrong usage gives the same usage on stderr with status 2.
TEST(InkvaleCliUsage, HelpVersionAndWrongUsage) {
    const CScratchDir home;
    const std::string strHome = "--home " + home.Path().string() + " ";
    struct Case {
        std::string m_strArgs;
        int m_nStatus;
        const char* m_pszStdout; ///< what stdout starts with; stderr must then be empty
        const char* m_pszStderr; ///< what stderr starts with; stdout must then be empty
    };
    const Case cases[] = {
        {"--help", 0, "usage: inkvale-cli [--home DIR] COMMAND ARGS\n", nullptr},
        {strHome + "--help", 0, "usage: inkvale-cli [--home DIR] COMMAND ARGS\n", nullptr},
        {"tasks --help", 0, "usage: inkvale-cli tasks FILE.sptask\n", nullptr},
        {"curves --help", 0, "usage: inkvale-cli curves FILE\n", nullptr},
        {"preview --help", 0, "usage: inkvale-cli preview FILE -o OUT.png [--width PX]\n", nullptr},
        {"render --help", 0, "usage: inkvale-cli render FILE -o OUT.png [--from-machine]\n",
         nullptr},
        {"bands --help", 0, "usage: inkvale-cli bands FILE -o DIR [--from-machine]\n", nullptr},
        {"print --help", 0, "usage: inkvale-cli print FILE [--copies N]", nullptr},
        {strHome + "print " + kMarker + " --help", 0, "usage: inkvale-cli print FILE", nullptr},
        {"", 2, nullptr, "usage: inkvale-cli [--home DIR] COMMAND ARGS\n"},
        {strHome + "curves", 2, nullptr, "usage: inkvale-cli curves FILE\n"},
        {strHome + "render " + kMarker, 2, nullptr, "usage: inkvale-cli render FILE -o OUT.png"},
        {"frobnicate --help", 2, nullptr, "inkvale-cli: unknown command 'frobnicate'\n"},
    };
    for (const Case& c : cases) {
        const CRun run = RunCli(c.m_strArgs, 30);
        EXPECT_EQ(run.m_nStatus, c.m_nStatus) << c.m_strArgs << "\n" << run.m_strOut;
        const bool bToStdout = c.m_pszStdout != nullptr;
        const std::string& strShown = bToStdout ? run.m_strStdout : run.m_strStderr;
        EXPECT_TRUE(strShown.starts_with(bToStdout ? c.m_pszStdout : c.m_pszStderr))
            << c.m_strArgs << "\n"
            << run.m_strOut;
        EXPECT_EQ(bToStdout ? run.m_strStderr : run.m_strStdout, "") << c.m_strArgs;
    }

    const CRun version = RunCli("--version", 30);
    EXPECT_EQ(version.m_nStatus, 0);
    EXPECT_EQ(version.m_strStdout, "inkvale-cli " + ProjectVersion() + "\n");
    EXPECT_EQ(version.m_strStderr, "");
}

} // namespace
} // namespace inkvale::test

#endif
