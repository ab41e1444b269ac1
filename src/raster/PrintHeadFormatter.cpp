// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PrintHeadFormatter.h"

#include "raster/PrintHeadCodec.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace inkvale {

namespace {

constexpr int kCleanFirstRow = 667; // rows 0..666 of the cleaning picture are never printed
constexpr int kLabelFirstRow = 81;  // nor rows 0..80 of the label
constexpr uint8_t kZeroRecords[CBandGeometry::kMaxColumnBytes] = {}; // an empty row's records

// Columns of the edge zone for a margin in mm: trunc(E / 1000 * margin * 0.25).
int EdgeZone(uint32_t nXDotsPerMetre, int nMarginMm) {
    return static_cast<int>(std::trunc(nXDotsPerMetre / 1000.0 * nMarginMm * 0.25));
}

} // namespace

CPrintHeadFormatter::CPrintHeadFormatter(const CBandGeometry& geometry, int nLogoLength,
                                         int nPathLength)
    : m_geo(geometry), m_nLogoLength(nLogoLength), m_nPathLength(nPathLength) {}

void CPrintHeadFormatter::RowRecords(const uint8_t* pRow, uint8_t* pRecords) const {
    std::memset(pRecords, 0, static_cast<size_t>(m_geo.ColumnBytes()));
    const int nBytes = (m_geo.BandHeight() + 7) / 8;
    // Line drawings leave most of a row empty: take eight bytes at a time and visit only
    // the set pixels. Read big-endian, the word's top bit is the leftmost pixel.
    int b = 0;
    for (; b + 8 <= nBytes; b += 8) {
        uint64_t v;
        std::memcpy(&v, pRow + b, 8);
        if (v == 0)
            continue;
        if constexpr (std::endian::native == std::endian::little)
            v = __builtin_bswap64(v);
        while (v != 0) {
            const int nBit = std::countl_zero(v);
            v &= ~(uint64_t{1} << (63 - nBit));
            PutPixel(8 * b + nBit, pRecords);
        }
    }
    for (; b < nBytes; ++b) {
        unsigned v = pRow[b];
        while (v != 0) {
            const int nBit = std::countl_zero(static_cast<uint8_t>(v));
            v &= ~(0x80u >> nBit);
            PutPixel(8 * b + nBit, pRecords);
        }
    }
}

bool CPrintHeadFormatter::RowEmpty(const uint8_t* pRow) const {
    const int nBytes = (m_geo.BandHeight() + 7) / 8;
    int b = 0;
    for (; b + 8 <= nBytes; b += 8) {
        uint64_t v;
        std::memcpy(&v, pRow + b, 8);
        if (v != 0)
            return false;
    }
    for (; b < nBytes; ++b) {
        if (pRow[b] != 0)
            return false;
    }
    return true;
}

void CPrintHeadFormatter::PutRecords(const uint8_t* pRecords, const int* pColumn, int32_t nJobWidth,
                                     uint8_t* pColumns) const {
    const int nColumns = nJobWidth + CBandGeometry::kExtraColumns;
    const size_t nColumnBytes = static_cast<size_t>(m_geo.ColumnBytes());
    for (int h = 0; h < m_geo.LaneCount(); ++h) {
        const int c = pColumn[h];
        // Records beyond the band's columns are not part of it (the lane offsets reach
        // past JobWidth + 29); a later record for the same column and lane replaces the
        // earlier one.
        if (!m_geo.LaneUsed(h) || c < 0 || c >= nColumns)
            continue;
        const size_t nLane = static_cast<size_t>(h * CBandGeometry::kRecordBytes);
        std::memcpy(pColumns + static_cast<size_t>(c) * nColumnBytes + nLane, pRecords + nLane,
                    CBandGeometry::kRecordBytes);
    }
}

void CPrintHeadFormatter::FillRegular(bool bReturn, int32_t nJobWidth, const uint8_t* pBitmap,
                                      uint8_t* pColumns) const {
    const CBandParams& p = m_geo.Params();
    // The edge adjustment moves the records of one edge zone of the carriage travel; the
    // single-head combinations have none.
    const bool bAdjust = m_geo.Combination() != 1 && m_geo.Combination() != 2;
    const int nZone =
        EdgeZone(p.m_nXDotsPerMetre, bReturn ? p.m_nMarginLeftMm : p.m_nMarginRightMm);
    const int a = bAdjust ? (bReturn ? p.m_nEdgeAdjustLeft : p.m_nEdgeAdjustRight) : 0;
    int arrOffset[CBandGeometry::kMaxLanes];
    for (int h = 0; h < m_geo.LaneCount(); ++h)
        arrOffset[h] = m_geo.LaneOffset(h, bReturn);

    uint8_t records[CBandGeometry::kMaxColumnBytes];
    int arrColumn[CBandGeometry::kMaxLanes];
    const size_t nRowBytes = static_cast<size_t>(m_geo.RowBytes());
    for (int i = 0; i < nJobWidth; ++i) {
        // An empty row still writes its zero records: they replace the records an earlier
        // row put into the same columns inside the edge zone.
        const uint8_t* pRow = pBitmap + static_cast<size_t>(i) * nRowBytes;
        const bool bEmpty = RowEmpty(pRow);
        if (!bEmpty)
            RowRecords(pRow, records);
        int nShift = 0;
        if (!bReturn && i < nZone - a)
            nShift = a;
        else if (bReturn && i > nJobWidth + a - nZone)
            nShift = -a;
        for (int h = 0; h < m_geo.LaneCount(); ++h)
            arrColumn[h] = i + arrOffset[h] + nShift;
        PutRecords(bEmpty ? kZeroRecords : records, arrColumn, nJobWidth, pColumns);
    }
}

