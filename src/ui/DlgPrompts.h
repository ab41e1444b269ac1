// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace inkvale {

/// The message boxes and the access-code prompt of the settings and machine dialogs. The
/// program shows modal boxes (CQtDlgPrompts); tests record the texts and answer the prompt.
class CDlgPrompts {
public:
    virtual ~CDlgPrompts() = default;
    /// A message the operator must acknowledge (UTF-8, already in the current language).
    virtual void ShowMessage(const std::string& strText) = 0;
    /// A message box with its own caption (the screenshot notes).
    virtual void ShowNote(const std::string& strCaption, const std::string& strText) {
        (void)strCaption;
        ShowMessage(strText);
    }
    /// Asks for the access code (characters hidden); false when the operator cancels.
    virtual bool AskAccessCode(std::string& strCode) = 0;
};

} // namespace inkvale
