// SPDX-License-Identifier: GPL-3.0-or-later
// The document's operations on the three task lists: rows, moves, copies, queued marks,
// deletions with their files, adding files and folder tasks, merging, discarding drawings.

#include "queue/TaskListEdits.h"
#include "QueueTestSupport.h"
#include "common/TestPaths.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <climits>
#include <filesystem>
#include <string>

namespace inkvale::test {
namespace {

// Opened: o0 o1; manual folder: m0 m1 m2; automatic folder: a0 a1.
CTaskLists SevenTasks() {
    CTaskLists doc;
    for (const char* name : {"o0", "o1"})
        doc.m_arrOpened.push_back(MakeTask(name));
    for (const char* name : {"m0", "m1", "m2"})
        doc.m_arrManDir.push_back(MakeTask(name));
    for (const char* name : {"a0", "a1"})
        doc.m_arrAutoDir.push_back(MakeTask(name));
    return doc;
}

std::string RowNames(CTaskLists& doc) {
    std::string s;
    for (int r = 0; r < TaskCount(doc); ++r)
        s += TaskAt(doc, r)->m_strName + " ";
    return s;
}

TEST(TaskLists, RowsRunThroughTheThreeListsInOrder) {
    CTaskLists doc = SevenTasks();
    EXPECT_EQ(TaskCount(doc), 7);
    EXPECT_EQ(RowNames(doc), "o0 o1 m0 m1 m2 a0 a1 ");
    EXPECT_EQ(TaskAt(doc, -1), nullptr);
    EXPECT_EQ(TaskAt(doc, 7), nullptr);
    EXPECT_EQ(FirstRowOf(doc, kSourceManDir), 2);
    EXPECT_EQ(FirstRowOf(doc, kSourceAutoDir), 5);

    COnePage* pTask = SelectTaskByRow(doc, 4);
    ASSERT_NE(pTask, nullptr);
    EXPECT_EQ(pTask->m_strName, "m2");
    EXPECT_EQ(pTask->m_nSource, kSourceManDir);
    EXPECT_EQ(SelectTaskByRow(doc, 6)->m_nSource, kSourceAutoDir);
    // Picking a row clears every other mark; marking adds one.
    MarkTaskSelected(doc, 0);
    int nSelected = 0;
    for (int r = 0; r < 7; ++r)
        nSelected += TaskAt(doc, r)->m_bTaskSelected;
    EXPECT_EQ(nSelected, 2);
    EXPECT_EQ(SelectTaskByRow(doc, 9), nullptr);
    EXPECT_EQ(TaskAt(doc, 0)->m_bTaskSelected, 0);
}

TEST(TaskLists, MovesStayInsideTheTasksOwnList) {
    struct Case {
        const char* pszMove;
        int nRow;
        int nExpectRow;
        const char* pszExpect;
    };
    const Case cases[] = {
        {"top", 1, 0, "o1 o0 m0 m1 m2 a0 a1 "},  {"top", 4, 2, "o0 o1 m2 m0 m1 a0 a1 "},
        {"top", 6, 5, "o0 o1 m0 m1 m2 a1 a0 "},  {"top", 7, 7, "o0 o1 m0 m1 m2 a0 a1 "},
        {"up", 2, 2, "o0 o1 m0 m1 m2 a0 a1 "}, // first of the manual-folder list
        {"up", 3, 2, "o0 o1 m1 m0 m2 a0 a1 "},   {"up", 0, 0, "o0 o1 m0 m1 m2 a0 a1 "},
        {"down", 1, 1, "o0 o1 m0 m1 m2 a0 a1 "}, // last of the opened list
        {"down", 4, 4, "o0 o1 m0 m1 m2 a0 a1 "}, {"down", 6, 6, "o0 o1 m0 m1 m2 a0 a1 "},
        {"down", 5, 6, "o0 o1 m0 m1 m2 a1 a0 "}, {"down", 9, 9, "o0 o1 m0 m1 m2 a0 a1 "},
        {"up", -1, -1, "o0 o1 m0 m1 m2 a0 a1 "},
    };
    for (const Case& c : cases) {
        CTaskLists doc = SevenTasks();
        const std::string strMove = c.pszMove;
        const int nRow = strMove == "top"  ? MoveTaskToTop(doc, c.nRow)
                         : strMove == "up" ? MoveTaskUp(doc, c.nRow)
                                           : MoveTaskDown(doc, c.nRow);
        EXPECT_EQ(nRow, c.nExpectRow) << c.pszMove << " " << c.nRow;
        EXPECT_EQ(RowNames(doc), c.pszExpect) << c.pszMove << " " << c.nRow;
    }
}

TEST(TaskLists, CopiesAndQueuedMarksOfSelectedTasks) {
    CTaskLists doc = SevenTasks();
    MarkTaskSelected(doc, 0);
    MarkTaskSelected(doc, 2);
    MarkTaskSelected(doc, 5);
    ChangeCopies(doc, false); // 1 stays 1
    EXPECT_EQ(TaskAt(doc, 0)->m_nCopies, 1);
    ChangeCopies(doc, true);
    ChangeCopies(doc, true);
    EXPECT_EQ(TaskAt(doc, 2)->m_nCopies, 3);
    EXPECT_EQ(TaskAt(doc, 1)->m_nCopies, 1);
    TaskAt(doc, 5)->m_nCopies = INT32_MAX; // no limit, but no wrap-around either
    ChangeCopies(doc, true);
    EXPECT_EQ(TaskAt(doc, 5)->m_nCopies, INT32_MAX);
    TaskAt(doc, 0)->m_nCopies = -5;
    ChangeCopies(doc, false);
    EXPECT_EQ(TaskAt(doc, 0)->m_nCopies, 1);

    SetQueued(doc, true);
    EXPECT_EQ(TaskAt(doc, 0)->m_bQueued, 1);
    EXPECT_EQ(TaskAt(doc, 2)->m_bQueued, 1);
    EXPECT_EQ(TaskAt(doc, 5)->m_bQueued, 0); // automatic-folder tasks are never queued
    EXPECT_EQ(TaskAt(doc, 1)->m_bQueued, 0);
    SetQueued(doc, false);
    EXPECT_EQ(TaskAt(doc, 2)->m_bQueued, 0);
}

class TaskListFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(m_dir.Path() / "man");
        std::filesystem::create_directories(m_dir.Path() / "auto");
        m_settings.ManDir = m_dir.File("man") + "/";
        m_settings.AutoDir = m_dir.File("auto") + "/";
        m_settings.PltMaxSizeMb = 1;
        m_settings.Language = 1;
    }
    /// A task of the list whose file exists in strFolder.
    std::unique_ptr<COnePage> FileTask(const std::string& strPath, int32_t nCopies = 1) {
        EXPECT_TRUE(WriteFileBytes(strPath, kSmallPlt));
        auto task = MakeTask(FileNameOf(strPath), nCopies);
        task->m_strPath = strPath;
        StampFromFile(*task);
        return task;
    }
    CScratchDir m_dir;
    CSettings m_settings;
};

