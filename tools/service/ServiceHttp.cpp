// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceHttp.h"

#include "ServiceIncomingFile.h"
#include "ServiceListener.h"
#include "ServicePage.h"
#include "ServiceRoute.h"
#include "ServiceStatus.h"
#include "ServiceToken.h"

#include "machine/engine/ManualCommands.h"
#include "model/TaskDrawingLoader.h"
#include "queue/HotFolder.h"
#include "queue/TaskListEdits.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace inkvale::service {

using namespace std::chrono_literals;

/// The state of one request, from its headers to its answer (the server thread of its
/// connection, and a worker while the connection waits suspended for it).
struct CRequest {
    CRoute m_route;
    std::string m_strHost, m_strOrigin, m_strToken, m_strSession, m_strName, m_strType;
    bool m_bForwardedTls = false;
    std::string m_strBody;
    uint64_t m_nDropped = 0; ///< body bytes dropped after a refusal
    std::unique_ptr<CIncomingFile> m_pUpload;
    std::optional<CAnswer> m_answer;
};

/// One open event stream: the status sent once per picture, sleeping suspended between.
struct CStream {
    CServiceHttp* m_pOwner = nullptr;
    MHD_Connection* m_pConn = nullptr;
    uint64_t m_nSent = 0; ///< the generation of the last picture sent
    std::string m_strPending;
    size_t m_nOffset = 0;
    bool m_bSuspended = false;
};

namespace {

constexpr const char* kTokenHeader = "X-Inkvale-Token";
constexpr const char* kSessionCookie = "inkvale_session";
constexpr auto kEventEvery = 500ms;
constexpr size_t kMaxSmallBody = 16384;
constexpr uint64_t kMaxDropped = 1 << 20;
constexpr size_t kMemoryPerConnection = 32768;
constexpr size_t kStreamBlock = 16384;
constexpr size_t kEndedKept = 50;

std::string Header(MHD_Connection* pConn, const char* pszName) {
    const char* psz = MHD_lookup_connection_value(pConn, MHD_HEADER_KIND, pszName);
    return psz == nullptr ? std::string() : std::string(psz);
}

// The name argument with its length: a %00 inside must not cut it short unseen.
std::string NameArgument(MHD_Connection* pConn) {
    const char* psz = nullptr;
    size_t nSize = 0;
    if (MHD_lookup_connection_value_n(pConn, MHD_GET_ARGUMENT_KIND, "name", 4, &psz, &nSize) !=
            MHD_YES ||
        psz == nullptr)
        return {};
    return std::string(psz, nSize);
}

MHD_Result Queue(MHD_Connection* pConn, const CAnswer& answer) {
    MHD_Response* pResponse = MHD_create_response_from_buffer(
        answer.m_strBody.size(), const_cast<char*>(answer.m_strBody.data()), MHD_RESPMEM_MUST_COPY);
    if (pResponse == nullptr)
        return MHD_NO;
    MHD_add_response_header(pResponse, "Content-Type", answer.m_strType.c_str());
    MHD_add_response_header(pResponse, "Cache-Control", "no-store");
    MHD_add_response_header(pResponse, "X-Content-Type-Options", "nosniff");
    MHD_add_response_header(pResponse, "X-Frame-Options", "DENY");
    MHD_add_response_header(pResponse, "Referrer-Policy", "no-referrer");
    for (const auto& [strName, strValue] : answer.m_headers)
        MHD_add_response_header(pResponse, strName.c_str(), strValue.c_str());
    const MHD_Result result =
        MHD_queue_response(pConn, static_cast<unsigned>(answer.m_nStatus), pResponse);
    MHD_destroy_response(pResponse);
    return result;
}

// A file name an upload may take in the automatic folder: printable UTF-8, no folder, no
// leading dot, ending in one of the hot folder's extensions.
bool AcceptableName(const std::string& strName, const std::string& strPatterns) {
    if (strName.empty() || strName.size() > 200 || strName[0] == '.' ||
        strName.find_first_of("/\\") != std::string::npos ||
        strName.find('\0') != std::string::npos || !PrintableUtf8(strName))
        return false;
    for (const std::string& strPattern : PatternList(strPatterns)) {
        if (MatchesPattern(strName, strPattern))
            return true;
    }
    return false;
}

// {"copies": N} and nothing else, N a whole number from 0 to 9999; -1 otherwise.
int CopiesOf(const std::string& strBody) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(strBody), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject() || doc.object().size() != 1)
        return -1;
    const QJsonValue value = doc.object().value("copies");
    const double d = value.toDouble(-1.0);
    if (!value.isDouble() || d != std::floor(d) || d < 0 || d > 9999)
        return -1;
    return static_cast<int>(d);
}

