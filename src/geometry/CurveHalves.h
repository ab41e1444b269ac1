// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/Curve.h"

#include <cstddef>
#include <functional>

namespace inkvale {

/// Vertices from which work on every curve is shared between two threads.
inline constexpr size_t kCurveHalvesMinVertices = 200'000;

/// The index that parts the curves into two runs of about equal vertex counts; 0 when there
/// are fewer than kCurveHalvesMinVertices vertices, or only one processor.
size_t CurveHalvesSplit(const CCurveArray& curves);

/// Calls fn(curve) for every curve, the two runs of CurveHalvesSplit at once on two threads
/// (one thread when the split is 0 or no second thread can be had). fn must touch nothing but
/// its curve.
void ForEachCurveInHalves(CCurveArray& curves, const std::function<void(CCurve&)>& fn);

} // namespace inkvale
