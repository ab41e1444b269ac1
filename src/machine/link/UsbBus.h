// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace inkvale {

/// One device found on the bus, in bus order.
struct CUsbDeviceRef {
    uint16_t m_nVendor = 0;
    uint16_t m_nProduct = 0;
    void* m_pDevice = nullptr; ///< the bus's own device record
};

/// The few calls of the libusb 0.1 API that the dedicated USB link uses, as an interface so
/// that tests can stand in a bus of their own. Results follow libusb 0.1: negative on error.
class IUsbBus {
public:
    virtual ~IUsbBus() = default;
    virtual void Init() = 0;
    virtual int FindBusses() = 0;
    /// Rescans the devices; the number of changes since the last scan.
    virtual int FindDevices() = 0;
    /// Every device of every bus, in the order of the bus list.
    virtual std::vector<CUsbDeviceRef> Devices() = 0;
    /// An open handle, or nullptr when the device cannot be opened.
    virtual void* Open(const CUsbDeviceRef& device) = 0;
    virtual int ClaimInterface(void* pHandle, int nInterface) = 0;
    virtual int ReleaseInterface(void* pHandle, int nInterface) = 0;
    virtual int Close(void* pHandle) = 0;
    /// Bytes written, or negative.
    virtual int BulkWrite(void* pHandle, int nEndpoint, const uint8_t* p, int n,
                          int nTimeoutMs) = 0;
    /// Bytes read, or negative.
    virtual int BulkRead(void* pHandle, int nEndpoint, uint8_t* p, int n, int nTimeoutMs) = 0;
};

/// The real bus through libusb 0.1 (libusb-compat).
class CLibUsbBus : public IUsbBus {
public:
    void Init() override;
    int FindBusses() override;
    int FindDevices() override;
    std::vector<CUsbDeviceRef> Devices() override;
    void* Open(const CUsbDeviceRef& device) override;
    int ClaimInterface(void* pHandle, int nInterface) override;
    int ReleaseInterface(void* pHandle, int nInterface) override;
    int Close(void* pHandle) override;
    int BulkWrite(void* pHandle, int nEndpoint, const uint8_t* p, int n, int nTimeoutMs) override;
    int BulkRead(void* pHandle, int nEndpoint, uint8_t* p, int n, int nTimeoutMs) override;
};

} // namespace inkvale
