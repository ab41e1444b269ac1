// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimBandDecode.h"

#include "config/MachineParams.h"
#include "raster/BandGeometry.h"
#include "raster/BandParams.h"
#include "raster/BandSheet.h"

#include <algorithm>

namespace inkvale::sim {

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
    CBandSheet sheet(MachineBandParams(params), nJobWidth, static_cast<int64_t>(bands.size()));
    for (size_t j = 0; j < bands.size(); ++j) {
        if (!bands[j].empty())
            (void)sheet.AddBand(static_cast<int64_t>(j), bands[j], true);
    }
    return SheetImage(sheet);
}

CSimSheetImage SheetImage(const CBandSheet& sheet) {
    CSimSheetImage image;
    // Sheets larger than this (a whole 20 m marker on a 2 m roll is about 3 Gpixel) are
    // cut at the feed end: a simulator, not a poster printer.
    constexpr int64_t kPixelsMax = int64_t{4} << 30;
    if (sheet.Height() <= 0 || sheet.Width() <= 0)
        return image;
    image.m_nHeight = sheet.Height();
    image.m_nWidth = static_cast<int>(std::min(sheet.Width(), kPixelsMax / sheet.Height()));
    image.m_pixels.assign(image.RowBytes() * static_cast<size_t>(image.m_nHeight), 0);
    for (int y = 0; y < image.m_nHeight; ++y) {
        for (int x = 0; x < image.m_nWidth; ++x) {
            if (sheet.Pixel(y, x))
                image.SetInk(x, y);
        }
    }
    return image;
}

} // namespace inkvale::sim
