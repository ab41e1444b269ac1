// SPDX-License-Identifier: GPL-3.0-or-later
// The saved queue: a round trip of everything the operator set, with the drawings that
// exist only in memory; damaged saves set aside and reported; a burst of changes written
// once.

#include "core/QueueAutosave.h"
#include "common/TestPaths.h"

#ifdef INKVALE_CLI_PATH
#include "SimMachine.h"
#include "SimServer.h"
#include "machine/link/MachineProtocol.h"

#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <thread>

namespace inkvale::test {
namespace {

std::unique_ptr<COnePage> Task(const std::string& strPath, int nCopies, int bQueued, int nState,
                               bool bCurves) {
    auto p = std::make_unique<COnePage>();
    p->m_strPath = strPath;
    p->m_strName = strPath.substr(strPath.rfind('/') + 1);
    p->m_nCopies = nCopies;
    p->m_bQueued = bQueued;
    p->m_nPrintState = nState;
    p->m_nStartMm = 25;
    p->m_nFileSize = 1234;
    if (bCurves) {
        CCurve c;
        c.AddPoint(0, 0);
        c.AddPoint(4000, 2000);
        c.AddPoint(8000, 0);
        p->m_arrCurves.push_back(c);
        p->CalcExtents();
    }
    return p;
}

class QueueAutosave : public ::testing::Test {
protected:
    void SetUp() override {
        m_strFile = m_dir.File("a b.plt");
        ASSERT_TRUE(WriteFileBytes(m_strFile, "IN;PU0,0;PD8000,0;"));
        m_doc.m_arrOpened.push_back(Task(m_strFile, 3, 1, PS_REPEAT, true));
        m_doc.m_arrOpened.push_back(Task(m_strFile + "(1/2)", 2, 0, PS_WAITING, true));
        m_doc.m_arrOpened.push_back(Task("Combination", 1, 1, PS_PRINTING, true));
        m_doc.m_arrManDir.push_back(Task(m_dir.File("m.plt"), 4, 1, PS_WAITING, false));
        m_doc.m_arrManDir.back()->m_nSource = kSourceManDir;
        m_doc.m_arrAutoDir.push_back(Task(m_dir.File("auto.plt"), 1, 0, PS_WAITING, false));
        // Any character but '/' may be in a file name; copies have no limit but the counter's.
        m_doc.m_arrAutoDir.push_back(Task(m_dir.File("tab\tvt\vff\f\\ 汉\n.plt"),
                                          std::numeric_limits<int32_t>::max(), 1, PS_REPEAT,
                                          false));
    }
    std::string Dir() const { return m_dir.Path().string() + "/Queue/"; }

