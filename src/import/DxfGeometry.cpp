// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/DxfGeometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace inkvale {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
/// Highest spline degree evaluated; CAD programs write 2 or 3, rarely 5 or 7.
constexpr int kMaxDegree = 11;
/// How often a span of a spline is halved at most while it is flattened.
constexpr int kMaxSplitDepth = 18;

bool Finite(CDxfXY p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

/// A clamped uniform knot vector for n control points of degree p.
std::vector<double> UniformKnots(size_t n, int p) {
    std::vector<double> k(n + static_cast<size_t>(p) + 1);
    const size_t nInner = n - static_cast<size_t>(p);
    for (size_t i = 0; i < k.size(); ++i) {
        const double v = static_cast<double>(i) - p;
        k[i] = std::clamp(v, 0.0, static_cast<double>(nInner));
    }
    return k;
}

/// A rational B-spline of control points with weights (in the bulge), evaluated by de Boor.
class CNurbs {
public:
    CNurbs(const std::vector<DxfVertex>& arrCtrl, std::vector<double> arrKnots, int nDegree)
        : m_ctrl(arrCtrl), m_k(std::move(arrKnots)), m_p(nDegree) {}

    double Start() const { return m_k[static_cast<size_t>(m_p)]; }
    double End() const { return m_k[m_ctrl.size()]; }
    double Knot(size_t i) const { return m_k[i]; }

    CDxfXY At(double u) const {
        const size_t n = m_ctrl.size();
        const auto p = static_cast<size_t>(m_p);
        size_t s = p; // the span: k[s] <= u < k[s + 1], within [p, n - 1]
        while (s + 1 < n && m_k[s + 1] <= u)
            ++s;
        std::array<std::array<double, 3>, kMaxDegree + 1> dd{};
        for (size_t j = 0; j <= p; ++j) {
            const DxfVertex& v = m_ctrl[j + s - p];
            const double w = v.bulge > 0.0 ? v.bulge : 1.0;
            dd[j] = {v.x * w, v.y * w, w};
        }
        for (size_t r = 1; r <= p; ++r) {
            for (size_t j = p; j >= r; --j) {
                const size_t i = j + s - p;
                const double dDen = m_k[i + p + 1 - r] - m_k[i];
                const double a = dDen > 0.0 ? (u - m_k[i]) / dDen : 0.0;
                for (size_t c = 0; c < 3; ++c)
                    dd[j][c] = (1.0 - a) * dd[j - 1][c] + a * dd[j][c];
            }
        }
        const std::array<double, 3>& q = dd[p];
        return q[2] != 0.0 ? CDxfXY{q[0] / q[2], q[1] / q[2]} : CDxfXY{q[0], q[1]};
    }

private:
    const std::vector<DxfVertex>& m_ctrl;
    std::vector<double> m_k;
    int m_p;
};

double DistanceToChord(CDxfXY p, CDxfXY a, CDxfXY b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double dLen = std::hypot(dx, dy);
    if (dLen == 0.0)
        return std::hypot(p.x - a.x, p.y - a.y);
    return std::fabs((p.x - a.x) * dy - (p.y - a.y) * dx) / dLen;
}

/// Appends the curve between u0 (its point a, already in the path) and u1 (point b), halving
/// the interval until its middle and quarter points lie within the tolerance of the chord.
template <typename Curve>
bool Flatten(const Curve& curve, double u0, CDxfXY a, double u1, CDxfXY b, double dTol, int nDepth,
             size_t nMax, CDxfPath& path) {
    const double um = 0.5 * (u0 + u1);
    const CDxfXY m = curve.At(um);
    const bool bFlat = DistanceToChord(m, a, b) <= dTol &&
                       DistanceToChord(curve.At(0.5 * (u0 + um)), a, b) <= dTol &&
                       DistanceToChord(curve.At(0.5 * (um + u1)), a, b) <= dTol;
    if (bFlat || nDepth >= kMaxSplitDepth || !Finite(m)) {
        if (path.size() >= nMax)
            return false;
        path.push_back(b);
        return true;
    }
    return Flatten(curve, u0, a, um, m, dTol, nDepth + 1, nMax, path) &&
           Flatten(curve, um, m, u1, b, dTol, nDepth + 1, nMax, path);
}

/// Splits [u0, u1] into four before flattening, so that a span whose middle happens to lie
/// on its chord (an S curve) is still followed.
template <typename Curve>
bool FlattenSpan(const Curve& curve, double u0, double u1, double dTol, size_t nMax,
                 CDxfPath& path) {
    constexpr int kParts = 4;
    CDxfXY a = path.back();
    for (int i = 1; i <= kParts; ++i) {
        const double ua = u0 + (u1 - u0) * (i - 1) / kParts;
        const double ub = i == kParts ? u1 : u0 + (u1 - u0) * i / kParts;
        const CDxfXY b = curve.At(ub);
        if (!Flatten(curve, ua, a, ub, b, dTol, 0, nMax, path))
            return false;
        a = b;
    }
    return true;
}

/// A cubic through fit points (Catmull-Rom with chord-length spacing): the curve of a
/// spline that was written by its fit points only.
class CFitCurve {
public:
    explicit CFitCurve(const std::vector<DxfVertex>& arr) : m_arr(arr) {}

    /// u in [i, i + 1] lies between fit points i and i + 1.
    CDxfXY At(double u) const {
        const size_t n = m_arr.size();
        const auto i = std::min(static_cast<size_t>(std::max(u, 0.0)), n - 2);
        const double t = u - static_cast<double>(i);
        const CDxfXY p1 = P(i);
        const CDxfXY p2 = P(i + 1);
        const CDxfXY t1 = Tangent(i);
        const CDxfXY t2 = Tangent(i + 1);
        const double t2s = t * t;
        const double t3 = t2s * t;
        const double h00 = 2 * t3 - 3 * t2s + 1;
        const double h10 = t3 - 2 * t2s + t;
        const double h01 = -2 * t3 + 3 * t2s;
        const double h11 = t3 - t2s;
        return {h00 * p1.x + h10 * t1.x + h01 * p2.x + h11 * t2.x,
                h00 * p1.y + h10 * t1.y + h01 * p2.y + h11 * t2.y};
    }

private:
    CDxfXY P(size_t i) const { return {m_arr[i].x, m_arr[i].y}; }
    /// The tangent at point i for a unit parameter step to its neighbours.
    CDxfXY Tangent(size_t i) const {
        const size_t n = m_arr.size();
        const size_t a = i == 0 ? 0 : i - 1;
        const size_t b = i + 1 >= n ? n - 1 : i + 1;
        const double dSteps = static_cast<double>(b - a);
        return {(m_arr[b].x - m_arr[a].x) / dSteps, (m_arr[b].y - m_arr[a].y) / dSteps};
    }
    const std::vector<DxfVertex>& m_arr;
};

bool ControlPath(const DxfEntityData& d, double dTol, size_t nMax, CDxfPath& path) {
    const size_t n = d.m_arrVertices.size();
    const int p =
        std::clamp<int>(d.m_nDegree, 1, std::min<int>(kMaxDegree, static_cast<int>(n) - 1));
    std::vector<double> arrKnots = d.m_arrReals;
    bool bKnotsOk =
        arrKnots.size() == n + static_cast<size_t>(p) + 1 &&
        std::is_sorted(arrKnots.begin(), arrKnots.end()) &&
        std::all_of(arrKnots.begin(), arrKnots.end(), [](double k) { return std::isfinite(k); });
    if (!bKnotsOk)
        arrKnots = UniformKnots(n, p);
    const CNurbs curve(d.m_arrVertices, std::move(arrKnots), p);
    if (!(curve.End() > curve.Start()))
        return true;
    path.push_back(curve.At(curve.Start()));
    for (size_t s = static_cast<size_t>(p); s < n; ++s) {
        const double u0 = curve.Knot(s);
        const double u1 = curve.Knot(s + 1);
        if (u1 > u0 && !FlattenSpan(curve, u0, u1, dTol, nMax, path))
            return false;
    }
    // The end of the last span is evaluated from the span before it (u1 is not inside).
    return true;
}

} // namespace

