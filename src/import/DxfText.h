// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "import/DxfGeometry.h"
#include "import/StrokeFontText.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// The texts of a DXF drawing (TEXT, ATTRIB, MTEXT) as strokes of the built-in stroke fonts,
// laid out by the conversion at their own height, width factor, rotation and alignment.

namespace inkvale {

/// The text of a TEXT or ATTRIB value as it is drawn: the control codes %%d, %%p, %%c
/// become "deg", "+/-" and "O", %%u and %%o (under- and overline) go, %%% is a percent, and
/// \U+XXXX escapes below 0x80 become their character (others a '?').
std::string DxfPlainText(std::string_view text);

/// The text of an MTEXT value without its formatting codes (fonts, heights, colours,
/// stacking, braces); paragraph breaks (\P) and line breaks become '\n'.
std::string DxfPlainMText(std::string_view text);

/// One line of text on its baseline from (0, 0): its strokes in whole units, m_dScale of
/// which make capitals 1 tall, and (in those capital heights) where its ink begins and ends
/// along the line and how far it reaches below the baseline (0 or negative).
struct CDxfTextLine {
    std::vector<CPoint> m_arrPoints;   ///< the points of all strokes, one stroke after another
    std::vector<uint32_t> m_arrStarts; ///< where each stroke begins in m_arrPoints
    double m_dScale = 1.0;
    double m_dLeft = 0.0;
    double m_dWidth = 0.0; ///< where the ink ends
    double m_dBottom = 0.0;

    size_t StrokeCount() const { return m_arrStarts.size(); }
    /// The points of stroke i.
    std::span<const CPoint> Stroke(size_t i) const {
        const size_t nEnd = i + 1 < m_arrStarts.size() ? m_arrStarts[i + 1] : m_arrPoints.size();
        return {m_arrPoints.data() + m_arrStarts[i], nEnd - m_arrStarts[i]};
    }
};

/// Draws lines of text with the stroke fonts. A marker repeats its texts many times: a line
/// met a second time is kept, and drawn once from then on. Lines met once (piece names,
/// serial numbers) are drawn into one scratch line and never stored.
class CDxfTextDrawer {
public:
    explicit CDxfTextDrawer(std::string strAppDir) : m_strAppDir(std::move(strAppDir)) {}
    /// The line with its capital letters 1 tall (a DXF text's height is that of its
    /// capitals) and standing on y 0. Valid until the next call.
    const CDxfTextLine& Line(const std::string& strLine);

private:
    void LoadFont();
    /// The line as the font draws it, from (0, 0), into line (emptied first).
    void Draw(const std::string& strLine, CDxfTextLine& line);
    /// Draw, then capitals 1 tall on y 0 and the extents.
    void DrawScaled(const std::string& strLine, CDxfTextLine& line);

    std::string m_strAppDir;
    double m_dCapHeight = 1.0;                ///< of an "H" as drawn, in the units of Draw
    int32_t m_nBaseline = 0;                  ///< where the "H" stands
    std::unique_ptr<CStrokeFontText> m_pFont; ///< loaded with the first text
    std::unordered_map<std::string, CDxfTextLine> m_cache;
    std::unordered_set<size_t> m_seen; ///< hashes of the lines met once so far
    CDxfTextLine m_scratch;            ///< the last line met for the first time
};

} // namespace inkvale
