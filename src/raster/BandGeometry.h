// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "raster/BandParams.h"

#include <array>
#include <cstdint>

namespace inkvale {

/// What a band prints, in order of precedence: band 0 the head-cleaning pattern when
/// SpAutoClean is set, the last band the file-name label when PrintFileName is set,
/// every other band the drawing.
enum class EBandKind { Regular, Cleaning, Label };

/// Where one band pixel goes: the lane (head position) and the byte and bit of that lane's
/// 22-byte nozzle record.
struct CNozzleSlot {
    int8_t m_nLane = -1; ///< 0-based lane, -1 when the pixel is not printed
    uint8_t m_nByte = 0; ///< byte of the column: 22 * lane + record byte
    uint8_t m_nMask = 0; ///< bit within that byte
};

/// The fixed geometry of bands and print-head data for one head layout: bitmap and column
/// sizes, band height, the pixel-to-nozzle map, lane offsets and band offsets. Parameter
/// values the block allows but the dialogs never write are tamed so that no index leaves
/// its buffer: overlaps above 149 count as 149 and unknown combinations as "1#+2#".
/// Immutable after construction; safe to share between threads.
class CBandGeometry {
public:
    static constexpr int kMaxJobWidth = 28000; ///< carriage columns the buffers hold
    static constexpr int kExtraColumns = 30;   ///< columns of a band beyond JobWidth
    static constexpr int kRecordBytes = 22;    ///< one head's nozzle record
    static constexpr int kNozzles = 150;       ///< nozzles of one head
    static constexpr int kMaxRowBytes = 80;    ///< four-head band bitmap row
    static constexpr int kMaxColumnBytes = 88; ///< four-head column
    static constexpr int kMaxLanes = 4;
    static constexpr int kMaxRunLength = 2200; ///< longest zero run of one code pair

    explicit CBandGeometry(const CBandParams& params);

    const CBandParams& Params() const { return m_params; }
    int Combination() const { return m_nComb; }
    bool IsFourHead() const { return m_nComb >= 3; }
    int BitmapWidth() const { return IsFourHead() ? 640 : 320; } ///< pixels per row
    int RowBytes() const { return BitmapWidth() / 8; }
    int LaneCount() const { return IsFourHead() ? 4 : 2; }
    int ColumnBytes() const { return LaneCount() * kRecordBytes; }
    int ColumnWords() const { return ColumnBytes() / 2; }
    /// Whether the combination fills lane (0-based) with nozzle data.
    bool LaneUsed(int nLane) const { return m_arrLaneUsed[static_cast<size_t>(nLane)]; }
    /// Band height H: feed pixels printed by one pass.
    int BandHeight() const { return m_nBandHeight; }
    /// Stroke width M, also the margin around the drawing.
    int LineWidth() const { return m_nLineWidth; }
    /// First feed pixel of band j: j*H, or (j*H)/2 in precise mode.
    int64_t BandOffset(int64_t j) const;

    /// Slot of band pixel p (0 <= p < BitmapWidth()); lane -1 for pixels >= H.
    const CNozzleSlot& Slot(int nPixel) const { return m_arrSlots[static_cast<size_t>(nPixel)]; }
    /// Feed pixel printed by nozzle n of a lane, or -1 when the formatter never fires that
    /// nozzle (unused lane, or one of the overlap nozzles in front of a head).
    int PixelOfNozzle(int nLane, int nNozzle) const;
    /// S_h: the feed pixel under nozzle 0 of a lane's head (0 for the single-head
    /// combinations); nozzle n of that head prints pixel S_h + n.
    int HeadStart(int nLane) const;

    /// Column offsets of a lane: forward F_h, return B_h, and the plain F°_h, B°_h of the
    /// cleaning and label bands (which ignore InkColumns).
    int ForwardOffset(int nLane) const;
    int ReturnOffset(int nLane) const;
    int PlainForwardOffset(int nLane) const;
    int PlainReturnOffset(int nLane) const;
    /// The offset a machine places lane records with: the regular offset of the direction.
    int LaneOffset(int nLane, bool bReturn) const {
        return bReturn ? ReturnOffset(nLane) : ForwardOffset(nLane);
    }

    /// Job geometry of a page box. Returns the band count ceil(e / H) of the drawing and
    /// stores JobWidth; returns 0 and leaves nJobWidth alone when maxX = maxY = 0.
    /// Negative extents (a start position beyond the drawing, a drawing left of Y = 0)
    /// count as 0, so neither the band count nor JobWidth goes negative; JobWidth
    /// saturates instead of overflowing.
    int CountBands(int32_t nMaxX, int32_t nMaxY, int32_t& nJobWidth) const;
    /// The job's BandCount: the drawing's bands, plus the label band, doubled in precise
    /// mode.
    int64_t TotalBands(int nDrawingBands) const;
    /// Kind of band j of a job with nBandCount bands.
    EBandKind KindOf(int64_t j, int64_t nBandCount) const;
    /// Band j travels on the return pass: bidirectional printing, and an odd band of the
    /// machine's count, which starts at the job's first band.
    bool IsReturnBand(int64_t j) const {
        return m_params.m_bBidirectional && ((j - m_params.m_nFirstBand) & 1) != 0;
    }

    /// Feed pixel of a plotter X (before the band offset and the margin).
    static int64_t FeedPixel(int32_t x);
    /// Carriage column of a plotter Y for the resolution E (before margin and the 30 rows).
    static int64_t CarriageColumn(int32_t y, uint32_t nXDotsPerMetre);

private:
    void BuildSlots();

    CBandParams m_params;
    int m_nComb = 0;
    int m_nLineWidth = 1;
    int m_nBandHeight = 300;
    std::array<int, 3> m_arrOverlap = {0, 0, 0};
    std::array<bool, 4> m_arrLaneUsed = {};
    std::array<CNozzleSlot, 640> m_arrSlots = {};
};

} // namespace inkvale
