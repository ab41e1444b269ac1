// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <string>

namespace inkvale {

/// Name of the lock file inside the installation directory.
inline constexpr const char* kInstanceLockFileName = "Inkvale.lock";

/// One program per installation directory: an exclusive flock on the installation
/// directory's lock file, held for as long as the object lives (the kernel drops it when
/// the process ends, however it ends). Every front end of one installation directory takes
/// the same lock. The holder writes its process id into the file, so that a start that finds
/// the lock taken can say which process holds it. The file itself stays: removing a lock file
/// would let two starts lock two different files of the same name.
class CInstanceLock {
public:
    enum class EState {
        kFailed,   ///< the lock file could not be opened or locked; Error() says why
        kHeld,     ///< another open file holds the lock; Holder() is its process id
        kAcquired, ///< this object holds the lock
    };

    /// Tries once, without waiting. strInstallDir may lack its final '/'.
    static CInstanceLock Acquire(const std::string& strInstallDir);

    CInstanceLock() = default;
    ~CInstanceLock() { Release(); }
    CInstanceLock(CInstanceLock&& other) noexcept;
    /// Takes the other's lock over; a lock this object held is given up first.
    CInstanceLock& operator=(CInstanceLock&& other) noexcept;
    CInstanceLock(const CInstanceLock&) = delete;
    CInstanceLock& operator=(const CInstanceLock&) = delete;

    EState State() const { return m_eState; }
    bool Acquired() const { return m_eState == EState::kAcquired; }
    /// kHeld: the process id the holder wrote, 0 when the file holds none (yet).
    pid_t Holder() const { return m_nHolder; }
    /// kFailed: the system's reason.
    const std::string& Error() const { return m_strError; }
    /// The lock file's path.
    const std::string& Path() const { return m_strPath; }

private:
    /// Clears the process id from the file and gives the lock up (kAcquired); closes the file.
    void Release();

    EState m_eState = EState::kFailed;
    int m_nFd = -1;
    pid_t m_nHolder = 0;
    std::string m_strError;
    std::string m_strPath;
};

} // namespace inkvale
