// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/HistoryRow.h"

#include "common/TestPaths.h"
#include "model/OnePage.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

namespace inkvale {
namespace {

std::tm Stamp() {
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 14;
    t.tm_min = 7;
    t.tm_sec = 9;
    return t;
}

COnePage Task(const std::string& path, int minX, int minY, int maxX, int maxY) {
    COnePage page;
    page.m_strPath = path;
    page.m_nMinX = minX;
    page.m_nMinY = minY;
    page.m_nMaxX = maxX;
    page.m_nMaxY = maxY;
    return page;
}

TEST(HistoryRow, FormatCases) {
    struct Case {
        COnePage task;
        const char* row;
    };
    const Case cases[] = {
        {Task("/cut/a.plt", 0, 0, 40000, 20000),
         "2024-03-05_14:07:09,/cut/a.plt,1,len=1000.00mm,width=500.00mm\n"},
        {Task("/cut/b.plt", 100, -20, 50120, 59980),
         "2024-03-05_14:07:09,/cut/b.plt,1,len=1250.50mm,width=1500.00mm\n"},
        // 3 units are 0.075000...01 mm in binary, which rounds up as "%.2f" does.
        {Task("/裁床/款式 ü.plt", 0, 0, 1, 3),
         "2024-03-05_14:07:09,/裁床/款式 ü.plt,1,len=0.03mm,width=0.08mm\n"},
        // The box spans the whole int32 range without overflowing.
        {Task("x", -2147483647 - 1, 0, 2147483647, 0),
         "2024-03-05_14:07:09,x,1,len=107374182.38mm,width=0.00mm\n"},
        // A line break in a file name cannot split the row.
        {Task("/a\nb\r.plt", 0, 0, 0, 0),
         "2024-03-05_14:07:09,/a_b_.plt,1,len=0.00mm,width=0.00mm\n"},
        // A comma or a quote is kept inside one quoted field (RFC 4180).
        {Task("/cut/a,b.plt", 0, 0, 40, 40),
         "2024-03-05_14:07:09,\"/cut/a,b.plt\",1,len=1.00mm,width=1.00mm\n"},
        {Task("/cut/5\" \"x\".plt", 0, 0, 40, 40),
         "2024-03-05_14:07:09,\"/cut/5\"\" \"\"x\"\".plt\",1,len=1.00mm,width=1.00mm\n"},
        // A spreadsheet would run a field starting like a formula; the quote makes it text.
        {Task("=HYPERLINK(\"http://x\",\"y\")", 0, 0, 40, 40),
         "2024-03-05_14:07:09,\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\",1,len=1.00mm,"
         "width=1.00mm\n"},
        {Task("+1.plt", 0, 0, 40, 40),
         "2024-03-05_14:07:09,\"'+1.plt\",1,len=1.00mm,width=1.00mm\n"},
        {Task("-1.plt", 0, 0, 40, 40),
         "2024-03-05_14:07:09,\"'-1.plt\",1,len=1.00mm,width=1.00mm\n"},
        {Task("@SUM(A1).plt", 0, 0, 40, 40),
         "2024-03-05_14:07:09,\"'@SUM(A1).plt\",1,len=1.00mm,width=1.00mm\n"},
        {Task("\tx.plt", 0, 0, 40, 40),
         "2024-03-05_14:07:09,\"'\tx.plt\",1,len=1.00mm,width=1.00mm\n"},
        // Only the first character counts.
        {Task("/cut/=a-b+c@d.plt", 0, 0, 40, 40),
         "2024-03-05_14:07:09,/cut/=a-b+c@d.plt,1,len=1.00mm,width=1.00mm\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatHistoryRow(c.task, Stamp()), c.row) << c.task.m_strPath;
}

TEST(HistoryRow, AppendKeepsEarlierRowsAndCreatesTheFile) {
    test::CScratchDir dir;
    const std::string path = dir.File("history.csv");
    AppendHistoryRow(Task("/a.plt", 0, 0, 400, 400), path);
    ASSERT_TRUE(test::WriteFileBytes(path, test::ReadFileBytes(path) + "kept\n"));
    AppendHistoryRow(Task("/b.plt", 0, 0, 40, 80), path);
    const std::string text = test::ReadFileBytes(path);
    const size_t first = text.find('\n');
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(text.find(",/a.plt,1,len=10.00mm,width=10.00mm\n"), std::string::npos);
    EXPECT_EQ(text.substr(first + 1, 5), "kept\n");
    const std::string last = ",/b.plt,1,len=1.00mm,width=2.00mm\n";
    ASSERT_GT(text.size(), last.size());
    EXPECT_EQ(text.substr(text.size() - last.size()), last);
    EXPECT_EQ(text.find('\r'), std::string::npos);
}

TEST(HistoryRow, ALinkIsNeverWrittenThrough) {
    test::CScratchDir dir;
    const std::string target = dir.File("target.csv");
    ASSERT_TRUE(test::WriteFileBytes(target, "mine\n"));
    const std::string link = dir.File("history.csv");
    const std::string dangling = dir.File("dangling.csv");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    ASSERT_EQ(::symlink(dir.File("made.csv").c_str(), dangling.c_str()), 0);
    AppendHistoryRow(Task("/a.plt", 0, 0, 1, 1), link);
    AppendHistoryRow(Task("/a.plt", 0, 0, 1, 1), dangling);
    EXPECT_EQ(test::ReadFileBytes(target), "mine\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("made.csv")));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
}

TEST(HistoryRow, MissingFolderIsSilent) {
    test::CScratchDir dir;
    const std::string path = dir.File("no/such/history.csv");
    AppendHistoryRow(Task("/a.plt", 0, 0, 1, 1), path);
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
} // namespace inkvale
