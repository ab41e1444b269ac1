// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimBandDecode.h"
#include "SimMachine.h"
#include "SimOptions.h"
#include "SimStream.h"
#include "common/TestPaths.h"
#include "config/MachineParams.h"
#include "machine/link/MachineProtocol.h"
#include "raster/BandGeometry.h"
#include "raster/PrintHeadCodec.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <random>
#include <thread>

namespace inkvale::sim {
namespace {

using Bytes = std::vector<uint8_t>;

class PlotterSimTest : public ::testing::Test {
protected:
    void SetUp() override {
        CSimTiming timing;
        timing.m_nStartMs = 30;
        timing.m_nFinishMs = 30;
        timing.m_nResetMs = 30;
        timing.m_nTestMs = 30;
        m_sim.SetTiming(timing);
    }
    Bytes Frame(const Bytes& frame) {
        return m_sim.HandleFrame(1, frame.data(), frame.size()).m_bytes;
    }
    Bytes Action(uint8_t nCode) { return Frame(BuildActionFrame(nCode)); }
    Bytes Write(uint8_t nAddress, const Bytes& data) {
        return Frame(BuildWriteFrame(nAddress, static_cast<uint8_t>(data.size()), data.data()));
    }
    Bytes Le32x2(int32_t a, int32_t b) {
        Bytes bytes(8);
        PutLe32(bytes.data(), static_cast<uint32_t>(a));
        PutLe32(bytes.data() + 4, static_cast<uint32_t>(b));
        return bytes;
    }
    Bytes Index(int32_t j) {
        const auto bytes = Le32Bytes(j);
        return Bytes(bytes.begin(), bytes.end());
    }
    void WaitFor(uint8_t nState) {
        for (int i = 0; i < 100 && m_sim.State() != nState; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_EQ(m_sim.State(), nState);
    }
    // One band through request, chunks of 600 bytes and confirmation.
    void PrintBand(int32_t j, const Bytes& data) {
        ASSERT_EQ(Write(kRegBandRequest, Index(j))[5], kBandSendNow);
        for (size_t at = 0; at < data.size(); at += 600) {
            Bytes chunk(600, 0);
            std::copy(data.begin() + static_cast<long>(at),
                      data.begin() + static_cast<long>(std::min(at + 600, data.size())),
                      chunk.begin());
            ASSERT_EQ(m_sim.HandleChunk(1, chunk.data(), chunk.size()).m_bytes,
                      Bytes{kStatePrinting});
        }
        EXPECT_FALSE(m_sim.ReceivingBand());
        ASSERT_EQ(Write(kRegBandDone, Index(j))[5], 0);
    }

    CSimMachine m_sim;
};

// Band data of a two-head job (default head positions 10 and 180) whose column image holds
// one record: nozzle 0 of lane 0 at column nColumn.
Bytes OneDotBand(int32_t nJobWidth, int nColumn) {
    const int nColumns = nJobWidth + 30;
    std::vector<uint8_t> image(static_cast<size_t>(nColumns) * 44, 0);
    CNozzleVector nozzles{};
    nozzles[0] = 1;
    const CNozzleRecord record = EncodeNozzleRecord(nozzles);
    std::copy(record.begin(), record.end(), image.begin() + nColumn * 44);
    Bytes out(image.size() * 2 + 16);
    out.resize(EncodeColumnImage(image.data(), nColumns, 44, false, out.data(), out.size()));
    return out;
}

TEST_F(PlotterSimTest, AJobWalksTheStatesAndPrintsItsSheet) {
    test::CScratchDir dir;
    m_sim.SetSheetPath(dir.File("sheet.png"));
    ASSERT_TRUE(m_sim.SetParam("Bidirectional", 0));
    const Bytes reply = Write(kRegJobHeader, Le32x2(70, 2));
    EXPECT_EQ(reply, (Bytes{0x06, 0x52, 80, 8, kStateProcessing, 0}));
    EXPECT_EQ(Write(kRegBandRequest, Index(0))[5], kBandBusy) << "not printing yet";
    WaitFor(kStatePrinting);
    PrintBand(0, OneDotBand(70, 45));
    PrintBand(1, OneDotBand(70, 60));
    EXPECT_EQ(m_sim.State(), kStateFinishing);
    WaitFor(kStateReady);
    const CSimStats stats = m_sim.Stats();
    EXPECT_EQ(stats.m_nJobsFinished, 1);
    EXPECT_EQ(stats.m_nBandsReceived, 2);
    EXPECT_EQ(stats.m_nBadBands, 0);
    // Lane 0 of a forward band sits HeadPos[0] + 30 = 40 columns in; band 1 starts at pixel
    // 300 (H = 300 for "1#+2#" without overlap).
    const CSimSheetImage sheet = m_sim.LastSheet();
    EXPECT_EQ(sheet.m_nHeight, 70);
    EXPECT_EQ(sheet.m_nWidth, 600);
    EXPECT_EQ(sheet.InkCount(), 2);
    EXPECT_TRUE(sheet.Ink(0, 5));
    EXPECT_TRUE(sheet.Ink(300, 20));
    QImage png(QString::fromStdString(dir.File("sheet.png")));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.width(), 600);
    EXPECT_EQ(qGray(png.pixel(0, 5)), 0);
    EXPECT_EQ(qGray(png.pixel(1, 5)), 255);
}

TEST_F(PlotterSimTest, PauseStopResetAndTestFollowTheStateByte) {
    EXPECT_EQ(Action(kActPause)[3], kStateReady) << "nothing to pause";
    EXPECT_EQ(Action(kActTest)[3], kStateCleaning);
    WaitFor(kStateReady);
    EXPECT_EQ(Action(kActReset)[3], kStateInit);
    EXPECT_EQ(Write(kRegJobHeader, Le32x2(70, 2))[5], 1) << "a resetting machine refuses jobs";
    WaitFor(kStateReady);
    ASSERT_EQ(Write(kRegJobHeader, Le32x2(70, 2))[5], 0);
    WaitFor(kStatePrinting);
    EXPECT_EQ(Action(kActPause)[3], kStatePaused);
    const Bytes busy = Write(kRegBandRequest, Index(0));
    EXPECT_EQ(busy[4], kStatePaused);
    EXPECT_EQ(busy[5], kBandBusy);
    EXPECT_EQ(Action(kActResume)[3], kStatePrinting);
    ASSERT_EQ(Write(kRegBandRequest, Index(0))[5], kBandSendNow);
    EXPECT_EQ(Action(kActStop)[3], kStateReady);
    // The stopped job: band requests and chunks answer with the ready state.
    EXPECT_EQ(Write(kRegBandRequest, Index(0))[4], kStateReady);
    Bytes chunk(600, 0);
    EXPECT_EQ(m_sim.HandleChunk(1, chunk.data(), chunk.size()).m_bytes, Bytes{kStateReady});
    EXPECT_EQ(m_sim.Stats().m_nJobsAborted, 1);
}

TEST_F(PlotterSimTest, SlowPrintingAnswersBusyUntilTheBandIsPrinted) {
    CSimTiming timing;
    timing.m_nStartMs = 0;
    timing.m_nBandPrintMs = 150;
    m_sim.SetTiming(timing);
    ASSERT_EQ(Write(kRegJobHeader, Le32x2(70, 3))[5], 0);
    PrintBand(0, OneDotBand(70, 45));
    EXPECT_EQ(Write(kRegBandRequest, Index(1))[5], kBandBusy);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(Write(kRegBandRequest, Index(1))[5], kBandSendNow);
}

TEST_F(PlotterSimTest, AnErrorStateAbortsTheJobForItsTime) {
    ASSERT_EQ(Write(kRegJobHeader, Le32x2(70, 3))[5], 0);
    WaitFor(kStatePrinting);
    m_sim.ForceState(kStateCarriageTimeout, 60);
    EXPECT_EQ(Write(kRegBandRequest, Index(0))[4], kStateCarriageTimeout);
    EXPECT_EQ(m_sim.Stats().m_nJobsAborted, 1);
    WaitFor(kStateReady);
}

TEST_F(PlotterSimTest, BadJobHeadersAreRefused) {
    EXPECT_EQ(Write(kRegJobHeader, Le32x2(0, 3))[5], 2);
    EXPECT_EQ(Write(kRegJobHeader, Le32x2(28001, 3))[5], 2);
    EXPECT_EQ(Write(kRegJobHeader, Le32x2(70, -1))[5], 2);
    m_sim.AddFault({ESimFault::RefuseJob, 0, -1, 1, 0});
    EXPECT_EQ(Write(kRegJobHeader, Le32x2(70, 3))[5], 1);
    EXPECT_EQ(m_sim.State(), kStateReady);
}

TEST_F(PlotterSimTest, RandomBytesAreLoggedAsGarbageAndFramesStillWork) {
    std::mt19937 random(7);
    CSimStream stream(m_sim, 600);
    for (int round = 0; round < 200; ++round) {
        Bytes noise(random() % 700);
        for (uint8_t& b : noise)
            b = static_cast<uint8_t>(random());
        stream.Feed(noise.data(), noise.size());
        stream.Settle();
        if (m_sim.ReceivingBand()) // random frames may have started a job and a band
            (void)Action(kActStop);
    }
    stream.Settle();
    const Bytes read = BuildReadFrame(kRegState, 1);
    (void)Action(kActStop);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    m_sim.ForceState(kStateReady, 0);
    const auto replies = stream.Feed(read.data(), read.size());
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].m_bytes.size(), 5u);
}

