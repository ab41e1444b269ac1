// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>

namespace inkvale {

/// How long the running job has been printing, not counting the time its machine was
/// silent: the pace a front end figures the time left from, so that the time left stands
/// still while the machine does not answer and goes on from there once it does. Front
/// ends feed it at every progress update. One thread.
class CJobActiveTime {
public:
    using CClock = std::chrono::steady_clock;

    /// The state at tNow: does a job run, and is its machine silent? A new job starts
    /// counting from zero.
    void Tick(bool bRunning, bool bSilent, CClock::time_point tNow);
    /// Seconds of the job so far without its silent spells (0 when no job runs).
    double Seconds(CClock::time_point tNow) const;

private:
    bool m_bRunning = false;
    bool m_bSilent = false;
    CClock::time_point m_tStart{};
    CClock::time_point m_tSilentFrom{};
    CClock::duration m_silent{};
};

} // namespace inkvale
