// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/HpglFile.h"

#include "HpglTestSupport.h"
#include "common/TestPaths.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace inkvale {
namespace {

using test::DumpPlotList;

std::string PlotListOf(const std::string& text, int nPltFileUnit = 0) {
    CHpglFile file;
    file.m_nPltFileUnit = nPltFileUnit;
    EXPECT_TRUE(file.ReadMemory(text).Ok()) << text;
    return DumpPlotList(file.PlotList());
}

TEST(HpglExecute, PlotRecords) {
    struct Case {
        const char* input;
        const char* records;
    };
    const Case cases[] = {
        {"IN;PU0,0;PD100,0,100,100;PU200,0;PD300,0;", "21:0,0 20:100,0,100,100 21:200,0 20:300,0"},
        {"PU1,2,3;PD;", "21:2,3 20:3,3"},      // PU takes the last two: a dot at (2, 3)
        {"PU1,2,3;PD7,8,9;", "21:2,3 20:7,8"}, // an odd last parameter is ignored
        {"PA100,100,200,200;", ""},            // pen up: PA only moves
        {"PD;PA10,10,20,20;", "21:0,0 20:10,10,20,20"},
        {"PD1;PA5,5;", "21:0,0 20:5,5"}, // PD with one parameter only lowers the pen
        {"PD10,10;PU;PD20,20;", "21:0,0 20:10,10 21:10,10 20:20,20"},
        {"PD2.5,-2.5,0.49,-0.5;", "21:0,0 20:3,-2,0,0"}, // floor(v + 0.5)
        {"PU5;PD6,6;", "21:0,0 20:6,6"},                 // PU with one parameter does not move
        {"PD3000000000,-3000000000;", "21:0,0 20:2147483647,-2147483648"},
        {"LT;LT1;LT0;LT2,0;LT0,0.5;LT0.4;", "23:0 23:1 23:0 23:0 23:1 23:0"},
        {"SP;SP3;SP2.6;", "24:0 24:3 24:3"},
        {"PG;FR;", "22 22"},
        {"DF;IN;", ""}, // nothing to separate from yet
        {"PG;DF;IN;", "22 23 23"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlotListOf(c.input), c.records) << c.input;
}

TEST(HpglExecute, PenState) {
    CHpglFile file;
    ASSERT_TRUE(file.ReadMemory("PD;PA10,20;PU;PA30,40,50;").Ok());
    EXPECT_EQ(file.m_bPenDown, 0);
    EXPECT_EQ(file.m_nPenX, 40);
    EXPECT_EQ(file.m_nPenY, 50);
    ASSERT_TRUE(file.ReadMemory("PD5,6;IN;").Ok());
    EXPECT_EQ(file.m_bPenDown, 0);
    EXPECT_EQ(file.m_nPenX, 0);
    EXPECT_EQ(file.m_nPenY, 0);
}

TEST(HpglExecute, LabelSettings) {
    struct Case {
        const char* input;
        double dAngle;
        int nOrigin;
        double dWidth, dHeight;
    };
    const Case cases[] = {
        {"DI0,1;", 90.0, 1, 0.285, 0.375},
        {"DI1,1;", 45.0, 1, 0.285, 0.375},
        {"DI0,1;DI;", 0.0, 1, 0.285, 0.375},
        {"DI-1,0;", 180.0, 1, 0.285, 0.375},
        {"DR0,-1;", 90.0, 1, 0.285, 0.375},
        {"DI0,1;DR-1,0;", 0.0, 1, 0.285, 0.375},
        {"DI1,1;DR1,1;", 45.0, 1, 0.285, 0.375},
        {"DI1,1;DR1;", 45.0, 1, 0.285, 0.375},
        {"DI1,1;DR;", 0.0, 1, 0.285, 0.375},
        {"LO5;", 0.0, 5, 0.285, 0.375},
        {"LO19;", 0.0, 19, 0.285, 0.375},
        {"LO5;LO10;", 0.0, 1, 0.285, 0.375},
        {"LO5;LO0;", 0.0, 1, 0.285, 0.375},
        {"LO5;LO;", 0.0, 1, 0.285, 0.375},
        {"SI0.2,0.3;", 0.0, 1, 0.2, 0.3},
        {"SI0.2,0.3;SI;", 0.0, 1, 0.285, 0.375},
        {"SI0.2,0.3;DI0,1;LO7;DF;", 0.0, 1, 0.285, 0.375},
        // SR: percentages of |P2 - P1| (400 plotter units a centimetre), following P1 and P2
        // until SI, IN or DF.
        {"IP0,0,8000,4000;SR2,5;", 0.0, 1, 0.4, 0.5},
        {"IP0,0,40000,20000;SR;", 0.0, 1, 0.75, 0.75},
        {"IP8000,4000,0,0;SR-2,5;", 0.0, 1, 0.4, 0.5},
        {"IP0,0,8000,4000;SR2,5;IP0,0,4000,8000;", 0.0, 1, 0.2, 1.0},
        {"IP0,0,8000,4000;SR2,5;SI;IP0,0,4000,8000;", 0.0, 1, 0.285, 0.375},
        {"IP0,0,8000,4000;SR2,5;DF;", 0.0, 1, 0.285, 0.375},
        {"PS8000,4000;SR2,5;", 0.0, 1, 0.4, 0.5},
        // Without a page or P1 and P2 of the file's own, SR scales the default size.
        {"SR1.5,4.5;", 0.0, 1, 0.57, 1.125},
        {"IP100,100;SR1.5,4.5;", 0.0, 1, 0.57, 1.125},
    };
    for (const Case& c : cases) {
        CHpglFile file;
        ASSERT_TRUE(file.ReadMemory(std::string("IN;") + c.input).Ok()) << c.input;
        EXPECT_NEAR(file.m_dLabelAngle, c.dAngle, 1e-9) << c.input;
        EXPECT_EQ(file.m_nLabelOrigin, c.nOrigin) << c.input;
        EXPECT_DOUBLE_EQ(file.m_dCharWidth, c.dWidth) << c.input;
        EXPECT_DOUBLE_EQ(file.m_dCharHeight, c.dHeight) << c.input;
    }
}

TEST(HpglExecute, UnitChoiceFactors) {
    EXPECT_FALSE(HpglUnitFactor(0, 2.0, 3.0).m_bApply);
    const CHpglUnitFactor f1 = HpglUnitFactor(1, 2.0, 3.0);
    EXPECT_TRUE(f1.m_bApply);
    EXPECT_EQ(f1.m_dX, 1.016);
    EXPECT_EQ(f1.m_dY, 1.016);
    const CHpglUnitFactor f2 = HpglUnitFactor(2, 2.0, 3.0);
    EXPECT_EQ(f2.m_dX, 2.0);
    EXPECT_EQ(f2.m_dY, 3.0);
    const CHpglUnitFactor f3 = HpglUnitFactor(3, 2.0, 3.0);
    EXPECT_EQ(f3.m_dX, 0.4);
    EXPECT_EQ(f3.m_dY, 0.4);
    EXPECT_FALSE(HpglUnitFactor(4, 2.0, 3.0).m_bApply);
    EXPECT_FALSE(HpglUnitFactor(-1, 2.0, 3.0).m_bApply);
}

TEST(HpglExecute, ResetRestoresTheStartState) {
    CHpglFile file;
    file.m_nPltFileUnit = 2;
    ASSERT_TRUE(file.ReadMemory("IP1,2,3,4;SC0,2,0,2;PR;DT#,0;SI1,2;DI0,1;LO3;PD5,5;").Ok());
    file.Reset();
    EXPECT_TRUE(file.PlotList().Empty());
    EXPECT_EQ(file.m_nPenX, 0);
    EXPECT_EQ(file.m_bPenDown, 0);
    EXPECT_EQ(file.m_chTerminator, 3);
    EXPECT_EQ(file.m_nTermMode, 1);
    EXPECT_EQ(file.m_dCharHeight, 0.375);
    EXPECT_EQ(file.m_dCharWidth, 0.285);
    EXPECT_EQ(file.m_dLabelAngle, 0.0);
    EXPECT_EQ(file.m_nLabelOrigin, 1);
    EXPECT_FALSE(file.m_units.Scaling());
    EXPECT_FALSE(file.m_bRelative);
    EXPECT_EQ(file.m_dScaleX, 1.0);
}

// ---- Read: statuses and the file rules ----

TEST(HpglRead, Statuses) {
    test::CScratchDir dir;
    struct Case {
        const char* name;
        std::string bytes;
        int nStatus;
    };
    const Case cases[] = {
        {"five.plt", "IN;PG", kHpglBadLength},
        {"six.plt", "IN;PG;", kHpglReadOk},
        {"empty.plt", "", kHpglBadLength},
        {"df.plt", "IN;DF1;", kHpglRejected},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(test::WriteFileBytes(dir.File(c.name), c.bytes));
        CHpglFile file;
        file.m_strPath = dir.File(c.name);
        EXPECT_EQ(file.Read().m_nCode, c.nStatus) << c.name;
    }
    CHpglFile missing;
    missing.m_strPath = dir.File("missing.plt");
    EXPECT_EQ(missing.Read().m_nCode, kHpglCannotOpen);
    CHpglFile folder;
    folder.m_strPath = dir.Path().string();
    EXPECT_EQ(folder.Read().m_nCode, kHpglCannotOpen);

    CHpglFile six;
    six.m_strPath = dir.File("six.plt");
    ASSERT_TRUE(six.Read().Ok());
    EXPECT_EQ(DumpPlotList(six.PlotList()), "22");
}

TEST(HpglRead, LengthLimitIsTheWholeSize) {
    test::CScratchDir dir;
    // Sparse files: NUL bytes are ignored by the tokeniser, so only the length matters.
    const std::string atLimit = dir.File("limit.plt");
    const std::string beyond = dir.File("beyond.plt");
    const std::string huge = dir.File("huge.plt");
    ASSERT_TRUE(test::WriteFileBytes(atLimit, "IN;PG;"));
    ASSERT_TRUE(test::WriteFileBytes(beyond, "IN;PG;"));
    ASSERT_TRUE(test::WriteFileBytes(huge, "IN;PG;"));
    ASSERT_EQ(::truncate(atLimit.c_str(), kHpglMaxFileBytes), 0);
    ASSERT_EQ(::truncate(beyond.c_str(), kHpglMaxFileBytes + 1), 0);
    // 4 GiB + 10 bytes: its low 32 bits alone would look like a 10-byte file.
    ASSERT_EQ(::truncate(huge.c_str(), (int64_t{1} << 32) + 10), 0);

    CHpglFile file;
    file.m_strPath = atLimit;
    const CHpglReadResult r = file.Read();
    EXPECT_TRUE(r.Ok());
    EXPECT_EQ(DumpPlotList(file.PlotList()), "22");
    file.m_strPath = beyond;
    EXPECT_EQ(file.Read().m_nCode, kHpglBadLength);
    file.m_strPath = huge;
    EXPECT_EQ(file.Read().m_nCode, kHpglBadLength);
}

TEST(HpglRead, FileStillBeingWrittenIsNotRead) {
    test::CScratchDir dir;
    const std::string path = dir.File("copying.plt");
    std::ofstream writer(path, std::ios::binary);
    writer << "IN;PU0,0;PD10,10;" << std::flush;
    CHpglFile file;
    file.m_strPath = path;
    EXPECT_EQ(file.Read().m_nCode, kHpglCannotOpen);
    writer.close();
    EXPECT_TRUE(file.Read().Ok());
    EXPECT_EQ(DumpPlotList(file.PlotList()), "21:0,0 20:10,10");
}

TEST(HpglRead, FailedReadKeepsWhatWasProducedBefore) {
    CHpglFile file;
    const CHpglReadResult r = file.ReadMemory("PD1,1;PG;DF2;PD5,5;");
    EXPECT_EQ(r.m_nCode, kHpglRejected);
    EXPECT_EQ(DumpPlotList(file.PlotList()), "21:0,0 20:1,1 22");
}

TEST(HpglRead, ReadStartsFromAnEmptyPlotList) {
    test::CScratchDir dir;
    ASSERT_TRUE(test::WriteFileBytes(dir.File("a.plt"), "PD1,1;PG;"));
    CHpglFile file;
    file.m_strPath = dir.File("a.plt");
    ASSERT_TRUE(file.Read().Ok());
    ASSERT_TRUE(file.Read().Ok());
    EXPECT_EQ(DumpPlotList(file.PlotList()), "21:0,0 20:1,1 22");
    file.m_strPath = dir.File("gone.plt");
    EXPECT_EQ(file.Read().m_nCode, kHpglCannotOpen);
    EXPECT_TRUE(file.PlotList().Empty());
}

} // namespace
} // namespace inkvale

