// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PDlgSetPlot.h"

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "ui/DlgFields.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace inkvale {

namespace {
constexpr int kSizeIds[] = {400, 401, 403, 404};
} // namespace

CPDlgSetPlot::CPDlgSetPlot(CSysSetContext ctx, QWidget* pParent)
    : QWidget(pParent), m_ctx(ctx), m_pRadioBoard(new QRadioButton(tr("比例参数存于主板"), this)),
      m_pRadioPc(new QRadioButton(tr("比例参数存于电脑"), this)),
      m_pApply(new QPushButton(tr("应用"), this)) {
    for (int nId : {400, 401, 402, 403, 404, 405, 406, 407, 408, 409, 417})
        m_edits[nId] = new QLineEdit(this);
    m_edits[402]->setReadOnly(true);
    m_edits[405]->setReadOnly(true);
    const std::pair<int, const char*> checks[] = {{249, QT_TR_NOOP("启用分页")},
                                                  {244, QT_TR_NOOP("分页前先旋转")},
                                                  {248, QT_TR_NOOP("是否镜像")}};
    for (const auto& [nId, psz] : checks)
        m_checks[nId] = new QCheckBox(tr(psz), this);
    auto* pUpdate = new QPushButton(tr("更新"), this);

    auto* pGrid = new QGridLayout(this);
    pGrid->addWidget(new QLabel(tr("设计尺寸"), this), 0, 1);
    pGrid->addWidget(new QLabel(tr("实测尺寸"), this), 0, 2);
    pGrid->addWidget(new QLabel(tr("比例系数"), this), 0, 3);
    pGrid->addWidget(new QLabel(tr("纸长:"), this), 1, 0);
    pGrid->addWidget(new QLabel(tr("纸宽:"), this), 2, 0);
    for (int i = 0; i < 3; ++i) {
        pGrid->addWidget(m_edits[400 + i], 1, 1 + i);
        pGrid->addWidget(m_edits[403 + i], 2, 1 + i);
    }
    pGrid->addWidget(m_pRadioBoard, 3, 0, 1, 2);
    pGrid->addWidget(m_pRadioPc, 3, 2);
    pGrid->addWidget(pUpdate, 3, 3);
    const std::pair<int, const char*> rows[] = {
        {408, QT_TR_NOOP("分页宽度(mm):")},
        {409, QT_TR_NOOP("分页间距(mm):")},
        {406, QT_TR_NOOP("打印前进纸(mm):")},
        {407, QT_TR_NOOP("打印后进纸(mm):")},
        {417, QT_TR_NOOP("Dxf文件单位(1,10,40,100,400 ...)")}};
    int nRow = 4;
    for (const auto& [nId, psz] : rows) {
        pGrid->addWidget(new QLabel(tr(psz), this), nRow, 0, 1, 2);
        pGrid->addWidget(m_edits[nId], nRow++, 2);
    }
    pGrid->addWidget(m_checks[249], nRow, 0);
    pGrid->addWidget(m_checks[244], nRow, 1);
    pGrid->addWidget(m_checks[248], nRow++, 2);
    pGrid->addWidget(m_pApply, nRow, 3);

    const CSettings& s = ctx.m_settings;
    m_checks[244]->setChecked(s.AutoRotate != 0);
    m_checks[249]->setChecked(s.SplitEn != 0);
    m_checks[248]->setChecked(s.AutoMirror != 0);
    SetDlgInteger(m_edits[417], s.DxfUnit);
    SetDlgInteger(m_edits[408], s.PaperLenMm);
    SetDlgInteger(m_edits[409], s.SplitGap);
    SetDlgInteger(m_edits[406], ctx.m_params.FeedBeforeMm());
    SetDlgInteger(m_edits[407], ctx.m_params.FeedAfterMm());
    (s.RatioSaveTo == 1 ? m_pRadioPc : m_pRadioBoard)->setChecked(true);
    LoadSizes(s.RatioSaveTo == 1 ? 1 : 0);
    connect(pUpdate, &QPushButton::clicked, this, [this] { UpdateRatios(); });
    connect(m_pRadioBoard, &QRadioButton::clicked, this, [this] { ChooseRatioSource(0); });
    connect(m_pRadioPc, &QRadioButton::clicked, this, [this] { ChooseRatioSource(1); });
    connect(m_pApply, &QPushButton::clicked, this, [this] { Apply(); });
}

