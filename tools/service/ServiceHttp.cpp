// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceHttp.h"

#include "ServicePage.h"
#include "ServiceStatus.h"
#include "ServiceThumbnail.h"
#include "ServiceToken.h"

#include "machine/engine/ManualCommands.h"
#include "model/TaskDrawingLoader.h"
#include "queue/TaskLists.h"

#include <httplib.h>

#include <arpa/inet.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <random>

namespace inkvale::service {

namespace {

constexpr const char* kTokenHeader = "X-Inkvale-Token";
constexpr const char* kJson = "application/json";
constexpr int kEventEveryMs = 500;
constexpr size_t kServerThreads = 96;

void Fail(httplib::Response& res, int nStatus, const std::string& strWhy) {
    res.status = nStatus;
    res.set_content("{\"error\": " + JsonString(strWhy) + "}", kJson);
}

void Ok(httplib::Response& res) {
    res.set_content("{\"ok\": true}", kJson);
}

bool IsLoopback(const std::string& strAddress) {
    in_addr a{};
    return inet_pton(AF_INET, strAddress.c_str(), &a) == 1 && (ntohl(a.s_addr) >> 24) == 127;
}

// A file name an upload may take in the automatic folder: a plain name (no folder, no
// leading dot) ending in one of the hot folder's extensions.
bool AcceptableName(const std::string& strName, const std::string& strPatterns) {
    if (strName.empty() || strName.size() > 200 || strName[0] == '.' ||
        strName.find_first_of("/\\") != std::string::npos ||
        strName.find('\0') != std::string::npos)
        return false;
    std::string strLower = strName;
    std::transform(strLower.begin(), strLower.end(), strLower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    // Patterns are "*.plt;*.hpg;" (and the like).
    size_t nStart = 0;
    while (nStart < strPatterns.size()) {
        size_t nEnd = strPatterns.find(';', nStart);
        if (nEnd == std::string::npos)
            nEnd = strPatterns.size();
        std::string strPattern = strPatterns.substr(nStart, nEnd - nStart);
        std::transform(strPattern.begin(), strPattern.end(), strPattern.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (strPattern.size() > 1 && strPattern[0] == '*' &&
            strLower.ends_with(strPattern.substr(1)) && strLower.size() > strPattern.size() - 1)
            return true;
        nStart = nEnd + 1;
    }
    return false;
}

std::string RandomSuffix() {
    std::random_device rd;
    char sz[32];
    std::snprintf(sz, sizeof sz, "%08x%08x", rd(), rd());
    return sz;
}

} // namespace

CServiceHttp::CServiceHttp(CInkvaleCore& core, CLoopHandOff& handOff, CHttpOptions options)
    : m_core(core), m_handOff(handOff), m_options(std::move(options)),
      m_bLoopback(IsLoopback(m_options.m_strAddress)),
      m_pServer(std::make_unique<httplib::Server>()) {
    Routes();
}

CServiceHttp::~CServiceHttp() {
    Stop();
}

bool CServiceHttp::Start(std::string& strError) {
    if (!m_pServer->bind_to_port(m_options.m_strAddress.c_str(), m_options.m_nPort)) {
        strError =
            "cannot listen on " + m_options.m_strAddress + ":" + std::to_string(m_options.m_nPort);
        return false;
    }
    m_thread = std::thread([this] { m_pServer->listen_after_bind(); });
    return true;
}

void CServiceHttp::Stop() {
    m_bStopping = true;
    if (m_pServer)
        m_pServer->stop();
    if (m_thread.joinable())
        m_thread.join();
}

void CServiceHttp::Refresh() {
    const bool bRunning = m_core.Engine().JobRunning();
    if (bRunning && !m_bJobSeen)
        m_tJobSeen = std::chrono::steady_clock::now();
    m_bJobSeen = bRunning;
    const double dSeconds =
        bRunning
            ? std::chrono::duration<double>(std::chrono::steady_clock::now() - m_tJobSeen).count()
            : 0.0;
    std::string strStatus = StatusJson(m_core, dSeconds);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_strStatus = std::move(strStatus);
}

std::string CServiceHttp::Status() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_strStatus;
}

bool CServiceHttp::OnOwner(const std::function<void()>& fn) {
    bool bRan = false;
    m_handOff.Run([&] {
        fn();
        bRan = true;
    });
    return bRan;
}

bool CServiceHttp::MayRead(const httplib::Request& req, httplib::Response& res) const {
    if (m_bLoopback || m_options.m_bAnonymousView ||
        SameToken(req.get_header_value(kTokenHeader), m_options.m_strToken))
        return true;
    Fail(res, 401, "this address needs the token to read");
    return false;
}

bool CServiceHttp::MayControl(const httplib::Request& req, httplib::Response& res) const {
    if (SameToken(req.get_header_value(kTokenHeader), m_options.m_strToken))
        return true;
    Fail(res, 401, "control needs the token in the X-Inkvale-Token header");
    return false;
}

void CServiceHttp::Routes() {
    httplib::Server& s = *m_pServer;
    s.set_payload_max_length(m_options.m_nMaxUploadBytes + 1);
    // A live stream holds its thread for as long as the page is open: a room of phones
    // and desktops must not leave the readers of the status without one.
    s.new_task_queue = [] { return new httplib::ThreadPool(kServerThreads); };
    s.Get("/", [this](const httplib::Request& req, httplib::Response& res) {
        if (MayRead(req, res))
            res.set_content(StatusPageHtml(Status(), HistoryJson(m_core.Settings().HistoryFile, 50),
                                           RejectedJson(m_core.Settings().AutoDir, 50)),
                            "text/html; charset=utf-8");
    });
    s.Get("/api/status", [this](const httplib::Request& req, httplib::Response& res) {
        if (MayRead(req, res))
            res.set_content(Status(), kJson);
    });
    s.Get("/api/history", [this](const httplib::Request& req, httplib::Response& res) {
        if (MayRead(req, res))
            res.set_content(HistoryJson(m_core.Settings().HistoryFile, 50), kJson);
    });
    s.Get("/api/rejected", [this](const httplib::Request& req, httplib::Response& res) {
        if (MayRead(req, res))
            res.set_content(RejectedJson(m_core.Settings().AutoDir, 50), kJson);
    });
    s.Get(R"(/api/thumbnail/(\d+)\.png)",
          [this](const httplib::Request& req, httplib::Response& res) {
              if (MayRead(req, res))
                  Thumbnail(req, res);
          });
    s.Get("/api/events", [this](const httplib::Request& req, httplib::Response& res) {
        if (!MayRead(req, res))
            return;
        res.set_header("Cache-Control", "no-cache");
        res.set_chunked_content_provider(
            "text/event-stream", [this](size_t, httplib::DataSink& sink) {
                if (m_bStopping)
                    return false;
                const std::string strEvent = "data: " + Status() + "\n\n";
                if (!sink.write(strEvent.data(), strEvent.size()))
                    return false;
                std::this_thread::sleep_for(std::chrono::milliseconds(kEventEveryMs));
                return !m_bStopping.load();
            });
    });
    s.Post("/api/upload", [this](const httplib::Request& req, httplib::Response& res) {
        if (MayControl(req, res))
            Upload(req, res);
    });
    s.Post(R"(/api/tasks/(\d+)/(copies|queue|unqueue))",
           [this](const httplib::Request& req, httplib::Response& res) {
               if (MayControl(req, res))
                   TaskCommand(req, res);
           });
    s.Post(R"(/api/jobs/([0-9a-z-]+)/(resume|discard))",
           [this](const httplib::Request& req, httplib::Response& res) {
               if (MayControl(req, res))
                   JobCommand(req, res);
           });
    s.Post(R"(/api/machine/(pause|resume|stop))",
           [this](const httplib::Request& req, httplib::Response& res) {
               if (MayControl(req, res))
                   MachineCommand(req, res);
           });
}

// The bytes go to a temporary name the hot folder's patterns never match, then take their
// name in one rename: the scan sees the whole file or nothing. The client's name is checked
// and reduced to a plain file name; no path of its own is ever used.
void CServiceHttp::Upload(const httplib::Request& req, httplib::Response& res) {
    const std::string strName = req.get_param_value("name");
    const CSettings& settings = m_core.Settings();
    if (!AcceptableName(strName, settings.PrtFileExtension))
        return Fail(res, 400, "the name must be a plain file name with a drawing's extension");
    if (req.body.empty())
        return Fail(res, 400, "the file is empty");
    if (req.body.size() > m_options.m_nMaxUploadBytes)
        return Fail(res, 413, "the file is larger than the readers take");
    const std::string strTarget = settings.AutoDir + strName;
    std::error_code ec;
    if (std::filesystem::exists(strTarget, ec))
        return Fail(res, 409, "a file of that name waits in the automatic folder");
    const std::string strTemp = settings.AutoDir + ".upload-" + RandomSuffix() + ".tmp";
    FILE* f = std::fopen(strTemp.c_str(), "wbx");
    if (f == nullptr)
        return Fail(res, 500, "the automatic folder cannot be written");
    const bool bWritten = std::fwrite(req.body.data(), 1, req.body.size(), f) == req.body.size();
    const bool bClosed = std::fclose(f) == 0;
    if (!bWritten || !bClosed || std::rename(strTemp.c_str(), strTarget.c_str()) != 0) {
        std::remove(strTemp.c_str());
        return Fail(res, 500, "the file could not be written");
    }
    std::fprintf(stderr, "<6>inkvale-service: received %s (%zu bytes)\n", strName.c_str(),
                 req.body.size());
    res.status = 201;
    Ok(res);
}

void CServiceHttp::TaskCommand(const httplib::Request& req, httplib::Response& res) {
    const uint64_t nId = std::stoull(req.matches[1]);
    const std::string strWhat = req.matches[2];
    int nCopies = -1;
    if (strWhat == "copies") {
        // {"copies": N}: nothing else is read from the body.
        const std::string& b = req.body;
        const size_t nKey = b.find("\"copies\"");
        const size_t nColon = nKey == std::string::npos ? nKey : b.find(':', nKey);
        if (nColon == std::string::npos || b.find('{') != b.find_first_not_of(" \t\r\n"))
            return Fail(res, 400, "the body must be {\"copies\": N}");
        char* pEnd = nullptr;
        const long n = std::strtol(b.c_str() + nColon + 1, &pEnd, 10);
        const size_t nAfter = b.find_first_not_of(" \t\r\n", static_cast<size_t>(pEnd - b.c_str()));
        if (pEnd == b.c_str() + nColon + 1 || n < 0 || n > 9999 || nAfter == std::string::npos ||
            b[nAfter] != '}')
            return Fail(res, 400, "copies must be a whole number from 0 to 9999");
        nCopies = static_cast<int>(n);
    }
    bool bFound = false;
    if (!OnOwner([&] {
            COnePage* pTask = TaskById(m_core.Doc(), nId);
            if (pTask == nullptr)
                return;
            bFound = true;
            if (strWhat == "copies")
                pTask->m_nCopies = nCopies;
            else
                pTask->m_bQueued = strWhat == "queue" ? 1 : 0;
            Refresh();
        }))
        return Fail(res, 503, "the service is closing");
    if (!bFound)
        return Fail(res, 404, "no task has that id");
    Ok(res);
}

// The decision on an unfinished job of the ledger, on the owning thread.
void CServiceHttp::JobCommand(const httplib::Request& req, httplib::Response& res) {
    const std::string strDir = m_core.Engine().JournalDir() + std::string(req.matches[1]) + "/";
    const bool bResume = req.matches[2] == "resume";
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
        return Fail(res, 503, "the service is closing");
    if (!bKnown)
        return Fail(res, 404, "no unfinished job has that id");
    if (!done.Ok())
        return Fail(res, 409,
                    done.m_arrMessages.empty() ? done.m_strDiag
                                               : EnglishText(done.m_arrMessages[0]));
    std::fprintf(stderr, "<5>inkvale-service: job %s %s\n", std::string(req.matches[1]).c_str(),
                 bResume ? "resumed" : "discarded");
    Ok(res);
}

void CServiceHttp::MachineCommand(const httplib::Request& req, httplib::Response& res) {
    const std::string strWhat = req.matches[1];
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
        }))
        return Fail(res, 503, "the service is closing");
    if (!bActed)
        return Fail(res, 409, "the machine cannot " + strWhat + " now");
    Ok(res);
}

