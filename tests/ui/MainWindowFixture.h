// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The real main window (offscreen) with its real core, talking to the plotter simulator on a
// loopback address of its own, and the operator's hands: mouse clicks on rows, files written
// into the folders with the times they sort by, and waits for what the window shows.
#include "common/TestPaths.h"
#include "config/SettingsStore.h"
#include "machine/engine/ManualCommands.h"
#include "machine/link/MachineProtocol.h"
#include "queue/TaskListEdits.h"
#include "ui/MainWindow.h"
#include "ui/MainWindowPrompts.h"
#include "ui/TaskListView.h"

#include "SimMachine.h"
#include "SimServer.h"

#include "UiTestApp.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMouseEvent>

#include <sys/time.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace inkvale::test {

namespace fs = std::filesystem;

class CWindowPrompts : public CMainWindowPrompts {
public:
    void Inform(const std::string& s, const std::string&) override { m_arrShown.push_back(s); }
    void Error(const std::string& s, const std::string&) override { m_arrShown.push_back(s); }
    bool AskOkCancel(const std::string&, const std::string&) override { return true; }
    std::vector<std::string> OpenFiles(const std::string&, const std::string&) override {
        return m_arrOpen;
    }
    std::string SaveFile(const std::string&) override { return m_strSaveAs; }
    void About(int) override {}
    int Choose(const std::string& s, const std::string&, const std::vector<std::string>&) override {
        m_arrChoices.push_back(s);
        return m_nChoice;
    }
    std::vector<std::string> m_arrShown;
    std::string m_strSaveAs;
    std::vector<std::string> m_arrChoices; ///< the choices asked for
    std::vector<std::string> m_arrOpen;    ///< what the open dialog chooses
    int m_nChoice = -1;                    ///< the answer to a choice, -1: the box is closed
};

/// A small marker whose width says which file it is.
inline std::string Marker(int nWidth) {
    return "IN;SP1;PU0,0;PD" + std::to_string(nWidth) + ",0," + std::to_string(nWidth) +
           ",4000,0,4000,0,0;PU;";
}

/// Writes a file with the given last-write time (s since 1970): the manual list sorts by it.
inline bool WriteWithTime(const std::string& strPath, const std::string& strBytes, int64_t tTime) {
    if (!test::WriteFileBytes(strPath, strBytes))
        return false;
    const timeval times[2] = {{static_cast<time_t>(tTime), 0}, {static_cast<time_t>(tTime), 0}};
    return ::utimes(strPath.c_str(), times) == 0;
}

class CMainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureUiTestApp();
        m_english.emplace();
        std::random_device rd;
        const uint32_t b = 1 + rd() % 250, c = 1 + rd() % 250, d = 2 + rd() % 250;
        m_strAddress =
            "127." + std::to_string(b) + "." + std::to_string(c) + "." + std::to_string(d);
        std::string strError;
        ASSERT_TRUE(m_server.Start(m_strAddress, 5291, &strError)) << strError;
        m_nIP = 127u | (b << 8) | (c << 16) | (d << 24);
        ASSERT_TRUE(test::WriteFileBytes(m_home.Path() / "Inkvale.ini",
                                         "[Para]\nMachineIP=" + std::to_string(m_nIP) +
                                             "\nLanguage=1\nAutoStartEnable=0\nSpAutoClean=0\n"
                                             "PrintFileName=0\nAutoDelFinish=0\nAutoPreview=0\n"));
        OpenWindow();
    }
    void TearDown() override {
        m_pFrame.reset();
        m_server.Stop();
    }
    void OpenWindow() {
        m_pFrame.reset();
        m_settings = CSettings{};
        (void)LoadSettings(m_settings, m_params, m_home.Path().string());
        m_params.ResetMachineParams();
        m_pFrame = std::make_unique<CMainWindow>(m_settings, m_params, &m_prompts, true);
        // As the program does: the lists of the last run come back and are kept saved.
        m_pFrame->RestoreQueue();
        m_pFrame->resize(1280, 900);
        m_pFrame->show();
    }
    template <class Done>
    bool RunUntil(Done done, std::chrono::milliseconds limit = std::chrono::seconds(40)) {
        const auto tEnd = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < tEnd) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            if (done())
                return true;
        }
        return false;
    }
    CTaskListView& List() { return m_pFrame->TaskList(); }
    /// A mouse click on the row, as the operator makes it (Ctrl or Shift with modifiers).
    void ClickRow(int nRow, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        CTaskListView& list = List();
        const QModelIndex index = list.model()->index(nRow, 1);
        list.scrollTo(index);
        const QPointF pos = list.visualRect(index).center();
        const QPointF global = list.viewport()->mapToGlobal(pos);
        QMouseEvent press(QEvent::MouseButtonPress, pos, global, Qt::LeftButton, Qt::LeftButton,
                          mods);
        QApplication::sendEvent(list.viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, pos, global, Qt::LeftButton, Qt::NoButton,
                            mods);
        QApplication::sendEvent(list.viewport(), &release);
    }
    std::string PathAtRow(int nRow) const {
        const COnePage* pTask = TaskAt(m_pFrame->Doc(), nRow);
        return pTask != nullptr ? pTask->m_strPath : std::string();
    }
    std::set<std::string> HighlightedPaths() {
        std::set<std::string> paths;
        for (const QModelIndex& index : List().selectionModel()->selectedRows())
            paths.insert(PathAtRow(index.row()));
        return paths;
    }
    std::string CurrentPath() {
        const COnePage* pTask = TaskById(m_pFrame->Doc(), m_pFrame->Queue().CurrentTaskId());
        return pTask != nullptr ? pTask->m_strPath : std::string();
    }
    std::string PrintingPath() {
        for (int r = 0; r < TaskCount(m_pFrame->Doc()); ++r) {
            if (TaskAt(m_pFrame->Doc(), r)->m_nPrintState == PS_PRINTING)
                return PathAtRow(r);
        }
        return {};
    }
    bool MachineReady() {
        const CCommandBarState state = m_pFrame->Engine().CommandBarState();
        return !state.m_bJobRunning && state.m_nMachineState == kStateReady;
    }
    /// Files in the manual folder, oldest first, each a second newer than the one before.
    void FillManualFolder(int nFiles) {
        for (int i = 0; i < nFiles; ++i) {
            ASSERT_TRUE(WriteWithTime(ManualFile(i), Marker(4000 + 40 * i), m_tNext++));
        }
        ASSERT_TRUE(RunUntil([&] { return List().rowCount() == nFiles; }));
    }
    std::string ManualFile(int i) const {
        return m_settings.ManDir + "m" + std::to_string(i) + ".plt";
    }
    bool AllFiguresDone() {
        for (int r = 0; r < TaskCount(m_pFrame->Doc()); ++r) {
            if (!TaskAt(m_pFrame->Doc(), r)->m_preflight.m_bDone)
                return false;
        }
        return true;
    }

    /// The window speaks English (Language=1), as an operator here reads it.
    std::optional<test::CShippedTranslation> m_english;
    std::string m_strAddress;
    sim::CSimMachine m_machine;
    sim::CSimServer m_server{m_machine};
    test::CScratchDir m_home;
    uint32_t m_nIP = 0;
    CSettings m_settings;
    CMachineParams m_params;
    CWindowPrompts m_prompts;
    std::unique_ptr<CMainWindow> m_pFrame;
    int64_t m_tNext = 1'600'000'000;
};

} // namespace inkvale::test
