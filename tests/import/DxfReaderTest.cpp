// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/DxfReader.h"

#include "DxfTestFiles.h"
#include "import/DxfNumbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace inkvale {
namespace {

using test::DxfEntities;
using test::DxfText;

struct Pair {
    int m_nCode;
    std::string m_strValue;
    friend bool operator==(const Pair&, const Pair&) = default;
};

std::vector<Pair> ReadAllPairs(const std::string& strBytes) {
    test::CScratchDir dir;
    const std::string path = dir.File("t.dxf");
    EXPECT_TRUE(test::WriteFileBytes(path, strBytes));
    DxfFilePtr pFile(DxfOpen(path));
    EXPECT_NE(pFile, nullptr);
    std::vector<Pair> pairs;
    int nCode = 0;
    std::string_view value;
    while (pFile && DxfReadPair(pFile.get(), &nCode, &value))
        pairs.push_back({nCode, std::string(value)});
    return pairs;
}

TEST(DxfReader, LineEndsCrLfLfAndLoneCrGiveTheSamePairs) {
    const std::vector<Pair> expected = {{0, "SECTION"}, {2, "ENTITIES"}, {10, ""}, {0, "EOF"}};
    for (const char* eol : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(eol)));
        std::string bytes =
            DxfText({"0", "SECTION", "  2", "ENTITIES", " 10", "", "0", "EOF"}, eol);
        EXPECT_EQ(ReadAllPairs(bytes), expected);
        bytes.resize(bytes.size() - std::string(eol).size()); // no line end after EOF
        EXPECT_EQ(ReadAllPairs(bytes), expected);
    }
}

TEST(DxfReader, OverlongValueIsCutAndThePairsStayInStep) {
    const std::string longValue(5000, 'x');
    const std::vector<Pair> pairs = ReadAllPairs(DxfText({"1", longValue, "0", "EOF"}));
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].m_strValue, std::string(kDxfValueMax, 'x'));
    EXPECT_EQ(pairs[1], (Pair{0, "EOF"}));
    // A code line is cut alike: its digits beyond the cut are not read.
    const std::string longCode = std::string(3000, ' ') + "1";
    EXPECT_EQ(ReadAllPairs(DxfText({longCode, "v", "0", "EOF"})),
              (std::vector<Pair>{{0, "v"}, {0, "EOF"}}));
}

TEST(DxfReader, LinesCrossingTheBufferEndAreJoined) {
    // Values of every length around the 32 KiB buffer boundary, with every line end, CR LF
    // split across it too.
    for (const char* eol : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(eol)));
        std::string bytes;
        std::vector<Pair> expected;
        for (int i = 0; bytes.size() < 3 * 32768; ++i) {
            const std::string value(static_cast<size_t>(i % 97), static_cast<char>('a' + i % 26));
            bytes += DxfText({"1", value}, eol);
            expected.push_back({1, value});
        }
        EXPECT_EQ(ReadAllPairs(bytes), expected);
    }
}

// Code lines are read like atoi, whatever their form: the usual blanks and digits and the
// rarer ones alike.
TEST(DxfReader, CodeLinesReadLikeAtoi) {
    const std::pair<const char*, int> codes[] = {
        {"0", 0},     {"  8", 8},
        {" 10", 10},  {"1000", 1000},
        {"0010", 10}, {"99999", 99999},
        {"  ", 0},    {"", 0},
        {"-5", -5},   {"+62", 62},
        {"\t8", 8},   {"12x", 12},
        {"1 2", 1},   {"2147483648", INT_MAX},
    };
    for (const auto& [code, n] : codes) {
        const std::vector<Pair> pairs = ReadAllPairs(DxfText({code, "v"}));
        ASSERT_EQ(pairs.size(), 1u) << code;
        EXPECT_EQ(pairs[0].m_nCode, n) << code;
    }
}

TEST(DxfReader, CodeWithoutValueEndsTheFile) {
    EXPECT_EQ(ReadAllPairs("0\nSECTION\n2"), (std::vector<Pair>{{0, "SECTION"}}));
    EXPECT_TRUE(ReadAllPairs("").empty());
}

