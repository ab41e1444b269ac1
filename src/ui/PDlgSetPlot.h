// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/DlgSysSetHost.h"

#include <QWidget>

#include <map>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace inkvale {

/// The Plot page of the system settings: size-ratio test values, splitting, mirroring, the
/// paper feeds of the parameter block and the DXF unit. Nothing is stored before Apply.
class CPDlgSetPlot : public QWidget {
    Q_OBJECT
public:
    explicit CPDlgSetPlot(CSysSetContext ctx, QWidget* pParent = nullptr);
    QLineEdit* Edit(int nId) const { return m_edits.at(nId); }
    QCheckBox* Check(int nId) const { return m_checks.at(nId); }
    QRadioButton* Radio(int nId) const { return nId == 234 ? m_pRadioBoard : m_pRadioPc; }
    QPushButton* ApplyButton() const { return m_pApply; }
    /// "应用": false (nothing stored) when a field is out of range.
    bool Apply();
    /// "更新": reads the four size fields and shows the two ratios.
    bool UpdateRatios();
    /// A radio button: 0 the machine's scale values, 1 the settings' values.
    void ChooseRatioSource(int nChoice);

private:
    void LoadSizes(int nChoice);

    CSysSetContext m_ctx;
    std::map<int, QLineEdit*> m_edits;
    std::map<int, QCheckBox*> m_checks;
    QRadioButton* m_pRadioBoard;
    QRadioButton* m_pRadioPc;
    QPushButton* m_pApply;
};

} // namespace inkvale
