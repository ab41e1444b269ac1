// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/HpglWriter.h"

#include "common/TestPaths.h"
#include "import/HpglFile.h"
#include "model/OnePage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <vector>

namespace inkvale {
namespace {

struct CurveSpec {
    int pen;
    int lineType;
    std::vector<CPoint> points;
};

COnePage PageOf(const std::vector<CurveSpec>& specs) {
    COnePage page;
    for (const CurveSpec& s : specs) {
        CCurve c;
        c.m_nPen = s.pen;
        c.m_nLineType = s.lineType;
        c.m_arrPoints = s.points;
        page.m_arrCurves.push_back(std::move(c));
    }
    return page;
}

TEST(HpglWriter, FormatCases) {
    struct Case {
        const char* name;
        std::vector<CurveSpec> curves;
        const char* text;
    };
    const Case cases[] = {
        {"empty page", {}, "IN;SP1;PG;"},
        {"one segment", {{1, 0, {{0, 0}, {400, 0}}}}, "IN;SP1;PU0,0;PD0,0,400,0;PG;"},
        {"three vertices, negative",
         {{1, 0, {{-5, 7}, {10, -20}, {3, 4}}}},
         "IN;SP1;PU-5,7;PD-5,7,10,-20,3,4;PG;"},
        {"single vertex", {{1, 0, {{8, 9}}}}, "IN;SP1;PU8,9;PD8,9;PG;"},
        {"pen changes only when it differs",
         {{1, 0, {{0, 0}, {1, 1}}},
          {2, 0, {{2, 2}, {3, 3}}},
          {2, 0, {{4, 4}, {5, 5}}},
          {1, 0, {{6, 6}, {7, 7}}}},
         "IN;SP1;PU0,0;PD0,0,1,1;SP2;PU2,2;PD2,2,3,3;PU4,4;PD4,4,5,5;SP1;PU6,6;PD6,6,7,7;PG;"},
        {"line type changes",
         {{1, 0, {{0, 0}, {1, 0}}}, {1, 1, {{1, 0}, {2, 0}}}, {1, 0, {{2, 0}, {3, 0}}}},
         "IN;SP1;PU0,0;PD0,0,1,0;LT1;PU1,0;PD1,0,2,0;LT0;PU2,0;PD2,0,3,0;PG;"},
        {"curve without vertices writes only its changes",
         {{3, 1, {}}, {3, 1, {}}, {1, 1, {{0, 0}, {1, 1}}}},
         "IN;SP1;SP3;LT1;SP1;PU0,0;PD0,0,1,1;PG;"},
        {"extreme coordinates",
         {{1, 0, {{-2147483647 - 1, 2147483647}, {0, 0}}}},
         "IN;SP1;PU-2147483648,2147483647;PD-2147483648,2147483647,0,0;PG;"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatHpgl(PageOf(c.curves)), c.text) << c.name;
}

TEST(HpglWriter, WritesTheFileAndReplacesOldContent) {
    test::CScratchDir dir;
    const std::string path = dir.File("out.plt");
    ASSERT_TRUE(test::WriteFileBytes(path, std::string(5000, 'x')));
    const COnePage page = PageOf({{2, 1, {{0, 0}, {400, 0}, {400, 400}}}});
    const CWriteResult res = WriteHpgl(page, path);
    EXPECT_TRUE(res.Ok());
    EXPECT_EQ(test::ReadFileBytes(path), FormatHpgl(page));
}

TEST(HpglWriter, LargeDrawingIsWrittenInPiecesIdenticalToTheText) {
    COnePage page;
    for (int i = 0; i < 40000; ++i)
        page.m_arrCurves.push_back(
            PageOf({{1 + i % 3, i % 2, {{i, -i}, {i + 400, 123456}}}}).m_arrCurves.front());
    test::CScratchDir dir;
    const std::string path = dir.File("big.plt");
    ASSERT_TRUE(WriteHpgl(page, path).Ok());
    const std::string text = FormatHpgl(page);
    EXPECT_GT(text.size(), 1u << 20); // beyond one buffer flush
    EXPECT_EQ(test::ReadFileBytes(path), text);
}

TEST(HpglWriter, UncreatableFileGivesFileOpenError) {
    test::CScratchDir dir;
    const CWriteResult res = WriteHpgl(COnePage{}, dir.File("missing/out.plt"));
    EXPECT_FALSE(res.Ok());
    EXPECT_LT(res.m_nCode, 0);
    EXPECT_TRUE(res.Says(EMsg::kFileOpenError));
}

TEST(HpglWriter, WriteFailureIsReported) {
    // /dev/full accepts the open and fails every write.
    std::FILE* probe = std::fopen("/dev/full", "wb");
    if (!probe)
        GTEST_SKIP() << "/dev/full is not available";
    std::fclose(probe);
    const CWriteResult res = WriteHpgl(PageOf({{1, 0, {{0, 0}, {1, 1}}}}), "/dev/full");
    EXPECT_FALSE(res.Ok());
    EXPECT_TRUE(res.Says(EMsg::kFileWriteError));
}

TEST(HpglWriter, ReadsBackThroughTheHpglReader) {
    // The reader keeps line types and vertices (every pen becomes 1); the pen-down list
    // repeats vertex 0, so each curve comes back with its first vertex doubled.
    std::mt19937 rng(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    COnePage page;
    for (int i = 0; i < 50; ++i) {
        CurveSpec spec{pick(1, 4), pick(0, 1), {}};
        const int n = pick(1, 8);
        for (int k = 0; k < n; ++k)
            spec.points.push_back({pick(-800000, 800000), pick(-80000, 80000)});
        page.m_arrCurves.push_back(PageOf({spec}).m_arrCurves.front());
    }
    CHpglFile reader;
    ASSERT_TRUE(reader.ReadMemory(FormatHpgl(page)).Ok());
    CCurveArray back;
    reader.ToCurves(back, 0);
    ASSERT_EQ(back.size(), page.m_arrCurves.size());
    for (size_t i = 0; i < back.size(); ++i) {
        const std::vector<CPoint>& sent = page.m_arrCurves[i].m_arrPoints;
        std::vector<CPoint> expected(sent.begin(), sent.begin() + 1);
        expected.insert(expected.end(), sent.begin(), sent.end());
        // A one-vertex curve is a pen put down on one spot: it comes back as a dot, one
        // plotter unit long, as a plotter prints it.
        if (sent.size() == 1)
            expected.insert(expected.end(), {sent[0], {sent[0].x + 1, sent[0].y}});
        EXPECT_EQ(back[i].m_arrPoints, expected) << "curve " << i;
        EXPECT_EQ(back[i].m_nLineType, page.m_arrCurves[i].m_nLineType) << "curve " << i;
    }
}

} // namespace
} // namespace inkvale
