// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceRawPort.h"

#include "ServiceJson.h"
#include "ServiceListener.h"

#include "queue/HotFolder.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>

namespace inkvale::service {

namespace {

constexpr size_t kReadBytes = 65536;

void Log(int nPriority, const std::string& strText) {
    std::fprintf(stderr, "<%d>inkvale-service: %s\n", nPriority, LogText(strText).c_str());
}

std::string PeerText(const sockaddr_storage& peer) {
    char sz[INET6_ADDRSTRLEN] = {};
    if (peer.ss_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in&>(peer).sin_addr, sz, sizeof sz);
    else
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6&>(peer).sin6_addr, sz, sizeof sz);
    return sz;
}

} // namespace

bool RawPortOptions(const CProfileFile& ini, const CSettings& settings, CRawPortOptions& options,
                    std::string& strError) {
    options.m_nPort = ini.GetInt("Service", "RawPort", 0);
    if (options.m_nPort < 0 || options.m_nPort > 65535) {
        strError = "[Service] RawPort= must be a port number";
        return false;
    }
    options.m_strAddress =
        ini.GetString("Service", "RawAddress", ini.GetString("Service", "Address", "127.0.0.1"));
    if (!ParseNetworks(ini.GetString("Service", "RawClients", "127.0.0.0/8, ::1"),
                       options.m_clients, strError)) {
        strError = "[Service] RawClients=: " + strError;
        return false;
    }
    const std::vector<std::string> patterns = PatternList(settings.PrtFileExtension);
    std::string strExtension = patterns.empty() ? ".plt" : patterns.front();
    strExtension = strExtension.substr(std::min(strExtension.find('.'), strExtension.size()));
    options.m_strExtension = ini.GetString("Service", "RawExtension", strExtension);
    if (options.m_strExtension.find_first_of("/\\*?[") != std::string::npos)
        options.m_strExtension = ".plt";
    options.m_strFolder = settings.AutoDir;
    options.m_nMaxBytes = uint64_t(std::max(settings.PltMaxSizeMb, 1)) * 1048576u;
    return true;
}

CRawPort::CRawPort(CRawPortOptions options) : m_options(std::move(options)) {}

CRawPort::~CRawPort() {
    Stop();
}

bool CRawPort::Start(std::string& strError) {
    if (m_options.m_nPort == 0)
        return true;
    m_nListen = ListenExclusive(m_options.m_strAddress, m_options.m_nPort, strError);
    if (m_nListen < 0)
        return false;
    m_nWake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_thread = std::thread([this] { Loop(); });
    return true;
}

void CRawPort::Stop() {
    if (!m_thread.joinable())
        return;
    const uint64_t nOne = 1;
    (void)::write(m_nWake, &nOne, sizeof nOne);
    m_thread.join();
    for (CJob& job : m_jobs)
        ::close(job.m_fd); // their files go with the jobs: cut off, not whole
    m_jobs.clear();
    ::close(m_nListen);
    ::close(m_nWake);
    m_nListen = m_nWake = -1;
}

void CRawPort::Loop() {
    while (true) {
        std::vector<pollfd> fds = {{m_nWake, POLLIN, 0}, {m_nListen, POLLIN, 0}};
        for (const CJob& job : m_jobs)
            fds.push_back({job.m_fd, POLLIN, 0});
        (void)::poll(fds.data(), fds.size(), 1000);
        if (fds[0].revents != 0)
            return;
        if (fds[1].revents != 0)
            Accept();
        const auto tIdle =
            std::chrono::steady_clock::now() - std::chrono::seconds(m_options.m_nIdleSeconds);
        for (size_t i = 2; i < fds.size(); ++i) {
            CJob& job = m_jobs[i - 2];
            const bool bGoing = fds[i].revents == 0 ? job.m_tLast > tIdle : Receive(job);
            if (!bGoing) {
                if (fds[i].revents == 0)
                    Log(4, "raw port: " + job.m_strPeer + " went quiet; its job is dropped");
                ::close(job.m_fd);
                job.m_fd = -1;
                job.m_pFile.reset();
            }
        }
        std::erase_if(m_jobs, [](const CJob& job) { return job.m_fd < 0; });
    }
}

void CRawPort::Accept() {
    sockaddr_storage peer{};
    socklen_t nLen = sizeof peer;
    const int fd = ::accept4(m_nListen, reinterpret_cast<sockaddr*>(&peer), &nLen,
                             SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0)
        return;
    const std::string strPeer = PeerText(peer);
    if (!InNetworks(&peer, m_options.m_clients) || m_jobs.size() >= m_options.m_nMaxConnections) {
        Log(4, "raw port: refused a connection from " + strPeer);
        ::close(fd);
        return;
    }
    CJob job{fd, strPeer, std::make_unique<CIncomingFile>(), std::chrono::steady_clock::now()};
    if (!job.m_pFile->Open(m_options.m_strFolder)) {
        Log(3, "raw port: the automatic folder " + m_options.m_strFolder + " cannot be written");
        ::close(fd);
        return;
    }
    m_jobs.push_back(std::move(job));
}

bool CRawPort::Receive(CJob& job) {
    char buffer[kReadBytes];
    const ssize_t n = ::recv(job.m_fd, buffer, sizeof buffer, 0);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return true;
    if (n < 0) {
        Log(4, "raw port: the connection from " + job.m_strPeer + " was cut; its job is dropped");
        return false;
    }
    if (n == 0) {
        Finish(job);
        return false;
    }
    job.m_tLast = std::chrono::steady_clock::now();
    if (job.m_pFile->Size() + static_cast<uint64_t>(n) >= m_options.m_nMaxBytes) {
        Log(4, "raw port: the job from " + job.m_strPeer +
                   " is not smaller than the limit (PltMaxSizeMb); it is dropped");
        return false;
    }
    if (!job.m_pFile->Append(buffer, static_cast<size_t>(n))) {
        Log(3, "raw port: the automatic folder refused the job from " + job.m_strPeer);
        return false;
    }
    return true;
}

void CRawPort::Finish(CJob& job) {
    if (job.m_pFile->Size() == 0)
        return;
    for (int nTry = 0; nTry < 100; ++nTry) {
        const std::string strName = FileName(job.m_strPeer, nTry);
        switch (job.m_pFile->Place(strName)) {
        case EPlaced::kPlaced:
            Log(6, "raw port: received " + strName + " (" + std::to_string(job.m_pFile->Size()) +
                       " bytes) from " + job.m_strPeer);
            return;
        case EPlaced::kExists:
            continue;
        case EPlaced::kFailed:
            break;
        }
        break;
    }
    Log(3, "raw port: the job from " + job.m_strPeer + " could not be placed");
}

std::string CRawPort::FileName(const std::string& strPeer, int nTry) const {
    const std::time_t tNow = std::time(nullptr);
    std::tm tmNow{};
    localtime_r(&tNow, &tmNow);
    char sz[32];
    std::strftime(sz, sizeof sz, "%Y%m%d-%H%M%S", &tmNow);
    std::string strSender = strPeer;
    std::replace(strSender.begin(), strSender.end(), ':', '-');
    return "raw-" + std::string(sz) + "-" + strSender +
           (nTry == 0 ? std::string() : "-" + std::to_string(nTry + 1)) + m_options.m_strExtension;
}

} // namespace inkvale::service
