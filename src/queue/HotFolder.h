// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace inkvale {

/// One file found in a hot folder.
struct CFolderFile {
    std::string m_strPath; ///< folder + name
    std::string m_strName;
    int64_t m_nSize = 0;
    int64_t m_tTime = 0;    ///< last-write time, seconds since 1970 UTC
    int64_t m_nMtimeNs = 0; ///< last-write time, nanoseconds since 1970 UTC
};

/// The patterns of PrtFileExtension: the fields between ';'. A last pattern typed without
/// its ';' ("*.plt", or "*.plt;*.dxf") still counts: an operator who leaves it off means
/// it, and the folders would otherwise take no files at all without a word.
std::vector<std::string> PatternList(const std::string& strExtensions);

/// Whether a file name matches one wildcard pattern ('*', '?' and '[...]'), ignoring case:
/// the CAD stations that fill the folders run Windows, where "*.plt" takes "MARKER.PLT".
bool MatchesPattern(const std::string& strName, const std::string& strPattern);

/// The regular files directly in strFolder (which ends in '/') smaller than nLimitBytes,
/// sorted by name; the larger ones go to *pTooLarge when it is given. A folder that does
/// not exist or cannot be read yields none.
std::vector<CFolderFile> ListFolderFiles(const std::string& strFolder, int64_t nLimitBytes,
                                         std::vector<CFolderFile>* pTooLarge = nullptr);

/// Tells whether the writer of a file in the automatic folder has finished.
///
/// A file is still being written while another process holds it open for writing: a read
/// lease cannot be taken then. A writer that opens the file anew for every piece holds it
/// only now and then, so the file must also have kept its size and last-write time for the
/// settle time: by its last-write time, or, for a time in the future (another machine's
/// clock), as seen by the polls. Where the file system or the file's owner does not allow a
/// lease, the file counts as finished once its size and last-write time were the same at
/// two polls in a row and for the settle time. Window thread.
class CWriterCheck {
public:
    /// bUseLeases false: only the size-and-time rule (as where leases are refused).
    explicit CWriterCheck(bool bUseLeases = true);
    /// Opens the file for reading (never following a link nor waiting on a FIFO) and
    /// checks its writer; false: skip it for this pass.
    bool WriterFinished(const CFolderFile& file, int32_t nSettleMs = 0);
    /// Forgets the files not seen since the last call (keeps the memory bounded).
    void ForgetUnseen();
    /// A file this program placed whole (written under another name, flushed and renamed):
    /// it is taken at the next look as it is now, without waiting for it to settle. A file
    /// that changes after this is checked as any other.
    void Vouch(const std::string& strPath);

private:
    struct CSeen {
        int64_t m_nSize;
        int64_t m_nMtimeNs;
        bool m_bSeen;
        int64_t m_nSinceNs = 0; ///< steady time since which it looked like this
    };
    bool StableSinceLastPoll(const CFolderFile& file);
    bool Settled(const CFolderFile& file, int32_t nSettleMs);
    void Note(const CFolderFile& file);

    std::unordered_map<std::string, CSeen> m_seen;
    /// Vouched files: size and modification time as they were placed.
    std::unordered_map<std::string, std::pair<int64_t, int64_t>> m_vouched;
    bool m_bUseLeases;
};

} // namespace inkvale
