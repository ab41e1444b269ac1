// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/engine/PrintEngine.h"

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "machine/engine/JobSetup.h"
#include "model/HistoryRow.h"
#include "raster/BandParams.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <ctime>
#include <limits>

namespace inkvale {

CPrintEngine::CPrintEngine(const CSettings& settings, CMachineParams& params, CMyCommu& commu,
                           CMachineStatus& status, IEngineHost& host, IBandSourceFactory& bands,
                           IEngineClock& clock)
    : m_settings(settings), m_params(params), m_host(host), m_bands(bands),
      m_link(settings, params, commu, status, m_state, clock), m_services(m_link, host) {}

CPrintEngine::~CPrintEngine() {
    Shutdown();
}

CJobStartResult CPrintEngine::StartPrintJob(COnePage& task) {
    // One job at a time; the sender of the previous job has handed its result over.
    if (JobRunning() || std::this_thread::get_id() == m_sender.get_id())
        return CResult::Failure(-1, "a job is running");
    JoinFinishedJob();
    // The job works on a snapshot: the monitor may store a fresh block meanwhile.
    const CMachineParams params(m_params);
    PrepareWorkPage(m_work, task, m_settings, params);
    CBandParams bandParams = MakeBandParams(params, m_settings);
    bandParams.m_tLabelTime = m_link.Clock().LabelTime();
    int32_t nJobWidth = m_state.m_nJobWidth;
    const int64_t nBands = CountJobBands(m_work, bandParams, nJobWidth);
    m_state.m_nJobWidth = nJobWidth;
    m_state.m_nBandCount =
        static_cast<int32_t>(std::min<int64_t>(nBands, std::numeric_limits<int32_t>::max()));
    if (!FitsCarriage(params, nJobWidth))
        return RefuseOversize();
    if (nBands > std::numeric_limits<int32_t>::max())
        return CResult::Failure(-1, "the job has more bands than the machine counts");
    std::unique_ptr<IBandSource> source =
        m_bands.CreateBandSource(m_work, bandParams, nJobWidth, nBands);
    if (!source)
        return CResult::Failure(-1, "the band buffers are held by another job");
    if (!m_link.Wait(kBeforeHeaderMs))
        return CResult::Failure(-1, "the program is closing");
    std::array<uint8_t, 8> header{};
    PutLe32(header.data(), static_cast<uint32_t>(nJobWidth));
    PutLe32(header.data() + 4, static_cast<uint32_t>(nBands));
    if (m_link.Commu().WriteRegs(kRegJobHeader, 8, header.data()) != 0)
        return CResult::Failure(-1, "the machine did not accept the job header");
    m_link.Wait(kShortWaitMs);
    WriteBackupAndHistory(task);
    m_link.Wait(kShortWaitMs);
    StartSender(std::move(source), static_cast<int32_t>(nBands));
    task.m_nPrintState = PS_PRINTING;
    return {};
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

void CPrintEngine::StartSender(std::unique_ptr<IBandSource> source, int32_t nBandCount) {
    m_state.m_nLastBandDone = 0;
    m_state.m_nBandsDone = 0;
    m_state.m_nOperatorStop = 0;
    m_link.Status().m_bJobRunning = true;
    m_pSender = std::make_unique<CBandSender>(m_link, m_host, std::move(source), nBandCount,
                                              m_linkLostLimit);
    m_sender = std::thread([this] { m_pSender->Run(); });
}

void CPrintEngine::SleepMs(int nMs) {
    m_link.Clock().SleepMs(nMs);
}

void CPrintEngine::ClearJob() {
    m_work = COnePage();
    m_link.Status().m_bJobRunning = false;
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

void CPrintEngine::StartServiceThreads() {
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
