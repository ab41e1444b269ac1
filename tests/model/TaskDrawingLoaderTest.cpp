// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/TaskDrawingLoader.h"

#include "common/TestPaths.h"
#include "import/DxfConvert.h"
#include "model/DxfTaskLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace inkvale {
namespace {

using Points = std::vector<CPoint>;

std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string s;
    for (std::string_view l : lines) {
        s += l;
        s += '\n';
    }
    return s;
}

/// A DXF file whose ENTITIES are LINEs from (x1, y1) to (x2, y2), in millimetres.
std::string DxfLines(std::initializer_list<std::array<const char*, 4>> lines) {
    std::string s = Lines({"0", "SECTION", "2", "ENTITIES"});
    for (const auto& l : lines)
        s += Lines({"0", "LINE", "10", l[0], "20", l[1], "11", l[2], "21", l[3]});
    return s + Lines({"0", "ENDSEC", "0", "EOF"});
}

/// A scratch installation folder with settings that change nothing by themselves.
struct Fixture {
    test::CScratchDir m_dir;
    CSettings m_settings;
    COnePage m_page;

    Fixture() {
        m_settings.m_strInstallDir = m_dir.Path().string() + "/";
        m_settings.DxfUnit = 40;
        m_settings.PaperLenMm = 2100;
        m_settings.PltFileUnit = 0;
        m_settings.AutoMirror = 0;
        m_settings.AutoRotate = 0;
        m_settings.SplitEn = 0;
        m_settings.Language = 1;
    }
    /// Writes the file and makes it the page's source.
    void Source(const std::string& strName, const std::string& strBytes) {
        m_page.m_strPath = m_dir.File(strName);
        EXPECT_TRUE(test::WriteFileBytes(m_page.m_strPath, strBytes));
    }
    CTaskLoadResult Load(bool bShowErrors = true) {
        return LoadTaskDrawing(m_page, m_settings, bShowErrors);
    }
    Points Curve(size_t i) const { return m_page.m_arrCurves.at(i).m_arrPoints; }
};

TEST(TaskDrawingLoader, DxfIsChosenByTheLastThreeCharactersOfALongEnoughPath) {
    struct Case {
        const char* m_pszPath;
        bool m_bDxf;
    };
    const Case cases[] = {
        {"/tmp/x.dxf", true}, {"ab.DXF", true},      {"ab.DxF", true},
        {"a.dxf", false},     {"/tmp/x.plt", false}, {"/tmp/x.dxf.plt", false},
        {"/tmp/adxf", true},  {"文件.dxf", true},    {"文.dxf", false}, // counted in characters
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsDxfPath(c.m_pszPath), c.m_bDxf) << c.m_pszPath;
}

TEST(DxfTaskLoader, JoinsCleansAndMovesToTheOrigin) {
    Fixture f;
    f.Source("t.dxf", DxfLines({{"10", "-5", "20", "-5"}, {"20", "-5", "20", "5"}}));
    f.m_page.m_nPrintState = PS_REPEAT;
    f.m_page.m_nStartMm = 7;
    const CDxfTaskResult r = LoadDxfTask(f.m_page, f.m_settings);
    ASSERT_TRUE(r.Ok()) << r.m_strDiag;
    ASSERT_EQ(f.m_page.m_arrCurves.size(), 1u);
    EXPECT_EQ(f.Curve(0), (Points{{0, 0}, {400, 0}, {400, 400}}));
    EXPECT_EQ(f.m_page.m_nPrintState, PS_WAITING);
    EXPECT_EQ(f.m_page.m_nStartMm, 0);
}

