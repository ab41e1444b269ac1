// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MachineAddressDialog.h"

#include "config/MachineParams.h"
#include "ui/DlgMachineAccess.h"
#include "ui/DlgPrompts.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace inkvale {

CMachineAddressDialog::CMachineAddressDialog(CMachineParams& params, IDlgMachine& machine, CDlgPrompts& prompts,
                       QWidget* pParent)
    : QDialog(pParent), m_params(params), m_machine(machine), m_prompts(prompts) {
    setWindowTitle(tr("网络设置"));
    auto* pRow = new QHBoxLayout;
    pRow->addWidget(new QLabel(tr("绘图仪IP"), this));
    for (size_t i = 0; i < m_arrOctets.size(); ++i) {
        m_arrOctets[i] = new QSpinBox(this);
        m_arrOctets[i]->setRange(0, 255);
        m_arrOctets[i]->setButtonSymbols(QAbstractSpinBox::NoButtons);
        pRow->addWidget(m_arrOctets[i]);
        if (i < 3)
            pRow->addWidget(new QLabel(QStringLiteral("."), this));
    }
    SetAddress(params.MachineIP());
    auto* pHint1 =
        new QLabel(tr("提示1：将绘图仪IP的前3段和电脑IP前3段的数字设置成一样才能正常联机"), this);
    auto* pHint2 = new QLabel(
        tr("提示2：开机时按住“暂停/启动键”3秒，机器IP会恢复为默认值 (192.168.1.175)"), this);
    pHint1->setWordWrap(true);
    pHint2->setWordWrap(true);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    pButtons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    pButtons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(pButtons, &QDialogButtonBox::accepted, this, [this] { OnOk(); });
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pRow);
    pLayout->addWidget(pHint1);
    pLayout->addWidget(pHint2);
    pLayout->addWidget(pButtons);
}

void CMachineAddressDialog::SetAddress(uint32_t nIP) {
    for (size_t i = 0; i < m_arrOctets.size(); ++i)
        m_arrOctets[i]->setValue(static_cast<int>((nIP >> (8 * i)) & 0xFF));
}

uint32_t CMachineAddressDialog::Address() const {
    uint32_t nIP = 0;
    for (size_t i = 0; i < m_arrOctets.size(); ++i)
        nIP |= static_cast<uint32_t>(m_arrOctets[i]->value() & 0xFF) << (8 * i);
    return nIP;
}

void CMachineAddressDialog::OnOk() {
    const uint32_t nIP = Address();
    if (!m_machine.Online()) {
        m_params.SetMachineIP(nIP);
    } else {
        const uint8_t bytes[4] = {static_cast<uint8_t>(nIP), static_cast<uint8_t>(nIP >> 8),
                                  static_cast<uint8_t>(nIP >> 16), static_cast<uint8_t>(nIP >> 24)};
        if (m_machine.WriteRegs(4, 4, bytes) != 0) {
            m_prompts.ShowMessage("IP保存失败");
        } else {
            // The open connection still goes to the old address: drop it, then switch.
            m_machine.CloseEthLink();
            m_machine.SleepMs(200);
            m_params.SetMachineIP(nIP);
        }
    }
    accept();
}

} // namespace inkvale
