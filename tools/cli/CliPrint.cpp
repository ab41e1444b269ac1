// SPDX-License-Identifier: GPL-3.0-or-later
// inkvale-cli print FILE [--copies N]: prints one task through the machine link of the
// settings with the program's engine, its service threads and a queue of that one task.

#include "CliBandJob.h"
#include "CliCommand.h"

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "config/SettingsStore.h"
#include "layout/OnePage.h"
#include "layout/TaskDrawingLoader.h"
#include "machine/EngineHost.h"
#include "machine/LinkRefusal.h"
#include "machine/MachineLinks.h"
#include "machine/MachineStatus.h"
#include "machine/PrintEngine.h"
#include "machine/RasterBandSource.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace inkvale::cli {

namespace {

using CSteady = std::chrono::steady_clock;

// How long the machine may take to answer its first parameter read.
constexpr auto kOnlineTimeout = std::chrono::seconds(20);
constexpr auto kRedrawEvery = std::chrono::milliseconds(200);
constexpr int kBarWidth = 30;

std::atomic<int> g_nInterrupted{0};

extern "C" void OnInterrupt(int) {
    g_nInterrupted = 1;
}

struct CPrintArgs {
    std::string m_strFile;
    int m_nCopies = 1;
};

bool ParseArgs(const CCliContext& ctx, CPrintArgs& args) {
    for (size_t i = 0; i < ctx.m_args.size(); ++i) {
        const std::string& a = ctx.m_args[i];
        if (a == "--copies" && i + 1 < ctx.m_args.size()) {
            const long n = std::strtol(ctx.m_args[++i].c_str(), nullptr, 10);
            if (n < 1 || n > 9999)
                return false;
            args.m_nCopies = static_cast<int>(n);
        } else if (args.m_strFile.empty() && !a.starts_with("-")) {
            args.m_strFile = a;
        } else {
            return false;
        }
    }
    return !args.m_strFile.empty();
}

/// The window thread of this front end: the engine's calls are queued to the main loop,
/// and each caller waits until the loop has handled its call. A call made on the main
/// thread itself (the size-check refusal inside StartPrintJob) is handled in place.
class CCliEngineHost : public IEngineHost {
public:
    using CHandler = std::function<void(EEngineMessage, int)>;

    explicit CCliEngineHost(CHandler handler)
        : m_handler(std::move(handler)), m_mainThread(std::this_thread::get_id()) {}

    void JobFinished(int nResult) override { Post(kMsgJobFinished, nResult); }
    void StartNextTask() override { Post(kMsgStartNextTask, 0); }
    void ScanManualFolder() override {}
    void ScanAutoFolder() override {}

    /// Handles the calls waiting now, or waits up to `timeout` for one. Main thread.
    void RunOnce(std::chrono::milliseconds timeout) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cv.wait_for(lock, timeout, [this] { return !m_queue.empty(); });
        while (!m_queue.empty()) {
            const CCall call = m_queue.front();
            m_queue.pop_front();
            lock.unlock();
            m_handler(call.m_nMessage, call.m_nParam);
            lock.lock();
            m_nHandled = call.m_nId;
            m_cv.notify_all();
        }
    }

    /// From now on calls return at once: the main loop no longer runs.
    void Stop() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStopped = true;
        m_cv.notify_all();
    }

private:
    struct CCall {
        EEngineMessage m_nMessage;
        int m_nParam;
        uint64_t m_nId;
    };

    void Post(EEngineMessage nMessage, int nParam) {
        if (std::this_thread::get_id() == m_mainThread) {
            m_handler(nMessage, nParam);
            return;
        }
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_bStopped)
            return;
        const uint64_t nId = ++m_nPosted;
        m_queue.push_back({nMessage, nParam, nId});
        m_cv.notify_all();
        m_cv.wait(lock, [&] { return m_nHandled >= nId || m_bStopped; });
    }

    CHandler m_handler;
    std::thread::id m_mainThread;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<CCall> m_queue;
    uint64_t m_nPosted = 0;
    uint64_t m_nHandled = 0;
    bool m_bStopped = false;
};

