// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PrintHeadFormatter.h"

#include "raster/BandBuffers.h"
#include "raster/PrintHeadCodec.h"

#include <gtest/gtest.h>

#include <vector>

namespace inkvale {
namespace {

// A band bitmap of JobWidth rows for a geometry, and the column image made from it.
struct CBand {
    CBandGeometry geo;
    int32_t L;
    std::vector<uint8_t> bitmap;
    std::vector<uint8_t> columns;

    CBand(const CBandParams& p, int32_t nJobWidth)
        : geo(p), L(nJobWidth), bitmap(static_cast<size_t>(nJobWidth * geo.RowBytes())),
          columns(static_cast<size_t>((nJobWidth + 30) * geo.ColumnBytes()) + 1, 0xEE) {}

    void Set(int row, int px) {
        bitmap[static_cast<size_t>(row * geo.RowBytes() + px / 8)] |=
            static_cast<uint8_t>(0x80u >> (px % 8));
    }
    void Fill(int64_t j, int64_t bandCount, int logoLen = 0, int pathLen = 0) {
        CPrintHeadFormatter(geo, logoLen, pathLen)
            .FillColumns(j, bandCount, L, bitmap.data(), columns.data());
    }
    CNozzleVector Nozzles(int col, int lane) const {
        CNozzleRecord rec;
        const size_t at = static_cast<size_t>(col * geo.ColumnBytes() + 22 * lane);
        std::copy_n(columns.begin() + static_cast<ptrdiff_t>(at), 22, rec.begin());
        return DecodeNozzleRecord(rec);
    }
    // The columns of one lane that hold any ink.
    std::vector<int> InkedColumns(int lane) const {
        std::vector<int> out;
        for (int c = 0; c < L + 30; ++c) {
            const CNozzleVector n = Nozzles(c, lane);
            if (std::find(n.begin(), n.end(), 1) != n.end())
                out.push_back(c);
        }
        return out;
    }
};

TEST(PrintHeadFormatterTest, EmptyTwoHeadBandIsOneRun) {
    CBand band(CBandParams{}, 70);
    std::vector<uint8_t> out(8192, 0xEE);
    const size_t n =
        CPrintHeadFormatter(band.geo, 0, 0)
            .FormatBand(0, 1, 70, band.bitmap.data(), band.columns.data(), out.data(), out.size());
    ASSERT_EQ(n, 4u);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 4),
              (std::vector<uint8_t>{0, 0, 0x98, 0x08}));
    EXPECT_EQ(out[4095], 0) << "the rest of the chunk is cleared";
    EXPECT_EQ(out[4096], 0xEE);
    EXPECT_EQ(band.columns[100 * 44], 0xEE) << "nothing written beyond JobWidth + 30 columns";
}

TEST(PrintHeadFormatterTest, PixelsReachTheirHeadsNozzles) {
    CBandParams p;
    p.m_arrHeadOverlap = {4, 0, 0};
    p.m_arrHeadPos = {10, 180, 0, 0};
    CBand band(p, 250);
    band.Set(0, 0);
    band.Set(0, 149);
    band.Set(0, 150);
    band.Set(1, 295);
    for (int px = 296; px < 320; ++px)
        band.Set(2, px); // pixels of the next band
    band.Fill(0, 1);
    CNozzleVector head1{}, head2{}, head2Row1{};
    head1[0] = head1[149] = 1;
    head2[4] = 1;
    head2Row1[149] = 1;
    EXPECT_EQ(band.Nozzles(0 + 40, 0), head1);
    EXPECT_EQ(band.Nozzles(0 + 210, 1), head2);
    EXPECT_EQ(band.Nozzles(1 + 210, 1), head2Row1);
    EXPECT_EQ(band.InkedColumns(0), (std::vector<int>{40}));
    EXPECT_EQ(band.InkedColumns(1), (std::vector<int>{210, 211}));
}

