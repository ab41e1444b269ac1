// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/PrintEngine.h"

#include <cstdint>

namespace inkvale {

/// The print engine as the task queue uses it: the machine's state byte, the job start and
/// the end of the job-finished handling. Tests stand in a scripted engine. Window thread.
class IQueueEngine {
public:
    virtual ~IQueueEngine() = default;
    /// `MachineState`: the machine's last reported state byte (kStateReady = 1).
    virtual uint8_t MachineState() const = 0;
    /// `StartPrintJob`: 0 when the machine accepted the job; a text to show on refusal.
    virtual CJobStartResult StartPrintJob(COnePage& task) = 0;
    /// Empties the working page and clears the job, so the next task may start.
    virtual void ClearJob() = 0;
    /// The engine's wait (shortened in tests).
    virtual void SleepMs(int nMs) = 0;
};

/// The program's engine behind the queue's interface.
class CPrintEngineQueue : public IQueueEngine {
public:
    explicit CPrintEngineQueue(CPrintEngine& engine) : m_engine(engine) {}
    uint8_t MachineState() const override;
    CJobStartResult StartPrintJob(COnePage& task) override;
    void ClearJob() override;
    void SleepMs(int nMs) override;

private:
    CPrintEngine& m_engine;
};

} // namespace inkvale
