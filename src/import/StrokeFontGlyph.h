// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace inkvale {

/// A point of a glyph in local units: x from the glyph's start, y up from the baseline.
struct CGlyphLocalPoint {
    int64_t x = 0;
    int64_t y = 0;
    friend bool operator==(const CGlyphLocalPoint&, const CGlyphLocalPoint&) = default;
};

/// The strokes of one glyph's shape bytes, interpreted once so that a glyph drawn many times
/// is not decoded again. Each stroke is a move to its first point followed by lines to the
/// others; a pen-up move that is followed by another one is dropped, as it draws nothing.
/// The last stroke may be a single point: where the glyph left the pen.
///
/// Shape bytes: 0 nothing; 1 pen down; 2 pen up; 3 n and 4 n skipped; 8 dx dy one
/// displacement (signed bytes times the multiplier); 9 a run of displacements ended by 0 0;
/// 0x0E the next 8, 9 or vector is for vertical text only and is skipped (0, 1 and 2 keep the
/// flag, every other command clears it); 0x0F-0xFF a vector, length the high nibble times the
/// multiplier, direction the low nibble (16 directions, half steps rounded down). The location
/// stack, subshape and arc bytes (5, 6, 7, 0x0A-0x0D) are skipped with their operands. A
/// glyph cut short ends where its bytes end.
class CStrokeGlyphPath {
public:
    std::vector<CGlyphLocalPoint> m_arrPoints;
    std::vector<uint32_t> m_arrStrokeEnds; ///< one past the last point of each stroke

    /// Interprets glyph, replacing what the path held (its memory is kept for the next
    /// glyph); the pen starts down at (0, 0). bDoubleByte: subshape numbers take two bytes,
    /// as in double-byte fonts.
    void Interpret(std::span<const uint8_t> glyph, int64_t nMult, bool bDoubleByte);

    /// Building: a pen-up move, a line, and the end of the last stroke.
    void MoveTo(CGlyphLocalPoint p);
    void LineTo(CGlyphLocalPoint p) { m_arrPoints.push_back(p); }
    void EndStroke() { m_arrStrokeEnds.push_back(static_cast<uint32_t>(m_arrPoints.size())); }
};

} // namespace inkvale
