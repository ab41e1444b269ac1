// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Writes an HP-GL marker the way garment CAD systems send one roll: a 2 m wide lay of
// pieces, every polyline its own "PU x,y;PD x,y,...;" line, straight seams sent as runs of
// evenly spaced points, and a label ("LB...^C") about every 40 polylines. Deterministic for
// a given size.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <random>
#include <string>

namespace inkvale::bench {

class CHpglMarkerWriter {
public:
    explicit CHpglMarkerWriter(size_t nTargetBytes) : m_nTarget(nTargetBytes) {}

    std::string Build() {
        m_s.reserve(m_nTarget + 100000);
        m_s += "IN;SP1;\n";
        while (m_s.size() < m_nTarget)
            Piece();
        m_s += "PU0,0;SP0;\n";
        return std::move(m_s);
    }

private:
    static constexpr double kWidth = 80000;   // 2 m across the roll, 1/40 mm
    static constexpr double kLength = 600000; // 15 m along the feed

    double U() { return m_u(m_rng); }
    void Xy(double x, double y, bool bComma) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%s%d,%d", bComma ? "," : "", static_cast<int>(x),
                      static_cast<int>(y));
        m_s += buf;
    }
    void EndPolyline() {
        m_s += ";\n";
        if (++m_nPolylines % 40 == 0)
            Label();
    }
    void Label() {
        char buf[96];
        std::snprintf(buf, sizeof buf, "PU%d,%d;LBSTYLE %d SIZE %d PIECE %d\x03;\n",
                      static_cast<int>(m_dCx), static_cast<int>(m_dCy), m_nPolylines % 997,
                      34 + m_nPolylines % 12, m_nPolylines % 40);
        m_s += buf;
    }

    /// A curved outline of the piece in polylines of 2 to 120 points.
    void Outline(double r) {
        const int nOutline = 40 + static_cast<int>(500 * U());
        const double wobble = 1 + U() * 5;
        auto at = [&](int i, bool bComma) {
            const double t = 2 * std::numbers::pi * i / nOutline;
            const double rr = r * (0.8 + 0.15 * std::sin(wobble * t) + 0.05 * std::cos(11 * t));
            Xy(m_dCx + rr * std::cos(t), m_dCy + rr * std::sin(t), bComma);
        };
        for (int i = 0; i < nOutline;) {
            const int n = std::min(nOutline - i, 1 + static_cast<int>(U() * 119));
            m_s += "PU";
            at(i, false);
            m_s += ";PD";
            for (int k = 1; k <= n; ++k)
                at(i + k, k != 1);
            EndPolyline();
            i += n;
        }
    }

    /// A straight seam sent as evenly spaced points (the clean-up keeps only its ends).
    void Seam(double r) {
        const double a = U() * 2 * std::numbers::pi;
        const int dx = static_cast<int>(std::cos(a) * 40);
        const int dy = static_cast<int>(std::sin(a) * 40);
        const int n = 2 + static_cast<int>(U() * 20);
        const double x0 = m_dCx - r / 2;
        const double y0 = m_dCy - r / 2;
        m_s += "PU";
        Xy(x0, y0, false);
        m_s += ";PD";
        for (int k = 1; k <= n; ++k)
            Xy(x0 + k * dx, y0 + k * dy, k != 1);
        EndPolyline();
    }

    void Piece() {
        const double r = 800 + 6000 * U();
        m_dCx = r + (kLength - 2 * r) * U();
        m_dCy = r + (kWidth - 2 * r) * U();
        Outline(r);
        for (int k = 0; k < 3; ++k)
            Seam(r);
    }

    size_t m_nTarget;
    std::string m_s;
    std::mt19937 m_rng{20240611};
    std::uniform_real_distribution<double> m_u{0.0, 1.0};
    double m_dCx = 0;
    double m_dCy = 0;
    int m_nPolylines = 0;
};

/// A garment marker of about nBytes bytes.
inline std::string MakeHpglMarkerFile(size_t nBytes) {
    return CHpglMarkerWriter(nBytes).Build();
}

} // namespace inkvale::bench
