// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/BandDecoder.h"

#include <algorithm>
#include <cstring>

namespace inkvale {

namespace {

const char* RunErrorText(ERunError e) {
    switch (e) {
    case ERunError::None:
        return "";
    case ERunError::OddLength:
        return "band data is not a whole number of words";
    case ERunError::MissingLength:
        return "band data ends with a zero word without run length";
    case ERunError::BadLength:
        return "band data holds a zero run of length 0 or above 2200";
    case ERunError::TooLong:
        return "band data expands beyond the band's columns";
    }
    return "";
}

} // namespace

CBandDecodeResult CBandDecoder::Decode(std::span<const uint8_t> data, int32_t nJobWidth,
                                       bool bReturn, bool bAllowPadding) {
    m_nRows = std::clamp(nJobWidth, 0, CBandGeometry::kMaxJobWidth);
    const int nColumns = m_nRows + CBandGeometry::kExtraColumns;
    const size_t nColumnWords = static_cast<size_t>(m_geo.ColumnWords());
    const size_t nWanted = static_cast<size_t>(nColumns) * nColumnWords;
    m_words.assign(nWanted, 0);
    size_t nGot = 0;
    CBandDecodeResult result;
    size_t nUsed = 0;
    result.m_eError = DecodeZeroRuns(data, m_words.data(), nWanted, nGot, &nUsed);
    if (bAllowPadding && nGot == nWanted &&
        std::all_of(data.begin() + static_cast<ptrdiff_t>(nUsed), data.end(),
                    [](uint8_t b) { return b == 0; }))
        result.m_eError = ERunError::None;
    if (result.m_eError == ERunError::None && nGot != nWanted) {
        result.m_bWrongSize = true;
        result.m_nCode = -1;
        result.m_strDiag = "band data expands to " + std::to_string(nGot) +
                           " words, the band has " + std::to_string(nWanted);
    } else if (result.m_eError != ERunError::None) {
        result.m_nCode = -1;
        result.m_strDiag = RunErrorText(result.m_eError);
    }
    // Words arrive in sending order: a return band's columns come last to first.
    m_columns.assign(nWanted * 2, 0);
    const size_t nColumnBytes = nColumnWords * 2;
    for (size_t w = 0; w < nGot; ++w) {
        const size_t nSent = w / nColumnWords;
        const size_t c = bReturn ? static_cast<size_t>(nColumns) - 1 - nSent : nSent;
        uint8_t* p = m_columns.data() + c * nColumnBytes + (w % nColumnWords) * 2;
        p[0] = static_cast<uint8_t>(m_words[w] & 0xFF);
        p[1] = static_cast<uint8_t>(m_words[w] >> 8);
    }
    PrintColumns(nColumns, bReturn);
    return result;
}

void CBandDecoder::PrintColumns(int nColumns, bool bReturn) {
    const size_t nRowBytes = static_cast<size_t>(RowBytes());
    m_bitmap.assign(static_cast<size_t>(m_nRows) * nRowBytes, 0);
    const size_t nColumnBytes = static_cast<size_t>(m_geo.ColumnBytes());
    CNozzleRecord rec;
    for (int h = 0; h < m_geo.LaneCount(); ++h) {
        // A lane the combination leaves empty has no head behind it.
        if (!m_geo.LaneUsed(h))
            continue;
        const int nOffset = m_geo.LaneOffset(h, bReturn);
        const int nStart = m_geo.HeadStart(h);
        for (int c = 0; c < nColumns; ++c) {
            const uint8_t* p = m_columns.data() + static_cast<size_t>(c) * nColumnBytes +
                               static_cast<size_t>(h * CBandGeometry::kRecordBytes);
            std::memcpy(rec.data(), p, rec.size());
            if (std::all_of(rec.begin(), rec.end(), [](uint8_t b) { return b == 0; }))
                continue;
            const int nRow = c - nOffset;
            if (nRow < 0 || nRow >= m_nRows)
                continue;
            const CNozzleVector nozzles = DecodeNozzleRecord(rec);
            uint8_t* pRow = m_bitmap.data() + static_cast<size_t>(nRow) * nRowBytes;
            for (int n = 0; n < CBandGeometry::kNozzles; ++n) {
                const int x = nStart + n;
                if (nozzles[static_cast<size_t>(n)] && x < m_geo.BitmapWidth())
                    pRow[x / 8] |= static_cast<uint8_t>(0x80u >> (x % 8));
            }
        }
    }
}

bool CBandDecoder::Pixel(int nRow, int nPixel) const {
    if (nRow < 0 || nRow >= m_nRows || nPixel < 0 || nPixel >= m_geo.BitmapWidth())
        return false;
    const uint8_t b = m_bitmap[static_cast<size_t>(nRow) * static_cast<size_t>(RowBytes()) +
                               static_cast<size_t>(nPixel / 8)];
    return (b >> (7 - nPixel % 8)) & 1u;
}

} // namespace inkvale
