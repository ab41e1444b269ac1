// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/HpglNumber.h"

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace inkvale {

namespace {

constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxFastDigits = 19;                 // what a uint64 holds for sure
constexpr uint64_t kMaxExactMantissa = 1ULL << 53; // every integer up to here is a double

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The exact glibc conversion in the "C" locale, for the rare tokens the fast path cannot
// convert exactly (many digits or tiny fractions).
double SlowAtof(const char* pText, size_t nLen) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const std::string text(pText, nLen);
    if (cLocale == nullptr)
        return std::strtod(text.c_str(), nullptr);
    return strtod_l(text.c_str(), nullptr, cLocale);
}

} // namespace

double HpglAtof(const char* pText, size_t nLen) {
    size_t i = 0;
    bool bNegative = false;
    if (i < nLen && (pText[i] == '+' || pText[i] == '-')) {
        bNegative = pText[i] == '-';
        ++i;
    }
    uint64_t nMantissa = 0;
    int nDigits = 0;   // significant digits in nMantissa (leading zeros not counted)
    int nExponent = 0; // power of ten applied to nMantissa
    bool bAny = false;
    bool bFast = true;
    for (; i < nLen && IsDigit(pText[i]); ++i) {
        bAny = true;
        if (nMantissa == 0 && pText[i] == '0')
            continue;
        if (nDigits == kMaxFastDigits) {
            bFast = false;
            continue;
        }
        nMantissa = nMantissa * 10 + static_cast<uint64_t>(pText[i] - '0');
        ++nDigits;
    }
    if (i < nLen && pText[i] == '.') {
        for (++i; i < nLen && IsDigit(pText[i]); ++i) {
            bAny = true;
            if (nDigits == kMaxFastDigits) {
                bFast = false;
                continue;
            }
            --nExponent;
            if (nMantissa == 0 && pText[i] == '0')
                continue;
            nMantissa = nMantissa * 10 + static_cast<uint64_t>(pText[i] - '0');
            ++nDigits;
        }
    }
    if (!bAny)
        return 0.0;
    // One correctly rounded division of two exact doubles is the correctly rounded quotient.
    if (bFast && nMantissa <= kMaxExactMantissa && nExponent >= -22) {
        const double dValue = static_cast<double>(nMantissa) / kPow10[-nExponent];
        return bNegative ? -dValue : dValue;
    }
    return SlowAtof(pText, i);
}

} // namespace inkvale
