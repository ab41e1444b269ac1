// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/ViewTransform.h"

#include <gtest/gtest.h>

namespace inkvale {
namespace {

TEST(ViewTransform, OriginSitsFiftyRightAndThirtyUp) {
    const CViewTransform disp;
    EXPECT_EQ(WorldToScreen(disp, 0, 0), (CScreenPoint{50, 370}));
    EXPECT_EQ(ScreenToWorld(disp, 50, 370), (CScreenPoint{0, 0}));
}

TEST(ViewTransform, ScaleAndPanRoundTrip) {
    CViewTransform disp;
    disp.m_dScale = 0.5;
    disp.m_nViewHeight = 600;
    disp.m_nPanX = 20;
    disp.m_nPanY = -10;
    const CScreenPoint s = WorldToScreen(disp, 400, 200);
    EXPECT_EQ(s, (CScreenPoint{230, 480}));
    EXPECT_EQ(ScreenToWorld(disp, s.x, s.y), (CScreenPoint{400, 200}));
    // Truncation toward zero, not rounding: 0.5 * 3 = 1.5 -> 1 pixel past the origin.
    EXPECT_EQ(WorldToScreen(disp, 3, 0).x, 31);
}

} // namespace
} // namespace inkvale
