// SPDX-License-Identifier: GPL-3.0-or-later
// inkvale-cli print FILE [--copies N] [--from-band N]: prints one task through the machine
// link of the settings with the application core: the file becomes a task of the opened
// list with its copies, and the core's scheduler prints it copy after copy, with the backups
// and history rows of the settings, as the desktop program does.
// inkvale-cli resume: continues the installation's interrupted job.

#include "CliBandJob.h"
#include "CliCommand.h"
#include "CliHomeLock.h"
#include "CliText.h"

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "config/SettingsStore.h"
#include "core/InkvaleCore.h"
#include "core/LoopHandOff.h"
#include "machine/engine/EngineHost.h"
#include "machine/engine/JobActiveTime.h"
#include "machine/engine/JobJournal.h"
#include "machine/engine/PrintEngine.h"
#include "machine/link/LinkRefusal.h"
#include "machine/link/MachineLinks.h"
#include "machine/link/MachineStatus.h"
#include "model/OnePage.h"
#include "model/TaskDrawingLoader.h"
#include "queue/InterruptedJob.h"

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
#include <optional>
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
    int64_t m_nFromBand = 0;
    int m_nLinkWaitS = 0; ///< 0: the engine's own limit
};

// A whole number from nMin to nMax, nothing else.
bool ParseCount(const std::string& s, long nMin, long nMax, long& n) {
    char* pEnd = nullptr;
    n = std::strtol(s.c_str(), &pEnd, 10);
    return !s.empty() && *pEnd == '\0' && n >= nMin && n <= nMax;
}

// --link-wait S, shared by print and resume; false when a is not it or its value is wrong.
bool ParseLinkWait(const CCliContext& ctx, size_t& i, CPrintArgs& args, bool& bBad) {
    if (ctx.m_args[i] != "--link-wait")
        return false;
    long n = 0;
    bBad = i + 1 >= ctx.m_args.size() || !ParseCount(ctx.m_args[++i], 1, 3600, n);
    args.m_nLinkWaitS = static_cast<int>(n);
    return true;
}

bool ParseArgs(const CCliContext& ctx, CPrintArgs& args) {
    for (size_t i = 0; i < ctx.m_args.size(); ++i) {
        const std::string& a = ctx.m_args[i];
        bool bBad = false;
        long n = 0;
        if (ParseLinkWait(ctx, i, args, bBad)) {
            if (bBad)
                return false;
        } else if (a == "--copies" && i + 1 < ctx.m_args.size()) {
            if (!ParseCount(ctx.m_args[++i], 1, 9999, n))
                return false;
            args.m_nCopies = static_cast<int>(n);
        } else if (a == "--from-band" && i + 1 < ctx.m_args.size()) {
            if (!ParseCount(ctx.m_args[++i], 0, INT32_MAX, n))
                return false;
            args.m_nFromBand = n;
        } else if (args.m_strFile.empty() && !a.starts_with("-")) {
            args.m_strFile = a;
        } else {
            return false;
        }
    }
    return !args.m_strFile.empty();
}

/// The command line's view of the core: texts the program would show go to stderr, and
/// the end of every job is counted.
class CCliQueueView : public CQueueView {
public:
    explicit CCliQueueView(int32_t nLanguage) : m_nLanguage(nLanguage) {}
    void RefreshTaskList() override {}
    void SelectRow(int) override {}
    void Redraw() override {}
    void AutoModeOff() override {}
    void ShowMessage(const CMessage& message) override {
        const std::string strText = CliText(message, m_nLanguage);
        std::fprintf(stderr, "\n%s\n", strText.c_str());
        if (m_strFirstMessage.empty())
            m_strFirstMessage = strText;
    }
    void JobEnded(int nResult) override {
        m_nLastResult = nResult;
        if (nResult == kJobSuccess)
            ++m_nCopiesDone;
        else
            m_bJobFailed = true;
    }

    int32_t m_nLanguage;
    int m_nCopiesDone = 0;
    int m_nLastResult = -1; ///< the last job's end; -1 before any
    bool m_bJobFailed = false;
    std::string m_strFirstMessage; ///< the first text shown, e.g. why a job was refused
};

