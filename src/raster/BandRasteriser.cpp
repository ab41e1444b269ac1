// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/BandRasteriser.h"

#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace inkvale {

namespace {

constexpr int64_t kBucketPixels = 128;
constexpr int64_t kMaxBuckets = int64_t{1} << 20;
constexpr double kDashOn = 10.0;  // pixels of a dash
constexpr double kDashOff = 4.0;  // pixels of a gap
constexpr int kCarriageRows = 30; // rows in front of the drawing along the carriage

// How far outside the bitmap a segment is clipped: beyond the reach of any pen end or join,
// so clipping changes no pixel while keeping the painter's coordinates small.
int ClipPad(int nLineWidth) {
    return std::max(nLineWidth, 1) + 4;
}

// Liang-Barsky: the part t0..t1 of a + t (b - a) inside the rectangle, false when none.
bool ClipSegment(QPointF a, QPointF b, const QRectF& r, double& t0, double& t1) {
    t0 = 0;
    t1 = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    return t0 <= t1;
}

QPen SolidPen(int nWidth) {
    // A width-1 pen draws one-pixel lines; wider ones have round ends and joins.
    QPen pen(Qt::white);
    pen.setWidth(nWidth);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

QPen DashedPen(int nWidth, double dStartLength) {
    // Qt measures dashes and their offset in pen widths.
    const double w = std::max(nWidth, 1);
    QPen pen(Qt::white);
    pen.setWidth(nWidth);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setDashPattern({kDashOn / w, kDashOff / w});
    pen.setDashOffset(std::fmod(dStartLength, kDashOn + kDashOff) / w);
    return pen;
}

// Eight byte pixels (0 or 255) into one byte, the first pixel in the top bit.
uint8_t PackEight(uint64_t v) {
    const uint64_t bits = (v & 0x8080808080808080ULL) >> 7;
    return static_cast<uint8_t>((bits * 0x8040201008040201ULL) >> 56);
}

// Packs one canvas row of nWidth byte pixels into its bitmap row and clears the pixels it
// found set. Most of a band is empty, so blocks of 64 pixels are tested at once and only
// blocks with ink are packed and written back.
void PackRow(uint8_t* pSrc, uint8_t* pDst, size_t nWidth) {
    size_t x = 0;
#if defined(__SSE2__)
    for (; x + 64 <= nWidth; x += 64) {
        const auto* p = reinterpret_cast<const __m128i*>(pSrc + x);
        const __m128i a = _mm_loadu_si128(p), b = _mm_loadu_si128(p + 1);
        const __m128i c = _mm_loadu_si128(p + 2), d = _mm_loadu_si128(p + 3);
        const __m128i any = _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(any, _mm_setzero_si128())) == 0xFFFF)
            continue;
        for (size_t k = 0; k < 64; k += 8) {
            uint64_t v;
            std::memcpy(&v, pSrc + x + k, 8);
            if (v != 0)
                pDst[(x + k) / 8] = PackEight(v);
        }
        std::memset(pSrc + x, 0, 64);
    }
#endif
    for (; x + 8 <= nWidth; x += 8) {
        uint64_t v;
        std::memcpy(&v, pSrc + x, 8);
        if (v == 0)
            continue;
        pDst[x / 8] = PackEight(v);
        std::memset(pSrc + x, 0, 8);
    }
}

} // namespace

CBandRasteriser::CBandRasteriser(const CBandGeometry& geometry, const CCurveArray& curves,
                                 std::string strPath, int32_t nJobWidth, int64_t nBandCount)
    : m_geo(geometry), m_curves(curves),
      m_nJobWidth(std::clamp(nJobWidth, 0, CBandGeometry::kMaxJobWidth)), m_nBandCount(nBandCount),
      m_text(geometry, std::move(strPath)) {
    BuildBuckets();
}

