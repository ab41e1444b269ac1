// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceThumbnail.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>

namespace inkvale::service {

std::string ThumbnailPng(const COnePage& task, int nWidth, int nHeight) {
    if (task.m_arrCurves.empty() || task.m_nMaxX <= task.m_nMinX || nWidth <= 0 || nHeight <= 0)
        return {};
    const double dSpanX = task.m_nMaxX - task.m_nMinX;
    const double dSpanY = std::max(task.m_nMaxY - task.m_nMinY, 1);
    const double dScale = std::min((nWidth - 4) / dSpanX, (nHeight - 4) / dSpanY);
    QImage image(nWidth, nHeight, QImage::Format_RGB32);
    image.fill(QColor(0xFA, 0xFA, 0xF5));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x20, 0x30, 0x50), 0));
    // Y grows upwards on the paper, downwards in the picture.
    for (const CCurve& curve : task.m_arrCurves) {
        QPolygonF line;
        line.reserve(static_cast<qsizetype>(curve.m_arrPoints.size()));
        for (const CPoint& v : curve.m_arrPoints)
            line << QPointF(2 + (v.x - task.m_nMinX) * dScale,
                            nHeight - 2 - (v.y - task.m_nMinY) * dScale);
        p.drawPolyline(line);
    }
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

} // namespace inkvale::service
