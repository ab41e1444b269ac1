// SPDX-License-Identifier: GPL-3.0-or-later
// The queue's rules driven headless: the scheduler's choice across the three lists, copies
// and repeat states, queued marks, automatic mode, unreadable tasks, job ends and failures.

#include "QueueTestSupport.h"
#include "common/TestPaths.h"
#include "config/MachineParams.h"
#include "machine/engine/EngineHost.h"
#include "queue/DerivedTasks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace inkvale::test {
namespace {

/// One task of a scenario: list ('o', 'm', 'a'), name, copies, state, queued, drawing.
struct TaskSpec {
    char cList;
    const char* pszName;
    int32_t nCopies = 1;
    int32_t nState = PS_WAITING;
    int32_t bQueued = 0;
    bool bDrawing = true;
};

class TaskQueueTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(m_dir.Path() / "auto");
        std::filesystem::create_directories(m_dir.Path() / "man");
        m_settings.AutoDir = m_dir.File("auto") + "/";
        m_settings.ManDir = m_dir.File("man") + "/";
        m_settings.PltMaxSizeMb = 30;
        m_settings.Language = 1;
        m_settings.PltFileUnit = 40;
        m_engine.m_pQueue = &m_queue;
    }
    void Fill(const std::vector<TaskSpec>& specs) {
        for (const TaskSpec& s : specs) {
            auto task = MakeTask(s.pszName, s.nCopies, s.nState, s.bQueued, s.bDrawing);
            CTaskList& list = s.cList == 'o'   ? m_doc.m_arrOpened
                              : s.cList == 'm' ? m_doc.m_arrManDir
                                               : m_doc.m_arrAutoDir;
            // A folder's task has its file in the folder, as a scan finds it.
            if (s.cList != 'o') {
                task->m_strPath =
                    (s.cList == 'm' ? m_settings.ManDir : m_settings.AutoDir) + s.pszName;
                ASSERT_TRUE(WriteFileBytes(task->m_strPath, s.bDrawing
                                                                ? "IN;SP1;PU0,0;PD400,0,400,400;PU;"
                                                                : "this is no drawing at all"));
                StampFromFile(*task);
            }
            list.push_back(std::move(task));
        }
    }
    /// "name copies state [q]" of every task, lists separated by '|'.
    std::string Summary() {
        std::string s;
        for (const CTaskList* pList :
             {&m_doc.m_arrOpened, &m_doc.m_arrManDir, &m_doc.m_arrAutoDir}) {
            if (pList != &m_doc.m_arrOpened)
                s += "| ";
            for (const auto& t : *pList) {
                s += t->m_strName + std::to_string(t->m_nCopies) + "WPR"[t->m_nPrintState];
                s += t->m_bQueued != 0 ? "q " : " ";
            }
        }
        return s;
    }
    /// A file in the automatic folder with the given content, as a task of that list.
    void AddAutoFile(const std::string& strName, const std::string& strContent) {
        const std::string strPath = m_settings.AutoDir + strName;
        ASSERT_TRUE(WriteFileBytes(strPath, strContent));
        (void)AddOrUpdateFolderTask(m_doc, kSourceAutoDir, strPath, strName, 1, 1);
        StampFromFile(*m_doc.m_arrAutoDir.back());
    }

    CScratchDir m_dir;
    CTaskLists m_doc;
    CSettings m_settings;
    CFakeQueueView m_view;
    CFakeQueueEngine m_engine;
    CTaskQueue m_queue{m_doc, m_settings, m_view, m_engine};
};

TEST_F(TaskQueueTest, SchedulerChoosesAcrossTheThreeLists) {
    struct Case {
        const char* pszWhat;
        std::vector<TaskSpec> tasks;
        bool bAuto;
        int nResult;
        const char* pszStarted; ///< "" when no job was started
        int nRow;               ///< CurrentTaskIndex afterwards (-1: unchanged 0)
        const char* pszAfter;
    };
    const Case cases[] = {
        {"empty queue", {}, true, -1, "", 0, "| | "},
        {"waiting tasks need the queued mark",
         {{'o', "A"}, {'o', "B", 1, PS_WAITING, 1}},
         false,
         0,
         "B",
         1,
         "A1W B1P | | "},
        {"a repeating task needs no mark",
         {{'o', "A", 2, PS_REPEAT}},
         false,
         0,
         "A",
         0,
         "A2P | | "},
        {"printing tasks are passed over",
         {{'o', "A", 1, PS_PRINTING, 1}, {'o', "B", 1, PS_WAITING, 1}},
         false,
         0,
         "B",
         1,
         "A1Pq B1P | | "},
        {"a queued task without copies ends the opened list's turn",
         {{'o', "A", 0, PS_REPEAT, 1}, {'o', "B", 1, PS_WAITING, 1}, {'m', "M", 1, PS_WAITING, 1}},
         false,
         0,
         "M",
         2,
         "A0W B1Wq | M1P | "},
        {"manual-folder rows follow the opened list",
         {{'o', "A"}, {'m', "L"}, {'m', "M", 1, PS_WAITING, 1}},
         false,
         0,
         "M",
         2,
         "A1W | L1W M1P | "},
        {"opened list before the folders",
         {{'m', "M", 1, PS_WAITING, 1}, {'o', "A", 1, PS_WAITING, 1}, {'a', "X"}},
         true,
         0,
         "A",
         0,
         "A1P | M1Wq | X1W "},
        {"automatic tasks only in automatic mode", {{'a', "X"}}, false, -1, "", 0, "| | X1W "},
        {"automatic tasks need no mark", {{'o', "A"}, {'a', "X"}}, true, 0, "X", 1, "A1W | | X1P "},
        {"automatic tasks without copies or printing are passed over",
         {{'a', "X", 0}, {'a', "Y", 1, PS_PRINTING}, {'a', "Z", 1, PS_REPEAT}},
         true,
         0,
         "Z",
         2,
         "| | X0W Y1P Z1P "},
        {"queued automatic mark plays no part",
         {{'a', "X", 1, PS_WAITING, 1}},
         false,
         -1,
         "",
         0,
         "| | X1Wq "},
    };
    for (const Case& c : cases) {
        m_doc.DeleteAllTasks();
        m_engine.m_arrStarted.clear();
        m_queue.SetCurrentTaskIndex(0);
        m_settings.AutoStartEnable = c.bAuto ? 1 : 0;
        Fill(c.tasks);
        EXPECT_EQ(m_queue.StartNextTask(), c.nResult) << c.pszWhat;
        const std::string strStarted =
            m_engine.m_arrStarted.empty() ? "" : m_engine.m_arrStarted.front();
        EXPECT_EQ(strStarted, c.pszStarted) << c.pszWhat;
        EXPECT_LE(m_engine.m_arrStarted.size(), 1u) << c.pszWhat;
        // The started task sits at c.nRow; the scheduler's choice leaves the operator's
        // current task alone.
        if (!strStarted.empty()) {
            EXPECT_EQ(TaskAt(m_doc, c.nRow)->m_strName, strStarted) << c.pszWhat;
        }
        EXPECT_EQ(m_queue.CurrentTaskId(), 0u) << c.pszWhat;
        EXPECT_EQ(Summary(), c.pszAfter) << c.pszWhat;
    }
}

