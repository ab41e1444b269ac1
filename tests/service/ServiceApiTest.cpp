// SPDX-License-Identifier: GPL-3.0-or-later
// inkvale-service as a client sees it: the real program on loopback with the simulator as
// its machine. A table of requests with and without the token, with bad bodies, a name
// that climbs out of the automatic folder and an upload over the limit; then readers and
// writers at once. Nothing changes without the token, and nothing is written outside the
// automatic folder.

#include "ServiceFixture.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <vector>

#ifdef INKVALE_SERVICE_PATH

namespace inkvale::test {
namespace {

using ServiceApi = ServiceFixture;

TEST_F(ServiceApi, RequestsWithAndWithoutTheToken) {
    ASSERT_EQ(m_strToken.size(), 64u);
    EXPECT_EQ(std::filesystem::status(m_home / "Service.token").permissions() &
                  std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    httplib::Client client("127.0.0.1", m_nPort);
    const std::set<std::string> before = Files();
    const struct {
        const char* m_pszWhat;
        const char* m_pszPath;
        std::string m_strBody;
        std::string m_strToken;
        int m_nStatus;
    } uploads[] = {
        {"no token", "/api/upload?name=a.plt", kPlot, "", 401},
        {"a wrong token", "/api/upload?name=a.plt", kPlot, std::string(64, '0'), 401},
        {"a name climbing out", "/api/upload?name=../a.plt", kPlot, m_strToken, 400},
        {"a name with a folder", "/api/upload?name=x/a.plt", kPlot, m_strToken, 400},
        {"a hidden name", "/api/upload?name=.a.plt", kPlot, m_strToken, 400},
        {"not a drawing's extension", "/api/upload?name=a.sh", kPlot, m_strToken, 400},
        {"no name", "/api/upload", kPlot, m_strToken, 400},
        {"an empty file", "/api/upload?name=a.plt", "", m_strToken, 400},
    };
    for (const auto& u : uploads) {
        const auto res =
            client.Post(u.m_pszPath, Token(u.m_strToken), u.m_strBody, "application/octet-stream");
        ASSERT_TRUE(res) << u.m_pszWhat;
        EXPECT_EQ(res->status, u.m_nStatus) << u.m_pszWhat << " " << res->body;
        EXPECT_NE(res->body.find("\"error\""), std::string::npos) << u.m_pszWhat;
        EXPECT_EQ(Files(), before) << u.m_pszWhat;
    }
    // Reading needs no token on loopback.
    const auto page = client.Get("/");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("EventSource"), std::string::npos);

    const auto upload =
        client.Post("/api/upload?name=a.plt", Token(m_strToken), kPlot, "application/octet-stream");
    ASSERT_TRUE(upload);
    EXPECT_EQ(upload->status, 201) << upload->body;
    EXPECT_TRUE(std::filesystem::exists(m_home / "auto" / "a.plt"));
    const auto again =
        client.Post("/api/upload?name=a.plt", Token(m_strToken), kPlot, "application/octet-stream");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->status, 409);

