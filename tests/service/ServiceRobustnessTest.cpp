// SPDX-License-Identifier: GPL-3.0-or-later
// inkvale-service against what a plotter room's network and file system bring: a second
// service on the same port, a token file planted as a link, a crowd of slow clients and
// open status pages, file names written to break the page or the log, an operator who
// reads another language, and CAD stations printing to the raw port.

#include "ServiceFixture.h"

#include <QJsonDocument>
#include <QString>

#include <poll.h>

#include <sstream>

#include <algorithm>
#include <vector>

#ifdef INKVALE_SERVICE_PATH

namespace inkvale::test {
namespace {

using ServiceRobustness = ServiceFixture;

/// Whether the peer closed the connection within the bound (recv gives 0 or a reset).
bool ClosedWithin(int fd, std::chrono::seconds bound) {
    const auto tEnd = std::chrono::steady_clock::now() + bound;
    char buf[4096];
    while (std::chrono::steady_clock::now() < tEnd) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 500) <= 0)
            continue;
        const ssize_t n = ::recv(fd, buf, sizeof buf, MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno == ECONNRESET))
            return true;
    }
    return false;
}

/// Waits up to the bound for the log to hold the text.
bool LogShows(const ServiceFixture& fixture, const std::string& strLog,
              const std::string& strText) {
    const auto tEnd = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < tEnd) {
        if (ReadFileBytes(strLog).find(strText) != std::string::npos)
            return true;
        std::this_thread::sleep_for(50ms);
    }
    (void)fixture;
    return false;
}

TEST_F(ServiceRobustness, ASecondServiceOnThePortEndsAndNamesTheHolder) {
    // Another installation directory, the same port.
    const std::filesystem::path other = m_home.parent_path() / "other";
    std::filesystem::create_directories(other);
    std::filesystem::copy_file(m_home / "Inkvale.ini", other / "Inkvale.ini");
    const std::string strLog = (m_home.parent_path() / "other-log.txt").string();
    const pid_t pid = StartService(other, strLog);
    int nStatus = 0;
    const auto tEnd = std::chrono::steady_clock::now() + 30s;
    while (::waitpid(pid, &nStatus, WNOHANG) == 0 && std::chrono::steady_clock::now() < tEnd)
        std::this_thread::sleep_for(50ms);
    if (std::chrono::steady_clock::now() >= tEnd) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &nStatus, 0);
        FAIL() << "the second service kept running";
    }
    EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 1);
    const std::string strText = ReadFileBytes(strLog);
    EXPECT_NE(strText.find("held by process " + std::to_string(m_pid)), std::string::npos)
        << strText;
    EXPECT_EQ(strText.find("serving"), std::string::npos) << strText;
    // Every request still reaches the first.
    httplib::Client client("127.0.0.1", m_nPort);
    for (int i = 0; i < 20; ++i) {
        const auto res = client.Post("/api/auto/off", Token(m_strToken), "", "application/json");
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 200);
    }
}

TEST_F(ServiceRobustness, ATokenFileThatIsALinkIsRefused) {
    const std::filesystem::path other = m_home.parent_path() / "linked";
    std::filesystem::create_directories(other);
    std::ofstream(other / "Inkvale.ini")
        << "[Para]\nMachineIP=" << (127u | (uint32_t(m_nHost) << 24))
        << "\n[Service]\nPort=" << (m_nPort + 1) << "\n";
    const std::filesystem::path target = m_home.parent_path() / "target.txt";
    std::ofstream(target) << std::string(64, 'a') << "\n";
    std::filesystem::permissions(target, std::filesystem::perms(0644));
    std::filesystem::create_symlink(target, other / "Service.token");
    const std::string strLog = (m_home.parent_path() / "linked-log.txt").string();
    const pid_t pid = StartService(other, strLog);
    int nStatus = 0;
    const auto tEnd = std::chrono::steady_clock::now() + 30s;
    while (::waitpid(pid, &nStatus, WNOHANG) == 0 && std::chrono::steady_clock::now() < tEnd)
        std::this_thread::sleep_for(50ms);
    if (std::chrono::steady_clock::now() >= tEnd) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &nStatus, 0);
        FAIL() << "the service started with a linked token file";
    }
    EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 1);
    EXPECT_NE(ReadFileBytes(strLog).find("is a link"), std::string::npos);
    // The link's target was neither used nor changed.
    EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms(0644));
}

