// SPDX-License-Identifier: GPL-3.0-or-later
// The commands an HP-GL/2 plotter understands beyond plain PU/PD/PA: encoded polylines,
// user units, relative plotting, dots, arcs and outlines, rotation, and the driver
// preamble around the plot. One line of HP-GL each, with the curves it must give.
#include "import/HpglFile.h"
#include "import/HpglPolylineEncoded.h"

#include "HpglTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace inkvale {
namespace {

using test::DumpCurves;

std::string CurvesOf(const std::string& text) {
    CHpglFile file;
    const CHpglReadResult result = file.ReadMemory(text);
    EXPECT_TRUE(result.Ok()) << text;
    CCurveArray curves;
    file.ToCurves(curves, 0);
    return DumpCurves(curves);
}

struct Case {
    const char* what;
    std::string input;
    const char* curves; // "linetype:x,y x,y|..."
};

void Check(const Case& c) {
    EXPECT_EQ(CurvesOf(c.input), c.curves) << c.what << ": " << c.input;
    // The same bytes in pieces of one byte give the same drawing.
    CHpglFile file;
    ASSERT_TRUE(test::TokeniseInPieces(file, c.input, 1).Ok()) << c.what;
    CCurveArray curves;
    file.ToCurves(curves, 0);
    EXPECT_EQ(DumpCurves(curves), c.curves) << c.what << " (byte by byte)";
}

// 8-bit PE numbers: 100 -> "G\xC2", 200 -> "O\xC5", 50 -> "c\xC0", 0 -> "\xBF", -50 -> "d\xC0".
TEST(HpglPlotter, PolylineEncoded) {
    const Case cases[] = {
        {"pen-up absolute start, relative draws",
         "PE<=G\xC2O\xC5"
         "c\xC0\xBF\xBF"
         "c\xC0;",
         "0:100,200 150,200 150,250"},
        {"a pen number between the points",
         "PE<=G\xC2O\xC5:\xC1"
         "c\xC0\xBF;",
         "0:100,200 150,200"},
        {"pen-up moves split the curves",
         "PE\xBF"
         "c\xC0<c\xC0\xBF"
         "d\xC0\xBF;",
         "0:0,0 0,50|0:50,50 0,50"},
        {"letters inside the data are data", "PEc\xC0\xBF;PD0,0;", "0:0,0 50,0 50,0 0,0"},
        {"an escape ends the data",
         std::string("PEc\xC0\xBF\x1b"
                     "EPD0,0;"),
         "0:0,0 50,0 50,0 0,0"},
        {"under user units",
         "IP0,0,4000,4000;SC0,100,0,100;PE<=\xBF\xBF"
         "c\xC0\xBF;",
         "0:0,0 2000,0"},
    };
    for (const Case& c : cases)
        Check(c);
}

// The decoder on its own: the values it hands on, before any rounding.
class CPeLog : public IHpglPeSink {
public:
    void PeSelectPen(int32_t nPen) override { m_str += "P" + std::to_string(nPen) + ' '; }
    void PePoint(double x, double y, bool bAbsolute, bool bPenUp) override {
        char buf[80];
        std::snprintf(buf, sizeof buf, "%s%s%g,%g ", bAbsolute ? "=" : "", bPenUp ? "<" : "", x, y);
        m_str += buf;
    }
    std::string m_str;
};

TEST(HpglPlotter, PolylineEncodedDecoding) {
    struct DecodeCase {
        const char* what;
        std::string data;
        const char* log;
    };
    const DecodeCase cases[] = {
        {"8-bit, both flags",
         "<=G\xC2O\xC5"
         "c\xC0\xBF",
         "=<100,200 50,0 "},
        {"7-bit, one fractional bit",
         "7>a=I`l"
         "ak",
         "=10.5,-3 0.5,3 "},
        {"a fraction in 8-bit",
         ">\xC1"
         "c\xC0\xBF",
         "25,0 "},
        {"white space and line ends are ignored", "c\r\n\xC0 \xBF", "50,0 "},
        {"a flag drops a half pair", "c\xC0<\xBF\xBF", "<0,0 "},
        {"pen numbers", ":\xC3:\xC0", "P2 P0 "}, // 4 -> 2, 1 -> -0
        {"a PE starts over in 8-bit mode", "c\xC0\xBF", "50,0 "},
    };
    CHpglPeDecoder decoder;
    for (const DecodeCase& c : cases) {
        decoder.Begin();
        CPeLog log;
        for (const char ch : c.data)
            decoder.Feed(static_cast<uint8_t>(ch), log);
        EXPECT_EQ(log.m_str, c.log) << c.what;
    }
    // Forty digits of 63 overflow no integer; the number is garbage but the pair completes.
    decoder.Begin();
    CPeLog log;
    for (const char ch : std::string(40, '~') + "\xFE\xBF")
        decoder.Feed(static_cast<uint8_t>(ch), log);
    ASSERT_NE(log.m_str.find(','), std::string::npos);
    EXPECT_EQ(log.m_str.substr(log.m_str.find(',')), ",0 ");
}

TEST(HpglPlotter, UserUnits) {
    const Case cases[] = {
        {"IP and SC: 100 user units are 4000 plotter units",
         "IN;IP0,0,4000,4000;SC0,100,0,100;SP1;PU0,0;PD100,0,100,100;", "0:0,0 4000,0 4000,4000"},
        {"isotropic, centred", "IP0,0,4000,2000;SC0,100,0,100,1;PU0,0;PD100,100;",
         "0:1000,0 3000,2000"},
        {"isotropic, to the left", "IP0,0,4000,2000;SC0,100,0,100,1,0,0;PU0,0;PD100,100;",
         "0:0,0 2000,2000"},
        {"point factor", "IP100,200,0,0;SC10,4,20,2,2;PU10,20;PD20,30;", "0:100,200 140,220"},
        {"without IP, P1 and P2 span the page", "SC0,336,0,475.2;PU0,0;PD1,1;", "0:0,0 100,100"},
        {"PS sets the page", "PS4000,2000;SC0,10,0,10;PU0,0;PD10,10;", "0:0,0 4000,2000"},
        {"IR in percent of the page", "IR0,0,50,50;SC0,1,0,1;PU0,0;PD1,1;", "0:0,0 16800,23760"},
        {"IP with two values moves P2 along", "IP0,0,10,10;IP5,5;SC0,1,0,1;PU0,0;PD1,1;",
         "0:5,5 15,15"},
        {"SC alone ends scaling", "IP0,0,10,10;SC0,1,0,1;SC;PU0,0;PD5,5;", "0:0,0 5,5"},
        {"IN ends scaling", "IP0,0,10,10;SC0,1,0,1;IN;PU0,0;PD5,5;", "0:0,0 5,5"},
        {"a window of no width is ignored", "IP0,0,10,10;SC1,1,0,1;PU0,0;PD5,5;", "0:0,0 5,5"},
        {"relative moves scale too", "IP0,0,100,100;SC0,10,0,10;PU1,1;PR;PD1,0;", "0:10,10 20,10"},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(HpglPlotter, RelativePlotting) {
    const Case cases[] = {
        {"PR pairs follow each other", "PU100,100;PR;PD10,0,0,10;PU5,5;PD-5,0;",
         "0:100,100 110,100 110,110|0:115,115 110,115"},
        {"pen-up pairs add up", "PR;PU10,10,10,10;PA;PD30,20;", "0:20,20 30,20"},
        {"PR with the pen down draws", "PU0,0;PD;PR10,0;PA0,0;", "0:0,0 10,0 10,0 0,0"},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(HpglPlotter, PenDownOnOneSpotPrintsADot) {
    const Case cases[] = {
        {"PD without a move", "PU10,20;PD;PU;", "0:10,20 11,20"},
        {"PD at the pen", "PU10,20;PD10,20;PU30,0;", "0:10,20 10,20 10,20 11,20"},
        {"at the end of the file", "PU10,20;PD;", "0:10,20 11,20"},
        {"no dot once the pen moved", "PU0,0;PD;PD10,0;PU;", "0:0,0 10,0"},
        {"no dot for a pen that stays up", "PU0,0;PU;PA5,5;", ""},
        {"one dot for each lowering", "PU0,0;PD;PU;PU5,0;PD;PU;", "0:0,0 1,0|0:5,0 6,0"},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(HpglPlotter, ArcsAndOutlines) {
    const Case cases[] = {
        {"CI with a chord angle", "PU0,0;CI100,90;PD10,0;",
         "0:100,0 0,100 -100,0 0,-100 100,0|0:0,0 10,0"},
        {"AA from the pen, pen down", "PU100,0;PD;AA0,0,90,45;", "0:100,0 71,71 0,100"},
        {"AA with the pen up only moves", "PU100,0;AA0,0,90;PD0,0;", "0:0,100 0,0"},
        {"AR clockwise", "PU100,0;PD;AR-100,0,-90,90;", "0:100,0 0,-100"},
        {"AT through three points", "PU0,0;PD;AT100,100,200,0,90;", "0:0,0 100,100 200,0"},
        {"AT on a line", "PU0,0;PD;AT1,1,2,2;", "0:0,0 2,2"},
        {"RT relative", "PU10,0;PD;RT100,100,200,0,90;", "0:10,0 110,100 210,0"},
        {"EA", "PU10,10;EA30,20;", "0:10,10 30,10 30,20 10,20 10,10"},
        {"ER", "PU10,10;ER20,10;", "0:10,10 30,10 30,20 10,20 10,10"},
        {"RA as its outline", "PU10,10;RA30,20;", "0:10,10 30,10 30,20 10,20 10,10"},
        {"RR as its outline", "PU10,10;RR20,10;", "0:10,10 30,10 30,20 10,20 10,10"},
        {"EW", "PU0,0;EW100,0,90,90;", "0:0,0 100,0 0,100 0,0"},
        {"WG as its outline", "PU0,0;WG100,90,90,90;", "0:0,0 0,100 -100,0 0,0"},
        {"CI under user units", "IP0,0,1000,1000;SC0,10,0,10;PU5,5;CI1,180;",
         "0:600,500 400,500 600,500"},
        {"CT1: the chord value is a deviation", "CT1;PU0,0;CI100,30;",
         "0:100,0 0,100 -100,0 0,-100 100,0"},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(HpglPlotter, DefaultChordsStayCloseToTheArc) {
    CHpglFile file;
    ASSERT_TRUE(file.ReadMemory("PU0,0;CI40000;").Ok()); // a circle 2 m across
    CCurveArray curves;
    file.ToCurves(curves, 0);
    ASSERT_EQ(curves.size(), 1u);
    const auto& pts = curves[0].m_arrPoints;
    EXPECT_GT(pts.size(), 72u) << "finer than 5 degrees";
    EXPECT_LE(pts.size(), 4097u) << "bounded, whatever the radius";
    for (size_t i = 1; i < pts.size(); ++i) {
        const double mx = (pts[i].x + pts[i - 1].x) / 2.0;
        const double my = (pts[i].y + pts[i - 1].y) / 2.0;
        EXPECT_LT(40000.0 - std::hypot(mx, my), 2.0) << "chord " << i;
    }
}

TEST(HpglPlotter, Rotation) {
    const Case cases[] = {
        {"RO90", "RO90;PU10,20;PD30,20;", "0:-20,10 -20,30"},
        {"RO180", "RO180;PU10,20;PD30,20;", "0:-10,-20 -30,-20"},
        {"RO270", "RO270;PU10,20;PD30,20;", "0:20,-10 20,-30"},
        {"other angles are ignored", "RO45;PU10,20;PD30,20;", "0:10,20 30,20"},
        {"IN ends the rotation", "RO90;IN;PU10,20;PD30,20;", "0:10,20 30,20"},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(HpglPlotter, InputWindowCutsTheDrawing) {
    const Case cases[] = {
        {"a line leaving the window ends at its edge", "IW0,0,1000,1000;PU500,500;PD1500,500;",
         "0:500,500 1000,500"},
        {"a line across the window keeps its middle", "IW0,0,1000,1000;PU-1000,500;PD2000,500;",
         "0:0,500 1000,500"},
        {"a polyline that leaves and comes back is two",
         "IW0,0,1000,1000;PU500,500;PD1500,500,1500,700,500,700;",
         "0:500,500 1000,500|0:1000,700 500,700"},
        {"a slanted line is cut where it crosses", "IW0,0,1000,1000;PU500,500;PD1500,1000;",
         "0:500,500 1000,750"},
        {"nothing of a line outside", "IW0,0,1000,1000;PU2000,0;PD3000,0;PU0,0;PD10,0;",
         "0:0,0 10,0"},
        {"corners in either order", "IW1000,1000,0,0;PU500,500;PD1500,1500;",
         "0:500,500 1000,1000"},
        {"user units while scaling is on", "IP0,0,1000,1000;SC0,10,0,10;IW0,0,5,5;PU0,0;PD10,10;",
         "0:0,0 500,500"},
        {"the window stays on the page when SC changes",
         "IP0,0,1000,1000;SC0,10,0,10;IW0,0,5,5;SC;PU0,0;PD1000,0;", "0:0,0 500,0"},
        {"IW alone without a page: no limits", "IW0,0,100,100;IW;PU0,0;PD1000,0;", "0:0,0 1000,0"},
        {"IW alone after PS: no limits either", "PS2000,1000;IW;PU0,500;PD3000,500;",
         "0:0,500 3000,500"},
        {"IN ends the window", "IW0,0,100,100;IN;PU0,0;PD1000,0;", "0:0,0 1000,0"},
        {"DF ends the window", "IW0,0,100,100;DF;PU0,0;PD1000,0;", "0:0,0 1000,0"},
        {"PS ends the window", "IW0,0,100,100;PS5000;PU0,0;PD1000,0;", "0:0,0 1000,0"},
        {"RO turns the window with the frame", "IW0,0,1000,2000;RO90;PU0,0;PD3000,3000;",
         "0:0,0 -1000,1000"},
        {"no dot outside", "IW0,0,100,100;PU500,500;PD;PU;PU50,50;PD;PU;", "0:50,50 51,50"},
        {"a circle round the window's corner keeps its quarter", "IW0,0,1000,1000;PU0,0;CI100,90;",
         "0:100,0 0,100"},
        {"outlines are cut", "IW0,0,1000,1000;PU500,500;EA1500,1500;",
         "0:500,500 1000,500|0:500,1000 500,500"},
        {"labels far outside leave nothing", "IW0,0,100,100;PU5000,5000;LBAB\x03;", ""},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(HpglPlotter, DriverPreambleIsNeverDrawn) {
    using namespace std::string_literals;
    const Case cases[] = {
        {"NUL padding and PJL",
         "\0\0\0\0\x1b%-12345X@PJL JOB NAME=\"PDF 2\"\r\n@PJL SET PAPERLENGTH=200\r\n"
         "@PJL ENTER LANGUAGE=HPGL2\r\n\x1b%1BIN;PU0,0;PD10,0;"s,
         "0:0,0 10,0"},
        {"reset and mode switches",
         "\x1b"
         "E\x1b%0BIN;PU0,0;PD10,0;\x1b%0A\x1b%-12345X"s,
         "0:0,0 10,0"},
        {"an RTL raster section with binary rows",
         "IN;PU0,0;PD10,0;\x1b%0A\x1b*r1u5000S\x1b*r1A\x1b*b7WPD99,99\x1b*b0m3W;PD\x1b*rC"
         "\x1b%0BPU0,5;PD10,5;"s,
         "0:0,0 10,0|0:0,5 10,5"},
        {"pen plotter device controls", "\x1b.(;\x1b.I81;;17:\x1b.N;19:IN;PU0,0;PD5,0;"s,
         "0:0,0 5,0"},
        {"a symbol set and a font selection", "\x1b(8U\x1b(s1p12v0s0b4148TIN;PU0,0;PD5,0;"s,
         "0:0,0 5,0"},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(HpglPlotter, SkippedRasterIsCounted) {
    using namespace std::string_literals;
    CHpglFile file;
    ASSERT_TRUE(file.ReadMemory("IN;\x1b*r1A\x1b*b2Wxx\x1b*rC\x1b*b1Wy\x1b*rB\x1b*r0A\x1b*rC"
                                "\x1b(s5WFONTS"s)
                    .Ok());
    EXPECT_EQ(file.Skipped().Count("RTL raster"), 3);
    EXPECT_EQ(file.Skipped().Count("PCL data"), 1);
    EXPECT_EQ(file.Skipped().Summary(), "RTL raster 3, PCL data 1");
    ASSERT_TRUE(file.ReadMemory("IN;PU0,0;PD1,1;").Ok());
    EXPECT_TRUE(file.Skipped().Empty()) << "a new read starts counting again";
}

} // namespace
} // namespace inkvale
