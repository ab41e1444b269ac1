// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "raster/BandDecoder.h"

#include <cstdint>
#include <span>
#include <vector>

namespace inkvale {

/// The printed sheet of one job, assembled from the band data the machine receives: band
/// j's printed pixel x lands in sheet column BandOffset(j) + x (overlapping bands of precise
/// mode add up), the band's carriage row is the sheet row. The plotter simulator and
/// `inkvale-cli render` both build their images this way, so they compare pixel for pixel.
/// One thread.
class CBandSheet {
public:
    /// Sheets above this many bytes are refused (every AddBand fails).
    static constexpr size_t kMaxBytes = size_t{1} << 31;

    CBandSheet(const CBandParams& params, int32_t nJobWidth, int64_t nBandCount);

    /// Decodes band j (its direction from the parameters) and adds its printed pixels.
    /// bAllowPadding accepts zero bytes after the band (the rest of the link's last chunk).
    CBandDecodeResult AddBand(int64_t j, std::span<const uint8_t> data, bool bAllowPadding = false);

    int64_t Width() const { return m_nWidth; }   ///< feed pixels
    int32_t Height() const { return m_nHeight; } ///< carriage rows = JobWidth
    bool Pixel(int32_t nRow, int64_t nColumn) const;
    /// Row nRow's pixels, one bit each, the leftmost in the most significant bit, RowBytes()
    /// bytes (nullptr when the sheet was refused as too large or the row does not exist).
    const uint8_t* RowBits(int32_t nRow) const;
    size_t RowBytes() const { return m_nRowBytes; }

private:
    CBandDecoder m_decoder;
    int64_t m_nBandCount;
    int64_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    size_t m_nRowBytes = 0;
    bool m_bTooLarge = false;
    std::vector<uint8_t> m_bits;
};

} // namespace inkvale
