// SPDX-License-Identifier: GPL-3.0-or-later
// A load generator for inkvale-service on loopback: many open event streams, clients that
// send their headers a byte a second, and keep-alive pollers of /api/status, all on one
// epoll thread; meanwhile a control request (POST /api/auto/on) every 50 ms on a fresh
// connection, whose latencies are reported (p50, p99, max), with the requests that got no
// answer and the service's resident memory. bench/service_load.sh runs it against a
// service and the plotter simulator and times a job with and without the load.
//
//   service_load --port N --token T [--pid PID] [--streams 1000] [--slow 200]
//                [--pollers 200] [--seconds 20]

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct COptions {
    int m_nPort = 8291;
    std::string m_strToken;
    int m_nPid = 0;
    int m_nStreams = 1000, m_nSlow = 200, m_nPollers = 200;
    int m_nSeconds = 20;
};

enum class EKind { kStream, kSlow, kPoller };

struct CConn {
    int m_fd = -1;
    EKind m_eKind = EKind::kStream;
    size_t m_nSent = 0;        ///< slow clients: header bytes sent
    Clock::time_point m_tNext; ///< the next byte or poll
    std::string m_strIn;
};

int Connect(int nPort) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(nPort));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    const int nOne = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &nOne, sizeof nOne);
    return fd;
}

bool SendAll(int fd, const std::string& s) {
    return ::send(fd, s.data(), s.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(s.size());
}

const std::string kStatus = "GET /api/status HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
const std::string kEvents = "GET /api/events HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";

long ResidentKb(int nPid) {
    std::ifstream in("/proc/" + std::to_string(nPid) + "/status");
    std::string strLine;
    while (std::getline(in, strLine)) {
        if (strLine.starts_with("VmRSS:"))
            return std::atol(strLine.c_str() + 6);
    }
    return -1;
}

// The crowd: opens every connection, then keeps the slow ones dripping, the pollers
// polling once a second and the streams read, until bStop; counts what it sees.
struct CCrowd {
    std::vector<CConn> m_conns;
    long m_nEvents = 0, m_nPolls = 0, m_nClosed = 0, m_nReopened = 0;

    void Open(const COptions& o) {
        const auto tNow = Clock::now();
        for (int i = 0; i < o.m_nStreams + o.m_nSlow + o.m_nPollers; ++i) {
            CConn c;
            c.m_eKind = i < o.m_nStreams               ? EKind::kStream
                        : i < o.m_nStreams + o.m_nSlow ? EKind::kSlow
                                                       : EKind::kPoller;
            c.m_fd = Connect(o.m_nPort);
            if (c.m_fd < 0)
                continue;
            c.m_tNext = tNow + std::chrono::milliseconds(i % 1000);
            if (c.m_eKind == EKind::kStream)
                SendAll(c.m_fd, kEvents);
            m_conns.push_back(c);
        }
    }
    void Tick(CConn& c, const COptions& o) {
        const auto tNow = Clock::now();
        if (tNow < c.m_tNext || c.m_fd < 0)
            return;
        if (c.m_eKind == EKind::kSlow) {
            if (c.m_nSent < kStatus.size())
                (void)::send(c.m_fd, kStatus.data() + c.m_nSent++, 1, MSG_NOSIGNAL);
            c.m_tNext = tNow + std::chrono::seconds(1);
        } else if (c.m_eKind == EKind::kPoller) {
            SendAll(c.m_fd, kStatus);
            c.m_tNext = tNow + std::chrono::seconds(1);
        }
        (void)o;
    }
    void Read(CConn& c, const COptions& o) {
        char buf[65536];
        const ssize_t n = ::recv(c.m_fd, buf, sizeof buf, MSG_DONTWAIT);
        if (n > 0) {
            const std::string s(buf, static_cast<size_t>(n));
            if (c.m_eKind == EKind::kStream)
                m_nEvents += static_cast<long>(std::count(s.begin(), s.end(), '\n') / 2);
            else if (c.m_eKind == EKind::kPoller)
                m_nPolls += s.find("HTTP/1.1 200") != std::string::npos ? 1 : 0;
            return;
        }
        if (n < 0 && errno == EAGAIN)
            return;
        // Closed by the service (a slow client past the header time): it comes back, as
        // a determined slow client would.
        ++m_nClosed;
        ::close(c.m_fd);
        c.m_fd = Connect(o.m_nPort);
        c.m_nSent = 0;
        ++m_nReopened;
        if (c.m_fd >= 0 && c.m_eKind == EKind::kStream)
            SendAll(c.m_fd, kEvents);
    }
    void Run(const COptions& o, const std::atomic<bool>& bStop) {
        while (!bStop) {
            std::vector<pollfd> fds;
            for (const CConn& c : m_conns)
                fds.push_back({c.m_fd, POLLIN, 0});
            (void)::poll(fds.data(), fds.size(), 50);
            for (size_t i = 0; i < m_conns.size(); ++i) {
                if (fds[i].revents != 0)
                    Read(m_conns[i], o);
                Tick(m_conns[i], o);
            }
        }
        for (CConn& c : m_conns)
            ::close(c.m_fd);
    }
};

// One control request on a fresh connection; its latency in ms, or -1 without an answer
// (within 10 s).
double Control(const COptions& o) {
    const auto t0 = Clock::now();
    const int fd = Connect(o.m_nPort);
    if (fd < 0)
        return -1;
    timeval tv{10, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    const std::string strRequest = "POST /api/auto/on HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                                   "X-Inkvale-Token: " +
                                   o.m_strToken + "\r\nConnection: close\r\n\r\n";
    SendAll(fd, strRequest);
    char buf[4096];
    const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
    ::close(fd);
    if (n <= 0 || std::string(buf, static_cast<size_t>(n)).find(" 200 ") == std::string::npos)
        return -1;
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

bool Parse(int argc, char** argv, COptions& o) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i], v = argv[i + 1];
        if (a == "--port")
            o.m_nPort = std::atoi(v.c_str());
        else if (a == "--token")
            o.m_strToken = v;
        else if (a == "--pid")
            o.m_nPid = std::atoi(v.c_str());
        else if (a == "--streams")
            o.m_nStreams = std::atoi(v.c_str());
        else if (a == "--slow")
            o.m_nSlow = std::atoi(v.c_str());
        else if (a == "--pollers")
            o.m_nPollers = std::atoi(v.c_str());
        else if (a == "--seconds")
            o.m_nSeconds = std::atoi(v.c_str());
        else
            return false;
    }
    return !o.m_strToken.empty();
}

} // namespace

