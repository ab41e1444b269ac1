// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FontGlyph.h"

#include <string>
#include <vector>

namespace inkvale::fontgen {

/// Reads a Hershey font in James Hurt's ".jhf" text format and returns the glyphs of the
/// printable ASCII codes 0x20..0x7E, scaled so that a capital letter is nCapHeight units
/// tall with the baseline at y 0. The glyphs of the file are taken in order as the codes
/// 0x20, 0x21, ... (the layout of the Roman sets). Empty result when the file is unusable;
/// the reason goes to strError.
std::vector<CGlyph> ReadHersheyAscii(const std::string& path, int nCapHeight,
                                     std::string& strError);

} // namespace inkvale::fontgen
