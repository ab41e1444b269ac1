// SPDX-License-Identifier: GPL-3.0-or-later
// The interruption harness: a long marker printed with `inkvale-cli print` to the plotter
// simulator is interrupted again and again, in three ways (the simulator switched off by
// --off-after-bands, `inkvale-cli` killed with SIGKILL at a chosen band, the machine going
// into a carriage fault), and after each interruption `inkvale-cli resume` continues it on a
// fresh simulator. The sheets the simulators printed, each laid at the place of its first
// band, must make up the render of the whole job pixel for pixel, and no interruption may
// print more than the one band that was in flight a second time.

#include "common/ChildProcess.h"
#include "common/SheetComposite.h"
#include "common/TestPaths.h"
#include "machine/engine/JobJournal.h"
#include "raster/BandGeometry.h"
#include "raster/BandParams.h"

#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#if defined(INKVALE_CLI_PATH) && defined(INKVALE_SIM_PATH)

namespace inkvale::test {
namespace {

using namespace std::chrono_literals;
using CClock = std::chrono::steady_clock;

// A marker shaped like a garment export, 2.4 m along the feed and 0.2 m across: piece
// outlines, notches, drill circles and grain lines, in plotter units (40 per mm).
std::string MakeMarker() {
    std::string s = "IN;SP1;";
    char sz[160];
    for (int nPiece = 0; nPiece < 36; ++nPiece) {
        const int x0 = 400 + nPiece * 2600, y0 = 300 + (nPiece % 3) * 2300;
        const int w = 2200 + (nPiece % 5) * 60, h = 1900;
        std::snprintf(sz, sizeof sz, "PU%d,%d;PD%d,%d,%d,%d,%d,%d,%d,%d;", x0, y0, x0 + w, y0 + 90,
                      x0 + w - 120, y0 + h, x0 + 70, y0 + h - 60, x0, y0);
        s += sz;
        std::snprintf(sz, sizeof sz, "PU%d,%d;PD%d,%d;", x0 + w / 2, y0, x0 + w / 2, y0 + 160);
        s += sz;
        std::snprintf(sz, sizeof sz, "PU%d,%d;CI%d;", x0 + w / 3, y0 + h / 2, 60 + nPiece * 3);
        s += sz;
        std::snprintf(sz, sizeof sz, "PU%d,%d;PD%d,%d;", x0 + 300, y0 + h / 3, x0 + w - 300,
                      y0 + h / 3 + 200);
        s += sz;
    }
    return s + "PU0,0;";
}

// The job's record in the ledger (Jobs/<id>/journal): the one job folder of the home.
std::string JournalOf(const std::string& strJobsDir) {
    const std::vector<std::string> jobs = CJobJournal::ListJobs(strJobsDir);
    return jobs.size() == 1 ? jobs[0] + CJobJournal::kRecordName : std::string();
}

int64_t JournalConfirmed(const std::string& strJobsDir) {
    const std::vector<std::string> jobs = CJobJournal::ListJobs(strJobsDir);
    if (jobs.size() != 1)
        return -1;
    const CJobLoad load = CJobJournal::LoadRecord(jobs[0]);
    return load.Ok() ? load.m_record.m_nConfirmed : -1;
}

int64_t NumberAfter(const std::string& s, const std::string& strPattern) {
    std::smatch m;
    return std::regex_search(s, m, std::regex(strPattern)) ? std::stoll(m[1]) : -1;
}

constexpr int kInterruptionsPerRun = 8;

enum class EInterruption { SimulatorGone, HostKilled, MachineFault, None };

struct CRunSetup {
    const char* m_pszName;
    std::vector<std::string> m_params; ///< parameter-block fields of the simulated machine
    CBandParams m_bands;               ///< the same fields where they place bands
};

void PrintTo(const CRunSetup& setup, std::ostream* pOut) {
    *pOut << setup.m_pszName;
}

class ResumeHarness : public ::testing::TestWithParam<CRunSetup> {
protected:
    void SetUp() override {
        // A whole sheet is a few hundred megapixels.
        QImageReader::setAllocationLimit(2048);
        m_nHost = 2 + (getpid() * 13) % 250;
        m_strMarker = m_home.File("marker.plt");
        std::ofstream(m_strMarker) << MakeMarker();
        const uint32_t nIp = 127u | (uint32_t(m_nHost) << 24);
        // No label band: its text holds the time it is printed at.
        std::ofstream(m_home.File("Inkvale.ini"))
            << "[Para]\nMachineIP=" << nIp << "\nPrintFileName=0\nSpAutoClean=1\n";
    }

