// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PlotSettingsPage.h"

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

// The number fields of the page. The labels are made from these entries and Apply checks
// them, so a label shows the range that is enforced and a refusal names its field.
struct CPlotField {
    int m_nId;
    const char* m_pszName; // translated by CPlotSettingsPage::tr
    const char* m_pszPart; // the size fields' column, translated; nullptr for the others
    double m_dMin;
    double m_dMax;
    bool m_bMillimetres;
    const char* m_pszNote; // shown after the range; nullptr for none
};

// Design and measured lengths of the size-ratio test print.
constexpr CPlotField kSizeFields[] = {
    {400, QT_TRANSLATE_NOOP("inkvale::CPlotSettingsPage", "纸长"),
     QT_TRANSLATE_NOOP("inkvale::CPlotSettingsPage", "设计尺寸"), 100, 5000, true, nullptr},
    {401, QT_TRANSLATE_NOOP("inkvale::CPlotSettingsPage", "纸长"),
     QT_TRANSLATE_NOOP("inkvale::CPlotSettingsPage", "实测尺寸"), 100, 5000, true, nullptr},
    {403, QT_TRANSLATE_NOOP("inkvale::CPlotSettingsPage", "纸宽"),
     QT_TRANSLATE_NOOP("inkvale::CPlotSettingsPage", "设计尺寸"), 100, 5000, true, nullptr},
    {404, QT_TRANSLATE_NOOP("inkvale::CPlotSettingsPage", "纸宽"),
     QT_TRANSLATE_NOOP("inkvale::CPlotSettingsPage", "实测尺寸"), 100, 5000, true, nullptr},
};

// The rows under the sizes, top to bottom. The feeds are single bytes of the parameter block.
constexpr CPlotField kRowFields[] = {
    {408, QT_TRANSLATE_NOOP("inkvale::CPlotSettingsPage", "分页宽度"), nullptr, 500, 5000, true,
     nullptr},
    {409, QT_TRANSLATE_NOOP("inkvale::CPlotSettingsPage", "分页间距"), nullptr, 0, 200, true, nullptr},
    {406, QT_TRANSLATE_NOOP("inkvale::CPlotSettingsPage", "打印前进纸"), nullptr, 0, 255, true, nullptr},
    {407, QT_TRANSLATE_NOOP("inkvale::CPlotSettingsPage", "打印后进纸"), nullptr, 0, 255, true, nullptr},
    {417, QT_TRANSLATE_NOOP("inkvale::CPlotSettingsPage", "Dxf文件单位"), nullptr, 1, 4000, false,
     "1, 10, 40, 100, 400 ..."},
};

QString Unit(const CPlotField& f) {
    return f.m_bMillimetres ? CPlotSettingsPage::tr("mm") : QString();
}

} // namespace

CPlotSettingsPage::CPlotSettingsPage(CSysSetContext ctx, QWidget* pParent)
    : CSettingsPage(pParent), m_ctx(ctx),
      m_pRadioBoard(new QRadioButton(tr("比例参数存于主板"), this)),
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
    for (int i = 0; i < 2; ++i) {
        const CPlotField& f = kSizeFields[i];
        auto* pHeader = new QLabel(RangeLabel(tr(f.m_pszPart), f.m_dMin, f.m_dMax, Unit(f)), this);
        pGrid->addWidget(pHeader, 0, 1 + i);
        m_labels[f.m_nId] = m_labels[f.m_nId + 3] = pHeader;
    }
    pGrid->addWidget(new QLabel(tr("比例系数"), this), 0, 3);
    pGrid->addWidget(new QLabel(tr(kSizeFields[0].m_pszName) + QStringLiteral(":"), this), 1, 0);
    pGrid->addWidget(new QLabel(tr(kSizeFields[2].m_pszName) + QStringLiteral(":"), this), 2, 0);
    for (int i = 0; i < 3; ++i) {
        pGrid->addWidget(m_edits[400 + i], 1, 1 + i);
        pGrid->addWidget(m_edits[403 + i], 2, 1 + i);
    }
    pGrid->addWidget(m_pRadioBoard, 3, 0, 1, 2);
    pGrid->addWidget(m_pRadioPc, 3, 2);
    pGrid->addWidget(pUpdate, 3, 3);
    int nRow = 4;
    for (const CPlotField& f : kRowFields) {
        QString strLabel = RangeLabel(tr(f.m_pszName), f.m_dMin, f.m_dMax, Unit(f));
        if (f.m_pszNote != nullptr)
            strLabel += QStringLiteral("  ") + QString::fromUtf8(f.m_pszNote);
        m_labels[f.m_nId] = new QLabel(strLabel, this);
        pGrid->addWidget(m_labels[f.m_nId], nRow, 0, 1, 2);
        pGrid->addWidget(m_edits[f.m_nId], nRow++, 2);
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
    WatchChanges();
}

