// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/Curve.h"

#include <cstdint>
#include <vector>

namespace inkvale {

/// The coordinate where a segment meets a cut line: c0 + (cut - a0)(c1 - c0) / (a1 - a0),
/// the quotient truncated toward zero, wrapped to 32 bits.
int32_t CutCoord(int32_t a0, int32_t c0, int32_t a1, int32_t c1, int32_t cut);

/// The fold of COnePage::SplitWidth worked on bare segments: ExplodeSegments, the fold
/// passes and JoinSegments give exactly the curves, order and attributes they give on
/// curves, but a segment is two vertices and the number of its polyline instead of a curve
/// with a vertex array of its own, so a marker of millions of segments folds without a
/// heap block per segment.
class CSegmentFold {
public:
    /// Takes the curves apart into their segments, in drawing order, and empties the array;
    /// curves of fewer than two vertices are dropped.
    explicit CSegmentFold(CCurveArray& curves);
    /// Moves everything above Y = w one strip further: X + shift, Y - w; a segment that
    /// crosses w is cut there, its upper piece moved.
    void Pass(int32_t w, int32_t shift);
    /// The segments joined as JoinSegments joins them (meeting vertices kept twice), each
    /// curve with the pen, line type and selection of its first segment's polyline. The
    /// boxes are left for CalcExtents.
    CCurveArray Join() const;

private:
    struct CSegment {
        CPoint m_p0;
        CPoint m_p1;
        uint32_t m_nSource = 0;
    };
    struct CSource {
        int m_nPen = 1;
        int m_nLineType = 0;
        bool m_bSelected = false;
    };
    bool Continues(const CSegment& before, const CSegment& next) const;

    std::vector<CSegment> m_arrSegments;
    std::vector<CSource> m_arrSources;
};

} // namespace inkvale
