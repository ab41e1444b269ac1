// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "raster/BandGeometry.h"
#include "raster/PrintHeadCodec.h"
#include "support/Result.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace inkvale {

/// Result of decoding one band's data.
struct [[nodiscard]] CBandDecodeResult : CResult {
    ERunError m_eError = ERunError::None;
    bool m_bWrongSize = false; ///< expanded to a word count other than the band's
};

/// Reads band data back the way the machine prints it: zero-run words into the column
/// image (columns reversed for a return band), each used lane's nozzle records into its
/// head's nozzles, and each fired nozzle to a sheet pixel. Column c of lane h is printed at
/// carriage row c - offset(h) with the lane offsets of the direction (F_h forward, B_h
/// return), and nozzle n of head h at band feed pixel S_h + n. So for a regular band
/// without edge adjustment the printed pixels equal the band bitmap's pixels below H;
/// cleaning and label bands show up where their nozzles land.
///
/// Any input is safe: malformed data gives an error and no reads or writes out of bounds.
/// One decoder per thread; it keeps its buffers between bands.
class CBandDecoder {
public:
    explicit CBandDecoder(const CBandParams& params) : m_geo(params) {}

    const CBandGeometry& Geometry() const { return m_geo; }

    /// Decodes one band of a job of JobWidth nJobWidth (0..28000). On success the printed
    /// pixels are in Bitmap(); on failure Bitmap() holds what the words decoded so far
    /// print (the machine prints whatever reached it).
    /// With bAllowPadding, zero bytes after a complete band (the rest of the link's last
    /// chunk) are accepted.
    CBandDecodeResult Decode(std::span<const uint8_t> data, int32_t nJobWidth, bool bReturn,
                             bool bAllowPadding = false);

    /// Printed pixels of the last band: Rows() rows (= JobWidth) of RowBytes() bytes, the
    /// most significant bit the lowest feed pixel; row = carriage column.
    const std::vector<uint8_t>& Bitmap() const { return m_bitmap; }
    int Rows() const { return m_nRows; }
    int RowBytes() const { return m_geo.RowBytes(); }
    bool Pixel(int nRow, int nPixel) const;

    /// The column image of the last band in column order (not in sending order).
    const std::vector<uint8_t>& Columns() const { return m_columns; }

private:
    void PrintColumns(int nColumns, bool bReturn);

    CBandGeometry m_geo;
    std::vector<uint16_t> m_words;
    std::vector<uint8_t> m_columns;
    std::vector<uint8_t> m_bitmap;
    int m_nRows = 0;
};

} // namespace inkvale
