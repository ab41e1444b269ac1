// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/Curve.h"
#include "geometry/ViewTransform.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <vector>

class QPainter;

namespace inkvale {

class COnePage;
struct CSettings;

/// Colours and paper width of the preview, taken from the settings.
struct CPreviewStyle {
    QColor m_colBg;
    QColor m_colFrame; ///< paper frame and grid labels
    QColor m_colGrid;
    QColor m_colCurve;
    int32_t m_nPaperUnits = 84000; ///< roll width in plotter units

    static CPreviewStyle FromSettings(const CSettings& settings);
};

/// A settings colour (0x00BBGGRR) as a QColor.
QColor SettingColor(int32_t nValue);

/// The rectangle whose outline runs through corner a and stops one pixel before corner b
/// (right and bottom edges excluded), for QPainter::drawRect.
QRect OutlineRect(QPoint a, QPoint b);

/// Pixels kept free between two grid labels.
inline constexpr int kGridLabelGap = 6;
/// Every how many grid lines a label stands, when the lines are nPitch pixels apart and a
/// label takes nLabelExtent pixels along them: 1 when they fit, more so that labels never
/// touch; INT_MAX (only the origin's) when the lines coincide.
int GridLabelEvery(int nPitch, int nLabelExtent);
/// Grid step in plotter units for a scale: 200 mm, or 500 mm when the scale is below 0.005.
int32_t GridStep(double dScale);

/// Paints the preview of a page onto any QPainter (the view's off-screen buffer, a
/// benchmark's image, a command-line picture). Coordinates go through the preview's
/// transform; only what falls inside the target size is drawn, and runs of vertices that
/// land on the same pixel are drawn as one, so a large marker paints in time
/// proportional to its vertex count with few drawing calls.
class CPreviewPainter {
public:
    explicit CPreviewPainter(const CPreviewStyle& style) : m_style(style) {}

    /// Fills the target with the background colour.
    void PaintBackground(QPainter& p, QSize size) const;
    /// Background, paper frame and grid (when the page's maxX is positive), the curves and
    /// the marks of the selected curves.
    void PaintPage(QPainter& p, QSize size, const CViewTransform& disp, const COnePage& page) const;
    /// The frame around (0, 0)..(maxX, roll width), 4 pixels larger on every side.
    void PaintFrame(QPainter& p, const CViewTransform& disp, int32_t nMaxX) const;
    /// Grid lines and labels up to maxX and the roll width.
    void PaintGrid(QPainter& p, const CViewTransform& disp, int32_t nMaxX) const;
    /// Every curve in the curve colour (solid or dashed), then the squares marking the
    /// vertices and segment midpoints of the selected curves. A large drawing (see
    /// CurveHalvesSplit) has its lines painted in two halves at once, to the same pixels.
    void PaintCurves(QPainter& p, QSize size, const CViewTransform& disp,
                     const CCurveArray& curves) const;
    /// The red 2-pixel start-position line, when the start position lies inside the drawing.
    void PaintStartLine(QPainter& p, const CViewTransform& disp, const COnePage& page) const;
    /// Where an interrupted job stopped, at plotter X x: what lies before it is shaded as
    /// printed, and a dashed orange line marks the place.
    void PaintStopLine(QPainter& p, const CViewTransform& disp, const COnePage& page, int64_t x) const;

private:
    /// The lines of curves [nFrom, nTo) in order.
    void PaintCurveRun(QPainter& p, QSize size, const CViewTransform& disp, const CCurveArray& curves,
                       size_t nFrom, size_t nTo) const;
    void PaintCurveLines(QPainter& p, QSize size, const CViewTransform& disp, const CCurve& c,
                         std::vector<QPoint>& run) const;
    void PaintSelectionMarks(QPainter& p, QSize size, const CViewTransform& disp, const CCurve& c) const;

    CPreviewStyle m_style;
};

} // namespace inkvale
