// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <ctime>

namespace inkvale {

/// Numbers of the messages the engine's threads send to the window thread. The desktop
/// program keeps them as the event numbers of its hand-off; the command-line front end and
/// the tests use them to log what arrived.
enum EEngineMessage : uint16_t {
    kMsgJobFinished = 0x466,   ///< parameter kJobSuccess or kJobFailure
    kMsgStartNextTask = 0x469, ///< parameter 0
    kMsgScanManDir = 0x46B,    ///< parameter 0
    kMsgScanAutoDir = 0x46C,   ///< parameter 0
};

/// Parameter of kMsgJobFinished.
inline constexpr int kJobSuccess = 1;
inline constexpr int kJobFailure = 2;

/// The one way up from the print engine and its service threads to the window thread.
///
/// Every call is synchronous: it returns only once the window thread has handled it (the
/// desktop program hands it over with a blocking queued call, the command-line front end
/// with its own loop). The calls come from the band sender, the scheduler and the
/// folder-poll threads; JobFinished also comes on the window thread itself when
/// StartPrintJob refuses a job after its size check, and must then be handled in place.
///
/// While the closing flag is set, a call may arrive when the window thread is itself
/// waiting for the engine's threads to end (CPrintEngine::Shutdown); an implementation
/// that hands calls over to the window thread must then return without waiting.
class IEngineHost {
public:
    virtual ~IEngineHost() = default;

    /// kMsgJobFinished: the job ended (nResult kJobSuccess or kJobFailure). The handler
    /// updates the queue and then calls CPrintEngine::ClearJob.
    virtual void JobFinished(int nResult) = 0;
    /// kMsgStartNextTask: the queue may start its next task (StartNextTask); its result,
    /// which the scheduler does not need (-1 when nothing was started).
    virtual int StartNextTask() = 0;
    /// kMsgScanManDir: scan the manual hot folder.
    virtual void ScanManualFolder() = 0;
    /// kMsgScanAutoDir: scan the automatic hot folder.
    virtual void ScanAutoFolder() = 0;
    /// The machine stopped answering during a job (tSilentSince: the local time it last
    /// answered), or answers again (tSilentSince 0). Unlike the calls above this one is
    /// posted: it returns at once, the owning thread handles it when it gets to it, and
    /// the monitor never waits for it. A host without interest ignores it.
    virtual void MachineSilence(std::time_t tSilentSince) { (void)tSilentSince; }

    /// Delivers a message by its number to the matching member above; other numbers are
    /// ignored.
    void Send(EEngineMessage nMessage, int nParam) {
        switch (nMessage) {
        case kMsgJobFinished:
            JobFinished(nParam);
            break;
        case kMsgStartNextTask:
            (void)StartNextTask();
            break;
        case kMsgScanManDir:
            ScanManualFolder();
            break;
        case kMsgScanAutoDir:
            ScanAutoFolder();
            break;
        }
    }
};

} // namespace inkvale
