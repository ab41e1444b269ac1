// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/HpglCurveBuilder.h"
#include "import/HpglFile.h"

#include "HpglTestSupport.h"
#include "common/TestPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

namespace inkvale {
namespace {

using test::DumpCurves;

CCurveArray CurvesOf(const std::string& text, int nPGCmdType, CCurveArray curves = {}) {
    CHpglFile file;
    EXPECT_TRUE(file.ReadMemory(text).Ok()) << text;
    file.ToCurves(curves, nPGCmdType);
    for (const CCurve& c : curves)
        EXPECT_EQ(c.m_nPen, 1) << text;
    return curves;
}

TEST(HpglToCurves, CurveBuilding) {
    struct Case {
        const char* input;
        int nPGCmdType;
        const char* curves; // "linetype:x,y x,y|..."
    };
    const Case cases[] = {
        {"IN;PU0,0;PD100,0,100,100;PU200,0;PD300,0;", 0, "0:0,0 100,0 100,100|0:200,0 300,0"},
        // A draw that starts where the last ended continues the curve; the joint repeats.
        {"PU0,0;PD10,10;PD20,20;", 0, "0:0,0 10,10 10,10 20,20"},
        {"PD10,10;PU;PD20,20;", 0, "0:0,0 10,10 10,10 20,20"},
        {"PD10,10;PU10,10;PD20,20;", 0, "0:0,0 10,10 10,10 20,20"},
        {"PD10,10;PU11,10;PD20,20;", 0, "0:0,0 10,10|0:11,10 20,20"},
        // A line type applies from the next new curve on.
        {"LT1;PU0,0;PD100,0;", 0, "1:0,0 100,0"},
        {"LT1;PU0,0;PD100,0;LT;PD200,0;PU0,50;PD10,50;", 0, "1:0,0 100,0 100,0 200,0|0:0,50 10,50"},
        {"PU0,0;PD1,0;LT1;PU5,0;PD6,0;LT0;PU9,0;PD9,9;", 0, "0:0,0 1,0|1:5,0 6,0|0:9,0 9,9"},
        // Pages: over the same origin, or one after another along X.
        {"PU0,0;PD4000,0,0,10;PG;PU0,0;PD100,100;", 0, "0:0,0 4000,0 0,10|0:0,0 100,100"},
        {"PU0,0;PD4000,0,0,10;PG;PU0,0;PD100,100;", 1, "0:0,0 4000,0 0,10|0:4000,0 4100,100"},
        {"PU0,0;PD10,0;PG;PU0,0;PD10,0;PG;PU-5,0;PD0,0;", 1, "0:0,0 10,0|0:10,0 20,0|0:15,0 20,0"},
        {"PG;PU0,0;PD5,5;", 1, "0:0,0 5,5"}, // nothing before the first page break
        {"LT1;PU0,0;PD10,0;PG;PU0,0;PD5,5;", 0, "1:0,0 10,0|0:0,0 5,5"},
        {"PU0,0;PD10,0;PG;PD5,5;", 0, "0:0,0 10,0|0:10,0 5,5"}, // the pen stays where it was
        // Offsets are held at the int32 limit instead of wrapping around.
        {"PU0,0;PD2147483000,0;PG;PU0,0;PD1000,0;", 1,
         "0:0,0 2147483000,0|0:2147483000,0 2147483647,0"},
        {"PD;PU5,5;PG;", 0, "0:0,0 1,0"}, // the pen went down on one spot: a dot
        {"SP2;PU0,0;PD1,1;SP3;PD2,2;", 0, "0:0,0 1,1 1,1 2,2"}, // pens do not split curves
    };
    for (const Case& c : cases)
        EXPECT_EQ(DumpCurves(CurvesOf(c.input, c.nPGCmdType)), c.curves) << c.input;
}

TEST(HpglToCurves, AppendsAfterTheCurvesAlreadyThere) {
    CCurveArray page(1);
    page[0].m_arrPoints = {{0, 0}, {500, 7}};
    const CCurveArray curves = CurvesOf("PG;PU0,0;PD1,1;", 1, page);
    EXPECT_EQ(DumpCurves(curves), "0:0,0 500,7|0:500,0 501,1");
    EXPECT_EQ(curves[0].m_nMaxX, 500) << "the page's extents were recomputed";
}

TEST(HpglToCurves, RecordsWithoutAMoveStillMakeCurves) {
    // Label strokes arrive as move + polyline; a polyline may also follow another directly.
    CHpglPlotList list;
    list.BeginPolyline();
    list.AppendPoint(1, 2);
    list.AppendPoint(3, 4);
    list.AddMove(3, 4);
    list.AppendPoint(5, 6); // no polyline record at the end: one is started
    list.AddLineType(1);
    list.AddMove(9, 9);
    list.AddLineType();
    list.AppendPoint(10, 10);
    CCurveArray curves;
    CHpglCurveBuilder builder(curves, false);
    builder.Build(list);
    EXPECT_EQ(DumpCurves(curves), "0:1,2 3,4 3,4 5,6|1:9,9 10,10");
}

TEST(HpglToCurves, CleaningAfterwardsRemovesTheJoints) {
    CCurveArray curves = CurvesOf("PU0,0;PD10,10;PD20,20;", 0);
    ASSERT_EQ(curves.size(), 1u);
    curves[0].RemoveDuplicates();
    EXPECT_EQ(DumpCurves(curves), "0:0,0 10,10 20,20");
    curves[0].RemoveCollinear();
    EXPECT_EQ(DumpCurves(curves), "0:0,0 20,20");
}

// ---- The real-world corpus ----

struct CSummary {
    size_t nCurves = 0;
    size_t nDashed = 0;
    size_t nVertices = 0;
    size_t nCleaned = 0; // curves with two or more vertices once duplicates are gone
    int32_t nMinX = INT_MAX, nMaxX = INT_MIN, nMinY = INT_MAX, nMaxY = INT_MIN;
};

CSummary Summarise(const CCurveArray& curves) {
    CSummary s;
    s.nCurves = curves.size();
    for (CCurve c : curves) {
        s.nDashed += c.m_nLineType == 1 ? 1 : 0;
        s.nVertices += c.m_arrPoints.size();
        for (const CPoint& p : c.m_arrPoints) {
            s.nMinX = std::min(s.nMinX, p.x);
            s.nMaxX = std::max(s.nMaxX, p.x);
            s.nMinY = std::min(s.nMinY, p.y);
            s.nMaxY = std::max(s.nMaxY, p.y);
        }
        c.RemoveDuplicates();
        s.nCleaned += c.m_arrPoints.size() >= 2 ? 1 : 0;
    }
    return s;
}

TEST(HpglCorpus, EveryFileLoads) {
    const auto dir = test::CorpusDir() / "hpgl";
    ASSERT_TRUE(std::filesystem::is_directory(dir)) << dir;
    size_t nFiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        CHpglFile file;
        file.m_strPath = entry.path().string();
        const CHpglReadResult r = file.Read();
        EXPECT_TRUE(r.Ok()) << entry.path() << " status " << r.m_nCode;
        CCurveArray curves;
        file.ToCurves(curves, 1);
        EXPECT_FALSE(curves.empty()) << entry.path().filename();
        ++nFiles;
    }
    EXPECT_GE(nFiles, 11u);
}

// Facts counted over the file text by a separate script (a small model of PU/PD/PA with
// pen state, continuation at the last vertex, LT and PG), not taken from this reader. The
// same model counts the pen-down episodes without a move, each a dot of two vertices:
// 4 in inter.hp, 8 in acad.hp (where they had been curves of one point).
TEST(HpglCorpus, FactsCheckedByOtherMeans) {
    struct Case {
        const char* name;
        size_t nCurves, nCleaned, nDashed, nVertices;
        int32_t nMinX, nMaxX, nMinY, nMaxY;
    };
    const Case cases[] = {
        {"inkcut-test.hpgl", 162, 162, 0, 20358, 150, 1592, 150, 5378},
        {"hp2xx-inter.hp", 919 + 4, 919 + 4, 1, 6894 + 2 * 4, 81, 7550, 104, 7232},
        {"hp2xx-acad.hp", 333, 325 + 8, 0, 3974 + 2 * 8, 3046, 7311, 2520, 6179},
    };
    for (const Case& c : cases) {
        CHpglFile file;
        file.m_strPath = (test::CorpusDir() / "hpgl" / c.name).string();
        ASSERT_TRUE(file.Read().Ok()) << c.name;
        CCurveArray curves;
        file.ToCurves(curves, 0);
        const CSummary s = Summarise(curves);
        EXPECT_EQ(s.nCurves, c.nCurves) << c.name;
        EXPECT_EQ(s.nCleaned, c.nCleaned) << c.name;
        EXPECT_EQ(s.nDashed, c.nDashed) << c.name;
        EXPECT_EQ(s.nVertices, c.nVertices) << c.name;
        EXPECT_EQ(s.nMinX, c.nMinX) << c.name;
        EXPECT_EQ(s.nMaxX, c.nMaxX) << c.name;
        EXPECT_EQ(s.nMinY, c.nMinY) << c.name;
        EXPECT_EQ(s.nMaxY, c.nMaxY) << c.name;
    }
}

} // namespace
} // namespace inkvale

