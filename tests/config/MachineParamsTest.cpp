// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/MachineParams.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace inkvale {
namespace {

std::vector<uint8_t> Pattern(int nSize, int nSeed) {
    std::vector<uint8_t> bytes(static_cast<size_t>(nSize));
    for (int i = 0; i < nSize; ++i)
        bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(nSeed + 7 * i);
    return bytes;
}

TEST(MachineParams, DefaultsBeforeAnyRead) {
    const CMachineParams params;
    struct Case {
        const char* name;
        int index;
        int64_t value;
    };
    const Case cases[] = {
        {"FeedStepBase", 0, 57000},
        {"XDotsPerMetre", 0, 24612},
        {"CarriageTravelMm", 0, 2106},
        {"XSizeExpectReg", 0, 5000},
        {"YSizeMeasureReg", 0, 5000},
        {"HeadPos", 0, 10},
        {"HeadPos", 1, 180},
        {"HeadPos", 2, 0},
        {"HeadPos", 3, 0},
        {"LeftOffsetMm", 0, 80},
        {"HeadCombination", 0, 0},
        {"Bidirectional", 0, 1},
        {"HeadOverlap", 2, 0},
        {"ReturnJoin", 3, 10},
        {"ParamTag61", 0, 0},
        {"CarriageStartSpeed", 0, 20},
        {"CarriageMaxSpeed", 0, 60},
        {"BrakeDistanceMm", 0, 25},
        {"FeedBeforeMm", 0, 50},
        {"FeedAfterMm", 0, 50},
        {"LineWidthPx", 0, 1},
        {"FirePulseUs", 0, 23},
        {"BufferRightMm", 0, 20},
        {"MarginLeftMm", 0, 20},
        {"MarginRightMm", 0, 20},
        {"ExtFlag", 0, 0},
        {"KnifePos", 3, 0},
        {"ColumnSpacing", 0, 26},
        {"FeedSpeed", 0, 0},
        {"MachineIP", 0, 0},
    };
    for (const Case& c : cases) {
        const CParamField* field = FindParamField(c.name);
        ASSERT_NE(field, nullptr) << c.name;
        EXPECT_EQ(params.Field(*field, c.index), c.value) << c.name << "[" << c.index << "]";
    }
    EXPECT_EQ(params.HeadPos(1), 180);
    EXPECT_EQ(params.ColumnSpacing(), 26);
    EXPECT_EQ(params.XDotsPerMetre(), 24612u);
    // The defaults are a little-endian byte image: XDotsPerMetre 24612 = 0x6024 at byte 28.
    EXPECT_EQ(params.EditByte(28), 0x24);
    EXPECT_EQ(params.EditByte(29), 0x60);
    for (int a = 0; a < 80; ++a)
        EXPECT_EQ(params.MachineByte(a), 0) << a;
}

TEST(MachineParams, FieldTableMatchesTheAccessors) {
    CMachineParams params;
    params.SetEdgeAdjustLeft(-5);
    params.SetHeadPos(3, 0x1234);
    params.SetKnifePos(1, 2999);
    params.SetFeedStepBase(0x01020304);
    EXPECT_EQ(params.EdgeAdjustLeft(), -5);
    EXPECT_EQ(params.Field(*FindParamField("EdgeAdjustLeft")), -5);
    EXPECT_EQ(params.EditByte(74), 0xFB);
    EXPECT_EQ(params.EditByte(48), 0x34);
    EXPECT_EQ(params.EditByte(49), 0x12);
    EXPECT_EQ(params.Field(*FindParamField("KnifePos"), 1), 2999);
    EXPECT_EQ(params.EditByte(24), 0x04);
    EXPECT_EQ(params.EditByte(27), 0x01);
    // Out-of-range indexes and addresses neither read nor write outside the block.
    params.SetHeadPos(4, 77);
    params.SetField(*FindParamField("HeadPos"), 77, -1);
    EXPECT_EQ(params.HeadPos(4), 0);
    EXPECT_EQ(params.HeadPos(-1), 0);
    EXPECT_EQ(params.EditByte(50), 80);
    params.SetEditByte(100, 5);
    EXPECT_EQ(params.EditByte(100), 0);
    EXPECT_EQ(params.EditByte(148), 0);
    EXPECT_EQ(FindParamField("NoSuchField"), nullptr);
    // Every field lies inside bytes 0..79 or 128..147.
    for (const CParamField& f : ParamFields()) {
        const int nEnd = f.m_nAddr + f.m_nWidth * f.m_nCount;
        EXPECT_TRUE(nEnd <= 80 || (f.m_nAddr >= 128 && nEnd <= 148)) << f.m_pszName;
    }
}

TEST(MachineParams, MachineIPIsFirstOctetLowest) {
    CMachineParams params;
    params.SetMachineIP(static_cast<uint32_t>(-1358845760));
    EXPECT_EQ(params.MachineIP(), kDefaultMachineIP);
    const std::array<uint8_t, 4> expected = {192, 168, 1, 175};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(params.MachineByte(4 + i), expected[static_cast<size_t>(i)]);
    EXPECT_EQ(FormatMachineIP(params.MachineIP()), "192.168.1.175");
    EXPECT_EQ(FormatMachineIP(16777343), "127.0.0.1");
}

TEST(MachineParams, ResetKeepsOnlyTheAddressOfTheMachineCopy) {
    CMachineParams params;
    ASSERT_TRUE(params.StoreParamBlock(Pattern(80, 3)));
    params.SetMachineIP(16777343);
    params.SetLeftOffsetMm(999);
    params.ResetMachineParams();
    EXPECT_EQ(params.MachineIP(), 16777343u);
    EXPECT_EQ(params.MachineByte(0), 0);
    EXPECT_EQ(params.MachineByte(50), 0);
    EXPECT_EQ(params.LeftOffsetMm(), 80);
    EXPECT_EQ(params.HeadPos(1), 180);
}

TEST(MachineParams, StoreParamBlockFillsBothCopies) {
    CMachineParams params;
    params.SetMachineIP(16777343);
    const std::vector<uint8_t> block = Pattern(80, 11);
    ASSERT_TRUE(params.StoreParamBlock(block));
    for (int a = 0; a < 80; ++a) {
        EXPECT_EQ(params.MachineByte(a), block[static_cast<size_t>(a)]) << a;
        if (a >= 24) {
            EXPECT_EQ(params.EditByte(a), block[static_cast<size_t>(a)]) << a;
        }
    }
    // The machine's reported address replaces the one from the settings.
    EXPECT_EQ(params.MachineIP(),
              static_cast<uint32_t>(block[4] | block[5] << 8 | block[6] << 16 | block[7] << 24));
    EXPECT_EQ(params.LeftOffsetMm(), block[50] | block[51] << 8);

    // A reply of the wrong length changes nothing.
    const CMachineParams before = params;
    EXPECT_FALSE(params.StoreParamBlock(Pattern(79, 1)));
    EXPECT_FALSE(params.StoreParamBlock(Pattern(81, 1)));
    for (int a = 0; a < 80; ++a)
        EXPECT_EQ(params.MachineByte(a), before.MachineByte(a)) << a;
}

TEST(MachineParams, ExtBlockKnifeTwoRule) {
    struct Case {
        std::array<int, 4> knives; // as read from the machine
        std::array<int, 4> held;
    };
    const Case cases[] = {
        {{100, 3500, 3001, 3500}, {100, 3500, 0, 0}},
        {{0, 3000, 3000, 3000}, {0, 3000, 3000, 3000}},
        {{3500, 65535, 200, 65535}, {3500, 65535, 200, 0}},
    };
    for (const Case& c : cases) {
        CMachineParams params;
        std::vector<uint8_t> ext = Pattern(20, 40);
        for (size_t k = 0; k < 4; ++k) {
            ext[2 * k] = static_cast<uint8_t>(c.knives[k]);
            ext[2 * k + 1] = static_cast<uint8_t>(c.knives[k] >> 8);
        }
        ASSERT_TRUE(params.StoreExtBlock(ext));
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(params.KnifePos(k), c.held[static_cast<size_t>(k)]) << k;
            const int nMachine = params.MachineByte(128 + 2 * k) | params.MachineByte(129 + 2 * k)
                                                                       << 8;
            EXPECT_EQ(nMachine, c.held[static_cast<size_t>(k)]) << k;
        }
        for (int a = 136; a < 148; ++a) {
            EXPECT_EQ(params.EditByte(a), ext[static_cast<size_t>(a - 128)]) << a;
            EXPECT_EQ(params.MachineByte(a), ext[static_cast<size_t>(a - 128)]) << a;
        }
    }
    CMachineParams params;
    EXPECT_FALSE(params.StoreExtBlock(Pattern(19, 0)));
    EXPECT_EQ(params.ColumnSpacing(), 26);
}

