// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/engine/EngineLink.h"

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "machine/link/MachineLinks.h"

#include <algorithm>
#include <span>

namespace inkvale {

CEngineLink::CEngineLink(const CSettings& settings, CMachineParams& params, CMachineCommands& commu,
                         CMachineStatus& status, CEngineState& state, IEngineClock& clock)
    : m_settings(settings), m_params(params), m_commu(commu), m_status(status), m_state(state),
      m_clock(clock) {}

int CEngineLink::ReadParams() {
    return ReadParamBlock(m_commu, m_params);
}

int CEngineLink::ReadStatus() {
    CReplyBuffer reply{};
    if (m_commu.ReadRegs(kRegState, 1, reply) == 0) {
        m_status.m_nMachineState = reply[4];
        return 0;
    }
    if (!JobRunning()) {
        m_state.m_nMachineOnline = 0;
        m_status.m_nMachineState = kStateNoAnswer;
    }
    return -1;
}

int CEngineLink::ReadPosition() {
    CReplyBuffer reply{};
    if (m_commu.ReadRegs(kRegPosition, 8, reply) != 0)
        return -1;
    m_state.m_nPosX = static_cast<int32_t>(GetLe32(reply.data() + 4));
    m_state.m_nPosY = static_cast<int32_t>(GetLe32(reply.data() + 8));
    m_state.m_nPosFresh = 1;
    return 0;
}

bool CEngineLink::Closing() const {
    return m_bStop || m_settings.m_nClosing.Load() != 0;
}

bool CEngineLink::Wait(int nMs) {
    while (nMs > 0 && !Closing()) {
        const int nStep = std::min(nMs, kWaitStepMs);
        m_clock.SleepMs(nStep);
        nMs -= nStep;
    }
    return !Closing();
}

} // namespace inkvale
