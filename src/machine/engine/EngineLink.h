// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/engine/EngineClock.h"
#include "machine/engine/EngineState.h"
#include "machine/link/MachineStatus.h"
#include "machine/link/MachineCommands.h"

#include <atomic>

namespace inkvale {

class CMachineParams;
struct CSettings;

/// What every engine thread shares: the command layer, the shared machine variables, the
/// parameter mirror, the closing flag and the clock, with the three reads of the machine's
/// registers and the waits that give way to the closing flag. Called from the monitor, the
/// band sender and the window thread.
class CEngineLink {
public:
    CEngineLink(const CSettings& settings, CMachineParams& params, CMachineCommands& commu,
                CMachineStatus& status, CEngineState& state, IEngineClock& clock);

    /// `ReadParams`: the parameter block, and the extended block when the block announces
    /// it, into the parameter mirror. 0, or -1 when a read failed.
    int ReadParams();
    /// `ReadStatus`: the state byte into `MachineState`; 0, or -1 when the read failed,
    /// which outside a job also turns the host offline (`MachineState` 0xFF).
    int ReadStatus();
    /// `ReadPosition`: the carriage position, marked fresh; 0, or -1 when the read failed.
    int ReadPosition();

    /// Waits nMs milliseconds in steps of at most kWaitStepMs, ending early once the
    /// closing flag is set. False when the closing flag is set.
    bool Wait(int nMs);
    /// The closing flag of the settings, or a stop asked for with RequestStop.
    bool Closing() const;
    /// Makes every engine loop end as if the closing flag were set (for an owner that
    /// shuts the engine down without closing the program). Any thread.
    void RequestStop() { m_bStop = true; }
    bool JobRunning() const { return m_status.m_bJobRunning.load(); }
    uint8_t MachineState() const { return m_status.m_nMachineState.load(); }

    CMachineCommands& Commu() { return m_commu; }
    CMachineStatus& Status() { return m_status; }
    CEngineState& State() { return m_state; }
    const CEngineState& State() const { return m_state; }
    IEngineClock& Clock() { return m_clock; }

    /// Longest single sleep of Wait, so that closing is noticed within this time.
    static constexpr int kWaitStepMs = 50;

private:
    const CSettings& m_settings;
    CMachineParams& m_params;
    CMachineCommands& m_commu;
    CMachineStatus& m_status;
    CEngineState& m_state;
    IEngineClock& m_clock;
    std::atomic<bool> m_bStop{false};
};

} // namespace inkvale
