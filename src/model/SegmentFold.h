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
    /// one after another, so it stands apart from the list, which only records where it
    /// comes among the segments.
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
    /// Stands behind every whole curve: a piece a pass has moved.
    static constexpr uint32_t kMoved = UINT32_MAX;
    /// A segment of the list; or, as Join walks the segments and the whole curves in
    /// their order, a whole curve from its first vertex to its last (m_nCurve: its index).
    struct CSegment {
        CPoint m_p0;
        CPoint m_p1;
        uint32_t m_nSource = 0;
        /// In the list: how many whole curves come before it (kMoved once moved). As a
        /// whole curve: its index in m_arrWhole; kNoCurve for a segment.
        uint32_t m_nCurve = kNoCurve;
    };
    struct CSource {
        int m_nPen = 1;
        int m_nLineType = 0;
        bool m_bSelected = false;
    };
    /// Walks the whole curves and the list in drawing order: a whole curve comes before
    /// every segment of a curve after it, and before every moved piece.
    class CWalk {
    public:
        explicit CWalk(const CSegmentFold& fold) : m_fold(fold) {}
        bool AtEnd() const;
        /// The item the walk stands at, as a segment.
        CSegment Item() const;
        void Next();

    private:
        bool WholeFirst() const;
        const CSegmentFold& m_fold;
        size_t m_nWhole = 0;
        size_t m_nSegment = 0;
        size_t m_nRun = 0; ///< the run of attributes of whole curve m_nWhole
    };

    bool Continues(const CSegment& before, const CSegment& next) const;

    /// Appends the curve's segments, or keeps the curve whole.
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
    /// The curves that stand whole: their vertices. They are not in the list, which so
    /// holds only what a pass may cut or move.
    std::vector<std::vector<CPoint>> m_arrWhole;
    /// Their attributes by runs: from whole curve m_nFirst on, up to the next run, curves
    /// have m_nSource. Neighbouring curves mostly share theirs.
    struct CSourceRun {
        uint32_t m_nFirst = 0;
        uint32_t m_nSource = 0;
    };
    std::vector<CSourceRun> m_arrWholeSources;
};

} // namespace inkvale
