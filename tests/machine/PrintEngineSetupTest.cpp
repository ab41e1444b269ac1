// SPDX-License-Identifier: GPL-3.0-or-later
// The steps of a job start outside the link: the working page, the band count, the carriage
// check and the backup file.

#include "common/TestPaths.h"
#include "config/MachineParams.h"
#include "config/Settings.h"
#include "machine/engine/JobSetup.h"
#include "model/HpglWriter.h"
#include "model/OnePage.h"
#include "raster/BandParams.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

namespace inkvale::test {
namespace {

COnePage Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    COnePage page;
    CCurve curve;
    curve.AddPoint(x0, y0);
    curve.AddPoint(x1, y1);
    page.m_arrCurves.push_back(curve);
    page.m_strName = "a.plt";
    page.CalcExtents();
    return page;
}

TEST(PrintEngineSetup, LeadInShiftsBySettingsAndCombination) {
    struct Case {
        int nComb;
        int32_t bClean;
        int nPrecise;
        int32_t nExpectedShift;
    } cases[] = {
        {0, 0, 0, 0},   {0, 1, 0, 1020}, {3, 1, 0, 2040}, {4, 1, 0, 2040},
        {2, 0, 1, 508}, {3, 0, 1, 1020}, {0, 1, 1, 1528}, {3, 1, 1, 3060},
    };
    for (const Case& c : cases) {
        CSettings settings;
        settings.SpAutoClean = c.bClean;
        CMachineParams params;
        params.SetHeadCombination(static_cast<uint8_t>(c.nComb));
        params.SetPreciseMode(static_cast<uint8_t>(c.nPrecise));
        COnePage work;
        PrepareWorkPage(work, Line(100, 0, 4100, 2000), settings, params);
        ASSERT_EQ(work.m_arrCurves.size(), 1u);
        EXPECT_EQ(work.m_arrCurves[0].m_arrPoints[0].x, 100 + c.nExpectedShift) << c.nComb;
        EXPECT_EQ(work.m_nMaxX, 4100 + c.nExpectedShift) << c.nComb;
    }
}

TEST(PrintEngineSetup, SizeCorrectionThenShiftThenStartPosition) {
    CSettings settings;
    settings.RatioSaveTo = 1;
    settings.XSizeExpect = 5000;
    settings.XSizeMeasure = 4000; // x 1.25
    settings.YSizeExpect = 5000;
    settings.YSizeMeasure = 10000; // y 0.5
    settings.SpAutoClean = 1;
    CMachineParams params; // combination 0: 1020 units of cleaning lead-in
    COnePage task = Line(0, 0, 8000, 4001);
    task.m_nStartMm = 10; // 400 units
    COnePage work;
    work.m_arrCurves.push_back(CCurve()); // whatever the working page held is dropped
    PrepareWorkPage(work, task, settings, params);
    ASSERT_EQ(work.m_arrCurves.size(), 1u);
    const auto& pts = work.m_arrCurves[0].m_arrPoints;
    EXPECT_EQ(pts[0].x, 1020 - 400);
    EXPECT_EQ(pts[1].x, 10000 + 1020 - 400);
    EXPECT_EQ(pts[1].y, 2000); // 4001 x 0.5 truncated
    EXPECT_EQ(work.m_nMaxX, 11020 - 400);
    EXPECT_EQ(work.m_nMinX, 1020);                         // the start position leaves minX alone
    EXPECT_EQ(task.m_arrCurves[0].m_arrPoints[1].x, 8000); // the task is not touched
}

TEST(PrintEngineSetup, BandCountWithLabelAndPrecise) {
    // 10 drawing bands of combination 0 (H 300): e = 2999 pixels.
    COnePage work = Line(0, 0, 10140, 4000);
    CBandParams params;
    int32_t nJobWidth = 0;
    EXPECT_EQ(CountJobBands(work, params, nJobWidth), 10);
    EXPECT_GT(nJobWidth, 0);
    params.m_bPrintFileName = true;
    EXPECT_EQ(CountJobBands(work, params, nJobWidth), 11);
    params.m_bPreciseMode = true;
    EXPECT_EQ(CountJobBands(work, params, nJobWidth), 22);
    // An empty box counts no drawing bands and leaves the job width as it was.
    COnePage empty;
    nJobWidth = 777;
    EXPECT_EQ(CountJobBands(empty, params, nJobWidth), 2);
    EXPECT_EQ(nJobWidth, 777);
}

TEST(PrintEngineSetup, CarriageCheckAtTheBoundary) {
    CMachineParams params;
    params.SetXDotsPerMetre(24612);
    params.SetCarriageTravelMm(2106);
    params.SetLeftOffsetMm(80);
    params.SetBufferLeftMm(20);
    params.SetBufferRightMm(20);
    EXPECT_EQ(CarriageDots(2106, 24612), 51832);
    EXPECT_TRUE(FitsCarriage(params, 12220));
    EXPECT_FALSE(FitsCarriage(params, 12221));
    // A travel beyond the buffers' reach still refuses what the raster cannot hold.
    params.SetCarriageTravelMm(60000);
    EXPECT_TRUE(FitsCarriage(params, 28000));
    EXPECT_FALSE(FitsCarriage(params, 28001));
    // A resolution whose 32-bit product would wrap still gives the true width.
    EXPECT_EQ(CarriageDots(65535, 0xFFFFFFFFu), int64_t{65535} * 0xFFFFFFFFu / 1000);
}

std::tm BackupTime() {
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 7;
    local.tm_hour = 9;
    local.tm_min = 5;
    local.tm_sec = 0;
    return local;
}

TEST(PrintEngineSetup, BackupName) {
    const std::tm local = BackupTime();
    EXPECT_EQ(BackupFileName("/b/", "x y.plt", local), "/b/2026-3-7-9H5M0S_x y.plt");
    // A second job of the same name in the same second keeps the first backup.
    CScratchDir dir;
    const std::string strDir = dir.Path().string() + "/";
    const COnePage task = Line(0, 0, 40, 40);
    const std::string strFirst = WriteBackupFile(task, strDir, local);
    EXPECT_EQ(strFirst, strDir + "2026-3-7-9H5M0S_a.plt");
    EXPECT_EQ(ReadFileBytes(strFirst), FormatHpgl(task));
    ASSERT_TRUE(WriteFileBytes(strFirst, "IN;"));
    const std::string strSecond = WriteBackupFile(task, strDir, local);
    EXPECT_EQ(strSecond, strDir + "2026-3-7-9H5M0S(2)_a.plt");
    EXPECT_EQ(WriteBackupFile(task, strDir, local), strDir + "2026-3-7-9H5M0S(3)_a.plt");
    EXPECT_EQ(ReadFileBytes(strFirst), "IN;");
    EXPECT_EQ(ReadFileBytes(strSecond), FormatHpgl(task));
    EXPECT_EQ(WriteBackupFile(task, strDir + "no/such/", local), "");
}

// A task read from a task file has only its path; its backup is named after that path's file.
TEST(PrintEngineSetup, BackupTaskName) {
    struct Case {
        const char* pszName;
        const char* pszPath;
        const char* pszResult;
    };
    const Case cases[] = {
        {"a.plt", "/cut/b.plt", "a.plt"},
        {"", "/cut/款式 b.plt", "款式 b.plt"},
        {"", "b.plt", "b.plt"},
        {"", "", ""},
        {"a.plt(1/3)", "/cut/a.plt(1/3)", "a.plt(1-3)"}, // a split piece
    };
    for (const Case& c : cases) {
        COnePage task;
        task.m_strName = c.pszName;
        task.m_strPath = c.pszPath;
        EXPECT_EQ(BackupTaskName(task), c.pszResult) << c.pszPath;
    }
    CScratchDir dir;
    COnePage loaded = Line(0, 0, 40, 40);
    loaded.m_strName.clear();
    loaded.m_strPath = "/cut/b.plt";
    EXPECT_EQ(WriteBackupFile(loaded, dir.Path().string() + "/", BackupTime()),
              dir.File("2026-3-7-9H5M0S_b.plt"));
}

// A link at a backup's name, even one pointing nowhere, is passed over like any taken name:
// the backup goes to the next free name and nothing is written through the link.
TEST(PrintEngineSetup, BackupNeverFollowsALink) {
    CScratchDir dir;
    CScratchDir elsewhere;
    const std::string strDir = dir.Path().string() + "/";
    const std::tm local = BackupTime();
    const std::string strKept = elsewhere.File("kept.plt");
    ASSERT_TRUE(WriteFileBytes(strKept, "mine"));
    const std::string strVictim = elsewhere.File("victim.plt");
    ASSERT_EQ(::symlink(strVictim.c_str(), BackupFileName(strDir, "a.plt", local).c_str()), 0);
    ASSERT_EQ(::symlink(strKept.c_str(), (strDir + "2026-3-7-9H5M0S(2)_a.plt").c_str()), 0);
    const COnePage task = Line(0, 0, 40, 40);
    EXPECT_EQ(WriteBackupFile(task, strDir, local), strDir + "2026-3-7-9H5M0S(3)_a.plt");
    EXPECT_FALSE(std::filesystem::exists(strVictim));
    EXPECT_EQ(ReadFileBytes(strKept), "mine");
    EXPECT_TRUE(std::filesystem::is_symlink(BackupFileName(strDir, "a.plt", local)));
}

// When every name is taken there is no backup rather than an overwritten one.
TEST(PrintEngineSetup, BackupNeverOverwrites) {
    CScratchDir dir;
    const std::string strDir = dir.Path().string() + "/";
    const std::tm local = BackupTime();
    ASSERT_TRUE(WriteFileBytes(BackupFileName(strDir, "a.plt", local), "old"));
    for (int n = 2; n <= kMaxBackupNames; ++n)
        ASSERT_TRUE(
            WriteFileBytes(strDir + "2026-3-7-9H5M0S(" + std::to_string(n) + ")_a.plt", "old"));
    EXPECT_EQ(WriteBackupFile(Line(0, 0, 40, 40), strDir, local), "");
    size_t nFiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        ++nFiles;
        EXPECT_EQ(ReadFileBytes(entry.path()), "old") << entry.path();
    }
    EXPECT_EQ(nFiles, static_cast<size_t>(kMaxBackupNames));
}

} // namespace
} // namespace inkvale::test
