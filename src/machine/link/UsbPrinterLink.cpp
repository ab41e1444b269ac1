// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/link/UsbPrinterLink.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace inkvale {

namespace fs = std::filesystem;

namespace {

// First word of a sysfs attribute such as idVendor ("a728\n"); empty when unreadable.
std::string ReadAttribute(const fs::path& path) {
    std::ifstream in(path);
    std::string word;
    if (!(in >> word) || word.size() > 16)
        return {};
    return word;
}

// The identity text of a printer device: its node name with the vendor and product of the
// USB device it belongs to, in the "usb#vid_xxxx&pid_yyyy#lpN" form the matcher expects.
std::string Identity(const fs::path& classEntry) {
    const fs::path usbDevice = classEntry / "device" / "..";
    return "usb#vid_" + ReadAttribute(usbDevice / "idVendor") + "&pid_" +
           ReadAttribute(usbDevice / "idProduct") + "#" + classEntry.filename().string();
}

bool WaitFor(int fd, short nEvents, int nMs) {
    pollfd pfd{fd, nEvents, 0};
    int n;
    do {
        n = poll(&pfd, 1, nMs);
    } while (n < 0 && errno == EINTR);
    return n == 1 && (pfd.revents & nEvents) != 0;
}

} // namespace

bool MatchUsbPrintIdentity(const std::string& strIdentity) {
    std::string lower = strIdentity;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const size_t nVid = lower.find("vid_a728");
    const size_t nPid = lower.find("pid_5291");
    return nVid != std::string::npos && nVid > 0 && nPid != std::string::npos && nPid > 0;
}

CUsbPrinterLink::CUsbPrinterLink(CUsbPrintPaths paths) : m_paths(std::move(paths)) {}

CUsbPrinterLink::~CUsbPrinterLink() {
    Close();
}

std::string CUsbPrinterLink::Search() const {
    std::error_code ec;
    std::vector<fs::path> entries;
    for (const auto& entry :
         fs::directory_iterator(fs::path(m_paths.m_strSysfsRoot) / "class" / "usbmisc", ec)) {
        if (entry.path().filename().string().rfind("lp", 0) == 0)
            entries.push_back(entry.path());
    }
    std::sort(entries.begin(), entries.end());
    for (const fs::path& entry : entries) {
        if (MatchUsbPrintIdentity(Identity(entry)))
            return (fs::path(m_paths.m_strDevDir) / entry.filename()).string();
    }
    return {};
}

int CUsbPrinterLink::EnsureOpen() {
    if (m_bOpen)
        return 0;
    if (!m_bFound) {
        m_strDevicePath = Search();
        m_bFound = !m_strDevicePath.empty();
        if (!m_bFound)
            return -1;
    }
    // A node that cannot be opened shows as a failed first send; the close-after rule then
    // forgets the device.
    m_nFd = ::open(m_strDevicePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    m_bOpen = true;
    return 0;
}

void CUsbPrinterLink::Close() {
    if (m_nFd >= 0)
        ::close(m_nFd);
    m_nFd = -1;
    m_bFound = false;
    m_bOpen = false;
}

bool CUsbPrinterLink::SendFrame(const uint8_t* p, size_t n) {
    if (m_nFd < 0 || !WaitFor(m_nFd, POLLOUT, m_paths.m_nIoMs))
        return false;
    ssize_t nDone;
    do {
        nDone = ::write(m_nFd, p, n);
    } while (nDone < 0 && errno == EINTR);
    return nDone == static_cast<ssize_t>(n);
}

// The printer driver hands over one bulk transfer per read, and the machine sends each reply
// as one: one read is the whole reply.
int CUsbPrinterLink::ReceiveReply(uint8_t* p, size_t nMax, size_t /*nLength*/) {
    if (m_nFd < 0 || !WaitFor(m_nFd, POLLIN, m_paths.m_nIoMs))
        return -1;
    ssize_t nGot;
    do {
        nGot = ::read(m_nFd, p, nMax);
    } while (nGot < 0 && errno == EINTR);
    return nGot < 0 ? -1 : static_cast<int>(nGot);
}

} // namespace inkvale
