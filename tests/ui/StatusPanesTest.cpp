// SPDX-License-Identifier: GPL-3.0-or-later
// The status bar's panes share its width: none runs into another, a shortened one holds its
// whole text as the tooltip, and the job's line keeps its progress by shortening the file
// name in the middle.
#include "ui/StatusPanes.h"

#include "ui/StatusTexts.h"

#include "UiTestApp.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

#include <gtest/gtest.h>

namespace inkvale {
namespace {

enum : int { kMouse = 1, kState, kAddress, kJob, kTotals };

class StatusPanesTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureUiTestApp();
        m_pPanes =
            new CStatusPanes(*m_window.statusBar(), {kMouse, kState, kAddress, kJob, kTotals},
                             {kTotals, kAddress, kMouse, kJob});
        m_window.setCentralWidget(new QWidget(&m_window));
    }
    void ShowAt(int nWidth) {
        m_window.resize(nWidth, 300);
        m_window.show();
        // The posted layout requests run; then the panes are placed for this width.
        QApplication::processEvents();
        m_pPanes->Arrange();
        QApplication::processEvents();
    }
    // No two visible panes overlap, each lies inside the bar, and each shows its text whole
    // within its own rectangle.
    void ExpectNoOverlapAndNoClipping() {
        const int nBar = m_window.statusBar()->width();
        int nRightOfLast = -1;
        for (const int nPane : {kMouse, kState, kAddress, kJob, kTotals}) {
            const QLabel* pLabel = m_pPanes->Label(nPane);
            if (pLabel->isHidden())
                continue;
            const QRect r = pLabel->geometry();
            EXPECT_GT(r.left(), nRightOfLast) << nPane;
            EXPECT_LE(r.right(), nBar) << nPane;
            nRightOfLast = r.right();
            EXPECT_LE(pLabel->fontMetrics().horizontalAdvance(pLabel->text()),
                      pLabel->contentsRect().width())
                << nPane << ": " << pLabel->text().toStdString();
        }
    }

    QMainWindow m_window;
    CStatusPanes* m_pPanes = nullptr;
};

const QString kName = QStringLiteral("春季新款女装连衣裙唛架第二版最终修改稿已确认可以打印.plt");

void SetTexts(CStatusPanes& panes) {
    panes.SetText(kMouse, QStringLiteral("Mouse:(1200mm,800mm)"), kPaneGrey);
    panes.SetText(kState, QStringLiteral("Working, 19.05% complete"), kPaneYellow);
    panes.SetText(kAddress, QStringLiteral("Machine IP:127.0.0.1"), kPaneGrey);
    panes.SetText(kJob,
                  kName + QStringLiteral(": band 44 of 231 (resumed at 41), 1.1 m of 5.8 m, "
                                         "about 13 min left, 1 more copies"),
                  kPaneGrey, kName);
    panes.SetText(kTotals, QStringLiteral("4 tasks · 23.4 m · 1:02:00 · ink 12.50 ml"), kPaneGrey);
}

TEST_F(StatusPanesTest, WideBarShowsEveryPaneWhole) {
    SetTexts(*m_pPanes);
    ShowAt(3000);
    ExpectNoOverlapAndNoClipping();
    for (const int nPane : {kMouse, kState, kAddress, kJob, kTotals}) {
        EXPECT_EQ(m_pPanes->ShownText(nPane), m_pPanes->Text(nPane)) << nPane;
        EXPECT_TRUE(m_pPanes->Label(nPane)->toolTip().isEmpty()) << nPane;
    }
}

// At the widths of common screens, and at a scale factor of 2 on a 1600 px screen (800
// logical pixels), the totals yield first and the job's progress stays readable.
TEST_F(StatusPanesTest, NarrowBarsYieldInOrderAndKeepTheProgress) {
    const struct {
        int nWidth;
        bool bTotalsShown;
        bool bNameWhole;
    } cases[] = {
        {.nWidth = 1600, .bTotalsShown = false, .bNameWhole = true},
        {.nWidth = 1366, .bTotalsShown = false, .bNameWhole = false},
        {.nWidth = 800, .bTotalsShown = false, .bNameWhole = false},
    };
    SetTexts(*m_pPanes);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nWidth);
        ShowAt(c.nWidth);
        ExpectNoOverlapAndNoClipping();
        EXPECT_EQ(!m_pPanes->ShownText(kTotals).isEmpty(), c.bTotalsShown);
        const QString job = m_pPanes->ShownText(kJob);
        EXPECT_EQ(job.contains(kName), c.bNameWhole) << job.toStdString();
        // The state pane never yields.
        EXPECT_EQ(m_pPanes->ShownText(kState), m_pPanes->Text(kState));
        if (!c.bNameWhole) {
            // The name is cut in its middle: its start and its end are still there, and so
            // is where the job stands.
            EXPECT_TRUE(job.startsWith(kName.left(2))) << job.toStdString();
            EXPECT_TRUE(job.contains(QStringLiteral(".plt: band 44 of 231"))) << job.toStdString();
            EXPECT_EQ(m_pPanes->Label(kJob)->toolTip(), m_pPanes->Text(kJob));
        }
    }
    // Room again: the whole texts come back and the tooltips go.
    ShowAt(3000);
    EXPECT_EQ(m_pPanes->ShownText(kJob), m_pPanes->Text(kJob));
    EXPECT_TRUE(m_pPanes->Label(kJob)->toolTip().isEmpty());
}

} // namespace
} // namespace inkvale
