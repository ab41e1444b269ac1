// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/link/UsbBulkLink.h"
#include "SimFixture.h"

#include <deque>

namespace inkvale::test {
namespace {

// A bus whose devices answer reads from a script; it records every call.
class CScriptedUsbBus : public IUsbBus {
public:
    struct CDevice {
        uint16_t m_nVendor;
        uint16_t m_nProduct;
        bool m_bClaimFails = false;
    };
    explicit CScriptedUsbBus(std::vector<CDevice> devices) : m_devices(std::move(devices)) {}

    void Init() override { m_log.push_back("init"); }
    int FindBusses() override { return 1; }
    int FindDevices() override {
        m_log.push_back("find");
        return 1;
    }
    std::vector<CUsbDeviceRef> Devices() override {
        std::vector<CUsbDeviceRef> refs;
        for (CDevice& d : m_devices)
            refs.push_back({d.m_nVendor, d.m_nProduct, &d});
        return refs;
    }
    void* Open(const CUsbDeviceRef& ref) override {
        m_pOpened = static_cast<CDevice*>(ref.m_pDevice);
        m_log.push_back("open " + std::to_string(m_pOpened - m_devices.data()));
        ++m_nOpen;
        return ref.m_pDevice;
    }
    int ClaimInterface(void* p, int) override {
        m_log.push_back("claim");
        return static_cast<CDevice*>(p)->m_bClaimFails ? -16 : 0;
    }
    int ReleaseInterface(void*, int) override {
        m_log.push_back("release");
        return 0;
    }
    int Close(void*) override {
        m_log.push_back("close");
        --m_nOpen;
        return 0;
    }
    int BulkWrite(void*, int nEp, const uint8_t*, int n, int nTimeoutMs) override {
        m_writes.push_back({nEp, n, nTimeoutMs});
        return n;
    }
    int BulkRead(void*, int nEp, uint8_t* p, int n, int nTimeoutMs) override {
        m_reads.push_back({nEp, n, nTimeoutMs});
        if (m_script.empty())
            return -110;
        const std::vector<uint8_t> reply = m_script.front();
        m_script.pop_front();
        std::copy(reply.begin(), reply.end(), p);
        return static_cast<int>(reply.size());
    }

    struct CTransfer {
        int m_nEndpoint, m_nSize, m_nTimeoutMs;
    };
    std::vector<CDevice> m_devices;
    CDevice* m_pOpened = nullptr;
    std::vector<std::string> m_log;
    std::vector<CTransfer> m_writes, m_reads;
    std::deque<std::vector<uint8_t>> m_script;
    int m_nOpen = 0;
};

TEST(UsbBulkLinkTest, BandDataOf4097BytesIs128PacketsAndTwoAcknowledgements) {
    CScriptedUsbBus bus({{0xA727, 0x5291}});
    CUsbBulkLink usb(bus);
    bus.m_script = {{kStatePrinting}, {kStatePrinting}};
    std::vector<uint8_t> data(4097, 0x5A);
    std::atomic<uint8_t> state{0};
    std::lock_guard<std::mutex> guard(usb.Lock());
    EXPECT_EQ(usb.SendData(data.data(), data.size(), state), 4097);
    ASSERT_EQ(bus.m_writes.size(), 128u);
    for (const auto& w : bus.m_writes) {
        EXPECT_EQ(w.m_nEndpoint, 0x01);
        EXPECT_EQ(w.m_nSize, 64);
        EXPECT_EQ(w.m_nTimeoutMs, 200);
    }
    ASSERT_EQ(bus.m_reads.size(), 2u);
    EXPECT_EQ(bus.m_reads[0].m_nEndpoint, 0x81);
    EXPECT_EQ(bus.m_reads[0].m_nSize, 64);
    EXPECT_EQ(bus.m_reads[0].m_nTimeoutMs, 500);
    EXPECT_EQ(state, kStatePrinting);
    EXPECT_TRUE(usb.IsOpen());
}

TEST(UsbBulkLinkTest, AFailedClaimLeavesNoHandleAndTheNextOpenStartsAfresh) {
    CScriptedUsbBus bus({{0xA727, 0x5291, true}});
    CUsbBulkLink usb(bus);
    std::lock_guard<std::mutex> guard(usb.Lock());
    uint8_t nState = 0;
    EXPECT_EQ(usb.Action(kActTest, &nState), -1);
    EXPECT_FALSE(usb.IsOpen());
    EXPECT_EQ(bus.m_nOpen, 0);
    EXPECT_TRUE(bus.m_writes.empty());
    bus.m_devices[0].m_bClaimFails = false;
    bus.m_script = {{0x04, 0x50, 0x0A, kStateCleaning}};
    EXPECT_EQ(usb.Action(kActTest, &nState), 0);
    EXPECT_EQ(nState, kStateCleaning);
    const std::vector<std::string> expected = {"init",  "find",   "open 0", "claim",
                                               "close", "open 0", "claim"};
    EXPECT_EQ(bus.m_log, expected);
    usb.Close();
    EXPECT_EQ(bus.m_nOpen, 0);
}

TEST(UsbBulkLinkTest, OnlyTheDedicatedVendorAndProductAreOpened) {
    CScriptedUsbBus bus({{0xA728, 0x5291}, {0xA727, 0x5292}, {0xA727, 0x5291}});
    CUsbBulkLink usb(bus);
    std::lock_guard<std::mutex> guard(usb.Lock());
    EXPECT_EQ(usb.EnsureOpen(), 0);
    EXPECT_EQ(bus.m_pOpened, &bus.m_devices[2]);

    CScriptedUsbBus none({{0xA728, 0x5291}});
    CUsbBulkLink absent(none);
    std::lock_guard<std::mutex> guard2(absent.Lock());
    EXPECT_EQ(absent.EnsureOpen(), -1);
    EXPECT_EQ(none.m_nOpen, 0);
}

// The whole command layer over the dedicated USB link against the simulated machine.
TEST_F(CSimCommuTest, UsbExchangesReachTheMachineWithTheSameFrames) {
    m_choice.m_nVia = kCommuUsb;
    CReplyBuffer reply{};
    ASSERT_EQ(m_pCommu->ReadRegs(0, 80, reply), 0);
    EXPECT_EQ(reply[4 + 79], 0x59);
    const std::vector<uint8_t> offset = {0x50, 0x00};
    EXPECT_EQ(m_pCommu->WriteRegs(50, 2, offset.data()), 0);
    EXPECT_EQ(m_sim.Registers()[50], 0x50);
    EXPECT_EQ(m_pCommu->SendAction(kActReset), 0);
    EXPECT_EQ(m_status.m_nMachineState, kStateInit);
    const auto frames = FramesOfKind('Q');
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], (std::vector<uint8_t>{0x04, 0x51, 0x00, 0x50}));
    // A write reply too late for the 500 ms read fails the exchange and closes the device.
    m_sim.AddFault({sim::ESimFault::Late, 'R', -1, 1, 800});
    EXPECT_EQ(m_pCommu->WriteRegs(50, 2, offset.data()), -1);
    EXPECT_EQ(m_pUsbBus->OpenHandles(), 0);
}

} // namespace
} // namespace inkvale::test
