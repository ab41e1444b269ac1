// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PreviewView.h"
#include "common/TestPaths.h"
#include "config/MachineParams.h"
#include "config/Settings.h"
#include "geometry/CurveHalves.h"
#include "model/OnePage.h"
#include "model/TaskDrawingLoader.h"
#include "queue/DerivedTasks.h"
#include "queue/TaskListEdits.h"
#include "ui/PreviewHost.h"
#include "preview/PreviewPainter.h"
#include "ui/PreviewPrompts.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include "UiTestApp.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace inkvale {
namespace {

// One application for every GUI test of this executable, on the off-screen platform.
void EnsureApp() {
    inkvale::test::EnsureUiTestApp();
}

// The opened list followed by the manual-folder list, as the rows of the task list.
class CFakeHost : public CPreviewHost {
public:
    CTaskLists m_doc;
    CTaskList& m_opened = m_doc.m_arrOpened;
    CTaskList& m_manual = m_doc.m_arrManDir;
    int m_nCurrent = 0;
    int m_nRefreshes = 0;
    int m_nModeChanges = 0;
    int m_nLoads = 0;
    std::string m_strMouse;

    COnePage* Row(int nRow) const {
        if (nRow < 0)
            return nullptr;
        const size_t r = static_cast<size_t>(nRow);
        if (r < m_opened.size())
            return m_opened[r].get();
        if (r - m_opened.size() < m_manual.size())
            return m_manual[r - m_opened.size()].get();
        return nullptr;
    }
    int TaskCount() const override { return static_cast<int>(m_opened.size() + m_manual.size()); }
    int CurrentTaskIndex() const override { return m_nCurrent; }
    void SetCurrentTaskIndex(int nRow) override { m_nCurrent = nRow; }
    COnePage* TaskAtRow(int nRow) override { return Row(nRow); }
    int RowOfTask(uint64_t nTaskId) override { return inkvale::RowOfTask(m_doc, nTaskId); }
    COnePage* TaskById(uint64_t nTaskId) override { return inkvale::TaskById(m_doc, nTaskId); }
    CResult SplitAlongFeed(uint64_t nTaskId, int32_t nLength) override {
        return SplitTaskAlongFeed(m_doc, nTaskId, nLength);
    }
    void MirrorCopy(uint64_t nTaskId, const std::string& strSuffix) override {
        (void)InsertMirroredCopy(m_doc, nTaskId, strSuffix);
    }
    void RefreshTaskList() override { ++m_nRefreshes; }
    void LoadDrawing(COnePage& /*task*/, bool /*bShowErrors*/) override { ++m_nLoads; }
    void MouseModeChanged() override { ++m_nModeChanges; }
    void ShowMousePosition(const std::string& strText) override { m_strMouse = strText; }
};

class CFakePrompts : public CPreviewPrompts {
public:
    std::vector<std::string> m_arrMessages;
    std::vector<std::string> m_arrPrompts;
    std::vector<double> m_arrPresets;
    bool m_bAnswer = true;
    double m_dAnswer = 0;

    void ShowMessage(const std::string& strText) override { m_arrMessages.push_back(strText); }
    bool PromptNumber(const std::string& strPrompt, double& dValue) override {
        m_arrPrompts.push_back(strPrompt);
        m_arrPresets.push_back(dValue);
        if (m_bAnswer)
            dValue = m_dAnswer;
        return m_bAnswer;
    }
};

CCurve Line(std::vector<CPoint> pts) {
    CCurve c;
    c.m_arrPoints = std::move(pts);
    return c;
}

// A view of 1000 x 460 pixels on a 100 mm roll: a fit gives 0.1 pixels per unit, so the
// origin is at (50, 430) and 10 units are one pixel.
class ViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApp();
        m_settings.PaperLenMm = 100;
        m_settings.Language = 1;
        m_view = std::make_unique<CPreviewView>(m_settings, m_host, &m_prompts);
        m_view->resize(1000, 460);
    }

    // Task with the horizontal lines A (1000..2000, y 1000) and B (3000..3500, y 1000):
    // on screen A runs from x 150 to 250 and B from 350 to 400, both at y 330.
    COnePage& AddTask(std::vector<CCurve> curves = {Line({{1000, 1000}, {2000, 1000}}),
                                                    Line({{3000, 1000}, {3500, 1000}})}) {
        auto task = std::make_unique<COnePage>();
        task->m_arrCurves = std::move(curves);
        task->CalcExtents();
        task->m_strPath = "/data/a.plt";
        task->m_strName = "a.plt";
        m_host.m_opened.push_back(std::move(task));
        m_view->SelectRow(static_cast<int>(m_host.m_opened.size()) - 1);
        return *m_host.m_opened.back();
    }

    void Mouse(QEvent::Type type, QPoint pt, Qt::MouseButton button,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        Qt::MouseButtons buttons = button;
        if (type == QEvent::MouseButtonRelease)
            buttons = Qt::NoButton;
        if (type == QEvent::MouseMove)
            buttons = m_held;
        QMouseEvent ev(type, QPointF(pt), QPointF(m_view->mapToGlobal(pt)),
                       type == QEvent::MouseMove ? Qt::NoButton : button, buttons, mods);
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
            m_held = button;
        if (type == QEvent::MouseButtonRelease)
            m_held = Qt::NoButton;
        QApplication::sendEvent(m_view.get(), &ev);
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = Qt::NoModifier,
              Qt::MouseButton button = Qt::LeftButton) {
        Mouse(QEvent::MouseButtonPress, from, button, mods);
        Mouse(QEvent::MouseMove, (from + to) / 2, button, mods);
        Mouse(QEvent::MouseMove, to, button, mods);
        Mouse(QEvent::MouseButtonRelease, to, button, mods);
    }
    // The events of a double click as the window system delivers them.
    void DoubleClick(QPoint pt) {
        Mouse(QEvent::MouseButtonPress, pt, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, pt, Qt::LeftButton);
        Mouse(QEvent::MouseButtonDblClick, pt, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, pt, Qt::LeftButton);
    }
    void Key(int nKey, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
        QKeyEvent ev(QEvent::KeyPress, nKey, mods, text);
        QApplication::sendEvent(m_view.get(), &ev);
    }
    bool BarShown() const { return m_view->FeedScrollBar()->isVisibleTo(m_view.get()); }
    std::vector<int> Selection(const COnePage& task) const {
        std::vector<int> out;
        for (const CCurve& c : task.m_arrCurves)
            out.push_back(c.m_bSelected);
        return out;
    }

    CSettings m_settings;
    CFakeHost m_host;
    CFakePrompts m_prompts;
    std::unique_ptr<CPreviewView> m_view;
    Qt::MouseButton m_held = Qt::NoButton;
};

