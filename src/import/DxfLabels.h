// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/Curve.h"
#include "support/Result.h"

#include <string>
#include <string_view>

namespace inkvale {

/// Draws the label commands the texts of a DXF drawing became (FormatDxfLabel: one
/// "PUx,y;DIc,s;LB<text>ETX" per text, in drawing order) with the HP-GL reader and appends
/// their curves to arrCurves, with the fonts of strAppDir ("" for the built-in ones). The
/// curves, the outcome and the reader's limits are those of reading all the commands at
/// once; a label that comes again (a block inserted several times draws its texts each
/// time, at the same place) is drawn once and its curves copied.
CResult DrawDxfLabels(std::string_view labels, const std::string& strAppDir,
                      CCurveArray& arrCurves);

/// The same commands read at once by one reader, for comparison.
CResult DrawDxfLabelsAtOnce(std::string_view labels, const std::string& strAppDir,
                            CCurveArray& arrCurves);

} // namespace inkvale