TEST_F(TaskQueueTest, SchedulerWaitsForAReadyMachineAndTheClosingFlag) {
    Fill({{'o', "A", 1, PS_WAITING, 1}});
    for (const int nState : {4, 6, 0, int{kStateNoAnswer}}) {
        m_engine.m_nState = static_cast<uint8_t>(nState);
        EXPECT_EQ(m_queue.StartNextTask(), -1);
    }
    m_engine.m_nState = kStateReady;
    m_settings.m_nClosing = 1;
    EXPECT_EQ(m_queue.StartNextTask(), -1);
    m_settings.m_nClosing = 0;
    EXPECT_EQ(m_queue.StartNextTask(), 0);
    EXPECT_EQ(m_engine.m_nSleptMs, 0);         // the owning thread never sleeps
    EXPECT_TRUE(m_view.m_arrSelected.empty()); // and the queue never selects
}

TEST_F(TaskQueueTest, CopiesRepeatUntilNoneAreLeft) {
    Fill({{'o', "A", 2, PS_WAITING, 1}, {'o', "B", 1, PS_WAITING, 1}});
    struct Step {
        const char* pszEvent; ///< "next", "ok", "fail"
        const char* pszAfter;
    };
    const Step steps[] = {
        {"next", "A2P B1Wq | | "},
        {"ok", "A1R B1Wq | | "}, // "Printing" in the list: a copy is
                                 // still due
        {"next", "A1P B1Wq | | "},
        {"ok", "A0W B1Wq | | "},
        {"next", "A0W B1P | | "},
        {"ok", "A0W B0W | | "},
    };
    for (const Step& step : steps) {
        const std::string strEvent = step.pszEvent;
        if (strEvent == "next")
            EXPECT_EQ(m_queue.StartNextTask(), 0);
        else
            m_queue.JobFinished(strEvent == "ok" ? kJobSuccess : kJobFailure);
        EXPECT_EQ(Summary(), step.pszAfter) << strEvent;
    }
    EXPECT_EQ(m_queue.StartNextTask(), -1);
    EXPECT_EQ(m_engine.m_nCleared, 3);
    // Finished tasks stay until a deletion rule removes them.
    EXPECT_EQ(m_doc.m_arrOpened.size(), 2u);
    EXPECT_EQ(m_engine.m_arrStarted, (std::vector<std::string>{"A", "A", "B"}));
}

TEST_F(TaskQueueTest, JobEndsUpdateEachListsPrintingTask) {
    struct Case {
        std::vector<TaskSpec> tasks;
        int nResult;
        const char* pszAfter;
        int nAutoOff;
    };
    const Case cases[] = {
        {{{'o', "A", 3, PS_PRINTING}, {'m', "M", 2, PS_PRINTING}}, kJobSuccess, "A2R | M1R | ", 0},
        {{{'a', "X", 2, PS_PRINTING}, {'a', "Y", 1}}, kJobSuccess, "| | X1W Y1W ", 0},
        {{{'o', "A", 3, PS_PRINTING}, {'a', "X", 2, PS_PRINTING}}, kJobFailure, "A3W | | X2W ", 1},
        // A failed job whose task was deleted meanwhile still ends automatic mode.
        {{{'o', "A", 3}}, kJobFailure, "A3W | | ", 1},
    };
    for (const Case& c : cases) {
        m_doc.DeleteAllTasks();
        m_view.m_nAutoOff = 0;
        m_settings.AutoStartEnable = 1;
        Fill(c.tasks);
        m_queue.JobFinished(c.nResult);
        EXPECT_EQ(Summary(), c.pszAfter);
        EXPECT_EQ(m_view.m_nAutoOff, c.nAutoOff);
        EXPECT_EQ(m_settings.AutoStartEnable, c.nAutoOff != 0 ? 0 : 1);
    }
}

