// SPDX-License-Identifier: GPL-3.0-or-later
#include "PatternGeometry.h"

#include <algorithm>
#include <cmath>

namespace inkvale::samplegen {

namespace {

// Chord length of a flattened curve: short enough that a 1:1 plot shows no corners.
constexpr double kChordMm = 8.0;

} // namespace

CPathBuilder& CPathBuilder::Line(CPt to) {
    m_arrPoints.push_back(to);
    return *this;
}

CPathBuilder& CPathBuilder::Cubic(CPt c1, CPt c2, CPt to) {
    const CPt p0 = m_arrPoints.back();
    const double net = Length(c1 - p0) + Length(c2 - c1) + Length(to - c2);
    const int n = std::clamp(static_cast<int>(std::ceil(net / kChordMm)), 3, 48);
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n;
        const double u = 1.0 - t;
        const double a = u * u * u;
        const double b = 3.0 * u * u * t;
        const double c = 3.0 * u * t * t;
        const double d = t * t * t;
        m_arrPoints.push_back(
            {a * p0.x + b * c1.x + c * c2.x + d * to.x, a * p0.y + b * c1.y + c * c2.y + d * to.y});
    }
    return *this;
}

CPolyline CPathBuilder::Finish(bool bClose) const {
    CPolyline out = m_arrPoints;
    if (bClose)
        out.push_back(out.front());
    return out;
}

double Length(CPt v) {
    return std::hypot(v.x, v.y);
}

double SignedArea2(const CPolyline& outline) {
    double a = 0.0;
    for (size_t i = 0; i + 1 < outline.size(); ++i)
        a += outline[i].x * outline[i + 1].y - outline[i + 1].x * outline[i].y;
    return a;
}

CPolyline CounterClockwise(CPolyline outline) {
    if (SignedArea2(outline) < 0.0)
        std::reverse(outline.begin(), outline.end());
    return outline;
}

CPolyline MirrorAcrossCentre(const CPolyline& half) {
    CPolyline out = half;
    for (size_t i = half.size() - 1; i-- > 1;)
        out.push_back({half[i].x, -half[i].y});
    out.push_back(out.front());
    return out;
}

void NearestOnOutline(const CPolyline& outline, CPt p, CPt& at, CPt& tangent) {
    double best = -1.0;
    for (size_t i = 0; i + 1 < outline.size(); ++i) {
        const CPt a = outline[i];
        const CPt d = outline[i + 1] - a;
        const double len2 = d.x * d.x + d.y * d.y;
        if (len2 <= 0.0)
            continue;
        const double t = std::clamp(((p.x - a.x) * d.x + (p.y - a.y) * d.y) / len2, 0.0, 1.0);
        const CPt q = a + d * t;
        const double dist = Length(p - q);
        if (best < 0.0 || dist < best) {
            best = dist;
            at = q;
            tangent = d * (1.0 / std::sqrt(len2));
        }
    }
}

} // namespace inkvale::samplegen
