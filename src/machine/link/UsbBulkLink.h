// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/link/MachineLink.h"
#include "machine/link/UsbBus.h"

namespace inkvale {

/// The dedicated USB link: the first device 0xA727/0x5291 on the bus, interface 0, bulk
/// endpoints 0x01 (out) and 0x81 (in). Band data goes in 4096-byte chunks, each written as
/// 64 packets of 64 bytes.
class CUsbBulkLink : public CMachineLink {
public:
    /// Initialises the bus and scans it once (at program start, whatever link is chosen).
    explicit CUsbBulkLink(IUsbBus& bus);
    ~CUsbBulkLink() override;

    int EnsureOpen() override;
    void Close() override;
    bool IsOpen() const override { return m_pDevice != nullptr; }
    size_t ChunkSize() const override { return kChunk; }

    static constexpr uint16_t kVendor = 0xA727;
    static constexpr uint16_t kProduct = 0x5291;
    static constexpr size_t kChunk = 4096;
    static constexpr int kPacket = 64;
    static constexpr int kEndpointOut = 0x01;
    static constexpr int kEndpointIn = 0x81;
    static constexpr int kFrameWriteMs = 60;
    static constexpr int kPacketWriteMs = 200;
    static constexpr int kReadMs = 500;

protected:
    bool SendFrame(const uint8_t* p, size_t n) override;
    int ReceiveReply(uint8_t* p, size_t nMax, size_t nLength) override;
    bool SendChunk(const uint8_t* p) override;
    int PauseMicros() const override { return 1; }
    bool SignedResult() const override { return true; }

private:
    IUsbBus& m_bus;
    int m_nDeviceChanges;
    void* m_pDevice = nullptr;
};

} // namespace inkvale
