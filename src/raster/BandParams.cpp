// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/BandParams.h"

#include "config/MachineParams.h"
#include "config/Settings.h"

namespace inkvale {

CBandParams MakeBandParams(const CMachineParams& machine) {
    CBandParams p;
    p.m_nHeadCombination = machine.HeadCombination();
    p.m_nLineWidthPx = machine.LineWidthPx();
    p.m_nXDotsPerMetre = machine.XDotsPerMetre();
    for (int i = 0; i < 4; ++i) {
        p.m_arrHeadPos[i] = machine.HeadPos(i);
        p.m_arrReturnJoin[i] = machine.ReturnJoin(i);
    }
    for (int i = 0; i < 3; ++i)
        p.m_arrHeadOverlap[i] = machine.HeadOverlap(i);
    p.m_bBidirectional = machine.Bidirectional() != 0;
    p.m_nInkColumns = machine.InkColumns();
    p.m_nMarginLeftMm = machine.MarginLeftMm();
    p.m_nMarginRightMm = machine.MarginRightMm();
    p.m_nEdgeAdjustLeft = machine.EdgeAdjustLeft();
    p.m_nEdgeAdjustRight = machine.EdgeAdjustRight();
    p.m_bPreciseMode = machine.PreciseMode() == 1;
    return p;
}

CBandParams MakeBandParams(const CMachineParams& machine, const CSettings& settings) {
    CBandParams p = MakeBandParams(machine);
    p.m_bSpAutoClean = settings.SpAutoClean != 0;
    p.m_bPrintFileName = settings.PrintFileName != 0;
    p.m_nIBCleanThickness = settings.IBCleanThickness;
    p.m_strCustomString = settings.CustomString;
    p.m_nLanguage = settings.Language;
    return p;
}

} // namespace inkvale
