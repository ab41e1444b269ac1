// SPDX-License-Identifier: GPL-3.0-or-later
#include "HersheyFont.h"

#include <cmath>
#include <cstdlib>
#include <fstream>

namespace inkvale::fontgen {

namespace {

// Hershey coordinates are letters offset by 'R'; y grows downward. In the Roman sets the
// capitals run from y -12 (top) to y 9 (baseline).
constexpr int kHersheyBaseline = 9;
constexpr int kHersheyCapHeight = 21;

struct CRawGlyph {
    int nLeft = 0;
    int nRight = 0;
    std::string strPairs; // coordinate pairs after the bounds, " R" = pen up
};

// A record is "NNNNNCCC" + 2*CCC characters (the bounds count as the first pair); long
// records may be continued on the next lines.
bool ReadRawGlyphs(std::ifstream& in, std::vector<CRawGlyph>& glyphs) {
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() < 10)
            continue;
        const int nPairs = std::atoi(line.substr(5, 3).c_str());
        std::string body = line.substr(8);
        std::string more;
        while (static_cast<int>(body.size()) < 2 * nPairs && std::getline(in, more))
            body += more;
        if (nPairs < 1 || static_cast<int>(body.size()) < 2 * nPairs)
            return false;
        CRawGlyph g;
        g.nLeft = body[0] - 'R';
        g.nRight = body[1] - 'R';
        g.strPairs = body.substr(2, 2 * (nPairs - 1));
        glyphs.push_back(g);
    }
    return true;
}

int ScaleUnit(int v, int nCapHeight) {
    return static_cast<int>(std::lround(static_cast<double>(v) * nCapHeight / kHersheyCapHeight));
}

CGlyph ConvertGlyph(const CRawGlyph& raw, uint16_t code, int nCapHeight) {
    CGlyph g;
    g.m_nCode = code;
    g.m_nWidth = static_cast<uint16_t>(ScaleUnit(raw.nRight - raw.nLeft, nCapHeight));
    CStroke stroke;
    for (size_t i = 0; i + 1 < raw.strPairs.size(); i += 2) {
        if (raw.strPairs[i] == ' ' && raw.strPairs[i + 1] == 'R') {
            if (!stroke.empty())
                g.m_arrStrokes.push_back(stroke);
            stroke.clear();
            continue;
        }
        const int hx = raw.strPairs[i] - 'R' - raw.nLeft;
        const int hy = kHersheyBaseline - (raw.strPairs[i + 1] - 'R');
        const CGlyphPoint p{ScaleUnit(hx, nCapHeight), ScaleUnit(hy, nCapHeight)};
        // Rounding to the coarser grid can merge neighbouring points.
        if (stroke.empty() || !(stroke.back() == p))
            stroke.push_back(p);
    }
    if (!stroke.empty())
        g.m_arrStrokes.push_back(stroke);
    return g;
}

} // namespace

std::vector<CGlyph> ReadHersheyAscii(const std::string& path, int nCapHeight,
                                     std::string& strError) {
    std::ifstream in(path);
    std::vector<CRawGlyph> raw;
    if (!in || !ReadRawGlyphs(in, raw)) {
        strError = "cannot read Hershey font " + path;
        return {};
    }
    if (raw.size() < 0x7F - 0x20) {
        strError = "Hershey font " + path + " has fewer than 95 glyphs";
        return {};
    }
    std::vector<CGlyph> glyphs;
    for (int code = 0x20; code <= 0x7E; ++code)
        glyphs.push_back(ConvertGlyph(raw[code - 0x20], static_cast<uint16_t>(code), nCapHeight));
    return glyphs;
}

} // namespace inkvale::fontgen
