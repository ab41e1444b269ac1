// SPDX-License-Identifier: GPL-3.0-or-later
// The rows of docs/service-api.md as raw requests: each status and the shape of each body,
// including what clients send that the documentation must still answer (a POST without a
// body, curl's form upload, ids beyond 2^63, nested objects, requests the server library
// refuses itself). Then uploads: placed without replacing, queued in the order they came,
// their task's id in the answer, and copies 0 sending the file to the trash; and a browser
// on another machine signing in with the token.

#include "ServiceFixture.h"

#include <atomic>
#include <vector>

#ifdef INKVALE_SERVICE_PATH

namespace inkvale::test {
namespace {

using ServiceRequests = ServiceFixture;

std::string Post(const std::string& strBody, const std::string& strType = "application/json") {
    return "Content-Type: " + strType + "\r\nContent-Length: " + std::to_string(strBody.size()) +
           "\r\n";
}

TEST_F(ServiceRequests, EveryDocumentedRowAnswersAsDocumented) {
    // A task to act on, and a history row whose path holds a comma (quoted in the CSV).
    httplib::Client client("127.0.0.1", m_nPort);
    ASSERT_EQ(
        client
            .Post("/api/upload?name=row.plt", Token(m_strToken), kPlot, "application/octet-stream")
            ->status,
        201);
    const std::string strId = std::to_string(TaskIdOf(client, "row.plt"));
    ASSERT_NE(strId, "0");
    std::ofstream(m_home / "history.csv")
        << "2025-01-02 10:00:00,\"/cad/a, b.plt\",1,len=100mm,width=50mm\n";
    const std::string strTask = "/api/tasks/" + strId;
    const std::string strForm = "--XyZ\r\nContent-Disposition: form-data; name=\"file\"; "
                                "filename=\"f.plt\"\r\n\r\nIN;\r\n--XyZ--\r\n";
    const struct {
        const char* m_pszWhat;
        std::string m_strMethod, m_strPath, m_strHeaders, m_strBody;
        int m_nStatus;
        const char* m_pszBody; ///< a regular expression the body must contain
    } rows[] = {
        {"the page", "GET", "/", "", "", 200, "EventSource"},
        {"status", "GET", "/api/status", "", "", 200, "^\\{\"machine\": \\{\"state\": "},
        {"history without CSV quotes", "GET", "/api/history", "", "", 200,
         "\"path\": \"/cad/a, b.plt\""},
        {"rejected", "GET", "/api/rejected", "", "", 200, "^\\[\\]$"},
        {"thumbnail of no task", "GET", "/api/thumbnail/999999.png", "", "", 404, "\"error\""},
        {"id past 2^64", "GET", "/api/thumbnail/99999999999999999999.png", "", "", 404,
         "\"error\""},
        {"unknown path", "GET", "/api/nothing", "", "", 404, "\"error\""},
        {"wrong method", "DELETE", "/api/status", "", "", 405, "\"error\""},
        {"GET of a control request", "GET", "/api/machine/stop", "", "", 405, "\"error\""},
        {"control without token", "POST", "/api/machine/stop", "", "", 401, "\"error\""},
        {"pause without a body", "POST", "/api/machine/pause", TokenHeader(), "", 409, "\"error\""},
        {"resume with an empty body", "POST", "/api/machine/resume", TokenHeader() + Post(""), "",
         409, "\"error\""},
        {"queue without a body", "POST", strTask + "/queue", TokenHeader(), "", 200,
         "\"ok\": true"},
        {"unqueue", "POST", strTask + "/unqueue", TokenHeader(), "", 200, "\"ok\": true"},
        {"copies", "POST", strTask + "/copies", TokenHeader() + Post("{\"copies\": 4}"),
         "{\"copies\": 4}", 200, "\"ok\": true"},
        {"copies nested", "POST", strTask + "/copies",
         TokenHeader() + Post("{\"x\": {\"copies\": 7}}"), "{\"x\": {\"copies\": 7}}", 400,
         "\"error\""},
        {"copies and more", "POST", strTask + "/copies",
         TokenHeader() + Post("{\"copies\": 2, \"x\": 1}"), "{\"copies\": 2, \"x\": 1}", 400,
         "\"error\""},
        {"copies a fraction", "POST", strTask + "/copies",
         TokenHeader() + Post("{\"copies\": 2.5}"), "{\"copies\": 2.5}", 400, "\"error\""},
        {"copies of an id past 2^63", "POST", "/api/tasks/9223372036854775808/copies",
         TokenHeader() + Post("{\"copies\": 1}"), "{\"copies\": 1}", 404, "\"error\""},
        {"copies of an id past 2^64", "POST", "/api/tasks/18446744073709551616/copies",
         TokenHeader() + Post("{\"copies\": 1}"), "{\"copies\": 1}", 404, "\"error\""},
        {"curl's form upload", "POST", "/api/upload?name=f.plt",
         TokenHeader() + Post(strForm, "multipart/form-data; boundary=XyZ"), strForm, 415,
         "\"error\""},
        {"upload without a body", "POST", "/api/upload?name=e.plt", TokenHeader(), "", 400,
         "\"error\""},
        {"upload over the limit, refused before the body", "POST", "/api/upload?name=big.plt",
         TokenHeader() + "Content-Length: 999999999\r\n", "", 413, "\"error\""},
        {"upload without token, refused before the body", "POST", "/api/upload?name=big.plt",
         "Content-Length: 999999999\r\n", "", 401, "\"error\""},
        {"a name with a line break", "POST", "/api/upload?name=a%0Ab.plt",
         TokenHeader() + Post("IN;"), "IN;", 400, "\"error\""},
        {"a name of invalid UTF-8", "POST", "/api/upload?name=a%FF.plt",
         TokenHeader() + Post("IN;"), "IN;", 400, "\"error\""},
        {"a name with NUL", "POST", "/api/upload?name=a.plt%00.sh", TokenHeader() + Post("IN;"),
         "IN;", 400, "\"error\""},
        {"automatic printing on", "POST", "/api/auto/on", TokenHeader(), "", 200, "\"auto\": true"},
        {"automatic printing off", "POST", "/api/auto/off", TokenHeader(), "", 200,
         "\"auto\": false"},
        {"sign-in with a wrong token", "POST", "/api/login", Post("{\"token\": \"x\"}"),
         "{\"token\": \"x\"}", 401, "\"error\""},
        {"a small body too large", "POST", "/api/machine/stop",
         TokenHeader() + "Content-Length: 100000\r\n", std::string(100000, ' '), 413, "\"error\""},
    };
    for (const auto& row : rows) {
        const std::string strAnswer =
            Raw(row.m_strMethod, row.m_strPath, row.m_strHeaders, row.m_strBody);
        EXPECT_EQ(StatusOf(strAnswer), row.m_nStatus) << row.m_pszWhat << "\n" << strAnswer;
        EXPECT_TRUE(std::regex_search(BodyOf(strAnswer), std::regex(row.m_pszBody)))
            << row.m_pszWhat << "\n"
            << strAnswer;
        if (row.m_strPath != "/") {
            EXPECT_NE(strAnswer.find("Content-Type: application/json"), std::string::npos)
                << row.m_pszWhat;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(m_home / "auto" / "f.plt"));
    EXPECT_FALSE(std::filesystem::exists(m_home / "auto" / "big.plt"));
}

// A page of another site whose name now points at 127.0.0.1 sends its own name as Host.
TEST_F(ServiceRequests, ForeignHostNamesAreRefused) {
    const struct {
        const char* m_pszHost;
        int m_nStatus;
    } cases[] = {
        {"rebound.example.com", 403},
        {"rebound.example.com:8291", 403},
        {"", 403},
        {"127.0.0.1", 200},
        {"localhost:1234", 200},
        {"[::1]:80", 200},
        {"127.5.6.7", 200},
        {"127.0.0.1:x", 403},
    };
    for (const auto& c : cases) {
        const std::string strAnswer = RawExchange(
            m_nPort, std::string("GET /api/status HTTP/1.1\r\n") +
                         (*c.m_pszHost != 0 ? "Host: " + std::string(c.m_pszHost) + "\r\n" : "") +
                         "Connection: close\r\n\r\n");
        EXPECT_EQ(StatusOf(strAnswer), c.m_nStatus) << c.m_pszHost;
    }
}

TEST_F(ServiceRequests, UploadsNeverReplaceAndQueueInArrivalOrder) {
    // Twelve uploads of one name at once: exactly one is placed.
    std::atomic<int> nCreated{0}, nConflict{0}, nOther{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 12; ++i) {
        threads.emplace_back([&, i] {
            httplib::Client client("127.0.0.1", m_nPort);
            const std::string strBody = std::string(kPlot) + std::string(size_t(i), ' ');
            const auto res = client.Post("/api/upload?name=same.plt", Token(m_strToken), strBody,
                                         "application/octet-stream");
            (res && res->status == 201   ? nCreated
             : res && res->status == 409 ? nConflict
                                         : nOther)++;
        });
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(nCreated.load(), 1);
    EXPECT_EQ(nConflict.load(), 11);
    EXPECT_EQ(nOther.load(), 0);

    // Names against the alphabet, within one second: the queue keeps the order they came
    // in, and each answer names its task.
    httplib::Client client("127.0.0.1", m_nPort);
    std::vector<uint64_t> ids;
    for (const char* pszName : {"z.plt", "m.plt", "a.plt"}) {
        const auto res = client.Post(std::string("/api/upload?name=") + pszName, Token(m_strToken),
                                     kPlot, "application/octet-stream");
        ASSERT_TRUE(res && res->status == 201) << pszName;
        std::smatch m;
        ASSERT_TRUE(std::regex_search(res->body, m, std::regex("\"id\": ([0-9]+)"))) << res->body;
        ids.push_back(std::stoull(m[1]));
    }
    const std::string strStatus = client.Get("/api/status")->body;
    const size_t nZ = strStatus.find("\"z.plt\""), nM = strStatus.find("\"m.plt\""),
                 nA = strStatus.find("\"a.plt\"");
    ASSERT_NE(nA, std::string::npos) << strStatus;
    EXPECT_LT(nZ, nM);
    EXPECT_LT(nM, nA);
    EXPECT_NE(strStatus.find("{\"id\": " + std::to_string(ids[0]) +
                             ", \"list\": \"a\", "
                             "\"name\": \"z.plt\""),
              std::string::npos);

    // Copies 0 removes the task and sends its file to the trash, as Delete does.
    const auto zero = client.Post("/api/tasks/" + std::to_string(ids[1]) + "/copies",
                                  Token(m_strToken), "{\"copies\": 0}", "application/json");
    ASSERT_TRUE(zero && zero->status == 200);
    EXPECT_EQ(client.Get("/api/status")->body.find("\"m.plt\""), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(m_home / "auto" / "m.plt"));
    EXPECT_TRUE(std::filesystem::exists(m_home.parent_path() / "data-home/Trash/files/m.plt"));
    // No temporary file is left behind.
    for (const auto& e : std::filesystem::directory_iterator(m_home / "auto"))
        EXPECT_FALSE(e.path().filename().string().starts_with(".")) << e.path();
}

// A browser elsewhere signs in once with the token and then acts with its cookie, from
// the service's own page only.
TEST_F(ServiceRequests, SignInGivesAStrictSessionCookie) {
    const std::string strForm = "token=" + m_strToken;
    const std::string strSignIn =
        Raw("POST", "/api/login",
            "Origin: http://127.0.0.1:" + std::to_string(m_nPort) + "\r\n" +
                Post(strForm, "application/x-www-form-urlencoded"),
            strForm);
    EXPECT_EQ(StatusOf(strSignIn), 303) << strSignIn;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(strSignIn, m,
                                  std::regex("Set-Cookie: (inkvale_session=[0-9a-f]{64})([^\r]*)")))
        << strSignIn;
    const std::string strCookie = "Cookie: " + m[1].str() + "\r\n";
    const std::string strAttributes = m[2];
    EXPECT_NE(strAttributes.find("HttpOnly"), std::string::npos);
    EXPECT_NE(strAttributes.find("SameSite=Strict"), std::string::npos);
    EXPECT_EQ(strAttributes.find("Secure"), std::string::npos) << "plain HTTP";
    const std::string strOwn = "Origin: http://127.0.0.1:" + std::to_string(m_nPort) + "\r\n";
    const struct {
        const char* m_pszWhat;
        std::string m_strHeaders;
        int m_nStatus;
    } cases[] = {
        {"cookie from the own page", strCookie + strOwn, 200},
        {"cookie without Origin", strCookie, 403},
        {"cookie from another page", strCookie + "Origin: http://evil.example\r\n", 403},
        {"a made-up cookie", "Cookie: inkvale_session=" + std::string(64, 'a') + "\r\n" + strOwn,
         401},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StatusOf(Raw("POST", "/api/auto/on", c.m_strHeaders)), c.m_nStatus)
            << c.m_pszWhat;
    // Behind a TLS proxy the cookie is Secure.
    const std::string strTls =
        Raw("POST", "/api/login",
            "X-Forwarded-Proto: https\r\n" + Post("{\"token\": \"" + m_strToken + "\"}"),
            "{\"token\": \"" + m_strToken + "\"}");
    EXPECT_EQ(StatusOf(strTls), 200);
    EXPECT_NE(strTls.find("; Secure"), std::string::npos) << strTls;
}

} // namespace
} // namespace inkvale::test

#endif
