// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/Result.h"

#include <cstdint>
#include <ctime>
#include <string>

namespace inkvale {

/// Where files taken out of the hot folders go, so that none is ever lost.
///
/// A printed or removed file goes to the desktop trash of the user (the freedesktop.org
/// home trash: $XDG_DATA_HOME/Trash, or $HOME/.local/share/Trash, with the file in files/
/// and its original path and deletion time in info/<name>.trashinfo), where the file
/// manager can show and restore it. The home trash takes files by rename only, so a file on
/// another file system (a network share, say), or one whose trash cannot be made, goes to
/// the folder Printed/ beside its hot folder instead: <folder of the file>/../Printed/.
/// There its name starts with the local time it was removed, "YYYYMMDD-hhmmss_" (or
/// "YYYYMMDD-hhmmss-N_" when that name is taken), which PrunePrinted reads: moves keep a
/// drawing's own last-write time, which says nothing about when it left the folder.
///
/// A file refused by the automatic folder goes to the folder Rejected/ beside it, with a
/// text file "<name>.why.txt" next to it that says where it came from, when and why.
///
/// No function here replaces an existing file, follows a link for the moved file, or
/// deletes a file it could not move: a failure leaves the file where it was and says why.
/// Nothing is shown; failures come back as codes and English texts.

inline constexpr int kDisposeNotRegular = 1; ///< no regular file at the path (a link, a folder)
inline constexpr int kDisposeNoPlace = 2;    ///< the file could be moved nowhere; it stayed
inline constexpr int kDisposeTaken = 3;      ///< restore: a file is at the original path again
inline constexpr int kDisposeFailed = 4;     ///< restore or prune: the file system refused

/// Where a disposed file is now.
enum class EDisposal : uint8_t {
    kNone,     ///< nowhere else: the file was not moved
    kTrash,    ///< the home trash; m_strSidecar is its .trashinfo
    kPrinted,  ///< the Printed/ folder beside its hot folder; no sidecar
    kRejected, ///< the Rejected/ folder beside its hot folder; m_strSidecar is its .why.txt
};

/// The record of one move: enough for RestoreFile to bring the file back.
struct [[nodiscard]] CDisposal : CResult {
    EDisposal m_eWhere = EDisposal::kNone;
    std::string m_strOriginal; ///< absolute path the file had (its folder without links)
    std::string m_strPath;     ///< where the file is now
    std::string m_strSidecar;  ///< the file that describes it there; empty for kPrinted
};

/// Moves the regular file at strPath to the home trash, or, failing that, to the Printed/
/// folder beside its hot folder. tNow is the deletion time written down (local time).
/// Codes: kDisposeNotRegular, kDisposeNoPlace.
CDisposal MoveToTrash(const std::string& strPath, std::time_t tNow = std::time(nullptr));

/// Moves the file of a record back to its original path and removes its sidecar. A file
/// that is at the original path by now is kept: the restore fails (kDisposeTaken) and the
/// disposed file stays where the record says. Other failures: kDisposeFailed.
CResult RestoreFile(const CDisposal& record);

/// The result of PrunePrinted: how many files went. A file that could not be removed makes
/// the code kDisposeFailed and is named in the text; the others are removed all the same.
struct [[nodiscard]] CPruneResult : CResult {
    int m_nRemoved = 0;
};

/// Deletes the files in the Printed/ folder strFolder that were removed from their hot
/// folder nKeepDays days (of 24 hours) or more before tNow, by the time their names start
/// with. Files without such a name, and anything that is not a regular file, are left
/// alone; nKeepDays < 0 keeps every file.
CPruneResult PrunePrinted(const std::string& strFolder, int nKeepDays, std::time_t tNow);

/// Moves a file the automatic folder refused to <folder of the file>/../Rejected/ (made
/// when missing) under its own name, or "stem.2.ext", "stem.3.ext", ... while that is
/// taken, and writes "<new name>.why.txt" next to it: the original path, the local date and
/// time tNow, and strReason (UTF-8). Codes: kDisposeNotRegular, kDisposeNoPlace.
CDisposal MoveToRejected(const std::string& strPath, const std::string& strReason,
                         std::time_t tNow);

} // namespace inkvale
