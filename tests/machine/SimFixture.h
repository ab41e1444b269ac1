// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A simulated machine on 127.0.0.1 (ephemeral port) with the host's three links and the
// command layer in front of it. Ethernet time-outs are shortened so fault tests stay quick.

#include "SimServer.h"
#include "SimUsbBus.h"
#include "machine/link/MachineCommands.h"
#include "machine/link/TcpLink.h"
#include "machine/link/UsbBulkLink.h"
#include "machine/link/UsbPrinterLink.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace inkvale::test {

/// 127.0.0.1 with the first octet in the lowest byte.
inline constexpr uint32_t kLoopbackIp = 0x0100007Fu;

class CTestLinkChoice : public ILinkChoice {
public:
    int CommuVia() const override { return m_nVia; }
    uint32_t MachineIp() const override { return m_nIp; }
    std::atomic<int> m_nVia{kCommuEthernet};
    std::atomic<uint32_t> m_nIp{kLoopbackIp};
};

/// Receive time-out of the test links: short enough for quick failure tests, long enough
/// that a busy machine running sanitizer builds in parallel never trips it by accident.
inline constexpr int kTestIoMs = 1000;
inline constexpr CEthTimeouts kTestEthTimeouts{1000, kTestIoMs};

class CSimCommuTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string strError;
        ASSERT_TRUE(m_server.Start("127.0.0.1", 0, &strError)) << strError;
        m_pEth = std::make_unique<CTcpLink>(m_choice, m_server.Port(), kTestEthTimeouts);
        m_pUsbBus = std::make_unique<sim::CSimUsbBus>(
            m_sim, std::vector<sim::CSimUsbDevice>{{0xA727, 0x5291, false, false, true}});
        m_pUsb = std::make_unique<CUsbBulkLink>(*m_pUsbBus);
        // No printer device in an empty tree: the USB printer link never opens here.
        m_pUsbPrint =
            std::make_unique<CUsbPrinterLink>(CUsbPrintPaths{"/nonexistent", "/nonexistent", 100});
        m_pCommu = std::make_unique<CMachineCommands>(m_choice, m_status, *m_pEth, *m_pUsbPrint, *m_pUsb);
    }
    void TearDown() override { m_server.Stop(); }

    /// Frames the machine received except band-data chunks, as byte vectors.
    std::vector<std::vector<uint8_t>> FramesOfKind(char cKind) {
        std::vector<std::vector<uint8_t>> frames;
        for (const sim::CSimFrameLog& frame : m_sim.Frames()) {
            if (frame.m_cKind == cKind)
                frames.push_back(frame.m_bytes);
        }
        return frames;
    }

    sim::CSimMachine m_sim;
    sim::CSimServer m_server{m_sim};
    CTestLinkChoice m_choice;
    CMachineStatus m_status;
    std::unique_ptr<CTcpLink> m_pEth;
    std::unique_ptr<sim::CSimUsbBus> m_pUsbBus;
    std::unique_ptr<CUsbBulkLink> m_pUsb;
    std::unique_ptr<CUsbPrinterLink> m_pUsbPrint;
    std::unique_ptr<CMachineCommands> m_pCommu;
};

} // namespace inkvale::test