/// One run of `print`: the task in the opened list, printed by the core's scheduler copy
/// after copy, as the window prints a queued task.
struct CPrintRun {
    /// pTask: the task to print; nullptr to continue a job of the ledger.
    CPrintRun(CInkvaleCore& core, CCliQueueView& view, COnePage* pTask, int nCopies)
        : m_core(core), m_view(view), m_pTask(pTask), m_nCopies(nCopies) {}

    CInkvaleCore& m_core;
    CCliQueueView& m_view;
    COnePage* m_pTask;
    int m_nCopies;
    /// resume: the job to continue ("" when only owed copies are left), its record, and
    /// whether the machine may be told to drop a job it still holds.
    std::string m_strResumeDir;
    CJobRecord m_resumed;
    bool m_bStopHeldJob = false;
    bool m_bStopSent = false;
    int m_nShownDone = 0;
    bool m_bResumeSent = false;
    bool m_bDone = false;
    bool m_bFailed = false;
    std::string m_strMessage;
    CJobActiveTime m_jobTime; ///< the job's time without the machine's silences
    size_t m_nTailDrawn = 0;  ///< length of the silence text on the line drawn last

    void Fail(const std::string& strWhy) {
        if (m_strMessage.empty())
            m_strMessage = strWhy;
        m_bFailed = m_bDone = true;
    }
};

std::string FormatDuration(double dSeconds) {
    const long n = static_cast<long>(dSeconds + 0.5);
    char sz[32];
    std::snprintf(sz, sizeof sz, "%ld:%02ld:%02ld", n / 3600, n / 60 % 60, n % 60);
    return sz;
}

// "copy 1/2 [#####-----] 12/40 bands  30.00%  left 0:00:42", and while the machine is
// silent "  the plotter does not answer since 14:02:11" with the time left standing still.
void DrawProgress(CPrintRun& run) {
    const CPrintEngine& engine = run.m_core.Engine();
    const int32_t nBands = engine.State().m_nBandCount;
    // Between jobs the line keeps the last job's count: a printed job's every band.
    if (engine.JobRunning())
        run.m_nShownDone = engine.State().m_nBandsDone.load();
    else if (run.m_view.m_nLastResult == kJobSuccess)
        run.m_nShownDone = nBands;
    const int32_t nDone = std::min(run.m_nShownDone, nBands);
    const double dShare = nBands > 0 ? static_cast<double>(nDone) / nBands : 0.0;
    const int nFilled = static_cast<int>(dShare * kBarWidth);
    std::string bar(static_cast<size_t>(nFilled), '#');
    bar.resize(kBarWidth, '-');
    std::string left = "--:--:--";
    if (nDone > 0 && engine.JobRunning()) {
        const double dElapsed = run.m_jobTime.Seconds(CSteady::now());
        left = FormatDuration(dElapsed / nDone * (nBands - nDone));
    }
    const std::time_t tSilentSince = engine.SilentSince();
    std::string strTail =
        tSilentSince != 0 ? " " + PlotterSilentText(tSilentSince, run.m_view.m_nLanguage) : "";
    const size_t nTail = strTail.size();
    // Blanks over the rest of a longer silence text drawn before.
    strTail.resize(std::max(nTail, run.m_nTailDrawn), ' ');
    run.m_nTailDrawn = nTail;
    const int nCopy = std::min(run.m_view.m_nCopiesDone + 1, run.m_nCopies);
    std::fprintf(stderr, "\rcopy %d/%d [%s] %d/%d bands %6.2f%%  left %s %s", nCopy, run.m_nCopies,
                 bar.c_str(), nDone, nBands, dShare * 100.0, left.c_str(), strTail.c_str());
    std::fflush(stderr);
}

