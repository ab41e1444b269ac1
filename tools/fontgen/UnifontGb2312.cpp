// SPDX-License-Identifier: GPL-3.0-or-later
#include "UnifontGb2312.h"

#include <fstream>
#include <iconv.h>

namespace inkvale::fontgen {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Parses the hex digits of one glyph; false on a malformed line.
bool ParseBitmap(const std::string& hex, CBitmap16& bitmap) {
    const size_t digitsPerRow = hex.size() / 16;
    if (hex.size() != 32 && hex.size() != 64)
        return false;
    for (size_t row = 0; row < 16; ++row) {
        unsigned value = 0;
        for (size_t k = 0; k < digitsPerRow; ++k) {
            const int d = HexDigit(hex[row * digitsPerRow + k]);
            if (d < 0)
                return false;
            value = value * 16 + static_cast<unsigned>(d);
        }
        // An 8-pixel row sits in the middle of the 16-pixel cell.
        bitmap[row] = static_cast<uint16_t>(digitsPerRow == 2 ? value << 4 : value);
    }
    return true;
}

} // namespace

std::map<uint32_t, CBitmap16> ReadUnifontHex(const std::string& path) {
    std::map<uint32_t, CBitmap16> glyphs;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        CBitmap16 bitmap{};
        std::string hex = line.substr(colon + 1);
        while (!hex.empty() && (hex.back() == '\r' || hex.back() == ' '))
            hex.pop_back();
        if (ParseBitmap(hex, bitmap))
            glyphs[static_cast<uint32_t>(std::stoul(line.substr(0, colon), nullptr, 16))] = bitmap;
    }
    return glyphs;
}

CGb2312Decoder::CGb2312Decoder() : m_pConv(iconv_open("UTF-32LE", "GB2312")) {}

CGb2312Decoder::~CGb2312Decoder() {
    if (IsOpen())
        iconv_close(static_cast<iconv_t>(m_pConv));
}

bool CGb2312Decoder::IsOpen() const {
    return m_pConv != reinterpret_cast<void*>(-1);
}

uint32_t CGb2312Decoder::Decode(uint8_t hi, uint8_t lo) {
    if (!IsOpen())
        return 0;
    char in[2] = {static_cast<char>(hi), static_cast<char>(lo)};
    unsigned char out[8] = {};
    char* pIn = in;
    char* pOut = reinterpret_cast<char*>(out);
    size_t inLeft = sizeof in;
    size_t outLeft = sizeof out;
    iconv(static_cast<iconv_t>(m_pConv), nullptr, nullptr, nullptr, nullptr);
    const size_t r = iconv(static_cast<iconv_t>(m_pConv), &pIn, &inLeft, &pOut, &outLeft);
    // Exactly one character must come out of the two bytes.
    if (r == static_cast<size_t>(-1) || inLeft != 0 || outLeft != sizeof out - 4)
        return 0;
    return static_cast<uint32_t>(out[0]) | static_cast<uint32_t>(out[1]) << 8 |
           static_cast<uint32_t>(out[2]) << 16 | static_cast<uint32_t>(out[3]) << 24;
}

} // namespace inkvale::fontgen
