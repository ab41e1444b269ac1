// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/StrokeFont.h"

#include <algorithm>
#include <fstream>

namespace inkvale {

namespace {

uint16_t ReadU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(ReadU16(p)) | static_cast<uint32_t>(ReadU16(p + 2)) << 16;
}

} // namespace

void CStrokeFont::Clear() {
    m_nHeader1 = m_nHeader2 = m_nHeader3 = 0;
    m_arrIndex.clear();
    m_arrRowStart.fill(0);
    m_owned.clear();
    m_static = {};
}

void CStrokeFont::LoadFile(const std::string& strPath) {
    std::vector<uint8_t> bytes;
    std::ifstream in(strPath, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : 0;
    if (size > 0 && in.seekg(0)) {
        bytes.resize(std::min(static_cast<size_t>(size), kMaxFileSize));
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        // A file that shrank while being read keeps what arrived.
        bytes.resize(static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    }
    LoadBytes(std::move(bytes));
}

void CStrokeFont::LoadStatic(std::span<const uint8_t> bytes) {
    Clear();
    m_static = bytes.first(std::min(bytes.size(), kMaxFileSize));
    ParseIndex();
}

void CStrokeFont::LoadBytes(std::vector<uint8_t> bytes) {
    Clear();
    m_owned = std::move(bytes);
    if (m_owned.size() > kMaxFileSize)
        m_owned.resize(kMaxFileSize);
    ParseIndex();
}

std::span<const uint8_t> CStrokeFont::Bytes() const {
    return m_static.empty() ? std::span<const uint8_t>(m_owned) : m_static;
}

void CStrokeFont::ParseIndex() {
    const std::span<const uint8_t> bytes = Bytes();
    const bool bSingle = m_eKind == EKind::SingleByte;
    const size_t headerSize = bSingle ? 10 : 8;
    const size_t recordSize = bSingle ? 10 : 8;
    if (bytes.size() < headerSize) {
        Clear();
        return;
    }
    const uint8_t* p = bytes.data();
    m_nHeader1 = ReadU16(p);
    m_nHeader2 = ReadU16(p + 2);
    m_nHeader3 = bSingle ? ReadU16(p + 4) : 0;
    const uint32_t count = ReadU32(p + headerSize - 4);
    const size_t present = (bytes.size() - headerSize) / recordSize;
    m_arrIndex.resize(std::min<size_t>(count, present));
    p += headerSize;
    for (CCharactor& rec : m_arrIndex) {
        rec.m_nCode = ReadU16(p);
        rec.m_nLength = ReadU16(p + 2);
        rec.m_nWidth = bSingle ? ReadU16(p + 4) : 0;
        rec.m_nOffset = ReadU32(p + recordSize - 4);
        p += recordSize;
    }
    BuildRows();
}

namespace {

bool CodeBelow(const CCharactor& rec, uint16_t code) {
    return rec.m_nCode < code;
}

} // namespace

// Where each first byte's codes begin, so that a lookup searches only its row (at most 256
// records, a few cache lines) instead of the whole index. Kept non-decreasing even for an
// unsorted index, where lookups may miss but never leave the array.
void CStrokeFont::BuildRows() {
    uint32_t previous = 0;
    for (size_t hi = 0; hi < 256; ++hi) {
        const auto it = std::lower_bound(m_arrIndex.begin(), m_arrIndex.end(),
                                         static_cast<uint16_t>(hi << 8), CodeBelow);
        previous = std::max(previous, static_cast<uint32_t>(it - m_arrIndex.begin()));
        m_arrRowStart[hi] = previous;
    }
    m_arrRowStart[256] = static_cast<uint32_t>(m_arrIndex.size());
}

const CCharactor* CStrokeFont::Find(uint16_t nCode) const {
    const auto first = m_arrIndex.begin() + m_arrRowStart[nCode >> 8];
    const auto last = m_arrIndex.begin() + m_arrRowStart[(nCode >> 8) + 1];
    const auto it = std::lower_bound(first, last, nCode, CodeBelow);
    if (it == last || it->m_nCode != nCode)
        return nullptr;
    return &*it;
}

std::span<const uint8_t> CStrokeFont::Glyph(const CCharactor& rec) const {
    const std::span<const uint8_t> bytes = Bytes();
    if (rec.m_nOffset >= bytes.size())
        return {};
    return bytes.subspan(rec.m_nOffset,
                         std::min<size_t>(rec.m_nLength, bytes.size() - rec.m_nOffset));
}

} // namespace inkvale