// The copies the resumed job's record says were still owed print after it, as a task of
// their own, when the file is the one the job printed.
void AddOwedCopies(CPrintRun& run) {
    const CJobRecord& r = run.m_resumed;
    if (run.m_core.Engine().HasUnfinishedJobs()) {
        // Another job waits for its decision first; the printed job's record keeps the
        // copies for the next resume.
        std::fprintf(stderr,
                     "\n%d cop%s of %s still owed: 'inkvale-cli resume' prints them once "
                     "the other unfinished jobs are done\n",
                     r.m_nCopiesOwed, r.m_nCopiesOwed == 1 ? "y" : "ies", r.m_strTaskName.c_str());
        run.m_bDone = true;
        return;
    }
    uint64_t nHash = 0;
    int64_t nSize = 0;
    if (!HashFile(r.m_strFilePath, nHash, nSize) || nHash != r.m_nFileHash ||
        nSize != r.m_nFileSize) {
        run.Fail(r.m_strFilePath + " changed or is gone since the job started; the " +
                 std::to_string(r.m_nCopiesOwed) + " copies still owed were not printed");
        return;
    }
    run.m_core.Queue().AddFiles({r.m_strFilePath});
    CTaskList& opened = run.m_core.Doc().m_arrOpened;
    if (opened.empty() || !LoadTaskDrawing(*opened.back(), run.m_core.Settings(), true).Ok()) {
        run.Fail(r.m_strFilePath + " cannot be read for the copies still owed");
        return;
    }
    run.m_pTask = opened.back().get();
    run.m_pTask->m_nCopies = r.m_nCopiesOwed;
    run.m_pTask->m_bQueued = 1;
    std::fprintf(stderr, "\nprinting the %d cop%s still owed of %s\n", r.m_nCopiesOwed,
                 r.m_nCopiesOwed == 1 ? "y" : "ies", r.m_strTaskName.c_str());
}

// The machine is still in the job whose host died: nothing can start until it drops it.
bool HandleHeldJob(CPrintRun& run) {
    CPrintEngine& engine = run.m_core.Engine();
    if (!engine.MachineHoldsDeadJob())
        return false;
    if (!run.m_bStopHeldJob) {
        run.Fail(CliText({EMsg::kMachineHoldsJob, {}}, run.m_view.m_nLanguage) +
                 " ('inkvale-cli resume --stop' stops it from here)");
    } else if (!run.m_bStopSent) {
        run.m_bStopSent = true;
        std::fprintf(stderr, "\nthe plotter was still in the interrupted job: stopping it\n");
        if (!engine.StopMachineJob())
            run.Fail("the plotter did not take the Stop command");
    }
    return true;
}

// Continues the job once the machine is online and ready, as the scheduler starts a task.
void CheckResume(CPrintRun& run) {
    CPrintEngine& engine = run.m_core.Engine();
    if (run.m_bResumeSent || engine.State().m_nMachineOnline == 0 || HandleHeldJob(run) ||
        engine.MachineState() != kStateReady)
        return;
    run.m_bResumeSent = true;
    const CJobStartResult started = run.m_core.ResumeJob(run.m_strResumeDir);
    if (started.m_nCode == -5) {
        // Every band was confirmed: the job printed; only its end went unseen.
        std::fprintf(stderr, "\nevery band of %s was printed already\n",
                     run.m_resumed.m_strTaskName.c_str());
        ++run.m_view.m_nCopiesDone;
        run.m_view.m_nLastResult = kJobSuccess;
        return;
    }
    if (!started.Ok()) {
        for (const CMessage& message : started.m_arrMessages)
            run.m_view.ShowMessage(message);
        run.Fail(started.m_strDiag);
    }
}

