// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/StrokeFontText.h"

#include "geometry/Rounding.h"
#include "import/StrokeFontData.h"
#include "import/StrokeFontFiles.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace inkvale {

namespace {

constexpr double kPi = 3.14159265359;
constexpr double kUnitsPerCm = 400.0;

int32_t Saturate(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// RoundHalfAway of geometry/Rounding.h for the glyph points: the same results (halves away
// from zero, saturation at the int range, NaN gives 0), without branches, because it runs for
// every vertex of every glyph.
inline int64_t RoundGlyphCoord(double v) {
    double r = v + std::copysign(0.5, v); // -0.0 gives -0.5, which truncates to 0 as well
    r = r == r ? r : 0.0;
    r = std::min(std::max(r, -2147483648.0), 2147483647.0);
    return static_cast<int64_t>(r);
}

// One step of a label origin: up by k character heights (bUp) or back by k character widths,
// k = dConst + dPerChar * number of characters.
struct COriginStep {
    bool bUp;
    double dConst;
    double dPerChar;
};

struct COriginSteps {
    int nCount;
    std::array<COriginStep, 4> steps;
};

constexpr COriginStep Up(double k) {
    return {true, k, 0.0};
}
constexpr COriginStep Back(double k) {
    return {false, k, 0.0};
}
constexpr COriginStep BackChars(double perChar) {
    return {false, 0.0, perChar};
}

// Indexed by origin code 0..19; the codes 0 and 10 never reach here (they count as 1).
constexpr std::array<COriginSteps, 20> kOrigins = {{
    {0, {}},
    {1, {Up(1)}},
    {1, {Up(0.5)}},
    {0, {}},
    {2, {Up(1), BackChars(0.5)}},
    {2, {Up(0.5), BackChars(0.5)}},
    {1, {BackChars(0.5)}},
    {2, {Up(1), BackChars(1)}},
    {2, {Up(0.5), BackChars(1)}},
    {1, {BackChars(1)}},
    {0, {}},
    {3, {Back(-0.25), Up(0.25), Up(1)}},
    {2, {Back(-0.25), Up(0.5)}},
    {2, {Back(-0.25), Up(-0.25)}},
    {2, {Up(1.25), BackChars(0.5)}},
    {2, {Up(0.5), BackChars(0.5)}},
    {2, {Up(-0.25), BackChars(0.5)}},
    {4, {Back(0.25), Up(0.25), Up(1), BackChars(1)}},
    {3, {Back(0.25), Up(0.5), BackChars(1)}},
    {3, {Back(0.25), Up(-0.25), BackChars(1)}},
}};

} // namespace

// The label direction and scale shared by every glyph of a line.
struct CStrokeFontText::CFrame {
    double dC = 1.0;     // cos of the direction
    double dS = 0.0;     // sin of the direction
    double dK = 0.0;     // em height, local units
    double dScale = 0.0; // local units per plotter unit

