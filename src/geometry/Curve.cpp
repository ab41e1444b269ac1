// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/Curve.h"

#include "geometry/Rounding.h"
#include "geometry/StepAngle.h"
#include "support/Archive.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace inkvale {

namespace {

constexpr double kHitWidthPx = 4.0;

std::mutex g_tagMutex;
std::string g_strTag = "TAVO";

// Even-odd (alternate) rule for a point against a closed polygon of four corners.
bool InsideQuad(const CScreenPoint (&quad)[4], int px, int py) {
    bool inside = false;
    for (int i = 0, j = 3; i < 4; j = i++) {
        const auto& a = quad[i];
        const auto& b = quad[j];
        if ((a.y > py) != (b.y > py)) {
            const double xCross =
                a.x + static_cast<double>(py - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y);
            if (px < xCross)
                inside = !inside;
        }
    }
    return inside;
}

bool SegmentHit(CScreenPoint p, CScreenPoint q, int sx, int sy) {
    const double theta = std::atan2(static_cast<double>(q.y) - p.y, static_cast<double>(q.x) - p.x);
    const double c = kHitWidthPx * std::cos(theta);
    const double s = kHitWidthPx * std::sin(theta);
    const CScreenPoint quad[4] = {
        {TruncToInt(p.x - c - s), TruncToInt(p.y - s + c)},
        {TruncToInt(p.x - c + s), TruncToInt(p.y - s - c)},
        {TruncToInt(q.x + c + s), TruncToInt(q.y + s - c)},
        {TruncToInt(q.x + c - s), TruncToInt(q.y + s + c)},
    };
    return InsideQuad(quad, sx, sy);
}

} // namespace

std::string GetCurveTag() {
    std::lock_guard lock(g_tagMutex);
    return g_strTag;
}

void SetCurveTag(const std::string& tag) {
    std::lock_guard lock(g_tagMutex);
    g_strTag = tag;
}

void CCurve::CopyFrom(const CCurve& other) {
    m_bSelected = other.m_bSelected;
    m_nPen = other.m_nPen;
    m_nLineType = other.m_nLineType;
    m_nMinX = other.m_nMinX;
    m_nMaxX = other.m_nMaxX;
    m_nMinY = other.m_nMinY;
    m_nMaxY = other.m_nMaxY;
    m_arrPoints = other.m_arrPoints;
}

void CCurve::CalcExtents() {
    if (m_arrPoints.empty())
        return;
    m_nMinX = m_nMaxX = m_arrPoints[0].x;
    m_nMinY = m_nMaxY = m_arrPoints[0].y;
    for (const CPoint& p : m_arrPoints) {
        m_nMinX = std::min(m_nMinX, p.x);
        m_nMaxX = std::max(m_nMaxX, p.x);
        m_nMinY = std::min(m_nMinY, p.y);
        m_nMaxY = std::max(m_nMaxY, p.y);
    }
}

void CCurve::Offset(int32_t dx, int32_t dy) {
    // Plain 32-bit wrap-around like the stored format; computed unsigned to stay defined.
    const auto add = [](int32_t v, int32_t d) {
        return static_cast<int32_t>(static_cast<uint32_t>(v) + static_cast<uint32_t>(d));
    };
    for (CPoint& p : m_arrPoints) {
        p.x = add(p.x, dx);
        p.y = add(p.y, dy);
    }
    m_nMinX = add(m_nMinX, dx);
    m_nMaxX = add(m_nMaxX, dx);
    m_nMinY = add(m_nMinY, dy);
    m_nMaxY = add(m_nMaxY, dy);
}

void CCurve::Scale(double sx, double sy) {
    for (CPoint& p : m_arrPoints) {
        p.x = TruncToInt(p.x * sx);
        p.y = TruncToInt(p.y * sy);
    }
}

void CCurve::MirrorY(int32_t a) {
    for (CPoint& p : m_arrPoints)
        p.y = TruncToInt(static_cast<double>(a) - p.y);
}

void CCurve::ApplySizeCorrection(const CSizeRatio& r) {
    const bool scaleX = r.m_nXExpect != 0 && r.m_nXMeasure != 0;
    const bool scaleY = r.m_nYExpect != 0 && r.m_nYMeasure != 0;
    for (CPoint& p : m_arrPoints) {
        if (scaleX)
            p.x = TruncToInt(static_cast<double>(p.x) * r.m_nXExpect / r.m_nXMeasure);
        if (scaleY)
            p.y = TruncToInt(static_cast<double>(p.y) * r.m_nYExpect / r.m_nYMeasure);
    }
}

void CCurve::RemoveDuplicates() {
    m_arrPoints.erase(std::unique(m_arrPoints.begin(), m_arrPoints.end()), m_arrPoints.end());
}