// After each turn of the loop: has the run ended, and how?
void CheckRun(CPrintRun& run, CSteady::time_point tStart) {
    const CPrintEngine& engine = run.m_core.Engine();
    run.m_jobTime.Tick(engine.JobRunning(), engine.SilentSince() != 0, CSteady::now());
    if (run.m_view.m_bJobFailed) {
        // The size check's text is what the program shows; it says more than the failure.
        run.Fail(!run.m_view.m_strFirstMessage.empty()
                     ? run.m_view.m_strFirstMessage
                     : "copy " + std::to_string(run.m_view.m_nCopiesDone + 1) + " failed");
        return;
    }
    if (run.m_view.m_nCopiesDone >= run.m_nCopies) {
        run.m_bDone = true;
        return;
    }
    if (run.m_pTask == nullptr && run.m_view.m_nCopiesDone == 0 && !run.m_strResumeDir.empty()) {
        CheckResume(run);
    } else if (run.m_pTask == nullptr) {
        if (!engine.JobRunning())
            AddOwedCopies(run);
    } else if (!engine.JobRunning() && run.m_pTask->m_nPrintState == PS_WAITING &&
               run.m_pTask->m_bQueued == 0) {
        // The queue takes a task off the queue once it has tried to start it; a task left
        // waiting without a job was refused (by the machine, or for want of a ledger).
        run.Fail(!run.m_view.m_strFirstMessage.empty() ? run.m_view.m_strFirstMessage
                                                       : "the machine did not accept the job");
    } else if (!engine.JobRunning() && engine.State().m_nMachineOnline != 0 &&
               run.m_view.m_nCopiesDone == 0 && HandleHeldJob(run)) {
        // A new job waits for a machine that still holds a dead one: said at once.
        if (run.m_bStopHeldJob)
            return;
    }
    // A refused address stays refused: no point waiting for the machine to answer.
    const CLinkRefusal refusal = run.m_core.Links().Status().m_linkRefusal.Load();
    if (run.m_view.m_nCopiesDone == 0 && !engine.JobRunning() && refusal.Refused())
        run.Fail(LinkRefusalText(refusal));
    // A job whose machine went silent waits for it up to the link-lost limit instead.
    if (run.m_view.m_nCopiesDone == 0 && !engine.JobRunning() &&
        engine.State().m_nMachineOnline == 0 && CSteady::now() - tStart > kOnlineTimeout)
        run.Fail("the machine does not answer");
}

// The core's loop until every copy has printed, a copy failed, the link refused the
// machine's address, or the operator interrupted; the engine's threads drive it as they
// drive the program.
void RunLoop(CLoopHandOff& handOff, CPrintRun& run) {
    const auto tStart = CSteady::now();
    auto tDrawn = tStart;
    while (!run.m_bDone) {
        handOff.RunOnce(std::chrono::milliseconds(50));
        if (g_nInterrupted) {
            // A running job ends as failed when the core shuts down.
            run.Fail("interrupted");
            break;
        }
        CheckRun(run, tStart);
        if (CSteady::now() - tDrawn >= kRedrawEvery) {
            DrawProgress(run);
            tDrawn = CSteady::now();
        }
    }
    DrawProgress(run);
    std::fputc('\n', stderr);
}

// Loads the task's drawing before anything is started, so that a file that cannot be
// printed is reported with the program's texts and the reason.
bool LoadForPrint(COnePage& task, const CSettings& settings) {
    const CTaskLoadResult loaded = LoadTaskDrawing(task, settings, true);
    if (loaded.Ok())
        return true;
    PrintMessages(loaded, settings.Language);
    std::fprintf(stderr, "inkvale-cli print: %s\n", loaded.m_strDiag.c_str());
    return false;
}

// Where this run's unfinished job stands, and how to continue it.
void TellResume(CInkvaleCore& core, const char* pszCommand) {
    const std::string strDir = core.Engine().CurrentJobDir();
    if (strDir.empty())
        return;
    const CJobLoad load = CJobJournal::LoadRecord(strDir);
    if (!load.Ok() || load.m_record.Printed())
        return;
    const CJobRecord& r = load.m_record;
    std::fprintf(stderr,
                 "inkvale-cli %s: the job stopped after %lld of %lld bands (%.1f m of %.1f m "
                 "printed); 'inkvale-cli resume' continues it\n",
                 pszCommand, static_cast<long long>(r.m_nConfirmed),
                 static_cast<long long>(r.m_nBandCount),
                 FeedLengthMm(r.m_params, r.m_nConfirmed) / 1000.0,
                 FeedLengthMm(r.m_params, r.m_nBandCount) / 1000.0);
}

