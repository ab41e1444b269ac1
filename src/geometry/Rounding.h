// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace inkvale {

/// Rounds halves away from zero: -2.5 -> -3, 2.5 -> 3.
/// Values beyond the int range saturate at INT_MIN / INT_MAX instead of being undefined.
int RoundHalfAway(double v);

/// floor(v + 0.5): halves go up (-2.5 -> -2, 2.5 -> 3). Any v above 5e75 or below -5e75
/// gives 1 (the readers rely on this for absurd coordinates); other values beyond the int
/// range saturate, and NaN gives 0.
int RoundCoord(double v);

/// Truncation toward zero that saturates at the int range and maps NaN to 0, for the
/// places where a double product becomes a coordinate.
int TruncToInt(double v);

} // namespace inkvale