TEST(DxfNumbers, ConvertLikeAtoiAndAtofWithoutOverflow) {
    EXPECT_EQ(DxfParseInt("  10"), 10);
    EXPECT_EQ(DxfParseInt("0.000000"), 0);
    EXPECT_EQ(DxfParseInt("-7"), -7);
    EXPECT_EQ(DxfParseInt("abc"), 0);
    EXPECT_EQ(DxfParseInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(DxfParseInt16("70000"), 32767);
    EXPECT_EQ(DxfParseInt16("-70000"), -32768);
    EXPECT_DOUBLE_EQ(DxfParseDouble(".25"), 0.25);
    EXPECT_DOUBLE_EQ(DxfParseDouble(" +1.5e2xyz"), 150.0);
    EXPECT_DOUBLE_EQ(DxfParseDouble("-0.0000"), 0.0);
    EXPECT_DOUBLE_EQ(DxfParseDouble("junk"), 0.0);
    EXPECT_DOUBLE_EQ(DxfParseDouble("1e-999"), 0.0);
    EXPECT_TRUE(std::isinf(DxfParseDouble("-1e999")));
}

/// Reads every entity of an ENTITIES section.
std::vector<DxfEntity> ReadEntities(const std::string& strBytes) {
    test::CScratchDir dir;
    const std::string path = dir.File("e.dxf");
    EXPECT_TRUE(test::WriteFileBytes(path, strBytes));
    DxfFilePtr pFile(DxfOpen(path));
    std::vector<DxfEntity> out;
    EXPECT_EQ(DxfNextSection(pFile.get()), kDxfSectionEntities);
    DxfEntity e;
    while (DxfReadEntity(pFile.get(), &e.m_header, &e.m_data))
        out.push_back(e);
    EXPECT_EQ(DxfCurrentSection(pFile.get()), 0) << "ENDSEC closes the section";
    return out;
}

TEST(DxfReadEntity, EachKindReadsItsGroups) {
    const std::string body = DxfText({
        "0",  "LINE",  "8",  "L1",     "6",  "DASHED",   "62", "3",      "39", "2.5",
        "48", "0.5",   "10", "1",      "20", "2",        "30", "3",      "11", "4",
        "21", "5",     "31", "6",      "40", "99", // not a LINE group: ignored
        "0",  "POINT", "10", "7",      "20", "8",        "0",  "CIRCLE", "10", "1",
        "20", "1",     "40", "2.5",    "0",  "ARC",      "10", "0",      "20", "0",
        "40", "1",     "50", "30",     "51", "60",       "0",  "SOLID",  "10", "0",
        "11", "1",     "12", "2",      "13", "3",        "23", "4",      "0",  "TEXT",
        "10", "10",    "20", "20",     "40", "3.5",      "50", "90",     "41", "0.8",
        "72", "1",     "73", "2",      "11", "12",       "21", "22",     "7",  "ROMAN",
        "1",  "AB ",   "0",  "INSERT", "2",  "BLK",      "10", "5",      "20", "6",
        "50", "45",    "43", "2",      "0",  "POLYLINE", "70", "1",      "0",  "VERTEX",
        "10", "1",     "20", "1",      "42", "0.5",      "0",  "VERTEX", "10", "2",
        "20", "2",     "0",  "VERTEX", "10", "3",        "20", "3",      "0",  "SEQEND",
    });
    const std::vector<DxfEntity> v = ReadEntities(DxfEntities(body));
    ASSERT_EQ(v.size(), 8u);

    const DxfEntity& line = v[0];
    EXPECT_EQ(line.m_header.m_nKind, kDxfLine);
    EXPECT_EQ(line.m_header.m_strLayer, "L1");
    EXPECT_EQ(line.m_header.m_strLineType, "DASHED");
    EXPECT_EQ(line.m_header.m_nColor, 3);
    EXPECT_EQ(line.m_header.m_dThickness, 2.5);
    EXPECT_EQ(line.m_header.m_dLtScale, 0.5);
    EXPECT_EQ(line.m_data.m_aPt[0].z, 3.0);
    EXPECT_EQ(line.m_data.m_aPt[1].x, 4.0);
    EXPECT_EQ(line.m_data.m_aPt[1].z, 6.0);
    EXPECT_EQ(line.m_data.m_dRadius, 0.0);

    EXPECT_EQ(v[1].m_header.m_nKind, kDxfPoint);
    EXPECT_EQ(v[1].m_header.m_nColor, kDxfColorByLayer) << "absent colour means by layer";
    EXPECT_EQ(v[1].m_header.m_dLtScale, 1.0);
    EXPECT_EQ(v[1].m_data.m_aPt[0].y, 8.0);
    EXPECT_EQ(v[2].m_data.m_dRadius, 2.5);
    EXPECT_EQ(v[3].m_data.m_dAngle, 30.0);
    EXPECT_EQ(v[3].m_data.m_dEndAngle, 60.0);
    EXPECT_EQ(v[4].m_data.m_aPt[3].x, 3.0);
    EXPECT_EQ(v[4].m_data.m_aPt[3].y, 4.0);

    const DxfEntityData& text = v[5].m_data;
    EXPECT_EQ(v[5].m_header.m_nKind, kDxfText);
    EXPECT_EQ(text.m_dRadius, 3.5);
    EXPECT_EQ(text.m_dAngle, 90.0) << "rotation stays in degrees as written";
    EXPECT_EQ(text.m_dWidthFactor, 0.8);
    EXPECT_EQ(text.m_nHAlign, 1);
    EXPECT_EQ(text.m_nVAlign, 2);
    EXPECT_EQ(text.m_aPt[1].y, 22.0);
    EXPECT_EQ(text.m_strName, "ROMAN");
    EXPECT_EQ(text.m_strText, "AB ") << "text bytes as in the file";

    const DxfEntityData& insert = v[6].m_data;
    EXPECT_EQ(insert.m_strName, "BLK");
    EXPECT_EQ(insert.m_scale.x, 1.0) << "scale x and y default to 1";
    EXPECT_EQ(insert.m_scale.y, 1.0);
    EXPECT_EQ(insert.m_scale.z, 2.0);
    EXPECT_EQ(insert.m_dAngle, 45.0);

    const DxfEntityData& poly = v[7].m_data;
    EXPECT_EQ(poly.m_nFlags, 1);
    ASSERT_EQ(poly.m_arrVertices.size(), 3u);
    EXPECT_EQ(poly.m_arrVertices[0].x, 3.0) << "vertices are stored last first";
    EXPECT_EQ(poly.m_arrVertices[2].x, 1.0);
    EXPECT_EQ(poly.m_arrVertices[2].bulge, 0.5);
}

// Entities the conversion does not draw come as named records with their header, so that
// the load can tell what it left out; the closing records of a sequence do not come.
TEST(DxfReadEntity, UnknownEntitiesComeByName) {
    const std::string body = DxfText({
        "0", "LWPOLYLINE", "90",     "2",  "10",       "0",    "20",    "0", "10",
        "5", "20",         "5",      "42", "0.5",      "70",   "1",     "0", "HATCH",
        "8", "H",          "67",     "1",  "0",        "LINE", "10",    "1", "11",
        "2", "0",          "SEQEND", "0",  "VIEWPORT", "0",    "IMAGE",
    });
    const std::vector<DxfEntity> v = ReadEntities(DxfEntities(body));
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[0].m_header.m_nKind, kDxfLwPolyline);
    ASSERT_EQ(v[0].m_data.m_arrVertices.size(), 2u);
    EXPECT_EQ(v[0].m_data.m_arrVertices[1].y, 5.0) << "in file order";
    EXPECT_EQ(v[0].m_data.m_arrVertices[1].bulge, 0.5);
    EXPECT_EQ(v[0].m_data.m_nFlags, 1);
    EXPECT_EQ(v[1].m_header.m_nKind, kDxfSkipped);
    EXPECT_EQ(v[1].m_data.m_strName, "HATCH");
    EXPECT_EQ(v[1].m_header.m_strLayer, "H");
    EXPECT_TRUE(v[1].m_header.m_bPaperSpace);
    EXPECT_EQ(v[2].m_header.m_nKind, kDxfLine);
    EXPECT_EQ(v[2].m_data.m_aPt[1].x, 2.0);
    EXPECT_EQ(v[3].m_data.m_strName, "IMAGE");
}