void CPlotSettingsPage::LoadSizes(int nChoice) {
    const CSettings& s = m_ctx.m_settings;
    const CMachineParams& p = m_ctx.m_params;
    const int values[4] = {nChoice == 1 ? s.XSizeExpect : p.XSizeExpectReg(),
                           nChoice == 1 ? s.XSizeMeasure : p.XSizeMeasureReg(),
                           nChoice == 1 ? s.YSizeExpect : p.YSizeExpectReg(),
                           nChoice == 1 ? s.YSizeMeasure : p.YSizeMeasureReg()};
    for (int i = 0; i < 4; ++i)
        SetDlgNumber(m_edits[kSizeFields[i].m_nId], values[i] * 0.1);
    SetDlgNumber(m_edits[402], SizeRatioOf(values[0], values[1]));
    SetDlgNumber(m_edits[405], SizeRatioOf(values[2], values[3]));
}

void CPlotSettingsPage::ChooseRatioSource(int nChoice) {
    (nChoice == 1 ? m_pRadioPc : m_pRadioBoard)->setChecked(true);
    LoadSizes(nChoice);
}

QLabel* CPlotSettingsPage::Label(int nId) const {
    const auto it = m_labels.find(nId);
    return it == m_labels.end() ? nullptr : it->second;
}

bool CPlotSettingsPage::ReadSizes(CDlgFieldReader& reader, double (&d)[4]) {
    for (int i = 0; i < 4; ++i) {
        const CPlotField& f = kSizeFields[i];
        d[i] = reader.Number(m_edits[f.m_nId], PartName(tr(f.m_pszName), tr(f.m_pszPart)), f.m_dMin,
                             f.m_dMax);
    }
    return reader.Ok();
}

bool CPlotSettingsPage::UpdateRatios() {
    CDlgFieldReader reader(m_ctx.m_prompts);
    double d[4];
    if (!ReadSizes(reader, d))
        return false;
    SetDlgNumber(m_edits[402], SizeRatioOf(d[0], d[1]));
    SetDlgNumber(m_edits[405], SizeRatioOf(d[2], d[3]));
    return true;
}

bool CPlotSettingsPage::Store() {
    CDlgFieldReader reader(m_ctx.m_prompts);
    double d[4];
    ReadSizes(reader, d);
    std::map<int, int64_t> values;
    for (const CPlotField& f : kRowFields)
        values[f.m_nId] =
            reader.Integer(m_edits[f.m_nId], tr(f.m_pszName), static_cast<int64_t>(f.m_dMin),
                           static_cast<int64_t>(f.m_dMax));
    if (!reader.Ok())
        return false;
    const auto nPaperLen = static_cast<int32_t>(values[408]);
    const auto nSplitGap = static_cast<int32_t>(values[409]);
    const int64_t nFeedBefore = values[406];
    const int64_t nFeedAfter = values[407];
    const auto nDxfUnit = static_cast<int32_t>(values[417]);
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
