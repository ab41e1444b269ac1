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

    // The application exists before the window (a test may run alone in its process).
    bool m_bApp = (test::EnsureUiTestApp(), true);
    QMainWindow m_window;
    CStatusPanes* m_pPanes = nullptr;
};

// A long name in Latin letters: a machine without Chinese fonts measures Chinese ones as
// next to nothing.
const QString kName =
    QStringLiteral("spring-collection-womens-dress-marker-second-revision-final-approved.plt");

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

// At the widths of common screens, at a scale factor of 2 on a 1600 px screen (800 logical
// pixels) and narrower still, the totals yield before the job's line, and the job's line
// shortens the file name in its middle before anything else of it.
TEST_F(StatusPanesTest, NarrowBarsYieldInOrderAndKeepTheProgress) {
    SetTexts(*m_pPanes);
    for (const int nWidth : {1600, 1366, 1024, 800, 640}) {
        SCOPED_TRACE(nWidth);
        ShowAt(nWidth);
        ExpectNoOverlapAndNoClipping();
        // The state pane never yields.
        EXPECT_EQ(m_pPanes->ShownText(kState), m_pPanes->Text(kState));
        const QString job = m_pPanes->ShownText(kJob);
        if (job == m_pPanes->Text(kJob))
            continue;
        EXPECT_TRUE(m_pPanes->ShownText(kTotals).isEmpty());
        EXPECT_EQ(m_pPanes->Label(kJob)->toolTip(), m_pPanes->Text(kJob));
        // The name is cut in its middle: its start and its end are still there, and so is
        // where the job stands.
        EXPECT_TRUE(job.startsWith(kName.left(2))) << job.toStdString();
        const qsizetype nCut = job.indexOf(QChar(0x2026));
        EXPECT_TRUE(nCut > 0 && nCut < job.indexOf(QStringLiteral("t: band 44 of 231")))
            << job.toStdString();
    }
    // A bar too short for the line even with the name at its shortest: the line is cut at
    // its end, the band still in it.
    ShowAt(640);
    EXPECT_NE(m_pPanes->ShownText(kJob), m_pPanes->Text(kJob));
    EXPECT_TRUE(m_pPanes->ShownText(kJob).contains(QStringLiteral("band 44 of 231")))
        << m_pPanes->ShownText(kJob).toStdString();
    // Room again: the whole texts come back and the tooltips go.
    ShowAt(3000);
    EXPECT_EQ(m_pPanes->ShownText(kJob), m_pPanes->Text(kJob));
    EXPECT_TRUE(m_pPanes->Label(kJob)->toolTip().isEmpty());
}

} // namespace
} // namespace inkvale
