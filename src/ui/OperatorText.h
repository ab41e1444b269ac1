// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/Result.h"

#include <QString>

#include <cstdint>

namespace inkvale {

/// The operator's text of a message from the core: the program's own (Chinese) text in the
/// language the program runs in (the translation loaded at start-up), with its arguments.
QString OperatorText(const CMessage& message);

/// A text the program shows in Chinese for language 0 and in one English text for every
/// other language: in a language whose translation is loaded, the translation of the
/// Chinese text instead (szChinese must be marked for translation in szContext), so that
/// Russian reads Russian; without one, the English text.
QString LanguageText(int32_t nLanguage, const char* szContext, const char* szChinese,
                     const char* szEnglish);

} // namespace inkvale
