// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/link/UsbPrinterLink.h"
#include "SimFixture.h"
#include "common/TestPaths.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace inkvale::test {
namespace {

namespace fs = std::filesystem;

TEST(UsbPrinterLinkTest, IdentityNeedsVendorA728AndProduct5291AfterTheStart) {
    struct Case {
        const char* m_pszIdentity;
        bool m_bAccepted;
    } cases[] = {
        {"usb#vid_a728&pid_5291#lp0", true},  {"USB#VID_A728&PID_5291#LP0", true},
        {"usb#vid_a727&pid_5291#lp0", false}, {"usb#vid_a728&pid_5292#lp0", false},
        {"vid_a728&pid_5291#lp0", false}, // vendor text at position 0
        {"usb#vid_a728#lp0", false},          {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchUsbPrintIdentity(c.m_pszIdentity), c.m_bAccepted) << c.m_pszIdentity;
}

// A sysfs tree shaped like the kernel's: class/usbmisc/lpN links to the interface's usbmisc
// folder; lpN/device is the interface, whose parent USB device holds idVendor/idProduct.
void AddPrinter(const fs::path& root, const std::string& strLp, const std::string& strVendor,
                const std::string& strProduct, int nPort) {
    const fs::path usbDevice = root / "devices" / ("1-" + std::to_string(nPort));
    const fs::path iface = usbDevice / ("1-" + std::to_string(nPort) + ":1.0");
    fs::create_directories(iface / "usbmisc" / strLp);
    std::ofstream(usbDevice / "idVendor") << strVendor << "\n";
    std::ofstream(usbDevice / "idProduct") << strProduct << "\n";
    fs::create_symlink(iface, iface / "usbmisc" / strLp / "device");
    fs::create_directories(root / "class" / "usbmisc");
    fs::create_symlink(iface / "usbmisc" / strLp, root / "class" / "usbmisc" / strLp);
}

TEST(UsbPrinterLinkTest, SearchFindsThePrinterDeviceOfTheMachine) {
    CScratchDir dir;
    AddPrinter(dir.Path() / "sys", "lp0", "a727", "5291", 1);
    AddPrinter(dir.Path() / "sys", "lp1", "A728", "5291", 2);
    CUsbPrinterLink link({(dir.Path() / "sys").string(), (dir.Path() / "dev").string(), 100});
    EXPECT_EQ(link.Search(), (dir.Path() / "dev" / "lp1").string());

    CScratchDir other;
    AddPrinter(other.Path() / "sys", "lp0", "a727", "5291", 1);
    CUsbPrinterLink absent({(other.Path() / "sys").string(), (other.Path() / "dev").string(), 100});
    EXPECT_EQ(absent.Search(), "");
    std::lock_guard<std::mutex> guard(absent.Lock());
    EXPECT_EQ(absent.EnsureOpen(), -1);
}

// The simulated machine behind a pseudo-terminal that stands in for /dev/usb/lp1.
class UsbPrinterLinkSimTest : public CSimCommuTest {
protected:
    void SetUp() override {
        CSimCommuTest::SetUp();
        m_nMaster = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(m_nMaster, 0);
        ASSERT_EQ(grantpt(m_nMaster), 0);
        ASSERT_EQ(unlockpt(m_nMaster), 0);
        const std::string strSlave = ptsname(m_nMaster);
        // Held open for the whole test so the host's opens and closes never hang it up.
        m_nSlave = open(strSlave.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(m_nSlave, 0);
        termios raw{};
        tcgetattr(m_nSlave, &raw);
        cfmakeraw(&raw);
        tcsetattr(m_nSlave, TCSANOW, &raw);
        AddPrinter(m_dir.Path() / "sys", "lp1", "a728", "5291", 2);
        fs::create_directories(m_dir.Path() / "dev");
        fs::create_symlink(strSlave, m_dir.Path() / "dev" / "lp1");
        m_pPrintLink = std::make_unique<CUsbPrinterLink>(
            CUsbPrintPaths{(m_dir.Path() / "sys").string(), (m_dir.Path() / "dev").string(), 300});
        m_pPrintCommu =
            std::make_unique<CMachineCommands>(m_choice, m_status, *m_pEth, *m_pPrintLink, *m_pUsb);
        m_pPump = std::make_unique<sim::CSimDevicePump>(m_sim, m_nMaster);
        m_choice.m_nVia = kCommuUsbPrint;
    }
    void TearDown() override {
        m_pPump.reset();
        m_pPrintCommu.reset();
        m_pPrintLink.reset();
        close(m_nSlave);
        close(m_nMaster);
        CSimCommuTest::TearDown();
    }

    CScratchDir m_dir;
    int m_nMaster = -1;
    int m_nSlave = -1;
    std::unique_ptr<CUsbPrinterLink> m_pPrintLink;
    std::unique_ptr<CMachineCommands> m_pPrintCommu;
    std::unique_ptr<sim::CSimDevicePump> m_pPump;
};

TEST_F(UsbPrinterLinkSimTest, ExchangesAndBandDataReachTheMachine) {
    CReplyBuffer reply{};
    ASSERT_EQ(m_pPrintCommu->ReadRegs(100, 1, reply), 0);
    EXPECT_EQ(reply[4], kStateReady);
    EXPECT_FALSE(m_pPrintLink->IsOpen()) << "closed after the exchange outside a job";
    m_sim.AddFault({sim::ESimFault::RefuseJob, 0, -1, 1, 0xC8});
    const std::vector<uint8_t> header = {70, 0, 0, 0, 1, 0, 0, 0};
    EXPECT_EQ(m_pPrintCommu->WriteRegs(kRegJobHeader, 8, header.data()), -56);
    // A real job: header, band request, one band of 1300 bytes in one 4096-byte chunk.
    sim::CSimTiming timing;
    timing.m_nStartMs = 0;
    m_sim.SetTiming(timing);
    ASSERT_EQ(m_pPrintCommu->WriteRegs(kRegJobHeader, 8, header.data()), 0);
    m_status.m_bJobRunning = true;
    const std::vector<uint8_t> band0 = {0, 0, 0, 0};
    ASSERT_EQ(m_pPrintCommu->WriteRegs(kRegBandRequest, 4, band0.data()), 0);
    // 648 literal words, then a run of 1552 zero words: 2200 words for JobWidth 70.
    std::vector<uint8_t> data(1300, 0x01);
    data[1296] = 0;
    data[1297] = 0;
    data[1298] = 0x10;
    data[1299] = 0x06;
    EXPECT_EQ(m_pPrintCommu->SendData(data.data(), data.size()), 1300);
    const auto chunks = FramesOfKind('D');
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0].size(), 4096u);
    EXPECT_EQ(m_sim.Stats().m_nBandsReceived, 1);
    EXPECT_TRUE(m_pPrintLink->IsOpen());
}

TEST_F(UsbPrinterLinkSimTest, ADeviceThatStopsAnsweringFailsAfterTheTimeOut) {
    m_sim.SetSilentFor(500);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(m_pPrintCommu->SendAction(kActJogStop), -2);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(700));
    EXPECT_FALSE(m_pPrintLink->IsOpen());
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(m_pPrintCommu->SendAction(kActJogStop), 0);
}

} // namespace
} // namespace inkvale::test