TEST_F(TaskQueueTest, FinishedAutomaticTaskLeavesWithItsFile) {
    m_settings.AutoStartEnable = 1;
    m_settings.AutoDelFinish = 0; // plays no part for the automatic folder
    AddAutoFile("x.plt", kSmallPlt);
    AddAutoFile("y.plt", kSmallPlt);
    EXPECT_EQ(m_queue.StartNextTask(), 0);
    EXPECT_EQ(m_engine.m_arrStarted, (std::vector<std::string>{"x.plt"}));
    m_queue.JobFinished(kJobSuccess);
    EXPECT_EQ(Names(m_doc.m_arrAutoDir), (std::vector<std::string>{"y.plt"}));
    EXPECT_FALSE(std::filesystem::exists(m_settings.AutoDir + "x.plt"));
    EXPECT_TRUE(std::filesystem::exists(m_settings.AutoDir + "y.plt"));
}

// A job that did not finish comes first: neither the scheduler (automatic mode included)
// nor Start starts anything while it waits; with automatic resume it is continued at once,
// and one that cannot be continued is not tried again by itself.
TEST_F(TaskQueueTest, UnfinishedJobHoldsEveryStartUntilDecided) {
    const struct {
        const char* m_pszWhat;
        bool m_bAutoResume;
        bool m_bRefuse;
        std::vector<std::string> m_resumed;
        int m_nResult;
    } cases[] = {
        {.m_pszWhat = "waits for the operator",
         .m_bAutoResume = false,
         .m_bRefuse = false,
         .m_resumed = {},
         .m_nResult = -1},
        {.m_pszWhat = "resumed at once",
         .m_bAutoResume = true,
         .m_bRefuse = false,
         .m_resumed = {"/j/1/"},
         .m_nResult = 0},
        {.m_pszWhat = "cannot be resumed",
         .m_bAutoResume = true,
         .m_bRefuse = true,
         .m_resumed = {"/j/1/"},
         .m_nResult = -1},
    };
    for (const auto& c : cases) {
        m_doc.m_arrAutoDir.clear();
        m_engine = CFakeQueueEngine();
        m_engine.m_pQueue = &m_queue;
        m_settings.AutoStartEnable = 1;
        AddAutoFile("x.plt", kSmallPlt);
        m_engine.m_unfinished = {"/j/1/"};
        m_engine.m_bRefuseResume = c.m_bRefuse;
        m_queue.SetAutoResume(c.m_bAutoResume);
        EXPECT_EQ(m_queue.StartNextTask(), c.m_nResult) << c.m_pszWhat;
        EXPECT_TRUE(m_engine.m_arrStarted.empty()) << c.m_pszWhat;
        // Still waiting: the next turn neither starts nor tries again.
        if (!m_engine.m_unfinished.empty()) {
            EXPECT_EQ(m_queue.StartNextTask(), -1) << c.m_pszWhat;
            EXPECT_TRUE(m_engine.m_arrStarted.empty()) << c.m_pszWhat;
        }
        EXPECT_EQ(m_engine.m_arrResumed, c.m_resumed) << c.m_pszWhat;
    }
    // Start on a task says why nothing starts.
    m_engine = CFakeQueueEngine();
    m_engine.m_unfinished = {"/j/1/"};
    Fill({{'o', "A", 1, PS_WAITING, 0}});
    m_queue.SetCurrentTaskIndex(0);
    m_queue.PrintCurrentTask();
    EXPECT_TRUE(m_engine.m_arrStarted.empty());
    ASSERT_FALSE(m_view.m_arrMessages.empty());
    EXPECT_EQ(m_view.m_arrMessages.back(), EMsg::kUnfinishedJobWaits);
}

// A job the ledger says printed, found at start-up, is finished: the task takes the copies
// still owed, and a finished automatic-folder file leaves even when the saved lists had
// lost its task, so that the next scan cannot print it again.
TEST_F(TaskQueueTest, PrintedJobFoundAtStartIsFinishedNotPrintedAgain) {
    AddAutoFile("x.plt", kSmallPlt);
    AddAutoFile("y.plt", kSmallPlt);
    Fill({{'o', "A", 3, PS_WAITING, 0}});
    m_doc.m_arrOpened.back()->m_strPath = m_dir.File("A");
    auto record = [](const std::string& strPath, int nOwed) {
        CJobRecord r;
        r.m_strTaskPath = strPath;
        r.m_strFilePath = strPath;
        r.m_nCopiesOwed = nOwed;
        r.m_eOutcome = EJobOutcome::kPrinted;
        EXPECT_TRUE(strPath.empty() || HashFile(strPath, r.m_nFileHash, r.m_nFileSize) ||
                    !std::filesystem::exists(strPath));
        return r;
    };
    m_queue.SettlePrintedJob(record(m_dir.File("A"), 1));
    EXPECT_EQ(m_doc.m_arrOpened.back()->m_nCopies, 1);
    EXPECT_EQ(m_doc.m_arrOpened.back()->m_nPrintState, PS_REPEAT);
    m_queue.SettlePrintedJob(record(m_settings.AutoDir + "x.plt", 0));
    EXPECT_EQ(Names(m_doc.m_arrAutoDir), (std::vector<std::string>{"y.plt"}));
    EXPECT_FALSE(std::filesystem::exists(m_settings.AutoDir + "x.plt"));
    // The task lost, the file still there: it goes all the same.
    m_doc.m_arrAutoDir.clear();
    m_queue.SettlePrintedJob(record(m_settings.AutoDir + "y.plt", 0));
    EXPECT_FALSE(std::filesystem::exists(m_settings.AutoDir + "y.plt"));
    // A file changed since the job printed is a new version: it stays.
    ASSERT_TRUE(WriteFileBytes(m_settings.AutoDir + "z.plt", kSmallPlt));
    CJobRecord z = record(m_settings.AutoDir + "z.plt", 0);
    ASSERT_TRUE(WriteFileBytes(m_settings.AutoDir + "z.plt", std::string(kSmallPlt) + "PU0,0;"));
    m_queue.SettlePrintedJob(z);
    EXPECT_TRUE(std::filesystem::exists(m_settings.AutoDir + "z.plt"));
}

