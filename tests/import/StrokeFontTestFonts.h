// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Small stroke fonts built in memory for the font tests, and a sink that records strokes.

#include "import/StrokeFontText.h"

#include <cstdint>
#include <vector>

namespace inkvale::test {

struct CTestGlyph {
    uint16_t nCode;
    uint16_t nWidth; ///< single-byte font only
    std::vector<uint8_t> bytes;
};

inline void PutU16(std::vector<uint8_t>& out, unsigned v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>(v >> 8 & 0xFF));
}

inline void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

/// A font file image: header, index records in the given order, glyph data after the index.
/// nCount overrides the glyph count in the header when not negative.
inline std::vector<uint8_t> BuildFontFile(bool bSingleByte, std::vector<unsigned> header,
                                          const std::vector<CTestGlyph>& glyphs,
                                          int64_t nCount = -1) {
    std::vector<uint8_t> out;
    for (unsigned v : header)
        PutU16(out, v);
    PutU32(out, nCount < 0 ? static_cast<uint32_t>(glyphs.size()) : static_cast<uint32_t>(nCount));
    uint32_t offset = static_cast<uint32_t>(out.size() + glyphs.size() * (bSingleByte ? 10u : 8u));
    for (const CTestGlyph& g : glyphs) {
        PutU16(out, g.nCode);
        PutU16(out, static_cast<unsigned>(g.bytes.size()));
        if (bSingleByte)
            PutU16(out, g.nWidth);
        PutU32(out, offset);
        offset += static_cast<uint32_t>(g.bytes.size());
    }
    for (const CTestGlyph& g : glyphs)
        out.insert(out.end(), g.bytes.begin(), g.bytes.end());
    return out;
}

/// A vertical line 10 font units up from the glyph's start: easy to find in the output.
inline const std::vector<uint8_t> kBarGlyph = {0, 0xA4, 0};

/// The fonts of the worked examples: single-byte em 4 + 22 = 26 with the space 20 wide and
/// 'A' 23 wide (plus a glyph at 0xB0 to show which index a byte is looked up in); double-byte
/// font 16 x 16 with the empty ideographic space 0xA1A1 and one glyph 0xB0A1.
inline std::vector<uint8_t> TestEnFont() {
    return BuildFontFile(true, {4, 22, 7},
                         {{0x20, 20, {}},
                          {'A', 23, kBarGlyph},
                          {'B', 23, kBarGlyph},
                          {'C', 23, kBarGlyph},
                          {'D', 23, kBarGlyph},
                          {0xB0, 30, kBarGlyph}});
}

inline std::vector<uint8_t> TestHzFont() {
    return BuildFontFile(false, {16, 16}, {{0xA1A1, 0, {}}, {0xB0A1, 0, kBarGlyph}});
}

/// Records the strokes as the plot list would: one polyline per StartPolyline, beginning
/// with the move's point.
class CRecordingSink : public CStrokeSink {
public:
    struct CPoint2 {
        int32_t x;
        int32_t y;
        friend bool operator==(const CPoint2&, const CPoint2&) = default;
    };
    std::vector<std::vector<CPoint2>> m_lines;

    void StartPolyline(int32_t x, int32_t y) override { m_lines.push_back({{x, y}}); }
    void AppendVertex(int32_t x, int32_t y) override {
        if (m_lines.empty())
            m_lines.push_back({}); // a vertex without a polyline: shows up as a bad line
        m_lines.back().push_back({x, y});
    }
};

/// A label drawer with the test fonts loaded.
inline CStrokeFontText TestText() {
    CStrokeFontText text;
    text.LoadFontBytes(TestHzFont(), TestEnFont());
    return text;
}

} // namespace inkvale::test
