// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FolderWatch.h"

#include "common/TestPaths.h"
#include "machine/engine/EngineHost.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>

namespace inkvale {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Counts the scans the watch asks for, from its own thread.
class CScanCounter : public IEngineHost {
public:
    void JobFinished(int) override {}
    int StartNextTask() override { return -1; }
    void ScanManualFolder() override { Count(m_nManual); }
    void ScanAutoFolder() override { Count(m_nAuto); }
    /// Waits up to 10 s until the count reaches n.
    bool WaitFor(const int& nCount, int n) {
        return WaitUntil([&] { return nCount >= n; });
    }
    /// Waits up to 10 s until done() holds, looking again after every scan asked for.
    bool WaitUntil(const std::function<bool()>& done) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_cv.wait_for(lock, 10s, done);
    }
    int Manual() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_nManual;
    }
    int Auto() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_nAuto;
    }
    int m_nManual = 0;
    int m_nAuto = 0;

private:
    void Count(int& n) {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++n;
        m_cv.notify_all();
    }
    std::mutex m_mutex;
    std::condition_variable m_cv;
};

struct CFolders {
    test::CScratchDir dir;
    std::string strManual = (dir.Path() / "Manual").string() + "/";
    std::string strAuto = (dir.Path() / "Auto").string() + "/";
    CFolders() {
        fs::create_directory(strManual);
        fs::create_directory(strAuto);
    }
};

// Each kind of change in a folder asks for a scan of that folder and not of the other.
TEST(FolderWatch, ChangesInAFolderAskForItsScan) {
    CFolders folders;
    CScanCounter host;
    CFolderWatch watch(host);
    watch.Watch(folders.strManual, folders.strAuto);
    ASSERT_TRUE(watch.WatchesManual());
    ASSERT_TRUE(watch.WatchesAuto());

    ASSERT_TRUE(test::WriteFileBytes(folders.strAuto + "a.plt", "IN;"));
    ASSERT_TRUE(host.WaitFor(host.m_nAuto, 1));
    ASSERT_TRUE(test::WriteFileBytes(folders.dir.Path() / "moved.plt", "IN;"));
    fs::rename(folders.dir.Path() / "moved.plt", folders.strManual + "moved.plt");
    ASSERT_TRUE(host.WaitFor(host.m_nManual, 1));
    fs::remove(folders.strManual + "moved.plt");
    ASSERT_TRUE(host.WaitFor(host.m_nManual, 2));
    EXPECT_EQ(host.Manual(), 2);
}

// A folder that is not there yet is watched once it is, at a later call; one that goes
// away loses its watch; a changed folder is watched in place of the old one.
TEST(FolderWatch, FollowsFoldersThatComeGoAndChange) {
    CFolders folders;
    const std::string strLater = (folders.dir.Path() / "Later").string() + "/";
    CScanCounter host;
    CFolderWatch watch(host);
    watch.Watch(strLater, folders.strAuto);
    EXPECT_FALSE(watch.WatchesManual());
    EXPECT_TRUE(watch.WatchesAuto());
    fs::create_directory(strLater);
    watch.Watch(strLater, folders.strAuto);
    ASSERT_TRUE(watch.WatchesManual());
    ASSERT_TRUE(test::WriteFileBytes(strLater + "m.plt", "IN;"));
    ASSERT_TRUE(host.WaitFor(host.m_nManual, 1));

    // The watch drops a folder that went away before it asks for the scan of that news.
    fs::remove_all(strLater);
    EXPECT_TRUE(host.WaitUntil([&] { return !watch.WatchesManual(); }));

    // The automatic folder moves to the manual one's old place: only the new one counts.
    watch.Watch(folders.strManual, folders.strManual);
    ASSERT_TRUE(watch.WatchesAuto());
    const int nAutoBefore = host.Auto();
    ASSERT_TRUE(test::WriteFileBytes(folders.strManual + "both.plt", "IN;"));
    ASSERT_TRUE(host.WaitFor(host.m_nAuto, nAutoBefore + 1));
    watch.Stop();
    EXPECT_FALSE(watch.WatchesAuto());
}

} // namespace
} // namespace inkvale
