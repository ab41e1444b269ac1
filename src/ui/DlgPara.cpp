// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DlgPara.h"

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "ui/DlgFields.h"
#include "ui/DlgGetPwd.h"
#include "ui/DlgMachineAccess.h"
#include "ui/DlgPrompts.h"
#include "ui/DlgTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <initializer_list>

namespace inkvale {

namespace {

// Controls of heads 3 and 4: usable only with a combination of three or four heads.
constexpr int kHead34Ids[] = {383, 384, 387, 388, 431, 432};
// Fields of the extended block; without it the machine has none of them.
constexpr int kExtEditIds[] = {444, 440, 441, 442, 443, 427, 504};
constexpr int kExtCheckIds[] = {256, 254, 255};

QString Q(const char* psz) {
    return QString::fromUtf8(psz);
}

// A row of a group: a label followed by the given edits.
void AddRow(QGridLayout* pGrid, const QString& strLabel, std::initializer_list<QWidget*> widgets) {
    const int nRow = pGrid->rowCount();
    pGrid->addWidget(new QLabel(strLabel), nRow, 0);
    int nCol = 1;
    for (QWidget* pWidget : widgets)
        pGrid->addWidget(pWidget, nRow, nCol++);
}

} // namespace

CDlgPara::CDlgPara(const CSettings& settings, CMachineParams& params, IDlgMachine& machine,
                   CDlgPrompts& prompts, QWidget* pParent)
    : QDialog(pParent), m_settings(settings), m_params(params), m_machine(machine),
      m_prompts(prompts), m_bOnline(machine.Online()) {
    setWindowTitle(tr("机器设置"));
    BuildControls();
    LoadFromParams();
    ApplyEnabling();
}

QLineEdit* CDlgPara::AddEdit(int nId) {
    auto* pEdit = new QLineEdit(this);
    pEdit->setObjectName(QString::number(nId));
    pEdit->setMaximumWidth(70);
    m_edits[nId] = pEdit;
    return pEdit;
}

QCheckBox* CDlgPara::AddCheck(int nId, const QString& strText) {
    auto* pCheck = new QCheckBox(strText, this);
    m_checks[nId] = pCheck;
    return pCheck;
}

void CDlgPara::BuildControls() {
    m_pCombination = new QComboBox(this);
    for (const std::string& str : HeadCombinationEntries(m_settings.Language, Extended()))
        m_pCombination->addItem(QString::fromStdString(str));

    auto* pHeads = new QGroupBox(tr("喷头参数"), this);
    auto* pGrid = new QGridLayout(pHeads);
    AddRow(pGrid, tr("喷头组合："), {m_pCombination});
    AddRow(pGrid, tr("喷头之间X向重合点数(0~10)  1#2#之间 / 2#3#之间 / 3#4#之间"),
           {AddEdit(430), AddEdit(431), AddEdit(432)});
    AddRow(pGrid, tr("喷头位置(0~1000Pix)  喷头1..喷头4"),
           {AddEdit(381), AddEdit(382), AddEdit(383), AddEdit(384)});
    AddRow(pGrid, tr("回来接线(0~40Pix)"),
           {AddEdit(385), AddEdit(386), AddEdit(387), AddEdit(388)});
    AddRow(pGrid, tr("点火脉宽(18~25微秒)"), {AddEdit(426)});
    AddRow(pGrid, tr("喷头左右两列间距(pix)"), {AddEdit(427)});
    AddRow(pGrid, QString(),
           {AddCheck(242, tr("双向打印")), AddCheck(253, tr("平板打印（打完回纸）"))});
    AddRow(pGrid, QString(),
           {AddCheck(257, tr("左列出墨")), AddCheck(258, tr("右列出墨")),
            AddCheck(256, tr("精打模式"))});

    auto* pEdges = new QGroupBox(tr("边线调整"), this);
    auto* pEdgeGrid = new QGridLayout(pEdges);
    AddRow(pEdgeGrid, tr("缓冲距离(10~80mm)  左 / 右"), {AddEdit(424), AddEdit(425)});
    AddRow(pEdgeGrid, tr("边距(10~250mm)"), {AddEdit(445), AddEdit(446)});
    AddRow(pEdgeGrid, tr("边线调整(-5~5像素)"), {AddEdit(447), AddEdit(448)});

    auto* pMech = new QGroupBox(tr("机械参数"), this);
    auto* pMechGrid = new QGridLayout(pMech);
    AddRow(pMechGrid, tr("小车行程限制(500~3500mm)"), {AddEdit(414)});
    AddRow(pMechGrid, tr("走纸轴步长基准"), {AddEdit(500)});
    AddRow(pMechGrid, tr("刹车距离(15~60mm)"), {AddEdit(503)});
    AddRow(pMechGrid, tr("小车起始速度(10~30)"), {AddEdit(501)});
    m_pMaxSpeedLabel = new QLabel(this);
    m_pMaxSpeedLabel->setText(m_settings.Language == 1 ? Q("Max Pwm(20~85)")
                                                       : tr("小车最大速度(20~85)"));
    pMechGrid->addWidget(m_pMaxSpeedLabel, pMechGrid->rowCount(), 0);
    pMechGrid->addWidget(AddEdit(502), pMechGrid->rowCount() - 1, 1);
    AddRow(pMechGrid, tr("进退纸速度(1~5)"), {AddEdit(504)});

    auto* pCutter = new QGroupBox(tr("裁断功能"), this);
    auto* pCutGrid = new QGridLayout(pCutter);
    AddRow(pCutGrid, tr("裁断刀压"), {AddEdit(444)});
    AddRow(pCutGrid, QString(), {AddCheck(254, tr("第1刀")), AddCheck(255, tr("第2刀"))});
    AddRow(pCutGrid, tr("第1刀 起点 / 终点 (mm)"), {AddEdit(440), AddEdit(441)});
    AddRow(pCutGrid, tr("第2刀 起点 / 终点 (mm)"), {AddEdit(442), AddEdit(443)});

    auto* pButtons = new QHBoxLayout;
    const std::pair<int, const char*> buttons[] = {{298, QT_TR_NOOP("恢复默认")},
                                                   {303, QT_TR_NOOP("截图保存")},
                                                   {1, QT_TR_NOOP("确定")},
                                                   {2, QT_TR_NOOP("取消")}};
    for (const auto& [nId, pszText] : buttons) {
        auto* pButton = new QPushButton(tr(pszText), this);
        pButton->setAutoDefault(false);
        m_buttons[nId] = pButton;
        pButtons->addWidget(pButton);
    }
    m_buttons[1]->setDefault(true);
    connect(m_buttons[298], &QPushButton::clicked, this, [this] { RestoreDefaults(); });
    connect(m_buttons[303], &QPushButton::clicked, this, [this] { SaveScreenshot(""); });
    connect(m_buttons[1], &QPushButton::clicked, this, [this] { OnOk(); });
    connect(m_buttons[2], &QPushButton::clicked, this, &QDialog::reject);
    connect(m_pCombination, &QComboBox::currentIndexChanged, this, [this] { ApplyEnabling(); });

    auto* pColumns = new QHBoxLayout;
    auto* pLeft = new QVBoxLayout;
    pLeft->addWidget(pHeads);
    pLeft->addWidget(pEdges);
    auto* pRight = new QVBoxLayout;
    pRight->addWidget(pMech);
    pRight->addWidget(pCutter);
    pColumns->addLayout(pLeft);
    pColumns->addLayout(pRight);
    auto* pMain = new QVBoxLayout(this);
    pMain->addLayout(pColumns);
    pMain->addLayout(pButtons);
}

QLineEdit* CDlgPara::Edit(int nId) const {
    const auto it = m_edits.find(nId);
    return it == m_edits.end() ? nullptr : it->second;
}

QCheckBox* CDlgPara::Check(int nId) const {
    const auto it = m_checks.find(nId);
    return it == m_checks.end() ? nullptr : it->second;
}

QPushButton* CDlgPara::Button(int nId) const {
    const auto it = m_buttons.find(nId);
    return it == m_buttons.end() ? nullptr : it->second;
}

bool CDlgPara::Extended() const {
    return m_params.ExtFlag() == CMachineParams::kExtPresent;
}

void CDlgPara::LoadFromParams() {
    CMachineParams& p = m_params;
    // Heads 3 and 4 of a machine without them may carry junk; the dialog starts them at 0.
    for (int i = 2; i < 4; ++i) {
        if (p.ReturnJoin(i) > 40)
            p.SetReturnJoin(i, 0);
    }
    m_pCombination->setCurrentIndex(
        p.HeadCombination() < m_pCombination->count() ? p.HeadCombination() : -1);
    SetDlgNumber(Edit(500), p.FeedStepBase() / 1000.0);
    for (int i = 0; i < 3; ++i)
        SetDlgInteger(Edit(430 + i), p.HeadOverlap(i));
    for (int i = 0; i < 4; ++i) {
        SetDlgInteger(Edit(381 + i), p.HeadPos(i));
        SetDlgInteger(Edit(385 + i), p.ReturnJoin(i));
        const int nKnife = p.KnifePos(i);
        SetDlgInteger(Edit(440 + i), nKnife > CMachineParams::kKnifeMaxMm ? 0 : nKnife);
    }
    const std::pair<int, int> plain[] = {
        {426, p.FirePulseUs()},     {427, p.ColumnSpacing()},      {424, p.BufferLeftMm()},
        {425, p.BufferRightMm()},   {445, p.MarginLeftMm()},       {446, p.MarginRightMm()},
        {447, p.EdgeAdjustLeft()},  {448, p.EdgeAdjustRight()},    {414, p.CarriageTravelMm()},
        {503, p.BrakeDistanceMm()}, {501, p.CarriageStartSpeed()}, {502, p.CarriageMaxSpeed()},
        {504, p.FeedSpeed()},       {444, p.CutterPressure()}};
    for (const auto& [nId, nValue] : plain)
        SetDlgInteger(Edit(nId), nValue);
    Check(242)->setChecked(p.Bidirectional() != 0);
    Check(253)->setChecked(p.FlatbedMode() != 0);
    Check(256)->setChecked(p.PreciseMode() != 0);
    Check(257)->setChecked(p.InkColumns() != 2);
    Check(258)->setChecked(p.InkColumns() != 1);
    Check(254)->setChecked(p.KnifeMode() == 1 || p.KnifeMode() == 2);
    Check(255)->setChecked(p.KnifeMode() == 2);
    m_nExtByte140 = p.ExtByte140();
}

void CDlgPara::ApplyEnabling() {
    for (auto& [nId, pEdit] : m_edits)
        pEdit->setEnabled(m_bOnline);
    for (auto& [nId, pCheck] : m_checks)
        pCheck->setEnabled(m_bOnline);
    m_pCombination->setEnabled(m_bOnline);
    if (!m_bOnline)
        return;
    const bool bHeads34 = m_pCombination->currentIndex() > 2;
    for (int nId : kHead34Ids)
        Edit(nId)->setEnabled(bHeads34);
    if (!Extended()) {
        for (int nId : kExtEditIds)
            Edit(nId)->setEnabled(false);
        for (int nId : kExtCheckIds)
            Check(nId)->setEnabled(false);
    }
}

void CDlgPara::RestoreDefaults() {
    SetDlgInteger(Edit(424), 80);
    SetDlgInteger(Edit(425), 80);
    SetDlgNumber(Edit(500), 57.0);
    SetDlgInteger(Edit(503), 40);
    SetDlgInteger(Edit(501), 20);
    SetDlgInteger(Edit(502), 60);
}

} // namespace inkvale
