// SPDX-License-Identifier: GPL-3.0-or-later
// The DXF entities and placements as CAD means them, each from a fixture of a few lines
// with the curves it must give (plotter units: 40 a millimetre at DxfUnit 40).

#include "import/DxfConvert.h"
#include "import/DxfGeometry.h"
#include "import/DxfText.h"

#include "DxfTestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace inkvale {
namespace {

using test::DxfEntities;
using test::DxfText;
using Points = std::vector<CPoint>;

struct Loaded {
    CDxfCurvesResult m_result;
    CCurveArray m_arrCurves;
};

Loaded Load(const std::string& strBytes, CDxfOptions options = {}) {
    test::CScratchDir dir;
    EXPECT_TRUE(test::WriteFileBytes(dir.File("t.dxf"), strBytes));
    Loaded l;
    l.m_result = ReadDxfCurves(dir.File("t.dxf"), options, l.m_arrCurves);
    EXPECT_TRUE(l.m_result.Ok()) << l.m_result.m_strDiag;
    return l;
}

struct Box {
    int32_t x0 = INT_MAX, y0 = INT_MAX, x1 = INT_MIN, y1 = INT_MIN;
};

Box BoxOf(const CCurveArray& arr, size_t nFrom = 0) {
    Box b;
    for (size_t i = nFrom; i < arr.size(); ++i) {
        for (const CPoint& p : arr[i].m_arrPoints) {
            b.x0 = std::min(b.x0, p.x);
            b.y0 = std::min(b.y0, p.y);
            b.x1 = std::max(b.x1, p.x);
            b.y1 = std::max(b.y1, p.y);
        }
    }
    return b;
}

/// A BLOCKS section with one block of the given name, base point and entity pairs.
std::string Block(const std::string& strName, const std::string& strBody,
                  const std::string& strBase = "0") {
    return DxfText({"0", "BLOCK", "2", strName, "70", "0", "10", strBase, "20", "0"}) + strBody +
           DxfText({"0", "ENDBLK"});
}

std::string Blocks(const std::string& strBlocks) {
    return DxfText({"0", "SECTION", "2", "BLOCKS"}) + strBlocks + DxfText({"0", "ENDSEC"});
}

const std::string kTenUnitLine =
    DxfText({"0", "LINE", "10", "0", "20", "0", "11", "10", "21", "0"});

TEST(DxfEntities, InsertsPlaceTheirBlockWithTheWholeTransform) {
    struct Case {
        const char* m_pszName;
        std::string m_strInsert; // the groups of one INSERT of block L
        std::string m_strBase;   // L's base point X
        std::vector<Points> m_arrExpected;
    };
    const Case cases[] = {
        {"at (100,100)", DxfText({"10", "100", "20", "100"}), "0", {{{4000, 4000}, {4400, 4000}}}},
        {"at (300,50)", DxfText({"10", "300", "20", "50"}), "0", {{{12000, 2000}, {12400, 2000}}}},
        {"five times", DxfText({"41", "5", "42", "5"}), "0", {{{0, 0}, {2000, 0}}}},
        {"turned 90", DxfText({"50", "90"}), "0", {{{0, 0}, {0, 400}}}},
        {"mirrored", DxfText({"10", "50", "41", "-1"}), "0", {{{2000, 0}, {1600, 0}}}},
        {"base point", DxfText({"10", "0"}), "5", {{{-200, 0}, {200, 0}}}},
        {"columns and rows",
         DxfText({"70", "2", "71", "2", "44", "20", "45", "30"}),
         "0",
         {{{0, 0}, {400, 0}},
          {{800, 0}, {1200, 0}},
          {{0, 1200}, {400, 1200}},
          {{800, 1200}, {1200, 1200}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_pszName);
        const Loaded l = Load(Blocks(Block("L", kTenUnitLine, c.m_strBase)) +
                              DxfEntities(DxfText({"0", "INSERT", "2", "L"}) + c.m_strInsert));
        ASSERT_EQ(l.m_arrCurves.size(), c.m_arrExpected.size());
        for (size_t i = 0; i < c.m_arrExpected.size(); ++i) {
            Points got = l.m_arrCurves[i].m_arrPoints;
            for (CPoint& p : got) // the rotation leaves 1e-15 where 0 is meant
                p = {p.x == -1 ? 0 : p.x, p.y == -1 ? 0 : p.y};
            EXPECT_EQ(got, c.m_arrExpected[i]) << i;
        }
    }
}

// Rows and columns of an empty block cost time all the same: the visit limit counts them.
TEST(DxfEntities, MinsertCellsCountAgainstTheLimits) {
    test::CScratchDir dir;
    ASSERT_TRUE(test::WriteFileBytes(
        dir.File("t.dxf"),
        Blocks(Block("E", "") +
               Block("M", DxfText({"0", "INSERT", "2", "E", "70", "32767", "71", "32767"}))) +
            DxfEntities(DxfText({"0", "INSERT", "2", "M", "70", "32767", "71", "32767"}))));
    CCurveArray arr;
    const CDxfCurvesResult r = ReadDxfCurves(dir.File("t.dxf"), CDxfOptions{}, arr);
    EXPECT_EQ(r.m_nCode, kDxfLoadTooLarge);
}

TEST(DxfEntities, NestedBlocksComposeTheirPlacements) {
    // N holds L at (10,0) turned 90; N itself stands at (100,0): L's line runs up from
    // (110,0).
    const std::string blocks =
        Blocks(Block("L", kTenUnitLine) +
               Block("N", DxfText({"0", "INSERT", "2", "L", "10", "10", "20", "0", "50", "90"})));
    const Loaded l = Load(blocks + DxfEntities(DxfText({"0", "INSERT", "2", "N", "10", "100"})));
    ASSERT_EQ(l.m_arrCurves.size(), 1u);
    const Points& p = l.m_arrCurves[0].m_arrPoints;
    ASSERT_EQ(p.size(), 2u);
    EXPECT_NEAR(p[0].x, 4400, 1);
    EXPECT_EQ(p[0].y, 0);
    EXPECT_NEAR(p[1].x, 4400, 1);
    EXPECT_EQ(p[1].y, 400);
}

TEST(DxfEntities, CurvedEntitiesFollowTheirCurve) {
    struct Case {
        const char* m_pszName;
        std::string m_strEntity;
        Box m_box;           // of all its points
        size_t m_nMinPoints; // at least this many (a curve, not a chord)
        CPoint m_first;
        CPoint m_last;
    };
    const Case cases[] = {
        {"ARC quarter",
         DxfText({"0", "ARC", "40", "10", "50", "0", "51", "90"}),
         {0, 0, 400, 400},
         10,
         {400, 0},
         {0, 400}},
        {"ARC across 0",
         DxfText({"0", "ARC", "40", "10", "50", "270", "51", "90"}),
         {0, -400, 400, 400},
         20,
         {0, -400},
         {0, 400}},
        {"LWPOLYLINE bulge 1", // a half circle below the chord (counter-clockwise from (0,0))
         DxfText({"0", "LWPOLYLINE", "90", "2", "70", "0", "10", "0", "20", "0", "42", "1", "10",
                  "10", "20", "0"}),
         {0, -200, 400, 0},
         10,
         {0, 0},
         {400, 0}},
        {"LWPOLYLINE closed",
         DxfText({"0", "LWPOLYLINE", "70", "1", "10", "0", "20", "0", "10", "10", "20", "0", "10",
                  "10", "20", "10"}),
         {0, 0, 400, 400},
         4,
         {0, 0},
         {0, 0}},
        {"POLYLINE bulge -1", // stored last vertex first: drawn from (10,0) to (0,0)
         DxfText({"0",  "POLYLINE", "70", "0",      "0",  "VERTEX", "10", "0", "20", "0",
                  "42", "-1",       "0",  "VERTEX", "10", "10",     "20", "0", "0",  "SEQEND"}),
         {0, 0, 400, 200},
         10,
         {400, 0},
         {0, 0}}, // clockwise from (0,0): over the top
        {"ELLIPSE whole",
         DxfText({"0", "ELLIPSE", "10", "0", "20", "0", "11", "20", "21", "0", "40", "0.5", "41",
                  "0", "42", "6.283185307179586"}),
         {-800, -400, 800, 400},
         60,
         {800, 0},
         {800, 0}},
        {"ELLIPSE quarter",
         DxfText({"0", "ELLIPSE", "11", "20", "21", "0", "40", "0.5", "41", "0", "42",
                  "1.5707963267948966"}),
         {0, 0, 800, 400},
         10,
         {800, 0},
         {0, 400}},
        {"SPLINE by control points", // the parabola through (0,0), (10,5), (20,0)
         DxfText({"0",  "SPLINE", "70", "8",  "71", "2",  "72", "6",  "73", "3", "40", "0",
                  "40", "0",      "40", "0",  "40", "1",  "40", "1",  "40", "1", "10", "0",
                  "20", "0",      "10", "10", "20", "10", "10", "20", "20", "0"}),
         {0, 0, 800, 200},
         8,
         {0, 0},
         {800, 0}},
        {"SPLINE by fit points",
         DxfText({"0",  "SPLINE", "70", "8",  "71", "3",  "74", "3",  "11", "0",
                  "21", "0",      "11", "10", "21", "10", "11", "20", "21", "0"}),
         {0, 0, 800, 400},
         8,
         {0, 0},
         {800, 0}},
        {"SOLID", // corners 1, 2, 4, 3 round the outline
         DxfText({"0", "SOLID", "10", "0", "20", "0", "11", "10", "21", "0", "12", "0", "22", "10",
                  "13", "10", "23", "10"}),
         {0, 0, 400, 400},
         5,
         {0, 0},
         {0, 0}},
        {"CIRCLE mirrored by its normal",
         DxfText({"0", "CIRCLE", "10", "10", "20", "0", "40", "1", "230", "-1"}),
         {-440, -40, -360, 40},
         8,
         {-440, 0},
         {-440, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_pszName);
        const Loaded l = Load(DxfEntities(c.m_strEntity));
        ASSERT_EQ(l.m_arrCurves.size(), 1u);
        const Points& p = l.m_arrCurves[0].m_arrPoints;
        const Box b = BoxOf(l.m_arrCurves);
        EXPECT_NEAR(b.x0, c.m_box.x0, 2);
        EXPECT_NEAR(b.y0, c.m_box.y0, 2);
        EXPECT_NEAR(b.x1, c.m_box.x1, 2);
        EXPECT_NEAR(b.y1, c.m_box.y1, 2);
        EXPECT_GE(p.size(), c.m_nMinPoints);
        EXPECT_NEAR(p.front().x, c.m_first.x, 1);
        EXPECT_NEAR(p.front().y, c.m_first.y, 1);
        EXPECT_NEAR(p.back().x, c.m_last.x, 1);
        EXPECT_NEAR(p.back().y, c.m_last.y, 1);
    }
}

TEST(DxfEntities, SplinePointsLieWithinTheTolerance) {
    // The parabola y = x (20 - x) / 20 of the control points (0,0), (10,10), (20,0).
    const Loaded l = Load(DxfEntities(DxfText(
        {"0",  "SPLINE", "71", "2", "40", "0", "40", "0",  "40", "0",  "40", "1",  "40", "1",
         "40", "1",      "10", "0", "20", "0", "10", "10", "20", "10", "10", "20", "20", "0"})));
    ASSERT_EQ(l.m_arrCurves.size(), 1u);
    const Points& p = l.m_arrCurves[0].m_arrPoints;
    for (size_t i = 1; i < p.size(); ++i) {
        // The middle of each chord lies within 0.05 mm (2 units) of the curve.
        const double x = (p[i - 1].x + p[i].x) / 2.0 / 40.0;
        const double y = (p[i - 1].y + p[i].y) / 2.0 / 40.0;
        EXPECT_LT(std::fabs(y - x * (20 - x) / 20), 0.05 + 0.05) << i;
    }
}

TEST(DxfEntities, TextsStandAtTheirOwnSizeAndAlignment) {
    struct Case {
        const char* m_pszName;
        std::string m_strText;
        double m_dHeightMm; // of the ink of "HI", which fills the cap height
        double m_dLeftMm;   // where the ink begins
        double m_dRightMm;  // or ends (NaN: not looked at)
    };
    const double kAny = std::nan("");
    const Case cases[] = {
        {"10 mm", DxfText({"0", "TEXT", "40", "10", "1", "HI"}), 10, 0, kAny},
        {"50 mm", DxfText({"0", "TEXT", "40", "50", "1", "HI"}), 50, 0, kAny},
        {"0.25 mm is drawn at 1.5", DxfText({"0", "TEXT", "40", "0.25", "1", "HI"}), 1.5, 0, kAny},
        {"right aligned",
         DxfText(
             {"0", "TEXT", "40", "10", "72", "2", "10", "0", "11", "100", "21", "0", "1", "HI"}),
         10, kAny, 100},
        {"centred on the point",
         DxfText({"0", "TEXT", "40", "10", "72", "4", "11", "100", "21", "50", "1", "HI"}), 10,
         kAny, kAny},
        {"MTEXT", DxfText({"0", "MTEXT", "40", "10", "71", "7", "1", "{\\fArial;HI}"}), 10, 0,
         kAny},
        // Column data after the 101 marker reuses the codes of the point, direction and height.
        {"MTEXT with an embedded object",
         DxfText({"0",   "MTEXT", "10",  "0",   "20", "0",   "40",
                  "10",  "71",    "7",   "1",   "HI", "101", "Embedded Object",
                  "70",  "1",     "10",  "1.0", "20", "0.0", "11",
                  "500", "21",    "300", "40",  "140"}),
         10, 0, kAny},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_pszName);
        const Loaded l = Load(DxfEntities(c.m_strText));
        ASSERT_FALSE(l.m_arrCurves.empty());
        const Box b = BoxOf(l.m_arrCurves);
        EXPECT_NEAR((b.y1 - b.y0) / 40.0, c.m_dHeightMm, c.m_dHeightMm * 0.1);
        if (!std::isnan(c.m_dLeftMm)) {
            EXPECT_NEAR(b.x0 / 40.0, c.m_dLeftMm, c.m_dHeightMm * 0.2);
        }
        if (!std::isnan(c.m_dRightMm)) {
            EXPECT_NEAR(b.x1 / 40.0, c.m_dRightMm, 0.5);
        }
        EXPECT_TRUE(l.m_result.m_bOnlyLabels);
    }
    // Width factor 2 doubles the width; the middle alignment centres it on its point.
    const Box one =
        BoxOf(Load(DxfEntities(DxfText({"0", "TEXT", "40", "10", "1", "HI"}))).m_arrCurves);
    const Box two = BoxOf(
        Load(DxfEntities(DxfText({"0", "TEXT", "40", "10", "41", "2", "1", "HI"}))).m_arrCurves);
    EXPECT_NEAR(two.x1 - two.x0, 2 * (one.x1 - one.x0), 4);
    const Box mid = BoxOf(Load(DxfEntities(DxfText({"0", "TEXT", "40", "10", "72", "4", "11", "100",
                                                    "21", "50", "1", "HI"})))
                              .m_arrCurves);
    EXPECT_NEAR((mid.x0 + mid.x1) / 2.0, 4000, 20);
    EXPECT_NEAR((mid.y0 + mid.y1) / 2.0, 2000, 20);
}

TEST(DxfEntities, MTextLosesItsCodesAndKeepsItsLines) {
    EXPECT_EQ(DxfPlainMText("{\\fArial|b1;AB}\\PC\\~D\\S1^2;\\\\"), "AB\nC D1/2\\");
    EXPECT_EQ(DxfPlainText("%%d%%p%%c%%%\\U+0041"), "deg+/-O%A");
    const Loaded one = Load(DxfEntities(DxfText({"0", "MTEXT", "40", "10", "1", "AB"})));
    const Loaded two = Load(DxfEntities(DxfText({"0", "MTEXT", "40", "10", "1", "AB\\PAB"})));
    const Box b1 = BoxOf(one.m_arrCurves);
    const Box b2 = BoxOf(two.m_arrCurves);
    EXPECT_EQ(b2.y1, b1.y1) << "attached at the top left, the first line stays";
    EXPECT_NEAR((b1.y0 - b2.y0) / 40.0, 10 * 5.0 / 3.0, 0.5) << "the second line below";
}

// A line is drawn into scratch room the first time and kept from the second: every time it
// must come out the same, also after other lines took the scratch room in between.
TEST(DxfEntities, ATextLineDrawsTheSameEveryTimeItComes) {
    CDxfTextDrawer drawer("");
    const auto copy = [](const CDxfTextLine& l) {
        return std::make_tuple(l.m_arrPoints, l.m_arrStarts, l.m_dLeft, l.m_dWidth, l.m_dBottom);
    };
    const auto first = copy(drawer.Line("Size: 38"));
    ASSERT_FALSE(std::get<0>(first).empty());
    EXPECT_NE(copy(drawer.Line("Piece Name: P0")), first);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(copy(drawer.Line("Size: 38")), first) << "time " << i + 2;
        (void)drawer.Line("Quantity " + std::to_string(i));
    }
    const CDxfTextLine& kept = drawer.Line("Size: 38");
    (void)drawer.Line("Material: A");
    EXPECT_EQ(copy(kept), first) << "a kept line outlives the lines after it";
}

TEST(DxfEntities, AttributesAreDrawnAsTextsUnlessInvisible) {
    const std::string blocks = Blocks(Block("A", kTenUnitLine));
    const auto attrib = [](const char* pszFlags) {
        return DxfText({"0", "ATTRIB", "10", "0", "20", "20", "40", "5", "1", "V", "2", "TAG", "70",
                        pszFlags, "73", "3"});
    };
    const Loaded shown = Load(blocks + DxfEntities(DxfText({"0", "INSERT", "2", "A", "66", "1"}) +
                                                   attrib("0") + DxfText({"0", "SEQEND"})));
    const Loaded hidden = Load(blocks + DxfEntities(DxfText({"0", "INSERT", "2", "A", "66", "1"}) +
                                                    attrib("1") + DxfText({"0", "SEQEND"})));
    EXPECT_EQ(hidden.m_arrCurves.size(), 1u);
    ASSERT_GT(shown.m_arrCurves.size(), 1u);
    EXPECT_NEAR(BoxOf(shown.m_arrCurves, 1).y0, 800, 10) << "on its own baseline";
}

TEST(DxfEntities, GarmentDrillHolesAndNotches) {
    // A 100 mm square piece on layer 1, a notch point on its lower edge, a drill hole in the
    // middle, a turn point at a corner.
    const std::string piece =
        DxfText({"0", "POLYLINE", "8",  "1",   "70", "1",   "0", "VERTEX", "10", "0",   "20", "0",
                 "0", "VERTEX",   "10", "100", "20", "0",   "0", "VERTEX", "10", "100", "20", "100",
                 "0", "VERTEX",   "10", "0",   "20", "100", "0", "SEQEND"});
    const std::string marks =
        DxfText({"0",  "POINT", "8",  "4",  "10", "50",    "20", "0", "0",  "POINT", "8",  "13",
                 "10", "50",    "20", "50", "0",  "POINT", "8",  "2", "10", "0",     "20", "0"});
    const std::string file =
        Blocks(Block("P", piece + marks)) + DxfEntities(DxfText({"0", "INSERT", "2", "P"}));
    const Loaded cross = Load(file);
    ASSERT_EQ(cross.m_arrCurves.size(), 4u); // outline, slit, two strokes of the cross
    EXPECT_EQ(cross.m_arrCurves[1].m_arrPoints, (Points{{2000, 0}, {2000, 200}}))
        << "into the piece";
    EXPECT_EQ(cross.m_arrCurves[2].m_arrPoints, (Points{{1940, 2000}, {2060, 2000}}));
    EXPECT_EQ(cross.m_arrCurves[3].m_arrPoints, (Points{{2000, 1940}, {2000, 2060}}));
    EXPECT_TRUE(cross.m_result.m_arrSkipped.empty()) << "turn points are no loss";

    CDxfOptions options;
    options.m_nDrillMark = 1;
    options.m_dDrillMm = 4.0;
    options.m_dNotchMm = 3.0;
    const Loaded circle = Load(file, options);
    ASSERT_EQ(circle.m_arrCurves.size(), 3u);
    EXPECT_EQ(circle.m_arrCurves[1].m_arrPoints, (Points{{2000, 0}, {2000, 120}}));
    const Box hole = BoxOf({circle.m_arrCurves[2]});
    EXPECT_NEAR(hole.x0, 1920, 3);
    EXPECT_NEAR(hole.x1, 2080, 3);

    // The CAD drew its own notch there: no slit of ours.
    const std::string own =
        DxfText({"0", "LINE", "8", "4", "10", "50", "20", "0", "11", "50", "21", "4"});
    const Loaded drawn = Load(Blocks(Block("P", piece + own + marks)) +
                              DxfEntities(DxfText({"0", "INSERT", "2", "P"})));
    EXPECT_EQ(drawn.m_arrCurves.size(), 4u); // outline, its notch line, the cross
}

TEST(DxfEntities, PaperSpaceAndUndrawnEntitiesAreLeftOutAndCounted) {
    const Loaded l = Load(DxfEntities(DxfText({
        "0", "LINE",  "67", "1", "11", "99", // paper space
        "0", "HATCH", "8",  "0", "0",  "HATCH", "0",  "IMAGE", "0", "3DFACE",
        "0", "LINE",  "11", "1", "0",  "HATCH", "67", "1", // in paper space: not counted
    })));
    ASSERT_EQ(l.m_arrCurves.size(), 1u);
    EXPECT_EQ(l.m_arrCurves[0].m_arrPoints, (Points{{0, 0}, {40, 0}}));
    EXPECT_EQ(l.m_result.m_arrSkipped,
              (CDxfSkipped{{"HATCH", 2}, {"IMAGE", 1}, {"3D entities", 1}}));
    // A block named for paper space is not drawn either.
    const Loaded paper =
        Load(Blocks(Block("*Paper_Space", kTenUnitLine)) +
             DxfEntities(DxfText({"0", "INSERT", "2", "*Paper_Space", "0", "LINE", "11", "1"})));
    EXPECT_EQ(paper.m_arrCurves.size(), 1u);
}

TEST(DxfEntities, TheHeaderChoosesTheUnitWhenAsked) {
    struct Case {
        const char* m_pszName;
        std::string m_strHeader;
        int32_t m_nUnit;
        int32_t m_nEnd; // of a line one drawing unit long
    };
    const auto header = [](const char* pszVariable, const char* pszValue) {
        return DxfText(
            {"0", "SECTION", "2", "HEADER", "9", pszVariable, "70", pszValue, "0", "ENDSEC"});
    };
    const Case cases[] = {
        {"inches", header("$INSUNITS", "1"), kDxfUnitAuto, 1016},
        {"centimetres", header("$INSUNITS", "5"), kDxfUnitAuto, 400},
        {"imperial measurement", header("$MEASUREMENT", "0"), kDxfUnitAuto, 1016},
        {"unitless: millimetres", header("$INSUNITS", "0"), kDxfUnitAuto, 40},
        {"no header: millimetres", "", kDxfUnitAuto, 40},
        {"the setting wins", header("$INSUNITS", "1"), 40, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_pszName);
        CDxfOptions options;
        options.m_nUnit = c.m_nUnit;
        const Loaded l =
            Load(c.m_strHeader + DxfEntities(DxfText({"0", "LINE", "11", "1"})), options);
        ASSERT_EQ(l.m_arrCurves.size(), 1u);
        EXPECT_EQ(l.m_arrCurves[0].m_arrPoints.back().x, c.m_nEnd);
    }
}

TEST(DxfEntities, TheEntityCoordinateSystemFollowsTheArbitraryAxisRule) {
    // A vertex of a tilted polyline and its place in the world as another reader puts it.
    const CDxfTransform t = DxfOcsTransform(
        {0.0207461631753607, 0.3239633267477399, 0.9458421430852181}, 3.566423464054877);
    const CDxfXY p = t.Map({-6.255607057780904, -5.555701658860182});
    EXPECT_NEAR(p.x, 6.65263233283105, 1e-9);
    EXPECT_NEAR(p.y, 5.9996838273051605, 1e-9);
    EXPECT_TRUE(DxfOcsTransform({0, 0, 1}).m_bIdentity);
}

} // namespace
} // namespace inkvale