TEST_F(ViewTest, FitTransformAndZoomLimits) {
    m_settings.PaperLenMm = 2100;
    m_view->resize(1000, 660);
    AddTask();
    const CViewTransform& d = m_view->Disp();
    EXPECT_DOUBLE_EQ(d.m_dScale, 600.0 / 84000);
    EXPECT_EQ(d.m_nViewHeight, 660);
    EXPECT_EQ(WorldToScreen(d, 0, 0), (CScreenPoint{50, 630}));
    EXPECT_EQ(GridStep(d.m_dScale), 8000);
    m_view->RunCommand(CPreviewView::kCmdPanLeft); // pan 80, 0
    m_view->RunCommand(CPreviewView::kCmdPanDown); // pan 80, -80
    m_view->RunCommand(CPreviewView::kCmdZoomOut);
    EXPECT_DOUBLE_EQ(d.m_dScale, 300.0 / 84000);
    EXPECT_EQ(GridStep(d.m_dScale), 20000);
    EXPECT_EQ(d.m_nPanX, 40);
    EXPECT_EQ(d.m_nPanY, -40);
    for (int i = 0; i < 10; ++i)
        m_view->RunCommand(CPreviewView::kCmdZoomOut);
    // Halving stops once the scale is 0.001 or less.
    EXPECT_LE(d.m_dScale, 0.001);
    EXPECT_GT(d.m_dScale, 0.0005);
    const double low = d.m_dScale;
    m_view->RunCommand(CPreviewView::kCmdZoomIn);
    EXPECT_DOUBLE_EQ(d.m_dScale, low * 2);
    m_view->RunCommand(CPreviewView::kCmdFit);
    EXPECT_DOUBLE_EQ(d.m_dScale, 600.0 / 84000);
    EXPECT_EQ(d.m_nPanX, 0);
}

// Grid labels stand on every n-th line, n as small as keeps them apart.
TEST(GridLabelTest, EveryNthLineSoThatLabelsNeverTouch) {
    const struct {
        int nPitch, nExtent, nEvery;
    } cases[] = {
        {.nPitch = 60, .nExtent = 30, .nEvery = 1},      // room to spare
        {.nPitch = 36, .nExtent = 30, .nEvery = 1},      // exactly the label and its gap
        {.nPitch = 35, .nExtent = 30, .nEvery = 2},      // one pixel short
        {.nPitch = 9, .nExtent = 35, .nEvery = 5},       // a 24 m marker fitted to a window
        {.nPitch = 0, .nExtent = 30, .nEvery = INT_MAX}, // the lines coincide
    };
    for (const auto& c : cases)
        EXPECT_EQ(GridLabelEvery(c.nPitch, c.nExtent), c.nEvery) << c.nPitch << " " << c.nExtent;
}

// A 24 m marker fitted to the window: its grid lines lie closer than a label is wide, and
// the labels the preview draws still stand apart.
TEST_F(ViewTest, LongMarkerFittedKeepsItsAxisLabelsApart) {
    m_settings.PaperLenMm = 2100;
    m_view->resize(1300, 1000);
    AddTask({Line({{0, 1000}, {24000 * 40, 1000}})});
    m_view->RunCommand(CPreviewView::kCmdFitWhole);
    const CViewTransform& d = m_view->Disp();
    const int32_t nStep = GridStep(d.m_dScale);
    const int nPitch = WorldToScreen(d, nStep, 0).x - WorldToScreen(d, 0, 0).x;
    const int nWidest = m_view->fontMetrics().horizontalAdvance(
        QString::number(24000 * 40 / nStep * (nStep == 8000 ? 200 : 500)));
    ASSERT_LT(nPitch, nWidest); // every line labelled would run the numbers together
    const int nEvery = GridLabelEvery(nPitch, nWidest);
    EXPECT_GE(nEvery * nPitch, nWidest + kGridLabelGap);
}

TEST_F(ViewTest, FitSurvivesTinyWindowAndZeroRoll) {
    m_settings.PaperLenMm = 0;
    m_view->resize(200, 40);
    AddTask();
    EXPECT_GT(m_view->Disp().m_dScale, 0.0);
    EXPECT_FALSE(m_view->Picture().isNull());
}

