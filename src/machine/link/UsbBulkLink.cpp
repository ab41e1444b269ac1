// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/link/UsbBulkLink.h"

namespace inkvale {

namespace {

int FirstScan(IUsbBus& bus) {
    bus.Init();
    bus.FindBusses();
    return bus.FindDevices();
}

} // namespace

CUsbBulkLink::CUsbBulkLink(IUsbBus& bus) : m_bus(bus), m_nDeviceChanges(FirstScan(bus)) {}

CUsbBulkLink::~CUsbBulkLink() {
    Close();
}

int CUsbBulkLink::EnsureOpen() {
    if (m_pDevice != nullptr)
        return 0;
    if (m_nDeviceChanges != 1)
        m_nDeviceChanges = m_bus.FindDevices();
    for (const CUsbDeviceRef& device : m_bus.Devices()) {
        if (device.m_nVendor != kVendor || device.m_nProduct != kProduct)
            continue;
        void* pHandle = m_bus.Open(device);
        if (pHandle == nullptr)
            return -1;
        if (m_bus.ClaimInterface(pHandle, 0) < 0) {
            m_bus.Close(pHandle);
            return -1;
        }
        m_pDevice = pHandle;
        return 0;
    }
    return -1;
}

void CUsbBulkLink::Close() {
    if (m_pDevice == nullptr)
        return;
    m_bus.ReleaseInterface(m_pDevice, 0);
    m_bus.Close(m_pDevice);
    m_pDevice = nullptr;
}

bool CUsbBulkLink::SendFrame(const uint8_t* p, size_t n) {
    if (m_pDevice == nullptr)
        return false;
    const int nLen = static_cast<int>(n);
    return m_bus.BulkWrite(m_pDevice, kEndpointOut, p, nLen, kFrameWriteMs) == nLen;
}

// A bulk transfer is a message: the machine sends each reply as one, so one read is the
// whole reply, whatever its length.
int CUsbBulkLink::ReceiveReply(uint8_t* p, size_t nMax, size_t /*nLength*/) {
    if (m_pDevice == nullptr)
        return -1;
    const int nGot = m_bus.BulkRead(m_pDevice, kEndpointIn, p, static_cast<int>(nMax), kReadMs);
    return nGot < 0 ? -1 : nGot;
}

bool CUsbBulkLink::SendChunk(const uint8_t* p) {
    if (m_pDevice == nullptr)
        return false;
    for (size_t nOffset = 0; nOffset < kChunk; nOffset += kPacket) {
        if (m_bus.BulkWrite(m_pDevice, kEndpointOut, p + nOffset, kPacket, kPacketWriteMs) !=
            kPacket)
            return false;
    }
    return true;
}

} // namespace inkvale
