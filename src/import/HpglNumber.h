// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace inkvale {

/// Value of one HP-GL number token, as the C library's atof reads that text in the "C"
/// locale: an optional sign, digits, an optional '.' and digits; whatever follows the longest
/// such prefix is ignored, and a text without digits is 0. So "1-2" gives 1, "--5" gives 0,
/// "+.5" gives 0.5 and "-0" gives -0.0. Values too large for a double are infinite.
double HpglAtof(const char* pText, size_t nLen);

} // namespace inkvale
