// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/StrokeFontText.h"

#include "StrokeFontTestFonts.h"

#include <gtest/gtest.h>

#include <random>

namespace inkvale {
namespace {

using test::CRecordingSink;
using P = CRecordingSink::CPoint2;
using Lines = std::vector<std::vector<P>>;

// Character height 1.04 cm makes one local unit one plotter unit (K = 416 = 1.04 * 400);
// with the origin at (1000, 1416) the local point (x, y) lands on (1000 + x, 1000 + y).
Lines Interpret(const std::vector<uint8_t>& glyph, int64_t nMult = 1, bool bDouble = false) {
    CStrokeFontText text = test::TestText();
    CLabelState st;
    st.m_dCharHeight = 1.04;
    CRecordingSink sink;
    text.DrawGlyph(1000, 1416, glyph, 0, nMult, bDouble, st, sink);
    for (auto& line : sink.m_lines)
        for (P& p : line)
            p = {p.x - 1000, p.y - 1000};
    return sink.m_lines;
}

TEST(StrokeFontGlyph, VectorDirectionsWithOddLength) {
    // Length 5: d = 5, e = 2 (half the length, rounded down).
    const P steps[16] = {{5, 0},  {5, 2},   {5, 5},   {2, 5},   {0, 5},  {-2, 5}, {-5, 5}, {-5, 2},
                         {-5, 0}, {-5, -2}, {-5, -5}, {-2, -5}, {0, -5}, {2, -5}, {5, -5}, {5, -2}};
    for (uint8_t dir = 0; dir < 16; ++dir) {
        EXPECT_EQ(Interpret({0, static_cast<uint8_t>(0x50 | dir), 0}),
                  (Lines{{{0, 0}, steps[dir]}}))
            << int(dir);
    }
}

TEST(StrokeFontGlyph, ShapeByteTable) {
    struct Case {
        const char* what;
        std::vector<uint8_t> glyph;
        Lines lines;
    };
    const Case cases[] = {
        {"vector", {0, 0x14, 0x10, 0}, {{{0, 0}, {0, 1}, {1, 1}}}},
        {"displacement, signed", {8, 0xFD, 0x04}, {{{0, 0}, {-3, 4}}}},
        {"run of displacements",
         {9, 1, 0, 0, 1, 0xFF, 0xFF, 0, 0, 0x10},
         {{{0, 0}, {1, 0}, {1, 1}, {0, 0}, {1, 0}}}},
        {"pen up moves", {2, 0x20, 1, 0x14}, {{{2, 0}, {2, 1}}}},
        {"pen up run", {2, 9, 3, 0, 0, 3, 0, 0, 1, 0x14}, {{{3, 3}, {3, 4}}}},
        {"3 and 4 are skipped with their operand",
         {3, 0x14, 0x10, 4, 0x14, 0x10},
         {{{0, 0}, {1, 0}, {2, 0}}}},
        {"vertical-only vector", {0x0E, 0x10, 0x14}, {{{0, 0}, {0, 1}}}},
        {"vertical-only displacement", {0x0E, 8, 5, 5, 0x14}, {{{0, 0}, {0, 1}}}},
        {"vertical-only run", {0x0E, 9, 1, 1, 2, 2, 0, 0, 0x14}, {{{0, 0}, {0, 1}}}},
        {"flag survives 0, 1, 2", {0x0E, 0, 2, 1, 0x10, 0x14}, {{{0, 0}, {0, 1}}}},
        {"flag taken by 3", {0x0E, 3, 2, 0x14}, {{{0, 0}, {0, 1}}}},
        {"location stack, subshape, arcs skipped",
         {5,    6,    7,    0x44, 0x0A, 0x44, 0x44, 0x0B, 0x44, 0x44, 0x44, 0x44, 0x44, 0x0C,
          0x44, 0x44, 0x44, 0x0D, 0x44, 0x44, 0x44, 0x44, 0x44, 0x44, 0,    0,    0x10},
         {{{0, 0}, {1, 0}}}},
        {"zero-length vector repeats the point", {0x0F}, {{{0, 0}, {0, 0}}}},
        {"truncated displacement", {0x10, 8, 5}, {{{0, 0}, {1, 0}}}},
        {"run without its end", {9, 1, 1, 2}, {{{0, 0}, {1, 1}}}},
        {"arc run without its end", {0x0D, 1, 1, 1, 2}, {}},
        {"empty", {}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Interpret(c.glyph), c.lines) << c.what;
}

TEST(StrokeFontGlyph, MultiplierScalesEveryStep) {
    EXPECT_EQ(Interpret({0x14, 8, 1, 0xFF, 9, 2, 0, 0, 0}, 3),
              (Lines{{{0, 0}, {0, 3}, {3, 0}, {9, 0}}}));
    // A subshape number has two bytes in a double-byte font.
    EXPECT_EQ(Interpret({7, 0x44, 0x44, 0x10}, 1, true), (Lines{{{0, 0}, {1, 0}}}));
}

TEST(StrokeFontGlyph, RandomBytesNeverHangOrLeaveTheGlyph) {
    std::mt19937 rng(12345);
    CStrokeFontText text = test::TestText();
    CLabelState st;
    CRecordingSink sink;
    for (int n = 0; n < 2000; ++n) {
        std::vector<uint8_t> glyph(rng() % 64);
        for (uint8_t& b : glyph)
            b = static_cast<uint8_t>(rng() % 20 < 10 ? rng() % 16 : rng());
        // A span over exactly the glyph: ASan reports any read past it.
        const std::vector<uint8_t> exact(glyph);
        text.DrawGlyph(1000, 1000, exact, 0, 65535 * 2, n % 2 == 0, st, sink);
    }
    SUCCEED();
}

} // namespace
} // namespace inkvale
