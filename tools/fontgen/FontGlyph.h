// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace inkvale::fontgen {

/// A point of a glyph in font units: x to the right from the glyph's start, y up from
/// the baseline.
struct CGlyphPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const CGlyphPoint&, const CGlyphPoint&) = default;
};

/// One pen-down polyline of a glyph.
using CStroke = std::vector<CGlyphPoint>;

/// A glyph before encoding: its code in the font, its advance and its strokes.
struct CGlyph {
    uint16_t m_nCode = 0;
    uint16_t m_nWidth = 0; ///< advance width in font units (single-byte font only)
    std::vector<CStroke> m_arrStrokes;
};

} // namespace inkvale::fontgen