// An unfinished job of the home comes first: printing another would leave its decision
// to nobody. False (and why on stderr) when one waits.
bool NoJobWaits(CInkvaleCore& core, const char* pszCommand) {
    core.Engine().RefreshLedger();
    const std::optional<CInterruptedJob> job = FindInterruptedJob(core.Engine().UnfinishedJobs());
    if (!job)
        return true;
    const std::string strId = JobIdOf(job->m_strJobDir);
    if (!job->m_strDamage.empty())
        std::fprintf(stderr, "inkvale-cli %s: the unfinished job %s is damaged (%s)\n", pszCommand,
                     strId.c_str(), job->m_strDamage.c_str());
    else
        std::fprintf(stderr,
                     "inkvale-cli %s: the job of %s did not finish (band %lld of %lld); nothing "
                     "else prints until 'inkvale-cli resume' continues it or 'inkvale-cli jobs "
                     "--discard %s' forgets it\n",
                     pszCommand, job->m_record.m_strTaskName.c_str(),
                     static_cast<long long>(job->m_nResumeBand),
                     static_cast<long long>(job->m_record.m_nBandCount), strId.c_str());
    return false;
}

// The settings and the core's view for print and resume: the run prints only what it is
// given, so automatic mode and the hot folders stay off.
CSettings LoadCliSettings(const CCliContext& ctx, CMachineParams& params) {
    CSettings settings;
    const CSettingsLoadResult settingsRead = LoadSettings(settings, params, ctx.m_strHome);
    PrintMessages(settingsRead, settings.Language);
    params.ResetMachineParams();
    settings.AutoStartEnable = 0;
    return settings;
}

// Runs the core's loop for the run and shuts it down; the exit status.
int Drive(CInkvaleCore& core, CLoopHandOff& handOff, CPrintRun& run, const char* pszCommand) {
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    core.StartServices();
    RunLoop(handOff, run);
    handOff.Stop();
    core.Shutdown();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    if (!run.m_bFailed)
        return kExitOk;
    std::fprintf(stderr, "inkvale-cli %s: %s\n", pszCommand, run.m_strMessage.c_str());
    if (!core.Engine().LastJobError().empty())
        std::fprintf(stderr, "inkvale-cli %s: %s\n", pszCommand,
                     core.Engine().LastJobError().c_str());
    TellResume(core, pszCommand);
    return kExitFailed;
}

void SetLinkWait(CInkvaleCore& core, const CPrintArgs& args) {
    if (args.m_nLinkWaitS > 0)
        core.Engine().SetLinkLostLimit(std::chrono::seconds(args.m_nLinkWaitS));
}

} // namespace

int RunPrint(const CCliContext& ctx) {
    CPrintArgs args;
    if (!ParseArgs(ctx, args))
        return CommandUsageError("print");
    const CInstanceLock lock = TakeHomeLock(ctx.m_strHome, "print");
    if (!lock.Acquired())
        return kExitFailed;
    CMachineParams params;
    CSettings settings = LoadCliSettings(ctx, params);
    CCliQueueView view(settings.Language);
    CLoopHandOff handOff(settings);
    CInkvaleCore core(settings, params, view, handOff);
    core.Queue().EnableFolderScans(false);
    if (!NoJobWaits(core, "print"))
        return kExitFailed;
    core.Queue().AddFiles({args.m_strFile});
    CTaskList& opened = core.Doc().m_arrOpened;
    if (opened.empty()) {
        std::fprintf(stderr, "inkvale-cli print: %s was not added to the queue\n",
                     args.m_strFile.c_str());
        return kExitFailed;
    }
    COnePage& task = *opened.back();
    if (!LoadForPrint(task, settings))
        return kExitFailed;
    EnsureCliFonts();
    task.m_nCopies = args.m_nCopies;
    task.m_bQueued = 1;
    SetLinkWait(core, args);
    core.Engine().StartNextJobAt(args.m_nFromBand);
    std::fprintf(stderr, "printing %s to the machine at %s, %d cop%s\n", task.m_strName.c_str(),
                 FormatMachineIP(params.MachineIP()).c_str(), args.m_nCopies,
                 args.m_nCopies == 1 ? "y" : "ies");
    if (args.m_nFromBand > 0)
        std::fprintf(stderr, "starting at band %lld\n", static_cast<long long>(args.m_nFromBand));
    CPrintRun run(core, view, &task, args.m_nCopies);
    const int nExit = Drive(core, handOff, run, "print");
    if (nExit == kExitOk)
        std::printf("printed %d cop%s of %s\n", view.m_nCopiesDone,
                    view.m_nCopiesDone == 1 ? "y" : "ies", task.m_strName.c_str());
    return nExit;
}

