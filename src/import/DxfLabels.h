// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/Curve.h"
#include "support/Result.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace inkvale {

/// Label commands from this many bytes on are drawn in two halves at once.
inline constexpr size_t kDxfLabelHalvesBytes = 64 * 1024;

/// Draws the label commands the texts of a DXF drawing became (FormatDxfLabel) with the
/// HP-GL reader and appends their curves to arrCurves, with the fonts of strAppDir ("" for
/// the built-in ones). Commands of kDxfLabelHalvesBytes or more are drawn in two halves on
/// two threads; the curves, the outcome and the limits are those of one reading.
CResult DrawDxfLabels(std::string_view labels, const std::string& strAppDir,
                      CCurveArray& arrCurves);

/// The same, the second half starting at byte nSplit, which must start a label's "PU"
/// command (0: one reading on this thread).
CResult DrawDxfLabelsSplitAt(std::string_view labels, size_t nSplit, const std::string& strAppDir,
                             CCurveArray& arrCurves);

} // namespace inkvale
