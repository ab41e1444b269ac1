// SPDX-License-Identifier: GPL-3.0-or-later
// inkvale-service as a print room runs it, for the exactly-once harnesses: the automatic
// folder printing by itself, the loopback simulator keeping a record of every job with its
// sheet, and the service killed, restarted and its machine switched off and on. The
// drawings are small markers, each a different width across the carriage, so that every
// job the machine printed names its file by its width alone.
#pragma once

#include "ServiceFixture.h"
#include "common/ChildProcess.h"
#include "common/SheetComposite.h"
#include "machine/engine/JobJournal.h"
#include "machine/link/MachineProtocol.h"
#include "raster/BandGeometry.h"
#include "raster/BandParams.h"

#include <QImage>

#include <sys/mount.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#if defined(INKVALE_SERVICE_PATH) && defined(INKVALE_CLI_PATH)

namespace inkvale::test {

/// A whole number from the environment, or nDefault.
inline int EnvInt(const char* pszName, int nDefault) {
    const char* psz = std::getenv(pszName);
    return psz != nullptr && *psz != 0 ? std::atoi(psz) : nDefault;
}

/// A small tmpfs mounted on a folder for the life of the object (when it can be: as root,
/// where mounts are allowed); unmounted on the way out, whatever the test did.
class CTmpfsMount {
public:
    CTmpfsMount(const std::filesystem::path& dir, const std::string& strSize) : m_dir(dir) {
        std::filesystem::create_directories(dir);
        m_bMounted = ::mount("none", dir.c_str(), "tmpfs", 0, ("size=" + strSize).c_str()) == 0;
    }
    ~CTmpfsMount() {
        if (m_bMounted)
            ::umount2(m_dir.c_str(), MNT_DETACH);
    }
    CTmpfsMount(const CTmpfsMount&) = delete;
    CTmpfsMount& operator=(const CTmpfsMount&) = delete;
    bool Mounted() const { return m_bMounted; }

private:
    std::filesystem::path m_dir;
    bool m_bMounted = false;
};

/// One drawing of a run: its bytes, and what `inkvale-cli render` makes of it.
struct CHarnessFile {
    std::string m_strName;
    std::string m_strBytes;
    int64_t m_nBands = 0;
    QImage m_render;
};

/// The jobs the machine printed for one file, in order, and how they add up.
struct CFileOutcome {
    int m_nCopies = 0; ///< finished jobs: copies printed
    int m_nJobs = 0;   ///< jobs started, resumed ones included
    int64_t m_nBandsPrinted = 0;
    int64_t m_nDiffering = 0;   ///< pixels of all copies that differ from the render
    bool m_bUnfinished = false; ///< jobs after the last finished one: a copy never completed
};

class ServiceHarness : public ServiceFixture {
protected:
    void ConfigureMachine() override {
        sim::CSimTiming timing;
        timing.m_nStartMs = 20;
        timing.m_nFinishMs = 20;
        timing.m_nBandPrintMs = 10;
        m_sim.SetTiming(timing);
        m_sim.SetKeepLog(false);
        m_sim.SetKeepJobs(true);
    }
    bool AutoPrint() const override { return true; }
    // No label band (its text holds the time it printed); files settle quickly.
    std::string ExtraPara() const override { return "PrintFileName=0\nFileSettleMs=400\n"; }
    std::string ExtraService() const override {
        return m_bAutoResume ? "ResumeInterrupted=auto\n" : "";
    }
    int RunForMs() const override { return 3600000; }
    /// The run's drawings, written and rendered before the service first starts.
    virtual std::vector<CHarnessFile> Drawings() = 0;
    void BeforeStart() override {
        m_files = Drawings();
        for (CHarnessFile& file : m_files)
            Prepare(file);
    }

