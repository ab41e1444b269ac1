// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TextCodec.h"

#include <cstdio>

namespace inkvale {

std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (const unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char sz[8];
            std::snprintf(sz, sizeof sz, "\\u%04x", c);
            out += sz;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string EscapeLine(const std::string& s, bool bSpaces) {
    std::string out;
    for (const char c : s) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == ' ' && bSpaces)
            out += "\\s";
        else
            out += c;
    }
    return out;
}

std::string UnescapeLine(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        const char c = s[++i];
        out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 's' ? ' ' : c;
    }
    return out;
}

} // namespace inkvale
