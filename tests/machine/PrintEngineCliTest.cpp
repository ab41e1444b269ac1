// SPDX-License-Identifier: GPL-3.0-or-later
// `inkvale-cli print` against the simulator on a loopback address: copies, the exit status,
// the progress line, and a printed sheet equal to `inkvale-cli render` of the same file.

#include "SimBandDecode.h"
#include "SimFixture.h"
#include "support/TestPaths.h"

#include <QImage>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#ifdef INKVALE_CLI_PATH

namespace inkvale::test {
namespace {

struct CRun {
    int m_nStatus = -1;
    std::string m_strOut; ///< stdout and stderr
};

// Runs inkvale-cli with the arguments; bounded by `timeout` (seconds) through timeout(1).
CRun RunCli(const std::string& strArgs, int nTimeoutS = 60) {
    // The program's font cache outlives it, which a sanitizer build would report as a leak.
    const std::string strCmd = "ASAN_OPTIONS=detect_leaks=0 timeout " + std::to_string(nTimeoutS) +
                               " " INKVALE_CLI_PATH " " + strArgs + " 2>&1";
    CRun run;
    FILE* p = popen(strCmd.c_str(), "r");
    if (p == nullptr)
        return run;
    std::array<char, 4096> buf{};
    size_t n = 0;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0)
        run.m_strOut.append(buf.data(), n);
    const int nStatus = pclose(p);
    run.m_nStatus = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
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
    EXPECT_NE(print.m_strOut.find("超出机器幅宽！请重新设置右边据和纸张宽度！"), std::string::npos)
        << print.m_strOut;
}

TEST_F(PrintEngineCli, UsageAndUnreadableFile) {
    EXPECT_EQ(RunCli(Home() + " print").m_nStatus, 2);
    EXPECT_EQ(RunCli(Home() + " print a.plt --copies 0").m_nStatus, 2);
    EXPECT_EQ(RunCli(Home() + " print " + m_home.File("missing.plt")).m_nStatus, 1);
}

} // namespace
} // namespace inkvale::test

#endif
