// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <ctime>

namespace inkvale {

/// Outcome of a job, as IEngineHost::JobFinished gets it.
inline constexpr int kJobSuccess = 1;
inline constexpr int kJobFailure = 2;

/// The one way up from the print engine and its worker threads to the owning thread.
///
/// The calls come from the band sender, the scheduler and the folder-poll threads. The
/// core's host (CHandOffEngineHost) posts each to the owning thread and returns at once, so
/// no worker waits for the owner. JobFinished also comes on the owning thread itself when
/// StartPrintJob refuses a job after its size check, and is then handled in place.
class IEngineHost {
public:
    virtual ~IEngineHost() = default;

    /// The job ended (nResult kJobSuccess or kJobFailure). The handler
    /// updates the queue and then calls CPrintEngine::ClearJob.
    virtual void JobFinished(int nResult) = 0;
    /// The queue may start its next task (StartNextTask); its result,
    /// which the scheduler does not need (-1 when nothing was started).
    virtual int StartNextTask() = 0;
    /// Scan the manual hot folder.
    virtual void ScanManualFolder() = 0;
    /// Scan the automatic hot folder.
    virtual void ScanAutoFolder() = 0;
    /// The machine stopped answering during a job (tSilentSince: the local time it last
    /// answered), or answers again (tSilentSince 0). A host without interest ignores it.
    virtual void MachineSilence(std::time_t tSilentSince) { (void)tSilentSince; }
};

} // namespace inkvale
