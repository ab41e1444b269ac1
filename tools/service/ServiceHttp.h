// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ServiceAccess.h"
#include "ServiceAnswer.h"
#include "ServiceStatus.h"
#include "ServiceThumbnail.h"
#include "ServiceWorker.h"

#include "core/InkvaleCore.h"
#include "core/LoopHandOff.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

struct MHD_Daemon;
struct MHD_Connection;

namespace inkvale::service {

struct CRequest;
struct CStream;

/// Where and how the HTTP interface listens, and its limits.
struct CHttpOptions {
    std::string m_strAddress = "127.0.0.1";
    int m_nPort = 8291;
    std::string m_strToken;            ///< control needs it (header, or a session from it)
    bool m_bAnonymousView = false;     ///< off loopback, reading needs the token unless set
    std::vector<std::string> m_hosts;  ///< Host names besides the loopback ones
    bool m_bSecureCookie = false;      ///< the page is served over TLS by a reverse proxy
    uint64_t m_nMaxUploadBytes = 0;    ///< the hot folder's limit: files must be smaller
    unsigned m_nMaxConnections = 4000; ///< at most this many sockets at once
    unsigned m_nMaxStreams = 2000;     ///< of them at most this many event streams
    unsigned m_nHeaderSeconds = 10;    ///< a request's headers must arrive within this time
    unsigned m_nIdleSeconds = 30;      ///< a connection quiet this long is closed
    unsigned m_nMaxPerAddress = 256;   ///< sockets of one non-loopback address at once
    unsigned m_nServerThreads = 4;     ///< each serves its share of the connections (epoll)
};

/// The service's HTTP interface: a status page and a JSON API over the application core,
/// served by libmicrohttpd from a few threads, each with its own epoll set of connections
/// (so that a burst of event-stream pictures on one does not hold up a stop on another).
/// Nothing a client does holds a thread: reading answers from snapshots the owning thread and the
/// housekeeping thread refresh; control and uploads wait suspended while a worker hands them to the
/// owning thread; thumbnails are painted on a worker of their own and kept; event streams sleep
/// suspended between two pictures of the status. Slow and idle connections are closed by
/// time (headers, idleness), and sockets and streams are capped.
class CServiceHttp {
public:
    CServiceHttp(CInkvaleCore& core, CLoopHandOff& handOff, CHttpOptions options);
    ~CServiceHttp();
    CServiceHttp(const CServiceHttp&) = delete;
    CServiceHttp& operator=(const CServiceHttp&) = delete;

    /// Binds (exclusively) and starts serving; false with why when it cannot. Owning thread.
    bool Start(std::string& strError);
    /// Ends the server and its threads. Owning thread.
    void Stop();
    /// The owning thread's new picture of the machine, job and queue. Owning thread.
    void Refresh();
    /// The running job ended: kept with its outcome (printed; stopped, when a stop was
    /// asked for during it; failed) for the page and the status. Owning thread.
    void NoteJobEnded(std::string strTask, bool bSuccess);

    // libmicrohttpd's callbacks (its threads; one connection always on the same one).
    int OnRequest(MHD_Connection* pConn, const char* pszUrl, const char* pszMethod,
                  const char* pData, size_t* pnSize, void** ppState);
    void OnCompleted(MHD_Connection* pConn, void** ppState);
    void OnConnection(MHD_Connection* pConn, void** ppSocket, bool bStarted);
    bool OnAccept(const void* pSockaddr);
    long OnStreamRead(CStream& stream, char* pBuffer, size_t nMax);
    void OnStreamFreed(CStream* pStream);

private:
    struct CConnTimes {
        int m_fd = -1;
        std::chrono::steady_clock::time_point m_tWaitingSince;
        bool m_bWaitingForHeaders = true;
        std::string m_strPeer; ///< the address, "" for loopback (not counted)
    };

    int Begin(MHD_Connection* pConn, CRequest& req);
    int Finish(MHD_Connection* pConn, CRequest& req);
    int TakeBody(MHD_Connection* pConn, CRequest& req, const char* pData, size_t nSize);
    bool BeginUpload(MHD_Connection* pConn, CRequest& req, CAnswer& refusal);
    CAnswer Read(CRequest& req);
    CAnswer Page(CRequest& req);
    int StartStream(MHD_Connection* pConn);
    int Defer(MHD_Connection* pConn, CRequest& req, CWorker& worker, std::function<CAnswer()> fn);
    CAnswer Control(const CRequest& req);
    CAnswer TaskCommand(const CRequest& req);
    CAnswer MachineCommand(const std::string& strWhat);
    CAnswer AutoCommand(bool bOn);
    CAnswer JobCommand(const std::string& strJob, bool bResume);
    CAnswer PlaceUpload(CRequest& req);
    CAnswer Login(const CRequest& req);
    CAnswer Thumbnail(uint64_t nId);
    bool MayRead(const CRequest& req) const;
    bool SignedIn(const CRequest& req) const;
    bool OnOwner(const std::function<void()>& fn);
    void Housekeeping();
    void WakeStreams();
    void CloseSlowConnections();
    std::string Snapshot(std::string CServiceHttp::*pMember) const;

    CInkvaleCore& m_core;
    CLoopHandOff& m_handOff;
    CHttpOptions m_options;
    bool m_bLoopback = true;
    MHD_Daemon* m_pDaemon = nullptr;
    CSessions m_sessions;
    CThumbnailCache m_thumbnails;
    CWorker m_control;
    CWorker m_painter;
    CWorker m_reader;
    std::thread m_housekeeper;

    mutable std::mutex m_mutex; ///< the snapshots and the ended jobs
    std::string m_strStatus = "{}";
    std::string m_strEnded = "[]";
    std::vector<std::string> m_ended;
    std::chrono::steady_clock::time_point m_tJobSeen{};
    bool m_bJobSeen = false;
    bool m_bStopAsked = false;
    std::string m_strJobName; ///< the running job's task, as last seen
    bool m_bHistoryEnabled = false;
    CHistoryReader m_history;
    // Taken from the settings when the server is made: the HTTP threads read them while
    // the settings belong to the owning thread.
    std::string m_strAutoDir;
    std::string m_strPatterns;

    std::mutex m_streamMutex; ///< the streams and the connections' times
    std::vector<CStream*> m_streams;
    uint64_t m_nGeneration = 1;
    std::unordered_map<MHD_Connection*, CConnTimes> m_conns;
    std::unordered_map<std::string, unsigned> m_perAddress;

    std::mutex m_stopMutex;
    std::condition_variable m_stopCv;
    std::atomic<bool> m_bStopping{false};
};

} // namespace inkvale::service
