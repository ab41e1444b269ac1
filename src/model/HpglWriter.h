// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/Result.h"

#include <string>

namespace inkvale {

class COnePage;

/// Outcome of WriteHpgl: 0, or -1 with EMsg::kFileOpenError or EMsg::kFileWriteError.
using CWriteResult = CResult;

/// The page's drawing as HP-GL text: "IN;SP1;", then per curve the pen ("SPn;") and line
/// type ("LTn;") when they change, "PUx0,y0;PDx0,y0,x1,y1,...;" for a curve with vertices,
/// and "PG;". Plotter units, no spaces or line breaks.
std::string FormatHpgl(const COnePage& page);

/// Creates or truncates the file at path (UTF-8) and writes FormatHpgl into it.
/// Fails with EMsg::kFileOpenError when the file cannot be created (nothing is written), and
/// with EMsg::kFileWriteError when writing or closing fails (the file may be incomplete).
CWriteResult WriteHpgl(const COnePage& page, const std::string& path);

} // namespace inkvale
