// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace inkvale {

/// The preview's message boxes and number prompt; the program shows dialogs, tests
/// record the texts and answer the prompts.
class CPreviewPrompts {
public:
    virtual ~CPreviewPrompts() = default;
    /// A message the operator must acknowledge (UTF-8, already in the current language).
    virtual void ShowMessage(const std::string& strText) = 0;
    /// Asks for a number, preset with dValue; false when the operator cancels.
    virtual bool PromptNumber(const std::string& strPrompt, double& dValue) = 0;
};

} // namespace inkvale
