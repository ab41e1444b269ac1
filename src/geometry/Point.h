// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace inkvale {

/// One vertex in plotter units.
struct CPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const CPoint&, const CPoint&) = default;
};

} // namespace inkvale
