// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>

namespace inkvale {

/// Time as the print engine and its threads see it: the waits of the job and of the
/// service threads, and the wall-clock moments that end up in the job (backup name, label).
/// The program uses CSystemEngineClock; tests pass a clock with shortened waits and a fixed
/// wall-clock time. Called from every engine thread.
class IEngineClock {
public:
    virtual ~IEngineClock() = default;
    /// Blocks the calling thread for nMs milliseconds (nMs > 0).
    virtual void SleepMs(int nMs) = 0;
    /// Seconds since 1970 for the backup file name of a job.
    virtual std::time_t Now() = 0;
    /// The time the label band prints; 0 means the moment the label band is rendered.
    virtual std::time_t LabelTime() = 0;
};

/// The real clock: waits as long as asked, the system time, the label's own render time.
class CSystemEngineClock : public IEngineClock {
public:
    void SleepMs(int nMs) override;
    std::time_t Now() override;
    std::time_t LabelTime() override { return 0; }
};

/// The process-wide real clock (a stateless object).
IEngineClock& SystemEngineClock();

} // namespace inkvale
