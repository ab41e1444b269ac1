// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TaskListView.h"

#include "queue/TaskListEdits.h"
#include "support/Utf.h"
#include "ui/ListTexts.h"
#include "ui/OperatorText.h"
#include "ui/PreflightTexts.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QStringList>
#include <QStyle>

#include <algorithm>
#include <utility>

namespace inkvale {

namespace {

// Window colours 0x00BBGGRR: a pale blue-white background, blue text.
const QColor kBackground(0xF5, 0xFA, 0xFF);
const QColor kText(0x00, 0x00, 0xFF);
const QColor kProblemText(0xC0, 0x00, 0x00);

QString ToQString(const std::string& strText) {
    return QString::fromUtf8(strText.data(), static_cast<qsizetype>(strText.size()));
}

template <typename Key, typename Less>
void SortListByKey(CTaskList& list, Key key, Less less) {
    using CKey = decltype(key(*list.front()));
    std::vector<std::pair<CKey, std::unique_ptr<COnePage>>> keyed;
    keyed.reserve(list.size());
    for (auto& task : list)
        keyed.emplace_back(key(*task), std::move(task));
    // A stable sort exchanges only tasks that are strictly out of order, as the exchange
    // sort of the list window always did, so equal keys keep their order.
    std::stable_sort(keyed.begin(), keyed.end(),
                     [&](const auto& a, const auto& b) { return less(a.first, b.first); });
    for (size_t i = 0; i < keyed.size(); ++i)
        list[i] = std::move(keyed[i].second);
}

void SortList(CTaskList& list, int nMode) {
    if (list.size() < 2)
        return;
    const auto pathKey = [](const COnePage& task) { return Utf8ToUtf16(task.m_strPath); };
    const auto timeKey = [](const COnePage& task) { return task.m_tTime; };
    switch (nMode) {
    case kSortPathUp:
        SortListByKey(list, pathKey, std::less<>());
        break;
    case kSortPathDown:
        SortListByKey(list, pathKey, std::greater<>());
        break;
    case kSortTimeUp:
        SortListByKey(list, timeKey, std::less<>());
        break;
    case kSortTimeDown:
        SortListByKey(list, timeKey, std::greater<>());
        break;
    default:
        break;
    }
}

} // namespace

void SortTasks(CTaskLists& doc, int nMode) {
    SortList(doc.m_arrOpened, nMode);
    SortList(doc.m_arrManDir, nMode);
    SortList(doc.m_arrAutoDir, nMode);
}

CTaskListView::CTaskListView(CTaskQueue& queue, CSettings& settings, CListViewHost& host,
                             QWidget* pParent)
    : QTableWidget(pParent), m_queue(queue), m_settings(settings), m_host(host) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->hide();
    // Compact rows as in a report list; clicks on a row must not light up a header.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, kBackground);
    palette.setColor(QPalette::Text, kText);
    setPalette(palette);
    CreateColumns();
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int nColumn) { HeaderClicked(nColumn); });
    connect(this, &QTableWidget::cellClicked, this, [this](int, int) { RowClicked(); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { TakeSelection(); });
}

uint64_t CTaskListView::TaskIdAtRow(int nRow) const {
    const QTableWidgetItem* pItem = item(nRow, 0);
    return pItem != nullptr ? pItem->data(Qt::UserRole).toULongLong() : 0;
}

// The rows the operator selects become the tasks' selection marks at once: the marks move
// with their tasks when rows come and go, and every command acts on them.
void CTaskListView::TakeSelection() {
    if (m_bRefreshing)
        return;
    CTaskLists& doc = m_queue.Doc();
    ClearTaskSelection(doc);
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        if (COnePage* pTask = TaskById(doc, TaskIdAtRow(index.row())))
            pTask->m_bTaskSelected = 1;
    }
}

void CTaskListView::SelectOnly(int nRow) {
    CTaskLists& doc = m_queue.Doc();
    ClearTaskSelection(doc);
    COnePage* pTask = TaskAt(doc, nRow);
    if (pTask != nullptr)
        pTask->m_bTaskSelected = 1;
    m_queue.SetCurrentTaskId(pTask != nullptr ? pTask->m_nTaskId : 0);
    m_host.SelectRow(nRow);
}

