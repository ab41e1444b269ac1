// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>

namespace inkvale {

/// How the monitor watches a machine during a job: one poll every m_poll, and the machine
/// counts as silent (offline) once m_nMissedPolls polls in a row went unanswered.
struct CSilenceLimits {
    /// Polls the machine may miss in a row before it counts as silent: three polls of a
    /// second each, so a lost machine shows within about three seconds, while one reply
    /// lost on a busy network does not.
    static constexpr int kMissedPollsOffline = 3;
    static constexpr std::chrono::milliseconds kDefaultPoll{1000};

    std::chrono::milliseconds m_poll = kDefaultPoll;
    int m_nMissedPolls = kMissedPollsOffline;
};

/// Counts the monitor's answered and missed polls during a job and says when the machine
/// went silent and when it answers again. The time it went silent is the last poll it
/// answered (the first poll's time when it never did). Monitor thread only.
class CSilenceWatch {
public:
    enum class EChange { None, WentSilent, Answering };

    explicit CSilenceWatch(int nMissedPolls = CSilenceLimits::kMissedPollsOffline)
        : m_nMissedPolls(nMissedPolls) {}

    /// One poll at tNow (local time, seconds since 1970): did the machine answer?
    EChange Poll(bool bAnswered, std::time_t tNow);
    /// Forgets the polls so far (a new job, or none).
    void Reset();
    void SetMissedPolls(int nMissedPolls) { m_nMissedPolls = nMissedPolls; }

    bool Silent() const { return m_bSilent; }
    /// When the machine went silent; 0 while it answers.
    std::time_t SilentSince() const { return m_bSilent ? m_tSince : 0; }

private:
    int m_nMissedPolls;
    int m_nMissed = 0;
    bool m_bSilent = false;
    std::time_t m_tLastAnswer = 0;
    std::time_t m_tSince = 0;
};

} // namespace inkvale
