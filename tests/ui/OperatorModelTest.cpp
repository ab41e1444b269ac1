// SPDX-License-Identifier: GPL-3.0-or-later
// A model-based test of the operator: seeded random sequences of what an operator does at the
// real window (clicks with and without Ctrl and Shift, files dropped into the folders or
// deleted from them, Delete, Copies, Queue, Merge, Split, Undo, Redo, Start, Stop during a
// job, a task file saved and opened again, the plotter going away and coming back, the
// plotter dying mid-job and another one coming up in its place, the program restarted),
// checked after every step against a plain model of the lists: the rows, their copies, what
// is highlighted and which task is current. Start must print exactly the current task, or
// nothing and say why.
//
// INKVALE_MODEL_STEPS and INKVALE_MODEL_SEED run it longer, or with another seed, by hand.
#include "MainWindowFixture.h"

#include "model/TaskPaths.h"
#include "queue/DerivedTasks.h"
#include "ui/PreviewView.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>

namespace inkvale {
namespace {

namespace fs = std::filesystem;
using test::Marker;
using test::WriteWithTime;

/// One row as the model knows it.
struct CModelTask {
    std::string m_strPath;
    int m_nCopies = 1;
    bool m_bSelected = false;
    bool m_bQueued = false;
    /// The drawing's extent in plotter units; a merge or split makes it from its sources.
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    /// A merge or a split piece: the drawing lives in the lists, not in a file.
    bool m_bInMemory = false;
    /// Which task this is: an undo brings a task back as itself, a scan that finds its
    /// file again makes a new one. Not compared with the window.
    int m_nId = 0;
    friend bool operator==(const CModelTask& a, const CModelTask& b) {
        return a.m_strPath == b.m_strPath && a.m_nCopies == b.m_nCopies &&
               a.m_bSelected == b.m_bSelected && a.m_bQueued == b.m_bQueued;
    }
};

/// The lists as they should be, in the rows' order: the opened tasks (merges) in order of
/// making, the manual folder's tasks newest first, then the automatic folder's in order of
/// arrival.
struct CModelLists {
    std::vector<CModelTask> m_opened;
    std::vector<CModelTask> m_manual;
    std::vector<CModelTask> m_auto;
    friend bool operator==(const CModelLists&, const CModelLists&) = default;
};

/// The undo history as the queue keeps it: a snapshot before the first command and whenever
/// the folders or a job changed the lists since the last one, and one after every command;
/// an undo brings back the highlight of just before the command it takes back.
struct CModelHistory {
    std::vector<CModelLists> m_states;
    size_t m_nPos = 0;
    bool m_bDirty = false;
    /// The lists before the command under way, pushed with the command's own snapshot: a
    /// command that changes nothing leaves the history as it was.
    std::optional<CModelLists> m_pending;
    void Push(const CModelLists& lists) {
        if (m_pending)
            Append(*m_pending);
        m_pending.reset();
        Append(lists);
        m_bDirty = false;
    }
    void Append(const CModelLists& lists) {
        m_states.resize(m_states.empty() ? 0 : m_nPos + 1);
        if (m_states.size() >= CUndoHistory::kMaxSnapshots)
            m_states.erase(m_states.begin());
        m_states.push_back(lists);
        m_nPos = m_states.size() - 1;
    }
    /// Before a command: the lists as they are now when the folders or a job changed them,
    /// else the highlight made since the last snapshot, taken into it.
    void Prepare(const CModelLists& lists) {
        m_pending.reset();
        if (m_states.empty() || m_bDirty)
            m_pending = lists;
        else
            KeepHighlight(lists);
    }
    void KeepHighlight(const CModelLists& lists) {
        std::map<int, bool> selected;
        for (const auto* pList : {&lists.m_opened, &lists.m_manual, &lists.m_auto}) {
            for (const CModelTask& t : *pList)
                selected[t.m_nId] = t.m_bSelected;
        }
        CModelLists& top = m_states[m_nPos];
        for (auto* pList : {&top.m_opened, &top.m_manual, &top.m_auto}) {
            for (CModelTask& t : *pList)
                t.m_bSelected = selected.contains(t.m_nId) && selected[t.m_nId];
        }
    }
};

class OperatorModelTest : public test::CMainWindowFixture {
protected:
    /// The plotter of this test can die and be replaced by another one on the same port.
    void SetUp() override {
        test::CMainWindowFixture::SetUp();
        if (HasFatalFailure())
            return;
        m_server.Stop();
        ASSERT_NO_FATAL_FAILURE(NewPlotter());
    }
    void TearDown() override {
        m_pFrame.reset();
        m_pPlotterServer.reset();
        test::CMainWindowFixture::TearDown();
    }
    void NewPlotter() {
        m_pPlotter = std::make_unique<sim::CSimMachine>();
        m_pPlotter->SetTiming(m_timing);
        m_pPlotterServer = std::make_unique<sim::CSimServer>(*m_pPlotter);
        std::string strError;
        ASSERT_TRUE(m_pPlotterServer->Start(m_strAddress, 5291, &strError)) << strError;
    }
    sim::CSimMachine& Plotter() { return *m_pPlotter; }
    /// Jobs the plotters took since the start, the dead ones' included.
    int JobsAccepted() { return m_nDeadAccepted + Plotter().Stats().m_nJobsAccepted; }
    int JobsFinished() { return m_nDeadFinished + Plotter().Stats().m_nJobsFinished; }

