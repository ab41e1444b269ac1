// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimSheet.h"

#include <QImage>
#include <QString>
#include <algorithm>

namespace inkvale::sim {

int CSimSheetImage::InkCount() const {
    return static_cast<int>(std::count(m_pixels.begin(), m_pixels.end(), uint8_t{1}));
}

bool WriteSheetPng(const CSimSheetImage& sheet, const std::string& strPath) {
    if (sheet.Empty())
        return false;
    QImage image(sheet.m_nWidth, sheet.m_nHeight, QImage::Format_Mono);
    image.setColor(0, qRgb(255, 255, 255));
    image.setColor(1, qRgb(0, 0, 0));
    image.fill(0);
    for (int y = 0; y < sheet.m_nHeight; ++y) {
        for (int x = 0; x < sheet.m_nWidth; ++x) {
            if (sheet.Ink(x, y))
                image.setPixel(x, y, 1);
        }
    }
    return image.save(QString::fromStdString(strPath), "PNG");
}

} // namespace inkvale::sim
