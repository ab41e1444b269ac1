// SPDX-License-Identifier: GPL-3.0-or-later
// The operator at the real window (offscreen) with the real core and the plotter simulator on
// loopback: rows clicked with the mouse, files arriving in the folders meanwhile, Start, the
// list commands and Undo. What is highlighted is what prints; an undo brings back exactly
// what was there.
#include "MainWindowFixture.h"

#include <filesystem>
#include <set>
#include <string>

namespace inkvale {
namespace {

namespace fs = std::filesystem;
using test::Marker;
using test::WriteWithTime;

class MainWindowOperatorTest : public test::CMainWindowFixture {};

// Start prints the highlighted marker, whatever arrives in the folders between the click and
// Start: a newer file sorts above it and moves its row, and nothing else becomes highlighted.
TEST_F(MainWindowOperatorTest, StartPrintsTheHighlightedTaskWhileFilesArrive) {
    FillManualFolder(12);
    ClickRow(5);
    const std::string strChosen = PathAtRow(5);
    ASSERT_EQ(HighlightedPaths(), std::set<std::string>{strChosen});

    ASSERT_TRUE(WriteWithTime(ManualFile(100), Marker(9000), m_tNext++));
    ASSERT_TRUE(RunUntil([&] { return List().rowCount() == 13; }));
    EXPECT_EQ(PathAtRow(6), strChosen); // the new file sorted above it
    EXPECT_EQ(HighlightedPaths(), std::set<std::string>{strChosen});
    EXPECT_EQ(CurrentPath(), strChosen);

    sim::CSimTiming timing;
    timing.m_nBandPrintMs = 300;
    m_machine.SetTiming(timing);
    ASSERT_TRUE(RunUntil([&] { return MachineReady(); }));
    ASSERT_TRUE(m_pFrame->RunCommand(kBtnStart));
    ASSERT_TRUE(RunUntil([&] { return !PrintingPath().empty(); }));
    EXPECT_EQ(PrintingPath(), strChosen);

    // Files that arrive during the job take no part of the highlight.
    ASSERT_TRUE(WriteWithTime(ManualFile(101), Marker(9040), m_tNext++));
    ASSERT_TRUE(WriteWithTime(ManualFile(102), Marker(9080), m_tNext++));
    ASSERT_TRUE(RunUntil([&] { return List().rowCount() == 15; }));
    EXPECT_EQ(HighlightedPaths(), std::set<std::string>{strChosen});
    EXPECT_TRUE(RunUntil([&] { return MachineReady() && PrintingPath().empty(); }));
    EXPECT_EQ(m_machine.Stats().m_nJobsFinished, 1);
}

// A Ctrl-click selection survives arriving files and a click elsewhere ends it; Start with
// the highlighted task gone (its file rewritten, so it is a new task) prints nothing and
// says why.
TEST_F(MainWindowOperatorTest, SelectionsFollowTheirTasksAndAGoneTaskIsNotReplaced) {
    FillManualFolder(6);
    ClickRow(1);
    ClickRow(3, Qt::ControlModifier);
    const std::set<std::string> chosen = {PathAtRow(1), PathAtRow(3)};
    EXPECT_EQ(HighlightedPaths(), chosen);
    EXPECT_EQ(CurrentPath(), PathAtRow(3));
    ASSERT_TRUE(WriteWithTime(ManualFile(50), Marker(8000), m_tNext++));
    ASSERT_TRUE(RunUntil([&] { return List().rowCount() == 7; }));
    EXPECT_EQ(HighlightedPaths(), chosen);

    const std::string strCurrent = CurrentPath();
    ASSERT_TRUE(WriteWithTime(strCurrent, Marker(6000), m_tNext++));
    ASSERT_TRUE(RunUntil([&] { return CurrentPath().empty(); }));
    ASSERT_TRUE(RunUntil([&] { return MachineReady(); }));
    m_prompts.m_arrShown.clear();
    m_pFrame->Queue().PrintCurrentTask();
    EXPECT_TRUE(PrintingPath().empty());
    ASSERT_EQ(m_prompts.m_arrShown.size(), 1u);
    EXPECT_NE(m_prompts.m_arrShown[0].find("nothing was printed"), std::string::npos)
        << m_prompts.m_arrShown[0];
    EXPECT_EQ(m_machine.Stats().m_nJobsAccepted, 0);
}

// Every list command can be undone, the first one after the start too, and an undo brings
// back the tasks exactly as they were: copies, figures and the totals. Undo and Redo are
// offered only when there is something to undo or redo, and say what.
TEST_F(MainWindowOperatorTest, UndoBringsBackTheTasksAsTheyWere) {
    FillManualFolder(4);
    ASSERT_TRUE(RunUntil([&] { return AllFiguresDone(); }));
    QAction* pUndo = m_pFrame->Action(kCmdUndo);
    QAction* pRedo = m_pFrame->Action(kCmdRedo);
    m_pFrame->RefreshTaskList();
    EXPECT_FALSE(pUndo->isEnabled());
    EXPECT_FALSE(pRedo->isEnabled());

    const std::string strTotals = m_pFrame->PaneText(CMainWindow::kPaneQueue).toStdString();
    ClickRow(2);
    const std::string strDeleted = PathAtRow(2);
    ASSERT_TRUE(m_pFrame->RunCommand(kCmdDeleteTasks));
    EXPECT_EQ(List().rowCount(), 3);
    EXPECT_FALSE(fs::exists(strDeleted));
    EXPECT_TRUE(pUndo->isEnabled());
    EXPECT_EQ(pUndo->text().toStdString(), "Undo Delete " + fs::path(strDeleted).filename().string());

    ASSERT_TRUE(m_pFrame->RunCommand(kCmdUndo));
    EXPECT_EQ(List().rowCount(), 4);
    EXPECT_EQ(PathAtRow(2), strDeleted);
    EXPECT_TRUE(fs::exists(strDeleted)); // back from the trash
    EXPECT_TRUE(AllFiguresDone());
    EXPECT_EQ(m_pFrame->PaneText(CMainWindow::kPaneQueue).toStdString(), strTotals);
    EXPECT_FALSE(pUndo->isEnabled());
    EXPECT_TRUE(pRedo->isEnabled());

    // Copies take an undo step of their own, and the totals follow them.
    ClickRow(0);
    ASSERT_TRUE(m_pFrame->RunCommand(kCmdCopiesUp));
    ASSERT_TRUE(m_pFrame->RunCommand(kCmdCopiesUp));
    EXPECT_EQ(TaskAt(m_pFrame->Doc(), 0)->m_nCopies, 3);
    EXPECT_NE(m_pFrame->PaneText(CMainWindow::kPaneQueue).toStdString(), strTotals);
    EXPECT_FALSE(pRedo->isEnabled()); // a new command ends the redo
    ClickRow(1);
    ASSERT_TRUE(m_pFrame->RunCommand(kCmdDeleteTasks));
    ASSERT_TRUE(m_pFrame->RunCommand(kCmdUndo));
    EXPECT_EQ(TaskAt(m_pFrame->Doc(), 0)->m_nCopies, 3); // not reset to 1
    ASSERT_TRUE(m_pFrame->RunCommand(kCmdUndo));
    EXPECT_EQ(TaskAt(m_pFrame->Doc(), 0)->m_nCopies, 2);
    ASSERT_TRUE(m_pFrame->RunCommand(kCmdRedo));
    EXPECT_EQ(TaskAt(m_pFrame->Doc(), 0)->m_nCopies, 3);

    // A merge is undone too.
    ClickRow(0);
    ClickRow(1, Qt::ControlModifier);
    List().RunCommand(kListCmdMergeTopBottom);
    EXPECT_EQ(List().rowCount(), 3); // the merged task in the opened list, two left in the folder
    ASSERT_TRUE(m_pFrame->RunCommand(kCmdUndo));
    EXPECT_EQ(List().rowCount(), 4);
    EXPECT_EQ(m_pFrame->Doc().m_arrManDir.size(), 4u);
    EXPECT_TRUE(m_pFrame->Doc().m_arrOpened.empty());
}

// The figures of every task stay through a task file and a restart: sizes, warnings and
// the totals need no click.
TEST_F(MainWindowOperatorTest, FiguresStayThroughATaskFileAndARestart) {
    FillManualFolder(3);
    const std::string strPlt = m_home.File("opened.plt");
    ASSERT_TRUE(test::WriteFileBytes(strPlt, Marker(12000)));
    m_pFrame->AddPaths({strPlt});
    ASSERT_TRUE(RunUntil([&] { return AllFiguresDone(); }));
    m_pFrame->RefreshTaskList();
    const std::string strTotals = m_pFrame->PaneText(CMainWindow::kPaneQueue).toStdString();

    m_prompts.m_strSaveAs = m_home.File("lists.sptask");
    ASSERT_TRUE(m_pFrame->RunCommand(kCmdSaveTaskFile));
    m_pFrame->OpenTaskFile(m_home.File("lists.sptask"));
    ASSERT_TRUE(RunUntil([&] { return AllFiguresDone() && TaskCount(m_pFrame->Doc()) == 4; }));
    m_pFrame->RefreshTaskList();
    EXPECT_EQ(m_pFrame->PaneText(CMainWindow::kPaneQueue).toStdString(), strTotals);

    OpenWindow();
    ASSERT_TRUE(RunUntil([&] { return TaskCount(m_pFrame->Doc()) == 4 && AllFiguresDone(); }))
        << [&] {
               std::string s;
               for (int r = 0; r < TaskCount(m_pFrame->Doc()); ++r) {
                   const COnePage* p = TaskAt(m_pFrame->Doc(), r);
                   s += p->m_strPath + " done=" + std::to_string(p->m_preflight.m_bDone) +
                        " problem=" + std::to_string(int(p->m_problem.m_eId)) + " size=" +
                        std::to_string(p->m_nFileSize) + "\n";
               }
               for (const std::string& m : m_prompts.m_arrShown)
                   s += "shown: " + m + "\n";
               return s;
           }();
    m_pFrame->RefreshTaskList();
    EXPECT_EQ(m_pFrame->PaneText(CMainWindow::kPaneQueue).toStdString(), strTotals);
    for (int r = 0; r < 4; ++r)
        EXPECT_NE(List().item(r, 3)->text().trimmed().toStdString(), "0 * 0") << r;
}

} // namespace
} // namespace inkvale