/// A queue of one task printed m_nCopies times, one job per copy.
class CCliPrintQueue {
public:
    CCliPrintQueue(COnePage& task, int nCopies, const CSettings& settings)
        : m_task(task), m_nCopies(nCopies), m_settings(settings) {}

    void Attach(CPrintEngine& engine) { m_pEngine = &engine; }

    void Handle(EEngineMessage nMessage, int nParam) {
        if (nMessage == kMsgJobFinished)
            OnJobFinished(nParam);
        else if (nMessage == kMsgStartNextTask)
            StartNextTask();
    }

    bool Done() const { return m_bDone; }
    bool Failed() const { return m_bFailed; }
    int CopiesDone() const { return m_nDone; }
    int Copies() const { return m_nCopies; }
    bool Started() const { return m_bStarted; }
    CSteady::time_point JobStart() const { return m_tJobStart; }

    /// Ends the run as failed with a message for stderr.
    void Fail(const std::string& strWhy) {
        if (!strWhy.empty() && m_strMessage.empty())
            m_strMessage = strWhy;
        m_bFailed = m_bDone = true;
    }
    const std::string& Message() const { return m_strMessage; }

private:
    // As the program's queue: only with the machine ready and no job running.
    void StartNextTask() {
        if (m_bDone || m_pEngine->JobRunning() || m_pEngine->Link().MachineState() != kStateReady ||
            m_settings.m_nClosing)
            return;
        m_task.m_nPrintState = PS_PRINTING;
        const CJobStartResult start = m_pEngine->StartPrintJob(m_task);
        if (!start.Ok()) {
            m_task.m_nPrintState = PS_WAITING;
            // The size check's text is what the program shows; it outranks the failed job
            // it reported a moment ago.
            if (!start.m_strMessage.empty())
                m_strMessage = start.m_strMessage;
            Fail("the machine did not accept the job");
            return;
        }
        m_bStarted = true;
        m_tJobStart = CSteady::now();
    }

    void OnJobFinished(int nResult) {
        m_pEngine->ClearJob();
        m_task.m_nPrintState = PS_WAITING;
        if (nResult != kJobSuccess) {
            Fail("copy " + std::to_string(m_nDone + 1) + " failed");
            return;
        }
        if (++m_nDone >= m_nCopies)
            m_bDone = true;
    }

    COnePage& m_task;
    int m_nCopies;
    const CSettings& m_settings;
    CPrintEngine* m_pEngine = nullptr;
    int m_nDone = 0;
    bool m_bDone = false;
    bool m_bFailed = false;
    bool m_bStarted = false;
    CSteady::time_point m_tJobStart{};
    std::string m_strMessage;
};

std::string FormatDuration(double dSeconds) {
    const long n = static_cast<long>(dSeconds + 0.5);
    char sz[32];
    std::snprintf(sz, sizeof sz, "%ld:%02ld:%02ld", n / 3600, n / 60 % 60, n % 60);
    return sz;
}

// "copy 1/2 [#####-----] 12/40 bands  30.00%  left 0:00:42"
void DrawProgress(const CCliPrintQueue& queue, const CPrintEngine& engine) {
    const int32_t nBands = engine.State().m_nBandCount;
    const int32_t nDone = engine.JobRunning() ? engine.State().m_nBandsDone.load() : 0;
    const double dShare = nBands > 0 ? static_cast<double>(nDone) / nBands : 0.0;
    const int nFilled = static_cast<int>(dShare * kBarWidth);
    std::string bar(static_cast<size_t>(nFilled), '#');
    bar.resize(kBarWidth, '-');
    std::string left = "--:--:--";
    if (nDone > 0 && engine.JobRunning()) {
        const double dElapsed =
            std::chrono::duration<double>(CSteady::now() - queue.JobStart()).count();
        left = FormatDuration(dElapsed / nDone * (nBands - nDone));
    }
    const int nCopy = std::min(queue.CopiesDone() + 1, queue.Copies());
    std::fprintf(stderr, "\rcopy %d/%d [%s] %d/%d bands %6.2f%%  left %s ", nCopy, queue.Copies(),
                 bar.c_str(), nDone, nBands, dShare * 100.0, left.c_str());
    std::fflush(stderr);
}