    std::vector<CModelTask*> AllRows() {
        std::vector<CModelTask*> rows;
        for (auto* pList : {&m_model.m_opened, &m_model.m_manual, &m_model.m_auto}) {
            for (CModelTask& t : *pList)
                rows.push_back(&t);
        }
        return rows;
    }
    int RowCount() { return static_cast<int>(AllRows().size()); }

    /// What the window shows, in the model's terms.
    CModelLists Shown() {
        CModelLists shown;
        std::set<int> highlighted;
        for (const QModelIndex& index : List().selectionModel()->selectedRows())
            highlighted.insert(index.row());
        const CTaskLists& doc = m_pFrame->Doc();
        int nRow = 0;
        for (const auto& [pList, pTo] : {std::pair{&doc.m_arrOpened, &shown.m_opened},
                                         std::pair{&doc.m_arrManDir, &shown.m_manual},
                                         std::pair{&doc.m_arrAutoDir, &shown.m_auto}}) {
            for (const auto& task : *pList) {
                CModelTask shownTask;
                shownTask.m_strPath = task->m_strPath;
                shownTask.m_nCopies = task->m_nCopies;
                shownTask.m_bSelected = highlighted.contains(nRow++);
                shownTask.m_bQueued = task->m_bQueued != 0;
                pTo->push_back(shownTask);
            }
        }
        return shown;
    }
    static std::string Describe(const CModelLists& lists) {
        std::ostringstream out;
        for (const auto* pList : {&lists.m_opened, &lists.m_manual, &lists.m_auto}) {
            for (const CModelTask& t : *pList)
                out << TaskNameOf(t.m_strPath) << "x" << t.m_nCopies << (t.m_bSelected ? "*" : "")
                    << (t.m_bQueued ? "q" : "") << " ";
            out << "| ";
        }
        return out.str();
    }
    ::testing::AssertionResult MatchesModel() {
        const CModelLists shown = Shown();
        if (shown != m_model)
            return ::testing::AssertionFailure()
                   << "window: " << Describe(shown) << "\nmodel:  " << Describe(m_model);
        const CModelTask* pCurrent = CurrentModelTask();
        const std::string strCurrent = pCurrent != nullptr ? pCurrent->m_strPath : std::string();
        if (CurrentPath() != strCurrent)
            return ::testing::AssertionFailure()
                   << "current " << CurrentPath() << ", model " << strCurrent;
        return ::testing::AssertionSuccess();
    }
    void WaitForTheModel() {
        ASSERT_TRUE(RunUntil([&] { return Shown() == m_model; }))
            << "window: " << Describe(Shown()) << "\nmodel:  " << Describe(m_model);
    }
    /// Whether a task of the list shows this file (itself or a piece of it): a scan then
    /// knows the file.
    static bool Listed(const std::vector<CModelTask>& list, const std::string& strPath) {
        return std::any_of(list.begin(), list.end(), [&](const CModelTask& t) {
            return SourcePathOf(t.m_strPath) == strPath;
        });
    }
    /// Files the folders' scans will list that the model does not have yet: after an undo
    /// took a task away whose file is still there, the next scan brings it back.
    void AddFilesTheScanWillFind() {
        std::vector<std::pair<int64_t, std::string>> missing;
        for (const auto& entry : fs::directory_iterator(m_settings.ManDir)) {
            const std::string strPath = entry.path().string();
            if (!Listed(m_model.m_manual, strPath) && entry.path().extension() == ".plt")
                missing.emplace_back(m_fileTimes.at(strPath), strPath);
        }
        for (const auto& [tTime, strPath] : missing) {
            auto it = std::find_if(m_model.m_manual.begin(), m_model.m_manual.end(),
                                   [&](const CModelTask& t) {
                                       return m_fileTimes.at(SourcePathOf(t.m_strPath)) < tTime;
                                   });
            m_model.m_manual.insert(it, NewTask(strPath));
            m_history.m_bDirty = true;
        }
        // The automatic folder's scan appends what it finds at once in the order of the names.
        std::vector<std::pair<int64_t, std::string>> missingAuto;
        for (const auto& entry : fs::directory_iterator(m_settings.AutoDir)) {
            const std::string strPath = entry.path().string();
            if (!Listed(m_model.m_auto, strPath) && entry.path().extension() == ".plt")
                missingAuto.emplace_back(m_fileTimes.at(strPath), strPath);
        }
        std::sort(missingAuto.begin(), missingAuto.end(),
                  [](const auto& a, const auto& b) { return a.second < b.second; });
        for (const auto& [tTime, strPath] : missingAuto) {
            m_model.m_auto.push_back(NewTask(strPath));
            m_history.m_bDirty = true;
        }
        missing.insert(missing.end(), missingAuto.begin(), missingAuto.end());
        if (!missing.empty()) {
            ASSERT_NO_FATAL_FAILURE(WaitForTheModel());
        }
    }
    CModelTask NewTask(const std::string& strPath) {
        CModelTask task;
        task.m_strPath = strPath;
        task.m_nWidth = m_fileWidths.at(strPath);
        task.m_nHeight = kMarkerHeight;
        task.m_nId = ++m_nLastId;
        return task;
    }
    CModelTask* CurrentModelTask() {
        for (CModelTask* p : AllRows()) {
            if (p->m_nId == m_nCurrent)
                return p;
        }
        return nullptr;
    }
    /// A task prints when its drawing is in the lists or its file is there to be read.
    static bool Printable(const CModelTask& task) {
        return task.m_bInMemory || fs::exists(task.m_strPath);
    }
    bool InAutoList(const CModelTask* pTask) {
        return std::any_of(m_model.m_auto.begin(), m_model.m_auto.end(),
                           [&](const CModelTask& t) { return &t == pTask; });
    }
    bool Quiet() {
        if (!m_bMachineUp)
            return true;
        const CCommandBarState state = m_pFrame->Engine().CommandBarState();
        if (state.m_bJobRunning || state.m_nMachineState != kStateReady ||
            m_pFrame->Engine().HasUnfinishedJobs())
            return false;
        for (int r = 0; r < TaskCount(m_pFrame->Doc()); ++r) {
            const COnePage* p = TaskAt(m_pFrame->Doc(), r);
            if (p->m_nPrintState != PS_WAITING || p->m_bQueued != 0)
                return false;
        }
        return true;
    }

