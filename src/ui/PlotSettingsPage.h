// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/SettingsDialogHost.h"
#include "ui/SettingsPage.h"

#include <map>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace inkvale {

class CDlgFieldReader;

/// The Plot page of the system settings: size-ratio test values, splitting, mirroring, the
/// paper feeds of the parameter block and the DXF unit. Nothing is stored before Apply.
class CPlotSettingsPage : public CSettingsPage {
    Q_OBJECT
public:
    explicit CPlotSettingsPage(CSysSetContext ctx, QWidget* pParent = nullptr);
    QLineEdit* Edit(int nId) const { return m_edits.at(nId); }
    QCheckBox* Check(int nId) const { return m_checks.at(nId); }
    QRadioButton* Radio(int nId) const { return nId == 234 ? m_pRadioBoard : m_pRadioPc; }
    QPushButton* ApplyButton() const { return m_pApply; }
    /// The label that shows a number field's range (a size field's column header).
    QLabel* Label(int nId) const;
    /// "更新": reads the four size fields and shows the two ratios.
    bool UpdateRatios();
    /// A radio button: 0 the machine's scale values, 1 the settings' values.
    void ChooseRatioSource(int nChoice);

protected:
    /// "应用": false (nothing stored) when a field is out of range.
    bool Store() override;

private:
    void LoadSizes(int nChoice);
    bool ReadSizes(CDlgFieldReader& reader, double (&d)[4]);

    CSysSetContext m_ctx;
    std::map<int, QLineEdit*> m_edits;
    std::map<int, QCheckBox*> m_checks;
    std::map<int, QLabel*> m_labels;
    QRadioButton* m_pRadioBoard;
    QRadioButton* m_pRadioPc;
    QPushButton* m_pApply;
};

} // namespace inkvale
