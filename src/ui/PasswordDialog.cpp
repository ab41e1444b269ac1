// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PasswordDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QVBoxLayout>

namespace inkvale {

bool IsParaAccessCode(const std::string& strEntry) {
    return QString::fromStdString(strEntry).toUpper() == QLatin1String(kParaAccessCode);
}

CPasswordDialog::CPasswordDialog(QWidget* pParent) : QDialog(pParent), m_pEdit(new QLineEdit(this)) {
    setWindowTitle(tr("输入"));
    m_pEdit->setEchoMode(QLineEdit::Password);
    m_pEdit->setMaxLength(64);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    pButtons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(new QLabel(tr("请输入密码:"), this));
    pLayout->addWidget(m_pEdit);
    pLayout->addWidget(pButtons);
}

std::string CPasswordDialog::Entry() const {
    return m_pEdit->text().toStdString();
}

} // namespace inkvale