void CPrintHeadFormatter::FillSpecial(int nTopRow, int nLowRow, const int* pBase, int32_t nJobWidth,
                                      const uint8_t* pBitmap, uint8_t* pColumns) const {
    // Row r goes to column base + (top - r): the picture is printed from its top row down.
    // Rows beyond the bitmap are empty and their columns stay clear.
    uint8_t records[CBandGeometry::kMaxColumnBytes];
    int arrColumn[CBandGeometry::kMaxLanes];
    const size_t nRowBytes = static_cast<size_t>(m_geo.RowBytes());
    for (int r = std::min(nTopRow, nJobWidth - 1); r >= nLowRow; --r) {
        const uint8_t* pRow = pBitmap + static_cast<size_t>(r) * nRowBytes;
        const bool bEmpty = RowEmpty(pRow);
        if (!bEmpty)
            RowRecords(pRow, records);
        for (int h = 0; h < m_geo.LaneCount(); ++h)
            arrColumn[h] = pBase[h] + (nTopRow - r);
        PutRecords(bEmpty ? kZeroRecords : records, arrColumn, nJobWidth, pColumns);
    }
}

void CPrintHeadFormatter::FillColumns(int64_t j, int64_t nBandCount, int32_t nJobWidth,
                                      const uint8_t* pBitmap, uint8_t* pColumns) const {
    nJobWidth = std::clamp(nJobWidth, 0, CBandGeometry::kMaxJobWidth);
    const size_t nColumns = static_cast<size_t>(nJobWidth + CBandGeometry::kExtraColumns);
    std::memset(pColumns, 0, nColumns * static_cast<size_t>(m_geo.ColumnBytes()));
    const bool bReturn = m_geo.IsReturnBand(j);
    int arrBase[CBandGeometry::kMaxLanes];
    switch (m_geo.KindOf(j, nBandCount)) {
    case EBandKind::Regular:
        FillRegular(bReturn, nJobWidth, pBitmap, pColumns);
        return;
    case EBandKind::Cleaning: {
        const int n = 56 * m_nLogoLength + 1246;
        const bool bTall = m_geo.Combination() == 0 || m_geo.Combination() == 3;
        const int nTop = bTall ? n + 666 : n;
        // Row r lands in column F° + n + 666 - r = F° + (n + 666 - nTop) + (nTop - r).
        for (int h = 0; h < m_geo.LaneCount(); ++h)
            arrBase[h] = m_geo.PlainForwardOffset(h) + (n + 666 - nTop);
        FillSpecial(nTop, kCleanFirstRow, arrBase, nJobWidth, pBitmap, pColumns);
        return;
    }
    case EBandKind::Label: {
        const int n = 30 * m_nPathLength + 950;
        // The four-head layout places the label with the forward offsets in both directions.
        const bool bBack = bReturn && !m_geo.IsFourHead();
        for (int h = 0; h < m_geo.LaneCount(); ++h)
            arrBase[h] = (bBack ? m_geo.PlainReturnOffset(h) : m_geo.PlainForwardOffset(h)) + 80;
        FillSpecial(n, kLabelFirstRow, arrBase, nJobWidth, pBitmap, pColumns);
        return;
    }
    }
}

size_t CPrintHeadFormatter::FormatBand(int64_t j, int64_t nBandCount, int32_t nJobWidth,
                                       const uint8_t* pBitmap, uint8_t* pColumns, uint8_t* pOut,
                                       size_t nCapacity) const {
    nJobWidth = std::clamp(nJobWidth, 0, CBandGeometry::kMaxJobWidth);
    FillColumns(j, nBandCount, nJobWidth, pBitmap, pColumns);
    const size_t nBytes =
        EncodeColumnImage(pColumns, nJobWidth + CBandGeometry::kExtraColumns, m_geo.ColumnBytes(),
                          m_geo.IsReturnBand(j), pOut, nCapacity);
    const size_t nChunk = 4096;
    const size_t nEnd = std::min(nCapacity, (nBytes + nChunk - 1) / nChunk * nChunk);
    std::memset(pOut + nBytes, 0, nEnd - nBytes);
    return nBytes;
}

} // namespace inkvale