    // The operator's steps; each changes the model as the program should change the lists.

    void Click(std::mt19937& rng) {
        const int nRow = static_cast<int>(rng() % static_cast<unsigned>(RowCount()));
        ClickRow(nRow);
        for (CModelTask* p : AllRows())
            p->m_bSelected = false;
        AllRows()[static_cast<size_t>(nRow)]->m_bSelected = true;
        m_nCurrent = AllRows()[static_cast<size_t>(nRow)]->m_nId;
    }
    void CtrlClick(std::mt19937& rng) {
        const int nRow = static_cast<int>(rng() % static_cast<unsigned>(RowCount()));
        ClickRow(nRow, Qt::ControlModifier);
        CModelTask& task = *AllRows()[static_cast<size_t>(nRow)];
        task.m_bSelected = !task.m_bSelected;
        if (task.m_bSelected)
            m_nCurrent = task.m_nId;
    }
    /// Qt decides the range from its anchor; the model takes the highlight it shows and
    /// checks that the click made the row current.
    void ShiftClick(std::mt19937& rng) {
        const int nRow = static_cast<int>(rng() % static_cast<unsigned>(RowCount()));
        ClickRow(nRow, Qt::ShiftModifier);
        std::set<int> highlighted;
        for (const QModelIndex& index : List().selectionModel()->selectedRows())
            highlighted.insert(index.row());
        const std::vector<CModelTask*> rows = AllRows();
        for (size_t r = 0; r < rows.size(); ++r)
            rows[r]->m_bSelected = highlighted.contains(static_cast<int>(r));
        if (rows[static_cast<size_t>(nRow)]->m_bSelected)
            m_nCurrent = rows[static_cast<size_t>(nRow)]->m_nId;
    }
    std::string NewFile(const std::string& strFolder, const char* pszPrefix) {
        const std::string strPath = strFolder + pszPrefix + std::to_string(m_nFiles++) + ".plt";
        m_fileTimes[strPath] = m_tNext;
        m_fileWidths[strPath] = 4000 + 40 * m_nFiles;
        EXPECT_TRUE(WriteWithTime(strPath, Marker(m_fileWidths[strPath]), m_tNext++));
        return strPath;
    }
    void DropManual() {
        m_model.m_manual.insert(m_model.m_manual.begin(), NewTask(NewFile(m_settings.ManDir, "d")));
        m_history.m_bDirty = true;
        ASSERT_NO_FATAL_FAILURE(WaitForTheModel());
    }
    void DropAuto() {
        m_model.m_auto.push_back(NewTask(NewFile(m_settings.AutoDir, "a")));
        m_history.m_bDirty = true;
        ASSERT_NO_FATAL_FAILURE(WaitForTheModel());
    }
    /// A file taken from the manual folder behind the program's back: its task stays, and
    /// cannot print.
    void DeleteFileOnDisk(std::mt19937& rng) {
        if (m_model.m_manual.empty())
            return;
        const CModelTask& task =
            m_model.m_manual[rng() % static_cast<unsigned>(m_model.m_manual.size())];
        if (task.m_bInMemory || m_everQueued.contains(task.m_strPath))
            return; // a queued task that cannot be read would hold the queue back
        fs::remove(task.m_strPath);
    }
    /// The snapshot is taken before the first row becomes current.
    void DeleteCommand() {
        m_history.Prepare(m_model);
        for (auto* pList : {&m_model.m_opened, &m_model.m_manual, &m_model.m_auto})
            std::erase_if(*pList, [](const CModelTask& t) { return t.m_bSelected; });
        m_history.Push(m_model);
        if (CurrentModelTask() == nullptr)
            SelectOnlyFirstRow();
        ASSERT_TRUE(m_pFrame->RunCommand(kCmdDeleteTasks));
    }
    void SelectOnlyFirstRow() {
        const std::vector<CModelTask*> rows = AllRows();
        for (CModelTask* p : rows)
            p->m_bSelected = false;
        m_nCurrent = rows.empty() ? 0 : rows.front()->m_nId;
        if (!rows.empty())
            rows.front()->m_bSelected = true;
    }
    void Copies(bool bUp) {
        m_history.Prepare(m_model);
        for (CModelTask* p : AllRows()) {
            if (p->m_bSelected)
                p->m_nCopies = bUp ? p->m_nCopies + 1 : std::max(p->m_nCopies, 2) - 1;
        }
        m_history.Push(m_model);
        ASSERT_TRUE(m_pFrame->RunCommand(bUp ? kCmdCopiesUp : kCmdCopiesDown));
    }
    /// Queued manual and opened tasks print all their copies, one after the other, by
    /// themselves.
    void Queue() {
        for (const auto* pList : {&m_model.m_opened, &m_model.m_manual}) {
            for (const CModelTask& t : *pList) {
                if (t.m_bSelected && !Printable(t))
                    return; // an unreadable queued task would hold back the others
            }
        }
        if (!m_bMachineUp)
            return;
        m_history.Prepare(m_model);
        std::vector<int> queued;
        for (auto* pList : {&m_model.m_opened, &m_model.m_manual}) {
            for (CModelTask& t : *pList) {
                if (t.m_bSelected) {
                    queued.push_back(t.m_nId);
                    m_everQueued.insert(t.m_strPath);
                }
            }
        }
        m_history.Push([&] {
            CModelLists marked = m_model;
            for (auto* pList : {&marked.m_opened, &marked.m_manual}) {
                for (CModelTask& t : *pList)
                    t.m_bQueued = t.m_bQueued || t.m_bSelected;
            }
            return marked;
        }());
        ASSERT_TRUE(RunUntil([&] { return Quiet(); }));
        const int nJobsBefore = JobsAccepted();
        List().RunCommand(kListCmdQueue);
        ASSERT_TRUE(RunUntil([&] { return Quiet(); })) << Describe(Shown());
        for (auto* pList : {&m_model.m_opened, &m_model.m_manual}) {
            for (CModelTask& t : *pList) {
                if (std::find(queued.begin(), queued.end(), t.m_nId) != queued.end())
                    t.m_nCopies = 0;
            }
        }
        // A job's end is a change the next command's undo step starts from.
        m_history.m_bDirty = m_history.m_bDirty || JobsAccepted() > nJobsBefore;
    }
    void Undo(bool bUndo) {
        CModelHistory& h = m_history;
        const bool bCan = bUndo ? h.m_states.size() >= 2 && h.m_nPos >= 1
                                : h.m_states.size() >= 2 && h.m_nPos + 1 < h.m_states.size();
        EXPECT_EQ(m_pFrame->Action(bUndo ? kCmdUndo : kCmdRedo)->isEnabled(), bCan);
        ASSERT_TRUE(m_pFrame->RunCommand(bUndo ? kCmdUndo : kCmdRedo));
        if (!bCan)
            return;
        h.m_nPos = bUndo ? h.m_nPos - 1 : h.m_nPos + 1;
        m_model = h.m_states[h.m_nPos];
        // Tasks that came back queued print at once, whatever the scans bring meanwhile.
        PrintQueued();
        AddFilesTheScanWillFind();
    }
    /// Tasks that came back queued print their copies as soon as the plotter is there.
    void PrintQueued() {
        const auto queued = [](const CModelTask& t) { return t.m_bQueued; };
        const bool bQueued =
            std::any_of(m_model.m_manual.begin(), m_model.m_manual.end(), queued) ||
            std::any_of(m_model.m_opened.begin(), m_model.m_opened.end(), queued);
        if (!bQueued || !m_bMachineUp)
            return;
        const int nJobsBefore = JobsAccepted();
        ASSERT_TRUE(RunUntil([&] { return Quiet(); })) << Describe(Shown());
        for (auto* pList : {&m_model.m_opened, &m_model.m_manual}) {
            for (CModelTask& t : *pList) {
                if (t.m_bQueued) {
                    t.m_nCopies = 0;
                    t.m_bQueued = false;
                }
            }
        }
        m_history.m_bDirty = m_history.m_bDirty || JobsAccepted() > nJobsBefore;
    }
    /// Start, and whether it should print: the plotter may have been between two states
    /// when Start ran; it then says so, and the operator presses Start again.
    bool PressStart() {
        EXPECT_TRUE(RunUntil([&] { return Quiet(); }));
        const int nJobsBefore = JobsAccepted();
        m_prompts.m_arrShown.clear();
        EXPECT_TRUE(m_pFrame->RunCommand(kBtnStart));
        CModelTask* pCurrent = CurrentModelTask();
        if (pCurrent == nullptr || !Printable(*pCurrent)) {
            // Start runs once the click is over; it says why nothing prints.
            EXPECT_TRUE(
                RunUntil([&] { return !m_prompts.m_arrShown.empty(); }, std::chrono::seconds(10)))
                << "Start said nothing";
            EXPECT_EQ(JobsAccepted(), nJobsBefore);
            return false;
        }
        if (!RunUntil([&] { return JobsAccepted() > nJobsBefore; }, std::chrono::seconds(10)) &&
            !m_prompts.m_arrShown.empty()) {
            EXPECT_TRUE(RunUntil([&] { return Quiet(); }));
            m_prompts.m_arrShown.clear();
            EXPECT_TRUE(m_pFrame->RunCommand(kBtnStart));
        }
        EXPECT_TRUE(RunUntil([&] { return JobsAccepted() > nJobsBefore; }))
            << "Start printed nothing; shown: "
            << (m_prompts.m_arrShown.empty() ? std::string("nothing") : m_prompts.m_arrShown.back())
            << "; " << EngineSays();
        return true;
    }
    /// What the engine and the plotter say, for the report of a failure.
    std::string EngineSays() {
        const CCommandBarState state = m_pFrame->Engine().CommandBarState();
        const COnePage* pTask = TaskById(m_pFrame->Doc(), m_pFrame->Queue().CurrentTaskId());
        std::ostringstream out;
        out << "machine state " << state.m_nMachineState << ", online " << state.m_bMachineOnline
            << ", job running " << state.m_bJobRunning << ", unfinished jobs "
            << m_pFrame->Engine().UnfinishedJobs().size() << ", current task state "
            << (pTask != nullptr ? pTask->m_nPrintState : -1) << ", plotter connections "
            << Plotter().Stats().m_nConnections << ", choices offered "
            << m_prompts.m_arrChoices.size();
        return out.str();
    }
    /// The current task printed nJobs copies: an automatic task leaves its list with its
    /// last copy.
    void CopiesPrinted(int nJobs) {
        CModelTask* pCurrent = CurrentModelTask();
        if (nJobs == 0 || pCurrent == nullptr)
            return;
        if (InAutoList(pCurrent) && pCurrent->m_nCopies <= nJobs)
            std::erase_if(m_model.m_auto, [&](const CModelTask& t) { return &t == pCurrent; });
        else
            pCurrent->m_nCopies = std::max(pCurrent->m_nCopies - nJobs, 0);
        m_history.m_bDirty = true;
    }
    void Start() {
        if (!m_bMachineUp)
            return;
        const int nJobsBefore = JobsAccepted();
        const bool bPrints = PressStart();
        ASSERT_FALSE(HasFailure());
        if (!bPrints)
            return;
        ASSERT_TRUE(RunUntil([&] { return Quiet(); })) << Describe(Shown());
        // Start prints the copies of the current task, and only those.
        CModelTask* pCurrent = CurrentModelTask();
        // An automatic task prints one copy per start while automatic printing is off.
        const int nCopies = InAutoList(pCurrent) ? 1 : std::max(pCurrent->m_nCopies, 1);
        EXPECT_EQ(JobsAccepted() - nJobsBefore, nCopies);
        CopiesPrinted(nCopies);
    }
    /// Start with slow bands, and the job ends halfway: the operator stops it, or the
    /// plotter dies and another one comes up on its port. The copies printed before count;
    /// the one cut off does not, and its unfinished job is discarded when offered.
    void InterruptedJob(std::mt19937& rng, bool bKill) {
        if (!m_bMachineUp)
            return;
        const int nFinishedBefore = JobsFinished();
        int nFinishedAtCut = -1;
        m_strInterrupted = "not interrupted";
        sim::CSimTiming slow = m_timing;
        slow.m_nBandPrintMs = 150;
        Plotter().SetTiming(slow);
        const bool bPrints = PressStart();
        ASSERT_FALSE(HasFailure());
        if (bPrints) {
            // Into some copy of the series, with two bands or more still to come: the last
            // bands' confirmation may come before the machine has printed them, so a Stop
            // there is a matter of luck, for the program as for the operator.
            const int nInto = static_cast<int>(rng() % 2);
            RunUntil([&] { return JobsFinished() - nFinishedBefore >= nInto; },
                     std::chrono::seconds(20));
            const CEngineState& state = m_pFrame->Engine().State();
            if (RunUntil(
                    [&] {
                        return m_pFrame->Engine().JobRunning() &&
                               state.m_nBandsDone.load() + 1 < state.m_nBandCount.load();
                    },
                    std::chrono::seconds(5))) {
                ++(bKill ? m_nKills : m_nStops);
                const COnePage* pTask =
                    TaskById(m_pFrame->Doc(), m_pFrame->Queue().CurrentTaskId());
                m_strInterrupted = "interrupted after " +
                                   std::to_string(JobsFinished() - nFinishedBefore) +
                                   " copies, the task showing " +
                                   std::to_string(pTask != nullptr ? pTask->m_nCopies : -1) +
                                   " copies, band " + std::to_string(state.m_nBandsDone.load()) +
                                   " of " + std::to_string(state.m_nBandCount.load());
                nFinishedAtCut = JobsFinished();
                if (bKill) {
                    ASSERT_NO_FATAL_FAILURE(KillPlotter());
                } else {
                    ASSERT_TRUE(m_pFrame->RunCommand(kBtnStop));
                }
            }
        }
        Plotter().SetTiming(m_timing);
        m_prompts.m_nChoice = 2; // discard
        ASSERT_TRUE(RunUntil([&] { return Quiet(); })) << Describe(Shown());
        m_prompts.m_nChoice = -1;
        // A task with no copies left that is started again owes one copy.
        CModelTask* pCurrent = CurrentModelTask();
        if (bPrints && !InAutoList(pCurrent) && pCurrent->m_nCopies == 0)
            pCurrent->m_nCopies = 1;
        if (bPrints)
            CopiesPrinted(JobsFinished() - nFinishedBefore);
        if (nFinishedAtCut >= 0 && JobsFinished() > nFinishedAtCut && !bKill) {
            // The plotter was further on than the program knew and finished the copy it
            // was told to stop: whether that copy counts is the program's careful call (it
            // does not), not the model's.
            if (const COnePage* pTask =
                    TaskById(m_pFrame->Doc(), m_pFrame->Queue().CurrentTaskId()))
                CurrentModelTask()->m_nCopies = pTask->m_nCopies;
        }
        m_strInterrupted +=
            "; " + std::to_string(JobsFinished() - nFinishedBefore) + " copies finished in all";
    }
    void KillPlotter() {
        m_pPlotterServer->Stop();
        m_nDeadAccepted += Plotter().Stats().m_nJobsAccepted;
        m_nDeadFinished += Plotter().Stats().m_nJobsFinished;
        m_pPlotterServer.reset();
        m_pPlotter.reset();
        ASSERT_NO_FATAL_FAILURE(NewPlotter());
    }
    void PlotterAwayOrBack() {
        if (m_bMachineUp) {
            m_pPlotterServer->Stop();
            m_bMachineUp = false;
            return;
        }
        std::string strError;
        ASSERT_TRUE(m_pPlotterServer->Start(m_strAddress, 5291, &strError)) << strError;
        m_bMachineUp = true;
        PrintQueued();
    }
    /// The lists' drawings laid one after the other (front to back) or side by side.
    void Merge(std::mt19937& rng) {
        const std::vector<CModelTask*> rows = AllRows();
        int nSelected = 0;
        for (const CModelTask* p : rows) {
            if (p->m_bSelected && !Printable(*p))
                return; // a drawing that cannot be read cannot be merged
            nSelected += p->m_bSelected ? 1 : 0;
        }
        const bool bFrontBack = rng() % 2 == 0;
        List().RunCommand(bFrontBack ? kListCmdMergeFrontBack : kListCmdMergeTopBottom);
        if (nSelected == 0)
            return;
        CModelTask merged;
        merged.m_strPath = "Combination";
        merged.m_bInMemory = true;
        merged.m_nId = ++m_nLastId;
        for (const CModelTask* p : rows) {
            if (!p->m_bSelected)
                continue;
            merged.m_nWidth =
                bFrontBack ? merged.m_nWidth + p->m_nWidth : std::max(merged.m_nWidth, p->m_nWidth);
            merged.m_nHeight = bFrontBack ? std::max(merged.m_nHeight, p->m_nHeight)
                                          : merged.m_nHeight + p->m_nHeight;
        }
        m_history.Prepare(m_model);
        for (auto* pList : {&m_model.m_opened, &m_model.m_manual, &m_model.m_auto})
            std::erase_if(*pList, [](const CModelTask& t) { return t.m_bSelected; });
        m_model.m_opened.push_back(merged);
        m_history.Push(m_model);
        SelectOnlyFirstRow();
        // The merge holds every drawing it was made of.
        const COnePage& made = *m_pFrame->Doc().m_arrOpened.back();
        EXPECT_EQ(made.m_nMaxX - made.m_nMinX, merged.m_nWidth) << "merged width";
        EXPECT_EQ(made.m_nMaxY - made.m_nMinY, merged.m_nHeight) << "merged height";
    }
    /// The preview's split of the current task along the paper feed, with a length the
    /// operator types into its prompt.
    void Split(std::mt19937& rng) {
        CModelTask* pCurrent = CurrentModelTask();
        if (pCurrent == nullptr || !Printable(*pCurrent))
            return;
        const int32_t nMm = 100 + 10 * static_cast<int32_t>(rng() % 6);
        const int32_t nLength = nMm * 40;
        const int32_t nWidth = pCurrent->m_nWidth;
        if (nLength <= nWidth - 40 && nWidth % nLength == 0)
            return; // where the last cut falls on the drawing's edge is not the model's business
        m_history.Prepare(m_model);
        const std::vector<std::string> shown = AnswerPromptsDuring(
            [&] { ASSERT_TRUE(m_pFrame->RunCommand(CPreviewView::kCmdSplitFeed)); }, nMm);
        if (nLength > nWidth - 40) {
            EXPECT_EQ(shown.size(), 1u) << "a split that cannot be made says why";
            return;
        }
        EXPECT_TRUE(shown.empty()) << shown.front();
        const int nPieces = nWidth / nLength + 1;
        std::vector<CModelTask> pieces;
        for (int k = 1; k <= nPieces; ++k) {
            CModelTask piece = *pCurrent;
            piece.m_strPath = pCurrent->m_strPath + PieceSuffix(k, nPieces);
            piece.m_nWidth = k < nPieces ? nLength : nWidth % nLength;
            piece.m_bInMemory = true;
            if (k < nPieces) {
                // The remainder is the task itself, with its highlight; the pieces before
                // it are new tasks.
                piece.m_nId = ++m_nLastId;
                piece.m_bSelected = false;
            }
            pieces.push_back(piece);
        }
        for (auto* pList : {&m_model.m_opened, &m_model.m_manual, &m_model.m_auto}) {
            auto it = std::find_if(pList->begin(), pList->end(),
                                   [&](const CModelTask& t) { return t.m_nId == m_nCurrent; });
            if (it == pList->end())
                continue;
            it = pList->erase(it);
            pList->insert(it, pieces.begin(), pieces.end());
            break;
        }
        m_history.Push(m_model);
    }
    /// Runs the command while answering the number prompt with dValue and acknowledging
    /// message boxes; the boxes' texts.
    std::vector<std::string> AnswerPromptsDuring(const std::function<void()>& fnCommand,
                                                 double dValue) {
        std::vector<std::string> shown;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            QWidget* pModal = QApplication::activeModalWidget();
            if (auto* pInput = qobject_cast<QInputDialog*>(pModal)) {
                pInput->setDoubleValue(dValue);
                pInput->accept();
            } else if (auto* pBox = qobject_cast<QMessageBox*>(pModal)) {
                shown.push_back(pBox->text().toStdString());
                pBox->accept();
            }
        });
        timer.start(10);
        fnCommand();
        return shown;
    }
    /// Ctrl+O: the lists saved earlier come back in place of the present ones, each task
    /// with one copy; the scans then add the folders' files that the saved lists lacked.
    void OpenTaskFile(std::mt19937& rng) {
        const std::string strFile = m_home.File("lists.sptask");
        if (!m_saved || rng() % 2 == 0) {
            m_prompts.m_strSaveAs = strFile;
            ASSERT_TRUE(m_pFrame->RunCommand(kCmdSaveTaskFile));
            m_saved = m_model;
        }
        m_history.Prepare(m_model);
        m_prompts.m_arrOpen = {strFile};
        m_prompts.m_arrShown.clear();
        ASSERT_TRUE(m_pFrame->RunCommand(kCmdOpenTaskFile));
        m_prompts.m_arrOpen.clear();
        EXPECT_TRUE(m_prompts.m_arrShown.empty()) << m_prompts.m_arrShown.front();
        m_model = *m_saved;
        for (CModelTask* p : AllRows()) {
            p->m_nCopies = 1;
            p->m_bQueued = false;
            p->m_bSelected = false;
            p->m_nId = ++m_nLastId;
        }
        m_history.Push(m_model);
        AddFilesTheScanWillFind();
    }
    /// The program ends and starts again: the lists come back with their copies, the
    /// selection and the undo history do not.
    void Restart() {
        ASSERT_TRUE(RunUntil([&] { return Quiet(); }));
        OpenWindow();
        for (CModelTask* p : AllRows())
            p->m_bSelected = false;
        m_nCurrent = 0;
        m_history = {};
        ASSERT_NO_FATAL_FAILURE(WaitForTheModel());
    }

