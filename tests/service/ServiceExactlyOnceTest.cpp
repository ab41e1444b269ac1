// SPDX-License-Identifier: GPL-3.0-or-later
// The exactly-once harness of the service: markers dropped into the automatic folder whole,
// by slow writers and by writers that reopen the file for every piece, and uploaded over
// HTTP, while the service is killed with SIGKILL and restarted, the machine is switched
// off and on, and (as root) the job ledger's disk is full for a while. At the end every
// file printed exactly once, each copy's sheets make up its render, the automatic folder
// is empty and the trash holds exactly the files that printed. Seeded and short here;
// INKVALE_HARNESS_FILES=N and INKVALE_HARNESS_SEED=S run it long by hand.

#include "ServiceHarness.h"

#include <fcntl.h>

#include <algorithm>
#include <thread>

#if defined(INKVALE_SERVICE_PATH) && defined(INKVALE_CLI_PATH)

namespace inkvale::test {
namespace {

enum class EArrival { Dropped, SlowWriter, ReopeningWriter, Uploaded };

/// Writes the bytes into the file in pieces, nPauseMs apart, holding it open throughout or
/// opening it anew for every piece (as some CAD stations write to a shared folder).
void WriteInPieces(const std::string& strPath, const std::string& strBytes, bool bReopen,
                   int nPauseMs) {
    const size_t nPiece = std::max<size_t>(strBytes.size() / 6, 1);
    int fd = bReopen ? -1 : ::open(strPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    for (size_t n = 0; n < strBytes.size(); n += nPiece) {
        if (bReopen)
            fd = ::open(strPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        const size_t nLen = std::min(nPiece, strBytes.size() - n);
        if (fd < 0 || ::write(fd, strBytes.data() + n, nLen) != static_cast<ssize_t>(nLen))
            ADD_FAILURE() << "cannot write " << strPath;
        if (bReopen)
            ::close(fd);
        std::this_thread::sleep_for(std::chrono::milliseconds(nPauseMs));
    }
    if (!bReopen)
        ::close(fd);
}

/// A file the disk cannot hold more of: the rest of a small file system taken.
void FillDisk(const std::filesystem::path& filler) {
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const std::string strBlock(4096, 'x');
    for (int i = 0; i < 100000 && ::write(fd, strBlock.data(), strBlock.size()) > 0; ++i) {
    }
    ::close(fd);
}

struct CRunFigures {
    int m_nFiles = 0;
    int m_arrArrivals[4] = {};
    int m_nKills = 0;
    int m_nPowerCycles = 0;
    int m_nDiskFullWindows = 0;
    int m_nAutoOnAgain = 0; ///< times the operator switched automatic printing on again
};

class ServiceExactlyOnce : public ServiceHarness {
protected:
    std::vector<CHarnessFile> Drawings() override {
        m_nSeed = static_cast<unsigned>(EnvInt("INKVALE_HARNESS_SEED", 20261211));
        std::mt19937 random(m_nSeed);
        std::vector<CHarnessFile> files(
            static_cast<size_t>(std::max(1, EnvInt("INKVALE_HARNESS_FILES", 10))));
        for (size_t f = 0; f < files.size(); ++f) {
            files[f].m_strName = "m" + std::to_string(f) + ".plt";
            const int nLength = 4000 + static_cast<int>(random() % 8000);
            files[f].m_strBytes = MakeDrawing(static_cast<int>(f), nLength, random);
        }
        return files;
    }

    /// The file arrives in the automatic folder as chosen; writers run on their own
    /// threads. An upload that finds the service gone is sent again once it is back.
    void Arrive(const CHarnessFile& file, EArrival eHow, std::mt19937& random,
                std::vector<std::thread>& writers) {
        const std::string strPath = (m_home / "auto" / file.m_strName).string();
        const int nPauseMs = 40 + static_cast<int>(random() % 120);
        switch (eHow) {
        case EArrival::Dropped:
            Drop(file);
            break;
        case EArrival::SlowWriter:
        case EArrival::ReopeningWriter:
            writers.emplace_back(WriteInPieces, strPath, file.m_strBytes,
                                 eHow == EArrival::ReopeningWriter, nPauseMs);
            break;
        case EArrival::Uploaded: {
            httplib::Client client("127.0.0.1", m_nPort);
            client.set_read_timeout(20, 0);
            const auto res = client.Post("/api/upload?name=" + file.m_strName, Token(m_strToken),
                                         file.m_strBytes, "application/octet-stream");
            ASSERT_TRUE(res) << "the upload of " << file.m_strName << " got no answer";
            ASSERT_EQ(res->status, 201) << res->body;
            break;
        }
        }
    }

    /// Every file exactly once, its sheets equal to its render; the folder empty; the
    /// trash holding exactly the printed files, each as it was written.
    void CheckOutcome(const CRunFigures& run) {
        int nStray = 0;
        const std::vector<CFileOutcome> outcomes = Outcomes(m_files, m_sim.TakeJobs(), &nStray);
        EXPECT_EQ(nStray, 0) << "jobs of no file's width";
        int64_t nExpected = 0, nPrinted = 0;
        int nDuplicates = 0, nLost = 0, nJobs = 0;
        for (size_t f = 0; f < m_files.size(); ++f) {
            const CFileOutcome& out = outcomes[f];
            const std::string& strName = m_files[f].m_strName;
            EXPECT_EQ(out.m_nCopies, 1) << strName << " printed " << out.m_nCopies << " times";
            EXPECT_FALSE(out.m_bUnfinished) << strName << " has a copy that never finished";
            EXPECT_EQ(out.m_nDiffering, 0) << strName << "'s sheets differ from its render";
            nDuplicates += std::max(out.m_nCopies - 1, 0);
            nLost += out.m_nCopies == 0 ? 1 : 0;
            nExpected += m_files[f].m_nBands;
            nPrinted += out.m_nBandsPrinted;
            nJobs += out.m_nJobs;
            const std::filesystem::path trashed = TrashFiles() / strName;
            EXPECT_TRUE(std::filesystem::exists(trashed)) << strName << " is not in the trash";
            if (std::filesystem::exists(trashed)) {
                EXPECT_EQ(ReadFileBytes(trashed.string()), m_files[f].m_strBytes) << strName;
            }
        }
        std::set<std::string> names;
        for (const CHarnessFile& file : m_files)
            names.insert(file.m_strName);
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(TrashFiles(), ec))
            EXPECT_TRUE(names.contains(e.path().filename().string()))
                << e.path() << " is in the trash but is none of the files";
        EXPECT_TRUE(std::filesystem::is_empty(m_home / "auto"));
        const sim::CSimStats st = m_sim.Stats();
        EXPECT_EQ(st.m_nBadBands, 0);
        // Bands printed twice: the one in flight at each interruption, at most.
        const int nInterruptions = run.m_nKills + run.m_nPowerCycles;
        EXPECT_GE(nPrinted, nExpected);
        EXPECT_LE(nPrinted, nExpected + nInterruptions);
        std::printf("[ harness  ] seed %u: %d files (%d dropped, %d slow writers, %d reopening "
                    "writers, %d uploaded), %d kills, %d power cycles, %d disk-full windows, "
                    "automatic printing on again %d times; %d jobs, bands expected %lld, "
                    "printed %lld; %d duplicates, %d lost\n",
                    m_nSeed, run.m_nFiles, run.m_arrArrivals[0], run.m_arrArrivals[1],
                    run.m_arrArrivals[2], run.m_arrArrivals[3], run.m_nKills, run.m_nPowerCycles,
                    run.m_nDiskFullWindows, run.m_nAutoOnAgain, nJobs,
                    static_cast<long long>(nExpected), static_cast<long long>(nPrinted),
                    nDuplicates, nLost);
    }

    /// The whole run. With pDiskFiller, the ledger's small file system is full for a stretch of
    /// the arrivals (from a third to half of them).
    void Run(const std::filesystem::path* pDiskFiller) {
        std::mt19937 random(m_nSeed ^ 0x5eedu);
        CRunFigures run;
        run.m_nFiles = static_cast<int>(m_files.size());
        std::vector<std::thread> writers;
        const size_t nFullFrom = m_files.size() / 3, nFullTo = m_files.size() / 2 + 1;
        for (size_t f = 0; f < m_files.size(); ++f) {
            if (pDiskFiller != nullptr && f == nFullFrom) {
                FillDisk(*pDiskFiller);
                ++run.m_nDiskFullWindows;
            }
            if (pDiskFiller != nullptr && f == nFullTo) {
                // The window ends once a job was refused for it (the service says why).
                const std::string strRefused = "record cannot be written";
                EXPECT_TRUE(m_sim.WaitUntil(
                    [&] { return AllLogs().find(strRefused) != std::string::npos; }, 30s))
                    << "no job start met the full disk";
                std::filesystem::remove(*pDiskFiller);
            }
            const auto eHow = static_cast<EArrival>(random() % 4);
            ++run.m_arrArrivals[static_cast<int>(eHow)];
            Arrive(m_files[f], eHow, random, writers);
            run.m_nAutoOnAgain += SwitchAutoOnAgain() ? 1 : 0;
            if (HasFatalFailure())
                break;
            // Now and then, some bands on: the service killed, or the machine switched off.
            const unsigned nWhat = random() % 4;
            if (nWhat > 1)
                continue;
            (void)WaitForBands(1 + static_cast<int>(random() % 8), std::chrono::seconds(10));
            if (nWhat == 0) {
                KillService();
                ++run.m_nKills;
                StartAgain();
            } else {
                PowerCycle();
                ++run.m_nPowerCycles;
            }
            if (HasFatalFailure())
                break;
        }
        for (std::thread& t : writers)
            t.join();
        if (pDiskFiller != nullptr)
            std::filesystem::remove(*pDiskFiller);
        ASSERT_FALSE(HasFatalFailure());
        // Everything printed, the operator looking in now and then.
        const auto tEnd = std::chrono::steady_clock::now() +
                          std::chrono::seconds(60 + 2 * static_cast<int64_t>(m_files.size()));
        while (!m_sim.WaitUntil([&] { return AllDone(); }, 2s) &&
               std::chrono::steady_clock::now() < tEnd)
            run.m_nAutoOnAgain += SwitchAutoOnAgain() ? 1 : 0;
        ASSERT_TRUE(AllDone()) << "still waiting: "
                               << ReadFileBytes(m_strLog + "." + std::to_string(m_nStarts));
        EXPECT_EQ(StopService(m_pid), 0);
        m_pid = -1;
        CheckOutcome(run);
    }

    unsigned m_nSeed = 0;
};

TEST_F(ServiceExactlyOnce, EveryFilePrintsOnceThroughKillsAndPowerCycles) {
    Run(nullptr);
}

// The same with the job ledger on a small file system that is full for a while: jobs that
// cannot write their record wait, and print once there is room again.
TEST_F(ServiceExactlyOnce, EveryFilePrintsOnceThroughAFullDisk) {
    // The ledger's folder is mounted before the service starts again, so that no job
    // folder is hidden under the mount.
    EXPECT_EQ(StopService(m_pid), 0);
    m_pid = -1;
    CTmpfsMount mount(m_home / "Jobs", "256k");
    if (!mount.Mounted())
        GTEST_SKIP() << "cannot mount a small tmpfs on the job ledger here (needs root)";
    StartAgain();
    ASSERT_FALSE(HasFatalFailure());
    const std::filesystem::path filler = m_home / "Jobs" / ".filler";
    Run(&filler);
    StopService(m_pid);
    m_pid = -1;
}

} // namespace
} // namespace inkvale::test

#endif
