// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SegmentFold.h"

#include <algorithm>

namespace inkvale {

namespace {

// Coordinates wrap around at the int32 range like CCurve::Offset.
int32_t Wrap(int64_t v) {
    return static_cast<int32_t>(v);
}

} // namespace

// The product gets 128 bits: it agrees with a 64-bit product wherever that does not
// overflow, and extreme coordinates cannot overflow it.
int32_t CutCoord(int32_t a0, int32_t c0, int32_t a1, int32_t c1, int32_t cut) {
    __extension__ using Wide = __int128;
    const Wide num = Wide{int64_t{cut} - a0} * (int64_t{c1} - c0);
    return Wrap(c0 + static_cast<int64_t>(num / (int64_t{a1} - a0)));
}

namespace {

// The boxes are current (see the constructor).
bool WhollyAtOrBelow(const CCurve& c, int32_t w) {
    return c.m_nMaxY <= w;
}

} // namespace

CSegmentFold::CSegmentFold(CCurveArray& curves, CCurveArray& marks, int32_t w) {
    size_t nWhole = 0;
    size_t nSegments = 0;
    for (const CCurve& c : curves) {
        if (c.m_arrPoints.size() >= 2 && WhollyAtOrBelow(c, w))
            ++nWhole;
        else if (c.m_arrPoints.size() >= 2)
            nSegments += c.m_arrPoints.size() - 1;
    }
    for (const CCurve& c : marks)
        nSegments += c.m_arrPoints.size() >= 2 ? c.m_arrPoints.size() - 1 : 0;
    // A pass appends at most one piece per segment (moved whole, or the upper piece of a
    // cut) before it drops the moved ones from the front: room for that from the start
    // saves a copy of them all, and room never touched costs no memory.
    m_arrSegments.reserve(2 * nSegments);
    m_arrWhole.reserve(nWhole);
    for (CCurve& c : curves)
        Add(c, c.m_arrPoints.size() >= 2 && WhollyAtOrBelow(c, w));
    for (CCurve& c : marks)
        Add(c, false);
    // Only the vertex arrays of the whole curves are kept: the array of curves goes now,
    // before Join makes the new one.
    CCurveArray().swap(curves);
    CCurveArray().swap(marks);
}

// Curves share their entry of attributes: a drawing has few pens and line types, and the
// fold needs nothing else of a segment's polyline.
uint32_t CSegmentFold::SourceOf(const CCurve& c) {
    const CSource source{c.m_nPen, c.m_nLineType, c.m_bSelected};
    const auto same = [&](const CSource& s) {
        return s.m_nPen == source.m_nPen && s.m_nLineType == source.m_nLineType &&
               s.m_bSelected == source.m_bSelected;
    };
    if (m_nLastSource < m_arrSources.size() && same(m_arrSources[m_nLastSource]))
        return m_nLastSource;
    if (m_arrSources.size() < kSharedSources) {
        const auto it = std::find_if(m_arrSources.begin(), m_arrSources.end(), same);
        if (it != m_arrSources.end()) {
            m_nLastSource = static_cast<uint32_t>(it - m_arrSources.begin());
            return m_nLastSource;
        }
    }
    m_arrSources.push_back(source);
    m_nLastSource = static_cast<uint32_t>(m_arrSources.size() - 1);
    return m_nLastSource;
}

void CSegmentFold::Add(CCurve& c, bool bWhole) {
    if (c.m_arrPoints.size() < 2)
        return;
    const uint32_t nSource = SourceOf(c);
    if (bWhole) {
        if (m_arrWholeSources.empty() || m_arrWholeSources.back().m_nSource != nSource)
            m_arrWholeSources.push_back({static_cast<uint32_t>(m_arrWhole.size()), nSource});
        m_arrWhole.push_back(std::move(c.m_arrPoints));
        return;
    }
    const auto nWholeBefore = static_cast<uint32_t>(m_arrWhole.size());
    for (size_t k = 0; k + 1 < c.m_arrPoints.size(); ++k)
        m_arrSegments.push_back({c.m_arrPoints[k], c.m_arrPoints[k + 1], nSource, nWholeBefore});
    std::vector<CPoint>().swap(c.m_arrPoints);
}

void CSegmentFold::Pass(int32_t w, int32_t shift) {
    // The list is [examined | to examine | appended]. A piece cut off a crossing segment is
    // appended and the bound of the pass grows by one, which brings the first appended
    // segment into this pass; a segment lying wholly above w is appended without touching
    // the bound, so it waits (unless a later crossing brings it in). Examined segments that
    // stay are compacted toward the front, so the pass is linear.
    std::vector<CSegment>& list = m_arrSegments;
    size_t bound = list.size();
    size_t kept = 0;
    size_t r = 0;
    const auto moved = [&](int64_t x, int64_t y) { return CPoint{Wrap(x + shift), Wrap(y - w)}; };
    for (; r < bound; ++r) {
        const CSegment s = list[r];
        const int32_t x0 = s.m_p0.x, y0 = s.m_p0.y, x1 = s.m_p1.x, y1 = s.m_p1.y;
        if (y0 <= w && y1 <= w) {
            list[kept++] = s;
        } else if (y0 < w && w < y1) {
            const int32_t xc = CutCoord(y0, x0, y1, x1, w);
            list[kept++] = {s.m_p0, {xc, w}, s.m_nSource, s.m_nCurve};
            list.push_back({{Wrap(int64_t{xc} + shift), 0}, moved(x1, y1), s.m_nSource, kMoved});
            ++bound;
        } else if (y0 > w && w > y1) {
            const int32_t xc = CutCoord(y0, x0, y1, x1, w);
            list[kept++] = {{xc, w}, s.m_p1, s.m_nSource, s.m_nCurve};
            list.push_back({moved(x0, y0), {Wrap(int64_t{xc} + shift), 0}, s.m_nSource, kMoved});
            ++bound;
        } else {
            list.push_back({moved(x0, y0), moved(x1, y1), s.m_nSource, kMoved});
        }
    }
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(kept),
               list.begin() + static_cast<std::ptrdiff_t>(r));
}