// Automatic mode passes over a drawing the machine cannot print (wider than it prints),
// keeps its file, says why in its row, and prints the next one; a queued opened task that
// cannot print loses its queued mark instead of holding back the others.
TEST_F(TaskQueueTest, AutomaticModePassesOverABlockedTaskWithTheReason) {
    CMachineParams params;
    params.ResetMachineParams();
    m_queue.SetMachineParams(params);
    m_settings.AutoStartEnable = 1;
    AddAutoFile("wide.plt", "IN;SP1;PU0,0;PD4000,0,4000,100000;PU;"); // 2.5 m across
    AddAutoFile("y.plt", kSmallPlt);
    EXPECT_EQ(m_queue.StartNextTask(), 0);
    EXPECT_EQ(m_engine.m_arrStarted, (std::vector<std::string>{"y.plt"}));
    const COnePage& wide = *m_doc.m_arrAutoDir.front();
    EXPECT_EQ(wide.m_problem.m_eId, EMsg::kPreflightTooWide);
    EXPECT_TRUE(std::filesystem::exists(m_settings.AutoDir + "wide.plt"));
    EXPECT_EQ(m_view.m_nAutoOff, 0);

    m_queue.JobFinished(kJobSuccess);
    const std::string strWide = m_dir.File("wide-opened.plt");
    ASSERT_TRUE(WriteFileBytes(strWide, "IN;SP1;PU0,0;PD4000,0,4000,100000;PU;"));
    m_queue.AddFiles({strWide});
    m_doc.m_arrOpened.back()->m_bQueued = 1;
    EXPECT_EQ(m_queue.StartNextTask(), 0);
    EXPECT_EQ(m_engine.m_arrStarted.size(), 1u);
    EXPECT_EQ(m_doc.m_arrOpened.back()->m_bQueued, 0);
    EXPECT_EQ(m_doc.m_arrOpened.back()->m_problem.m_eId, EMsg::kPreflightTooWide);
}

// A refused file is never deleted: it goes to Rejected/ beside the automatic folder with a
// text saying why, and the operator is told once the start is over.
TEST_F(TaskQueueTest, UnreadableAutomaticFileGoesToRejectedOnItsTurn) {
    m_settings.AutoStartEnable = 1;
    AddAutoFile("bad.plt", "this is no drawing at all");
    AddAutoFile("empty.plt", "");
    AddAutoFile("good.plt", kSmallPlt);
    EXPECT_EQ(m_queue.StartNextTask(), 0);
    EXPECT_EQ(m_engine.m_arrStarted, (std::vector<std::string>{"good.plt"}));
    EXPECT_EQ(Names(m_doc.m_arrAutoDir), (std::vector<std::string>{"good.plt"}));
    const std::filesystem::path rejected = m_dir.Path() / "Rejected";
    for (const char* pszName : {"bad.plt", "empty.plt"}) {
        EXPECT_FALSE(std::filesystem::exists(m_settings.AutoDir + pszName));
        EXPECT_TRUE(std::filesystem::exists(rejected / pszName)) << pszName;
        const std::string why = ReadFileBytes(rejected / (std::string(pszName) + ".why.txt"));
        EXPECT_NE(why.find(m_settings.AutoDir + pszName), std::string::npos) << why;
    }
    EXPECT_EQ(ReadFileBytes(rejected / "bad.plt"), "this is no drawing at all");
    EXPECT_NE(ReadFileBytes(rejected / "bad.plt.why.txt")
                  .find("Reason: the file holds nothing that can be drawn"),
              std::string::npos)
        << ReadFileBytes(rejected / "bad.plt.why.txt");
    EXPECT_EQ(m_queue.CurrentTaskId(), 0u); // the queue leaves the operator's choice alone
    EXPECT_FALSE(m_doc.m_arrAutoDir[0]->m_arrCurves.empty());
    EXPECT_EQ(
        std::count(m_view.m_arrMessages.begin(), m_view.m_arrMessages.end(), EMsg::kFileRejected),
        2);
}

