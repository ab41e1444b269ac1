// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/SettingsDialogHost.h"
#include "ui/SettingsPage.h"

#include <map>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;

class QLabel;

namespace inkvale {

/// The Directories page: hot folders, backups, print history, file patterns, logo text and
/// the printed line width of the parameter block. Nothing is stored before Apply.
class CDirectorySettingsPage : public CSettingsPage {
    Q_OBJECT
public:
    explicit CDirectorySettingsPage(CSysSetContext ctx, QWidget* pParent = nullptr);
    QLineEdit* Edit(int nId) const { return m_edits.at(nId); }
    QCheckBox* Check(int nId) const { return m_checks.at(nId); }
    QButtonGroup* Thickness() const { return m_pThickness; }
    /// Buttons 304, 305, 307 (folders), 316 (history file) and 311 (Apply).
    QPushButton* Button(int nId) const { return m_buttons.at(nId); }
    /// A folder button (304, 305, 307): the chooser, then its checks.
    void ChooseFolder(int nButton);
    /// Button 316: the history file chooser.
    void ChooseHistoryFile();
    /// The line under the file patterns that says which patterns the folders take.
    QLabel* PatternHint() const { return m_pPatternHint; }

protected:
    /// "应用": false when the backup folder is refused (it lies in a hot folder); the old
    /// backup folder stays in effect, the typed one stays in its field, the rest is stored.
    bool Store() override;

private:
    void ShowPatternHint();

    CSysSetContext m_ctx;
    std::map<int, QLineEdit*> m_edits;
    std::map<int, QCheckBox*> m_checks;
    std::map<int, QPushButton*> m_buttons;
    QButtonGroup* m_pThickness;
    QLabel* m_pPatternHint = nullptr;
};

} // namespace inkvale
