// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace inkvale {

/// Writes the little-endian archive encodings used by the task file: integers, the
/// archive count (16 bits, or 0xFFFF and 32 bits) and the archive string (0xFF 0xFFFE
/// marker, length in one of three forms, UTF-16LE characters).
class CArchiveWriter {
public:
    void WriteByte(uint8_t v) { m_bytes.push_back(v); }
    void WriteUInt16(uint16_t v);
    void WriteUInt32(uint32_t v);
    void WriteInt32(int32_t v) { WriteUInt32(static_cast<uint32_t>(v)); }
    void WriteCount(uint32_t count);
    /// Writes UTF-8 text as an archive string (converted to UTF-16).
    void WriteString(std::string_view utf8);
    void WriteString16(std::u16string_view text);

    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    std::vector<uint8_t> TakeBytes() { return std::move(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
};

/// Reads the encodings of CArchiveWriter from a byte buffer it does not own. The first
/// failure (truncation or a malformed value) sticks: every later read fails too and
/// returns zero or empty values, so callers may check Ok() once after a group of reads.
/// Nothing is ever read past the end of the buffer.
class CArchiveReader {
public:
    CArchiveReader(const uint8_t* data, size_t size) : m_pData(data), m_nSize(size) {}
    explicit CArchiveReader(const std::vector<uint8_t>& bytes)
        : CArchiveReader(bytes.data(), bytes.size()) {}

    uint8_t ReadByte();
    uint16_t ReadUInt16();
    uint32_t ReadUInt32();
    int32_t ReadInt32() { return static_cast<int32_t>(ReadUInt32()); }
    uint32_t ReadCount();
    /// Reads an archive string and returns it as UTF-8.
    std::string ReadString();
    std::u16string ReadString16();

    /// Whether at least n more bytes remain (for checking a count before allocating).
    bool HasBytes(size_t n) const { return m_bOk && m_nSize - m_nPos >= n; }
    bool Ok() const { return m_bOk; }
    bool AtEnd() const { return m_nPos == m_nSize; }
    size_t Position() const { return m_nPos; }
    size_t Remaining() const { return m_nSize - m_nPos; }
    /// What went wrong first, for diagnostics; empty while Ok().
    const std::string& Error() const { return m_strError; }
    /// Marks the stream as failed (for callers that find a value they cannot accept).
    void Fail(std::string why);

private:
    bool Take(size_t n, const uint8_t*& p);

    const uint8_t* m_pData;
    size_t m_nSize;
    size_t m_nPos = 0;
    bool m_bOk = true;
    std::string m_strError;
};

} // namespace inkvale