namespace inkvale {
namespace {

// Files cut short anywhere, and random bytes, read and convert without harm (the sanitizer
// build of the suite checks the memory accesses).
TEST(HpglCorpus, TruncatedAndRandomInputs) {
    for (const char* name : {"hp2xx-dt.plt", "hp2xx-at.hpg", "hp2xx-arcs.hp"}) {
        const std::string bytes = test::ReadFileBytes(test::CorpusDir() / "hpgl" / name);
        ASSERT_FALSE(bytes.empty()) << name;
        for (size_t n = 0; n <= bytes.size(); ++n) {
            CHpglFile file;
            const CHpglReadResult r = file.ReadMemory(std::string_view(bytes).substr(0, n));
            EXPECT_EQ(r.m_nCode, n < 6 ? kHpglBadLength : kHpglReadOk) << name << " cut at " << n;
            CCurveArray curves;
            file.ToCurves(curves, 1);
        }
    }
    const std::string_view alphabet = "PDUALBTF0123456789,;.-\x03\x1b ";
    std::mt19937 rng(7);
    for (int i = 0; i < 300; ++i) {
        std::string bytes(6 + rng() % 3000, '\0');
        const bool bText = i % 2 == 0; // half of them from HP-GL's own characters
        for (char& c : bytes)
            c = bText ? alphabet[rng() % alphabet.size()] : static_cast<char>(rng());
        CHpglFile file;
        const CHpglReadResult r = file.ReadMemory(bytes);
        EXPECT_TRUE(r.m_nCode == kHpglReadOk || r.m_nCode == kHpglRejected);
        CCurveArray curves;
        file.ToCurves(curves, i % 2);
    }
}

} // namespace
} // namespace inkvale

