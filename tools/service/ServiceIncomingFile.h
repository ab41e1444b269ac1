// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace inkvale::service {

/// How placing a received file went.
enum class EPlaced : uint8_t { kPlaced, kExists, kFailed };

/// Gives the file strFrom the path strTo in one step, never replacing a file there:
/// renameat2(RENAME_NOREPLACE), or where the file system does not offer it a hard link and
/// the removal of the old name. kExists when strTo is taken (strFrom stays).
EPlaced PlaceWithoutReplacing(const std::string& strFrom, const std::string& strTo);

/// A file being received into a hot folder (an upload, a raw print connection): its bytes
/// go to a hidden temporary name the folder's patterns never match, and only a complete
/// file takes its real name, so the folder's scan sees the whole file or nothing. A file
/// not placed is removed when the object ends. One thread at a time.
class CIncomingFile {
public:
    CIncomingFile() = default;
    ~CIncomingFile();
    CIncomingFile(const CIncomingFile&) = delete;
    CIncomingFile& operator=(const CIncomingFile&) = delete;

    /// Makes the temporary file in strFolder (which ends in '/'); false when it cannot.
    bool Open(const std::string& strFolder);
    /// Appends bytes; false when the disk refused them (the file is then useless).
    bool Append(const char* p, size_t n);
    /// Flushes and closes the file and names it strName in its folder (see
    /// PlaceWithoutReplacing); strName must be a plain file name. After kExists another
    /// name may be tried.
    EPlaced Place(const std::string& strName);
    /// Removes the temporary file now.
    void Discard();

    uint64_t Size() const { return m_nSize; }
    bool Failed() const { return m_bFailed; }

private:
    std::string m_strFolder;
    std::string m_strTemp;
    int m_fd = -1;
    uint64_t m_nSize = 0;
    bool m_bFailed = false;
};

} // namespace inkvale::service