// Files over the size limit are refused as their writer finishes, named with the limit;
// one that cannot be moved aside stays, is reported once and is passed over from then on.
TEST_F(TaskQueueTest, AutomaticFilesOverTheLimitAreRefusedOnceAndNeverDeleted) {
    m_settings.PltMaxSizeMb = 1;
    m_settings.PrtFileExtension = "*.plt;";
    const std::string big(1048577, ';');
    ASSERT_TRUE(WriteFileBytes(m_settings.AutoDir + "BIG.PLT", big));
    for (int i = 0; i < 3; ++i) // the writer check wants the file unchanged over two scans
        m_queue.ScanAutoFolder();
    EXPECT_TRUE(m_doc.m_arrAutoDir.empty());
    EXPECT_EQ(ReadFileBytes(m_dir.Path() / "Rejected" / "BIG.PLT").size(), big.size());
    EXPECT_EQ(m_view.m_arrMessages, (std::vector<EMsg>{EMsg::kFileOverLimit, EMsg::kFileRejected}));

    // Rejected/ is a file here, so nothing can be moved there.
    std::filesystem::remove_all(m_dir.Path() / "Rejected");
    ASSERT_TRUE(WriteFileBytes(m_dir.Path() / "Rejected", "in the way"));
    ASSERT_TRUE(WriteFileBytes(m_settings.AutoDir + "big2.plt", big));
    m_view.m_arrMessages.clear();
    for (int i = 0; i < 4; ++i)
        m_queue.ScanAutoFolder();
    EXPECT_EQ(ReadFileBytes(m_settings.AutoDir + "big2.plt").size(), big.size());
    EXPECT_EQ(m_view.m_arrMessages,
              (std::vector<EMsg>{EMsg::kFileOverLimit, EMsg::kFileRejectFailed}));
}

// A file rewritten since its task was made (a CAD station sending a new version under the
// same name) is a new drawing: the old task leaves, the file stays for the next scan.
TEST_F(TaskQueueTest, AFileRewrittenSinceItWasQueuedIsNeverDeleted) {
    m_settings.AutoStartEnable = 1;
    AddAutoFile("re.plt", "this is no drawing at all");
    // The new version is not readable yet either (a writer halfway through).
    ASSERT_TRUE(WriteFileBytes(m_settings.AutoDir + "re.plt", "still no drawing, but longer"));
    EXPECT_EQ(m_queue.StartNextTask(), -1);
    EXPECT_TRUE(std::filesystem::exists(m_settings.AutoDir + "re.plt"));
    EXPECT_EQ(ReadFileBytes(m_settings.AutoDir + "re.plt"), "still no drawing, but longer");
    EXPECT_TRUE(m_doc.m_arrAutoDir.empty()); // the next scan makes the new version a task
}

TEST_F(TaskQueueTest, UnreadableQueuedTaskHoldsBackTheOthers) {
    Fill({{'o', "bad", 1, PS_WAITING, 1, false}, {'o', "good", 1, PS_WAITING, 1}});
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(m_queue.StartNextTask(), 0);
        EXPECT_TRUE(m_engine.m_arrStarted.empty());
        EXPECT_EQ(Summary(), "bad1Wq good1Wq | | ");
    }
    EXPECT_TRUE(m_view.m_arrMessages.empty());
    SelectTaskByRow(m_doc, 0);
    m_queue.QueueSelected(false);
    EXPECT_EQ(m_queue.StartNextTask(), 0);
    EXPECT_EQ(m_engine.m_arrStarted, (std::vector<std::string>{"good"}));
}

TEST_F(TaskQueueTest, RefusedJobStartsLeaveTasksWaiting) {
    // The header refused: silently back to waiting, without the mark.
    Fill({{'o', "A", 1, PS_WAITING, 1}, {'a', "X"}});
    m_settings.AutoStartEnable = 1;
    m_engine.m_eStart = EStart::RefuseHeader;
    EXPECT_EQ(m_queue.StartNextTask(), 0);
    EXPECT_EQ(Summary(), "A1W | | X1W ");
    EXPECT_TRUE(m_view.m_arrMessages.empty());
    EXPECT_EQ(m_settings.AutoStartEnable, 1);
    // Too wide for the carriage: a failed job (automatic mode off) and the text to show.
    m_engine.m_eStart = EStart::RefuseOversize;
    EXPECT_EQ(m_queue.StartNextTask(), 0);
    EXPECT_EQ(Summary(), "A1W | | X1W ");
    EXPECT_EQ(m_view.m_arrMessages, (std::vector<EMsg>{EMsg::kJobTooWide}));
    EXPECT_EQ(m_settings.AutoStartEnable, 0);
    EXPECT_EQ(m_view.m_nAutoOff, 1);
    EXPECT_EQ(m_queue.StartNextTask(), -1); // automatic tasks wait for the operator now
}

TEST_F(TaskQueueTest, StartNextTaskRefusesToRunReentrantly) {
    Fill({{'o', "A", 1, PS_WAITING, 1}, {'o', "B", 1, PS_WAITING, 1}});
    std::vector<int> inner;
    m_engine.m_onStart = [&] { inner.push_back(m_queue.StartNextTask()); };
    EXPECT_EQ(m_queue.StartNextTask(), 0);
    EXPECT_EQ(inner, (std::vector<int>{0}));
    EXPECT_EQ(m_engine.m_arrStarted, (std::vector<std::string>{"A"}));
    m_engine.m_onStart = nullptr;
    m_queue.JobFinished(kJobSuccess);
    EXPECT_EQ(m_queue.StartNextTask(), 0); // the guard was released
    EXPECT_EQ(m_engine.m_arrStarted.back(), "B");
}