// The load tells when its curves stand as the cleaning leaves them, so that the preparation
// need not clean them again; not after a fold, which joins segments anew.
TEST(DxfTaskLoader, SaysWhenItsCurvesAreCleanAlready) {
    const auto box = [](const COnePage& p) {
        return std::array{p.m_nMinX, p.m_nMinY, p.m_nMaxX, p.m_nMaxY};
    };
    const auto sameCurves = [](const CCurveArray& a, const CCurveArray& b) {
        return std::equal(
            a.begin(), a.end(), b.begin(), b.end(), [](const CCurve& x, const CCurve& y) {
                return x.m_arrPoints == y.m_arrPoints && x.m_nMinX == y.m_nMinX &&
                       x.m_nMaxX == y.m_nMaxX && x.m_nMinY == y.m_nMinY && x.m_nMaxY == y.m_nMaxY;
            });
    };
    const std::string dxf = DxfLines({{"10", "-5", "20", "-5"},
                                      {"20", "-5", "30", "-5"},
                                      {"30", "-5", "30", "90"},
                                      {"5", "5", "5", "5"}});
    Fixture f;
    f.Source("t.dxf", dxf);
    bool bCleaned = false;
    ASSERT_TRUE(LoadDxfTask(f.m_page, f.m_settings, &bCleaned).Ok());
    EXPECT_TRUE(bCleaned);
    const CCurveArray loaded = f.m_page.m_arrCurves;
    const std::array<int32_t, 4> loadedBox = box(f.m_page);
    f.m_page.CleanCurves();
    EXPECT_TRUE(sameCurves(loaded, f.m_page.m_arrCurves));
    EXPECT_EQ(box(f.m_page), loadedBox);

    Fixture folded;
    folded.m_settings.PaperLenMm = 50;
    folded.Source("t.dxf", dxf);
    ASSERT_TRUE(LoadDxfTask(folded.m_page, folded.m_settings, &bCleaned).Ok());
    EXPECT_GT(folded.m_page.m_nMaxX, f.m_page.m_nMaxX) << "the strips lie along X";
    EXPECT_FALSE(bCleaned);
}

TEST(DxfTaskLoader, PositiveSmallestYIsKept) {
    Fixture f;
    f.Source("t.dxf", DxfLines({{"10", "5", "20", "15"}}));
    ASSERT_TRUE(LoadDxfTask(f.m_page, f.m_settings).Ok());
    EXPECT_EQ(f.Curve(0), (Points{{0, 200}, {400, 600}}));
}

TEST(DxfTaskLoader, FailuresLeaveNoDrawing) {
    struct Case {
        const char* m_pszName;
        std::string m_strBytes;
        int m_nStatus;
    };
    const Case cases[] = {
        {"only hatches and 3D faces",
         Lines({"0", "SECTION", "2", "ENTITIES", "0", "HATCH", "0", "3DFACE", "0", "ENDSEC", "0",
                "EOF"}),
         kDxfTaskNoCurves},
        {"layer with an undefined linetype",
         Lines({"0", "SECTION", "2", "TABLES", "0", "TABLE", "2", "LAYER", "0", "LAYER", "2", "0",
                "6", "DASHED", "0", "ENDTAB", "0", "ENDSEC"}) +
             DxfLines({{"0", "0", "1", "1"}}),
         kDxfLoadImport},
        {"absurdly wide for the roll", DxfLines({{"0", "0", "1e6", "1e7"}}), kDxfTaskTooWide},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_pszName);
        Fixture f;
        f.Source("t.dxf", c.m_strBytes);
        const CDxfTaskResult r = LoadDxfTask(f.m_page, f.m_settings);
        EXPECT_EQ(r.m_nCode, c.m_nStatus);
        EXPECT_FALSE(r.m_strDiag.empty());
        EXPECT_TRUE(f.m_page.m_arrCurves.empty());
    }
    // Refused before it is folded, with both widths.
    Fixture wide;
    wide.Source("t.dxf", DxfLines({{"0", "0", "1e6", "1e7"}}));
    EXPECT_NE(LoadDxfTask(wide.m_page, wide.m_settings).m_strDiag.find("10000000 mm wide"),
              std::string::npos);
    Fixture f;
    f.m_page.m_strPath = f.m_dir.File("missing.dxf");
    EXPECT_EQ(LoadDxfTask(f.m_page, f.m_settings).m_nCode, kDxfLoadImport);
}