// The token of a sign-in: a form field "token=..." or {"token": "..."}.
std::string SignInToken(const std::string& strBody) {
    if (strBody.starts_with('{')) {
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(strBody));
        return doc.object().value("token").toString().toStdString();
    }
    const size_t nAt = strBody.find("token=");
    if (nAt == std::string::npos)
        return {};
    const size_t nEnd = std::min(strBody.find('&', nAt), strBody.size());
    return QByteArray::fromPercentEncoding(
               QByteArray::fromStdString(strBody.substr(nAt + 6, nEnd - nAt - 6)).replace('+', ' '))
        .toStdString();
}

MHD_Result OnRequestThunk(void* pCls, MHD_Connection* pConn, const char* pszUrl,
                          const char* pszMethod, const char*, const char* pData, size_t* pnSize,
                          void** ppState) {
    return static_cast<CServiceHttp*>(pCls)->OnRequest(pConn, pszUrl, pszMethod, pData, pnSize,
                                                       ppState) != 0
               ? MHD_YES
               : MHD_NO;
}

void OnCompletedThunk(void* pCls, MHD_Connection* pConn, void** ppState,
                      MHD_RequestTerminationCode) {
    static_cast<CServiceHttp*>(pCls)->OnCompleted(pConn, ppState);
}

// The peer's address as text; "" for loopback, whose clients are not counted (the
// machine's own pages, a reverse proxy).
std::string CountedPeer(const void* pSockaddr) {
    const auto* pAddr = static_cast<const sockaddr*>(pSockaddr);
    char sz[INET6_ADDRSTRLEN] = {};
    if (pAddr->sa_family == AF_INET)
        inet_ntop(AF_INET, &static_cast<const sockaddr_in*>(pSockaddr)->sin_addr, sz, sizeof sz);
    else if (pAddr->sa_family == AF_INET6)
        inet_ntop(AF_INET6, &static_cast<const sockaddr_in6*>(pSockaddr)->sin6_addr, sz, sizeof sz);
    const std::string strPeer = sz;
    return IsLoopbackAddress(strPeer) ? std::string() : strPeer;
}

MHD_Result OnAcceptThunk(void* pCls, const sockaddr* pAddr, socklen_t) {
    return static_cast<CServiceHttp*>(pCls)->OnAccept(pAddr) ? MHD_YES : MHD_NO;
}

void OnConnectionThunk(void* pCls, MHD_Connection* pConn, void** ppSocket,
                       MHD_ConnectionNotificationCode eCode) {
    static_cast<CServiceHttp*>(pCls)->OnConnection(pConn, ppSocket,
                                                   eCode == MHD_CONNECTION_NOTIFY_STARTED);
}

ssize_t OnStreamReadThunk(void* pCls, uint64_t, char* pBuffer, size_t nMax) {
    auto* pStream = static_cast<CStream*>(pCls);
    return pStream->m_pOwner->OnStreamRead(*pStream, pBuffer, nMax);
}

void OnStreamFreedThunk(void* pCls) {
    auto* pStream = static_cast<CStream*>(pCls);
    pStream->m_pOwner->OnStreamFreed(pStream);
}

// The library's own complaints go to the log as one line each.
void OnLibraryMessage(void*, const char* pszFormat, va_list args) {
    char sz[512];
    std::vsnprintf(sz, sizeof sz, pszFormat, args);
    std::string strText = sz;
    while (!strText.empty() && (strText.back() == '\n' || strText.back() == ' '))
        strText.pop_back();
    // Mostly clients gone away: of interest when something else is wrong.
    std::fprintf(stderr, "<7>inkvale-service: http: %s\n", LogText(strText).c_str());
}

} // namespace

CServiceHttp::CServiceHttp(CInkvaleCore& core, CLoopHandOff& handOff, CHttpOptions options)
    : m_core(core), m_handOff(handOff), m_options(std::move(options)),
      m_bLoopback(IsLoopbackAddress(m_options.m_strAddress)),
      m_history(core.Settings().HistoryEnable != 0 ? core.Settings().HistoryFile : ""),
      m_strAutoDir(core.Settings().AutoDir) {
    m_bHistoryEnabled = core.Settings().HistoryEnable != 0;
}

CServiceHttp::~CServiceHttp() {
    Stop();
}

bool CServiceHttp::Start(std::string& strError) {
    const int fd = ListenExclusive(m_options.m_strAddress, m_options.m_nPort, strError);
    if (fd < 0)
        return false;
    const unsigned nFlags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL |
                            MHD_ALLOW_SUSPEND_RESUME | MHD_USE_ERROR_LOG;
    m_pDaemon = MHD_start_daemon(
        nFlags, 0, &OnAcceptThunk, this, &OnRequestThunk, this, MHD_OPTION_EXTERNAL_LOGGER,
        &OnLibraryMessage, nullptr, MHD_OPTION_LISTEN_SOCKET, fd, MHD_OPTION_CONNECTION_LIMIT,
        m_options.m_nMaxConnections, MHD_OPTION_CONNECTION_TIMEOUT, m_options.m_nIdleSeconds,
        MHD_OPTION_CONNECTION_MEMORY_LIMIT, kMemoryPerConnection, MHD_OPTION_NOTIFY_COMPLETED,
        &OnCompletedThunk, this, MHD_OPTION_NOTIFY_CONNECTION, &OnConnectionThunk, this,
        MHD_OPTION_THREAD_POOL_SIZE, m_options.m_nServerThreads, MHD_OPTION_END);
    if (m_pDaemon == nullptr) {
        ::close(fd);
        strError = "the HTTP server could not start on " + m_options.m_strAddress;
        return false;
    }
    m_control.Start();
    m_painter.Start();
    m_reader.Start();
    m_housekeeper = std::thread([this] { Housekeeping(); });
    return true;
}

