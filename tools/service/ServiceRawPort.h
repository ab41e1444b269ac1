// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ServiceAccess.h"
#include "ServiceIncomingFile.h"

#include "config/Settings.h"
#include "support/ProfileFile.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace inkvale::service {

/// The raw print port ([Service] RawPort=, off by default).
struct CRawPortOptions {
    int m_nPort = 0; ///< 0: no raw port
    std::string m_strAddress = "127.0.0.1";
    std::vector<CNetwork> m_clients; ///< the networks allowed to send (loopback by default)
    std::string m_strFolder;         ///< the automatic folder, ending in '/'
    std::string m_strExtension = ".plt";
    uint64_t m_nMaxBytes = 0; ///< a job must be smaller (the hot folder's limit)
    unsigned m_nIdleSeconds = 60;
    unsigned m_nMaxConnections = 64;
};

/// The raw port's options from [Service] RawPort=, RawAddress= (default: Address=),
/// RawClients= (CIDR networks, default 127.0.0.0/8 and ::1) and RawExtension= (default the
/// first extension of PrtFileExtension). False with why for a bad entry.
bool RawPortOptions(const CProfileFile& ini, const CSettings& settings, CRawPortOptions& options,
                    std::string& strError);

/// A raw print port (AppSocket, "JetDirect"), as Windows' Standard TCP/IP Port and CUPS'
/// socket:// send to: every connection's bytes become one file in the automatic folder,
/// placed whole once the sender has closed its side, named by the time and the sender
/// ("raw-20250102-103000-192.168.1.7.plt"). A connection that sends nothing, is cut off,
/// stays quiet for the idle time or reaches the size limit leaves no file. Connections
/// from other networks than the allowed ones are closed at once. One thread, poll().
class CRawPort {
public:
    explicit CRawPort(CRawPortOptions options);
    ~CRawPort();
    CRawPort(const CRawPort&) = delete;
    CRawPort& operator=(const CRawPort&) = delete;

    /// Listens (exclusively) and starts the thread; true at once when the port is off.
    bool Start(std::string& strError);
    void Stop();

private:
    struct CJob {
        int m_fd = -1;
        std::string m_strPeer;
        std::unique_ptr<CIncomingFile> m_pFile;
        std::chrono::steady_clock::time_point m_tLast;
    };

    void Loop();
    void Accept();
    /// Reads what is there; false when the connection is over (its file placed or dropped).
    bool Receive(CJob& job);
    void Finish(CJob& job);
    std::string FileName(const std::string& strPeer, int nTry) const;

    CRawPortOptions m_options;
    int m_nListen = -1;
    int m_nWake = -1;
    std::vector<CJob> m_jobs;
    std::thread m_thread;
};

} // namespace inkvale::service
