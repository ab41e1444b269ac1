// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/Result.h"

#include <string>

namespace inkvale {

/// The program's own texts of a message: Chinese, the program's source language (the
/// desktop program's translations start from it, in the context "Messages"), and the
/// English text. A front end chooses between them or translates; the core never does.
/// Texts take their arguments as %1, %2, ...
struct CMessageSource {
    const char* m_pszChinese;
    const char* m_pszEnglish;
};

/// The texts of eId (empty texts for kNone).
CMessageSource MessageSource(EMsg eId);

/// The text with %1, %2, ... replaced by the message's arguments, in order.
std::string FillArguments(std::string strText, const CMessage& message);

} // namespace inkvale
