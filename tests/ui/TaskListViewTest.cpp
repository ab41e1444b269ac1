// SPDX-License-Identifier: GPL-3.0-or-later
// The task list window on the off-screen platform: cell texts and columns per language,
// rows and selection, sorting by the two headers, and commands from the context menu, the
// keys and the command bar reaching the task queue.

#include "ui/TaskListView.h"

#include "model/TaskLists.h"
#include "queue/QueueTestSupport.h"
#include "queue/TaskListEdits.h"
#include "ui/ListTexts.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

#include "UiTestApp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace inkvale {
namespace {

using test::MakeTask;

void EnsureApp() {
    inkvale::test::EnsureUiTestApp();
}

// Local time is UTC for the time cells of these tests.
void UseUtc() {
    setenv("TZ", "UTC", 1);
    tzset();
}

std::unique_ptr<COnePage> Task(const std::string& strPath, int64_t tTime = 0) {
    auto task = MakeTask(strPath);
    task->m_strPath = strPath;
    task->m_tTime = tTime;
    return task;
}

// ---------------------------------------------------------------------------------------
// Texts

TEST(ListTextsTest, CellTexts) {
    UseUtc();
    COnePage task;
    task.m_strPath = "/plt/a.plt";
    task.m_nCopies = 3;
    task.m_nStartMm = 25;
    task.m_nMaxX = 399;  // 9.975 mm
    task.m_nMaxY = 4020; // 100.5 mm
    task.m_nMinX = 0;
    task.m_nMinY = 0;
    task.m_tTime = 1700000000;
    struct Case {
        int nRow;
        int32_t nSource;
        int nCol;
        int32_t nLang;
        int32_t nState;
        int32_t bQueued;
        const char* pszText;
    };
    const Case cases[] = {
        {0, kSourceOpened, 0, 1, 0, 0, "001"},
        {122, kSourceOpened, 0, 0, 0, 0, "123"},
        {1233, kSourceOpened, 0, 0, 0, 0, "1234"},
        {0, kSourceOpened, 1, 0, 0, 0, "等待打印"},
        {0, kSourceOpened, 1, 1, 0, 1, "Waiting(√)"},
        {0, kSourceManDir, 1, 5, 0, 1, "Waiting(√)"},
        {0, kSourceAutoDir, 1, 1, 0, 1, "Waiting"}, // automatic tasks show no mark
        {0, kSourceOpened, 1, 0, PS_PRINTING, 1, "打印中"},
        {0, kSourceOpened, 1, 2, PS_REPEAT, 0, "Printing"},
        {0, kSourceOpened, 2, 0, 0, 0, "手动打开"},
        {0, kSourceManDir, 2, 0, 0, 0, "手动目录"},
        {0, kSourceAutoDir, 2, 0, 0, 0, "自动目录"},
        {0, kSourceOpened, 2, 3, 0, 0, "Manual Add"},
        {0, kSourceManDir, 2, 4, 0, 0, "Auto Add"},
        {0, kSourceAutoDir, 2, 1, 0, 0, "Auto Add"},
        {0, kSourceOpened, 3, 1, 0, 0, "101 * 10 "}, // rounded, from the origin
        {0, kSourceOpened, 4, 1, 0, 0, "3"},
        {0, kSourceOpened, 5, 1, 0, 0, "25mm"},
        {0, kSourceOpened, 6, 0, 0, 0, "2023-11-14 22:13:20"},
        {0, kSourceOpened, 7, 1, 0, 0, "/plt/a.plt"},
        {0, kSourceOpened, 8, 1, 0, 0, ""},
    };
    for (const Case& c : cases) {
        task.m_nPrintState = c.nState;
        task.m_bQueued = c.bQueued;
        EXPECT_EQ(ListCellText(task, c.nRow, c.nSource, c.nCol, c.nLang), c.pszText)
            << "row " << c.nRow << " col " << c.nCol << " lang " << c.nLang;
    }
}

TEST(ListTextsTest, SizeCellPerList) {
    struct Case {
        int32_t nMinX, nMaxX, nMinY, nMaxY;
        int32_t nSource;
        const char* pszText;
    };
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    const Case cases[] = {
        // Opened list: from the origin, rounded half up.
        {400, 4019, 800, 1219, kSourceOpened, "30 * 100 "},
        {0, 19, 0, 20, kSourceOpened, "1 * 0 "},
        // Folder lists: the box's own size, truncated.
        {400, 4019, 800, 1219, kSourceManDir, "10 * 90 "},
        {-40, 39, 0, 79, kSourceAutoDir, "1 * 1 "},
        // Boxes as wide as int32 allows neither overflow nor wrap.
        {kMin, kMax, kMin, kMax, kSourceAutoDir, "107374182 * 107374182 "},
        {kMin, kMax, kMin, kMax, kSourceOpened, "53687091 * 53687091 "},
    };
    for (const Case& c : cases) {
        COnePage task;
        task.m_nMinX = c.nMinX;
        task.m_nMaxX = c.nMaxX;
        task.m_nMinY = c.nMinY;
        task.m_nMaxY = c.nMaxY;
        EXPECT_EQ(ListSizeText(task, c.nSource), c.pszText) << c.nMinX << ".." << c.nMaxX;
    }
}

TEST(ListTextsTest, TimeCellAtTheEdges) {
    UseUtc();
    EXPECT_EQ(ListTimeText(0), "1970-01-01 00:00:00");
    EXPECT_EQ(ListTimeText(-1), "1969-12-31 23:59:59");
    // A time the C library cannot turn into a date leaves the cell empty.
    EXPECT_EQ(ListTimeText(std::numeric_limits<int64_t>::max()), "");
    EXPECT_EQ(ListTimeText(std::numeric_limits<int64_t>::min()), "");
}

TEST(ListTextsTest, ColumnsPerLanguage) {
    struct Case {
        int32_t nLang;
        int nCol;
        const char* pszTitle;
        int nWidth;
    };
    const Case cases[] = {
        {0, 0, "序号", 64},
        {0, 7, "文件名", 500},
        {1, 3, "Size(X*Y)mm", 160},
        {1, 4, "Copies", 100},
        {2, 4, "Çizim Adeti", 80},
        {3, 2, "Mənbə", 120},
        {4, 0, "Пор. номер", 100},
        {4, 2, "Дод. файлу", 160},
        {5, 1, "Статус (в очереди)", 100},
        {5, 5, "Начальная позиция(mm)", 120},
        {9, 6, "MTime", 200}, // an unknown language reads English
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ListColumnTitle(c.nLang, c.nCol), c.pszTitle) << c.nLang << "/" << c.nCol;
        EXPECT_EQ(ListColumnWidth(c.nLang, c.nCol), c.nWidth) << c.nLang << "/" << c.nCol;
    }
    EXPECT_EQ(ListColumnTitle(1, 8), "");
    EXPECT_EQ(ListColumnWidth(1, -1), 0);
    for (int32_t nLang = 0; nLang < 6; ++nLang)
        for (int nId : {275, 330, 331, 332, 333, 334, 335, 336, 337, kMenuMergePopup})
            EXPECT_FALSE(ListMenuText(nLang, nId).empty()) << nLang << "/" << nId;
}