TEST(PlotterSimOptionsTest, ParametersAndFaultsFromTheCommandLine) {
    const char* argv[] = {"sim",
                          "--listen",
                          "127.0.0.1",
                          "--port",
                          "0",
                          "--param",
                          "HeadPos[1]=200",
                          "--param",
                          "HeadCombination=3",
                          "--fault",
                          "late,frame=Q,value=300,times=2",
                          "--fault",
                          "silent,at=100,ms=50",
                          "--fault",
                          "split,frame=R,first=1,value=40"};
    CSimProgramOptions options;
    std::string strError;
    ASSERT_TRUE(ParseSimOptions(15, const_cast<char**>(argv), options, strError)) << strError;
    ASSERT_EQ(options.m_faults.size(), 2u);
    EXPECT_EQ(options.m_faults[0].m_kind, ESimFault::Late);
    EXPECT_EQ(options.m_faults[0].m_cFrame, 'Q');
    EXPECT_EQ(options.m_faults[0].m_nTimes, 2);
    EXPECT_EQ(options.m_faults[1].m_kind, ESimFault::Split);
    EXPECT_EQ(options.m_faults[1].m_nFirst, 1);
    EXPECT_EQ(options.m_faults[1].m_nValue, 40);
    ASSERT_EQ(options.m_timedFaults.size(), 1u);
    EXPECT_EQ(options.m_timedFaults[0].m_nAtMs, 100);
    CSimMachine machine;
    ASSERT_TRUE(ConfigureMachine(options, machine, strError)) << strError;
    const auto regs = machine.Registers();
    EXPECT_EQ(regs[44], 200);
    EXPECT_EQ(regs[52], 3);

    const char* bad[][3] = {{"sim", "--param", "NoSuchField=1"},
                            {"sim", "--fault", "late,frame=X"},
                            {"sim", "--fault", "explode"},
                            {"sim", "--fault", "split,first=256"},
                            {"sim", "--port", "70000"}};
    for (const auto& args : bad) {
        CSimProgramOptions o;
        const char* argvBad[] = {args[0], "--listen", "127.0.0.1", args[1], args[2]};
        CSimMachine m;
        const bool bOk = ParseSimOptions(5, const_cast<char**>(argvBad), o, strError) &&
                         ConfigureMachine(o, m, strError);
        EXPECT_FALSE(bOk) << args[1] << " " << args[2];
    }
}

} // namespace
} // namespace inkvale::sim
