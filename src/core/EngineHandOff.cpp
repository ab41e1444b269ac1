// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/EngineHandOff.h"

namespace inkvale {

void CHandOffEngineHost::JobFinished(int nResult) {
    m_handOff.Post([this, nResult] { m_target.JobFinished(nResult); });
}

int CHandOffEngineHost::StartNextTask() {
    PostOnce(m_bStartWaiting, [this] { (void)m_target.StartNextTask(); });
    return 0;
}

void CHandOffEngineHost::ScanManualFolder() {
    PostOnce(m_bManualScanWaiting, [this] { m_target.ScanManualFolder(); });
}

void CHandOffEngineHost::ScanAutoFolder() {
    PostOnce(m_bAutoScanWaiting, [this] { m_target.ScanAutoFolder(); });
}

// The flag goes down as the call starts: a turn of the worker that comes while it runs
// is posted again, and sees what the call changed.
void CHandOffEngineHost::PostOnce(std::atomic<bool>& bWaiting, std::function<void()> fn) {
    if (bWaiting.exchange(true))
        return;
    m_handOff.Post([&bWaiting, fn = std::move(fn)] {
        bWaiting = false;
        fn();
    });
}

void CHandOffEngineHost::MachineSilence(std::time_t tSilentSince) {
    m_handOff.Post([this, tSilentSince] { m_target.MachineSilence(tSilentSince); });
}

} // namespace inkvale
