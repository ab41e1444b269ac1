// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace inkvale {

/// Replaces the file at strPath with the bytes: they go into strPath + ".tmp" first, which
/// is then renamed over the file, so a reader finds the old contents or the new ones,
/// never a mix, whenever the process dies. With bDurable the new file's data and the
/// folder entry are flushed to the disk before returning, so that a power failure keeps
/// them too. False (and the old file untouched) when any step fails.
bool WriteFileAtomically(const std::string& strPath, std::span<const uint8_t> bytes, bool bDurable);
bool WriteFileAtomically(const std::string& strPath, const std::string& strText, bool bDurable);

/// Flushes a folder's entries (a rename or removal in it) to the disk.
void SyncFolder(const std::string& strFolder);

/// Reads a whole file, refusing one over nMaxBytes; false when it cannot be read.
bool ReadWholeFile(const std::string& strPath, size_t nMaxBytes, std::string& strOut);

} // namespace inkvale
