#include "import/StrokeFontText.h"

#include "geometry/Rounding.h"
#include "import/StrokeFontData.h"
#include "import/StrokeFontFiles.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace inkvale {

namespace {

constexpr double kPi = 3.14159265359;
constexpr double kUnitsPerCm = 400.0;

int32_t Saturate(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
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

// Steps of the 16 vector directions as multiples of (length d, half length e): 2 = d,
// 1 = e, -1 = -e, -2 = -d.
constexpr std::array<std::array<int8_t, 2>, 16> kVectorSteps = {{
    {2, 0},
    {2, 1},
    {2, 2},
    {1, 2},
    {0, 2},
    {-1, 2},
    {-2, 2},
    {-2, 1},
    {-2, 0},
    {-2, -1},
    {-2, -2},
    {-1, -2},
    {0, -2},
    {1, -2},
    {2, -2},
    {2, -1},
}};

int64_t VectorComponent(int8_t k, int64_t d) {
    const int64_t e = d / 2;
    return k == 2 ? d : k == 1 ? e : k == -1 ? -e : k == -2 ? -d : 0;
}

int64_t Signed(uint8_t b) {
    return static_cast<int8_t>(b);
}

// Operand bytes of the shape bytes that are not drawn (location stack, subshape, arcs).
// A subshape number takes two bytes in a double-byte font.
size_t SkippedOperands(uint8_t b, bool bDoubleByte) {
    switch (b) {
    case 3:
    case 4:
        return 1;
    case 7:
        return bDoubleByte ? 2 : 1;
    case 0x0A:
        return 2;
    case 0x0B:
        return 5;
    case 0x0C:
        return 3;
    default: // 5 and 6 have none
        return 0;
    }
}

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
        return Saturate(static_cast<int64_t>(ox) + RoundHalfAway(v / dScale));
    }
    int32_t Y(int32_t oy, int64_t lx, int64_t ly) const {
        const double v = (static_cast<double>(lx) * dS + (static_cast<double>(ly) - dK) * dC);
        return Saturate(static_cast<int64_t>(oy) + RoundHalfAway(v / dScale));
    }
};

CStrokeFontText::CStrokeFontText()
    : m_hzFont(CStrokeFont::EKind::DoubleByte), m_enFont(CStrokeFont::EKind::SingleByte) {}

void CStrokeFontText::LoadFonts(const std::string& strAppDir) {
    m_nStrokeX = m_nStrokeY = 0;
    if (strAppDir.empty()) {
        m_hzFont.LoadStatic(EmbeddedHzFont());
        m_enFont.LoadStatic(EmbeddedEnFont());
        return;
    }
    EnsureFontFiles(strAppDir);
    m_hzFont.LoadFile(FontFilePath(strAppDir, kHzFontFile));
    EnsureFontFiles(strAppDir);
    m_enFont.LoadFile(FontFilePath(strAppDir, kEnFontFile));
}

void CStrokeFontText::LoadFontBytes(std::vector<uint8_t> hzFile, std::vector<uint8_t> enFile) {
    m_nStrokeX = m_nStrokeY = 0;
    m_hzFont.LoadBytes(std::move(hzFile));
    m_enFont.LoadBytes(std::move(enFile));
}

int64_t CStrokeFontText::EmUnits() const {
    return (static_cast<int64_t>(m_enFont.m_nHeader1) + m_enFont.m_nHeader2) * m_hzFont.m_nHeader2;
}

