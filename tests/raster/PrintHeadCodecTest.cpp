// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PrintHeadCodec.h"

#include <gtest/gtest.h>

#include <random>

namespace inkvale {
namespace {

CNozzleVector Nozzles(std::initializer_list<int> on) {
    CNozzleVector v{};
    for (int n : on)
        v[static_cast<size_t>(n)] = 1;
    return v;
}

TEST(PrintHeadCodecTest, NozzleRecordCases) {
    struct Case {
        std::initializer_list<int> on;
        int byte;
        uint8_t value;
    };
    const Case cases[] = {
        {{0}, 0, 0x01},
        {{21}, 7, 0x02}, // group 21 starts one bit higher
        {{149}, 13, 0x40},
        {{0, 22, 44, 66, 88, 110, 132}, 0, 0x7F},
        {{3, 25, 47, 69, 91, 113, 135}, 1, 0x7F},
        {{21, 43, 65, 87, 109, 131}, 7, 0x7E},
        {{19, 41, 63, 85, 107, 129}, 21, 0x3F},
        {{20}, 14, 0x02},
    };
    for (const Case& c : cases) {
        const CNozzleRecord rec = EncodeNozzleRecord(Nozzles(c.on));
        for (int g = 0; g < 22; ++g)
            EXPECT_EQ(rec[static_cast<size_t>(g)], g == c.byte ? c.value : 0)
                << "byte " << g << " of the case for byte " << c.byte;
    }
}

TEST(PrintHeadCodecTest, EveryNozzleHasOneBitAndBit7StaysClear) {
    CNozzleVector all{};
    all.fill(1);
    const CNozzleRecord rec = EncodeNozzleRecord(all);
    int nBits = 0;
    for (uint8_t b : rec) {
        EXPECT_EQ(b & 0x80, 0);
        nBits += __builtin_popcount(b);
    }
    EXPECT_EQ(nBits, 150);
    std::mt19937 rng(7);
    for (int t = 0; t < 200; ++t) {
        CNozzleVector v{};
        for (auto& f : v)
            f = static_cast<uint8_t>(rng() & 1u);
        EXPECT_EQ(DecodeNozzleRecord(EncodeNozzleRecord(v)), v);
    }
}

TEST(PrintHeadCodecTest, ZeroRunCases) {
    struct Case {
        const char* what;
        std::vector<uint16_t> in, out;
    };
    auto zeros = [](size_t n, std::vector<uint16_t> tail = {}) {
        std::vector<uint16_t> v(n, 0);
        v.insert(v.end(), tail.begin(), tail.end());
        return v;
    };
    const Case cases[] = {
        {"nothing", {}, {}},
        {"literals only", {1, 0xFFFF, 2}, {1, 0xFFFF, 2}},
        {"a run inside literals", {5, 0, 0, 7}, {5, 0, 2, 7}},
        {"a single zero", {0}, {0, 1}},
        {"trailing zeros", {9, 0, 0, 0}, {9, 0, 3}},
        {"2199 zeros then data", zeros(2199, {3}), {0, 2199, 3}},
        {"exactly one full run", zeros(2200), {0, 2200}},
        {"one more than a full run", zeros(2201), {0, 2200, 0, 1}},
        {"full run then data", zeros(2200, {4}), {0, 2200, 4}},
        {"two full runs", zeros(4400), {0, 2200, 0, 2200}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeZeroRuns(c.in), c.out) << c.what;
        std::vector<uint8_t> bytes;
        for (uint16_t w : c.out) {
            bytes.push_back(static_cast<uint8_t>(w & 0xFF));
            bytes.push_back(static_cast<uint8_t>(w >> 8));
        }
        std::vector<uint16_t> back(c.in.size() + 1);
        size_t n = 0;
        EXPECT_EQ(DecodeZeroRuns(bytes, back.data(), back.size(), n), ERunError::None) << c.what;
        back.resize(n);
        EXPECT_EQ(back, c.in) << c.what;
    }
}

TEST(PrintHeadCodecTest, ColumnImageIsCodedLittleEndianInSendingOrder) {
    // Two columns of four bytes: words 0x0201, 0 | 0, 0x0403.
    const uint8_t image[] = {1, 2, 0, 0, 0, 0, 3, 4};
    uint8_t out[32];
    size_t n = EncodeColumnImage(image, 2, 4, false, out, sizeof out);
    EXPECT_EQ(std::vector<uint8_t>(out, out + n), (std::vector<uint8_t>{1, 2, 0, 0, 2, 0, 3, 4}));
    n = EncodeColumnImage(image, 2, 4, true, out, sizeof out);
    EXPECT_EQ(std::vector<uint8_t>(out, out + n),
              (std::vector<uint8_t>{0, 0, 1, 0, 3, 4, 1, 2, 0, 0, 1, 0}));
    // An empty two-head band of JobWidth 70: 100 columns of 22 words give one full run.
    std::vector<uint8_t> empty(100 * 44, 0);
    n = EncodeColumnImage(empty.data(), 100, 44, false, out, sizeof out);
    EXPECT_EQ(std::vector<uint8_t>(out, out + n), (std::vector<uint8_t>{0, 0, 0x98, 0x08}));
}

TEST(PrintHeadCodecTest, MalformedDataIsRefused) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        size_t capacity;
        ERunError error;
    };
    const Case cases[] = {
        {"odd byte count", {1, 0, 2}, 8, ERunError::OddLength},
        {"zero word at the end", {1, 0, 0, 0}, 8, ERunError::MissingLength},
        {"run of length 0", {0, 0, 0, 0}, 8, ERunError::BadLength},
        {"run longer than 2200", {0, 0, 0x99, 0x08}, 4000, ERunError::BadLength},
        {"literals beyond the capacity", {1, 0, 2, 0, 3, 0}, 2, ERunError::TooLong},
        {"run beyond the capacity", {0, 0, 9, 0}, 8, ERunError::TooLong},
    };
    for (const Case& c : cases) {
        std::vector<uint16_t> out(c.capacity);
        size_t n = 0;
        EXPECT_EQ(DecodeZeroRuns(c.bytes, out.data(), out.size(), n), c.error) << c.what;
        EXPECT_LE(n, c.capacity) << c.what;
    }
}