// The engine's loop until every copy has printed, a copy failed, the link refused the
// machine's address, or the operator interrupted; the service threads drive it as they
// drive the program.
void RunQueue(CCliEngineHost& host, CCliPrintQueue& queue, CPrintEngine& engine,
              const CMachineStatus& status, CSettings& settings) {
    const auto tStart = CSteady::now();
    auto tDrawn = tStart;
    while (!queue.Done()) {
        host.RunOnce(std::chrono::milliseconds(50));
        if (g_nInterrupted && !settings.m_nClosing) {
            settings.m_nClosing = 1; // the running job ends as failed and reports it
            if (!engine.JobRunning())
                queue.Fail("interrupted");
        }
        // A refused address stays refused: no point waiting for the machine to answer.
        if (const CLinkRefusal refusal = status.m_linkRefusal.Load();
            !queue.Started() && refusal.Refused())
            queue.Fail(LinkRefusalText(refusal));
        if (!queue.Started() && engine.State().m_nMachineOnline == 0 &&
            CSteady::now() - tStart > kOnlineTimeout)
            queue.Fail("the machine does not answer");
        if (CSteady::now() - tDrawn >= kRedrawEvery) {
            DrawProgress(queue, engine);
            tDrawn = CSteady::now();
        }
    }
    DrawProgress(queue, engine);
    std::fputc('\n', stderr);
}

std::string NameOf(const std::string& path) {
    const size_t n = path.find_last_of('/');
    return n == std::string::npos ? path : path.substr(n + 1);
}

} // namespace

int RunPrint(const CCliContext& ctx) {
    CPrintArgs args;
    if (!ParseArgs(ctx, args))
        return CommandUsageError("print");
    CSettings settings;
    CMachineParams params;
    (void)LoadSettings(settings, params, ctx.m_strHome);
    params.ResetMachineParams();
    COnePage task;
    task.m_strPath = args.m_strFile;
    task.m_strName = NameOf(args.m_strFile);
    const CTaskLoadResult loaded = LoadTaskDrawing(task, settings, true, nullptr);
    if (!loaded.m_bLoaded) {
        for (const std::string& m : loaded.m_arrMessages)
            std::fprintf(stderr, "%s\n", m.c_str());
        std::fprintf(stderr, "inkvale-cli print: %s\n", loaded.m_strReason.c_str());
        return kExitFailed;
    }
    EnsureCliFonts();
    task.m_nCopies = args.m_nCopies;

    CMachineLinks links(settings, params);
    CRasterBandFactory bands;
    CCliPrintQueue queue(task, args.m_nCopies, settings);
    CCliEngineHost host([&queue](EEngineMessage m, int p) { queue.Handle(m, p); });
    CPrintEngine engine(settings, params, links.Commu(), links.Status(), host, bands);
    queue.Attach(engine);
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    std::fprintf(stderr, "printing %s to the machine at %s, %d cop%s\n", task.m_strName.c_str(),
                 FormatMachineIP(params.MachineIP()).c_str(), args.m_nCopies,
                 args.m_nCopies == 1 ? "y" : "ies");
    engine.StartServiceThreads();
    RunQueue(host, queue, engine, links.Status(), settings);

    host.Stop();
    settings.m_nClosing = 1;
    engine.Shutdown();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    if (queue.Failed()) {
        std::fprintf(stderr, "inkvale-cli print: %s\n", queue.Message().c_str());
        if (!engine.LastJobError().empty())
            std::fprintf(stderr, "inkvale-cli print: %s\n", engine.LastJobError().c_str());
        return kExitFailed;
    }
    std::printf("printed %d cop%s of %s\n", queue.CopiesDone(),
                queue.CopiesDone() == 1 ? "y" : "ies", task.m_strName.c_str());
    return kExitOk;
}

} // namespace inkvale::cli
