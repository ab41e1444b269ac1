// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/Point.h"
#include "import/StrokeFont.h"
#include "import/StrokeFontGlyph.h"
#include "import/StrokeFontGlyphCache.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace inkvale {

/// Receives the strokes of label text. The HP-GL reader implements it over its plot list.
class CStrokeSink {
public:
    virtual ~CStrokeSink() = default;
    /// Appends a move record with (x, y), then a new empty polyline record.
    virtual void StartPolyline(int32_t x, int32_t y) = 0;
    /// Appends (x, y) to the last record, which is always the polyline StartPolyline began.
    virtual void AppendVertex(int32_t x, int32_t y) = 0;
};

/// The label settings of the reader that a label is drawn with.
struct CLabelState {
    int32_t m_nPenX = 0; ///< pen position, file units
    int32_t m_nPenY = 0;
    double m_dLabelAngle = 0.0;   ///< label direction, degrees
    double m_dCharHeight = 0.375; ///< cm
    double m_dCharWidth = 0.285;  ///< cm
    int m_nLabelOrigin = 1;       ///< 1-9, 11-19; anything else counts as 1
};

/// A point in plotter units before rounding.
struct CLabelPoint {
    double x = 0.0;
    double y = 0.0;
};

/// Draws label text with the two built-in stroke fonts: the single-byte font for bytes
/// below 0x80 and the double-byte GB2312 font for byte pairs starting at 0x80 or above.
/// The glyph strokes go to a CStrokeSink as moves and polylines. One object per reader;
/// not shared between threads.
///
/// Scale: both fonts share the em height K = (single-byte value 1 + value 2) * double-byte
/// value 2 local units, which is mapped onto the character height; the character width only
/// places the label origin. Local y 0 is the baseline, one character height below the point
/// the text is drawn at.
class CStrokeFontText {
public:
    /// Labels are cut to this many bytes.
    static constexpr size_t kMaxLabel = 512;

    CStrokeFontText();

    /// Resets the stroke pen and (re)loads both fonts: strAppDir's "fon_hz.bin" and
    /// "fon_en.bin" after EnsureFontFiles has written any that are missing. An empty
    /// strAppDir takes the built-in fonts without touching the disk.
    void LoadFonts(const std::string& strAppDir);

    /// Loads both fonts from file images in memory (tests, tools) and resets the stroke pen.
    void LoadFontBytes(std::vector<uint8_t> hzFile, std::vector<uint8_t> enFile);

    /// A line feed moves this many character heights (the HP-GL character cell's height).
    static constexpr double kLineSpacing = 2.0;

    /// Draws szLabel (up to its first NUL, at most nBufSize and kMaxLabel bytes) at the pen
    /// position of st, with the control characters of a plotter: CR goes back to the
    /// label's start, LF one line down (across the label direction), BS back one character,
    /// so that the next one strikes over it.
    void DrawLabel(const char* szLabel, size_t nBufSize, const CLabelState& st, CStrokeSink& sink);

    /// The point one line of nChars bytes is drawn at so that the label origin of st falls on
    /// pt.
    static CLabelPoint AdjustLabelOrigin(CLabelPoint pt, int nChars, const CLabelState& st);

    /// Lays out one line of text from (x, y): glyphs are looked up by binary search, unknown
    /// codes leave blank space.
    void DrawText(int32_t x, int32_t y, std::span<const uint8_t> text, const CLabelState& st,
                  CStrokeSink& sink);

    /// Interprets the shape bytes of one glyph whose local start is (lx, 0), vectors scaled by
    /// nMult (CStrokeGlyphPath::Interpret), and draws it. Shape bytes beyond the drawn subset
    /// are skipped with their operands, and a glyph cut short simply ends, so no font can make
    /// this hang or read outside the glyph.
    void DrawGlyph(int32_t ox, int32_t oy, std::span<const uint8_t> glyph, int64_t lx,
                   int64_t nMult, bool bDoubleByte, const CLabelState& st, CStrokeSink& sink);

    /// Puts the stroke pen at (x, y) without drawing; the next line starts a new polyline.
    void StrokeMoveTo(int32_t x, int32_t y);
    /// Draws from the stroke pen to (x, y), continuing the last polyline when the pen is
    /// where the last line ended (and both its coordinates are positive).
    void StrokeLineTo(int32_t x, int32_t y, CStrokeSink& sink);

    const CStrokeFont& HzFont() const { return m_hzFont; }
    const CStrokeFont& EnFont() const { return m_enFont; }
    /// The common em height K in local units; 0 when a font is empty.
    int64_t EmUnits() const;

    int32_t m_nStrokeX = 0; ///< where the stroke pen is, plotter units
    int32_t m_nStrokeY = 0;
    int32_t m_nLastEndX = 0; ///< where the last drawn stroke ended
    int32_t m_nLastEndY = 0;

private:
    struct CFrame;
    template <class TPoint>
    void DrawStrokes(const CFrame& f, int32_t ox, int32_t oy, int64_t lx,
                     std::span<const TPoint> points, std::span<const uint32_t> strokeEnds,
                     CStrokeSink& sink);
    static void MapPointsSse2(const CFrame& f, int32_t ox, int32_t oy, int64_t lx,
                              std::span<const CPoint> points, CPoint* out);
    void EmitStrokes(const CPoint* mapped, std::span<const uint32_t> strokeEnds, CStrokeSink& sink);
    void DrawGlyphIn(const CFrame& f, int32_t ox, int32_t oy, std::span<const uint8_t> glyph,
                     int64_t lx, int64_t nMult, bool bDoubleByte, CStrokeSink& sink);
    void DrawRecord(const CFrame& f, int32_t ox, int32_t oy, const CStrokeFont& font,
                    CStrokeGlyphCache& cache, const CCharactor& rec, int64_t lx, int64_t nMult,
                    CStrokeSink& sink);
    int64_t DrawCharacter(const CFrame& f, int32_t x, int32_t y, std::span<const uint8_t> text,
                          size_t& i, int64_t lx, CStrokeSink& sink);
    void DrawLine(CLabelPoint base, std::span<const uint8_t> line, const CLabelState& st,
                  CStrokeSink& sink);
    void ResetCaches();
    const CCharactor* FindDoubleByte(uint16_t nCode);
    const CCharactor* FindSingleByte(uint8_t nCode);

    CStrokeFont m_hzFont;
    CStrokeFont m_enFont;
    static constexpr uint32_t kNotLookedUp = 0xFFFFFFFF;
    static constexpr uint32_t kNotFound = 0xFFFFFFFE;
    std::vector<uint32_t> m_arrHzFound; ///< record index per code 0x8000.. (or the two marks)
    std::array<uint32_t, 256> m_arrEnFound{};
    CStrokeGlyphCache m_hzCache;
    CStrokeGlyphCache m_enCache;
    // Scratch space, kept so that drawing allocates nothing once warm.
    CStrokeGlyphPath m_path;
    std::vector<CPoint> m_arrMapped;
};

} // namespace inkvale
