// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/Preflight.h"

#include "machine/engine/JobJournal.h"
#include "machine/engine/JobSetup.h"
#include "model/TaskDrawingLoader.h"
#include "model/TaskPaths.h"
#include "raster/BandGeometry.h"
#include "raster/BandParams.h"
#include "raster/PrintTimeModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unordered_map>

namespace inkvale {

namespace {

constexpr double kUnitsPerMm = 40.0;
constexpr double kFeedPixelsPerUnit = 300.0 / 25.4 / kUnitsPerMm;
constexpr double kColumnsPerDot = 0.25;
// Sizes a garment marker has: no piece is under 50 mm, no roll over 100 m.
constexpr double kMinMarkerMm = 50.0;
constexpr double kMaxMarkerMm = 100'000.0;
constexpr double kMlPerPl = 1e-9;

std::string Mm(double d) {
    char sz[32];
    std::snprintf(sz, sizeof sz, "%.0f", d);
    return sz;
}

std::string SizeText(double dWidth, double dLength) {
    return Mm(dLength) + " × " + Mm(dWidth) + " mm";
}

// The box of the job's prepared page, found the way the job finds it but without copying
// the drawing: a page of one line across the task's box goes through the same steps (size
// correction truncates every vertex, so the extremes map to the extremes).
COnePage PreparedBox(const COnePage& task, const CSettings& settings,
                     const CMachineParams& params) {
    COnePage box;
    box.m_strPath = task.m_strPath;
    box.m_nStartMm = task.m_nStartMm;
    CCurve corners;
    corners.AddPoint(task.m_nMinX, task.m_nMinY);
    corners.AddPoint(task.m_nMaxX, task.m_nMaxY);
    box.m_arrCurves.push_back(corners);
    box.CalcExtents();
    COnePage work;
    PrepareWorkPage(work, box, settings, params);
    return work;
}

// Drops of one pass over every stroke: each segment covers the larger of its feed pixels
// and carriage columns, as wide as the stroke.
int64_t CountDots(const COnePage& task, const CBandParams& bands) {
    const double dColumnsPerUnit = bands.m_nXDotsPerMetre / 1000.0 / kUnitsPerMm * kColumnsPerDot;
    double dSteps = 0.0;
    for (const CCurve& curve : task.m_arrCurves) {
        const std::vector<CPoint>& v = curve.m_arrPoints;
        for (size_t i = 1; i < v.size(); ++i) {
            const double dx = std::abs(static_cast<double>(v[i].x) - v[i - 1].x);
            const double dy = std::abs(static_cast<double>(v[i].y) - v[i - 1].y);
            dSteps += std::max(dx * kFeedPixelsPerUnit, dy * dColumnsPerUnit);
        }
        dSteps += v.empty() ? 0.0 : 1.0;
    }
    const int nWidth = std::max(bands.m_nLineWidthPx, 1);
    // Precise mode prints every feed pixel on two passes.
    return static_cast<int64_t>(dSteps * nWidth * (bands.m_bPreciseMode ? 2 : 1));
}

void AddInk(CPreflightFigures& figures, const CBandParams& bands) {
    const CBandGeometry geo(bands);
    int nLanes = 0;
    for (int l = 0; l < geo.LaneCount(); ++l)
        nLanes += geo.LaneUsed(l) ? 1 : 0;
    if (nLanes == 0)
        return;
    const double dMl = static_cast<double>(figures.m_nDots) * kDropVolumePl * kMlPerPl / nLanes;
    for (int l = 0; l < geo.LaneCount(); ++l)
        figures.m_arrInkMl[static_cast<size_t>(l)] = geo.LaneUsed(l) ? dMl : 0.0;
}

// A unit mistake: the factor that makes the size plausible, and the setting that would
// apply it. DXF drawings name their unit in DxfUnit (plotter units per drawing unit);
// HP-GL drawings in the plot unit (0.025 mm, 0.0254 mm or 0.01 mm a unit).
struct CUnitHint {
    double m_dFactor = 0.0;
    std::string m_strSetting;
};

CUnitHint FindUnitHint(const COnePage& task, const CSettings& settings, double dSize) {
    const bool bDxf = IsDxfPath(task.m_strPath);
    for (const double f : {25.4, 1 / 25.4, 10.0, 0.1, 2.5, 0.4}) {
        const double d = dSize * f;
        if (d < kMinMarkerMm || d > kMaxMarkerMm)
            continue;
        CUnitHint hint{f, {}};
        if (bDxf && settings.DxfUnit > 0) {
            hint.m_strSetting = "DxfUnit=" + std::to_string(std::lround(settings.DxfUnit * f));
        } else if (!bDxf && std::abs(f - 0.4) < 1e-9) {
            hint.m_strSetting = "PltFileUnit=3 (0.01 mm)";
        } else if (!bDxf && std::abs(f - 25.4) < 1e-9) {
            hint.m_strSetting = "inches";
        } else {
            hint.m_strSetting = bDxf ? "DxfUnit" : "PltFileUnit";
        }
        return hint;
    }
    return {};
}

// "HATCH 12, IMAGE 1, 3D entities 4".
std::string NotDrawnText(const COnePage& task) {
    std::string s;
    for (const auto& [strKind, nCount] : task.m_arrNotDrawn) {
        if (!s.empty())
            s += ", ";
        s += strKind + " " + std::to_string(nCount);
    }
    return s;
}

void CheckScale(CPreflight& result, const COnePage& task, const CSettings& settings) {
    const CPreflightFigures& f = result.m_figures;
    const double dSize = std::max(f.m_dWidthMm, f.m_dLengthMm);
    if (task.m_arrCurves.empty() || (dSize >= kMinMarkerMm && dSize <= kMaxMarkerMm))
        return;
    const CUnitHint hint = FindUnitHint(task, settings, dSize);
    CPreflightWarning w{EPreflightKind::kScale, false, {}};
    const std::string strSize = SizeText(f.m_dWidthMm, f.m_dLengthMm);
    if (hint.m_dFactor == 0.0) {
        w.m_message = {EMsg::kPreflightOddSize, {task.m_strName, strSize}};
    } else {
        char szFactor[16];
        std::snprintf(szFactor, sizeof szFactor, "%g", hint.m_dFactor);
        w.m_message = {EMsg::kPreflightScale,
                       {task.m_strName, strSize, szFactor,
                        SizeText(f.m_dWidthMm * hint.m_dFactor, f.m_dLengthMm * hint.m_dFactor),
                        hint.m_strSetting}};
    }
    result.m_arrWarnings.push_back(w);
}

// Eight bytes a step (FNV-1a's mixing on words): the duplicate check reads every file of
// the queue, and a byte a step would cost a 30 MB marker a sixth of its load time.
uint64_t HashWords(const uint8_t* p, size_t n, uint64_t h) {
    constexpr uint64_t kPrime = 0x100000001b3ull;
    for (; n >= 8; p += 8, n -= 8) {
        uint64_t w = 0;
        std::memcpy(&w, p, 8);
        h = (h ^ w) * kPrime;
        h ^= h >> 29;
    }
    for (; n > 0; ++p, --n)
        h = (h ^ *p) * kPrime;
    return h;
}

} // namespace

// Of the task's file and of its split or mirror suffix; 0 when the file cannot be read.
uint64_t PreflightContentHash(const COnePage& task) {
    const std::string strSource = SourcePathOf(task.m_strPath);
    FILE* f = std::fopen(strSource.c_str(), "rb");
    if (f == nullptr)
        return 0;
    uint64_t h = 0xcbf29ce484222325ull;
    std::vector<uint8_t> buf(size_t{1} << 18);
    size_t n = 0;
    while ((n = std::fread(buf.data(), 1, buf.size(), f)) > 0)
        h = HashWords(buf.data(), n, h);
    const bool bOk = std::ferror(f) == 0;
    std::fclose(f);
    if (!bOk)
        return 0;
    const std::string strSuffix = task.m_strPath.substr(strSource.size());
    h = HashWords(reinterpret_cast<const uint8_t*>(strSuffix.data()), strSuffix.size(), h);
    return h == 0 ? 1 : h;
}

const char* PreflightKindName(EPreflightKind eKind) {
    switch (eKind) {
    case EPreflightKind::kTooWide:
        return "too-wide";
    case EPreflightKind::kScale:
        return "scale";
    case EPreflightKind::kOutside:
        return "outside";
    case EPreflightKind::kEmpty:
        return "empty";
    case EPreflightKind::kDuplicate:
        return "duplicate";
    case EPreflightKind::kLabelsOnly:
        return "labels-only";
    case EPreflightKind::kNotDrawn:
        return "not-drawn";
    }
    return "?";
}

double PrintableWidthMm(const CMachineParams& params) {
    return std::max(0, params.CarriageTravelMm() - params.BufferLeftMm() - params.BufferRightMm() -
                           params.LeftOffsetMm());
}

CPreflight RunPreflight(const COnePage& task, const CSettings& settings,
                        const CMachineParams& params, uint64_t nContentHash) {
    CPreflight result;
    result.m_bDone = true;
    result.m_nContentHash = nContentHash != 0 ? nContentHash : PreflightContentHash(task);
    // Said of an empty drawing too: it tells why nothing is left to print.
    if (!task.m_arrNotDrawn.empty())
        result.m_arrWarnings.push_back(
            {EPreflightKind::kNotDrawn,
             false,
             {EMsg::kPreflightNotDrawn, {task.m_strName, NotDrawnText(task)}}});
    if (task.m_arrCurves.empty()) {
        result.m_arrWarnings.push_back(
            {EPreflightKind::kEmpty, true, {EMsg::kDrawingEmpty, {task.m_strName}}});
        return result;
    }
    CPreflightFigures& f = result.m_figures;
    f.m_dWidthMm = (static_cast<double>(task.m_nMaxY) - task.m_nMinY) / kUnitsPerMm;
    f.m_dLengthMm = (static_cast<double>(task.m_nMaxX) - task.m_nMinX) / kUnitsPerMm;
    const COnePage work = PreparedBox(task, settings, params);
    CBandParams bands = MakeBandParams(params, settings);
    int32_t nJobWidth = 0;
    f.m_nBands = CountJobBands(work, bands, nJobWidth);
    f.m_dPaperMm = FeedLengthMm(bands, f.m_nBands) + params.FeedBeforeMm() + params.FeedAfterMm();
    f.m_dSeconds = EstimateJobTime(params, bands, nJobWidth, f.m_nBands).TotalS();
    f.m_nDots = CountDots(task, bands);
    AddInk(f, bands);
    if (!FitsCarriage(params, nJobWidth))
        result.m_arrWarnings.push_back(
            {EPreflightKind::kTooWide,
             true,
             {EMsg::kPreflightTooWide,
              {task.m_strName, Mm(f.m_dWidthMm), Mm(WidestPrintableDrawingMm(settings, params))}}});
    CheckScale(result, task, settings);
    if (task.m_nMinX < 0 || task.m_nMinY < 0 || task.m_bBelowPaper)
        result.m_arrWarnings.push_back(
            {EPreflightKind::kOutside, false, {EMsg::kPreflightOutside, {task.m_strName}}});
    if (task.m_bOnlyLabels)
        result.m_arrWarnings.push_back(
            {EPreflightKind::kLabelsOnly, false, {EMsg::kPreflightLabelsOnly, {task.m_strName}}});
    return result;
}

double WidestPrintableDrawingMm(const CSettings& settings, const CMachineParams& params) {
    // Whether a drawing of this width makes a job the carriage takes, prepared as a job is
    // (its size correction and offsets are not plain factors, so the width is searched for).
    const auto fits = [&](double dMm) {
        COnePage probe;
        probe.m_nMaxX = 40;
        probe.m_nMaxY = static_cast<int32_t>(dMm * kUnitsPerMm);
        const COnePage work = PreparedBox(probe, settings, params);
        CBandParams bands = MakeBandParams(params, settings);
        int32_t nJobWidth = 0;
        (void)CountJobBands(work, bands, nJobWidth);
        return FitsCarriage(params, nJobWidth);
    };
    double dLow = 0.0;
    double dHigh = std::max(PrintableWidthMm(params), 1.0) * 2.0;
    if (fits(dHigh))
        return dHigh;
    while (dHigh - dLow > 0.05) {
        const double dMid = (dLow + dHigh) / 2;
        (fits(dMid) ? dLow : dHigh) = dMid;
    }
    return dLow;
}

CQueueTotals QueueTotals(const CTaskLists& doc) {
    CQueueTotals totals;
    for (const CTaskList* pList : {&doc.m_arrOpened, &doc.m_arrManDir, &doc.m_arrAutoDir}) {
        for (const auto& pTask : *pList) {
            ++totals.m_nTasks;
            const CPreflight& p = pTask->m_preflight;
            const double dCopies = std::max(pTask->m_nCopies, 0);
            if (!p.m_bDone)
                continue;
            totals.m_dPaperM += p.m_figures.m_dPaperMm / 1000.0 * dCopies;
            totals.m_dSeconds += p.m_figures.m_dSeconds * dCopies;
            for (const double d : p.m_figures.m_arrInkMl)
                totals.m_dInkMl += d * dCopies;
        }
    }
    return totals;
}

void MarkDuplicates(CTaskLists& doc) {
    std::unordered_map<uint64_t, const COnePage*> first;
    for (CTaskList* pList : {&doc.m_arrOpened, &doc.m_arrManDir, &doc.m_arrAutoDir}) {
        for (const auto& pTask : *pList) {
            CPreflight& p = pTask->m_preflight;
            std::erase_if(p.m_arrWarnings, [](const CPreflightWarning& w) {
                return w.m_eKind == EPreflightKind::kDuplicate;
            });
            if (p.m_nContentHash == 0)
                continue;
            const auto [it, bNew] = first.emplace(p.m_nContentHash, pTask.get());
            if (!bNew)
                p.m_arrWarnings.push_back(
                    {EPreflightKind::kDuplicate,
                     false,
                     {EMsg::kPreflightDuplicate, {pTask->m_strName, it->second->m_strName}}});
        }
    }
}

} // namespace inkvale
