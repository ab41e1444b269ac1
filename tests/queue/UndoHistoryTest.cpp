// SPDX-License-Identifier: GPL-3.0-or-later
// The undo history: positions through pushes, undos and redos, the 100-snapshot limit, and
// what a snapshot keeps of a task.

#include "queue/UndoHistory.h"
#include "QueueTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace inkvale::test {
namespace {

/// The document as one string of its opened tasks' names.
std::string State(const CTaskLists& doc) {
    std::string s;
    for (const auto& t : doc.m_arrOpened)
        s += t->m_strPath.substr(t->m_strPath.rfind('/') + 1);
    return s;
}

void Append(CTaskLists& doc, const std::string& strName) {
    doc.m_arrOpened.push_back(MakeTask(strName));
}

TEST(UndoHistory, PositionsThroughPushesUndosAndRedos) {
    CTaskLists doc;
    CUndoHistory undo;
    struct Step {
        char cOp; ///< 'p' push after appending a task named by cName, 'u' undo, 'r' redo
        char cName;
        bool bChanged;
        size_t nCount;
        size_t nPosition;
        const char* pszDoc;
    };
    const Step steps[] = {
        {'u', 0, false, 0, 0, ""},
        {'p', 'a', true, 1, 0, "a"},
        {'u', 0, false, 1, 0, "a"},
        {'r', 0, false, 1, 0, "a"},
        {'p', 'b', true, 2, 1, "ab"},
        {'p', 'c', true, 3, 2, "abc"},
        {'p', 'd', true, 4, 3, "abcd"},
        {'u', 0, true, 4, 2, "abc"},
        {'u', 0, true, 4, 1, "ab"},
        {'u', 0, true, 4, 0, "a"},
        {'u', 0, false, 4, 0, "a"},
        {'r', 0, true, 4, 1, "ab"},
        {'r', 0, true, 4, 2, "abc"},
        {'p', 'x', true, 4, 3, "abcx"}, // the redo state "abcd" is gone
        {'r', 0, false, 4, 3, "abcx"},
        {'u', 0, true, 4, 2, "abc"},
    };
    for (const Step& s : steps) {
        bool bChanged = true;
        if (s.cOp == 'p') {
            Append(doc, std::string(1, s.cName));
            undo.Push(doc);
        } else {
            bChanged = s.cOp == 'u' ? undo.Undo(doc) : undo.Redo(doc);
        }
        EXPECT_EQ(bChanged, s.bChanged) << s.cOp << s.cName << " " << s.pszDoc;
        EXPECT_EQ(undo.Count(), s.nCount) << s.cOp << " " << s.pszDoc;
        EXPECT_EQ(undo.Position(), s.nPosition) << s.cOp << " " << s.pszDoc;
        EXPECT_EQ(State(doc), s.pszDoc);
    }
}

TEST(UndoHistory, KeepsTheNewestHundredSnapshots) {
    CTaskLists doc;
    CUndoHistory undo;
    for (int i = 0; i < 130; ++i) {
        doc.m_arrOpened.clear();
        Append(doc, std::to_string(i));
        undo.Push(doc);
    }
    EXPECT_EQ(undo.Count(), 100u);
    EXPECT_EQ(undo.Position(), 99u);
    int nUndos = 0;
    while (undo.Undo(doc))
        ++nUndos;
    EXPECT_EQ(nUndos, 99);
    EXPECT_EQ(State(doc), "30");
    // A push in the middle of a full history drops the redo states, not an old snapshot.
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(undo.Redo(doc));
    EXPECT_EQ(State(doc), "80");
    doc.m_arrOpened.clear();
    Append(doc, "new");
    undo.Push(doc);
    EXPECT_EQ(undo.Count(), 52u);
    EXPECT_EQ(undo.Position(), 51u);
    ASSERT_TRUE(undo.Undo(doc));
    EXPECT_EQ(State(doc), "80");
}

TEST(UndoHistory, ByteBudgetDropsTheOldestButKeepsTwo) {
    CTaskLists doc;
    Append(doc, "a");
    const size_t nOne = doc.Serialize().size();
    CUndoHistory undo(3 * nOne);
    for (int i = 0; i < 6; ++i)
        undo.Push(doc); // the same size every time
    EXPECT_EQ(undo.Count(), 3u);
    EXPECT_EQ(undo.Bytes(), 3 * nOne);
    CUndoHistory tiny(1);
    for (int i = 0; i < 4; ++i)
        tiny.Push(doc);
    EXPECT_EQ(tiny.Count(), 2u);
    EXPECT_EQ(tiny.Position(), 1u);
    EXPECT_TRUE(tiny.Undo(doc));
}

TEST(UndoHistory, SnapshotsKeepWhatTheTaskFileKeeps) {
    CTaskLists doc;
    doc.m_arrOpened.push_back(MakeTask("a", 5, PS_PRINTING, 1));
    doc.m_arrOpened.push_back(MakeTask("b", 2, PS_REPEAT));
    CUndoHistory undo;
    undo.Push(doc);
    doc.m_arrOpened.clear();
    undo.Push(doc);
    ASSERT_TRUE(undo.Undo(doc));
    ASSERT_EQ(doc.m_arrOpened.size(), 2u);
    // What the task file leaves out comes back too: the tasks are as they were.
    EXPECT_EQ(doc.m_arrOpened[0]->m_nCopies, 5);
    EXPECT_EQ(doc.m_arrOpened[0]->m_bQueued, 1);
    EXPECT_EQ(doc.m_arrOpened[0]->m_nPrintState, PS_WAITING);
    EXPECT_EQ(doc.m_arrOpened[1]->m_nPrintState, PS_REPEAT);
    EXPECT_EQ(doc.m_arrOpened[1]->m_arrCurves.size(), 1u);
}

class QueueUndo : public ::testing::Test {
protected:
    CTaskLists m_doc;
    CSettings m_settings;
    CFakeQueueView m_view;
    CFakeQueueEngine m_engine;
    CTaskQueue m_queue{m_doc, m_settings, m_view, m_engine};
};

// The commands that push: Add, Delete, queue and unqueue; undo and redo update the views.
TEST_F(QueueUndo, QueueCommandsPushAndUndoRestoresTheLists) {
    m_doc.m_arrOpened.push_back(MakeTask("a"));
    m_doc.m_arrOpened.push_back(MakeTask("b"));
    m_doc.m_arrOpened.push_back(MakeTask("c"));
    m_queue.AddFiles({}); // the Add command with nothing chosen changes nothing
    EXPECT_EQ(m_queue.UndoHistory().Count(), 0u);
    SelectTaskByRow(m_doc, 0);
    m_queue.QueueSelected(true);
    m_queue.DeleteSelected();
    SelectTaskByRow(m_doc, 0);
    m_queue.DeleteSelected();
    m_queue.QueueSelected(false);
    EXPECT_EQ(m_queue.UndoHistory().Count(), 5u);
    EXPECT_EQ(Names(m_doc.m_arrOpened), (std::vector<std::string>{"c"}));
    m_queue.Undo(); // before the unqueue: the same lists
    EXPECT_EQ(Names(m_doc.m_arrOpened), (std::vector<std::string>{"c"}));
    m_queue.Undo();
    EXPECT_EQ(Names(m_doc.m_arrOpened), (std::vector<std::string>{"b", "c"}));
    m_queue.Undo();
    // The tasks come back as they were, with their queued marks.
    EXPECT_EQ(Names(m_doc.m_arrOpened), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(m_doc.m_arrOpened[0]->m_bQueued, 1);
    m_queue.Undo();
    EXPECT_EQ(m_queue.UndoHistory().Position(), 0u);
    const int nRedraws = m_view.m_nRedraws;
    m_queue.Undo(); // the position is at 0: nothing happens
    EXPECT_EQ(m_view.m_nRedraws, nRedraws);
    m_queue.Redo();
    m_queue.Redo();
    EXPECT_EQ(Names(m_doc.m_arrOpened), (std::vector<std::string>{"b", "c"}));
    EXPECT_GT(m_view.m_nRefreshes, 0);
}

// Highlighting is no command: an undo of the next command brings back the highlight the
// operator had made just before it, not the one of the command before.
TEST_F(QueueUndo, UndoBringsBackTheHighlightOfJustBeforeTheCommand) {
    m_doc.m_arrOpened.push_back(MakeTask("a"));
    m_doc.m_arrOpened.push_back(MakeTask("b"));
    m_doc.m_arrOpened.push_back(MakeTask("c"));
    SelectTaskByRow(m_doc, 0);
    m_queue.QueueSelected(true); // snapshots: the lists before, then after with "a" selected
    SelectTaskByRow(m_doc, 2);   // the operator moves the highlight to "c"
    m_queue.DeleteSelected();
    ASSERT_EQ(Names(m_doc.m_arrOpened), (std::vector<std::string>{"a", "b"}));
    m_queue.Undo();
    ASSERT_EQ(Names(m_doc.m_arrOpened), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(m_doc.m_arrOpened[0]->m_bTaskSelected, 0);
    EXPECT_EQ(m_doc.m_arrOpened[2]->m_bTaskSelected, 1);
}

// A command that changes nothing (a split of a task that is not there) leaves the history
// as it was: no step of the lists before it is left behind for an Undo to take back.
TEST_F(QueueUndo, ACommandThatChangesNothingLeavesTheHistoryAlone) {
    m_doc.m_arrOpened.push_back(MakeTask("a"));
    EXPECT_FALSE(m_queue.SplitAlongFeed(12345, 4000).Ok());
    EXPECT_EQ(m_queue.UndoHistory().Count(), 0u);
    SelectTaskByRow(m_doc, 0);
    m_queue.QueueSelected(true);
    EXPECT_EQ(m_queue.UndoHistory().Count(), 2u); // the lists before, and after
    EXPECT_FALSE(m_queue.SplitAlongFeed(12345, 4000).Ok());
    EXPECT_EQ(m_queue.UndoHistory().Count(), 2u);
}

} // namespace
} // namespace inkvale::test
