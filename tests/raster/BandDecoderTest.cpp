// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/BandDecoder.h"

#include "raster/BandBuffers.h"
#include "raster/PrintHeadFormatter.h"

#include <gtest/gtest.h>

#include <random>

namespace inkvale {
namespace {

struct RoundTripCase {
    int comb;
    std::array<int, 3> overlap;
    int inkColumns;
    int64_t band;
};

// Formats a random band bitmap and decodes it: the decoder must print exactly the bitmap's
// pixels below H, on the same rows.
TEST(BandDecoderTest, RegularBandsDecodeToTheirPrintedPixels) {
    const RoundTripCase cases[] = {
        {0, {0, 0, 0}, 0, 0}, {0, {4, 0, 0}, 1, 1}, {1, {0, 0, 0}, 0, 1},  {2, {0, 0, 0}, 2, 0},
        {3, {1, 2, 3}, 0, 1}, {3, {0, 0, 0}, 2, 2}, {4, {10, 5, 0}, 0, 3},
    };
    std::mt19937 rng(3);
    std::vector<uint8_t> out(CBandBuffers::kBandDataBytes);
    for (const RoundTripCase& c : cases) {
        CBandParams p;
        p.m_nHeadCombination = c.comb;
        p.m_arrHeadOverlap = c.overlap;
        p.m_nInkColumns = c.inkColumns;
        p.m_arrHeadPos = {17, 190, 361, 533};
        p.m_arrReturnJoin = {3, 0, 40, 12};
        const CBandGeometry geo(p);
        // Rows of a job stay below JobWidth - max(P) - 60, so that every lane's records of
        // every row fit the band's columns.
        const int32_t L = 1200;
        std::vector<uint8_t> bitmap(static_cast<size_t>(L * geo.RowBytes()));
        for (size_t i = 0; i < static_cast<size_t>(600 * geo.RowBytes()); ++i)
            bitmap[i] = static_cast<uint8_t>(rng() % 5 == 0 ? rng() : 0);
        std::vector<uint8_t> columns(static_cast<size_t>((L + 30) * geo.ColumnBytes()));
        const size_t n = CPrintHeadFormatter(geo, 0, 0).FormatBand(
            c.band, 10, L, bitmap.data(), columns.data(), out.data(), out.size());
        CBandDecoder dec(p);
        const CBandDecodeResult r =
            dec.Decode(std::span(out.data(), n), L, geo.IsReturnBand(c.band));
        ASSERT_TRUE(r.Ok()) << r.m_strDiag;
        int nDiff = 0, nInk = 0;
        for (int row = 0; row < L; ++row) {
            for (int x = 0; x < geo.BitmapWidth(); ++x) {
                const bool bDrawn =
                    (bitmap[static_cast<size_t>(row * geo.RowBytes() + x / 8)] >> (7 - x % 8)) & 1u;
                const bool bPrinted = bDrawn && x < geo.BandHeight();
                nInk += bPrinted;
                nDiff += bPrinted != dec.Pixel(row, x);
            }
        }
        EXPECT_EQ(nDiff, 0) << "comb " << c.comb << " band " << c.band;
        EXPECT_GT(nInk, 1000);
        EXPECT_EQ(dec.Columns(), columns) << "comb " << c.comb << " band " << c.band;
    }
}

TEST(BandDecoderTest, MalformedOrMisSizedDataIsReported) {
    CBandDecoder dec{CBandParams{}};
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        bool ok;
    };
    // JobWidth 70: 100 columns of 22 words, exactly one run of 2200.
    const Case cases[] = {
        {"the empty band", {0, 0, 0x98, 0x08}, true},
        {"one word short", {0, 0, 0x97, 0x08}, false},
        {"one word too many", {0, 0, 0x98, 0x08, 1, 0}, false},
        {"odd length", {0, 0, 0x98}, false},
        {"run length 0", {0, 0, 0, 0}, false},
        {"nothing", {}, false},
    };
    for (const Case& c : cases) {
        const CBandDecodeResult r = dec.Decode(c.bytes, 70, false);
        EXPECT_EQ(r.Ok(), c.ok) << c.what;
        EXPECT_EQ(r.m_strDiag.empty(), c.ok) << c.what;
    }
    std::mt19937 rng(5);
    for (int t = 0; t < 200; ++t) {
        std::vector<uint8_t> bytes(rng() % 300);
        for (auto& b : bytes)
            b = static_cast<uint8_t>(rng() % 2 ? 0 : rng());
        (void)dec.Decode(bytes, static_cast<int32_t>(rng() % 100) - 10, rng() % 2);
        EXPECT_LE(dec.Bitmap().size(), static_cast<size_t>(100 * dec.RowBytes()));
    }
}

} // namespace
} // namespace inkvale
