// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/PlaceFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace inkvale::service {

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
