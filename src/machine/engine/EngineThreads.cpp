// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/engine/EngineThreads.h"

#include "machine/engine/EngineHost.h"
#include "machine/engine/EngineLink.h"

namespace inkvale {

namespace {

// Waits of the service threads, milliseconds.
constexpr int kPollStepMs = 5;
constexpr int kPollSteps = 50; // steps between two status polls (the 51st polls)
constexpr int kForeignJobMs = 3000;
constexpr int kBeforePositionMs = 3;
constexpr int kPositionFailedMs = 100;
constexpr int kPositionReadMs = 3;
constexpr int kOfflineProbeMs = 300;
constexpr int kSchedulerMs = 400;
constexpr int kFirstFolderMs = 200;
constexpr int kFolderScanMs = 500;
constexpr int kFolderRestMs = 1000;

} // namespace

CEngineThreads::CEngineThreads(CEngineLink& link, IEngineHost& host)
    : m_link(link), m_host(host) {}

CEngineThreads::~CEngineThreads() {
    m_link.RequestStop();
    Join();
}

void CEngineThreads::SetSilenceLimits(const CSilenceLimits& limits) {
    m_nSilencePollMs = limits.m_poll.count();
    m_nMissedPolls = limits.m_nMissedPolls;
}

void CEngineThreads::Start() {
    m_bMonitor = m_bScheduler = m_bFolderPoll = true;
    m_monitor = std::thread([this] {
        while (!m_link.Closing())
            MonitorTurn();
        m_bMonitor = false;
    });
    m_scheduler = std::thread([this] {
        while (!m_link.Closing())
            SchedulerTurn();
        m_bScheduler = false;
    });
    m_folderPoll = std::thread([this] {
        while (FolderPollTurn()) {
        }
        m_bFolderPoll = false;
    });
}

void CEngineThreads::Join() {
    for (std::thread* p : {&m_monitor, &m_scheduler, &m_folderPoll}) {
        if (p->joinable())
            p->join();
    }
}

void CEngineThreads::MonitorTurn() {
    if (m_link.JobRunning()) {
        MonitorJobTurn();
        return;
    }
    if (m_bJobSeen) {
        // The job ended; a machine still silent is the idle polls' business from here.
        m_bJobSeen = false;
        m_silence.Reset();
        m_link.State().m_nSilentSince = 0;
    }
    if (m_link.State().m_nMachineOnline != 0) {
        MonitorOnlineTurn();
        return;
    }
    if (m_link.ReadParams() == 0)
        m_link.State().m_nMachineOnline = 1;
    m_link.Wait(kOfflineProbeMs);
}

// An idle, connected machine is asked for its state about every 52 x 5 ms, each status
// read followed by a position read.
void CEngineThreads::MonitorOnlineTurn() {
    m_link.Wait(kPollStepMs);
    if (m_nPollCounter++ <= kPollSteps)
        return;
    m_nPollCounter = 0;
    if (m_link.ReadStatus() != 0)
        return;
    // A machine printing a job of another host is left alone for a while.
    if (m_link.MachineState() == kStatePrinting && m_link.Wait(kForeignJobMs))
        m_link.Wait(kForeignJobMs);
    if (!m_link.Wait(kBeforePositionMs))
        return;
    m_link.Wait(m_link.ReadPosition() == 0 ? kPositionReadMs : kPositionFailedMs);
}

// During a job the band sender talks to the machine; the monitor polls once a poll
// interval whether the machine still answers, and marks it offline after a few misses,
// long before the band sender's link-lost limit gives the job up.
void CEngineThreads::MonitorJobTurn() {
    if (!m_bJobSeen) {
        m_bJobSeen = true;
        m_silence.Reset();
        m_silence.SetMissedPolls(m_nMissedPolls);
        m_nJobPollMs = m_nSilencePollMs;
        m_nAnswersSeen = m_link.Status().m_nAnswers;
        m_nExchangesSeen = m_link.Status().m_nExchanges;
    }
    if (!m_link.Wait(static_cast<int>(m_nJobPollMs)) || !m_link.JobRunning())
        return;
    const EPollResult result = PollResult();
    if (result != EPollResult::NoNews)
        NoteSilence(m_silence.Poll(result == EPollResult::Answered, m_link.Clock().Now()));
}

// An answer to anyone since the last poll counts. Without one, an exchange begun since, or
// still waiting for its reply, is a miss. An idle link (the band sender producing a band)
// is no news either way. The monitor never asks the machine itself: a silent machine would
// hold its read, and with it the count, for a whole reply time-out.
CEngineThreads::EPollResult CEngineThreads::PollResult() {
    const CMachineStatus& status = m_link.Status();
    const uint32_t nAnswers = status.m_nAnswers;
    const uint32_t nExchanges = status.m_nExchanges;
    const bool bAnswered = nAnswers != m_nAnswersSeen;
    const bool bAsked = nExchanges != m_nExchangesSeen || status.m_nExchanging > 0;
    m_nAnswersSeen = nAnswers;
    m_nExchangesSeen = nExchanges;
    if (bAnswered)
        return EPollResult::Answered;
    return bAsked ? EPollResult::Missed : EPollResult::NoNews;
}

// Offline and the moment it went silent for every reader of the shared state, and the
// event for the owning thread, posted without waiting.
void CEngineThreads::NoteSilence(CSilenceWatch::EChange change) {
    if (change == CSilenceWatch::EChange::None)
        return;
    const bool bSilent = change == CSilenceWatch::EChange::WentSilent;
    const std::time_t tSince = bSilent ? m_silence.SilentSince() : 0;
    CEngineState& state = m_link.State();
    state.m_nSilentSince = static_cast<int64_t>(tSince);
    state.m_nMachineOnline = bSilent ? 0 : 1;
    m_host.MachineSilence(tSince);
}

void CEngineThreads::SchedulerTurn() {
    if (m_link.Wait(kSchedulerMs) && !m_link.JobRunning())
        m_host.Send(kMsgStartNextTask, 0);
}

bool CEngineThreads::FolderPollTurn() {
    if (m_bFirstFolderTurn) {
        m_bFirstFolderTurn = false;
        return m_link.Wait(kFirstFolderMs);
    }
    m_host.Send(kMsgScanManDir, 0);
    if (!m_link.Wait(kFolderScanMs))
        return false;
    m_host.Send(kMsgScanAutoDir, 0);
    if (!m_link.Wait(kFolderScanMs))
        return false;
    return m_link.Wait(kFolderRestMs);
}

} // namespace inkvale
