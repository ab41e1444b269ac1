// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace inkvale::samplegen {

/// A point in millimetres. On a pattern piece x runs along the grain (the length of the
/// fabric), y across it; on the marker x is the length of the roll, y its width.
struct CPt {
    double x = 0.0;
    double y = 0.0;
};

inline CPt operator+(CPt a, CPt b) {
    return {a.x + b.x, a.y + b.y};
}
inline CPt operator-(CPt a, CPt b) {
    return {a.x - b.x, a.y - b.y};
}
inline CPt operator*(CPt a, double k) {
    return {a.x * k, a.y * k};
}

using CPolyline = std::vector<CPt>;

/// Builds an outline or an internal line from straight and cubic Bezier segments; curves are
/// flattened into short chords, as garment CAD exports them.
class CPathBuilder {
public:
    explicit CPathBuilder(CPt start) : m_arrPoints{start} {}
    CPathBuilder& Line(CPt to);
    CPathBuilder& Cubic(CPt c1, CPt c2, CPt to);
    /// The points so far; with bClose the first point is repeated at the end.
    CPolyline Finish(bool bClose) const;

private:
    CPolyline m_arrPoints;
};

double Length(CPt v);
/// Twice the signed area (positive for counter-clockwise) of a closed outline.
double SignedArea2(const CPolyline& outline);
/// A closed outline made counter-clockwise.
CPolyline CounterClockwise(CPolyline outline);
/// A half outline from the centre line (y = 0) round to the centre line again, completed
/// with its mirror image into a whole symmetric piece, closed.
CPolyline MirrorAcrossCentre(const CPolyline& half);
/// The closest point of the closed outline to p, with the unit tangent of its segment.
void NearestOnOutline(const CPolyline& outline, CPt p, CPt& at, CPt& tangent);

/// Placement of a piece on the marker: optional mirror across the grain line (y -> -y), an
/// optional half turn, then a shift.
struct CPlacement {
    bool bMirror = false;
    bool bHalfTurn = false;
    CPt shift;

    CPt Apply(CPt p) const {
        if (bMirror)
            p.y = -p.y;
        if (bHalfTurn)
            p = {-p.x, -p.y};
        return p + shift;
    }
    CPolyline Apply(const CPolyline& line) const {
        CPolyline out;
        out.reserve(line.size());
        for (const CPt& p : line)
            out.push_back(Apply(p));
        return out;
    }
};

} // namespace inkvale::samplegen
