// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/QtDialogPrompts.h"

#include "ui/PasswordDialog.h"

#include <QMessageBox>
#include <QString>

namespace inkvale {

void CQtDialogPrompts::ShowMessage(const std::string& strText) {
    QMessageBox::information(m_pParent, QStringLiteral("Inkvale"), QString::fromStdString(strText));
}

void CQtDialogPrompts::ShowNote(const std::string& strCaption, const std::string& strText) {
    QMessageBox::information(m_pParent, QString::fromStdString(strCaption),
                             QString::fromStdString(strText));
}

bool CQtDialogPrompts::AskAccessCode(std::string& strCode) {
    CPasswordDialog dlg(m_pParent);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    strCode = dlg.Entry();
    return true;
}

} // namespace inkvale