TEST(MachineParams, ExtFlagTellsWhetherTheExtendedBlockExists) {
    CMachineParams params;
    std::vector<uint8_t> block(80, 0);
    EXPECT_FALSE(params.HasExtBlock());
    block[79] = 'Y';
    ASSERT_TRUE(params.StoreParamBlock(block));
    EXPECT_TRUE(params.HasExtBlock());
    block[79] = 'N';
    ASSERT_TRUE(params.StoreParamBlock(block));
    EXPECT_FALSE(params.HasExtBlock());
    // Storing the main block leaves the extended block of both copies alone.
    EXPECT_EQ(params.ColumnSpacing(), 26);
    EXPECT_EQ(params.MachineByte(141), 0);
}

TEST(MachineParams, CommitCopiesTheEditCopyAndReturnsIt) {
    CMachineParams params;
    params.SetMachineIP(16777343);
    ASSERT_TRUE(params.StoreParamBlock(Pattern(80, 1)));
    const uint32_t nReportedIP = params.MachineIP();
    params.SetLeftOffsetMm(0x0304);
    params.SetHeadCombination(3);
    EXPECT_NE(params.MachineByte(50), 0x04);

    const auto sent = params.CommitParams();
    EXPECT_EQ(params.MachineByte(50), 0x04);
    EXPECT_EQ(params.MachineByte(51), 0x03);
    for (int a = 24; a < 80; ++a) {
        EXPECT_EQ(sent[static_cast<size_t>(a - 24)], params.EditByte(a)) << a;
        EXPECT_EQ(params.MachineByte(a), params.EditByte(a)) << a;
    }
    EXPECT_EQ(sent[52 - 24], 3);
    // Bytes 0..23, the address among them, are not part of a commit.
    EXPECT_EQ(params.MachineIP(), nReportedIP);

    params.SetKnifePos(0, 1500);
    params.SetFeedSpeed(4);
    const auto ext = params.CommitExtParams();
    EXPECT_EQ(ext[0], 1500 & 0xFF);
    EXPECT_EQ(ext[1], 1500 >> 8);
    EXPECT_EQ(ext[16], 4);
    EXPECT_EQ(ext[13], 26);
    for (int a = 128; a < 148; ++a)
        EXPECT_EQ(params.MachineByte(a), ext[static_cast<size_t>(a - 128)]) << a;
}

TEST(MachineParams, CopyIsASnapshot) {
    CMachineParams params;
    params.SetHeadPos(0, 42);
    CMachineParams copy = params;
    params.SetHeadPos(0, 43);
    EXPECT_EQ(copy.HeadPos(0), 42);
    copy = params;
    EXPECT_EQ(copy.HeadPos(0), 43);
}

} // namespace
} // namespace inkvale
