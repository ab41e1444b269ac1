// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace inkvale {

class CMachineParams;
class CMachineCommands;
struct CEngineState;

/// What the dialogs need of the machine: whether it is online and the register writes. The
/// program's adapter is CCommuDlgMachine; the waits go through it so tests can see them.
class IDlgMachine {
public:
    virtual ~IDlgMachine() = default;
    /// `MachineOnline`: the parameter block has been read and the machine still answers.
    virtual bool Online() const = 0;
    /// The machine's result byte (0 = stored), or -1 when the exchange failed.
    virtual int WriteRegs(uint8_t nAddress, uint8_t nCount, const uint8_t* pData) = 0;
    /// Drops the Ethernet connection so the next exchange connects to a new address.
    virtual void CloseEthLink() = 0;
    virtual void SleepMs(int nMs) = 0;
};

/// The program's machine behind the dialogs: the command layer and the engine's online flag.
class CCommuDlgMachine : public IDlgMachine {
public:
    CCommuDlgMachine(CMachineCommands& commu, const CEngineState& state) : m_commu(commu), m_state(state) {}
    bool Online() const override;
    int WriteRegs(uint8_t nAddress, uint8_t nCount, const uint8_t* pData) override;
    void CloseEthLink() override;
    void SleepMs(int nMs) override;

private:
    CMachineCommands& m_commu;
    const CEngineState& m_state;
};

/// Commits the edit copy of bytes 24..79 and writes those 56 bytes to register 24.
/// The machine's result: 0 = stored.
[[nodiscard]] int WriteParams(IDlgMachine& machine, CMachineParams& params);
/// Commits the edit copy of the extended block and writes its 20 bytes to register 128.
[[nodiscard]] int WriteExtParams(IDlgMachine& machine, CMachineParams& params);

} // namespace inkvale
