// SPDX-License-Identifier: GPL-3.0-or-later
// The preflight of a task: its figures, a table of the warnings and what raises each
// (a real marker read 25.4 times too small among them), duplicates in the lists, and the
// queue's totals.

#include "queue/Preflight.h"
#include "common/TestPaths.h"
#include "model/TaskLists.h"
#include "model/TaskDrawingLoader.h"

#include <gtest/gtest.h>

#include <cmath>

#include <memory>
#include <string>

namespace inkvale::test {
namespace {

const std::string kTank = (CorpusDir() / "dxf/astm-parser-WM_LOOSE_SHAPE_TANK.DXF").string();

COnePage Lines(std::initializer_list<std::pair<CPoint, CPoint>> lines) {
    COnePage page;
    page.m_strPath = "/nonexistent/lines.plt";
    page.m_strName = "lines.plt";
    for (const auto& [a, b] : lines) {
        CCurve c;
        c.AddPoint(a.x, a.y);
        c.AddPoint(b.x, b.y);
        page.m_arrCurves.push_back(c);
    }
    page.CalcExtents();
    return page;
}

class Preflight : public ::testing::Test {
protected:
    void SetUp() override {
        m_settings.DxfUnit = 400; // the tank top is drawn in centimetres
        m_params.ResetMachineParams();
    }
    COnePage Tank() {
        COnePage page;
        page.m_strPath = kTank;
        page.m_strName = "tank.dxf";
        EXPECT_TRUE(LoadTaskDrawing(page, m_settings, false).Ok());
        return page;
    }
    CSettings m_settings;
    CMachineParams m_params;
};

TEST_F(Preflight, FiguresOfARealMarker) {
    const CPreflight p = RunPreflight(Tank(), m_settings, m_params);
    ASSERT_TRUE(p.m_bDone);
    EXPECT_TRUE(p.m_arrWarnings.empty());
    const CPreflightFigures& f = p.m_figures;
    EXPECT_GT(f.m_dLengthMm, 400.0);
    EXPECT_LT(f.m_dLengthMm, 2000.0);
    EXPECT_GT(f.m_nBands, f.m_dLengthMm / 25.4);          // 300-pixel bands at 300 dpi
    EXPECT_GT(f.m_dPaperMm, f.m_dLengthMm + 100.0 - 1.0); // the lead-in and out: 50 mm each
    EXPECT_GT(f.m_dSeconds, f.m_nBands * 0.05);           // at least the host's own waits
    EXPECT_GT(f.m_nDots, 10000);
    EXPECT_GT(f.m_arrInkMl[0], 0.0);
    EXPECT_DOUBLE_EQ(f.m_arrInkMl[0], f.m_arrInkMl[1]); // two heads share the work
    EXPECT_EQ(f.m_arrInkMl[2], 0.0);
}

TEST_F(Preflight, EachWarningAndWhatRaisesIt) {
    COnePage inches = Tank(); // the same marker read as if it were drawn in inches
    inches.ScaleAll(1 / 25.4, 1 / 25.4);
    inches.CalcExtents();
    const struct {
        const char* m_pszWhat;
        COnePage m_page;
        EPreflightKind m_eKind;
        bool m_bBlocking;
        EMsg m_eMsg;
    } cases[] = {
        {"a real marker 25.4 times too small", inches, EPreflightKind::kScale, false,
         EMsg::kPreflightScale},
        {"a 2.5 m wide drawing", Lines({{{0, 0}, {40000, 100000}}}), EPreflightKind::kTooWide, true,
         EMsg::kPreflightTooWide},
        {"a 200 m marker", Lines({{{0, 0}, {8'000'000, 40000}}}), EPreflightKind::kScale, false,
         EMsg::kPreflightScale},
        {"a 1 mm speck: no unit makes it a marker", Lines({{{0, 0}, {40, 40}}}),
         EPreflightKind::kScale, false, EMsg::kPreflightOddSize},
        {"parts below the paper", Lines({{{0, -400}, {40000, 4000}}}), EPreflightKind::kOutside,
         false, EMsg::kPreflightOutside},
        {"nothing to print", COnePage(), EPreflightKind::kEmpty, true, EMsg::kDrawingEmpty},
    };
    for (const auto& c : cases) {
        const CPreflight p = RunPreflight(c.m_page, m_settings, m_params);
        ASSERT_TRUE(p.Has(c.m_eKind)) << c.m_pszWhat;
        EXPECT_EQ(p.Blocking(), c.m_bBlocking) << c.m_pszWhat;
        for (const CPreflightWarning& w : p.m_arrWarnings) {
            if (w.m_eKind == c.m_eKind) {
                EXPECT_EQ(w.m_message.m_eId, c.m_eMsg) << c.m_pszWhat;
            }
        }
    }
    // What the loader saw in the file: a drawing of labels alone, and one that reached below
    // the paper's edge before the origin rule moved it up.
    const CScratchDir dir;
    const struct {
        const char* m_pszWhat;
        const char* m_pszFile;
        std::string m_strText;
        EPreflightKind m_eKind;
    } files[] = {
        {"labels alone", "labels.plt", "IN;SP1;PA1000,1000;SI0.5,0.7;LBPIECE 12 SIZE M\x03;",
         EPreflightKind::kLabelsOnly},
        {"below the paper", "below.plt", "IN;SP1;PU0,-4000;PD40000,-4000,40000,8000;PU;",
         EPreflightKind::kOutside},
    };
    for (const auto& f : files) {
        COnePage page;
        page.m_strPath = dir.File(f.m_pszFile);
        page.m_strName = f.m_pszFile;
        ASSERT_TRUE(WriteFileBytes(page.m_strPath, f.m_strText));
        ASSERT_TRUE(LoadTaskDrawing(page, m_settings, false).Ok()) << f.m_pszWhat;
        EXPECT_TRUE(RunPreflight(page, m_settings, m_params).Has(f.m_eKind)) << f.m_pszWhat;
    }
    // A marker with labels and outlines is no labels-only drawing.
    EXPECT_FALSE(RunPreflight(Tank(), m_settings, m_params).Has(EPreflightKind::kLabelsOnly));

    // The inch mistake names the factor and the DXF unit that would read it right.
    const CPreflight p = RunPreflight(inches, m_settings, m_params);
    ASSERT_EQ(p.m_arrWarnings.size(), 1u);
    const CMessage& m = p.m_arrWarnings[0].m_message;
    ASSERT_EQ(m.m_arrArgs.size(), 5u);
    EXPECT_EQ(m.m_arrArgs[2], "25.4");
    EXPECT_EQ(m.m_arrArgs[4], "DxfUnit=10160");
    // Too wide says by how much, in the drawing's own width (that of the figures) against
    // the widest drawing that prints: 2106 - 20 - 20 - 80 = 1986 mm of carriage, less the
    // job's size correction.
    const CPreflight wide = RunPreflight(Lines({{{0, 0}, {40000, 100000}}}), m_settings, m_params);
    const std::vector<std::string>& args = wide.m_arrWarnings[0].m_message.m_arrArgs;
    EXPECT_EQ(args[1], "2500");
    EXPECT_EQ(wide.m_figures.m_dWidthMm, 2500.0);
    const double dWidest = WidestPrintableDrawingMm(m_settings, m_params);
    EXPECT_EQ(args[2], std::to_string(std::lround(dWidest)));
    EXPECT_LT(dWidest, 1986.0);
    // A drawing just under it prints; just over it does not.
    const auto width = [](double dMm) {
        return Lines({{{0, 0}, {40000, static_cast<int32_t>(dMm * 40)}}});
    };
    EXPECT_FALSE(
        RunPreflight(width(dWidest - 1), m_settings, m_params).Has(EPreflightKind::kTooWide));
    EXPECT_TRUE(
        RunPreflight(width(dWidest + 2), m_settings, m_params).Has(EPreflightKind::kTooWide));

    // What the load left out is told, by kind, and does not block.
    COnePage skipped = width(500);
    skipped.m_strName = "m.dxf";
    skipped.m_arrNotDrawn = {{"HATCH", 12}, {"IMAGE", 1}, {"3D entities", 4}};
    const CPreflight told = RunPreflight(skipped, m_settings, m_params);
    ASSERT_TRUE(told.Has(EPreflightKind::kNotDrawn));
    EXPECT_FALSE(told.Blocking());
    EXPECT_EQ(told.m_arrWarnings.back().m_message,
              (CMessage{EMsg::kPreflightNotDrawn, {"m.dxf", "HATCH 12, IMAGE 1, 3D entities 4"}}));
    EXPECT_STREQ(PreflightKindName(EPreflightKind::kNotDrawn), "not-drawn");
}

TEST_F(Preflight, DuplicatesAreTheSameFileButNotItsPieces) {
    const CScratchDir dir;
    const std::string strA = dir.File("a.plt"), strB = dir.File("b.plt");
    ASSERT_TRUE(WriteFileBytes(strA, "IN;PU0,0;PD4000,4000;"));
    ASSERT_TRUE(WriteFileBytes(strB, "IN;PU0,0;PD4000,4000;"));
    CTaskLists doc;
    for (const std::string& strPath : {strA, strA + "(1/2)", strA + "(2/2)", strB}) {
        auto pTask = std::make_unique<COnePage>(Lines({{{0, 0}, {4000, 4000}}}));
        pTask->m_strPath = strPath;
        pTask->m_strName = strPath.substr(strPath.rfind('/') + 1);
        pTask->m_preflight = RunPreflight(*pTask, m_settings, m_params);
        doc.m_arrOpened.push_back(std::move(pTask));
    }
    MarkDuplicates(doc);
    MarkDuplicates(doc); // marks are made afresh, not added again
    EXPECT_FALSE(doc.m_arrOpened[0]->m_preflight.Has(EPreflightKind::kDuplicate));
    EXPECT_FALSE(doc.m_arrOpened[1]->m_preflight.Has(EPreflightKind::kDuplicate));
    EXPECT_FALSE(doc.m_arrOpened[2]->m_preflight.Has(EPreflightKind::kDuplicate));
    ASSERT_TRUE(doc.m_arrOpened[3]->m_preflight.Has(EPreflightKind::kDuplicate));
    EXPECT_EQ(doc.m_arrOpened[3]->m_preflight.m_arrWarnings.size(), 1u);
    EXPECT_EQ(doc.m_arrOpened[3]->m_preflight.m_arrWarnings[0].m_message.m_arrArgs[1], "a.plt");
}

TEST_F(Preflight, QueueTotalsCountEveryCopy) {
    CTaskLists doc;
    auto pTask = std::make_unique<COnePage>(Tank());
    pTask->m_preflight = RunPreflight(*pTask, m_settings, m_params);
    pTask->m_nCopies = 3;
    const CPreflightFigures f = pTask->m_preflight.m_figures;
    doc.m_arrOpened.push_back(std::move(pTask));
    doc.m_arrManDir.push_back(std::make_unique<COnePage>()); // not looked at yet
    const CQueueTotals totals = QueueTotals(doc);
    EXPECT_EQ(totals.m_nTasks, 2);
    EXPECT_DOUBLE_EQ(totals.m_dPaperM, 3 * f.m_dPaperMm / 1000.0);
    EXPECT_DOUBLE_EQ(totals.m_dSeconds, 3 * f.m_dSeconds);
    EXPECT_DOUBLE_EQ(totals.m_dInkMl, 3 * (f.m_arrInkMl[0] + f.m_arrInkMl[1]));
}

} // namespace
} // namespace inkvale::test
