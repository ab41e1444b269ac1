// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/engine/SilenceWatch.h"

#include <algorithm>

namespace inkvale {

CSilenceWatch::EChange CSilenceWatch::Poll(bool bAnswered, std::time_t tNow) {
    if (bAnswered) {
        m_tLastAnswer = tNow;
        m_nMissed = 0;
        if (!m_bSilent)
            return EChange::None;
        m_bSilent = false;
        return EChange::Answering;
    }
    if (m_tLastAnswer == 0)
        m_tLastAnswer = tNow;
    m_nMissed = std::min(m_nMissed + 1, m_nMissedPolls);
    if (m_bSilent || m_nMissed < m_nMissedPolls)
        return EChange::None;
    m_bSilent = true;
    m_tSince = m_tLastAnswer;
    return EChange::WentSilent;
}

void CSilenceWatch::Reset() {
    m_nMissed = 0;
    m_bSilent = false;
    m_tLastAnswer = 0;
    m_tSince = 0;
}

} // namespace inkvale