void CServiceHttp::Stop() {
    if (m_pDaemon == nullptr)
        return;
    {
        std::lock_guard<std::mutex> lock(m_stopMutex);
        m_bStopping = true;
        m_stopCv.notify_all();
    }
    if (m_housekeeper.joinable())
        m_housekeeper.join();
    // Every suspended connection is let go before the server ends: the waiting ones with
    // 503, the streams with their end.
    m_control.Stop();
    m_painter.Stop();
    m_reader.Stop();
    WakeStreams();
    const auto tEnd = std::chrono::steady_clock::now() + 2s;
    while (std::chrono::steady_clock::now() < tEnd) {
        {
            std::lock_guard<std::mutex> lock(m_streamMutex);
            if (m_streams.empty())
                break;
        }
        std::this_thread::sleep_for(10ms);
    }
    MHD_stop_daemon(m_pDaemon);
    m_pDaemon = nullptr;
}

void CServiceHttp::Refresh() {
    const bool bRunning = m_core.Engine().JobRunning();
    if (bRunning && !m_bJobSeen)
        m_tJobSeen = std::chrono::steady_clock::now();
    if (bRunning && !m_core.Engine().WorkPage().m_strName.empty())
        m_strJobName = m_core.Engine().WorkPage().m_strName;
    m_bJobSeen = bRunning;
    const double dSeconds =
        bRunning
            ? std::chrono::duration<double>(std::chrono::steady_clock::now() - m_tJobSeen).count()
            : 0.0;
    std::string strStatus = StatusJson(m_core, dSeconds);
    std::lock_guard<std::mutex> lock(m_mutex);
    strStatus.pop_back();
    m_strStatus = strStatus + ", \"ended\": " + m_strEnded +
                  ", \"history_enabled\": " + (m_bHistoryEnabled ? "true" : "false") + "}";
}

void CServiceHttp::NoteJobEnded(std::string strTask, bool bSuccess) {
    // The engine may have let go of its copy of the task by now.
    if (strTask.empty())
        strTask = m_strJobName;
    m_strJobName.clear();
    const char* pszOutcome = bSuccess ? "printed" : m_bStopAsked ? "stopped" : "failed";
    m_bStopAsked = false;
    const double dSeconds =
        m_bJobSeen
            ? std::chrono::duration<double>(std::chrono::steady_clock::now() - m_tJobSeen).count()
            : 0.0;
    char szWhen[32] = {};
    const std::time_t tNow = std::time(nullptr);
    std::tm tmNow{};
    localtime_r(&tNow, &tmNow);
    std::strftime(szWhen, sizeof szWhen, "%Y-%m-%d %H:%M:%S", &tmNow);
    char szSeconds[32];
    std::snprintf(szSeconds, sizeof szSeconds, "%.1f", dSeconds);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_ended.insert(m_ended.begin(), "{\"task\": " + JsonText(strTask) + ", \"outcome\": \"" +
                                        pszOutcome + "\", \"time\": \"" + szWhen +
                                        "\", \"seconds\": " + szSeconds + "}");
    if (m_ended.size() > kEndedKept)
        m_ended.pop_back();
    m_strEnded = "[";
    for (size_t i = 0; i < m_ended.size(); ++i)
        m_strEnded += (i == 0 ? "" : ", ") + m_ended[i];
    m_strEnded += "]";
}

std::string CServiceHttp::Snapshot(std::string CServiceHttp::*pMember) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return this->*pMember;
}

bool CServiceHttp::OnOwner(const std::function<void()>& fn) {
    bool bRan = false;
    m_handOff.Run([&] {
        fn();
        bRan = true;
    });
    return bRan;
}

// The housekeeping thread: the pictures for the event streams and the slow connections'
// ends.
void CServiceHttp::Housekeeping() {
    std::unique_lock<std::mutex> lock(m_stopMutex);
    while (!m_bStopping) {
        lock.unlock();
        WakeStreams();
        CloseSlowConnections();
        lock.lock();
        m_stopCv.wait_for(lock, kEventEvery, [this] { return m_bStopping.load(); });
    }
}

void CServiceHttp::WakeStreams() {
    std::lock_guard<std::mutex> lock(m_streamMutex);
    ++m_nGeneration;
    for (CStream* pStream : m_streams) {
        if (pStream->m_bSuspended) {
            pStream->m_bSuspended = false;
            MHD_resume_connection(pStream->m_pConn);
        }
    }
}