// A negative unit would mirror the drawing: it is refused. 0 lets the header choose, and
// a header without a unit is in millimetres.
// The fold takes the narrower of the roll and what the machine prints, and says what it
// left out.
TEST(DxfTaskLoader, FoldsToWhatTheMachinePrintsAndCountsWhatItLeftOut) {
    Fixture f;
    f.m_settings.PaperLenMm = 2100;
    f.m_settings.m_nPrintableWidthMm = 1900;
    f.Source("t.dxf", Lines({"0", "SECTION", "2", "ENTITIES", "0", "LINE", "11", "100", "21",
                             "2154", "0", "HATCH", "0", "ENDSEC", "0", "EOF"}));
    ASSERT_TRUE(LoadDxfTask(f.m_page, f.m_settings).Ok());
    EXPECT_LE(f.m_page.m_nMaxY - f.m_page.m_nMinY, 1900 * 40);
    EXPECT_EQ(f.m_page.m_arrNotDrawn, (std::vector<std::pair<std::string, int64_t>>{{"HATCH", 1}}));
}

TEST(DxfTaskLoader, ANegativeUnitIsRefusedAndZeroIsTheHeaders) {
    Fixture f;
    f.m_settings.DxfUnit = -40;
    f.Source("t.dxf", DxfLines({{"10", "5", "20", "15"}}));
    const CDxfTaskResult r = LoadDxfTask(f.m_page, f.m_settings);
    EXPECT_EQ(r.m_nCode, kDxfTaskBadUnit);
    EXPECT_NE(r.m_strDiag.find("DxfUnit"), std::string::npos);
    EXPECT_TRUE(f.m_page.m_arrCurves.empty());

    Fixture automatic;
    automatic.m_settings.DxfUnit = 0;
    automatic.Source("t.dxf", DxfLines({{"10", "5", "20", "15"}}));
    ASSERT_TRUE(LoadDxfTask(automatic.m_page, automatic.m_settings).Ok());
    EXPECT_EQ(automatic.m_page.m_nMaxX - automatic.m_page.m_nMinX, 400) << "10 mm";
}

// Curves that clean away to nothing (a pen down without moving) leave an empty drawing,
// which is told as such instead of reaching the machine as a job of no bands.
// A pen put down on one spot prints a dot, as on a plotter: a stipple plot is not empty.
TEST(TaskDrawingLoader, PenDownOnOneSpotIsADot) {
    Fixture f;
    f.Source("dots.plt", "IN;SP1;PU100,100;PD100,100;PU300,300;PD300,300,300,300;PU;PG;");
    const CTaskLoadResult r = f.Load();
    ASSERT_TRUE(r.Ok()) << r.m_strDiag;
    EXPECT_EQ(f.m_page.m_arrCurves.size(), 2u);
}

// With splitting on, strips are as wide as the roll, or as wide as the machine prints when
// that is narrower: a strip width set wider than the machine prints must not fold a marker
// into strips that are then refused as too wide.
TEST(TaskDrawingLoader, StripsFollowThePrintableWidthWhenItIsNarrower) {
    struct {
        int32_t nPrintableMm; // 0: not known
        int32_t nWidestStrip;
    } const cases[] = {{.nPrintableMm = 0, .nWidestStrip = 2100 * 40},
                       {.nPrintableMm = 1986, .nWidestStrip = 1986 * 40},
                       {.nPrintableMm = 3000, .nWidestStrip = 2100 * 40}};
    for (const auto& c : cases) {
        Fixture f;
        f.m_settings.SplitEn = 1;
        f.m_settings.PaperLenMm = 2100;
        f.m_settings.m_nPrintableWidthMm = c.nPrintableMm;
        f.Source("wide.plt", "IN;SP1;PU0,0;PD40000,0,40000,100000,0,100000,0,0;PU;"); // 2.5 m
        ASSERT_TRUE(f.Load().Ok()) << c.nPrintableMm;
        EXPECT_LE(f.m_page.m_nMaxY, c.nWidestStrip) << c.nPrintableMm;
        EXPECT_GT(f.m_page.m_nMaxY, c.nWidestStrip - 40 * 100) << c.nPrintableMm;
    }
}

