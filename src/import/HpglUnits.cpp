// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/HpglUnits.h"

#include <algorithm>
#include <cmath>

namespace inkvale {

namespace {

constexpr int kTypeAnisotropic = 0;
constexpr int kTypeIsotropic = 1;
constexpr int kTypePointFactor = 2;
constexpr double kCentre = 50.0; // SC type 1: spare room split evenly by default

bool Finite(const std::vector<double>& v) {
    return std::all_of(v.begin(), v.end(), [](double d) { return std::isfinite(d); });
}

// The type-1 factor for one axis: the smaller magnitude of both, the axis's own sign.
double Isotropic(double dOwn, double dOther) {
    const double d = std::min(std::fabs(dOwn), std::fabs(dOther));
    return dOwn < 0 ? -d : d;
}

} // namespace

void CHpglUnits::Reset() {
    m_nRotation = 0;
    m_bPointsSet = false;
    m_arrScale.clear();
    PlaceOnPage();
}

void CHpglUnits::PlaceOnPage() {
    m_p1 = {};
    m_p2 = {m_dPageX, m_dPageY};
    Recompute();
}

void CHpglUnits::SetPage(const std::vector<double>& params) {
    if (params.empty() || !Finite(params) || params[0] <= 0)
        return;
    m_dPageX = params[0];
    m_dPageY = params.size() >= 2 && params[1] > 0 ? params[1] : params[0];
    m_bPageSet = true;
    PlaceOnPage();
}

void CHpglUnits::SetP1P2(const std::vector<double>& params) {
    if (!Finite(params))
        return;
    if (params.empty()) {
        PlaceOnPage();
        return;
    }
    if (params.size() < 2)
        return;
    const CHpglPoint p1{params[0], params[1]};
    m_p2 = params.size() >= 4 ? CHpglPoint{params[2], params[3]}
                              : CHpglPoint{m_p2.x + p1.x - m_p1.x, m_p2.y + p1.y - m_p1.y};
    m_p1 = p1;
    m_bPointsSet = m_bPointsSet || params.size() >= 4;
    Recompute();
}

void CHpglUnits::SetP1P2Relative(const std::vector<double>& params) {
    if (params.empty()) {
        PlaceOnPage();
        return;
    }
    std::vector<double> points;
    for (size_t i = 0; i < params.size() && i < 4; ++i)
        points.push_back(params[i] / 100.0 * (i % 2 == 0 ? m_dPageX : m_dPageY));
    const bool bPointsSet = m_bPointsSet;
    SetP1P2(points);
    m_bPointsSet = bPointsSet; // shares of a page the file may never have named
}

void CHpglUnits::SetScale(const std::vector<double>& params) {
    if (!Finite(params))
        return;
    m_arrScale = params.size() >= 4 ? params : std::vector<double>{};
    Recompute();
}

void CHpglUnits::SetRotation(const std::vector<double>& params) {
    const double d = params.empty() ? 0.0 : params[0];
    if (d == 0 || d == 90 || d == 180 || d == 270)
        m_nRotation = static_cast<int>(d);
}

// The factors and offsets of the user window on P1..P2; a window of no width keeps plotter
// units on that axis.
void CHpglUnits::Recompute() {
    m_dFx = m_dFy = 1.0;
    m_dOx = m_dOy = 0.0;
    m_bScaling = false;
    if (m_arrScale.empty())
        return;
    const std::vector<double>& s = m_arrScale;
    const int nType = s.size() >= 5 ? static_cast<int>(s[4]) : kTypeAnisotropic;
    const double dx = m_p2.x - m_p1.x;
    const double dy = m_p2.y - m_p1.y;
    double fx = 0.0;
    double fy = 0.0;
    if (nType == kTypePointFactor) {
        fx = s[1];
        fy = s[3];
    } else if (nType == kTypeAnisotropic || nType == kTypeIsotropic) {
        if (s[1] == s[0] || s[3] == s[2])
            return;
        fx = dx / (s[1] - s[0]);
        fy = dy / (s[3] - s[2]);
    }
    if (fx == 0 || fy == 0 || !std::isfinite(fx) || !std::isfinite(fy))
        return;
    m_bScaling = true;
    double ox = m_p1.x;
    double oy = m_p1.y;
    if (nType == kTypeIsotropic) {
        const double gx = Isotropic(fx, fy);
        const double gy = Isotropic(fy, fx);
        const double dLeft = s.size() >= 6 ? s[5] : kCentre;
        const double dBottom = s.size() >= 7 ? s[6] : kCentre;
        ox += (dx - (s[1] - s[0]) * gx) * dLeft / 100.0;
        oy += (dy - (s[3] - s[2]) * gy) * dBottom / 100.0;
        fx = gx;
        fy = gy;
    }
    m_dFx = fx;
    m_dFy = fy;
    m_dOx = ox - s[0] * fx;
    m_dOy = oy - s[2] * fy;
}

CHpglPoint CHpglUnits::ToPlotter(CHpglPoint user) const {
    return {m_dOx + user.x * m_dFx, m_dOy + user.y * m_dFy};
}

CHpglPoint CHpglUnits::ToUser(CHpglPoint plotter) const {
    return {(plotter.x - m_dOx) / m_dFx, (plotter.y - m_dOy) / m_dFy};
}

CHpglPoint CHpglUnits::Rotate(CHpglPoint p) const {
    switch (m_nRotation) {
    case 90:
        return {-p.y, p.x};
    case 180:
        return {-p.x, -p.y};
    case 270:
        return {p.y, -p.x};
    default:
        return p;
    }
}

} // namespace inkvale
