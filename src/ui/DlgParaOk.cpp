// SPDX-License-Identifier: GPL-3.0-or-later
// OK of the machine parameters dialog, the screenshot and command 286.
#include "config/MachineParams.h"
#include "config/Settings.h"
#include "ui/DlgFields.h"
#include "ui/DlgGetPwd.h"
#include "ui/DlgMachineAccess.h"
#include "ui/DlgPara.h"
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

namespace {

// One whole-number field of the dialog: control, accepted range, where it goes.
struct CIntField {
    int m_nId;
    int64_t m_nMin;
    int64_t m_nMax;
    const char* m_pszField; // name in the parameter block
    int m_nIndex;
    bool m_bExtended; // a field of the extended block
};

// Fields without a range of their own are held to what their byte(s) can store, so a large
// entry is refused instead of being cut to a different value.
constexpr CIntField kIntFields[] = {
    {430, 0, 10, "HeadOverlap", 0, false},
    {431, 0, 10, "HeadOverlap", 1, false},
    {432, 0, 10, "HeadOverlap", 2, false},
    {381, 0, 1000, "HeadPos", 0, false},
    {382, 0, 1000, "HeadPos", 1, false},
    {383, 0, 1000, "HeadPos", 2, false},
    {384, 0, 1000, "HeadPos", 3, false},
    {385, 0, 40, "ReturnJoin", 0, false},
    {386, 0, 40, "ReturnJoin", 1, false},
    {387, 0, 40, "ReturnJoin", 2, false},
    {388, 0, 40, "ReturnJoin", 3, false},
    {426, 18, 25, "FirePulseUs", 0, false},
    {424, 10, 80, "BufferLeftMm", 0, false},
    {425, 10, 80, "BufferRightMm", 0, false},
    {445, 10, 250, "MarginLeftMm", 0, false},
    {446, 10, 250, "MarginRightMm", 0, false},
    {447, -5, 5, "EdgeAdjustLeft", 0, false},
    {448, -5, 5, "EdgeAdjustRight", 0, false},
    {414, 500, 4000, "CarriageTravelMm", 0, false},
    {503, 0, 255, "BrakeDistanceMm", 0, false},
    {501, 10, 40, "CarriageStartSpeed", 0, false},
    {502, 20, 85, "CarriageMaxSpeed", 0, false},
    {427, 20, 32, "ColumnSpacing", 0, true},
    {504, 1, 5, "FeedSpeed", 0, true},
    {444, 0, 100, "CutterPressure", 0, true},
    {440, 0, 3000, "KnifePos", 0, true},
    {441, 0, 3000, "KnifePos", 1, true},
    {442, 0, 3000, "KnifePos", 2, true},
    {443, 0, 3000, "KnifePos", 3, true},
};

} // namespace

bool CDlgPara::OnOk() {
    const bool bExtended = Extended();
    CDlgFieldReader reader(m_prompts);
    std::vector<int64_t> values;
    for (const CIntField& f : kIntFields) {
        // The extended fields are disabled and not sent without the extended block.
        values.push_back(
            f.m_bExtended && !bExtended ? 0 : reader.Integer(Edit(f.m_nId), f.m_nMin, f.m_nMax));
    }
    const double dFeedStep = reader.Number(Edit(500), 30.0, 200.0);
    if (!reader.Ok())
        return false;

    for (size_t i = 0; i < std::size(kIntFields); ++i) {
        const CIntField& f = kIntFields[i];
        if (!f.m_bExtended || bExtended)
            m_params.SetField(*FindParamField(f.m_pszField), values[i], f.m_nIndex);
    }
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

void CDlgPara::StoreKnifeAndInk(bool bExtended) {
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

void CDlgPara::ReportWrites() {
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

std::string CDlgPara::SaveScreenshot(const std::string& strFolder) {
    return SaveDialogScreenshot(*this, m_settings.Language, strFolder, m_prompts);
}

EParaCommandResult RunParaCommand(const CSettings& settings, CMachineParams& params,
                                  IDlgMachine& machine, CDlgPrompts& prompts, QWidget* pParent,
                                  const std::function<int(CDlgPara&)>& fnRun) {
    std::string strCode;
    if (!prompts.AskAccessCode(strCode))
        return EParaCommandResult::Cancelled;
    if (!IsParaAccessCode(strCode)) {
        prompts.ShowMessage("密码错误");
        return EParaCommandResult::WrongCode;
    }
    if (!machine.Online())
        prompts.ShowMessage(OfflineOpenNotice(settings.Language));
    CDlgPara dlg(settings, params, machine, prompts, pParent);
    const int nResult = fnRun ? fnRun(dlg) : dlg.exec();
    return nResult == QDialog::Accepted ? EParaCommandResult::DialogOk
                                        : EParaCommandResult::DialogCancelled;
}

} // namespace inkvale
