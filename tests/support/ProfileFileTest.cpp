// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ProfileFile.h"

#include "common/TestPaths.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <string>

namespace inkvale {
namespace {

using test::CScratchDir;
using test::ReadFileBytes;
using test::WriteFileBytes;
using namespace std::string_literals;

TEST(ProfileFile, IntegersFromLeadingDigits) {
    struct Case {
        const char* text;
        int32_t value;
    };
    const Case cases[] = {
        {"12", 12},
        {"-939523969", -939523969},
        {"  42  ", 42},
        {"12abc", 12},
        {"abc", 0},
        {"-", 0},
        {"+7", 7},
        {"- 5", 0},
        {"3.9", 3},
        {"0x1F", 0},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        // Beyond 32 bits the value wraps modulo 2^32, never overflowing.
        {"2147483648", INT_MIN},
        {"4294967295", -1},
        {"4294967296", 0},
        {"3355443327", -939523969}, // 127.0.0.200 (0xC800007F) written unsigned
        {"12345678901234567890", -350287150},
        {"-12345678901234567890", 350287150},
        {"99999999999999999999999999999999999999", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CProfileFile::ParseInt(c.text), c.value) << c.text;
}

TEST(ProfileFile, ReadingFollowsTheProfileRules) {
    CProfileFile ini;
    ini.Parse("Stray=1\n"
              "[Other]\n"
              "Number=5\n"
              "[ para ]\n"
              "  Number = 17 \n"
              "number=99\n"
              "Empty=\n"
              "Text=  hello world  \n"
              "Eq=a=b\n"
              ";Commented=3\n"
              "no equals sign\n"
              "[Para]\n"
              "Late=1\n");
    struct Case {
        const char* key;
        int32_t intValue; // with default -1
        const char* text; // with default "<def>"
    };
    const Case cases[] = {
        {"Number", 17, "17"},       // first section named para, blanks ignored, first key
        {"NUMBER", 17, "17"},       // names are case-insensitive
        {"Empty", -1, ""},          // empty value: integer default, empty text
        {"Text", 0, "hello world"}, // blanks around the value dropped
        {"Eq", 0, "a=b"},           // the value starts after the first '='
        {"Commented", -1, "<def>"}, // comment lines hold no keys
        {"Stray", -1, "<def>"},     // lines before any section belong to none
        {"Late", -1, "<def>"},      // a repeated section is never read
        {"no equals sign", -1, "<def>"},
        {"Missing", -1, "<def>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ini.GetInt("Para", c.key, -1), c.intValue) << c.key;
        EXPECT_EQ(ini.GetString("Para", c.key, "<def>"), c.text) << c.key;
    }
    EXPECT_EQ(ini.GetInt("Other", "Number", -1), 5);
    EXPECT_EQ(ini.GetInt("Missing", "Number", -1), -1);
}

TEST(ProfileFile, BadInputLoadsWithoutHarm) {
    const std::string longValue(10000, 'x');
    std::string cjk;
    for (int i = 0; i < 5000; ++i)
        cjk += "中";
    struct Case {
        const char* name;
        std::string text;
        int32_t intValue;        // key K, default -1
        std::string stringValue; // key K, default "<def>"
    };
    const Case cases[] = {
        {"empty file", "", -1, "<def>"},
        {"no section", "K=5\n", -1, "<def>"},
        {"unclosed header", "[Para\nK=5\n", -1, "<def>"},
        {"duplicate keys", "[Para]\nK=1\nK=2\n", 1, "1"},
        {"garbage lines", "\x01\x02\xFF\n[]\n[Para]\n=\n==\n]]\nK=3\n", 3, "3"},
        {"NUL inside value", "[Para]\nK=4\0zz\n"s, 4, "4"},
        {"NUL in key line", "[Para]\n\0K=1\nK=6\n"s, 6, "6"},
        {"CR only line ends", "[Para]\rK=1\r", -1, "<def>"},
        {"CR inside a value", "[Para]\nK=a\rb\r\r\n", 0, "a\rb"},
        {"blank before NUL", "[Para]\nK=ab \0cd"s, 0, "ab"},
        {"over-long value", "[Para]\nK=" + longValue + "\n", 0, std::string(4095, 'x')},
        {"over-long CJK value", "[Para]\nK=" + cjk, 0, cjk.substr(0, 4095 * 3)},
        {"invalid UTF-8 counted per byte", "[Para]\nK=" + std::string(5000, '\x80'), 0,
         std::string(4095, '\x80')},
        {"truncated sequence at the end", "[Para]\nK=ab\xE4\xB8", 0, "ab\xE4\xB8"},
        {"over-long key line", "[Para]\n" + longValue + "=1\nK=7\n", 7, "7"},
        {"BOM and CRLF", "\xEF\xBB\xBF[Para]\r\nK=8\r\n", 8, "8"},
    };
    for (const Case& c : cases) {
        CProfileFile ini;
        ini.Parse(c.text);
        EXPECT_EQ(ini.GetInt("Para", "K", -1), c.intValue) << c.name;
        EXPECT_EQ(ini.GetString("Para", "K", "<def>"), c.stringValue) << c.name;
    }
}

TEST(ProfileFile, WritingReplacesInPlaceOrAppendsToTheSection) {
    CProfileFile ini;
    ini.Parse("; settings\n[Para]\nA=1\nB=2\n\n[Other]\nA=9\n");
    ini.SetInt("Para", "b", -3);
    ini.SetString("Para", "C", "new");
    ini.SetString("Third", "D", "x");
    EXPECT_EQ(ini.Text(), "; settings\n[Para]\nA=1\nB=-3\nC=new\n\n[Other]\nA=9\n\n[Third]\nD=x\n");

    CProfileFile fresh;
    fresh.SetInt("Para", "A", 1);
    fresh.SetInt("Para", "B", 2);
    EXPECT_EQ(fresh.Text(), "[Para]\nA=1\nB=2\n");
}

TEST(ProfileFile, WritingKeepsLineEndsBomAndOneLinePerKey) {
    CProfileFile ini;
    ini.Parse("\xEF\xBB\xBF[Para]\r\nA=1\r\n");
    ini.SetString("Para", "B", "first\r\nA=666");
    ini.SetString("Para", "C", "x\0y"s);
    EXPECT_EQ(ini.Text(), "\xEF\xBB\xBF[Para]\r\nA=1\r\nB=first\r\nC=x\r\n");

    CProfileFile reread;
    reread.Parse(ini.Text());
    EXPECT_EQ(reread.GetInt("Para", "A", -1), 1);
}

TEST(ProfileFile, SaveAndLoadKeepTextsByteForByte) {
    CScratchDir dir;
    const std::string path = dir.File("t.ini");
    const std::string texts[] = {"欢迎使用喷墨绘图仪", "Çalışma/Klasör/", "Привет", "\xFF\xFE raw"};
    CProfileFile ini;
    for (size_t i = 0; i < std::size(texts); ++i)
        ini.SetString("Para", "K" + std::to_string(i), texts[i]);
    ASSERT_TRUE(ini.Save(path));
    CProfileFile loaded;
    ASSERT_TRUE(loaded.Load(path));
    for (size_t i = 0; i < std::size(texts); ++i)
        EXPECT_EQ(loaded.GetString("Para", "K" + std::to_string(i), ""), texts[i]);
    EXPECT_EQ(ReadFileBytes(path), ini.Text());
}

TEST(ProfileFile, UnreadableFilesGiveAnEmptyProfile) {
    CScratchDir dir;
    CProfileFile ini;
    EXPECT_FALSE(ini.Load(dir.File("missing.ini")));
    EXPECT_FALSE(ini.Load(dir.Path().string())); // a folder

    ASSERT_TRUE(WriteFileBytes(dir.File("big.ini"),
                               "[Para]\nK=1\n" + std::string(CProfileFile::kMaxFileBytes, ';')));
    EXPECT_FALSE(ini.Load(dir.File("big.ini")));
    EXPECT_EQ(ini.GetInt("Para", "K", -1), -1);

    // A FIFO without a writer must not block the reader.
    const std::string fifo = dir.File("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(ini.Load(fifo));
    EXPECT_EQ(ini.Text(), "");
}

// Nothing there means no settings yet; something there that cannot be read may hold the
// operator's settings.
TEST(ProfileFile, MissingIsToldFromUnreadable) {
    using ELoad = CProfileFile::ELoad;
    CScratchDir dir;
    const std::string small = dir.File("small.ini");
    const std::string limit = dir.File("limit.ini");
    const std::string big = dir.File("big.ini");
    const std::string fifo = dir.File("fifo.ini");
    const std::string dangling = dir.File("dangling.ini");
    const std::string linked = dir.File("linked.ini");
    ASSERT_TRUE(WriteFileBytes(small, "[Para]\nK=1\n"));
    ASSERT_TRUE(WriteFileBytes(limit, std::string(CProfileFile::kMaxFileBytes, ';')));
    ASSERT_TRUE(WriteFileBytes(big, std::string(CProfileFile::kMaxFileBytes + 1, ';')));
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(::symlink(dir.File("nothing.ini").c_str(), dangling.c_str()), 0);
    ASSERT_EQ(::symlink(small.c_str(), linked.c_str()), 0);
    struct Case {
        std::string path;
        ELoad eLoad;
    };
    const Case cases[] = {
        {small, ELoad::kRead},       {limit, ELoad::kRead},
        {linked, ELoad::kRead},      {dir.File("missing.ini"), ELoad::kMissing},
        {dangling, ELoad::kMissing}, {small + "/below.ini", ELoad::kMissing},
        {big, ELoad::kUnreadable},   {dir.Path().string(), ELoad::kUnreadable},
        {fifo, ELoad::kUnreadable},
    };
    for (const Case& c : cases) {
        CProfileFile ini;
        EXPECT_EQ(ini.LoadFile(c.path), c.eLoad) << c.path;
        EXPECT_EQ(ini.Load(c.path), c.eLoad == ELoad::kRead) << c.path;
    }
    if (::geteuid() == 0)
        return; // permissions do not stop root
    ASSERT_EQ(::chmod(small.c_str(), 0200), 0);
    CProfileFile ini;
    EXPECT_EQ(ini.LoadFile(small), ELoad::kUnreadable);
}

class ProfileFileSave : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteFileBytes(m_strPath, kOld));
        m_ini.Parse(kOld);
        m_ini.SetString("Para", "K", std::string(4000, 'n'));
    }
    static constexpr const char* kOld = "[Para]\nK=old\n";
    CScratchDir m_dir;
    std::string m_strPath = m_dir.File("Inkvale.ini");
    CProfileFile m_ini;
};

TEST_F(ProfileFileSave, ReplacesTheFileAndKeepsItsMode) {
    ASSERT_EQ(::chmod(m_strPath.c_str(), 0640), 0);
    ASSERT_TRUE(m_ini.Save(m_strPath));
    EXPECT_EQ(ReadFileBytes(m_strPath), m_ini.Text());
    struct stat st {};
    ASSERT_EQ(::stat(m_strPath.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path()), {}), 1);
}

TEST_F(ProfileFileSave, FailedWriteKeepsTheOldContents) {
    // A file size limit makes the write of the new contents fail midway, whoever runs the
    // test (permissions do not stop root).
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small = old;
    small.rlim_cur = 1000;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool bSaved = m_ini.Save(m_strPath);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(bSaved);
    EXPECT_EQ(ReadFileBytes(m_strPath), kOld);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path()), {}), 1);
}

TEST_F(ProfileFileSave, UnwritableTargetsKeepTheirContents) {
    EXPECT_FALSE(m_ini.Save(m_dir.Path().string())); // a folder is not replaced
    EXPECT_FALSE(m_ini.Save(m_dir.File("no/such/folder/Inkvale.ini")));
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
    ASSERT_EQ(::chmod(m_strPath.c_str(), 0444), 0);
    EXPECT_FALSE(m_ini.Save(m_strPath));
    EXPECT_EQ(ReadFileBytes(m_strPath), kOld);
}

TEST_F(ProfileFileSave, SavingThroughALinkUpdatesItsTarget) {
    const std::string link = m_dir.File("link.ini");
    ASSERT_EQ(::symlink(m_strPath.c_str(), link.c_str()), 0);
    ASSERT_TRUE(m_ini.Save(link));
    EXPECT_EQ(ReadFileBytes(m_strPath), m_ini.Text());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
}

} // namespace
} // namespace inkvale
