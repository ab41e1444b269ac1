// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/OnePage.h"
#include "raster/BandParams.h"
#include "support/Result.h"

#include <cstdint>
#include <span>
#include <string>

namespace inkvale {

/// What the journal knows of one job: enough to produce its band data again exactly (the
/// prepared page is kept beside the record, the band parameters with the label time are
/// here), where the machine got to, and why the job ended early.
struct CJobRecord {
    bool m_bInterrupted = false; ///< false while the job runs (or when the host died)
    std::string m_strTaskPath;   ///< the task's path (a derived task's carries its suffix)
    std::string m_strTaskName;   ///< the name shown for the task
    std::string m_strFilePath;   ///< the file the drawing came from; "" when none
    uint64_t m_nFileHash = 0;    ///< FNV-1a of the file's bytes at job start
    int64_t m_nFileSize = -1;    ///< -1 when the file could not be read at job start
    uint64_t m_nPageHash = 0;    ///< FNV-1a of the kept page file
    uint64_t m_nPageBytes = 0;   ///< size of the kept page file
    int64_t m_nBandCount = 0;    ///< bands of the whole job
    int32_t m_nJobWidth = 0;     ///< the job header's width
    CBandParams m_params;        ///< m_nFirstBand: first band of the machine's current job
    int64_t m_nConfirmed = 0;    ///< bands of the whole job confirmed in order: the next to send
    int64_t m_tStarted = 0;      ///< when the job first started (time_t)
    std::string m_strWhy;        ///< why it ended early, in English for logs
};

/// The record as the journal file holds it: a version line, then one "key value" line
/// each; texts are escaped so that none can break a line.
std::string FormatJobRecord(const CJobRecord& record);
/// Reads FormatJobRecord's text; false with why in strError for anything else (another
/// version, a missing or malformed field, a value out of range).
bool ParseJobRecord(const std::string& strText, CJobRecord& record, std::string& strError);

/// FNV-1a, 64 bits: enough to notice a changed file or a damaged page file.
uint64_t HashBytes(std::span<const uint8_t> bytes, uint64_t nHash = 0xcbf29ce484222325ull);
/// Hash and size of a file's contents; false when it cannot be read.
bool HashFile(const std::string& strPath, uint64_t& nHash, int64_t& nSize);

/// The first band a job interrupted after nConfirmed confirmed bands continues from. In
/// precise mode with an odd band height, half-band steps fall on whole feed pixels only
/// from an even band, so an odd band goes one band back.
int64_t ResumeBandOf(const CBandParams& params, int64_t nConfirmed);
/// Length of paper bands [0, nBands) of a job cover along the feed, millimetres.
double FeedLengthMm(const CBandParams& params, int64_t nBands);

/// An unfinished job read back from the journal.
struct [[nodiscard]] CJobLoad : CResult {
    CJobRecord m_record;
    COnePage m_page; ///< the prepared page the job printed
};

/// The job journal of one installation: the running or last unfinished job, kept in a
/// folder of the installation directory as two files, "job.page" (the prepared page, in
/// the task-file layout, written once when the job starts) and "job.journal" (the record,
/// replaced atomically at every confirmed band and flushed to the disk every few bands
/// and at every change of state). A finished job removes both. The journal holds one job:
/// a new job replaces an unfinished one.
///
/// Threads: Begin on the window thread before the band sender starts, every other member
/// on the band sender thread; the static members on any thread.
class CJobJournal {
public:
    /// Confirmed bands between two flushes of the record to the disk.
    static constexpr int kSyncEveryBands = 8;
    static constexpr const char* kRecordName = "job.journal";
    static constexpr const char* kPageName = "job.page";

    /// strDir ends in '/'; an empty folder switches the journal off.
    explicit CJobJournal(std::string strDir) : m_strDir(std::move(strDir)) {}

    bool Enabled() const { return !m_strDir.empty(); }
    const std::string& Dir() const { return m_strDir; }

    /// A job starts with this record. pNewPage is the prepared page of a new job (kept by
    /// the caller until the job ends), nullptr when the job continues the kept one.
    void Begin(const CJobRecord& record, const COnePage* pNewPage);
    /// Writes what Begin set up: the page and the file's hash of a new job, then the
    /// record, both flushed. False (and the journal off for this job) when they cannot be
    /// written; the job goes on unprotected.
    bool Open();
    /// The machine confirmed every band before nConfirmed (bands of the whole job).
    void Confirmed(int64_t nConfirmed);
    /// The job printed: the journal forgets it.
    void Finished();
    /// The job ended early: the record keeps where it got to and why.
    void Interrupted(const std::string& strWhy);
    const CJobRecord& Record() const { return m_record; }

    /// Whether the folder holds an unfinished job (its record at least).
    static bool HasJob(const std::string& strDir);
    /// Reads the unfinished job: its record and its page, checked against each other.
    static CJobLoad Load(const std::string& strDir);
    /// Reads the record alone (cheap: for showing where the job stands); false when there
    /// is none or it is damaged.
    static bool LoadRecord(const std::string& strDir, CJobRecord& record);
    /// Forgets the unfinished job.
    static void Discard(const std::string& strDir);

private:
    bool WriteRecord(bool bDurable);

    std::string m_strDir;
    CJobRecord m_record;
    const COnePage* m_pNewPage = nullptr;
    bool m_bOpen = false;
    int m_nUnsynced = 0;
};

} // namespace inkvale
