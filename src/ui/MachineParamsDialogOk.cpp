// SPDX-License-Identifier: GPL-3.0-or-later
// OK of the machine parameters dialog, the screenshot and command 286.
#include "config/MachineParams.h"
#include "config/Settings.h"
#include "ui/DlgFields.h"
#include "ui/PasswordDialog.h"
#include "ui/DlgMachineAccess.h"
#include "ui/MachineParamsDialog.h"
#include "ui/DlgPrompts.h"
#include "ui/DlgScreenshot.h"
#include "ui/DlgTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <algorithm>
#include <cmath>
#include <vector>

namespace inkvale {

bool CMachineParamsDialog::OnOk() {
    const bool bExtended = Extended();
    CDlgFieldReader reader(m_prompts);
    struct CRead {
        const CParaEdit* m_pEdit;
        int64_t m_nValue;
    };
    std::vector<CRead> values;
    double dFeedStep = 0;
    for (const CParaRow& row : Rows()) {
        // The extended fields are disabled and not sent without the extended block.
        if (row.m_bExtended && !bExtended)
            continue;
        for (const CParaEdit& edit : row.m_edits) {
            if (edit.m_nId == 0)
                break;
            const QString strName = FieldName(row, edit);
            if (row.m_bDecimal) {
                dFeedStep = reader.Number(Edit(edit.m_nId), strName, row.m_dMin, row.m_dMax);
                continue;
            }
            values.push_back(
                {&edit, reader.Integer(Edit(edit.m_nId), strName, static_cast<int64_t>(row.m_dMin),
                                       static_cast<int64_t>(row.m_dMax))});
        }
    }
    if (!reader.Ok())
        return false;

    for (const CRead& read : values)
        m_params.SetField(*FindParamField(read.m_pEdit->m_pszParam), read.m_nValue,
                          read.m_pEdit->m_nIndex);
    // Entries such as 57.3 are 57.29999... in binary: the nudge keeps the typed thousandths.
    m_params.SetFeedStepBase(static_cast<uint32_t>(std::trunc(dFeedStep * 1000.0 + 1e-6)));
    m_params.SetParamTag61(4);
    m_params.SetXDotsPerMetre(24612);
    m_params.SetHeadCombination(static_cast<uint8_t>(std::max(0, m_pCombination->currentIndex())));
    m_params.SetBidirectional(Check(242)->isChecked() ? 1 : 0);
    m_params.SetFlatbedMode(Check(253)->isChecked() ? 1 : 0);
    StoreKnifeAndInk(bExtended);
    ReportWrites();
    accept();
    return true;
}

void CMachineParamsDialog::StoreKnifeAndInk(bool bExtended) {
    const bool bKnife1 = Check(254)->isChecked();
    const bool bKnife2 = Check(255)->isChecked();
    int nKnifeMode = 0;
    if (bKnife1 && bKnife2)
        nKnifeMode = 2;
    else if (bKnife1)
        nKnifeMode = 1;
    else {
        Check(254)->setChecked(false);
        Check(255)->setChecked(false);
    }
    if (!bExtended) {
        m_params.SetKnifeMode(0);
        m_params.SetPreciseMode(0);
        m_params.SetInkColumns(0);
        return;
    }
    m_params.SetKnifeMode(static_cast<uint8_t>(nKnifeMode));
    m_params.SetExtByte140(static_cast<uint8_t>(m_nExtByte140));
    m_params.SetPreciseMode(Check(256)->isChecked() ? 1 : 0);
    const bool bLeft = Check(257)->isChecked();
    const bool bRight = Check(258)->isChecked();
    m_params.SetInkColumns(bLeft && !bRight ? 1 : (bRight && !bLeft ? 2 : 0));
}

void CMachineParamsDialog::ReportWrites() {
    if (!m_machine.Online()) {
        m_prompts.ShowMessage(OfflineSaveNotice(m_settings.Language));
        return;
    }
    if (WriteParams(m_machine, m_params) != 0)
        m_prompts.ShowMessage(kParamSaveFailed);
    if (Extended()) {
        m_machine.SleepMs(1000);
        if (WriteExtParams(m_machine, m_params) != 0)
            m_prompts.ShowMessage(kExtParamSaveFailed);
    }
}

std::string CMachineParamsDialog::SaveScreenshot(const std::string& strFolder) {
    return SaveDialogScreenshot(*this, m_settings.Language, strFolder, m_prompts);
}

EParaCommandResult RunParaCommand(const CSettings& settings, CMachineParams& params,
                                  IDlgMachine& machine, CDlgPrompts& prompts, QWidget* pParent,
                                  const std::function<int(CMachineParamsDialog&)>& fnRun) {
    std::string strCode;
    if (!prompts.AskAccessCode(strCode))
        return EParaCommandResult::Cancelled;
    if (!IsParaAccessCode(strCode)) {
        prompts.ShowMessage("密码错误");
        return EParaCommandResult::WrongCode;
    }
    if (!machine.Online())
        prompts.ShowMessage(OfflineOpenNotice(settings.Language));
    CMachineParamsDialog dlg(settings, params, machine, prompts, pParent);
    const int nResult = fnRun ? fnRun(dlg) : dlg.exec();
    return nResult == QDialog::Accepted ? EParaCommandResult::DialogOk
                                        : EParaCommandResult::DialogCancelled;
}

} // namespace inkvale