TEST(TaskDrawingLoader, DxfWiderThanTheRollIsSplitEvenWithSplittingOff) {
    Fixture f;
    f.m_settings.PaperLenMm = 100; // 4000 units
    f.Source("wide.dxf", DxfLines({{"0", "0", "0", "250"}}));
    f.Source("wide.plt", "IN;PU0,0;PD0,10000;");
    f.m_page.m_strPath = f.m_dir.File("wide.dxf");
    ASSERT_TRUE(f.Load().Ok());
    EXPECT_LE(f.m_page.m_nMaxY, 4000);
    EXPECT_EQ(f.m_page.m_arrCurves.size(), 3u) << "three strips, no cut marks (maxX < 4000)";

    COnePage hpgl;
    hpgl.m_strPath = f.m_dir.File("wide.plt");
    ASSERT_TRUE(LoadTaskDrawing(hpgl, f.m_settings, true).Ok());
    ASSERT_EQ(hpgl.m_arrCurves.size(), 1u) << "an HP-GL drawing is split only with SplitEn";
    EXPECT_EQ(hpgl.m_nMaxY, 10000);
}

TEST(TaskDrawingLoader, UnitFactorAppliesToHpglAndDxfAlike) {
    Fixture f;
    f.m_settings.PltFileUnit = 1;
    f.Source("t.plt", "IN;PU0,0;PD1000,0;");
    ASSERT_TRUE(f.Load().Ok());
    EXPECT_EQ(f.Curve(0), (Points{{0, 0}, {1016, 0}}));

    Fixture g;
    g.m_settings.PltFileUnit = 1;
    g.Source("t.dxf", DxfLines({{"0", "0", "25", "0"}}));
    ASSERT_TRUE(g.Load().Ok());
    EXPECT_EQ(g.Curve(0), (Points{{0, 0}, {1016, 0}}));
}

TEST(TaskDrawingLoader, AutoMirrorMirrorsADxfTask) {
    Fixture f;
    f.m_settings.AutoMirror = 1;
    f.Source("t.dxf", DxfLines({{"0", "0", "10", "10"}}));
    ASSERT_TRUE(f.Load().Ok());
    EXPECT_EQ(f.Curve(0), (Points{{0, 400}, {400, 0}}));
}

TEST(TaskDrawingLoader, TurnedDrawingThatFitsIsNotSplit) {
    // 3000 mm across the roll and 1000 mm along it, on a 2100 mm roll.
    Fixture f;
    f.m_settings.SplitEn = 1;
    f.m_settings.AutoRotate = 1;
    f.Source("t.plt", "IN;PU0,0;PD40000,0,40000,120000,0,120000,0,0;");
    ASSERT_TRUE(f.Load().Ok());
    ASSERT_EQ(f.m_page.m_arrCurves.size(), 1u);
    EXPECT_EQ(f.m_page.m_nMaxY, 40000);
    EXPECT_EQ(f.m_page.m_nMaxX, 120000);
}

TEST(TaskDrawingLoader, PreparationRunsUnitMirrorTurnSplitInThisOrder) {
    Fixture f;
    f.m_settings.PltFileUnit = 1; // x 1.016
    f.m_settings.AutoMirror = 1;
    f.m_settings.SplitEn = 1;
    f.m_settings.AutoRotate = 1;
    f.m_settings.PaperLenMm = 20; // 800 units: the DXF load itself does not split
    f.Source("t.dxf", DxfLines({{"0", "0", "30", "0"}, {"30", "0", "30", "20"}}));
    ASSERT_TRUE(f.Load().Ok());
    // Joined and cleaned: (0,0) (1200,0) (1200,800); scaled: (0,0) (1219,0) (1219,812);
    // mirrored: (0,812) (1219,812) (1219,0); turned: (0,0) (0,1219) (812,1219); split at
    // Y = 800 with strips M + G = 812 + 1200 apart.
    ASSERT_EQ(f.m_page.m_arrCurves.size(), 2u);
    EXPECT_EQ(f.Curve(0), (Points{{0, 0}, {0, 800}}));
    EXPECT_EQ(f.Curve(1), (Points{{2012, 0}, {2012, 419}, {2012, 419}, {2824, 419}}));
}