// 100 clients sending their headers a byte now and then, and 96 open event streams (32
// browser tabs): a stop still gets its answer, and the slow ones are cut off once their
// headers took too long.
TEST_F(ServiceRobustness, SlowClientsAndOpenStreamsLeaveControlAnswering) {
    std::vector<int> slow, streams;
    for (int i = 0; i < 100; ++i) {
        const int fd = ConnectLoopback(m_nPort);
        ASSERT_GE(fd, 0);
        const std::string strStart = "GET /api/status HTTP/1.1\r\nHo";
        ASSERT_GT(::send(fd, strStart.data(), strStart.size(), MSG_NOSIGNAL), 0);
        slow.push_back(fd);
    }
    const std::string strEvents = "GET /api/events HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    for (int i = 0; i < 96; ++i) {
        const int fd = ConnectLoopback(m_nPort);
        ASSERT_GE(fd, 0);
        ASSERT_GT(::send(fd, strEvents.data(), strEvents.size(), MSG_NOSIGNAL), 0);
        streams.push_back(fd);
    }
    // Every stream has its first picture.
    for (const int fd : streams) {
        char buf[4096];
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        ASSERT_GT(n, 0);
        EXPECT_NE(std::string(buf, size_t(n)).find("200 OK"), std::string::npos);
    }
    for (int i = 0; i < 5; ++i) {
        const std::string strAnswer = Raw("POST", "/api/machine/stop", TokenHeader());
        EXPECT_EQ(StatusOf(strAnswer), 409) << strAnswer; // nothing prints: nothing to stop
        EXPECT_EQ(StatusOf(Raw("POST", "/api/auto/off", TokenHeader())), 200);
    }
    // A byte more now and then does not keep a slow client in.
    const std::string strMore = "s";
    for (const int fd : slow)
        (void)::send(fd, strMore.data(), 1, MSG_NOSIGNAL);
    EXPECT_TRUE(ClosedWithin(slow.front(), 30s)) << "the header time lets a slow client stay";
    EXPECT_TRUE(ClosedWithin(slow.back(), 30s));
    for (const int fd : slow)
        ::close(fd);
    for (const int fd : streams)
        ::close(fd);
}

// Names built to end the page's script, open a comment, break a log line or be no UTF-8 at
// all: in the queue, in the history and in Rejected/.
class ServiceHostileNames : public ServiceFixture {
protected:
    void BeforeStart() override {
        for (const char* pszName : {"<!--<script>.plt", "bad\xff\xfe.plt", "x\xe2\x80\xa8y.plt"})
            WriteFileBytes(m_home / "auto" / pszName, kPlot);
        std::ofstream(m_home / "history.csv")
            << "2025-01-02 10:00:00,\"/cad/</script><script>document.title='owned'</script>"
               ".plt\",1,len=100mm,width=50mm\n";
        std::filesystem::create_directories(m_home / "Rejected");
        WriteFileBytes(m_home / "Rejected" / "<!--r-->.plt", "x");
        WriteFileBytes(m_home / "Rejected" / "<!--r-->.plt.why.txt",
                       "because <script> & \xe2\x80\xa9 \xff\n");
    }
};

TEST_F(ServiceHostileNames, StayTextInTheApiThePageAndTheLog) {
    httplib::Client client("127.0.0.1", m_nPort);
    std::string strStatus;
    const auto tEnd = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < tEnd &&
           std::count(strStatus.begin(), strStatus.end(), '{') < 3 + 3) {
        strStatus = client.Get("/api/status")->body;
        std::this_thread::sleep_for(100ms);
    }
    for (const char* pszPath : {"/api/status", "/api/history", "/api/rejected", "/"}) {
        const auto res = client.Get(pszPath);
        ASSERT_TRUE(res && res->status == 200) << pszPath;
        const QByteArray bytes = QByteArray::fromStdString(res->body);
        EXPECT_EQ(QString::fromUtf8(bytes).toUtf8(), bytes) << pszPath << " is not UTF-8";
        if (std::string(pszPath) != "/") {
            EXPECT_FALSE(QJsonDocument::fromJson(bytes).isNull()) << pszPath << res->body;
            EXPECT_EQ(res->body.find_first_of("<>&"), std::string::npos) << pszPath;
        }
    }
    EXPECT_NE(strStatus.find("\\u003c!--\\u003cscript\\u003e.plt"), std::string::npos) << strStatus;
    EXPECT_NE(strStatus.find("bad\\ufffd\\ufffd.plt"), std::string::npos);
    EXPECT_NE(strStatus.find("x\\u2028y.plt"), std::string::npos);
    if (!HaveChromium())
        GTEST_SKIP() << "headless Chromium is not installed";
    const std::string strDom = ChromiumDom();
    EXPECT_NE(strDom.find("data-ready=\"1\""), std::string::npos) << "the page's script stopped";
    EXPECT_NE(strDom.find("&lt;!--&lt;script&gt;.plt"), std::string::npos) << strDom;
    EXPECT_NE(strDom.find("&lt;!--r--&gt;.plt"), std::string::npos) << "Rejected/ listed";
    EXPECT_NE(strDom.find("class=\"done\""), std::string::npos) << "history listed";
    EXPECT_EQ(strDom.find("<title>owned"), std::string::npos);
}

