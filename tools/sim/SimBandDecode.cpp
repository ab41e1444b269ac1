#include "SimBandDecode.h"

#include "config/MachineParams.h"
#include "layout/BandGeometry.h"
#include "layout/BandParams.h"
#include "layout/PrintHeadCodec.h"

#include <algorithm>

namespace inkvale::sim {

namespace {

// Sheets larger than this are cut at the feed end (a simulator, not a printer of posters).
constexpr int64_t kSheetPixelsMax = int64_t{400} << 20;

void PrintColumn(const CBandGeometry& geometry, const uint16_t* pWords, int nColumn, bool bReturn,
                 int64_t nFeedBase, CSimSheetImage& sheet) {
    for (int nLane = 0; nLane < geometry.LaneCount(); ++nLane) {
        if (!geometry.LaneUsed(nLane))
            continue;
        const int nRow = nColumn - geometry.LaneOffset(nLane, bReturn);
        if (nRow < 0 || nRow >= sheet.m_nHeight)
            continue;
        // The column's bytes travel as little-endian words.
        CNozzleRecord record{};
        const uint16_t* pLane = pWords + nLane * CBandGeometry::kRecordBytes / 2;
        for (size_t b = 0; b < record.size(); ++b)
            record[b] = static_cast<uint8_t>(pLane[b / 2] >> (8 * (b % 2)));
        const CNozzleVector nozzles = DecodeNozzleRecord(record);
        for (int n = 0; n < CBandGeometry::kNozzles; ++n) {
            const int nPixel =
                nozzles[static_cast<size_t>(n)] ? geometry.PixelOfNozzle(nLane, n) : -1;
            const int64_t x = nFeedBase + nPixel;
            if (nPixel < 0 || x >= sheet.m_nWidth)
                continue;
            sheet.m_pixels[static_cast<size_t>(nRow) * static_cast<size_t>(sheet.m_nWidth) +
                           static_cast<size_t>(x)] = 1;
        }
    }
}

} // namespace

CBandParams MachineBandParams(const CMachineParams& params) {
    CBandParams band;
    band.m_nHeadCombination = params.HeadCombination();
    band.m_nLineWidthPx = params.LineWidthPx();
    band.m_nXDotsPerMetre = params.XDotsPerMetre();
    for (int i = 0; i < 4; ++i) {
        band.m_arrHeadPos[static_cast<size_t>(i)] = params.HeadPos(i);
        band.m_arrReturnJoin[static_cast<size_t>(i)] = params.ReturnJoin(i);
    }
    for (int i = 0; i < 3; ++i)
        band.m_arrHeadOverlap[static_cast<size_t>(i)] = params.HeadOverlap(i);
    band.m_bBidirectional = params.Bidirectional() == 1;
    band.m_nInkColumns = params.InkColumns();
    band.m_nMarginLeftMm = params.MarginLeftMm();
    band.m_nMarginRightMm = params.MarginRightMm();
    band.m_nEdgeAdjustLeft = params.EdgeAdjustLeft();
    band.m_nEdgeAdjustRight = params.EdgeAdjustRight();
    band.m_bPreciseMode = params.PreciseMode() == 1;
    return band;
}

size_t ColumnImageWords(const CMachineParams& params, int32_t nJobWidth) {
    const CBandGeometry geometry(MachineBandParams(params));
    return static_cast<size_t>(std::max(nJobWidth, 0) + CBandGeometry::kExtraColumns) *
           static_cast<size_t>(geometry.ColumnWords());
}

CSimSheetImage AssembleSheet(const CMachineParams& params, int32_t nJobWidth,
                             const std::vector<std::vector<uint8_t>>& bands) {
    CSimSheetImage sheet;
    if (bands.empty() || nJobWidth <= 0)
        return sheet;
    const CBandGeometry geometry(MachineBandParams(params));
    const int64_t nLastOffset = geometry.BandOffset(static_cast<int64_t>(bands.size()) - 1);
    sheet.m_nHeight = nJobWidth;
    sheet.m_nWidth = static_cast<int>(
        std::min(nLastOffset + geometry.BandHeight(), kSheetPixelsMax / nJobWidth));
    sheet.m_pixels.assign(static_cast<size_t>(sheet.m_nWidth) * static_cast<size_t>(nJobWidth), 0);
    const int nColumns = nJobWidth + CBandGeometry::kExtraColumns;
    const int nColumnWords = geometry.ColumnWords();
    std::vector<uint16_t> words(static_cast<size_t>(nColumns) * static_cast<size_t>(nColumnWords));
    for (size_t j = 0; j < bands.size(); ++j) {
        if (bands[j].empty())
            continue;
        size_t nWords = 0;
        std::fill(words.begin(), words.end(), uint16_t{0});
        // A broken band prints what could be expanded of it.
        (void)DecodeZeroRuns(bands[j], words.data(), words.size(), nWords);
        const bool bReturn = geometry.IsReturnBand(static_cast<int64_t>(j));
        const int64_t nFeedBase = geometry.BandOffset(static_cast<int64_t>(j));
        for (int k = 0; k < nColumns; ++k) {
            const int nColumn = bReturn ? nColumns - 1 - k : k;
            PrintColumn(geometry,
                        &words[static_cast<size_t>(k) * static_cast<size_t>(nColumnWords)], nColumn,
                        bReturn, nFeedBase, sheet);
        }
    }
    return sheet;
}

} // namespace inkvale::sim
