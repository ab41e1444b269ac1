// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/QueueEngine.h"

namespace inkvale {

uint8_t CPrintEngineQueue::MachineState() const {
    return m_engine.Link().MachineState();
}

CJobStartResult CPrintEngineQueue::StartPrintJob(COnePage& task) {
    return m_engine.StartPrintJob(task);
}

void CPrintEngineQueue::ClearJob() {
    m_engine.ClearJob();
}

void CPrintEngineQueue::SleepMs(int nMs) {
    m_engine.Link().Clock().SleepMs(nMs);
}

} // namespace inkvale
