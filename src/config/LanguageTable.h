// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace inkvale {

// The interface languages of the settings' Language value (0 Chinese, 1 English, 2 Turkish,
// 3 Azerbaijani, 4 Ukrainian, 5 Russian) and their translation files, for every front end.

/// File name of the translation of a language (1..5); "" for Chinese and unknown values.
std::string TranslationFile(int32_t nLanguage);
/// Text shown when the translation of a language (1..5) cannot be loaded; "" otherwise.
std::string TranslationFailureText(int32_t nLanguage);
/// Qt's own translation (its buttons and standard dialogs) that matches the program's texts:
/// Chinese when the program runs in Chinese (language 0, or its translation failed to load),
/// else the language's own where Qt has one; "" for English and languages Qt lacks.
std::string QtTranslationName(int32_t nLanguage, bool bTranslationLoaded);

} // namespace inkvale
