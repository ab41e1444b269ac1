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

std::optional<CInterruptedJob> FindInterruptedJob(const std::string& strJournalDir, bool bRunning) {
    CInterruptedJob job;
    if (bRunning || !CJobJournal::LoadRecord(strJournalDir, job.m_record))
        return std::nullopt;
    const CJobRecord& r = job.m_record;
    job.m_nResumeBand = ResumeBandOf(r.m_params, r.m_nConfirmed);
    job.m_dPrintedM = FeedLengthMm(r.m_params, job.m_nResumeBand) / 1000.0;
    job.m_dTotalM = FeedLengthMm(r.m_params, r.m_nBandCount) / 1000.0;
    job.m_nStopX = StopX(r.m_params, job.m_nResumeBand);
    return job;
}

COnePage* TaskOfJob(CInkvaleDoc& doc, const CJobRecord& record) {
    for (CTaskList* pList : {&doc.m_arrOpened, &doc.m_arrManDir, &doc.m_arrAutoDir}) {
        for (const auto& pTask : *pList) {
            if (pTask->m_strPath == record.m_strTaskPath)
                return pTask.get();
        }
    }
    return nullptr;
}

CJobStartResult ResumeInterruptedJob(CInkvaleDoc& doc, IQueueEngine& engine) {
    CJobRecord record;
    const bool bKnown = CJobJournal::LoadRecord(engine.JournalDir(), record);
    CJobStartResult started = engine.ResumeJob();
    COnePage* pTask = bKnown && started.Ok() ? TaskOfJob(doc, record) : nullptr;
    if (pTask != nullptr) {
        pTask->m_nPrintState = PS_PRINTING;
        pTask->m_nCopies = std::max(pTask->m_nCopies, 1);
    }
    return started;
}

} // namespace inkvale
