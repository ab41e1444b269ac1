// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceIncomingFile.h"

#include "ServiceToken.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace inkvale::service {

CIncomingFile::~CIncomingFile() {
    Discard();
}

bool CIncomingFile::Open(const std::string& strFolder) {
    m_strFolder = strFolder;
    m_strTemp = strFolder + ".incoming-" + RandomToken().substr(0, 16) + ".part";
    m_fd = ::open(m_strTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0660);
    m_bFailed = m_fd < 0;
    if (m_bFailed)
        m_strTemp.clear();
    return !m_bFailed;
}

bool CIncomingFile::Append(const char* p, size_t n) {
    while (n > 0 && !m_bFailed) {
        const ssize_t nWritten = ::write(m_fd, p, n);
        if (nWritten < 0 && errno == EINTR)
            continue;
        m_bFailed = nWritten <= 0;
        if (m_bFailed)
            break;
        p += nWritten;
        n -= static_cast<size_t>(nWritten);
        m_nSize += static_cast<uint64_t>(nWritten);
    }
    return !m_bFailed;
}

EPlaced CIncomingFile::Place(const std::string& strName) {
    if (m_bFailed || m_strTemp.empty())
        return EPlaced::kFailed;
    if (m_fd >= 0) {
        // The data reaches the disk before the name does: a power cut leaves no empty
        // marker.
        const bool bSynced = ::fdatasync(m_fd) == 0;
        const bool bClosed = ::close(m_fd) == 0;
        m_fd = -1;
        m_bFailed = !bSynced || !bClosed;
        if (m_bFailed)
            return EPlaced::kFailed;
    }
    const EPlaced placed = PlaceWithoutReplacing(m_strTemp, m_strFolder + strName);
    if (placed == EPlaced::kPlaced)
        m_strTemp.clear();
    return placed;
}

void CIncomingFile::Discard() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_strTemp.empty())
        (void)::unlink(m_strTemp.c_str());
    m_strTemp.clear();
}

} // namespace inkvale::service
