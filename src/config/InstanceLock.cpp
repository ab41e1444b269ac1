// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <system_error>
#include <utility>

namespace inkvale {
namespace {

std::string SystemError(int nError) {
    return std::generic_category().message(nError);
}

// The process id at the start of the lock file; 0 when there is none (the holder may not
// have written it yet, or could not).
pid_t ReadHolder(int nFd) {
    char buf[32];
    const ssize_t nRead = ::pread(nFd, buf, sizeof buf, 0);
    if (nRead <= 0)
        return 0;
    pid_t nPid = 0;
    const auto [pEnd, ec] = std::from_chars(buf, buf + nRead, nPid);
    (void)pEnd;
    return ec == std::errc() && nPid > 0 ? nPid : 0;
}

// The holder's process id, replacing whatever an earlier holder left. Only an aid for the
// message of a later start, so a failure to write it changes nothing.
void WriteHolder(int nFd) {
    const std::string strPid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(nFd, 0) == 0)
        (void)!::pwrite(nFd, strPid.data(), strPid.size(), 0);
}

} // namespace

CInstanceLock CInstanceLock::Acquire(const std::string& strInstallDir) {
    CInstanceLock lock;
    if (strInstallDir.empty()) {
        lock.m_strError = "no installation directory";
        return lock;
    }
    lock.m_strPath = strInstallDir;
    if (lock.m_strPath.back() != '/')
        lock.m_strPath += '/';
    lock.m_strPath += kInstanceLockFileName;

    // Never through a link (someone else's file could be truncated); not inherited by
    // programs this one starts, which would keep the lock after this process has ended;
    // O_NONBLOCK so that something that is not a file cannot hang the start in open().
    int nFd = -1;
    do {
        nFd = ::open(lock.m_strPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK,
                     0644);
    } while (nFd < 0 && errno == EINTR);
    if (nFd < 0) {
        lock.m_strError = SystemError(errno);
        return lock;
    }
    lock.m_nFd = nFd;
    struct stat st {};
    if (::fstat(nFd, &st) != 0 || !S_ISREG(st.st_mode)) {
        lock.m_strError = "not a regular file";
        lock.Release();
        return lock;
    }

    int nLocked = -1;
    do {
        nLocked = ::flock(nFd, LOCK_EX | LOCK_NB);
    } while (nLocked != 0 && errno == EINTR);
    if (nLocked == 0) {
        lock.m_eState = EState::kAcquired;
        WriteHolder(nFd);
    } else if (errno == EWOULDBLOCK) {
        lock.m_eState = EState::kHeld;
        lock.m_nHolder = ReadHolder(nFd);
        lock.Release();
    } else {
        lock.m_strError = SystemError(errno);
        lock.Release();
    }
    return lock;
}

CInstanceLock::CInstanceLock(CInstanceLock&& other) noexcept
    : m_eState(other.m_eState), m_nFd(std::exchange(other.m_nFd, -1)), m_nHolder(other.m_nHolder),
      m_strError(std::move(other.m_strError)), m_strPath(std::move(other.m_strPath)) {
    other.m_eState = EState::kFailed;
}

CInstanceLock& CInstanceLock::operator=(CInstanceLock&& other) noexcept {
    if (this != &other) {
        Release();
        m_eState = std::exchange(other.m_eState, EState::kFailed);
        m_nFd = std::exchange(other.m_nFd, -1);
        m_nHolder = other.m_nHolder;
        m_strError = std::move(other.m_strError);
        m_strPath = std::move(other.m_strPath);
    }
    return *this;
}

void CInstanceLock::Release() {
    if (m_nFd < 0)
        return;
    // A stale process id would name a process that no longer holds the lock.
    if (m_eState == EState::kAcquired)
        (void)!::ftruncate(m_nFd, 0);
    ::close(m_nFd); // gives the flock up with the file's last descriptor
    m_nFd = -1;
}

} // namespace inkvale
