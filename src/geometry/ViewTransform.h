// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace inkvale {

/// Screen transform of the preview: pixels per plotter unit, window height and pan.
/// Screen Y grows downwards, drawing Y upwards; the drawing's origin sits 50 pixels from
/// the left edge and 30 pixels above the bottom edge before panning.
struct CViewTransform {
    double m_dScale = 0.01;  ///< screen pixels per plotter unit
    int m_nViewHeight = 400; ///< height of the preview window, pixels
    int m_nPanX = 0;         ///< horizontal pan, pixels
    int m_nPanY = 0;         ///< vertical pan, pixels
};

struct CScreenPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const CScreenPoint&, const CScreenPoint&) = default;
};

/// Plotter units to screen pixels, truncated toward zero.
CScreenPoint WorldToScreen(const CViewTransform& disp, int x, int y);

/// Screen pixels to plotter units, truncated toward zero.
CScreenPoint ScreenToWorld(const CViewTransform& disp, int sx, int sy);

} // namespace inkvale