TEST_F(TaskListFiles, DeletingTasksDeletesFolderFilesOnly) {
    CTaskLists doc;
    const std::string o = m_dir.File("o.plt"), m = m_settings.ManDir + "m.plt",
                      a = m_settings.AutoDir + "a.plt", outside = m_dir.File("elsewhere.plt");
    doc.m_arrOpened.push_back(FileTask(o));
    doc.m_arrManDir.push_back(FileTask(m));
    doc.m_arrAutoDir.push_back(FileTask(a));
    doc.m_arrAutoDir.push_back(FileTask(outside)); // e.g. restored from a task file
    for (int r = 0; r < 4; ++r)
        MarkTaskSelected(doc, r);
    DeleteSelectedTasks(doc, m_settings);
    EXPECT_EQ(TaskCount(doc), 0);
    EXPECT_TRUE(std::filesystem::exists(o));
    EXPECT_FALSE(std::filesystem::exists(m));
    EXPECT_FALSE(std::filesystem::exists(a));
    EXPECT_TRUE(std::filesystem::exists(outside));
}

TEST_F(TaskListFiles, ZeroCopyTasksLeaveWithTheirFilesAsTheListSays) {
    for (const bool bManualFiles : {false, true}) {
        CTaskLists doc;
        const std::string o = m_dir.File("o.plt"), m = m_settings.ManDir + "m.plt",
                          m2 = m_settings.ManDir + "m2.plt", a = m_settings.AutoDir + "a.plt";
        doc.m_arrOpened.push_back(FileTask(o, 0));
        doc.m_arrManDir.push_back(FileTask(m, 0));
        doc.m_arrManDir.push_back(FileTask(m2, 2));
        doc.m_arrAutoDir.push_back(FileTask(a, 0));
        EXPECT_TRUE(DeleteZeroCopyTasks(doc, m_settings, bManualFiles));
        EXPECT_EQ(RowNames(doc), "m2.plt ");
        EXPECT_TRUE(std::filesystem::exists(o));
        EXPECT_EQ(std::filesystem::exists(m), !bManualFiles);
        EXPECT_FALSE(std::filesystem::exists(a));
        EXPECT_FALSE(DeleteZeroCopyTasks(doc, m_settings, bManualFiles));
    }
    CTaskLists doc;
    const std::string a = m_settings.AutoDir + "a.plt", m = m_settings.ManDir + "m.plt";
    doc.m_arrManDir.push_back(FileTask(m, 0));
    doc.m_arrAutoDir.push_back(FileTask(a, 0));
    doc.m_arrAutoDir.push_back(MakeTask("b", 1));
    DeleteFinishedAutoTasks(doc, m_settings);
    EXPECT_EQ(RowNames(doc), "m.plt b ");
    EXPECT_FALSE(std::filesystem::exists(a));
}