double CDxfTransform::Scale() const {
    return std::sqrt(std::fabs(a * d - b * c));
}

CDxfTransform CDxfTransform::After(const CDxfTransform& o) const {
    if (o.m_bIdentity)
        return *this;
    if (m_bIdentity)
        return o;
    CDxfTransform r;
    r.a = a * o.a + b * o.c;
    r.b = a * o.b + b * o.d;
    r.c = c * o.a + d * o.c;
    r.d = c * o.b + d * o.d;
    r.e = a * o.e + b * o.f + e;
    r.f = c * o.e + d * o.f + f;
    r.m_bIdentity = false;
    return r;
}

CDxfTransform CDxfTransform::Translate(double dx, double dy) {
    CDxfTransform t;
    t.e = dx;
    t.f = dy;
    t.m_bIdentity = dx == 0.0 && dy == 0.0;
    return t;
}

CDxfTransform CDxfTransform::Rotate(double dRadians) {
    CDxfTransform t;
    if (dRadians == 0.0)
        return t;
    t.a = t.d = std::cos(dRadians);
    t.c = std::sin(dRadians);
    t.b = -t.c;
    t.m_bIdentity = false;
    return t;
}

CDxfTransform CDxfTransform::ScaleXY(double sx, double sy) {
    CDxfTransform t;
    t.a = sx;
    t.d = sy;
    t.m_bIdentity = sx == 1.0 && sy == 1.0;
    return t;
}

