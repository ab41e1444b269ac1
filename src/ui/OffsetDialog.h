// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLineEdit;

namespace inkvale {

struct CSettings;
class CMachineParams;
class CDlgPrompts;
class IDlgMachine;

/// "左偏移设定": the left start offset (mm) of the parameter block. OK stores it and writes the
/// block when the machine is online; the dialog closes unless the entry is not a whole number
/// of 0..65535 (what the 16-bit field can hold).
class COffsetDialog : public QDialog {
    Q_OBJECT
public:
    COffsetDialog(const CSettings& settings, CMachineParams& params, IDlgMachine& machine,
                  CDlgPrompts& prompts, QWidget* pParent = nullptr);
    QLineEdit* Field() const { return m_pEdit; }
    /// True when the dialog closed with OK.
    bool OnOk();

private:
    const CSettings& m_settings;
    CMachineParams& m_params;
    IDlgMachine& m_machine;
    CDlgPrompts& m_prompts;
    QLineEdit* m_pEdit;
};

} // namespace inkvale