TEST_F(ViewTest, WheelKeepsThePointUnderTheCursor) {
    AddTask();
    const QPoint pt(333, 222);
    const CScreenPoint before = ScreenToWorld(m_view->Disp(), pt.x(), pt.y());
    QWheelEvent ev(QPointF(pt), QPointF(m_view->mapToGlobal(pt)), QPoint(), QPoint(0, 120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(m_view.get(), &ev);
    EXPECT_DOUBLE_EQ(m_view->Disp().m_dScale, 0.1 * 1.25);
    const CScreenPoint back = WorldToScreen(m_view->Disp(), before.x, before.y);
    EXPECT_NEAR(back.x, pt.x(), 1);
    EXPECT_NEAR(back.y, pt.y(), 1);
}

TEST_F(ViewTest, ClickWithinTenPixelsTogglesAndWiderDragIsARubberBand) {
    m_settings.m_nMouseMode = CPreviewView::kModeSelect;
    COnePage& task = AddTask();
    // A press and release 10 pixels apart is a click at the release point.
    Drag({190, 330}, {200, 330});
    EXPECT_EQ(Selection(task), (std::vector<int>{1, 0}));
    Drag({190, 330}, {200, 330}, Qt::ControlModifier); // Ctrl click toggles it off again
    EXPECT_EQ(Selection(task), (std::vector<int>{0, 0}));
    // 11 pixels wide: a rubber band (drawn leftwards, so crossing A does not count).
    Drag({200, 335}, {189, 325});
    EXPECT_EQ(Selection(task), (std::vector<int>{0, 0}));
    // A band around B only; a plain click elsewhere then clears everything.
    Drag({340, 300}, {410, 360});
    EXPECT_EQ(Selection(task), (std::vector<int>{0, 1}));
    Drag({600, 100}, {600, 100});
    EXPECT_EQ(Selection(task), (std::vector<int>{0, 0}));
}

TEST_F(ViewTest, RubberBandIsDrawnInvertedWhileDragging) {
    m_settings.m_nMouseMode = CPreviewView::kModeSelect;
    m_settings.ColorBg = 0x646464;
    AddTask();
    Mouse(QEvent::MouseButtonPress, {500, 100}, Qt::LeftButton);
    Mouse(QEvent::MouseMove, {600, 200}, Qt::LeftButton);
    const QImage during = m_view->grab().toImage();
    Mouse(QEvent::MouseButtonRelease, {600, 200}, Qt::LeftButton);
    const QImage after = m_view->grab().toImage();
    int inverted = 0;
    for (int x = 500; x <= 600; ++x)
        inverted += during.pixelColor(x, 100) == QColor(0x9B, 0x9B, 0x9B);
    EXPECT_GT(inverted, 30); // dotted: every other pixel or so
    EXPECT_EQ(after.pixelColor(550, 100), QColor(0x64, 0x64, 0x64));
}

TEST_F(ViewTest, CrossingSelectionOnlyWhenDraggingLeftToRight) {
    m_settings.m_nMouseMode = CPreviewView::kModeSelect;
    COnePage& task = AddTask();
    Drag({370, 360}, {300, 300}); // right to left: B crosses the band, is not inside
    EXPECT_EQ(Selection(task), (std::vector<int>{0, 0}));
    Drag({300, 300}, {370, 360}); // left to right: crossing counts
    EXPECT_EQ(Selection(task), (std::vector<int>{0, 1}));
    // Shift adds: A by a crossing band, B stays selected.
    Drag({200, 300}, {300, 360}, Qt::ShiftModifier);
    EXPECT_EQ(Selection(task), (std::vector<int>{1, 1}));
}

TEST_F(ViewTest, DraggingSelectedCurvesStopsAtXZero) {
    COnePage& task = AddTask();
    task.m_arrCurves[0].m_bSelected = 1;
    m_settings.m_nMouseMode = CPreviewView::kModeMoveLines;
    m_view->Redraw();
    ASSERT_TRUE(m_view->Grabbing());
    // 15 pixels = 150 units to the left and 5 pixels = 50 units up, then far to the left.
    Mouse(QEvent::MouseButtonPress, {200, 330}, Qt::LeftButton);
    Mouse(QEvent::MouseMove, {185, 325}, Qt::LeftButton);
    EXPECT_EQ(task.m_arrCurves[0].m_arrPoints[0], (CPoint{850, 1050}));
    Mouse(QEvent::MouseMove, {20, 325}, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, {20, 325}, Qt::LeftButton);
    EXPECT_EQ(task.m_arrCurves[0].m_arrPoints[0], (CPoint{0, 1050}));
    EXPECT_EQ(task.m_arrCurves[0].m_arrPoints[1], (CPoint{1000, 1050}));
    EXPECT_EQ(task.m_arrCurves[1].m_arrPoints[0], (CPoint{3000, 1000})); // not selected
    EXPECT_EQ(task.m_nMinX, 0);
    EXPECT_GT(m_host.m_nRefreshes, 0);
}

TEST_F(ViewTest, StartPointModeFollowsMouseXAndEndsOnPress) {
    COnePage& task = AddTask({Line({{0, 0}, {3600, 1000}})});
    m_view->Disp().m_dScale = 0.25; // 10 pixels per millimetre
    m_settings.m_nMouseMode = CPreviewView::kModeStart;
    Mouse(QEvent::MouseMove, {929, 200}, Qt::NoButton); // X = 3516 units = 87.9 mm
    EXPECT_EQ(task.m_nStartMm, 87);
    EXPECT_EQ(m_host.m_strMouse, "Mouse:(87mm,23mm)");
    Mouse(QEvent::MouseMove, {990, 200}, Qt::NoButton); // beyond the drawing's length
    EXPECT_EQ(task.m_nStartMm, 0);
    Mouse(QEvent::MouseMove, {929, 200}, Qt::NoButton);
    Mouse(QEvent::MouseButtonPress, {929, 200}, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, {929, 200}, Qt::LeftButton);
    EXPECT_EQ(m_settings.m_nMouseMode, CPreviewView::kModeMoveView);
    EXPECT_EQ(m_host.m_nModeChanges, 1);
    EXPECT_EQ(task.m_nStartMm, 87);
    // The red start line is painted at x = 50 + 3480 * 0.25.
    const QImage image = m_view->Picture();
    EXPECT_EQ(image.pixelColor(920, 300), QColor(255, 0, 0));
}

TEST_F(ViewTest, RightDragPansInEveryModeAndLeftDragPansInMoveMode) {
    AddTask();
    m_settings.m_nMouseMode = CPreviewView::kModeSelect;
    Drag({500, 200}, {470, 230}, Qt::NoModifier, Qt::RightButton);
    EXPECT_EQ(m_view->Disp().m_nPanX, 30);
    EXPECT_EQ(m_view->Disp().m_nPanY, -30);
    m_settings.m_nMouseMode = CPreviewView::kModeMoveView;
    Drag({500, 200}, {510, 200});
    EXPECT_EQ(m_view->Disp().m_nPanX, 20);
}

TEST_F(ViewTest, SplitAlongFeedPromptsAndMessages) {
    // 110 mm long: with L = 100 mm the task becomes two pieces in its place, in order, each
    // named after the file it came from.
    COnePage& task = AddTask({Line({{0, 0}, {4400, 0}}), Line({{0, 100}, {4400, 100}})});
    task.m_tTime = 1700000000;
    task.m_nFileSize = 1234;
    m_host.m_opened.push_back(std::make_unique<COnePage>());
    m_prompts.m_dAnswer = 100;
    m_view->RunCommand(CPreviewView::kCmdSplitFeed);
    ASSERT_EQ(m_prompts.m_arrPrompts.size(), 1u);
    EXPECT_EQ(m_prompts.m_arrPrompts[0], "Split Length (X)(mm):");
    EXPECT_EQ(m_prompts.m_arrPresets[0], 10000);
    ASSERT_EQ(m_host.m_opened.size(), 3u);
    const COnePage& piece = *m_host.m_opened[0];
    EXPECT_EQ(piece.m_nMaxX, 4000);
    EXPECT_EQ(piece.m_strPath, "/data/a.plt(1/2)");
    EXPECT_EQ(piece.m_strName, "a.plt(1/2)");
    EXPECT_EQ(piece.m_tTime, 1700000000);
    EXPECT_EQ(piece.m_nFileSize, 1234);
    EXPECT_EQ(m_host.m_opened[1].get(), &task);
    EXPECT_EQ(task.m_strPath, "/data/a.plt(2/2)");
    EXPECT_EQ(task.m_nMaxX, 400);
    EXPECT_EQ(m_host.Row(m_host.m_nCurrent), &task);
    EXPECT_TRUE(m_prompts.m_arrMessages.empty());

    // Too short, or not shorter than the drawing: a message and nothing else; cancelled:
    // nothing at all.
    task.m_arrCurves = {Line({{0, 0}, {2400, 0}})};
    task.CalcExtents();
    const struct {
        double dAnswer;
        bool bAnswer;
        const char* pszMessage;
    } cases[] = {
        {50, true, "由于输入的段长太短，分割失败！"},
        {-1e300, true, "由于输入的段长太短，分割失败！"},
        {59.5, true, "分割段长 59 mm 不短于图形长度 60 mm，没有分割。"}, // 2380 > maxX - 40
        {1e300, true, "分割段长 53687091 mm 不短于图形长度 60 mm，没有分割。"},
        {100, false, nullptr},
    };
    for (const auto& c : cases) {
        m_prompts.m_arrMessages.clear();
        m_prompts.m_dAnswer = c.dAnswer;
        m_prompts.m_bAnswer = c.bAnswer;
        m_view->RunCommand(CPreviewView::kCmdSplitFeed);
        if (c.pszMessage == nullptr)
            EXPECT_TRUE(m_prompts.m_arrMessages.empty());
        else
            EXPECT_EQ(m_prompts.m_arrMessages, std::vector<std::string>{c.pszMessage}) << c.dAnswer;
        EXPECT_EQ(m_host.m_opened.size(), 3u);
        EXPECT_EQ(task.m_nMaxX, 2400);
    }
    m_prompts.m_bAnswer = true;
    m_settings.Language = 0;
    m_view->RunCommand(CPreviewView::kCmdSplitFeed);
    EXPECT_EQ(m_prompts.m_arrPrompts.back(), "输入分割段长(mm):");
}

TEST_F(ViewTest, SplitFeedIntoSeveralPiecesKeepsOrder) {
    // Three pieces and a 1000-unit remainder; a length that divides the drawing exactly
    // leaves no empty remainder behind, and stretches without curves make no piece.
    const struct {
        std::vector<CCurve> curves;
        std::vector<int32_t> minX;
        std::vector<int32_t> maxX;
    } cases[] = {
        {{Line({{0, 0}, {13000, 0}})}, {0, 0, 0, 0}, {4000, 4000, 4000, 1000}},
        {{Line({{0, 0}, {12000, 0}})}, {0, 0, 0}, {4000, 4000, 4000}},
        {{Line({{0, 0}, {3000, 0}}), Line({{9000, 0}, {12000, 0}})}, {0, 1000}, {3000, 4000}},
    };
    for (const auto& c : cases) {
        m_host.m_opened.clear();
        AddTask(c.curves);
        m_prompts.m_dAnswer = 100;
        m_view->RunCommand(CPreviewView::kCmdSplitFeed);
        ASSERT_EQ(m_host.m_opened.size(), c.maxX.size());
        const int n = static_cast<int>(c.maxX.size());
        for (int k = 0; k < n; ++k) {
            const COnePage& piece = *m_host.m_opened[static_cast<size_t>(k)];
            EXPECT_EQ(piece.m_nMinX, c.minX[static_cast<size_t>(k)]);
            EXPECT_EQ(piece.m_nMaxX, c.maxX[static_cast<size_t>(k)]);
            EXPECT_EQ(piece.m_strPath,
                      "/data/a.plt(" + std::to_string(k + 1) + "/" + std::to_string(n) + ")");
        }
    }
}

TEST_F(ViewTest, SplitAcrossWidthPromptAndFold) {
    COnePage& task = AddTask({Line({{0, 500}, {8000, 3500}})});
    m_prompts.m_dAnswer = 50; // 2000 units
    m_view->RunCommand(CPreviewView::kCmdSplitWidth);
    EXPECT_EQ(m_prompts.m_arrPrompts.at(0), "Split Length Y(mm):");
    EXPECT_EQ(m_prompts.m_arrPresets.at(0), 1000);
    EXPECT_EQ(task.m_nMinY, 0);          // moved to the origin first
    EXPECT_LE(task.m_nMaxY, 2000 + 400); // folded, cut marks reach 400 beyond the cut
    EXPECT_GT(task.m_nMaxX, 8000);       // strips laid one after another
    // A width that would need thousands of strips is refused with a message.
    m_prompts.m_dAnswer = 0.025; // 1 unit
    m_view->RunCommand(CPreviewView::kCmdSplitWidth);
    EXPECT_EQ(m_prompts.m_arrMessages.size(), 1u);
}

TEST_F(ViewTest, MirroredCopyGetsThePathSuffixAndGoesToTheFront) {
    COnePage& task = AddTask({Line({{0, 0}, {1000, 3000}})});
    m_host.m_manual.push_back(std::make_unique<COnePage>());
    m_view->RunCommand(CPreviewView::kCmdMirrorCopy);
    ASSERT_EQ(m_host.m_manual.size(), 2u);
    const COnePage& copy = *m_host.m_manual[0];
    EXPECT_EQ(copy.m_strPath, "/data/a.plt(Mirror)");
    EXPECT_EQ(copy.m_arrCurves[0].m_arrPoints[0], (CPoint{0, 3000}));
    EXPECT_EQ(copy.m_nMaxY, 3000);
    EXPECT_EQ(task.m_arrCurves[0].m_arrPoints[0], (CPoint{0, 0}));
    EXPECT_EQ(m_host.Row(m_host.m_nCurrent), &task);
    m_settings.Language = 0;
    m_view->RunCommand(CPreviewView::kCmdMirrorCopy);
    EXPECT_EQ(m_host.m_manual[0]->m_strPath, "/data/a.plt(镜像)");
}

TEST_F(ViewTest, DeleteSelectAllMoveToOriginAndLoad) {
    COnePage& task = AddTask({Line({{500, 700}, {1000, 700}}), Line({{2000, 900}, {2500, 900}})});
    task.m_arrCurves[1].m_bSelected = 1;
    m_view->RunCommand(CPreviewView::kCmdDeleteLines);
    ASSERT_EQ(task.m_arrCurves.size(), 1u);
    EXPECT_EQ(task.m_nMaxX, 1000);
    m_view->RunCommand(CPreviewView::kCmdSelectAll);
    EXPECT_EQ(task.m_arrCurves[0].m_bSelected, 1);
    m_view->RunCommand(CPreviewView::kCmdMoveToOrigin);
    EXPECT_EQ(task.m_arrCurves[0].m_arrPoints[0], (CPoint{0, 0}));
    m_view->LoadCurrentDrawing(true);
    EXPECT_EQ(m_host.m_nLoads, 1);
    EXPECT_FALSE(m_view->RunCommand(12345));
}

// A paint shows the current task and never chooses another: with no task there is only
// the paper, and the choice stays the list's.
TEST_F(ViewTest, EmptyQueuePaintsThePaperAndChoosesNothing) {
    m_host.m_nCurrent = 3;
    m_view->Redraw();
    EXPECT_EQ(m_host.m_nCurrent, 3);
    m_view->RunCommand(CPreviewView::kCmdMirrorCopy); // no task: nothing to copy
    EXPECT_TRUE(m_host.m_manual.empty());
}

TEST_F(ViewTest, PrintProgressOutlinesTheLastBand) {
    COnePage& task = AddTask({Line({{0, 0}, {4000, 1000}})});
    CMachineParams params;
    params.SetHeadCombination(1);
    EXPECT_EQ(CPreviewView::BandExtent(0, params), 508);
    params.SetPreciseMode(1);
    EXPECT_EQ(CPreviewView::BandExtent(1, params), 508);
    params.SetPreciseMode(0);
    params.SetHeadCombination(0);
    params.SetHeadOverlap(0, 0);
    EXPECT_EQ(CPreviewView::BandExtent(0, params), 1016);
    params.SetHeadCombination(9);
    EXPECT_EQ(CPreviewView::BandExtent(5, params), 0);

    params.SetHeadCombination(1);
    const QImage before = m_view->Picture();
    m_view->ShowPrintProgress(2, params); // not printing: nothing
    EXPECT_EQ(m_view->Picture(), before);
    task.m_nPrintState = PS_PRINTING;
    m_view->ShowPrintProgress(2, params); // X 1016..1524: pixels 151 to 202, right excluded
    const QImage image = m_view->Picture();
    EXPECT_EQ(image.pixelColor(151, 200), QColor(0, 0xC8, 0xFF));
    EXPECT_EQ(image.pixelColor(201, 200), QColor(0, 0xC8, 0xFF));
    EXPECT_NE(image.pixelColor(202, 200), QColor(0, 0xC8, 0xFF));
}

TEST_F(ViewTest, FitWholeShowsTheDrawingsLengthAndWidth) {
    // 930 x 400 pixels inside the margins of the 1000 x 460 window; the box always holds
    // the paper's origin and the 100 mm (4000-unit) roll.
    const struct {
        const char* pszName;
        CCurve line;
        double dScale;
        CScreenPoint far; ///< where the box's upper-right corner lands
    } cases[] = {
        {"12 m marker", Line({{0, 1000}, {480000, 3000}}), 930.0 / 480000, {980, 422}},
        {"wider than the roll", Line({{0, 0}, {1000, 8000}}), 400.0 / 8000, {100, 30}},
        {"before and below the origin",
         Line({{-2000, -1000}, {6000, 3000}}),
         400.0 / 5000,
         {690, 30}},
    };
    for (const auto& c : cases) {
        m_host.m_opened.clear();
        const COnePage& task = AddTask({c.line});
        m_view->RunCommand(CPreviewView::kCmdZoomIn);
        m_view->RunCommand(CPreviewView::kCmdPanUp);
        m_view->RunCommand(CPreviewView::kCmdFitWhole);
        const CViewTransform& d = m_view->Disp();
        EXPECT_DOUBLE_EQ(d.m_dScale, c.dScale) << c.pszName;
        EXPECT_EQ(d.m_nViewHeight, 460) << c.pszName;
        const int x0 = std::min(task.m_nMinX, 0);
        const int y0 = std::min(task.m_nMinY, 0);
        const int x1 = task.m_nMaxX;
        const int y1 = std::max(task.m_nMaxY, 4000);
        EXPECT_EQ(WorldToScreen(d, x0, y0), (CScreenPoint{50, 430})) << c.pszName;
        const CScreenPoint far = WorldToScreen(d, x1, y1);
        EXPECT_NEAR(far.x, c.far.x, 1) << c.pszName;
        EXPECT_NEAR(far.y, c.far.y, 1) << c.pszName;
        EXPECT_FALSE(BarShown()) << c.pszName;
    }
}

TEST_F(ViewTest, FKeyAndDoubleClickOnEmptyPaperFitTheWholeDrawing) {
    // 400 mm long: the roll fit (0.1) leaves the drawing's end beyond the window; the whole
    // drawing needs 930 / 16000 pixels per unit.
    COnePage& task =
        AddTask({Line({{1000, 1000}, {2000, 1000}}), Line({{0, 3000}, {16000, 3000}})});
    m_settings.m_nMouseMode = CPreviewView::kModeSelect;
    const double roll = 0.1;
    const double whole = 930.0 / 16000;
    const CScreenPoint onA = WorldToScreen(m_view->Disp(), 1500, 1000);
    const CScreenPoint empty = WorldToScreen(m_view->Disp(), 6000, 2000);
    const struct {
        const char* pszName;
        std::function<void()> act;
        double dScale;
        int nSelectedA; ///< a double click on a curve still selects it as a click does
    } cases[] = {
        {"F", [&] { Key(Qt::Key_F, Qt::NoModifier, "f"); }, whole, 0},
        {"Shift+F", [&] { Key(Qt::Key_F, Qt::ShiftModifier, "F"); }, whole, 0},
        {"Ctrl+F", [&] { Key(Qt::Key_F, Qt::ControlModifier); }, roll, 0},
        {"double click on empty paper",
         [&] {
             DoubleClick({empty.x, empty.y});
         },
         whole, 0},
        {"double click on curve A",
         [&] {
             DoubleClick({onA.x, onA.y});
         },
         roll, 1},
    };
    for (const auto& c : cases) {
        task.ClearCurveSelection();
        m_view->RunCommand(CPreviewView::kCmdFitWindow);
        ASSERT_DOUBLE_EQ(m_view->Disp().m_dScale, roll);
        c.act();
        EXPECT_DOUBLE_EQ(m_view->Disp().m_dScale, c.dScale) << c.pszName;
        EXPECT_EQ(task.m_arrCurves[0].m_bSelected, c.nSelectedA) << c.pszName;
    }
}

TEST_F(ViewTest, ContextMenuOffersFitWhole) {
    AddTask({Line({{0, 3000}, {16000, 3000}})});
    QString text;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            if (action->data().toInt() == CPreviewView::kCmdFitWhole) {
                text = action->text();
                menu->setActiveAction(action);
            }
        }
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(menu, &enter);
    });
    QTimer::singleShot(5000, [] { // a menu left open must not hang the test
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    Mouse(QEvent::MouseButtonPress, {600, 100}, Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, {600, 100}, Qt::RightButton);
    EXPECT_EQ(text, QString::fromUtf8("适合整个图形")); // no translation loaded here
    EXPECT_DOUBLE_EQ(m_view->Disp().m_dScale, 930.0 / 16000);
}

TEST_F(ViewTest, FeedScrollBarFollowsTheScaleAndPans) {
    // A 12 m marker: a line along it at 50 mm and a mark across it at 5125 mm.
    AddTask({Line({{0, 2000}, {480000, 2000}}), Line({{205000, 0}, {205000, 4000}})});
    QScrollBar* bar = m_view->FeedScrollBar();
    const CViewTransform& d = m_view->Disp();
    // Pixels of the curve colour in the column where the mark lands at a pan of 20000.
    auto curvePixels = [&] {
        const QImage image = m_view->Picture();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            n += image.pixel(550, y) == qRgb(255, 255, 255);
        return n;
    };
    // After the roll fit the bar takes the bottom of the window and the origin stays 30
    // pixels above it; the range runs from the drawing's start at the left margin to its
    // end 20 pixels before the right edge.
    EXPECT_DOUBLE_EQ(d.m_dScale, 0.1); // the roll width fits the window height
    ASSERT_TRUE(BarShown());
    const int barHeight = bar->height();
    EXPECT_GT(barHeight, 0);
    EXPECT_EQ(bar->geometry(), QRect(0, 460 - barHeight, 1000, barHeight));
    EXPECT_EQ(d.m_nViewHeight, 460 - barHeight);
    EXPECT_EQ(WorldToScreen(d, 0, 0).y, 460 - barHeight - 30);
    EXPECT_EQ(m_view->Picture().height(), 460 - barHeight);
    EXPECT_EQ(bar->pageStep(), 1000);
    EXPECT_EQ(curvePixels(), 1); // only the line along the marker
    bar->setValue(20000);
    EXPECT_EQ(d.m_nPanX, 20000);
    EXPECT_GT(curvePixels(), 300); // the mark, redrawn where the bar moved to

    // While fitted the origin stays 30 pixels above the bar; once zoomed or panned the
    // picture stays where it is when the bar comes or goes.
    const int fitted = 460 - barHeight - 30;
    const struct {
        const char* pszName;
        std::function<void()> act;
        bool bShown;
        int nMin, nMax, nValue;
        int nOriginY;
    } steps[] = {
        {"page step", [&] { bar->triggerAction(QAbstractSlider::SliderPageStepAdd); }, true, 0,
         47070, 21000, fitted},
        {"arrow key", [&] { Key(Qt::Key_Left); }, true, 0, 47070, 21080, fitted},
        {"zoom out", [&] { m_view->RunCommand(CPreviewView::kCmdZoomOut); }, true, 0, 23070, 10540,
         fitted},
        {"zoom in", [&] { m_view->RunCommand(CPreviewView::kCmdZoomIn); }, true, 0, 47070, 10540,
         fitted},
        {"mouse drag",
         [&] {
             Drag({900, 200}, {100, 200});
         },
         true, 0, 47070, 11340, fitted},
        {"pan before the start",
         [&] {
             bar->setValue(0);
             Key(Qt::Key_Right);
         },
         true, -80, 47070, -80, fitted},
        {"fit whole", [&] { Key(Qt::Key_F, Qt::NoModifier, "f"); }, false, 0, 0, 0, 430},
        {"zoom in twice",
         [&] {
             m_view->RunCommand(CPreviewView::kCmdZoomIn);
             m_view->RunCommand(CPreviewView::kCmdZoomIn);
         },
         true, 0, 2790, 0, 430},
        {"fit the roll", [&] { m_view->RunCommand(CPreviewView::kCmdFit); }, true, 0, 47070, 0,
         fitted},
    };
    for (const auto& s : steps) {
        s.act();
        EXPECT_EQ(BarShown(), s.bShown) << s.pszName;
        EXPECT_EQ(m_view->Picture().height(), s.bShown ? 460 - barHeight : 460) << s.pszName;
        EXPECT_EQ(WorldToScreen(d, 0, 0).y, s.nOriginY) << s.pszName;
        if (!s.bShown)
            continue;
        EXPECT_EQ(bar->minimum(), s.nMin) << s.pszName;
        EXPECT_NEAR(bar->maximum(), s.nMax, 1) << s.pszName;
        EXPECT_EQ(bar->value(), s.nValue) << s.pszName;
        EXPECT_EQ(d.m_nPanX, s.nValue) << s.pszName;
    }
}

// The picture of docs/preview-12m.png: samples/marker.plt twice, 400 mm apart, as a 12 m
// marker on the 2.1 m roll, fitted whole with F. Written into the folder that
// INKVALE_DIALOG_PICTURES names, with the dialogs' pictures.
TEST_F(ViewTest, TwelveMetreMarkerFitsWhole) {
    auto task = std::make_unique<COnePage>();
    task->m_strPath = (test::SourceDir() / "samples" / "marker.plt").string();
    m_settings.PaperLenMm = 2100;
    m_settings.ColorBg = 0x646464;
    const CTaskLoadResult r = LoadTaskDrawing(*task, m_settings, false);
    ASSERT_TRUE(r.Ok() && !task->m_arrCurves.empty()) << r.m_strDiag;
    task->CalcExtents();
    COnePage second;
    second.CopyTask(*task);
    second.OffsetAll(16000, 0);
    task->AppendShifted(second);
    task->CalcExtents();
    ASSERT_EQ(task->m_nMinX, 0);
    ASSERT_EQ(task->m_nMaxX, 480000);
    m_view->resize(1600, 340);
    m_view->show();
    m_view->activateWindow();
    m_view->setFocus();
    QApplication::processEvents();
    m_host.m_opened.push_back(std::move(task));
    m_view->SelectRow(0);
    EXPECT_TRUE(BarShown()); // the roll fit shows 1.6 of the 12 m
    ASSERT_EQ(QApplication::focusWidget(), m_view.get());
    QKeyEvent f(QEvent::KeyPress, Qt::Key_F, Qt::NoModifier, "f");
    QApplication::sendEvent(QApplication::focusWidget(), &f);
    EXPECT_FALSE(BarShown());
    EXPECT_DOUBLE_EQ(m_view->Disp().m_dScale, 1530.0 / 480000);

    const QImage image = m_view->grab().toImage();
    ASSERT_EQ(image.size(), QSize(1600, 340));
    // Pieces at both ends of the marker are in the picture.
    auto curvePixels = [&](int x0, int x1) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = x0; x < x1; ++x)
                n += image.pixel(x, y) == qRgb(255, 255, 255);
        return n;
    };
    EXPECT_GT(curvePixels(50, 200), 500);
    EXPECT_GT(curvePixels(1430, 1580), 500);
    EXPECT_EQ(curvePixels(1585, 1600), 0);
    const QString folder = qEnvironmentVariable("INKVALE_DIALOG_PICTURES");
    if (!folder.isEmpty()) {
        EXPECT_TRUE(image.save(folder + "/preview-12m.png"));
    }
}

