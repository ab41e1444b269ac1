// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/StrokeFont.h"

#include "StrokeFontTestFonts.h"
#include "common/TestPaths.h"
#include "import/StrokeFontData.h"
#include "import/StrokeFontFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace inkvale {
namespace {

std::vector<uint8_t> ThreeGlyphFont(int64_t nCount = -1) {
    return test::BuildFontFile(true, {4, 22, 7},
                               {{0x20, 20, {}}, {'A', 23, {0, 0x14, 0}}, {'B', 21, {0, 0x10, 0}}},
                               nCount);
}

TEST(StrokeFont, LoadsHeaderAndIndexAndFindsByCode) {
    CStrokeFont font(CStrokeFont::EKind::SingleByte);
    font.LoadBytes(ThreeGlyphFont());
    EXPECT_EQ(font.m_nHeader1, 4);
    EXPECT_EQ(font.m_nHeader2, 22);
    EXPECT_EQ(font.m_nHeader3, 7);
    ASSERT_EQ(font.m_arrIndex.size(), 3u);
    const CCharactor* a = font.Find('A');
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->m_nWidth, 23);
    EXPECT_EQ(a->m_nLength, 3);
    EXPECT_EQ(a->m_nOffset, 10u + 3 * 10);
    EXPECT_EQ(std::vector<uint8_t>(font.Glyph(*a).begin(), font.Glyph(*a).end()),
              (std::vector<uint8_t>{0, 0x14, 0}));
    EXPECT_EQ(font.Find('C'), nullptr);
    EXPECT_EQ(font.Find(0x1F), nullptr);

    CStrokeFont hz(CStrokeFont::EKind::DoubleByte);
    hz.LoadBytes(test::TestHzFont());
    EXPECT_EQ(hz.m_nHeader1, 16);
    EXPECT_EQ(hz.m_nHeader2, 16);
    ASSERT_NE(hz.Find(0xB0A1), nullptr);
    EXPECT_EQ(hz.Find(0xB0A1)->m_nOffset, 8u + 2 * 8);
    EXPECT_EQ(hz.Find(0xA1A1)->m_nLength, 0);
}

TEST(StrokeFont, TruncatedFileKeepsTheCompleteRecordsOnly) {
    const std::vector<uint8_t> whole = ThreeGlyphFont();
    struct Case {
        size_t size;
        size_t records;
        size_t glyphABytes; // what is left of A's 3 shape bytes
    };
    const Case cases[] = {
        {0, 0, 0},  {9, 0, 0},  {10, 0, 0}, {19, 0, 0}, {20, 1, 0},
        {39, 2, 0}, {40, 3, 0}, {41, 3, 1}, {43, 3, 3}, {whole.size(), 3, 3},
    };
    for (const Case& c : cases) {
        CStrokeFont font(CStrokeFont::EKind::SingleByte);
        font.LoadBytes(std::vector<uint8_t>(whole.begin(), whole.begin() + c.size));
        EXPECT_EQ(font.m_arrIndex.size(), c.records) << c.size;
        const CCharactor* a = font.Find('A');
        EXPECT_EQ(a == nullptr ? 0 : font.Glyph(*a).size(), c.glyphABytes) << c.size;
        if (c.size < 10) { // no header: header values 0 as for an unreadable file
            EXPECT_EQ(font.m_nHeader1 + font.m_nHeader2 + font.m_nHeader3, 0);
        }
    }
    // A count far beyond the records present claims nothing.
    CStrokeFont font(CStrokeFont::EKind::SingleByte);
    font.LoadBytes(ThreeGlyphFont(0xFFFFFFFF));
    EXPECT_EQ(font.m_arrIndex.size(), 3u);
    font.LoadBytes(ThreeGlyphFont(1));
    EXPECT_EQ(font.m_arrIndex.size(), 1u);
}

TEST(StrokeFont, GlyphOffsetsOutsideTheFileGiveNoBytes) {
    std::vector<uint8_t> bytes = ThreeGlyphFont();
    bytes[10 + 10 + 6] = 0xFF; // A's offset: far beyond the end
    bytes[10 + 10 + 7] = 0xFF;
    CStrokeFont font(CStrokeFont::EKind::SingleByte);
    font.LoadBytes(bytes);
    EXPECT_TRUE(font.Glyph(*font.Find('A')).empty());
}

TEST(StrokeFont, MissingFileIsAnEmptyFont) {
    test::CScratchDir dir;
    CStrokeFont font(CStrokeFont::EKind::DoubleByte);
    font.LoadBytes(test::TestHzFont());
    font.LoadFile(dir.File("nothing.bin"));
    EXPECT_TRUE(font.m_arrIndex.empty());
    EXPECT_EQ(font.m_nHeader2, 0);
    font.LoadFile(dir.Path().string()); // a folder cannot be read either
    EXPECT_TRUE(font.m_arrIndex.empty());
}

TEST(StrokeFontFiles, EnsureWritesMissingFilesAndKeepsExistingOnes) {
    test::CScratchDir dir;
    ASSERT_TRUE(test::WriteFileBytes(dir.Path() / kEnFontFile, "mine"));
    EnsureFontFiles(dir.Path().string());
    EXPECT_EQ(test::ReadFileBytes(dir.Path() / kEnFontFile), "mine");
    const std::string hz = test::ReadFileBytes(dir.Path() / kHzFontFile);
    const auto embedded = EmbeddedHzFont();
    EXPECT_EQ(hz, std::string(embedded.begin(), embedded.end()));
    // Nothing else is left behind (no temporary files).
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              2);
    EnsureFontFiles(dir.File("no/such/folder")); // fails quietly
}

TEST(StrokeFontFiles, LoadFontsWritesAndReadsTheInstallationFolder) {
    test::CScratchDir dir;
    CStrokeFontText text;
    text.LoadFonts(dir.Path().string() + "/");
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / kEnFontFile));
    EXPECT_EQ(text.EnFont().m_arrIndex.size(), 95u);
    EXPECT_GT(text.HzFont().m_arrIndex.size(), 7000u);
    // The files on disk are what is drawn: a replaced single-byte font is used as it is.
    ASSERT_TRUE(test::WriteFileBytes(dir.Path() / kEnFontFile, "x"));
    text.LoadFonts(dir.Path().string());
    EXPECT_TRUE(text.EnFont().m_arrIndex.empty());
    EXPECT_EQ(text.EmUnits(), 0);
}

} // namespace
} // namespace inkvale
