// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceThumbnail.h"

#include "preview/PreviewPainter.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace inkvale::service {

namespace {

// The margins the preview keeps around the paper for its rulers.
constexpr int kMarginsAlongPx = 70;
constexpr int kMarginsAcrossPx = 60;

} // namespace

std::string ThumbnailPng(const COnePage& task, const CSettings& settings, int nWidth, int nHeight) {
    if (task.m_arrCurves.empty() || nWidth <= kMarginsAlongPx || nHeight <= kMarginsAcrossPx)
        return {};
    // The whole drawing, fitted as the preview's "fit whole" fits it.
    const double dLength = std::max<double>(task.m_nMaxX - task.m_nMinX, 1);
    const double dAcross = std::max<double>(task.m_nMaxY - task.m_nMinY, 1);
    CViewTransform disp;
    disp.m_dScale =
        std::min((nWidth - kMarginsAlongPx) / dLength, (nHeight - kMarginsAcrossPx) / dAcross);
    disp.m_nViewHeight = nHeight;
    disp.m_nPanX = static_cast<int>(std::lround(task.m_nMinX * disp.m_dScale));
    disp.m_nPanY = static_cast<int>(std::lround(-task.m_nMinY * disp.m_dScale));
    QImage image(nWidth, nHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    CPreviewPainter(CPreviewStyle::FromSettings(settings)).PaintPage(p, image.size(), disp, task);
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

} // namespace inkvale::service

namespace inkvale::service {

bool CThumbnailCache::Find(const CThumbnailKey& key, std::string& strPng) {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->first == key) {
            m_entries.splice(m_entries.begin(), m_entries, it);
            strPng = m_entries.front().second;
            return true;
        }
    }
    return false;
}

void CThumbnailCache::Keep(const CThumbnailKey& key, std::string strPng) {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::erase_if(m_entries, [&](const auto& e) { return e.first.m_nTaskId == key.m_nTaskId; });
    m_entries.emplace_front(key, std::move(strPng));
    if (m_entries.size() > kMaxEntries)
        m_entries.pop_back();
}

} // namespace inkvale::service