// ---------------------------------------------------------------------------------------
// The window

class CFakeListHost : public CListViewHost {
public:
    explicit CFakeListHost(CTaskLists& doc) : m_doc(doc) {}
    // The preview only shows the row's task: the selection belongs to the list.
    void SelectRow(int nRow) override { m_arrSelected.push_back(nRow); }
    void LoadCurrentDrawing(bool bShowErrors) override { m_arrLoads.push_back(bShowErrors); }
    void Redraw() override { ++m_nRedraws; }

    CTaskLists& m_doc;
    std::vector<int> m_arrSelected;
    std::vector<bool> m_arrLoads;
    int m_nRedraws = 0;
};

class TaskListViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureApp(); }
    void SetUp() override {
        UseUtc();
        m_settings.Language = 1;
    }
    void Create() { m_list = std::make_unique<CTaskListView>(m_queue, m_settings, m_host); }
    void Add(CTaskList& list, const std::string& strName, int64_t tTime = 0) {
        list.push_back(Task(strName, tTime));
    }
    QString Cell(int nRow, int nCol) const { return m_list->item(nRow, nCol)->text(); }
    std::vector<std::string> Column(int nCol) const {
        std::vector<std::string> cells;
        for (int r = 0; r < m_list->rowCount(); ++r)
            cells.push_back(Cell(r, nCol).toStdString());
        return cells;
    }
    void SelectRows(const std::vector<int>& rows) {
        m_list->clearSelection();
        for (int r : rows)
            m_list->selectionModel()->select(m_list->model()->index(r, 0),
                                             QItemSelectionModel::Select |
                                                 QItemSelectionModel::Rows);
    }
    std::vector<int> SelectedRows() const {
        std::vector<int> rows;
        for (int r = 0; r < m_list->rowCount(); ++r)
            if (m_list->selectionModel()->isRowSelected(r, {}))
                rows.push_back(r);
        return rows;
    }
    void KeyRelease(int nKey) {
        QKeyEvent ev(QEvent::KeyRelease, nKey, Qt::NoModifier);
        QApplication::sendEvent(m_list.get(), &ev);
    }
    /// The id of the context menu entry with this English text (searching the popup too).
    int MenuId(const QString& strText) {
        std::unique_ptr<QMenu> menu = m_list->CreateContextMenu();
        for (QAction* pAction : menu->actions()) {
            if (pAction->menu() != nullptr)
                for (QAction* pSub : pAction->menu()->actions())
                    if (pSub->text() == strText)
                        return pSub->data().toInt();
            if (pAction->text() == strText)
                return pAction->data().toInt();
        }
        ADD_FAILURE() << "no menu entry " << strText.toStdString();
        return 0;
    }

    CTaskLists m_doc;
    CSettings m_settings;
    test::CFakeQueueView m_view;
    test::CFakeQueueEngine m_engine;
    CTaskQueue m_queue{m_doc, m_settings, m_view, m_engine};
    CFakeListHost m_host{m_doc};
    std::unique_ptr<CTaskListView> m_list;
};

