// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/Point.h"
#include "import/StrokeFontGlyph.h"

#include <cstdint>
#include <span>
#include <vector>

namespace inkvale {

/// The glyphs of one font interpreted on first use, so that a glyph drawn again costs only
/// its mapping to plotter units. The points of all glyphs (local units, 32 bits) share one
/// pool and their stroke ends another, so a glyph is two short runs of memory. A glyph whose
/// coordinates do not fit in 32 bits is not kept and its caller interprets it every time.
class CStrokeGlyphCache {
public:
    struct CView {
        std::span<const CPoint> points;
        std::span<const uint32_t> strokeEnds; ///< one past each stroke's last point
    };

    /// Forgets every glyph; room for nRecords index records.
    void Reset(size_t nRecords);

    /// The strokes of index record nRecord whose shape bytes are glyph; false when the glyph
    /// cannot be kept (its coordinates need more than 32 bits) or nRecord is out of range.
    bool Get(size_t nRecord, std::span<const uint8_t> glyph, int64_t nMult, bool bDoubleByte,
             CView& view);

private:
    static constexpr uint64_t kNotYet = 0;
    static constexpr uint64_t kTooWide = UINT64_MAX;

    uint64_t Add(std::span<const uint8_t> glyph, int64_t nMult, bool bDoubleByte);

    /// Per record: kNotYet, kTooWide, or the first point << 32 | (index of the stroke count in
    /// m_arrEnds + 1).
    std::vector<uint64_t> m_arrBlock;
    std::vector<CPoint> m_arrPoints;
    std::vector<uint32_t> m_arrEnds; ///< per glyph: its stroke count, then its stroke ends
    CStrokeGlyphPath m_path;
};

} // namespace inkvale