// A real drawing as the operator sees it: loaded through the task loader, fitted, part of
// it selected by a crossing band. Set INKVALE_PREVIEW_PNG to keep the picture.
TEST_F(ViewTest, CorpusDrawingWithSelectionLooksRight) {
    const std::string path = (test::CorpusDir() / "hpgl" / "hp2xx-acad.hp").string();
    auto task = std::make_unique<COnePage>();
    task->m_strPath = path;
    const CTaskLoadResult r = LoadTaskDrawing(*task, m_settings, false);
    ASSERT_TRUE(r.Ok() && !task->m_arrCurves.empty()) << r.m_strDiag;
    task->ScaleAll(4, 4); // a marker-sized drawing, so that the 200 mm grid shows
    task->CalcExtents();
    m_settings.ColorBg = 0x646464;
    m_settings.PaperLenMm = task->m_nMaxY / 40 + 20;
    m_view->resize(1200, 700);
    m_host.m_opened.push_back(std::move(task));
    m_view->SelectRow(0);
    const COnePage& shown = *m_host.m_opened[0];
    m_settings.m_nMouseMode = CPreviewView::kModeSelect;
    Drag({600, 140}, {700, 200}); // crosses the two rings around B
    int selected = 0;
    for (const CCurve& c : shown.m_arrCurves)
        selected += c.m_bSelected;
    EXPECT_GT(selected, 0);
    EXPECT_LT(selected, static_cast<int>(shown.m_arrCurves.size()));
    m_settings.m_nMouseMode = CPreviewView::kModeStart;
    const CScreenPoint s = WorldToScreen(m_view->Disp(), shown.m_nMaxX * 4 / 5, 0);
    Mouse(QEvent::MouseMove, {s.x, 300}, Qt::NoButton);
    m_settings.m_nMouseMode = CPreviewView::kModeSelect;

    const QImage image = m_view->Picture();
    const QString out = qEnvironmentVariable("INKVALE_PREVIEW_PNG");
    if (!out.isEmpty())
        image.save(out);
    int frame = 0, curve = 0, red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb px = image.pixel(x, y);
            frame += px == qRgb(0, 255, 0);
            curve += px == qRgb(255, 255, 255);
            red += px == qRgb(255, 0, 0);
        }
    EXPECT_GT(frame, 1000); // frame and grid labels
    EXPECT_GT(curve, 2000); // the drawing and the selection marks
    EXPECT_GT(red, 300);    // the start line, two pixels wide
}

