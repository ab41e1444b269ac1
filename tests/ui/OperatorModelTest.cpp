// SPDX-License-Identifier: GPL-3.0-or-later
// A model-based test of the operator: seeded random sequences of what an operator does at the
// real window (clicks with and without Ctrl and Shift, files dropped into the folders or
// deleted from them, Delete, Copies, Queue, Undo, Redo, Start, the plotter going away and
// coming back, the program restarted), checked after every step against a plain model of the
// lists: the rows, their copies, what is highlighted and which task is current. Start must
// print exactly the current task, or nothing.
//
// INKVALE_MODEL_STEPS and INKVALE_MODEL_SEED run it longer, or with another seed, by hand.
#include "MainWindowFixture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
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
    /// Which task this is: an undo brings a task back as itself, a scan that finds its
    /// file again makes a new one. Not compared with the window.
    int m_nId = 0;
    friend bool operator==(const CModelTask& a, const CModelTask& b) {
        return a.m_strPath == b.m_strPath && a.m_nCopies == b.m_nCopies &&
               a.m_bSelected == b.m_bSelected && a.m_bQueued == b.m_bQueued;
    }
};

/// The lists as they should be: the manual folder's tasks newest first, then the automatic
/// folder's in order of arrival (no task is opened by hand here).
struct CModelLists {
    std::vector<CModelTask> m_manual;
    std::vector<CModelTask> m_auto;
    friend bool operator==(const CModelLists&, const CModelLists&) = default;
};

/// The undo history as the queue keeps it: a snapshot before the first command and whenever
/// the folders or a job changed the lists since the last one, and one after every command.
struct CModelHistory {
    std::vector<CModelLists> m_states;
    size_t m_nPos = 0;
    bool m_bDirty = false;
    void Push(const CModelLists& lists) {
        m_states.resize(m_states.empty() ? 0 : m_nPos + 1);
        if (m_states.size() >= CUndoHistory::kMaxSnapshots)
            m_states.erase(m_states.begin());
        m_states.push_back(lists);
        m_nPos = m_states.size() - 1;
    }
    void Prepare(const CModelLists& lists) {
        if (m_states.empty() || m_bDirty)
            Push(lists);
        m_bDirty = false;
    }
};

class OperatorModelTest : public test::CMainWindowFixture {
protected:
    std::vector<CModelTask*> AllRows() {
        std::vector<CModelTask*> rows;
        for (CModelTask& t : m_model.m_manual)
            rows.push_back(&t);
        for (CModelTask& t : m_model.m_auto)
            rows.push_back(&t);
        return rows;
    }
    int RowCount() { return static_cast<int>(AllRows().size()); }

