// SPDX-License-Identifier: GPL-3.0-or-later
// The job ledger: its record survives a round trip and refuses what it did not write; its
// frames are checksummed, so that a changed value, a torn or zeroed tail and a power cut at
// any byte of the last write give the last record that really was written, or "damaged",
// never a band that was not confirmed; it keeps an interrupted job's page and marks a
// printed one; it refuses to start where it cannot be written; and the engine continues an
// interrupted job, or refuses to when its drawing or the machine changed.

#include "machine/engine/JobJournal.h"
#include "PrintEngineFixture.h"
#include "common/TestPaths.h"
#include "support/Crc32c.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <sys/stat.h>

namespace inkvale::test {
namespace {

CJobRecord SampleRecord() {
    CJobRecord r;
    r.m_strJobId = "20261211-101500-0a1b2c3d";
    r.m_eOutcome = EJobOutcome::kInterrupted;
    r.m_nCopiesOwed = 2;
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
    EXPECT_EQ(back.m_eOutcome, EJobOutcome::kInterrupted);
    EXPECT_EQ(back.m_nConfirmed, 377);
    EXPECT_EQ(back.m_nCopiesOwed, 2);
    EXPECT_EQ(back.m_strJobId, r.m_strJobId);
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
        {"another version", replaced("inkvale-job 2", "inkvale-job 1")},
        {"a job id that names another folder", replaced("job-id 2026", "job-id ../2026")},
        {"negative copies owed", replaced("copies-owed 2", "copies-owed -1")},
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
    std::string JobsDir() const { return m_home.Path().string() + "/Jobs/"; }
    CJobRecord Started() const {
        CJobRecord r = SampleRecord();
        r.m_strFilePath = m_home.File("a.plt");
        r.m_nConfirmed = 0;
        r.m_params.m_nFirstBand = 0;
        return r;
    }
    COnePage Page() const {
        COnePage page = LineTask(8000, 6000);
        page.m_strPath = m_home.File("a.plt");
        return page;
    }
    // A job with nConfirmed bands confirmed, left running (as a crash leaves it).
    std::string MakeJob(int64_t nConfirmed) {
        const COnePage page = Page();
        CJobJournal journal(JobsDir());
        journal.Begin(Started(), &page);
        EXPECT_TRUE(journal.Open().Ok()) << journal.Error();
        for (int64_t n = 1; n <= nConfirmed; ++n)
            EXPECT_TRUE(journal.Confirmed(n));
        return journal.JobDir();
    }
    void SetUp() override { std::ofstream(m_home.File("a.plt")) << "IN;PU0,0;PD8000,6000;"; }

    CScratchDir m_home;
};

TEST(LedgerChecksum, Crc32cOfTheCheckValue) {
    const std::string s = "123456789";
    EXPECT_EQ(Crc32c({reinterpret_cast<const uint8_t*>(s.data()), s.size()}), 0xe3069283u);
}

TEST_F(JobJournalFiles, KeepsAnInterruptedJobAndMarksAPrintedOne) {
    const COnePage page = Page();
    CJobJournal journal(JobsDir());
    journal.Begin(Started(), &page);
    ASSERT_TRUE(journal.Open().Ok()) << journal.Error();
    for (int64_t n = 1; n <= 11; ++n)
        ASSERT_TRUE(journal.Confirmed(n));
    ASSERT_TRUE(journal.Interrupted("the machine dropped the job"));
    const std::string strDir = journal.JobDir();
    EXPECT_EQ(CJobJournal::ListJobs(JobsDir()), std::vector<std::string>{strDir});

    const CJobLoad load = CJobJournal::Load(strDir);
    ASSERT_TRUE(load.Ok()) << load.m_strDiag;
    EXPECT_EQ(load.m_record.m_eOutcome, EJobOutcome::kInterrupted);
    EXPECT_EQ(load.m_record.m_nConfirmed, 11);
    EXPECT_EQ(load.m_record.m_nCopiesOwed, 2);
    EXPECT_EQ(load.m_record.m_strWhy, "the machine dropped the job");
    EXPECT_EQ(load.m_record.m_nFileSize, 21); // the bytes of a.plt
    ASSERT_EQ(load.m_page.m_arrCurves.size(), 1u);
    EXPECT_EQ(load.m_page.m_arrCurves[0].m_arrPoints, page.m_arrCurves[0].m_arrPoints);
    EXPECT_EQ(load.m_page.m_nMaxX, page.m_nMaxX);

    // The continued job keeps the page and its folder, and ends printed.
    CJobJournal next(JobsDir());
    next.Begin(load.m_record, nullptr);
    ASSERT_TRUE(next.Open().Ok()) << next.Error();
    EXPECT_EQ(next.JobDir(), strDir);
    ASSERT_TRUE(next.Confirmed(12));
    EXPECT_EQ(CJobJournal::Load(strDir).m_record.m_nConfirmed, 12);
    EXPECT_EQ(CJobJournal::Load(strDir).m_record.m_eOutcome, EJobOutcome::kRunning);
    ASSERT_TRUE(next.Printed());
    EXPECT_TRUE(CJobJournal::Load(strDir).m_record.Printed());
    ASSERT_TRUE(CJobJournal::Remove(strDir));
    EXPECT_TRUE(CJobJournal::ListJobs(JobsDir()).empty());
    EXPECT_TRUE(std::filesystem::is_empty(JobsDir()));
}

TEST_F(JobJournalFiles, JobsNeverReplaceEachOther) {
    const std::string a = MakeJob(3);
    const std::string b = MakeJob(5);
    EXPECT_NE(a, b);
    EXPECT_EQ(CJobJournal::ListJobs(JobsDir()).size(), 2u);
    EXPECT_EQ(CJobJournal::Load(a).m_record.m_nConfirmed, 3);
    EXPECT_EQ(CJobJournal::Load(b).m_record.m_nConfirmed, 5);
    // A record with every band confirmed counts as printed, whatever its state line says.
    CJobRecord all = CJobJournal::Load(b).m_record;
    all.m_nConfirmed = all.m_nBandCount;
    EXPECT_TRUE(all.Printed());
}

// Changed values never reach a resume: the checksum refuses the frame, and what is left is
// either an earlier record that was really written or "damaged".
TEST_F(JobJournalFiles, ChangedValuesAreRefusedByTheChecksum) {
    const struct {
        const char* m_pszWhat;
        std::string m_strFrom, m_strTo;
        int64_t m_nConfirmedAtMost; ///< -1: refused as damaged
    } cases[] = {
        {.m_pszWhat = "confirmed 5 to 7 in the last record",
         .m_strFrom = "confirmed 5\n",
         .m_strTo = "confirmed 7\n",
         .m_nConfirmedAtMost = 4},
        {.m_pszWhat = "confirmed 3 to 9 in a record before others",
         .m_strFrom = "confirmed 3\n",
         .m_strTo = "confirmed 9\n",
         .m_nConfirmedAtMost = -1},
        {.m_pszWhat = "a band count made smaller",
         .m_strFrom = "band-count 812",
         .m_strTo = "band-count 809",
         .m_nConfirmedAtMost = -1},
        {.m_pszWhat = "a band count made larger",
         .m_strFrom = "band-count 812",
         .m_strTo = "band-count 840",
         .m_nConfirmedAtMost = -1},
        {.m_pszWhat = "another file named",
         .m_strFrom = "file /",
         .m_strTo = "file /etc/passwd#",
         .m_nConfirmedAtMost = -1},
    };
    for (const auto& c : cases) {
        const std::string strDir = MakeJob(5);
        const std::string strPath = strDir + CJobJournal::kRecordName;
        std::string bytes = ReadFileBytes(strPath);
        const size_t nAt = bytes.rfind(c.m_strFrom);
        ASSERT_NE(nAt, std::string::npos) << c.m_pszWhat;
        bytes.replace(nAt, c.m_strFrom.size(), c.m_strTo);
        ASSERT_TRUE(WriteFileBytes(strPath, bytes));
        const CJobLoad load = CJobJournal::Load(strDir);
        if (c.m_nConfirmedAtMost < 0) {
            EXPECT_EQ(load.m_nCode, -2) << c.m_pszWhat;
            EXPECT_NE(load.m_strDiag.find("damaged"), std::string::npos) << c.m_pszWhat;
        } else {
            ASSERT_TRUE(load.Ok()) << c.m_pszWhat << ": " << load.m_strDiag;
            EXPECT_LE(load.m_record.m_nConfirmed, c.m_nConfirmedAtMost) << c.m_pszWhat;
        }
    }
}

// A power cut without one: the ledger's files cut at every byte offset of their last
// write, and with that write's bytes zeroed instead (a file system that extended the file
// but lost its data). Each time the ledger gives a confirmed band that really was confirmed
// (the last record, or the one before it), or refuses as damaged; never a later band.
TEST_F(JobJournalFiles, PowerCutAtEveryByteOfTheLastWrite) {
    const std::string strDir = MakeJob(6);
    const std::string strRecord = strDir + CJobJournal::kRecordName;
    const std::string strPage = strDir + CJobJournal::kPageName;
    const std::string whole = ReadFileBytes(strRecord);
    const size_t nLast = whole.size() - FrameLedgerRecord("confirmed 6\n").size();
    int nUsed = 0, nRefused = 0;
    for (size_t nCut = nLast; nCut <= whole.size(); ++nCut) {
        for (const bool bZeroed : {false, true}) {
            std::string bytes = whole.substr(0, nCut);
            if (bZeroed)
                bytes.resize(whole.size(), '\0');
            ASSERT_TRUE(WriteFileBytes(strRecord, bytes));
            const CJobLoad load = CJobJournal::Load(strDir);
            if (!load.Ok()) {
                EXPECT_NE(load.m_strDiag.find("damaged"), std::string::npos);
                ++nRefused;
                continue;
            }
            ++nUsed;
            EXPECT_EQ(load.m_record.m_nConfirmed, nCut == whole.size() ? 6 : 5) << nCut;
        }
    }
    EXPECT_EQ(nRefused, 0); // a torn tail always leaves the record before it
    // The first write of a job (its first record) cut anywhere: no job to resume from.
    const size_t nFirst =
        FrameLedgerRecord(FormatJobRecord(CJobJournal::Load(strDir).m_record)).size();
    for (size_t nCut = 0; nCut < nFirst; nCut += 7) {
        ASSERT_TRUE(WriteFileBytes(strRecord, whole.substr(0, nCut)));
        const CJobLoad load = CJobJournal::Load(strDir);
        EXPECT_EQ(load.m_nCode, -2) << nCut;
    }
    // The page, written once, cut anywhere or zeroed: damaged.
    ASSERT_TRUE(WriteFileBytes(strRecord, whole));
    const std::string page = ReadFileBytes(strPage);
    for (size_t nCut = 0; nCut < page.size(); nCut += std::max<size_t>(1, page.size() / 97)) {
        for (const bool bZeroed : {false, true}) {
            std::string bytes = page.substr(0, nCut);
            if (bZeroed)
                bytes.resize(page.size(), '\0');
            if (bytes == page)
                continue; // its end was zeroes anyway
            ASSERT_TRUE(WriteFileBytes(strPage, bytes));
            const CJobLoad load = CJobJournal::Load(strDir);
            EXPECT_EQ(load.m_nCode, -2) << nCut;
            EXPECT_NE(load.m_strDiag.find("damaged"), std::string::npos);
        }
    }
    std::printf("[ ledger   ] %d cuts of the last record used the record before it\n", nUsed);
}

// Where the ledger cannot be written, no job starts, and the reason says why; a file that
// is no regular file (a FIFO) is refused at once instead of blocking the reader.
TEST_F(JobJournalFiles, RefusesWhereItCannotWriteOrRead) {
    const COnePage page = Page();
    const std::string strElsewhere = m_home.File("elsewhere");
    std::filesystem::create_directories(strElsewhere);
    const struct {
        const char* m_pszWhat;
        std::function<void(const std::string&)> m_make;
        const char* m_pszWhy;
    } cases[] = {
        {.m_pszWhat = "a file where the folder belongs",
         .m_make = [](const std::string& d) { std::ofstream(d.substr(0, d.size() - 1)) << "x"; },
         .m_pszWhy = "not a plain folder"},
        {.m_pszWhat = "a link to a folder elsewhere",
         .m_make =
             [&](const std::string& d) {
                 std::filesystem::create_directory_symlink(strElsewhere, d.substr(0, d.size() - 1));
             },
         .m_pszWhy = "not a plain folder"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(JobsDir());
        c.m_make(JobsDir());
        CJobJournal journal(JobsDir());
        journal.Begin(Started(), &page);
        const CResult opened = journal.Open();
        EXPECT_FALSE(opened.Ok()) << c.m_pszWhat;
        EXPECT_TRUE(opened.Says(EMsg::kJournalUnwritable)) << c.m_pszWhat;
        EXPECT_NE(opened.m_strDiag.find(c.m_pszWhy), std::string::npos) << opened.m_strDiag;
        EXPECT_TRUE(CJobJournal::ListJobs(JobsDir()).empty()) << c.m_pszWhat;
        EXPECT_TRUE(std::filesystem::is_empty(strElsewhere)) << c.m_pszWhat;
        std::filesystem::remove(JobsDir().substr(0, JobsDir().size() - 1));
    }
    // A FIFO in place of the record or the page: refused as damaged, at once.
    for (const char* pszName : {CJobJournal::kRecordName, CJobJournal::kPageName}) {
        const std::string strDir = MakeJob(2);
        std::filesystem::remove(strDir + pszName);
        ASSERT_EQ(::mkfifo((strDir + pszName).c_str(), 0644), 0);
        const CJobLoad load = CJobJournal::Load(strDir);
        EXPECT_EQ(load.m_nCode, -2) << pszName;
        uint64_t nHash = 0;
        int64_t nSize = 0;
        EXPECT_FALSE(HashFile(strDir + pszName, nHash, nSize));
    }
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
    // The one job folder of the ledger.
    std::string Dir() const {
        const std::vector<std::string> jobs = CJobJournal::ListJobs(m_pEngine->JournalDir());
        return jobs.size() == 1 ? jobs[0] : std::string();
    }

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

    EXPECT_EQ(kept.m_record.m_nCopiesOwed, 0);
    const std::string strDir = Dir();
    ASSERT_TRUE(m_pEngine->ResumeJob().Ok());
    EXPECT_EQ(m_host.WaitJobFinished(), kJobSuccess);
    // The same job, continued: its record says printed before the end is told.
    EXPECT_EQ(Dir(), strDir);
    EXPECT_EQ(CJobJournal::LoadRecord(strDir).m_record.m_eOutcome, EJobOutcome::kPrinted);
    m_pEngine->PrintedJobHandled();
    EXPECT_TRUE(Dir().empty());
    EXPECT_EQ(m_pEngine->ResumeJob().m_nCode, -1);
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
    EXPECT_FALSE(Dir().empty());

    std::ofstream(m_strFile, std::ios::trunc) << "IN;PU0,0;PD8000,6000;";
    m_params.SetHeadPos(1, static_cast<uint16_t>(m_params.HeadPos(1) + 1));
    const CJobStartResult changedHeads = m_pEngine->ResumeJob();
    EXPECT_EQ(changedHeads.m_nCode, -4);
    EXPECT_TRUE(changedHeads.Says(EMsg::kResumeHeadsChanged));
    EXPECT_FALSE(Dir().empty());
    EXPECT_FALSE(m_pEngine->JobRunning());

    m_pEngine->RefreshLedger();
    ASSERT_TRUE(m_pEngine->HasUnfinishedJobs());
    EXPECT_TRUE(m_pEngine->DiscardJob(Dir()));
    EXPECT_FALSE(m_pEngine->HasUnfinishedJobs());
    EXPECT_EQ(m_pEngine->ResumeJob().m_nCode, -1);
}

// No band without its record: where the ledger cannot be written the machine never hears
// of the job, and the refusal says why.
TEST_F(JobResume, NoJobStartsWithoutItsLedger) {
    std::ofstream(m_home.File("Jobs")) << "not a folder";
    m_task = LineTask(16000, 6000);
    m_task.m_strPath = m_strFile;
    const CJobStartResult started = m_pEngine->StartPrintJob(m_task);
    EXPECT_FALSE(started.Ok());
    EXPECT_TRUE(started.Says(EMsg::kJournalUnwritable));
    EXPECT_NE(started.m_strDiag.find("not a plain folder"), std::string::npos);
    EXPECT_FALSE(m_pEngine->JobRunning());
    for (const auto& frame : FramesOfKind('R'))
        EXPECT_FALSE(frame.size() >= 12 && frame[2] == kRegJobHeader) << "a job header went out";
    EXPECT_EQ(m_sim.Stats().m_nJobsAccepted, 0);
}

// The copies still owed travel with the job: a third of three owes none.
TEST_F(JobResume, TheRecordKeepsTheCopiesStillOwed) {
    m_task = LineTask(16000, 6000);
    m_task.m_strPath = m_strFile;
    m_task.m_nCopies = 3;
    ASSERT_TRUE(m_pEngine->StartPrintJob(m_task).Ok());
    ASSERT_EQ(m_host.WaitJobFinished(), kJobSuccess);
    const CJobLoad load = CJobJournal::LoadRecord(Dir());
    ASSERT_TRUE(load.Ok()) << load.m_strDiag;
    EXPECT_EQ(load.m_record.m_nCopiesOwed, 2);
    EXPECT_TRUE(load.m_record.Printed());
    // Held while copies are owed; the next copy's own record takes over from it.
    m_pEngine->PrintedJobHandled();
    EXPECT_FALSE(Dir().empty());
    m_pEngine->ClearJob();
    m_task.m_nCopies = 2;
    ASSERT_TRUE(m_pEngine->StartPrintJob(m_task).Ok());
    ASSERT_EQ(m_host.WaitJobFinished(), kJobSuccess);
    EXPECT_EQ(CJobJournal::LoadRecord(Dir()).m_record.m_nCopiesOwed, 1);
}

} // namespace
} // namespace inkvale::test
