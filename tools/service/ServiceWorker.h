// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace inkvale::service {

/// A thread that runs the calls posted to it one after another, so that work which waits
/// (for the owning thread, for painting) never waits on the server's own thread.
class CWorker {
public:
    /// A call gets true to do its work, false when the worker ended before its turn.
    using CCall = std::function<void(bool bRun)>;

    CWorker() = default;
    ~CWorker();
    CWorker(const CWorker&) = delete;
    CWorker& operator=(const CWorker&) = delete;

    void Start();
    /// Any thread. After Stop the call is made at once with false.
    void Post(CCall call);
    /// Lets the running call end, and makes the waiting ones with false.
    void Stop();

private:
    void Loop();

    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<CCall> m_calls;
    bool m_bStopped = false;
    std::thread m_thread;
};

} // namespace inkvale::service