namespace inkvale {
namespace {

// A drawing read straight into curves passes its plot list to the builder in parts; the
// curves must be those of the whole list, whatever falls on a part's boundary: a polyline
// continued by the next move, a page break laid along X, a line type in force, label
// strokes, an IN after a part was emptied.
TEST(HpglToCurves, ReadingInPartsGivesTheCurvesOfTheWholeList) {
    std::mt19937 rng(11);
    std::string text = "IN;SP1;";
    int x = 0;
    int y = 0;
    while (text.size() < 3'000'000) {
        switch (rng() % 10) {
        case 0:
            text += "PG;";
            break;
        case 1: // IN ends a dashed line type only when something was drawn before
            text += rng() % 4 == 0 ? "IN;" : rng() % 2 ? "LT;" : "LT2,1;";
            break;
        case 2:
            text += "LBAB1\x03;";
            break;
        case 3: // a move away, or to where the pen already is
            if (rng() % 2) {
                x = static_cast<int>(rng() % 50000);
                y = static_cast<int>(rng() % 50000);
            }
            text += "PU" + std::to_string(x) + "," + std::to_string(y) + ";";
            break;
        default:
            text += "PD";
            for (int k = 1 + static_cast<int>(rng() % 40); k > 0; --k) {
                x += static_cast<int>(rng() % 201) - 100;
                y += static_cast<int>(rng() % 201) - 100;
                text += std::to_string(x) + "," + std::to_string(y) + (k > 1 ? "," : ";");
            }
            break;
        }
    }
    ASSERT_GT(static_cast<int64_t>(text.size()), CHpglFile::kPipeFileBytes);
    const test::CScratchDir scratch;
    ASSERT_TRUE(test::WriteFileBytes(scratch.File("marker.plt"), text));
    for (const int nPGCmdType : {0, 1}) {
        CHpglFile whole;
        ASSERT_TRUE(whole.ReadMemory(text).Ok());
        ASSERT_GT(whole.PlotList().ValueCount(), 8 * CHpglFile::kPartValues) << "several parts";
        CCurveArray expected(3); // appended after curves already there
        whole.ToCurves(expected, nPGCmdType);
        CHpglFile parts;
        CCurveArray curves(3);
        ASSERT_TRUE(parts.ReadMemoryCurves(text, curves, nPGCmdType).Ok());
        ASSERT_EQ(curves.size(), expected.size()) << nPGCmdType;
        EXPECT_EQ(DumpCurves(curves), DumpCurves(expected)) << nPGCmdType;
        EXPECT_EQ(parts.DrewOnlyLabels(), whole.DrewOnlyLabels());
        // A large file has its curves built on a second thread while it is read.
        CHpglFile piped;
        piped.m_strPath = scratch.File("marker.plt");
        CCurveArray pipedCurves(3);
        ASSERT_TRUE(piped.ReadCurves(pipedCurves, nPGCmdType).Ok());
        EXPECT_EQ(DumpCurves(pipedCurves), DumpCurves(expected)) << nPGCmdType;
        EXPECT_EQ(piped.DrewOnlyLabels(), whole.DrewOnlyLabels());
    }
}

} // namespace
} // namespace inkvale