// The task's drawing, or a copy read from its file on this thread when the queue keeps
// none (a manual-folder task keeps only its size): the owning thread only lends the task.
void CServiceHttp::Thumbnail(const httplib::Request& req, httplib::Response& res) {
    const uint64_t nId = std::stoull(req.matches[1]);
    std::string strPng;
    bool bFound = false;
    COnePage copy;
    CSettings settings;
    if (!OnOwner([&] {
            const COnePage* pTask = TaskById(m_core.Doc(), nId);
            bFound = pTask != nullptr;
            settings = m_core.Settings();
            if (pTask != nullptr && !pTask->m_arrCurves.empty())
                strPng = ThumbnailPng(*pTask, settings, 320, 200);
            else if (pTask != nullptr)
                copy.m_strPath = pTask->m_strPath;
        }))
        return Fail(res, 503, "the service is closing");
    if (!bFound)
        return Fail(res, 404, "no task has that id");
    if (strPng.empty() && !copy.m_strPath.empty() && LoadTaskDrawing(copy, settings, false).Ok())
        strPng = ThumbnailPng(copy, settings, 320, 200);
    if (strPng.empty())
        return Fail(res, 404, "the task's drawing cannot be read");
    res.set_header("Cache-Control", "no-cache");
    res.set_content(strPng, "image/png");
}

} // namespace inkvale::service
