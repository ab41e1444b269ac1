// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/PlaceFile.h"

#include "common/TestPaths.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <string>
#include <thread>

namespace inkvale {
namespace {

namespace fs = std::filesystem;
using test::CScratchDir;
using test::ReadFileBytes;
using test::WriteFileBytes;

// What is at the target name decides; whatever is there is never replaced.
TEST(PlaceFile, PlacesOnlyWhereNothingIs) {
    enum class ETarget { kNothing, kFile, kDanglingLink, kEmptyFolder };
    struct CCase {
        ETarget eTarget;
        EPlaced eExpected;
    };
    const CCase kCases[] = {{.eTarget = ETarget::kNothing, .eExpected = EPlaced::kPlaced},
                            {.eTarget = ETarget::kFile, .eExpected = EPlaced::kExists},
                            {.eTarget = ETarget::kDanglingLink, .eExpected = EPlaced::kExists},
                            {.eTarget = ETarget::kEmptyFolder, .eExpected = EPlaced::kExists}};
    for (const CCase& c : kCases) {
        SCOPED_TRACE(static_cast<int>(c.eTarget));
        CScratchDir dir;
        const std::string strFrom = (dir.Path() / "incoming.part").string();
        const std::string strTo = (dir.Path() / "m1.plt").string();
        ASSERT_TRUE(WriteFileBytes(strFrom, "new"));
        if (c.eTarget == ETarget::kFile) {
            ASSERT_TRUE(WriteFileBytes(strTo, "old"));
        }
        if (c.eTarget == ETarget::kDanglingLink) {
            ASSERT_EQ(::symlink("nowhere", strTo.c_str()), 0);
        }
        if (c.eTarget == ETarget::kEmptyFolder) {
            ASSERT_TRUE(fs::create_directory(strTo));
        }
        errno = 0;
        EXPECT_EQ(PlaceWithoutReplacing(strFrom, strTo), c.eExpected);
        if (c.eExpected == EPlaced::kPlaced) {
            EXPECT_FALSE(fs::exists(strFrom));
            EXPECT_EQ(ReadFileBytes(strTo), "new");
            continue;
        }
        EXPECT_EQ(errno, EEXIST);
        EXPECT_EQ(ReadFileBytes(strFrom), "new");
        if (c.eTarget == ETarget::kFile) {
            EXPECT_EQ(ReadFileBytes(strTo), "old");
        }
    }
}

TEST(PlaceFile, PlacesFoldersAndFailsOnAMissingSource) {
    CScratchDir dir;
    const std::string strHidden = (dir.Path() / ".job.new").string();
    ASSERT_TRUE(fs::create_directory(strHidden));
    ASSERT_TRUE(WriteFileBytes(strHidden + "/journal", "x"));
    const std::string strJob = (dir.Path() / "job-1").string();
    EXPECT_EQ(PlaceWithoutReplacing(strHidden, strJob), EPlaced::kPlaced);
    EXPECT_EQ(ReadFileBytes(strJob + "/journal"), "x");
    EXPECT_EQ(PlaceWithoutReplacing(strHidden, (dir.Path() / "job-2").string()), EPlaced::kFailed);
    EXPECT_EQ(errno, ENOENT);
}

// Two writers racing for one name: exactly one gets it each time, and the other's file stays
// under its own name.
TEST(PlaceFile, OneOfTwoRacingWritersWins) {
    CScratchDir dir;
    for (int nRound = 0; nRound < 100; ++nRound) {
        const std::string strTo = (dir.Path() / ("m" + std::to_string(nRound) + ".plt")).string();
        const std::string strA = (dir.Path() / "a.part").string();
        const std::string strB = (dir.Path() / "b.part").string();
        ASSERT_TRUE(WriteFileBytes(strA, "a"));
        ASSERT_TRUE(WriteFileBytes(strB, "b"));
        std::atomic<int> nGo{0};
        EPlaced eA = EPlaced::kFailed;
        EPlaced eB = EPlaced::kFailed;
        std::thread other([&] {
            nGo.fetch_add(1);
            while (nGo.load() < 2) {
            }
            eB = PlaceWithoutReplacing(strB, strTo);
        });
        nGo.fetch_add(1);
        while (nGo.load() < 2) {
        }
        eA = PlaceWithoutReplacing(strA, strTo);
        other.join();
        ASSERT_EQ((eA == EPlaced::kPlaced) + (eB == EPlaced::kPlaced), 1) << nRound;
        const std::string strLoser = eA == EPlaced::kPlaced ? strB : strA;
        EXPECT_EQ(ReadFileBytes(strTo), eA == EPlaced::kPlaced ? "a" : "b");
        EXPECT_TRUE(fs::exists(strLoser));
        fs::remove(strLoser);
    }
}

} // namespace
} // namespace inkvale
