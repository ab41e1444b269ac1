// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace inkvale {

/// UTF-8 to UTF-16. Malformed bytes become U+FFFD; never reads past the input.
std::u16string Utf8ToUtf16(std::string_view text);

/// UTF-16 to UTF-8. Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

} // namespace inkvale