TEST(PrintHeadCodecTest, RandomWordsRoundTripAndRandomBytesNeverOverrun) {
    std::mt19937 rng(11);
    for (int t = 0; t < 50; ++t) {
        std::vector<uint16_t> words(rng() % 9000);
        for (auto& w : words)
            w = (rng() % 4 == 0) ? static_cast<uint16_t>(rng()) : 0;
        const std::vector<uint16_t> code = EncodeZeroRuns(words);
        EXPECT_LE(code.size(), words.size() * 3 / 2 + 2);
        std::vector<uint8_t> bytes;
        for (uint16_t w : code) {
            bytes.push_back(static_cast<uint8_t>(w & 0xFF));
            bytes.push_back(static_cast<uint8_t>(w >> 8));
        }
        std::vector<uint16_t> back(words.size());
        size_t n = 0;
        ASSERT_EQ(DecodeZeroRuns(bytes, back.data(), back.size(), n), ERunError::None);
        EXPECT_EQ(n, words.size());
        EXPECT_EQ(back, words);
    }
    for (int t = 0; t < 500; ++t) {
        std::vector<uint8_t> bytes(rng() % 64);
        for (auto& b : bytes)
            b = static_cast<uint8_t>(rng() % 3 == 0 ? 0 : rng());
        std::vector<uint16_t> out(100);
        size_t n = 0;
        (void)DecodeZeroRuns(bytes, out.data(), out.size(), n);
        EXPECT_LE(n, out.size());
    }
}

} // namespace
} // namespace inkvale
