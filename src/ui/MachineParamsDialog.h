// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/MachineParamsFields.h"

#include <QDialog>

#include <functional>
#include <map>
#include <span>
#include <string>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace inkvale {

struct CSettings;
class CMachineParams;
class CDlgPrompts;
class IDlgMachine;

/// The machine parameters dialog "机器设置": head layout, edge adjustment, carriage and
/// cutter fields of the parameter block. Controls carry the numbers of the dialog template
/// (Edit(381) is the position of head 1, Check(254) the first knife, ...).
///
/// Opened with the values of the edit copy; OK checks every field, stores them into the edit
/// copy and, with the machine online, writes the block (and the extended block) to it.
/// With the machine offline every field is read-only and OK only keeps the values on the host.
class CMachineParamsDialog : public QDialog {
    Q_OBJECT
public:
    CMachineParamsDialog(const CSettings& settings, CMachineParams& params, IDlgMachine& machine,
             CDlgPrompts& prompts, QWidget* pParent = nullptr);

    QLineEdit* Edit(int nId) const;
    QCheckBox* Check(int nId) const;
    QComboBox* Combination() const { return m_pCombination; }
    QPushButton* Button(int nId) const;
    QLabel* MaxSpeedLabel() const { return m_pMaxSpeedLabel; }
    /// The label of a number field's row: its name and the range OK enforces.
    QLabel* Label(int nId) const;

    /// OK: checks, stores, writes. False (dialog stays open, nothing stored or sent) when a
    /// field is out of range; true when the dialog closed with OK.
    bool OnOk();
    /// "恢复默认": buffers 80/80, feed step base 57.0, brake 40, speeds 20 and 60.
    void RestoreDefaults();
    /// "截图保存": the dialog as a 16-bit BMP (under a .jpg name) in strFolder; the full
    /// name, or "" when the file could not be created (the message has been shown).
    std::string SaveScreenshot(const std::string& strFolder);

private:
    void BuildControls();
    void LoadFromParams();
    void ApplyEnabling();
    bool Extended() const;
    void StoreKnifeAndInk(bool bExtended);
    void ReportWrites();
    QLineEdit* AddEdit(int nId);
    QCheckBox* AddCheck(int nId, const QString& strText);
    /// The rows of number fields, each with its range, unit and fields.
    static std::span<const CParaRow> Rows();
    /// The row whose first field is nFirstId: its label and fields.
    QLabel* AddFieldRow(QGridLayout* pGrid, int nFirstId);
    QString RowName(const CParaRow& row) const;
    /// The name a refusal gives: the row's, with the part in a row of several.
    QString FieldName(const CParaRow& row, const CParaEdit& edit) const;

    const CSettings& m_settings;
    CMachineParams& m_params;
    IDlgMachine& m_machine;
    CDlgPrompts& m_prompts;
    bool m_bOnline;
    int m_nExtByte140 = 0;
    std::map<int, QLineEdit*> m_edits;
    std::map<int, QCheckBox*> m_checks;
    std::map<int, QPushButton*> m_buttons;
    std::map<int, QLabel*> m_labels;
    QComboBox* m_pCombination = nullptr;
    QLabel* m_pMaxSpeedLabel = nullptr;
};

/// How command 286 ended.
enum class EParaCommandResult {
    Cancelled, ///< the access code prompt was cancelled
    WrongCode, ///< "密码错误" shown
    DialogCancelled,
    DialogOk, ///< the caller saves the settings
};

/// Command 286: the access code, the offline notice, the dialog. fnRun runs the dialog
/// (default: exec()) and returns its result code. In every case but the first two the caller
/// re-fits the preview and redraws the window.
EParaCommandResult RunParaCommand(const CSettings& settings, CMachineParams& params,
                                  IDlgMachine& machine, CDlgPrompts& prompts, QWidget* pParent,
                                  const std::function<int(CMachineParamsDialog&)>& fnRun = {});

} // namespace inkvale
