// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/link/UsbBus.h"

#include <usb.h>

namespace inkvale {

namespace {

usb_dev_handle* Handle(void* p) {
    return static_cast<usb_dev_handle*>(p);
}

} // namespace

void CLibUsbBus::Init() {
    usb_init();
}

int CLibUsbBus::FindBusses() {
    return usb_find_busses();
}

int CLibUsbBus::FindDevices() {
    return usb_find_devices();
}

std::vector<CUsbDeviceRef> CLibUsbBus::Devices() {
    std::vector<CUsbDeviceRef> devices;
    for (usb_bus* bus = usb_get_busses(); bus != nullptr; bus = bus->next) {
        for (struct usb_device* dev = bus->devices; dev != nullptr; dev = dev->next)
            devices.push_back({dev->descriptor.idVendor, dev->descriptor.idProduct, dev});
    }
    return devices;
}

void* CLibUsbBus::Open(const CUsbDeviceRef& device) {
    return usb_open(static_cast<struct usb_device*>(device.m_pDevice));
}

int CLibUsbBus::ClaimInterface(void* pHandle, int nInterface) {
    return usb_claim_interface(Handle(pHandle), nInterface);
}

int CLibUsbBus::ReleaseInterface(void* pHandle, int nInterface) {
    return usb_release_interface(Handle(pHandle), nInterface);
}

int CLibUsbBus::Close(void* pHandle) {
    return usb_close(Handle(pHandle));
}

// libusb 0.1 takes non-const char buffers; the write does not modify them.
int CLibUsbBus::BulkWrite(void* pHandle, int nEndpoint, const uint8_t* p, int n, int nTimeoutMs) {
    return usb_bulk_write(Handle(pHandle), nEndpoint,
                          const_cast<char*>(reinterpret_cast<const char*>(p)), n, nTimeoutMs);
}

int CLibUsbBus::BulkRead(void* pHandle, int nEndpoint, uint8_t* p, int n, int nTimeoutMs) {
    return usb_bulk_read(Handle(pHandle), nEndpoint, reinterpret_cast<char*>(p), n, nTimeoutMs);
}

} // namespace inkvale