void CTaskListView::KeepACurrentTask() {
    if (TaskById(m_queue.Doc(), m_queue.CurrentTaskId()) == nullptr)
        SelectOnly(0);
}

CTaskListView::~CTaskListView() = default;

// The columns follow the language at creation; a language change shows at the next start.
void CTaskListView::CreateColumns() {
    const int32_t nLanguage = m_settings.Language;
    setColumnCount(kListColumns);
    const Qt::Alignment align = ListHeadersCentred(nLanguage) ? Qt::AlignHCenter | Qt::AlignVCenter
                                                              : Qt::AlignLeft | Qt::AlignVCenter;
    horizontalHeader()->setDefaultAlignment(align);
    for (int nCol = 0; nCol < kListColumns; ++nCol) {
        auto* pItem = new QTableWidgetItem(ToQString(ListColumnTitle(nLanguage, nCol)));
        pItem->setTextAlignment(align);
        setHorizontalHeaderItem(nCol, pItem);
        setColumnWidth(nCol, ListColumnWidth(nLanguage, nCol));
    }
}

// A task that cannot print shows it in red, with the reason as the row's tooltip.
void CTaskListView::FillRow(int nRow, const COnePage& task, int32_t nSource) {
    const bool bProblem = task.m_problem.m_eId != EMsg::kNone;
    const QString why = bProblem ? OperatorText(task.m_problem) : QString();
    for (int nCol = 0; nCol < kListColumns; ++nCol) {
        auto* pItem = new QTableWidgetItem(
            ToQString(ListCellText(task, nRow, nSource, nCol, m_settings.Language)));
        pItem->setForeground(bProblem ? kProblemText : kText);
        if (bProblem)
            pItem->setToolTip(why);
        if (nCol == 0) // the task behind the row, for selections that outlive a refresh
            pItem->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(task.m_nTaskId));
        MarkRow(*pItem, nCol, task, bProblem ? why : QString());
        setItem(nRow, nCol, pItem);
    }
}

// The row's tooltip holds everything known against the task: why it cannot print, that
// its job was interrupted, and its preflight's warnings; the first cell shows an icon.
void CTaskListView::MarkRow(QTableWidgetItem& item, int nCol, const COnePage& task,
                            const QString& why) {
    QStringList lines;
    if (!why.isEmpty())
        lines << why;
    const bool bInterrupted =
        !m_strInterruptedPath.empty() && task.m_strPath == m_strInterruptedPath;
    if (bInterrupted)
        lines << m_strInterrupted;
    const QString warnings = PreflightWarningsText(task.m_preflight);
    if (!warnings.isEmpty() && (task.m_problem.m_eId == EMsg::kNone || warnings != why))
        lines << warnings;
    lines.removeDuplicates();
    if (lines.isEmpty())
        return;
    item.setToolTip(lines.join(QLatin1Char('\n')));
    if (nCol != 0)
        return;
    const bool bBlocking = task.m_preflight.Blocking() || !why.isEmpty();
    item.setIcon(style()->standardIcon(bBlocking ? QStyle::SP_MessageBoxCritical
                                                 : QStyle::SP_MessageBoxWarning));
}

void CTaskListView::SetInterruptedTask(const std::string& strPath, const QString& strText) {
    m_strInterruptedPath = strPath;
    m_strInterrupted = strText;
}

