// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "import/HpglPlotList.h"
#include "import/HpglUnits.h"

namespace inkvale {

/// The soft-clip window of IW: what is drawn outside it is cut off at its edges, a line that
/// leaves and comes back becomes two. The window is kept in the plotter frame it was given
/// in and turns with RO, as the coordinate system does; drawing reaches it in the frame of
/// the page (after RO), unrounded, and goes into the plot list rounded.
class CHpglClipWindow {
public:
    /// A window with the corners a and b (in either order), in plotter units before RO.
    void Set(CHpglPoint a, CHpglPoint b, const CHpglUnits& units);
    /// No window: nothing is cut.
    void Clear() { m_bActive = false; }
    /// The window on the page again after a change of rotation.
    void Place(const CHpglUnits& units);
    bool Active() const { return m_bActive; }

    /// Whether a point of the page frame lies inside the window or on its edge.
    bool Contains(CHpglPoint p) const;
    /// Cuts the segment a..b (page frame) to the window; false when none of it is inside.
    bool Clip(CHpglPoint& a, CHpglPoint& b) const;

    /// A line through the window: Start at p (page frame), then LineTo each next vertex. The
    /// parts inside go to list as a move to where they enter and a polyline.
    void Start(CHpglPoint p);
    void LineTo(CHpglPoint p, CHpglPlotList& list);

private:
    CHpglPoint m_low; // the window as given, plotter frame
    CHpglPoint m_high;
    double m_x0 = 0.0; // the window on the page
    double m_y0 = 0.0;
    double m_x1 = 0.0;
    double m_y1 = 0.0;
    bool m_bActive = false;
    CHpglPoint m_from;       // where the line being drawn is, page frame
    bool m_bDrawing = false; // the plot list's last polyline ends at m_from
};

} // namespace inkvale
