// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/InstanceLock.h"

#include "common/TestPaths.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

extern char** environ;

namespace inkvale {
namespace {

namespace fs = std::filesystem;
using EState = CInstanceLock::EState;
using test::CScratchDir;
using test::ReadFileBytes;
using test::WriteFileBytes;

std::string PidLine(pid_t nPid) {
    return std::to_string(nPid) + "\n";
}

// A second open of the lock file, even in the same process, finds the lock taken and reads
// who holds it; once the holder is gone the lock is free and the file names nobody.
TEST(InstanceLock, SecondAcquirerFailsAndNamesTheHolder) {
    CScratchDir dir;
    const std::string strLockFile = dir.File(kInstanceLockFileName);
    {
        const CInstanceLock first = CInstanceLock::Acquire(dir.Path().string() + "/");
        ASSERT_EQ(first.State(), EState::kAcquired) << first.Error();
        EXPECT_EQ(first.Path(), strLockFile);
        EXPECT_EQ(ReadFileBytes(strLockFile), PidLine(::getpid()));

        const CInstanceLock second = CInstanceLock::Acquire(dir.Path().string()); // no '/'
        EXPECT_EQ(second.State(), EState::kHeld);
        EXPECT_EQ(second.Holder(), ::getpid());
        // The refused start leaves the holder's lock and file as they were.
        EXPECT_EQ(CInstanceLock::Acquire(dir.Path().string()).State(), EState::kHeld);
        EXPECT_EQ(ReadFileBytes(strLockFile), PidLine(::getpid()));
    }
    EXPECT_EQ(ReadFileBytes(strLockFile), "");
    const CInstanceLock again = CInstanceLock::Acquire(dir.Path().string());
    EXPECT_EQ(again.State(), EState::kAcquired) << again.Error();
}

// The kernel gives the lock up when the holding process ends, even killed; a later holder
// replaces the dead one's process id.
TEST(InstanceLock, ReleasedWhenTheHoldingProcessEnds) {
    CScratchDir dir;
    int arrReady[2] = {-1, -1};
    ASSERT_EQ(::pipe(arrReady), 0);
    const pid_t nChild = ::fork();
    ASSERT_GE(nChild, 0);
    if (nChild == 0) {
        ::close(arrReady[0]);
        CInstanceLock lock = CInstanceLock::Acquire(dir.Path().string());
        const char c = lock.Acquired() ? 'y' : 'n';
        (void)!::write(arrReady[1], &c, 1);
        ::pause(); // until killed
        ::_exit(0);
    }
    ::close(arrReady[1]);
    pollfd ready{arrReady[0], POLLIN, 0};
    char c = 0;
    const bool bAnswered = ::poll(&ready, 1, 10000) == 1 && ::read(arrReady[0], &c, 1) == 1;
    ::close(arrReady[0]);
    if (bAnswered && c == 'y') {
        const CInstanceLock held = CInstanceLock::Acquire(dir.Path().string());
        EXPECT_EQ(held.State(), EState::kHeld);
        EXPECT_EQ(held.Holder(), nChild);
    }
    ::kill(nChild, SIGKILL);
    ::waitpid(nChild, nullptr, 0);
    ASSERT_TRUE(bAnswered);
    ASSERT_EQ(c, 'y');

    const CInstanceLock mine = CInstanceLock::Acquire(dir.Path().string());
    EXPECT_EQ(mine.State(), EState::kAcquired) << mine.Error();
    EXPECT_EQ(ReadFileBytes(dir.File(kInstanceLockFileName)), PidLine(::getpid()));
}

// A program the holder starts does not inherit the lock: it ends with the holder.
TEST(InstanceLock, NotKeptByAProgramTheHolderStarted) {
    CScratchDir dir;
    pid_t nSleeper = -1;
    {
        const CInstanceLock lock = CInstanceLock::Acquire(dir.Path().string());
        ASSERT_TRUE(lock.Acquired()) << lock.Error();
        char szSleep[] = "sleep";
        char szSeconds[] = "30";
        char* argv[] = {szSleep, szSeconds, nullptr};
        ASSERT_EQ(::posix_spawnp(&nSleeper, "sleep", nullptr, nullptr, argv, environ), 0);
    }
    const EState eState = CInstanceLock::Acquire(dir.Path().string()).State();
    ::kill(nSleeper, SIGKILL);
    ::waitpid(nSleeper, nullptr, 0);
    EXPECT_EQ(eState, EState::kAcquired);
}

// A lock file that cannot be opened as a file of its own is a failure with the system's
// reason, and nothing it points at is touched.
TEST(InstanceLock, FailsWithItsReasonWhenTheFileCannotBeOpened) {
    struct Case {
        const char* pszName;
        std::function<void(const fs::path&)> prepare;
        std::string strDir; ///< relative to the scratch folder
    };
    const Case cases[] = {
        {"a link",
         [](const fs::path& d) { fs::create_symlink(d / "other", d / kInstanceLockFileName); }, ""},
        {"a folder", [](const fs::path& d) { fs::create_directory(d / kInstanceLockFileName); },
         ""},
        {"no installation directory", [](const fs::path&) {}, "missing"},
    };
    for (const Case& c : cases) {
        CScratchDir dir;
        ASSERT_TRUE(WriteFileBytes(dir.Path() / "other", "keep"));
        c.prepare(dir.Path());
        const CInstanceLock lock = CInstanceLock::Acquire((dir.Path() / c.strDir).string());
        EXPECT_EQ(lock.State(), EState::kFailed) << c.pszName;
        EXPECT_FALSE(lock.Error().empty()) << c.pszName;
        EXPECT_EQ(ReadFileBytes(dir.Path() / "other"), "keep") << c.pszName;
    }
    EXPECT_EQ(CInstanceLock::Acquire("").State(), EState::kFailed);
}

} // namespace
} // namespace inkvale