CDxfTransform DxfOcsTransform(const DxfPoint3& n, double dZ) {
    const double dLen = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    if (!(dLen > 0.0) || !std::isfinite(dLen) || (n.x == 0.0 && n.y == 0.0 && n.z > 0.0))
        return {};
    const double nx = n.x / dLen;
    const double ny = n.y / dLen;
    const double nz = n.z / dLen;
    // Ax = W x N with W the world Y axis near the Z axis, else the world Z axis.
    double ax = 0.0;
    double ay = 0.0;
    double az = 0.0;
    if (std::fabs(nx) < 1.0 / 64 && std::fabs(ny) < 1.0 / 64) {
        ax = nz;
        az = -nx;
    } else {
        ax = -ny;
        ay = nx;
    }
    const double dA = std::sqrt(ax * ax + ay * ay + az * az);
    ax /= dA;
    ay /= dA;
    az /= dA;
    // Ay = N x Ax.
    const double bx = ny * az - nz * ay;
    const double by = nz * ax - nx * az;
    CDxfTransform t;
    t.a = ax;
    t.b = bx;
    t.c = ay;
    t.d = by;
    t.e = nx * dZ;
    t.f = ny * dZ;
    t.m_bIdentity = false;
    return t;
}

int32_t DxfArcSegments(double dRadius, double dSweep, double dPlotterUnits) {
    const double dFull = std::max(8.0, std::fabs(dRadius) * kTwoPi * dPlotterUnits / 40.0);
    const double dSegments = std::ceil(dFull * std::fabs(dSweep) / kTwoPi);
    if (!(dSegments >= 1.0))
        return 1; // also NaN
    if (dSegments >= kDxfMaxArcSegments)
        return kDxfMaxArcSegments;
    return static_cast<int32_t>(dSegments);
}

void DxfAppendArc(CDxfPath& path, CDxfXY c, double r, double a0, double dSweep,
                  double dPlotterUnits) {
    const int32_t n = DxfArcSegments(r, dSweep, dPlotterUnits);
    for (int32_t i = 1; i <= n; ++i) {
        const double a = a0 + dSweep * i / n;
        path.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
    }
}

void DxfAppendBulge(CDxfPath& path, CDxfXY p0, CDxfXY p1, double dBulge, double dPlotterUnits) {
    const double dx = p1.x - p0.x;
    const double dy = p1.y - p0.y;
    const double dChord = std::hypot(dx, dy);
    if (dBulge == 0.0 || !std::isfinite(dBulge) || dChord == 0.0 || !std::isfinite(dChord)) {
        path.push_back(p1);
        return;
    }
    // The centre lies on the chord's perpendicular, left of it for a positive bulge.
    const double dOffset = (1.0 - dBulge * dBulge) / (4.0 * dBulge);
    const CDxfXY c{(p0.x + p1.x) / 2 - dy * dOffset, (p0.y + p1.y) / 2 + dx * dOffset};
    const double r = std::hypot(p0.x - c.x, p0.y - c.y);
    const double dSweep = 4.0 * std::atan(dBulge);
    DxfAppendArc(path, c, r, std::atan2(p0.y - c.y, p0.x - c.x), dSweep, dPlotterUnits);
    path.back() = p1;
}

CDxfPath DxfEllipsePath(const DxfEntityData& d, double dPlotterUnits) {
    const DxfPoint3& c = d.m_aPt[0];
    const DxfPoint3& m = d.m_aPt[1];
    const double dRatio = d.m_dRadius;
    // The minor axis is the major one turned a quarter about the normal.
    const double dSign = d.m_extrusion.z < 0.0 ? -1.0 : 1.0;
    const CDxfXY minor{-m.y * dRatio * dSign, m.x * dRatio * dSign};
    double t0 = d.m_dAngle;
    double t1 = d.m_dEndAngle;
    if (!std::isfinite(t0) || !std::isfinite(t1) || std::fabs(t0) > 1e6 || std::fabs(t1) > 1e6)
        t0 = 0.0, t1 = kTwoPi;
    double dSweep = std::fmod(t1 - t0, kTwoPi);
    if (dSweep <= 1e-12)
        dSweep += kTwoPi;
    const double dMajor = std::hypot(m.x, m.y);
    const int32_t n = DxfArcSegments(dMajor, dSweep, dPlotterUnits);
    CDxfPath path;
    path.reserve(static_cast<size_t>(n) + 1);
    for (int32_t i = 0; i <= n; ++i) {
        const double t = t0 + dSweep * i / n;
        const double ct = std::cos(t);
        const double st = std::sin(t);
        path.push_back({c.x + m.x * ct + minor.x * st, c.y + m.y * ct + minor.y * st});
    }
    return path;
}

bool DxfSplinePath(const DxfEntityData& d, double dTolerance, size_t nMaxPoints, CDxfPath& path) {
    path.clear();
    if (!(dTolerance > 0.0))
        dTolerance = 1e-3;
    if (d.m_arrVertices.size() >= 2)
        return ControlPath(d, dTolerance, nMaxPoints, path);
    if (d.m_arrFit.size() < 2)
        return true;
    const CFitCurve curve(d.m_arrFit);
    path.push_back({d.m_arrFit[0].x, d.m_arrFit[0].y});
    for (size_t i = 0; i + 1 < d.m_arrFit.size(); ++i) {
        if (!FlattenSpan(curve, static_cast<double>(i), static_cast<double>(i + 1), dTolerance,
                         nMaxPoints, path))
            return false;
    }
    return true;
}

} // namespace inkvale
