// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/OnePage.h"
#include "raster/BandParams.h"
#include "support/Result.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace inkvale {

/// How far a job got, as its ledger says.
enum class EJobOutcome {
    kRunning,     ///< started and not ended (or its program died)
    kInterrupted, ///< ended early; the record keeps why
    kPrinted,     ///< every band printed and the machine finished the job
};

/// What the ledger knows of one job: enough to produce its band data again exactly (the
/// prepared page is kept beside the record, the band parameters with the label time are
/// here), which task it printed and how many copies of it were still owed, where the
/// machine got to, and how the job ended.
struct CJobRecord {
    std::string m_strJobId; ///< the job's folder in Jobs/
    EJobOutcome m_eOutcome = EJobOutcome::kRunning;
    std::string m_strTaskPath; ///< the task's path (a derived task's carries its suffix)
    std::string m_strTaskName; ///< the name shown for the task
    std::string m_strFilePath; ///< the file the drawing came from; "" when none
    uint64_t m_nFileHash = 0;  ///< FNV-1a of the file's bytes at job start
    int64_t m_nFileSize = -1;  ///< -1 when the file could not be read at job start
    uint64_t m_nPageHash = 0;  ///< FNV-1a of the kept page file
    uint64_t m_nPageBytes = 0; ///< size of the kept page file
    int64_t m_nBandCount = 0;  ///< bands of the whole job
    int32_t m_nJobWidth = 0;   ///< the job header's width
    CBandParams m_params;      ///< m_nFirstBand: first band of the machine's current job
    int64_t m_nConfirmed = 0;  ///< bands of the whole job confirmed in order: the next to send
    int32_t m_nCopiesOwed = 0; ///< copies of the task still to print after this one
    int64_t m_tStarted = 0;    ///< when the job first started (time_t)
    std::string m_strWhy;      ///< why it ended early, in English for logs

    /// The machine confirmed every band: the job printed whatever its end looked like.
    bool AllBandsConfirmed() const { return m_nBandCount > 0 && m_nConfirmed >= m_nBandCount; }
    /// Printed, by its outcome or by its bands.
    bool Printed() const { return m_eOutcome == EJobOutcome::kPrinted || AllBandsConfirmed(); }
};

/// The whole record as text: a version line, then one "key value" line each; texts are
/// escaped so that none can break a line.
std::string FormatJobRecord(const CJobRecord& record);
/// Reads FormatJobRecord's text; false with why in strError for anything else (another
/// version, a missing or malformed field, a value out of range).
bool ParseJobRecord(const std::string& strText, CJobRecord& record, std::string& strError);

/// One ledger frame: a magic word, the payload's length and the CRC-32C of both, then the
/// payload. A frame cut short, zeroed or changed in any byte no longer checks.
std::string FrameLedgerRecord(std::string_view payload);

/// The frames of a ledger file, read from its start up to the first one that does not
/// check. Bytes after the last good frame with no frame that checks among them (a frame
/// cut short, zeroed, or half written) are the tail of an append a crash or power cut
/// interrupted: they are dropped and the frames before them stand. A frame that checks
/// after bad bytes means a record in the middle was damaged: the ledger is refused.
struct CLedgerFrames {
    std::vector<std::string> m_payloads;
    size_t m_nGoodBytes = 0; ///< bytes of the frames that check
    bool m_bTornTail = false;
    bool m_bDamaged = false;
};
CLedgerFrames ReadLedgerFrames(std::string_view bytes);

/// The record a ledger's frames make: the first frame holds the whole record, each later
/// frame the fields that changed (confirmed band, outcome, why). False with the reason when
/// there is no whole first frame or a frame does not fit it.
bool ReplayLedger(const CLedgerFrames& frames, CJobRecord& record, std::string& strError);

/// The job id of a job folder ("Jobs/<id>/").
std::string JobIdOf(const std::string& strJobDir);

/// FNV-1a, 64 bits: enough to notice a changed file or a damaged page file.
uint64_t HashBytes(std::span<const uint8_t> bytes, uint64_t nHash = 0xcbf29ce484222325ull);
/// Hash and size of a regular file's contents (never waiting on a FIFO or following a
/// symbolic link); false when it cannot be read.
bool HashFile(const std::string& strPath, uint64_t& nHash, int64_t& nSize);

