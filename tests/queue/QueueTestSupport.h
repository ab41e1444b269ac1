// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A task list window and preview that record what the queue asked of them, an engine whose
// answers a test scripts, and small task builders.

#include "machine/engine/EngineHost.h"
#include "machine/engine/PrintEngine.h"
#include "machine/link/MachineProtocol.h"
#include "model/TaskLists.h"
#include "queue/QueueView.h"
#include "queue/TaskQueue.h"

#include <functional>
#include <memory>
#include <sys/stat.h>

#include <string>
#include <vector>

namespace inkvale::test {

class CFakeQueueView : public CQueueView {
public:
    void RefreshTaskList() override { ++m_nRefreshes; }
    void SelectRow(int nRow) override { m_arrSelected.push_back(nRow); }
    void Redraw() override { ++m_nRedraws; }
    void ShowMessage(const CMessage& message) override { m_arrMessages.push_back(message.m_eId); }
    void AutoModeOff() override { ++m_nAutoOff; }
    void JobEnded(int nResult) override {
        ++m_nJobsEnded;
        m_nJobFailures += nResult == kJobSuccess ? 0 : 1;
    }

    int m_nRefreshes = 0;
    int m_nRedraws = 0;
    int m_nAutoOff = 0;
    int m_nJobsEnded = 0;
    int m_nJobFailures = 0;
    std::vector<int> m_arrSelected;
    std::vector<EMsg> m_arrMessages;
};

/// How the scripted engine answers a job start.
enum class EStart { Accept, RefuseHeader, RefuseOversize };

class CFakeQueueEngine : public IQueueEngine {
public:
    uint8_t MachineState() const override { return m_nState; }
    CJobStartResult StartPrintJob(COnePage& task) override {
        m_arrStarted.push_back(task.m_strName);
        if (m_onStart)
            m_onStart();
        if (m_eStart == EStart::RefuseHeader)
            return CResult::Failure(-1, "header refused");
        if (m_eStart == EStart::RefuseOversize) {
            // As the engine: the refusal is reported as a failed job on this thread.
            if (m_pQueue != nullptr)
                m_pQueue->JobFinished(2);
            return CResult::Failure(-1, "too wide", {{EMsg::kJobTooWide, {}}});
        }
        task.m_nPrintState = PS_PRINTING;
        m_bJob = true;
        return {};
    }
    void ClearJob() override {
        ++m_nCleared;
        m_bJob = false;
    }
    void SleepMs(int nMs) override { m_nSleptMs += nMs; }
    bool HasUnfinishedJobs() const override { return !m_unfinished.empty(); }
    std::vector<std::string> UnfinishedJobs() const override { return m_unfinished; }
    CJobStartResult ResumeJob(const std::string& strJobDir) override {
        m_arrResumed.push_back(strJobDir);
        if (m_bRefuseResume)
            return CResult::Failure(-3, "the file changed");
        std::erase(m_unfinished, strJobDir);
        m_bJob = true;
        return {};
    }
    void PrintedJobHandled() override { ++m_nPrintedHandled; }

    std::vector<std::string> m_unfinished; ///< job folders waiting for a decision
    std::vector<std::string> m_arrResumed;
    bool m_bRefuseResume = false;
    int m_nPrintedHandled = 0;
    uint8_t m_nState = kStateReady;
    EStart m_eStart = EStart::Accept;
    CTaskQueue* m_pQueue = nullptr;
    std::function<void()> m_onStart;
    std::vector<std::string> m_arrStarted;
    int m_nCleared = 0;
    int m_nSleptMs = 0;
    bool m_bJob = false;
};

/// The file's size and last-write second as a folder scan records them in its task (the
/// queue deletes a folder file only while it is still the one its task was made from).
inline void StampFromFile(COnePage& task) {
    struct stat st {};
    if (::stat(task.m_strPath.c_str(), &st) != 0)
        return;
    task.m_nFileSize = static_cast<int64_t>(st.st_size);
    task.m_tTime = static_cast<int64_t>(st.st_mtim.tv_sec);
}

/// A task named strName with a one-line drawing (bDrawing) or none.
inline std::unique_ptr<COnePage> MakeTask(const std::string& strName, int32_t nCopies = 1,
                                          int32_t nState = PS_WAITING, int32_t bQueued = 0,
                                          bool bDrawing = true) {
    auto task = std::make_unique<COnePage>();
    task->m_strName = strName;
    task->m_strPath = "/nonexistent/" + strName;
    task->m_nCopies = nCopies;
    task->m_nPrintState = nState;
    task->m_bQueued = bQueued;
    if (bDrawing) {
        CCurve curve;
        curve.AddPoint(0, 0);
        curve.AddPoint(400, 400);
        task->m_arrCurves.push_back(curve);
        task->CalcExtents();
    }
    return task;
}

/// Names of a list's tasks in order.
inline std::vector<std::string> Names(const CTaskList& list) {
    std::vector<std::string> names;
    for (const auto& task : list)
        names.push_back(task->m_strName);
    return names;
}

/// A small HP-GL drawing that the queue's loader reads.
inline constexpr const char* kSmallPlt = "IN;SP1;PU0,0;PD400,0,400,400,0,400,0,0;PU;";

} // namespace inkvale::test
