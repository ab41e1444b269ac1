// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/link/TcpLink.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace inkvale {

namespace {

bool SetTimeout(int fd, int nOption, int nMs) {
    timeval tv{};
    tv.tv_sec = nMs / 1000;
    tv.tv_usec = (nMs % 1000) * 1000;
    return setsockopt(fd, SOL_SOCKET, nOption, &tv, sizeof tv) == 0;
}

bool SetNonBlocking(int fd, bool bOn) {
    const int flags = fcntl(fd, F_GETFL, 0);
    if (flags < 0)
        return false;
    return fcntl(fd, F_SETFL, bOn ? flags | O_NONBLOCK : flags & ~O_NONBLOCK) == 0;
}

} // namespace

bool IsMachineAddressAllowed(uint32_t nIp) {
#ifdef INKVALE_LOOPBACK_ONLY
    // First octet in the lowest byte: 127.x.x.x only.
    return (nIp & 0xFFu) == 127u;
#else
    (void)nIp;
    return true;
#endif
}

CTcpLink::CTcpLink(const ILinkChoice& choice, uint16_t nPort, CEthTimeouts timeouts)
    : m_choice(choice), m_nPort(nPort), m_timeouts(timeouts) {}

CTcpLink::~CTcpLink() {
    Close();
    DropSocket();
}

int CTcpLink::EnsureOpen() {
    if (m_bConnected)
        return 0;
    // The address is read once: the one checked is the one connected to, even when the
    // operator changes it meanwhile. A refused address never gets as far as a socket.
    const uint32_t nIp = m_choice.MachineIp();
    if (!IsMachineAddressAllowed(nIp)) {
        m_refusal = {ELinkRefusal::kLoopbackOnly, nIp};
        return -1;
    }
    m_refusal = {};
    if (m_nSocket < 0) {
        m_nSocket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
        if (m_nSocket < 0)
            return -1;
    }
    if (!Connect(nIp)) {
        DropSocket();
        return -1;
    }
    m_bConnected = true;
    return 0;
}

// Non-blocking connect bounded by the connect time-out, then back to blocking mode with the
// send time-out as a socket option. Receives keep their own deadline (ReceiveReply): a
// socket option would bound each piece of a reply, not the whole reply.
bool CTcpLink::Connect(uint32_t nIp) {
    if (!SetTimeout(m_nSocket, SO_SNDTIMEO, m_timeouts.m_nIoMs) || !SetNonBlocking(m_nSocket, true))
        return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(m_nPort);
    addr.sin_addr.s_addr = nIp; // first octet in the lowest byte
    if (connect(m_nSocket, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 &&
        errno != EINPROGRESS)
        return false;
    pollfd pfd{m_nSocket, POLLOUT, 0};
    if (poll(&pfd, 1, m_timeouts.m_nConnectMs) < 1)
        return false;
    // Writable also means "failed" on Linux: the socket error tells which.
    int nError = 0;
    socklen_t nLen = sizeof nError;
    if (getsockopt(m_nSocket, SOL_SOCKET, SO_ERROR, &nError, &nLen) != 0 || nError != 0)
        return false;
    return SetNonBlocking(m_nSocket, false);
}

void CTcpLink::Close() {
    if (!m_bConnected)
        return;
    DropSocket();
    m_bConnected = false;
}

void CTcpLink::DropSocket() {
    if (m_nSocket >= 0)
        ::close(m_nSocket);
    m_nSocket = -1;
}

bool CTcpLink::SendFrame(const uint8_t* p, size_t n) {
    if (m_nSocket < 0)
        return false;
    const ssize_t nSent = send(m_nSocket, p, n, MSG_NOSIGNAL);
    return nSent == static_cast<ssize_t>(n);
}

// TCP is a stream: the machine's reply may come in several segments, and one recv returns
// only what has arrived so far. Pieces are gathered until the reply's length is reached,
// all within one receive time-out for the whole reply (not per piece), so a machine that
// sends a byte now and then cannot hold the link for longer. Each recv asks for everything
// the buffer still holds, so bytes past the reply's length that came with it are counted
// and the caller sees an over-long reply, as it did when one recv took the whole reply.
int CTcpLink::ReceiveReply(uint8_t* p, size_t nMax, size_t nLength) {
    if (m_nSocket < 0 || nLength == 0 || nLength > nMax)
        return -1;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(m_timeouts.m_nIoMs);
    size_t nGot = 0;
    while (nGot < nLength) {
        const auto nLeftMs =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (nLeftMs <= 0)
            break;
        pollfd pfd{m_nSocket, POLLIN, 0};
        const int nReady = poll(&pfd, 1, static_cast<int>(nLeftMs));
        if (nReady < 0 && errno == EINTR)
            continue;
        if (nReady <= 0)
            break; // time-out, or poll failed
        const ssize_t n = recv(m_nSocket, p + nGot, nMax - nGot, MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break; // the machine closed the connection
        nGot += static_cast<size_t>(n);
    }
    // Nothing at all is a failure; a part of the reply is a short reply, which fails too.
    return nGot == 0 ? -1 : static_cast<int>(nGot);
}

} // namespace inkvale
