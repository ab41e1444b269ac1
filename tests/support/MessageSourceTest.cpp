// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/MessageSource.h"

#include <gtest/gtest.h>

namespace inkvale {
namespace {

// The program's own texts, word for word: the Chinese ones are the translations' sources,
// the English ones what every other language showed before it had a translation.
TEST(MessageSource, TheProgramsOwnTexts) {
    struct Case {
        EMsg eId;
        const char* pszChinese;
        const char* pszEnglish;
    };
    const Case cases[] = {
        {EMsg::kOpenFileFailed, "文件打开失败!", "Open File Failed!"},
        {EMsg::kAlreadyOpen, "重复打开", "Already Open"},
        {EMsg::kFileTooLarge, "文件大小超出限制", "File size too large"},
        {EMsg::kJobTooWide, "超出机器幅宽！请重新设置右边据和纸张宽度！",
         "Out of size in Y: please change the right margin and the paper width, or open "
         "another plt file."},
        {EMsg::kDataOverflow, "data over flow", "data over flow"},
        {EMsg::kFileOpenError, "File Open Error", "File Open Error"},
        {EMsg::kFileWriteError, "File Write Error", "File Write Error"},
        {EMsg::kTaskFileFormat, "意外的文件格式。", "Unexpected file format."},
        {EMsg::kTaskFileRead, "读取 %1 时发生了错误。", "An error occurred while reading %1."},
        {EMsg::kSettingsUnreadable,
         "设置文件无法读取，已保留为 %1。程序正在使用默认设置（包括机器的 IP 地址），请检查设置。",
         "The settings file could not be read and has been kept as %1. The program is using the "
         "default settings (the machine's IP address included); please check the settings."},
        {EMsg::kNone, "", ""},
    };
    for (const Case& c : cases) {
        const CMessageSource source = MessageSource(c.eId);
        EXPECT_STREQ(source.m_pszChinese, c.pszChinese);
        EXPECT_STREQ(source.m_pszEnglish, c.pszEnglish);
    }
}

TEST(MessageSource, ArgumentsFillTheirMarksOnly) {
    const CMessage two{EMsg::kNone, {"a%2b", "Z"}};
    // %1 is replaced after %2, so a %2 inside the first argument stays as it is.
    EXPECT_EQ(FillArguments("[%1|%2|%1]", two), "[a%2b|Z|a%2b]");
    EXPECT_EQ(FillArguments("no marks", two), "no marks");
    EXPECT_EQ(FillArguments("%1 %3", CMessage{EMsg::kNone, {"x"}}), "x %3");
}

} // namespace
} // namespace inkvale
