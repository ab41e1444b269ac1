// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Archive.h"

#include <gtest/gtest.h>

namespace inkvale {
namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> v) {
    std::vector<uint8_t> out;
    for (int b : v)
        out.push_back(static_cast<uint8_t>(b));
    return out;
}

TEST(Archive, CountForms) {
    struct Case {
        uint32_t count;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {0, Bytes({0, 0})},
        {0xFFFE, Bytes({0xFE, 0xFF})},
        {0xFFFF, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0})},
        {0x12345678, Bytes({0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12})},
    };
    for (const Case& c : cases) {
        CArchiveWriter w;
        w.WriteCount(c.count);
        EXPECT_EQ(w.Bytes(), c.bytes) << c.count;
        CArchiveReader r(c.bytes);
        EXPECT_EQ(r.ReadCount(), c.count);
        EXPECT_TRUE(r.Ok() && r.AtEnd());
    }
}

TEST(Archive, StringLengthForms) {
    struct Case {
        size_t len;
        std::vector<uint8_t> head; // marker and length
    };
    const Case cases[] = {
        {0, Bytes({0xFF, 0xFE, 0xFF, 0})},
        {254, Bytes({0xFF, 0xFE, 0xFF, 254})},
        {255, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00})},
        {0xFFFD, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF})},
        {0xFFFE, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0, 0})},
    };
    for (const Case& c : cases) {
        const std::u16string text(c.len, u'a');
        CArchiveWriter w;
        w.WriteString16(text);
        const auto& b = w.Bytes();
        ASSERT_EQ(b.size(), c.head.size() + 2 * c.len);
        EXPECT_TRUE(std::equal(c.head.begin(), c.head.end(), b.begin())) << c.len;
        CArchiveReader r(b);
        EXPECT_EQ(r.ReadString16(), text);
        EXPECT_TRUE(r.Ok() && r.AtEnd());
    }
}

TEST(Archive, NonAsciiTextRoundTrips) {
    CArchiveWriter w;
    w.WriteString("欢迎 Ünï 😀");
    w.WriteInt32(-2);
    CArchiveReader r(w.Bytes());
    EXPECT_EQ(r.ReadString(), "欢迎 Ünï 😀");
    EXPECT_EQ(r.ReadInt32(), -2);
    EXPECT_TRUE(r.Ok());
}

TEST(Archive, MalformedInputFailsWithoutReadingPastTheEnd) {
    const std::vector<std::vector<uint8_t>> bad = {
        Bytes({}),                             // nothing at all
        Bytes({0xFF, 0xFE}),                   // marker cut short
        Bytes({0x41, 0xFE, 0xFF, 1, 0x41, 0}), // no marker
        Bytes({0xFF, 0xFE, 0xFF, 3, 0x41, 0}), // fewer characters than announced
        Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}), // 2 G chars
    };
    for (const auto& b : bad) {
        // A copy on the heap of exactly the bytes, so ASan catches any overrun.
        auto* heap = new uint8_t[b.size() + 1];
        std::copy(b.begin(), b.end(), heap);
        CArchiveReader r(heap, b.size());
        EXPECT_TRUE(r.ReadString().empty());
        EXPECT_FALSE(r.Ok());
        EXPECT_FALSE(r.Error().empty());
        EXPECT_EQ(r.ReadUInt32(), 0u); // failure sticks
        delete[] heap;
    }
}

} // namespace
} // namespace inkvale