namespace {

bool ParseResumeArgs(const CCliContext& ctx, CPrintArgs& args, bool& bStop) {
    for (size_t i = 0; i < ctx.m_args.size(); ++i) {
        bool bBad = false;
        if (ctx.m_args[i] == "--stop")
            bStop = true;
        else if (!ParseLinkWait(ctx, i, args, bBad) || bBad)
            return false;
    }
    return true;
}

// What resume continues: the oldest unfinished job, else the copies a printed job still
// owes. False (why on stderr) when there is nothing, or the job's record is damaged.
bool ChooseResume(CInkvaleCore& core, const CCliContext& ctx, CPrintRun& run) {
    CPrintEngine& engine = core.Engine();
    engine.RefreshLedger();
    const std::vector<std::string> unfinished = engine.UnfinishedJobs();
    if (!unfinished.empty()) {
        const CJobLoad load = CJobJournal::LoadRecord(unfinished.front());
        if (!load.Ok()) {
            std::fprintf(stderr,
                         "inkvale-cli resume: %s\n'inkvale-cli jobs --discard %s' forgets it\n",
                         load.m_strDiag.c_str(), JobIdOf(unfinished.front()).c_str());
            return false;
        }
        run.m_strResumeDir = unfinished.front();
        run.m_resumed = load.m_record;
        return true;
    }
    for (const std::string& strDir : engine.PrintedJobDirs()) {
        const CJobLoad load = CJobJournal::LoadRecord(strDir);
        if (load.Ok() && load.m_record.m_nCopiesOwed > 0) {
            run.m_resumed = load.m_record;
            return true;
        }
    }
    std::fprintf(stderr, "inkvale-cli resume: nothing to resume in %s\n", ctx.m_strHome.c_str());
    return false;
}

} // namespace

int RunResume(const CCliContext& ctx) {
    CPrintArgs args;
    bool bStop = false;
    if (!ParseResumeArgs(ctx, args, bStop))
        return CommandUsageError("resume");
    const CInstanceLock lock = TakeHomeLock(ctx.m_strHome, "resume");
    if (!lock.Acquired())
        return kExitFailed;
    CMachineParams params;
    CSettings settings = LoadCliSettings(ctx, params);
    CCliQueueView view(settings.Language);
    CLoopHandOff handOff(settings);
    CInkvaleCore core(settings, params, view, handOff);
    core.Queue().EnableFolderScans(false);
    CPrintRun run(core, view, nullptr, 1);
    run.m_bStopHeldJob = bStop;
    if (!ChooseResume(core, ctx, run))
        return kExitFailed;
    const CJobRecord& r = run.m_resumed;
    run.m_nCopies = (run.m_strResumeDir.empty() ? 0 : 1) + r.m_nCopiesOwed;
    EnsureCliFonts();
    SetLinkWait(core, args);
    if (!run.m_strResumeDir.empty()) {
        // Band numbers count from 0: N is the first band sent.
        std::fprintf(stderr, "resuming at band %lld of %lld\n",
                     static_cast<long long>(ResumeBandOf(r.m_params, r.m_nConfirmed)),
                     static_cast<long long>(r.m_nBandCount));
        std::fprintf(stderr, "continuing %s on the machine at %s\n", r.m_strTaskName.c_str(),
                     FormatMachineIP(params.MachineIP()).c_str());
    }
    const int nExit = Drive(core, handOff, run, "resume");
    if (nExit == kExitOk)
        std::printf("printed the rest of %s\n", r.m_strTaskName.c_str());
    return nExit;
}

} // namespace inkvale::cli
