// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MachineParamsDialog.h"

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "ui/DlgFields.h"
#include "ui/PasswordDialog.h"
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
#include <QStringList>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <span>

namespace inkvale {

namespace {

// Controls of heads 3 and 4: usable only with a combination of three or four heads.
constexpr int kHead34Ids[] = {383, 384, 387, 388, 431, 432};
// Check boxes of the extended block; without it the machine has none of them.
constexpr int kExtCheckIds[] = {256, 254, 255};

// A row of a group: a label followed by the given edits.
void AddRow(QGridLayout* pGrid, const QString& strLabel, std::initializer_list<QWidget*> widgets) {
    const int nRow = pGrid->rowCount();
    pGrid->addWidget(new QLabel(strLabel), nRow, 0);
    int nCol = 1;
    for (QWidget* pWidget : widgets)
        pGrid->addWidget(pWidget, nRow, nCol++);
}

} // namespace

CMachineParamsDialog::CMachineParamsDialog(const CSettings& settings, CMachineParams& params, IDlgMachine& machine,
                   CDlgPrompts& prompts, QWidget* pParent)
    : QDialog(pParent), m_settings(settings), m_params(params), m_machine(machine),
      m_prompts(prompts), m_bOnline(machine.Online()) {
    setWindowTitle(tr("机器设置"));
    BuildControls();
    LoadFromParams();
    ApplyEnabling();
}

QLineEdit* CMachineParamsDialog::AddEdit(int nId) {
    auto* pEdit = new QLineEdit(this);
    pEdit->setObjectName(QString::number(nId));
    pEdit->setMaximumWidth(70);
    m_edits[nId] = pEdit;
    return pEdit;
}

QCheckBox* CMachineParamsDialog::AddCheck(int nId, const QString& strText) {
    auto* pCheck = new QCheckBox(strText, this);
    m_checks[nId] = pCheck;
    return pCheck;
}

void CMachineParamsDialog::BuildControls() {
    m_pCombination = new QComboBox(this);
    for (const std::string& str : HeadCombinationEntries(m_settings.Language, Extended()))
        m_pCombination->addItem(QString::fromStdString(str));

    auto* pHeads = new QGroupBox(tr("喷头参数"), this);
    auto* pGrid = new QGridLayout(pHeads);
    AddRow(pGrid, tr("喷头组合："), {m_pCombination});
    AddFieldRow(pGrid, 430);
    AddFieldRow(pGrid, 381);
    AddFieldRow(pGrid, 385);
    AddFieldRow(pGrid, 426);
    AddFieldRow(pGrid, 427);
    AddRow(pGrid, QString(),
           {AddCheck(242, tr("双向打印")), AddCheck(253, tr("平板打印（打完回纸）"))});
    AddRow(pGrid, QString(),
           {AddCheck(257, tr("左列出墨")), AddCheck(258, tr("右列出墨")),
            AddCheck(256, tr("精打模式"))});

    auto* pEdges = new QGroupBox(tr("边线调整"), this);
    auto* pEdgeGrid = new QGridLayout(pEdges);
    AddFieldRow(pEdgeGrid, 424);
    AddFieldRow(pEdgeGrid, 445);
    AddFieldRow(pEdgeGrid, 447);

    auto* pMech = new QGroupBox(tr("机械参数"), this);
    auto* pMechGrid = new QGridLayout(pMech);
    AddFieldRow(pMechGrid, 414);
    AddFieldRow(pMechGrid, 500);
    AddFieldRow(pMechGrid, 503);
    AddFieldRow(pMechGrid, 501);
    m_pMaxSpeedLabel = AddFieldRow(pMechGrid, 502);
    AddFieldRow(pMechGrid, 504);

    auto* pCutter = new QGroupBox(tr("裁断功能"), this);
    auto* pCutGrid = new QGridLayout(pCutter);
    AddFieldRow(pCutGrid, 444);
    AddRow(pCutGrid, QString(), {AddCheck(254, tr("第1刀")), AddCheck(255, tr("第2刀"))});
    AddFieldRow(pCutGrid, 440);
    AddFieldRow(pCutGrid, 442);

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

// In the order of the dialog, top to bottom, so OK refuses the topmost bad field first. Fields
// the machine gives no range for are held to what their byte(s) can store, so a large entry
// is refused instead of being cut to a different value.
std::span<const CParaRow> CMachineParamsDialog::Rows() {
    static constexpr const char* kHeads[] = {QT_TR_NOOP("喷头1"), QT_TR_NOOP("喷头2"),
                                             QT_TR_NOOP("喷头3"), QT_TR_NOOP("喷头4")};
    static constexpr const char* kLeft = QT_TR_NOOP("左");
    static constexpr const char* kRight = QT_TR_NOOP("右");
    static constexpr const char* kStart = QT_TR_NOOP("起点");
    static constexpr const char* kEnd = QT_TR_NOOP("终点");
    static constexpr const char* kPix = QT_TR_NOOP("Pix");
    static constexpr const char* kMm = QT_TR_NOOP("mm");
    // clang-format off
    static constexpr CParaRow kRows[] = {
        {QT_TR_NOOP("喷头之间X向重合点数"), "", 0, 10, false, false,
         {{{430, "HeadOverlap", 0, QT_TR_NOOP("1#2#之间")},
           {431, "HeadOverlap", 1, QT_TR_NOOP("2#3#之间")},
           {432, "HeadOverlap", 2, QT_TR_NOOP("3#4#之间")}}}},
        {QT_TR_NOOP("喷头位置"), kPix, 0, 1000, false, false,
         {{{381, "HeadPos", 0, kHeads[0]}, {382, "HeadPos", 1, kHeads[1]},
           {383, "HeadPos", 2, kHeads[2]}, {384, "HeadPos", 3, kHeads[3]}}}},
        {QT_TR_NOOP("回来接线"), kPix, 0, 40, false, false,
         {{{385, "ReturnJoin", 0, kHeads[0]}, {386, "ReturnJoin", 1, kHeads[1]},
           {387, "ReturnJoin", 2, kHeads[2]}, {388, "ReturnJoin", 3, kHeads[3]}}}},
        {QT_TR_NOOP("点火脉宽"), QT_TR_NOOP("微秒"), 18, 25, false, false, {{{426, "FirePulseUs"}}}},
        {QT_TR_NOOP("喷头左右两列间距"), kPix, 20, 32, false, true, {{{427, "ColumnSpacing"}}}},
        {QT_TR_NOOP("缓冲距离"), kMm, 10, 80, false, false,
         {{{424, "BufferLeftMm", 0, kLeft}, {425, "BufferRightMm", 0, kRight}}}},
        {QT_TR_NOOP("边距"), kMm, 10, 250, false, false,
         {{{445, "MarginLeftMm", 0, kLeft}, {446, "MarginRightMm", 0, kRight}}}},
        {QT_TR_NOOP("边线调整"), QT_TR_NOOP("像素"), -5, 5, false, false,
         {{{447, "EdgeAdjustLeft", 0, kLeft}, {448, "EdgeAdjustRight", 0, kRight}}}},
        {QT_TR_NOOP("小车行程限制"), kMm, 500, 4000, false, false, {{{414, "CarriageTravelMm"}}}},
        // Feed steps per mm, kept to the thousandth.
        {QT_TR_NOOP("走纸轴步长基准"), "", 30, 200, true, false, {{{500}}}},
        {QT_TR_NOOP("刹车距离"), kMm, 15, 60, false, false, {{{503, "BrakeDistanceMm"}}}},
        {QT_TR_NOOP("小车起始速度"), "", 10, 40, false, false, {{{501, "CarriageStartSpeed"}}}},
        {QT_TR_NOOP("小车最大速度"), "", 20, 85, false, false, {{{502, "CarriageMaxSpeed"}}}},
        {QT_TR_NOOP("进退纸速度"), "", 1, 5, false, true, {{{504, "FeedSpeed"}}}},
        {QT_TR_NOOP("裁断刀压"), "", 0, 100, false, true, {{{444, "CutterPressure"}}}},
        {QT_TR_NOOP("第1刀"), kMm, 0, 3000, false, true,
         {{{440, "KnifePos", 0, kStart}, {441, "KnifePos", 1, kEnd}}}},
        {QT_TR_NOOP("第2刀"), kMm, 0, 3000, false, true,
         {{{442, "KnifePos", 2, kStart}, {443, "KnifePos", 3, kEnd}}}},
    };
    // clang-format on
    return kRows;
}

QLabel* CMachineParamsDialog::AddFieldRow(QGridLayout* pGrid, int nFirstId) {
    const std::span<const CParaRow> rows = Rows();
    const auto it = std::find_if(rows.begin(), rows.end(), [nFirstId](const CParaRow& row) {
        return row.m_edits[0].m_nId == nFirstId;
    });
    Q_ASSERT(it != rows.end());
    const CParaRow& row = *it;
    QString strLabel = RangeLabel(RowName(row), row.m_dMin, row.m_dMax,
                                  *row.m_pszUnit ? tr(row.m_pszUnit) : QString());
    QStringList parts;
    const int nRow = pGrid->rowCount();
    int nCol = 1;
    for (const CParaEdit& edit : row.m_edits) {
        if (edit.m_nId == 0)
            break;
        pGrid->addWidget(AddEdit(edit.m_nId), nRow, nCol++);
        if (edit.m_pszPart != nullptr)
            parts << tr(edit.m_pszPart);
    }
    if (!parts.isEmpty())
        strLabel += QStringLiteral("  ") + parts.join(QStringLiteral(" / "));
    auto* pLabel = new QLabel(strLabel, this);
    pGrid->addWidget(pLabel, nRow, 0);
    for (const CParaEdit& edit : row.m_edits) {
        if (edit.m_nId != 0)
            m_labels[edit.m_nId] = pLabel;
    }
    return pLabel;
}

QString CMachineParamsDialog::RowName(const CParaRow& row) const {
    // The English program has always called the top carriage speed "Max Pwm".
    if (row.m_edits[0].m_nId == 502 && m_settings.Language == 1)
        return QStringLiteral("Max Pwm");
    return tr(row.m_pszName);
}

QString CMachineParamsDialog::FieldName(const CParaRow& row, const CParaEdit& edit) const {
    return edit.m_pszPart == nullptr ? RowName(row) : PartName(RowName(row), tr(edit.m_pszPart));
}

QLabel* CMachineParamsDialog::Label(int nId) const {
    const auto it = m_labels.find(nId);
    return it == m_labels.end() ? nullptr : it->second;
}

QLineEdit* CMachineParamsDialog::Edit(int nId) const {
    const auto it = m_edits.find(nId);
    return it == m_edits.end() ? nullptr : it->second;
}

QCheckBox* CMachineParamsDialog::Check(int nId) const {
    const auto it = m_checks.find(nId);
    return it == m_checks.end() ? nullptr : it->second;
}

QPushButton* CMachineParamsDialog::Button(int nId) const {
    const auto it = m_buttons.find(nId);
    return it == m_buttons.end() ? nullptr : it->second;
}

bool CMachineParamsDialog::Extended() const {
    return m_params.ExtFlag() == CMachineParams::kExtPresent;
}

void CMachineParamsDialog::LoadFromParams() {
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

void CMachineParamsDialog::ApplyEnabling() {
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
        for (const CParaRow& row : Rows()) {
            for (const CParaEdit& edit : row.m_edits) {
                if (row.m_bExtended && edit.m_nId != 0)
                    Edit(edit.m_nId)->setEnabled(false);
            }
        }
        for (int nId : kExtCheckIds)
            Check(nId)->setEnabled(false);
    }
}

void CMachineParamsDialog::RestoreDefaults() {
    SetDlgInteger(Edit(424), 80);
    SetDlgInteger(Edit(425), 80);
    SetDlgNumber(Edit(500), 57.0);
    SetDlgInteger(Edit(503), 40);
    SetDlgInteger(Edit(501), 20);
    SetDlgInteger(Edit(502), 60);
}

} // namespace inkvale