void CTaskListView::RefreshTaskList() {
    CTaskLists& doc = m_queue.Doc();
    MarkDuplicates(doc);
    const QSignalBlocker blocker(this);
    m_bRefreshing = true;
    clearSelection();
    setRowCount(0);
    setRowCount(TaskCount(doc));
    int nRow = 0;
    const uint64_t nCurrent = m_queue.CurrentTaskId();
    const std::pair<const CTaskList*, int32_t> lists[] = {{&doc.m_arrOpened, kSourceOpened},
                                                          {&doc.m_arrManDir, kSourceManDir},
                                                          {&doc.m_arrAutoDir, kSourceAutoDir}};
    for (const auto& [pList, nSource] : lists) {
        for (const auto& task : *pList) {
            FillRow(nRow, *task, nSource);
            const QModelIndex index = model()->index(nRow, 0);
            if (task->m_bTaskSelected != 0)
                selectionModel()->select(index,
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
            if (task->m_nTaskId == nCurrent)
                selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
            ++nRow;
        }
    }
    m_bRefreshing = false;
}

bool CTaskListView::MarkSelectedRows() {
    bool bAny = false;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        if (COnePage* pTask = TaskById(m_queue.Doc(), TaskIdAtRow(index.row()))) {
            pTask->m_bTaskSelected = 1;
            bAny = true;
        }
    }
    return bAny;
}

int CTaskListView::FirstSelectedRow() const {
    int nFirst = -1;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        if (nFirst < 0 || index.row() < nFirst)
            nFirst = index.row();
    return nFirst;
}

bool CTaskListView::RunCommand(int nId) {
    switch (nId) {
    case kListCmdDelete:
        DeleteSelected();
        return true;
    case kListCmdCopiesUp:
    case kListCmdCopiesDown:
        ChangeCopies(nId == kListCmdCopiesUp);
        return true;
    case kListCmdMergeFrontBack:
    case kListCmdMergeTopBottom:
        MergeSelected(nId == kListCmdMergeFrontBack ? EMerge::FrontBack : EMerge::TopBottom);
        return true;
    case kListCmdQueue:
    case kListCmdUnqueue:
        QueueSelected(nId == kListCmdQueue);
        return true;
    case kListCmdDeleteZeroCopies:
        DeleteZeroCopies();
        return true;
    case kListCmdMoveTop:
    case kListCmdMoveUp:
    case kListCmdMoveDown:
        MoveSelected(nId);
        return true;
    default:
        return false;
    }
}

void CTaskListView::DeleteSelected() {
    ClearTaskSelection(m_queue.Doc());
    MarkSelectedRows();
    m_queue.DeleteSelected(); // deletes, then pushes the undo snapshot
    KeepACurrentTask();
    RefreshTaskList();
    m_host.Redraw();
}

void CTaskListView::ChangeCopies(bool bUp) {
    ClearTaskSelection(m_queue.Doc());
    MarkSelectedRows();
    m_queue.ChangeCopiesOfSelected(bUp);
    RefreshTaskList();
    m_host.Redraw();
    setFocus();
}

void CTaskListView::DeleteZeroCopies() {
    if (!m_queue.DeleteZeroCopies())
        return;
    KeepACurrentTask();
    RefreshTaskList();
    m_host.Redraw();
}

void CTaskListView::QueueSelected(bool bQueued) {
    ClearTaskSelection(m_queue.Doc());
    MarkSelectedRows();
    m_queue.QueueSelected(bQueued); // marks, then pushes the undo snapshot
    RefreshTaskList();
    m_host.Redraw();
}

void CTaskListView::MoveSelected(int nId) {
    const int nRow = FirstSelectedRow();
    ClearTaskSelection(m_queue.Doc());
    if (nRow < 0)
        return;
    CTaskLists& doc = m_queue.Doc();
    const COnePage* pMoved = TaskAt(doc, nRow);
    if (pMoved == nullptr)
        return;
    CUndoLabel label{EUndoStep::kMove, pMoved->m_strName, 1};
    m_queue.PrepareUndo();
    const int nNewRow = nId == kListCmdMoveTop  ? MoveTaskToTop(doc, nRow)
                        : nId == kListCmdMoveUp ? MoveTaskUp(doc, nRow)
                                                : MoveTaskDown(doc, nRow);
    SelectOnly(nNewRow);
    m_queue.PushUndoSnapshot(std::move(label));
    RefreshTaskList();
    m_host.Redraw();
}

void CTaskListView::MergeSelected(EMerge eKind) {
    ClearTaskSelection(m_queue.Doc());
    if (!MarkSelectedRows())
        return;
    if (!m_queue.MergeSelected(eKind))
        return; // nothing merged; the highlight stays
    SelectOnly(0);
    RefreshTaskList();
    m_host.Redraw();
}

