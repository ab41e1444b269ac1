// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/BandSheet.h"

#include <algorithm>
#include <cstring>

namespace inkvale {

CBandSheet::CBandSheet(const CBandParams& params, int32_t nJobWidth, int64_t nBandCount)
    : m_decoder(params), m_nBandCount(std::max<int64_t>(nBandCount, 0)),
      m_nHeight(std::clamp(nJobWidth, 0, CBandGeometry::kMaxJobWidth)) {
    const CBandGeometry& geo = m_decoder.Geometry();
    if (m_nBandCount > 0)
        m_nWidth = geo.BandOffset(m_nBandCount - 1) + geo.BandHeight();
    m_nRowBytes = static_cast<size_t>((m_nWidth + 31) / 32 * 4); // rows 32-bit aligned
    const double dBytes = static_cast<double>(m_nRowBytes) * m_nHeight;
    m_bTooLarge = dBytes > static_cast<double>(kMaxBytes);
    if (!m_bTooLarge)
        m_bits.assign(m_nRowBytes * static_cast<size_t>(m_nHeight), 0);
}

CBandDecodeResult CBandSheet::AddBand(int64_t j, std::span<const uint8_t> data,
                                      bool bAllowPadding) {
    if (m_bTooLarge || j < 0 || j >= m_nBandCount) {
        CBandDecodeResult r;
        r.m_bWrongSize = true;
        r.m_nCode = -1;
        r.m_strDiag = m_bTooLarge ? "the sheet is too large to assemble"
                                  : "band " + std::to_string(j) + " is not a band of this job";
        return r;
    }
    const CBandGeometry& geo = m_decoder.Geometry();
    CBandDecodeResult r = m_decoder.Decode(data, m_nHeight, geo.IsReturnBand(j), bAllowPadding);
    const int64_t nOffset = geo.BandOffset(j);
    const int nRowBytes = m_decoder.RowBytes();
    for (int32_t row = 0; row < m_nHeight; ++row) {
        const uint8_t* pBand = m_decoder.Bitmap().data() + static_cast<size_t>(row) * nRowBytes;
        uint8_t* pSheet = m_bits.data() + static_cast<size_t>(row) * m_nRowBytes;
        for (int b = 0; b < nRowBytes; ++b) {
            for (unsigned v = pBand[b]; v != 0; v &= v - 1) {
                const int nBit = __builtin_ctz(v);
                const int64_t x = nOffset + 8 * b + (7 - nBit);
                if (x < m_nWidth)
                    pSheet[x / 8] |= static_cast<uint8_t>(0x80u >> (x % 8));
            }
        }
    }
    return r;
}

bool CBandSheet::Pixel(int32_t nRow, int64_t nColumn) const {
    if (m_bTooLarge || nRow < 0 || nRow >= m_nHeight || nColumn < 0 || nColumn >= m_nWidth)
        return false;
    const uint8_t b =
        m_bits[static_cast<size_t>(nRow) * m_nRowBytes + static_cast<size_t>(nColumn / 8)];
    return (b >> (7 - nColumn % 8)) & 1u;
}

const uint8_t* CBandSheet::RowBits(int32_t nRow) const {
    if (m_bTooLarge || nRow < 0 || nRow >= m_nHeight || m_bits.empty())
        return nullptr;
    return m_bits.data() + static_cast<size_t>(nRow) * m_nRowBytes;
}

} // namespace inkvale
