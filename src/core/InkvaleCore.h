// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "core/BackgroundLoader.h"
#include "core/EngineHandOff.h"
#include "core/QueueAutosave.h"
#include "machine/engine/PrintEngine.h"
#include "machine/link/MachineLinks.h"
#include "model/TaskLists.h"
#include "queue/QueueView.h"
#include "queue/TaskQueue.h"
#include "raster/RasterBandSource.h"

#include <memory>
#include <string>
#include <vector>

namespace inkvale {

/// The application core: the settings and the parameter block, the machine links, the
/// print engine with its threads, and the document with its task queue and hot folders.
/// The desktop program and the command-line front end are thin front ends of it: they
/// load the settings, give it their view (the events: lists changed, a text to show, a
/// job ended) and their thread hand-off, and call its operations.
///
/// The queue is the engine's host: the engine's worker threads reach it through the
/// front end's hand-off and nothing else. Every operation runs on the thread that made
/// the core (the owning thread), except where a member says otherwise.
class CInkvaleCore {
public:
    /// Every reference must outlive the core. The settings and the parameter block are the
    /// program's own records, loaded by the front end.
    CInkvaleCore(CSettings& settings, CMachineParams& params, CQueueView& view,
                 IThreadHandOff& handOff);
    /// Shuts down as Shutdown does.
    ~CInkvaleCore();
    CInkvaleCore(const CInkvaleCore&) = delete;
    CInkvaleCore& operator=(const CInkvaleCore&) = delete;

    /// Clears the closing flag, reads the job ledger (RecoverJobs) and starts the monitor,
    /// scheduler and folder-poll threads. Once.
    void StartServices();
    /// Reads the job ledger: printed jobs whose end a crash cut short are finished (their
    /// tasks take the copies still owed, a finished automatic-folder file leaves), and the
    /// unfinished ones are kept for a decision (Engine().UnfinishedJobs()); until each is
    /// resumed or discarded, nothing else prints.
    void RecoverJobs();
    /// Unfinished jobs are continued as soon as the machine is ready, without asking.
    void SetAutoResume(bool bAuto) { m_queue.SetAutoResume(bAuto); }
    /// The operator's decisions on an unfinished job (its folder; "" the oldest).
    CJobStartResult ResumeJob(const std::string& strJobDir = {});
    bool DiscardJob(const std::string& strJobDir);
    /// New tasks have their drawings read on a thread of their own (a front end with a
    /// window, where a long read would freeze it). Once, after StartServices.
    void EnablePreloading();
    /// Keeps the three lists saved in Queue/ of the installation directory from now on,
    /// after restoring what was saved there (a front end that owns the queue: the desktop
    /// program; not a command that prints one file). The result says what happened to the
    /// saved lists (code 1: there were none; a failure: they were damaged and set aside).
    CResult EnableQueueSaving();
    /// Saves the lists when they changed since the last save (the queue tells of its
    /// changes, Queue().NoteChanged of a front end's own); at most once a second, the
    /// writing on a thread of its own. Front ends call it often, e.g. every tick.
    void SaveQueueIfChanged();
    /// Sets the closing flag and waits for every engine thread to end (once; later calls
    /// do nothing). A running job ends as failed. The lists are saved a last time.
    void Shutdown();

    CSettings& Settings() { return m_settings; }
    CMachineParams& Params() { return m_params; }
    CTaskLists& Doc() { return m_doc; }
    CTaskQueue& Queue() { return m_queue; }
    CPrintEngine& Engine() { return m_engine; }
    CMachineLinks& Links() { return m_links; }
    /// The engine's host as its worker threads call it (through the hand-off); tests
    /// call it to act as those threads.
    IEngineHost& EngineHost() { return m_host; }

private:
    CSettings& m_settings;
    CMachineParams& m_params;
    CTaskLists m_doc;
    CMachineLinks m_links;
    CRasterBandFactory m_bands;
    CTaskQueue m_queue;
    CHandOffEngineHost m_host;
    CPrintEngine m_engine;
    IThreadHandOff& m_handOff;
    CQueueView& m_view;
    std::unique_ptr<CBackgroundLoader> m_pLoader;
    std::unique_ptr<CQueueAutosave> m_pAutosave;
    bool m_bShutDown = false;
    // Printed jobs whose folders go once the saved lists that follow their end are written.
    std::vector<std::string> m_settling;
    uint64_t m_nSettleAfter = 0;
    std::string m_strSaveError; ///< the save failure last told of
    void SettleWhenSaved();
    void TellSaveFailure();
};

} // namespace inkvale