/// The first band a job interrupted after nConfirmed confirmed bands continues from. In
/// precise mode with an odd band height, half-band steps fall on whole feed pixels only
/// from an even band, so an odd band goes one band back.
int64_t ResumeBandOf(const CBandParams& params, int64_t nConfirmed);
/// Length of paper bands [0, nBands) of a job cover along the feed, millimetres.
double FeedLengthMm(const CBandParams& params, int64_t nBands);

/// A job read back from its ledger. Codes: 0 read, -1 no such job, -2 damaged.
struct [[nodiscard]] CJobLoad : CResult {
    CJobRecord m_record;
    COnePage m_page; ///< the prepared page the job printed
};

/// The job ledger of one installation: the folder Jobs/ of the installation directory
/// holds one folder per job, Jobs/<job id>/, with two files: "page" (the prepared page, in
/// the task-file layout, written once when the job starts) and "journal" (the record, as
/// checksummed frames appended to the file and flushed to the disk at every confirmed band
/// and at every change of state). A job's folder appears whole (it is prepared under a
/// hidden name and renamed) before the machine hears of the job, and goes (renamed hidden,
/// then emptied) once the job printed and what followed (its file's disposal, the saved
/// lists) is safe on the disk. Jobs never replace each other.
///
/// Threads: Begin and Open on the owning thread before the band sender starts, Confirmed,
/// Printed and Interrupted on the band sender thread; the static members on any thread.
class CJobJournal {
public:
    static constexpr const char* kRecordName = "journal";
    static constexpr const char* kPageName = "page";

    /// strJobsDir is the Jobs/ folder and ends in '/'; an empty folder switches the
    /// journal off (an engine without an installation directory: every write succeeds
    /// without a trace).
    explicit CJobJournal(std::string strJobsDir = {}) : m_strJobsDir(std::move(strJobsDir)) {}
    ~CJobJournal();
    CJobJournal(CJobJournal&& other) noexcept;
    CJobJournal& operator=(CJobJournal&& other) noexcept;
    CJobJournal(const CJobJournal&) = delete;
    CJobJournal& operator=(const CJobJournal&) = delete;

    bool Enabled() const { return !m_strJobsDir.empty(); }
    /// The job's folder (ends in '/'), once Open has made or found it.
    std::string JobDir() const;

    /// A job starts with this record. pNewPage is the prepared page of a new job (a new
    /// job id is made), nullptr when the job continues the record's job and its page.
    void Begin(const CJobRecord& record, const COnePage* pNewPage);
    /// Writes what Begin set up, flushed to the disk: a new job's folder with its page and
    /// first record, or a continued job's record of the new start. A failure (a full disk,
    /// a folder that cannot be written or is no plain folder) says why: the job must not
    /// start without it.
    CResult Open();
    /// The machine confirmed every band before nConfirmed (bands of the whole job); false
    /// (the reason in Error()) when the record could not be written.
    bool Confirmed(int64_t nConfirmed);
    /// The job printed; written and flushed before anyone acts on it.
    bool Printed();
    /// The job ended early: the record keeps where it got to and why.
    bool Interrupted(const std::string& strWhy);
    /// A new job whose machine never accepted it: its folder goes again.
    void Abandon();
    const CJobRecord& Record() const { return m_record; }
    const std::string& Error() const { return m_strError; }

    /// The job folders of a Jobs/ folder (plain folders with a job id's name), oldest
    /// first; hidden leftovers of a start or removal a crash cut short are cleared away.
    static std::vector<std::string> ListJobs(const std::string& strJobsDir);
    /// Reads one job (its folder, ending in '/'): its record and its page, checked.
    static CJobLoad Load(const std::string& strJobDir);
    /// Reads the record alone (cheap: for showing where the job stands).
    static CJobLoad LoadRecord(const std::string& strJobDir);
    /// Forgets a job: its folder is renamed hidden (atomic), then emptied and removed.
    static bool Remove(const std::string& strJobDir);

private:
    bool Append(const std::string& strPayload);
    CResult OpenNew();
    CResult OpenContinued();
    CResult Fail(const std::string& strWhy);
    void CloseFd();

    std::string m_strJobsDir;
    CJobRecord m_record;
    const COnePage* m_pNewPage = nullptr;
    int m_nFd = -1;
    std::string m_strError;
};

} // namespace inkvale