namespace inkvale {
namespace {

// ---- Labels: drawn with the built-in stroke fonts ----

TEST(HpglLabel, StrokesGoIntoThePlotListAndThePenStays) {
    CHpglFile file;
    ASSERT_TRUE(file.ReadMemory("IN;PU1000,2000;LBAB\x03;PD1000,3000;").Ok());
    const CHpglPlotList& list = file.PlotList();
    ASSERT_GE(list.Size(), 4u);
    size_t nMoves = 0;
    for (size_t i = 0; i + 2 < list.Size(); ++i) {
        const CHpglPlotList::CRecord& r = list[i];
        ASSERT_TRUE(r.m_nKind == CHpglPlotList::kMove || r.m_nKind == CHpglPlotList::kPolyline);
        if (r.m_nKind == CHpglPlotList::kMove) {
            ++nMoves;
            EXPECT_EQ(list[i + 1].m_nKind, CHpglPlotList::kPolyline) << "a stroke follows a move";
        }
        // The glyphs lie near the pen position (character height 0.375 cm = 150 units).
        for (uint32_t k = 0; k + 1 < r.m_nCount; k += 2) {
            EXPECT_NEAR(list.Data(r)[k], 1000 + 150, 200);
            EXPECT_NEAR(list.Data(r)[k + 1], 2000 + 75, 100);
        }
    }
    EXPECT_GE(nMoves, 2u) << "A and B need at least one stroke each";
    // PD afterwards starts from the pen position, which the label did not move.
    EXPECT_EQ(DumpPlotList(list).substr(DumpPlotList(list).rfind("21:")),
              "21:1000,2000 20:1000,3000");
}

TEST(HpglLabel, ContinuedLabelIsDrawnOnce) {
    CHpglFile once;
    ASSERT_TRUE(once.ReadMemory("IN;PU0,0;LBABCD\x03").Ok());
    CHpglFile joined;
    ASSERT_TRUE(joined.ReadMemory("IN;PU0,0;LBAB\x03LBCD\x03").Ok());
    CHpglFile atEnd;
    ASSERT_TRUE(atEnd.ReadMemory("IN;PU0,0;LBABCD").Ok());
    EXPECT_FALSE(once.PlotList().Empty());
    EXPECT_EQ(DumpPlotList(joined.PlotList()), DumpPlotList(once.PlotList()));
    EXPECT_EQ(DumpPlotList(atEnd.PlotList()), DumpPlotList(once.PlotList()));
}

TEST(HpglLabel, LabelsBecomeCurves) {
    CHpglFile file;
    ASSERT_TRUE(file.ReadMemory("IN;PU400,400;LBHI\x03").Ok());
    CCurveArray curves;
    file.ToCurves(curves, 0);
    EXPECT_GE(curves.size(), 3u) << "H takes at least two strokes and I one";
}

} // namespace
} // namespace inkvale

