// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FontGlyph.h"
#include "UnifontGb2312.h"

#include <vector>

namespace inkvale::fontgen {

/// Turns the one-pixel-wide lines of a bitmap glyph into strokes through the pixel
/// centres: pixel (row r, column c) becomes the point (c, 15 - r). Neighbouring pixels are
/// joined along the 8 directions; a diagonal join is left out where an orthogonal pair of
/// joins already connects the two pixels, so an L-shaped corner is not drawn twice. A pixel
/// without neighbours becomes a dash of one unit to its right (left in the last column). The
/// strokes are ordered to keep the pen-up travel short, starting from (0, 0).
std::vector<CStroke> TraceBitmap(const CBitmap16& bitmap);

} // namespace inkvale::fontgen