    void Step(std::mt19937& rng, std::string& strStep) {
        const unsigned nDice = rng() % 100;
        const bool bRows = RowCount() > 0;
        if (nDice < 6 || !bRows) {
            strStep = "drop into the manual folder";
            DropManual();
        } else if (nDice < 8) {
            strStep = "drop into the automatic folder";
            DropAuto();
        } else if (nDice < 26) {
            strStep = "click";
            Click(rng);
        } else if (nDice < 34) {
            strStep = "ctrl-click";
            CtrlClick(rng);
        } else if (nDice < 38) {
            strStep = "shift-click";
            ShiftClick(rng);
        } else if (nDice < 42) {
            strStep = "delete";
            DeleteCommand();
        } else if (nDice < 50) {
            strStep = "copies";
            Copies(nDice % 2 == 0);
        } else if (nDice < 53) {
            strStep = "queue";
            Queue();
        } else if (nDice < 56) {
            strStep = "merge";
            Merge(rng);
        } else if (nDice < 59) {
            strStep = "split";
            Split(rng);
        } else if (nDice < 67) {
            strStep = "undo";
            Undo(true);
        } else if (nDice < 72) {
            strStep = "redo";
            Undo(false);
        } else if (nDice < 80) {
            strStep = "start";
            Start();
        } else if (nDice < 82) {
            strStep = "stop during a job";
            InterruptedJob(rng, false);
        } else if (nDice < 83) {
            strStep = "plotter dies mid-job";
            InterruptedJob(rng, true);
        } else if (nDice < 85) {
            strStep = "open a task file";
            OpenTaskFile(rng);
        } else if (nDice < 88) {
            strStep = "delete a file on disk";
            DeleteFileOnDisk(rng);
        } else if (nDice < 91) {
            strStep = "plotter away or back";
            PlotterAwayOrBack();
        } else if (nDice < 93) {
            strStep = "restart";
            Restart();
        } else {
            strStep = "wait";
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
    }

    static constexpr int32_t kMarkerHeight = 4000;
    sim::CSimTiming m_timing;
    std::unique_ptr<sim::CSimMachine> m_pPlotter;
    std::unique_ptr<sim::CSimServer> m_pPlotterServer;
    int m_nDeadAccepted = 0;
    std::string m_strInterrupted; ///< where the last job was stopped or killed, for a failure
    int m_nStops = 0;             ///< Stops pressed mid-job
    int m_nKills = 0;             ///< plotters killed mid-job
    int m_nDeadFinished = 0;
    CModelLists m_model;
    CModelHistory m_history;
    std::optional<CModelLists> m_saved; ///< the lists of the task file saved last
    int m_nCurrent = 0;                 ///< model id of the current task, 0 for none
    int m_nLastId = 0;
    std::map<std::string, int64_t> m_fileTimes;
    std::map<std::string, int32_t> m_fileWidths;
    std::set<std::string> m_everQueued;
    int m_nFiles = 0;
    bool m_bMachineUp = true;
};

int EnvInt(const char* pszName, int nDefault) {
    const char* psz = std::getenv(pszName);
    return psz != nullptr && *psz != '\0' ? std::atoi(psz) : nDefault;
}

TEST_F(OperatorModelTest, RandomOperatorAgreesWithThePlainModel) {
    const int nSteps = EnvInt("INKVALE_MODEL_STEPS", 120);
    const auto nSeed = static_cast<uint32_t>(EnvInt("INKVALE_MODEL_SEED", 20261211));
    std::mt19937 rng(nSeed);
    m_timing.m_nBandPrintMs = 5;
    Plotter().SetTiming(m_timing);
    std::string strStep;
    std::string strSteps; // the way here, for the report of a failure
    for (int i = 0; i < nSteps; ++i) {
        Step(rng, strStep);
        strSteps += std::to_string(i) + " " + strStep + ": " + Describe(m_model) + "\n";
        ASSERT_FALSE(HasFailure()) << "seed " << nSeed << ", step " << i << ": " << strStep << "\n"
                                   << strSteps;
        // Rows and highlight are checked once the window has taken the step in.
        QCoreApplication::processEvents();
        ASSERT_TRUE(MatchesModel())
            << m_strInterrupted << "\nseed " << nSeed << ", step " << i << ": " << strStep << "\n"
            << strSteps;
    }
    std::printf("%d steps, seed %u: %d Stops and %d plotters killed mid-job\n", nSteps, nSeed,
                m_nStops, m_nKills);
}

} // namespace
} // namespace inkvale
