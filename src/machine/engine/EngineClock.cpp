// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/engine/EngineClock.h"

#include <chrono>
#include <thread>

namespace inkvale {

void CSystemEngineClock::SleepMs(int nMs) {
    std::this_thread::sleep_for(std::chrono::milliseconds(nMs));
}

std::time_t CSystemEngineClock::Now() {
    return std::time(nullptr);
}

IEngineClock& SystemEngineClock() {
    static CSystemEngineClock clock;
    return clock;
}

} // namespace inkvale