    /// A marker nLength plotter units along the feed and 1600 + 16 nIndex across (four
    /// pixels apart): outline, notches and drill holes placed by the random source.
    static std::string MakeDrawing(int nIndex, int nLength, std::mt19937& random) {
        const int nAcross = 1600 + 16 * nIndex;
        std::string s = "IN;SP1;PU0,0;PD" + std::to_string(nLength) + ",0," +
                        std::to_string(nLength) + "," + std::to_string(nAcross) + ",0," +
                        std::to_string(nAcross) + ",0,0;";
        for (int x = 300; x + 600 < nLength; x += 500 + static_cast<int>(random() % 700)) {
            const int y = 100 + static_cast<int>(random() % static_cast<unsigned>(nAcross - 400));
            s += "PU" + std::to_string(x) + "," + std::to_string(y) + ";PD" +
                 std::to_string(x + 300) + "," + std::to_string(y + 200) + ";CI" +
                 std::to_string(40 + random() % 60) + ";";
        }
        return s + "PU0,0;";
    }

    /// Writes the drawing under m_home/src and renders it from the machine's parameters
    /// (with the service stopped: the machine serves one connection at a time).
    void Prepare(CHarnessFile& file) {
        const std::filesystem::path src = m_home.parent_path() / "src";
        std::filesystem::create_directories(src);
        const std::string strPath = (src / file.m_strName).string();
        std::ofstream(strPath, std::ios::binary) << file.m_strBytes;
        const std::string strPng = strPath + ".png", strLog = strPath + ".txt",
                          strOut = strPath + ".out";
        const pid_t render = Spawn({INKVALE_CLI_PATH, "--home", m_home.string(), "render", strPath,
                                    "-o", strPng, "--from-machine"},
                                   strLog, strOut);
        ASSERT_EQ(Reap(render, std::chrono::seconds(60)), 0) << ReadFileBytes(strLog);
        file.m_render = QImage(QString::fromStdString(strPng));
        ASSERT_FALSE(file.m_render.isNull()) << ReadFileBytes(strLog);
        std::smatch m;
        const std::string strFacts = ReadFileBytes(strOut);
        ASSERT_TRUE(std::regex_search(strFacts, m, std::regex("BandCount ([0-9]+)"))) << strFacts;
        file.m_nBands = std::stoll(m[1]);
    }

