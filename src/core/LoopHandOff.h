// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/Settings.h"
#include "core/EngineHandOff.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace inkvale {

/// The hand-off of a front end without a window: the owning thread runs a loop that calls
/// RunOnce, and each worker's call waits in a queue until the loop has run it. Made on the
/// owning thread.
class CLoopHandOff : public IThreadHandOff {
public:
    /// The settings' closing flag releases waiting workers (their calls are dropped).
    explicit CLoopHandOff(const CSettings& settings);

    /// Any thread: in place on the owning thread, else queued for the loop.
    void Run(const std::function<void()>& fn) override;
    /// Any thread: queued for the loop (also on the owning thread), never waited for.
    void Post(std::function<void()> fn) override;
    /// Runs the calls waiting now, or waits up to `timeout` for one. Owning thread.
    void RunOnce(std::chrono::milliseconds timeout);
    /// From now on calls return at once without running, and waiting ones give up: the
    /// loop no longer runs (RunOnce does nothing). Any thread.
    void Stop();

private:
    struct CCall {
        std::function<void()> m_fn;
        uint64_t m_nId;
    };

    const CSettings& m_settings;
    std::thread::id m_owner;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<CCall> m_calls;
    uint64_t m_nPosted = 0;
    uint64_t m_nHandled = 0;
    bool m_bStopped = false;
};

} // namespace inkvale
