// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceWorker.h"

namespace inkvale::service {

CWorker::~CWorker() {
    Stop();
}

void CWorker::Start() {
    m_thread = std::thread([this] { Loop(); });
}

void CWorker::Post(CCall call) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_bStopped) {
            m_calls.push_back(std::move(call));
            m_cv.notify_one();
            return;
        }
    }
    call(false);
}

void CWorker::Stop() {
    std::deque<CCall> left;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStopped = true;
        left.swap(m_calls);
        m_cv.notify_all();
    }
    if (m_thread.joinable())
        m_thread.join();
    for (CCall& call : left)
        call(false);
}

void CWorker::Loop() {
    std::unique_lock<std::mutex> lock(m_mutex);
    while (true) {
        m_cv.wait(lock, [this] { return m_bStopped || !m_calls.empty(); });
        if (m_bStopped)
            return;
        CCall call = std::move(m_calls.front());
        m_calls.pop_front();
        lock.unlock();
        call(true);
        lock.lock();
    }
}

} // namespace inkvale::service
