// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/DxfConvert.h"

#include "DxfTestFiles.h"
#include "import/HpglFile.h"

#include <sys/resource.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

namespace inkvale {
namespace {

using test::DxfEntities;
using test::DxfLayerEntry;
using test::DxfTables;
using test::DxfText;

using Points = std::vector<CPoint>;

TEST(DxfConvert, CoordinatesAreTruncatedAndSaturated) {
    struct Case {
        double m_dValue;
        int32_t m_nUnit;
        int32_t m_nExpected;
    };
    const Case cases[] = {
        {10.5, 40, 420},
        {10.9, 1, 10},
        {-10.9, 1, -10},
        {0.0249, 40, 0},
        {1e300, 40, INT_MAX},
        {-1e300, 40, INT_MIN},
        {std::numeric_limits<double>::quiet_NaN(), 40, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DxfToPlotter(c.m_dValue, c.m_nUnit), c.m_nExpected) << c.m_dValue;
}

TEST(DxfConvert, CircleGetsOneSegmentPerMillimetreAndAtLeastEight) {
    struct Case {
        double m_dRadius;
        int32_t m_nUnit;
        int32_t m_nSegments;
    };
    const Case cases[] = {
        {1.0, 40, 8},
        {10.0, 40, 62},
        {10.0, 1, 8},
        {100.0, 400, 6283},
        {-5.0, 40, 8},
        {1e12, 40, kDxfMaxCircleSegments},
        {std::numeric_limits<double>::quiet_NaN(), 40, 8},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DxfCircleSegments(c.m_dRadius, c.m_nUnit), c.m_nSegments) << c.m_dRadius;
}

/// Reads the bytes as a DXF file into curves.
struct Converted {
    CDxfCurvesResult m_result;
    CCurveArray m_arrCurves;
};

Converted Convert(const std::string& strBytes, int32_t nUnit = 40, const CDxfLimits& limits = {}) {
    test::CScratchDir dir;
    EXPECT_TRUE(test::WriteFileBytes(dir.File("t.dxf"), strBytes));
    Converted c;
    c.m_result = ReadDxfCurves(dir.File("t.dxf"), nUnit, "", c.m_arrCurves, limits);
    return c;
}

TEST(DxfConvert, LinesCirclesAndClosedPolylines) {
    const Converted c = Convert(DxfEntities(DxfText({
        "0",  "LINE",   "10", "0",        "20", "0",      "11", "10.5",   "21", "0",
        "0",  "CIRCLE", "10", "100",      "20", "50",     "40", "10",     "0",  "POLYLINE",
        "70", "1",      "0",  "VERTEX",   "10", "1",      "20", "1",      "0",  "VERTEX",
        "10", "2",      "20", "1",        "0",  "VERTEX", "10", "2",      "20", "2",
        "0",  "SEQEND", "0",  "POLYLINE", "70", "0",      "0",  "SEQEND", // no vertices: no curve
    })));
    ASSERT_TRUE(c.m_result.Ok()) << c.m_result.m_strDiag;
    ASSERT_EQ(c.m_arrCurves.size(), 3u);
    EXPECT_EQ(c.m_arrCurves[0].m_arrPoints, (Points{{0, 0}, {420, 0}}));
    EXPECT_EQ(c.m_arrCurves[0].m_nPen, 1);
    EXPECT_EQ(c.m_arrCurves[0].m_nLineType, 0);
    const Points& circle = c.m_arrCurves[1].m_arrPoints;
    ASSERT_EQ(circle.size(), 63u);
    EXPECT_EQ(circle.front(), (CPoint{4400, 2000}));
    EXPECT_EQ(circle.back(), circle.front());
    EXPECT_EQ(circle[31].x, 3600) << "half way round";
    // Closed A, B, C becomes C, B, A, C.
    EXPECT_EQ(c.m_arrCurves[2].m_arrPoints, (Points{{80, 80}, {80, 40}, {40, 40}, {80, 80}}));
    EXPECT_FALSE(c.m_result.m_bOnlyLabels);
}

TEST(DxfConvert, ALayerThatIsOffOrFrozenHidesItsEntities) {
    const std::string tables =
        DxfTables(DxfText({"0", "TABLE", "2", "LAYER"}) + DxfLayerEntry("OFF", "-7", "CONTINUOUS") +
                  DxfLayerEntry("ON", "7", "CONTINUOUS") +
                  DxfText({"0", "LAYER", "2", "FROZEN", "70", "1", "62", "7", "6", "CONTINUOUS"}) +
                  DxfText({"0", "ENDTAB"}));
    struct Case {
        const char* m_pszLayer;
        const char* m_pszColor;
        bool m_bDrawn;
    };
    const Case cases[] = {
        {"OFF", "1", false}, {"OFF", "256", false},  {"FROZEN", "256", false},
        {"ON", "1", true},   {"UNKNOWN", "1", true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.m_pszLayer) + " colour " + k.m_pszColor);
        const Converted c =
            Convert(tables + DxfEntities(DxfText({"0", "LINE", "8", k.m_pszLayer, "62",
                                                  k.m_pszColor, "11", "1", "0", "TEXT", "8",
                                                  k.m_pszLayer, "62", k.m_pszColor, "1", "T"})));
        ASSERT_TRUE(c.m_result.Ok());
        const bool bLineDrawn =
            !c.m_arrCurves.empty() && c.m_arrCurves[0].m_arrPoints == Points{{0, 0}, {40, 0}};
        EXPECT_EQ(bLineDrawn, k.m_bDrawn);
        EXPECT_EQ(c.m_arrCurves.size() > 1, k.m_bDrawn) << "the text goes with its layer";
    }
}

TEST(DxfConvert, BlocksInsertingThemselvesAreDrawnOnce) {
    // B inserts itself (an INSERT finds only blocks defined before it or the block it is
    // in, so self-insertion is the cycle a file can form); C nests D, which is drawn.
    const std::string blocks = DxfText(
        {"0",  "SECTION", "2", "BLOCKS", "0", "BLOCK",  "2", "B",     "0", "LINE", "11", "1",
         "0",  "INSERT",  "2", "B",      "0", "ENDBLK", "0", "BLOCK", "2", "D",    "0",  "LINE",
         "11", "2",       "0", "ENDBLK", "0", "BLOCK",  "2", "C",     "0", "LINE", "11", "3",
         "0",  "INSERT",  "2", "D",      "0", "ENDBLK", "0", "ENDSEC"});
    const Converted c =
        Convert(blocks + DxfEntities(DxfText({"0", "INSERT", "2", "B", "0", "INSERT", "2", "C"})));
    ASSERT_TRUE(c.m_result.Ok());
    ASSERT_EQ(c.m_arrCurves.size(), 3u);
    EXPECT_EQ(c.m_result.m_arrSkipped, (CDxfSkipped{{"INSERT of a block into itself (B)", 1}}))
        << "the refused INSERT is told";
    EXPECT_EQ(c.m_arrCurves[0].m_arrPoints.back().x, 40);
    EXPECT_EQ(c.m_arrCurves[1].m_arrPoints.back().x, 120);
    EXPECT_EQ(c.m_arrCurves[2].m_arrPoints.back().x, 80);
}

// A few KB whose INSERTs fan out 10^14 times: the default limits refuse it while the
// process stays within a few hundred MB (it once grew past 1 GB first).
TEST(DxfConvert, AFanOutBombStaysWithinAFewHundredMegabytes) {
    std::string s = DxfText({"0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "2", "B0", "0",
                             "POLYLINE", "66", "1", "70", "0"});
    for (int i = 0; i < 100; ++i)
        s += DxfText({"0", "VERTEX", "10", std::to_string(i), "20", std::to_string(i % 7)});
    s += DxfText({"0", "SEQEND", "0", "ENDBLK"});
    for (int i = 1; i <= 14; ++i) {
        s += DxfText({"0", "BLOCK", "2", "B" + std::to_string(i)});
        for (int k = 0; k < 10; ++k)
            s += DxfText({"0", "INSERT", "2", "B" + std::to_string(i - 1)});
        s += DxfText({"0", "ENDBLK"});
    }
    s += DxfText({"0", "ENDSEC"}) + DxfEntities(DxfText({"0", "INSERT", "2", "B14"}));
    const Converted c = Convert(s);
    EXPECT_EQ(c.m_result.m_nCode, kDxfLoadTooLarge);
    EXPECT_NE(c.m_result.m_strDiag.find("MB"), std::string::npos) << "the message names the limit";
#ifndef __SANITIZE_ADDRESS__ // the sanitizer's shadow memory would blur the figure
    rusage usage{};
    ASSERT_EQ(::getrusage(RUSAGE_SELF, &usage), 0);
    EXPECT_LT(usage.ru_maxrss, 600 * 1024) << "peak resident kB";
#endif
}

TEST(DxfConvert, FanOutOfNestedBlocksIsRefusedBeyondTheLimits) {
    // Every block inserts the one before it ten times: 10^8 lines, or 10^8 points.
    const auto nested = [](const char* pszKind) {
        std::string s = DxfText({"0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "2", "B0", "0",
                                 pszKind, "11", "1", "0", "ENDBLK"});
        for (int i = 1; i <= 8; ++i) {
            s += DxfText({"0", "BLOCK", "2", "B" + std::to_string(i)});
            for (int k = 0; k < 10; ++k)
                s += DxfText({"0", "INSERT", "2", "B" + std::to_string(i - 1)});
            s += DxfText({"0", "ENDBLK"});
        }
        return s + DxfText({"0", "ENDSEC"}) +
               DxfEntities(DxfText({"0", "LINE", "0", "INSERT", "2", "B8"}));
    };
    CDxfLimits limits;
    limits.m_nMaxCurveBytes = 1000 * DxfCurveCost(2);
    limits.m_nMaxEntityVisits = 100'000;
    for (const char* pszKind : {"LINE", "POINT"}) {
        SCOPED_TRACE(pszKind);
        const Converted c = Convert(nested(pszKind), 40, limits);
        EXPECT_EQ(c.m_result.m_nCode, kDxfLoadTooLarge);
        EXPECT_TRUE(c.m_arrCurves.empty()) << "no half drawing is left behind";
    }
    limits.m_nMaxEntityVisits = 2 + 8 * 10 + 10'000'000;
    limits.m_nMaxCurveBytes = 2 * DxfCurveCost(2);
    EXPECT_EQ(
        Convert(DxfEntities(DxfText({"0", "LINE", "0", "LINE"})), 40, limits).m_result.m_nCode, 0);
    EXPECT_EQ(Convert(DxfEntities(DxfText({"0", "LINE", "0", "LINE", "0", "LINE"})), 40, limits)
                  .m_result.m_nCode,
              kDxfLoadTooLarge);
}

// The text's own bytes are drawn, whatever they are: an ETX or HP-GL commands in it are
// characters.
TEST(DxfConvert, ATerminatorInsideATextStaysText) {
    const std::string strText = std::string("AB\x03PU") + std::string(300, '9') + ";";
    const Converted c = Convert(DxfEntities(DxfText({"0", "TEXT", "1", strText})));
    ASSERT_TRUE(c.m_result.Ok()) << c.m_result.m_strDiag;
    EXPECT_GT(c.m_arrCurves.size(), 300u) << "every character is drawn";
    EXPECT_TRUE(c.m_result.m_bOnlyLabels);
}

TEST(DxfConvert, TextsAreDrawnFromMemoryWithoutWritingAFile) {
    test::CScratchDir dir;
    ASSERT_TRUE(test::WriteFileBytes(
        dir.File("t.dxf"), DxfEntities(DxfText({"0", "TEXT", "1", "AB", "0", "LINE", "11", "1"}))));
    CCurveArray arr;
    const CDxfCurvesResult r = ReadDxfCurves(dir.File("t.dxf"), 40, dir.Path().string() + "/", arr);
    ASSERT_TRUE(r.Ok());
    EXPECT_GT(arr.size(), 1u); // the line, then the strokes of "AB"
    // The folder is the installation directory: the reader may put the built-in fonts
    // there, but nothing else.
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "t.dxf" || name == "fon_en.bin" || name == "fon_hz.bin") << name;
    }
}

TEST(DxfConvert, ImportFailureIsReported) {
    const Converted c = Convert(
        DxfTables(DxfText({"0", "TABLE", "2", "LAYER"}) + DxfLayerEntry("0", "7", "DASHED")) +
        DxfEntities(DxfText({"0", "LINE"})));
    EXPECT_EQ(c.m_result.m_nCode, kDxfLoadImport);
    EXPECT_EQ(c.m_result.m_strDiag, "a layer refers to an undefined linetype");
    EXPECT_TRUE(c.m_arrCurves.empty());
}

} // namespace
} // namespace inkvale