    /// Stops the service with SIGKILL, as a crash or the OOM killer would.
    void KillService() {
        ::kill(m_pid, SIGKILL);
        Reap(m_pid, std::chrono::seconds(30));
        m_pid = -1;
    }
    /// Starts the service again on the same home (its settings written anew); waits until it
    /// answers.
    void StartAgain() {
        WriteSettings();
        const std::string strLog = m_strLog + "." + std::to_string(++m_nStarts);
        m_pid = StartService(m_home, strLog);
        httplib::Client client("127.0.0.1", m_nPort);
        const auto tEnd = std::chrono::steady_clock::now() + 30s;
        while (std::chrono::steady_clock::now() < tEnd && !client.Get("/api/status"))
            std::this_thread::sleep_for(50ms);
        ASSERT_TRUE(client.Get("/api/status")) << "the service did not answer\n"
                                               << ReadFileBytes(strLog);
        std::ifstream token(m_home / "Service.token");
        std::getline(token, m_strToken);
    }
    /// The machine switched off and on: the link goes, the job is forgotten, and the machine
    /// comes back initialising, then ready.
    void PowerCycle() {
        m_server.Stop();
        m_sim.PowerOff();
        m_sim.ForceState(kStateInit, 150);
        std::string strError;
        ASSERT_TRUE(m_server.Start("127.0.0." + std::to_string(m_nHost), 5291, &strError))
            << strError;
    }
    /// Waits until the machine, in a job, has confirmed nMore bands more than now; false when
    /// the bound passed first (nothing printing).
    bool WaitForBands(int nMore, std::chrono::milliseconds bound) {
        const int nTarget = m_sim.Stats().m_nBandsConfirmed + nMore;
        return m_sim.WaitUntil(
            [&] {
                return m_sim.Stats().m_nBandsConfirmed >= nTarget &&
                       m_sim.State() == kStatePrinting;
            },
            bound);
    }
    /// A failed job (the machine switched off during it) switches automatic printing off,
    /// as the operator's Stop does; the operator switches it on again. True when it was off.
    bool SwitchAutoOnAgain() {
        httplib::Client client("127.0.0.1", m_nPort);
        const auto status = client.Get("/api/status");
        if (!status || status->body.find("\"auto\": false") == std::string::npos)
            return false;
        const auto res = client.Post("/api/auto/on", Token(m_strToken), "", "application/json");
        EXPECT_TRUE(res && res->status == 200);
        return true;
    }
    /// Drops the file into the automatic folder whole (written beside it, then renamed).
    void Drop(const CHarnessFile& file) const {
        const std::string strTemp = (m_home.parent_path() / file.m_strName).string();
        std::ofstream(strTemp, std::ios::binary) << file.m_strBytes;
        std::filesystem::rename(strTemp, m_home / "auto" / file.m_strName);
    }
    /// Whether everything has printed: the folder empty and no job in the ledger.
    bool AllDone() const {
        std::error_code ec;
        if (!std::filesystem::is_empty(m_home / "auto", ec) || ec)
            return false;
        return CJobJournal::ListJobs(JobsDir()).empty();
    }
    /// The logs of every start of the service, in order.
    std::string AllLogs() const {
        std::string s = ReadFileBytes(m_strLog);
        for (int n = 1; n <= m_nStarts; ++n)
            s += ReadFileBytes(m_strLog + "." + std::to_string(n));
        return s;
    }
    std::string JobsDir() const { return (m_home / "Jobs").string() + "/"; }
    std::filesystem::path TrashFiles() const {
        return m_home.parent_path() / "data-home" / "Trash" / "files";
    }

    /// Adds up the machine's jobs per file (by the width of the job) and compares each
    /// copy, its sheets laid at their first bands, with the render. A job of no file's
    /// width goes to *pStray.
    std::vector<CFileOutcome> Outcomes(const std::vector<CHarnessFile>& files,
                                       const std::vector<sim::CSimJobRecord>& jobs,
                                       int* pStray) const {
        std::map<int, size_t> byWidth;
        for (size_t f = 0; f < files.size(); ++f)
            byWidth[files[f].m_render.height()] = f;
        std::vector<CFileOutcome> outcomes(files.size());
        std::vector<CSheetComposite> copies(files.size());
        const CBandGeometry geometry{CBandParams{}};
        for (const sim::CSimJobRecord& job : jobs) {
            const auto it = byWidth.find(job.m_nJobWidth);
            if (it == byWidth.end()) {
                ++*pStray;
                continue;
            }
            const CHarnessFile& file = files[it->second];
            CFileOutcome& out = outcomes[it->second];
            CSheetComposite& copy = copies[it->second];
            const int64_t nFirst = file.m_nBands - job.m_nBandCount;
            ++out.m_nJobs;
            out.m_nBandsPrinted += job.m_nBandsPrinted;
            out.m_bUnfinished = !job.m_bFinished;
            if (!job.m_sheet.Empty())
                copy.Add(job.m_sheet.m_nWidth, job.m_sheet.m_nHeight, geometry.BandOffset(nFirst),
                         [&](int x, int y) { return job.m_sheet.Ink(x, y); });
            if (job.m_bFinished) {
                ++out.m_nCopies;
                out.m_nDiffering += DifferingPixels(file.m_render, copy);
                copy.Clear();
            }
        }
        return outcomes;
    }

    std::vector<CHarnessFile> m_files;
    int m_nStarts = 0;
    bool m_bAutoResume = true; ///< [Service] ResumeInterrupted=auto at the next start
};

} // namespace inkvale::test

#endif
