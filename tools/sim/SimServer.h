// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SimMachine.h"

#include <cstdint>
#include <string>
#include <thread>

namespace inkvale::sim {

/// The machine's TCP side: listens on one address (loopback in every test) and serves one
/// connection at a time on its own thread, cutting band data into 600-byte chunks.
class CSimServer {
public:
    explicit CSimServer(CSimMachine& machine);
    ~CSimServer();
    CSimServer(const CSimServer&) = delete;
    CSimServer& operator=(const CSimServer&) = delete;

    /// Listens on strAddress (dotted IPv4) and nPort (0: a free port) and starts serving.
    /// False with a reason in *pError when it cannot listen.
    bool Start(const std::string& strAddress, uint16_t nPort, std::string* pError);
    /// Stops serving and closes every socket; returns when the thread has ended.
    void Stop();
    /// The port listened on (the chosen one when 0 was asked for).
    uint16_t Port() const { return m_nPort; }

    static constexpr size_t kChunk = 600;

private:
    void Run();

    CSimMachine& m_machine;
    int m_nListen = -1;
    int m_arrWake[2] = {-1, -1};
    uint16_t m_nPort = 0;
    std::thread m_thread;
};

/// Serves the machine on a device descriptor (a pseudo-terminal standing in for the USB
/// printer device) with 4096-byte chunks, on its own thread, across the host's opens and
/// closes, until stopped.
class CSimDevicePump {
public:
    CSimDevicePump(CSimMachine& machine, int fd);
    ~CSimDevicePump();
    CSimDevicePump(const CSimDevicePump&) = delete;
    CSimDevicePump& operator=(const CSimDevicePump&) = delete;

    static constexpr size_t kChunk = 4096;

private:
    int m_arrWake[2] = {-1, -1};
    std::thread m_thread;
};

} // namespace inkvale::sim
