// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimStream.h"

#include "machine/link/MachineProtocol.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace inkvale::sim {

namespace {

bool IsFrameStart(const std::vector<uint8_t>& buffer) {
    if (buffer.size() < 2 || buffer[0] < 3)
        return false;
    return buffer[1] == kFrameAction || buffer[1] == kFrameRead || buffer[1] == kFrameWrite;
}

// Waits nMs unless stopFd becomes readable first; false when stopped.
bool WaitUnlessStopped(int nStopFd, int nMs) {
    if (nMs <= 0)
        return true;
    pollfd pfd{nStopFd, POLLIN, 0};
    return poll(&pfd, 1, nMs) == 0;
}

// The peer has gone (closed its end) or stopFd became readable before nMs passed: false.
// A machine whose host hung up stops sending the rest of a reply in pieces, so the next
// connection is not kept waiting behind a reply nobody reads.
bool PauseUnlessGone(int fd, int nStopFd, int nMs) {
    if (nMs <= 0)
        return true;
    pollfd pfds[2] = {{nStopFd, POLLIN, 0}, {fd, POLLRDHUP, 0}};
    return poll(pfds, 2, nMs) == 0;
}

// send() without SIGPIPE on a socket whose host has gone; write() on a device descriptor.
ssize_t WriteSome(int fd, const uint8_t* p, size_t n) {
    const ssize_t nDone = ::send(fd, p, n, MSG_NOSIGNAL);
    if (nDone < 0 && errno == ENOTSOCK)
        return ::write(fd, p, n);
    return nDone;
}

bool WriteAll(int fd, const uint8_t* p, size_t n) {
    while (n > 0) {
        const ssize_t nDone = WriteSome(fd, p, n);
        if (nDone < 0 && errno == EINTR)
            continue;
        if (nDone <= 0)
            return false;
        p += nDone;
        n -= static_cast<size_t>(nDone);
    }
    return true;
}

} // namespace

CSimStream::CSimStream(CSimMachine& machine, size_t nChunkSize)
    : m_machine(machine), m_nChunkSize(nChunkSize), m_nConnection(machine.OnConnect()) {}

CSimStream::~CSimStream() {
    m_machine.OnDisconnect();
}

std::vector<CSimReply> CSimStream::Feed(const uint8_t* p, size_t n) {
    m_buffer.insert(m_buffer.end(), p, p + n);
    std::vector<CSimReply> replies;
    while (TakeUnit(replies)) {
    }
    return replies;
}

// Takes one chunk or frame off the front of the buffer; false when more bytes are needed.
bool CSimStream::TakeUnit(std::vector<CSimReply>& replies) {
    if (m_machine.ReceivingBand()) {
        if (m_buffer.size() < m_nChunkSize)
            return false;
        replies.push_back(m_machine.HandleChunk(m_nConnection, m_buffer.data(), m_nChunkSize));
        m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<long>(m_nChunkSize));
        return true;
    }
    if (m_buffer.size() < 2)
        return false;
    if (!IsFrameStart(m_buffer)) {
        m_machine.LogGarbage(m_nConnection, m_buffer.data(), m_buffer.size());
        m_buffer.clear();
        return false;
    }
    const size_t nLen = m_buffer[0];
    if (m_buffer.size() < nLen)
        return false;
    replies.push_back(m_machine.HandleFrame(m_nConnection, m_buffer.data(), nLen));
    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<long>(nLen));
    return true;
}

std::vector<CSimReply> CSimStream::Settle() {
    std::vector<CSimReply> replies;
    if (m_buffer.empty())
        return replies;
    if (IsFrameStart(m_buffer) && m_buffer[0] == m_buffer.size()) {
        replies.push_back(m_machine.HandleFrame(m_nConnection, m_buffer.data(), m_buffer.size()));
        m_buffer.clear();
        return replies;
    }
    // Band data stays until its chunk is whole; anything else is a broken frame.
    if (!m_machine.ReceivingBand()) {
        m_machine.LogGarbage(m_nConnection, m_buffer.data(), m_buffer.size());
        m_buffer.clear();
    }
    return replies;
}

bool SendReply(int fd, const CSimReply& reply, int nStopFd) {
    if (reply.m_bDrop)
        return false;
    if (reply.m_bNone || reply.m_bytes.empty())
        return true;
    if (!WaitUnlessStopped(nStopFd, reply.m_nDelayMs))
        return false;
    const uint8_t* p = reply.m_bytes.data();
    const size_t n = reply.m_bytes.size();
    size_t nSent = 0;
    for (size_t i = 0; i < reply.m_pieces.size() && nSent < n; ++i) {
        if (i > 0 && !PauseUnlessGone(fd, nStopFd, reply.m_nPauseMs))
            return false;
        const size_t nPiece = std::min(reply.m_pieces[i], n - nSent);
        if (!WriteAll(fd, p + nSent, nPiece))
            return false;
        nSent += nPiece;
    }
    return WriteAll(fd, p + nSent, n - nSent);
}

void ServeDescriptor(CSimMachine& machine, int fd, size_t nChunkSize, int nStopFd) {
    CSimStream stream(machine, nChunkSize);
    uint8_t buffer[8192];
    for (;;) {
        pollfd pfds[2] = {{fd, POLLIN, 0}, {nStopFd, POLLIN, 0}};
        const int nReady = poll(pfds, 2, stream.HasPending() ? kSettleMs : 200);
        if (nReady < 0 && errno != EINTR)
            return;
        if (pfds[1].revents != 0)
            return;
        std::vector<CSimReply> replies;
        if (nReady == 0 && stream.HasPending()) {
            replies = stream.Settle();
        } else if ((pfds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            const ssize_t nGot = ::read(fd, buffer, sizeof buffer);
            if (nGot <= 0 && !(nGot < 0 && errno == EINTR))
                return;
            if (nGot > 0)
                replies = stream.Feed(buffer, static_cast<size_t>(nGot));
        }
        for (const CSimReply& reply : replies) {
            if (!SendReply(fd, reply, nStopFd))
                return;
        }
    }
}

} // namespace inkvale::sim