    const uint64_t nId = TaskIdOf(client, "a.plt");
    ASSERT_NE(nId, 0u);
    const std::string strCopies = "/api/tasks/" + std::to_string(nId) + "/copies";
    const struct {
        const char* m_pszWhat;
        std::string m_strPath, m_strBody, m_strToken;
        int m_nStatus;
    } commands[] = {
        {"copies without the token", strCopies, "{\"copies\": 5}", "", 401},
        {"copies of no task", "/api/tasks/999999999/copies", "{\"copies\": 5}", m_strToken, 404},
        {"bad JSON", strCopies, "{\"copies\": ", m_strToken, 400},
        {"copies out of range", strCopies, "{\"copies\": -3}", m_strToken, 400},
        {"pause with nothing printing", "/api/machine/pause", "", m_strToken, 409},
        {"stop without the token", "/api/machine/stop", "", "", 401},
        {"copies", strCopies, "{\"copies\": 3}", m_strToken, 200},
    };
    for (const auto& c : commands) {
        const auto res =
            client.Post(c.m_strPath, Token(c.m_strToken), c.m_strBody, "application/json");
        ASSERT_TRUE(res) << c.m_pszWhat;
        EXPECT_EQ(res->status, c.m_nStatus) << c.m_pszWhat << " " << res->body;
    }
    const auto status = client.Get("/api/status");
    ASSERT_TRUE(status);
    EXPECT_NE(status->body.find("\"name\": \"a.plt\", \"state\": 0, \"copies\": 3"),
              std::string::npos)
        << status->body;
    const auto thumbnail = client.Get("/api/thumbnail/" + std::to_string(nId) + ".png");
    ASSERT_TRUE(thumbnail);
    if (thumbnail->status == 200) {
        EXPECT_EQ(thumbnail->body.substr(1, 3), "PNG");
    } else {
        EXPECT_EQ(thumbnail->status, 404); // its drawing not read yet
    }
    // The only new file is the upload, besides the service's own: its saved lists and the
    // stroke fonts it writes beside its settings when they are missing.
    auto own = [](const std::string& s) {
        return s.starts_with("Queue/") || s.starts_with("fon_");
    };
    std::set<std::string> after = Files();
    after.erase("auto/a.plt");
    std::erase_if(after, own);
    std::set<std::string> expected = before;
    std::erase_if(expected, own);
    EXPECT_EQ(after, expected);
}

TEST_F(ServiceApi, ReadersAndWritersAtOnce) {
    std::atomic<int> nOk{0}, nWrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            httplib::Client client("127.0.0.1", m_nPort);
            for (int i = 0; i < 25; ++i) {
                const bool bWrite = (i % 5) == 0;
                const auto res = bWrite ? client.Post("/api/upload?name=c" + std::to_string(t) +
                                                          "-" + std::to_string(i) + ".plt",
                                                      Token(t % 2 == 0 ? m_strToken : ""), kPlot,
                                                      "application/octet-stream")
                                        : client.Get("/api/status");
                const int nWant = !bWrite ? 200 : t % 2 == 0 ? 201 : 401;
                (res && res->status == nWant ? nOk : nWrong)++;
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(nWrong.load(), 0);
    EXPECT_EQ(nOk.load(), 200);
    int nUploaded = 0;
    for (const auto& e : std::filesystem::directory_iterator(m_home / "auto"))
        nUploaded += e.path().filename().string().starts_with("c") ? 1 : 0;
    EXPECT_EQ(nUploaded, 4 * 5); // the writers with the token only
}

// Headless Chromium opens the status page while the machine prints a marker uploaded through
// the API: the page shows the task in the queue and the job with its progress, the progress
// moves between two looks, and once the job has printed the history lists it. With
// INKVALE_DIALOG_PICTURES naming a folder, the page is pictured there mid-job, 1200 and 400
// pixels wide.
class ServiceBrowser : public ServiceApi {
protected:
    void ConfigureMachine() override {
        // A real machine's pace, quick enough for a test: bands of about half a second.
        sim::CSimTiming timing;
        timing.m_bModelled = true;
        m_sim.SetTiming(timing);
        ASSERT_TRUE(m_sim.SetParam("CarriageMaxSpeed", 250));
        ASSERT_TRUE(m_sim.SetParam("FeedSpeed", 50));
    }
    bool AutoPrint() const override { return true; }
    std::string Page(const std::string& strExtra = "") const {
        const std::string s = ChromiumDom(strExtra);
        const size_t nScript = s.find("<script>");
        return nScript == std::string::npos ? s : s.substr(0, nScript);
    }
    static int BandsDone(const std::string& strPage) {
        std::smatch m;
        return std::regex_search(strPage, m, std::regex("id=\"jobname\">[^<]* · ([0-9]+) / "))
                   ? std::stoi(m[1])
                   : -1;
    }
};

TEST_F(ServiceBrowser, StatusPageFollowsAJobFromStartToFinish) {
    if (!HaveChromium())
        GTEST_SKIP() << "headless Chromium is needed (Debian chromium; scripts/setup.sh)";
    httplib::Client client("127.0.0.1", m_nPort);
    const std::string strMarker = "IN;SP1;PU0,0;PD40000,0,40000,8000,0,8000,0,0;PU4000,4000;CI1200;"
                                  "PU20000,2000;PD36000,6000;PU;";
    const auto upload = client.Post("/api/upload?name=browser.plt", Token(m_strToken), strMarker,
                                    "application/octet-stream");
    ASSERT_TRUE(upload && upload->status == 201);
    std::string strFirst;
    int nFirst = -1;
    const auto tEnd = std::chrono::steady_clock::now() + 60s;
    while (nFirst < 1 && std::chrono::steady_clock::now() < tEnd) {
        strFirst = Page();
        nFirst = BandsDone(strFirst);
    }
    ASSERT_GE(nFirst, 1) << strFirst;
    EXPECT_NE(strFirst.find("browser.plt"), std::string::npos);
    EXPECT_NE(strFirst.find("class=\"task\""), std::string::npos) << "the queue shows the task";
    EXPECT_NE(strFirst.find("id=\"progress\""), std::string::npos);
    const char* pszPictures = std::getenv("INKVALE_DIALOG_PICTURES");
    if (pszPictures != nullptr && *pszPictures != 0) {
        // Both at once, while the job still prints.
        std::vector<std::thread> shots;
        for (const char* pszWidth : {"1200", "400"}) {
            shots.emplace_back([this, pszWidth, pszPictures] {
                (void)ChromiumDom(std::string("--window-size=") + pszWidth + ",1000 --screenshot=" +
                                  pszPictures + "/service-page-" + pszWidth + ".png");
            });
        }
        for (std::thread& shot : shots)
            shot.join();
    }
    std::this_thread::sleep_for(2s);
    const std::string strLater = Page();
    const int nLater = BandsDone(strLater);
    // On a busy machine the job may have ended meanwhile: then it is among the ended ones.
    const bool bEnded = nLater < 0 && strLater.find("class=\"ended\"") != std::string::npos;
    EXPECT_TRUE(nLater > nFirst || bEnded) << "the progress moves\n" << strLater;
    std::string strEnd;
    while (std::chrono::steady_clock::now() < tEnd + 30s) {
        strEnd = Page();
        if (strEnd.find("class=\"done\"") != std::string::npos && BandsDone(strEnd) < 0)
            break;
        std::this_thread::sleep_for(1s);
    }
    EXPECT_NE(strEnd.find("<td>browser.plt</td>"), std::string::npos) << strEnd;
    EXPECT_EQ(strEnd.find("class=\"task\""), std::string::npos) << "the printed task left";
}

// 200 clients polling the status once a second and 20 watching the live stream while a job
// prints: the job takes as long as the same job without them (within 5%). Prints the
// requests per second and the 99th percentile of the pollers' latency.
class ServiceLoad : public ServiceBrowser {
protected:
    /// Seconds from the first status showing the job to the first showing it gone.
    double PrintSeconds(const std::string& strName) {
        httplib::Client client("127.0.0.1", m_nPort);
        const std::string strMarker = "IN;SP1;PU0,0;PD32000,0,32000,8000,0,8000,0,0;PU;";
        const auto upload = client.Post("/api/upload?name=" + strName, Token(m_strToken), strMarker,
                                        "application/octet-stream");
        if (!upload || upload->status != 201)
            return -1;
        std::chrono::steady_clock::time_point tStart{};
        bool bSeen = false;
        const auto tEnd = std::chrono::steady_clock::now() + 90s;
        while (std::chrono::steady_clock::now() < tEnd) {
            const auto res = client.Get("/api/status");
            const bool bJob = res && res->body.find("\"job\": {") != std::string::npos;
            if (bJob && !bSeen)
                tStart = std::chrono::steady_clock::now();
            if (!bJob && bSeen)
                return std::chrono::duration<double>(std::chrono::steady_clock::now() - tStart)
                    .count();
            bSeen = bSeen || bJob;
            std::this_thread::sleep_for(20ms);
        }
        return -1;
    }
};

TEST_F(ServiceLoad, BandsKeepTheirPaceUnderPollersAndWatchers) {
    const double dQuiet = PrintSeconds("quiet.plt");
    ASSERT_GT(dQuiet, 3.0);
    std::atomic<bool> bStop{false};
    std::atomic<int> nEvents{0}, nFailed{0};
    std::mutex mutex;
    std::vector<double> latencies;
    std::vector<std::thread> clients;
    for (int i = 0; i < 200; ++i) {
        clients.emplace_back([&, i] {
            httplib::Client client("127.0.0.1", m_nPort);
            std::this_thread::sleep_for(std::chrono::milliseconds(i * 5)); // spread over a second
            while (!bStop) {
                const auto t0 = std::chrono::steady_clock::now();
                const auto res = client.Get("/api/status");
                const double dMs =
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                        .count();
                if (!res || res->status != 200)
                    ++nFailed;
                {
                    std::lock_guard<std::mutex> lock(mutex);
                    latencies.push_back(dMs);
                }
                std::this_thread::sleep_for(1s);
            }
        });
    }
    for (int i = 0; i < 20; ++i) {
        clients.emplace_back([&] {
            httplib::Client client("127.0.0.1", m_nPort);
            (void)client.Get("/api/events", [&](const char* p, size_t n) {
                nEvents += static_cast<int>(std::count(p, p + n, '\n')) / 2;
                return !bStop.load();
            });
        });
    }
    const auto tLoad = std::chrono::steady_clock::now();
    const double dLoaded = PrintSeconds("loaded.plt");
    const double dLoadSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - tLoad).count();
    bStop = true;
    for (std::thread& t : clients)
        t.join();
    ASSERT_GT(dLoaded, 0.0);
    std::sort(latencies.begin(), latencies.end());
    const double dP99 = latencies.empty() ? 0.0 : latencies[latencies.size() * 99 / 100];
    std::printf("[ load     ] job %.2f s quiet, %.2f s with 200 pollers and 20 watchers "
                "(%+.1f%%); %.0f requests/s, p99 %.1f ms, %d stream events\n",
                dQuiet, dLoaded, 100.0 * (dLoaded - dQuiet) / dQuiet,
                latencies.size() / dLoadSeconds, dP99, nEvents.load());
    EXPECT_EQ(nFailed.load(), 0);
    // The load must not slow the job; a quiet run that the machine slowed for its own
    // reasons is no fault of the service.
    EXPECT_LT(dLoaded - dQuiet, 0.05 * dQuiet);
    EXPECT_GT(nEvents.load(), 20);
}

} // namespace
} // namespace inkvale::test

#endif
