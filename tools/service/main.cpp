// SPDX-License-Identifier: GPL-3.0-or-later
// inkvale-service: the application core without a window. It runs the hot folders, the
// scheduler and the engine with its job journal of one installation directory, keeps the
// lists saved, logs what happens for the system journal, and serves a status page and a
// JSON API for the people who send markers.

#include "ServiceHttp.h"
#include "ServiceJson.h"
#include "ServiceRawPort.h"
#include "ServiceStatus.h"
#include "ServiceToken.h"

#include "config/InstanceLock.h"
#include "config/MachineParams.h"
#include "config/Settings.h"
#include "config/SettingsStore.h"
#include "core/InkvaleCore.h"
#include "core/LoopHandOff.h"
#include "queue/InterruptedJob.h"
#include "support/MessageSource.h"
#include "support/ProfileFile.h"
#include "config/LanguageTable.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTranslator>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace inkvale;

std::atomic<int> g_nStop{0};
extern "C" void OnStopSignal(int) {
    g_nStop = 1;
}

constexpr const char* kUsage =
    "usage: inkvale-service [--home DIR] [--listen ADDRESS] [--port N] [--run-for MS]\n"
    "Runs the hot folders, the scheduler and the print engine of an installation directory\n"
    "without a window, and serves a status page and a JSON API (docs/service-api.md).\n"
    "  --home DIR        installation directory (default: the directory of the program)\n"
    "  --listen ADDRESS  address of the HTTP interface (default [Service] Address of\n"
    "                    Inkvale.ini, else 127.0.0.1)\n"
    "  --port N          its port (default [Service] Port, else 8291)\n"
    "  --run-for MS      end after MS milliseconds (tests)\n"
    "Control requests need the token of Service.token in the installation directory, sent\n"
    "in the X-Inkvale-Token header. Exit status 0 when ended by SIGTERM or SIGINT; 1 when\n"
    "the directory is in use by another process, the token file is refused, or the\n"
    "address or port cannot be bound (the log says which process holds it); 2 wrong usage.\n";

// Lines for the system journal: "<N>" is the priority systemd reads off a line's start.
void Log(int nPriority, const std::string& strText) {
    std::fprintf(stderr, "<%d>inkvale-service: %s\n", nPriority, service::LogText(strText).c_str());
    std::fflush(stderr);
}

/// The core's events go to the journal.
class CServiceView : public CQueueView {
public:
    void RefreshTaskList() override {}
    void SelectRow(int) override {}
    void Redraw() override {}
    void AutoModeOff() override { Log(5, "automatic printing switched off"); }
    void ShowMessage(const CMessage& message) override { Log(4, service::EnglishText(message)); }
    void JobEnded(int nResult) override {
        Log(nResult == kJobSuccess ? 6 : 3,
            nResult == kJobSuccess ? "job finished" : "job failed or interrupted");
        if (m_fnJobEnded)
            m_fnJobEnded(nResult == kJobSuccess);
    }
    /// Who hears of jobs ending besides the log (the HTTP interface, once it exists).
    std::function<void(bool bSuccess)> m_fnJobEnded;
};

struct CArgs {
    std::string m_strHome, m_strListen;
    int m_nPort = 0;
    int m_nRunForMs = 0;
};

bool ParseArgs(int argc, char** argv, CArgs& args) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool bValue = i + 1 < argc;
        if (a == "--home" && bValue)
            args.m_strHome = argv[++i];
        else if (a == "--listen" && bValue)
            args.m_strListen = argv[++i];
        else if (a == "--port" && bValue)
            args.m_nPort = std::atoi(argv[++i]);
        else if (a == "--run-for" && bValue)
            args.m_nRunForMs = std::atoi(argv[++i]);
        else
            return false;
    }
    return args.m_nPort >= 0 && args.m_nPort <= 65535 && args.m_nRunForMs >= 0;
}

std::string WithSlash(std::string s) {
    if (!s.empty() && s.back() != '/')
        s += '/';
    return s;
}

void LoadTranslation(QCoreApplication& app, QTranslator& translator, const CSettings& settings) {
    const QString strFile = QString::fromStdString(TranslationFile(settings.Language));
    if (strFile.isEmpty())
        return;
    const QString strAppDir = app.applicationDirPath();
    for (const QString& strDir :
         {QString::fromStdString(settings.m_strInstallDir), strAppDir + "/translations",
          strAppDir + "/../share/inkvale/translations",
          strAppDir + "/../../src/app/translations"}) {
        if (translator.load(strFile, strDir)) {
            app.installTranslator(&translator);
            return;
        }
    }
}

// What the journal hears of besides the core's own events: jobs starting, and the link to
// the machine lost and found.
class CWatch {
public:
    explicit CWatch(bool bAutoResume) : m_bAutoResume(bAutoResume) {}

