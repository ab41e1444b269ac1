// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HpglUnitDialog.h"

#include "config/Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace inkvale {

std::vector<std::string> PltUnitItems(int nLanguage) {
    switch (nLanguage) {
    case 0:
        return {"1-0.0250mm(常规)", "2-0.0254mm(专用)", "3-自动识别", "4-0.01mm(专用)"};
    case 4:
        return {"1-0.0250mm", "2-0.0254mm", "3-Авто Визнач.", "4-0.01mm"};
    case 5:
        return {"1-0.0250mm", "2-0.0254mm", "3-Авто Определ.", "4-0.01mm"};
    default:
        return {"1-0.0250mm", "2-0.0254mm", "3-Auto Detect", "4-0.01mm"};
    }
}

CHpglUnitDialog::CHpglUnitDialog(CSettings& settings, QWidget* pParent)
    : QDialog(pParent), m_settings(settings), m_pUnits(new QComboBox(this)),
      m_pNoHint(new QCheckBox(tr("下次打开plt时不弹出此对话框"), this)) {
    setWindowTitle(tr("plt文件单位"));
    for (const std::string& str : PltUnitItems(settings.Language))
        m_pUnits->addItem(QString::fromStdString(str));
    m_pUnits->setCurrentIndex(
        settings.PltFileUnit >= 0 && settings.PltFileUnit < 4 ? settings.PltFileUnit : 0);
    m_pNoHint->setChecked(settings.UnitNoHintNextTime != 0);
    // Most CAD programs write 1/40 mm per unit; a few use 1 mil (0.0254 mm).
    auto* pHint = new QLabel(
        settings.Language == 0
            ? QStringLiteral("大多数CAD软件输出的plt文件单位为0.0250mm（每毫米40单位），"
                             "个别软件使用1 mil = 0.0254mm。新的单位对之后打开的图形生效。")
            : QStringLiteral("Most CAD programs write HP-GL in units of 0.0250 mm (40 per mm); "
                             "some use 1 mil = 0.0254 mm. A new unit applies to drawings "
                             "loaded afterwards."),
        this);
    pHint->setWordWrap(true);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    pButtons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    pButtons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(pButtons, &QDialogButtonBox::accepted, this, [this] { OnOk(); });
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(new QLabel(tr("绘图单位"), this));
    pLayout->addWidget(m_pUnits);
    pLayout->addWidget(m_pNoHint);
    pLayout->addWidget(pHint);
    pLayout->addWidget(pButtons);
}

void CHpglUnitDialog::OnOk() {
    m_settings.PltFileUnit = m_pUnits->currentIndex() < 0 ? 0 : m_pUnits->currentIndex();
    m_settings.UnitNoHintNextTime = m_pNoHint->isChecked() ? 1 : 0;
    accept();
}

} // namespace inkvale
