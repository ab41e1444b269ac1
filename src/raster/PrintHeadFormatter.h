// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "raster/BandGeometry.h"

#include <cstddef>
#include <cstdint>

namespace inkvale {

/// Turns a band bitmap into band data: nozzle records per head and carriage column, placed
/// into the column image with the lane offsets of the direction and the edge adjustment,
/// then zero-run coded in sending order. Immutable; band sender thread (or any one thread
/// per set of buffers).
class CPrintHeadFormatter {
public:
    /// nLogoLength: UTF-16 length of CustomString; nPathLength: UTF-16 length of the
    /// working page's path (they size the cleaning and label bands).
    CPrintHeadFormatter(const CBandGeometry& geometry, int nLogoLength, int nPathLength);

    /// Band j of a job of nBandCount bands and JobWidth nJobWidth (0..28000): clears and
    /// fills the column image (at least (nJobWidth + 30) * ColumnBytes bytes) from the
    /// bitmap (nJobWidth rows of RowBytes), then codes it into pOut (nCapacity bytes).
    /// Returns the band data length in bytes; the bytes after it up to the next 4096-byte
    /// boundary (within nCapacity) are zeroed, since the link sends whole chunks.
    size_t FormatBand(int64_t j, int64_t nBandCount, int32_t nJobWidth, const uint8_t* pBitmap,
                      uint8_t* pColumns, uint8_t* pOut, size_t nCapacity) const;

    /// The column image step alone (columns cleared first).
    void FillColumns(int64_t j, int64_t nBandCount, int32_t nJobWidth, const uint8_t* pBitmap,
                     uint8_t* pColumns) const;

    /// The records of all lanes of one bitmap row, lane h at bytes 22h..22h+21 of pRecords
    /// (ColumnBytes bytes).
    void RowRecords(const uint8_t* pRow, uint8_t* pRecords) const;

private:
    /// Sets the record bit of band pixel nPixel (no bit for pixels beyond the heads).
    void PutPixel(int nPixel, uint8_t* pRecords) const {
        const CNozzleSlot& slot = m_geo.Slot(nPixel);
        if (slot.m_nLane >= 0)
            pRecords[slot.m_nByte] |= slot.m_nMask;
    }
    /// Whether a bitmap row has no pixel the heads print.
    bool RowEmpty(const uint8_t* pRow) const;
    void FillRegular(bool bReturn, int32_t nJobWidth, const uint8_t* pBitmap,
                     uint8_t* pColumns) const;
    void FillSpecial(int nTopRow, int nLowRow, const int* pBase, int32_t nJobWidth,
                     const uint8_t* pBitmap, uint8_t* pColumns) const;
    void PutRecords(const uint8_t* pRecords, const int* pColumn, int32_t nJobWidth,
                    uint8_t* pColumns) const;

    CBandGeometry m_geo;
    int m_nLogoLength;
    int m_nPathLength;
};

} // namespace inkvale
