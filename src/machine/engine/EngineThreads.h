// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/engine/SilenceWatch.h"

#include <atomic>
#include <cstdint>
#include <thread>

namespace inkvale {

class CEngineLink;
class IEngineHost;

/// The three service threads of the engine: the monitor that finds the machine and polls
/// its state and position, the scheduler tick that asks for the next task, and the
/// folder-poll tick that drives the hot-folder scans. They run from Start until the
/// closing flag is set. During a job the monitor only watches whether the machine answers
/// the band sender's exchanges (CSilenceLimits); it does not talk to it itself.
class CEngineThreads {
public:
    CEngineThreads(CEngineLink& link, IEngineHost& host);
    ~CEngineThreads();
    CEngineThreads(const CEngineThreads&) = delete;
    CEngineThreads& operator=(const CEngineThreads&) = delete;

    /// How the monitor watches the machine during a job (tests shorten it); taken at the
    /// next job's start. Any thread.
    void SetSilenceLimits(const CSilenceLimits& limits);

    /// Starts the three threads (window thread, once).
    void Start();
    /// Waits until the three threads have ended; they end only once the closing flag is
    /// set. Window thread.
    void Join();

    /// A thread's reference: set while it runs, cleared by the thread when it ends.
    bool MonitorRunning() const { return m_bMonitor; }
    bool SchedulerRunning() const { return m_bScheduler; }
    bool FolderPollRunning() const { return m_bFolderPoll; }

    /// One turn of each loop (public so that tests can drive them step by step).
    void MonitorTurn();
    void SchedulerTurn();
    /// False when the closing flag ended the turn.
    bool FolderPollTurn();

private:
    void MonitorOnlineTurn();
    void MonitorJobTurn();
    enum class EPollResult { Answered, Missed, NoNews };
    EPollResult PollResult();
    void NoteSilence(CSilenceWatch::EChange change);

    CEngineLink& m_link;
    IEngineHost& m_host;
    std::thread m_monitor;
    std::thread m_scheduler;
    std::thread m_folderPoll;
    std::atomic<bool> m_bMonitor{false};
    std::atomic<bool> m_bScheduler{false};
    std::atomic<bool> m_bFolderPoll{false};
    int32_t m_nPollCounter = 0; ///< monitor thread only: 5 ms steps since the last poll
    std::atomic<int64_t> m_nSilencePollMs{CSilenceLimits::kDefaultPoll.count()};
    std::atomic<int> m_nMissedPolls{CSilenceLimits::kMissedPollsOffline};
    int64_t m_nJobPollMs = CSilenceLimits::kDefaultPoll.count(); ///< monitor thread only
    CSilenceWatch m_silence;                                     ///< monitor thread only
    uint32_t m_nAnswersSeen = 0;    ///< monitor thread only: the answer count at the last poll
    uint32_t m_nExchangesSeen = 0;  ///< monitor thread only: the exchange count at the last poll
    bool m_bJobSeen = false;        ///< monitor thread only: the last turn saw a job
    bool m_bFirstFolderTurn = true; ///< folder-poll thread only
};

} // namespace inkvale
