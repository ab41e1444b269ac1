// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/HpglClipWindow.h"

#include "geometry/Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace inkvale {

void CHpglClipWindow::Set(CHpglPoint a, CHpglPoint b, const CHpglUnits& units) {
    m_low = {std::min(a.x, b.x), std::min(a.y, b.y)};
    m_high = {std::max(a.x, b.x), std::max(a.y, b.y)};
    m_bActive = true;
    Place(units);
}

// RO turns by quarter turns about the origin, so the turned window is again a rectangle.
void CHpglClipWindow::Place(const CHpglUnits& units) {
    const CHpglPoint a = units.Rotate(m_low);
    const CHpglPoint b = units.Rotate(m_high);
    m_x0 = std::min(a.x, b.x);
    m_x1 = std::max(a.x, b.x);
    m_y0 = std::min(a.y, b.y);
    m_y1 = std::max(a.y, b.y);
}

bool CHpglClipWindow::Contains(CHpglPoint p) const {
    return p.x >= m_x0 && p.x <= m_x1 && p.y >= m_y0 && p.y <= m_y1;
}

// Liang-Barsky: the part of a + t (b - a), 0 <= t <= 1, on the inner side of all four edges.
// The ends that are inside stay exactly as they were.
bool CHpglClipWindow::Clip(CHpglPoint& a, CHpglPoint& b) const {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    if (!std::isfinite(dx) || !std::isfinite(dy))
        return Contains(a) && Contains(b);
    double t0 = 0.0;
    double t1 = 1.0;
    // One edge: p the rate at which the segment leaves its inner side, q the room at a.
    const auto inside = [&](double p, double q) {
        if (p == 0)
            return q >= 0;
        const double r = q / p;
        if (p < 0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        return t0 <= t1;
    };
    if (!inside(-dx, a.x - m_x0) || !inside(dx, m_x1 - a.x) || !inside(-dy, a.y - m_y0) ||
        !inside(dy, m_y1 - a.y))
        return false;
    // A line that only touches the window leaves no ink there; a dot on its edge does.
    if (t0 == t1 && (dx != 0 || dy != 0))
        return false;
    const CHpglPoint from = a;
    if (t0 > 0)
        a = {from.x + t0 * dx, from.y + t0 * dy};
    if (t1 < 1)
        b = {from.x + t1 * dx, from.y + t1 * dy};
    return true;
}

void CHpglClipWindow::Start(CHpglPoint p) {
    m_from = p;
    m_bDrawing = false;
}

void CHpglClipWindow::LineTo(CHpglPoint p, CHpglPlotList& list) {
    CHpglPoint a = m_from;
    CHpglPoint b = p;
    const bool bVisible = Clip(a, b);
    const bool bCut = a != m_from || b != p;
    m_from = p;
    const int32_t ax = RoundCoord(a.x);
    const int32_t ay = RoundCoord(a.y);
    const int32_t bx = RoundCoord(b.x);
    const int32_t by = RoundCoord(b.y);
    // What is left of a cut line may be a sliver along an edge too short to reach the next
    // plotter unit (arc points fall a hair off the axes): no ink either.
    if (!bVisible || (bCut && ax == bx && ay == by)) {
        m_bDrawing = false;
        return;
    }
    // A line going on inside the window continues its polyline; one that enters starts
    // a new one where it crosses the edge.
    if (!m_bDrawing) {
        list.AddMove(ax, ay);
        list.BeginPolyline();
    }
    list.AppendPoint(bx, by);
    m_bDrawing = b == p;
}

} // namespace inkvale
