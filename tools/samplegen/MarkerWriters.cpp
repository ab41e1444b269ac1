// SPDX-License-Identifier: GPL-3.0-or-later
#include "MarkerWriters.h"

#include "Gb2312Text.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string_view>

namespace inkvale::samplegen {

namespace {

constexpr double kUnitsPerMm = 40.0; // HP-GL plotter units, 1016 per inch
constexpr double kNotchDepthMm = 6.0;
constexpr double kDrillRadiusMm = 2.5;
constexpr int kDrillSides = 12;
constexpr double kCrossArmMm = 4.0;
constexpr double kArrowLengthMm = 12.0;
constexpr double kArrowHalfWidthMm = 4.5;
constexpr double kLinePitch = 1.6;     // label line spacing in text heights
constexpr double kHeaderTextMm = 15.0; // marker information above the frame
constexpr double kHeaderGapMm = 12.0;
// DXF texts are drawn at the HP-GL default size whatever their height says.
constexpr double kDxfTextMm = 3.75;
constexpr double kDxfTextHeightMm = 4.0;
constexpr double kDxfHeaderPitchMm = 8.0;

// A text line placed on the marker: its origin (lower left of the first character as read)
// and whether the piece is turned half round, so that the text runs along -x.
struct CTextLine {
    CPt origin;
    bool bReversed = false;
    std::string strUtf8;
};

// The origins of a block of lines (first line on top) placed at the piece's label corner,
// kept inside the piece's label area whatever the placement.
std::vector<CTextLine> PlaceLines(const CPiece& piece, const CPlacement& pl,
                                  const std::vector<std::string>& arrLines, double h) {
    const double step = h * kLinePitch;
    const double blockHeight = h + step * static_cast<double>(arrLines.size() - 1);
    const CPt a = pl.Apply(piece.labelAt);
    const CPt b = pl.Apply(piece.labelAt + CPt{0, blockHeight});
    std::vector<CTextLine> out;
    for (size_t k = 0; k < arrLines.size(); ++k) {
        const double along = step * static_cast<double>(k);
        const CPt origin = pl.bHalfTurn ? CPt{a.x, std::min(a.y, b.y) + h + along}
                                        : CPt{a.x, std::max(a.y, b.y) - h - along};
        out.push_back({origin, pl.bHalfTurn, arrLines[k]});
    }
    return out;
}

// Everything drawn for one cut piece, in marker millimetres.
struct CPieceDrawing {
    CPolyline outline;
    std::vector<CPolyline> arrInner;
    std::vector<CPolyline> arrDashed;
    std::vector<CPolyline> arrNotches;
    std::vector<CPolyline> arrCrosses;
    std::vector<CPt> arrHoles;
    CPolyline grain;
    std::vector<CPolyline> arrArrows;
};

CPieceDrawing DrawPiece(const CPiece& p, const CPlacement& pl) {
    CPieceDrawing d;
    d.outline = pl.Apply(p.outline);
    for (const CPolyline& line : p.arrInner)
        d.arrInner.push_back(pl.Apply(line));
    for (const CPolyline& line : p.arrDashed)
        d.arrDashed.push_back(pl.Apply(line));
    for (const CNotch& n : p.arrNotches)
        d.arrNotches.push_back({pl.Apply(n.at), pl.Apply(n.at + n.inward * kNotchDepthMm)});
    for (const CPt& c : p.arrDrillCrosses) {
        const CPt m = pl.Apply(c);
        d.arrCrosses.push_back({m - CPt{kCrossArmMm, 0}, m + CPt{kCrossArmMm, 0}});
        d.arrCrosses.push_back({m - CPt{0, kCrossArmMm}, m + CPt{0, kCrossArmMm}});
    }
    for (const CPt& c : p.arrDrillHoles)
        d.arrHoles.push_back(pl.Apply(c));
    const CPt g0 = pl.Apply(p.grainFrom);
    const CPt g1 = pl.Apply(p.grainTo);
    d.grain = {g0, g1};
    const CPt dir = (g1 - g0) * (1.0 / Length(g1 - g0));
    const CPt side = CPt{-dir.y, dir.x} * kArrowHalfWidthMm;
    const CPt back = dir * kArrowLengthMm;
    d.arrArrows.push_back({g1 - back + side, g1, g1 - back - side});
    d.arrArrows.push_back({g0 + back + side, g0, g0 + back - side});
    return d;
}

CPolyline Circle(CPt c, double r) {
    constexpr double kTwoPi = 6.283185307179586;
    CPolyline out;
    for (int i = 0; i <= kDrillSides; ++i) {
        const double t = kTwoPi * (i % kDrillSides) / kDrillSides;
        out.push_back({c.x + r * std::cos(t), c.y + r * std::sin(t)});
    }
    return out;
}

std::string PieceNameZh(const CPiece& p, int nCopy) {
    return nCopy == 1 && !p.strNameZhB.empty() ? p.strNameZhB : p.strNameZh;
}

std::string Format(const char* pszFormat, double a, double b = 0.0) {
    char buf[96];
    std::snprintf(buf, sizeof buf, pszFormat, a, b);
    return buf;
}

std::string SizeList(const CMarker& m) {
    std::string s;
    for (const std::string& size : m.arrSizes)
        s += (s.empty() ? "" : "/") + size;
    return s;
}

// The two lines of marker information written above the frame.
std::vector<std::string> HeaderLines(const CMarker& m) {
    const std::string sizes = SizeList(m);
    const std::string pieces = std::to_string(m.arrPlaced.size());
    const std::string eff = Format("%.1f%%", m.Efficiency() * 100.0);
    const std::string w = Format("%.0f", m.dWidthMm);
    const std::string l = Format("%.0f", m.dLengthMm);
    return {"排料图 " + std::string(kStyle) + "  尺码 " + sizes + "  幅宽 " + w + "mm  长 " + l +
                "mm  裁片 " + pieces + "  利用率 " + eff,
            "MARKER " + std::string(kStyle) + "  SIZES " + sizes + "  WIDTH " + w + " MM  LENGTH " +
                l + " MM  PIECES " + pieces + "  EFFICIENCY " + eff};
}

bool WriteBytes(const std::string& strPath, const std::string& strBytes, std::string& strError) {
    std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
    out.write(strBytes.data(), static_cast<std::streamsize>(strBytes.size()));
    out.close();
    if (!out) {
        strError = "cannot write " + strPath;
        return false;
    }
    return true;
}

// ---- HP-GL ---------------------------------------------------------------------------

class CPltText {
public:
    std::string m_strOut;
    std::string m_strError;

