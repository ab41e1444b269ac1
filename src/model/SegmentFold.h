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
/// curves, but a segment is two vertices and its polyline's attributes (pen, line type,
/// selection) instead of a curve with a vertex array of its own, so a marker of millions of
/// segments folds without a heap block per segment.
class CSegmentFold {
public:
    /// Takes the curves apart into their segments, in drawing order, and empties the array;
    /// curves of fewer than two vertices are dropped. A curve lying wholly at or below Y = w
    /// keeps its vertices: every pass leaves its segments as they are and where they are,
    /// one after another, so it stands in the list as one entry for all of them.
    /// The cut marks follow the curves in the list; both arrays are emptied. The curves'
    /// boxes must be current (CalcExtents).
    CSegmentFold(CCurveArray& curves, CCurveArray& marks, int32_t w);
    /// Moves everything above Y = w one strip further: X + shift, Y - w; a segment that
    /// crosses w is cut there, its upper piece moved.
    void Pass(int32_t w, int32_t shift);
    /// The segments joined as JoinSegments joins them (meeting vertices kept twice, or once
    /// when bMeetingVerticesTwice is false), each curve with the pen, line type and selection
    /// of its first segment's polyline. The boxes are left for CalcExtents.
    CCurveArray Join(bool bMeetingVerticesTwice);

private:
    static constexpr uint32_t kNoCurve = UINT32_MAX;
    /// A segment, or a whole curve (its vertices in m_arrWhole) from its first vertex to
    /// its last.
    struct CSegment {
        CPoint m_p0;
        CPoint m_p1;
        uint32_t m_nSource = 0;
        uint32_t m_nCurve = kNoCurve;
    };
    struct CSource {
        int m_nPen = 1;
        int m_nLineType = 0;
        bool m_bSelected = false;
    };
    bool Continues(const CSegment& before, const CSegment& next) const;

    /// Appends the curve's segments, or the curve whole.
    void Add(CCurve& c, bool bWhole);
    size_t SegmentCount(const CSegment& s) const;
    void AppendSegments(const CSegment& s, bool bFirst, bool bTwice, std::vector<CPoint>& points);
    static void DoubleInnerVertices(std::vector<CPoint>& points);

    std::vector<CSegment> m_arrSegments;
    /// Attributes are shared among the first this many entries; past them every curve gets
    /// its own, so that a drawing of countless pens is not searched through for each curve.
    static constexpr size_t kSharedSources = 64;
    uint32_t SourceOf(const CCurve& c);

    std::vector<CSource> m_arrSources; ///< pen, line type and selection, shared by curves
    uint32_t m_nLastSource = 0;
    std::vector<std::vector<CPoint>> m_arrWhole; ///< vertices of the curves that stand whole
};

} // namespace inkvale
