// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/HpglCurveBuilder.h"

#include <algorithm>
#include <limits>

namespace inkvale {

CHpglCurveBuilder::CHpglCurveBuilder(CCurveArray& arrCurves, bool bPagesAlongX)
    : m_arrCurves(arrCurves), m_bPagesAlongX(bPagesAlongX) {}

void CHpglCurveBuilder::Build(const CHpglPlotList& plotList) {
    Add(plotList);
    Finish();
}

void CHpglCurveBuilder::Add(const CHpglPlotList& plotList, size_t nFrom, size_t nTo) {
    size_t nStarts = 1;
    for (size_t i = nFrom; i < nTo; ++i) {
        const int32_t nKind = plotList[i].m_nKind;
        nStarts += (nKind == CHpglPlotList::kMove || nKind == CHpglPlotList::kPageBreak) ? 1 : 0;
    }
    // An upper bound of the curves to come, so the array is not regrown on the way; parts
    // of a list read in parts grow it at least twofold, not by a part at a time.
    const size_t nNeeded = m_arrCurves.size() + nStarts;
    if (m_arrCurves.capacity() < nNeeded)
        m_arrCurves.reserve(m_bPartsSeen ? std::max(nNeeded, 2 * m_arrCurves.capacity()) : nNeeded);
    m_bPartsSeen = true;
    for (size_t i = nFrom; i < nTo; ++i) {
        const CHpglPlotList::CRecord& r = plotList[i];
        const int32_t* pValues = plotList.Data(r);
        switch (r.m_nKind) {
        case CHpglPlotList::kPolyline:
            AddPolyline(pValues, r.m_nCount);
            break;
        case CHpglPlotList::kMove:
            if (r.m_nCount >= 2)
                Move(pValues[0], pValues[1]);
            break;
        case CHpglPlotList::kPageBreak:
            PageBreak();
            break;
        case CHpglPlotList::kLineType:
            m_nLineTypeInForce = r.m_nCount >= 1 ? pValues[0] : 0;
            break;
        default:
            break; // pen selects do not change the curves
        }
    }
}

// X offsets of later pages can push a coordinate past the int32 range: it is held at the
// limit instead of wrapping around.
int32_t CHpglCurveBuilder::ShiftX(int32_t x) const {
    const int64_t n = static_cast<int64_t>(x) + m_nOffsetX;
    return static_cast<int32_t>(std::clamp<int64_t>(n, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

void CHpglCurveBuilder::AddPolyline(const int32_t* pValues, uint32_t nCount) {
    for (uint32_t i = 0; i + 1 < nCount; i += 2)
        m_arrCurrent.push_back({ShiftX(pValues[i]), pValues[i + 1]});
}

void CHpglCurveBuilder::Move(int32_t x, int32_t y) {
    const CPoint m{ShiftX(x), y};
    if (!m_arrCurrent.empty() && m_arrCurrent.back() != m) {
        Emit();
        m_nCurrentLineType = m_nLineTypeInForce;
    }
    if (m_arrCurrent.empty())
        m_nCurrentLineType = m_nLineTypeInForce;
    m_arrCurrent.push_back(m);
}

void CHpglCurveBuilder::PageBreak() {
    Emit();
    if (m_bPagesAlongX && !m_arrCurves.empty()) {
        // The page's extents: every curve recomputes its box, the largest X wins.
        for (; m_nMeasured < m_arrCurves.size(); ++m_nMeasured) {
            CCurve& c = m_arrCurves[m_nMeasured];
            if (c.m_arrPoints.empty())
                continue;
            c.CalcExtents();
            m_nLargestX = m_bHaveLargest ? std::max(m_nLargestX, c.m_nMaxX) : c.m_nMaxX;
            m_bHaveLargest = true;
        }
        m_nOffsetX = m_bHaveLargest ? m_nLargestX : 0;
    }
    m_nCurrentLineType = 0;
    m_nLineTypeInForce = 0;
}

// The current curve joins the array with exactly the room it needs; the scratch array keeps
// its capacity for the next curve.
void CHpglCurveBuilder::Emit() {
    if (m_arrCurrent.empty())
        return;
    CCurve& c = m_arrCurves.emplace_back();
    c.m_nLineType = CurveLineType(m_nCurrentLineType);
    c.m_arrPoints.assign(m_arrCurrent.begin(), m_arrCurrent.end());
    m_arrCurrent.clear();
}

} // namespace inkvale
