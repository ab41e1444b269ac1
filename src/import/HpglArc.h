// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "import/HpglUnits.h"

#include <vector>

namespace inkvale {

/// Chords of an arc drawn without a chord angle stray at most this far from it (plotter
/// units), and no chord spans more than kMaxDefaultStepDeg.
inline constexpr double kArcDefaultDeviation = 0.5;
inline constexpr double kMaxDefaultStepDeg = 5.0;
/// A file's chord angle is held to this range (degrees), as a plotter holds it.
inline constexpr double kMinChordDeg = 0.5;
inline constexpr double kMaxChordDeg = 180.0;
/// No arc is cut into more chords than this per full turn, whatever its radius.
inline constexpr int kMaxChordsPerTurn = 4096;

/// The angle (degrees) one chord spans: the chord angle when the file gave one (bAngle) or
/// its deviation (plotter units) otherwise; without either the fine default for an arc of
/// dRadius plotter units.
double HpglChordStep(double dRadius, bool bGiven, bool bDeviation, double dChord);

/// The points of the arc from start around centre by dSweepDeg degrees (counter-clockwise
/// when positive, at most one turn), in chords of about dStepDeg: the start is not among
/// them, the last is the arc's end.
void HpglArcPoints(CHpglPoint centre, CHpglPoint start, double dSweepDeg, double dStepDeg,
                   std::vector<CHpglPoint>& out);

/// The circle through a, b and c: its centre and the sweep from a through b to c (degrees).
/// False when the points lie on one line (or two of them coincide).
bool HpglThreePointArc(CHpglPoint a, CHpglPoint b, CHpglPoint c, CHpglPoint& centre,
                       double& dSweepDeg);

} // namespace inkvale
