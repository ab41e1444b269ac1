// SPDX-License-Identifier: GPL-3.0-or-later
// The job journal: its record survives a round trip and refuses what it did not write; the
// journal keeps an interrupted job's page and forgets a printed one; and the engine
// continues an interrupted job, or refuses to when its drawing or the machine changed.

#include "machine/engine/JobJournal.h"
#include "PrintEngineFixture.h"
#include "common/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace inkvale::test {
namespace {

CJobRecord SampleRecord() {
    CJobRecord r;
    r.m_bInterrupted = true;
    r.m_strTaskPath = "/srv/cad/spring\\2026/a b.plt(1/2)(Mirror)";
    r.m_strTaskName = "a b.plt(1/2)(Mirror)";
    r.m_strFilePath = "/srv/cad/spring\\2026/a b.plt";
    r.m_nFileHash = 0xfedcba9876543210ull;
    r.m_nFileSize = 123456789;
    r.m_nPageHash = 0x0123456789abcdefull;
    r.m_nPageBytes = 4096;
    r.m_nBandCount = 812;
    r.m_nJobWidth = 27000;
    r.m_nConfirmed = 377;
    r.m_tStarted = 1781000000;
    r.m_strWhy = "the machine has not answered\nfor 120 s";
    CBandParams& p = r.m_params;
    p.m_nHeadCombination = 3;
    p.m_nXDotsPerMetre = 4000000000u;
    p.m_arrHeadPos = {10, 180, 350, 520};
    p.m_arrHeadOverlap = {1, 2, 3};
    p.m_arrReturnJoin = {-4, 5, 6, 7};
    p.m_bBidirectional = false;
    p.m_bPreciseMode = true;
    p.m_bSpAutoClean = true;
    p.m_bPrintFileName = true;
    p.m_nEdgeAdjustLeft = -3;
    p.m_strCustomString = "欢迎 \\n welcome";
    p.m_nLanguage = 1;
    p.m_tLabelTime = 1781000123;
    p.m_nFirstBand = 300;
    return r;
}

void ExpectSameRecord(const CJobRecord& a, const CJobRecord& b) {
    EXPECT_EQ(FormatJobRecord(a), FormatJobRecord(b));
    EXPECT_EQ(a.m_strWhy, b.m_strWhy);
    EXPECT_EQ(a.m_strTaskPath, b.m_strTaskPath);
    EXPECT_EQ(a.m_params.m_strCustomString, b.m_params.m_strCustomString);
    EXPECT_EQ(a.m_params.m_nXDotsPerMetre, b.m_params.m_nXDotsPerMetre);
    EXPECT_EQ(a.m_params.m_arrReturnJoin, b.m_params.m_arrReturnJoin);
    EXPECT_EQ(a.m_params.m_nFirstBand, b.m_params.m_nFirstBand);
    EXPECT_EQ(a.m_params.m_tLabelTime, b.m_params.m_tLabelTime);
}

TEST(JobRecord, RoundTripKeepsEveryField) {
    const CJobRecord r = SampleRecord();
    CJobRecord back;
    std::string strError;
    ASSERT_TRUE(ParseJobRecord(FormatJobRecord(r), back, strError)) << strError;
    ExpectSameRecord(r, back);
    EXPECT_TRUE(back.m_bInterrupted);
    EXPECT_EQ(back.m_nConfirmed, 377);
}

// Whatever the file holds, the reader answers with a record or a reason, never more.
TEST(JobRecord, RefusesWhatItDidNotWrite) {
    const std::string good = FormatJobRecord(SampleRecord());
    auto replaced = [&good](const std::string& from, const std::string& to) {
        std::string s = good;
        s.replace(s.find(from), from.size(), to);
        return s;
    };
    const struct {
        const char* m_pszWhat;
        std::string m_strText;
    } cases[] = {
        {"empty", ""},
        {"another version", replaced("inkvale-job 1", "inkvale-job 2")},
        {"no state", replaced("state interrupted\n", "")},
        {"unknown state", replaced("state interrupted", "state paused")},
        {"confirmed beyond the job", replaced("confirmed 377", "confirmed 813")},
        {"first band beyond the job", replaced("first-band 300", "first-band 812")},
        {"width beyond the buffers", replaced("job-width 27000", "job-width 28001")},
        {"not a number", replaced("band-count 812", "band-count 8x2")},
        {"a hash that is no hash", replaced("page-hash 0123456789abcdef", "page-hash zz")},
        {"too few parameters", replaced("params 3 ", "params ")},
        {"a parameter out of range", replaced("params 3 ", "params 99999999999 ")},
    };
    for (const auto& c : cases) {
        CJobRecord r;
        std::string strError;
        EXPECT_FALSE(ParseJobRecord(c.m_strText, r, strError)) << c.m_pszWhat;
        EXPECT_FALSE(strError.empty()) << c.m_pszWhat;
    }
    // Every truncation and random damage: no crash, and no record from a cut text.
    std::mt19937 random(7);
    for (size_t n = 0; n < good.size(); n += 7) {
        CJobRecord r;
        std::string strError;
        std::string damaged = good;
        damaged[random() % damaged.size()] = static_cast<char>(random());
        (void)ParseJobRecord(damaged, r, strError);
        (void)ParseJobRecord(good.substr(0, n), r, strError);
    }
}

TEST(JobRecord, ResumeBandKeepsHalfBandsOnWholePixels) {
    CBandParams even;
    even.m_bPreciseMode = true; // band height 300
    CBandParams odd = even;
    odd.m_arrHeadOverlap = {1, 0, 0}; // band height 299
    CBandParams plain = odd;
    plain.m_bPreciseMode = false;
    const struct {
        const CBandParams* m_pParams;
        int64_t m_nConfirmed;
        int64_t m_nResume;
    } cases[] = {{&even, 7, 7}, {&odd, 7, 6}, {&odd, 8, 8}, {&plain, 7, 7}, {&odd, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ResumeBandOf(*c.m_pParams, c.m_nConfirmed), c.m_nResume) << c.m_nConfirmed;
}

class JobJournalFiles : public ::testing::Test {
protected:
    std::string Dir() const { return m_home.Path().string() + "/Jobs/"; }
    CJobRecord Started() const {
        CJobRecord r = SampleRecord();
        r.m_strFilePath = m_home.File("a.plt");
        r.m_nConfirmed = 0;
        return r;
    }
    COnePage Page() const {
        COnePage page = LineTask(8000, 6000);
        page.m_strPath = m_home.File("a.plt");
        return page;
    }
    void SetUp() override { std::ofstream(m_home.File("a.plt")) << "IN;PU0,0;PD8000,6000;"; }

    CScratchDir m_home;
};

TEST_F(JobJournalFiles, KeepsAnInterruptedJobAndForgetsAPrintedOne) {
    const COnePage page = Page();
    CJobJournal journal(Dir());
    journal.Begin(Started(), &page);
    ASSERT_TRUE(journal.Open());
    for (int64_t n = 1; n <= 11; ++n)
        journal.Confirmed(n);
    journal.Interrupted("the machine dropped the job");

    const CJobLoad load = CJobJournal::Load(Dir());
    ASSERT_TRUE(load.Ok()) << load.m_strDiag;
    EXPECT_TRUE(load.m_record.m_bInterrupted);
    EXPECT_EQ(load.m_record.m_nConfirmed, 11);
    EXPECT_EQ(load.m_record.m_strWhy, "the machine dropped the job");
    EXPECT_EQ(load.m_record.m_nFileSize, 21); // the bytes of a.plt
    ASSERT_EQ(load.m_page.m_arrCurves.size(), 1u);
    EXPECT_EQ(load.m_page.m_arrCurves[0].m_arrPoints, page.m_arrCurves[0].m_arrPoints);
    EXPECT_EQ(load.m_page.m_nMaxX, page.m_nMaxX);
    EXPECT_EQ(load.m_page.m_strPath, page.m_strPath);

    // The continued job keeps the page and finishes: the journal is gone.
    CJobJournal next(Dir());
    next.Begin(load.m_record, nullptr);
    ASSERT_TRUE(next.Open());
    next.Confirmed(12);
    EXPECT_EQ(CJobJournal::Load(Dir()).m_record.m_nConfirmed, 12);
    next.Finished();
    EXPECT_FALSE(CJobJournal::HasJob(Dir()));
    EXPECT_FALSE(std::filesystem::exists(Dir() + CJobJournal::kPageName));
}

TEST_F(JobJournalFiles, DamagedPageOrRecordIsReportedNotUsed) {
    const COnePage page = Page();
    CJobJournal journal(Dir());
    journal.Begin(Started(), &page);
    ASSERT_TRUE(journal.Open());
    journal.Interrupted("stopped");
    const std::string strPage = Dir() + CJobJournal::kPageName;
    std::string bytes = ReadFileBytes(strPage);
    bytes[bytes.size() / 2] ^= 0x20;
    std::ofstream(strPage, std::ios::binary | std::ios::trunc) << bytes;
    const CJobLoad damagedPage = CJobJournal::Load(Dir());
    EXPECT_EQ(damagedPage.m_nCode, -2);
    EXPECT_NE(damagedPage.m_strDiag.find("damaged"), std::string::npos);

    std::ofstream(Dir() + CJobJournal::kRecordName, std::ios::trunc) << "inkvale-job 1\nstate";
    EXPECT_EQ(CJobJournal::Load(Dir()).m_nCode, -2);
    CJobJournal::Discard(Dir());
    EXPECT_EQ(CJobJournal::Load(Dir()).m_nCode, -1);
}

TEST_F(JobJournalFiles, NoFolderMeansNoJournal) {
    const COnePage page = Page();
    CJobJournal off("");
    off.Begin(Started(), &page);
    EXPECT_FALSE(off.Open());
    off.Confirmed(3);
    off.Interrupted("x");
    EXPECT_FALSE(CJobJournal::HasJob(""));
}

// The engine itself: a job the machine drops halfway is kept; continuing it sends only the
// rest, as the machine's bands 0.. of a job of its own; a changed drawing file or head
// layout is refused with the operator's message and the job kept for later.
class JobResume : public CPrintEngineTest {
protected:
    void SetUp() override {
        m_settings.m_strInstallDir = m_home.Path().string() + "/";
        m_strFile = m_home.File("line.plt");
        std::ofstream(m_strFile) << "IN;PU0,0;PD8000,6000;";
        CPrintEngineTest::SetUp();
        GoOnline();
    }
    // A 16-band job the machine drops with a carriage fault after a few bands.
    void InterruptAJob() {
        m_task = LineTask(16000, 6000);
        m_task.m_strPath = m_strFile;
        ASSERT_TRUE(m_pEngine->StartPrintJob(m_task).Ok());
        ASSERT_TRUE(WaitFor([this] { return m_pEngine->State().m_nBandsDone >= 5; }));
        m_sim.ForceState(kStateCarriageTimeout, 50);
        ASSERT_EQ(m_host.WaitJobFinished(), kJobFailure);
        m_pEngine->JoinFinishedJob();
        EXPECT_NE(m_pEngine->LastJobError().find("fault"), std::string::npos)
            << m_pEngine->LastJobError();
        ASSERT_TRUE(WaitFor([this] { return m_sim.State() == kStateReady; }));
    }
    std::string Dir() const { return m_pEngine->JournalDir(); }

    CScratchDir m_home;
    std::string m_strFile;
    COnePage m_task;
};

TEST_F(JobResume, ContinuesWithTheRemainingBands) {
    InterruptAJob();
    const CJobLoad kept = CJobJournal::Load(Dir());
    ASSERT_TRUE(kept.Ok()) << kept.m_strDiag;
    const int64_t nConfirmed = kept.m_record.m_nConfirmed;
    const int64_t nBands = kept.m_record.m_nBandCount;
    EXPECT_GE(nConfirmed, 5);
    EXPECT_LT(nConfirmed, nBands);

    ASSERT_TRUE(m_pEngine->ResumeJob().Ok());
    EXPECT_EQ(m_host.WaitJobFinished(), kJobSuccess);
    EXPECT_FALSE(CJobJournal::HasJob(Dir()));
    // The second header announces the rest; the source made exactly those bands.
    std::vector<std::vector<uint8_t>> headers;
    for (const auto& frame : FramesOfKind('R')) {
        if (frame.size() >= 12 && frame[2] == kRegJobHeader)
            headers.push_back(frame);
    }
    ASSERT_EQ(headers.size(), 2u);
    EXPECT_EQ(static_cast<int64_t>(GetLe32(&headers[1][8])), nBands - nConfirmed);
    EXPECT_EQ(static_cast<int64_t>(m_bands.m_produced.size()), nBands);
    EXPECT_EQ(m_sim.Stats().m_nJobsFinished, 1);
}

TEST_F(JobResume, RefusesAChangedFileOrHeadLayoutAndKeepsTheJob) {
    InterruptAJob();
    std::ofstream(m_strFile, std::ios::app) << "PU0,0;";
    const CJobStartResult changedFile = m_pEngine->ResumeJob();
    EXPECT_EQ(changedFile.m_nCode, -3);
    EXPECT_TRUE(changedFile.Says(EMsg::kResumeFileChanged));
    EXPECT_TRUE(CJobJournal::HasJob(Dir()));

    std::ofstream(m_strFile, std::ios::trunc) << "IN;PU0,0;PD8000,6000;";
    m_params.SetHeadPos(1, static_cast<uint16_t>(m_params.HeadPos(1) + 1));
    const CJobStartResult changedHeads = m_pEngine->ResumeJob();
    EXPECT_EQ(changedHeads.m_nCode, -4);
    EXPECT_TRUE(changedHeads.Says(EMsg::kResumeHeadsChanged));
    EXPECT_TRUE(CJobJournal::HasJob(Dir()));
    EXPECT_FALSE(m_pEngine->JobRunning());

    CJobJournal::Discard(Dir());
    EXPECT_EQ(m_pEngine->ResumeJob().m_nCode, -1);
}

} // namespace
} // namespace inkvale::test
