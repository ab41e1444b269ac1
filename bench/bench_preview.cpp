// SPDX-License-Identifier: GPL-3.0-or-later
// Painting the preview of a full marker: 10 m x 2 m of garment-like pieces, 300,000
// segments, into an off-screen image of a typical preview pane (1600 x 900), at the
// fitted scale, with the whole drawing in view, and at 8x zoom. The painter is compared
// with drawing every segment as it is.
#include "geometry/ViewTransform.h"
#include "model/OnePage.h"
#include "preview/PreviewPainter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

namespace inkvale {
namespace {

constexpr int32_t kLength = 400000; // 10 m along the feed
constexpr int32_t kWidth = 80000;   // 2 m across
constexpr int kColumns = 50;
constexpr int kRows = 12;
constexpr int kSegmentsPerPiece = 500; // 50 x 12 x 500 = 300,000 segments
constexpr int kViewWidth = 1600;
constexpr int kViewHeight = 900;

CCurve Piece(int col, int row) {
    const double cellX = double(kLength) / kColumns;
    const double cellY = double(kWidth) / kRows;
    const double cx = (col + 0.5) * cellX;
    const double cy = (row + 0.5) * cellY;
    CCurve c;
    c.m_nLineType = (col + row) % 7 == 0 ? 1 : 0; // a few dashed pieces
    for (int i = 0; i <= kSegmentsPerPiece; ++i) {
        const double t = 2 * std::numbers::pi * i / kSegmentsPerPiece;
        const double r = 0.42 + 0.05 * std::sin(9 * t + col) + 0.02 * std::cos(17 * t + row);
        c.AddPoint(static_cast<int32_t>(cx + r * cellX * std::cos(t)),
                   static_cast<int32_t>(cy + r * cellY * std::sin(t)));
    }
    return c;
}

const COnePage& Marker() {
    static const COnePage page = [] {
        COnePage p;
        for (int col = 0; col < kColumns; ++col)
            for (int row = 0; row < kRows; ++row)
                p.m_arrCurves.push_back(Piece(col, row));
        p.m_arrCurves[7].m_bSelected = 1; // one selected piece with its marks
        p.CalcExtents();
        return p;
    }();
    return page;
}

// 0: the preview's fit (scale from the roll width); 1: the whole length in view;
// 2: eight times the fit, centred on the middle of the marker.
CViewTransform View(int nView) {
    CViewTransform d;
    d.m_nViewHeight = kViewHeight;
    d.m_dScale = (kViewHeight - 60) / double(kWidth);
    if (nView == 1)
        d.m_dScale = (kViewWidth - 100) / double(kLength);
    if (nView == 2) {
        d.m_dScale *= 8;
        const CScreenPoint mid = WorldToScreen(d, kLength / 2, kWidth / 2);
        d.m_nPanX = mid.x - kViewWidth / 2;
        d.m_nPanY = mid.y - kViewHeight / 2;
    }
    return d;
}

CPreviewStyle Style() {
    CPreviewStyle s;
    s.m_colBg = QColor(100, 100, 100);
    s.m_colFrame = QColor(0, 255, 0);
    s.m_colGrid = QColor(20, 60, 60);
    s.m_colCurve = Qt::white;
    s.m_nPaperUnits = kWidth;
    return s;
}

void BM_PaintPreview(benchmark::State& state) {
    const COnePage& page = Marker();
    const CViewTransform disp = View(static_cast<int>(state.range(0)));
    const CPreviewPainter painter(Style());
    QImage image(kViewWidth, kViewHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&image);
        painter.PaintPage(p, image.size(), disp, page);
    }
    state.counters["segments"] = double(page.VertexCount() - page.m_arrCurves.size());
    state.SetLabel(state.range(0) == 0 ? "fit" : state.range(0) == 1 ? "whole" : "8x zoom");
}
BENCHMARK(BM_PaintPreview)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Every segment drawn as it is, without clipping or merging: the reference picture.
void BM_PaintSegmentBySegment(benchmark::State& state) {
    const COnePage& page = Marker();
    const CViewTransform disp = View(static_cast<int>(state.range(0)));
    QImage image(kViewWidth, kViewHeight, QImage::Format_RGB32);
    QPolygon poly;
    for (auto _ : state) {
        image.fill(Qt::gray);
        QPainter p(&image);
        p.setPen(QPen(Qt::white, 0));
        for (const CCurve& c : page.m_arrCurves) {
            poly.clear();
            for (const CPoint& v : c.m_arrPoints) {
                const CScreenPoint s = WorldToScreen(disp, v.x, v.y);
                poly << QPoint(s.x, s.y);
            }
            p.drawPolyline(poly);
        }
    }
    state.SetLabel(state.range(0) == 0 ? "fit" : state.range(0) == 1 ? "whole" : "8x zoom");
}
BENCHMARK(BM_PaintSegmentBySegment)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace inkvale

int main(int argc, char** argv) {
    // Grid labels need the font system: an application on the off-screen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
