// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DlgMachineAccess.h"

#include "config/MachineParams.h"
#include "machine/engine/EngineState.h"
#include "machine/link/MachineCommands.h"

#include <chrono>
#include <thread>

namespace inkvale {

bool CCommuDlgMachine::Online() const {
    return m_state.m_nMachineOnline.load() != 0;
}

int CCommuDlgMachine::WriteRegs(uint8_t nAddress, uint8_t nCount, const uint8_t* pData) {
    return m_commu.WriteRegs(nAddress, nCount, pData);
}

void CCommuDlgMachine::CloseEthLink() {
    m_commu.CloseEthLink();
}

void CCommuDlgMachine::SleepMs(int nMs) {
    std::this_thread::sleep_for(std::chrono::milliseconds(nMs));
}

int WriteParams(IDlgMachine& machine, CMachineParams& params) {
    const auto bytes = params.CommitParams();
    return machine.WriteRegs(CMachineParams::kEditBase, CMachineParams::kEditSize, bytes.data());
}

int WriteExtParams(IDlgMachine& machine, CMachineParams& params) {
    const auto bytes = params.CommitExtParams();
    return machine.WriteRegs(CMachineParams::kExtBase, CMachineParams::kExtSize, bytes.data());
}

} // namespace inkvale
