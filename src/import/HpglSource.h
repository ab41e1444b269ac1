// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace inkvale {

/// The bytes of one plot file, delivered in pieces. Opening refuses a file that another
/// process holds open for writing (one still being copied into a hot folder), which is what
/// an exclusive open achieves where the system has share modes.
class CHpglSource {
public:
    CHpglSource() = default;
    ~CHpglSource();
    CHpglSource(const CHpglSource&) = delete;
    CHpglSource& operator=(const CHpglSource&) = delete;

    /// False when the path is missing, unreadable, not a regular file or being written.
    bool Open(const std::string& strPath);
    /// The file's length in bytes at the time it was opened (all 64 bits).
    int64_t Length() const { return m_nLength; }
    /// The next piece, empty at the end of the file; never more than Length() in all.
    std::string_view Next();
    /// Whether reading failed (an I/O error, not the end of the file).
    bool Failed() const { return m_bFailed; }

    /// Whether another process (or this one) holds the file open for writing. False when
    /// the system cannot tell (a file system without leases, a file owned by someone else).
    static bool IsBeingWritten(int fd);

private:
    int m_fd = -1;
    int64_t m_nLength = 0;
    int64_t m_nRead = 0;
    bool m_bFailed = false;
    std::vector<char> m_buffer;
};

} // namespace inkvale
