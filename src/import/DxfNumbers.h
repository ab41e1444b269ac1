// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

// Number conversions of the DXF reader. They behave like the C library's atoi and atof
// (leading white space skipped, conversion stops at the first character that does not
// fit, 0 when nothing fits) but never depend on the locale and never overflow.

namespace inkvale {

/// Leading integer of the text; saturates at the int range.
int DxfParseInt(std::string_view text);

/// DxfParseInt clamped to the int16 range.
int16_t DxfParseInt16(std::string_view text);

/// Leading real number of the text ("1.5", ".25", "-0.0000", "1e3"); ±infinity when the
/// magnitude is too large for a double, 0 when too small.
double DxfParseDouble(std::string_view text);

} // namespace inkvale
