// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Archive.h"

#include "support/Utf.h"

namespace inkvale {

namespace {
constexpr uint16_t kCountEscape = 0xFFFF;
constexpr uint8_t kUnicodeMarkLead = 0xFF;
constexpr uint16_t kUnicodeMark = 0xFFFE;
constexpr uint8_t kByteLengthEscape = 0xFF;
constexpr uint16_t kWordLengthEscape = 0xFFFF;
} // namespace

void CArchiveWriter::WriteUInt16(uint16_t v) {
    m_bytes.push_back(static_cast<uint8_t>(v));
    m_bytes.push_back(static_cast<uint8_t>(v >> 8));
}

void CArchiveWriter::WriteUInt32(uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        m_bytes.push_back(static_cast<uint8_t>(v >> shift));
}

void CArchiveWriter::WriteCount(uint32_t count) {
    if (count < kCountEscape) {
        WriteUInt16(static_cast<uint16_t>(count));
        return;
    }
    WriteUInt16(kCountEscape);
    WriteUInt32(count);
}

void CArchiveWriter::WriteString(std::string_view utf8) {
    WriteString16(Utf8ToUtf16(utf8));
}

void CArchiveWriter::WriteString16(std::u16string_view text) {
    WriteByte(kUnicodeMarkLead);
    WriteUInt16(kUnicodeMark);
    const size_t len = text.size();
    if (len < 0xFF) {
        WriteByte(static_cast<uint8_t>(len));
    } else if (len < 0xFFFE) {
        WriteByte(kByteLengthEscape);
        WriteUInt16(static_cast<uint16_t>(len));
    } else {
        WriteByte(kByteLengthEscape);
        WriteUInt16(kWordLengthEscape);
        WriteUInt32(static_cast<uint32_t>(len));
    }
    for (char16_t c : text)
        WriteUInt16(static_cast<uint16_t>(c));
}

void CArchiveReader::Fail(std::string why) {
    if (!m_bOk)
        return;
    m_bOk = false;
    m_strError = std::move(why);
}

bool CArchiveReader::Take(size_t n, const uint8_t*& p) {
    if (!m_bOk)
        return false;
    if (m_nSize - m_nPos < n) {
        Fail("truncated at byte " + std::to_string(m_nPos));
        return false;
    }
    p = m_pData + m_nPos;
    m_nPos += n;
    return true;
}

uint8_t CArchiveReader::ReadByte() {
    const uint8_t* p = nullptr;
    return Take(1, p) ? p[0] : 0;
}

uint16_t CArchiveReader::ReadUInt16() {
    const uint8_t* p = nullptr;
    if (!Take(2, p))
        return 0;
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t CArchiveReader::ReadUInt32() {
    const uint8_t* p = nullptr;
    if (!Take(4, p))
        return 0;
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint32_t CArchiveReader::ReadCount() {
    const uint16_t small = ReadUInt16();
    return small != kCountEscape ? small : ReadUInt32();
}

std::u16string CArchiveReader::ReadString16() {
    const size_t start = m_nPos;
    if (ReadByte() != kUnicodeMarkLead || ReadUInt16() != kUnicodeMark) {
        Fail("no text marker at byte " + std::to_string(start));
        return {};
    }
    uint32_t len = ReadByte();
    if (len == kByteLengthEscape) {
        len = ReadUInt16();
        if (len == kWordLengthEscape)
            len = ReadUInt32();
    }
    // The length is checked against what is left before anything is allocated.
    if (!HasBytes(size_t{len} * 2)) {
        Fail("text length " + std::to_string(len) + " beyond the end at byte " +
             std::to_string(start));
        return {};
    }
    std::u16string text(len, u'\0');
    for (auto& c : text)
        c = static_cast<char16_t>(ReadUInt16());
    return text;
}

std::string CArchiveReader::ReadString() {
    return Utf16ToUtf8(ReadString16());
}

} // namespace inkvale
