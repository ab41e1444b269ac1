// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/StrokeFontGlyph.h"

#include <array>

namespace inkvale {

namespace {

// Steps of the 16 vector directions as multiples of the length d and the half length e:
// step = (xd * d + xe * e, yd * d + ye * e).
struct CVectorStep {
    int8_t xd;
    int8_t xe;
    int8_t yd;
    int8_t ye;
};
constexpr std::array<CVectorStep, 16> kVectorSteps = {{
    {1, 0, 0, 0},   // 0: (d, 0)
    {1, 0, 0, 1},   // 1: (d, e)
    {1, 0, 1, 0},   // 2: (d, d)
    {0, 1, 1, 0},   // 3: (e, d)
    {0, 0, 1, 0},   // 4: (0, d)
    {0, -1, 1, 0},  // 5: (-e, d)
    {-1, 0, 1, 0},  // 6: (-d, d)
    {-1, 0, 0, 1},  // 7: (-d, e)
    {-1, 0, 0, 0},  // 8: (-d, 0)
    {-1, 0, 0, -1}, // 9: (-d, -e)
    {-1, 0, -1, 0}, // 10: (-d, -d)
    {0, -1, -1, 0}, // 11: (-e, -d)
    {0, 0, -1, 0},  // 12: (0, -d)
    {0, 1, -1, 0},  // 13: (e, -d)
    {1, 0, -1, 0},  // 14: (d, -d)
    {1, 0, 0, -1},  // 15: (d, -e)
}};

int64_t Signed(uint8_t b) {
    return static_cast<int8_t>(b);
}

// Operand bytes of the shape bytes that are not drawn (location stack, subshape, arcs).
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

// The pen while the bytes are read.
struct CShapePen {
    CStrokeGlyphPath& path;
    CGlyphLocalPoint p{};
    bool bDown = true;
    bool bVertical = false;

    void Step(int64_t dx, int64_t dy) {
        if (bVertical)
            return;
        p.x += dx;
        p.y += dy;
        if (bDown)
            path.LineTo(p);
        else
            path.MoveTo(p);
    }
};

} // namespace

void CStrokeGlyphPath::MoveTo(CGlyphLocalPoint p) {
    const size_t strokeStart = m_arrStrokeEnds.empty() ? 0 : m_arrStrokeEnds.back();
    if (m_arrPoints.size() == strokeStart + 1) {
        m_arrPoints.back() = p; // the previous move drew nothing
        return;
    }
    EndStroke();
    m_arrPoints.push_back(p);
}

void CStrokeGlyphPath::Interpret(std::span<const uint8_t> g, int64_t nMult, bool bDoubleByte) {
    m_arrPoints.clear();
    m_arrStrokeEnds.clear();
    m_arrPoints.push_back({0, 0});
    CShapePen pen{*this};
    const size_t n = g.size();
    for (size_t i = 0; i < n;) {
        const uint8_t b = g[i++];
        if (b >= 0x0F) {
            const CVectorStep& k = kVectorSteps[b & 0x0F];
            const int64_t d = (b >> 4) * nMult;
            const int64_t e = d / 2;
            pen.Step(k.xd * d + k.xe * e, k.yd * d + k.ye * e);
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
    EndStroke();
}

} // namespace inkvale