void CPDlgSetPlot::LoadSizes(int nChoice) {
    const CSettings& s = m_ctx.m_settings;
    const CMachineParams& p = m_ctx.m_params;
    const int values[4] = {nChoice == 1 ? s.XSizeExpect : p.XSizeExpectReg(),
                           nChoice == 1 ? s.XSizeMeasure : p.XSizeMeasureReg(),
                           nChoice == 1 ? s.YSizeExpect : p.YSizeExpectReg(),
                           nChoice == 1 ? s.YSizeMeasure : p.YSizeMeasureReg()};
    for (int i = 0; i < 4; ++i)
        SetDlgNumber(m_edits[kSizeIds[i]], values[i] * 0.1);
    SetDlgNumber(m_edits[402], SizeRatioOf(values[0], values[1]));
    SetDlgNumber(m_edits[405], SizeRatioOf(values[2], values[3]));
}

void CPDlgSetPlot::ChooseRatioSource(int nChoice) {
    (nChoice == 1 ? m_pRadioPc : m_pRadioBoard)->setChecked(true);
    LoadSizes(nChoice);
}

bool CPDlgSetPlot::UpdateRatios() {
    CDlgFieldReader reader(m_ctx.m_prompts);
    double d[4];
    for (int i = 0; i < 4; ++i)
        d[i] = reader.Number(m_edits[kSizeIds[i]], 100, 5000);
    if (!reader.Ok())
        return false;
    SetDlgNumber(m_edits[402], SizeRatioOf(d[0], d[1]));
    SetDlgNumber(m_edits[405], SizeRatioOf(d[2], d[3]));
    return true;
}

bool CPDlgSetPlot::Apply() {
    CDlgFieldReader reader(m_ctx.m_prompts);
    double d[4];
    for (int i = 0; i < 4; ++i)
        d[i] = reader.Number(m_edits[kSizeIds[i]], 100, 5000);
    const int32_t nPaperLen = static_cast<int32_t>(reader.Integer(m_edits[408], 500, 5000));
    const int32_t nSplitGap = static_cast<int32_t>(reader.Integer(m_edits[409], 0, 200));
    // The feeds are single bytes of the parameter block.
    const int64_t nFeedBefore = reader.Integer(m_edits[406], 0, 255);
    const int64_t nFeedAfter = reader.Integer(m_edits[407], 0, 255);
    const int32_t nDxfUnit = static_cast<int32_t>(reader.Integer(m_edits[417], 1, 4000));
    if (!reader.Ok())
        return false;
    CSettings& s = m_ctx.m_settings;
    const int32_t nRotate = Check(244)->isChecked() ? 1 : 0;
    const int32_t nMirror = Check(248)->isChecked() ? 1 : 0;
    const int32_t nSplit = Check(249)->isChecked() ? 1 : 0;
    if (s.PaperLenMm != nPaperLen || s.AutoRotate != nRotate || s.AutoMirror != nMirror ||
        s.SplitGap != nSplitGap || s.SplitEn != nSplit)
        m_ctx.m_host.DiscardAllDrawings();
    s.AutoRotate = nRotate;
    s.DxfUnit = nDxfUnit;
    s.PaperLenMm = nPaperLen;
    s.SplitGap = nSplitGap;
    s.SplitEn = nSplit;
    s.AutoMirror = nMirror;
    uint16_t regs[4];
    for (int i = 0; i < 4; ++i)
        regs[i] = static_cast<uint16_t>(static_cast<int>(d[i] * 10 + 1e-6)); // typed tenths kept
    CMachineParams& p = m_ctx.m_params;
    if (m_pRadioPc->isChecked()) {
        s.RatioSaveTo = 1;
        s.XSizeExpect = regs[0];
        s.XSizeMeasure = regs[1];
        s.YSizeExpect = regs[2];
        s.YSizeMeasure = regs[3];
    } else {
        s.RatioSaveTo = 0;
        p.SetXSizeExpectReg(regs[0]);
        p.SetXSizeMeasureReg(regs[1]);
        p.SetYSizeExpectReg(regs[2]);
        p.SetYSizeMeasureReg(regs[3]);
    }
    p.SetFeedBeforeMm(static_cast<uint8_t>(nFeedBefore));
    p.SetFeedAfterMm(static_cast<uint8_t>(nFeedAfter));
    WriteParamsAfterApply(m_ctx);
    return true;
}

} // namespace inkvale