    void Tick(CInkvaleCore& core) {
        CPrintEngine& engine = core.Engine();
        // Counted, not sampled: back-to-back jobs are one start each.
        const uint64_t nStarted = engine.JobsStarted();
        if (nStarted != m_nStarted && engine.JobRunning())
            Log(6, "job started: " + engine.WorkPage().m_strName + ", " +
                       std::to_string(engine.State().m_nBandCount.load()) + " bands");
        m_nStarted = nStarted;
        TellUnfinished(core);
        const bool bOnline = engine.State().m_nMachineOnline != 0;
        if (bOnline != m_bOnline)
            Log(bOnline ? 6 : 4, bOnline ? "machine found" : "machine link lost");
        m_bOnline = bOnline;
    }

private:
    // Each unfinished job once, when it appears: nothing else prints until it is decided.
    void TellUnfinished(CInkvaleCore& core) {
        const std::vector<std::string> jobs = core.Engine().UnfinishedJobs();
        for (const CInterruptedJob& job : InterruptedJobsOf(jobs)) {
            if (std::find(m_told.begin(), m_told.end(), job.m_strJobDir) != m_told.end())
                continue;
            const std::string strId = JobIdOf(job.m_strJobDir);
            if (!job.m_strDamage.empty())
                Log(3, "unfinished job " + strId + " is damaged: " + job.m_strDamage +
                           "; nothing else prints until it is discarded (POST /api/jobs/" + strId +
                           "/discard)");
            else
                Log(4,
                    "unfinished job " + strId + ": " + job.m_record.m_strTaskName +
                        " stopped at band " + std::to_string(job.m_nResumeBand) + " of " +
                        std::to_string(job.m_record.m_nBandCount) +
                        (job.m_record.m_strWhy.empty() ? "" : " (" + job.m_record.m_strWhy + ")") +
                        "; nothing else prints until it is resumed or discarded (POST "
                        "/api/jobs/" +
                        strId + "/resume or /discard)");
        }
        m_told = jobs;
        const bool bHeld = core.Engine().MachineHoldsDeadJob() && !jobs.empty();
        if (bHeld && !m_bHeldTold)
            Log(4, service::EnglishText({EMsg::kMachineHoldsJob, {}}));
        m_bHeldTold = bHeld;
        StopHeldJob(core, bHeld);
    }

    // With "auto" the operator has decided in advance that an interrupted job continues.
    // The machine still in it after the service died (a crash, kill -9) waits for band data
    // that never comes, and unattended nobody presses Stop: the service stops it, as
    // `inkvale-cli resume --stop` does, and the job resumes once the machine is ready. Sent
    // again every few seconds while the machine stays in the job.
    void StopHeldJob(CInkvaleCore& core, bool bHeld) {
        if (!m_bAutoResume || !bHeld) {
            m_nHeldTicks = 0;
            return;
        }
        if (m_nHeldTicks++ % kStopEveryTicks != 0)
            return;
        Log(4, "the plotter was still in the interrupted job: stopping it to resume the job");
        if (!core.Engine().StopMachineJob())
            Log(4, "the plotter did not take the Stop command");
    }

    static constexpr int kStopEveryTicks = 20; ///< 5 s at the watch's 250 ms

    bool m_bAutoResume = false;
    int m_nHeldTicks = 0;
    uint64_t m_nStarted = 0;
    bool m_bOnline = false;
    bool m_bHeldTold = false;
    std::vector<std::string> m_told;
};

// Each connection holds a descriptor: the soft limit (often 1024) goes up to the hard one,
// so that the HTTP server's cap on connections, not the system's, is what a crowd meets.
unsigned RaiseDescriptorLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 1024;
    limit.rlim_cur = limit.rlim_max;
    (void)::setrlimit(RLIMIT_NOFILE, &limit);
    (void)::getrlimit(RLIMIT_NOFILE, &limit);
    return static_cast<unsigned>(std::min<rlim_t>(limit.rlim_cur, 1u << 20));
}

std::vector<std::string> ListOf(const std::string& strList) {
    std::vector<std::string> items;
    size_t nAt = 0;
    while (nAt <= strList.size()) {
        const size_t nEnd = std::min(strList.find_first_of(", ", nAt), strList.size());
        if (nEnd > nAt)
            items.push_back(strList.substr(nAt, nEnd - nAt));
        nAt = nEnd + 1;
    }
    return items;
}

service::CHttpOptions HttpOptions(const CArgs& args, const CProfileFile& ini,
                                  const CSettings& settings) {
    service::CHttpOptions options;
    options.m_strAddress = !args.m_strListen.empty()
                               ? args.m_strListen
                               : ini.GetString("Service", "Address", "127.0.0.1");
    options.m_nPort = args.m_nPort > 0 ? args.m_nPort : ini.GetInt("Service", "Port", 8291);
    options.m_bAnonymousView = ini.GetInt("Service", "AnonymousView", 0) != 0;
    options.m_hosts = ListOf(ini.GetString("Service", "Hosts", ""));
    // The address the service listens on names it too (an address cannot be rebound).
    if (options.m_strAddress != "0.0.0.0" && options.m_strAddress != "::")
        options.m_hosts.push_back(options.m_strAddress);
    options.m_bSecureCookie = ini.GetInt("Service", "SecureCookie", 0) != 0;
    // One limit for every way in: the hot folder's.
    options.m_nMaxUploadBytes = uint64_t(std::max(settings.PltMaxSizeMb, 1)) * 1048576u;
    const unsigned nDescriptors = RaiseDescriptorLimit();
    options.m_nMaxConnections = std::min(4000u, nDescriptors > 256 ? nDescriptors - 128 : 128u);
    options.m_nMaxStreams = options.m_nMaxConnections / 2;
    return options;
}

