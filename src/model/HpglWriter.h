// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace inkvale {

class COnePage;

/// Outcome of writing a file: code 0 on success, negative on failure with the text the
/// caller shows to the operator.
struct [[nodiscard]] CWriteResult {
    int m_nCode = 0;
    std::string m_strMessage;
    bool Ok() const { return m_nCode == 0; }
};

/// Failure texts of WriteHpgl.
inline constexpr const char* kFileOpenError = "File Open Error";
inline constexpr const char* kFileWriteError = "File Write Error";

/// The page's drawing as HP-GL text: "IN;SP1;", then per curve the pen ("SPn;") and line
/// type ("LTn;") when they change, "PUx0,y0;PDx0,y0,x1,y1,...;" for a curve with vertices,
/// and "PG;". Plotter units, no spaces or line breaks.
std::string FormatHpgl(const COnePage& page);

/// Creates or truncates the file at path (UTF-8) and writes FormatHpgl into it.
/// Fails with kFileOpenError when the file cannot be created (nothing is written), and
/// with kFileWriteError when writing or closing fails (the file may be incomplete).
CWriteResult WriteHpgl(const COnePage& page, const std::string& path);

} // namespace inkvale
