// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>

namespace inkvale {

namespace detail {

inline constexpr char kDigitPairs[201] = "00010203040506070809"
                                         "10111213141516171819"
                                         "20212223242526272829"
                                         "30313233343536373839"
                                         "40414243444546474849"
                                         "50515253545556575859"
                                         "60616263646566676869"
                                         "70717273747576777879"
                                         "80818283848586878889"
                                         "90919293949596979899";

/// u < 100 as two digits.
inline char* TwoDigits(char* p, uint32_t u) {
    std::memcpy(p, kDigitPairs + 2 * u, 2);
    return p + 2;
}

/// u < 100 as one or two digits.
inline char* LeadingDigits(char* p, uint32_t u) {
    if (u < 10) {
        *p = static_cast<char>('0' + u);
        return p + 1;
    }
    return TwoDigits(p, u);
}

} // namespace detail

/// Writes v in decimal at p (at most 11 bytes, no terminating NUL) and returns the end: the
/// text of std::to_chars. Numbers below a million, plotter coordinates of up to 25 m, take
/// a few fixed steps of two digits each instead of a loop; a marker prints millions of them.
inline char* WriteDecimal(char* p, int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    if (v < 0) {
        *p++ = '-';
        u = 0u - u;
    }
    if (u < 100)
        return detail::LeadingDigits(p, u);
    if (u < 10000) {
        p = detail::LeadingDigits(p, u / 100);
        return detail::TwoDigits(p, u % 100);
    }
    if (u < 1000000) {
        p = detail::LeadingDigits(p, u / 10000);
        const uint32_t r = u % 10000;
        p = detail::TwoDigits(p, r / 100);
        return detail::TwoDigits(p, r % 100);
    }
    return std::to_chars(p, p + 10, u).ptr;
}

} // namespace inkvale
