// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/link/MachineLink.h"

#include <string>

namespace inkvale {

/// Where the USB printer link looks for its device; tests point both at a tree of their own.
struct CUsbPrintPaths {
    std::string m_strSysfsRoot = "/sys";  ///< holds class/usbmisc/lp*
    std::string m_strDevDir = "/dev/usb"; ///< holds the lp* device nodes
    /// Longest wait of one read or write. The device is given generous time, but a machine
    /// that stops answering must not hold the link's lock for ever.
    int m_nIoMs = 6000;
};

/// True when a device identity text names vendor a728 and product 5291: after conversion to
/// lower case, "vid_a728" and "pid_5291" must both occur at a position greater than 0.
bool MatchUsbPrintIdentity(const std::string& strIdentity);

/// The driverless USB link: the kernel's USB printer device (/dev/usb/lp*) whose USB device
/// has idVendor a728 and idProduct 5291. Band data goes in 4096-byte chunks.
class CUsbPrinterLink : public CMachineLink {
public:
    explicit CUsbPrinterLink(CUsbPrintPaths paths = {});
    ~CUsbPrinterLink() override;

    /// Searches the devices when none is known, then opens the device node.
    int EnsureOpen() override;
    /// Closes the device and forgets it, so the next open searches again.
    void Close() override;
    bool IsOpen() const override { return m_bOpen; }
    size_t ChunkSize() const override { return kChunk; }

    /// The matching device node, or empty when none is present (for tests and diagnostics).
    std::string Search() const;

    static constexpr size_t kChunk = 4096;

protected:
    bool SendFrame(const uint8_t* p, size_t n) override;
    int ReceiveReply(uint8_t* p, size_t nMax, size_t nLength) override;
    int PauseMicros() const override { return 1; }
    bool SignedResult() const override { return true; }

private:
    CUsbPrintPaths m_paths;
    bool m_bFound = false;
    bool m_bOpen = false;
    std::string m_strDevicePath;
    int m_nFd = -1;
};

} // namespace inkvale
