// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/OnePage.h"

#include "geometry/CurveHalves.h"

#include "geometry/Rounding.h"
#include "model/SegmentFold.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <utility>

namespace inkvale {

namespace {

// Coordinates wrap around at the int32 range like CCurve::Offset; the conversion from a
// wider integer is modular.
int32_t Wrap(int64_t v) {
    return static_cast<int32_t>(v);
}

// A two-vertex curve with the selection, pen, line type and (stale) box of the model.
// Copies only the attributes, never the model's vertices, so cutting a long polyline
// into segments stays linear.
CCurve SegmentLike(const CCurve& model, CPoint p, CPoint q) {
    CCurve seg;
    seg.m_bSelected = model.m_bSelected;
    seg.m_nLineType = model.m_nLineType;
    seg.m_nPen = model.m_nPen;
    seg.m_nMinX = model.m_nMinX;
    seg.m_nMaxX = model.m_nMaxX;
    seg.m_nMinY = model.m_nMinY;
    seg.m_nMaxY = model.m_nMaxY;
    seg.m_arrPoints = {p, q};
    return seg;
}

// A segment like SegmentLike whose box is already that of its two vertices, as
// CCurve::CalcExtents would make it.
CCurve SegmentWithBox(const CCurve& model, CPoint p, CPoint q) {
    CCurve seg = SegmentLike(model, p, q);
    seg.m_nMinX = std::min(p.x, q.x);
    seg.m_nMaxX = std::max(p.x, q.x);
    seg.m_nMinY = std::min(p.y, q.y);
    seg.m_nMaxY = std::max(p.y, q.y);
    return seg;
}

void ExtendBox(CCurve& c, CPoint p) {
    c.m_nMinX = std::min(c.m_nMinX, p.x);
    c.m_nMaxX = std::max(c.m_nMaxX, p.x);
    c.m_nMinY = std::min(c.m_nMinY, p.y);
    c.m_nMaxY = std::max(c.m_nMaxY, p.y);
}

// Gives back the room reserved for a worst case that did not happen.
void ReleaseSpareRoom(CCurveArray& curves) {
    if (curves.capacity() > 2 * curves.size())
        curves.shrink_to_fit();
}

// Whether b continues a: same pen and a's last vertex is b's first.
bool Continues(const CCurve& a, const CCurve& b) {
    return a.m_nPen == b.m_nPen && !a.m_arrPoints.empty() && !b.m_arrPoints.empty() &&
           a.m_arrPoints.back() == b.m_arrPoints.front();
}

// Keeps the elements for which keep() holds, in order, in one pass.
template <class Keep>
void KeepCurves(CCurveArray& curves, Keep keep) {
    std::erase_if(curves, [&](CCurve& c) { return !keep(c); });
}

} // namespace

namespace {
std::atomic<uint64_t> g_nNextTaskId{1};
} // namespace

COnePage::COnePage()
    : m_tTime(static_cast<int64_t>(std::time(nullptr))),
      m_nTaskId(g_nNextTaskId.fetch_add(1, std::memory_order_relaxed)) {}

void COnePage::ClearCurves() {
    m_arrCurves.clear();
}

size_t COnePage::VertexCount() const {
    size_t n = 0;
    for (const CCurve& c : m_arrCurves)
        n += c.m_arrPoints.size();
    return n;
}

void COnePage::CopyTask(const COnePage& source) {
    m_strName = source.m_strName;
    m_strPath = source.m_strPath;
    m_nMaxX = source.m_nMaxX;
    m_nMinX = source.m_nMinX;
    m_nMaxY = source.m_nMaxY;
    m_nMinY = source.m_nMinY;
    m_nStartMm = source.m_nStartMm;
    // Copying a page onto itself doubles its drawing; index the snapshot size so the
    // appended copies are not copied again.
    const size_t n = source.m_arrCurves.size();
    m_arrCurves.reserve(m_arrCurves.size() + n);
    for (size_t i = 0; i < n; ++i) {
        CCurve copy;
        copy.CopyFrom(source.m_arrCurves[i]);
        m_arrCurves.push_back(std::move(copy));
    }
}

void COnePage::CalcExtents() {
    ForEachCurveInHalves(m_arrCurves, [](CCurve& c) { c.CalcExtents(); });
    UnionCurveBoxes();
}

void COnePage::UnionCurveBoxes() {
    if (m_arrCurves.empty()) {
        m_nMaxX = m_nMinX = m_nMaxY = m_nMinY = 0;
        return;
    }
    const CCurve& first = m_arrCurves.front();
    m_nMinX = first.m_nMinX;
    m_nMaxX = first.m_nMaxX;
    m_nMinY = first.m_nMinY;
    m_nMaxY = first.m_nMaxY;
    for (const CCurve& c : m_arrCurves) {
        m_nMinX = std::min(m_nMinX, c.m_nMinX);
        m_nMaxX = std::max(m_nMaxX, c.m_nMaxX);
        m_nMinY = std::min(m_nMinY, c.m_nMinY);
        m_nMaxY = std::max(m_nMaxY, c.m_nMaxY);
    }
}

void COnePage::CalcSelectionExtents() {
    m_bHasSelection = false;
    for (const CCurve& c : m_arrCurves) {
        if (!c.m_bSelected)
            continue;
        if (!m_bHasSelection) {
            m_nSelMinX = c.m_nMinX;
            m_nSelMaxX = c.m_nMaxX;
            m_nSelMinY = c.m_nMinY;
            m_nSelMaxY = c.m_nMaxY;
            m_bHasSelection = true;
            continue;
        }
        m_nSelMinX = std::min(m_nSelMinX, c.m_nMinX);
        m_nSelMaxX = std::max(m_nSelMaxX, c.m_nMaxX);
        m_nSelMinY = std::min(m_nSelMinY, c.m_nMinY);
        m_nSelMaxY = std::max(m_nSelMaxY, c.m_nMaxY);
    }
}

void COnePage::ClearCurveSelection() {
    for (CCurve& c : m_arrCurves)
        c.m_bSelected = false;
}

void COnePage::SelectAllCurves() {
    for (CCurve& c : m_arrCurves)
        c.m_bSelected = true;
}

void COnePage::DeleteSelectedCurves() {
    KeepCurves(m_arrCurves, [](const CCurve& c) { return !c.m_bSelected; });
}

void COnePage::OffsetSelected(int32_t dx, int32_t dy) {
    for (CCurve& c : m_arrCurves)
        if (c.m_bSelected)
            c.Offset(dx, dy);
}

void COnePage::OffsetAll(int32_t dx, int32_t dy) {
    ForEachCurveInHalves(m_arrCurves, [dx, dy](CCurve& c) { c.Offset(dx, dy); });
}

void COnePage::MoveToOrigin() {
    if (m_arrCurves.empty())
        return;
    CalcExtents();
    OffsetAll(Wrap(-int64_t{m_nMinX}), Wrap(-int64_t{m_nMinY}));
    m_nMaxX = Wrap(int64_t{m_nMaxX} - m_nMinX);
    m_nMaxY = Wrap(int64_t{m_nMaxY} - m_nMinY);
    m_nMinX = m_nMinY = 0;
}

void COnePage::NormalizeOrigin() {
    if (m_arrCurves.empty())
        return;
    CalcExtents();
    NormalizeOriginOfCurrentBox();
}

bool COnePage::NormalizeOriginOfCurrentBox() {
    if (m_arrCurves.empty())
        return true;
    // Every vertex lies in the box, so it moves to somewhere between 0 and the box's size:
    // the move wraps a vertex round only when that size is beyond the int32 range.
    const bool bWhole = int64_t{m_nMaxX} - m_nMinX <= INT32_MAX &&
                        (m_nMinY >= 0 || int64_t{m_nMaxY} - m_nMinY <= INT32_MAX);
    // Y is only lifted: a drawing that starts above the paper edge keeps its margin. Both
    // moves are made in one pass over the vertices.
    const int32_t dx = m_nMinX != 0 ? Wrap(-int64_t{m_nMinX}) : 0;
    const int32_t dy = m_nMinY < 0 ? Wrap(-int64_t{m_nMinY}) : 0;
    if (dx != 0 || dy != 0)
        OffsetAll(dx, dy);
    if (m_nMinX != 0) {
        m_nMaxX = Wrap(int64_t{m_nMaxX} - m_nMinX);
        m_nMinX = 0;
    }
    if (m_nMinY < 0) {
        m_nMaxY = Wrap(int64_t{m_nMaxY} - m_nMinY);
        m_nMinY = 0;
    }
    return bWhole;
}

void COnePage::ApplyStartPosition() {
    if (m_arrCurves.empty())
        return;
    const int32_t dx = TruncToInt(m_nStartMm * -40.0);
    OffsetAll(dx, 0);
    // minX keeps its value: the rasteriser reads the lowered maxX as the job length.
    m_nMaxX = Wrap(int64_t{m_nMaxX} + dx);
}

void COnePage::ScaleAll(double sx, double sy) {
    for (CCurve& c : m_arrCurves)
        c.Scale(sx, sy);
}

void COnePage::ApplySizeCorrectionAll(const CSizeRatio& ratio) {
    for (CCurve& c : m_arrCurves)
        c.ApplySizeCorrection(ratio);
}

void COnePage::MirrorPage() {
    CalcExtents();
    for (CCurve& c : m_arrCurves)
        c.MirrorY(m_nMaxY);
}

void COnePage::RotateQuarter() {
    for (CCurve& c : m_arrCurves)
        for (CPoint& p : c.m_arrPoints)
            p = {Wrap(int64_t{m_nMaxY} - p.y), p.x};
    CalcExtents();
}

void COnePage::RotateQuarterBack() {
    for (CCurve& c : m_arrCurves)
        for (CPoint& p : c.m_arrPoints)
            p = {p.y, Wrap(int64_t{m_nMaxX} - p.x)};
    CalcExtents();
}

void COnePage::ExplodeSegments() {
    // Building a fresh array gives the order of cutting one segment after another off the
    // front of each polyline, without inserting into the middle of the list.
    size_t total = 0;
    for (const CCurve& c : m_arrCurves)
        if (c.m_arrPoints.size() >= 2)
            total += c.m_arrPoints.size() - 1;
    CCurveArray out;
    out.reserve(total);
    for (CCurve& c : m_arrCurves) {
        const size_t n = c.m_arrPoints.size();
        if (n == 2) {
            out.push_back(std::move(c));
            continue;
        }
        for (size_t k = 0; k + 1 < n; ++k)
            out.push_back(SegmentLike(c, c.m_arrPoints[k], c.m_arrPoints[k + 1]));
    }
    m_arrCurves = std::move(out);
}

void COnePage::JoinSegments() {
    // In-place compaction: `kept` is the curve that absorbs its followers.
    size_t kept = 0;
    for (size_t r = 0; r < m_arrCurves.size(); ++r) {
        CCurve& next = m_arrCurves[r];
        if (kept > 0 && Continues(m_arrCurves[kept - 1], next)) {
            auto& pts = m_arrCurves[kept - 1].m_arrPoints;
            pts.insert(pts.end(), next.m_arrPoints.begin(), next.m_arrPoints.end());
            continue;
        }
        if (kept != r)
            m_arrCurves[kept] = std::move(next);
        ++kept;
    }
    m_arrCurves.resize(kept);
}

bool COnePage::CleanCurves() {
    // Each curve is cleaned on its own, so a large drawing shares the work between two
    // threads.
    // The box is taken, and the result checked, while the curve's vertices are still in
    // the cache.
    std::atomic<bool> bClean{true};
    ForEachCurveInHalves(m_arrCurves, [&bClean](CCurve& c) {
        if (!c.Clean())
            bClean.store(false, std::memory_order_relaxed);
        c.CalcExtents();
    });
    KeepCurves(m_arrCurves, [](const CCurve& c) { return c.m_arrPoints.size() >= 2; });
    UnionCurveBoxes();
    return bClean.load();
}

void COnePage::AppendShifted(const COnePage& source) {
    CalcExtents();
    const size_t n = source.m_arrCurves.size();
    m_arrCurves.reserve(m_arrCurves.size() + n);
    for (size_t i = 0; i < n; ++i) {
        CCurve copy;
        copy.CopyFrom(source.m_arrCurves[i]);
        copy.Offset(m_nMaxX, 0);
        m_arrCurves.push_back(std::move(copy));
    }
}

namespace {

// Receives the segments that stay on the page in list order and joins each one to the
// curve before it when they meet, as JoinSegments would after ExplodeSegments, without
// ever making a curve of each segment. A curve that is a single segment is reused. The
// boxes of the curves it makes are kept exact, as CalcExtents would make them.
class CSegmentJoiner {
public:
    explicit CSegmentJoiner(CCurveArray& out) : m_out(out) {}

