// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/engine/EngineHost.h"

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
    /// Queues fn for the owning thread and returns at once, without waiting for it to run
    /// (it may never run once the closing flag is set). fn must not use the caller's stack.
    /// Any thread.
    virtual void Post(std::function<void()> fn) = 0;
};

/// The engine's host as the worker threads see it: every call crosses to the owning
/// thread through the hand-off and is handled there by the target (the task queue).
class CHandOffEngineHost : public IEngineHost {
public:
    /// Both must outlive this object.
    CHandOffEngineHost(IEngineHost& target, IThreadHandOff& handOff)
        : m_target(target), m_handOff(handOff) {}

    void JobFinished(int nResult) override;
    /// The target's result, or -1 when the call was dropped while closing.
    int StartNextTask() override;
    void ScanManualFolder() override;
    void ScanAutoFolder() override;
    /// Posted: the monitor never waits for the owning thread.
    void MachineSilence(std::time_t tSilentSince) override;

private:
    IEngineHost& m_target;
    IThreadHandOff& m_handOff;
};

} // namespace inkvale
