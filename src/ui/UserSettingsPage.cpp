// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UserSettingsPage.h"

#include "config/Settings.h"
#include "ui/DlgFields.h"
#include "ui/OperatorText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace inkvale {

namespace {

// The cleaning density: the thickness of the cleaning bars printed before a job.
constexpr const char* kDensityName = QT_TRANSLATE_NOOP("inkvale::CUserSettingsPage", "喷头清洗浓度");
constexpr int kDensityMin = 1;
constexpr int kDensityMax = 5;

} // namespace

CUserSettingsPage::CUserSettingsPage(CSysSetContext ctx, QWidget* pParent)
    : CSettingsPage(pParent), m_ctx(ctx), m_pFileType(new QButtonGroup(this)),
      m_pDensity(new QLineEdit(this)), m_pPageCommand(new QComboBox(this)) {
    auto* pGrid = new QGridLayout(this);
    auto* pGroup = new QGroupBox(tr("手动打开时文件过滤"), this);
    auto* pTypes = new QVBoxLayout(pGroup);
    const char* const kTypes[] = {
        QT_TR_NOOP("所有文件(*.*)"), QT_TR_NOOP("HPGL文件(*.p*;*.h*;*.spl)"),
        QT_TR_NOOP("dxf文件(*.dxf)"), QT_TR_NOOP("支持的文件(*.p*;*.h*;*.spl;*.dxf)")};
    for (int i = 0; i < 4; ++i) {
        auto* pRadio = new QRadioButton(tr(kTypes[i]), pGroup);
        m_pFileType->addButton(pRadio, i);
        pTypes->addWidget(pRadio);
    }
    pGrid->addWidget(pGroup, 0, 0, 4, 1);
    const CSettings& s = ctx.m_settings;
    const std::tuple<int, const char*, int32_t> colors[] = {
        {308, QT_TR_NOOP("背景颜色"), s.ColorBg},
        {309, QT_TR_NOOP("坐标和外框颜色"), s.ColorFr},
        {306, QT_TR_NOOP("网格颜色"), s.ColorGrid},
        {310, QT_TR_NOOP("线条颜色"), s.ColorCrv}};
    int nRow = 0;
    for (const auto& [nId, psz, nColor] : colors) {
        m_buttons[nId] = new QPushButton(tr(psz), this);
        m_colors[nId] = nColor;
        ShowColor(nId);
        pGrid->addWidget(m_buttons[nId], nRow++, 1);
        const int nButton = nId;
        connect(m_buttons[nId], &QPushButton::clicked, this,
                [this, nButton] { ChooseColor(nButton); });
    }
    const std::tuple<int, const char*, int32_t> checks[] = {
        {259, QT_TR_NOOP("文件添加到列表后自动预览"), s.AutoPreview},
        {247, QT_TR_NOOP("自动删除份数为0的项"), s.AutoDelFinish},
        {245, QT_TR_NOOP("在图形结尾打印文件名"), s.PrintFileName},
        {243, QT_TR_NOOP("打印开始前清洗喷头"), s.SpAutoClean}};
    for (const auto& [nId, psz, nValue] : checks) {
        m_checks[nId] = new QCheckBox(tr(psz), this);
        m_checks[nId]->setChecked(nValue != 0);
        pGrid->addWidget(m_checks[nId], nRow++, 0);
    }
    m_pDensityLabel = new QLabel(RangeLabel(tr(kDensityName), kDensityMin, kDensityMax), this);
    pGrid->addWidget(m_pDensityLabel, nRow, 0);
    pGrid->addWidget(m_pDensity, nRow++, 1);
    pGrid->addWidget(new QLabel(tr("分页指令处理方式"), this), nRow, 0);
    pGrid->addWidget(m_pPageCommand, nRow++, 1);
    m_buttons[311] = new QPushButton(tr("应用"), this);
    pGrid->addWidget(m_buttons[311], nRow, 1);

    if (QAbstractButton* pRadio = m_pFileType->button(s.ManualAddFileType))
        pRadio->setChecked(true);
    SetDlgInteger(m_pDensity, s.IBCleanThickness);
    m_pPageCommand->addItem(LanguageText(s.Language, "inkvale::CUserSettingsPage",
                                         QT_TRANSLATE_NOOP("inkvale::CUserSettingsPage", "方式1"),
                                         "Type1"));
    m_pPageCommand->addItem(LanguageText(s.Language, "inkvale::CUserSettingsPage",
                                         QT_TRANSLATE_NOOP("inkvale::CUserSettingsPage", "方式2"),
                                         "Type2"));
    m_pPageCommand->setCurrentIndex(s.PGCmdType == 1 ? 1 : 0);
    connect(m_buttons[311], &QPushButton::clicked, this, [this] { Apply(); });
    WatchChanges();
}

void CUserSettingsPage::ShowColor(int nButton) {
    const int32_t n = m_colors[nButton];
    const QColor color(n & 0xFF, (n >> 8) & 0xFF, (n >> 16) & 0xFF);
    const QColor text = color.lightness() > 128 ? Qt::black : Qt::white;
    m_buttons[nButton]->setStyleSheet(
        QStringLiteral("background-color: %1; color: %2").arg(color.name(), text.name()));
}

void CUserSettingsPage::ChooseColor(int nButton) {
    int32_t nColor = m_colors[nButton];
    if (!m_ctx.m_host.ChooseColor(nColor))
        return;
    m_colors[nButton] = nColor;
    ShowColor(nButton);
    MarkModified();
}

bool CUserSettingsPage::Store() {
    CDlgFieldReader reader(m_ctx.m_prompts);
    const int64_t nDensity = reader.Integer(m_pDensity, tr(kDensityName), kDensityMin, kDensityMax);
    if (!reader.Ok())
        return false;
    CSettings& s = m_ctx.m_settings;
    s.ManualAddFileType = m_pFileType->checkedId() < 0 ? 0 : m_pFileType->checkedId();
    s.SpAutoClean = Check(243)->isChecked() ? 1 : 0;
    s.PrintFileName = Check(245)->isChecked() ? 1 : 0;
    s.AutoDelFinish = Check(247)->isChecked() ? 1 : 0;
    s.AutoPreview = Check(259)->isChecked() ? 1 : 0;
    s.IBCleanThickness = static_cast<int32_t>(nDensity);
    s.ColorBg = m_colors[308];
    s.ColorFr = m_colors[309];
    s.ColorGrid = m_colors[306];
    s.ColorCrv = m_colors[310];
    s.PGCmdType = m_pPageCommand->currentIndex() < 0 ? 0 : m_pPageCommand->currentIndex();
    return true;
}

} // namespace inkvale
