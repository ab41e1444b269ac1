// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/Rounding.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace inkvale {
namespace {

TEST(Rounding, HalvesGoAwayFromZeroOrUp) {
    struct Case {
        double v;
        int halfAway;
        int coord;
    };
    const Case cases[] = {
        {2.5, 3, 3},   {-2.5, -3, -2}, {2.4, 2, 2},    {-2.4, -2, -2},
        {-0.5, -1, 0}, {0.5, 1, 1},    {-2.6, -3, -3}, {0.0, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RoundHalfAway(c.v), c.halfAway) << c.v;
        EXPECT_EQ(RoundCoord(c.v), c.coord) << c.v;
    }
}

TEST(Rounding, AbsurdValuesAreDefined) {
    EXPECT_EQ(RoundCoord(6e75), 1);
    EXPECT_EQ(RoundCoord(-6e75), 1);
    EXPECT_EQ(RoundCoord(1e20), INT_MAX);
    EXPECT_EQ(RoundCoord(-1e20), INT_MIN);
    EXPECT_EQ(RoundCoord(std::nan("")), 0);
    EXPECT_EQ(RoundHalfAway(-1e20), INT_MIN);
    EXPECT_EQ(TruncToInt(-2.8), -2);
}

} // namespace
} // namespace inkvale
