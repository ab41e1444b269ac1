// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/link/MachineCommands.h"
#include "SimFixture.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <utility>

namespace inkvale::test {
namespace {

using sim::CSimFault;
using sim::ESimFault;
using Bytes = std::vector<uint8_t>;

Bytes Concat(Bytes head, const Bytes& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

Bytes Le32(int32_t v) {
    const auto b = Le32Bytes(v);
    return Bytes(b.begin(), b.end());
}

// Band data that fills the column image of a two-head job of JobWidth 70 (100 columns of
// 22 words = 2200 words): nLiteral literal words, then one zero run for the rest.
Bytes BandForWidth70(int nLiteral) {
    Bytes data;
    for (int i = 0; i < nLiteral; ++i) {
        data.push_back(static_cast<uint8_t>(i % 251 + 1));
        data.push_back(0);
    }
    const auto run = static_cast<uint16_t>(2200 - nLiteral);
    const Bytes tail = {0, 0, static_cast<uint8_t>(run), static_cast<uint8_t>(run >> 8)};
    return Concat(data, tail);
}

class MachineCommandsTest : public CSimCommuTest {
protected:
    void SetUp() override {
        CSimCommuTest::SetUp();
        sim::CSimTiming timing;
        timing.m_nStartMs = 0;
        timing.m_nFinishMs = 0;
        m_sim.SetTiming(timing);
    }

    // Job header of a JobWidth-70 job; the link stays open from here on.
    void StartJob(int32_t nBands) {
        const Bytes header = Concat(Le32(70), Le32(nBands));
        ASSERT_EQ(m_pCommu->WriteRegs(kRegJobHeader, 8, header.data()), 0);
        m_status.m_bJobRunning = true;
    }

    // StartJob, then band request 0 answered "send it now".
    void StartJobAndRequestBand(int32_t nBands) {
        ASSERT_NO_FATAL_FAILURE(StartJob(nBands));
        const Bytes band = Le32(0);
        ASSERT_EQ(m_pCommu->WriteRegs(kRegBandRequest, 4, band.data()), kBandSendNow);
    }

    int ReadState() {
        CReplyBuffer reply{};
        return m_pCommu->ReadRegs(kRegState, 1, reply) == 0 ? reply[4] : -1;
    }
};

TEST_F(MachineCommandsTest, SendsTheFramesInUseByteForByte) {
    const Bytes block56(56, 0x11);
    const Bytes block20(20, 0x22);
    const Bytes ip = {127, 0, 0, 1};
    const Bytes header = Concat(Le32(0x1234), Le32(3));
    const Bytes band2 = Le32(2);
    CReplyBuffer reply{};
    struct Case {
        const char* m_pszName;
        std::function<int()> m_exchange;
        Bytes m_frame;
    } cases[] = {
        {"read parameter block",
         [&] { return m_pCommu->ReadRegs(0, 80, reply); },
         {0x04, 0x51, 0x00, 0x50}},
        {"read extended block",
         [&] { return m_pCommu->ReadRegs(128, 20, reply); },
         {0x04, 0x51, 0x80, 0x14}},
        {"read position",
         [&] { return m_pCommu->ReadRegs(92, 8, reply); },
         {0x04, 0x51, 0x5C, 0x08}},
        {"read state", [&] { return m_pCommu->ReadRegs(100, 1, reply); }, {0x04, 0x51, 0x64, 0x01}},
        {"write parameter block", [&] { return m_pCommu->WriteRegs(24, 56, block56.data()); },
         Concat({0x3C, 0x52, 0x18, 0x38}, block56)},
        {"write extended block", [&] { return m_pCommu->WriteRegs(128, 20, block20.data()); },
         Concat({0x18, 0x52, 0x80, 0x14}, block20)},
        {"write machine address", [&] { return m_pCommu->WriteRegs(4, 4, ip.data()); },
         Concat({0x08, 0x52, 0x04, 0x04}, ip)},
        {"job header", [&] { return m_pCommu->WriteRegs(80, 8, header.data()); },
         Concat({0x0C, 0x52, 0x50, 0x08}, header)},
        {"band request", [&] { return m_pCommu->WriteRegs(120, 4, band2.data()); },
         Concat({0x08, 0x52, 0x78, 0x04}, band2)},
        {"band done", [&] { return m_pCommu->WriteRegs(124, 4, band2.data()); },
         Concat({0x08, 0x52, 0x7C, 0x04}, band2)},
        {"pause", [&] { return m_pCommu->SendAction(kActPause); }, {0x03, 0x50, 0x0B}},
    };
    for (const Case& c : cases) {
        m_sim.ClearFrames();
        EXPECT_EQ(c.m_exchange(), 0) << c.m_pszName;
        const auto frames = m_sim.Frames();
        ASSERT_EQ(frames.size(), 1u) << c.m_pszName;
        EXPECT_EQ(frames[0].m_bytes, c.m_frame) << c.m_pszName;
    }
}

TEST_F(MachineCommandsTest, ReadRepliesCarryTheRegistersAndLeaveTheStateAlone) {
    ASSERT_TRUE(m_sim.SetParam("HeadCombination", 3));
    CReplyBuffer reply{};
    ASSERT_EQ(m_pCommu->ReadRegs(0, 80, reply), 0);
    EXPECT_EQ(reply[4 + 52], 3);    // HeadCombination
    EXPECT_EQ(reply[4 + 79], 0x59); // extended block announced
    EXPECT_EQ(reply[4 + 4], 127);   // address, first octet first
    EXPECT_EQ(m_status.m_nMachineState, kStateNoAnswer);
    ASSERT_EQ(m_pCommu->ReadRegs(100, 1, reply), 0);
    EXPECT_EQ(reply[4], kStateReady);
    EXPECT_EQ(m_status.m_nMachineState, kStateNoAnswer) << "reads never touch the state byte";
    ASSERT_EQ(m_pCommu->SendAction(kActJogStop), 0);
    EXPECT_EQ(m_status.m_nMachineState, kStateReady);
}

// Every malformed, missing or late reply fails with its code, leaves the state byte as it
// was, and the next exchange starts on a fresh connection and succeeds.
TEST_F(MachineCommandsTest, FaultyRepliesFailAndTheNextExchangeStartsClean) {
    const Bytes band = Le32(4);
    struct Case {
        const char* m_pszName;
        CSimFault m_fault;
        char m_cExchange; // 'P' action, 'Q' state read, 'R' band done write
        int m_nExpected;
    } cases[] = {
        {"state read of 4 bytes", {ESimFault::Garble, 'Q', -1, 1, 0}, 'Q', -1},
        {"state read of 6 bytes", {ESimFault::Garble, 'Q', -1, 1, 1}, 'Q', -1},
        {"write reply with byte 3 altered", {ESimFault::Garble, 'R', -1, 1, 2}, 'R', -1},
        {"action reply of 3 bytes", {ESimFault::Garble, 'P', -1, 1, 0}, 'P', -2},
        {"action reply of 5 bytes", {ESimFault::Garble, 'P', -1, 1, 1}, 'P', -2},
        {"lost action reply", {ESimFault::Lose, 'P', -1, 1, 0}, 'P', -2},
        {"lost read reply", {ESimFault::Lose, 'Q', -1, 1, 0}, 'Q', -1},
        // Every byte comes in time for a receive, but the reply as a whole does not: the
        // time-out bounds the whole reply.
        {"state read trickling past the time-out",
         {ESimFault::Trickle, 'Q', -1, 1, kTestIoMs / 3},
         'Q',
         -1},
        {"late read reply", {ESimFault::Late, 'Q', -1, 1, kTestIoMs + 300}, 'Q', -1},
        {"dropped connection", {ESimFault::Drop, 'P', -1, 1, 0}, 'P', -2},
        {"dropped connection on a write", {ESimFault::Drop, 'R', -1, 1, 0}, 'R', -1},
    };
    for (const Case& c : cases) {
        m_status.m_nMachineState = 0x42;
        m_sim.AddFault(c.m_fault);
        const int nBefore = m_sim.Stats().m_nConnections;
        const auto start = std::chrono::steady_clock::now();
        int nResult = 0;
        if (c.m_cExchange == 'P')
            nResult = m_pCommu->SendAction(kActJogStop);
        else if (c.m_cExchange == 'Q')
            nResult = ReadState() < 0 ? -1 : 0;
        else
            nResult = m_pCommu->WriteRegs(kRegBandDone, 4, band.data());
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(nResult, c.m_nExpected) << c.m_pszName;
        EXPECT_EQ(m_status.m_nMachineState, 0x42) << c.m_pszName;
        // Bounded by one receive time-out, with room for a loaded machine.
        EXPECT_LT(elapsed, std::chrono::milliseconds(kTestIoMs + 500)) << c.m_pszName;
        EXPECT_FALSE(m_pEth->IsOpen()) << c.m_pszName;
        // The late reply of the failed exchange must not be taken for this one.
        std::this_thread::sleep_for(
            std::chrono::milliseconds(c.m_fault.m_nValue > kTestIoMs ? 400 : 0));
        EXPECT_EQ(m_pCommu->SendAction(kActJogStop), 0) << c.m_pszName;
        EXPECT_EQ(m_status.m_nMachineState, kStateReady) << c.m_pszName;
        EXPECT_EQ(m_sim.Stats().m_nConnections, nBefore + 2) << c.m_pszName;
    }
}

// TCP is a stream: a reply may reach the host in several segments. However it is cut, the
// exchange takes the whole reply, and the connection stays in step: the next exchange on it
// gets its own reply.
TEST_F(MachineCommandsTest, RepliesArrivingInPiecesAreTakenWhole) {
    ASSERT_NO_FATAL_FAILURE(StartJob(1000));
    ASSERT_EQ(ReadState(), kStatePrinting); // opens the connection every exchange below uses
    const int nConnections = m_sim.Stats().m_nConnections;
    const Bytes data = BandForWidth70(648);
    int32_t nBand = 0;
    CReplyBuffer reply{};
    struct Cut {
        const char* m_pszName;
        ESimFault m_kind;
        int m_nFirst;
        int m_nPauseMs;
    } cuts[] = {
        {"after the first byte", ESimFault::Split, 1, 40},
        {"in the middle", ESimFault::Split, 0, 40},
        {"one byte at a time", ESimFault::Trickle, 0, 3},
    };
    struct Exchange {
        const char* m_pszName;
        char m_cFrame;
        int m_nAddress;
        std::function<void()> m_run; // the exchange with its checks
    } exchanges[] = {
        {"state read", 'Q', kRegState, [&] { EXPECT_EQ(ReadState(), kStatePrinting); }},
        {"parameter read", 'Q', kRegParams,
         [&] {
             ASSERT_EQ(m_pCommu->ReadRegs(kRegParams, kRegParamsLen, reply), 0);
             const auto regs = m_sim.Registers();
             EXPECT_TRUE(std::equal(regs.begin(), regs.begin() + kRegParamsLen, reply.begin() + 4));
         }},
        {"band request", 'R', kRegBandRequest,
         [&] {
             const Bytes band = Le32(nBand++);
             ASSERT_EQ(m_pCommu->WriteRegs(kRegBandRequest, 4, band.data()), kBandSendNow);
             EXPECT_EQ(m_pCommu->SendData(data.data(), data.size()), 1300);
             EXPECT_EQ(m_pCommu->WriteRegs(kRegBandDone, 4, band.data()), 0);
         }},
        {"action", 'P', -1,
         [&] {
             m_status.m_nMachineState = 0x42;
             ASSERT_EQ(m_pCommu->SendAction(kActJogStop), 0);
             EXPECT_EQ(m_status.m_nMachineState, kStatePrinting);
         }},
    };
    for (const Cut& cut : cuts) {
        for (const Exchange& exchange : exchanges) {
            SCOPED_TRACE(std::string(exchange.m_pszName) + ", cut " + cut.m_pszName);
            CSimFault fault;
            fault.m_kind = cut.m_kind;
            fault.m_cFrame = exchange.m_cFrame;
            fault.m_nAddress = exchange.m_nAddress;
            fault.m_nValue = cut.m_nPauseMs;
            fault.m_nFirst = cut.m_nFirst;
            m_sim.AddFault(fault);
            const auto start = std::chrono::steady_clock::now();
            exchange.m_run();
            // The reply did come in pieces: the machine paused between them.
            EXPECT_GE(std::chrono::steady_clock::now() - start,
                      std::chrono::milliseconds(cut.m_nPauseMs));
            EXPECT_TRUE(m_pEth->IsOpen());
            EXPECT_EQ(ReadState(), kStatePrinting);
            EXPECT_EQ(m_sim.Stats().m_nConnections, nConnections);
        }
    }
    EXPECT_EQ(m_sim.Stats().m_nBandsReceived, nBand);
    EXPECT_EQ(m_sim.Stats().m_nBadBands, 0);
}

TEST_F(MachineCommandsTest, AMachineThatStopsAnsweringFailsWithinTheTimeOut) {
    m_sim.SetSilentFor(2 * kTestIoMs + 100);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(m_pCommu->SendAction(kActJogStop), -2);
    EXPECT_EQ(ReadState(), -1);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    // Two receive time-outs, with room for a loaded machine.
    EXPECT_LT(elapsed, std::chrono::milliseconds(2 * kTestIoMs + 600));
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(ReadState(), kStateReady);
}

TEST_F(MachineCommandsTest, NoMachineListeningFailsAtOnce) {
    m_server.Stop(); // the port is closed now: the connection is refused
    EXPECT_EQ(m_pCommu->SendAction(kActJogStop), -1);
    CReplyBuffer reply{};
    EXPECT_EQ(m_pCommu->ReadRegs(100, 1, reply), -1);
    const Bytes band = Le32(0);
    EXPECT_EQ(m_pCommu->WriteRegs(kRegBandRequest, 4, band.data()), -1);
    EXPECT_EQ(m_pCommu->SendData(band.data(), band.size()), -1);
    EXPECT_EQ(m_status.m_nMachineState, kStateNoAnswer);
}

TEST_F(MachineCommandsTest, OutsideAJobEveryExchangeHasItsOwnConnection) {
    const int nBefore = m_sim.Stats().m_nConnections;
    EXPECT_EQ(ReadState(), kStateReady);
    EXPECT_EQ(ReadState(), kStateReady);
    EXPECT_EQ(m_sim.Stats().m_nConnections, nBefore + 2);
    EXPECT_FALSE(m_pEth->IsOpen());
}

TEST_F(MachineCommandsTest, DuringAJobTheLinkStaysOpenUntilAnExchangeIsNotZero) {
    const Bytes header = Concat(Le32(70), Le32(2));
    ASSERT_EQ(m_pCommu->WriteRegs(kRegJobHeader, 8, header.data()), 0);
    m_status.m_bJobRunning = true;
    const int nBefore = m_sim.Stats().m_nConnections;
    EXPECT_EQ(ReadState(), kStatePrinting);
    EXPECT_EQ(ReadState(), kStatePrinting);
    EXPECT_EQ(m_sim.Stats().m_nConnections, nBefore + 1);
    EXPECT_TRUE(m_pEth->IsOpen());
    // A busy answer to a band request is a result other than 0: it closes the link.
    m_sim.AddFault({ESimFault::Busy, 0, -1, 1, 0});
    const Bytes band = Le32(0);
    EXPECT_EQ(m_pCommu->WriteRegs(kRegBandRequest, 4, band.data()), kBandBusy);
    EXPECT_FALSE(m_pEth->IsOpen());
    EXPECT_EQ(ReadState(), kStatePrinting);
    EXPECT_EQ(m_sim.Stats().m_nConnections, nBefore + 2);
}

TEST_F(MachineCommandsTest, BandDataGoesInAcknowledgedChunksWithZeroPadding) {
    StartJobAndRequestBand(3);
    const Bytes data = BandForWidth70(648); // 1296 + 4 = 1300 bytes
    ASSERT_EQ(data.size(), 1300u);
    m_sim.ClearFrames();
    EXPECT_EQ(m_pCommu->SendData(data.data(), data.size()), 1300);
    const auto chunks = FramesOfKind('D');
    ASSERT_EQ(chunks.size(), 3u);
    for (const Bytes& chunk : chunks)
        EXPECT_EQ(chunk.size(), 600u);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 600, chunks[0].begin()));
    EXPECT_TRUE(std::equal(data.begin() + 1200, data.end(), chunks[2].begin()));
    EXPECT_TRUE(
        std::all_of(chunks[2].begin() + 100, chunks[2].end(), [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(m_status.m_nMachineState, kStatePrinting);
    EXPECT_TRUE(m_pEth->IsOpen()) << "band data has no close-after rule";
    EXPECT_EQ(m_sim.Stats().m_nBandsReceived, 1);
    EXPECT_EQ(m_sim.Stats().m_nBadBands, 0);
}

TEST_F(MachineCommandsTest, AnAcknowledgementOfReadyEndsTheBandAndClosesTheLink) {
    StartJobAndRequestBand(3);
    m_sim.AddFault({ESimFault::StopJob, 'D', -1, 1, 0, 1}); // at the second chunk
    const Bytes data = BandForWidth70(648);
    m_sim.ClearFrames();
    EXPECT_EQ(m_pCommu->SendData(data.data(), data.size()), 1);
    EXPECT_EQ(FramesOfKind('D').size(), 2u);
    EXPECT_EQ(m_status.m_nMachineState, kStateReady);
    EXPECT_FALSE(m_pEth->IsOpen());
    // The stopped machine answers the next band request with the ready state.
    const Bytes band = Le32(0);
    (void)m_pCommu->WriteRegs(kRegBandRequest, 4, band.data());
    EXPECT_EQ(m_status.m_nMachineState, kStateReady);
}

TEST_F(MachineCommandsTest, AMissingAcknowledgementFailsTheBand) {
    StartJobAndRequestBand(3);
    m_sim.AddFault({ESimFault::Lose, 'D', -1, 1, 0, 1});
    const Bytes data = BandForWidth70(648);
    EXPECT_EQ(m_pCommu->SendData(data.data(), data.size()), -1);
    EXPECT_FALSE(m_pEth->IsOpen());
    // The band is requested and sent again on a new connection.
    const Bytes band = Le32(0);
    EXPECT_EQ(m_pCommu->WriteRegs(kRegBandRequest, 4, band.data()), kBandSendNow);
    EXPECT_EQ(m_pCommu->SendData(data.data(), data.size()), 1300);
}

TEST_F(MachineCommandsTest, WriteResultsAreUnsignedOnEthernetAndSignedOnUsb) {
    const Bytes header = Concat(Le32(70), Le32(1));
    m_sim.AddFault({ESimFault::RefuseJob, 0, -1, 1, 200});
    EXPECT_EQ(m_pCommu->WriteRegs(kRegJobHeader, 8, header.data()), 200);
    m_choice.m_nVia = kCommuUsb;
    m_sim.AddFault({ESimFault::RefuseJob, 0, -1, 1, 200});
    EXPECT_EQ(m_pCommu->WriteRegs(kRegJobHeader, 8, header.data()), -56);
    m_sim.AddFault({ESimFault::RefuseJob, 0, -1, 1, 127});
    EXPECT_EQ(m_pCommu->WriteRegs(kRegJobHeader, 8, header.data()), 127);
}

TEST_F(MachineCommandsTest, EveryCallTakesTheLinkOfTheSettingAtThatMoment) {
    struct Case {
        int m_nVia;
        int m_nExpected;
        bool m_bUsb;            // the dedicated USB bus carried the exchange
        int m_nMachineSessions; // sessions the machine saw (TCP connection or USB open)
    } cases[] = {
        {kCommuEthernet, 0, false, 1},
        {kCommuUsb, 0, true, 1},
        {kCommuUsbPrint, -1, false, 0}, // no printer device present: nothing is sent
        {7, 0, false, 1},               // any other value: Ethernet
    };
    for (const Case& c : cases) {
        m_choice.m_nVia = c.m_nVia;
        m_pUsbBus->ClearCalls();
        const int nBefore = m_sim.Stats().m_nConnections;
        EXPECT_EQ(m_pCommu->SendAction(kActJogStop), c.m_nExpected) << c.m_nVia;
        EXPECT_EQ(m_sim.Stats().m_nConnections - nBefore, c.m_nMachineSessions) << c.m_nVia;
        const auto calls = m_pUsbBus->Calls();
        EXPECT_EQ(!calls.empty(), c.m_bUsb) << c.m_nVia;
        if (c.m_bUsb) {
            // open, claim, the frame, the reply, then the close-after: release and close
            ASSERT_EQ(calls.size(), 6u);
            EXPECT_EQ(calls[2].m_kind, sim::CSimUsbCall::Write);
            EXPECT_EQ(calls[2].m_nSize, 3);
            EXPECT_EQ(calls[2].m_nEndpoint, 0x01);
            EXPECT_EQ(calls[2].m_nTimeoutMs, 60);
            EXPECT_EQ(calls[3].m_kind, sim::CSimUsbCall::Read);
            EXPECT_EQ(calls[3].m_nEndpoint, 0x81);
            EXPECT_EQ(calls[3].m_nTimeoutMs, 500);
            EXPECT_EQ(calls[5].m_kind, sim::CSimUsbCall::Close);
            EXPECT_EQ(m_pUsbBus->OpenHandles(), 0);
        }
    }
}

#ifdef INKVALE_LOOPBACK_ONLY
// Every kind of exchange with an address outside 127.0.0.0/8 fails without reaching anyone
// and leaves the reason in the status; the next exchange over a link that opens clears it.
TEST_F(MachineCommandsTest, ARefusedAddressLeavesItsReasonInTheStatusUntilALinkOpens) {
    constexpr uint32_t kTestNet1 = 0x010200C0u; // 192.0.2.1, a documentation address
    const CLinkRefusal refused{ELinkRefusal::kLoopbackOnly, kTestNet1};
    const Bytes data = Le32(0);
    const std::pair<const char*, std::function<int()>> exchanges[] = {
        {"action", [&] { return m_pCommu->SendAction(kActJogStop); }},
        {"read", [&] { return ReadState(); }},
        {"write", [&] { return m_pCommu->WriteRegs(kRegBandRequest, 4, data.data()); }},
        {"band data", [&] { return m_pCommu->SendData(data.data(), data.size()); }},
    };
    m_choice.m_nIp = kTestNet1;
    for (const auto& [pszName, exchange] : exchanges) {
        m_status.m_linkRefusal.Store({});
        EXPECT_EQ(exchange(), -1) << pszName;
        EXPECT_EQ(m_status.m_linkRefusal.Load(), refused) << pszName;
    }
    EXPECT_EQ(m_sim.Stats().m_nConnections, 0);

    m_choice.m_nVia = kCommuUsb; // a link that does not look at the address
    EXPECT_EQ(ReadState(), kStateReady);
    EXPECT_FALSE(m_status.m_linkRefusal.Load().Refused());
    m_choice.m_nVia = kCommuEthernet;
    EXPECT_EQ(ReadState(), -1);
    EXPECT_EQ(m_status.m_linkRefusal.Load(), refused);
    m_choice.m_nIp = kLoopbackIp;
    EXPECT_EQ(ReadState(), kStateReady);
    EXPECT_FALSE(m_status.m_linkRefusal.Load().Refused());
}
#endif

TEST_F(MachineCommandsTest, CloseEthLinkClosesOnlyAnEthernetChoice) {
    const Bytes header = Concat(Le32(70), Le32(2));
    ASSERT_EQ(m_pCommu->WriteRegs(kRegJobHeader, 8, header.data()), 0);
    m_status.m_bJobRunning = true;
    ASSERT_EQ(ReadState(), kStatePrinting);
    ASSERT_TRUE(m_pEth->IsOpen());
    m_choice.m_nVia = kCommuUsb;
    m_pCommu->CloseEthLink();
    EXPECT_TRUE(m_pEth->IsOpen());
    m_choice.m_nVia = kCommuEthernet;
    m_pCommu->CloseEthLink();
    EXPECT_FALSE(m_pEth->IsOpen());
    m_pCommu->CloseEthLink(); // closing a closed link does nothing
    EXPECT_FALSE(m_pEth->IsOpen());
}

} // namespace
} // namespace inkvale::test
