// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>

#include <chrono>
#include <cstdint>

namespace inkvale {

class CTaskQueue;

/// Tells the operator that a drawing the window waits for (a clicked task, a start) is
/// being read off the window thread, once that has taken longer than its delay: a
/// progress box that leaves the window usable, whose Cancel stops the waiting. Window
/// thread only.
class CLoadProgress : public QObject {
    Q_OBJECT
public:
    /// The queue must outlive this object, which the window owns.
    CLoadProgress(CTaskQueue& queue, QWidget* pWindow);

    static constexpr std::chrono::milliseconds kShowAfter{500};
    /// How long a read must have lasted before the box shows (kShowAfter unless set).
    void SetShowAfter(std::chrono::milliseconds showAfter) { m_showAfter = showAfter; }

private:
    void Poll();
    void Show(uint64_t nTaskId);

    CTaskQueue& m_queue;
    QWidget* m_pWindow;
    QTimer m_timer;
    QPointer<QProgressDialog> m_pBox;
    uint64_t m_nWaited = 0; ///< the task waited for at the last look
    std::chrono::steady_clock::time_point m_tSince;
    std::chrono::milliseconds m_showAfter = kShowAfter;
};

} // namespace inkvale
