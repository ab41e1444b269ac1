// SPDX-License-Identifier: GPL-3.0-or-later
// Removed hot-folder files: the home trash and its .trashinfo, numbered names on
// collision, restore, the Printed/ fallback and its pruning, Rejected/ with the reason,
// and files that are not regular files left alone.

#include "queue/FileDisposal.h"
#include "common/TestPaths.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace inkvale::test {
namespace {

namespace fs = std::filesystem;

// 2023-11-14 22:13:20 UTC.
constexpr std::time_t kNow = 1'700'000'000;
constexpr std::time_t kDay = 24 * 60 * 60;

/// Sets an environment variable (nullptr: unsets it) for the life of the object.
class CEnvVar {
public:
    CEnvVar(const char* pszName, const char* pszValue) : m_strName(pszName) {
        if (const char* pszOld = ::getenv(pszName))
            m_old = pszOld;
        Set(pszValue);
    }
    ~CEnvVar() { Set(m_old ? m_old->c_str() : nullptr); }
    CEnvVar(const CEnvVar&) = delete;
    CEnvVar& operator=(const CEnvVar&) = delete;

    void Set(const char* pszValue) {
        if (pszValue == nullptr)
            ::unsetenv(m_strName.c_str());
        else
            ::setenv(m_strName.c_str(), pszValue, 1);
        ::tzset(); // for TZ
    }

private:
    std::string m_strName;
    std::optional<std::string> m_old;
};

/// A scratch folder on the RAM file system /dev/shm, removed when the object dies; empty
/// where there is none.
class CShmDir {
public:
    CShmDir() {
        char szTemplate[] = "/dev/shm/inkvale-test-XXXXXX";
        if (::mkdtemp(szTemplate) != nullptr)
            m_path = szTemplate;
    }
    ~CShmDir() {
        std::error_code ec;
        if (!m_path.empty())
            fs::remove_all(m_path, ec);
    }
    CShmDir(const CShmDir&) = delete;
    CShmDir& operator=(const CShmDir&) = delete;
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

std::vector<std::string> Names(const fs::path& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

/// Hot folders in a scratch folder (<root>/hot/auto/), the trash in <root>/data, the home
/// in <root>/home, and local time UTC.
class FileDisposal : public ::testing::Test {
protected:
    FileDisposal()
        : m_root(fs::canonical(m_scratch.Path())), m_auto(m_root / "hot" / "auto"),
          m_home("HOME", (m_root / "home").c_str()),
          m_data("XDG_DATA_HOME", (m_root / "data").c_str()), m_tz("TZ", "UTC") {
        fs::create_directories(m_auto);
    }

    // A drawing in the automatic folder; its contents are its name unless given.
    std::string Drawing(const std::string& strName, const std::string& strBytes = {}) {
        const fs::path path = m_auto / strName;
        EXPECT_TRUE(WriteFileBytes(path, strBytes.empty() ? strName : strBytes));
        return path.string();
    }
    // Makes the home trash impossible: its data folder is a file.
    void BlockTrash() {
        const fs::path file = m_root / "blocked";
        ASSERT_TRUE(WriteFileBytes(file, "not a folder"));
        m_data.Set(file.c_str());
    }
    fs::path Trash() const { return m_root / "data" / "Trash"; }
    fs::path Printed() const { return m_root / "hot" / "Printed"; }
    fs::path Rejected() const { return m_root / "hot" / "Rejected"; }

    CScratchDir m_scratch;
    fs::path m_root;
    fs::path m_auto;
    CEnvVar m_home;
    CEnvVar m_data;
    CEnvVar m_tz;
};

TEST_F(FileDisposal, TrashHoldsTheFileAndItsInfoWithThePercentEncodedPath) {
    const std::string strPath = Drawing("50% #2 Ärmel.plt", "IN;PU0,0;");
    const CDisposal record = MoveToTrash(strPath, kNow);
    ASSERT_TRUE(record.Ok()) << record.m_strDiag;
    EXPECT_EQ(record.m_eWhere, EDisposal::kTrash);
    EXPECT_EQ(record.m_strOriginal, strPath);
    EXPECT_EQ(record.m_strPath, (Trash() / "files" / "50% #2 Ärmel.plt").string());
    EXPECT_EQ(record.m_strSidecar, (Trash() / "info" / "50% #2 Ärmel.plt.trashinfo").string());
    EXPECT_FALSE(Exists(strPath));
    EXPECT_EQ(ReadFileBytes(record.m_strPath), "IN;PU0,0;");
    EXPECT_EQ(ReadFileBytes(record.m_strSidecar),
              "[Trash Info]\nPath=" + m_auto.string() +
                  "/50%25%20%232%20%C3%84rmel.plt\nDeletionDate=2023-11-14T22:13:20\n");
}

TEST_F(FileDisposal, TrashIsUnderXdgDataHomeOrElseTheHomeFolder) {
    struct Case {
        std::optional<std::string> dataHome; // none: unset
        fs::path trash;
    };
    const fs::path homeTrash = m_root / "home" / ".local" / "share" / "Trash";
    const Case cases[] = {
        {(m_root / "data").string(), Trash()},
        {std::nullopt, homeTrash},
        {"", homeTrash},
        {"relative/data", homeTrash},
    };
    for (const Case& c : cases) {
        const std::string strData = c.dataHome.value_or("(unset)");
        m_data.Set(c.dataHome ? c.dataHome->c_str() : nullptr);
        const CDisposal record = MoveToTrash(Drawing("a.plt"), kNow);
        EXPECT_EQ(record.m_eWhere, EDisposal::kTrash) << strData;
        EXPECT_EQ(record.m_strPath, (c.trash / "files" / "a.plt").string()) << strData;
        std::error_code ec;
        fs::remove_all(c.trash, ec);
    }
}

TEST_F(FileDisposal, TakenNamesInTheTrashGetNumberedNamesAndStayAsTheyWere) {
    // A file without its .trashinfo (left by some other program) holds marker.3.plt.
    fs::create_directories(Trash() / "files");
    ASSERT_TRUE(WriteFileBytes(Trash() / "files" / "marker.3.plt", "someone else's"));
    std::vector<std::string> paths;
    for (const char* pszBytes : {"first", "second", "third"}) {
        const CDisposal record = MoveToTrash(Drawing("marker.plt", pszBytes), kNow);
        ASSERT_TRUE(record.Ok()) << record.m_strDiag;
        EXPECT_EQ(ReadFileBytes(record.m_strPath), pszBytes);
        paths.push_back(fs::path(record.m_strPath).filename().string());
    }
    EXPECT_EQ(paths, (std::vector<std::string>{"marker.plt", "marker.2.plt", "marker.4.plt"}));
    EXPECT_EQ(ReadFileBytes(Trash() / "files" / "marker.3.plt"), "someone else's");
    EXPECT_EQ(Names(Trash() / "info"),
              (std::vector<std::string>{"marker.2.plt.trashinfo", "marker.4.plt.trashinfo",
                                        "marker.plt.trashinfo"}));
}

TEST_F(FileDisposal, RestoreBringsTheFileBackFromEachPlaceAndRemovesItsSidecar) {
    struct Case {
        const char* pszWay;
        EDisposal eWhere;
    };
    const Case cases[] = {
        {"trash", EDisposal::kTrash},
        {"printed", EDisposal::kPrinted},
        {"rejected", EDisposal::kRejected},
    };
    for (const Case& c : cases) {
        const std::string strPath = Drawing("cut 7.plt", c.pszWay);
        if (c.eWhere == EDisposal::kPrinted)
            BlockTrash();
        const CDisposal record = c.eWhere == EDisposal::kRejected
                                     ? MoveToRejected(strPath, "why not", kNow)
                                     : MoveToTrash(strPath, kNow);
        ASSERT_EQ(record.m_eWhere, c.eWhere) << c.pszWay << ": " << record.m_strDiag;
        ASSERT_FALSE(Exists(strPath)) << c.pszWay;

        const CResult restored = RestoreFile(record);
        EXPECT_TRUE(restored.Ok()) << c.pszWay << ": " << restored.m_strDiag;
        EXPECT_EQ(ReadFileBytes(strPath), c.pszWay);
        EXPECT_FALSE(Exists(record.m_strPath)) << c.pszWay;
        EXPECT_EQ(record.m_strSidecar.empty(), c.eWhere == EDisposal::kPrinted) << c.pszWay;
        EXPECT_FALSE(!record.m_strSidecar.empty() && Exists(record.m_strSidecar)) << c.pszWay;
        fs::remove(strPath);
    }
}

TEST_F(FileDisposal, RestoreNeverReplacesAFileAtTheOriginalPath) {
    const std::string strPath = Drawing("marker.plt", "removed");
    const CDisposal record = MoveToTrash(strPath, kNow);
    ASSERT_TRUE(record.Ok()) << record.m_strDiag;
    ASSERT_TRUE(WriteFileBytes(strPath, "new version"));

    const CResult restored = RestoreFile(record);
    EXPECT_EQ(restored.m_nCode, kDisposeTaken);
    EXPECT_NE(restored.m_strDiag.find(strPath), std::string::npos) << restored.m_strDiag;
    EXPECT_NE(restored.m_strDiag.find(record.m_strPath), std::string::npos) << restored.m_strDiag;
    EXPECT_EQ(ReadFileBytes(strPath), "new version");
    EXPECT_EQ(ReadFileBytes(record.m_strPath), "removed");
    EXPECT_TRUE(Exists(record.m_strSidecar));
}

TEST_F(FileDisposal, TrashOnAnotherFileSystemSendsTheFileToPrinted) {
    const CShmDir shm;
    struct stat stShm {};
    struct stat stHot {};
    if (shm.Path().empty() || ::stat(shm.Path().c_str(), &stShm) != 0 ||
        ::stat(m_auto.c_str(), &stHot) != 0 || stShm.st_dev == stHot.st_dev)
        GTEST_SKIP() << "no second file system at /dev/shm";
    m_data.Set(shm.Path().c_str());

    const std::string strPath = Drawing("marker.plt", "IN;");
    const CDisposal record = MoveToTrash(strPath, kNow);
    ASSERT_TRUE(record.Ok()) << record.m_strDiag;
    EXPECT_EQ(record.m_eWhere, EDisposal::kPrinted);
    EXPECT_EQ(record.m_strPath, (Printed() / "20231114-221320_marker.plt").string());
    EXPECT_EQ(ReadFileBytes(record.m_strPath), "IN;");
    EXPECT_FALSE(Exists(strPath));
    EXPECT_EQ(Names(shm.Path() / "Trash" / "info"), std::vector<std::string>{});
}

TEST_F(FileDisposal, PrintedTakesFilesWhenNoTrashCanBeMadeAndNumbersTakenNames) {
    BlockTrash();
    std::vector<std::string> names;
    for (const char* pszBytes : {"first", "second"}) {
        const CDisposal record = MoveToTrash(Drawing("marker.plt", pszBytes), kNow);
        ASSERT_EQ(record.m_eWhere, EDisposal::kPrinted) << record.m_strDiag;
        EXPECT_EQ(ReadFileBytes(record.m_strPath), pszBytes);
        names.push_back(fs::path(record.m_strPath).filename().string());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"20231114-221320_marker.plt",
                                               "20231114-221320-2_marker.plt"}));
}

TEST_F(FileDisposal, FileStaysWhereItIsWhenNeitherTrashNorPrintedTakesIt) {
    BlockTrash();
    ASSERT_TRUE(WriteFileBytes(Printed(), "a file where the folder would be"));
    const std::string strPath = Drawing("marker.plt", "IN;");
    const CDisposal record = MoveToTrash(strPath, kNow);
    EXPECT_EQ(record.m_nCode, kDisposeNoPlace);
    EXPECT_EQ(record.m_eWhere, EDisposal::kNone);
    EXPECT_NE(record.m_strDiag.find("Printed"), std::string::npos) << record.m_strDiag;
    EXPECT_EQ(ReadFileBytes(strPath), "IN;");
}

TEST_F(FileDisposal, NothingButARegularFileIsMoved) {
    const std::string strTarget = Drawing("target.plt", "IN;");
    fs::create_symlink(strTarget, m_auto / "link.plt");
    fs::create_directory(m_auto / "folder.plt");
    ASSERT_EQ(::mkfifo((m_auto / "fifo.plt").c_str(), 0600), 0);
    for (const char* pszName : {"link.plt", "folder.plt", "fifo.plt", "missing.plt", ""}) {
        const std::string strPath = (m_auto / pszName).string();
        const CDisposal trashed = MoveToTrash(strPath, kNow);
        EXPECT_EQ(trashed.m_nCode, kDisposeNotRegular) << pszName;
        const CDisposal rejected = MoveToRejected(strPath, "refused", kNow);
        EXPECT_EQ(rejected.m_nCode, kDisposeNotRegular) << pszName;
    }
    EXPECT_EQ(Names(m_auto),
              (std::vector<std::string>{"fifo.plt", "folder.plt", "link.plt", "target.plt"}));
    EXPECT_EQ(ReadFileBytes(strTarget), "IN;");
    EXPECT_FALSE(Exists(Trash() / "files"));
    EXPECT_FALSE(Exists(Rejected()));
}

TEST_F(FileDisposal, RejectedFileGetsItsReasonAndNeverReplacesAnother) {
    const std::string strReason = "HP-GL: unknown instruction «ZZ» at byte 12";
    const std::string strFirst = Drawing("bad.plt", "first");
    const CDisposal first = MoveToRejected(strFirst, strReason, kNow);
    ASSERT_TRUE(first.Ok()) << first.m_strDiag;
    EXPECT_EQ(first.m_eWhere, EDisposal::kRejected);
    EXPECT_EQ(first.m_strPath, (Rejected() / "bad.plt").string());
    EXPECT_EQ(first.m_strSidecar, (Rejected() / "bad.plt.why.txt").string());
    EXPECT_EQ(ReadFileBytes(first.m_strSidecar),
              "File: " + strFirst + "\nRefused: 2023-11-14 22:13:20\nReason: " + strReason + "\n");
    EXPECT_FALSE(Exists(strFirst));

    const CDisposal second = MoveToRejected(Drawing("bad.plt", "second"), "empty", kNow + 60);
    ASSERT_TRUE(second.Ok()) << second.m_strDiag;
    EXPECT_EQ(second.m_strPath, (Rejected() / "bad.2.plt").string());
    EXPECT_EQ(ReadFileBytes(second.m_strPath), "second");
    EXPECT_NE(ReadFileBytes(second.m_strSidecar).find("Reason: empty\n"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(first.m_strPath), "first");
    EXPECT_EQ(ReadFileBytes(first.m_strSidecar).find("Reason: empty"), std::string::npos);
}

TEST_F(FileDisposal, RejectedFileStaysWhenRejectedCannotBeMade) {
    ASSERT_TRUE(WriteFileBytes(Rejected(), "a file where the folder would be"));
    const std::string strPath = Drawing("bad.plt", "IN;");
    const CDisposal record = MoveToRejected(strPath, "refused", kNow);
    EXPECT_EQ(record.m_nCode, kDisposeNoPlace);
    EXPECT_NE(record.m_strDiag.find(Rejected().string()), std::string::npos) << record.m_strDiag;
    EXPECT_EQ(ReadFileBytes(strPath), "IN;");
}

TEST_F(FileDisposal, PruneRemovesPrintedFilesByTheRemovalTimeInTheirNames) {
    fs::create_directories(Printed() / "20200101-000000_folder");
    struct Case {
        const char* pszName;
        bool bKept;
    };
    const Case cases[] = {
        {"20231014-221320_a.plt", false},                        // 31 days
        {"20231015-221320-2_b.plt", false},                      // exactly 30 days
        {"20231015-221321_c.plt", true},                         // a second less
        {"20231110-080000_d.plt", true},    {"notes.txt", true}, // not named by a removal
        {"2023101-221320_e.plt", true},                          // a digit short
        {"20231014-221320_", true},                              // no name after the time
        {"20231014-221320-x_f.plt", true},
    };
    for (const Case& c : cases)
        ASSERT_TRUE(WriteFileBytes(Printed() / c.pszName, "IN;"));
    fs::create_symlink(Printed() / "notes.txt", Printed() / "20200101-000000_link.plt");

    EXPECT_EQ(PrunePrinted(Printed().string(), -1, kNow).m_nRemoved, 0);
    const CPruneResult pruned = PrunePrinted(Printed().string(), 30, kNow);
    EXPECT_TRUE(pruned.Ok()) << pruned.m_strDiag;
    EXPECT_EQ(pruned.m_nRemoved, 2);
    for (const Case& c : cases)
        EXPECT_EQ(Exists(Printed() / c.pszName), c.bKept) << c.pszName;
    EXPECT_TRUE(Exists(Printed() / "20200101-000000_folder"));
    EXPECT_TRUE(Exists(Printed() / "20200101-000000_link.plt"));
}

TEST_F(FileDisposal, PruneReadsTheNamesThatTheFallbackWrites) {
    BlockTrash();
    const CDisposal record = MoveToTrash(Drawing("marker.plt"), kNow);
    ASSERT_EQ(record.m_eWhere, EDisposal::kPrinted) << record.m_strDiag;
    EXPECT_EQ(PrunePrinted(Printed().string(), 7, kNow + 7 * kDay - 1).m_nRemoved, 0);
    EXPECT_TRUE(Exists(record.m_strPath));
    EXPECT_EQ(PrunePrinted(Printed().string(), 7, kNow + 7 * kDay).m_nRemoved, 1);
    EXPECT_FALSE(Exists(record.m_strPath));
}

} // namespace
} // namespace inkvale::test
