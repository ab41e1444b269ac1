// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

namespace inkvale {

namespace {

std::string FolderOf(const std::string& strPath) {
    const size_t nSlash = strPath.rfind('/');
    if (nSlash == std::string::npos)
        return ".";
    return nSlash == 0 ? "/" : strPath.substr(0, nSlash);
}

// A name no other writer of this file uses: the process, a counter and a random part.
std::string TempNameFor(const std::string& strPath) {
    static std::atomic<uint64_t> s_nCounter{0};
    static thread_local std::mt19937_64 s_random{std::random_device{}()};
    char sz[64];
    std::snprintf(sz, sizeof sz, ".tmp-%d-%llu-%08llx", static_cast<int>(::getpid()),
                  static_cast<unsigned long long>(++s_nCounter),
                  static_cast<unsigned long long>(s_random() & 0xffffffffu));
    return strPath + sz;
}

void SetError(std::string* pError, const char* pszStep, const std::string& strPath, int nErrno) {
    if (pError != nullptr)
        *pError = std::string(pszStep) + " " + strPath + ": " + std::strerror(nErrno);
}

// Creates the temporary file exclusively; a name taken by someone else is passed over.
int CreateTemp(const std::string& strPath, std::string& strTemp) {
    for (int nTry = 0; nTry < 8; ++nTry) {
        strTemp = TempNameFor(strPath);
        const int fd =
            ::open(strTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

bool WriteAllBytes(int fd, const uint8_t* p, size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0) {
            if (w == 0)
                errno = ENOSPC;
            return false;
        }
        p += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

bool SyncFolder(const std::string& strFolder) {
    const int fd = ::open(strFolder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool bOk = ::fsync(fd) == 0;
    ::close(fd);
    return bOk;
}

bool WriteFileAtomically(const std::string& strPath, std::span<const uint8_t> bytes, bool bDurable,
                         std::string* pError) {
    std::string strTemp;
    const int fd = CreateTemp(strPath, strTemp);
    if (fd < 0) {
        SetError(pError, "cannot create a file beside", strPath, errno);
        return false;
    }
    bool bOk = WriteAllBytes(fd, bytes.data(), bytes.size());
    if (bOk && bDurable)
        bOk = ::fdatasync(fd) == 0;
    const int nErrno = errno;
    bOk = ::close(fd) == 0 && bOk;
    if (!bOk || ::rename(strTemp.c_str(), strPath.c_str()) != 0) {
        SetError(pError, "cannot write", strPath, bOk ? errno : nErrno);
        (void)::unlink(strTemp.c_str()); // a leftover temporary is harmless; nothing reads it
        return false;
    }
    if (bDurable && !SyncFolder(FolderOf(strPath))) {
        SetError(pError, "cannot flush the folder of", strPath, errno);
        return false;
    }
    return true;
}

bool WriteFileAtomically(const std::string& strPath, const std::string& strText, bool bDurable,
                         std::string* pError) {
    return WriteFileAtomically(
        strPath,
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(strText.data()), strText.size()),
        bDurable, pError);
}

int OpenRegularFile(const std::string& strPath) {
    const int fd =
        ::open(strPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    // Reads of a regular file never wait; the flag only kept the open from waiting.
    (void)::fcntl(fd, F_SETFL, 0);
    return fd;
}

bool IsPlainFolder(const std::string& strPath) {
    struct stat st {};
    std::string strNoSlash = strPath;
    while (strNoSlash.size() > 1 && strNoSlash.back() == '/')
        strNoSlash.pop_back();
    return ::lstat(strNoSlash.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ReadWholeFile(const std::string& strPath, size_t nMaxBytes, std::string& strOut) {
    strOut.clear();
    const int fd = OpenRegularFile(strPath);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || static_cast<uint64_t>(st.st_size) > nMaxBytes) {
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
