// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UiThreadHandOff.h"

#include <QThread>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace inkvale {

namespace {

// One handed-over call: the worker waits on it, the window thread runs it unless the
// worker has given up (closing). A call that has started runs to its end before the worker
// goes on, since it may use the worker's stack.
struct CHandOff {
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_bStarted = false;
    bool m_bDone = false;
    bool m_bAbandoned = false;
};

constexpr auto kCheckClosingEvery = std::chrono::milliseconds(50);

} // namespace

CUiThreadHandOff::CUiThreadHandOff(const CSettings& settings, QObject* pParent)
    : QObject(pParent), m_settings(settings) {}

void CUiThreadHandOff::Run(const std::function<void()>& fn) {
    if (QThread::currentThread() == thread()) {
        fn();
        return;
    }
    if (m_settings.m_nClosing)
        return;
    auto pHandOff = std::make_shared<CHandOff>();
    QMetaObject::invokeMethod(
        this,
        [pHandOff, fn] {
            {
                std::lock_guard<std::mutex> lock(pHandOff->m_mutex);
                if (pHandOff->m_bAbandoned)
                    return;
                pHandOff->m_bStarted = true;
            }
            fn();
            std::lock_guard<std::mutex> lock(pHandOff->m_mutex);
            pHandOff->m_bDone = true;
            pHandOff->m_cv.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock<std::mutex> lock(pHandOff->m_mutex);
    while (!pHandOff->m_bDone) {
        if (m_settings.m_nClosing && !pHandOff->m_bStarted) {
            pHandOff->m_bAbandoned = true;
            return;
        }
        pHandOff->m_cv.wait_for(lock, kCheckClosingEvery);
    }
}

void CUiThreadHandOff::Post(std::function<void()> fn) {
    if (m_settings.m_nClosing)
        return;
    QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
}

} // namespace inkvale
