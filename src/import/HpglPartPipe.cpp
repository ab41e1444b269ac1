// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/HpglPartPipe.h"

namespace inkvale {

CHpglPartPipe::CHpglPartPipe(CHpglCurveBuilder& builder)
    : m_builder(builder), m_thread([this] { Run(); }) {}

CHpglPartPipe::~CHpglPartPipe() {
    {
        const std::lock_guard lock(m_mutex);
        m_bStop = true;
    }
    m_cv.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void CHpglPartPipe::WaitIdle(std::unique_lock<std::mutex>& lock) {
    m_cv.wait(lock, [this] { return !m_bFull; });
}

void CHpglPartPipe::Hand(CHpglPlotList& list) {
    std::unique_lock lock(m_mutex);
    WaitIdle(lock);
    if (m_pFailure) {
        list.ClearPart(); // the builder stopped; Finish reports why
        return;
    }
    list.TakePart(m_part);
    m_bFull = true;
    lock.unlock();
    m_cv.notify_all();
}

void CHpglPartPipe::Finish() {
    {
        std::unique_lock lock(m_mutex);
        WaitIdle(lock);
        m_bStop = true;
    }
    m_cv.notify_all();
    m_thread.join();
    if (m_pFailure)
        std::rethrow_exception(m_pFailure);
}

void CHpglPartPipe::Run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_cv.wait(lock, [this] { return m_bFull || m_bStop; });
        if (!m_bFull)
            return; // stopped with nothing left to build
        lock.unlock();
        try {
            m_builder.Add(m_part);
        } catch (...) {
            lock.lock();
            m_pFailure = std::current_exception();
            m_bFull = false;
            m_cv.notify_all();
            return;
        }
        lock.lock();
        m_bFull = false;
        m_cv.notify_all();
    }
}

} // namespace inkvale
