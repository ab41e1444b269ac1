// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/Curve.h"

#include "support/Archive.h"

#include <gtest/gtest.h>

#include <random>

namespace inkvale {
namespace {

using Points = std::vector<CPoint>;

CCurve Make(const Points& pts) {
    CCurve c;
    c.m_arrPoints = pts;
    return c;
}

TEST(Curve, ConstructionDefaults) {
    const CCurve c;
    EXPECT_TRUE(c.m_arrPoints.empty());
    EXPECT_EQ(c.m_bSelected, 0);
    EXPECT_EQ(c.m_nLineType, 0);
    EXPECT_EQ(c.m_nPen, 1);
}

TEST(Curve, CleaningRules) {
    struct Case {
        Points in;
        Points dedup;
        Points collinear; // after dedup
    };
    const Case cases[] = {
        {{{0, 0}, {0, 0}, {5, 5}, {5, 5}, {0, 0}},
         {{0, 0}, {5, 5}, {0, 0}},
         {{0, 0}, {5, 5}, {0, 0}}},
        {{{0, 0}, {10, 0}, {20, 0}, {20, 10}},
         {{0, 0}, {10, 0}, {20, 0}, {20, 10}},
         {{0, 0}, {20, 0}, {20, 10}}},
        // A U-turn keeps its middle vertex.
        {{{0, 0}, {10, 0}, {0, 0}}, {{0, 0}, {10, 0}, {0, 0}}, {{0, 0}, {10, 0}, {0, 0}}},
        // Long straight runs collapse to their ends, also after a removal.
        {{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {3, 9}, {3, 10}},
         {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {3, 9}, {3, 10}},
         {{0, 0}, {3, 3}, {3, 10}}},
        // Nearly straight is not straight.
        {{{0, 0}, {1000, 0}, {2000, 1}},
         {{0, 0}, {1000, 0}, {2000, 1}},
         {{0, 0}, {1000, 0}, {2000, 1}}},
        {{{7, 7}, {7, 7}}, {{7, 7}}, {{7, 7}}},
    };
    for (const Case& c : cases) {
        CCurve curve = Make(c.in);
        curve.RemoveDuplicates();
        EXPECT_EQ(curve.m_arrPoints, c.dedup);
        curve.RemoveCollinear();
        EXPECT_EQ(curve.m_arrPoints, c.collinear);
    }
}

// IsClean says whether the two cleaning steps would change the curve, and Clean takes them
// both: on the cases above and on random walks that stand still, double back and run
// straight, along axes and diagonals, short and long.
TEST(Curve, IsCleanWhenCleaningChangesNothing) {
    const Points table[] = {
        {},
        {{7, 7}},
        {{7, 7}, {7, 7}},
        {{0, 0}, {10, 0}, {0, 0}},
        {{0, 0}, {10, 0}, {20, 0}},
        {{0, 0}, {1000, 0}, {2000, 1}},
        {{0, 0}, {5, 5}, {5, 5}, {0, 0}},
        {{0, 0}, {1, 1}, {2, 2}},
        {{0, 0}, {1, 2}, {0, 0}, {1, 2}},
    };
    const auto cleanedAlike = [](const Points& pts) {
        CCurve c = Make(pts);
        c.RemoveDuplicates();
        c.RemoveCollinear();
        return c.m_arrPoints == pts;
    };
    for (const Points& pts : table)
        EXPECT_EQ(Make(pts).IsClean(), cleanedAlike(pts)) << pts.size() << " points";
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> step(-1, 1);
    std::uniform_int_distribution<int> len(1, 3);
    int nClean = 0;
    for (int i = 0; i < 20000; ++i) {
        const int nScale = i % 2 == 0 ? 1 : 1 << 26; // six steps of 3 * 2^26 stay in range
        Points pts{{0, 0}};
        for (int k = 0; k < 1 + i % 6; ++k) {
            const int f = len(rng) * nScale;
            pts.push_back({pts.back().x + f * step(rng), pts.back().y + f * step(rng)});
        }
        const bool bClean = Make(pts).IsClean();
        ASSERT_EQ(bClean, cleanedAlike(pts)) << "walk " << i;
        nClean += bClean ? 1 : 0;
        // Clean removes what the two steps remove, and its verdict on the result, found
        // from the replaced vertices only, is IsClean's.
        CCurve stepwise = Make(pts);
        stepwise.RemoveDuplicates();
        stepwise.RemoveCollinear();
        CCurve cleaned = Make(pts);
        const bool bCleanAfter = cleaned.Clean();
        ASSERT_EQ(cleaned.m_arrPoints, stepwise.m_arrPoints) << "walk " << i;
        ASSERT_EQ(bCleanAfter, cleaned.IsClean()) << "walk " << i;
    }
    // Both answers were tested many times.
    EXPECT_GT(nClean, 2000);
    EXPECT_LT(nClean, 18000);
}

TEST(Curve, ScaleTruncatesTowardZeroAndLeavesTheBoxStale) {
    CCurve c = Make({{-7, 7}, {10, 10}});
    c.CalcExtents();
    c.Scale(0.4, 0.4);
    EXPECT_EQ(c.m_arrPoints, (Points{{-2, 2}, {4, 4}}));
    EXPECT_EQ(c.m_nMinX, -7);
}

TEST(Curve, OffsetKeepsTheBoxValid) {
    CCurve c = Make({{3, -4}, {-8, 9}, {0, 0}});
    c.CalcExtents();
    c.Offset(100, -50);
    CCurve fresh;
    fresh.CopyFrom(c);
    fresh.CalcExtents();
    EXPECT_EQ(c.m_nMinX, fresh.m_nMinX);
    EXPECT_EQ(c.m_nMaxX, fresh.m_nMaxX);
    EXPECT_EQ(c.m_nMinY, fresh.m_nMinY);
    EXPECT_EQ(c.m_nMaxY, fresh.m_nMaxY);
    EXPECT_EQ(c.m_nMinX, 92);
    EXPECT_EQ(c.m_nMaxY, -41);
}

TEST(Curve, MirrorY) {
    CCurve c = Make({{1, 2}, {3, -4}});
    c.MirrorY(10);
    EXPECT_EQ(c.m_arrPoints, (Points{{1, 8}, {3, 14}}));
}

TEST(Curve, SizeCorrection) {
    struct Case {
        CSizeRatio ratio;
        CPoint in;
        CPoint out;
    };
    const Case cases[] = {
        // 1000 * 5000 / 4990 = 1002.004..., truncated.
        {{5000, 4990, 5000, 5000}, {1000, 1000}, {1002, 1000}},
        {{5000, 5000, 4990, 5000}, {-1000, -1000}, {-1000, -998}},
        {{5000, 5000, 5000, 5000}, {123, -456}, {123, -456}},
        // A zero length leaves that axis alone instead of dividing by zero.
        {{5000, 0, 0, 4000}, {100, 200}, {100, 200}},
    };
    for (const Case& c : cases) {
        CCurve curve = Make({c.in});
        curve.ApplySizeCorrection(c.ratio);
        EXPECT_EQ(curve.m_arrPoints[0], c.out);
    }
}

TEST(Curve, HitTestWithinFourPixels) {
    CViewTransform disp;
    disp.m_dScale = 1.0;
    // Horizontal segment on screen from (50, 370) to (150, 370).
    const CCurve c = Make({{0, 0}, {100, 0}});
    struct Case {
        int sx, sy;
        bool hit;
    };
    const Case cases[] = {
        {100, 370, true}, {100, 373, true}, {100, 367, true},  {100, 376, false},
        {47, 370, true},  {153, 370, true}, {156, 370, false}, {40, 370, false},
    };
    for (const Case& k : cases)
        EXPECT_EQ(c.HitTest(disp, k.sx, k.sy), k.hit) << k.sx << "," << k.sy;
    EXPECT_FALSE(Make({{0, 0}}).HitTest(disp, 50, 370));
}

TEST(Curve, IsInsideRect) {
    CViewTransform disp;
    disp.m_dScale = 1.0;
    const CCurve c = Make({{0, 0}, {10, 10}}); // screen (50,370) and (60,360)
    EXPECT_TRUE(c.IsInsideRect(disp, {50, 360, 61, 371}));
    EXPECT_FALSE(c.IsInsideRect(disp, {50, 360, 60, 371})); // right edge excluded
    EXPECT_TRUE(CCurve().IsInsideRect(disp, {0, 0, 0, 0}));
}

TEST(Curve, RecordRoundTripAndTag) {
    CCurve c = Make({{1, 2}, {-3, 400000}});
    c.m_nPen = 3;
    c.m_nLineType = 1;
    c.m_bSelected = 1;
    c.CalcExtents();
    SetCurveTag("TAVO");
    CArchiveWriter w;
    c.Serialize(w);
    // Tag, six int32 fields, a 16-bit count and two vertices.
    EXPECT_EQ(w.Bytes().size(), 4u + 2 * 4 + 6 * 4 + 2 + 2 * 8);

    CArchiveReader r(w.Bytes());
    SetCurveTag("XXXX");
    CCurve back;
    back.Serialize(r);
    ASSERT_TRUE(r.Ok());
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(back.m_arrPoints, c.m_arrPoints);
    EXPECT_EQ(back.m_nPen, 3);
    EXPECT_EQ(back.m_nLineType, 1);
    EXPECT_EQ(back.m_bSelected, 0);
    EXPECT_EQ(back.m_nMinX, -3);
    EXPECT_EQ(back.m_nMaxY, 400000);
    EXPECT_EQ(GetCurveTag(), "TAVO"); // the tag read becomes the process tag
}

// A line type beyond 16 bits is kept as the nearest that fits: still neither solid nor
// dashed, and the same when written and read again.
TEST(Curve, LineTypesSaturateToSixteenBits) {
    EXPECT_EQ(CurveLineType(0), 0);
    EXPECT_EQ(CurveLineType(1), 1);
    EXPECT_EQ(CurveLineType(-7), -7);
    EXPECT_EQ(CurveLineType(65536), INT16_MAX);
    EXPECT_EQ(CurveLineType(INT32_MIN), INT16_MIN);
    CArchiveWriter w;
    w.WriteString(GetCurveTag());
    for (const int32_t v : {1, 0, 0, 0, 0, 65537})
        w.WriteInt32(v); // pen, box, line type
    w.WriteCount(0);
    CArchiveReader r(w.Bytes());
    CCurve back;
    back.Serialize(r);
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(back.m_nLineType, INT16_MAX);
}

TEST(Curve, TruncatedRecordFails) {
    CCurve c = Make({{1, 2}, {3, 4}, {5, 6}});
    c.CalcExtents();
    CArchiveWriter w;
    c.Serialize(w);
    const auto& bytes = w.Bytes();
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<long>(cut));
        CArchiveReader r(part);
        CCurve back;
        back.Serialize(r);
        EXPECT_FALSE(r.Ok()) << cut;
    }
}

} // namespace
} // namespace inkvale