    /// What the window shows, in the model's terms.
    CModelLists Shown() {
        CModelLists shown;
        const std::set<std::string> highlighted = HighlightedPaths();
        const CTaskLists& doc = m_pFrame->Doc();
        for (const auto& [pList, pTo] : {std::pair{&doc.m_arrManDir, &shown.m_manual},
                                         std::pair{&doc.m_arrAutoDir, &shown.m_auto}}) {
            for (const auto& task : *pList)
                pTo->push_back({task->m_strPath, task->m_nCopies,
                                highlighted.contains(task->m_strPath), task->m_bQueued != 0});
        }
        return shown;
    }
    static std::string Describe(const CModelLists& lists) {
        std::ostringstream out;
        for (const auto* pList : {&lists.m_manual, &lists.m_auto}) {
            for (const CModelTask& t : *pList)
                out << fs::path(t.m_strPath).filename().string() << "x" << t.m_nCopies
                    << (t.m_bSelected ? "*" : "") << (t.m_bQueued ? "q" : "") << " ";
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
    /// Files the folders' scans will list that the model does not have yet: after an undo
    /// took a task away whose file is still there, the next scan brings it back.
    void AddFilesTheScanWillFind() {
        std::vector<std::pair<int64_t, std::string>> missing;
        for (const auto& entry : fs::directory_iterator(m_settings.ManDir)) {
            const std::string strPath = entry.path().string();
            const bool bListed =
                std::any_of(m_model.m_manual.begin(), m_model.m_manual.end(),
                            [&](const CModelTask& t) { return t.m_strPath == strPath; });
            if (!bListed && entry.path().extension() == ".plt")
                missing.emplace_back(m_fileTimes.at(strPath), strPath);
        }
        for (const auto& [tTime, strPath] : missing) {
            auto it = std::find_if(m_model.m_manual.begin(), m_model.m_manual.end(),
                                   [&](const CModelTask& t) {
                                       return m_fileTimes.at(t.m_strPath) < tTime;
                                   });
            m_model.m_manual.insert(it, NewTask(strPath));
            m_history.m_bDirty = true;
        }
        // The automatic folder's scan appends what it finds, oldest first.
        std::vector<std::pair<int64_t, std::string>> missingAuto;
        for (const auto& entry : fs::directory_iterator(m_settings.AutoDir)) {
            const std::string strPath = entry.path().string();
            const bool bListed =
                std::any_of(m_model.m_auto.begin(), m_model.m_auto.end(),
                            [&](const CModelTask& t) { return t.m_strPath == strPath; });
            if (!bListed && entry.path().extension() == ".plt")
                missingAuto.emplace_back(m_fileTimes.at(strPath), strPath);
        }
        std::sort(missingAuto.begin(), missingAuto.end());
        for (const auto& [tTime, strPath] : missingAuto) {
            m_model.m_auto.push_back(NewTask(strPath));
            m_history.m_bDirty = true;
        }
        missing.insert(missing.end(), missingAuto.begin(), missingAuto.end());
        if (!missing.empty()) {
            ASSERT_TRUE(RunUntil([&] { return Shown() == m_model; }))
                << "window: " << Describe(Shown()) << "\nmodel:  " << Describe(m_model);
        }
    }
    CModelTask NewTask(const std::string& strPath) {
        CModelTask task;
        task.m_strPath = strPath;
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
    bool FileOnDisk(const std::string& strPath) { return fs::exists(strPath); }
    bool Quiet() {
        if (!m_bMachineUp)
            return true;
        const CCommandBarState state = m_pFrame->Engine().CommandBarState();
        if (state.m_bJobRunning || state.m_nMachineState != kStateReady)
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
        const std::set<std::string> highlighted = HighlightedPaths();
        for (CModelTask* p : AllRows())
            p->m_bSelected = highlighted.contains(p->m_strPath);
        if (AllRows()[static_cast<size_t>(nRow)]->m_bSelected)
            m_nCurrent = AllRows()[static_cast<size_t>(nRow)]->m_nId;
    }
    void DropManual() {
        const std::string strPath = m_settings.ManDir + "d" + std::to_string(m_nFiles++) + ".plt";
        m_fileTimes[strPath] = m_tNext;
        ASSERT_TRUE(WriteWithTime(strPath, Marker(4000 + 40 * m_nFiles), m_tNext++));
        m_model.m_manual.insert(m_model.m_manual.begin(), NewTask(strPath));
        m_history.m_bDirty = true;
        ASSERT_TRUE(RunUntil([&] { return Shown() == m_model; }))
            << "window: " << Describe(Shown()) << "\nmodel:  " << Describe(m_model);
    }
    void DropAuto() {
        const std::string strPath = m_settings.AutoDir + "a" + std::to_string(m_nFiles++) + ".plt";
        m_fileTimes[strPath] = m_tNext;
        ASSERT_TRUE(WriteWithTime(strPath, Marker(4000 + 40 * m_nFiles), m_tNext++));
        m_model.m_auto.push_back(NewTask(strPath));
        m_history.m_bDirty = true;
        ASSERT_TRUE(RunUntil([&] { return Shown() == m_model; }))
            << "window: " << Describe(Shown()) << "\nmodel:  " << Describe(m_model);
    }
    /// A file taken from the manual folder behind the program's back: its task stays, and
    /// cannot print.
    void DeleteFileOnDisk(std::mt19937& rng) {
        if (m_model.m_manual.empty())
            return;
        const CModelTask& task =
            m_model.m_manual[rng() % static_cast<unsigned>(m_model.m_manual.size())];
        if (m_everQueued.contains(task.m_strPath))
            return; // a queued task that cannot be read would hold the queue back
        fs::remove(task.m_strPath);
        m_deletedOnDisk.insert(task.m_strPath);
    }
    /// The snapshot is taken before the first row becomes current.
    void DeleteCommand() {
        m_history.Prepare(m_model);
        for (auto* pList : {&m_model.m_manual, &m_model.m_auto})
            std::erase_if(*pList, [](const CModelTask& t) { return t.m_bSelected; });
        m_history.Push(m_model);
        if (CurrentModelTask() == nullptr) {
            const std::vector<CModelTask*> rows = AllRows();
            m_nCurrent = rows.empty() ? 0 : rows.front()->m_nId;
            if (!rows.empty())
                rows.front()->m_bSelected = true;
        }
        ASSERT_TRUE(m_pFrame->RunCommand(kCmdDeleteTasks));
    }
    void Copies(bool bUp) {
        m_history.Prepare(m_model);
        for (CModelTask* p : AllRows()) {
            if (p->m_bSelected)
                p->m_nCopies = bUp ? p->m_nCopies + 1 : std::max(p->m_nCopies, 2) - 1;
        }
        m_history.Push(m_model);
        ASSERT_TRUE(m_pFrame->RunCommand(bUp ? kCmdCopiesUp
                                             : kCmdCopiesDown));
    }
    /// Queued manual tasks print all their copies, one after the other, by themselves.
    void Queue() {
        for (const CModelTask& t : m_model.m_manual) {
            if (t.m_bSelected && m_deletedOnDisk.contains(t.m_strPath))
                return; // an unreadable queued task would hold back the others
        }
        if (!m_bMachineUp)
            return;
        m_history.Prepare(m_model);
        std::vector<std::string> queued;
        for (CModelTask& t : m_model.m_manual) {
            if (t.m_bSelected) {
                queued.push_back(t.m_strPath);
                m_everQueued.insert(t.m_strPath);
            }
        }
        m_history.Push([&] {
            CModelLists marked = m_model;
            for (CModelTask& t : marked.m_manual)
                t.m_bQueued = t.m_bQueued || t.m_bSelected;
            return marked;
        }());
        ASSERT_TRUE(RunUntil([&] { return Quiet(); }));
        const int nJobsBefore = m_machine.Stats().m_nJobsAccepted;
        List().RunCommand(kListCmdQueue);
        ASSERT_TRUE(RunUntil([&] { return Quiet(); })) << Describe(Shown());
        for (CModelTask& t : m_model.m_manual) {
            if (std::find(queued.begin(), queued.end(), t.m_strPath) != queued.end())
                t.m_nCopies = 0;
        }
        // A job's end is a change the next command's undo step starts from.
        m_history.m_bDirty = m_history.m_bDirty || m_machine.Stats().m_nJobsAccepted > nJobsBefore;
    }
    void Undo(bool bUndo) {
        CModelHistory& h = m_history;
        const bool bCan = bUndo ? h.m_states.size() >= 2 && h.m_nPos >= 1
                                : h.m_states.size() >= 2 && h.m_nPos + 1 < h.m_states.size();
        EXPECT_EQ(m_pFrame->Action(bUndo ? kCmdUndo : kCmdRedo)->isEnabled(),
                  bCan);
        ASSERT_TRUE(m_pFrame->RunCommand(bUndo ? kCmdUndo : kCmdRedo));
        if (!bCan)
            return;
        h.m_nPos = bUndo ? h.m_nPos - 1 : h.m_nPos + 1;
        m_model = h.m_states[h.m_nPos];
        AddFilesTheScanWillFind();
        PrintQueued();
    }
    /// Tasks that came back queued print their copies as soon as the plotter is there.
    void PrintQueued() {
        const bool bQueued = std::any_of(m_model.m_manual.begin(), m_model.m_manual.end(),
                                         [](const CModelTask& t) { return t.m_bQueued; });
        if (!bQueued || !m_bMachineUp)
            return;
        const int nJobsBefore = m_machine.Stats().m_nJobsAccepted;
        ASSERT_TRUE(RunUntil([&] { return Quiet(); })) << Describe(Shown());
        for (CModelTask& t : m_model.m_manual) {
            if (t.m_bQueued)
                t = {t.m_strPath, 0, t.m_bSelected, false, t.m_nId};
        }
        m_history.m_bDirty = m_history.m_bDirty || m_machine.Stats().m_nJobsAccepted > nJobsBefore;
    }
    void Start() {
        if (!m_bMachineUp)
            return;
        ASSERT_TRUE(RunUntil([&] { return Quiet(); }));
        const int nJobsBefore = m_machine.Stats().m_nJobsAccepted;
        m_prompts.m_arrShown.clear();
        ASSERT_TRUE(m_pFrame->RunCommand(kBtnStart));
        CModelTask* pCurrent = CurrentModelTask();
        const bool bPrints = pCurrent != nullptr && FileOnDisk(pCurrent->m_strPath);
        if (!bPrints) {
            // Start runs once the click is over; it says why nothing prints.
            EXPECT_TRUE(RunUntil([&] { return !m_prompts.m_arrShown.empty(); },
                                 std::chrono::seconds(10)))
                << "Start said nothing";
            EXPECT_EQ(m_machine.Stats().m_nJobsAccepted, nJobsBefore);
            return;
        }
        // The plotter may have been between two states when Start ran; it then says so, and
        // the operator presses Start again.
        if (!RunUntil([&] { return m_machine.Stats().m_nJobsAccepted > nJobsBefore; },
                      std::chrono::seconds(10)) &&
            !m_prompts.m_arrShown.empty()) {
            ASSERT_TRUE(RunUntil([&] { return Quiet(); }));
            m_prompts.m_arrShown.clear();
            ASSERT_TRUE(m_pFrame->RunCommand(kBtnStart));
        }
        ASSERT_TRUE(RunUntil([&] { return m_machine.Stats().m_nJobsAccepted > nJobsBefore; }))
            << "Start printed nothing; shown: "
            << (m_prompts.m_arrShown.empty() ? std::string("nothing")
                                             : m_prompts.m_arrShown.back());
        ASSERT_TRUE(RunUntil([&] { return Quiet(); })) << Describe(Shown());
        // Start prints the copies of the current task, and only those.
        const bool bAuto = std::any_of(m_model.m_auto.begin(), m_model.m_auto.end(),
                                       [&](const CModelTask& t) { return &t == pCurrent; });
        // An automatic task prints one copy per start while automatic printing is off.
        const int nCopies = bAuto ? 1 : std::max(pCurrent->m_nCopies, 1);
        EXPECT_EQ(m_machine.Stats().m_nJobsAccepted - nJobsBefore, nCopies);
        if (bAuto && pCurrent->m_nCopies <= 1)
            std::erase_if(m_model.m_auto, [&](const CModelTask& t) { return &t == pCurrent; });
        else
            pCurrent->m_nCopies = bAuto ? pCurrent->m_nCopies - 1 : 0;
        m_history.m_bDirty = true;
    }
    void PlotterAwayOrBack() {
        if (m_bMachineUp) {
            m_server.Stop();
            m_bMachineUp = false;
            return;
        }
        std::string strError;
        ASSERT_TRUE(m_server.Start(m_strAddress, 5291, &strError)) << strError;
        m_bMachineUp = true;
        PrintQueued();
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
        ASSERT_TRUE(RunUntil([&] { return Shown() == m_model; }))
            << "window: " << Describe(Shown()) << "\nmodel:  " << Describe(m_model);
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
        } else if (nDice < 30) {
            strStep = "click";
            Click(rng);
        } else if (nDice < 40) {
            strStep = "ctrl-click";
            CtrlClick(rng);
        } else if (nDice < 45) {
            strStep = "shift-click";
            ShiftClick(rng);
        } else if (nDice < 50) {
            strStep = "delete";
            DeleteCommand();
        } else if (nDice < 60) {
            strStep = "copies";
            Copies(nDice % 2 == 0);
        } else if (nDice < 63) {
            strStep = "queue";
            Queue();
        } else if (nDice < 72) {
            strStep = "undo";
            Undo(true);
        } else if (nDice < 78) {
            strStep = "redo";
            Undo(false);
        } else if (nDice < 88) {
            strStep = "start";
            Start();
        } else if (nDice < 91) {
            strStep = "delete a file on disk";
            DeleteFileOnDisk(rng);
        } else if (nDice < 94) {
            strStep = "plotter away or back";
            PlotterAwayOrBack();
        } else if (nDice < 96) {
            strStep = "restart";
            Restart();
        } else {
            strStep = "wait";
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
    }

    CModelLists m_model;
    CModelHistory m_history;
    int m_nCurrent = 0; ///< model id of the current task, 0 for none
    int m_nLastId = 0;
    std::map<std::string, int64_t> m_fileTimes;
    std::set<std::string> m_everQueued;
    std::set<std::string> m_deletedOnDisk;
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
    sim::CSimTiming timing;
    timing.m_nBandPrintMs = 5;
    m_machine.SetTiming(timing);
    std::string strStep;
    std::string strSteps; // the way here, for the report of a failure
    for (int i = 0; i < nSteps; ++i) {
        Step(rng, strStep);
        strSteps += std::to_string(i) + " " + strStep + ": " + Describe(m_model) + "\n";
        ASSERT_FALSE(HasFailure()) << "seed " << nSeed << ", step " << i << ": " << strStep
                                   << "\n" << strSteps;
        // Rows and highlight are checked once the window has taken the step in.
        QCoreApplication::processEvents();
        ASSERT_TRUE(MatchesModel()) << "seed " << nSeed << ", step " << i << ": " << strStep
                                    << "\n" << strSteps;
    }
}

} // namespace
} // namespace inkvale
