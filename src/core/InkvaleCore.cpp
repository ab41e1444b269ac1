// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/InkvaleCore.h"

#include "queue/InterruptedJob.h"

namespace inkvale {

// The queue is made before the engine and handed it afterwards: the queue is the engine's
// host, and the engine is the queue's way to the machine.
CInkvaleCore::CInkvaleCore(CSettings& settings, CMachineParams& params, CQueueView& view,
                           IThreadHandOff& handOff)
    : m_settings(settings), m_params(params), m_links(settings, params),
      m_queue(m_doc, settings, view), m_host(m_queue, handOff),
      m_engine(settings, params, m_links.Commu(), m_links.Status(), m_host, m_bands),
      m_handOff(handOff), m_view(view) {
    m_queue.SetEngine(m_engine);
    m_queue.SetMachineParams(m_params);
}

CInkvaleCore::~CInkvaleCore() {
    Shutdown();
}

void CInkvaleCore::StartServices() {
    m_settings.m_nClosing = 0;
    RecoverJobs();
    m_engine.StartEngineThreads();
}

void CInkvaleCore::RecoverJobs() {
    m_engine.RefreshLedger();
    for (const std::string& strDir : m_engine.PrintedJobDirs()) {
        const CJobLoad load = CJobJournal::LoadRecord(strDir);
        if (load.Ok())
            m_queue.SettlePrintedJob(load.m_record);
    }
    // Without saved lists, a printed job that owed copies stays their only note.
    if (!m_pAutosave)
        m_engine.SettlePrintedJobs(false);
}

CJobStartResult CInkvaleCore::ResumeJob(const std::string& strJobDir) {
    CJobStartResult started = ResumeInterruptedJob(m_doc, m_engine, strJobDir);
    m_queue.NoteChanged();
    return started;
}

bool CInkvaleCore::DiscardJob(const std::string& strJobDir) {
    return m_engine.DiscardJob(strJobDir);
}

void CInkvaleCore::EnablePreloading() {
    if (m_pLoader)
        return;
    m_pLoader = std::make_unique<CBackgroundLoader>(m_queue, m_handOff);
    m_queue.SetPreloader(m_pLoader.get());
    // Tasks restored before, from the saved lists, get their sizes and figures now.
    m_queue.RefreshFigures();
}

CResult CInkvaleCore::EnableQueueSaving() {
    if (m_pAutosave || m_settings.m_strInstallDir.empty())
        return CResult::Failure(1, "no installation directory to save the lists in");
    m_pAutosave = std::make_unique<CQueueAutosave>(m_settings.m_strInstallDir + "Queue/");
    m_engine.HoldPrintedJobs(true);
    CResult restored = m_pAutosave->Restore(m_doc);
    m_queue.RefreshFigures();
    // Only noted here: the bytes are made at the next SaveQueueIfChanged, when the command
    // that changed the lists is over.
    m_queue.SetChangeListener([this] { m_pAutosave->MarkChanged(); });
    return restored;
}

void CInkvaleCore::SaveQueueIfChanged() {
    if (!m_pAutosave)
        return;
    m_pAutosave->SaveIfChanged(m_doc);
    SettleWhenSaved();
    TellSaveFailure();
}

// A printed job's folder goes only once the lists saved after its end (its copies counted,
// its file gone) are on the disk: before that, a restart would print it again.
void CInkvaleCore::SettleWhenSaved() {
    if (m_settling.empty()) {
        if (!m_engine.HasPrintedToSettle())
            return;
        m_settling = m_engine.PrintedJobDirs();
        m_nSettleAfter = m_pAutosave->Handed();
    }
    if (m_pAutosave->Written() < m_nSettleAfter)
        return;
    m_engine.SettlePrintedJobs(m_settling);
    m_settling.clear();
}

void CInkvaleCore::TellSaveFailure() {
    const std::string strError = m_pAutosave->LastError();
    if (strError == m_strSaveError)
        return;
    m_strSaveError = strError;
    if (!strError.empty())
        m_view.ShowMessage({EMsg::kQueueSaveFailed, {strError}});
}

void CInkvaleCore::Shutdown() {
    if (m_bShutDown)
        return;
    m_bShutDown = true;
    m_settings.m_nClosing = 1;
    if (m_pLoader) {
        m_queue.SetPreloader(nullptr);
        m_pLoader->Stop();
    }
    m_engine.Shutdown();
    // The job's end changed the lists once more; once they are written, the printed jobs'
    // folders may go.
    SaveQueueIfChanged();
    if (m_pAutosave) {
        m_pAutosave->Flush();
        SettleWhenSaved();
        SettleWhenSaved();
    }
    m_queue.SetChangeListener({});
    m_pAutosave.reset();
}

} // namespace inkvale
