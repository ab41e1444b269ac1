// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/BandGeometry.h"

#include "geometry/Rounding.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace inkvale {

namespace {

// Feed pixels are 1/300 inch; plotter units are 1/40 mm.
constexpr double kUnitsPerMm = 40.0;
constexpr double kFeedDotsPerInch = 300.0;
constexpr double kMmPerInch = 25.4;
// One raster column is 4 units of XDotsPerMetre.
constexpr double kColumnsPerDot = 0.25;
// An overlap larger than this would leave a head with no nozzle at all and push the
// nozzle vectors out of the band bitmap.
constexpr int kMaxOverlap = 149;

int32_t SaturateToInt32(int64_t v) {
    constexpr int64_t lo = std::numeric_limits<int32_t>::min();
    constexpr int64_t hi = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(v, lo, hi));
}

} // namespace

CBandGeometry::CBandGeometry(const CBandParams& params) : m_params(params) {
    m_nComb = (params.m_nHeadCombination >= 0 && params.m_nHeadCombination <= 4)
                  ? params.m_nHeadCombination
                  : 0;
    m_nLineWidth = params.m_nLineWidthPx;
    for (size_t i = 0; i < 3; ++i)
        m_arrOverlap[i] = std::clamp(params.m_arrHeadOverlap[i], 0, kMaxOverlap);
    const int o12 = m_arrOverlap[0], o23 = m_arrOverlap[1], o34 = m_arrOverlap[2];
    switch (m_nComb) {
    case 0:
        m_nBandHeight = 300 - o12;
        m_arrLaneUsed = {true, true, false, false};
        break;
    case 1:
        m_nBandHeight = 150;
        m_arrLaneUsed = {true, false, false, false};
        break;
    case 2:
        m_nBandHeight = 150;
        m_arrLaneUsed = {false, true, false, false};
        break;
    case 3:
        m_nBandHeight = 600 - o12 - o23 - o34;
        m_arrLaneUsed = {true, true, true, true};
        break;
    default:
        m_nBandHeight = 450 - o12 - o23;
        m_arrLaneUsed = {true, true, true, false};
        break;
    }
    BuildSlots();
}

int CBandGeometry::PixelOfNozzle(int nLane, int nNozzle) const {
    if (nLane < 0 || nLane >= kMaxLanes || nNozzle < 0 || nNozzle >= kNozzles || !LaneUsed(nLane))
        return -1;
    // The first v_h nozzles of a head repeat pixels of the head before it and stay off.
    const bool bSingle = m_nComb == 1 || m_nComb == 2;
    const int nSkip = (bSingle || nLane == 0) ? 0 : m_arrOverlap[static_cast<size_t>(nLane - 1)];
    return nNozzle < nSkip ? -1 : HeadStart(nLane) + nNozzle;
}

int CBandGeometry::HeadStart(int nLane) const {
    // The single-head combinations print band pixels 0..149 with whichever head they use.
    if (m_nComb == 1 || m_nComb == 2)
        return 0;
    int nStart = 0;
    for (int h = 1; h <= nLane && h < kMaxLanes; ++h)
        nStart += kNozzles - m_arrOverlap[static_cast<size_t>(h - 1)];
    return nStart;
}

void CBandGeometry::BuildSlots() {
    // Byte g of a record holds the seven nozzles 22 apart that start at (3g) mod 22; the
    // groups at 20 and 21 start one bit higher.
    for (int g = 0; g < kRecordBytes; ++g) {
        const int r = (3 * g) % kRecordBytes;
        const int d = r >= 20 ? 1 : 0;
        for (int k = 0; k < 7; ++k) {
            const int n = kRecordBytes * (k - d) + r;
            if (n < 0 || n >= kNozzles)
                continue;
            for (int lane = 0; lane < kMaxLanes; ++lane) {
                const int p = PixelOfNozzle(lane, n);
                if (p < 0)
                    continue;
                CNozzleSlot& slot = m_arrSlots[static_cast<size_t>(p)];
                slot.m_nLane = static_cast<int8_t>(lane);
                slot.m_nByte = static_cast<uint8_t>(lane * kRecordBytes + g);
                slot.m_nMask = static_cast<uint8_t>(1u << k);
            }
        }
    }
}

int64_t CBandGeometry::BandOffset(int64_t j) const {
    const int64_t off = j * m_nBandHeight;
    return m_params.m_bPreciseMode ? off / 2 : off;
}

int CBandGeometry::ForwardOffset(int nLane) const {
    const int p = m_params.m_arrHeadPos[static_cast<size_t>(nLane)];
    const bool bOneColumn = m_params.m_nInkColumns == 1 || m_params.m_nInkColumns == 2;
    return p + (bOneColumn ? 39 : 30);
}

int CBandGeometry::ReturnOffset(int nLane) const {
    const size_t h = static_cast<size_t>(nLane);
    const int p = m_params.m_arrHeadPos[h] + m_params.m_arrReturnJoin[h];
    const bool bOneColumn = m_params.m_nInkColumns == 1 || m_params.m_nInkColumns == 2;
    return p + (bOneColumn ? 6 : 21);
}

int CBandGeometry::PlainForwardOffset(int nLane) const {
    return m_params.m_arrHeadPos[static_cast<size_t>(nLane)] + 30;
}

int CBandGeometry::PlainReturnOffset(int nLane) const {
    const size_t h = static_cast<size_t>(nLane);
    return m_params.m_arrHeadPos[h] + m_params.m_arrReturnJoin[h] + 21;
}

int64_t CBandGeometry::FeedPixel(int32_t x) {
    return static_cast<int64_t>(std::trunc(x / kUnitsPerMm * kFeedDotsPerInch / kMmPerInch));
}

int64_t CBandGeometry::CarriageColumn(int32_t y, uint32_t nXDotsPerMetre) {
    const double v = y / kUnitsPerMm * nXDotsPerMetre / 1000 * kColumnsPerDot;
    return static_cast<int64_t>(std::trunc(v));
}

int CBandGeometry::CountBands(int32_t nMaxX, int32_t nMaxY, int32_t& nJobWidth) const {
    if (nMaxX == 0 && nMaxY == 0)
        return 0;
    const double dMargin = 2.0 * m_nLineWidth;
    const int e =
        std::max(0, RoundCoord(nMaxX / kUnitsPerMm * kFeedDotsPerInch / kMmPerInch + dMargin));
    const double dColumns = nMaxY / kUnitsPerMm * m_params.m_nXDotsPerMetre / 1000;
    const int g = std::max(0, RoundCoord(dColumns * kColumnsPerDot + dMargin));
    const auto& pos = m_params.m_arrHeadPos;
    const int64_t nHeads =
        IsFourHead() ? std::max(pos[0], pos[3]) + 70 : std::max(pos[0], pos[1]) + 60;
    nJobWidth = SaturateToInt32(int64_t{g} + nHeads);
    return e / m_nBandHeight + (e % m_nBandHeight != 0 ? 1 : 0);
}

int64_t CBandGeometry::TotalBands(int nDrawingBands) const {
    int64_t n = nDrawingBands + (m_params.m_bPrintFileName ? 1 : 0);
    return m_params.m_bPreciseMode ? 2 * n : n;
}

EBandKind CBandGeometry::KindOf(int64_t j, int64_t nBandCount) const {
    if (j == 0 && m_params.m_bSpAutoClean)
        return EBandKind::Cleaning;
    if (j == nBandCount - 1 && m_params.m_bPrintFileName)
        return EBandKind::Label;
    return EBandKind::Regular;
}

} // namespace inkvale