// A line break in a name reaches the log only escaped: no line of its own. (A manual-folder
// file over the size limit is logged with its name.)
class ServiceLogLines : public ServiceFixture {
protected:
    std::string ExtraPara() const override { return "PltMaxSizeMb=1\n"; }
};

TEST_F(ServiceLogLines, NamesCannotForgeLogLines) {
    WriteFileBytes(m_home / "man" / "a\n<0>inkvale-service: forged.plt", std::string(1100000, ' '));
    ASSERT_TRUE(LogShows(*this, m_strLog, "forged")) << Log();
    std::istringstream lines(Log());
    std::string strLine;
    while (std::getline(lines, strLine))
        EXPECT_FALSE(strLine.starts_with("<0>")) << strLine;
}

class ServiceLanguage : public ServiceFixture {
protected:
    std::string ExtraPara() const override { return "Language=1\n"; }
};

TEST_F(ServiceLanguage, MachineStateAndProblemsInTheOperatorsLanguage) {
    // A file the reader cannot take gets its problem in the operator's language.
    httplib::Client client("127.0.0.1", m_nPort);
    const std::string strStatus = client.Get("/api/status")->body;
    EXPECT_NE(strStatus.find("\"text\": \"No answer\""), std::string::npos) << strStatus;
    const auto page = client.Get("/");
    ASSERT_TRUE(page);
    EXPECT_NE(page->body.find("Automatic printing"), std::string::npos);
    // No Chinese anywhere in what the API and the page say.
    for (const std::string* pText : {&strStatus, &page->body})
        EXPECT_EQ(pText->find("\xe6"), std::string::npos) << *pText;
}

// The raw print port: a CAD station's bytes become one file in the automatic folder, which
// the machine prints; a connection that sends nothing or is cut off leaves nothing.
class ServiceRawPort : public ServiceFixture {
protected:
    bool AutoPrint() const override { return true; }
    std::string ExtraService() const override {
        return "RawPort=" + std::to_string(RawPort()) + "\n";
    }
    int RawPort() const { return m_nPort + 1; }
    bool Send(const std::string& strBytes, bool bCut) const {
        const int fd = ConnectLoopback(RawPort());
        if (fd < 0)
            return false;
        (void)::send(fd, strBytes.data(), strBytes.size(), MSG_NOSIGNAL);
        if (bCut) {
            linger l{1, 0}; // a reset instead of an orderly end
            ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
        } else {
            ::shutdown(fd, SHUT_WR);
            (void)ReadAll(fd); // the port closes once the file is placed
        }
        ::close(fd);
        return true;
    }
};

TEST_F(ServiceRawPort, AConnectionsBytesArePrinted) {
    ASSERT_TRUE(Send("", false));
    ASSERT_TRUE(Send("IN;SP1;PU0,0;PD4000,0;", true));
    const std::string strMarker = "IN;SP1;PU0,0;PD16000,0,16000,4000,0,4000,0,0;PU;";
    ASSERT_TRUE(Send(strMarker, false));
    ASSERT_TRUE(LogShows(*this, m_strLog, "raw port: received raw-")) << Log();
    // The job prints and ends as printed; the cut and the empty connection left nothing.
    httplib::Client client("127.0.0.1", m_nPort);
    std::string strStatus;
    const auto tEnd = std::chrono::steady_clock::now() + 90s;
    while (std::chrono::steady_clock::now() < tEnd &&
           strStatus.find("\"outcome\": \"printed\"") == std::string::npos) {
        std::this_thread::sleep_for(200ms);
        strStatus = client.Get("/api/status")->body;
    }
    EXPECT_TRUE(std::regex_search(strStatus, std::regex("\"task\": \"raw-[0-9]{8}-[0-9]{6}-"
                                                        "127\\.0\\.0\\.1\\.plt\", \"outcome\": "
                                                        "\"printed\"")))
        << strStatus;
    const std::string strLog = Log();
    size_t nReceived = 0;
    for (size_t n = strLog.find("raw port: received"); n != std::string::npos;
         n = strLog.find("raw port: received", n + 1))
        ++nReceived;
    EXPECT_EQ(nReceived, 1u) << strLog;
    // The simulator's sheet carries the marker's ink.
    const sim::CSimSheetImage sheet = m_sim.LastSheet();
    ASSERT_FALSE(sheet.Empty());
    EXPECT_NE(std::count_if(sheet.m_pixels.begin(), sheet.m_pixels.end(),
                            [](uint8_t b) { return b != 0; }),
              0);
}

} // namespace
} // namespace inkvale::test

#endif
