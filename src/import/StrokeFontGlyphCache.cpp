// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/StrokeFontGlyphCache.h"

#include <algorithm>

namespace inkvale {

namespace {

bool Fits(int64_t v) {
    return v >= INT32_MIN && v <= INT32_MAX;
}

} // namespace

void CStrokeGlyphCache::Reset(size_t nRecords) {
    m_arrBlock.assign(nRecords, kNotYet);
    m_arrPoints.clear();
    m_arrEnds.clear();
}

bool CStrokeGlyphCache::Get(size_t nRecord, std::span<const uint8_t> glyph, int64_t nMult,
                            bool bDoubleByte, CView& view) {
    if (nRecord >= m_arrBlock.size())
        return false;
    uint64_t& block = m_arrBlock[nRecord];
    if (block == kNotYet)
        block = Add(glyph, nMult, bDoubleByte);
    if (block == kTooWide)
        return false;
    const uint32_t* counted = m_arrEnds.data() + ((block & UINT32_MAX) - 1);
    view.strokeEnds = {counted + 1, counted[0]};
    view.points = {m_arrPoints.data() + (block >> 32),
                   counted[0] == 0 ? 0 : view.strokeEnds.back()};
    return true;
}

// Interprets the glyph and appends it to the pools; returns its block or kTooWide.
uint64_t CStrokeGlyphCache::Add(std::span<const uint8_t> glyph, int64_t nMult, bool bDoubleByte) {
    m_path.Interpret(glyph, nMult, bDoubleByte);
    const std::vector<CGlyphLocalPoint>& points = m_path.m_arrPoints;
    const std::vector<uint32_t>& ends = m_path.m_arrStrokeEnds;
    const bool bFits = std::all_of(points.begin(), points.end(), [](const CGlyphLocalPoint& p) {
        return Fits(p.x) && Fits(p.y);
    });
    if (!bFits || m_arrPoints.size() + points.size() >= UINT32_MAX ||
        m_arrEnds.size() + ends.size() + 1 >= UINT32_MAX)
        return kTooWide;
    const uint64_t block = static_cast<uint64_t>(m_arrPoints.size()) << 32 | (m_arrEnds.size() + 1);
    m_arrEnds.push_back(static_cast<uint32_t>(ends.size()));
    m_arrEnds.insert(m_arrEnds.end(), ends.begin(), ends.end());
    for (const CGlyphLocalPoint& p : points)
        m_arrPoints.push_back({static_cast<int32_t>(p.x), static_cast<int32_t>(p.y)});
    return block;
}

} // namespace inkvale
