// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/LanguageTable.h"

#include <array>

namespace inkvale {

namespace {

struct CLanguageFile {
    const char* szFile;
    const char* szFailure;
    const char* szQt; ///< Qt's own translation of the language, "" where it has none
};

// Translations of the languages 1..5 and the texts shown when one cannot be loaded.
constexpr std::array<CLanguageFile, 5> kLanguageFiles = {{
    {"inkvale_en.qm", "DLL_EN Load Failed!", ""},
    {"inkvale_tr.qm", "DLL_Turkey Load Failed!", "qtbase_tr"},
    {"inkvale_az.qm", "DLL_Azerice Load Failed!", ""},
    {"inkvale_uk.qm", "DLL_Ukraine Load Failed!", "qtbase_uk"},
    {"inkvale_ru.qm", "DLL_Russian Load Failed!", "qtbase_ru"},
}};

} // namespace

std::string TranslationFile(int32_t nLanguage) {
    if (nLanguage < 1 || nLanguage > 5)
        return {};
    return kLanguageFiles[static_cast<size_t>(nLanguage - 1)].szFile;
}

std::string TranslationFailureText(int32_t nLanguage) {
    if (nLanguage < 1 || nLanguage > 5)
        return {};
    return kLanguageFiles[static_cast<size_t>(nLanguage - 1)].szFailure;
}

std::string QtTranslationName(int32_t nLanguage, bool bTranslationLoaded) {
    if (nLanguage < 1 || nLanguage > 5 || !bTranslationLoaded)
        return "qtbase_zh_CN";
    return kLanguageFiles[static_cast<size_t>(nLanguage - 1)].szQt;
}

} // namespace inkvale
