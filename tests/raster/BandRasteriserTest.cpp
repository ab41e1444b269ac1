// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/BandRasteriser.h"

#include "BandTestApp.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace inkvale {
namespace {

using Pixels = std::set<std::pair<int, int>>; // (row, pixel)

CCurve Line(std::initializer_list<CPoint> pts, int lineType = 0) {
    CCurve c;
    c.m_arrPoints = pts;
    c.m_nLineType = lineType;
    return c;
}

struct CRaster {
    CBandGeometry geo;
    CCurveArray curves;
    int32_t L;
    std::vector<uint8_t> bitmap;
    std::vector<uint8_t> canvas;

    CRaster(const CBandParams& p, CCurveArray c, int32_t nJobWidth)
        : geo(p), curves(std::move(c)), L(nJobWidth),
          bitmap(static_cast<size_t>(nJobWidth * geo.RowBytes()), 0xAA),
          canvas(static_cast<size_t>(nJobWidth * geo.BitmapWidth()), 0) {}

    Pixels Draw(int64_t j, int64_t bandCount = 100, bool bBuckets = true) {
        CBandRasteriser r(geo, curves, "", L, bandCount);
        r.SetUseBuckets(bBuckets);
        EXPECT_TRUE(r.DrawBand(j, canvas.data(), bitmap.data(), 0));
        return Ink();
    }
    bool At(int row, int x) const {
        return (bitmap[static_cast<size_t>(row * geo.RowBytes() + x / 8)] >> (7 - x % 8)) & 1u;
    }
    Pixels Ink() const {
        Pixels s;
        for (int row = 0; row < L; ++row)
            for (int x = 0; x < geo.BitmapWidth(); ++x)
                if (At(row, x))
                    s.insert({row, x});
        return s;
    }
};

Pixels RowRun(int row, int x0, int x1) {
    Pixels s;
    for (int x = x0; x <= x1; ++x)
        s.insert({row, x});
    return s;
}
Pixels Column(int x, int row0, int row1) {
    Pixels s;
    for (int r = row0; r <= row1; ++r)
        s.insert({r, x});
    return s;
}
Pixels Union(Pixels a, const Pixels& b) {
    a.insert(b.begin(), b.end());
    return a;
}

// X = 400 is feed pixel trunc(118.11) = 118, Y = 400 carriage column trunc(61.53) = 61;
// with M = 1 a vertex lands at pixel 1 + 118 - off(j), row 1 + 30 + 61.
TEST(BandRasteriserTest, OnePixelLinesLandOnTheMappedPixels) {
    struct Case {
        const char* what;
        bool precise;
        int64_t band;
        CCurveArray curves;
        Pixels ink;
    };
    const Case cases[] = {
        {"along the feed", false, 0, {Line({{0, 400}, {400, 400}})}, RowRun(92, 1, 119)},
        {"across the carriage", false, 0, {Line({{200, 0}, {200, 800}})}, Column(60, 31, 154)},
        {"a polyline",
         false,
         0,
         {Line({{0, 400}, {400, 400}, {400, 800}})},
         Union(RowRun(92, 1, 119), Column(119, 92, 154))},
        // X = 1100 is pixel 324; band 1 starts at 300.
        {"second band", false, 1, {Line({{1100, 0}, {1100, 400}})}, Column(25, 31, 92)},
        {"vertex at X = 0 is outside band 1", false, 1, {Line({{0, 0}, {0, 400}})}, {}},
        // Precise mode: band 1 starts at 150; pixel 1 + 324 - 150 = 175.
        {"precise second band", true, 1, {Line({{1100, 0}, {1100, 400}})}, Column(175, 31, 92)},
        {"a one-vertex curve is skipped", false, 0, {Line({{400, 400}})}, {}},
        {"negative positions are clipped",
         false,
         0,
         {Line({{-4000, 400}, {400, 400}})},
         RowRun(92, 0, 119)},
        {"far coordinates keep the line",
         false,
         5,
         {Line({{-400000000, 400}, {400000000, 400}})},
         RowRun(92, 0, 319)},
    };
    for (const Case& c : cases) {
        CBandParams p;
        p.m_bPreciseMode = c.precise;
        CRaster r(p, c.curves, 200);
        EXPECT_EQ(r.Draw(c.band), c.ink) << c.what;
    }
}

TEST(BandRasteriserTest, WideSolidLinesAreCentredAndRound) {
    CBandParams p;
    p.m_nLineWidthPx = 3;
    // M = 3: the line runs from pixel 3 + 0 to 3 + 118, row 3 + 30 + 61 = 94.
    CRaster r(p, {Line({{0, 400}, {400, 400}})}, 200);
    const Pixels ink = r.Draw(0);
    for (int x : {10, 60, 110}) {
        Pixels across;
        for (int row = 90; row <= 98; ++row)
            if (ink.count({row, x}))
                across.insert({row, x});
        EXPECT_EQ(across, Column(x, 93, 95)) << "three rows centred on row 94 at pixel " << x;
    }
    EXPECT_TRUE(ink.count({94, 2})) << "round end reaches past the vertex";
    EXPECT_FALSE(ink.count({93, 1})) << "but stays round";
    EXPECT_FALSE(ink.count({94, 0}));
}

// Lengths of the ink runs along a row, first to last.
std::vector<int> Dashes(const CRaster& r, int row) {
    std::vector<int> out;
    int n = 0;
    for (int x = 0; x < r.geo.BitmapWidth(); ++x) {
        if (r.At(row, x)) {
            ++n;
        } else if (n > 0) {
            out.push_back(n);
            n = 0;
        }
    }
    if (n > 0)
        out.push_back(n);
    return out;
}

TEST(BandRasteriserTest, DashedLinesAreTenOnFourOffWithFlatEnds) {
    for (int M : {1, 2, 4}) {
        CBandParams p;
        p.m_nLineWidthPx = M;
        // 1000 units = 295 pixels along the feed.
        CRaster dashed(p, {Line({{0, 400}, {1000, 400}}, 1)}, 200);
        dashed.Draw(0);
        const std::vector<int> d = Dashes(dashed, M + 30 + 61);
        ASSERT_GE(d.size(), 15u) << M;
        for (size_t i = 0; i + 1 < d.size(); ++i)
            EXPECT_EQ(d[i], 10) << "width " << M << " dash " << i;
        EXPECT_FALSE(dashed.At(M + 30 + 61, M - 1)) << "flat start, width " << M;
        CRaster solid(p, {Line({{0, 400}, {1000, 400}}, 0)}, 200);
        solid.Draw(0);
        EXPECT_EQ(Dashes(solid, M + 30 + 61).size(), 1u) << M;
    }
}

TEST(BandRasteriserTest, DashPatternRunsOnAcrossVertices) {
    CBandParams p;
    // Two collinear segments of 17 pixels: the pattern does not restart at the joint.
    CRaster joined(p, {Line({{0, 400}, {58, 400}, {116, 400}, {174, 400}}, 1)}, 200);
    joined.Draw(0);
    CRaster whole(p, {Line({{0, 400}, {174, 400}}, 1)}, 200);
    whole.Draw(0);
    EXPECT_EQ(joined.Ink(), whole.Ink());
}

TEST(BandRasteriserTest, BucketsDrawTheSamePixelsAsEveryCurve) {
    std::mt19937 rng(21);
    CCurveArray curves;
    for (int i = 0; i < 400; ++i) {
        CCurve c;
        c.m_nLineType = static_cast<int>(rng() % 4 == 0);
        int x = static_cast<int>(rng() % 60000), y = static_cast<int>(rng() % 6000);
        const int n = 2 + static_cast<int>(rng() % 6);
        for (int k = 0; k < n; ++k) {
            c.AddPoint(x, y);
            x += static_cast<int>(rng() % 3000) - 1500;
            y += static_cast<int>(rng() % 600) - 300;
        }
        curves.push_back(c);
    }
    curves.push_back(Line({{-100, 100}, {70000, 5000}})); // one long curve across every band
    for (int M : {1, 3}) {
        for (bool precise : {false, true}) {
            CBandParams p;
            p.m_nLineWidthPx = M;
            p.m_bPreciseMode = precise;
            p.m_nHeadCombination = M == 1 ? 0 : 3;
            CRaster a(p, curves, 1100), b(p, curves, 1100);
            CBandRasteriser ra(a.geo, a.curves, "", 1100, 80);
            for (int64_t j : {1, 7, 20, 33, 79}) {
                ASSERT_TRUE(ra.DrawBand(j, a.canvas.data(), a.bitmap.data(), 0));
                EXPECT_LT(ra.LastCurveCount(), 150u);
                b.Draw(j, 80, false);
                EXPECT_EQ(a.bitmap, b.bitmap)
                    << "M " << M << " precise " << precise << " band " << j;
            }
        }
    }
}

TEST(BandRasteriserTest, CleaningPatternBarsAndTexts) {
    test::EnsureGuiApp();
    for (bool four : {false, true}) {
        CBandParams p;
        p.m_nHeadCombination = four ? 3 : 0;
        p.m_bSpAutoClean = true;
        p.m_strCustomString = "AB";
        p.m_nIBCleanThickness = 1;
        CRaster r(p, {Line({{0, 2400}, {400, 2400}})}, 5000); // row 400, clear of the texts
        r.Draw(0, 10);
        const int right = four ? 597 : 297;
        const int bars = four ? 72 : 18;
        // Bar k: interior rows 1114 + 112 + 40k + 1 .. + 6, pixels 1 .. right.
        for (int k = 0; k < bars; ++k) {
            const int top = 1226 + 40 * k;
            EXPECT_FALSE(r.At(top, 100)) << k;
            EXPECT_TRUE(r.At(top + 1, 1)) << k;
            EXPECT_TRUE(r.At(top + 6, right)) << k;
            EXPECT_FALSE(r.At(top + 6, right + 1)) << k;
            EXPECT_FALSE(r.At(top + 6, 0)) << k;
            EXPECT_FALSE(r.At(top + 7, 100)) << k;
        }
        EXPECT_FALSE(r.At(1226 + 40 * bars + 1, 1)) << "no bar beyond the last";
        // The logo runs down from row 746 with its glyphs below pixel 210.
        int logo = 0, marks = 0;
        for (int row = 746; row < 746 + 120; ++row)
            for (int x = 90; x <= 210; ++x)
                logo += r.At(row, x);
        for (int row = 80; row < 140; ++row)
            for (int x = 30; x <= 115; ++x)
                marks += r.At(row, x);
        EXPECT_GT(logo, 300);
        EXPECT_GT(marks, 100);
        EXPECT_FALSE(r.At(400, 50)) << "no strokes in the cleaning band";
    }
}

TEST(BandRasteriserTest, LabelTextAndPlacement) {
    test::EnsureGuiApp();
    setenv("TZ", "UTC", 1);
    tzset();
    const std::time_t t = 1700000000; // 2023-11-14 22:13:20 UTC
    CBandParams p;
    p.m_bPrintFileName = true;
    CBandTextPainter zh(CBandGeometry(p), "/d/a.plt");
    EXPECT_EQ(zh.LabelText(t).toStdString(),
              "文件名：/d/a.plt 打印完成时间:2023年11月14日22时13分20秒");
    p.m_nLanguage = 3;
    CBandTextPainter en(CBandGeometry(p), "/d/a.plt");
    const QString text = en.LabelText(t);
    EXPECT_EQ(text.toStdString(), "File Name:/d/a.plt Finish time 2023-11-14 22h13m20s");

    CRaster r(p, {}, 2000);
    CBandRasteriser raster(r.geo, r.curves, "/d/a.plt", 2000, 3);
    ASSERT_TRUE(raster.DrawBand(2, r.canvas.data(), r.bitmap.data(), t));
    const int end = 15 * static_cast<int>(text.size()) + 400;
    int inside = 0, outside = 0;
    for (const auto& [row, x] : r.Ink()) {
        if (row >= 390 && row <= end + 5 && x < 70)
            ++inside;
        else
            ++outside;
    }
    EXPECT_GT(inside, 500);
    EXPECT_EQ(outside, 0);
}

} // namespace
} // namespace inkvale
