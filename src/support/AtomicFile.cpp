// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace inkvale {

namespace {

bool WriteAll(int fd, const uint8_t* p, size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return false;
        p += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

std::string FolderOf(const std::string& strPath) {
    const size_t nSlash = strPath.rfind('/');
    if (nSlash == std::string::npos)
        return ".";
    return nSlash == 0 ? "/" : strPath.substr(0, nSlash);
}

} // namespace

void SyncFolder(const std::string& strFolder) {
    const int fd = ::open(strFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    (void)::fsync(fd);
    ::close(fd);
}

bool WriteFileAtomically(const std::string& strPath, std::span<const uint8_t> bytes,
                         bool bDurable) {
    const std::string strTemp = strPath + ".tmp";
    const int fd =
        ::open(strTemp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    bool bOk = WriteAll(fd, bytes.data(), bytes.size());
    if (bOk && bDurable)
        bOk = ::fdatasync(fd) == 0;
    bOk = ::close(fd) == 0 && bOk;
    if (!bOk || ::rename(strTemp.c_str(), strPath.c_str()) != 0) {
        (void)::unlink(strTemp.c_str());
        return false;
    }
    if (bDurable)
        SyncFolder(FolderOf(strPath));
    return true;
}

bool WriteFileAtomically(const std::string& strPath, const std::string& strText, bool bDurable) {
    return WriteFileAtomically(
        strPath,
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(strText.data()), strText.size()),
        bDurable);
}

bool ReadWholeFile(const std::string& strPath, size_t nMaxBytes, std::string& strOut) {
    strOut.clear();
    const int fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<uint64_t>(st.st_size) > nMaxBytes) {
        ::close(fd);
        return false;
    }
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        strOut.append(buf, static_cast<size_t>(n));
        if (strOut.size() > nMaxBytes) {
            ::close(fd);
            return false;
        }
    }
    ::close(fd);
    return true;
}

} // namespace inkvale
