// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/BandGeometry.h"

#include <gtest/gtest.h>

namespace inkvale {
namespace {

struct CountCase {
    const char* what;
    int comb;
    std::array<int, 3> overlap;
    int lineWidth;
    int32_t maxX, maxY;
    std::array<int, 4> pos;
    int bands;
    int32_t jobWidth;
};

TEST(BandGeometryTest, CountBandsGivesBandsAndJobWidth) {
    const CountCase cases[] = {
        // e = RoundCoord(11811.02 + 2) = 11813; g = RoundCoord(3076.5 + 2) = 3079.
        {"two heads, 1000 mm by 500 mm", 0, {0, 0, 0}, 1, 40000, 20000, {0, 100, 0, 0}, 40, 3239},
        {"one head needs twice the bands", 1, {0, 0, 0}, 1, 40000, 20000, {0, 100, 0, 0}, 79, 3239},
        {"head 2 alone", 2, {0, 0, 0}, 1, 40000, 20000, {300, 100, 0, 0}, 79, 3439},
        {"overlap shortens the band", 0, {4, 0, 0}, 1, 40000, 20000, {0, 100, 0, 0}, 40, 3239},
        // H = 600 - 2 - 3 - 4 = 591: 11813 / 591 = 19.99 -> 20; JobWidth uses max(P1, P4) + 70.
        {"four heads", 3, {2, 3, 4}, 1, 40000, 20000, {0, 900, 900, 50}, 20, 3199},
        // H = 450 - 10 - 10 = 430: 11813 / 430 = 27.47 -> 28.
        {"three heads", 4, {10, 10, 0}, 1, 40000, 20000, {60, 0, 0, 20}, 28, 3209},
        // e = RoundCoord(297.93 + 2) = 300: exactly one band; one unit more makes 301.
        {"exact multiple of H", 0, {0, 0, 0}, 1, 1009, 0, {0, 0, 0, 0}, 1, 2 + 60},
        {"remainder adds a band", 0, {0, 0, 0}, 1, 1012, 0, {0, 0, 0, 0}, 2, 2 + 60},
        // A wider pen widens both margins: e = RoundCoord(297.93 + 16) = 314.
        {"margin of the line width", 0, {0, 0, 0}, 8, 1009, 0, {0, 0, 0, 0}, 2, 16 + 60},
        {"only a width", 0, {0, 0, 0}, 1, 0, 400, {0, 0, 0, 0}, 1, 64 + 60},
        {"start position beyond the drawing", 0, {0, 0, 0}, 1, -40000, 400, {0, 0, 0, 0}, 0, 124},
        {"drawing below Y = 0", 3, {0, 0, 0}, 1, 400, -40000, {0, 0, 0, 10}, 1, 80},
    };
    for (const CountCase& c : cases) {
        CBandParams p;
        p.m_nHeadCombination = c.comb;
        p.m_arrHeadOverlap = c.overlap;
        p.m_nLineWidthPx = c.lineWidth;
        p.m_arrHeadPos = c.pos;
        int32_t nJobWidth = -7;
        EXPECT_EQ(CBandGeometry(p).CountBands(c.maxX, c.maxY, nJobWidth), c.bands) << c.what;
        EXPECT_EQ(nJobWidth, c.jobWidth) << c.what;
    }
}

TEST(BandGeometryTest, ZeroBoxCountsNothingAndKeepsJobWidth) {
    CBandGeometry geo{CBandParams{}};
    int32_t nJobWidth = 1234;
    EXPECT_EQ(geo.CountBands(0, 0, nJobWidth), 0);
    EXPECT_EQ(nJobWidth, 1234);
}

TEST(BandGeometryTest, AbsurdResolutionSaturatesJobWidth) {
    CBandParams p;
    p.m_nXDotsPerMetre = 0xFFFFFFFFu;
    int32_t nJobWidth = 0;
    CBandGeometry(p).CountBands(40000, 2000000000, nJobWidth);
    EXPECT_GT(nJobWidth, CBandGeometry::kMaxJobWidth);
    EXPECT_LE(nJobWidth, INT32_MAX);
}

TEST(BandGeometryTest, BandCountAddsLabelThenDoublesInPreciseMode) {
    CBandParams p;
    EXPECT_EQ(CBandGeometry(p).TotalBands(40), 40);
    p.m_bPrintFileName = true;
    EXPECT_EQ(CBandGeometry(p).TotalBands(40), 41);
    p.m_bPreciseMode = true;
    EXPECT_EQ(CBandGeometry(p).TotalBands(40), 82);
    EXPECT_EQ(CBandGeometry(p).TotalBands(10), 22);
}

TEST(BandGeometryTest, BandOffsetsHalveInPreciseMode) {
    CBandParams p;
    EXPECT_EQ(CBandGeometry(p).BandOffset(3), 900);
    p.m_bPreciseMode = true;
    EXPECT_EQ(CBandGeometry(p).BandOffset(3), 450);
    p.m_arrHeadOverlap = {1, 0, 0}; // H = 299: (3 * 299) / 2 = 448
    EXPECT_EQ(CBandGeometry(p).BandOffset(3), 448);
}

TEST(BandGeometryTest, KindsAndDirections) {
    CBandParams p;
    p.m_bSpAutoClean = true;
    p.m_bPrintFileName = true;
    CBandGeometry geo(p);
    EXPECT_EQ(geo.KindOf(0, 82), EBandKind::Cleaning);
    EXPECT_EQ(geo.KindOf(1, 82), EBandKind::Regular);
    EXPECT_EQ(geo.KindOf(81, 82), EBandKind::Label);
    EXPECT_EQ(geo.KindOf(0, 1), EBandKind::Cleaning) << "cleaning takes precedence";
    EXPECT_TRUE(geo.IsReturnBand(1));
    EXPECT_FALSE(geo.IsReturnBand(2));
    p.m_bBidirectional = false;
    EXPECT_FALSE(CBandGeometry(p).IsReturnBand(1));
}

TEST(BandGeometryTest, LaneOffsetsByInkColumns) {
    struct Case {
        int inkColumns, forward, back;
    };
    // P1 = 10, R1 = 7: forward P + 30 (or + 39), return P + R + 21 (or + 6).
    for (const Case& c : {Case{0, 40, 38}, Case{1, 49, 23}, Case{2, 49, 23}, Case{3, 40, 38}}) {
        CBandParams p;
        p.m_arrHeadPos = {10, 180, 0, 0};
        p.m_arrReturnJoin = {7, 10, 10, 10};
        p.m_nInkColumns = c.inkColumns;
        CBandGeometry geo(p);
        EXPECT_EQ(geo.ForwardOffset(0), c.forward) << c.inkColumns;
        EXPECT_EQ(geo.ReturnOffset(0), c.back) << c.inkColumns;
        EXPECT_EQ(geo.PlainForwardOffset(0), 40) << c.inkColumns;
        EXPECT_EQ(geo.PlainReturnOffset(0), 38) << c.inkColumns;
        EXPECT_EQ(geo.ForwardOffset(1), c.forward + 170) << c.inkColumns;
    }
}

TEST(BandGeometryTest, PixelsMapToHeadsAndNozzles) {
    CBandParams p;
    p.m_arrHeadOverlap = {4, 0, 0};
    CBandGeometry two(p);
    EXPECT_EQ(two.BandHeight(), 296);
    EXPECT_EQ(two.PixelOfNozzle(1, 4), 150);
    EXPECT_EQ(two.PixelOfNozzle(1, 149), 295);
    EXPECT_EQ(two.PixelOfNozzle(1, 3), -1) << "overlap nozzles never fire";
    EXPECT_EQ(two.Slot(150).m_nLane, 1);
    EXPECT_EQ(two.Slot(296).m_nLane, -1) << "pixels 296..319 belong to the next band";

    p.m_nHeadCombination = 2;
    CBandGeometry head2(p);
    EXPECT_EQ(head2.PixelOfNozzle(1, 0), 0) << "head 2 alone prints pixels 0..149";
    EXPECT_EQ(head2.Slot(149).m_nLane, 1);
    EXPECT_EQ(head2.Slot(150).m_nLane, -1);

    p.m_nHeadCombination = 3;
    p.m_arrHeadOverlap = {1, 2, 3};
    CBandGeometry four(p);
    EXPECT_EQ(four.BandHeight(), 594);
    EXPECT_EQ(four.HeadStart(3), 450 - 6);
    EXPECT_EQ(four.Slot(593).m_nLane, 3);
    EXPECT_EQ(four.Slot(594).m_nLane, -1);

    p.m_nHeadCombination = 9; // not a combination: treated as "1#+2#"
    p.m_arrHeadOverlap = {200, 0, 0};
    CBandGeometry odd(p);
    EXPECT_EQ(odd.BandHeight(), 151) << "overlaps are capped at 149";
    EXPECT_FALSE(odd.IsFourHead());
}

} // namespace
} // namespace inkvale
