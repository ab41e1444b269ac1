// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/DxfNumbers.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <limits>
#include <system_error>

namespace inkvale {

namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

std::string_view SkipSpace(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    return text.substr(i);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

int DxfParseInt(std::string_view text) {
    text = SkipSpace(text);
    bool bNegative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        bNegative = text[0] == '-';
        text.remove_prefix(1);
    }
    int64_t n = 0;
    for (const char c : text) {
        if (!IsDigit(c))
            break;
        n = std::min<int64_t>(n * 10 + (c - '0'), int64_t{INT_MAX} + 1);
    }
    if (bNegative)
        n = -n;
    return static_cast<int>(std::clamp<int64_t>(n, INT_MIN, INT_MAX));
}

int16_t DxfParseInt16(std::string_view text) {
    return static_cast<int16_t>(std::clamp(DxfParseInt(text), -32768, 32767));
}

double DxfParseDouble(std::string_view text) {
    text = SkipSpace(text);
    bool bNegative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        bNegative = text[0] == '-';
        text.remove_prefix(1);
    }
    // from_chars takes no sign of its own after the one handled above.
    if (text.empty() || text[0] == '-' || text[0] == '+')
        return 0.0;
    double d = 0.0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), d);
    if (ec == std::errc::result_out_of_range) {
        // Too large or too small: tell them apart by the sign of the exponent.
        const std::string_view parsed(text.data(), static_cast<size_t>(ptr - text.data()));
        const size_t nExp = parsed.find_first_of("eE");
        const bool bTiny =
            nExp != std::string_view::npos && nExp + 1 < parsed.size() && parsed[nExp + 1] == '-';
        d = bTiny ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (ec != std::errc()) {
        d = 0.0;
    }
    return bNegative ? -d : d;
}

} // namespace inkvale
