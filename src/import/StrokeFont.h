// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace inkvale {

/// One index record of a stroke font: where the shape bytes of one character lie.
struct CCharactor {
    uint16_t m_nCode = 0;   ///< byte value, or first byte * 256 + second byte
    uint16_t m_nLength = 0; ///< number of shape bytes; 0 means the character has no glyph
    uint16_t m_nWidth = 0;  ///< advance width in font units; 0 in the double-byte font
    uint32_t m_nOffset = 0; ///< absolute position of the shape bytes in the file
};

/// One stroke-font file held in memory for the life of a reader, so that drawing text never
/// goes back to the disk.
///
/// File layout (little-endian): the double-byte font has an 8-byte header (u16 value 1,
/// u16 value 2, u32 count) and 8-byte records (u16 code, u16 length, u32 offset); the
/// single-byte font a 10-byte header (three u16 values, u32 count) and 10-byte records
/// (u16 code, u16 length, u16 advance width, u32 offset). The records follow the header,
/// sorted by code.
class CStrokeFont {
public:
    enum class EKind { DoubleByte, SingleByte };

    /// Files beyond this size are read only up to it; the shipped fonts are far smaller.
    static constexpr size_t kMaxFileSize = 16u << 20;

    explicit CStrokeFont(EKind eKind) : m_eKind(eKind) {}

    /// Reads the font file. A file that cannot be opened or is shorter than its header makes
    /// an empty font (header values 0, no records).
    void LoadFile(const std::string& strPath);
    /// Loads a font from a file image that stays alive and unchanged for the life of this
    /// object (the fonts built into the program); nothing is copied.
    void LoadStatic(std::span<const uint8_t> bytes);
    /// Loads a font from a copy of a file image.
    void LoadBytes(std::vector<uint8_t> bytes);
    void Clear();

    EKind Kind() const { return m_eKind; }
    /// The record with the code, by binary search (within the records sharing its first
    /// byte); nullptr when there is none.
    const CCharactor* Find(uint16_t nCode) const;
    /// The shape bytes of a record, cut where the file ends.
    std::span<const uint8_t> Glyph(const CCharactor& rec) const;

    uint16_t m_nHeader1 = 0;
    uint16_t m_nHeader2 = 0;
    uint16_t m_nHeader3 = 0; ///< single-byte font only; not used for drawing
    /// Index records in file order. A count in the header larger than the records present
    /// keeps only the complete records, so a truncated file cannot claim memory or slots it
    /// does not have.
    std::vector<CCharactor> m_arrIndex;

private:
    void ParseIndex();
    void BuildRows();

    EKind m_eKind;
    std::span<const uint8_t> Bytes() const;

    std::vector<uint8_t> m_owned;              // a file read or a copy
    std::span<const uint8_t> m_static;         // or the built-in image
    std::array<uint32_t, 257> m_arrRowStart{}; // first record of each first byte
};

} // namespace inkvale
