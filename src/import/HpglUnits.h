// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace inkvale {

/// A point in plotter units or user units, before rounding.
struct CHpglPoint {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const CHpglPoint&) const = default;
};

/// The user units of a plot: the scaling points P1 and P2 (IP, IR, PS), the user window
/// mapped onto them (SC types 0, 1 and 2) and the rotation of the coordinate system (RO).
/// Without SC a user unit is a plotter unit; without RO nothing turns.
class CHpglUnits {
public:
    /// The hard-clip range taken when the file sets no page size: an A0 sheet, as the
    /// common HP-GL converters assume (plotter units).
    static constexpr double kDefaultPageX = 33600.0;
    static constexpr double kDefaultPageY = 47520.0;

    /// Scaling off, P1 and P2 at the corners of the page, no rotation (IN). The page size
    /// set by PS stays.
    void Reset();
    /// PS length, width: a new page, and P1 and P2 at its corners.
    void SetPage(const std::vector<double>& params);
    /// IP: no parameters put P1 and P2 at the page corners; two move P1 (and P2 with it);
    /// four set both.
    void SetP1P2(const std::vector<double>& params);
    /// IR: P1 and P2 as percentages of the page.
    void SetP1P2Relative(const std::vector<double>& params);
    /// SC: no parameters turn scaling off.
    void SetScale(const std::vector<double>& params);
    /// RO: 0, 90, 180 or 270 degrees; other values leave the rotation as it is.
    void SetRotation(const std::vector<double>& params);

    /// |P2 - P1| along each axis, plotter units: what relative character sizes (SR) take.
    CHpglPoint ScalingSpan() const {
        return {m_p2.x > m_p1.x ? m_p2.x - m_p1.x : m_p1.x - m_p2.x,
                m_p2.y > m_p1.y ? m_p2.y - m_p1.y : m_p1.y - m_p2.y};
    }
    /// Whether the file named its page (PS) or put P1 and P2 (IP with four values): without
    /// either, P1 and P2 lie on an assumed page, not the one the plot was made for.
    bool ScalingPointsKnown() const { return m_bPageSet || m_bPointsSet; }
    bool Scaling() const { return m_bScaling; }
    int Rotation() const { return m_nRotation; }
    CHpglPoint ToPlotter(CHpglPoint user) const;
    CHpglPoint ToUser(CHpglPoint plotter) const;
    /// A relative move in user units as plotter units.
    CHpglPoint DeltaToPlotter(CHpglPoint delta) const { return {delta.x * m_dFx, delta.y * m_dFy}; }
    /// Plotter units of one user unit along X (radii of circles and arcs).
    double UnitX() const { return m_dFx < 0 ? -m_dFx : m_dFx; }
    /// A point of the unrotated plotter frame as the page shows it.
    CHpglPoint Rotate(CHpglPoint p) const;

private:
    void PlaceOnPage();
    void Recompute();

    double m_dPageX = kDefaultPageX;
    double m_dPageY = kDefaultPageY;
    CHpglPoint m_p1;
    CHpglPoint m_p2{kDefaultPageX, kDefaultPageY};
    std::vector<double> m_arrScale; // the SC parameters in force
    bool m_bScaling = false;
    bool m_bPageSet = false;   ///< PS was read (IN keeps the page)
    bool m_bPointsSet = false; ///< IP with four values since the last IN
    int m_nRotation = 0;
    // plotter = offset + user * factor, per axis
    double m_dFx = 1.0;
    double m_dFy = 1.0;
    double m_dOx = 0.0;
    double m_dOy = 0.0;
};

} // namespace inkvale
