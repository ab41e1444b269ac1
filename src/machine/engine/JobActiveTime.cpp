// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/engine/JobActiveTime.h"

namespace inkvale {

void CJobActiveTime::Tick(bool bRunning, bool bSilent, CClock::time_point tNow) {
    if (bRunning && !m_bRunning) {
        m_tStart = tNow;
        m_silent = {};
        m_bSilent = false;
    }
    m_bRunning = bRunning;
    if (!bRunning)
        return;
    if (bSilent && !m_bSilent)
        m_tSilentFrom = tNow;
    else if (!bSilent && m_bSilent)
        m_silent += tNow - m_tSilentFrom;
    m_bSilent = bSilent;
}

double CJobActiveTime::Seconds(CClock::time_point tNow) const {
    if (!m_bRunning)
        return 0.0;
    const CClock::time_point tEnd = m_bSilent ? m_tSilentFrom : tNow;
    return std::chrono::duration<double>(tEnd - m_tStart - m_silent).count();
}

} // namespace inkvale