    CScratchDir m_dir;
    std::string m_strFile;
    CTaskLists m_doc;
};

TEST_F(QueueAutosave, RoundTripKeepsWhatTheOperatorSetAndTheDrawingsOnlyInMemory) {
    CTaskLists back;
    ASSERT_TRUE(ParseSavedQueue(FormatSavedQueue(m_doc), back).Ok());
    const CTaskList* lists[][2] = {{&m_doc.m_arrOpened, &back.m_arrOpened},
                                   {&m_doc.m_arrManDir, &back.m_arrManDir},
                                   {&m_doc.m_arrAutoDir, &back.m_arrAutoDir}};
    for (const auto& pair : lists) {
        ASSERT_EQ(pair[0]->size(), pair[1]->size());
        for (size_t i = 0; i < pair[0]->size(); ++i) {
            const COnePage& a = *(*pair[0])[i];
            const COnePage& b = *(*pair[1])[i];
            EXPECT_EQ(b.m_strPath, a.m_strPath);
            EXPECT_EQ(b.m_strName, a.m_strName);
            EXPECT_EQ(b.m_nCopies, a.m_nCopies);
            EXPECT_EQ(b.m_bQueued, a.m_bQueued);
            EXPECT_EQ(b.m_nStartMm, a.m_nStartMm);
            EXPECT_EQ(b.m_nSource, a.m_nSource);
            EXPECT_EQ(b.m_nFileSize, a.m_nFileSize);
            EXPECT_EQ(b.m_tTime, a.m_tTime);
            // Nothing prints after a restart.
            EXPECT_EQ(b.m_nPrintState,
                      a.m_nPrintState == PS_PRINTING ? PS_WAITING : a.m_nPrintState);
        }
    }
    // The task with a file is read from it again; a piece and a merge keep their drawing.
    EXPECT_TRUE(back.m_arrOpened[0]->m_arrCurves.empty());
    ASSERT_EQ(back.m_arrOpened[1]->m_arrCurves.size(), 1u);
    EXPECT_EQ(back.m_arrOpened[1]->m_arrCurves[0].m_arrPoints,
              m_doc.m_arrOpened[1]->m_arrCurves[0].m_arrPoints);
    EXPECT_EQ(back.m_arrOpened[2]->m_arrCurves.size(), 1u);
}

TEST_F(QueueAutosave, DamagedSaveIsReportedSetAsideAndNeverUsed) {
    const std::vector<uint8_t> good = FormatSavedQueue(m_doc);
    ASSERT_GT(good.size(), 20u);
    std::string strWrongVersion(good.begin(), good.end());
    strWrongVersion[12] = '9';
    const std::vector<uint8_t> wrongVersion(strWrongVersion.begin(), strWrongVersion.end());
    std::string strFlipped(good.begin(), good.end());
    strFlipped[good.size() - 20] = static_cast<char>(strFlipped[good.size() - 20] ^ 0xFF);
    const std::vector<uint8_t> flipped(strFlipped.begin(), strFlipped.end());
    std::string strMismatch(good.begin(), good.end());
    strMismatch.replace(strMismatch.find("task m"), 6, "task a");
    const struct {
        const char* m_pszWhat;
        std::vector<uint8_t> m_bytes;
    } cases[] = {
        {"empty", {}},
        {"cut short", std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2)},
        {"cut in the task lines", std::vector<uint8_t>(good.begin(), good.begin() + 40)},
        {"another version", wrongVersion},
        {"lines that do not match the lists", {strMismatch.begin(), strMismatch.end()}},
        {"random bytes", std::vector<uint8_t>(3000, 0xA5)},
        {"a task file without the task lines", m_doc.Serialize()},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(Dir());
        std::filesystem::create_directories(Dir());
        ASSERT_TRUE(WriteFileBytes(Dir() + CQueueAutosave::kFileName,
                                   std::string(c.m_bytes.begin(), c.m_bytes.end())));
        CTaskLists doc;
        CQueueAutosave autosave(Dir());
        const CResult restored = autosave.Restore(doc);
        EXPECT_FALSE(restored.Ok()) << c.m_pszWhat;
        EXPECT_TRUE(restored.Says(EMsg::kQueueDamaged)) << c.m_pszWhat;
        EXPECT_TRUE(doc.m_arrOpened.empty() && doc.m_arrManDir.empty()) << c.m_pszWhat;
        EXPECT_FALSE(std::filesystem::exists(autosave.Path())) << c.m_pszWhat;
        int nAside = 0;
        for (const auto& entry : std::filesystem::directory_iterator(Dir()))
            nAside += entry.path().filename().string().starts_with("queue.state.damaged-") ? 1 : 0;
        EXPECT_EQ(nAside, 1) << c.m_pszWhat;
    }
    // A flipped byte inside a drawing may still read; the reader never crashes on it.
    CTaskLists doc;
    (void)ParseSavedQueue(flipped, doc);
}

TEST_F(QueueAutosave, ABurstOfChangesIsWrittenOnceAndRestoredWhole) {
    {
        CQueueAutosave autosave(Dir());
        CTaskLists doc;
        EXPECT_EQ(autosave.Restore(doc).m_nCode, 1); // nothing saved yet
        for (int i = 0; i < 100; ++i) {
            m_doc.m_arrOpened[0]->m_nCopies = i + 1;
            autosave.SaveIfChanged(m_doc);
        }
        autosave.SaveIfChanged(m_doc); // no change: nothing handed over
        autosave.Flush();
        EXPECT_GE(autosave.Writes(), 1);
        EXPECT_LE(autosave.Writes(), 2);
    }
    CTaskLists doc;
    CQueueAutosave again(Dir());
    ASSERT_TRUE(again.Restore(doc).Ok());
    ASSERT_EQ(doc.m_arrOpened.size(), 3u);
    EXPECT_EQ(doc.m_arrOpened[0]->m_nCopies, 100);
    EXPECT_EQ(doc.m_arrManDir[0]->m_nCopies, 4);
}

// A save that fails says why and is tried again until it succeeds: an edit made while the
// disk could not take it is on the disk once it can, with nothing more to do.
TEST_F(QueueAutosave, AFailedSaveIsReportedAndTriedAgain) {
    // A file where the folder belongs: every write fails until it is a folder again.
    ASSERT_TRUE(WriteFileBytes(m_dir.Path().string() + "/Queue", "not a folder"));
    CQueueAutosave autosave(Dir());
    m_doc.m_arrOpened[0]->m_nCopies = 5;
    autosave.SaveIfChanged(m_doc);
    const uint64_t nHanded = autosave.Handed();
    EXPECT_TRUE(
        autosave.WaitFor([](const std::string& strError, uint64_t) { return !strError.empty(); },
                         std::chrono::seconds(10)));
    EXPECT_NE(autosave.LastError().find("Queue"), std::string::npos) << autosave.LastError();
    EXPECT_LT(autosave.Written(), nHanded);
    std::filesystem::remove(m_dir.Path() / "Queue");
    EXPECT_TRUE(autosave.WaitFor(
        [nHanded](const std::string&, uint64_t nWritten) { return nWritten >= nHanded; },
        std::chrono::seconds(10)));
    EXPECT_EQ(autosave.Written(), nHanded);
    EXPECT_TRUE(autosave.LastError().empty());
    CTaskLists doc;
    CQueueAutosave again(Dir());
    ASSERT_TRUE(again.Restore(doc).Ok());
    EXPECT_EQ(doc.m_arrOpened[0]->m_nCopies, 5);
}

// An edit of a drawing that only exists here and keeps every count and box (a piece
// mirrored in place) is invisible to the numbers compared at each tick: it is saved
// because the queue or the front end tells of it.
TEST_F(QueueAutosave, AChangeThatWasToldIsSavedEvenWhenNoNumberShowsIt) {
    COnePage& piece = *m_doc.m_arrOpened[1];
    {
        CQueueAutosave autosave(Dir());
        autosave.SaveIfChanged(m_doc);
        autosave.Flush();
        ASSERT_EQ(autosave.Writes(), 1);
        piece.MirrorPage();
        piece.CalcExtents();
        autosave.SaveIfChanged(m_doc);
        autosave.Flush();
        EXPECT_EQ(autosave.Writes(), 1); // nothing told, and no number differs
        autosave.MarkChanged();
        autosave.SaveIfChanged(m_doc);
        autosave.Flush();
        EXPECT_EQ(autosave.Writes(), 2);
    }
    CTaskLists back;
    CQueueAutosave again(Dir());
    ASSERT_TRUE(again.Restore(back).Ok());
    ASSERT_EQ(back.m_arrOpened[1]->m_arrCurves.size(), 1u);
    EXPECT_EQ(back.m_arrOpened[1]->m_arrCurves[0].m_arrPoints, piece.m_arrCurves[0].m_arrPoints);
    EXPECT_NE(piece.m_arrCurves[0].m_arrPoints[0].y, 0); // the mirror did move it
}

// The window thread's part of a save of 200 tasks (the bytes; the writing is the writer's).
TEST_F(QueueAutosave, TwoHundredTasksCostTheWindowThreadLittle) {
    for (int i = 0; i < 200; ++i)
        m_doc.m_arrAutoDir.push_back(
            Task(m_dir.File("t" + std::to_string(i) + ".plt"), 1, 0, PS_WAITING, false));
    CQueueAutosave autosave(Dir());
    const auto t0 = std::chrono::steady_clock::now();
    autosave.SaveIfChanged(m_doc);
    const auto t1 = std::chrono::steady_clock::now();
    autosave.SaveIfChanged(m_doc); // unchanged: only the comparison
    const auto t2 = std::chrono::steady_clock::now();
    autosave.Flush();
    const double dSave = std::chrono::duration<double, std::milli>(t1 - t0).count();
    const double dSame = std::chrono::duration<double, std::milli>(t2 - t1).count();
    std::printf("[ autosave ] 205 tasks: %.2f ms to hand a save over, %.3f ms to see no change\n",
                dSave, dSame);
    EXPECT_LT(dSave, 50.0);
    EXPECT_LT(dSame, 5.0);
}

#ifdef INKVALE_CLI_PATH
// inkvale-cli print runs the same core without the desktop program's lists: what the
// desktop program saved in the same installation stays as it was, byte for byte.
TEST_F(QueueAutosave, APrintFromTheCommandLineLeavesTheSavedListsAlone) {
    sim::CSimMachine machine;
    sim::CSimTiming timing;
    timing.m_nStartMs = 20;
    timing.m_nFinishMs = 20;
    machine.SetTiming(timing);
    sim::CSimServer server(machine);
    // A loopback address of this test's own on the machine's port.
    int nHost = 0;
    std::string strError;
    for (int nTry = 0; nTry < 20 && nHost == 0; ++nTry) {
        const int n = 2 + (::getpid() + nTry * 11) % 250;
        nHost = server.Start("127.0.0." + std::to_string(n), kMachinePort, &strError) ? n : 0;
    }
    ASSERT_NE(nHost, 0) << strError;
    const uint32_t nIp = 127u | (static_cast<uint32_t>(nHost) << 24);
    ASSERT_TRUE(WriteFileBytes(m_dir.File("Inkvale.ini"),
                               "[Para]\nMachineIP=" + std::to_string(nIp) + "\n"));
    std::filesystem::create_directories(Dir());
    const std::vector<uint8_t> saved = FormatSavedQueue(m_doc);
    const std::string strSaved(saved.begin(), saved.end());
    ASSERT_TRUE(WriteFileBytes(Dir() + CQueueAutosave::kFileName, strSaved));

    const std::string strCmd = "timeout 60 " INKVALE_CLI_PATH " --home '" + m_dir.Path().string() +
                               "' print '" + m_strFile + "' >/dev/null 2>&1";
    const int nStatus = std::system(strCmd.c_str());
    server.Stop();
    ASSERT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0) << strCmd;
    EXPECT_EQ(machine.Stats().m_nJobsFinished, 1);
    EXPECT_EQ(ReadFileBytes(Dir() + CQueueAutosave::kFileName), strSaved);
    int nFiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(Dir()))
        nFiles += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(nFiles, 1); // nothing set aside, no temporary left
}
#endif

} // namespace
} // namespace inkvale::test
