// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

namespace inkvale::fontgen {

/// A 16 x 16 one-bit glyph: row 0 on top, bit 15 of a row is its leftmost pixel.
using CBitmap16 = std::array<uint16_t, 16>;

/// Reads GNU Unifont's ".hex" file (one "CODEPOINT:HEX" line per glyph, 32 hex digits for
/// an 8 x 16 glyph, 64 for a 16 x 16 one). Half-width glyphs are centred in the 16 pixel
/// cell. Empty map when the file cannot be read.
std::map<uint32_t, CBitmap16> ReadUnifontHex(const std::string& path);

/// The Unicode code point of the GB2312 character with the EUC bytes (hi, lo), through
/// the C library's iconv; 0 when the bytes are not a GB2312 character.
class CGb2312Decoder {
public:
    CGb2312Decoder();
    ~CGb2312Decoder();
    CGb2312Decoder(const CGb2312Decoder&) = delete;
    CGb2312Decoder& operator=(const CGb2312Decoder&) = delete;

    bool IsOpen() const;
    uint32_t Decode(uint8_t hi, uint8_t lo);

private:
    void* m_pConv; // iconv_t
};

} // namespace inkvale::fontgen