TEST_F(TaskQueueTest, PrintCurrentTaskStartsTheShownTask) {
    Fill({{'o', "A", 0},
          {'o', "B", 1, PS_REPEAT},
          {'m', "C", 1, PS_WAITING, 0, false},
          {'a', "X", 1}});
    m_settings.AutoStartEnable = 0;
    struct Case {
        int nRow;
        uint8_t nState;
        const char* pszStarted;
        const char* pszAfter;
    };
    const Case cases[] = {
        {4, kStateReady, "", "A0W B1R | C1W | X1W "},  // outside the rows
        {-1, kStateReady, "", "A0W B1R | C1W | X1W "}, // outside the rows
        {0, 4, "", "A0W B1R | C1W | X1W "},            // machine busy
        {1, kStateReady, "", "A0W B1R | C1W | X1W "},  // repeating: not from here
        {2, kStateReady, "", "A0W B1R | C1W | X1W "},  // unreadable
        {0, kStateReady, "A", "A1P B1R | C1W | X1W "}, // a finished task prints once more
        {3, kStateReady, "X", "A1P B1R | C1W | X1P "}, // automatic mode off: still prints
    };
    for (const Case& c : cases) {
        m_engine.m_arrStarted.clear();
        m_engine.m_nState = c.nState;
        m_queue.SetCurrentTaskIndex(c.nRow);
        m_queue.PrintCurrentTask();
        EXPECT_EQ(m_engine.m_arrStarted.empty() ? "" : m_engine.m_arrStarted[0], c.pszStarted)
            << c.nRow;
        EXPECT_EQ(Summary(), c.pszAfter) << c.nRow;
    }
    EXPECT_EQ(TaskAt(m_doc, 3)->m_bTaskSelected, 0); // printing selects nothing
    EXPECT_EQ(TaskAt(m_doc, 3)->m_nSource, kSourceAutoDir);
}

// The operator's Start that the machine does not take (its link lost the job header) says
// so: the operator would otherwise wait for a marker that never comes.
TEST_F(TaskQueueTest, StartTheMachineDoesNotTakeSaysSo) {
    Fill({{'o', "A"}});
    m_engine.m_eStart = EStart::RefuseHeader;
    m_queue.SetCurrentTaskIndex(0);
    m_queue.PrintCurrentTask();
    EXPECT_EQ(m_engine.m_arrStarted, std::vector<std::string>{"A"});
    EXPECT_EQ(Summary(), "A1W | | ");
    EXPECT_EQ(m_view.m_arrMessages, std::vector<EMsg>{EMsg::kMachineNotReady});
}

TEST_F(TaskQueueTest, DiscardedDrawingsAreReadAgainBeforePrinting) {
    m_settings.AutoStartEnable = 1;
    AddAutoFile("x.plt", kSmallPlt);
    EXPECT_EQ(m_queue.StartNextTask(), 0);
    m_queue.JobFinished(kJobFailure);
    m_settings.AutoStartEnable = 1;
    m_queue.DiscardAllDrawings();
    EXPECT_TRUE(m_doc.m_arrAutoDir[0]->m_arrCurves.empty());
    EXPECT_EQ(m_queue.StartNextTask(), 0);
    EXPECT_FALSE(m_doc.m_arrAutoDir[0]->m_arrCurves.empty());
    EXPECT_EQ(m_engine.m_arrStarted.size(), 2u);
}

TEST_F(TaskQueueTest, MergeReplacesTheSelectedTasksByTheCombination) {
    const std::string strMan = m_settings.ManDir + "m.plt";
    ASSERT_TRUE(WriteFileBytes(strMan, kSmallPlt));
    Fill({{'o', "A"}, {'o', "B"}, {'m', "m.plt"}});
    m_doc.m_arrManDir[0]->m_strPath = strMan;
    StampFromFile(*m_doc.m_arrManDir[0]);
    MarkTaskSelected(m_doc, 0);
    MarkTaskSelected(m_doc, 2);
    m_queue.MergeSelected(EMerge::FrontBack);
    EXPECT_EQ(Names(m_doc.m_arrOpened), (std::vector<std::string>{"B", "Combination"}));
    EXPECT_TRUE(m_doc.m_arrManDir.empty());
    EXPECT_FALSE(std::filesystem::exists(strMan));
    EXPECT_EQ(m_doc.m_arrOpened[1]->m_nMaxX, 800);
}

// A manual-folder task that was never shown holds only its size: the merge reads its drawing
// before its file leaves the folder. A drawing that cannot be read merges nothing and says
// why; the tasks stay.
TEST_F(TaskQueueTest, MergeReadsTheDrawingsItIsMadeOf) {
    struct {
        const char* pszCase;
        bool bReadable;
    } const cases[] = {{.pszCase = "unread drawing", .bReadable = true},
                       {.pszCase = "file gone", .bReadable = false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszCase);
        m_doc.DeleteAllTasks();
        m_view.m_arrMessages.clear();
        Fill({{'o', "A"}, {'m', "m.plt"}});
        COnePage& man = *m_doc.m_arrManDir[0];
        man.ClearCurves(); // as a scan leaves it
        const std::string strMan = man.m_strPath;
        if (!c.bReadable)
            std::filesystem::remove(strMan);
        MarkTaskSelected(m_doc, 0);
        MarkTaskSelected(m_doc, 1);
        m_queue.MergeSelected(EMerge::FrontBack);
        if (c.bReadable) {
            EXPECT_EQ(Names(m_doc.m_arrOpened), (std::vector<std::string>{"Combination"}));
            EXPECT_EQ(m_doc.m_arrOpened[0]->m_nMaxX, 800); // both drawings
            EXPECT_FALSE(std::filesystem::exists(strMan));
        } else {
            EXPECT_EQ(Names(m_doc.m_arrOpened), (std::vector<std::string>{"A"}));
            EXPECT_EQ(m_doc.m_arrManDir.size(), 1u);
            EXPECT_FALSE(m_view.m_arrMessages.empty());
        }
    }
}

