// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/QtPreviewPrompts.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QString>

#include <cfloat>

namespace inkvale {

void CQtPreviewPrompts::ShowMessage(const std::string& strText) {
    QMessageBox::information(m_pParent, QStringLiteral("Inkvale"), QString::fromStdString(strText));
}

bool CQtPreviewPrompts::PromptNumber(const std::string& strPrompt, double& dValue) {
    bool bOk = false;
    // The prompt text is limited to 256 characters, as the dialog's field allows.
    const QString prompt = QString::fromStdString(strPrompt).left(256);
    const double v =
        QInputDialog::getDouble(m_pParent, QCoreApplication::translate("CQtPreviewPrompts", "输入"),
                                prompt, dValue, -DBL_MAX, DBL_MAX, 3, &bOk);
    if (bOk)
        dValue = v;
    return bOk;
}

} // namespace inkvale
