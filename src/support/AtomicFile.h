// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace inkvale {

/// Replaces the file at strPath with the bytes: they go into a temporary file of a name of
/// its own beside it (created exclusively, so two writers never share one), which is then
/// renamed over the file, so a reader finds the old contents or the new ones, never a mix,
/// whenever the process dies. With bDurable the new file's data and the folder entry are
/// flushed to the disk before returning, so that a power failure keeps them too. False
/// (the old file untouched, the reason in *pError when given) when any step fails.
bool WriteFileAtomically(const std::string& strPath, std::span<const uint8_t> bytes, bool bDurable,
                         std::string* pError = nullptr);
bool WriteFileAtomically(const std::string& strPath, const std::string& strText, bool bDurable,
                         std::string* pError = nullptr);

/// Flushes a folder's entries (a rename or removal in it) to the disk; false when it
/// cannot be opened or flushed.
bool SyncFolder(const std::string& strFolder);

/// Opens a file for reading without following a symbolic link in its last part and without
/// waiting for a writer (a FIFO or a device never blocks the open), and keeps it open only
/// when it is a regular file: the descriptor, or -1 with errno set (EINVAL: not a regular
/// file).
int OpenRegularFile(const std::string& strPath);

/// Reads a whole regular file (opened as OpenRegularFile does), refusing one over
/// nMaxBytes; false when it cannot be read.
bool ReadWholeFile(const std::string& strPath, size_t nMaxBytes, std::string& strOut);

/// Whether strPath is a folder itself, not a symbolic link to one.
bool IsPlainFolder(const std::string& strPath);

/// Writes all bytes to the descriptor, going on after interruptions; false on any error.
bool WriteAllBytes(int fd, const uint8_t* p, size_t n);

} // namespace inkvale