TEST_F(TaskListViewTest, ColumnsColoursAndAlignmentFollowTheLanguage) {
    m_settings.Language = 4;
    Create();
    ASSERT_EQ(m_list->columnCount(), kListColumns);
    EXPECT_EQ(m_list->horizontalHeaderItem(0)->text(), QString::fromUtf8("Пор. номер"));
    EXPECT_EQ(m_list->columnWidth(0), 100);
    EXPECT_EQ(m_list->columnWidth(2), 160);
    EXPECT_EQ(m_list->columnWidth(7), 500);
    EXPECT_TRUE(m_list->horizontalHeaderItem(3)->textAlignment() & Qt::AlignHCenter);
    EXPECT_EQ(m_list->palette().color(QPalette::Base), QColor(0xF5, 0xFA, 0xFF));
    EXPECT_EQ(m_list->palette().color(QPalette::Text), QColor(0, 0, 0xFF));
    EXPECT_EQ(m_list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_TRUE(m_list->showGrid());

    m_settings.Language = 0;
    Create();
    EXPECT_EQ(m_list->horizontalHeaderItem(1)->text(), QString::fromUtf8("状态(排队)"));
    EXPECT_TRUE(m_list->horizontalHeaderItem(1)->textAlignment() & Qt::AlignLeft);
    // The columns were made at creation: a later language change does not rename them.
    m_settings.Language = 1;
    m_list->RefreshTaskList();
    EXPECT_EQ(m_list->horizontalHeaderItem(1)->text(), QString::fromUtf8("状态(排队)"));
}

TEST_F(TaskListViewTest, RowsFollowTheThreeListsAndTheirSelection) {
    Add(m_doc.m_arrOpened, "/o/A1.plt");
    Add(m_doc.m_arrOpened, "/o/A2.plt");
    Add(m_doc.m_arrManDir, "/m/M1.plt");
    Add(m_doc.m_arrAutoDir, "/a/X1.plt");
    m_doc.m_arrOpened[1]->m_bTaskSelected = 1;
    m_doc.m_arrAutoDir[0]->m_bTaskSelected = 1;
    m_queue.SetCurrentTaskIndex(1); // the current task's row is the focused one
    Create();
    m_list->RefreshTaskList();
    EXPECT_EQ(Column(0), (std::vector<std::string>{"001", "002", "003", "004"}));
    EXPECT_EQ(Column(2),
              (std::vector<std::string>{"Manual Add", "Manual Add", "Auto Add", "Auto Add"}));
    EXPECT_EQ(Column(7),
              (std::vector<std::string>{"/o/A1.plt", "/o/A2.plt", "/m/M1.plt", "/a/X1.plt"}));
    EXPECT_EQ(SelectedRows(), (std::vector<int>{1, 3}));
    EXPECT_EQ(m_list->currentRow(), 1);

    // A refresh after the lists shrink leaves no stale rows or selection behind.
    m_doc.m_arrOpened.clear();
    m_list->RefreshTaskList();
    EXPECT_EQ(Column(0), (std::vector<std::string>{"001", "002"}));
    EXPECT_EQ(SelectedRows(), (std::vector<int>{1}));
}

TEST_F(TaskListViewTest, HeaderClicksSortEachListByItself) {
    struct Case {
        const char* pszWhat;
        std::vector<int> clicks;
        std::vector<std::string> paths; // every row after the clicks
        int nMode;
    };
    const std::string kEmoji = "/o/\xF0\x9F\x98\x80"; // U+1F600, a surrogate pair in UTF-16
    const std::string kFullA = "/o/\xEF\xBC\xA1";     // U+FF21, above the surrogates
    const Case cases[] = {
        {"no click keeps the order", {}, {"/o/b", "/o/a", "/o/c", "/m/z", "/m/y"}, 0},
        {"time ascending", {6}, {"/o/a", "/o/c", "/o/b", "/m/y", "/m/z"}, 3},
        {"time twice: descending", {6, 6}, {"/o/b", "/o/a", "/o/c", "/m/z", "/m/y"}, 4},
        {"time three times: ascending again",
         {6, 6, 6},
         {"/o/a", "/o/c", "/o/b", "/m/y", "/m/z"},
         3},
        {"time then path: path ascending", {6, 6, 7}, {"/o/a", "/o/b", "/o/c", "/m/y", "/m/z"}, 1},
        {"path twice: descending", {7, 7}, {"/o/c", "/o/b", "/o/a", "/m/z", "/m/y"}, 2},
        {"other headers do nothing", {0, 3, 5}, {"/o/b", "/o/a", "/o/c", "/m/z", "/m/y"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        m_doc.m_arrOpened.clear();
        m_doc.m_arrManDir.clear();
        // a and c share a time: the stable sort keeps a before c both ways.
        Add(m_doc.m_arrOpened, "/o/b", 300);
        Add(m_doc.m_arrOpened, "/o/a", 100);
        Add(m_doc.m_arrOpened, "/o/c", 100);
        Add(m_doc.m_arrManDir, "/m/z", 50);
        Add(m_doc.m_arrManDir, "/m/y", 40);
        Create();
        m_host.m_arrSelected.clear();
        m_queue.SetCurrentTaskIndex(4);
        for (int nCol : c.clicks)
            m_list->HeaderClicked(nCol);
        // The current task stays current wherever the sort puts it.
        EXPECT_EQ(TaskAt(m_doc, m_queue.CurrentTaskIndex())->m_strPath, "/m/y");
        if (c.nMode != 0) {
            EXPECT_EQ(m_host.m_arrSelected.back(), m_queue.CurrentTaskIndex());
        }
        m_list->RefreshTaskList();
        EXPECT_EQ(Column(7), c.paths);
        EXPECT_EQ(m_list->SortMode(), c.nMode);
    }

    // Paths compare by UTF-16 code units: a character beyond U+FFFF (a surrogate pair)
    // sorts before U+FF21, although its UTF-8 bytes are larger.
    m_doc.m_arrOpened.clear();
    m_doc.m_arrManDir.clear();
    Add(m_doc.m_arrOpened, kFullA);
    Add(m_doc.m_arrOpened, kEmoji);
    SortTasks(m_doc, kSortPathUp);
    EXPECT_EQ(test::Names(m_doc.m_arrOpened), (std::vector<std::string>{kEmoji, kFullA}));
    // A click on the header itself reaches the sort.
    Create();
    m_list->RefreshTaskList();
    emit m_list->horizontalHeader()->sectionClicked(kColumnPath);
    EXPECT_EQ(m_list->SortMode(), kSortPathUp);
}

TEST_F(TaskListViewTest, ContextMenuOrderAndTexts) {
    m_settings.Language = 0;
    Create();
    std::unique_ptr<QMenu> menu = m_list->CreateContextMenu();
    std::vector<int> ids;
    std::vector<int> mergeIds;
    for (QAction* pAction : menu->actions()) {
        if (pAction->menu() != nullptr) {
            EXPECT_EQ(pAction->text(), QString::fromUtf8("合并"));
            for (QAction* pSub : pAction->menu()->actions())
                mergeIds.push_back(pSub->data().toInt());
            ids.push_back(0);
        } else {
            ids.push_back(pAction->data().toInt());
        }
    }
    EXPECT_EQ(ids, (std::vector<int>{275, 334, 0, 332, 333, 335, 336, 337}));
    EXPECT_EQ(mergeIds, (std::vector<int>{331, 330}));
    EXPECT_EQ(menu->actions()[1]->text(), QString::fromUtf8("删除份数为0的项"));
}

TEST_F(TaskListViewTest, MenuCommandsReachTheQueue) {
    for (const char* psz : {"/o/A", "/o/B", "/o/C"})
        Add(m_doc.m_arrOpened, psz);
    Add(m_doc.m_arrManDir, "/m/M");
    Add(m_doc.m_arrAutoDir, "/a/X");
    Create();
    m_list->RefreshTaskList();

    // Queue rows 1, 3 and 4: the automatic task is never queued; a snapshot is pushed.
    const size_t nUndo = m_queue.UndoHistory().Count();
    SelectRows({1, 3, 4});
    ASSERT_TRUE(m_list->RunCommand(MenuId("Queue")));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Waiting", "Waiting(√)", "Waiting", "Waiting(√)",
                                                   "Waiting"}));
    // The first command keeps the lists before it too, so that it can be undone.
    EXPECT_EQ(m_queue.UndoHistory().Count(), nUndo == 0 ? 2u : nUndo + 1);
    EXPECT_TRUE(m_queue.UndoHistory().CanUndo());
    SelectRows({3});
    m_list->RunCommand(MenuId("Unqueue"));
    EXPECT_EQ(m_doc.m_arrManDir[0]->m_bQueued, 0);
    EXPECT_EQ(m_doc.m_arrOpened[1]->m_bQueued, 1);

    // Moves take the first selected row and stay within its list.
    SelectRows({2, 0});
    m_list->RunCommand(MenuId("Move To Top"));
    EXPECT_EQ(test::Names(m_doc.m_arrOpened), (std::vector<std::string>{"/o/A", "/o/B", "/o/C"}));
    SelectRows({2});
    m_list->RunCommand(MenuId("Move To Top"));
    EXPECT_EQ(test::Names(m_doc.m_arrOpened), (std::vector<std::string>{"/o/C", "/o/A", "/o/B"}));
    EXPECT_EQ(m_host.m_arrSelected.back(), 0);
    EXPECT_EQ(SelectedRows(), (std::vector<int>{0})); // the moved task stays selected
    SelectRows({2});
    m_list->RunCommand(MenuId("Move Down")); // last of its list: stays
    EXPECT_EQ(m_host.m_arrSelected.back(), 2);
    m_list->RunCommand(MenuId("Move Up"));
    EXPECT_EQ(test::Names(m_doc.m_arrOpened), (std::vector<std::string>{"/o/C", "/o/B", "/o/A"}));
    EXPECT_EQ(m_host.m_arrSelected.back(), 1);
    m_list->clearSelection();
    const size_t nSelects = m_host.m_arrSelected.size();
    m_list->RunCommand(MenuId("Move Up")); // nothing selected: nothing happens
    EXPECT_EQ(m_host.m_arrSelected.size(), nSelects);

    // Copies from the command bar: up for the selected rows, never below 1 going down.
    SelectRows({0, 3});
    m_list->RunCommand(kListCmdCopiesUp);
    m_list->RunCommand(kListCmdCopiesUp);
    EXPECT_EQ(Column(4), (std::vector<std::string>{"3", "1", "1", "3", "1"}));
    SelectRows({0, 1});
    for (int i = 0; i < 3; ++i)
        m_list->RunCommand(kListCmdCopiesDown);
    EXPECT_EQ(Column(4), (std::vector<std::string>{"1", "1", "1", "3", "1"}));

    // Delete items with 0 copies: an opened task whose copies ran out goes, the file stays.
    m_doc.m_arrOpened[2]->m_nCopies = 0;
    m_queue.SetCurrentTaskIndex(3);
    m_list->RunCommand(MenuId("Delete Items With 0 Copies"));
    EXPECT_EQ(Column(7), (std::vector<std::string>{"/o/C", "/o/B", "/m/M", "/a/X"}));
    EXPECT_EQ(m_queue.CurrentTaskIndex(), 2); // still /m/M, one row up
    m_doc.m_arrManDir[0]->m_nCopies = 0;     // the current task goes: the first row is current
    m_list->RunCommand(MenuId("Delete Items With 0 Copies"));
    EXPECT_EQ(m_queue.CurrentTaskIndex(), 0);
    EXPECT_FALSE(m_list->RunCommand(999));
}

