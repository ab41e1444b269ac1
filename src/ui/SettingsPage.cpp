// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SettingsPage.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

namespace inkvale {

bool CSettingsPage::Apply() {
    if (!Store())
        return false;
    // Apply may show the stored values again (completed folders); that is no new change.
    m_bModified = false;
    return true;
}

void CSettingsPage::WatchChanges() {
    for (QLineEdit* pEdit : findChildren<QLineEdit*>()) {
        if (!pEdit->isReadOnly())
            connect(pEdit, &QLineEdit::textChanged, this, [this] { MarkModified(); });
    }
    for (QAbstractButton* pButton : findChildren<QAbstractButton*>()) {
        if (pButton->isCheckable())
            connect(pButton, &QAbstractButton::toggled, this, [this] { MarkModified(); });
    }
    for (QComboBox* pCombo : findChildren<QComboBox*>())
        connect(pCombo, &QComboBox::currentIndexChanged, this, [this] { MarkModified(); });
}

} // namespace inkvale
