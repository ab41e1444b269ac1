// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/StrokeFontText.h"

#include "StrokeFontTestFonts.h"

#include <gtest/gtest.h>

#include "geometry/Rounding.h"

#include <climits>
#include <cmath>
#include <random>
#include <string>

namespace inkvale {
namespace {

using test::CRecordingSink;
using P = CRecordingSink::CPoint2;

// Defaults: height 0.375 cm (150 plotter units), width 0.285 cm (114), direction 0, origin 1.
CLabelState At(int32_t x, int32_t y) {
    CLabelState st;
    st.m_nPenX = x;
    st.m_nPenY = y;
    return st;
}

CRecordingSink Draw(const std::string& label, const CLabelState& st) {
    CStrokeFontText text = test::TestText();
    CRecordingSink sink;
    text.DrawLabel(label.c_str(), label.size() + 1, st, sink);
    return sink;
}

// The bar glyph is 10 font units tall: 150 * 10 / 26 = 57.7 plotter units for a single-byte
// glyph, 150 * 10 / 16 = 93.75 for a double-byte one.
TEST(StrokeFontText, SingleByteGlyphsSitOnTheBaselineAndAdvanceByTheirWidth) {
    const CRecordingSink s = Draw("AA", At(1000, 1000));
    ASSERT_EQ(s.m_lines.size(), 2u); // every glyph starts with a move: no joins between glyphs
    EXPECT_EQ(s.m_lines[0], (std::vector<P>{{1000, 1000}, {1000, 1058}}));
    // 23 * 150 / 26 = 132.7 plotter units later.
    EXPECT_EQ(s.m_lines[1], (std::vector<P>{{1133, 1000}, {1133, 1058}}));
}

TEST(StrokeFontText, AdvancesOfDoubleByteAndUnknownCodes) {
    struct Case {
        const char* label;
        int32_t xSecondBar; // X of the last bar drawn
        size_t bars;
    };
    const Case cases[] = {
        {"\xB0\xA1\xB0\xA1", 1150, 2}, // a double-byte glyph advances one character height
        {"\xA1\xA1\xB0\xA1", 1150, 1}, // the empty ideographic space draws nothing
        {"\xB0\xA2\xB0\xA1", 1150, 1}, // an unknown double-byte code advances as much
        {"A\x01"
         "A",
         1248, 2},          // unknown byte: the space's 20 units, (23 + 20) * 150 / 26
        {"A~A", 1248, 2},   // a code missing from the font likewise
        {"A\xB0", 1133, 2}, // 0xB0 at the end is a single-byte code
        {"\xB0"
         "A",
         1000, 0}, // ... but followed by a byte it starts a double-byte code
    };
    for (const Case& c : cases) {
        const CRecordingSink s = Draw(c.label, At(1000, 1000));
        ASSERT_EQ(s.m_lines.size(), c.bars) << c.label;
        if (c.bars > 0) {
            EXPECT_EQ(s.m_lines.back()[0].x, c.xSecondBar) << c.label;
        }
    }
    // A double-byte glyph is scaled by its own em of 16 units.
    EXPECT_EQ(Draw("\xB0\xA1", At(1000, 1000)).m_lines[0][1], (P{1000, 1094}));
}

TEST(StrokeFontText, LineBreaks) {
    struct Case {
        const char* label;
        std::vector<P> starts;
    };
    const Case cases[] = {
        {"A\rB", {{1000, 1000}, {1000, 1000}}},  // CR: back to the start, drawn over
        {"A\nB", {{1000, 1000}, {1000, 700}}},   // LF: one line (two heights) down
        {"A\r\nB", {{1000, 1000}, {1000, 700}}}, // CR LF: one line feed
        {"A\n\nB", {{1000, 1000}, {1000, 400}}},
        {"AB\rCD", {{1000, 1000}, {1133, 1000}, {1000, 1000}, {1133, 1000}}},
        {"\nA", {{1000, 700}}},
        // BS: back one character, the next one strikes over it (an overstruck zero).
        {"A\bB", {{1000, 1000}, {1000, 1000}}},
        {"AB\bA", {{1000, 1000}, {1133, 1000}, {1133, 1000}}},
        {"AB\b\bBA", {{1000, 1000}, {1133, 1000}, {1000, 1000}, {1133, 1000}}},
        {"\b\bA", {{1000, 1000}}}, // never before the label's start
        {"AB\b\rA", {{1000, 1000}, {1133, 1000}, {1000, 1000}}},
    };
    for (const Case& c : cases) {
        const CRecordingSink s = Draw(c.label, At(1000, 1000));
        std::vector<P> starts;
        for (const auto& line : s.m_lines)
            starts.push_back(line[0]);
        EXPECT_EQ(starts, c.starts) << c.label;
    }
}

TEST(StrokeFontText, LineFeedsGoDownAcrossTheDirection) {
    CLabelState st = At(1000, 1000);
    st.m_dLabelAngle = 90.0; // text runs along +Y; the next line lies toward +X
    const CRecordingSink s = Draw("A\nA", st);
    ASSERT_EQ(s.m_lines.size(), 2u);
    EXPECT_EQ(s.m_lines[1][0].x, s.m_lines[0][0].x + 300);
    EXPECT_EQ(s.m_lines[1][0].y, s.m_lines[0][0].y);
}

TEST(StrokeFontText, LabelIsCutAtNulAndBufferSize) {
    CStrokeFontText text = test::TestText();
    CRecordingSink s;
    const char buf[4] = {'A', 'A', 'A', 'A'}; // no NUL: the buffer size bounds the text
    text.DrawLabel(buf, 2, At(1000, 1000), s);
    EXPECT_EQ(s.m_lines.size(), 2u);
    s.m_lines.clear();
    const std::string longLabel(2000, 'A');
    text.DrawLabel(longLabel.c_str(), longLabel.size() + 1, At(1000, 1000), s);
    EXPECT_EQ(s.m_lines.size(), CStrokeFontText::kMaxLabel);
}

TEST(StrokeFontText, DirectionNinetyRunsAlongPlusYWithBodiesTowardMinusX) {
    CLabelState st = At(1000, 1000);
    st.m_dLabelAngle = 90.0;
    const CRecordingSink s = Draw("AA", st);
    ASSERT_EQ(s.m_lines.size(), 2u);
    // Origin 1: the baseline passes through the pen position; the bar grows toward -X.
    EXPECT_EQ(s.m_lines[0], (std::vector<P>{{1000, 1000}, {942, 1000}}));
    EXPECT_EQ(s.m_lines[1], (std::vector<P>{{1000, 1133}, {942, 1133}}));
}

TEST(StrokeFontText, LabelOriginsAtDirectionZero) {
    // h = 150, w = 114, four characters: n / 2 widths = 228, n widths = 456.
    struct Case {
        int origin;
        double x;
        double y;
    };
    const Case cases[] = {
        {1, 1000, 1150},   {2, 1000, 1075},      {3, 1000, 1000},    {4, 772, 1150},
        {5, 772, 1075},    {6, 772, 1000},       {7, 544, 1150},     {8, 544, 1075},
        {9, 544, 1000},    {11, 1028.5, 1187.5}, {12, 1028.5, 1075}, {13, 1028.5, 962.5},
        {14, 772, 1187.5}, {15, 772, 1075},      {16, 772, 962.5},   {17, 515.5, 1187.5},
        {18, 515.5, 1075}, {19, 515.5, 962.5},   {0, 1000, 1150},    {10, 1000, 1150},
        {20, 1000, 1150},  {-3, 1000, 1150},
    };
    for (const Case& c : cases) {
        CLabelState st = At(1000, 1000);
        st.m_nLabelOrigin = c.origin;
        const CLabelPoint p = CStrokeFontText::AdjustLabelOrigin({1000, 1000}, 4, st);
        EXPECT_NEAR(p.x, c.x, 1e-9) << c.origin;
        EXPECT_NEAR(p.y, c.y, 1e-9) << c.origin;
    }
}

TEST(StrokeFontText, OriginSevenAndElevenAlongTheDirection) {
    CLabelState st = At(1000, 1000);
    st.m_nLabelOrigin = 7; // ABC at width 0.285: back by 3 * 114 = 342
    EXPECT_EQ(Draw("ABC", st).m_lines[0][0], (P{658, 1000}));
    st.m_dLabelAngle = 90.0;
    CLabelPoint p = CStrokeFontText::AdjustLabelOrigin({1000, 1000}, 3, st);
    EXPECT_NEAR(p.x, 850, 1e-9); // up is -X
    EXPECT_NEAR(p.y, 658, 1e-9); // back is -Y
    st.m_nLabelOrigin = 11;      // a quarter width forward, a quarter height up, then one height up
    p = CStrokeFontText::AdjustLabelOrigin({1000, 1000}, 3, st);
    EXPECT_NEAR(p.x, 812.5, 1e-9);
    EXPECT_NEAR(p.y, 1028.5, 1e-9);
}

TEST(StrokeFontText, OriginNineWithMixedTextCountsBytes) {
    CLabelState st = At(1000, 1000);
    st.m_nLabelOrigin = 3;
    // Origin 3 hangs the cell below the pen; the double-byte character counts as 2 bytes
    // for the origin but advances one character height.
    CRecordingSink s = Draw("A\xB0\xA1", st);
    ASSERT_EQ(s.m_lines.size(), 2u);
    EXPECT_EQ(s.m_lines[0][0], (P{1000, 850}));
    EXPECT_EQ(s.m_lines[1][0], (P{1133, 850}));
    st.m_nLabelOrigin = 9;
    s = Draw("A\xB0\xA1", st);
    EXPECT_EQ(s.m_lines[0][0], (P{658, 850}));
}

TEST(StrokeFontText, EmptyOrUnreadableFontsDrawNothingAndNeverBlowUp) {
    CStrokeFontText text;
    CRecordingSink s;
    text.DrawLabel("AB\xB0\xA1", 5, At(1000, 1000), s); // nothing loaded yet
    EXPECT_TRUE(s.m_lines.empty());
    // Double-byte font missing: the common em is 0, so nothing can be placed.
    text.LoadFontBytes({}, test::TestEnFont());
    text.DrawLabel("AB\xB0\xA1", 5, At(1000, 1000), s);
    EXPECT_TRUE(s.m_lines.empty());
    text.LoadFontBytes(test::TestHzFont(), {1, 2, 3});
    text.DrawLabel("AB\xB0\xA1", 5, At(1000, 1000), s);
    EXPECT_TRUE(s.m_lines.empty());
}

TEST(StrokeFontText, ExtremeSettingsStayInRange) {
    CStrokeFontText text = test::TestText();
    CRecordingSink s;
    CLabelState st = At(2147483000, -2147483000);
    st.m_dCharHeight = 1e7;
    st.m_dCharWidth = -1e9;
    st.m_nLabelOrigin = 17;
    const std::string label = "AB\n\n\n\nCD\xB0\xA1\n\n\nA";
    text.DrawLabel(label.c_str(), label.size() + 1, st, s);
    EXPECT_FALSE(s.m_lines.empty());
    st.m_dCharHeight = 0.0; // every point falls on the origin
    text.DrawLabel(label.c_str(), label.size() + 1, st, s);
}

TEST(StrokeFontText, GlyphsTooWideForTheCacheAreStillDrawn) {
    // A run of maximal displacements takes local x beyond 32 bits with the multiplier of a
    // hostile header (65535 + 65535 for the double-byte glyphs).
    std::vector<uint8_t> wide = {0, 9};
    for (int k = 0; k < 300; ++k) {
        wide.push_back(0x7F);
        wide.push_back(0);
    }
    wide.insert(wide.end(), {0, 0, 0x14, 0});
    CStrokeFontText text;
    text.LoadFontBytes(test::BuildFontFile(false, {16, 16}, {{0xB0A1, 0, wide}}),
                       test::BuildFontFile(true, {65535, 65535, 0}, {{0x20, 20, {}}}));
    CLabelState st = At(1000, 1000);
    st.m_dCharHeight = 1e6;
    CRecordingSink viaLabel;
    CRecordingSink viaBytes;
    for (int k = 0; k < 2; ++k)
        text.DrawLabel("\xB0\xA1", 3, st, viaLabel);
    for (int k = 0; k < 2; ++k)
        text.DrawGlyph(1000, 1000 + 400000000, wide, 0, 131070, true, st, viaBytes);
    ASSERT_EQ(viaLabel.m_lines.size(), 2u);
    EXPECT_EQ(viaLabel.m_lines, viaBytes.m_lines);
}

// Every glyph point of a label follows X = ox + RoundHalfAway((lx C - (ly - K) S) / s),
// Y = oy + RoundHalfAway((lx S + (ly - K) C) / s), saturated to the int32 range, for any
// direction, size and position (the drawing code computes both at once).
TEST(StrokeFontText, GlyphPointsFollowTheMappingExactly) {
    // One glyph with a point at each of a spread of local positions: a 9 run of steps.
    std::vector<uint8_t> glyph = {0, 9};
    const int8_t steps[][2] = {{3, 5}, {-7, 2}, {13, -11}, {1, 1}, {-20, 30}, {9, -4}};
    for (const auto& st : steps) {
        glyph.push_back(static_cast<uint8_t>(st[0]));
        glyph.push_back(static_cast<uint8_t>(st[1]));
    }
    glyph.insert(glyph.end(), {0, 0, 0});
    CStrokeFontText text;
    text.LoadFontBytes(test::TestHzFont(),
                       test::BuildFontFile(true, {4, 22, 7}, {{0x20, 20, {}}, {'A', 23, glyph}}));
    const double K = 26.0 * 16.0;
    std::mt19937 rng(99);
    std::uniform_real_distribution<double> angle(-360.0, 360.0);
    std::uniform_real_distribution<double> height(-3.0, 3.0);
    const double heights[] = {0.375, 1e-9, 1e7, 0.0};
    const int32_t pens[] = {1000, -50000, 2147480000, -2147480000};
    for (int n = 0; n < 400; ++n) {
        CLabelState st;
        st.m_dLabelAngle = n % 7 == 0 ? 90.0 * (n % 5) : angle(rng);
        st.m_dCharHeight = n % 9 == 0 ? heights[n % 4] : height(rng);
        st.m_nPenX = n % 11 == 0 ? pens[n % 4] : static_cast<int32_t>(rng() % 100000);
        st.m_nPenY = n % 13 == 0 ? pens[(n + 1) % 4] : static_cast<int32_t>(rng() % 100000);
        st.m_nLabelOrigin = 3; // the glyph origin is the pen position
        CRecordingSink sink;
        text.DrawLabel("AA", 3, st, sink);
        // Expected: the two glyphs at local x 0 and 23 units (times 16), each a move to its
        // first point and lines through the others, sent through the public stroke pen.
        const double theta = st.m_dLabelAngle / 180.0 * 3.14159265359;
        const double c = std::cos(theta);
        const double sn = std::sin(theta);
        const double s = K / (st.m_dCharHeight * 400.0);
        CStrokeFontText reference;
        CRecordingSink expected;
        for (int g = 0; g < 2; ++g) {
            int64_t lx = g * 23 * 16;
            int64_t ly = 0;
            const auto point = [&]() {
                const double vx = static_cast<double>(lx) * c - (static_cast<double>(ly) - K) * sn;
                const double vy = static_cast<double>(lx) * sn + (static_cast<double>(ly) - K) * c;
                const auto sat = [](int64_t v) {
                    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
                };
                return P{sat(int64_t{st.m_nPenX} + RoundHalfAway(vx / s)),
                         sat(int64_t{st.m_nPenY} + RoundHalfAway(vy / s))};
            };
            reference.StrokeMoveTo(point().x, point().y);
            for (const auto& step : steps) {
                lx += step[0] * 16;
                ly += step[1] * 16;
                reference.StrokeLineTo(point().x, point().y, expected);
            }
        }
        ASSERT_EQ(sink.m_lines, expected.m_lines)
            << "angle " << st.m_dLabelAngle << " height " << st.m_dCharHeight << " pen "
            << st.m_nPenX << "," << st.m_nPenY;
    }
}

TEST(StrokeFontText, StrokeLineToJoinsOnlyWhereTheLastStrokeEnded) {
    CStrokeFontText text;
    CRecordingSink s;
    text.StrokeMoveTo(10, 10);
    text.StrokeLineTo(20, 10, s);
    text.StrokeLineTo(20, 20, s); // continues
    text.StrokeMoveTo(20, 20);    // same point, but a move always starts a new polyline
    text.StrokeLineTo(30, 20, s);
    text.StrokeMoveTo(5, 5);
    text.StrokeLineTo(0, 5, s);
    text.StrokeLineTo(0, 9, s); // the pen had a coordinate of 0 or less: a new polyline
    EXPECT_EQ(s.m_lines, (std::vector<std::vector<P>>{{{10, 10}, {20, 10}, {20, 20}},
                                                      {{20, 20}, {30, 20}},
                                                      {{5, 5}, {0, 5}},
                                                      {{0, 5}, {0, 9}}}));
    text.StrokeMoveTo(INT32_MAX, 1); // no overflow for the "never equal" end point
    text.StrokeLineTo(INT32_MAX, 2, s);
    EXPECT_EQ(s.m_lines.back(), (std::vector<P>{{INT32_MAX, 1}, {INT32_MAX, 2}}));
}

} // namespace
} // namespace inkvale
