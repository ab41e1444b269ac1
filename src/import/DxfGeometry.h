// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "import/DxfRecords.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The curved DXF entities as polylines in drawing units: arcs, bulged polyline segments,
// ellipses and splines, and the affine placement of blocks and entity coordinate systems.
// Curves are cut as finely as the circle rule of the conversion (about one segment per
// millimetre of arc as drawn); splines follow their curve within a tolerance.

namespace inkvale {

struct CDxfXY {
    double x = 0.0;
    double y = 0.0;
};
using CDxfPath = std::vector<CDxfXY>;

/// x' = a x + b y + e, y' = c x + d y + f.
struct CDxfTransform {
    double a = 1.0, b = 0.0, c = 0.0, d = 1.0, e = 0.0, f = 0.0;
    bool m_bIdentity = true; ///< the transform changes nothing (points pass through exactly)

    CDxfXY Map(CDxfXY p) const {
        if (m_bIdentity)
            return p;
        return {a * p.x + b * p.y + e, c * p.x + d * p.y + f};
    }
    /// The mean length a unit length becomes (the square root of the area factor).
    double Scale() const;
    /// This transform after other: Map(other.Map(p)).
    CDxfTransform After(const CDxfTransform& other) const;
    static CDxfTransform Translate(double dx, double dy);
    static CDxfTransform Rotate(double dRadians);
    static CDxfTransform ScaleXY(double sx, double sy);
};

/// The entity coordinate system of the normal n (DXF's arbitrary axis rule) projected on
/// the drawing plane, with the elevation dZ along n; the identity for n = (0, 0, 1).
CDxfTransform DxfOcsTransform(const DxfPoint3& n, double dZ = 0.0);

/// Segments for an arc of radius r (drawing units) sweeping dSweep radians, where a drawing
/// unit is dPlotterUnits plotter units: one segment per millimetre of arc, in proportion to
/// at least 8 for a full circle, at least 1, at most kDxfMaxArcSegments.
int32_t DxfArcSegments(double dRadius, double dSweep, double dPlotterUnits);
inline constexpr int32_t kDxfMaxArcSegments = 65536;

/// Appends the points of an arc about c from angle a0 sweeping dSweep (radians, positive
/// counter-clockwise), without its first point.
void DxfAppendArc(CDxfPath& path, CDxfXY c, double r, double a0, double dSweep,
                  double dPlotterUnits);

/// Appends the segment from p0 to p1 with the bulge of p0 (the tangent of a quarter of the
/// included angle; 0 is straight), without p0 and with p1 exactly.
void DxfAppendBulge(CDxfPath& path, CDxfXY p0, CDxfXY p1, double dBulge, double dPlotterUnits);

/// The outline of an ELLIPSE record (centre, major axis, ratio, start and end parameter).
CDxfPath DxfEllipsePath(const DxfEntityData& d, double dPlotterUnits);

/// The curve of a SPLINE record within dTolerance drawing units, at most nMaxPoints points
/// (an empty path when it has no usable points; false when the limit was reached).
bool DxfSplinePath(const DxfEntityData& d, double dTolerance, size_t nMaxPoints, CDxfPath& path);

} // namespace inkvale
