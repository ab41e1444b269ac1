// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/PreviewPainter.h"

#include "config/Settings.h"
#include "geometry/CurveHalves.h"
#include "model/OnePage.h"
#include "support/TwoThreads.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <QString>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

namespace inkvale {

namespace {

constexpr int kOriginLeftPx = 50;
constexpr int kOriginBottomPx = 30;
// Lines are clipped to the target widened by this margin, so that clipping never shows
// at the edges of the picture.
constexpr double kClipMargin = 4.0;

QPoint Screen(const CViewTransform& disp, int32_t x, int32_t y) {
    const CScreenPoint s = WorldToScreen(disp, x, y);
    return {s.x, s.y};
}

// The screen position as WorldToScreen computes it, before truncation (same operations in
// the same order, so truncating gives exactly its pixel).
struct CExactPoint {
    double x;
    double y;
};

CExactPoint ExactScreen(const CViewTransform& disp, const CPoint& v) {
    return {v.x * disp.m_dScale + kOriginLeftPx - disp.m_nPanX,
            disp.m_nViewHeight - v.y * disp.m_dScale - kOriginBottomPx - disp.m_nPanY};
}

struct CClipBox {
    double x0, y0, x1, y1;
    bool Contains(const CExactPoint& p) const {
        return p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1;
    }
    // Both ends beyond the same edge: the segment cannot cross the box.
    bool Rejects(const CExactPoint& a, const CExactPoint& b) const {
        return (a.x < x0 && b.x < x0) || (a.x > x1 && b.x > x1) || (a.y < y0 && b.y < y0) ||
               (a.y > y1 && b.y > y1);
    }
};

CClipBox ClipBoxOf(QSize size) {
    return {-kClipMargin, -kClipMargin, size.width() + kClipMargin, size.height() + kClipMargin};
}

// Segments with both ends this far around the target are left to Qt's own clipping, which
// then draws exactly the pixels of the whole segment; farther ends are clipped here first.
constexpr double kGuardPx = 16384.0;

CClipBox GuardBoxOf(QSize size) {
    return {-kGuardPx, -kGuardPx, size.width() + kGuardPx, size.height() + kGuardPx};
}

// Liang-Barsky: shortens a-b to the part inside the box; false when nothing is inside.
bool ClipSegment(const CClipBox& box, CExactPoint& a, CExactPoint& b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    if (!std::isfinite(dx) || !std::isfinite(dy))
        return false;
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - box.x0, box.x1 - a.x, a.y - box.y0, box.y1 - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const CExactPoint a0 = a;
    a = {a0.x + t0 * dx, a0.y + t0 * dy};
    b = {a0.x + t1 * dx, a0.y + t1 * dy};
    // Ends at infinity (an absurd zoom) give no usable segment.
    return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(b.x) && std::isfinite(b.y);
}

// Inside the guard box every coordinate is far within the int range.
QPoint Pixel(const CExactPoint& p) {
    return {static_cast<int>(p.x), static_cast<int>(p.y)};
}

} // namespace

CPreviewStyle CPreviewStyle::FromSettings(const CSettings& settings) {
    CPreviewStyle style;
    style.m_colBg = SettingColor(settings.ColorBg);
    style.m_colFrame = SettingColor(settings.ColorFr);
    style.m_colGrid = SettingColor(settings.ColorGrid);
    style.m_colCurve = SettingColor(settings.ColorCrv);
    const int64_t units = static_cast<int64_t>(settings.PaperLenMm) * 40;
    style.m_nPaperUnits = static_cast<int32_t>(std::clamp<int64_t>(units, 0, INT32_MAX));
    return style;
}

QColor SettingColor(int32_t nValue) {
    return QColor(nValue & 0xFF, (nValue >> 8) & 0xFF, (nValue >> 16) & 0xFF);
}

QRect OutlineRect(QPoint a, QPoint b) {
    const int left = std::min(a.x(), b.x());
    const int top = std::min(a.y(), b.y());
    const int right = std::max(a.x(), b.x());
    const int bottom = std::max(a.y(), b.y());
    return QRect(left, top, std::max(right - left - 1, 0), std::max(bottom - top - 1, 0));
}

int32_t GridStep(double dScale) {
    return dScale < 0.005 ? 20000 : 8000;
}

void CPreviewPainter::PaintBackground(QPainter& p, QSize size) const {
    p.fillRect(QRect(QPoint(0, 0), size), m_style.m_colBg);
}

void CPreviewPainter::PaintPage(QPainter& p, QSize size, const CViewTransform& disp,
                                const COnePage& page) const {
    PaintBackground(p, size);
    p.setRenderHint(QPainter::Antialiasing, false); // one-pixel lines
    if (page.m_nMaxX > 0) {
        PaintFrame(p, disp, page.m_nMaxX);
        PaintGrid(p, disp, page.m_nMaxX);
    }
    PaintCurves(p, size, disp, page.m_arrCurves);
}

void CPreviewPainter::PaintFrame(QPainter& p, const CViewTransform& disp, int32_t nMaxX) const {
    p.setPen(QPen(m_style.m_colFrame, 0));
    p.setBrush(Qt::NoBrush);
    const QPoint topLeft = Screen(disp, 0, m_style.m_nPaperUnits) + QPoint(-4, -4);
    const QPoint bottomRight = Screen(disp, nMaxX, 0) + QPoint(4, 4);
    p.drawRect(OutlineRect(topLeft, bottomRight));
}

int GridLabelEvery(int nPitch, int nLabelExtent) {
    if (nPitch <= 0)
        return INT_MAX;
    return std::max(1, (nLabelExtent + kGridLabelGap + nPitch - 1) / nPitch);
}

void CPreviewPainter::PaintGrid(QPainter& p, const CViewTransform& disp, int32_t nMaxX) const {
    const int32_t step = GridStep(disp.m_dScale);
    const int labelStep = step == 8000 ? 200 : 500;
    const int32_t paper = m_style.m_nPaperUnits;
    const QFontMetrics fm(p.font());
    const int ascent = fm.ascent();
    const QPen gridPen(m_style.m_colGrid, 0);
    const QPen labelPen(m_style.m_colFrame, 0);
    auto text = [](const char* format, int value) {
        char sz[24];
        std::snprintf(sz, sizeof sz, format, value);
        return QString::fromLatin1(sz);
    };
    // Labels are placed by the top-left corner of their text. On a long marker fitted to
    // the window the grid lines lie closer than a label is wide: then only every n-th line
    // is labelled, n as small as keeps the labels apart (the widest is the last).
    auto label = [&](QPoint at, const QString& str) {
        p.setPen(labelPen);
        p.drawText(at.x(), at.y() + ascent, str);
    };
    const QPoint origin = Screen(disp, 0, 0);
    label(origin + QPoint(-12, 6), QStringLiteral("0"));
    const int32_t nLinesX = nMaxX / step;
    const int nEveryX = GridLabelEvery(std::abs(Screen(disp, step, 0).x() - origin.x()),
                                       fm.horizontalAdvance(text("%03d", nLinesX * labelStep)));
    for (int32_t k = 1; k <= nLinesX; ++k) {
        p.setPen(gridPen);
        p.drawLine(Screen(disp, k * step, 0), Screen(disp, k * step, paper));
        if (k % nEveryX == 0)
            label(Screen(disp, k * step, 0) + QPoint(-12, 6), text("%03d", k * labelStep));
    }
    const int nEveryY =
        GridLabelEvery(std::abs(Screen(disp, 0, step).y() - origin.y()), fm.height());
    for (int32_t k = 1; k <= paper / step; ++k) {
        p.setPen(gridPen);
        p.drawLine(Screen(disp, 0, k * step), Screen(disp, nMaxX, k * step));
        if (k % nEveryY == 0)
            label(Screen(disp, 0, k * step) + QPoint(-36, -8), text("%03d", k * labelStep));
    }
}

void CPreviewPainter::PaintCurves(QPainter& p, QSize size, const CViewTransform& disp,
                                  const CCurveArray& curves) const {
    const size_t nSplit = CurveHalvesSplit(curves);
    // Opaque one-pixel lines of one colour, without a transform: a pixel shows the curve colour
    // where any curve covers it, whatever the order. So a large drawing's second half is painted
    // apart on a second thread and laid over the first, which gives the very pixels of one
    // painting.
    if (nSplit > 0 && m_style.m_colCurve.alpha() == 255 &&
        !p.testRenderHint(QPainter::Antialiasing) && p.transform().isIdentity()) {
        QImage second(size, QImage::Format_ARGB32_Premultiplied);
        second.fill(Qt::transparent);
        const QPainter::RenderHints hints = p.renderHints(); // read before p is busy
        RunOnTwoThreads([&] { PaintCurveRun(p, size, disp, curves, 0, nSplit); },
                        [&] {
                            QPainter q(&second);
                            q.setRenderHints(hints);
                            PaintCurveRun(q, size, disp, curves, nSplit, curves.size());
                        });
        p.drawImage(0, 0, second);
    } else {
        PaintCurveRun(p, size, disp, curves, 0, curves.size());
    }
    p.setPen(QPen(m_style.m_colCurve, 0));
    for (const CCurve& c : curves) {
        if (c.m_bSelected)
            PaintSelectionMarks(p, size, disp, c);
    }
}

void CPreviewPainter::PaintCurveRun(QPainter& p, QSize size, const CViewTransform& disp,
                                    const CCurveArray& curves, size_t nFrom, size_t nTo) const {
    QPen solid(m_style.m_colCurve, 0);
    QPen dashed(solid);
    dashed.setDashPattern({18, 6}); // the one-pixel dashed pen of the platform look
    p.setBrush(Qt::NoBrush);
    std::vector<QPoint> run;
    run.reserve(1024);
    int nPen = -1;
    for (size_t i = nFrom; i < nTo; ++i) {
        const CCurve& c = curves[i];
        const int want = c.m_nLineType == 1 ? 1 : 0;
        if (want != nPen) {
            p.setPen(want == 1 ? dashed : solid);
            nPen = want;
        }
        PaintCurveLines(p, size, disp, c, run);
    }
}

void CPreviewPainter::PaintCurveLines(QPainter& p, QSize size, const CViewTransform& disp,
                                      const CCurve& c, std::vector<QPoint>& run) const {
    const std::vector<CPoint>& pts = c.m_arrPoints;
    if (pts.size() < 2)
        return; // a single vertex draws no line
    const CClipBox window = ClipBoxOf(size);
    const CClipBox guard = GuardBoxOf(size);
    auto flush = [&] {
        if (run.size() >= 2)
            p.drawPolyline(run.data(), static_cast<int>(run.size()));
        else if (run.size() == 1)
            p.drawPoint(run[0]); // a whole run inside one pixel still shows as that pixel
        run.clear();
    };
    auto addPoint = [&](QPoint q) {
        if (run.empty() || run.back() != q)
            run.push_back(q);
    };
    CExactPoint prev = ExactScreen(disp, pts[0]);
    bool bPrevNear = guard.Contains(prev);
    for (size_t i = 1; i < pts.size(); ++i) {
        const CExactPoint cur = ExactScreen(disp, pts[i]);
        const bool bCurNear = guard.Contains(cur);
        if (window.Rejects(prev, cur)) {
            flush(); // the segment lies wholly beside the window
        } else if (bPrevNear && bCurNear) {
            // Qt clips lines of moderate length itself, pixel for pixel as drawn whole.
            if (run.empty())
                addPoint(Pixel(prev));
            addPoint(Pixel(cur));
        } else {
            // An end far outside: shorten the segment to the guard box first.
            CExactPoint a = prev;
            CExactPoint b = cur;
            if (!bPrevNear)
                flush();
            if (ClipSegment(guard, a, b)) {
                if (run.empty())
                    addPoint(Pixel(a));
                addPoint(Pixel(b));
            }
            if (!bCurNear)
                flush();
        }
        prev = cur;
        bPrevNear = bCurNear;
    }
    flush();
}

void CPreviewPainter::PaintSelectionMarks(QPainter& p, QSize size, const CViewTransform& disp,
                                          const CCurve& c) const {
    const std::vector<CPoint>& pts = c.m_arrPoints;
    const CClipBox box = ClipBoxOf(size);
    std::vector<QRect> rects;
    auto mark = [&](const CPoint& v) {
        const CExactPoint s = ExactScreen(disp, v);
        if (!box.Contains(s))
            return;
        const QPoint q = Pixel(s);
        const QRect r(q.x() - 3, q.y() - 3, 6, 6); // outline covers 7 x 7 pixels
        if (rects.empty() || rects.back() != r)
            rects.push_back(r);
    };
    for (size_t i = 0; i < pts.size(); ++i) {
        mark(pts[i]);
        if (i + 1 < pts.size()) {
            // Midpoint halved in plotter units, truncating toward zero.
            const int64_t mx = (static_cast<int64_t>(pts[i].x) + pts[i + 1].x) / 2;
            const int64_t my = (static_cast<int64_t>(pts[i].y) + pts[i + 1].y) / 2;
            mark({static_cast<int32_t>(mx), static_cast<int32_t>(my)});
        }
    }
    if (!rects.empty())
        p.drawRects(rects.data(), static_cast<int>(rects.size()));
}

void CPreviewPainter::PaintStartLine(QPainter& p, const CViewTransform& disp,
                                     const COnePage& page) const {
    const int64_t s = static_cast<int64_t>(page.m_nStartMm) * 40;
    if (page.m_nStartMm <= 0 || s >= page.m_nMaxX)
        return;
    const int32_t x = static_cast<int32_t>(s);
    p.setPen(QPen(QColor(0xFF, 0, 0), 2));
    p.drawLine(Screen(disp, x, 0), Screen(disp, x, page.m_nMaxY));
}

void CPreviewPainter::PaintStopLine(QPainter& p, const CViewTransform& disp, const COnePage& page,
                                    int64_t x) const {
    if (x <= page.m_nMinX || x >= page.m_nMaxX)
        return;
    const int32_t nX = static_cast<int32_t>(x);
    const QColor orange(0xFF, 0x8C, 0);
    QColor printed = orange;
    printed.setAlpha(40);
    p.fillRect(QRect(Screen(disp, page.m_nMinX, page.m_nMaxY), Screen(disp, nX, page.m_nMinY))
                   .normalized(),
               printed);
    p.setPen(QPen(orange, 2, Qt::DashLine));
    p.drawLine(Screen(disp, nX, page.m_nMinY), Screen(disp, nX, page.m_nMaxY));
}

} // namespace inkvale