TEST_F(TaskListViewTest, MergeAndDeleteThroughTheQueue) {
    Add(m_doc.m_arrOpened, "/o/A");
    Add(m_doc.m_arrOpened, "/o/B");
    Add(m_doc.m_arrOpened, "/o/C");
    Create();
    m_list->RefreshTaskList();
    m_list->clearSelection();
    m_list->RunCommand(MenuId("Merge Front-Back")); // nothing selected: nothing merged
    EXPECT_EQ(m_list->rowCount(), 3);

    SelectRows({0, 2});
    m_list->RunCommand(MenuId("Merge Top-Bottom"));
    EXPECT_EQ(Column(7), (std::vector<std::string>{"/o/B", "Combination"}));
    EXPECT_EQ(m_host.m_arrSelected.back(), 0);
    EXPECT_EQ(m_doc.m_arrOpened[1]->m_arrCurves.size(), 2U);

    // The Delete key deletes the selected rows; the preview shows row 0 and redraws.
    const int nRedraws = m_host.m_nRedraws;
    const size_t nUndo = m_queue.UndoHistory().Count();
    SelectRows({1});
    KeyRelease(Qt::Key_Delete);
    EXPECT_EQ(Column(7), (std::vector<std::string>{"/o/B"}));
    EXPECT_EQ(m_host.m_arrSelected.back(), 0);
    EXPECT_GT(m_host.m_nRedraws, nRedraws);
    EXPECT_EQ(m_queue.UndoHistory().Count(), nUndo + 1);
}

