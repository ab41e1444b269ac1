// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceJson.h"

#include <cstdio>

namespace inkvale::service {

namespace {

// The length of the well-formed UTF-8 sequence at s[i] and its code point; 0 when the
// bytes there are not one (stray continuation, overlong form, surrogate, past U+10FFFF).
size_t Utf8Sequence(std::string_view s, size_t i, char32_t& c) {
    const auto b = [&](size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const unsigned char c0 = b(0);
    if (c0 < 0x80) {
        c = c0;
        return 1;
    }
    const size_t n = c0 >= 0xf0 ? 4 : c0 >= 0xe0 ? 3 : c0 >= 0xc0 ? 2 : 0;
    if (n == 0 || i + n > s.size())
        return 0;
    char32_t v = c0 & (0x7f >> n);
    for (size_t k = 1; k < n; ++k) {
        if ((b(k) & 0xc0) != 0x80)
            return 0;
        v = (v << 6) | (b(k) & 0x3f);
    }
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (v < kMin[n] || v > 0x10ffff || (v >= 0xd800 && v <= 0xdfff))
        return 0;
    c = v;
    return n;
}

std::string Escaped(char32_t c) {
    char sz[16]; // room for the longest text the compiler thinks the format can make
    std::snprintf(sz, sizeof sz, "\\u%04x", static_cast<unsigned>(c));
    return sz;
}

} // namespace

std::string JsonText(std::string_view s) {
    std::string out = "\"";
    out.reserve(s.size() + 2);
    for (size_t i = 0; i < s.size();) {
        char32_t c = 0;
        const size_t n = Utf8Sequence(s, i, c);
        if (n == 0) {
            out += "\\ufffd";
            ++i;
            continue;
        }
        if (c == '"' || c == '\\')
            out += {'\\', static_cast<char>(c)};
        else if (c < 0x20 || c == '<' || c == '>' || c == '&' || c == 0x2028 || c == 0x2029)
            out += Escaped(c);
        else
            out.append(s.substr(i, n));
        i += n;
    }
    return out + "\"";
}

std::string LogText(std::string_view s) {
    std::string out;
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c < 0x20 || c == 0x7f) {
            char sz[16];
            std::snprintf(sz, sizeof sz, "\\x%02x", c);
            out += sz;
        } else {
            out += ch;
        }
    }
    return out;
}

bool PrintableUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        char32_t c = 0;
        const size_t n = Utf8Sequence(s, i, c);
        if (n == 0 || c < 0x20 || (c >= 0x7f && c < 0xa0) || c == 0x2028 || c == 0x2029)
            return false;
        i += n;
    }
    return true;
}

bool ParseId(std::string_view s, uint64_t& nId) {
    if (s.empty() || s.size() > 20)
        return false;
    uint64_t n = 0;
    for (const char c : s) {
        if (c < '0' || c > '9')
            return false;
        const auto d = static_cast<uint64_t>(c - '0');
        if (n > (UINT64_MAX - d) / 10)
            return false;
        n = n * 10 + d;
    }
    nId = n;
    return true;
}

} // namespace inkvale::service
