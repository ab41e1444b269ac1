// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DxfTaskLoader.h"

#include "import/DxfConvert.h"
#include "model/TaskDrawingLoader.h"

#include <algorithm>
#include <cstdio>

namespace inkvale {

namespace {

CDxfOptions OptionsOf(const CSettings& settings) {
    CDxfOptions options;
    options.m_nUnit = settings.DxfUnit;
    options.m_strAppDir = settings.m_strInstallDir;
    options.m_nDrillMark = settings.DxfDrillMark;
    // Sizes of 0 or less fall back to the defaults: a mark must be seen.
    const auto mm = [](int32_t nTenths, double dDefault) {
        return nTenths > 0 ? nTenths / 10.0 : dDefault;
    };
    options.m_dDrillMm = mm(settings.DxfDrillSize, options.m_dDrillMm);
    options.m_dNotchMm = mm(settings.DxfNotchLength, options.m_dNotchMm);
    options.m_dMinTextMm =
        settings.DxfMinTextHeight >= 0 ? settings.DxfMinTextHeight / 10.0 : options.m_dMinTextMm;
    return options;
}

std::string Mm(int64_t nUnits) {
    char sz[32];
    std::snprintf(sz, sizeof sz, "%.0f", static_cast<double>(nUnits) / 40.0);
    return sz;
}

} // namespace

CDxfTaskResult LoadDxfTask(COnePage& page, const CSettings& settings, bool* pCleaned) {
    if (pCleaned != nullptr)
        *pCleaned = false;
    page.m_arrNotDrawn.clear();
    // A negative unit would mirror the drawing (0 lets the drawing's header choose).
    if (settings.DxfUnit < 0)
        return CResult::Failure(kDxfTaskBadUnit, "DxfUnit " + std::to_string(settings.DxfUnit) +
                                                     " is not a positive number of plotter units");
    CDxfCurvesResult read = ReadDxfCurves(page.m_strPath, OptionsOf(settings), page.m_arrCurves);
    if (!read.Ok()) {
        page.ClearCurves();
        return CResult::Failure(read.m_nCode, read.m_strDiag, read.m_arrMessages);
    }
    page.m_bOnlyLabels = read.m_bOnlyLabels;
    page.m_arrNotDrawn = std::move(read.m_arrSkipped);
    page.JoinSegments();
    if (page.m_arrCurves.empty())
        return CResult::Failure(kDxfTaskNoCurves, "the file holds nothing that can be drawn");

    // Moving the curves whole keeps every step between vertices, and with them what the
    // clean-up finds to remove.
    bool bCleaned = page.CleanCurves();
    const bool bMovedWhole = page.NormalizeOriginOfCurrentBox();
    bCleaned = bMovedWhole && bCleaned;
    // A DXF drawing wider than the roll is always folded into strips, and into strips the
    // machine prints when it is narrower than the roll.
    const int32_t nWidth = FoldWidthUnits(settings);
    if (page.m_nMaxY > nWidth) {
        bCleaned = false; // the fold joins segments anew
        if (page.m_nMinY != 0)
            page.MoveToOrigin();
        // The fold starts from the box, which is the vertices' own unless they wrapped round
        // (in X: wrapped in Y, the box is not wider than the roll).
        if (!bMovedWhole)
            page.CalcExtents();
        // Every loaded drawing is cleaned next (LoadTaskDrawing), so the fold may keep
        // meeting vertices once. A drawing too wide to fold is refused before it is, with
        // both widths.
        const int64_t nDrawingWidth = int64_t{page.m_nMaxY} - page.m_nMinY;
        if (page.m_nMaxY > nWidth && !SplitWidthCheckedForCleaning(page, nWidth)) {
            page.ClearCurves();
            return CResult::Failure(kDxfTaskTooWide, "the drawing is " + Mm(nDrawingWidth) +
                                                         " mm wide, too wide to fold into strips " +
                                                         Mm(nWidth) + " mm wide (check DxfUnit)");
        }
    }
    page.m_nPrintState = PS_WAITING;
    page.m_nStartMm = 0;
    if (pCleaned != nullptr)
        *pCleaned = bCleaned;
    return {};
}

} // namespace inkvale
