// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/engine/BandSender.h"
#include "machine/engine/EngineClock.h"
#include "machine/engine/EngineHost.h"
#include "machine/engine/EngineLink.h"
#include "machine/engine/EngineState.h"
#include "machine/engine/EngineThreads.h"
#include "machine/engine/JobJournal.h"
#include "machine/engine/ManualCommands.h"
#include "model/OnePage.h"
#include "raster/BandSource.h"
#include "support/Result.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace inkvale {

class CMachineParams;
class CMachineCommands;
struct CMachineStatus;
struct CSettings;

/// Outcome of a job start: 0 when the machine accepted the job and the band sender runs,
/// -1 otherwise, with why in the diagnostic; EMsg::kJobTooWide for the operator when the
/// job did not fit the carriage.
using CJobStartResult = CResult;

/// The print engine as the task queue uses it: the machine's state byte, the job start and
/// the end of the job-finished handling. The print engine is the program's; queue tests
/// stand in a scripted one. Window thread.
class IQueueEngine {
public:
    virtual ~IQueueEngine() = default;
    /// `MachineState`: the machine's last reported state byte (kStateReady = 1).
    virtual uint8_t MachineState() const = 0;
    /// `StartPrintJob`: 0 when the machine accepted the job; a text to show on refusal.
    virtual CJobStartResult StartPrintJob(COnePage& task) = 0;
    /// Empties the working page and clears the job, so the next task may start.
    virtual void ClearJob() = 0;
    /// The engine's wait (shortened in tests).
    virtual void SleepMs(int nMs) = 0;
    /// Continues an unfinished job of the ledger (see CPrintEngine::ResumeJob); an engine
    /// without a ledger has none to continue.
    virtual CJobStartResult ResumeJob(const std::string& strJobDir = {}) {
        (void)strJobDir;
        return CResult::Failure(-1, "there is no unfinished job to continue");
    }
    /// The ledger's Jobs/ folder; "" when there is none.
    virtual std::string JournalDir() const { return {}; }
    /// Jobs of the ledger that did not finish and are not running here: while there is
    /// one, nothing else may start (the operator decides first).
    virtual bool HasUnfinishedJobs() const { return false; }
    /// Their folders, oldest first.
    virtual std::vector<std::string> UnfinishedJobs() const { return {}; }
    /// The queue has dealt with the end of a printed job (copies counted, file disposed of).
    virtual void PrintedJobHandled() {}
    /// The folder of the running (or last) job; "" when none.
    virtual std::string CurrentJobDir() const { return {}; }
};

/// The print engine: turns one print task into a machine job, streams its bands from a
/// band sender thread, and runs the service threads that keep the host's picture of the
/// machine up to date. It reaches the window thread only through IEngineHost.
///
/// Threads: StartPrintJob, ClearJob, StartEngineThreads and Shutdown on the window
/// thread; everything else reads shared atomics and may be called from any thread.
class CPrintEngine : public IQueueEngine {
public:
    /// Every reference must outlive the engine. The settings are read at job start on the
    /// window thread; their closing flag by every thread.
    CPrintEngine(const CSettings& settings, CMachineParams& params, CMachineCommands& commu,
                 CMachineStatus& status, IEngineHost& host, IBandSourceFactory& bands,
                 IEngineClock& clock = SystemEngineClock());
    /// Stops and joins every thread (as Shutdown).
    ~CPrintEngine() override;
    CPrintEngine(const CPrintEngine&) = delete;
    CPrintEngine& operator=(const CPrintEngine&) = delete;

    /// `StartPrintJob`: copies and prepares the task's drawing, counts its bands, checks
    /// the carriage width (refusal: job finished with failure through the host, and the
    /// message in the result), sends the job header (refusal: -1, silently), writes the
    /// optional backup and history row, and starts the band sender; the task's print state
    /// becomes PS_PRINTING. Refused at once while a job runs. Window thread only.
    CJobStartResult StartPrintJob(COnePage& task) override;
    /// StartPrintJob from band nFirstBand of the job on (0 <= nFirstBand < its band count),
    /// for an operator who knows where the paper ran out: the machine is sent a job of the
    /// remaining bands, which come out exactly as in the whole job. Window thread only.
    CJobStartResult StartPrintJobFrom(COnePage& task, int64_t nFirstBand);
    /// The next StartPrintJob starts from this band (once; then from band 0 again).
    void StartNextJobAt(int64_t nFirstBand) { m_nNextFirstBand = nFirstBand; }
    /// Continues the unfinished job of the journal from the first band the machine did not
    /// confirm, as a job of the remaining bands. Refused, with why, when there is none, when
    /// the drawing's file changed since, or when the machine's head parameters did.
    /// Window thread only.
    CJobStartResult ResumeJob(const std::string& strJobDir = {}) override;
    /// The ledger's Jobs/ folder ("" when the installation directory is unknown).
    std::string JournalDir() const override;

