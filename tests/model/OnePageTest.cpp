// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/OnePage.h"

#include <gtest/gtest.h>

#include <ctime>
#include <vector>

namespace inkvale {
namespace {

using Pts = std::vector<CPoint>;

CCurve MakeCurve(Pts pts, int pen = 1, int lineType = 0) {
    CCurve c;
    c.m_arrPoints = std::move(pts);
    c.m_nPen = pen;
    c.m_nLineType = lineType;
    return c;
}

COnePage PageOf(std::vector<Pts> curves) {
    COnePage page;
    for (auto& pts : curves)
        page.m_arrCurves.push_back(MakeCurve(std::move(pts)));
    return page;
}

std::vector<Pts> PointsOf(const COnePage& page) {
    std::vector<Pts> out;
    for (const CCurve& c : page.m_arrCurves)
        out.push_back(c.m_arrPoints);
    return out;
}

void ExpectBox(const COnePage& p, int minX, int minY, int maxX, int maxY) {
    EXPECT_EQ(p.m_nMinX, minX);
    EXPECT_EQ(p.m_nMinY, minY);
    EXPECT_EQ(p.m_nMaxX, maxX);
    EXPECT_EQ(p.m_nMaxY, maxY);
}

TEST(OnePage, ConstructionValues) {
    const std::time_t before = std::time(nullptr);
    const COnePage page;
    EXPECT_TRUE(page.m_arrCurves.empty());
    EXPECT_TRUE(page.m_strPath.empty());
    EXPECT_TRUE(page.m_strName.empty());
    ExpectBox(page, 0, 0, 0, 0);
    EXPECT_EQ(page.m_nSource, 0);
    EXPECT_EQ(page.m_bQueued, 0);
    EXPECT_EQ(page.m_nCopies, 1);
    EXPECT_EQ(page.m_nStartMm, 0);
    EXPECT_EQ(page.m_nPrintState, PS_WAITING);
    EXPECT_GE(page.m_tTime, before);
    EXPECT_LE(page.m_tTime, std::time(nullptr));
    EXPECT_EQ(page.m_nFileSize, 0);
    EXPECT_EQ(page.m_bTaskSelected, 0);
    EXPECT_EQ(page.m_bHasSelection, 0);
}

TEST(OnePage, CalcExtentsIsTheUnionAndZeroWithoutCurves) {
    COnePage page = PageOf({{{-5, 10}, {30, 12}}, {{7, -40}, {8, 90}}});
    page.CalcExtents();
    ExpectBox(page, -5, -40, 30, 90);
    EXPECT_EQ(page.m_arrCurves[1].m_nMaxY, 90);
    page.ClearCurves();
    page.CalcExtents();
    ExpectBox(page, 0, 0, 0, 0);
}

TEST(OnePage, CopyTaskAppendsDeepCopiesAndCopiesOnlyItsFields) {
    COnePage src = PageOf({{{1, 2}, {3, 4}}});
    src.m_strPath = "/cut/a.plt";
    src.m_strName = "a.plt";
    src.m_nStartMm = 25;
    src.m_nCopies = 7;
    src.m_bQueued = 1;
    src.CalcExtents();
    COnePage dst = PageOf({{{9, 9}, {10, 10}}});
    dst.CopyTask(src);
    EXPECT_EQ(dst.m_strPath, "/cut/a.plt");
    EXPECT_EQ(dst.m_strName, "a.plt");
    EXPECT_EQ(dst.m_nStartMm, 25);
    ExpectBox(dst, 1, 2, 3, 4);
    EXPECT_EQ(dst.m_nCopies, 1);
    EXPECT_EQ(dst.m_bQueued, 0);
    EXPECT_EQ(PointsOf(dst), (std::vector<Pts>{{{9, 9}, {10, 10}}, {{1, 2}, {3, 4}}}));
    src.m_arrCurves[0].m_arrPoints[0] = {100, 100};
    EXPECT_EQ(dst.m_arrCurves[1].m_arrPoints[0], (CPoint{1, 2}));

    dst.CopyTask(dst); // onto itself: the drawing doubles once
    EXPECT_EQ(dst.m_arrCurves.size(), 4u);
}

TEST(OnePage, SelectionOperations) {
    COnePage page = PageOf({{{0, 0}, {10, 10}}, {{20, -5}, {30, 5}}, {{100, 100}, {110, 120}}});
    page.CalcExtents();
    page.CalcSelectionExtents();
    EXPECT_EQ(page.m_bHasSelection, 0);

    page.m_arrCurves[0].m_bSelected = 1;
    page.m_arrCurves[1].m_bSelected = 1;
    page.CalcSelectionExtents();
    EXPECT_EQ(page.m_bHasSelection, 1);
    EXPECT_EQ(page.m_nSelMinX, 0);
    EXPECT_EQ(page.m_nSelMinY, -5);
    EXPECT_EQ(page.m_nSelMaxX, 30);
    EXPECT_EQ(page.m_nSelMaxY, 10);

    page.OffsetSelected(5, 1);
    EXPECT_EQ(page.m_arrCurves[1].m_arrPoints[0], (CPoint{25, -4}));
    EXPECT_EQ(page.m_arrCurves[2].m_arrPoints[0], (CPoint{100, 100}));

    page.DeleteSelectedCurves();
    EXPECT_EQ(PointsOf(page), (std::vector<Pts>{{{100, 100}, {110, 120}}}));

    page.SelectAllCurves();
    EXPECT_EQ(page.m_arrCurves[0].m_bSelected, 1);
    page.ClearCurveSelection();
    EXPECT_EQ(page.m_arrCurves[0].m_bSelected, 0);
}

TEST(OnePage, OffsetAllLeavesThePageBox) {
    COnePage page = PageOf({{{0, 0}, {10, 10}}});
    page.CalcExtents();
    page.OffsetAll(100, -3);
    EXPECT_EQ(page.m_arrCurves[0].m_arrPoints[1], (CPoint{110, 7}));
    ExpectBox(page, 0, 0, 10, 10);
}

TEST(OnePage, MoveToOriginAndNormalizeOrigin) {
    struct Case {
        CPoint a, b;
        bool normalize;
        CPoint expectA;
        int maxX, maxY;
    };
    const Case cases[] = {
        {{100, 50}, {300, 250}, false, {0, 0}, 200, 200},
        {{-100, -50}, {300, 250}, false, {0, 0}, 400, 300},
        {{100, 50}, {300, 250}, true, {0, 50}, 200, 250}, // a positive minY stays
        {{-100, -50}, {300, 250}, true, {0, 0}, 400, 300},
        {{0, 80}, {10, 90}, true, {0, 80}, 10, 90},
    };
    for (const Case& c : cases) {
        COnePage page = PageOf({{c.a, c.b}});
        if (c.normalize)
            page.NormalizeOrigin();
        else
            page.MoveToOrigin();
        EXPECT_EQ(page.m_arrCurves[0].m_arrPoints[0], c.expectA) << c.a.x << "," << c.a.y;
        EXPECT_EQ(page.m_nMaxX, c.maxX);
        EXPECT_EQ(page.m_nMaxY, c.maxY);
        EXPECT_EQ(page.m_nMinX, 0);
        page.CalcExtents();
        EXPECT_EQ(page.m_nMaxX, c.maxX) << "stored box agrees with the vertices";
    }
    // Moving a drawing over 2^31 units wide to the origin wraps vertices round.
    const struct {
        CPoint a, b;
        bool whole;
    } wraps[] = {
        {{INT32_MIN, 0}, {-1, 10}, true}, {{INT32_MIN, 0}, {0, 10}, false},
        {{-5, INT32_MIN}, {5, -1}, true}, {{-5, INT32_MIN}, {5, 0}, false},
        {{-5, 1}, {5, INT32_MAX}, true}, // a positive minY is not moved
    };
    for (const auto& w : wraps) {
        COnePage page = PageOf({{w.a, w.b}});
        page.CalcExtents();
        EXPECT_EQ(page.NormalizeOriginOfCurrentBox(), w.whole) << w.a.x << "," << w.a.y;
    }
    COnePage empty;
    empty.m_nMinX = 5;
    empty.MoveToOrigin();
    empty.NormalizeOrigin();
    EXPECT_EQ(empty.m_nMinX, 5);
}

TEST(OnePage, ApplyStartPositionShiftsAndLowersMaxXOnly) {
    COnePage page = PageOf({{{1000, 0}, {5000, 100}}});
    page.CalcExtents();
    page.m_nStartMm = 25;
    page.ApplyStartPosition();
    EXPECT_EQ(PointsOf(page), (std::vector<Pts>{{{0, 0}, {4000, 100}}}));
    EXPECT_EQ(page.m_nMaxX, 4000);
    EXPECT_EQ(page.m_nMinX, 1000);
}

TEST(OnePage, ScalingAndSizeCorrection) {
    COnePage page = PageOf({{{10, -10}, {15, 7}}});
    page.ScaleAll(1.5, 0.5);
    EXPECT_EQ(PointsOf(page), (std::vector<Pts>{{{15, -5}, {22, 3}}}));
    CSizeRatio ratio;
    ratio.m_nXExpect = 2000;
    ratio.m_nXMeasure = 1000;
    ratio.m_nYMeasure = 0; // a zero axis is left alone
    page.ApplySizeCorrectionAll(ratio);
    EXPECT_EQ(PointsOf(page), (std::vector<Pts>{{{30, -5}, {44, 3}}}));
}

TEST(OnePage, MirrorAndQuarterTurns) {
    COnePage page = PageOf({{{0, 100}, {400, 300}}, {{200, 0}, {200, 50}}});
    page.MirrorPage();
    EXPECT_EQ(PointsOf(page), (std::vector<Pts>{{{0, 200}, {400, 0}}, {{200, 300}, {200, 250}}}));

    page = PageOf({{{0, 100}, {400, 300}}});
    page.CalcExtents();   // box 0..400 x 100..300
    page.RotateQuarter(); // (x, y) -> (maxY - y, x)
    EXPECT_EQ(PointsOf(page), (std::vector<Pts>{{{200, 0}, {0, 400}}}));
    ExpectBox(page, 0, 0, 200, 400);
    page.RotateQuarterBack(); // (x, y) -> (y, maxX - x)
    EXPECT_EQ(PointsOf(page), (std::vector<Pts>{{{0, 0}, {400, 200}}}));
    ExpectBox(page, 0, 0, 400, 200);
}

TEST(OnePage, ExplodeThenJoinDoublesTheJoint) {
    COnePage page = PageOf({{{0, 0}, {10, 0}, {10, 10}}});
    page.m_arrCurves[0].m_nLineType = 1;
    page.m_arrCurves[0].m_bSelected = 1;
    page.ExplodeSegments();
    ASSERT_EQ(PointsOf(page), (std::vector<Pts>{{{0, 0}, {10, 0}}, {{10, 0}, {10, 10}}}));
    for (const CCurve& c : page.m_arrCurves) {
        EXPECT_EQ(c.m_nLineType, 1);
        EXPECT_EQ(c.m_bSelected, 1);
    }
    page.JoinSegments();
    EXPECT_EQ(PointsOf(page), (std::vector<Pts>{{{0, 0}, {10, 0}, {10, 0}, {10, 10}}}));
}

TEST(OnePage, ExplodeDropsShortCurvesAndJoinNeedsEqualPens) {
    COnePage page = PageOf({{}, {{5, 5}}, {{0, 0}, {1, 1}}});
    page.m_arrCurves.push_back(MakeCurve({{1, 1}, {2, 2}}, 2));
    page.m_arrCurves.push_back(MakeCurve({{2, 2}, {3, 3}}, 2));
    page.m_arrCurves.push_back(MakeCurve({{9, 9}, {0, 0}}, 2)); // meets the first, not the last
    page.ExplodeSegments();
    EXPECT_EQ(page.m_arrCurves.size(), 4u);
    page.JoinSegments();
    EXPECT_EQ(
        PointsOf(page),
        (std::vector<Pts>{{{0, 0}, {1, 1}}, {{1, 1}, {2, 2}, {2, 2}, {3, 3}}, {{9, 9}, {0, 0}}}));
}

TEST(OnePage, CleanCurvesRemovesDuplicatesCollinearAndShortCurves) {
    COnePage page = PageOf({{{0, 0}, {0, 0}, {5, 0}, {10, 0}, {10, 5}}, {{3, 3}, {3, 3}}, {}});
    page.m_arrCurves[0].m_nMaxX = 99; // a stale box
    EXPECT_TRUE(page.CleanCurves()) << "cleaning again changes nothing";
    EXPECT_EQ(PointsOf(page), (std::vector<Pts>{{{0, 0}, {10, 0}, {10, 5}}}));
    // The boxes are current afterwards, the curve's and the page's.
    EXPECT_EQ(page.m_arrCurves[0].m_nMaxX, 10);
    ExpectBox(page, 0, 0, 10, 5);
}

TEST(OnePage, SplitAtLengthCases) {
    struct Case {
        Pts segment;
        std::vector<Pts> stays;
        std::vector<Pts> moves;
    };
    const Case cases[] = {
        {{{0, 0}, {2000, 1000}}, {{{0, 0}, {1000, 500}}}, {{{0, 500}, {1000, 1000}}}},
        {{{2000, 1000}, {0, 0}}, {{{1000, 500}, {0, 0}}}, {{{1000, 1000}, {0, 500}}}},
        {{{1000, 0}, {1500, 0}}, {}, {{{0, 0}, {500, 0}}}},
        {{{500, 0}, {1000, 0}}, {{{500, 0}, {1000, 0}}}, {}},
        {{{1000, 0}, {1000, 700}}, {{{1000, 0}, {1000, 700}}}, {}},           // on the cut line
        {{{0, 0}, {1003, -7}}, {{{0, 0}, {1000, -6}}}, {{{0, -6}, {3, -7}}}}, // truncation
    };
    for (const Case& c : cases) {
        COnePage page = PageOf({c.segment});
        COnePage target;
        page.SplitAtLength(target, 1000);
        EXPECT_EQ(PointsOf(page), c.stays) << c.segment[0].x << "," << c.segment[1].x;
        EXPECT_EQ(PointsOf(target), c.moves) << c.segment[0].x << "," << c.segment[1].x;
    }
}

TEST(OnePage, SplitAtLengthRejoinsThePageButNotTheTarget) {
    COnePage page = PageOf({{{0, 0}, {500, 0}, {1500, 0}, {2000, 0}, {2000, 10}}});
    page.m_arrCurves[0].m_nPen = 3;
    COnePage target;
    page.SplitAtLength(target, 1000);
    EXPECT_EQ(PointsOf(page), (std::vector<Pts>{{{0, 0}, {500, 0}, {500, 0}, {1000, 0}}}));
    EXPECT_EQ(
        PointsOf(target),
        (std::vector<Pts>{{{0, 0}, {500, 0}}, {{500, 0}, {1000, 0}}, {{1000, 0}, {1000, 10}}}));
    EXPECT_EQ(target.m_arrCurves[0].m_nPen, 3);
    ExpectBox(page, 0, 0, 1000, 0);
    ExpectBox(target, 0, 0, 1000, 10);
}

TEST(OnePage, SplitWidthFoldsStrips) {
    COnePage page = PageOf({{{0, 500}, {0, 2500}}});
    EXPECT_TRUE(page.SplitWidth(1000));
    EXPECT_EQ(PointsOf(page),
              (std::vector<Pts>{
                  {{0, 500}, {0, 1000}}, {{1200, 0}, {1200, 1000}}, {{2400, 0}, {2400, 500}}}));
    ExpectBox(page, 0, 0, 2400, 1000);
}

TEST(OnePage, SplitWidthMovesWholeSegmentsOneStripPerPass) {
    // A segment in the third strip needs both passes; the downward crossing is cut too.
    COnePage page = PageOf({{{0, 2100}, {100, 2300}}, {{0, 1500}, {100, 500}}});
    page.SplitWidth(1000);
    EXPECT_EQ(PointsOf(page),
              (std::vector<Pts>{
                  {{50, 1000}, {100, 500}}, {{1300, 500}, {1350, 0}}, {{2600, 100}, {2700, 300}}}));
}

TEST(OnePage, SplitWidthLeavesNarrowAndDegenerateCasesAlone) {
    for (int w : {2500, 3000, 0, -1000}) {
        COnePage page = PageOf({{{0, 0}, {10, 0}, {10, 2500}}});
        EXPECT_TRUE(page.SplitWidth(w));
        EXPECT_EQ(page.m_arrCurves.size(), 1u) << w;
        EXPECT_EQ(page.m_arrCurves[0].m_arrPoints.size(), 3u) << w;
    }
}

TEST(OnePage, SplitWidthRefusesAbsurdFolds) {
    struct Case {
        int32_t maxX, maxY, w;
        bool folds;
    };
    const Case cases[] = {
        {0, 1000 * 1000 + 999, 1000, true},     // 1000 strips
        {0, 1001 * 1000, 1000, false},          // 1001 strips
        {2000000000, 2000000000, 64000, false}, // a stray coordinate
        {16000000, 100 * 4000, 4000, false},    // 400 m long, cut 100 times
        {800000, 80000, 27000, true},           // a real marker
    };
    for (const Case& c : cases) {
        COnePage page;
        page.m_arrCurves.push_back(MakeCurve({{0, 0}, {c.maxX, c.maxY}}));
        const size_t before = page.m_arrCurves.size();
        EXPECT_EQ(page.SplitWidth(c.w), c.folds) << c.maxX << " " << c.maxY << " " << c.w;
        if (!c.folds) {
            EXPECT_EQ(page.m_arrCurves.size(), before);
            EXPECT_EQ(page.m_arrCurves[0].m_arrPoints, (Pts{{0, 0}, {c.maxX, c.maxY}}));
        }
    }
    EXPECT_EQ(COnePage::CutMarkCurves(3999), 0);
    EXPECT_EQ(COnePage::CutMarkCurves(4000), 26);
}

TEST(OnePage, AddCutMarks) {
    COnePage page;
    page.m_nMaxX = 3999;
    page.AddCutMarks(1000);
    EXPECT_TRUE(page.m_arrCurves.empty());

    page.m_nMaxX = 4000;
    page.AddCutMarks(1000);
    ASSERT_EQ(page.m_arrCurves.size(), 22u + 4u);
    EXPECT_EQ(page.m_arrCurves[0].m_arrPoints, (Pts{{0, 1000}, {300, 1000}}));
    EXPECT_EQ(page.m_arrCurves[1].m_arrPoints, (Pts{{0, 1001}, {300, 1001}}));
    EXPECT_EQ(page.m_arrCurves[21].m_arrPoints, (Pts{{4000, 1001}, {4300, 1001}}));
    EXPECT_EQ(page.m_arrCurves[22].m_arrPoints, (Pts{{400, 800}, {200, 1000}, {0, 800}}));
    EXPECT_EQ(page.m_arrCurves[23].m_arrPoints, (Pts{{200, 1000}, {200, 600}}));
    EXPECT_EQ(page.m_arrCurves[24].m_arrPoints, (Pts{{0, 1200}, {200, 1000}, {400, 1200}}));
    EXPECT_EQ(page.m_arrCurves[25].m_arrPoints, (Pts{{200, 1000}, {200, 1400}}));
    for (const CCurve& c : page.m_arrCurves) {
        EXPECT_EQ(c.m_nPen, 1);
        EXPECT_EQ(c.m_nLineType, 0);
    }

    // The remainder beyond whole 100 mm steps earns a mark only when above 400.
    for (auto [maxX, marks] : {std::pair{8400, 2}, std::pair{8401, 3}}) {
        COnePage p;
        p.m_nMaxX = maxX;
        p.AddCutMarks(0);
        EXPECT_EQ(p.m_arrCurves.size(), 2u * (maxX / 400 + 1) + 4u * marks) << maxX;
    }
}

TEST(OnePage, AddSeam) {
    COnePage page;
    page.m_nMaxX = 5000;
    page.m_nMaxY = 400;
    page.AddSeam();
    EXPECT_TRUE(page.m_arrCurves.empty());
    page.m_nMaxY = 1000;
    page.AddSeam();
    EXPECT_EQ(PointsOf(page), (std::vector<Pts>{{{5000, 0}, {5000, 100}},
                                                {{5000, 400}, {5000, 500}},
                                                {{5000, 800}, {5000, 1000}}}));
}

TEST(OnePage, MergingWithAppendShiftedAndSeams) {
    const COnePage a = PageOf({{{0, 0}, {1000, 800}}});
    const COnePage b = PageOf({{{0, 0}, {500, 200}}});
    COnePage merged;
    for (const COnePage* src : {&a, &b}) {
        merged.AppendShifted(*src);
        merged.AddSeam();
    }
    // The first source brings no seam (empty box); the second is shifted by 1000 and the
    // seam stands at the joint with the height of the first drawing.
    EXPECT_EQ(PointsOf(merged), (std::vector<Pts>{{{0, 0}, {1000, 800}},
                                                  {{1000, 0}, {1500, 200}},
                                                  {{1000, 0}, {1000, 100}},
                                                  {{1000, 400}, {1000, 500}},
                                                  {{1000, 800}, {1000, 800}}}));
}

// Scale 1: a plotter unit is a pixel; drawing (x, y) is at screen (50 + x, 370 - y).
CViewTransform UnitDisp() {
    CViewTransform d;
    d.m_dScale = 1.0;
    d.m_nViewHeight = 400;
    return d;
}

TEST(OnePage, SelectCurveAtTogglesTheFirstHitByPenThenOrder) {
    COnePage page = PageOf({{{0, 0}, {100, 0}}, {{0, 0}, {100, 0}}, {{0, 0}, {100, 0}}});
    page.m_arrCurves[0].m_nPen = 3;
    page.m_arrCurves[1].m_nPen = 2;
    page.m_arrCurves[2].m_nPen = 12; // never hit
    const CViewTransform disp = UnitDisp();
    EXPECT_TRUE(page.SelectCurveAt(disp, 100, 370));
    EXPECT_EQ(page.m_arrCurves[1].m_bSelected, 1);
    EXPECT_EQ(page.m_arrCurves[0].m_bSelected, 0);
    EXPECT_TRUE(page.SelectCurveAt(disp, 100, 370));
    EXPECT_EQ(page.m_arrCurves[1].m_bSelected, 0);
    EXPECT_FALSE(page.SelectCurveAt(disp, 100, 300));
}

TEST(OnePage, SelectCurvesInRectInsideAndCrossing) {
    const CViewTransform disp = UnitDisp();
    // Screen rectangle 100..200 x 200..300 is drawing x 50..150, y 70..170.
    const CScreenRect rect{100, 200, 200, 300};
    const auto make = [] {
        return PageOf({{{60, 100}, {140, 160}},  // inside
                       {{0, 100}, {100, 100}},   // crosses the left edge
                       {{0, 100}, {52, 100}},    // crosses the left edge, ends just inside
                       {{300, 0}, {400, 10}},    // far away
                       {{49, 120}, {52, 120}}}); // crosses, shorter than 5 units
    };
    COnePage page = make();
    EXPECT_TRUE(page.SelectCurvesInRect(disp, rect, false));
    EXPECT_EQ(page.m_arrCurves[0].m_bSelected, 1);
    EXPECT_EQ(page.m_arrCurves[1].m_bSelected, 0);
    EXPECT_EQ(page.m_arrCurves[0].m_nMaxX, 140) << "boxes are recomputed";

    page = make();
    EXPECT_TRUE(page.SelectCurvesInRect(disp, rect, true));
    const int expected[] = {1, 1, 1, 0, 0};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(page.m_arrCurves[i].m_bSelected, expected[i]) << i;

    COnePage far = PageOf({{{300, 0}, {400, 10}}});
    EXPECT_FALSE(far.SelectCurvesInRect(disp, rect, true));
}

TEST(OnePage, SegmentsIntersectCases) {
    struct Case {
        double s[8];
        bool expected;
    };
    const Case cases[] = {
        {{0, 0, 10, 10, 0, 10, 10, 0}, true},
        {{0, 0, 10, 0, 0, 0, 0, 10}, false},     // touching at an end
        {{5, -5, 5, 5, 0, 0, 10, 0}, true},      // first vertical
        {{0, 0, 10, 0, 5, -5, 5, 5}, true},      // second vertical
        {{5, -5, 5, 5, 5, -1, 5, 9}, false},     // both vertical
        {{0, 0, 10, 10, 0, 1, 10, 11}, false},   // parallel
        {{0, 0, 10, 10, 20, 0, 30, -10}, false}, // lines meet outside the segments
        {{5, 0, 5, 10, 0, 10, 10, 10}, false},   // first vertical ends on the second
    };
    for (const Case& c : cases) {
        const double* s = c.s;
        EXPECT_EQ(SegmentsIntersect(s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7]), c.expected)
            << s[0] << "," << s[1] << " " << s[2] << "," << s[3] << " / " << s[4] << "," << s[5]
            << " " << s[6] << "," << s[7];
    }
}

} // namespace
} // namespace inkvale
