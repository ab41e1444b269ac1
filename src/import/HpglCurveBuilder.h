// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/Curve.h"
#include "import/HpglPlotList.h"

#include <cstdint>
#include <vector>

namespace inkvale {

/// Turns a plot list into curves appended to a curve array. A drawing command that starts
/// where the previous one ended continues the same curve; a move elsewhere, a page break and
/// the end start a new one. Every curve gets pen number 1.
class CHpglCurveBuilder {
public:
    /// bPagesAlongX: each page break shifts what follows by the largest X of the curves in
    /// arrCurves so far, so pages lie one after another along X.
    CHpglCurveBuilder(CCurveArray& arrCurves, bool bPagesAlongX);

    /// The curves of a whole plot list: Add, then Finish.
    void Build(const CHpglPlotList& plotList);
    /// Takes the records of the next part of a plot list read in parts. The curve being
    /// drawn stays open, so a drawing added in parts gives the curves of the whole list.
    void Add(const CHpglPlotList& plotList) { Add(plotList, 0, plotList.Size()); }
    /// Takes the records nFrom..nTo-1 of a plot list, as Add takes a part.
    void Add(const CHpglPlotList& plotList, size_t nFrom, size_t nTo);
    /// Ends the curve being drawn.
    void Finish() { Emit(); }

private:
    void AddPolyline(const int32_t* pValues, uint32_t nCount);
    void Move(int32_t x, int32_t y);
    void PageBreak();
    void Emit();
    int32_t ShiftX(int32_t x) const;

    CCurveArray& m_arrCurves;
    bool m_bPagesAlongX;
    std::vector<CPoint> m_arrCurrent; // vertices of the current curve
    int m_nCurrentLineType = 0;
    int m_nLineTypeInForce = 0;
    int32_t m_nOffsetX = 0;
    size_t m_nMeasured = 0; // curves of m_arrCurves already counted in m_nLargestX
    bool m_bHaveLargest = false;
    bool m_bPartsSeen = false; // Add was called before
    int32_t m_nLargestX = 0;
};

} // namespace inkvale
