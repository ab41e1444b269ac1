// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliText.h"

#include "config/SettingsStore.h"
#include "support/MessageSource.h"
#include "support/ProfileFile.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>

namespace inkvale::cli {

namespace {

/// -1 until ChooseCliLanguage ran; then 1 for Chinese, 0 for English.
int g_nChinese = -1;

bool ChineseLocale() {
    for (const char* pszName : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* pszValue = std::getenv(pszName);
        if (pszValue != nullptr && *pszValue != '\0')
            return std::string_view(pszValue).starts_with("zh");
    }
    return false;
}

} // namespace

void ChooseCliLanguage(const std::string& strHome) {
    CProfileFile ini;
    constexpr int32_t kMissing = -1;
    int32_t nLanguage = kMissing;
    if (ini.Load(strHome + kSettingsFileName))
        nLanguage = ini.GetInt(kSettingsSection, "Language", kMissing);
    g_nChinese = (nLanguage == kMissing ? ChineseLocale() : nLanguage == 0) ? 1 : 0;
}

bool CliSpeaksChinese() {
    return g_nChinese == 1;
}

std::string CliText(const CMessage& message, int32_t nLanguage) {
    const bool bChinese = g_nChinese >= 0 ? g_nChinese == 1 : nLanguage == 0;
    const CMessageSource source = MessageSource(message.m_eId);
    return FillArguments(bChinese ? source.m_pszChinese : source.m_pszEnglish, message);
}

std::string CliEnglishText(const CMessage& message) {
    return FillArguments(MessageSource(message.m_eId).m_pszEnglish, message);
}

std::string PlotterSilentText(std::time_t tSince, int32_t nLanguage) {
    std::tm local{};
    char szTime[16] = "--:--:--";
    if (localtime_r(&tSince, &local) != nullptr)
        (void)std::strftime(szTime, sizeof szTime, "%H:%M:%S", &local);
    const bool bChinese = g_nChinese >= 0 ? g_nChinese == 1 : nLanguage == 0;
    return bChinese ? std::string("绘图仪自 ") + szTime + " 起无响应"
                          : std::string("the plotter does not answer since ") + szTime;
}

void PrintMessages(const CResult& result, int32_t nLanguage) {
    for (const CMessage& message : result.m_arrMessages)
        std::fprintf(stderr, "%s\n", CliText(message, nLanguage).c_str());
}

} // namespace inkvale::cli
