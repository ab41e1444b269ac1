// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Crc32c.h"

#include <array>

namespace inkvale {

namespace {

constexpr uint32_t kPolynomial = 0x82f63b78u; // 0x1edc6f41, bits reversed

constexpr std::array<uint32_t, 256> MakeTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t n = i;
        for (int k = 0; k < 8; ++k)
            n = (n & 1) != 0 ? (n >> 1) ^ kPolynomial : n >> 1;
        table[i] = n;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kTable = MakeTable();

} // namespace

uint32_t Crc32c(std::span<const uint8_t> bytes, uint32_t nCrc) {
    nCrc = ~nCrc;
    for (const uint8_t b : bytes)
        nCrc = kTable[(nCrc ^ b) & 0xffu] ^ (nCrc >> 8);
    return ~nCrc;
}

} // namespace inkvale