void CCurve::RemoveCollinear() {
    (void)CollinearPass();
}

bool CCurve::Clean() {
    RemoveDuplicates();
    return CollinearPass();
}

/// RemoveCollinear; returns whether the result IsClean, given a curve without repeated
/// vertices.
bool CCurve::CollinearPass() {
    if (m_arrPoints.size() <= 2)
        return true;
    // One forward pass: a removed vertex is replaced by its successor and the same
    // position is tested again against the kept vertex before it, as the step-by-step
    // rule does, but without shifting the array for every removal.
    //
    // Every kept vertex was tested with the two before it as they end up, except one that
    // took a removed vertex's place: the two before it were tested with the vertex it
    // replaced. Those are the only places a second pass could find something to remove,
    // so only they are looked at again once final (when the next vertex is kept).
    std::vector<CPoint>& v = m_arrPoints;
    const auto settled = [&v](size_t j) {
        return v[j] != v[j - 1] && (j < 2 || !SameStepAngle(v[j - 2], v[j - 1], v[j]));
    };
    size_t kept = 2;
    bool bReplaced = false;
    bool bClean = true;
    for (size_t i = 2; i < v.size(); ++i) {
        const CPoint c = v[i];
        if (SameStepAngle(v[kept - 2], v[kept - 1], c)) {
            v[kept - 1] = c;
            bReplaced = true;
            continue;
        }
        if (bReplaced)
            bClean = bClean && settled(kept - 1);
        v[kept++] = c;
        bReplaced = false;
    }
    if (bReplaced)
        bClean = bClean && settled(kept - 1);
    v.resize(kept);
    return bClean;
}

bool CCurve::IsClean() const {
    const std::vector<CPoint>& v = m_arrPoints;
    for (size_t i = 1; i < v.size(); ++i) {
        if (v[i] == v[i - 1])
            return false;
    }
    // With no repeats, RemoveCollinear tests exactly the runs of three in a row until it
    // first removes a vertex.
    for (size_t i = 2; i < v.size(); ++i) {
        if (SameStepAngle(v[i - 2], v[i - 1], v[i]))
            return false;
    }
    return true;
}

bool CCurve::HitTest(const CViewTransform& disp, int sx, int sy) const {
    for (size_t i = 1; i < m_arrPoints.size(); ++i) {
        const CScreenPoint p = WorldToScreen(disp, m_arrPoints[i - 1].x, m_arrPoints[i - 1].y);
        const CScreenPoint q = WorldToScreen(disp, m_arrPoints[i].x, m_arrPoints[i].y);
        if (SegmentHit(p, q, sx, sy))
            return true;
    }
    return false;
}

bool CCurve::IsInsideRect(const CViewTransform& disp, const CScreenRect& rect) const {
    return std::all_of(m_arrPoints.begin(), m_arrPoints.end(), [&](const CPoint& p) {
        const CScreenPoint s = WorldToScreen(disp, p.x, p.y);
        return s.x >= rect.left && s.x < rect.right && s.y >= rect.top && s.y < rect.bottom;
    });
}

void CCurve::Serialize(CArchiveWriter& ar) const {
    ar.WriteString(GetCurveTag());
    ar.WriteInt32(m_nPen);
    ar.WriteInt32(m_nMaxX);
    ar.WriteInt32(m_nMaxY);
    ar.WriteInt32(m_nMinX);
    ar.WriteInt32(m_nMinY);
    ar.WriteInt32(m_nLineType);
    ar.WriteCount(static_cast<uint32_t>(m_arrPoints.size()));
    for (const CPoint& p : m_arrPoints) {
        ar.WriteInt32(p.x);
        ar.WriteInt32(p.y);
    }
}

void CCurve::Serialize(CArchiveReader& ar) {
    const std::string tag = ar.ReadString();
    m_nPen = ar.ReadInt32();
    m_nMaxX = ar.ReadInt32();
    m_nMaxY = ar.ReadInt32();
    m_nMinX = ar.ReadInt32();
    m_nMinY = ar.ReadInt32();
    m_nLineType = CurveLineType(ar.ReadInt32());
    const uint32_t count = ar.ReadCount();
    if (!ar.HasBytes(size_t{count} * 8)) {
        ar.Fail("curve vertex count " + std::to_string(count) + " beyond the end");
        return;
    }
    m_bSelected = false;
    m_arrPoints.resize(count);
    for (CPoint& p : m_arrPoints) {
        p.x = ar.ReadInt32();
        p.y = ar.ReadInt32();
    }
    if (ar.Ok())
        SetCurveTag(tag);
}

} // namespace inkvale
