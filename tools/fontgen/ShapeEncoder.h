// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FontGlyph.h"

#include <cstdint>
#include <string>
#include <vector>

namespace inkvale::fontgen {

/// Encodes strokes as shape bytes: an empty name (0), for each stroke pen up (2), a
/// displacement to its start (8 dx dy), pen down (1), then its segments, and the end byte 0.
/// A segment along one of the 8 main directions becomes vector bytes (length 1..15 in the
/// high nibble, direction 0, 2, ..., 14 in the low nibble), with equal steps merged; any other
/// segment becomes a displacement (8 dx dy, or a 9 run of pairs ended by 0 0). A stroke of a
/// single point draws a dash of one unit. An empty glyph encodes as no bytes at all.
std::vector<uint8_t> EncodeShape(const std::vector<CStroke>& strokes);

/// Header values and glyphs of one font file.
struct CFontImage {
    bool m_bSingleByte = false;
    uint16_t m_nHeader1 = 0;
    uint16_t m_nHeader2 = 0;
    uint16_t m_nHeader3 = 0;         ///< single-byte font only
    std::vector<CGlyph> m_arrGlyphs; ///< sorted by code, no duplicates
};

/// The bytes of the font file: header, index, then the glyph data in code order.
std::vector<uint8_t> BuildFontFile(const CFontImage& font);

} // namespace inkvale::fontgen