    std::vector<std::string> SimArgs(const std::string& strSheet) const {
        std::vector<std::string> args = {
            INKVALE_SIM_PATH, "--listen", "127.0.0." + std::to_string(m_nHost),
            "--quiet",        "--sheet",  strSheet};
        for (const std::string& p : GetParam().m_params)
            args.insert(args.end(), {"--param", p});
        return args;
    }
    std::vector<std::string> CliArgs(const std::vector<std::string>& tail) const {
        std::vector<std::string> args = {INKVALE_CLI_PATH, "--home", m_home.Path().string()};
        args.insert(args.end(), tail.begin(), tail.end());
        return args;
    }
    // The simulator answers once its log says it listens.
    static void WaitListening(const std::string& strLog) {
        const auto tEnd = CClock::now() + 5s;
        while (ReadFileBytes(strLog).find("listening") == std::string::npos && CClock::now() < tEnd)
            std::this_thread::sleep_for(10ms);
    }

    CScratchDir m_home;
    std::string m_strMarker;
    int m_nHost = 2;
};

TEST_P(ResumeHarness, InterruptedMarkerResumesToTheWholeRender) {
    const std::string strJournal = m_home.File("Jobs") + "/";
    std::mt19937 random(20261210u + static_cast<unsigned>(GetParam().m_params.size()));
    CSheetComposite composite;
    int64_t nFirst = 0;
    int64_t nBands = -1;
    int nInterruptions = 0;
    const auto tRunEnd = CClock::now() + 240s;
    for (int nAttempt = 0; CClock::now() < tRunEnd; ++nAttempt) {
        ASSERT_LT(nAttempt, kInterruptionsPerRun + 4) << "the job never finished";
        const std::string strSheet = m_home.File("sheet" + std::to_string(nAttempt) + ".png");
        const std::string strSimLog = strSheet + ".sim.txt";
        const std::string strCliLog = strSheet + ".cli.txt";
        const int64_t nLeft = nBands < 0 ? 60 : nBands - nFirst;
        // Eight interruptions a run, each a few bands on, in turn of the three kinds; then
        // the job may finish.
        const EInterruption eHow = nLeft > 8 && nInterruptions < kInterruptionsPerRun
                                       ? static_cast<EInterruption>(nAttempt % 3)
                                       : EInterruption::None;
        const int64_t nTarget =
            nFirst + 2 +
            static_cast<int64_t>(random() % static_cast<uint64_t>(std::min<int64_t>(nLeft - 6, 8)));
        // The simulator switches itself off, or faults, once it has confirmed this many
        // bands of its job; the host is killed once the journal has noted as many.
        const std::string strBands = std::to_string(nTarget - nFirst);
        std::vector<std::string> simArgs = SimArgs(strSheet);
        if (eHow == EInterruption::SimulatorGone)
            simArgs.insert(simArgs.end(), {"--off-after-bands", strBands});
        if (eHow == EInterruption::MachineFault)
            simArgs.insert(simArgs.end(),
                           {"--fault", "state,value=9,bands=" + strBands + ",ms=300"});
        const pid_t sim = Spawn(simArgs, strSimLog);
        WaitListening(strSimLog);
        const auto tStart = CClock::now();
        const pid_t cli = Spawn(nAttempt == 0 ? CliArgs({"print", m_strMarker, "--link-wait", "1"})
                                              : CliArgs({"resume", "--link-wait", "1"}),
                                strCliLog);
        if (eHow == EInterruption::HostKilled) {
            while (JournalConfirmed(strJournal) < nTarget && CClock::now() - tStart < 60s &&
                   ::waitpid(cli, nullptr, WNOHANG) == 0)
                std::this_thread::sleep_for(2ms);
            ::kill(cli, SIGKILL);
        }
        const int nCliExit = Reap(cli, 120s);
        if (eHow != EInterruption::SimulatorGone)
            ::kill(sim, SIGTERM);
        ASSERT_EQ(Reap(sim, 60s), 0) << ReadFileBytes(strSimLog);
        const std::string strCli = ReadFileBytes(strCliLog);
        const std::string strSim = ReadFileBytes(strSimLog);
        if (nAttempt > 0) {
            // The resumed job starts where the journal said, and announces only the rest.
            const int64_t nAt = NumberAfter(strCli, "resuming at band ([0-9]+) of ");
            ASSERT_EQ(nAt, nFirst) << strCli;
        }
        const int64_t nReceived = NumberAfter(strSim, " ([0-9]+) bands received");
        if (nBands < 0) {
            nBands = NumberAfter(ReadFileBytes(JournalOf(strJournal)), "\nband-count ([0-9]+)\n");
            ASSERT_GT(nBands, 60) << strCli;
        }
        // An interruption before the job reached the machine prints nothing.
        const QImage sheet(QString::fromStdString(strSheet));
        ASSERT_TRUE(!sheet.isNull() || nReceived == 0)
            << "no sheet from attempt " << nAttempt << "\n"
            << strSim << strCli;
        CBandParams bands = GetParam().m_bands;
        if (!sheet.isNull())
            composite.Add(sheet, CBandGeometry(bands).BandOffset(nFirst));
        if (nCliExit == 0) {
            EXPECT_EQ(nFirst + nReceived, nBands) << strCli;
            EXPECT_TRUE(CJobJournal::ListJobs(strJournal).empty());
            break;
        }
        ASSERT_EQ(nCliExit, eHow == EInterruption::HostKilled ? -1 : 1) << strCli;
        ++nInterruptions;
        const int64_t nNext = JournalConfirmed(strJournal);
        ASSERT_GE(nNext, nFirst) << JournalOf(strJournal);
        // Bands the machine took that the next job sends again: the one in flight at most
        // (one more in precise mode when the next job has to start on an even band).
        const int64_t nTwice = nFirst + nReceived - nNext;
        EXPECT_LE(nTwice, 1) << "attempt " << nAttempt << "\n" << strCli << strSim;
        EXPECT_GE(nTwice, 0);
        nFirst = nNext;
        if (bands.m_bPreciseMode && CBandGeometry(bands).BandHeight() % 2 != 0)
            nFirst -= nFirst % 2;
    }
    EXPECT_GE(nInterruptions, kInterruptionsPerRun);
    std::printf("[ harness  ] %s: %d interruptions\n", GetParam().m_pszName, nInterruptions);
    RecordProperty("interruptions", nInterruptions);

    // The whole job as the machine prints it.
    const std::string strRender = m_home.File("render.png");
    const pid_t sim = Spawn(SimArgs(m_home.File("unused.png")), m_home.File("render.sim.txt"));
    WaitListening(m_home.File("render.sim.txt"));
    const pid_t render = Spawn(CliArgs({"render", m_strMarker, "-o", strRender, "--from-machine"}),
                               m_home.File("render.txt"));
    ASSERT_EQ(Reap(render, 60s), 0) << ReadFileBytes(m_home.File("render.txt"));
    ::kill(sim, SIGTERM);
    Reap(sim, 30s);
    const QImage whole(QString::fromStdString(strRender));
    ASSERT_EQ(whole.height(), composite.Height());
    int64_t nInkPixels = 0;
    const int64_t nDiffer = DifferingPixels(whole, composite, &nInkPixels);
    EXPECT_GT(nInkPixels, 10000);
    EXPECT_EQ(nDiffer, 0);
}

CBandParams PreciseOddBands() {
    CBandParams p;
    p.m_bPreciseMode = true;
    p.m_arrHeadOverlap = {3, 0, 0};
    return p;
}

CBandParams OneWayBands() {
    CBandParams p;
    p.m_bBidirectional = false;
    return p;
}

INSTANTIATE_TEST_SUITE_P(Modes, ResumeHarness,
                         ::testing::Values(CRunSetup{"bidirectional", {}, CBandParams{}},
                                           CRunSetup{"precise, odd band height",
                                                     {"PreciseMode=1", "HeadOverlap[0]=3"},
                                                     PreciseOddBands()},
                                           CRunSetup{
                                               "one way", {"Bidirectional=0"}, OneWayBands()}),
                         [](const ::testing::TestParamInfo<CRunSetup>& param) {
                             return std::string(param.index == 0   ? "Bidirectional"
                                                : param.index == 1 ? "PreciseOdd"
                                                                   : "OneWay");
                         });

} // namespace
} // namespace inkvale::test

#endif