TEST(PrintHeadFormatterTest, LanesByCombination) {
    struct Case {
        int comb;
        std::vector<bool> lanesInked;
    };
    // Every pixel of the band is inked in row 0.
    for (const Case& c : {Case{0, {1, 1}}, Case{1, {1, 0}}, Case{2, {0, 1}}, Case{3, {1, 1, 1, 1}},
                          Case{4, {1, 1, 1, 0}}}) {
        CBandParams p;
        p.m_nHeadCombination = c.comb;
        p.m_arrHeadPos = {0, 0, 0, 0};
        CBand band(p, 10);
        for (int px = 0; px < band.geo.BitmapWidth(); ++px)
            band.Set(0, px);
        band.Fill(0, 1);
        for (size_t h = 0; h < c.lanesInked.size(); ++h) {
            const CNozzleVector n = band.Nozzles(30, static_cast<int>(h));
            const int fired = static_cast<int>(std::count(n.begin(), n.end(), 1));
            EXPECT_EQ(fired, c.lanesInked[h] ? 150 : 0) << "comb " << c.comb << " lane " << h;
        }
    }
}

TEST(PrintHeadFormatterTest, DirectionAndInkColumnsPlaceTheRecords) {
    struct Case {
        int64_t band;
        int inkColumns;
        int column; // where row 5 of lane 1 lands
    };
    // P1 = 10, R1 = 4: forward 5 + 40 (+ 9 with one ink column), return 5 + 35 (- 15).
    for (const Case& c :
         {Case{0, 0, 45}, Case{0, 1, 54}, Case{1, 0, 40}, Case{1, 2, 25}, Case{2, 0, 45}}) {
        CBandParams p;
        p.m_arrHeadPos = {10, 100, 0, 0};
        p.m_arrReturnJoin = {4, 4, 4, 4};
        p.m_nInkColumns = c.inkColumns;
        CBand band(p, 60);
        band.Set(5, 7);
        band.Fill(c.band, 3);
        EXPECT_EQ(band.InkedColumns(0), std::vector<int>{c.column})
            << "band " << c.band << " ink " << c.inkColumns;
        // The return band is sent last column first: the record's words come out reversed
        // in column order, so the ink lies (L + 29 - column) columns into the data.
        std::vector<uint8_t> out(CBandBuffers::kBandDataBytes);
        const size_t n = CPrintHeadFormatter(band.geo, 0, 0)
                             .FormatBand(c.band, 3, 60, band.bitmap.data(), band.columns.data(),
                                         out.data(), out.size());
        std::vector<uint16_t> words(90 * 22);
        size_t nWords = 0;
        ASSERT_EQ(DecodeZeroRuns(std::span(out.data(), n), words.data(), words.size(), nWords),
                  ERunError::None);
        ASSERT_EQ(nWords, words.size());
        size_t first = 0;
        while (first < words.size() && words[first] == 0)
            ++first;
        const bool back = c.band == 1;
        EXPECT_EQ(static_cast<int>(first / 22), back ? 89 - c.column : c.column);
    }
}

// Row i carries its number in pixels 0..9 so that a column shows which row landed there.
void NumberRows(CBand& band) {
    for (int i = 0; i < band.L; ++i) {
        band.Set(i, 10); // every row prints something
        for (int b = 0; b < 10; ++b) {
            if ((i >> b) & 1)
                band.Set(i, b);
        }
    }
}

int RowIn(const CBand& band, int col, int lane) {
    const CNozzleVector n = band.Nozzles(col, lane);
    if (!n[10])
        return -1;
    int row = 0;
    for (int b = 0; b < 10; ++b)
        row |= n[static_cast<size_t>(b)] << b;
    return row;
}

