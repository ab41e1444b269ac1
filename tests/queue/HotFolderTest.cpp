// SPDX-License-Identifier: GPL-3.0-or-later
// The hot folders: pattern list, both scans with the size limit, replacement of changed
// files, the newest-first manual list, AutoDelFinish, and files whose writer is not done.

#include "queue/HotFolder.h"
#include "QueueTestSupport.h"
#include "common/TestPaths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <ctime>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace inkvale::test {
namespace {

using Strings = std::vector<std::string>;

TEST(HotFolder, PatternsAreTheFieldsBetweenSemicolons) {
    const std::pair<const char*, Strings> cases[] = {
        {"*.plt;*.hpg;", {"*.plt", "*.hpg"}},
        {"*.plt", {"*.plt"}}, // typed without its ';'
        {"", {}},
        {"*.plt;*.hpg", {"*.plt", "*.hpg"}},
        {"a;;b;", {"a", "", "b"}},
    };
    for (const auto& [pszText, expected] : cases)
        EXPECT_EQ(PatternList(pszText), expected) << pszText;
}

// Files come from Windows CAD stations: case does not matter, in either kind of pattern.
TEST(HotFolder, PatternsMatchIgnoringCase) {
    struct Case {
        const char* pszName;
        const char* pszPattern;
        bool bMatch;
    };
    const Case cases[] = {
        {"cut 01.plt", "*.plt", true},
        {"MARKER.PLT", "*.plt", true},
        {"WM LOOSE SHAPE TANK.DXF", "*.dxf", true},
        {"Marker.Plt", "*.PLT", true},
        {"a.plt", "?.plt", true},
        {"A.PLT", "?.plt", true},
        {"a.plt.tmp", "*.plt", false},
        {"a.plx", "*.plt", false},
        {".hidden.plt", "*.plt", false},
        {"plt", "*.plt", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesPattern(c.pszName, c.pszPattern), c.bMatch)
            << c.pszName << " " << c.pszPattern;
}

class HotFolderScan : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(m_dir.Path() / "auto");
        std::filesystem::create_directories(m_dir.Path() / "man");
        m_settings.AutoDir = m_dir.File("auto") + "/";
        m_settings.ManDir = m_dir.File("man") + "/";
        m_settings.PrtFileExtension = "*.plt;*.hpg;";
        m_settings.PltMaxSizeMb = 1;
        m_settings.AutoDelFinish = 1;
    }
    /// Writes a file with the given last-write time (seconds).
    void Put(const std::string& strPath, const std::string& strContent, int64_t tTime = 0) {
        ASSERT_TRUE(WriteFileBytes(strPath, strContent));
        if (tTime != 0)
            SetTime(strPath, tTime);
    }
    static void SetTime(const std::string& strPath, int64_t tTime) {
        const timespec times[2] = {{tTime, 0}, {tTime, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, strPath.c_str(), times, 0), 0);
    }

    CScratchDir m_dir;
    CTaskLists m_doc;
    CSettings m_settings;
    CFakeQueueView m_view;
    CFakeQueueEngine m_engine;
    CTaskQueue m_queue{m_doc, m_settings, m_view, m_engine};
};