namespace inkvale {
namespace {

TEST(HpglLabel, LabelFloodStopsAtTheListLimit) {
    // 2.5 MB of 512-character labels would make tens of millions of strokes.
    std::string text = "IN;PU100,100;";
    while (text.size() < 2'500'000)
        text += "LB" + std::string(512, 'W') + "\x03;";
    CHpglFile file;
    const CHpglReadResult r = file.ReadMemory(text);
    EXPECT_EQ(r.m_nCode, kHpglRejected);
    EXPECT_TRUE(r.Says(EMsg::kDataOverflow));
    EXPECT_LE(file.PlotList().ValueCount(), CHpglPlotList::kMaxValues);
    EXPECT_LE(file.PlotList().Size(), CHpglPlotList::kMaxRecords);

    // Read straight into curves, the list is emptied part by part: the limit still counts
    // everything read.
    CHpglFile parts;
    CCurveArray curves;
    const CHpglReadResult streamed = parts.ReadMemoryCurves(text, curves, 0);
    EXPECT_EQ(streamed.m_nCode, kHpglRejected);
    EXPECT_TRUE(streamed.Says(EMsg::kDataOverflow));
    size_t nVertices = 0;
    for (const CCurve& c : curves)
        nVertices += c.m_arrPoints.size();
    EXPECT_LE(nVertices, CHpglPlotList::kMaxValues / 2 + curves.size());

    // The same from a file, whose curves are built on a second thread.
    const test::CScratchDir scratch;
    ASSERT_TRUE(test::WriteFileBytes(scratch.File("flood.plt"), text));
    CHpglFile piped;
    piped.m_strPath = scratch.File("flood.plt");
    CCurveArray pipedCurves;
    const CHpglReadResult fromFile = piped.ReadCurves(pipedCurves, 0);
    EXPECT_EQ(fromFile.m_nCode, kHpglRejected);
    EXPECT_TRUE(fromFile.Says(EMsg::kDataOverflow));
}

} // namespace
} // namespace inkvale