TEST(PrintHeadFormatterTest, EdgeAdjustmentShiftsOneZone) {
    struct Case {
        const char* what;
        int comb;
        int64_t band;
        int adjust;
        std::vector<std::pair<int, int>> columnRow; // column (from F or B) -> row, -1 empty
    };
    // E = 20000 and margins of 20 mm give an edge zone of n = 100 columns; L = 300.
    const Case cases[] = {
        {"forward, a = 2: rows 0..97 two later, 98 and 99 win their columns",
         0,
         0,
         2,
         {{0, -1}, {1, -1}, {2, 0}, {97, 95}, {98, 98}, {99, 99}, {100, 100}, {299, 299}}},
        {"forward, a = -2: a gap of two columns",
         0,
         0,
         -2,
         {{0, 2}, {99, 101}, {100, -1}, {101, -1}, {102, 102}}},
        {"return, a = 2: rows above 202 two earlier and winning",
         3,
         1,
         2,
         {{200, 200}, {201, 203}, {202, 204}, {297, 299}, {298, -1}, {299, -1}, {0, 0}}},
        {"return, a = -3: gap of three",
         4,
         1,
         -3,
         {{197, 197}, {198, -1}, {199, -1}, {200, -1}, {201, 198}, {302, 299}}},
        {"single head: no adjustment", 1, 0, 2, {{0, 0}, {2, 2}, {99, 99}}},
        {"adjustment 0 changes nothing", 0, 1, 0, {{0, 0}, {150, 150}, {299, 299}}},
    };
    for (const Case& c : cases) {
        CBandParams p;
        p.m_nHeadCombination = c.comb;
        p.m_nXDotsPerMetre = 20000;
        p.m_nMarginLeftMm = p.m_nMarginRightMm = 20;
        p.m_nEdgeAdjustLeft = p.m_nEdgeAdjustRight = c.adjust;
        p.m_arrHeadPos = {0, 0, 0, 0};
        p.m_arrReturnJoin = {0, 0, 0, 0};
        CBand band(p, 300);
        NumberRows(band);
        band.Fill(c.band, 3);
        const int base = c.band == 1 ? 21 : 30;
        for (auto [col, row] : c.columnRow)
            EXPECT_EQ(RowIn(band, base + col, 0), row) << c.what << ", column +" << col;
    }
}

TEST(PrintHeadFormatterTest, CleaningBandPrintsRowsFromTheTopDown) {
    struct Case {
        int comb;
        int inkColumns;
        int top; // highest printed row
    };
    // Logo of 2 characters: n = 56 * 2 + 1246 = 1358.
    for (const Case& c : {Case{0, 0, 2024}, Case{3, 1, 2024}, Case{1, 0, 1358}, Case{4, 2, 1358}}) {
        CBandParams p;
        p.m_nHeadCombination = c.comb;
        p.m_nInkColumns = c.inkColumns; // ignored: plain offsets
        p.m_bSpAutoClean = true;
        p.m_arrHeadPos = {5, 5, 5, 5};
        CBand band(p, 3000);
        for (int r : {80, 666, 667, 1000, c.top, c.top + 1})
            band.Set(r, 0);
        band.Fill(0, 5, 2, 0);
        // Row r lands in column F° + n + 666 - r with F° = 35.
        std::vector<int> want = {35 + 2024 - c.top, 35 + 2024 - 1000, 35 + 2024 - 667};
        EXPECT_EQ(band.InkedColumns(0), want) << "comb " << c.comb;
    }
}

TEST(PrintHeadFormatterTest, LabelBandRowsAndOffsets) {
    struct Case {
        int comb;
        int64_t band;
        int base; // F° or B° + 80
    };
    // Path of 3 characters: n = 30 * 3 + 950 = 1040; P1 = 5, R1 = 20: F° = 35, B° = 46.
    for (const Case& c :
         {Case{0, 2, 35 + 80}, Case{0, 3, 46 + 80}, Case{3, 3, 35 + 80}, Case{1, 1, 46 + 80}}) {
        CBandParams p;
        p.m_nHeadCombination = c.comb;
        p.m_bPrintFileName = true;
        p.m_arrHeadPos = {5, 5, 5, 5};
        p.m_arrReturnJoin = {20, 20, 20, 20};
        p.m_nInkColumns = 1;
        CBand band(p, 1200);
        for (int r : {80, 81, 500, 1040, 1041})
            band.Set(r, 3);
        band.Fill(c.band, c.band + 1, 0, 3);
        std::vector<int> want = {c.base, c.base + 1040 - 500, c.base + 1040 - 81};
        EXPECT_EQ(band.InkedColumns(0), want) << "comb " << c.comb << " band " << c.band;
    }
}

TEST(PrintHeadFormatterTest, SpecialBandsOfANarrowJobStayInsideTheBand) {
    CBandParams p;
    p.m_bSpAutoClean = true;
    p.m_arrHeadPos = {0, 900, 0, 0};
    CBand band(p, 700);
    for (int r = 0; r < 700; ++r)
        band.Set(r, 1);
    band.Fill(0, 2, 500, 0); // a 500-character logo puts its rows far beyond the bitmap
    EXPECT_TRUE(band.InkedColumns(0).empty());
    EXPECT_TRUE(band.InkedColumns(1).empty());
    EXPECT_EQ(band.columns.back(), 0xEE);
}

} // namespace
} // namespace inkvale
