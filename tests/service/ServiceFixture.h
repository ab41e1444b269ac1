// SPDX-License-Identifier: GPL-3.0-or-later
// inkvale-service as a client sees it: the real program on loopback with the simulator as
// its machine, an installation directory of its own, and the desktop trash in the scratch
// folder. Helpers send requests through the tests' HTTP client or as raw bytes, so that a
// test can send what no well-behaved client would.
#pragma once

#include "SimServer.h"
#include "common/TestPaths.h"

#include <httplib.h>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <thread>

#ifdef INKVALE_SERVICE_PATH

namespace inkvale::test {

using namespace std::chrono_literals;

inline constexpr const char* kPlot = "IN;SP1;PU0,0;PD8000,0,8000,4000,0,4000,0,0;PU;";

/// A TCP connection to 127.0.0.1:nPort with receive and send time-outs; -1 when refused.
inline int ConnectLoopback(int nPort, std::chrono::seconds timeout = 20s) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    timeval tv{static_cast<time_t>(timeout.count()), 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(nPort));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

/// Everything the peer sends until it closes or the time-out; "" when nothing came.
inline std::string ReadAll(int fd) {
    std::string s;
    char buf[65536];
    ssize_t n = 0;
    while ((n = ::recv(fd, buf, sizeof buf, 0)) > 0)
        s.append(buf, static_cast<size_t>(n));
    return s;
}

/// A raw HTTP exchange: the bytes as given, then the whole answer (the connection is
/// asked to close).
inline std::string RawExchange(int nPort, const std::string& strRequest) {
    const int fd = ConnectLoopback(nPort);
    if (fd < 0)
        return {};
    (void)::send(fd, strRequest.data(), strRequest.size(), MSG_NOSIGNAL);
    std::string s = ReadAll(fd);
    ::close(fd);
    return s;
}

/// The status code of a raw answer, 0 when there is none.
inline int StatusOf(const std::string& strAnswer) {
    std::smatch m;
    return std::regex_search(strAnswer, m, std::regex("^HTTP/1\\.[01] ([0-9]{3})"))
               ? std::stoi(m[1])
               : 0;
}

/// The body of a raw answer (after the blank line; chunked answers are not joined).
inline std::string BodyOf(const std::string& strAnswer) {
    const size_t n = strAnswer.find("\r\n\r\n");
    return n == std::string::npos ? std::string() : strAnswer.substr(n + 4);
}

class ServiceFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_home = std::filesystem::canonical(m_dir.Path()) / "home";
        m_strLog = (m_home.parent_path() / "service-log.txt").string();
        std::filesystem::create_directories(m_home / "auto");
        std::filesystem::create_directories(m_home / "man");
        std::string strError;
        bool bListening = false;
        for (int nTry = 0; nTry < 20 && !bListening; ++nTry) {
            m_nHost = 2 + (getpid() + nTry * 11) % 250;
            bListening = m_server.Start("127.0.0." + std::to_string(m_nHost), 5291, &strError);
        }
        ASSERT_TRUE(bListening) << strError;
        ConfigureMachine();
        // Below 32768, where Linux starts handing out the local ports of client sockets: a
        // test running alongside (the load test's many connections) may hold one of those.
        m_nPort = 20000 + static_cast<int>(getpid() % 12000);
        WriteSettings();
        BeforeStart();
        m_pid = StartService(m_home, m_strLog);
        httplib::Client client("127.0.0.1", m_nPort);
        const auto tEnd = std::chrono::steady_clock::now() + 20s;
        while (std::chrono::steady_clock::now() < tEnd && !client.Get("/api/status"))
            std::this_thread::sleep_for(50ms);
        ASSERT_TRUE(client.Get("/api/status")) << "the service did not answer";
        std::ifstream token(m_home / "Service.token");
        std::getline(token, m_strToken);
    }
    void TearDown() override {
        StopService(m_pid);
        m_server.Stop();
    }
    void WriteSettings() {
        std::ofstream(m_home / "Inkvale.ini")
            << "[Para]\nMachineIP=" << (127u | (uint32_t(m_nHost) << 24))
            << "\nAutoStartEnable=" << (AutoPrint() ? 1 : 0)
            << "\nManDir=" << (m_home / "man").string()
            << "/\nAutoDir=" << (m_home / "auto").string()
            << "/\nHistoryEnable=1\nHistoryFile=" << (m_home / "history.csv").string() << "\n"
            << ExtraPara() << "[Service]\nPort=" << m_nPort << "\n"
            << ExtraService();
    }
    /// Starts inkvale-service on an installation directory, its log to strLog.
    pid_t StartService(const std::filesystem::path& home, const std::string& strLog) const {
        const std::string strHome = home.string();
        const std::string strData = (m_home.parent_path() / "data-home").string();
        const std::string strRunFor = std::to_string(RunForMs());
        std::filesystem::create_directories(strData);
        const pid_t pid = fork();
        if (pid == 0) {
            const FILE* pErr = std::freopen(strLog.c_str(), "w", stderr);
            (void)pErr;
            ::setenv("XDG_DATA_HOME", strData.c_str(), 1);
            ::execl(INKVALE_SERVICE_PATH, INKVALE_SERVICE_PATH, "--home", strHome.c_str(),
                    "--run-for", strRunFor.c_str(), nullptr);
            _exit(127);
        }
        return pid;
    }
    /// SIGTERM, then SIGKILL after 10 s; the exit status, or -1.
    static int StopService(pid_t pid) {
        if (pid <= 0)
            return -1;
        ::kill(pid, SIGTERM);
        int nStatus = 0;
        for (int i = 0; i < 200 && ::waitpid(pid, &nStatus, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(50ms);
        if (::waitpid(pid, &nStatus, WNOHANG) == 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &nStatus, 0);
            return -1;
        }
        return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    }
    /// How long the service runs before it ends by itself.
    virtual int RunForMs() const { return 120000; }
    /// The simulated machine's settings, before the service first reads its parameters.
    virtual void ConfigureMachine() {}
    /// Files to put in place before the service starts.
    virtual void BeforeStart() {}
    /// Whether the automatic folder prints by itself.
    virtual bool AutoPrint() const { return false; }
    /// More lines of [Para] and [Service].
    virtual std::string ExtraPara() const { return {}; }
    virtual std::string ExtraService() const { return {}; }

    httplib::Headers Token(const std::string& strToken) const {
        return {{"X-Inkvale-Token", strToken}};
    }
    /// Every file under the installation directory, relative to it.
    std::set<std::string> Files() const {
        std::set<std::string> files;
        for (const auto& e : std::filesystem::recursive_directory_iterator(m_home)) {
            if (e.is_regular_file())
                files.insert(std::filesystem::relative(e.path(), m_home).string());
        }
        return files;
    }
    /// The id of the automatic folder's task of that name, waiting for it up to 20 s; 0
    /// when it did not come.
    uint64_t TaskIdOf(httplib::Client& client, const std::string& strName) {
        const auto tEnd = std::chrono::steady_clock::now() + 20s;
        while (std::chrono::steady_clock::now() < tEnd) {
            const auto res = client.Get("/api/status");
            std::smatch m;
            if (res &&
                std::regex_search(
                    res->body, m,
                    std::regex("\"id\": ([0-9]+), \"list\": \"a\", \"name\": \"" + strName + "\"")))
                return std::stoull(m[1]);
            std::this_thread::sleep_for(100ms);
        }
        return 0;
    }
    /// A request as raw bytes with the Host header of loopback.
    std::string Raw(const std::string& strMethod, const std::string& strPath,
                    const std::string& strHeaders = "", const std::string& strBody = "") const {
        return RawExchange(m_nPort, strMethod + " " + strPath + " HTTP/1.1\r\nHost: 127.0.0.1:" +
                                        std::to_string(m_nPort) + "\r\nConnection: close\r\n" +
                                        strHeaders + "\r\n" + strBody);
    }
    /// The page as headless Chromium leaves it (--dump-dom after its script ran), from a
    /// fresh profile; "" when Chromium is missing or failed.
    std::string ChromiumDom(const std::string& strExtra = "") const {
        const std::filesystem::path scratch = m_home.parent_path();
        const int nRun = ++m_nChromium;
        const std::string strProfile = (scratch / ("chromium-" + std::to_string(nRun))).string();
        const std::string strOut = (scratch / ("dom-" + std::to_string(nRun) + ".html")).string();
        const std::string strCmd =
            "timeout 60 chromium --headless --no-sandbox --disable-gpu --no-first-run "
            "--disable-background-networking --disable-component-update --disable-sync "
            "--user-data-dir=" +
            strProfile + " --timeout=1500 " + strExtra +
            " --dump-dom http://127.0.0.1:" + std::to_string(m_nPort) + "/ > " + strOut +
            " 2>/dev/null";
        if (std::system(strCmd.c_str()) != 0)
            return {};
        return ReadFileBytes(strOut);
    }
    static bool HaveChromium() { return std::system("command -v chromium >/dev/null") == 0; }
    std::string TokenHeader() const { return "X-Inkvale-Token: " + m_strToken + "\r\n"; }
    std::string Log() const { return ReadFileBytes(m_strLog); }

    sim::CSimMachine m_sim;
    sim::CSimServer m_server{m_sim};
    CScratchDir m_dir;
    std::filesystem::path m_home;
    std::string m_strLog;
    int m_nHost = 2;
    int m_nPort = 0;
    pid_t m_pid = -1;
    std::string m_strToken;
    mutable std::atomic<int> m_nChromium{0};
};

} // namespace inkvale::test

#endif