// A client that sends its headers a byte at a time stays within the idle time-out; it is
// cut off once the headers took longer than the header time. shutdown() under the lock
// the closing notice also takes: the socket is still the connection's own.
void CServiceHttp::CloseSlowConnections() {
    const auto tLimit =
        std::chrono::steady_clock::now() - std::chrono::seconds(m_options.m_nHeaderSeconds);
    std::lock_guard<std::mutex> lock(m_streamMutex);
    for (auto& [pConn, times] : m_conns) {
        if (times.m_bWaitingForHeaders && times.m_tWaitingSince < tLimit && times.m_fd >= 0) {
            ::shutdown(times.m_fd, SHUT_RDWR);
            times.m_fd = -1;
        }
    }
}

// One address of the network holds at most its share of the sockets.
bool CServiceHttp::OnAccept(const void* pSockaddr) {
    const std::string strPeer = CountedPeer(pSockaddr);
    std::lock_guard<std::mutex> lock(m_streamMutex);
    if (strPeer.empty())
        return true;
    const auto it = m_perAddress.find(strPeer);
    return it == m_perAddress.end() || it->second < m_options.m_nMaxPerAddress;
}

void CServiceHttp::OnConnection(MHD_Connection* pConn, void**, bool bStarted) {
    std::lock_guard<std::mutex> lock(m_streamMutex);
    if (!bStarted) {
        const auto it = m_conns.find(pConn);
        if (it != m_conns.end() && !it->second.m_strPeer.empty() &&
            --m_perAddress[it->second.m_strPeer] == 0)
            m_perAddress.erase(it->second.m_strPeer);
        if (it != m_conns.end())
            m_conns.erase(it);
        return;
    }
    const MHD_ConnectionInfo* pInfo =
        MHD_get_connection_info(pConn, MHD_CONNECTION_INFO_CONNECTION_FD);
    const int fd = pInfo == nullptr ? -1 : pInfo->connect_fd;
    const MHD_ConnectionInfo* pAddress =
        MHD_get_connection_info(pConn, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    std::erase_if(m_conns, [fd](const auto& c) { return c.second.m_fd == fd; });
    CConnTimes& times = m_conns[pConn];
    times = {fd, std::chrono::steady_clock::now(), true,
             pAddress == nullptr ? std::string() : CountedPeer(pAddress->client_addr)};
    if (!times.m_strPeer.empty())
        ++m_perAddress[times.m_strPeer];
}

void CServiceHttp::OnCompleted(MHD_Connection* pConn, void** ppState) {
    delete static_cast<CRequest*>(*ppState);
    *ppState = nullptr;
    std::lock_guard<std::mutex> lock(m_streamMutex);
    const auto it = m_conns.find(pConn);
    if (it != m_conns.end()) {
        it->second.m_bWaitingForHeaders = true;
        it->second.m_tWaitingSince = std::chrono::steady_clock::now();
    }
}

int CServiceHttp::OnRequest(MHD_Connection* pConn, const char* pszUrl, const char* pszMethod,
                            const char* pData, size_t* pnSize, void** ppState) {
    auto* pReq = static_cast<CRequest*>(*ppState);
    if (pReq == nullptr) {
        pReq = new CRequest;
        *ppState = pReq;
        pReq->m_route = RouteOf(pszMethod, pszUrl);
        pReq->m_strHost = Header(pConn, "Host");
        pReq->m_strOrigin = Header(pConn, "Origin");
        pReq->m_strToken = Header(pConn, kTokenHeader);
        pReq->m_strSession = CookieValue(Header(pConn, "Cookie"), kSessionCookie);
        pReq->m_strType = Header(pConn, "Content-Type");
        pReq->m_bForwardedTls = Header(pConn, "X-Forwarded-Proto") == "https";
        pReq->m_strName = NameArgument(pConn);
        {
            std::lock_guard<std::mutex> lock(m_streamMutex);
            const auto it = m_conns.find(pConn);
            if (it != m_conns.end())
                it->second.m_bWaitingForHeaders = false;
        }
        return Begin(pConn, *pReq);
    }
    if (*pnSize > 0) {
        const size_t nSize = *pnSize;
        *pnSize = 0;
        return TakeBody(pConn, *pReq, pData, nSize);
    }
    return Finish(pConn, *pReq);
}

// Everything that can be refused from the headers is refused before a byte of the body is
// read: the Host, the route, the token, an upload's name and announced size.
int CServiceHttp::Begin(MHD_Connection* pConn, CRequest& req) {
    if (!HostAllowed(req.m_strHost, m_options.m_hosts))
        return Queue(pConn, CAnswer::Error(403, "the Host header names no address of this "
                                                "service (see [Service] Hosts=)"));
    const CRoute& route = req.m_route;
    if (route.m_eRoute == ERoute::kNone)
        return Queue(pConn, CAnswer::Error(404, "no such request"));
    if (route.m_bWrongMethod) {
        CAnswer answer = CAnswer::Error(405, "this request takes another method");
        answer.m_headers.emplace_back("Allow", route.m_bPost ? "POST" : "GET, HEAD");
        return Queue(pConn, answer);
    }
    if (route.m_eKind == ERouteKind::kRead && !MayRead(req)) {
        if (route.m_eRoute == ERoute::kPage)
            return Queue(pConn, CAnswer{200, SignInPageHtml(false), "text/html; charset=utf-8"});
        return Queue(pConn, CAnswer::Error(401, "this address needs the token to read"));
    }
    if (route.m_eKind == ERouteKind::kControl) {
        const bool bToken = SameToken(req.m_strToken, m_options.m_strToken);
        const bool bSession = !bToken && m_sessions.Valid(req.m_strSession);
        if (!bToken && !bSession)
            return Queue(pConn, CAnswer::Error(401, "control needs the token in the "
                                                    "X-Inkvale-Token header, or a sign-in"));
        if (bSession && !SameOrigin(req.m_strOrigin, req.m_strHost))
            return Queue(pConn, CAnswer::Error(403, "a signed-in request must come from the "
                                                    "service's own page (Origin)"));
    }
    if (route.m_eRoute == ERoute::kLogin && !req.m_strOrigin.empty() &&
        !SameOrigin(req.m_strOrigin, req.m_strHost))
        return Queue(pConn, CAnswer::Error(403, "sign in from the service's own page"));
    CAnswer refusal;
    if (route.m_eRoute == ERoute::kUpload && !BeginUpload(pConn, req, refusal))
        return Queue(pConn, refusal);
    uint64_t nLength = 0;
    if (route.m_eRoute != ERoute::kUpload && ParseId(Header(pConn, "Content-Length"), nLength) &&
        nLength > kMaxSmallBody)
        return Queue(pConn, CAnswer::Error(413, "the body is too large for this request"));
    return MHD_YES;
}

bool CServiceHttp::BeginUpload(MHD_Connection* pConn, CRequest& req, CAnswer& refusal) {
    if (req.m_strType.starts_with("multipart/")) {
        refusal = CAnswer::Error(415, "send the file's bytes as the body (curl --data-binary "
                                      "@FILE), not as a form");
        return false;
    }
    if (!AcceptableName(req.m_strName, m_core.Settings().PrtFileExtension)) {
        refusal = CAnswer::Error(400, "the name must be a plain file name in printable UTF-8 "
                                      "with a drawing's extension");
        return false;
    }
    const std::string strLength = Header(pConn, "Content-Length");
    uint64_t nLength = 0;
    if (!strLength.empty() && ParseId(strLength, nLength) &&
        nLength >= m_options.m_nMaxUploadBytes) {
        refusal = CAnswer::Error(413, "the file is not smaller than the automatic folder's limit "
                                      "(PltMaxSizeMb)");
        return false;
    }
    req.m_pUpload = std::make_unique<CIncomingFile>();
    if (!req.m_pUpload->Open(m_strAutoDir)) {
        refusal = CAnswer::Error(500, "the automatic folder cannot be written");
        return false;
    }
    return true;
}

// A body without a length that grows past the limit is refused at its end (the library
// answers only then); what still comes is counted and dropped, and a sender that goes on
// for as much again loses the connection.
int CServiceHttp::TakeBody(MHD_Connection*, CRequest& req, const char* pData, size_t nSize) {
    const uint64_t nLimit = req.m_pUpload ? m_options.m_nMaxUploadBytes : kMaxSmallBody;
    if (req.m_answer) {
        req.m_nDropped += nSize;
        return req.m_nDropped < std::max<uint64_t>(nLimit, kMaxDropped) ? MHD_YES : MHD_NO;
    }
    if (req.m_pUpload) {
        if (req.m_pUpload->Size() + nSize >= nLimit) {
            req.m_pUpload->Discard();
            req.m_answer = CAnswer::Error(413, "the file is not smaller than the automatic "
                                               "folder's limit (PltMaxSizeMb)");
        } else if (!req.m_pUpload->Append(pData, nSize)) {
            req.m_answer = CAnswer::Error(500, "the file could not be written");
        }
        return MHD_YES;
    }
    if (req.m_strBody.size() + nSize > nLimit)
        req.m_answer = CAnswer::Error(413, "the body is too large for this request");
    else
        req.m_strBody.append(pData, nSize);
    return MHD_YES;
}

int CServiceHttp::Finish(MHD_Connection* pConn, CRequest& req) {
    if (req.m_answer) {
        if (req.m_pUpload)
            req.m_pUpload->Discard(); // a placed file is no longer its to remove
        return Queue(pConn, *req.m_answer);
    }
    switch (req.m_route.m_eRoute) {
    case ERoute::kEvents:
        return StartStream(pConn);
    case ERoute::kThumbnail: {
        const uint64_t nId = req.m_route.m_nId;
        if (!req.m_route.m_bIdValid)
            return Queue(pConn, CAnswer::Error(404, "no task has that id"));
        return Defer(pConn, req, m_painter, [this, nId] { return Thumbnail(nId); });
    }
    case ERoute::kUpload:
        return Defer(pConn, req, m_control, [this, &req] { return PlaceUpload(req); });
    case ERoute::kLogin:
        return Queue(pConn, Login(req));
    default:
        break;
    }
    if (req.m_route.m_eKind == ERouteKind::kControl)
        return Defer(pConn, req, m_control, [this, &req] { return Control(req); });
    if (req.m_route.m_eRoute == ERoute::kStatus)
        return Queue(pConn, CAnswer::Json(200, Snapshot(&CServiceHttp::m_strStatus)));
    // The page and the lists read files: on the reader's thread.
    return Defer(pConn, req, m_reader, [this, &req] { return Read(req); });
}

// The connection sleeps until the worker has the answer; the server's thread goes on.
int CServiceHttp::Defer(MHD_Connection* pConn, CRequest& req, CWorker& worker,
                        std::function<CAnswer()> fn) {
    MHD_suspend_connection(pConn);
    worker.Post([pConn, &req, fn = std::move(fn)](bool bRun) {
        req.m_answer = bRun ? fn() : CAnswer::Error(503, "the service is closing");
        MHD_resume_connection(pConn);
    });
    return MHD_YES;
}

int CServiceHttp::StartStream(MHD_Connection* pConn) {
    auto* pStream = new CStream;
    pStream->m_pOwner = this;
    pStream->m_pConn = pConn;
    {
        std::lock_guard<std::mutex> lock(m_streamMutex);
        if (m_streams.size() >= m_options.m_nMaxStreams || m_bStopping) {
            delete pStream;
            return Queue(pConn, CAnswer::Error(503, "too many event streams are open"));
        }
        m_streams.push_back(pStream);
    }
    MHD_Response* pResponse = MHD_create_response_from_callback(
        MHD_SIZE_UNKNOWN, kStreamBlock, &OnStreamReadThunk, pStream, &OnStreamFreedThunk);
    if (pResponse == nullptr) {
        OnStreamFreed(pStream);
        return MHD_NO;
    }
    MHD_add_response_header(pResponse, "Content-Type", "text/event-stream; charset=utf-8");
    MHD_add_response_header(pResponse, "Cache-Control", "no-store");
    MHD_add_response_header(pResponse, "X-Content-Type-Options", "nosniff");
    const MHD_Result result = MHD_queue_response(pConn, 200, pResponse);
    MHD_destroy_response(pResponse);
    return result;
}

long CServiceHttp::OnStreamRead(CStream& stream, char* pBuffer, size_t nMax) {
    if (stream.m_nOffset >= stream.m_strPending.size()) {
        std::unique_lock<std::mutex> lock(m_streamMutex);
        if (m_bStopping)
            return MHD_CONTENT_READER_END_OF_STREAM;
        if (stream.m_nSent == m_nGeneration) {
            // Nothing new: sleep until the next picture (WakeStreams).
            MHD_suspend_connection(stream.m_pConn);
            stream.m_bSuspended = true;
            return 0;
        }
        stream.m_nSent = m_nGeneration;
        lock.unlock();
        stream.m_strPending = "data: " + Snapshot(&CServiceHttp::m_strStatus) + "\n\n";
        stream.m_nOffset = 0;
    }
    const size_t n = std::min(nMax, stream.m_strPending.size() - stream.m_nOffset);
    std::copy_n(stream.m_strPending.data() + stream.m_nOffset, n, pBuffer);
    stream.m_nOffset += n;
    return static_cast<long>(n);
}

void CServiceHttp::OnStreamFreed(CStream* pStream) {
    {
        std::lock_guard<std::mutex> lock(m_streamMutex);
        std::erase(m_streams, pStream);
    }
    delete pStream;
}

bool CServiceHttp::SignedIn(const CRequest& req) const {
    return SameToken(req.m_strToken, m_options.m_strToken) ||
           const_cast<CSessions&>(m_sessions).Valid(req.m_strSession);
}

bool CServiceHttp::MayRead(const CRequest& req) const {
    return m_bLoopback || m_options.m_bAnonymousView || SignedIn(req);
}

CAnswer CServiceHttp::Read(CRequest& req) {
    switch (req.m_route.m_eRoute) {
    case ERoute::kPage:
        return Page(req);
    case ERoute::kStatus:
        return CAnswer::Json(200, Snapshot(&CServiceHttp::m_strStatus));
    case ERoute::kHistory:
        return CAnswer::Json(200, m_history.Json());
    case ERoute::kRejected:
        return CAnswer::Json(200, RejectedJson(m_strAutoDir, 50));
    default:
        return CAnswer::Error(404, "no such request");
    }
}

CAnswer CServiceHttp::Page(CRequest& req) {
    CAnswer answer{200,
                   StatusPageHtml(Snapshot(&CServiceHttp::m_strStatus), m_history.Json(),
                                  RejectedJson(m_strAutoDir, 50), SignedIn(req)),
                   "text/html; charset=utf-8"};
    answer.m_headers.emplace_back("Content-Security-Policy",
                                  "default-src 'self'; script-src 'unsafe-inline'; style-src "
                                  "'unsafe-inline'; img-src 'self'; frame-ancestors 'none'");
    return answer;
}

CAnswer CServiceHttp::Login(const CRequest& req) {
    const bool bForm = !req.m_strBody.starts_with('{');
    if (req.m_route.m_strWhat == "logout") {
        m_sessions.End(req.m_strSession);
        CAnswer answer = CAnswer::Ok();
        answer.m_headers.emplace_back("Set-Cookie", std::string(kSessionCookie) +
                                                        "=; Path=/; Max-Age=0; HttpOnly; "
                                                        "SameSite=Strict");
        return answer;
    }
    if (!SameToken(SignInToken(req.m_strBody), m_options.m_strToken)) {
        if (bForm)
            return CAnswer{401, SignInPageHtml(true), "text/html; charset=utf-8"};
        return CAnswer::Error(401, "the token is wrong");
    }
    const bool bSecure = m_options.m_bSecureCookie || req.m_bForwardedTls;
    CAnswer answer = bForm ? CAnswer{303, "{\"ok\": true}"} : CAnswer::Ok();
    answer.m_headers.emplace_back("Set-Cookie",
                                  std::string(kSessionCookie) + "=" + m_sessions.Create() +
                                      "; Path=/; Max-Age=43200; HttpOnly; SameSite=Strict" +
                                      (bSecure ? "; Secure" : ""));
    if (bForm)
        answer.m_headers.emplace_back("Location", "/");
    return answer;
}

// Worker thread: the bytes reach the disk and take their name here, then the automatic
// folder is scanned at once on the owning thread, so that each upload becomes a task in
// the order the uploads ended and its id can be told.
CAnswer CServiceHttp::PlaceUpload(CRequest& req) {
    CIncomingFile& file = *req.m_pUpload;
    const uint64_t nSize = file.Size();
    const EPlaced placed = nSize == 0 ? EPlaced::kFailed : file.Place(req.m_strName);
    if (placed != EPlaced::kPlaced) {
        // Nothing of a refused upload stays, not even until the connection ends.
        file.Discard();
        if (nSize == 0)
            return CAnswer::Error(400, "the file is empty");
        return placed == EPlaced::kExists
                   ? CAnswer::Error(409, "a file of that name waits in the automatic folder")
                   : CAnswer::Error(500, "the file could not be written");
    }
    std::fprintf(stderr, "<6>inkvale-service: received %s (%llu bytes)\n",
                 LogText(req.m_strName).c_str(), static_cast<unsigned long long>(nSize));
    const std::string strPath = m_strAutoDir + req.m_strName;
    std::optional<uint64_t> id;
    (void)OnOwner([&] {
        m_core.Queue().TakePlacedFile(strPath);
        for (const auto& pTask : m_core.Doc().m_arrAutoDir) {
            if (pTask->m_strPath == strPath)
                id = pTask->m_nTaskId;
        }
        Refresh();
    });
    return CAnswer::Json(201, "{\"ok\": true, \"name\": " + JsonText(req.m_strName) +
                                  ", \"id\": " + (id ? std::to_string(*id) : "null") + "}");
}

CAnswer CServiceHttp::Control(const CRequest& req) {
    switch (req.m_route.m_eRoute) {
    case ERoute::kTask:
        return TaskCommand(req);
    case ERoute::kMachine:
        return MachineCommand(req.m_route.m_strWhat);
    case ERoute::kAuto:
        return AutoCommand(req.m_route.m_strWhat == "on");
    case ERoute::kJob:
        return JobCommand(req.m_route.m_strJob, req.m_route.m_strWhat == "resume");
    default:
        return CAnswer::Error(404, "no such request");
    }
}

// The decision on an unfinished job of the ledger, on the owning thread.
CAnswer CServiceHttp::JobCommand(const std::string& strJob, bool bResume) {
    const std::string strDir = m_core.Engine().JournalDir() + strJob + "/";
    bool bKnown = false;
    CJobStartResult done;
    if (!OnOwner([&] {
            const std::vector<std::string> jobs = m_core.Engine().UnfinishedJobs();
            bKnown = std::find(jobs.begin(), jobs.end(), strDir) != jobs.end();
            if (!bKnown)
                return;
            if (bResume)
                done = m_core.ResumeJob(strDir);
            else if (!m_core.DiscardJob(strDir))
                done = CResult::Failure(-1, "the job's folder could not be removed");
            Refresh();
        }))
        return CAnswer::Error(503, "the service is closing");
    if (!bKnown)
        return CAnswer::Error(404, "no unfinished job has that id");
    if (!done.Ok())
        return CAnswer::Error(409, done.m_arrMessages.empty()
                                       ? done.m_strDiag
                                       : EnglishText(done.m_arrMessages[0]));
    std::fprintf(stderr, "<5>inkvale-service: job %s %s\n", strJob.c_str(),
                 bResume ? "resumed" : "discarded");
    return CAnswer::Json(200, "{\"ok\": true}");
}

CAnswer CServiceHttp::TaskCommand(const CRequest& req) {
    const std::string& strWhat = req.m_route.m_strWhat;
    const int nCopies = strWhat == "copies" ? CopiesOf(req.m_strBody) : 0;
    if (nCopies < 0)
        return CAnswer::Error(400, "the body must be {\"copies\": N}, N a whole number from 0 "
                                   "to 9999, and nothing else");
    if (!req.m_route.m_bIdValid)
        return CAnswer::Error(404, "no task has that id");
    const uint64_t nId = req.m_route.m_nId;
    int nStatus = 404;
    if (!OnOwner([&] {
            COnePage* pTask = TaskById(m_core.Doc(), nId);
            if (pTask == nullptr)
                return;
            nStatus = 200;
            if (strWhat != "copies") {
                pTask->m_bQueued = strWhat == "queue" ? 1 : 0;
            } else if (nCopies > 0) {
                pTask->m_nCopies = nCopies;
            } else if (pTask->m_nPrintState != 0) {
                nStatus = 409;
            } else {
                // As Delete does: the task goes, its folder file to the trash.
                pTask->m_nCopies = 0;
                (void)m_core.Queue().DeleteZeroCopies();
            }
            m_core.Queue().NoteChanged();
            Refresh();
        }))
        return CAnswer::Error(503, "the service is closing");
    if (nStatus == 404)
        return CAnswer::Error(404, "no task has that id");
    if (nStatus == 409)
        return CAnswer::Error(409, "the task is printing: stop the job first");
    return CAnswer::Ok();
}

CAnswer CServiceHttp::MachineCommand(const std::string& strWhat) {
    bool bActed = false;
    if (!OnOwner([&] {
            const CCommandBarState state = m_core.Engine().CommandBarState();
            const bool bPaused = state.m_nMachineState == kStatePaused;
            // Pause and resume are one button on the machine: each acts only in its state.
            if ((strWhat == "pause" && bPaused) || (strWhat == "resume" && !bPaused))
                return;
            const int nButton = strWhat == "stop" ? kBtnStop : kBtnPause;
            const CManualOutcome outcome = ButtonClicked(nButton, state);
            if (outcome.m_nAction == kNoAction)
                return;
            ApplyManualOutcome(outcome, m_core.Links().Commu(), m_core.Settings());
            bActed = true;
            m_bStopAsked = m_bStopAsked || strWhat == "stop";
            Refresh();
        }))
        return CAnswer::Error(503, "the service is closing");
    if (!bActed)
        return CAnswer::Error(409, "the machine cannot " + strWhat + " now");
    return CAnswer::Ok();
}

CAnswer CServiceHttp::AutoCommand(bool bOn) {
    if (!OnOwner([&] {
            m_core.Settings().AutoStartEnable = bOn ? 1 : 0;
            std::fprintf(stderr, "<5>inkvale-service: automatic printing switched %s\n",
                         bOn ? "on" : "off");
            Refresh();
        }))
        return CAnswer::Error(503, "the service is closing");
    return CAnswer::Json(200,
                         std::string("{\"ok\": true, \"auto\": ") + (bOn ? "true" : "false") + "}");
}

// Painter thread. The task's drawing is copied on the owning thread (or only its path
// taken, when the queue keeps no drawing) and painted here; the picture is kept for the
// task's file as it is now.
CAnswer CServiceHttp::Thumbnail(uint64_t nId) {
    bool bFound = false;
    CThumbnailKey key;
    COnePage copy;
    CSettings settings;
    std::string strPng;
    if (!OnOwner([&] {
            const COnePage* pTask = TaskById(m_core.Doc(), nId);
            bFound = pTask != nullptr;
            if (!bFound)
                return;
            key = {nId, pTask->m_strPath, pTask->m_tTime, pTask->m_nFileSize};
            settings = m_core.Settings();
            if (m_thumbnails.Find(key, strPng))
                return;
            if (!pTask->m_arrCurves.empty())
                copy = *pTask;
            else
                copy.m_strPath = pTask->m_strPath;
        }))
        return CAnswer::Error(503, "the service is closing");
    if (!bFound)
        return CAnswer::Error(404, "no task has that id");
    if (strPng.empty()) {
        if (copy.m_arrCurves.empty() && !copy.m_strPath.empty())
            (void)LoadTaskDrawing(copy, settings, false);
        strPng = ThumbnailPng(copy, settings, 320, 200);
        if (strPng.empty())
            return CAnswer::Error(404, "the task's drawing cannot be read");
        m_thumbnails.Keep(key, strPng);
    }
    return CAnswer{200, std::move(strPng), "image/png"};
}

} // namespace inkvale::service
