// SPDX-License-Identifier: GPL-3.0-or-later
// inkvale-service killed with SIGKILL at a random band of a long marker, again and again,
// and started again: each time the job continues from the first band its ledger had not
// noted as confirmed, decided by the setting (ResumeInterrupted=auto) in one round and
// through POST /api/jobs/<id>/resume in the next, and the sheets the machine printed make up
// the render. Ten rounds, seeded; INKVALE_HARNESS_ROUNDS and INKVALE_HARNESS_SEED change them.

#include "ServiceHarness.h"

#include <algorithm>

#if defined(INKVALE_SERVICE_PATH) && defined(INKVALE_CLI_PATH)

namespace inkvale::test {
namespace {

class ServiceKillResume : public ServiceHarness {
protected:
    std::vector<CHarnessFile> Drawings() override {
        m_nSeed = static_cast<unsigned>(EnvInt("INKVALE_HARNESS_SEED", 20261211));
        std::mt19937 random(m_nSeed);
        CHarnessFile file;
        file.m_strName = "long.plt";
        // About seven bands a round, and ten more: 1.6 m for ten rounds.
        const int nRounds = std::max(1, EnvInt("INKVALE_HARNESS_ROUNDS", 10));
        file.m_strBytes = MakeDrawing(0, 10000 + 5400 * nRounds, random);
        return {file};
    }

    /// The ledger's one job: its folder and record (read with the service dead).
    CJobRecord LedgerJob(std::string* pDir) const {
        const std::vector<std::string> jobs = CJobJournal::ListJobs(JobsDir());
        EXPECT_EQ(jobs.size(), 1u);
        if (jobs.size() != 1)
            return {};
        *pDir = jobs[0];
        const CJobLoad load = CJobJournal::LoadRecord(jobs[0]);
        EXPECT_TRUE(load.Ok()) << load.m_strDiag;
        return load.m_record;
    }

    /// The operator's decision through the API: the machine's dead job stopped when the
    /// service says the machine still holds it, then the job resumed. Retried while the
    /// service answers 409 (the machine not ready yet), within a bound.
    void ResumeThroughTheApi(const std::string& strJobId) {
        httplib::Client client("127.0.0.1", m_nPort);
        const auto tEnd = std::chrono::steady_clock::now() + 30s;
        int nStatus = 0;
        std::string strBody;
        while (std::chrono::steady_clock::now() < tEnd) {
            const auto status = client.Get("/api/status");
            if (status && status->body.find("\"machine_holds_job\": true") != std::string::npos) {
                ++m_nStopsSent;
                (void)client.Post("/api/machine/stop", Token(m_strToken), "", "application/json");
                (void)m_sim.WaitUntil([&] { return m_sim.State() == kStateReady; }, 10s);
            }
            const auto res = client.Post("/api/jobs/" + strJobId + "/resume", Token(m_strToken), "",
                                         "application/json");
            nStatus = res ? res->status : 0;
            strBody = res ? res->body : "";
            if (nStatus != 409 && nStatus != 0)
                break;
            // The service learns of the machine's state at its next poll: asked again then.
            std::this_thread::sleep_for(100ms);
        }
        EXPECT_EQ(nStatus, 200) << strBody;
    }

    unsigned m_nSeed = 0;
    int m_nStopsSent = 0;
};

TEST_F(ServiceKillResume, EachKillResumesAtTheFirstUnconfirmedBand) {
    const int nRounds = std::max(1, EnvInt("INKVALE_HARNESS_ROUNDS", 10));
    std::mt19937 random(m_nSeed ^ 0x6b1du);
    const CHarnessFile& file = m_files[0];
    Drop(file);
    std::vector<int64_t> resumedAt; // the ledger's confirmed count at each kill
    for (int nRound = 0; nRound < nRounds; ++nRound) {
        // Killed a few bands into the job, never in its last bands (it would count as
        // printed, and the rounds would end early).
        const int64_t nLeftAtLastKill = file.m_nBands - (resumedAt.empty() ? 0 : resumedAt.back());
        const int nBandsOn = 1 + static_cast<int>(random() % 4);
        if (nLeftAtLastKill < nBandsOn + 6)
            break;
        ASSERT_TRUE(WaitForBands(nBandsOn, 60s)) << "round " << nRound << ": nothing printed";
        KillService();
        const int nJobsBefore = m_sim.Stats().m_nJobsAccepted;
        std::string strDir;
        const CJobRecord record = LedgerJob(&strDir);
        ASSERT_FALSE(strDir.empty());
        ASSERT_EQ(record.m_nBandCount, file.m_nBands);
        resumedAt.push_back(record.m_nConfirmed);
        m_bAutoResume = nRound % 2 == 0;
        StartAgain();
        ASSERT_FALSE(HasFatalFailure());
        if (!m_bAutoResume) {
            const std::string strId =
                std::filesystem::path(strDir).parent_path().filename().string();
            ResumeThroughTheApi(strId);
        }
        ASSERT_TRUE(
            m_sim.WaitUntil([&] { return m_sim.Stats().m_nJobsAccepted > nJobsBefore; }, 60s))
            << "round " << nRound << ": the job did not resume\n"
            << ReadFileBytes(m_strLog + "." + std::to_string(m_nStarts));
    }
    ASSERT_TRUE(m_sim.WaitUntil([&] { return AllDone(); }, 120s))
        << ReadFileBytes(m_strLog + "." + std::to_string(m_nStarts));
    EXPECT_EQ(StopService(m_pid), 0);
    m_pid = -1;

    // The machine's jobs: the first, then one per kill, each from the band the ledger held.
    const std::vector<sim::CSimJobRecord> jobs = m_sim.TakeJobs();
    ASSERT_EQ(jobs.size(), resumedAt.size() + 1);
    int64_t nTwice = 0;
    for (size_t i = 0; i < resumedAt.size(); ++i) {
        const int64_t nFirst = file.m_nBands - jobs[i].m_nBandCount;
        const int64_t nNext = file.m_nBands - jobs[i + 1].m_nBandCount;
        EXPECT_EQ(nNext, resumedAt[i]) << "kill " << i;
        // The bands the killed job printed past the ledger: the one in flight at most.
        const int64_t nOver = nFirst + jobs[i].m_nBandsPrinted - resumedAt[i];
        EXPECT_GE(nOver, 0) << "kill " << i;
        EXPECT_LE(nOver, 1) << "kill " << i;
        nTwice += nOver;
    }
    int nStray = 0;
    const CFileOutcome out = Outcomes(m_files, jobs, &nStray)[0];
    EXPECT_EQ(nStray, 0);
    EXPECT_EQ(out.m_nCopies, 1);
    EXPECT_EQ(out.m_nDiffering, 0);
    EXPECT_EQ(m_sim.Stats().m_nBadBands, 0);
    EXPECT_EQ(static_cast<int>(resumedAt.size()), nRounds);
    std::printf("[ harness  ] seed %u: %zu kills, %lld bands, %lld printed (%lld twice), %d "
                "stops sent through the API\n",
                m_nSeed, resumedAt.size(), static_cast<long long>(file.m_nBands),
                static_cast<long long>(out.m_nBandsPrinted), static_cast<long long>(nTwice),
                m_nStopsSent);
}

} // namespace
} // namespace inkvale::test

#endif
