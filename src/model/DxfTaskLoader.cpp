// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DxfTaskLoader.h"

#include "import/DxfConvert.h"
#include "model/TaskDrawingLoader.h"

namespace inkvale {

CDxfTaskResult LoadDxfTask(COnePage& page, const CSettings& settings, bool* pCleaned) {
    if (pCleaned != nullptr)
        *pCleaned = false;
    // A unit of 0 would collapse the drawing to a point and a negative one mirror it.
    if (settings.DxfUnit <= 0)
        return CResult::Failure(kDxfTaskBadUnit, "DxfUnit " + std::to_string(settings.DxfUnit) +
                                                     " is not a positive number of plotter units");
    CDxfCurvesResult read =
        ReadDxfCurves(page.m_strPath, settings.DxfUnit, settings.m_strInstallDir, page.m_arrCurves);
    if (!read.Ok()) {
        page.ClearCurves();
        return CResult::Failure(read.m_nCode, read.m_strDiag, read.m_arrMessages);
    }
    page.m_bOnlyLabels = read.m_bOnlyLabels;
    std::string().swap(read.m_strLabels); // drawn already: a marker's texts take megabytes
    page.JoinSegments();
    if (page.m_arrCurves.empty())
        return CResult::Failure(kDxfTaskNoCurves, "the file holds nothing that can be drawn");

    // Moving the curves whole keeps every step between vertices, and with them what the
    // clean-up finds to remove.
    bool bCleaned = page.CleanCurves();
    const bool bMovedWhole = page.NormalizeOriginOfCurrentBox();
    bCleaned = bMovedWhole && bCleaned;
    // A DXF drawing wider than the roll is always folded into strips.
    const int32_t nWidth = RollWidthUnits(settings);
    if (page.m_nMaxY > nWidth) {
        bCleaned = false; // the fold joins segments anew
        if (page.m_nMinY != 0)
            page.MoveToOrigin();
        // The fold starts from the box, which is the vertices' own unless they wrapped round
        // (in X: wrapped in Y, the box is not wider than the roll).
        if (!bMovedWhole)
            page.CalcExtents();
        // Every loaded drawing is cleaned next (LoadTaskDrawing), so the fold may keep
        // meeting vertices once.
        if (page.m_nMaxY > nWidth && !SplitWidthCheckedForCleaning(page, nWidth)) {
            page.ClearCurves();
            return CResult::Failure(kDxfTaskTooWide,
                                    "the drawing is far wider than the roll (check DxfUnit)");
        }
    }
    page.m_nPrintState = PS_WAITING;
    page.m_nStartMm = 0;
    if (pCleaned != nullptr)
        *pCleaned = bCleaned;
    return {};
}

} // namespace inkvale