int Run(QGuiApplication& app, const CArgs& args, const std::string& strInstallDir) {
    CInstanceLock lock = CInstanceLock::Acquire(strInstallDir);
    if (lock.State() == CInstanceLock::EState::kHeld) {
        Log(3, "the installation directory " + strInstallDir + " is in use by process " +
                   std::to_string(lock.Holder()) + " (" + lock.Path() + ")");
        return 1;
    }
    if (!lock.Acquired()) {
        Log(3, "cannot use the lock file " + lock.Path() + ": " + lock.Error());
        return 1;
    }
    CSettings settings;
    CMachineParams params;
    const CSettingsLoadResult loaded = LoadSettings(settings, params, strInstallDir);
    for (const CMessage& message : loaded.m_arrMessages)
        Log(4, service::EnglishText(message));
    params.ResetMachineParams();
    QTranslator translator;
    LoadTranslation(app, translator, settings);

    CProfileFile ini;
    (void)ini.Load(strInstallDir + "Inkvale.ini");
    service::CHttpOptions options = HttpOptions(args, ini, settings);
    service::CRawPortOptions raw;
    std::string strError;
    if (!service::RawPortOptions(ini, settings, raw, strError)) {
        Log(3, strError);
        return 1;
    }
    options.m_strToken = service::LoadOrCreateToken(strInstallDir, strError);
    if (options.m_strToken.empty()) {
        Log(3, strError);
        return 1;
    }

    CServiceView view;
    CLoopHandOff handOff(settings);
    CInkvaleCore core(settings, params, view, handOff);
    // "auto": unfinished jobs continue as soon as the machine is ready; otherwise they wait
    // for a decision from the page or the API.
    const bool bAutoResume = ini.GetString("Service", "ResumeInterrupted", "ask") == "auto";
    core.SetAutoResume(bAutoResume);
    const CResult restored = core.EnableQueueSaving();
    for (const CMessage& message : restored.m_arrMessages)
        Log(4, service::EnglishText(message));
    core.StartServices();
    core.EnablePreloading();
    service::CServiceHttp http(core, handOff, options);
    view.m_fnJobEnded = [&](bool bSuccess) {
        http.NoteJobEnded(core.Engine().WorkPage().m_strName, bSuccess);
    };
    http.Refresh();
    service::CRawPort rawPort(raw);
    if (!http.Start(strError) || !rawPort.Start(strError)) {
        Log(3, strError);
        view.m_fnJobEnded = nullptr;
        handOff.Stop();
        http.Stop();
        core.Shutdown();
        return 1;
    }
    if (raw.m_nPort > 0)
        Log(6, "raw print port " + std::to_string(raw.m_nPort) + " takes jobs into " +
                   settings.AutoDir);
    Log(6, "serving " + strInstallDir + " on http://" + options.m_strAddress + ":" +
               std::to_string(options.m_nPort) + "/");
    std::signal(SIGTERM, OnStopSignal);
    std::signal(SIGINT, OnStopSignal);
    CWatch watch(bAutoResume);
    const auto tStart = std::chrono::steady_clock::now();
    auto tRefreshed = tStart;
    while (g_nStop == 0) {
        handOff.RunOnce(std::chrono::milliseconds(20));
        QCoreApplication::processEvents();
        const auto tNow = std::chrono::steady_clock::now();
        if (tNow - tRefreshed >= std::chrono::milliseconds(250)) {
            tRefreshed = tNow;
            watch.Tick(core);
            http.Refresh();
            core.Tick();
        }
        if (args.m_nRunForMs > 0 && tNow - tStart > std::chrono::milliseconds(args.m_nRunForMs))
            break;
    }
    Log(6, "ending");
    rawPort.Stop();
    view.m_fnJobEnded = nullptr;
    handOff.Stop();
    http.Stop();
    core.Shutdown();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("inkvale-service %s\n", INKVALE_VERSION);
            return 0;
        }
    }
    CArgs args;
    if (!ParseArgs(argc, argv, args)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    // No display: the thumbnails paint on images.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int nQtArgc = 1;
    QGuiApplication app(nQtArgc, argv);
    const std::string strInstallDir = WithSlash(
        args.m_strHome.empty()
            ? QFileInfo(app.applicationFilePath()).absolutePath().toStdString()
            : QFileInfo(QString::fromStdString(args.m_strHome)).absoluteFilePath().toStdString());
    return Run(app, args, strInstallDir);
}
