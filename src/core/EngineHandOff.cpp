// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/EngineHandOff.h"

namespace inkvale {

void CHandOffEngineHost::JobFinished(int nResult) {
    m_handOff.Run([this, nResult] { m_target.JobFinished(nResult); });
}

int CHandOffEngineHost::StartNextTask() {
    int nResult = -1;
    m_handOff.Run([this, &nResult] { nResult = m_target.StartNextTask(); });
    return nResult;
}

void CHandOffEngineHost::ScanManualFolder() {
    m_handOff.Run([this] { m_target.ScanManualFolder(); });
}

void CHandOffEngineHost::ScanAutoFolder() {
    m_handOff.Run([this] { m_target.ScanAutoFolder(); });
}

void CHandOffEngineHost::MachineSilence(std::time_t tSilentSince) {
    m_handOff.Post([this, tSilentSince] { m_target.MachineSilence(tSilentSince); });
}

} // namespace inkvale
