// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimSheet.h"

#include <QImage>
#include <QString>
#include <algorithm>
#include <bit>

namespace inkvale::sim {

int64_t CSimSheetImage::InkCount() const {
    int64_t n = 0;
    for (const uint8_t b : m_pixels)
        n += std::popcount(b);
    return n;
}

bool WriteSheetPng(const CSimSheetImage& sheet, const std::string& strPath) {
    if (sheet.Empty())
        return false;
    QImage image(sheet.m_nWidth, sheet.m_nHeight, QImage::Format_Mono);
    image.setColor(0, qRgb(255, 255, 255));
    image.setColor(1, qRgb(0, 0, 0));
    if (image.isNull())
        return false;
    // Format_Mono keeps the leftmost pixel in the most significant bit, as the sheet does.
    for (int y = 0; y < sheet.m_nHeight; ++y)
        std::copy_n(sheet.m_pixels.data() + static_cast<size_t>(y) * sheet.RowBytes(),
                    sheet.RowBytes(), image.scanLine(y));
    return image.save(QString::fromStdString(strPath), "PNG");
}

} // namespace inkvale::sim
