// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/SettingsDialogHost.h"
#include "ui/SettingsPage.h"

#include <map>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace inkvale {

/// The User page: the Add dialog's filter, preview colours, queue and print options, the
/// cleaning density and the handling of the HP-GL page command. Nothing is stored before Apply.
class CUserSettingsPage : public CSettingsPage {
    Q_OBJECT
public:
    explicit CUserSettingsPage(CSysSetContext ctx, QWidget* pParent = nullptr);
    QCheckBox* Check(int nId) const { return m_checks.at(nId); }
    QButtonGroup* FileType() const { return m_pFileType; }
    QLineEdit* Density() const { return m_pDensity; }
    /// The density's label with the range Apply takes.
    QLabel* DensityLabel() const { return m_pDensityLabel; }
    QComboBox* PageCommand() const { return m_pPageCommand; }
    /// Colour buttons 308 (background), 309 (frame), 306 (grid), 310 (curves); 311 Apply.
    QPushButton* Button(int nId) const { return m_buttons.at(nId); }
    int32_t ButtonColor(int nId) const { return m_colors.at(nId); }
    /// A colour button: the chooser, then the button shows the chosen colour.
    void ChooseColor(int nButton);

protected:
    /// "应用": false (nothing stored) when the density is not a whole number of its range.
    bool Store() override;

private:
    void ShowColor(int nButton);

    CSysSetContext m_ctx;
    std::map<int, QCheckBox*> m_checks;
    std::map<int, QPushButton*> m_buttons;
    std::map<int, int32_t> m_colors;
    QButtonGroup* m_pFileType;
    QLineEdit* m_pDensity;
    QLabel* m_pDensityLabel = nullptr;
    QComboBox* m_pPageCommand;
};

} // namespace inkvale