TEST_F(TaskListViewTest, ClicksAndArrowKeysDriveThePreview) {
    for (const char* psz : {"/o/A", "/o/B", "/o/C"})
        Add(m_doc.m_arrOpened, psz);
    Create();
    m_list->RefreshTaskList();
    SelectRows({2, 1});
    m_list->RowClicked();
    EXPECT_EQ(m_host.m_arrSelected, (std::vector<int>{1}));
    EXPECT_EQ(m_host.m_arrLoads, (std::vector<bool>{true}));
    // A click through the table's own signal does the same.
    emit m_list->cellClicked(2, 0);
    EXPECT_EQ(m_host.m_arrSelected.size(), 2U);

    SelectRows({2});
    KeyRelease(Qt::Key_Down);
    EXPECT_EQ(m_host.m_arrSelected.back(), 2);
    EXPECT_EQ(m_host.m_arrLoads.size(), 2U); // arrows do not load the drawing

    m_list->clearSelection();
    const size_t nSelects = m_host.m_arrSelected.size();
    m_list->RowClicked();
    KeyRelease(Qt::Key_Up);
    EXPECT_EQ(m_host.m_arrSelected.size(), nSelects);
}

TEST_F(TaskListViewTest, RightClickOpensTheMenuAndRunsTheChosenCommand) {
    Add(m_doc.m_arrOpened, "/o/A");
    Add(m_doc.m_arrOpened, "/o/B");
    Create();
    m_list->show();
    m_list->RefreshTaskList();
    SelectRows({0});
    // While the menu is open: the first entry ("Delete") is chosen by the keyboard. A
    // second timer closes any popup still open so the test cannot hang.
    bool bSeen = false;
    QTimer::singleShot(50, m_list.get(), [&bSeen] {
        QWidget* pPopup = QApplication::activePopupWidget();
        if (pPopup == nullptr)
            return;
        bSeen = true;
        for (int nKey : {Qt::Key_Down, Qt::Key_Return}) {
            QKeyEvent press(QEvent::KeyPress, nKey, Qt::NoModifier);
            QApplication::sendEvent(pPopup, &press);
        }
    });
    QTimer::singleShot(3000, m_list.get(), [] {
        if (QWidget* pPopup = QApplication::activePopupWidget())
            pPopup->close();
    });
    // Mouse right clicks reach a scroll area through its viewport.
    QContextMenuEvent ev(QContextMenuEvent::Mouse, QPoint(5, 5),
                         m_list->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(m_list->viewport(), &ev);
    ASSERT_TRUE(bSeen);
    EXPECT_EQ(Column(7), (std::vector<std::string>{"/o/B"}));
}

} // namespace
} // namespace inkvale