bool CSegmentFold::Continues(const CSegment& before, const CSegment& next) const {
    return m_arrSources[before.m_nSource].m_nPen == m_arrSources[next.m_nSource].m_nPen &&
           before.m_p1 == next.m_p0;
}

size_t CSegmentFold::SegmentCount(const CSegment& s) const {
    return s.m_nCurve == kNoCurve ? 1 : m_arrWhole[s.m_nCurve].size() - 1;
}

// Each segment gives both its vertices, as joining segments keeps a meeting vertex twice;
// kept once, a segment after the first gives only its end.
void CSegmentFold::AppendSegments(const CSegment& s, bool bFirst, bool bTwice,
                                  std::vector<CPoint>& points) {
    if (s.m_nCurve == kNoCurve) {
        if (bFirst || bTwice)
            points.push_back(s.m_p0);
        points.push_back(s.m_p1);
        return;
    }
    std::vector<CPoint>& source = m_arrWhole[s.m_nCurve];
    if (bTwice) {
        for (size_t k = 0; k + 1 < source.size(); ++k) {
            points.push_back(source[k]);
            points.push_back(source[k + 1]);
        }
    } else {
        points.insert(points.end(), source.begin() + (bFirst ? 0 : 1), source.end());
    }
    std::vector<CPoint>().swap(source);
}

// v0 v1 v2 ... becomes v0 v1 v1 v2 v2 ..., in place from the back: the vertices of segment
// k go to 2k and 2k + 1, never below where later segments still read theirs.
void CSegmentFold::DoubleInnerVertices(std::vector<CPoint>& points) {
    const size_t n = points.size();
    points.resize(2 * (n - 1));
    for (size_t k = n - 1; k-- > 0;) {
        points[2 * k + 1] = points[k + 1];
        points[2 * k] = points[k];
    }
}

bool CSegmentFold::CWalk::WholeFirst() const {
    return m_nWhole < m_fold.m_arrWhole.size() &&
           (m_nSegment == m_fold.m_arrSegments.size() ||
            m_fold.m_arrSegments[m_nSegment].m_nCurve > m_nWhole);
}

bool CSegmentFold::CWalk::AtEnd() const {
    return m_nWhole == m_fold.m_arrWhole.size() && m_nSegment == m_fold.m_arrSegments.size();
}

CSegmentFold::CSegment CSegmentFold::CWalk::Item() const {
    if (!WholeFirst()) {
        CSegment s = m_fold.m_arrSegments[m_nSegment];
        s.m_nCurve = kNoCurve;
        return s;
    }
    const std::vector<CPoint>& points = m_fold.m_arrWhole[m_nWhole];
    return {points.front(), points.back(), m_fold.m_arrWholeSources[m_nRun].m_nSource,
            static_cast<uint32_t>(m_nWhole)};
}

void CSegmentFold::CWalk::Next() {
    if (!WholeFirst()) {
        ++m_nSegment;
        return;
    }
    ++m_nWhole;
    const std::vector<CSourceRun>& runs = m_fold.m_arrWholeSources;
    if (m_nRun + 1 < runs.size() && runs[m_nRun + 1].m_nFirst <= m_nWhole)
        ++m_nRun;
}

CCurveArray CSegmentFold::Join(bool bMeetingVerticesTwice) {
    // Counted first, so that every array is allocated once at its final size.
    size_t nCurves = 0;
    CSegment before;
    for (CWalk walk(*this); !walk.AtEnd(); walk.Next()) {
        const CSegment item = walk.Item();
        nCurves += nCurves == 0 || !Continues(before, item) ? 1 : 0;
        before = item;
    }
    CCurveArray curves(nCurves);
    size_t c = 0;
    for (CWalk walk(*this); !walk.AtEnd();) {
        // The run of items that join: counted ahead on a copy of the walk.
        const CSegment first = walk.Item();
        size_t nItems = 1;
        size_t nSegments = SegmentCount(first);
        CWalk ahead = walk;
        for (CSegment last = first; ahead.Next(), !ahead.AtEnd(); ++nItems) {
            const CSegment item = ahead.Item();
            if (!Continues(last, item))
                break;
            nSegments += SegmentCount(item);
            last = item;
        }
        CCurve& curve = curves[c++];
        const CSource& source = m_arrSources[first.m_nSource];
        curve.m_nPen = source.m_nPen;
        curve.m_nLineType = source.m_nLineType;
        curve.m_bSelected = source.m_bSelected;
        if (nItems == 1 && first.m_nCurve != kNoCurve) {
            // A curve that stands alone keeps its own vertex array.
            curve.m_arrPoints = std::move(m_arrWhole[first.m_nCurve]);
            if (bMeetingVerticesTwice)
                DoubleInnerVertices(curve.m_arrPoints);
            walk.Next();
            continue;
        }
        curve.m_arrPoints.reserve(bMeetingVerticesTwice ? 2 * nSegments : nSegments + 1);
        for (size_t k = 0; k < nItems; ++k, walk.Next())
            AppendSegments(walk.Item(), k == 0, bMeetingVerticesTwice, curve.m_arrPoints);
    }
    return curves;
}

} // namespace inkvale
