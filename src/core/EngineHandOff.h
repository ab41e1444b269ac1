// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/engine/EngineHost.h"

#include <atomic>
#include <functional>

namespace inkvale {

/// How the engine's worker threads reach the thread that owns the application core: the
/// window thread of the desktop program, the main loop of the command-line front end.
/// Each front end implements it once.
class IThreadHandOff {
public:
    virtual ~IThreadHandOff() = default;
    /// Runs fn on the owning thread and returns once it has run. Called on the owning
    /// thread itself, it runs fn in place. While the closing flag is set it may return
    /// without running fn, since the owner may then be waiting for the calling worker to
    /// end. Any thread.
    virtual void Run(const std::function<void()>& fn) = 0;
    /// Queues fn for the owning thread and returns at once: a worker that only tells the
    /// owner of an event never waits for it. Called on the owning thread itself, it runs
    /// fn in place. Calls posted while the closing flag is set are dropped. Any thread.
    virtual void Post(std::function<void()> fn) = 0;
};

/// The engine's host as the worker threads see it: every call is posted to the owning
/// thread and handled there by the target (the task queue); no worker waits for it. A
/// scheduler or folder call that is still waiting to run is not posted again, so a busy
/// owner never finds a pile of them.
class CHandOffEngineHost : public IEngineHost {
public:
    /// Both must outlive this object.
    CHandOffEngineHost(IEngineHost& target, IThreadHandOff& handOff)
        : m_target(target), m_handOff(handOff) {}

    void JobFinished(int nResult) override;
    /// Posts the call; 0.
    int StartNextTask() override;
    void ScanManualFolder() override;
    void ScanAutoFolder() override;
    /// Posted: the monitor never waits for the owning thread.
    void MachineSilence(std::time_t tSilentSince) override;

private:
    /// Posts fn unless the call of this flag is still waiting to run.
    void PostOnce(std::atomic<bool>& bWaiting, std::function<void()> fn);

    IEngineHost& m_target;
    IThreadHandOff& m_handOff;
    std::atomic<bool> m_bStartWaiting{false};
    std::atomic<bool> m_bManualScanWaiting{false};
    std::atomic<bool> m_bAutoScanWaiting{false};
};

} // namespace inkvale