// A dense random marker: the clipped, merged painting must look like drawing every
// segment as it is.
/// A picture of the preview's size filled with the background.
QImage Blank(QColor background) {
    QImage image(1000, 600, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

/// A view at this scale on a 600-pixel-high picture.
CViewTransform ViewAt(double scale) {
    CViewTransform disp;
    disp.m_dScale = scale;
    disp.m_nViewHeight = 600;
    return disp;
}

void PaintNaive(QPainter& p, const CViewTransform& disp, const CCurveArray& curves, QColor colour) {
    p.setPen(QPen(colour, 0));
    for (const CCurve& c : curves) {
        QPolygon poly;
        for (const CPoint& v : c.m_arrPoints) {
            const CScreenPoint s = WorldToScreen(disp, v.x, v.y);
            poly << QPoint(s.x, s.y);
        }
        p.drawPolyline(poly);
    }
}

TEST(PreviewPainter, MergedPaintingMatchesSegmentBySegment) {
    EnsureApp();
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> step(-60, 60);
    CCurveArray curves;
    for (int k = 0; k < 400; ++k) {
        CCurve c;
        int x = 2000 + k * 90;
        int y = 40000;
        for (int i = 0; i < 200; ++i) {
            c.AddPoint(x, y);
            x += step(rng);
            y += step(rng) * 20;
        }
        curves.push_back(std::move(c));
    }
    CPreviewStyle style;
    style.m_colBg = Qt::black;
    style.m_colCurve = Qt::white;
    const CPreviewPainter painter(style);
    for (double scale : {0.012, 0.1}) { // fitted and zoomed in (most curves off screen)
        CViewTransform disp = ViewAt(scale);
        disp.m_nPanY = scale > 0.05 ? -3730 : 0;
        QImage mine = Blank(Qt::black);
        QImage naive = Blank(Qt::black);
        {
            QPainter p(&mine);
            painter.PaintCurves(p, mine.size(), disp, curves);
            QPainter q(&naive);
            PaintNaive(q, disp, curves, Qt::white);
        }
        int differ = 0;
        int lit = 0;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 1000; ++x) {
                differ += mine.pixel(x, y) != naive.pixel(x, y);
                lit += naive.pixel(x, y) != qRgb(0, 0, 0);
            }
        EXPECT_GT(lit, 5000) << scale;
        EXPECT_LT(differ, lit / 100) << scale; // below 1 % of the drawn pixels
    }
}

// A large drawing is painted in two halves on two threads: the picture must be that of
// painting every curve in order on one, pixel for pixel, solid and dashed, fitted and zoomed.
TEST(PreviewPainter, TwoHalvesPaintTheSamePixelsAsOnePainting) {
    EnsureApp();
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> step(-400, 400);
    CCurveArray curves;
    for (int k = 0; k < 2000; ++k) {
        CCurve c;
        c.m_nLineType = k % 3 == 0 ? 1 : 0;
        int x = 2000 + (k % 200) * 400;
        int y = 20000 + (k / 200) * 3000;
        for (int i = 0; i < 160; ++i) {
            c.AddPoint(x, y);
            x += step(rng);
            y += step(rng);
        }
        curves.push_back(std::move(c));
    }
    ASSERT_GT(CurveHalvesSplit(curves), 0u);
    CPreviewStyle style;
    style.m_colBg = Qt::white;
    style.m_colCurve = Qt::darkBlue;
    const CPreviewPainter painter(style);
    for (double scale : {0.012, 0.02}) { // fitted, and zoomed with parts off the picture
        const CViewTransform disp = ViewAt(scale);
        QImage halves = Blank(Qt::white);
        QImage one = Blank(Qt::white);
        {
            QPainter p(&halves);
            painter.PaintCurves(p, halves.size(), disp, curves);
            // Pieces below the size of two halves are painted in order on this thread.
            QPainter q(&one);
            for (size_t k = 0; k < curves.size(); k += 500) {
                const CCurveArray piece(curves.begin() + static_cast<ptrdiff_t>(k),
                                        curves.begin() + static_cast<ptrdiff_t>(k + 500));
                ASSERT_EQ(CurveHalvesSplit(piece), 0u);
                painter.PaintCurves(q, one.size(), disp, piece);
            }
        }
        int lit = 0;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 1000; ++x)
                lit += one.pixel(x, y) != qRgb(255, 255, 255);
        EXPECT_GT(lit, 5000) << scale;
        EXPECT_TRUE(halves == one) << scale;
    }
}