TEST_F(HotFolderScan, AutomaticFolderTakesMatchingFilesBelowTheLimit) {
    const std::string a = m_settings.AutoDir;
    Put(a + "b.plt", kSmallPlt);
    Put(a + "a.hpg", kSmallPlt);
    Put(a + "c.txt", kSmallPlt);
    Put(a + "limit.plt", std::string(1048576, ';'));    // exactly the limit: too large
    Put(a + "below.plt", std::string(1048575, ';'));    // one byte less: taken
    std::filesystem::create_directories(a + "dir.plt"); // folders are no tasks
    m_queue.ScanAutoFolder();
    // Pattern by pattern, each pattern's files in name order.
    EXPECT_EQ(Names(m_doc.m_arrAutoDir), (Strings{"b.plt", "below.plt", "a.hpg"}));
    const COnePage& task = *m_doc.m_arrAutoDir[0];
    EXPECT_EQ(task.m_strPath, a + "b.plt");
    EXPECT_EQ(task.m_nFileSize, static_cast<int64_t>(std::string(kSmallPlt).size()));
    EXPECT_TRUE(task.m_arrCurves.empty());
    EXPECT_EQ(m_view.m_nRefreshes, 2); // once for each pattern that added tasks

    // Unchanged files change nothing; a changed one is replaced in place, copies reset.
    m_doc.m_arrAutoDir[0]->m_nCopies = 3;
    m_doc.m_arrAutoDir[1]->m_nCopies = 3;
    m_queue.ScanAutoFolder();
    EXPECT_EQ(m_view.m_nRefreshes, 2);
    SetTime(a + "below.plt", 1'700'000'000);
    m_queue.ScanAutoFolder();
    EXPECT_EQ(Names(m_doc.m_arrAutoDir), (Strings{"b.plt", "below.plt", "a.hpg"}));
    EXPECT_EQ(m_doc.m_arrAutoDir[0]->m_nCopies, 3);
    EXPECT_EQ(m_doc.m_arrAutoDir[1]->m_nCopies, 1);
    EXPECT_EQ(m_doc.m_arrAutoDir[1]->m_tTime, 1'700'000'000);
    EXPECT_EQ(m_view.m_nRefreshes, 3);

    // A folder setting without its final '/' names the same folder.
    m_settings.AutoDir.pop_back();
    m_queue.ScanAutoFolder();
    EXPECT_EQ(m_doc.m_arrAutoDir.size(), 3u);
    EXPECT_EQ(m_view.m_nRefreshes, 3);
    SelectTaskByRow(m_doc, 2);
    DeleteSelectedTasks(m_doc, m_settings);
    EXPECT_FALSE(std::filesystem::exists(a + "a.hpg"));
    m_settings.AutoDir = a;

    // Files that disappear leave their tasks.
    std::filesystem::remove(a + "b.plt");
    m_queue.ScanAutoFolder();
    EXPECT_EQ(m_doc.m_arrAutoDir.size(), 2u);
}

TEST_F(HotFolderScan, NoPatternOrNoFolderTakesNothing) {
    Put(m_settings.AutoDir + "a.plt", kSmallPlt);
    Put(m_settings.ManDir + "m.plt", kSmallPlt);
    for (const char* pszPatterns : {"", ";", "*.hpg"}) { // no pattern, an empty one, none that fits
        m_settings.PrtFileExtension = pszPatterns;
        m_queue.ScanAutoFolder();
        m_queue.ScanManualFolder();
        EXPECT_EQ(TaskCount(m_doc), 0);
    }
    m_settings.PrtFileExtension = "*.plt;";
    m_settings.AutoDir = m_dir.File("missing") + "/";
    m_settings.ManDir = "";
    m_queue.ScanAutoFolder();
    m_queue.ScanManualFolder();
    EXPECT_EQ(TaskCount(m_doc), 0);
    EXPECT_EQ(m_view.m_nRefreshes, 0);
}

TEST_F(HotFolderScan, ManualFolderListsNewestFirst) {
    const std::string m = m_settings.ManDir;
    Put(m + "m1.plt", kSmallPlt, 1000);
    Put(m + "m2.plt", kSmallPlt, 3000);
    Put(m + "m3.plt", kSmallPlt, 2000);
    Put(m + "m4.plt", kSmallPlt, 3000); // as new as m2: keeps its place after it
    Put(m + "m0.hpg", kSmallPlt, 9000); // second pattern, sorted in after its pass
    m_queue.ScanManualFolder();
    EXPECT_EQ(Names(m_doc.m_arrManDir),
              (Strings{"m0.hpg", "m2.plt", "m4.plt", "m3.plt", "m1.plt"}));
    // Touching a file replaces its task (copies 1, no mark) and sorts it to the top.
    SelectTaskByRow(m_doc, 4);
    m_doc.m_arrManDir[4]->m_nCopies = 5;
    m_queue.QueueSelected(true);
    SetTime(m + "m1.plt", 9999);
    m_queue.ScanManualFolder();
    EXPECT_EQ(Names(m_doc.m_arrManDir),
              (Strings{"m1.plt", "m0.hpg", "m2.plt", "m4.plt", "m3.plt"}));
    EXPECT_EQ(m_doc.m_arrManDir[0]->m_nCopies, 1);
    EXPECT_EQ(m_doc.m_arrManDir[0]->m_bQueued, 0);
}

TEST_F(HotFolderScan, FinishedManualTasksLeaveWithTheirFilesWhenAsked) {
    const std::string m = m_settings.ManDir;
    for (const int nAutoDel : {0, 1}) {
        m_doc.DeleteAllTasks();
        Put(m + "done.plt", kSmallPlt, 2000);
        Put(m + "due.plt", kSmallPlt, 1000);
        m_settings.AutoDelFinish = nAutoDel;
        m_queue.ScanManualFolder();
        ASSERT_EQ(Names(m_doc.m_arrManDir), (Strings{"done.plt", "due.plt"}));
        m_doc.m_arrManDir[0]->m_nCopies = 0;
        m_queue.SetCurrentTaskIndex(1);
        m_queue.ScanManualFolder();
        if (nAutoDel == 0) {
            EXPECT_EQ(m_doc.m_arrManDir.size(), 2u);
            EXPECT_EQ(m_doc.m_arrManDir[0]->m_nCopies, 0);
            EXPECT_TRUE(std::filesystem::exists(m + "done.plt"));
        } else {
            EXPECT_EQ(Names(m_doc.m_arrManDir), (Strings{"due.plt"}));
            EXPECT_FALSE(std::filesystem::exists(m + "done.plt"));
            // The current task stays current where it now stands; the queue selects nothing.
            EXPECT_EQ(m_queue.CurrentTaskIndex(), 0);
            EXPECT_TRUE(m_view.m_arrSelected.empty());
        }
    }
}

TEST_F(HotFolderScan, AutomaticFileStillOpenForWritingWaitsForItsWriter) {
    const std::string strPath = m_settings.AutoDir + "slow.plt";
    const int fd = ::open(strPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    const std::string strHalf = "IN;SP1;PU0,0;";
    ASSERT_EQ(::write(fd, strHalf.data(), strHalf.size()), static_cast<ssize_t>(strHalf.size()));
    for (int i = 0; i < 3; ++i) { // not growing any more, but still open
        m_queue.ScanAutoFolder();
        EXPECT_TRUE(m_doc.m_arrAutoDir.empty());
    }
    const std::string strRest = "PD400,0,400,400;PU;";
    ASSERT_EQ(::write(fd, strRest.data(), strRest.size()), static_cast<ssize_t>(strRest.size()));
    ::close(fd);
    m_queue.ScanAutoFolder(); // the first scan after the writer closed it
    ASSERT_EQ(Names(m_doc.m_arrAutoDir), (Strings{"slow.plt"}));
    EXPECT_EQ(m_doc.m_arrAutoDir[0]->m_nFileSize,
              static_cast<int64_t>(strHalf.size() + strRest.size()));
    // The manual folder has no such test: an open file is listed at once.
    const int fdMan =
        ::open((m_settings.ManDir + "open.plt").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(fdMan, 0);
    m_queue.ScanManualFolder();
    EXPECT_EQ(Names(m_doc.m_arrManDir), (Strings{"open.plt"}));
    ::close(fdMan);
}

// A writer that opens the file anew for every piece holds it only now and then: the file is
// taken only once its size and last-write time have kept still for the settle time.
TEST_F(HotFolderScan, AFileStillChangingWithinTheSettleTimeIsNotTaken) {
    m_settings.FileSettleMs = 2000;
    const std::string strPath = m_settings.AutoDir + "growing.plt";
    const int64_t tNow = static_cast<int64_t>(std::time(nullptr));
    for (int nPiece = 0; nPiece < 3; ++nPiece) {
        // Appended and closed again, as such a writer does between its pieces.
        std::ofstream(strPath, std::ios::app) << "PU0,0;PD400,400;";
        m_queue.ScanAutoFolder();
        EXPECT_TRUE(m_doc.m_arrAutoDir.empty()) << nPiece;
    }
    // Its last write now lies further back than the settle time: taken.
    SetTime(strPath, tNow - 3);
    m_queue.ScanAutoFolder();
    EXPECT_EQ(Names(m_doc.m_arrAutoDir), (Strings{"growing.plt"}));
    // A FIFO with a drawing's name is never opened for reading: the scan goes on.
    ASSERT_EQ(::mkfifo((m_settings.AutoDir + "pipe.plt").c_str(), 0644), 0);
    m_queue.ScanAutoFolder();
    EXPECT_EQ(Names(m_doc.m_arrAutoDir), (Strings{"growing.plt"}));
}

// Where no lease can be taken (another owner, a file system without leases) a file counts
// as finished once two polls in a row saw the same size and time.
TEST_F(HotFolderScan, WithoutLeasesAFileIsTakenOnceItStoppedChanging) {
    const std::string strPath = m_settings.AutoDir + "x.plt";
    const auto Seen = [&] {
        for (const CFolderFile& f : ListFolderFiles(m_settings.AutoDir, 1 << 20))
            return f;
        return CFolderFile{};
    };
    CWriterCheck check(false);
    Put(strPath, "IN;", 1000);
    EXPECT_FALSE(check.WriterFinished(Seen())); // first sight
    Put(strPath, "IN;SP1;", 1000);
    EXPECT_FALSE(check.WriterFinished(Seen())); // grew
    SetTime(strPath, 1001);
    EXPECT_FALSE(check.WriterFinished(Seen())); // touched
    EXPECT_TRUE(check.WriterFinished(Seen()));  // unchanged since the last poll
    EXPECT_FALSE(check.WriterFinished({m_settings.AutoDir + "gone.plt", "gone.plt", 1, 1, 1}));
    // Files not looked at in a poll are forgotten after it.
    EXPECT_FALSE(check.WriterFinished(Seen()));
    check.ForgetUnseen();
    check.ForgetUnseen();
    EXPECT_FALSE(check.WriterFinished(Seen()));
}

} // namespace
} // namespace inkvale::test