TEST(DxfReadEntity, EmptySectionAndJunkAfterEof) {
    EXPECT_TRUE(ReadEntities(DxfEntities("")).empty());
    const std::string bytes =
        DxfEntities(DxfText({"0", "CIRCLE", "40", "1.5"})) + "ignore\ninvalid\n0\nSECTION\n";
    test::CScratchDir dir;
    ASSERT_TRUE(test::WriteFileBytes(dir.File("j.dxf"), bytes));
    DxfFilePtr pFile(DxfOpen(dir.File("j.dxf")));
    EXPECT_EQ(DxfNextSection(pFile.get()), kDxfSectionEntities);
    DxfEntity e;
    EXPECT_TRUE(DxfReadEntity(pFile.get(), &e.m_header, &e.m_data));
    EXPECT_FALSE(DxfReadEntity(pFile.get(), &e.m_header, &e.m_data));
    EXPECT_EQ(DxfNextSection(pFile.get()), 0) << "nothing after EOF counts";
}

TEST(DxfReadEntity, BlockEntitiesEndAtEndblk) {
    const std::string bytes = DxfText({
        "0",     "SECTION", "2",        "BLOCKS", "0",      "BLOCK", "8",     "0",    "2",
        "EMPTY", "70",      "0",        "0",      "ENDBLK", "0",     "BLOCK", "2",    "B1",
        "3",     "ignored", "70",       "64",     "8",      "L",     "0",     "LINE", "10",
        "1",     "0",       "POLYLINE", "0",      "VERTEX", "10",    "1",     "0",    "SEQEND",
        "0",     "ENDBLK",  "8",        "0",      "0",      "BLOCK", "3",     "B2",   "0",
        "POINT", "0",       "ENDBLK",   "0",      "ENDSEC", "0",     "EOF",
    });
    test::CScratchDir dir;
    ASSERT_TRUE(test::WriteFileBytes(dir.File("b.dxf"), bytes));
    DxfFilePtr pFile(DxfOpen(dir.File("b.dxf")));
    ASSERT_EQ(DxfNextSection(pFile.get()), kDxfSectionBlocks);
    DxfBlock block;
    DxfEntity e;
    ASSERT_TRUE(DxfReadBlockHeader(pFile.get(), &block));
    EXPECT_EQ(block.m_strName, "EMPTY");
    EXPECT_FALSE(DxfInsideBlock(pFile.get()));

    ASSERT_TRUE(DxfReadBlockHeader(pFile.get(), &block));
    EXPECT_EQ(block.m_strName, "B1");
    EXPECT_EQ(block.m_nFlags, 64);
    EXPECT_EQ(block.m_strLayer, "L");
    EXPECT_TRUE(DxfInsideBlock(pFile.get()));
    EXPECT_TRUE(DxfReadEntity(pFile.get(), &e.m_header, &e.m_data));
    EXPECT_TRUE(DxfReadEntity(pFile.get(), &e.m_header, &e.m_data));
    EXPECT_EQ(e.m_header.m_nKind, kDxfPolyline);
    EXPECT_FALSE(DxfReadEntity(pFile.get(), &e.m_header, &e.m_data)) << "SEQEND, then ENDBLK";

    ASSERT_TRUE(DxfReadBlockHeader(pFile.get(), &block));
    EXPECT_EQ(block.m_strName, "B2") << "group 3 names a block without group 2";
    EXPECT_TRUE(DxfReadEntity(pFile.get(), &e.m_header, &e.m_data));
    EXPECT_FALSE(DxfInsideBlock(pFile.get()));
    EXPECT_EQ(DxfCurrentSection(pFile.get()), 0) << "ENDBLK then ENDSEC closes BLOCKS";
    EXPECT_FALSE(DxfReadBlockHeader(pFile.get(), &block));
}

