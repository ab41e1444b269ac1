// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/HpglArc.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace inkvale {

namespace {

constexpr double kDegPerRad = 180.0 / std::numbers::pi;

} // namespace

double HpglChordStep(double dRadius, bool bGiven, bool bDeviation, double dChord) {
    if (bGiven && !bDeviation)
        return std::clamp(std::fabs(dChord), kMinChordDeg, kMaxChordDeg);
    // A deviation of the file's is taken as it is; the default is the fine one, with a
    // largest step of its own.
    const double dDeviation = bGiven ? std::fabs(dChord) : kArcDefaultDeviation;
    const double dLargest = bGiven ? kMaxChordDeg : kMaxDefaultStepDeg;
    const double r = std::fabs(dRadius);
    double dDeg = dLargest;
    if (dDeviation > 0 && r > dDeviation / 2)
        dDeg = std::min(dDeg, 2.0 * std::acos(std::max(1.0 - dDeviation / r, -1.0)) * kDegPerRad);
    return std::max(dDeg, 360.0 / kMaxChordsPerTurn);
}

void HpglArcPoints(CHpglPoint centre, CHpglPoint start, double dSweepDeg, double dStepDeg,
                   std::vector<CHpglPoint>& out) {
    if (!std::isfinite(dSweepDeg) || !std::isfinite(dStepDeg) || dStepDeg <= 0)
        return;
    const double dSweep = std::clamp(dSweepDeg, -360.0, 360.0);
    const double dx = start.x - centre.x;
    const double dy = start.y - centre.y;
    const double r = std::hypot(dx, dy);
    const double a0 = std::atan2(dy, dx);
    const auto n = static_cast<int>(
        std::clamp(std::ceil(std::fabs(dSweep) / dStepDeg), 1.0, double{kMaxChordsPerTurn}));
    for (int i = 1; i <= n; ++i) {
        const double a = a0 + dSweep * i / n / kDegPerRad;
        out.push_back({centre.x + r * std::cos(a), centre.y + r * std::sin(a)});
    }
}

bool HpglThreePointArc(CHpglPoint a, CHpglPoint b, CHpglPoint c, CHpglPoint& centre,
                       double& dSweepDeg) {
    const double d = 2.0 * (a.x * (b.y - c.y) + b.x * (c.y - a.y) + c.x * (a.y - b.y));
    if (d == 0 || !std::isfinite(d))
        return false;
    const double a2 = a.x * a.x + a.y * a.y;
    const double b2 = b.x * b.x + b.y * b.y;
    const double c2 = c.x * c.x + c.y * c.y;
    centre = {(a2 * (b.y - c.y) + b2 * (c.y - a.y) + c2 * (a.y - b.y)) / d,
              (a2 * (c.x - b.x) + b2 * (a.x - c.x) + c2 * (b.x - a.x)) / d};
    if (!std::isfinite(centre.x) || !std::isfinite(centre.y))
        return false;
    const auto Angle = [&](CHpglPoint p) { return std::atan2(p.y - centre.y, p.x - centre.x); };
    const double aa = Angle(a);
    const auto Ccw = [&](double to) { // counter-clockwise angle from a, 0..2pi
        const double t = std::fmod(to - aa + 4 * std::numbers::pi, 2 * std::numbers::pi);
        return t;
    };
    const double tb = Ccw(Angle(b));
    const double tc = Ccw(Angle(c));
    // Counter-clockwise when b lies on the way from a to c that way round, else clockwise.
    const double dRad = tb <= tc ? tc : tc - 2 * std::numbers::pi;
    dSweepDeg = dRad * kDegPerRad;
    return true;
}

} // namespace inkvale
