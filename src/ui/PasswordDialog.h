// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

namespace inkvale {

/// The access code of the machine parameters dialog.
inline constexpr const char* kParaAccessCode = "579";

/// True when strEntry, converted to upper case, is the access code.
bool IsParaAccessCode(const std::string& strEntry);

/// The password prompt "输入": "请输入密码:", a hidden field of at most 64 characters, OK.
class CPasswordDialog : public QDialog {
    Q_OBJECT
public:
    explicit CPasswordDialog(QWidget* pParent = nullptr);
    /// The entry as typed (UTF-8).
    std::string Entry() const;
    QLineEdit* Field() const { return m_pEdit; }

private:
    QLineEdit* m_pEdit;
};

} // namespace inkvale