// A load never selects, whatever the file kind: the selection is the operator's, and must
// never jump to another task (Start would print that one).
TEST_F(TaskQueueTest, LoadingADrawingLeavesTheSelectionAlone) {
    const std::string strDxf = m_dir.File("piece.dxf");
    ASSERT_TRUE(WriteFileBytes(strDxf, "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n0\n20\n0\n11\n"
                                       "50\n21\n20\n0\nENDSEC\n0\nEOF\n"));
    m_settings.DxfUnit = 40; // millimetres
    Fill({{'o', "A"}, {'o', "B"}});
    auto task = std::make_unique<COnePage>();
    task->m_strPath = strDxf;
    task->m_strName = "piece.dxf";
    m_doc.m_arrOpened.push_back(std::move(task));
    ASSERT_TRUE(m_queue.LoadDrawing(*m_doc.m_arrOpened[2], true));
    EXPECT_FALSE(m_doc.m_arrOpened[2]->m_arrCurves.empty());
    EXPECT_TRUE(m_view.m_arrSelected.empty());
    EXPECT_GE(m_view.m_nRefreshes, 1);
}

class TaskQueueFiles : public TaskQueueTest {
protected:
    // A trash of the test's own.
    void SetUp() override {
        TaskQueueTest::SetUp();
        const char* pszOld = std::getenv("XDG_DATA_HOME");
        m_strOldDataHome = pszOld != nullptr ? pszOld : "";
        ::setenv("XDG_DATA_HOME", m_dir.File("data").c_str(), 1);
    }
    void TearDown() override { ::setenv("XDG_DATA_HOME", m_strOldDataHome.c_str(), 1); }
    /// A drawing of nLengthMm along the feed in the manual folder, scanned in and loaded.
    COnePage& ManualMarker(const std::string& strName, int nLengthMm) {
        const std::string strPlt = "IN;SP1;PU0,0;PD" + std::to_string(nLengthMm * 40) + ",0;PU;";
        EXPECT_TRUE(WriteFileBytes(m_settings.ManDir + strName, strPlt));
        m_queue.ScanManualFolder();
        for (const auto& task : m_doc.m_arrManDir) {
            if (task->m_strName == strName) {
                EXPECT_TRUE(m_queue.LoadDrawing(*task, false));
                return *task;
            }
        }
        ADD_FAILURE() << strName;
        return *m_doc.m_arrManDir.front();
    }
    std::filesystem::path TrashFiles() const { return m_dir.Path() / "data" / "Trash" / "files"; }

    std::string m_strOldDataHome;
};

// A marker the operator never looked at holds only its size: a split or a mirrored copy
// reads its drawing first instead of making it of nothing (a split took the task away).
TEST_F(TaskQueueFiles, SplitAndMirrorReadADrawingNotShownYet) {
    m_settings.PrtFileExtension = "*.plt;";
    COnePage& marker = ManualMarker("six.plt", 6000);
    marker.ClearCurves(); // as a scan leaves a manual-folder task
    m_queue.MirrorCopy(marker.m_nTaskId, "(Mirror)");
    marker.ClearCurves();
    ASSERT_TRUE(m_queue.SplitAlongFeed(marker.m_nTaskId, 80000).Ok());
    EXPECT_EQ(Names(m_doc.m_arrManDir), (std::vector<std::string>{"six.plt(Mirror)", "six.plt(1/3)",
                                                                  "six.plt(2/3)", "six.plt(3/3)"}));
    for (const auto& task : m_doc.m_arrManDir)
        EXPECT_FALSE(task->m_arrCurves.empty()) << task->m_strName;
}

// Pieces of a split keep their own identity: a rescan neither turns them back into the
// whole marker nor adds the file again, and the file leaves the folder (for the trash)
// only with the last task that shows its drawing.
TEST_F(TaskQueueFiles, SplitPiecesSurviveRescansAndShareTheirFile) {
    m_settings.PrtFileExtension = "*.plt;";
    m_settings.AutoDelFinish = 1;
    COnePage& marker = ManualMarker("six.plt", 6000);
    ASSERT_TRUE(m_queue.SplitAlongFeed(marker.m_nTaskId, 80000).Ok());
    m_queue.MirrorCopy(m_doc.m_arrManDir[0]->m_nTaskId, "(Mirror)");
    const std::vector<std::string> pieces = {"six.plt(1/3)(Mirror)", "six.plt(1/3)", "six.plt(2/3)",
                                             "six.plt(3/3)"};
    EXPECT_EQ(Names(m_doc.m_arrManDir), pieces);
    for (int i = 0; i < 3; ++i)
        m_queue.ScanManualFolder();
    EXPECT_EQ(Names(m_doc.m_arrManDir), pieces);
    int64_t nLength = 0;
    for (const auto& task : m_doc.m_arrManDir)
        nLength += task->m_nMaxX;
    EXPECT_EQ(nLength, 80000 * 4); // the mirrored first piece is the only paper added

    const std::string strFile = m_settings.ManDir + "six.plt";
    for (size_t i = 0; i < pieces.size(); ++i) {
        EXPECT_TRUE(std::filesystem::exists(strFile)) << i;
        m_doc.m_arrManDir[0]->m_nCopies = 0; // printed
        m_queue.ScanManualFolder();
    }
    EXPECT_TRUE(m_doc.m_arrManDir.empty());
    EXPECT_FALSE(std::filesystem::exists(strFile));
    EXPECT_TRUE(std::filesystem::exists(TrashFiles() / "six.plt"));
}