    /// Reads the ledger again: which jobs are unfinished, which printed ones still wait
    /// for their end to be dealt with. Owning thread; at start-up and after a decision.
    void RefreshLedger();
    /// The unfinished jobs as the last RefreshLedger (or job end) found them: job folders,
    /// oldest first.
    std::vector<std::string> UnfinishedJobs() const override { return m_unfinished; }
    bool HasUnfinishedJobs() const override { return !m_unfinished.empty(); }
    /// Printed jobs whose folder stays until their end is safe: with bHold, until
    /// SettlePrintedJobs (a front end that saves its lists calls it once the save that
    /// follows the job's end is on the disk); without, as soon as the queue handled the end.
    void HoldPrintedJobs(bool bHold) { m_bHoldPrinted = bHold; }
    void PrintedJobHandled() override;
    /// Removes the folders of the printed jobs held so far (all, or those owing no copy).
    void SettlePrintedJobs(bool bOwingToo = true);
    /// Removes the folders of these printed jobs.
    void SettlePrintedJobs(const std::vector<std::string>& dirs);
    bool HasPrintedToSettle() const { return !m_printed.empty(); }
    /// Forgets an unfinished job (the operator's Discard).
    bool DiscardJob(const std::string& strJobDir);
    /// The folders of printed jobs whose end is still being dealt with.
    std::vector<std::string> PrintedJobDirs() const;
    /// The machine is online and still in a job (printing, paused, busy with it) although
    /// no job of this program runs: a job whose host died, that nothing will ever finish.
    bool MachineHoldsDeadJob() const;
    /// Tells the machine to drop the job it is in (the Stop button); false when the
    /// command did not go through.
    bool StopMachineJob();
    /// Jobs started so far (new and continued ones), for a log that tells each start.
    uint64_t JobsStarted() const { return m_nJobsStarted.load(); }
    /// The job folder of the running (or last) job; "" when none.
    std::string CurrentJobDir() const override { return m_journal.JobDir(); }
    /// The end of the job-finished handling: empties the working page and marks that no
    /// job runs, so the scheduler may start the next. Window thread only (it may be called
    /// from inside IEngineHost::JobFinished).
    void ClearJob() override;
    /// The machine's last reported state byte.
    uint8_t MachineState() const override { return m_link.MachineState(); }
    /// Waits on the engine's clock (a test clock makes it instant).
    void SleepMs(int nMs) override;
    /// Waits until the band sender of the last job has ended (it ends right after its
    /// job-finished message returns) and gives its times. Window thread, after ClearJob.
    CBandSenderTimes JoinFinishedJob();
    /// Why the last joined job failed on the host's side ("" when it did not), e.g. a band
    /// that could not be produced. Window thread, after JoinFinishedJob.
    const std::string& LastJobError() const { return m_strLastError; }
    /// `JobThread` is set: a job runs.
    bool JobRunning() const { return m_link.JobRunning(); }

    /// Starts the monitor, scheduler and folder-poll threads. Window thread, once.
    void StartEngineThreads();
    /// Ends every loop as the closing flag does and waits for all engine threads. A job
    /// still running ends as failed (its job-finished message still goes to the host).
    void Shutdown();

    /// What the command bar's manual commands test (state byte, online, job running).
    CCommandBarState CommandBarState() const {
        return {m_link.MachineState(), m_state.m_nMachineOnline != 0, JobRunning()};
    }

    /// How long the machine may go without answering during a job before the job fails
    /// (two minutes; tests shorten it). Window thread, between jobs.
    void SetLinkLostLimit(std::chrono::milliseconds limit) { m_linkLostLimit = limit; }
    /// How soon the monitor marks a silent machine offline during a job (tests shorten
    /// it); taken at the next job's start. Any thread.
    void SetSilenceLimits(const CSilenceLimits& limits) { m_services.SetSilenceLimits(limits); }
    /// The local time the machine last answered while it is silent during a job; 0 while it
    /// answers (and outside a job).
    std::time_t SilentSince() const {
        return JobRunning() ? static_cast<std::time_t>(m_state.m_nSilentSince.load()) : 0;
    }

    /// Progress of the running job: LastBandDone x 100 / BandCount, 0 when BandCount is 0.
    double ProgressPercent() const;

    CEngineLink& Link() { return m_link; }
    CEngineState& State() { return m_state; }
    const CEngineState& State() const { return m_state; }
    CEngineThreads& Services() { return m_services; }
    /// `WorkPage`: the running job's prepared copy of its task.
    const COnePage& WorkPage() const { return m_work; }

    /// Wait before the job header and the two short waits after it, milliseconds.
    static constexpr int kBeforeHeaderMs = 300;
    static constexpr int kShortWaitMs = 4;

private:
    /// A prepared job: the page in m_work, its band parameters, width and whole band count.
    struct CJobPlan {
        CBandParams m_params;
        int32_t m_nJobWidth = 0;
        int64_t m_nBandCount = 0;
    };
    CJobStartResult LaunchJob(const CJobPlan& plan, const CJobRecord& record,
                              const COnePage* pTask);
    CJobStartResult RefuseOversize();
    void SettleEarlierCopies(const std::string& strTaskPath);
    void WriteBackupAndHistory(const COnePage& task);
    void StartSender(std::unique_ptr<IBandSource> source, int32_t nBandCount, int64_t nFirstBand);

    const CSettings& m_settings;
    CMachineParams& m_params;
    IEngineHost& m_host;
    IBandSourceFactory& m_bands;
    CEngineState m_state;
    CEngineLink m_link;
    CEngineThreads m_services;
    COnePage m_work;
    std::unique_ptr<CBandSender> m_pSender;
    std::thread m_sender;
    CBandSenderTimes m_lastTimes;
    std::string m_strLastError;
    std::chrono::milliseconds m_linkLostLimit = CBandSender::kDefaultLinkLostLimit;
    CJobJournal m_journal;
    int64_t m_nNextFirstBand = 0;
    std::vector<std::string> m_unfinished;
    struct CPrintedJob {
        std::string m_strDir;
        std::string m_strTaskPath;
        int32_t m_nCopiesOwed = 0;
    };
    std::vector<CPrintedJob> m_printed;
    bool m_bHoldPrinted = false;
    std::atomic<uint64_t> m_nJobsStarted{0};
};

} // namespace inkvale
