// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/HpglSource.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace inkvale {

namespace {

constexpr size_t kPieceBytes = 256 * 1024;

} // namespace

CHpglSource::~CHpglSource() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool CHpglSource::IsBeingWritten(int fd) {
    // The kernel signals the holder of a lease when someone opens the file for writing.
    // The lease is held only for an instant, but the signal must still not be SIGIO, whose
    // default action ends the process: SIGURG is ignored by default.
    if (::fcntl(fd, F_SETSIG, SIGURG) != 0)
        return false;
    if (::fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
        ::fcntl(fd, F_SETLEASE, F_UNLCK);
        return false;
    }
    // EAGAIN: a writer has the file open. Anything else: leases do not work here.
    return errno == EAGAIN;
}

bool CHpglSource::Open(const std::string& strPath) {
    // Non-blocking so that a FIFO in place of a file cannot stall the open.
    m_fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (m_fd < 0)
        return false;
    struct stat st {};
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode) || IsBeingWritten(m_fd))
        return false;
    m_nLength = static_cast<int64_t>(st.st_size);
    return true;
}

std::string_view CHpglSource::Next() {
    if (m_fd < 0 || m_bFailed || m_nRead >= m_nLength)
        return {};
    if (m_buffer.empty())
        m_buffer.resize(kPieceBytes);
    const auto nWant = static_cast<size_t>(
        std::min<int64_t>(m_nLength - m_nRead, static_cast<int64_t>(m_buffer.size())));
    ssize_t nGot = 0;
    do {
        nGot = ::read(m_fd, m_buffer.data(), nWant);
    } while (nGot < 0 && errno == EINTR);
    if (nGot < 0) {
        m_bFailed = true;
        return {};
    }
    // A file that shrank since it was opened simply ends early.
    if (nGot == 0)
        m_nRead = m_nLength;
    m_nRead += nGot;
    return {m_buffer.data(), static_cast<size_t>(nGot)};
}

} // namespace inkvale
