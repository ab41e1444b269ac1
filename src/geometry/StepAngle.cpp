// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/StepAngle.h"

namespace inkvale {

double StepAngle(const CPoint& from, const CPoint& to) {
    return std::atan2(static_cast<double>(to.y) - from.y, static_cast<double>(to.x) - from.x);
}

} // namespace inkvale
