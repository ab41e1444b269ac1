// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/DxfAama.h"

#include <cmath>
#include <limits>

namespace inkvale {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

/// Distance from p to the segment ab, and the segment's parameter of the nearest point.
double SegmentDistance(CDxfXY p, CDxfXY a, CDxfXY b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double dLen2 = dx * dx + dy * dy;
    double t = dLen2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / dLen2 : 0.0;
    t = t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

/// Whether q lies inside the boundary, by the parity of its crossings with a ray to +x: the
/// open runs of an outline together close it, in whatever order they were written.
bool Inside(const CAamaPiece& piece, CDxfXY q) {
    bool bInside = false;
    for (const auto& [a, b] : piece.m_arrBoundary) {
        if ((a.y > q.y) != (b.y > q.y)) {
            const double x = a.x + (q.y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (x > q.x)
                bInside = !bInside;
        }
    }
    return bInside;
}

} // namespace

EAamaPoint AamaPointKind(std::string_view layer) {
    layer = Trim(layer);
    if (layer == "13")
        return EAamaPoint::kDrill;
    if (layer == "4")
        return EAamaPoint::kNotch;
    if (layer == "2" || layer == "3")
        return EAamaPoint::kTurnOrCurve;
    return EAamaPoint::kPlain;
}

bool AamaBoundaryLayer(std::string_view layer) {
    return Trim(layer) == "1";
}

bool AamaNotchLayer(std::string_view layer) {
    layer = Trim(layer);
    return layer == "4" || layer == "80" || layer == "81" || layer == "82" || layer == "83";
}

std::optional<std::pair<CDxfXY, CDxfXY>> AamaNotchSlit(const CAamaPiece& piece, CDxfXY p,
                                                       double dLength, double dTolerance) {
    for (const CDxfXY& e : piece.m_arrNotchEnds) {
        if (std::hypot(e.x - p.x, e.y - p.y) <= dTolerance)
            return std::nullopt;
    }
    double dBest = std::numeric_limits<double>::infinity();
    CDxfXY dir{};
    for (const auto& [a, b] : piece.m_arrBoundary) {
        const double dLen = std::hypot(b.x - a.x, b.y - a.y);
        if (dLen == 0.0)
            continue;
        const double d = SegmentDistance(p, a, b);
        if (d < dBest) {
            dBest = d;
            dir = {(b.x - a.x) / dLen, (b.y - a.y) / dLen};
        }
    }
    if (!std::isfinite(dBest) || !(dLength > 0.0))
        return std::nullopt;
    // Square to the boundary, toward the side where the piece is.
    CDxfXY n{-dir.y, dir.x};
    const double dProbe = dLength * 0.05;
    if (!Inside(piece, {p.x + n.x * dProbe, p.y + n.y * dProbe}))
        n = {-n.x, -n.y};
    return std::pair{p, CDxfXY{p.x + n.x * dLength, p.y + n.y * dLength}};
}

} // namespace inkvale
