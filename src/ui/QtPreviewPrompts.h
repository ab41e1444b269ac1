// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/PreviewPrompts.h"

class QWidget;

namespace inkvale {

/// The preview's prompts as modal dialogs: a message box and the number prompt "输入".
class CQtPreviewPrompts : public CPreviewPrompts {
public:
    explicit CQtPreviewPrompts(QWidget* pParent) : m_pParent(pParent) {}
    void ShowMessage(const std::string& strText) override;
    bool PromptNumber(const std::string& strPrompt, double& dValue) override;

private:
    QWidget* m_pParent;
};

} // namespace inkvale
