// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/InterruptedJob.h"

#include "machine/engine/JobSetup.h"
#include "raster/BandGeometry.h"

#include <cmath>

namespace inkvale {

namespace {

// Plotter units of one feed pixel (300 per inch, 40 units per mm).
constexpr double kUnitsPerFeedPixel = 40.0 * 25.4 / 300.0;

// The plotter X of the task's drawing where band nBand starts: its feed pixel back into
// plotter units, less the margin and the lead-in the job added in front of the drawing.
int32_t StopX(const CBandParams& params, int64_t nBand) {
    CBandParams whole = params;
    whole.m_nFirstBand = 0;
    const CBandGeometry geo(whole);
    const double dPixels = static_cast<double>(geo.BandOffset(nBand) - geo.LineWidth());
    double dX = dPixels * kUnitsPerFeedPixel;
    const bool bFourHead = geo.IsFourHead();
    if (params.m_bSpAutoClean)
        dX -= bFourHead ? kCleanShiftFourHead : kCleanShiftTwoHead;
    if (params.m_bPreciseMode)
        dX -= bFourHead ? kPreciseShiftFourHead : kPreciseShiftTwoHead;
    return static_cast<int32_t>(std::lround(std::max(dX, 0.0)));
}

} // namespace

std::vector<CInterruptedJob> InterruptedJobsOf(const std::vector<std::string>& jobDirs) {
    std::vector<CInterruptedJob> jobs;
    for (const std::string& strDir : jobDirs) {
        CInterruptedJob& job = jobs.emplace_back();
        job.m_strJobDir = strDir;
        const CJobLoad load = CJobJournal::LoadRecord(strDir);
        if (!load.Ok()) {
            job.m_strDamage = load.m_strDiag;
            continue;
        }
        job.m_record = load.m_record;
        const CJobRecord& r = job.m_record;
        job.m_nResumeBand = ResumeBandOf(r.m_params, r.m_nConfirmed);
        job.m_dPrintedM = FeedLengthMm(r.m_params, job.m_nResumeBand) / 1000.0;
        job.m_dTotalM = FeedLengthMm(r.m_params, r.m_nBandCount) / 1000.0;
        job.m_nStopX = StopX(r.m_params, job.m_nResumeBand);
    }
    return jobs;
}

std::optional<CInterruptedJob> FindInterruptedJob(const std::vector<std::string>& jobDirs) {
    std::vector<CInterruptedJob> jobs = InterruptedJobsOf(jobDirs);
    if (jobs.empty())
        return std::nullopt;
    return std::move(jobs.front());
}

COnePage* TaskOfJob(CTaskLists& doc, const CJobRecord& record) {
    for (CTaskList* pList : {&doc.m_arrOpened, &doc.m_arrManDir, &doc.m_arrAutoDir}) {
        for (const auto& pTask : *pList) {
            if (pTask->m_strPath == record.m_strTaskPath)
                return pTask.get();
        }
    }
    return nullptr;
}

CJobStartResult ResumeInterruptedJob(CTaskLists& doc, IQueueEngine& engine,
                                     const std::string& strJobDir) {
    CJobStartResult started = engine.ResumeJob(strJobDir);
    if (!started.Ok())
        return started;
    const CJobLoad load =
        CJobJournal::LoadRecord(!strJobDir.empty() ? strJobDir : engine.CurrentJobDir());
    COnePage* pTask = load.Ok() ? TaskOfJob(doc, load.m_record) : nullptr;
    if (pTask != nullptr) {
        pTask->m_nPrintState = PS_PRINTING;
        pTask->m_nCopies = load.m_record.m_nCopiesOwed + 1;
    }
    return started;
}

} // namespace inkvale
