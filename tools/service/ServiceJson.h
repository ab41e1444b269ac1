// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace inkvale::service {

/// A JSON string literal of s that is safe everywhere the service puts one: valid UTF-8
/// (a byte that is not part of a well-formed sequence becomes U+FFFD), and '<', '>', '&',
/// U+2028 and U+2029 written as \u escapes, so that the literal can stand inside an HTML
/// script element without ending it, opening a comment or breaking an older parser.
std::string JsonText(std::string_view s);

/// s as one line of the log: control characters (and backslashes) escaped as \n, \xNN, so
/// that nothing a client sends can start a line of its own or move the terminal's cursor.
std::string LogText(std::string_view s);

/// Whether s is well-formed UTF-8 without C0/C1 control characters or DEL.
bool PrintableUtf8(std::string_view s);

/// The decimal number in s (digits only, no sign); false when s is empty, holds anything
/// else or exceeds 2^64 - 1.
bool ParseId(std::string_view s, uint64_t& nId);

} // namespace inkvale::service