TEST(PreviewPainter, FarZoomAndHugeCoordinatesAreSafe) {
    EnsureApp();
    CCurveArray curves{Line({{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}, {0, 5}})};
    curves[0].m_bSelected = 1;
    CPreviewStyle style;
    style.m_colBg = Qt::black;
    style.m_colCurve = Qt::white;
    const CPreviewPainter painter(style);
    QImage image(200, 100, QImage::Format_RGB32);
    for (double scale : {1e12, 1e300, std::numeric_limits<double>::infinity(), 1e-300, 0.0}) {
        CViewTransform disp;
        disp.m_dScale = scale;
        disp.m_nViewHeight = 100;
        image.fill(Qt::black);
        QPainter p(&image);
        painter.PaintCurves(p, image.size(), disp, curves);
    }
    // Zoomed far in on the origin: the long diagonal still crosses the picture.
    CViewTransform disp;
    disp.m_dScale = 1e6;
    disp.m_nViewHeight = 100;
    disp.m_nPanX = -50;
    disp.m_nPanY = -30 + 50;
    image.fill(Qt::black);
    QPainter p(&image);
    painter.PaintCurves(p, image.size(), disp, curves);
    p.end();
    int lit = 0;
    for (int x = 0; x < 200; ++x)
        for (int y = 0; y < 100; ++y)
            lit += image.pixel(x, y) != qRgb(0, 0, 0);
    EXPECT_GT(lit, 50);
}

} // namespace
} // namespace inkvale
