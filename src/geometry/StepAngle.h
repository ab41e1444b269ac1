// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/Point.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace inkvale {

/// The direction of the step from `from` to `to` as the clean-up compares it:
/// atan2(dy, dx) in double, so a zero step has the angle +0 of a step in +X.
double StepAngle(const CPoint& from, const CPoint& to);

/// Whether StepAngle(b, c) == StepAngle(a, b) (the collinear rule), decided without atan2
/// wherever integer arithmetic proves the answer, and by the two atan2 calls elsewhere, so
/// the answer is that of the comparison for every input.
inline bool SameStepAngle(const CPoint& a, const CPoint& b, const CPoint& c) {
    const int64_t ux = static_cast<int64_t>(b.x) - a.x;
    const int64_t uy = static_cast<int64_t>(b.y) - a.y;
    const int64_t vx = static_cast<int64_t>(c.x) - b.x;
    const int64_t vy = static_cast<int64_t>(c.y) - b.y;
    // Below 2^31 a side, the products below are exact in 64 bits. A zero step is left to
    // atan2: its angle +0 matches a step in +X however long.
    constexpr int64_t kLimit = int64_t{1} << 31;
    const auto small = [](int64_t v) { return v > -kLimit && v < kLimit; };
    const bool bFast = small(ux) && small(uy) && small(vx) && small(vy) && (ux != 0 || uy != 0) &&
                       (vx != 0 || vy != 0);
    if (bFast) {
        // Steps a right angle or more apart: their angles differ by at least pi/2 (or by
        // 2 pi less that), far beyond atan2's error of an ulp or so.
        if (ux * vx + uy * vy <= 0)
            return false;
        const int64_t cross = ux * vy - uy * vx;
        // The same direction along an axis: atan2 gives the one exact value C Annex F
        // fixes for it (+0, pi/2, pi, -pi/2) however long the steps are.
        if (cross == 0 && (ux == 0 || uy == 0))
            return true;
        // sin of the angle between the steps is |cross| / (|u| |v|) >= |cross| / (L1 L1).
        // Above 2^-40 the two atan2 results lie some 2^-41 apart, thousands of ulps: they
        // cannot round to one value. Nearer (and equal off-axis directions, where atan2
        // need not be a function of y / x alone) only the comparison itself can tell.
        const double l1 = static_cast<double>(std::abs(ux) + std::abs(uy)) *
                          static_cast<double>(std::abs(vx) + std::abs(vy));
        if (static_cast<double>(std::abs(cross)) * 0x1p40 > l1)
            return false;
    }
    return StepAngle(b, c) == StepAngle(a, b);
}

} // namespace inkvale
