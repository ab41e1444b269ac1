// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/LoopHandOff.h"

namespace inkvale {

namespace {

// A waiting worker looks at the closing flag this often.
constexpr auto kCheckClosingEvery = std::chrono::milliseconds(50);

} // namespace

CLoopHandOff::CLoopHandOff(const CSettings& settings)
    : m_settings(settings), m_owner(std::this_thread::get_id()) {}

void CLoopHandOff::Run(const std::function<void()>& fn) {
    if (std::this_thread::get_id() == m_owner) {
        fn();
        return;
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_bStopped || m_settings.m_nClosing.Load() != 0)
        return;
    const uint64_t nId = ++m_nPosted;
    m_calls.push_back({fn, nId});
    m_cv.notify_all();
    // The loop may be waiting for this very worker to end once the closing flag is set, or
    // may have ended: the call is then given up, and taken out so that it never runs
    // after this worker has gone on.
    // A call the loop has already taken runs to its end first: it may use this worker's
    // stack.
    while (m_nHandled < nId) {
        if ((m_bStopped || m_settings.m_nClosing.Load() != 0) &&
            std::erase_if(m_calls, [nId](const CCall& c) { return c.m_nId == nId; }) > 0)
            return;
        m_cv.wait_for(lock, kCheckClosingEvery);
    }
}

void CLoopHandOff::Post(std::function<void()> fn) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_bStopped || m_settings.m_nClosing.Load() != 0)
        return;
    m_calls.push_back({std::move(fn), ++m_nPosted});
    m_cv.notify_all();
}

void CLoopHandOff::RunOnce(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_cv.wait_for(lock, timeout, [this] { return !m_calls.empty() || m_bStopped; });
    while (!m_calls.empty() && !m_bStopped) {
        const CCall call = std::move(m_calls.front());
        m_calls.pop_front();
        lock.unlock();
        call.m_fn();
        lock.lock();
        m_nHandled = call.m_nId;
        m_cv.notify_all();
    }
}

void CLoopHandOff::Stop() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bStopped = true;
    m_cv.notify_all();
}

} // namespace inkvale