// Undo of a delete brings the task back, and its file from the trash.
TEST_F(TaskQueueFiles, UndoOfADeleteBringsTheFileBack) {
    m_settings.PrtFileExtension = "*.plt;";
    COnePage& task = ManualMarker("undo me.plt", 300);
    m_queue.PushUndoSnapshot();
    const std::string strFile = m_settings.ManDir + "undo me.plt";
    const std::string strBytes = ReadFileBytes(strFile);
    SelectTaskByRow(m_doc, RowOfTask(m_doc, task.m_nTaskId));
    m_queue.DeleteSelected();
    EXPECT_FALSE(std::filesystem::exists(strFile));
    m_queue.Undo();
    ASSERT_EQ(Names(m_doc.m_arrManDir), (std::vector<std::string>{"undo me.plt"}));
    EXPECT_EQ(ReadFileBytes(strFile), strBytes);
    m_queue.ScanManualFolder(); // the restored file is the task's, not a new one
    EXPECT_EQ(m_doc.m_arrManDir.size(), 1u);
}

// The saved lists hear of the queue's changes only from its listener: every command and
// event that changes the lists tells it, or a crash right after it loses the change.
TEST_F(TaskQueueFiles, EveryChangeOfTheListsIsTold) {
    m_settings.PrtFileExtension = "*.plt;";
    int nTold = 0;
    m_queue.SetChangeListener([&] { ++nTold; });
    const std::string strEmptyLists = m_dir.File("empty.sptask");
    ASSERT_TRUE(m_doc.SaveTaskFile(strEmptyLists).Ok());
    const std::string strOpened = m_dir.File("o.plt");
    ASSERT_TRUE(WriteFileBytes(strOpened, "IN;SP1;PU0,0;PD4000,0,4000,4000;PU;"));
    const auto select = [&](std::initializer_list<int> rows) {
        ClearTaskSelection(m_doc);
        for (const int nRow : rows)
            (void)MarkTaskSelected(m_doc, nRow);
    };
    const auto firstManual = [&] { return m_doc.m_arrManDir.front()->m_nTaskId; };
    const struct {
        const char* m_pszWhat;
        std::function<void()> m_fnChange;
    } steps[] = {
        {"a file in the manual folder", [&] { (void)ManualMarker("m.plt", 1000); }},
        {"a file added", [&] { m_queue.AddFiles({strOpened}); }},
        {"queued", [&] { select({0}), m_queue.QueueSelected(true); }},
        {"a job started", [&] { EXPECT_EQ(m_queue.StartNextTask(), 0); }},
        {"the job finished", [&] { m_queue.JobFinished(kJobSuccess); }},
        {"tasks with no copies removed", [&] { EXPECT_TRUE(m_queue.DeleteZeroCopies()); }},
        {"split along the feed",
         [&] { EXPECT_TRUE(m_queue.SplitAlongFeed(firstManual(), 8000).Ok()); }},
        {"a mirrored copy", [&] { m_queue.MirrorCopy(firstManual(), "(Mirror)"); }},
        {"merged",
         [&] {
             select({0, 1}), m_queue.MergeSelected(EMerge::FrontBack);
         }},
        {"deleted", [&] { select({0}), m_queue.DeleteSelected(); }},
        {"undone", [&] { m_queue.Undo(); }},
        {"redone", [&] { m_queue.Redo(); }},
        {"a task file opened", [&] { EXPECT_TRUE(m_queue.OpenTaskFile(strEmptyLists).Ok()); }},
    };
    for (const auto& step : steps) {
        const std::vector<uint8_t> before = m_doc.Serialize();
        const std::string strBefore = Summary();
        const int nBefore = nTold;
        step.m_fnChange();
        ASSERT_TRUE(m_doc.Serialize() != before || Summary() != strBefore) << step.m_pszWhat;
        EXPECT_GT(nTold, nBefore) << step.m_pszWhat;
    }
}

TEST(DerivedTaskPaths, SourceAndNameOfDerivedPaths) {
    const struct {
        const char* pszPath;
        const char* pszSource;
        const char* pszName;
    } cases[] = {
        {"/m/a.plt", "/m/a.plt", "a.plt"},
        {"/m/a.plt(2/3)", "/m/a.plt", "a.plt(2/3)"},
        {"/m/a.plt(1/2)(Mirror)", "/m/a.plt", "a.plt(1/2)(Mirror)"},
        {"/m/a.plt(镜像)(10/12)", "/m/a.plt", "a.plt(镜像)(10/12)"},
        {"/m/a(1).plt", "/m/a(1).plt", "a(1).plt"}, // a real name with brackets
        {"/m/a.plt(x/3)", "/m/a.plt(x/3)", "3)"},   // not a piece: no digits
        {"(Mirror)", "(Mirror)", "(Mirror)"},       // a suffix alone is a name
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SourcePathOf(c.pszPath), c.pszSource) << c.pszPath;
        EXPECT_EQ(TaskNameOf(c.pszPath), c.pszName) << c.pszPath;
    }
}

} // namespace
} // namespace inkvale::test
