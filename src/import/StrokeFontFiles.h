// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace inkvale {

/// File names of the two stroke fonts in the installation directory.
inline constexpr const char* kEnFontFile = "fon_en.bin";
inline constexpr const char* kHzFontFile = "fon_hz.bin";

/// Writes the built-in "fon_en.bin", then "fon_hz.bin", into strAppDir (a folder, with or
/// without the final '/') for each that does not exist there yet. Each file is written under
/// a temporary name and renamed, so a reader never sees half a font. Failures are not
/// reported: the fonts then load as empty ones.
void EnsureFontFiles(const std::string& strAppDir);

/// strAppDir joined with a file name, with exactly one '/' between them.
std::string FontFilePath(const std::string& strAppDir, const char* pszName);

} // namespace inkvale