void CBandRasteriser::BuildBuckets() {
    const int64_t nPad = ClipPad(m_geo.LineWidth());
    const int64_t nLastOffset = m_nBandCount > 0 ? m_geo.BandOffset(m_nBandCount - 1) : 0;
    const int64_t nEnd = std::max<int64_t>(nLastOffset, 0) + m_geo.BitmapWidth();
    m_nBucketPixels = std::max(kBucketPixels, nEnd / kMaxBuckets + 1);
    const size_t nBuckets = static_cast<size_t>(nEnd / m_nBucketPixels + 1);
    m_nEnd = nEnd;
    // Feed range of each curve in job pixels, widened by the pen; two passes build the
    // bucket lists without reallocation.
    std::vector<std::pair<size_t, size_t>> ranges(m_curves.size(), {1, 0});
    std::vector<uint32_t> count(nBuckets + 1, 0);
    for (size_t i = 0; i < m_curves.size(); ++i) {
        const auto& pts = m_curves[i].m_arrPoints;
        if (pts.size() < 2)
            continue;
        const auto [lo, hi] = std::minmax_element(
            pts.begin(), pts.end(), [](const CPoint& a, const CPoint& b) { return a.x < b.x; });
        const int64_t x0 = m_geo.LineWidth() + CBandGeometry::FeedPixel(lo->x) - nPad;
        const int64_t x1 = m_geo.LineWidth() + CBandGeometry::FeedPixel(hi->x) + nPad;
        if (x1 < 0 || x0 >= nEnd)
            continue;
        ranges[i] = {static_cast<size_t>(std::max<int64_t>(x0, 0) / m_nBucketPixels),
                     static_cast<size_t>(std::min(x1, nEnd - 1) / m_nBucketPixels)};
        for (size_t b = ranges[i].first; b <= ranges[i].second; ++b)
            ++count[b + 1];
    }
    for (size_t b = 0; b < nBuckets; ++b)
        count[b + 1] += count[b];
    m_bucketStart = count;
    m_bucketCurves.assign(count[nBuckets], 0);
    for (size_t i = 0; i < m_curves.size(); ++i) {
        for (size_t b = ranges[i].first; b <= ranges[i].second; ++b)
            m_bucketCurves[count[b]++] = static_cast<uint32_t>(i);
    }
    m_curveStamp.assign(m_curves.size(), -1);
}

void CBandRasteriser::CollectCurves(int64_t nOffset) {
    m_bandCurves.clear();
    ++m_nStamp;
    if (!m_bUseBuckets) {
        for (size_t i = 0; i < m_curves.size(); ++i)
            m_bandCurves.push_back(static_cast<uint32_t>(i));
        return;
    }
    const int64_t x0 = std::max<int64_t>(nOffset, 0);
    const int64_t x1 = std::min(nOffset + m_geo.BitmapWidth() - 1, m_nEnd - 1);
    for (int64_t b = x0 / m_nBucketPixels; x0 <= x1 && b <= x1 / m_nBucketPixels; ++b) {
        const size_t nb = static_cast<size_t>(b);
        for (uint32_t k = m_bucketStart[nb]; k < m_bucketStart[nb + 1]; ++k) {
            const uint32_t i = m_bucketCurves[k];
            if (m_curveStamp[i] == m_nStamp)
                continue;
            m_curveStamp[i] = m_nStamp;
            m_bandCurves.push_back(i);
        }
    }
}

void CBandRasteriser::DrawCurve(QPainter& painter, const CCurve& curve, int64_t nOffset) {
    const int M = m_geo.LineWidth();
    const double dPad = ClipPad(M);
    const QRectF clip(-dPad, -dPad, m_geo.BitmapWidth() + 2 * dPad, m_nJobWidth + 2 * dPad);
    // Wide pens are centred on pixel centres; the one-pixel line drawer already is.
    const double dCentre = M >= 2 ? 0.5 : 0.0;
    const uint32_t E = m_geo.Params().m_nXDotsPerMetre;
    auto map = [&](const CPoint& p) {
        return QPointF(
            static_cast<double>(M - nOffset + CBandGeometry::FeedPixel(p.x)) + dCentre,
            static_cast<double>(M + kCarriageRows + CBandGeometry::CarriageColumn(p.y, E)) +
                dCentre);
    };
    const bool bDashed = curve.m_nLineType != 0;
    const auto& pts = curve.m_arrPoints;
    double dLength = 0;   // along the curve up to the current vertex, for the dash phase
    double dRunStart = 0; // length at the start of the current run
    m_run.clear();
    auto flush = [&]() {
        if (m_run.size() >= 2) {
            for (const QPointF& q : m_run) {
                m_dDirtyTop = std::min(m_dDirtyTop, q.y() - dPad);
                m_dDirtyBottom = std::max(m_dDirtyBottom, q.y() + dPad);
            }
            painter.setPen(bDashed ? DashedPen(M, dRunStart) : m_solidPen);
            painter.drawPolyline(m_run.data(), static_cast<int>(m_run.size()));
        }
        m_run.clear();
    };
    QPointF a = map(pts[0]);
    for (size_t k = 1; k < pts.size(); ++k) {
        const QPointF b = map(pts[k]);
        const double dSeg = std::hypot(b.x() - a.x(), b.y() - a.y());
        double t0 = 0, t1 = 1;
        if (!ClipSegment(a, b, clip, t0, t1)) {
            flush();
        } else {
            // A segment entering the clip rectangle starts a new run.
            if (m_run.empty() || t0 > 0) {
                flush();
                dRunStart = dLength + t0 * dSeg;
                m_run.push_back(a + t0 * (b - a));
            }
            m_run.push_back(t1 < 1 ? a + t1 * (b - a) : b);
            if (t1 < 1)
                flush();
        }
        dLength += dSeg;
        a = b;
    }
    flush();
}