TEST_F(TaskListFiles, AddFileTaskRefusesDuplicatesAndFilesOverTheLimit) {
    CTaskLists doc;
    const std::string exact = m_dir.File("exact.plt"), over = m_dir.File("over.plt");
    ASSERT_TRUE(WriteFileBytes(exact, std::string(1048576, ';')));
    ASSERT_TRUE(WriteFileBytes(over, std::string(1048577, ';')));
    CAddResult r = AddFileTask(doc, m_settings, exact); // exactly the limit is accepted
    EXPECT_TRUE(r.Ok());
    EXPECT_TRUE(r.m_arrMessages.empty());
    const COnePage& task = *doc.m_arrOpened.at(0);
    EXPECT_EQ(task.m_strName, "exact.plt");
    EXPECT_EQ(task.m_nFileSize, 1048576);
    struct stat st {};
    ASSERT_EQ(::stat(exact.c_str(), &st), 0);
    EXPECT_EQ(task.m_tTime, static_cast<int64_t>(st.st_mtim.tv_sec));
    EXPECT_TRUE(task.m_arrCurves.empty());

    using CMessages = std::vector<CMessage>;
    EXPECT_EQ(AddFileTask(doc, m_settings, exact).m_arrMessages,
              (CMessages{{EMsg::kAlreadyOpen, {}}}));
    EXPECT_EQ(AddFileTask(doc, m_settings, over).m_arrMessages,
              (CMessages{{EMsg::kFileTooLarge, {}}}));
    r = AddFileTask(doc, m_settings, m_dir.File("missing.plt"));
    EXPECT_FALSE(r.Ok());
    EXPECT_TRUE(r.m_arrMessages.empty()); // a file that cannot be examined: silently
    EXPECT_FALSE(AddFileTask(doc, m_settings, m_dir.File("man")).Ok());
    EXPECT_EQ(doc.m_arrOpened.size(), 1u);
}

