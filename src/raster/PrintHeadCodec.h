// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace inkvale {

/// Nozzle flags of one head for one carriage column: N[n] for nozzle n = 0..149, 0 or 1.
using CNozzleVector = std::array<uint8_t, 150>;
/// The 22-byte record of one head and column in the cartridge's firing order.
using CNozzleRecord = std::array<uint8_t, 22>;

/// Byte g, bit k (k < 7) holds nozzle 22 * (k - d(g)) + r(g) with r(g) = 3g mod 22 and
/// d(g) = 1 for r(g) >= 20; bit 7 and indices outside 0..149 are 0.
CNozzleRecord EncodeNozzleRecord(const CNozzleVector& nozzles);
/// The inverse: the flags a record fires.
CNozzleVector DecodeNozzleRecord(const CNozzleRecord& record);

/// Zero-run coding of band data: a zero word is followed by the length of a run of zero
/// words (1 to 2200), any other word is literal. Words travel little-endian.
///
/// Encodes the columns of a column image (nColumnBytes bytes each, an even number) read as
/// little-endian words, columns in order 0..n-1 or, with bReverse, n-1..0. Writes the code
/// words little-endian to pOut and returns the number of bytes written. The output never
/// exceeds 1.5 * words + 2 words; nCapacity (bytes) must allow that.
size_t EncodeColumnImage(const uint8_t* pImage, int nColumns, int nColumnBytes, bool bReverse,
                         uint8_t* pOut, size_t nCapacity);

/// The same coding of a plain word sequence (for tools and tests).
std::vector<uint16_t> EncodeZeroRuns(std::span<const uint16_t> words);

/// Why band data could not be expanded.
enum class ERunError {
    None,
    OddLength,     ///< a byte count that is not a whole number of words
    MissingLength, ///< the data ends with a zero word and no run length
    BadLength,     ///< a run length of 0 or above 2200
    TooLong,       ///< the expansion exceeds the expected size
};

/// Expands zero-run coded bytes into at most nCapacity words of pOut; nWords receives the
/// number of words produced (also on failure: the words expanded so far) and, when given,
/// *pUsedBytes the bytes of input that produced them. Never reads or writes out of bounds,
/// whatever the input.
ERunError DecodeZeroRuns(std::span<const uint8_t> data, uint16_t* pOut, size_t nCapacity,
                         size_t& nWords, size_t* pUsedBytes = nullptr);

} // namespace inkvale
