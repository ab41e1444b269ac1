// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/DecimalText.h"

#include <gtest/gtest.h>

#include <charconv>
#include <climits>
#include <random>
#include <string_view>

namespace inkvale {
namespace {

std::string_view Written(char* buf, int32_t v) {
    return {buf, static_cast<size_t>(WriteDecimal(buf, v) - buf)};
}

std::string_view Reference(char* buf, int32_t v) {
    return {buf, static_cast<size_t>(std::to_chars(buf, buf + 16, v).ptr - buf)};
}

// Every number within two million of zero, where each digit count and its borders lie, and
// random numbers and the ends of the range beyond: the text of to_chars every time.
TEST(DecimalText, WritesWhatToCharsWrites) {
    char a[16];
    char b[16];
    for (int32_t v = -2'000'000; v <= 2'000'000; ++v)
        ASSERT_EQ(Written(a, v), Reference(b, v));
    std::mt19937 rng(3);
    for (int i = 0; i < 100000; ++i) {
        const auto v = static_cast<int32_t>(rng());
        ASSERT_EQ(Written(a, v), Reference(b, v));
    }
    for (const int32_t v : {INT32_MIN, INT32_MIN + 1, INT32_MAX, INT32_MAX - 1, 999'999'999,
                            1'000'000'000, -1'000'000'000})
        EXPECT_EQ(Written(a, v), Reference(b, v));
}

} // namespace
} // namespace inkvale
