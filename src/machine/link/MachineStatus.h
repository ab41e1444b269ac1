// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/link/LinkRefusal.h"
#include "machine/link/MachineProtocol.h"

#include <atomic>
#include <cstdint>

namespace inkvale {

/// The shared machine variables the command layer reads and writes. Single words read by
/// every thread without a lock.
struct CMachineStatus {
    /// `MachineState`: the last state byte the machine reported, 0xFF when it did not answer.
    std::atomic<uint8_t> m_nMachineState{kStateNoAnswer};
    /// True while a print job runs (the band sender thread exists). While it is set the
    /// links stay open between successful exchanges.
    std::atomic<bool> m_bJobRunning{false};
    /// Why the link of the last exchange refused to open (kNone when it did not), for the
    /// front ends to tell the operator.
    CAtomicLinkRefusal m_linkRefusal;
    /// Exchanges the machine answered so far (any reply, even a refusal). Only its changes
    /// matter: the monitor tells from them that the machine still talks during a job.
    std::atomic<uint32_t> m_nAnswers{0};
    /// Exchanges begun so far, and those under way now (waiting for the link's lock or for
    /// the machine's reply). A machine that answers none of the exchanges begun is silent;
    /// an idle link says nothing either way.
    std::atomic<uint32_t> m_nExchanges{0};
    std::atomic<int32_t> m_nExchanging{0};
};

} // namespace inkvale
