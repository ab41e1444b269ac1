// SPDX-License-Identifier: GPL-3.0-or-later
// The two font files the program ships: their layout, and that their glyphs draw exactly
// the sources they were made from (GNU Unifont, the Hershey Roman simplex set).

#include "import/StrokeFont.h"

#include "StrokeFontTestFonts.h"
#include "common/TestPaths.h"
#include "import/StrokeFontData.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iconv.h>
#include <map>
#include <numeric>
#include <set>

namespace inkvale {
namespace {

using test::CRecordingSink;
using Segment = std::pair<std::pair<int, int>, std::pair<int, int>>;

const std::filesystem::path kResources = test::SourceDir() / "resources";

std::string AsString(std::span<const uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

// The glyph's strokes in font units (x right, y up from the baseline), drawn with a scale of
// one plotter unit per font unit.
std::vector<std::vector<CRecordingSink::CPoint2>>
Decode(CStrokeFontText& text, const CStrokeFont& font, const CCharactor& rec) {
    CLabelState st;
    st.m_dCharHeight = static_cast<double>(text.EmUnits()) / 400.0;
    CRecordingSink sink;
    text.DrawGlyph(10000, 10000 + static_cast<int32_t>(text.EmUnits()), font.Glyph(rec), 0, 1,
                   font.Kind() == CStrokeFont::EKind::DoubleByte, st, sink);
    for (auto& line : sink.m_lines)
        for (auto& p : line)
            p = {p.x - 10000, p.y - 10000};
    return sink.m_lines;
}

TEST(StrokeFontShipped, EmbeddedBytesAreTheResourceFiles) {
    EXPECT_EQ(AsString(EmbeddedEnFont()), test::ReadFileBytes(kResources / "fon_en.bin"));
    EXPECT_EQ(AsString(EmbeddedHzFont()), test::ReadFileBytes(kResources / "fon_hz.bin"));
}

TEST(StrokeFontShipped, LayoutOfBothFiles) {
    CStrokeFontText text;
    text.LoadFonts("");
    const CStrokeFont& en = text.EnFont();
    const CStrokeFont& hz = text.HzFont();
    EXPECT_EQ(en.m_nHeader1 + en.m_nHeader2, 26);
    EXPECT_EQ(hz.m_nHeader1, 16);
    EXPECT_EQ(hz.m_nHeader2, 16);
    ASSERT_EQ(en.m_arrIndex.size(), 95u);
    for (size_t i = 0; i < 95; ++i)
        EXPECT_EQ(en.m_arrIndex[i].m_nCode, 0x20 + i);
    EXPECT_EQ(en.m_arrIndex[0].m_nLength, 0); // the space draws nothing
    // Double-byte codes ascending inside the GB2312 area, every hanzi present (levels 1 and 2:
    // 3755 + 3008), the ideographic space empty.
    int hanzi = 0;
    for (size_t i = 0; i < hz.m_arrIndex.size(); ++i) {
        const CCharactor& r = hz.m_arrIndex[i];
        ASSERT_TRUE(r.m_nCode >= 0xA1A1 && r.m_nCode <= 0xF7FE && (r.m_nCode & 0xFF) >= 0xA1);
        if (i > 0) {
            ASSERT_LT(hz.m_arrIndex[i - 1].m_nCode, r.m_nCode);
        }
        hanzi += r.m_nCode >= 0xB0A1 ? 1 : 0;
        EXPECT_EQ(r.m_nLength == 0, r.m_nCode == 0xA1A1) << std::hex << r.m_nCode;
    }
    EXPECT_EQ(hanzi, 6763);
    // Glyph data follows the index without gaps, in code order, up to the end of the file.
    for (const CStrokeFont* font : {&en, &hz}) {
        const size_t headerSize = font == &en ? 10 : 8;
        uint32_t expected =
            static_cast<uint32_t>(headerSize + font->m_arrIndex.size() * headerSize);
        for (const CCharactor& r : font->m_arrIndex) {
            ASSERT_EQ(r.m_nOffset, expected);
            expected += r.m_nLength;
        }
        EXPECT_EQ(expected, (font == &en ? EmbeddedEnFont() : EmbeddedHzFont()).size());
    }
}

// Unifont's bitmap of a code point: row 0 on top, bit 15 the leftmost pixel, 8-pixel glyphs
// centred.
std::map<uint32_t, std::array<uint16_t, 16>> ReadUnifont(const std::string& path) {
    std::map<uint32_t, std::array<uint16_t, 16>> glyphs;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const size_t colon = line.find(':');
        const std::string hex = line.substr(colon + 1);
        const size_t digits = hex.size() / 16;
        if (colon == std::string::npos || (hex.size() != 32 && hex.size() != 64))
            continue;
        std::array<uint16_t, 16> rows{};
        for (size_t r = 0; r < 16; ++r) {
            const unsigned v =
                static_cast<unsigned>(std::stoul(hex.substr(r * digits, digits), nullptr, 16));
            rows[r] = static_cast<uint16_t>(digits == 2 ? v << 4 : v);
        }
        glyphs[static_cast<uint32_t>(std::stoul(line.substr(0, colon), nullptr, 16))] = rows;
    }
    return glyphs;
}

uint32_t Gb2312ToUnicode(iconv_t conv, uint16_t code) {
    char in[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    char out[4] = {};
    char* pIn = in;
    char* pOut = out;
    size_t inLeft = 2;
    size_t outLeft = 4;
    if (iconv(conv, &pIn, &inLeft, &pOut, &outLeft) == static_cast<size_t>(-1) || outLeft != 0)
        return 0;
    return static_cast<uint8_t>(out[0]) | static_cast<uint8_t>(out[1]) << 8 |
           static_cast<uint8_t>(out[2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(out[3])) << 24;
}

TEST(StrokeFontShipped, EveryDoubleByteGlyphDrawsItsUnifontBitmap) {
    const auto unifont = ReadUnifont("/usr/share/unifont/unifont.hex");
    iconv_t conv = iconv_open("UTF-32LE", "GB2312");
    if (unifont.empty() || conv == reinterpret_cast<iconv_t>(-1))
        GTEST_SKIP() << "GNU Unifont or the GB2312 converter is not installed";
    CStrokeFontText text;
    text.LoadFonts("");
    for (const CCharactor& rec : text.HzFont().m_arrIndex) {
        const auto it = unifont.find(Gb2312ToUnicode(conv, rec.m_nCode));
        ASSERT_NE(it, unifont.end()) << std::hex << rec.m_nCode;
        std::array<uint16_t, 16> drawn{};
        std::array<uint16_t, 16> dashes{}; // the unit dash drawn for a lone pixel
        for (const auto& line : Decode(text, text.HzFont(), rec)) {
            for (size_t i = 1; i < line.size(); ++i) {
                const int dx = line[i].x - line[i - 1].x;
                const int dy = line[i].y - line[i - 1].y;
                const int n = std::max(std::abs(dx), std::abs(dy));
                ASSERT_TRUE(dx == 0 || dy == 0 || std::abs(dx) == std::abs(dy));
                for (int k = 0; k <= n; ++k) {
                    const int x = line[i - 1].x + (n == 0 ? 0 : dx / n * k);
                    const int y = line[i - 1].y + (n == 0 ? 0 : dy / n * k);
                    ASSERT_TRUE(x >= 0 && x < 16 && y >= 0 && y < 16) << std::hex << rec.m_nCode;
                    // The unlit end of a one-unit horizontal dash.
                    const bool dashEnd =
                        n == 1 && dy == 0 && !((it->second[15 - y] >> (15 - x)) & 1);
                    (dashEnd ? dashes : drawn)[15 - y] |= static_cast<uint16_t>(0x8000u >> x);
                }
            }
        }
        EXPECT_EQ(drawn, it->second) << std::hex << rec.m_nCode;
    }
    iconv_close(conv);
}

// Labels draw glyphs from a cache of interpreted glyphs; every glyph must come out exactly as
// interpreting its bytes draws it, at an awkward angle and size where rounding shows.
TEST(StrokeFontShipped, CachedGlyphsDrawAsInterpreted) {
    CStrokeFontText text;
    text.LoadFonts("");
    CLabelState st;
    st.m_nPenX = 5000;
    st.m_nPenY = 7000;
    st.m_dLabelAngle = 33.3;
    st.m_dCharHeight = 0.537;
    st.m_nLabelOrigin = 3; // no origin shift: the text starts at the pen position
    for (const CStrokeFont* font : {&text.EnFont(), &text.HzFont()}) {
        const bool bDouble = font == &text.HzFont();
        const int64_t mult = bDouble ? text.EnFont().m_nHeader1 + text.EnFont().m_nHeader2
                                     : text.HzFont().m_nHeader2;
        for (const CCharactor& rec : font->m_arrIndex) {
            if (rec.m_nLength == 0)
                continue;
            std::string label;
            if (bDouble)
                label += static_cast<char>(rec.m_nCode >> 8);
            label += static_cast<char>(rec.m_nCode & 0xFF);
            CRecordingSink viaLabel;
            CRecordingSink viaBytes;
            for (int k = 0; k < 2; ++k) // the second time from the cache
                text.DrawLabel(label.c_str(), label.size() + 1, st, viaLabel);
            for (int k = 0; k < 2; ++k)
                text.DrawGlyph(5000, 7000, font->Glyph(rec), 0, mult, bDouble, st, viaBytes);
            ASSERT_EQ(viaLabel.m_lines, viaBytes.m_lines) << std::hex << rec.m_nCode;
        }
    }
}

// Hershey glyph records: "NNNNNCCC" + pairs of letters offset by 'R', " R" = pen up.
std::vector<std::string> ReadHersheyBodies(const std::string& path) {
    std::vector<std::string> bodies;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() >= 10)
            bodies.push_back(line.substr(8));
    }
    return bodies;
}

// Adds the segment a-b as its primitive steps (a step of (6, -2) becomes two of (3, -1)), so
// that merged runs and the original points compare equal.
void AddSteps(std::set<Segment>& segs, std::pair<int, int> a, std::pair<int, int> b) {
    const int n = std::gcd(std::abs(b.first - a.first), std::abs(b.second - a.second));
    if (n == 0)
        return;
    const int sx = (b.first - a.first) / n;
    const int sy = (b.second - a.second) / n;
    for (int k = 0; k < n; ++k) {
        const std::pair<int, int> p{a.first + sx * k, a.second + sy * k};
        const std::pair<int, int> q{p.first + sx, p.second + sy};
        segs.insert({std::min(p, q), std::max(p, q)});
    }
}

std::set<Segment> HersheySegments(const std::string& body) {
    std::set<Segment> segs;
    const int left = body[0] - 'R';
    bool bHave = false;
    std::pair<int, int> last;
    for (size_t i = 2; i + 1 < body.size(); i += 2) {
        if (body[i] == ' ' && body[i + 1] == 'R') {
            bHave = false;
            continue;
        }
        const std::pair<int, int> p{body[i] - 'R' - left, 9 - (body[i + 1] - 'R')};
        if (bHave)
            AddSteps(segs, last, p);
        last = p;
        bHave = true;
    }
    return segs;
}

TEST(StrokeFontShipped, EverySingleByteGlyphDrawsItsHersheyStrokes) {
    const auto bodies = ReadHersheyBodies("/usr/share/hershey-fonts/rowmans.jhf");
    if (bodies.size() < 95)
        GTEST_SKIP() << "the Hershey fonts are not installed";
    CStrokeFontText text;
    text.LoadFonts("");
    for (const CCharactor& rec : text.EnFont().m_arrIndex) {
        const std::string& body = bodies[rec.m_nCode - 0x20];
        EXPECT_EQ(rec.m_nWidth, (body[1] - 'R') - (body[0] - 'R')) << rec.m_nCode;
        std::set<Segment> drawn;
        for (const auto& line : Decode(text, text.EnFont(), rec)) {
            for (size_t i = 1; i < line.size(); ++i)
                AddSteps(drawn, {line[i - 1].x, line[i - 1].y}, {line[i].x, line[i].y});
        }
        const std::set<Segment> expected = HersheySegments(body);
        EXPECT_EQ(drawn, expected) << "code " << rec.m_nCode;
    }
}

} // namespace
} // namespace inkvale
