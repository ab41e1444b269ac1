// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// For front ends and tests that use Qt themselves: the raster library keeps Qt private.

#include "raster/BandSheet.h"

#include <QImage>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace inkvale {

/// A one-bit image of the sheet, ink black on white paper (null when the sheet is empty or
/// too large for an image).
inline QImage BandSheetImage(const CBandSheet& sheet) {
    if (sheet.Width() == 0 || sheet.Height() == 0 || sheet.Width() > INT32_MAX ||
        sheet.RowBits(0) == nullptr)
        return {};
    QImage image(static_cast<int>(sheet.Width()), sheet.Height(), QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    for (int32_t row = 0; row < sheet.Height(); ++row)
        std::memcpy(image.scanLine(row), sheet.RowBits(row),
                    std::min(sheet.RowBytes(), static_cast<size_t>(image.bytesPerLine())));
    return image;
}

} // namespace inkvale
