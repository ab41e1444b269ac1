// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace inkvale {

/// A JSON string literal of UTF-8 text (quotes, backslashes and control characters escaped).
std::string JsonString(const std::string& s);

/// Text that fits one "key value" line of the program's small record files: backslashes,
/// line breaks and (with bSpaces) spaces written as \\, \n, \r and \s.
std::string EscapeLine(const std::string& s, bool bSpaces = false);
/// The text EscapeLine made, back as it was.
std::string UnescapeLine(const std::string& s);

} // namespace inkvale