    void Add(CCurve& source, CPoint p, CPoint q, bool reuse) {
        if (!m_out.empty()) {
            CCurve& back = m_out.back();
            if (back.m_nPen == source.m_nPen && back.m_arrPoints.back() == p) {
                back.m_arrPoints.push_back(p);
                back.m_arrPoints.push_back(q);
                ExtendBox(back, q);
                return;
            }
        }
        if (reuse) {
            source.m_arrPoints = {p, q};
            source.CalcExtents();
            m_out.push_back(std::move(source));
        } else {
            m_out.push_back(SegmentWithBox(source, p, q));
        }
    }

private:
    CCurveArray& m_out;
};

} // namespace

void COnePage::SplitAtLength(COnePage& target, int32_t a) {
    // Splitting into itself would append to the list being walked.
    if (m_arrCurves.empty() || &target == this)
        return;
    // Explode, cut, move and rejoin in one pass: every polyline is walked segment by
    // segment in drawing order; what stays goes through the joiner, what moves is appended
    // to the target as its own curve.
    CCurveArray in = std::move(m_arrCurves);
    m_arrCurves = CCurveArray{};
    m_arrCurves.reserve(in.size());
    CSegmentJoiner keep(m_arrCurves);
    CCurveArray& moved = target.m_arrCurves;
    // Curves made here get exact boxes as they are made, so only a target that held
    // curves before needs its boxes recomputed.
    const bool targetWasEmpty = moved.empty();
    // Room for the worst case (every segment moves) in one allocation: pages that are
    // never written cost nothing, while growing a huge array step by step would copy it.
    size_t segments = 0;
    for (const CCurve& c : in)
        segments += c.m_arrPoints.size() >= 2 ? c.m_arrPoints.size() - 1 : 0;
    moved.reserve(moved.size() + segments);
    for (CCurve& c : in) {
        const size_t n = c.m_arrPoints.size();
        const bool single = n == 2;
        for (size_t k = 0; k + 1 < n; ++k) {
            const CPoint p0 = c.m_arrPoints[k];
            const CPoint p1 = c.m_arrPoints[k + 1];
            const int32_t x0 = p0.x, y0 = p0.y, x1 = p1.x, y1 = p1.y;
            if (x0 <= a && x1 <= a) {
                keep.Add(c, p0, p1, single);
            } else if (x0 < a && a < x1) {
                const int32_t yc = CutCoord(x0, y0, x1, y1, a);
                moved.push_back(SegmentWithBox(c, {0, yc}, {Wrap(int64_t{x1} - a), y1}));
                keep.Add(c, p0, {a, yc}, single);
            } else if (x0 > a && a > x1) {
                const int32_t yc = CutCoord(x0, y0, x1, y1, a);
                moved.push_back(SegmentWithBox(c, {Wrap(int64_t{x0} - a), y0}, {0, yc}));
                keep.Add(c, {a, yc}, p1, single);
            } else {
                const CPoint q0{Wrap(int64_t{x0} - a), y0};
                const CPoint q1{Wrap(int64_t{x1} - a), y1};
                if (single) {
                    c.m_arrPoints = {q0, q1};
                    c.CalcExtents();
                    moved.push_back(std::move(c));
                } else {
                    moved.push_back(SegmentWithBox(c, q0, q1));
                }
            }
        }
    }
    ReleaseSpareRoom(m_arrCurves);
    ReleaseSpareRoom(moved);
    UnionCurveBoxes();
    if (targetWasEmpty)
        target.UnionCurveBoxes();
    else
        target.CalcExtents();
}

int64_t COnePage::CutMarkCurves(int32_t maxX) {
    if (maxX < 4000)
        return 0;
    const int64_t dashes = 2 * (int64_t{maxX} / 400 + 1);
    const int64_t marks = maxX / 4000 + (maxX % 4000 > 400 ? 1 : 0);
    return dashes + 4 * marks;
}

bool COnePage::SplitWidth(int32_t w) {
    return Fold(w, true);
}

bool COnePage::SplitWidthForCleaning(int32_t w) {
    return Fold(w, false);
}

bool COnePage::Fold(int32_t w, bool bMeetingVerticesTwice) {
    // A width of zero or less has no strips (and would divide by zero).
    if (m_arrCurves.empty() || w <= 0)
        return true;
    if (bMeetingVerticesTwice)
        CalcExtents(); // a fold for cleaning starts from the current box
    if (m_nMaxY <= w)
        return true;
    const int32_t strips = m_nMaxY / w;
    // A stray coordinate in a damaged file can make a drawing kilometres wide; folding it
    // would need millions of passes and cut marks. Such a fold is refused.
    if (strips > kMaxFoldStrips || strips * CutMarkCurves(m_nMaxX) > kMaxFoldCutMarkCurves)
        return false;
    // The cut marks are made apart and handed to the fold after the drawing, which saves
    // regrowing the drawing's array for a few thousand marks.
    CCurveArray drawing;
    drawing.swap(m_arrCurves);
    for (int32_t k = 1; k <= strips; ++k)
        AddCutMarks(k * w);
    const int32_t shift = Wrap(int64_t{m_nMaxX} + kStripGap);
    CSegmentFold fold(drawing, m_arrCurves, w);
    for (int32_t pass = 1; pass <= strips; ++pass)
        fold.Pass(w, shift);
    m_arrCurves = fold.Join(bMeetingVerticesTwice);
    CalcExtents();
    return true;
}

void COnePage::AddLine(std::initializer_list<CPoint> points) {
    CCurve c;
    c.m_arrPoints.assign(points.begin(), points.end());
    c.CalcExtents();
    m_arrCurves.push_back(std::move(c));
}

void COnePage::AddCutMarks(int32_t a) {
    if (m_nMaxX < 4000)
        return;
    const auto at = [a](int64_t x, int64_t dy) { return CPoint{Wrap(x), Wrap(a + dy)}; };
    // A doubled dashed line: 300-unit dashes, 100-unit gaps.
    for (int64_t i = 0; i <= m_nMaxX / 400; ++i) {
        const int64_t d = 400 * i;
        AddLine({at(d, 0), at(d + 300, 0)});
        AddLine({at(d, 1), at(d + 300, 1)});
    }
    // Every 100 mm a cross of two chevrons and a bar 800 units long over the line.
    const int64_t marks = m_nMaxX / 4000 + (m_nMaxX % 4000 > 400 ? 1 : 0);
    for (int64_t j = 0; j < marks; ++j) {
        const int64_t f = 400 + 4000 * j;
        const int64_t c = f - 200;
        AddLine({at(f, -200), at(c, 0), at(f - 400, -200)});
        AddLine({at(c, 0), at(c, -400)});
        AddLine({at(f - 400, 200), at(c, 0), at(f, 200)});
        AddLine({at(c, 0), at(c, 400)});
    }
}

void COnePage::AddSeam() {
    if (m_nMaxY <= 400)
        return;
    const int64_t n = m_nMaxY / 400;
    for (int64_t i = 0; i < n; ++i)
        AddLine({{m_nMaxX, Wrap(400 * i)}, {m_nMaxX, Wrap(400 * i + 100)}});
    AddLine({{m_nMaxX, Wrap(400 * n)}, {m_nMaxX, m_nMaxY}});
}

bool COnePage::SelectCurveAt(const CViewTransform& disp, int sx, int sy) {
    // The first hit in the order (pen 0..9, then list position): one pass that only tests
    // curves whose pen could still beat the best hit so far.
    CCurve* best = nullptr;
    for (CCurve& c : m_arrCurves) {
        if (c.m_nPen < 0 || c.m_nPen > 9 || (best && c.m_nPen >= best->m_nPen))
            continue;
        if (c.HitTest(disp, sx, sy))
            best = &c;
    }
    if (!best)
        return false;
    best->m_bSelected = !best->m_bSelected;
    return true;
}

bool COnePage::SelectCurvesInRect(const CViewTransform& disp, const CScreenRect& rect, bool bCrossing) {
    const CScreenPoint a = ScreenToWorld(disp, rect.left, rect.top);
    const CScreenPoint b = ScreenToWorld(disp, rect.right, rect.bottom);
    const double edges[4][4] = {
        {double(a.x), double(a.y), double(b.x), double(a.y)},
        {double(b.x), double(a.y), double(b.x), double(b.y)},
        {double(b.x), double(b.y), double(a.x), double(b.y)},
        {double(a.x), double(b.y), double(a.x), double(a.y)},
    };
    const auto crosses = [&](const CPoint& p, const CPoint& q) {
        const double dx = double(q.x) - p.x;
        const double dy = double(q.y) - p.y;
        if (std::sqrt(dx * dx + dy * dy) < 5.0)
            return false;
        return std::any_of(std::begin(edges), std::end(edges), [&](const double(&e)[4]) {
            return SegmentsIntersect(p.x, p.y, q.x, q.y, e[0], e[1], e[2], e[3]);
        });
    };
    bool any = false;
    for (CCurve& c : m_arrCurves) {
        c.CalcExtents();
        bool hit = c.IsInsideRect(disp, rect);
        for (size_t i = 1; !hit && bCrossing && i < c.m_arrPoints.size(); ++i)
            hit = crosses(c.m_arrPoints[i - 1], c.m_arrPoints[i]);
        if (hit) {
            c.m_bSelected = true;
            any = true;
        }
    }
    return any;
}

namespace {

// v lies strictly between two bounds; equal bounds contain nothing.
bool StrictlyBetween(double v, double b1, double b2) {
    return v > std::min(b1, b2) && v < std::max(b1, b2);
}

constexpr double kVerticalEps = 1e-6;

} // namespace

bool SegmentsIntersect(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                       double y4) {
    if (std::fabs(x1 - x2) < kVerticalEps) {
        if (std::fabs(x3 - x4) < kVerticalEps)
            return false;
        const double y = y3 + (y4 - y3) / (x4 - x3) * (x1 - x3);
        return StrictlyBetween(x1, x3, x4) && StrictlyBetween(y, y1, y2);
    }
    if (std::fabs(x3 - x4) < kVerticalEps) {
        const double y = y2 + (y2 - y1) / (x2 - x1) * (x3 - x2);
        return StrictlyBetween(x3, x1, x2) && StrictlyBetween(y, y3, y4);
    }
    const double s1 = (y2 - y1) / (x2 - x1);
    const double s2 = (y4 - y3) / (x4 - x3);
    if (std::fabs(s1 - s2) < kVerticalEps)
        return false;
    const double xi = (y3 - y1 - (s2 * x3 - s1 * x1)) / (s1 - s2);
    return StrictlyBetween(xi, x1, x2) && StrictlyBetween(xi, x3, x4);
}

} // namespace inkvale