TEST(TaskDrawingLoader, TaskWithCurvesIsLeftAlone) {
    Fixture f;
    f.Source("t.plt", "IN;PU0,0;PD1000,0;");
    f.m_page.m_arrCurves.emplace_back().AddPoint(5, 5);
    f.m_page.m_nStartMm = 12;
    f.m_page.m_nPrintState = PS_REPEAT;
    EXPECT_TRUE(f.Load().Ok());
    EXPECT_EQ(f.m_page.m_arrCurves.size(), 1u);
    EXPECT_EQ(f.m_page.m_nStartMm, 12);
    EXPECT_EQ(f.m_page.m_nPrintState, PS_REPEAT);
}

TEST(TaskDrawingLoader, SuccessfulLoadResetsStateAndStartPosition) {
    Fixture f;
    f.Source("t.plt", "IN;PU0,0;PD1000,0;");
    f.m_page.m_nStartMm = 12;
    f.m_page.m_nPrintState = PS_REPEAT;
    ASSERT_TRUE(f.Load().Ok());
    EXPECT_EQ(f.m_page.m_nStartMm, 0);
    EXPECT_EQ(f.m_page.m_nPrintState, PS_WAITING);
}

TEST(TaskDrawingLoader, UnreadableHpglShowsTheMessageOnlyWhenAskedTo) {
    // The message names the file, so that the window can say which and why.
    for (const bool bShow : {true, false}) {
        Fixture f;
        f.m_page.m_strPath = f.m_dir.File("missing.plt");
        const std::vector<CMessage> expected =
            bShow ? std::vector<CMessage>{{EMsg::kOpenFileFailed, {f.m_page.m_strPath}}}
                  : std::vector<CMessage>{};
        const CTaskLoadResult r = f.Load(bShow);
        EXPECT_EQ(r.m_nCode, kLoadUnreadable);
        EXPECT_EQ(r.m_arrMessages, expected);
        EXPECT_FALSE(r.m_strDiag.empty());
        EXPECT_TRUE(f.m_page.m_arrCurves.empty());
    }
}

TEST(TaskDrawingLoader, NoRollWidthMeansNoSplit) {
    Fixture f;
    f.m_settings.PaperLenMm = 0;
    f.m_settings.SplitEn = 1;
    f.Source("t.plt", "IN;PU0,0;PD0,1000;");
    ASSERT_TRUE(f.Load().Ok());
    EXPECT_EQ(f.Curve(0), (Points{{0, 0}, {0, 1000}}));
}

// Every DXF file of the real-world corpus loads as a task, or fails for a stated reason.
TEST(TaskDrawingLoader, CorpusDxfFilesLoad) {
    struct Case {
        const char* m_pszFile;
        bool m_bLoads;
    };
    const Case cases[] = {
        {"astm-parser-GMX1416S18_ASTM.DXF", true},
        {"astm-parser-ORILEGWB_AAMA.DXF", true},
        {"astm-parser-ORILEGWB_ASTM.DXF", true},
        {"astm-parser-WM_LOOSE_SHAPE_TANK.DXF", true},
        {"astm-parser-clo-box.dxf", true},
        {"astm-parser-clo-pattern.dxf", true},
        {"ezdxf-AC1003_LINE_Example.dxf", true},
        {"ezdxf-ASCII_R12.dxf", true},
        {"ezdxf-Leica_Disto_S910.dxf", true},
        {"ezdxf-Minimal_DXF_AC1009.dxf", false}, // an empty ENTITIES section: nothing to draw
        {"ezdxf-POLI-ALL210_12.DXF", true},
        {"ezdxf-R12_with_trash_beyond_EOF.dxf", true},
        {"ezdxf-cc_dxflib.dxf", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_pszFile);
        Fixture f;
        f.m_page.m_strPath = (test::CorpusDir() / "dxf" / c.m_pszFile).string();
        const CTaskLoadResult r = f.Load();
        EXPECT_EQ(r.Ok(), c.m_bLoads) << r.m_strDiag;
        EXPECT_EQ(f.m_page.m_arrCurves.empty(), !c.m_bLoads);
        EXPECT_EQ(r.m_nCode == kLoadEmpty, !c.m_bLoads);
        if (!c.m_bLoads) {
            EXPECT_EQ(r.m_strDiag, "the file holds nothing that can be drawn");
        }
    }
}

} // namespace
} // namespace inkvale
