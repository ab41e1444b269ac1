// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/InkvaleCore.h"
#include "core/LoopHandOff.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace inkvale::service {

/// Where and how the HTTP interface listens.
struct CHttpOptions {
    std::string m_strAddress = "127.0.0.1";
    int m_nPort = 8291;
    std::string m_strToken;        ///< control always needs it (header X-Inkvale-Token)
    bool m_bAnonymousView = false; ///< off loopback, reading needs the token unless set
    size_t m_nMaxUploadBytes = 32'000'000;
};

/// The service's HTTP interface: a status page and a JSON API over the application core.
/// Reading answers from a snapshot the owning thread refreshes (Refresh), so that many
/// readers never wait for it; control runs on the owning thread through its hand-off.
/// The server runs on threads of its own.
class CServiceHttp {
public:
    CServiceHttp(CInkvaleCore& core, CLoopHandOff& handOff, CHttpOptions options);
    ~CServiceHttp();
    CServiceHttp(const CServiceHttp&) = delete;
    CServiceHttp& operator=(const CServiceHttp&) = delete;

    /// Binds and starts serving; false with why when the address cannot be bound.
    bool Start(std::string& strError);
    /// Ends the server and its threads.
    void Stop();
    /// The owning thread's new picture of the machine, job and queue.
    void Refresh();

private:
    void Routes();
    bool MayRead(const httplib::Request& req, httplib::Response& res) const;
    bool MayControl(const httplib::Request& req, httplib::Response& res) const;
    void Upload(const httplib::Request& req, httplib::Response& res);
    void TaskCommand(const httplib::Request& req, httplib::Response& res);
    void JobCommand(const httplib::Request& req, httplib::Response& res);
    void MachineCommand(const httplib::Request& req, httplib::Response& res);
    void Thumbnail(const httplib::Request& req, httplib::Response& res);
    std::string Status() const;
    /// Runs fn on the owning thread; false when the service is closing.
    bool OnOwner(const std::function<void()>& fn);

    CInkvaleCore& m_core;
    CLoopHandOff& m_handOff;
    CHttpOptions m_options;
    bool m_bLoopback = true;
    std::unique_ptr<httplib::Server> m_pServer;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::string m_strStatus = "{}";
    std::chrono::steady_clock::time_point m_tJobSeen{};
    bool m_bJobSeen = false;
    std::atomic<bool> m_bStopping{false};
};

} // namespace inkvale::service
