// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/engine/PrintEngine.h"

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "machine/engine/JobSetup.h"
#include "model/HistoryRow.h"
#include "model/TaskPaths.h"
#include "raster/BandParams.h"
#include "support/AtomicFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <ctime>
#include <limits>
#include <utility>

namespace inkvale {

CPrintEngine::CPrintEngine(const CSettings& settings, CMachineParams& params, CMachineCommands& commu,
                           CMachineStatus& status, IEngineHost& host, IBandSourceFactory& bands,
                           IEngineClock& clock)
    : m_settings(settings), m_params(params), m_host(host), m_bands(bands),
      m_link(settings, params, commu, status, m_state, clock), m_services(m_link, host) {}

CPrintEngine::~CPrintEngine() {
    Shutdown();
}

namespace {

// The machine's band k of a job that starts at band nFirst of the whole job.
class CShiftedBandSource : public IBandSource {
public:
    CShiftedBandSource(std::unique_ptr<IBandSource> inner, int64_t nFirst)
        : m_pInner(std::move(inner)), m_nFirst(nFirst) {}
    CBandOutput RenderBand(int64_t k) override { return m_pInner->RenderBand(m_nFirst + k); }

private:
    std::unique_ptr<IBandSource> m_pInner;
    int64_t m_nFirst;
};

// Whether the machine places band data as it did for a job of these parameters.
bool SameHeadLayout(const CBandParams& a, const CBandParams& b) {
    return a.m_nHeadCombination == b.m_nHeadCombination && a.m_nLineWidthPx == b.m_nLineWidthPx &&
           a.m_nXDotsPerMetre == b.m_nXDotsPerMetre && a.m_arrHeadPos == b.m_arrHeadPos &&
           a.m_arrHeadOverlap == b.m_arrHeadOverlap && a.m_arrReturnJoin == b.m_arrReturnJoin &&
           a.m_bBidirectional == b.m_bBidirectional && a.m_nInkColumns == b.m_nInkColumns &&
           a.m_nMarginLeftMm == b.m_nMarginLeftMm && a.m_nMarginRightMm == b.m_nMarginRightMm &&
           a.m_nEdgeAdjustLeft == b.m_nEdgeAdjustLeft &&
           a.m_nEdgeAdjustRight == b.m_nEdgeAdjustRight && a.m_bPreciseMode == b.m_bPreciseMode;
}

} // namespace

std::string CPrintEngine::JournalDir() const {
    return m_settings.m_strInstallDir.empty() ? std::string()
                                              : m_settings.m_strInstallDir + "Jobs/";
}

CJobStartResult CPrintEngine::StartPrintJob(COnePage& task) {
    return StartPrintJobFrom(task, std::exchange(m_nNextFirstBand, 0));
}

CJobStartResult CPrintEngine::StartPrintJobFrom(COnePage& task, int64_t nFirstBand) {
    // One job at a time; the sender of the previous job has handed its result over.
    if (JobRunning() || std::this_thread::get_id() == m_sender.get_id())
        return CResult::Failure(-1, "a job is running");
    JoinFinishedJob();
    m_journal = CJobJournal();
    // The job works on a snapshot: the monitor may store a fresh block meanwhile.
    const CMachineParams params(m_params);
    PrepareWorkPage(m_work, task, m_settings, params);
    CJobPlan plan;
    plan.m_params = MakeBandParams(params, m_settings);
    plan.m_params.m_tLabelTime = m_link.Clock().LabelTime();
    int32_t nJobWidth = m_state.m_nJobWidth;
    const int64_t nBands = CountJobBands(m_work, plan.m_params, nJobWidth);
    plan.m_nJobWidth = nJobWidth;
    plan.m_nBandCount = nBands;
    m_state.m_nJobWidth = nJobWidth;
    m_state.m_nBandCount =
        static_cast<int32_t>(std::min<int64_t>(nBands, std::numeric_limits<int32_t>::max()));
    if (!FitsCarriage(params, nJobWidth))
        return RefuseOversize();
    if (nBands > std::numeric_limits<int32_t>::max())
        return CResult::Failure(-1, "the job has more bands than the machine counts");
    if (nFirstBand < 0 || (nFirstBand > 0 && nFirstBand >= nBands))
        return CResult::Failure(-1, "band " + std::to_string(nFirstBand) +
                                        " is not a band of this job (it has " +
                                        std::to_string(nBands) + ")");
    plan.m_params.m_nFirstBand = nFirstBand;
    CJobRecord record;
    record.m_strTaskPath = task.m_strPath;
    record.m_strTaskName = task.m_strName;
    record.m_strFilePath = SourcePathOf(task.m_strPath);
    record.m_nBandCount = nBands;
    record.m_nJobWidth = nJobWidth;
    record.m_params = plan.m_params;
    record.m_nConfirmed = nFirstBand;
    // This copy is one of the task's copies; the rest are owed once it has printed.
    record.m_nCopiesOwed = std::max(task.m_nCopies, 1) - 1;
    record.m_tStarted = static_cast<int64_t>(m_link.Clock().Now());
    CJobStartResult result = LaunchJob(plan, record, &task);
    if (result.Ok())
        task.m_nPrintState = PS_PRINTING;
    return result;
}

void CPrintEngine::RefreshLedger() {
    m_unfinished.clear();
    const std::string strRunning = JobRunning() ? m_journal.JobDir() : std::string();
    for (const std::string& strDir : CJobJournal::ListJobs(JournalDir())) {
        if (strDir == strRunning)
            continue;
        const CJobLoad load = CJobJournal::LoadRecord(strDir);
        const bool bPrinted = load.Ok() && load.m_record.Printed();
        const bool bHeld = std::any_of(m_printed.begin(), m_printed.end(),
                                       [&](const CPrintedJob& p) { return p.m_strDir == strDir; });
        if (!bPrinted)
            m_unfinished.push_back(strDir); // a damaged one too: the operator decides
        else if (!bHeld)
            m_printed.push_back({strDir, load.m_record.m_strTaskPath, load.m_record.m_nCopiesOwed});
    }
}

void CPrintEngine::PrintedJobHandled() {
    const CJobRecord& r = m_journal.Record();
    const std::string strDir = m_journal.JobDir();
    if (!strDir.empty() && r.Printed() &&
        std::none_of(m_printed.begin(), m_printed.end(),
                     [&](const CPrintedJob& p) { return p.m_strDir == strDir; }))
        m_printed.push_back({strDir, r.m_strTaskPath, r.m_nCopiesOwed});
    if (!m_bHoldPrinted)
        SettlePrintedJobs(false);
}

// A printed job that still owed copies stays until the next copy's own record is on the
// disk (or the saved lists hold the copies): until then it is the only note of them.
void CPrintEngine::SettlePrintedJobs(bool bOwingToo) {
    std::erase_if(m_printed, [bOwingToo](const CPrintedJob& p) {
        if (!bOwingToo && p.m_nCopiesOwed > 0)
            return false;
        return CJobJournal::Remove(p.m_strDir) || !IsPlainFolder(p.m_strDir);
    });
}

std::vector<std::string> CPrintEngine::PrintedJobDirs() const {
    std::vector<std::string> dirs;
    for (const CPrintedJob& p : m_printed)
        dirs.push_back(p.m_strDir);
    return dirs;
}

bool CPrintEngine::MachineHoldsDeadJob() const {
    const uint8_t n = MachineState();
    return !JobRunning() && m_state.m_nMachineOnline != 0 &&
           (n == kStatePrinting || n == kStatePaused || n == kStateProcessing ||
            n == kStateFinishing);
}

bool CPrintEngine::StopMachineJob() {
    m_state.m_nOperatorStop = 1;
    return m_link.Commu().SendAction(kActStop) == 0;
}

void CPrintEngine::SettlePrintedJobs(const std::vector<std::string>& dirs) {
    std::erase_if(m_printed, [&dirs](const CPrintedJob& p) {
        return std::find(dirs.begin(), dirs.end(), p.m_strDir) != dirs.end() &&
               (CJobJournal::Remove(p.m_strDir) || !IsPlainFolder(p.m_strDir));
    });
}

bool CPrintEngine::DiscardJob(const std::string& strJobDir) {
    std::erase(m_unfinished, strJobDir);
    return CJobJournal::Remove(strJobDir);
}

CJobStartResult CPrintEngine::ResumeJob(const std::string& strJobDir) {
    if (JobRunning() || std::this_thread::get_id() == m_sender.get_id())
        return CResult::Failure(-1, "a job is running");
    JoinFinishedJob();
    if (strJobDir.empty() && m_unfinished.empty())
        RefreshLedger();
    const std::string strDir = !strJobDir.empty()     ? strJobDir
                               : m_unfinished.empty() ? std::string()
                                                      : m_unfinished[0];
    if (strDir.empty() || !IsPlainFolder(strDir))
        return CResult::Failure(-1, "there is no unfinished job to continue");
    CJobLoad load = CJobJournal::Load(strDir);
    if (!load.Ok())
        return CResult::Failure(-2, load.m_strDiag, {{EMsg::kResumeDamaged, {load.m_strDiag}}});
    CJobRecord& record = load.m_record;
    if (record.Printed()) {
        // The machine confirmed every band; only the end of the job went unseen.
        std::erase(m_unfinished, strDir);
        m_printed.push_back({strDir, record.m_strTaskPath, record.m_nCopiesOwed});
        return CResult::Failure(-5, "every band of the job was printed");
    }
    uint64_t nHash = 0;
    int64_t nSize = 0;
    // A drawing file that is gone no longer matters: the job's page is kept in the ledger.
    if (record.m_nFileSize >= 0 && HashFile(record.m_strFilePath, nHash, nSize) &&
        (nHash != record.m_nFileHash || nSize != record.m_nFileSize))
        return CResult::Failure(-3, record.m_strFilePath + " changed since the job started",
                                {{EMsg::kResumeFileChanged, {record.m_strFilePath}}});
    const CMachineParams params(m_params);
    if (!SameHeadLayout(MakeBandParams(params), record.m_params))
        return CResult::Failure(-4, "the machine's head parameters changed since the job started",
                                {{EMsg::kResumeHeadsChanged, {}}});
    if (!FitsCarriage(params, record.m_nJobWidth))
        return CResult::Failure(-1, "the job is wider than the carriage travel",
                                {{EMsg::kJobTooWide, {}}});
    const int64_t nFirst = ResumeBandOf(record.m_params, record.m_nConfirmed);
    m_work = std::move(load.m_page);
    record.m_params.m_nFirstBand = nFirst;
    record.m_nConfirmed = nFirst;
    const CJobPlan plan{record.m_params, record.m_nJobWidth, record.m_nBandCount};
    m_state.m_nJobWidth = plan.m_nJobWidth;
    m_state.m_nBandCount = static_cast<int32_t>(plan.m_nBandCount - nFirst);
    CJobStartResult result = LaunchJob(plan, record, nullptr);
    if (result.Ok())
        std::erase(m_unfinished, strDir);
    return result;
}

// The job's record is on the disk before the machine hears of the job: no band goes out
// that the ledger does not know of. The job header announces the bands from the plan's
// first band on; the band sender starts once the machine has accepted it. A new job (pTask,
// its task) writes its backup and history row and its page to the ledger; a continued one
// has them already.
CJobStartResult CPrintEngine::LaunchJob(const CJobPlan& plan, const CJobRecord& record,
                                        const COnePage* pTask) {
    const int64_t nFirst = plan.m_params.m_nFirstBand;
    std::unique_ptr<IBandSource> source =
        m_bands.CreateBandSource(m_work, plan.m_params, plan.m_nJobWidth, plan.m_nBandCount);
    if (!source)
        return CResult::Failure(-1, "the band buffers are held by another job");
    if (nFirst > 0)
        source = std::make_unique<CShiftedBandSource>(std::move(source), nFirst);
    if (!m_link.Wait(kBeforeHeaderMs))
        return CResult::Failure(-1, "the program is closing");
    m_journal = CJobJournal(JournalDir());
    m_journal.Begin(record, pTask != nullptr ? &m_work : nullptr);
    const CResult opened = m_journal.Open();
    if (!opened.Ok())
        return opened;
    const int64_t nSent = plan.m_nBandCount - nFirst;
    std::array<uint8_t, 8> header{};
    PutLe32(header.data(), static_cast<uint32_t>(plan.m_nJobWidth));
    PutLe32(header.data() + 4, static_cast<uint32_t>(nSent));
    if (m_link.Commu().WriteRegs(kRegJobHeader, 8, header.data()) != 0) {
        // The machine never took the job: a new one leaves no trace, a continued one
        // stays as it was.
        if (pTask != nullptr)
            m_journal.Abandon();
        else if (!m_journal.Interrupted("the machine did not accept the job header"))
            m_strLastError = m_journal.Error();
        return CResult::Failure(-1, "the machine did not accept the job header");
    }
    if (pTask != nullptr)
        SettleEarlierCopies(record.m_strTaskPath);
    m_link.Wait(kShortWaitMs);
    if (pTask != nullptr)
        WriteBackupAndHistory(*pTask);
    m_link.Wait(kShortWaitMs);
    StartSender(std::move(source), static_cast<int32_t>(nSent), nFirst);
    return {};
}

// The new copy's record carries the copies still owed: the printed copies' records before
// it are no longer the note of them.
void CPrintEngine::SettleEarlierCopies(const std::string& strTaskPath) {
    std::erase_if(m_printed, [&](const CPrintedJob& p) {
        return p.m_strTaskPath == strTaskPath && CJobJournal::Remove(p.m_strDir);
    });
}

// The job does not fit the carriage travel: the queue hears of a failed job (which turns
// automatic mode off) and the caller shows the message.
CJobStartResult CPrintEngine::RefuseOversize() {
    m_host.Send(kMsgJobFinished, kJobFailure);
    return CResult::Failure(-1, "the job is wider than the carriage travel",
                            {{EMsg::kJobTooWide, {}}});
}

// Both are silent: a missing folder costs the backup or the row, never the job.
void CPrintEngine::WriteBackupAndHistory(const COnePage& task) {
    if (m_settings.BackupPrintedFiles != 0) {
        const std::time_t t = m_link.Clock().Now();
        std::tm local{};
        localtime_r(&t, &local);
        (void)WriteBackupFile(task, m_settings.BackupDir, local);
    }
    if (m_settings.HistoryEnable != 0)
        AppendHistoryRow(task, m_settings.HistoryFile);
}

void CPrintEngine::StartSender(std::unique_ptr<IBandSource> source, int32_t nBandCount,
                               int64_t nFirstBand) {
    m_state.m_nLastBandDone = 0;
    m_state.m_nBandsDone = 0;
    m_state.m_nOperatorStop = 0;
    m_state.m_nSilentSince = 0;
    m_link.Status().m_bJobRunning = true;
    ++m_nJobsStarted;
    m_pSender = std::make_unique<CBandSender>(m_link, m_host, std::move(source), nBandCount,
                                              m_linkLostLimit, &m_journal, nFirstBand);
    m_sender = std::thread([this] { m_pSender->Run(); });
}

void CPrintEngine::SleepMs(int nMs) {
    m_link.Clock().SleepMs(nMs);
}

void CPrintEngine::ClearJob() {
    m_work = COnePage();
    m_link.Status().m_bJobRunning = false;
    // A job that ended without printing waits for the operator's decision.
    const std::string strDir = m_journal.JobDir();
    if (!strDir.empty() && !m_journal.Record().Printed() && IsPlainFolder(strDir) &&
        std::find(m_unfinished.begin(), m_unfinished.end(), strDir) == m_unfinished.end())
        m_unfinished.push_back(strDir);
}

CBandSenderTimes CPrintEngine::JoinFinishedJob() {
    if (m_sender.joinable() && std::this_thread::get_id() != m_sender.get_id())
        m_sender.join();
    if (m_pSender && !m_sender.joinable()) {
        m_lastTimes = m_pSender->Times();
        m_strLastError = m_pSender->Error();
        m_pSender.reset();
    }
    return m_lastTimes;
}

void CPrintEngine::StartEngineThreads() {
    m_services.Start();
}

void CPrintEngine::Shutdown() {
    m_link.RequestStop();
    m_services.Join();
    JoinFinishedJob();
}

double CPrintEngine::ProgressPercent() const {
    const int32_t nBands = m_state.m_nBandCount;
    if (nBands == 0)
        return 0.0;
    return m_state.m_nLastBandDone * 100.0 / nBands;
}

} // namespace inkvale