TEST(TaskLists, FolderTasksAreAddedOrReplacedInPlace) {
    CTaskLists doc;
    EXPECT_EQ(AddOrUpdateFolderTask(doc, kSourceAutoDir, "/f/a.plt", "a.plt", 10, 100), 1);
    EXPECT_EQ(AddOrUpdateFolderTask(doc, kSourceAutoDir, "/f/b.plt", "b.plt", 10, 100), 1);
    doc.m_arrAutoDir[0]->m_nCopies = 4;
    EXPECT_EQ(AddOrUpdateFolderTask(doc, kSourceAutoDir, "/f/a.plt", "a.plt", 10, 100), 0);
    EXPECT_EQ(doc.m_arrAutoDir[0]->m_nCopies, 4);
    for (const auto& change : {std::pair<int64_t, int64_t>{11, 100}, {11, 101}}) {
        doc.m_arrAutoDir[0]->m_nCopies = 4;
        EXPECT_EQ(AddOrUpdateFolderTask(doc, kSourceAutoDir, "/f/a.plt", "a.plt", change.first,
                                        change.second),
                  1);
        EXPECT_EQ(Names(doc.m_arrAutoDir), (std::vector<std::string>{"a.plt", "b.plt"}));
        EXPECT_EQ(doc.m_arrAutoDir[0]->m_nCopies, 1);
    }
    EXPECT_EQ(AddOrUpdateFolderTask(doc, kSourceManDir, "/f/a.plt", "a.plt", 10, 100), 1);
    EXPECT_EQ(doc.m_arrManDir.size(), 1u);
    EXPECT_TRUE(doc.m_arrOpened.empty());
}

COnePage Box(int32_t nMaxX, int32_t nMaxY) {
    COnePage page;
    CCurve c;
    c.AddPoint(0, 0);
    c.AddPoint(nMaxX, nMaxY);
    page.m_arrCurves.push_back(c);
    page.CalcExtents();
    return page;
}

TEST(TaskLists, MergingPutsTheSelectedDrawingsOneAfterAnother) {
    for (const EMerge eKind : {EMerge::FrontBack, EMerge::TopBottom}) {
        CTaskLists doc;
        doc.m_arrOpened.push_back(std::make_unique<COnePage>(Box(1000, 800)));
        doc.m_arrManDir.push_back(std::make_unique<COnePage>(Box(2000, 600)));
        doc.m_arrAutoDir.push_back(std::make_unique<COnePage>(Box(500, 500)));
        MarkTaskSelected(doc, 0);
        MarkTaskSelected(doc, 1);
        MergeSelectedTasks(doc, eKind);
        ASSERT_EQ(doc.m_arrOpened.size(), 2u);
        const COnePage& merged = *doc.m_arrOpened[1];
        EXPECT_EQ(merged.m_strPath, "Combination");
        EXPECT_EQ(merged.m_strName, "Combination");
        EXPECT_EQ(merged.m_bTaskSelected, 0);
        EXPECT_EQ(merged.m_nMinX, 0);
        EXPECT_EQ(merged.m_nMinY, 0);
        if (eKind == EMerge::FrontBack) {
            // Along the feed: 1000 then 2000, as wide as the wider one.
            EXPECT_EQ(merged.m_nMaxX, 3000);
            EXPECT_EQ(merged.m_nMaxY, 800);
        } else {
            // Across the roll: as long as the longer one, 800 + 600 wide.
            EXPECT_EQ(merged.m_nMaxX, 2000);
            EXPECT_EQ(merged.m_nMaxY, 1400);
        }
        // The seam between the two drawings: dashes beyond the two source curves.
        EXPECT_GT(merged.m_arrCurves.size(), 2u);
        // The sources are untouched (the caller deletes them).
        EXPECT_EQ(doc.m_arrOpened[0]->m_nMaxX, 1000);
        EXPECT_EQ(doc.m_arrOpened[0]->m_arrCurves[0].m_arrPoints.back().x, 1000);
    }
}

TEST(TaskLists, DiscardAllDrawingsEmptiesEveryTask) {
    CTaskLists doc = SevenTasks();
    DiscardAllDrawings(doc);
    for (int r = 0; r < TaskCount(doc); ++r)
        EXPECT_TRUE(TaskAt(doc, r)->m_arrCurves.empty());
}

} // namespace
} // namespace inkvale::test