void CTaskListView::HeaderClicked(int nColumn) {
    if (nColumn == kColumnTime)
        m_nSortMode = m_nSortMode == kSortTimeUp ? kSortTimeDown : kSortTimeUp;
    else if (nColumn == kColumnPath)
        m_nSortMode = m_nSortMode == kSortPathUp ? kSortPathDown : kSortPathUp;
    else
        return;
    SortTasks(m_queue.Doc(), m_nSortMode);
    m_queue.NoteChanged();
    // The current task stays current wherever the sort put it.
    RefreshTaskList();
    m_host.SelectRow(m_queue.CurrentTaskIndex());
}

// The clicked row's task becomes current by its id: whatever the lists did meanwhile, the
// task the operator sees highlighted is the one Start prints.
void CTaskListView::RowClicked() {
    int nRow = currentRow();
    if (nRow >= 0 && !selectionModel()->isRowSelected(nRow, {}))
        return; // a Ctrl-click took it out of the selection
    if (nRow < 0)
        nRow = FirstSelectedRow();
    if (nRow < 0)
        return;
    const uint64_t nTaskId = TaskIdAtRow(nRow);
    if (TaskById(m_queue.Doc(), nTaskId) == nullptr)
        return;
    m_queue.SetCurrentTaskId(nTaskId);
    m_host.SelectRow(m_queue.CurrentTaskIndex());
    m_host.LoadCurrentDrawing(true);
}

void CTaskListView::ShowCurrentRow(int nRow) {
    const QSignalBlocker blocker(this);
    if (nRow < 0 || nRow >= rowCount())
        return;
    const QModelIndex index = model()->index(nRow, 0);
    if (selectionModel()->isRowSelected(nRow, {}))
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    else
        selectRow(nRow);
}

void CTaskListView::keyReleaseEvent(QKeyEvent* pEvent) {
    switch (pEvent->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int nRow = currentRow() >= 0 ? currentRow() : FirstSelectedRow();
        if (const uint64_t nTaskId = nRow >= 0 ? TaskIdAtRow(nRow) : 0;
            TaskById(m_queue.Doc(), nTaskId) != nullptr) {
            m_queue.SetCurrentTaskId(nTaskId);
            m_host.SelectRow(m_queue.CurrentTaskIndex());
        }
        setFocus();
        pEvent->accept();
        return;
    }
    case Qt::Key_Delete:
        DeleteSelected();
        pEvent->accept();
        return;
    default:
        QTableWidget::keyReleaseEvent(pEvent);
    }
}

std::unique_ptr<QMenu> CTaskListView::CreateContextMenu() {
    const int32_t nLanguage = m_settings.Language;
    auto menu = std::make_unique<QMenu>(this);
    const auto add = [&](QMenu& target, int nId) {
        QAction* pAction = target.addAction(ToQString(ListMenuText(nLanguage, nId)));
        pAction->setData(nId);
    };
    add(*menu, kListCmdDelete);
    add(*menu, kListCmdDeleteZeroCopies);
    QMenu* pMerge = menu->addMenu(ToQString(ListMenuText(nLanguage, kMenuMergePopup)));
    add(*pMerge, kListCmdMergeTopBottom);
    add(*pMerge, kListCmdMergeFrontBack);
    for (int nId :
         {kListCmdQueue, kListCmdUnqueue, kListCmdMoveTop, kListCmdMoveUp, kListCmdMoveDown})
        add(*menu, nId);
    return menu;
}

// The menu is offered over an empty list too: "delete items with 0 copies" needs no row.
void CTaskListView::contextMenuEvent(QContextMenuEvent* pEvent) {
    std::unique_ptr<QMenu> menu = CreateContextMenu();
    if (QAction* pChosen = menu->exec(pEvent->globalPos()); pChosen != nullptr)
        RunCommand(pChosen->data().toInt());
    pEvent->accept();
}

} // namespace inkvale
