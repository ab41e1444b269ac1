// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/Curve.h"
#include "raster/BandGeometry.h"
#include "raster/BandTextPainter.h"

#include <QPen>
#include <QPointF>

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

class QPainter;

namespace inkvale {

/// Draws the bands of one job into the one-bit band bitmap: the drawing's strokes, or the
/// cleaning pattern and the label. Row r of the bitmap is carriage column r, pixel x of a
/// row is feed pixel x of the band (most significant bit first); 1 is ink.
///
/// The painter draws on a canvas of one byte per pixel, which is then packed into the
/// bitmap: Qt may split the spans of a fill across its worker threads, which is safe for
/// byte pixels but loses pixels that share a byte in a one-bit image. A stroke band is
/// painted on one thread of Qt's global pool, which Qt does not split (see DrawBand).
///
/// The curves are sorted into buckets by their feed extent once per job, so a band draws
/// only the curves that can reach it; the pixels are those of drawing every curve.
/// Band sender thread; the curves must stay unchanged while the job runs.
class CBandRasteriser {
public:
    CBandRasteriser(const CBandGeometry& geometry, const CCurveArray& curves, std::string strPath,
                    int32_t nJobWidth, int64_t nBandCount);

    /// Clears the bitmap (JobWidth rows of RowBytes) and draws band j's picture into it.
    /// pCanvas (JobWidth rows of BitmapWidth bytes) must be all zero and is all zero again
    /// afterwards. tNow is the local time a label band prints. False when the band needs
    /// text and no QGuiApplication provides fonts (the bitmap is then left empty).
    /// Blocks while a free thread of QThreadPool::globalInstance() paints a stroke band (the
    /// caller paints when none is free).
    [[nodiscard]] bool DrawBand(int64_t j, uint8_t* pCanvas, uint8_t* pBitmap, std::time_t tNow);

    /// Draw every curve in every band (for checking the buckets).
    void SetUseBuckets(bool bUse) { m_bUseBuckets = bUse; }
    /// Curves the last regular band drew.
    size_t LastCurveCount() const { return m_nLastCurves; }

private:
    void Paint(EBandKind eKind, int64_t j, uint8_t* pCanvas, std::time_t tNow);
    void PaintStrokesInPool(int64_t j, uint8_t* pCanvas);
    void BuildBuckets();
    void CollectCurves(int64_t nOffset);
    void DrawStrokes(QPainter& painter, int64_t nOffset);
    void DrawCurve(QPainter& painter, const CCurve& curve, int64_t nOffset);
    void PackCanvas(uint8_t* pCanvas, uint8_t* pBitmap) const;

    CBandGeometry m_geo;
    const CCurveArray& m_curves;
    int32_t m_nJobWidth;
    int64_t m_nBandCount;
    CBandTextPainter m_text;
    bool m_bUseBuckets = true;

    // Buckets of kBucketPixels feed pixels; m_bucketStart[b] .. m_bucketStart[b + 1] index
    // m_bucketCurves.
    std::vector<uint32_t> m_bucketStart;
    std::vector<uint32_t> m_bucketCurves;
    int64_t m_nBucketPixels = 128;
    int64_t m_nEnd = 0;                ///< job feed pixels any band draws
    std::vector<int64_t> m_curveStamp; ///< last band a curve was collected for
    std::vector<uint32_t> m_bandCurves;
    int64_t m_nStamp = 0;
    size_t m_nLastCurves = 0;
    std::vector<QPointF> m_run; ///< the visible part of a curve being drawn
    double m_dDirtyTop = 0;     ///< canvas rows the band drew on
    double m_dDirtyBottom = -1;
    QPen m_solidPen;
};

} // namespace inkvale
