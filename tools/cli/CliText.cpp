// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliText.h"

#include "support/MessageSource.h"

#include <cstdio>
#include <ctime>

namespace inkvale::cli {

std::string CliText(const CMessage& message, int32_t nLanguage) {
    const CMessageSource source = MessageSource(message.m_eId);
    return FillArguments(nLanguage == 0 ? source.m_pszChinese : source.m_pszEnglish, message);
}

std::string PlotterSilentText(std::time_t tSince, int32_t nLanguage) {
    std::tm local{};
    char szTime[16] = "--:--:--";
    if (localtime_r(&tSince, &local) != nullptr)
        (void)std::strftime(szTime, sizeof szTime, "%H:%M:%S", &local);
    return nLanguage == 0 ? std::string("绘图仪自 ") + szTime + " 起无响应"
                          : std::string("the plotter does not answer since ") + szTime;
}

void PrintMessages(const CResult& result, int32_t nLanguage) {
    for (const CMessage& message : result.m_arrMessages)
        std::fprintf(stderr, "%s\n", CliText(message, nLanguage).c_str());
}

} // namespace inkvale::cli
