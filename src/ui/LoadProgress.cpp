// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/LoadProgress.h"

#include "queue/TaskListEdits.h"
#include "queue/TaskQueue.h"

namespace inkvale {

namespace {

constexpr int kPollMs = 50;

} // namespace

CLoadProgress::CLoadProgress(CTaskQueue& queue, QWidget* pWindow)
    : QObject(pWindow), m_queue(queue), m_pWindow(pWindow) {
    connect(&m_timer, &QTimer::timeout, this, [this] { Poll(); });
    m_timer.start(kPollMs);
}

void CLoadProgress::Poll() {
    const uint64_t nWaited = m_queue.WaitedLoad();
    if (nWaited != m_nWaited) {
        m_nWaited = nWaited;
        m_tSince = std::chrono::steady_clock::now();
        if (m_pBox != nullptr)
            m_pBox->deleteLater();
    }
    if (nWaited != 0 && m_pBox == nullptr &&
        std::chrono::steady_clock::now() - m_tSince >= m_showAfter)
        Show(nWaited);
}

// A busy bar: the readers do not tell how far they are, only that they are at it.
void CLoadProgress::Show(uint64_t nTaskId) {
    const COnePage* pTask = TaskById(m_queue.Doc(), nTaskId);
    const QString strName = pTask != nullptr ? QString::fromStdString(pTask->m_strName) : QString();
    m_pBox = new QProgressDialog(tr("正在读取 %1 ...").arg(strName), tr("取消"), 0, 0, m_pWindow);
    m_pBox->setObjectName(QStringLiteral("loadProgress"));
    m_pBox->setWindowModality(Qt::NonModal);
    m_pBox->setMinimumDuration(0);
    m_pBox->setAutoClose(false);
    m_pBox->setAutoReset(false);
    connect(m_pBox, &QProgressDialog::canceled, this, [this] {
        m_queue.CancelWaitedLoads();
        if (m_pBox != nullptr)
            m_pBox->deleteLater();
    });
    m_pBox->show();
}

} // namespace inkvale
