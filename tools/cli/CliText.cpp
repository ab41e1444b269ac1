// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliText.h"

#include "support/MessageSource.h"

#include <cstdio>

namespace inkvale::cli {

std::string CliText(const CMessage& message, int32_t nLanguage) {
    const CMessageSource source = MessageSource(message.m_eId);
    return FillArguments(nLanguage == 0 ? source.m_pszChinese : source.m_pszEnglish, message);
}

void PrintMessages(const CResult& result, int32_t nLanguage) {
    for (const CMessage& message : result.m_arrMessages)
        std::fprintf(stderr, "%s\n", CliText(message, nLanguage).c_str());
}

} // namespace inkvale::cli
