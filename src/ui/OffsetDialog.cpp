// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/OffsetDialog.h"

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "ui/DlgFields.h"
#include "ui/DlgMachineAccess.h"
#include "ui/DlgPrompts.h"
#include "ui/DlgTexts.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace inkvale {

COffsetDialog::COffsetDialog(const CSettings& settings, CMachineParams& params,
                             IDlgMachine& machine, CDlgPrompts& prompts, QWidget* pParent)
    : QDialog(pParent), m_settings(settings), m_params(params), m_machine(machine),
      m_prompts(prompts), m_pEdit(new QLineEdit(this)) {
    setWindowTitle(tr("左偏移设定"));
    SetDlgInteger(m_pEdit, params.LeftOffsetMm());
    auto* pRow = new QHBoxLayout;
    pRow->addWidget(new QLabel(tr("左偏移") + QStringLiteral(":"), this));
    pRow->addWidget(m_pEdit);
    pRow->addWidget(new QLabel(QStringLiteral("mm"), this));
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    pButtons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    pButtons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(pButtons, &QDialogButtonBox::accepted, this, [this] { OnOk(); });
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pRow);
    pLayout->addWidget(pButtons);
}

bool COffsetDialog::OnOk() {
    CDlgFieldReader reader(m_prompts);
    const int64_t nOffset = reader.Integer(m_pEdit, tr("左偏移"), 0, 65535);
    if (!reader.Ok())
        return false;
    m_params.SetLeftOffsetMm(static_cast<uint16_t>(nOffset));
    if (m_machine.Online()) {
        if (WriteParams(m_machine, m_params) != 0)
            m_prompts.ShowMessage(kParamSaveFailed);
    } else {
        const std::string strNotice = OfflineOffsetNotice(m_settings.Language);
        if (!strNotice.empty())
            m_prompts.ShowMessage(strNotice);
    }
    accept();
    return true;
}

} // namespace inkvale
