// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/StepAngle.h"

#include "geometry/Curve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace inkvale {
namespace {

// The collinear rule as written down: the two step angles from atan2, compared exactly.
bool LiteralRule(const CPoint& a, const CPoint& b, const CPoint& c) {
    const auto angle = [](const CPoint& p, const CPoint& q) {
        return std::atan2(static_cast<double>(q.y) - p.y, static_cast<double>(q.x) - p.x);
    };
    return angle(b, c) == angle(a, b);
}

// The clean-up as written down: drop b while a, b, c obey the rule, test c against a again.
std::vector<CPoint> LiteralCollinear(std::vector<CPoint> pts) {
    for (size_t i = 1; i + 1 < pts.size();) {
        if (LiteralRule(pts[i - 1], pts[i], pts[i + 1]))
            pts.erase(pts.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
    return pts;
}

__extension__ using Int128 = __int128;

int32_t Clamp(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

/// Checks a, a + u, a + u + v against the rule; counts the equal verdicts whose steps are
/// not exactly parallel (atan2 rounding two directions into one).
class CAgreement {
public:
    void Check(CPoint a, int64_t ux, int64_t uy, int64_t vx, int64_t vy) {
        const CPoint b{Clamp(a.x + ux), Clamp(a.y + uy)};
        const CPoint c{Clamp(b.x + vx), Clamp(b.y + vy)};
        const bool bLiteral = LiteralRule(a, b, c);
        ASSERT_EQ(SameStepAngle(a, b, c), bLiteral) << "a " << a.x << "," << a.y << " b " << b.x
                                                    << "," << b.y << " c " << c.x << "," << c.y;
        const Int128 cross = static_cast<Int128>(int64_t{b.x} - a.x) * (int64_t{c.y} - b.y) -
                             static_cast<Int128>(int64_t{b.y} - a.y) * (int64_t{c.x} - b.x);
        if (bLiteral && cross != 0)
            ++m_nMergedByRounding;
        m_nEqual += bLiteral ? 1 : 0;
    }
    int m_nMergedByRounding = 0;
    int m_nEqual = 0;
};

TEST(StepAngle, AgreesWithTheAtan2RuleOnRandomAndBorderlineSteps) {
    std::mt19937_64 rng(7);
    const auto in = [&](int64_t lo, int64_t hi) {
        return std::uniform_int_distribution<int64_t>(lo, hi)(rng);
    };
    const auto any = [&] { return static_cast<int32_t>(in(INT32_MIN, INT32_MAX)); };
    CAgreement check;
    for (int i = 0; i < 200000; ++i) {
        const CPoint a{any(), any()};
        // Short steps: zero steps, the axes, right angles, U-turns, exact multiples.
        check.Check({0, 0}, in(-6, 6), in(-6, 6), in(-6, 6), in(-6, 6));
        // Anywhere in the plane, steps up to the full 32-bit span.
        check.Check(a, any(), any(), any(), any());
        // Exactly parallel off the axes: multiples of one direction, short and long.
        const int64_t p = in(-40000, 40000), q = in(-40000, 40000);
        check.Check(a, p * in(1, 50000), q * in(1, 50000), p * in(1, 50000), q * in(1, 50000));
        // Nearly parallel long steps: one apart in the cross product, and a few.
        const int64_t n = in(1, int64_t{1} << 30);
        check.Check({-(1 << 30), -(1 << 30)}, n, n - 1, n + 1, n + in(-2, 2));
        check.Check({0, 0}, n, in(-3, 3), n + in(0, 1000), in(-3, 3));
        // The +-pi boundary: steps heading in -X, a hair above, on, or below the axis.
        check.Check({INT32_MAX, 0}, -n, in(-2, 2), -in(1, 1 << 30), in(-2, 2));
        check.Check({INT32_MAX, INT32_MAX / 2}, -n, 0, -n, in(-1, 1));
    }
    // Fixed borderline cases: the full span, the corners, the axis ends.
    const int64_t m = INT32_MAX;
    const int64_t table[][4] = {
        {m, m - 1, m - 1, m - 2},
        {-m, 1, -m, -1},
        {-m, 0, -m, 1},
        {-m, 0, -1, 0},
        {m, 0, 1, 0},
        {0, m, 0, 1},
        {0, -m, 0, -m},
        {1, 0, 0, 0},
        {0, 0, -1, 0},
        {m, m, 1, 1},
        {3, 1, 3 * 715827882, 715827882},
    };
    for (const auto& row : table)
        check.Check({INT32_MIN / 2, INT32_MIN / 2}, row[0], row[1], row[2], row[3]);
    // The borderline really was reached: directions the rule treats as one though they
    // differ, and many equal verdicts.
    EXPECT_GT(check.m_nMergedByRounding, 100);
    EXPECT_GT(check.m_nEqual, 100000);
}

TEST(StepAngle, CleanUpMatchesTheStepByStepRule) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> step(-3, 3);
    std::uniform_int_distribution<int> len(1, 4);
    for (int i = 0; i < 20000; ++i) {
        // Walks of short steps often run straight, double back and stand still.
        std::vector<CPoint> pts{{0, 0}};
        const int nSteps = 2 + i % 30;
        for (int k = 0; k < nSteps; ++k) {
            const int f = len(rng);
            pts.push_back({pts.back().x + f * step(rng), pts.back().y + f * step(rng)});
        }
        CCurve curve;
        curve.m_arrPoints = pts;
        curve.RemoveCollinear();
        ASSERT_EQ(curve.m_arrPoints, LiteralCollinear(pts)) << "walk " << i;
    }
}

} // namespace
} // namespace inkvale
