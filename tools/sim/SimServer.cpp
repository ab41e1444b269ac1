// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimServer.h"

#include "SimStream.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace inkvale::sim {

namespace {

bool SetError(std::string* pError, const std::string& strText) {
    if (pError != nullptr)
        *pError = strText + ": " + std::strerror(errno);
    return false;
}

void CloseFd(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

void Wake(int fd) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(fd, &c, 1);
}

} // namespace

CSimServer::CSimServer(CSimMachine& machine) : m_machine(machine) {}

CSimServer::~CSimServer() {
    Stop();
}

bool CSimServer::Start(const std::string& strAddress, uint16_t nPort, std::string* pError) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(nPort);
    if (inet_pton(AF_INET, strAddress.c_str(), &addr.sin_addr) != 1) {
        errno = EINVAL;
        return SetError(pError, "not an IPv4 address '" + strAddress + "'");
    }
    // The machine reports the address it is reached at (bytes 4..7, first octet first).
    m_machine.SetParam("MachineIP", addr.sin_addr.s_addr);
    m_nListen = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_nListen < 0)
        return SetError(pError, "socket");
    const int nOn = 1;
    setsockopt(m_nListen, SOL_SOCKET, SO_REUSEADDR, &nOn, sizeof nOn);
    if (bind(m_nListen, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
        listen(m_nListen, 8) != 0) {
        SetError(pError, "cannot listen on " + strAddress + ":" + std::to_string(nPort));
        CloseFd(m_nListen);
        return false;
    }
    socklen_t nLen = sizeof addr;
    getsockname(m_nListen, reinterpret_cast<sockaddr*>(&addr), &nLen);
    m_nPort = ntohs(addr.sin_port);
    if (pipe2(m_arrWake, O_CLOEXEC) != 0) {
        CloseFd(m_nListen);
        return SetError(pError, "pipe");
    }
    m_thread = std::thread([this] { Run(); });
    return true;
}

void CSimServer::Stop() {
    if (m_thread.joinable()) {
        Wake(m_arrWake[1]);
        m_thread.join();
    }
    CloseFd(m_nListen);
    CloseFd(m_arrWake[0]);
    CloseFd(m_arrWake[1]);
}

void CSimServer::Run() {
    for (;;) {
        pollfd pfds[2] = {{m_nListen, POLLIN, 0}, {m_arrWake[0], POLLIN, 0}};
        if (poll(pfds, 2, -1) < 0 && errno != EINTR)
            return;
        if (pfds[1].revents != 0)
            return;
        if ((pfds[0].revents & POLLIN) == 0)
            continue;
        int fd = accept4(m_nListen, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        // Every write goes out at once as its own segment, as a machine's firmware sends:
        // a reply the faults cut into pieces then reaches the host in those pieces, and
        // Nagle's algorithm does not merge them while the first waits for its ACK.
        const int nOn = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &nOn, sizeof nOn);
        ServeDescriptor(m_machine, fd, kChunk, m_arrWake[0]);
        CloseFd(fd);
    }
}

CSimDevicePump::CSimDevicePump(CSimMachine& machine, int fd) {
    if (pipe2(m_arrWake, O_CLOEXEC) != 0)
        return;
    const int nStop = m_arrWake[0];
    m_thread = std::thread([&machine, fd, nStop] {
        for (;;) {
            // A pseudo-terminal whose other side is closed reports a hang-up until it is
            // opened again: wait for data before starting the next session.
            pollfd pfds[2] = {{fd, POLLIN, 0}, {nStop, POLLIN, 0}};
            const int n = poll(pfds, 2, 10);
            if (n < 0 && errno != EINTR)
                return;
            if (pfds[1].revents != 0)
                return;
            if ((pfds[0].revents & POLLIN) == 0) {
                if (n > 0) // hang-up only: back off a little
                    poll(&pfds[1], 1, 5);
                continue;
            }
            ServeDescriptor(machine, fd, kChunk, nStop);
            poll(&pfds[1], 1, 5);
        }
    });
}

CSimDevicePump::~CSimDevicePump() {
    if (m_thread.joinable()) {
        Wake(m_arrWake[1]);
        m_thread.join();
    }
    CloseFd(m_arrWake[0]);
    CloseFd(m_arrWake[1]);
}

} // namespace inkvale::sim