    CFrame(const CLabelState& st, int64_t nEm) {
        const double theta = st.m_dLabelAngle / 180.0 * kPi;
        dC = std::cos(theta);
        dS = std::sin(theta);
        dK = static_cast<double>(nEm);
        dScale = dK / (st.m_dCharHeight * kUnitsPerCm);
    }
    // Local (lx, ly) to plotter units; local y 0 lies one em below the origin.
    int32_t X(int32_t ox, int64_t lx, int64_t ly) const {
        const double v = (static_cast<double>(lx) * dC - (static_cast<double>(ly) - dK) * dS);
        return Saturate(ox + RoundGlyphCoord(v / dScale));
    }
    int32_t Y(int32_t oy, int64_t lx, int64_t ly) const {
        const double v = (static_cast<double>(lx) * dS + (static_cast<double>(ly) - dK) * dC);
        return Saturate(oy + RoundGlyphCoord(v / dScale));
    }
};

#if defined(__SSE2__)
// CFrame::X and CFrame::Y for both coordinates of a point at once, with the same result bit
// for bit: every step is the same IEEE operation on the same operands, only in the two lanes
// of one register. The local x is exact in a double (|lx + x| < 2^53), and so are the sums
// with the origin before the final clamp.
void CStrokeFontText::MapPointsSse2(const CFrame& f, int32_t ox, int32_t oy, int64_t lx,
                                    std::span<const CPoint> points, CPoint* out) {
    const __m128d cs = _mm_set_pd(f.dS, f.dC);  // lanes (X, Y): x * C, x * S
    const __m128d sc = _mm_set_pd(f.dC, -f.dS); // (y - K) * -S, (y - K) * C
    const __m128d scale = _mm_set1_pd(f.dScale);
    const __m128d k = _mm_set1_pd(f.dK);
    const __m128d signMask = _mm_set1_pd(-0.0);
    const __m128d half = _mm_set1_pd(0.5);
    const __m128d lo = _mm_set1_pd(-2147483648.0);
    const __m128d hi = _mm_set1_pd(2147483647.0);
    const __m128d origin = _mm_set_pd(oy, ox);
    const double dlx = static_cast<double>(lx);
    for (size_t i = 0; i < points.size(); ++i) {
        const __m128d x = _mm_set1_pd(dlx + points[i].x);
        const __m128d y = _mm_sub_pd(_mm_set1_pd(points[i].y), k);
        const __m128d v = _mm_add_pd(_mm_mul_pd(x, cs), _mm_mul_pd(y, sc));
        const __m128d q = _mm_div_pd(v, scale);
        __m128d r = _mm_add_pd(q, _mm_or_pd(_mm_and_pd(q, signMask), half));
        r = _mm_and_pd(r, _mm_cmpord_pd(r, r)); // NaN gives 0
        r = _mm_min_pd(_mm_max_pd(r, lo), hi);
        const __m128d t = _mm_cvtepi32_pd(_mm_cvttpd_epi32(r));
        const __m128d sum = _mm_min_pd(_mm_max_pd(_mm_add_pd(t, origin), lo), hi);
        const __m128i xy = _mm_cvttpd_epi32(sum);
        out[i] = {_mm_cvtsi128_si32(xy), _mm_cvtsi128_si32(_mm_shuffle_epi32(xy, 1))};
    }
}
#endif

CStrokeFontText::CStrokeFontText()
    : m_hzFont(CStrokeFont::EKind::DoubleByte), m_enFont(CStrokeFont::EKind::SingleByte) {
    ResetCaches();
}

void CStrokeFontText::LoadFonts(const std::string& strAppDir) {
    m_nStrokeX = m_nStrokeY = 0;
    if (strAppDir.empty()) {
        m_hzFont.LoadStatic(EmbeddedHzFont());
        m_enFont.LoadStatic(EmbeddedEnFont());
    } else {
        EnsureFontFiles(strAppDir);
        m_hzFont.LoadFile(FontFilePath(strAppDir, kHzFontFile));
        EnsureFontFiles(strAppDir);
        m_enFont.LoadFile(FontFilePath(strAppDir, kEnFontFile));
    }
    ResetCaches();
}

// The record of a code: the binary search of the font, remembered per code (double-byte
// codes are 0x8000 and up; their table is made on the first double-byte character).
const CCharactor* CStrokeFontText::FindDoubleByte(uint16_t nCode) {
    if (m_arrHzFound.empty())
        m_arrHzFound.assign(0x8000, kNotLookedUp);
    uint32_t& found = m_arrHzFound[nCode & 0x7FFF];
    if (found == kNotLookedUp) {
        const CCharactor* rec = m_hzFont.Find(nCode);
        found =
            rec == nullptr ? kNotFound : static_cast<uint32_t>(rec - m_hzFont.m_arrIndex.data());
    }
    return found == kNotFound ? nullptr : &m_hzFont.m_arrIndex[found];
}

const CCharactor* CStrokeFontText::FindSingleByte(uint8_t nCode) {
    uint32_t& found = m_arrEnFound[nCode];
    if (found == kNotLookedUp) {
        const CCharactor* rec = m_enFont.Find(nCode);
        found =
            rec == nullptr ? kNotFound : static_cast<uint32_t>(rec - m_enFont.m_arrIndex.data());
    }
    return found == kNotFound ? nullptr : &m_enFont.m_arrIndex[found];
}

// The multipliers depend on both fonts' headers, so any load starts both caches afresh.
void CStrokeFontText::ResetCaches() {
    m_arrHzFound.clear();
    m_arrEnFound.fill(kNotLookedUp);
    m_hzCache.Reset(m_hzFont.m_arrIndex.size());
    m_enCache.Reset(m_enFont.m_arrIndex.size());
}

void CStrokeFontText::LoadFontBytes(std::vector<uint8_t> hzFile, std::vector<uint8_t> enFile) {
    m_nStrokeX = m_nStrokeY = 0;
    m_hzFont.LoadBytes(std::move(hzFile));
    m_enFont.LoadBytes(std::move(enFile));
    ResetCaches();
}

int64_t CStrokeFontText::EmUnits() const {
    return (static_cast<int64_t>(m_enFont.m_nHeader1) + m_enFont.m_nHeader2) * m_hzFont.m_nHeader2;
}

void CStrokeFontText::DrawLabel(const char* szLabel, size_t nBufSize, const CLabelState& st,
                                CStrokeSink& sink) {
    const size_t nMax = std::min(nBufSize, kMaxLabel);
    const size_t nLen = szLabel == nullptr ? 0 : strnlen(szLabel, nMax);
    const auto* text = reinterpret_cast<const uint8_t*>(szLabel);
    const double theta = st.m_dLabelAngle / 180.0 * kPi;
    const double dLine = kLineSpacing * st.m_dCharHeight * kUnitsPerCm;
    int nLine = 0;
    size_t start = 0;
    for (size_t i = 0; i <= nLen; ++i) {
        if (i < nLen && text[i] != '\n')
            continue;
        const CLabelPoint base{st.m_nPenX + std::sin(theta) * dLine * nLine,
                               st.m_nPenY - std::cos(theta) * dLine * nLine};
        DrawLine(base, {text + start, i - start}, st, sink);
        ++nLine;
        start = i + 1;
    }
}

namespace {

// The characters a line advances by: a backspace takes one back, CR is no character.
int LineChars(std::span<const uint8_t> line) {
    int n = 0;
    for (const uint8_t c : line) {
        if (c == '\b')
            n = std::max(n - 1, 0);
        else if (c != '\r')
            ++n;
    }
    return n;
}

} // namespace

// One line of a label: the label origin is placed by the line's width; CR and BS move the
// character position within it.
void CStrokeFontText::DrawLine(CLabelPoint base, std::span<const uint8_t> line,
                               const CLabelState& st, CStrokeSink& sink) {
    if (line.empty())
        return;
    const CLabelPoint p = AdjustLabelOrigin(base, LineChars(line), st);
    const auto x = static_cast<int32_t>(RoundCoord(p.x));
    const auto y = static_cast<int32_t>(RoundCoord(p.y));
    const CFrame frame(st, EmUnits());
    int64_t lx = 0;
    std::vector<int64_t> advances; // of the characters drawn, for backspaces
    for (size_t i = 0; i < line.size();) {
        if (line[i] == '\r') {
            lx = 0;
            advances.clear();
            ++i;
        } else if (line[i] == '\b') {
            if (!advances.empty()) {
                lx -= advances.back();
                advances.pop_back();
            }
            ++i;
        } else {
            const int64_t nAdvance = DrawCharacter(frame, x, y, line, i, lx, sink);
            lx += nAdvance;
            advances.push_back(nAdvance);
        }
    }
}

CLabelPoint CStrokeFontText::AdjustLabelOrigin(CLabelPoint pt, int nChars, const CLabelState& st) {
    const double theta = st.m_dLabelAngle / 180.0 * kPi;
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    const double h = st.m_dCharHeight * kUnitsPerCm;
    const double w = st.m_dCharWidth * kUnitsPerCm;
    const int origin = st.m_nLabelOrigin;
    const bool bValid = origin >= 1 && origin <= 19 && origin != 10;
    const COriginSteps& steps = kOrigins[static_cast<size_t>(bValid ? origin : 1)];
    for (int k = 0; k < steps.nCount; ++k) {
        const COriginStep& step = steps.steps[static_cast<size_t>(k)];
        const double amount = step.dConst + step.dPerChar * nChars;
        if (step.bUp) {
            pt.x -= s * amount * h;
            pt.y += c * amount * h;
        } else {
            pt.x -= c * amount * w;
            pt.y -= s * amount * w;
        }
    }
    return pt;
}

void CStrokeFontText::DrawText(int32_t x, int32_t y, std::span<const uint8_t> text,
                               const CLabelState& st, CStrokeSink& sink) {
    const CFrame frame(st, EmUnits());
    int64_t lx = 0;
    for (size_t i = 0; i < text.size();)
        lx += DrawCharacter(frame, x, y, text, i, lx, sink);
}

// Draws the character at text[i], moves i past it and returns its advance in local units.
int64_t CStrokeFontText::DrawCharacter(const CFrame& f, int32_t x, int32_t y,
                                       std::span<const uint8_t> text, size_t& i, int64_t lx,
                                       CStrokeSink& sink) {
    const int64_t enEm = static_cast<int64_t>(m_enFont.m_nHeader1) + m_enFont.m_nHeader2;
    if (text[i] >= 0x80 && i + 1 < text.size()) {
        const auto code = static_cast<uint16_t>(text[i] << 8 | text[i + 1]);
        i += 2;
        const CCharactor* rec = FindDoubleByte(code);
        if (rec != nullptr && rec->m_nLength != 0)
            DrawRecord(f, x, y, m_hzFont, m_hzCache, *rec, lx, enEm, sink);
        return enEm * m_hzFont.m_nHeader1;
    }
    const CCharactor* rec = FindSingleByte(text[i]);
    ++i;
    if (rec != nullptr && rec->m_nLength != 0) {
        DrawRecord(f, x, y, m_enFont, m_enCache, *rec, lx, m_hzFont.m_nHeader2, sink);
        return static_cast<int64_t>(rec->m_nWidth) * m_hzFont.m_nHeader2;
    }
    // Unknown bytes leave the width of the font's first character, the space.
    const int64_t fallback = m_enFont.m_arrIndex.empty() ? 0 : m_enFont.m_arrIndex[0].m_nWidth;
    return fallback * m_hzFont.m_nHeader2;
}

void CStrokeFontText::DrawGlyph(int32_t ox, int32_t oy, std::span<const uint8_t> glyph, int64_t lx,
                                int64_t nMult, bool bDoubleByte, const CLabelState& st,
                                CStrokeSink& sink) {
    DrawGlyphIn(CFrame(st, EmUnits()), ox, oy, glyph, lx, nMult, bDoubleByte, sink);
}

void CStrokeFontText::StrokeMoveTo(int32_t x, int32_t y) {
    m_nStrokeX = x;
    m_nStrokeY = y;
    // Any point other than the pen will do; stepping inward keeps it representable.
    m_nLastEndX = x == INT32_MAX ? x - 1 : x + 1;
    m_nLastEndY = y;
}

void CStrokeFontText::StrokeLineTo(int32_t x, int32_t y, CStrokeSink& sink) {
    if (m_nStrokeX != m_nLastEndX || m_nStrokeY != m_nLastEndY || m_nStrokeX <= 0 ||
        m_nStrokeY <= 0)
        sink.StartPolyline(m_nStrokeX, m_nStrokeY);
    sink.AppendVertex(x, y);
    m_nStrokeX = m_nLastEndX = x;
    m_nStrokeY = m_nLastEndY = y;
}

// Maps all points of a glyph to plotter units in one tight loop, then sends the moves and
// lines. Keeping the calls to the sink out of the arithmetic lets the values stay in
// registers.
template <class TPoint>
void CStrokeFontText::DrawStrokes(const CFrame& f, int32_t ox, int32_t oy, int64_t lx,
                                  std::span<const TPoint> points,
                                  std::span<const uint32_t> strokeEnds, CStrokeSink& sink) {
    // Grown only: resizing down and up again would zero the elements every glyph.
    if (m_arrMapped.size() < points.size())
        m_arrMapped.resize(points.size());
    CPoint* mapped = m_arrMapped.data();
#if defined(__SSE2__)
    if constexpr (std::is_same_v<TPoint, CPoint>) {
        MapPointsSse2(f, ox, oy, lx, points, mapped);
    } else
#endif
    {
        const CFrame frame = f; // a local copy: nothing the loop writes can alias it
        for (size_t i = 0; i < points.size(); ++i) {
            const int64_t x = lx + points[i].x;
            mapped[i] = {frame.X(ox, x, points[i].y), frame.Y(oy, x, points[i].y)};
        }
    }
    EmitStrokes(mapped, strokeEnds, sink);
}

// StrokeMoveTo to the first point of each stroke and StrokeLineTo to the others, with the
// stroke pen kept in locals: after a move the next line always starts a polyline, after a
// line the pen is where the line ended, so only the "0 or less" rule is left to test.
void CStrokeFontText::EmitStrokes(const CPoint* mapped, std::span<const uint32_t> strokeEnds,
                                  CStrokeSink& sink) {
    size_t i = 0;
    for (const uint32_t end : strokeEnds) {
        int32_t x = mapped[i].x;
        int32_t y = mapped[i].y;
        bool bJoined = false; // the pen is where the last line ended
        for (++i; i < end; ++i) {
            if (!bJoined || x <= 0 || y <= 0)
                sink.StartPolyline(x, y);
            sink.AppendVertex(mapped[i].x, mapped[i].y);
            x = mapped[i].x;
            y = mapped[i].y;
            bJoined = true;
        }
        if (bJoined) {
            m_nStrokeX = m_nLastEndX = x;
            m_nStrokeY = m_nLastEndY = y;
        } else {
            StrokeMoveTo(x, y);
        }
    }
}

void CStrokeFontText::DrawGlyphIn(const CFrame& f, int32_t ox, int32_t oy,
                                  std::span<const uint8_t> glyph, int64_t lx, int64_t nMult,
                                  bool bDoubleByte, CStrokeSink& sink) {
    // Without an em height nothing can be placed (one of the fonts is empty).
    if (f.dK <= 0.0)
        return;
    m_path.Interpret(glyph, nMult, bDoubleByte);
    DrawStrokes<CGlyphLocalPoint>(f, ox, oy, lx, m_path.m_arrPoints, m_path.m_arrStrokeEnds, sink);
}

// A glyph of one of the loaded fonts, interpreted once and then drawn from the cache.
void CStrokeFontText::DrawRecord(const CFrame& f, int32_t ox, int32_t oy, const CStrokeFont& font,
                                 CStrokeGlyphCache& cache, const CCharactor& rec, int64_t lx,
                                 int64_t nMult, CStrokeSink& sink) {
    if (f.dK <= 0.0)
        return;
    const bool bDoubleByte = font.Kind() == CStrokeFont::EKind::DoubleByte;
    const size_t nRecord = static_cast<size_t>(&rec - font.m_arrIndex.data());
    CStrokeGlyphCache::CView view;
    if (cache.Get(nRecord, font.Glyph(rec), nMult, bDoubleByte, view))
        DrawStrokes<CPoint>(f, ox, oy, lx, view.points, view.strokeEnds, sink);
    else
        DrawGlyphIn(f, ox, oy, font.Glyph(rec), lx, nMult, bDoubleByte, sink);
}

} // namespace inkvale
