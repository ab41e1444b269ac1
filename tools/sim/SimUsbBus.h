// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SimMachine.h"
#include "SimStream.h"
#include "machine/link/UsbBus.h"

#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace inkvale::sim {

/// One device on the stand-in bus.
struct CSimUsbDevice {
    uint16_t m_nVendor = 0;
    uint16_t m_nProduct = 0;
    bool m_bOpenFails = false;
    bool m_bClaimFails = false;
    bool m_bMachine = false; ///< the simulated machine answers behind this device
};

/// One call the host made on the bus, for tests to assert.
struct CSimUsbCall {
    enum EKind { Open, Claim, Release, Close, Write, Read } m_kind;
    int m_nEndpoint = 0;
    int m_nSize = 0;
    int m_nTimeoutMs = 0;
    int m_nResult = 0;
};

/// A USB bus for tests: a list of devices, one of which may be the simulated machine. Bulk
/// writes feed the machine with 4096-byte band chunks; bulk reads return its replies, one
/// reply per read. A reply later than the read's time-out stays queued (a stale reply).
class CSimUsbBus : public IUsbBus {
public:
    CSimUsbBus(CSimMachine& machine, std::vector<CSimUsbDevice> devices);
    ~CSimUsbBus() override;

    void Init() override {}
    int FindBusses() override { return 1; }
    int FindDevices() override;
    std::vector<CUsbDeviceRef> Devices() override;
    void* Open(const CUsbDeviceRef& device) override;
    int ClaimInterface(void* pHandle, int nInterface) override;
    int ReleaseInterface(void* pHandle, int nInterface) override;
    int Close(void* pHandle) override;
    int BulkWrite(void* pHandle, int nEndpoint, const uint8_t* p, int n, int nTimeoutMs) override;
    int BulkRead(void* pHandle, int nEndpoint, uint8_t* p, int n, int nTimeoutMs) override;

    std::vector<CSimUsbCall> Calls();
    void ClearCalls();
    int FindDevicesCalls() const { return m_nFindDevices; }
    /// Handles currently open.
    int OpenHandles() const { return m_nOpen; }

    static constexpr int kTimedOut = -110;

private:
    CSimUsbDevice* DeviceOf(void* pHandle);

    CSimMachine& m_machine;
    std::vector<CSimUsbDevice> m_devices;
    std::vector<CSimUsbCall> m_calls;
    std::unique_ptr<CSimStream> m_pStream; ///< the session with the machine, while open
    std::deque<CSimReply> m_replies;
    int m_nFindDevices = 0;
    int m_nOpen = 0;
};

} // namespace inkvale::sim