void CBandRasteriser::DrawStrokes(QPainter& painter, int64_t nOffset) {
    CollectCurves(nOffset);
    m_nLastCurves = m_bandCurves.size();
    m_solidPen = SolidPen(m_geo.LineWidth());
    for (uint32_t i : m_bandCurves) {
        if (m_curves[i].m_arrPoints.size() >= 2)
            DrawCurve(painter, m_curves[i], nOffset);
    }
}

void CBandRasteriser::PackCanvas(uint8_t* pCanvas, uint8_t* pBitmap) const {
    const int nTop = static_cast<int>(std::max(0.0, std::floor(m_dDirtyTop)));
    const int nBottom =
        static_cast<int>(std::min<double>(m_nJobWidth - 1, std::ceil(m_dDirtyBottom)));
    const size_t nWidth = static_cast<size_t>(m_geo.BitmapWidth());
    const size_t nRowBytes = static_cast<size_t>(m_geo.RowBytes());
    for (int row = nTop; row <= nBottom; ++row) {
        PackRow(pCanvas + static_cast<size_t>(row) * nWidth,
                pBitmap + static_cast<size_t>(row) * nRowBytes, nWidth);
    }
}

void CBandRasteriser::Paint(EBandKind eKind, int64_t j, uint8_t* pCanvas, std::time_t tNow) {
    QImage image(pCanvas, m_geo.BitmapWidth(), m_nJobWidth, m_geo.BitmapWidth(),
                 QImage::Format_Grayscale8);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    switch (eKind) {
    case EBandKind::Cleaning:
        m_text.DrawCleaning(painter);
        break;
    case EBandKind::Label:
        m_text.DrawLabel(painter, tNow);
        break;
    case EBandKind::Regular:
        DrawStrokes(painter, m_geo.BandOffset(j));
        break;
    }
    painter.end();
    assert(image.constBits() == pCanvas && "the band image must not detach from the canvas");
}

void CBandRasteriser::PaintStrokesInPool(int64_t j, uint8_t* pCanvas) {
    // Qt splits the span fills of a painter across the global thread pool unless the
    // painter already runs on one of its threads; with the many short fills of a band,
    // waking and waiting for the helpers costs more than the fills. One pool thread paints
    // the whole band instead. Every fill is opaque, so the pixels do not depend on which
    // thread fills which span. When no pool thread is free, the caller paints.
    QThreadPool* pPool = QThreadPool::globalInstance();
    if (!pPool->contains(QThread::currentThread())) {
        QSemaphore done;
        if (pPool->tryStart([&]() {
                Paint(EBandKind::Regular, j, pCanvas, 0);
                done.release();
            })) {
            done.acquire();
            return;
        }
    }
    Paint(EBandKind::Regular, j, pCanvas, 0);
}

bool CBandRasteriser::DrawBand(int64_t j, uint8_t* pCanvas, uint8_t* pBitmap, std::time_t tNow) {
    const int nRowBytes = m_geo.RowBytes();
    std::memset(pBitmap, 0, static_cast<size_t>(m_nJobWidth) * static_cast<size_t>(nRowBytes));
    const EBandKind eKind = m_geo.KindOf(j, m_nBandCount);
    if (eKind != EBandKind::Regular && !CBandTextPainter::Ready())
        return false;
    if (m_nJobWidth == 0)
        return true;
    m_dDirtyTop = m_nJobWidth;
    m_dDirtyBottom = -1;
    if (eKind == EBandKind::Regular) {
        PaintStrokesInPool(j, pCanvas);
    } else {
        // Text stays on the calling thread, with the fonts.
        Paint(eKind, j, pCanvas, tNow);
        m_dDirtyTop = 0;
        m_dDirtyBottom = m_nJobWidth - 1;
    }
    PackCanvas(pCanvas, pBitmap);
    return true;
}

} // namespace inkvale
