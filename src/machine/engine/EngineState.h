// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>

namespace inkvale {

/// The engine's shared variables besides the state byte and the job flag (CMachineStatus).
/// Single words, each written by one party at a time and read by every thread.
struct CEngineState {
    /// `MachineOnline`: the parameter block has been read and no status read outside a
    /// job has failed since. Written by the monitor and by failed status reads.
    std::atomic<int32_t> m_nMachineOnline{0};
    /// `BandCount` and `JobWidth` of the running (or last) job; written at job start.
    std::atomic<int32_t> m_nBandCount{0};
    std::atomic<int32_t> m_nJobWidth{0};
    /// `LastBandDone`: index of the last band the machine confirmed; 0 at every job start.
    std::atomic<int32_t> m_nLastBandDone{0};
    /// Bands confirmed in the current job (0 at job start), for progress counters.
    std::atomic<int32_t> m_nBandsDone{0};
    /// The operator sent Stop during the current job (0 at job start): however the
    /// machine ends it then, the job is not printed.
    std::atomic<int32_t> m_nOperatorStop{0};
    /// Last position read from the machine: X paper-feed steps, Y carriage pixels. Fresh is
    /// set by each successful read and cleared by whoever shows the values.
    std::atomic<int32_t> m_nPosX{0};
    std::atomic<int32_t> m_nPosY{0};
    std::atomic<int32_t> m_nPosFresh{0};
    /// While the machine does not answer during a job: the local time (seconds since 1970)
    /// it last answered; 0 while it answers. Written by the monitor, cleared at job start.
    std::atomic<int64_t> m_nSilentSince{0};
};

} // namespace inkvale