void CStrokeFontText::DrawLabel(const char* szLabel, size_t nBufSize, const CLabelState& st,
                                CStrokeSink& sink) {
    const size_t nMax = std::min(nBufSize, kMaxLabel);
    const size_t nLen = szLabel == nullptr ? 0 : strnlen(szLabel, nMax);
    const auto* text = reinterpret_cast<const uint8_t*>(szLabel);
    const int64_t lineStep = RoundCoord(st.m_dCharHeight * kUnitsPerCm);
    const double x = st.m_nPenX;
    int64_t y = st.m_nPenY;
    size_t start = 0;
    for (size_t i = 0; i <= nLen; ++i) {
        if (i < nLen && text[i] != '\r' && text[i] != '\n')
            continue;
        if (i > start) {
            const CLabelPoint p =
                AdjustLabelOrigin({x, static_cast<double>(y)}, static_cast<int>(i - start), st);
            DrawText(RoundCoord(p.x), RoundCoord(p.y), {text + start, i - start}, st, sink);
        }
        if (i < nLen && text[i] == '\n')
            y += lineStep;
        start = i + 1;
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
        const CCharactor* rec = m_hzFont.Find(code);
        if (rec != nullptr && rec->m_nLength != 0)
            DrawGlyphIn(f, x, y, m_hzFont.Glyph(*rec), lx, enEm, true, sink);
        return enEm * m_hzFont.m_nHeader1;
    }
    const CCharactor* rec = m_enFont.Find(text[i]);
    ++i;
    if (rec != nullptr && rec->m_nLength != 0) {
        DrawGlyphIn(f, x, y, m_enFont.Glyph(*rec), lx, m_hzFont.m_nHeader2, false, sink);
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

// The pen of one glyph being interpreted.
struct CStrokeFontText::CGlyphPen {
    CStrokeFontText& text;
    const CFrame& f;
    CStrokeSink& sink;
    int32_t ox;
    int32_t oy;
    int64_t lx;
    int64_t ly = 0;
    bool bDown = true;
    bool bVertical = false; // the next displacement or vector is for vertical text only

    void Step(int64_t dx, int64_t dy) {
        if (bVertical)
            return;
        lx += dx;
        ly += dy;
        const int32_t x = f.X(ox, lx, ly);
        const int32_t y = f.Y(oy, lx, ly);
        if (bDown)
            text.StrokeLineTo(x, y, sink);
        else
            text.StrokeMoveTo(x, y);
    }
};

void CStrokeFontText::DrawGlyphIn(const CFrame& f, int32_t ox, int32_t oy,
                                  std::span<const uint8_t> g, int64_t lx, int64_t nMult,
                                  bool bDoubleByte, CStrokeSink& sink) {
    // Without an em height nothing can be placed (one of the fonts is empty).
    if (f.dK <= 0.0)
        return;
    CGlyphPen pen{*this, f, sink, ox, oy, lx};
    StrokeMoveTo(f.X(ox, lx, 0), f.Y(oy, lx, 0));
    const size_t n = g.size();
    for (size_t i = 0; i < n;) {
        const uint8_t b = g[i++];
        if (b >= 0x0F) {
            const auto& k = kVectorSteps[b & 0x0F];
            const int64_t d = (b >> 4) * nMult;
            pen.Step(VectorComponent(k[0], d), VectorComponent(k[1], d));
        } else if (b == 8) {
            if (i + 2 <= n)
                pen.Step(Signed(g[i]) * nMult, Signed(g[i + 1]) * nMult);
            i += 2;
        } else if (b == 9 || b == 0x0D) {
            // Runs of pairs (or of pair + bulge) ended by the pair 0, 0.
            while (i + 2 <= n) {
                const bool bEnd = g[i] == 0 && g[i + 1] == 0;
                if (!bEnd && b == 9)
                    pen.Step(Signed(g[i]) * nMult, Signed(g[i + 1]) * nMult);
                i += bEnd || b == 9 ? 2 : 3;
                if (bEnd)
                    break;
            }
        } else if (b <= 2 || b == 0x0E) {
            pen.bDown = b == 1 ? true : b == 2 ? false : pen.bDown;
            pen.bVertical = pen.bVertical || b == 0x0E;
            continue;
        } else {
            i += SkippedOperands(b, bDoubleByte);
        }
        pen.bVertical = false;
    }
}

} // namespace inkvale