    void Raw(std::string_view s) { m_strOut += s; }
    void Group(const CPolyline& line) {
        m_strOut += "PU" + Coord(line.front()) + ";PD";
        for (size_t i = 1; i < line.size(); ++i)
            m_strOut += (i > 1 ? "," : "") + Coord(line[i]);
        m_strOut += ";\n";
    }
    bool Label(const CTextLine& t, double h) {
        std::string gb;
        if (!ToGb2312(t.strUtf8, gb)) {
            m_strError = "no GB2312 form of the label \"" + t.strUtf8 + "\" (iconv)";
            return false;
        }
        m_strOut += Format("SI%.2f,%.2f;", h * 0.075, h * 0.1);
        m_strOut += t.bReversed ? "DI-1,0;" : "DI1,0;";
        m_strOut += "PU" + Coord(t.origin) + ";LB" + gb + '\x03' + '\n';
        return true;
    }

private:
    static std::string Coord(CPt p) {
        return std::to_string(std::lround(p.x * kUnitsPerMm)) + "," +
               std::to_string(std::lround(p.y * kUnitsPerMm));
    }
};

// ---- DXF -----------------------------------------------------------------------------

class CDxfText {
public:
    std::string m_strOut;
    std::string m_strError;

    void Pair(int nCode, std::string_view value) {
        char code[16];
        std::snprintf(code, sizeof code, "%3d\r\n", nCode);
        m_strOut += code;
        m_strOut += value;
        m_strOut += "\r\n";
    }
    void Num(int nCode, double v) { Pair(nCode, Format("%.3f", std::fabs(v) < 0.0005 ? 0.0 : v)); }
    void Point(CPt p) {
        Num(10, p.x);
        Num(20, p.y);
        Num(30, 0.0);
    }
    void Polyline(const char* pszLayer, const CPolyline& line, bool bClosed) {
        Pair(0, "POLYLINE");
        Pair(8, pszLayer);
        Pair(66, "1");
        Point({0, 0});
        Pair(70, bClosed ? "1" : "0");
        const size_t n = bClosed ? line.size() - 1 : line.size(); // no repeated first point
        for (size_t i = 0; i < n; ++i) {
            Pair(0, "VERTEX");
            Pair(8, pszLayer);
            Point(line[i]);
        }
        Pair(0, "SEQEND");
        Pair(8, pszLayer);
    }
    void Line(const char* pszLayer, CPt a, CPt b) {
        Pair(0, "LINE");
        Pair(8, pszLayer);
        Point(a);
        Num(11, b.x);
        Num(21, b.y);
        Num(31, 0.0);
    }
    void Circle(const char* pszLayer, CPt c, double r) {
        Pair(0, "CIRCLE");
        Pair(8, pszLayer);
        Point(c);
        Num(40, r);
    }
    bool Text(const char* pszLayer, const CTextLine& t, double h) {
        std::string gb;
        if (!ToGb2312(t.strUtf8, gb)) {
            m_strError = "no GB2312 form of the text \"" + t.strUtf8 + "\" (iconv)";
            return false;
        }
        Pair(0, "TEXT");
        Pair(8, pszLayer);
        Point(t.origin);
        Num(40, h);
        Pair(1, gb);
        if (t.bReversed)
            Num(50, 180.0);
        return true;
    }
    void Layer(const char* pszName, int nColour) {
        Pair(0, "LAYER");
        Pair(2, pszName);
        Pair(70, "0");
        Pair(62, std::to_string(nColour));
        Pair(6, "CONTINUOUS");
    }
};

std::string BlockName(const CPiece& p, size_t nOrdinal) {
    std::string code = p.strCode;
    for (char& c : code)
        c = c == ' ' ? '_' : c;
    char n[24];
    std::snprintf(n, sizeof n, "%03zu", nOrdinal);
    return std::string(kStyle) + "_" + p.strSize + "_" + code + "_" + n;
}

} // namespace

bool WriteHpglMarker(const CMarker& m, const std::string& strPath, std::string& strError) {
    CPltText out;
    out.Raw("IN;SP1;\n");
    const double w = m.dWidthMm;
    const double l = m.dLengthMm;
    out.Group({{0, 0}, {l, 0}, {l, w}, {0, w}, {0, 0}});
    const std::vector<std::string> header = HeaderLines(m);
    for (size_t k = 0; k < header.size(); ++k) {
        const double y =
            w + kHeaderGapMm + kHeaderTextMm * kLinePitch * double(header.size() - 1 - k);
        if (!out.Label({{0, y}, false, header[k]}, kHeaderTextMm)) {
            strError = out.m_strError;
            return false;
        }
    }
    for (const CPlacedPiece& placed : m.arrPlaced) {
        const CPiece& p = m.arrPieces[placed.nPiece];
        const CPieceDrawing d = DrawPiece(p, placed.placement);
        out.Group(d.outline);
        if (!d.arrDashed.empty()) {
            out.Raw("LT2,4;\n");
            for (const CPolyline& line : d.arrDashed)
                out.Group(line);
            out.Raw("LT;\n");
        }
        for (const CPolyline& line : d.arrInner)
            out.Group(line);
        for (const CPolyline& line : d.arrNotches)
            out.Group(line);
        for (const CPt& c : d.arrHoles)
            out.Group(Circle(c, kDrillRadiusMm));
        for (const CPolyline& line : d.arrCrosses)
            out.Group(line);
        out.Group(d.grain);
        for (const CPolyline& line : d.arrArrows)
            out.Group(line);
        const std::vector<std::string> lines = {std::string(kStyle) + "  " + p.strSize,
                                                PieceNameZh(p, placed.nCopy) + " " + p.strCode};
        for (const CTextLine& t : PlaceLines(p, placed.placement, lines, p.dTextMm)) {
            if (!out.Label(t, p.dTextMm)) {
                strError = out.m_strError;
                return false;
            }
        }
    }
    out.Raw("PU0,0;PG;\n");
    return WriteBytes(strPath, out.m_strOut, strError);
}

bool WriteDxfMarker(const CMarker& m, const std::string& strPath, std::string& strError) {
    const double w = m.dWidthMm;
    const double l = m.dLengthMm;
    const std::vector<std::string> header = HeaderLines(m);
    const double top = w + kHeaderGapMm + kDxfHeaderPitchMm * double(header.size());

    CDxfText out;
    out.Pair(0, "SECTION");
    out.Pair(2, "HEADER");
    out.Pair(9, "$ACADVER");
    out.Pair(1, "AC1009");
    out.Pair(9, "$DWGCODEPAGE");
    out.Pair(3, "ANSI_936");
    out.Pair(9, "$INSBASE");
    out.Point({0, 0});
    out.Pair(9, "$EXTMIN");
    out.Point({0, 0});
    out.Pair(9, "$EXTMAX");
    out.Point({l, top});
    out.Pair(0, "ENDSEC");

    out.Pair(0, "SECTION");
    out.Pair(2, "TABLES");
    out.Pair(0, "TABLE");
    out.Pair(2, "LTYPE");
    out.Pair(70, "1");
    out.Pair(0, "LTYPE");
    out.Pair(2, "CONTINUOUS");
    out.Pair(70, "0");
    out.Pair(3, "Solid line");
    out.Pair(72, "65");
    out.Pair(73, "0");
    out.Num(40, 0.0);
    out.Pair(0, "ENDTAB");
    out.Pair(0, "TABLE");
    out.Pair(2, "LAYER");
    out.Pair(70, "5");
    out.Layer("0", 7);
    out.Layer("1", 7); // piece boundaries
    out.Layer("4", 3); // notches
    out.Layer("7", 5); // grain lines
    out.Layer("8", 2); // internal lines and drill holes
    out.Pair(0, "ENDTAB");
    out.Pair(0, "ENDSEC");

    out.Pair(0, "SECTION");
    out.Pair(2, "BLOCKS");
    std::vector<std::string> arrNames;
    for (size_t i = 0; i < m.arrPlaced.size(); ++i) {
        const CPlacedPiece& placed = m.arrPlaced[i];
        const CPiece& p = m.arrPieces[placed.nPiece];
        const CPieceDrawing d = DrawPiece(p, placed.placement);
        arrNames.push_back(BlockName(p, i + 1));
        out.Pair(0, "BLOCK");
        out.Pair(8, "1");
        out.Pair(2, arrNames.back());
        out.Pair(70, "0");
        out.Point({0, 0});
        out.Pair(3, arrNames.back());
        out.Polyline("1", d.outline, true);
        const std::vector<std::string> lines = {"Piece Name: " + p.strCode, "Size: " + p.strSize,
                                                PieceNameZh(p, placed.nCopy)};
        for (const CTextLine& t : PlaceLines(p, placed.placement, lines, kDxfTextMm)) {
            if (!out.Text("1", t, kDxfTextHeightMm)) {
                strError = out.m_strError;
                return false;
            }
        }
        for (const CPolyline& line : d.arrNotches)
            out.Line("4", line[0], line[1]);
        out.Line("7", d.grain[0], d.grain[1]);
        for (const CPolyline& line : d.arrInner)
            out.Polyline("8", line, false);
        for (const CPolyline& line : d.arrDashed)
            out.Polyline("8", line, false);
        for (const CPolyline& line : d.arrCrosses)
            out.Line("8", line[0], line[1]);
        for (const CPt& c : d.arrHoles)
            out.Circle("8", c, kDrillRadiusMm);
        out.Pair(0, "ENDBLK");
        out.Pair(8, "1");
    }
    out.Pair(0, "ENDSEC");

    out.Pair(0, "SECTION");
    out.Pair(2, "ENTITIES");
    out.Polyline("0", {{0, 0}, {l, 0}, {l, w}, {0, w}, {0, 0}}, true);
    for (size_t k = 0; k < header.size(); ++k) {
        const double y = w + kHeaderGapMm + kDxfHeaderPitchMm * double(header.size() - 1 - k);
        if (!out.Text("0", {{0, y}, false, header[k]}, kDxfTextHeightMm)) {
            strError = out.m_strError;
            return false;
        }
    }
    for (const std::string& name : arrNames) {
        out.Pair(0, "INSERT");
        out.Pair(8, "1");
        out.Pair(2, name);
        out.Point({0, 0});
    }
    out.Pair(0, "ENDSEC");
    out.Pair(0, "EOF");
    return WriteBytes(strPath, out.m_strOut, strError);
}

} // namespace inkvale::samplegen