TEST(DxfReadEntity, ReadFailsOutsideEntitiesAndOnAPairThatIsNotGroupZero) {
    test::CScratchDir dir;
    ASSERT_TRUE(test::WriteFileBytes(
        dir.File("x.dxf"), DxfText({"0", "SECTION", "2", "HEADER", "0", "LINE", "0", "ENDSEC", "0",
                                    "SECTION", "2", "ENTITIES", "10", "1", "0", "LINE"})));
    DxfFilePtr pFile(DxfOpen(dir.File("x.dxf")));
    DxfEntity e;
    EXPECT_EQ(DxfNextSection(pFile.get()), kDxfSectionHeader);
    EXPECT_FALSE(DxfReadEntity(pFile.get(), &e.m_header, &e.m_data));
    EXPECT_EQ(DxfNextSection(pFile.get()), kDxfSectionEntities);
    EXPECT_FALSE(DxfReadEntity(pFile.get(), &e.m_header, &e.m_data));
    int nCode = 0;
    std::string_view value;
    ASSERT_TRUE(DxfReadPair(pFile.get(), &nCode, &value)) << "a failed read returns to the mark";
    EXPECT_EQ(nCode, 10);
}

TEST(DxfFindPair, ReturnsToTheMarkWhenNotFound) {
    test::CScratchDir dir;
    // Long enough that the search reloads the buffer before it comes back.
    std::string bytes = DxfText({"0", "A"});
    for (int i = 0; i < 20000; ++i)
        bytes += DxfText({"999", "filler line"});
    bytes += DxfText({"0", "B "});
    ASSERT_TRUE(test::WriteFileBytes(dir.File("f.dxf"), bytes));
    DxfFilePtr pFile(DxfOpen(dir.File("f.dxf")));
    EXPECT_FALSE(DxfFindPair(pFile.get(), 0, "C"));
    EXPECT_TRUE(DxfFindPair(pFile.get(), 0, "A"));
    EXPECT_TRUE(DxfFindPair(pFile.get(), 0, "B")) << "trailing blanks of keywords are ignored";
    int nCode = 0;
    std::string_view value;
    EXPECT_FALSE(DxfReadPair(pFile.get(), &nCode, &value));
}

TEST(DxfOpen, MissingFileOrFolderGivesNoReader) {
    test::CScratchDir dir;
    EXPECT_EQ(DxfOpen(dir.File("missing.dxf")), nullptr);
    EXPECT_EQ(DxfOpen(dir.Path().string()), nullptr);
}

} // namespace
} // namespace inkvale