int main(int argc, char** argv) {
    COptions o;
    if (!Parse(argc, argv, o)) {
        std::fputs("usage: service_load --port N --token T [--pid PID] [--streams N] [--slow N] "
                   "[--pollers N] [--seconds S]\n",
                   stderr);
        return 2;
    }
    rlimit limit{};
    ::getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);
    const long nRssBefore = o.m_nPid > 0 ? ResidentKb(o.m_nPid) : -1;
    CCrowd crowd;
    crowd.Open(o);
    std::atomic<bool> bStop{false};
    std::thread crowdThread([&] { crowd.Run(o, bStop); });
    std::vector<double> latencies;
    int nFailed = 0;
    long nRssMax = 0;
    const auto tEnd = Clock::now() + std::chrono::seconds(o.m_nSeconds);
    while (Clock::now() < tEnd) {
        const double d = Control(o);
        if (d < 0)
            ++nFailed;
        else
            latencies.push_back(d);
        if (o.m_nPid > 0)
            nRssMax = std::max(nRssMax, ResidentKb(o.m_nPid));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    bStop = true;
    crowdThread.join();
    std::sort(latencies.begin(), latencies.end());
    auto at = [&](double q) {
        return latencies.empty()
                   ? -1.0
                   : latencies[std::min(latencies.size() - 1, size_t(q * latencies.size()))];
    };
    std::printf("connections %zu (streams %d, slow %d, pollers %d)\n", crowd.m_conns.size(),
                o.m_nStreams, o.m_nSlow, o.m_nPollers);
    std::printf("control: %zu answered, %d without answer; p50 %.1f ms, p99 %.1f ms, max %.1f ms\n",
                latencies.size(), nFailed, at(0.5), at(0.99),
                latencies.empty() ? -1.0 : latencies.back());
    std::printf("stream events %ld, polls answered %ld, connections closed by the service %ld\n",
                crowd.m_nEvents, crowd.m_nPolls, crowd.m_nClosed);
    if (o.m_nPid > 0)
        std::printf("service memory: %ld kB before, %ld kB at most\n", nRssBefore, nRssMax);
    return nFailed == 0 ? 0 : 1;
}
