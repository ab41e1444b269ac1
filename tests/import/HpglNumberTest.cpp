// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/HpglNumber.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace inkvale {
namespace {

double Atof(const std::string& s) {
    return HpglAtof(s.data(), s.size());
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(HpglNumber, TokenTexts) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"1-2", 1.0},
        {"--5", 0.0},
        {"+.5", 0.5},
        {"-.25", -0.25},
        {"7.", 7.0},
        {".", 0.0},
        {"-", 0.0},
        {"+", 0.0},
        {"1.2.3", 1.2},
        {"00012", 12.0},
        {"-2400.00000009", -2400.00000009},
        {"0.0001", 0.0001},
        {"4294967296", 4294967296.0},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(SameBits(Atof(c.text), c.value)) << c.text << " gave " << Atof(c.text);
    EXPECT_TRUE(std::signbit(Atof("-0")));
    EXPECT_FALSE(std::signbit(Atof("-")));
    EXPECT_TRUE(std::isinf(Atof(std::string(400, '9'))));
}

// The fast conversion must give exactly what the C library gives, bit for bit, on any text
// a token can hold.
TEST(HpglNumber, AgreesWithTheCLibrary) {
    std::mt19937 rng(12345);
    const char alphabet[] = "0123456789012345678901234567890123456789+-.";
    std::uniform_int_distribution<size_t> pick(0, sizeof(alphabet) - 2);
    std::uniform_int_distribution<int> length(1, 40);
    for (int i = 0; i < 200000; ++i) {
        std::string s;
        const int n = length(rng);
        for (int k = 0; k < n; ++k)
            s += alphabet[pick(rng)];
        const double expected = std::strtod(s.c_str(), nullptr);
        ASSERT_TRUE(SameBits(Atof(s), expected)) << s;
    }
}

} // namespace
} // namespace inkvale
