// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/TaskDrawingLoader.h"

#include "geometry/Units.h"
#include "import/HpglFile.h"
#include "model/DxfTaskLoader.h"
#include "support/Utf.h"

#include <algorithm>
#include <climits>

namespace inkvale {

namespace {

char16_t Upper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
}

/// Reads an HP-GL task into its curve array; the reader's unit factors go to the caller.
bool ReadHpglTask(COnePage& task, const CSettings& settings, bool bShowErrors,
                  CTaskLoadResult& result, double& dScaleX, double& dScaleY) {
    CHpglFile reader;
    reader.m_strPath = task.m_strPath;
    reader.m_strAppDir = settings.m_strInstallDir;
    reader.m_nPltFileUnit = settings.PltFileUnit;
    const CHpglReadResult read = reader.ReadCurves(task.m_arrCurves, settings.PGCmdType);
    if (!read.Ok()) {
        task.ClearCurves(); // what was read before the failure
        result = CResult::Failure(kLoadUnreadable,
                                  "the HP-GL file cannot be read (status " +
                                      std::to_string(read.m_nCode) + ")",
                                  read.m_arrMessages);
        if (bShowErrors)
            result.m_arrMessages.push_back({EMsg::kOpenFileFailed, {task.m_strPath}});
        return false;
    }
    task.m_bOnlyLabels = reader.DrewOnlyLabels();
    for (const CSkipCounts::CItem& item : reader.Skipped().Items())
        task.m_arrNotDrawn.emplace_back(item.m_strKind, item.m_nCount);
    dScaleX = reader.m_dScaleX;
    dScaleY = reader.m_dScaleY;
    return true;
}

/// The preparation every freshly read drawing goes through, in this order. bCleaned: the
/// curves stand as the cleaning leaves them already.
bool Prepare(COnePage& task, const CSettings& settings, double dScaleX, double dScaleY,
             bool bCleaned) {
    if (!bCleaned)
        task.CleanCurves(); // the boxes are current after it
    const CHpglUnitFactor unit = HpglUnitFactor(settings.PltFileUnit, dScaleX, dScaleY);
    if (unit.m_bApply) {
        task.ScaleAll(unit.m_dX, unit.m_dY);
        task.CalcExtents();
    }
    // HP-GL is drawn in the plotter's own coordinates: below Y 0 is off the paper's edge. A
    // DXF drawing's origin is wherever the CAD put it, and is no such sign.
    task.m_bBelowPaper = !IsDxfPath(task.m_strPath) && task.m_nMinY < 0;
    if (task.m_nMinX < 0 || task.m_nMinY < 0)
        task.MoveToOrigin();
    if (settings.AutoMirror != 0)
        task.MirrorPage();
    const int32_t nWidth = FoldWidthUnits(settings);
    if (settings.SplitEn == 0 || task.m_nMaxY <= nWidth)
        return true;
    if (task.m_nMinY != 0)
        task.MoveToOrigin();
    if (task.m_nMaxY > nWidth && settings.AutoRotate != 0)
        task.RotateQuarter();
    return task.m_nMaxY <= nWidth || SplitWidthChecked(task, nWidth);
}

} // namespace

bool IsDxfPath(std::string_view strPath) {
    const std::u16string path = Utf8ToUtf16(strPath);
    if (path.size() <= 5)
        return false;
    const std::u16string_view tail = std::u16string_view(path).substr(path.size() - 3);
    return Upper(tail[0]) == u'D' && Upper(tail[1]) == u'X' && Upper(tail[2]) == u'F';
}

int32_t RollWidthUnits(const CSettings& settings) {
    return static_cast<int32_t>(std::clamp<int64_t>(MmToUnits(settings.PaperLenMm), 0, INT_MAX));
}

int32_t FoldWidthUnits(const CSettings& settings) {
    const int32_t nRoll = RollWidthUnits(settings);
    if (settings.m_nPrintableWidthMm <= 0)
        return nRoll;
    return static_cast<int32_t>(
        std::min<int64_t>(nRoll, MmToUnits(settings.m_nPrintableWidthMm)));
}

namespace {

bool FoldChecked(COnePage& page, int32_t w, bool bForCleaning) {
    if (w <= 0)
        return true; // no roll width configured: nothing to fold to
    if (page.m_nMaxY / w > kMaxSplitStrips)
        return false;
    return bForCleaning ? page.SplitWidthForCleaning(w) : page.SplitWidth(w);
}

} // namespace

bool SplitWidthChecked(COnePage& page, int32_t w) {
    return FoldChecked(page, w, false);
}

bool SplitWidthCheckedForCleaning(COnePage& page, int32_t w) {
    return FoldChecked(page, w, true);
}

CTaskLoadResult LoadTaskDrawing(COnePage& task, const CSettings& settings, bool bShowErrors) {
    CTaskLoadResult result;
    if (!task.m_arrCurves.empty())
        return result;
    double dScaleX = 1.0;
    double dScaleY = 1.0;
    task.m_bOnlyLabels = false;
    task.m_bBelowPaper = false;
    task.m_arrNotDrawn.clear();
    bool bCleaned = false;
    if (IsDxfPath(task.m_strPath)) {
        const CDxfTaskResult dxf = LoadDxfTask(task, settings, &bCleaned);
        if (!dxf.Ok()) {
            const int nCode = dxf.m_nCode == kDxfTaskNoCurves  ? kLoadEmpty
                              : dxf.m_nCode == kDxfTaskTooWide ? kLoadTooWide
                                                               : kLoadUnreadable;
            return CResult::Failure(nCode, dxf.m_strDiag, dxf.m_arrMessages);
        }
    } else if (!ReadHpglTask(task, settings, bShowErrors, result, dScaleX, dScaleY)) {
        return result;
    }
    if (task.m_arrCurves.empty())
        return CResult::Failure(kLoadEmpty, "the file holds nothing that can be drawn");
    if (!Prepare(task, settings, dScaleX, dScaleY, bCleaned)) {
        task.ClearCurves();
        return CResult::Failure(kLoadTooWide,
                                "the drawing is far wider than the roll (check the unit settings)");
    }
    // Curves of one point or of repeated points are cleaned away: such a drawing is as empty
    // as a file without curves, and must say so rather than fail later at the machine.
    if (task.m_arrCurves.empty())
        return CResult::Failure(kLoadEmpty, "the file holds only curves without length");
    task.m_nPrintState = PS_WAITING;
    task.m_nStartMm = 0;
    return result;
}

} // namespace inkvale
