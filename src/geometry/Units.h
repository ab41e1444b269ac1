// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace inkvale {

/// Every stored coordinate is an int32 in plotter units of 0.025 mm.
inline constexpr int32_t kUnitsPerMm = 40;
inline constexpr int32_t kUnitsPerCm = 400;

/// Converts whole millimetres to plotter units; 64-bit so that large rolls cannot overflow.
constexpr int64_t MmToUnits(int64_t mm) {
    return mm * kUnitsPerMm;
}

} // namespace inkvale
