// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/Rounding.h"

#include <climits>
#include <cmath>

namespace inkvale {

int TruncToInt(double v) {
    if (std::isnan(v))
        return 0;
    if (v >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (v <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(v);
}

int RoundHalfAway(double v) {
    return TruncToInt(v < 0 ? v - 0.5 : v + 0.5);
}

int RoundCoord(double v) {
    if (v > 5e75 || v < -5e75)
        return 1;
    return TruncToInt(std::floor(v + 0.5));
}

} // namespace inkvale
