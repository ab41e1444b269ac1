// SPDX-License-Identifier: GPL-3.0-or-later
// The circles, arcs, rectangles and wedges of CHpglFile: every shape is drawn as its
// outline; fills are not made.
#include "import/HpglArc.h"
#include "import/HpglFile.h"

#include <cmath>
#include <numbers>

namespace inkvale {

namespace {

constexpr int Code(char a, char b) {
    return (a << 8) | b;
}

constexpr double kRadPerDeg = std::numbers::pi / 180.0;

} // namespace

bool CHpglFile::ExecuteShape(int nCode, const std::vector<double>& params) {
    switch (nCode) {
    case Code('C', 'I'):
        Circle(params);
        return true;
    case Code('A', 'A'):
    case Code('A', 'R'):
        Arc(params, nCode == Code('A', 'R'));
        return true;
    case Code('A', 'T'):
    case Code('R', 'T'):
        ThreePointArc(params, nCode == Code('R', 'T'));
        return true;
    case Code('E', 'A'):
    case Code('R', 'A'):
        Rectangle(params, false);
        return true;
    case Code('E', 'R'):
    case Code('R', 'R'):
        Rectangle(params, true);
        return true;
    case Code('E', 'W'):
    case Code('W', 'G'):
        Wedge(params);
        return true;
    default:
        return false;
    }
}

// The chord angle in degrees for an arc of dRadiusUser user units; params[nAt], when there,
// is the file's chord angle (or, after CT1, its deviation in user units).
double CHpglFile::ChordStep(double dRadiusUser, const std::vector<double>& params,
                            size_t nAt) const {
    const double dUnit = m_units.UnitX();
    const bool bGiven = params.size() > nAt && std::isfinite(params[nAt]);
    const double dChord = bGiven ? params[nAt] : 0.0;
    return HpglChordStep(dRadiusUser * dUnit, bGiven, m_bChordDeviation,
                         m_bChordDeviation ? dChord * dUnit : dChord);
}

// An outline drawn whatever the pen's state; the pen stays where it was.
void CHpglFile::DrawOutline(const std::vector<CHpglPoint>& userPoints) {
    if (userPoints.size() < 2)
        return;
    StartLine(m_units.ToPlotter(userPoints[0]));
    for (size_t i = 1; i < userPoints.size(); ++i)
        AppendEmitted(m_units.ToPlotter(userPoints[i]));
    m_bLineOpen = false;
    if (m_bPenDown)
        m_bDrawnSinceDown = true;
}

// CI radius[,chord]: a full circle around the pen, starting at angle 0.
void CHpglFile::Circle(const std::vector<double>& params) {
    if (params.empty() || !std::isfinite(params[0]))
        return;
    const CHpglPoint c = PenUser();
    const double r = params[0];
    std::vector<CHpglPoint> points{{c.x + r, c.y}};
    HpglArcPoints(c, points[0], 360.0, ChordStep(r, params, 1), points);
    DrawOutline(points);
}

// AA x,y,sweep[,chord] and AR dx,dy,sweep[,chord]: an arc from the pen around the centre,
// drawn with the pen down, a move with the pen up; the pen ends at the arc's end.
void CHpglFile::Arc(const std::vector<double>& params, bool bRelative) {
    if (params.size() < 3)
        return;
    const CHpglPoint start = PenUser();
    const CHpglPoint c = bRelative ? CHpglPoint{start.x + params[0], start.y + params[1]}
                                   : CHpglPoint{params[0], params[1]};
    const double r = std::hypot(start.x - c.x, start.y - c.y);
    std::vector<CHpglPoint> points;
    HpglArcPoints(c, start, params[2], ChordStep(r, params, 3), points);
    for (const CHpglPoint& p : points) {
        if (m_bPenDown)
            LineTo(m_units.ToPlotter(p));
        else
            MoveTo(m_units.ToPlotter(p));
    }
}

// AT xi,yi,xe,ye[,chord] and RT: the arc from the pen through the intermediate point to the
// end; three points on one line make a straight line to the end.
void CHpglFile::ThreePointArc(const std::vector<double>& params, bool bRelative) {
    if (params.size() < 4)
        return;
    const CHpglPoint a = PenUser();
    const double ox = bRelative ? a.x : 0.0;
    const double oy = bRelative ? a.y : 0.0;
    const CHpglPoint b{ox + params[0], oy + params[1]};
    const CHpglPoint e{ox + params[2], oy + params[3]};
    CHpglPoint c;
    double dSweep = 0.0;
    std::vector<CHpglPoint> points;
    if (HpglThreePointArc(a, b, e, c, dSweep))
        HpglArcPoints(c, a, dSweep, ChordStep(std::hypot(a.x - c.x, a.y - c.y), params, 4), points);
    else
        points.push_back(e);
    for (const CHpglPoint& p : points) {
        if (m_bPenDown)
            LineTo(m_units.ToPlotter(p));
        else
            MoveTo(m_units.ToPlotter(p));
    }
    if (!points.empty())
        SetPen(m_units.ToPlotter(e)); // exactly the end the file gave
}

// EA/RA x,y and ER/RR dx,dy: the rectangle between the pen and the opposite corner.
void CHpglFile::Rectangle(const std::vector<double>& params, bool bRelative) {
    if (params.size() < 2)
        return;
    const CHpglPoint a = PenUser();
    const CHpglPoint b =
        bRelative ? CHpglPoint{a.x + params[0], a.y + params[1]} : CHpglPoint{params[0], params[1]};
    DrawOutline({a, {b.x, a.y}, b, {a.x, b.y}, a});
}

// EW/WG radius,start,sweep[,chord]: the wedge of a circle around the pen, from the centre
// out along the start angle, round by the sweep and back; a whole turn is the circle alone.
void CHpglFile::Wedge(const std::vector<double>& params) {
    if (params.size() < 3)
        return;
    const CHpglPoint c = PenUser();
    const double r = params[0];
    const double a = params[1] * kRadPerDeg;
    const CHpglPoint start{c.x + r * std::cos(a), c.y + r * std::sin(a)};
    const bool bWhole = std::fabs(params[2]) >= 360.0;
    std::vector<CHpglPoint> points;
    if (!bWhole)
        points.push_back(c);
    points.push_back(start);
    HpglArcPoints(c, start, params[2], ChordStep(r, params, 3), points);
    if (!bWhole)
        points.push_back(c);
    DrawOutline(points);
}

} // namespace inkvale
