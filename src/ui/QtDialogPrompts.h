// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/DlgPrompts.h"

class QWidget;

namespace inkvale {

/// The dialogs' prompts as modal boxes: message boxes and the password prompt CPasswordDialog.
class CQtDialogPrompts : public CDlgPrompts {
public:
    explicit CQtDialogPrompts(QWidget* pParent) : m_pParent(pParent) {}
    void ShowMessage(const std::string& strText) override;
    void ShowNote(const std::string& strCaption, const std::string& strText) override;
    bool AskAccessCode(std::string& strCode) override;
    /// Boxes after this one get pParent as their owner (the dialog that is open).
    void SetParent(QWidget* pParent) { m_pParent = pParent; }

private:
    QWidget* m_pParent;
};

} // namespace inkvale
