// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CommandBar.h"

#include "machine/link/MachineProtocol.h"

#include "ui/OperatorText.h"

#include <QCoreApplication>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

#include <array>

namespace inkvale {

namespace {

struct CBarButton {
    int m_nId;
    const char* szCaption;
    int m_nIcon;
    const char* szTipZh; // nullptr: no tooltip
    const char* szTipEn;
    bool m_bSeparatorBefore;
};

// The large buttons in their order on the bar.
constexpr std::array<CBarButton, 19> kLargeButtons = {{
    {CCommandBar::kIdAdd, QT_TRANSLATE_NOOP("CCommandBar", "添加"), 170,
     QT_TRANSLATE_NOOP("CCommandBar", "添加plt"), "Add plt", true},
    {272, QT_TRANSLATE_NOOP("CCommandBar", "开始"), 172, QT_TRANSLATE_NOOP("CCommandBar", "开始"),
     "Start", false},
    {273, QT_TRANSLATE_NOOP("CCommandBar", "暂停"), 173, QT_TRANSLATE_NOOP("CCommandBar", "暂停"),
     "Pause", false},
    {274, QT_TRANSLATE_NOOP("CCommandBar", "停止"), 174, QT_TRANSLATE_NOOP("CCommandBar", "停止"),
     "Stop", false},
    {283, QT_TRANSLATE_NOOP("CCommandBar", "复位"), 183, QT_TRANSLATE_NOOP("CCommandBar", "复位"),
     "Reset", false},
    {CCommandBar::kIdDelete, QT_TRANSLATE_NOOP("CCommandBar", "删除"), 175,
     QT_TRANSLATE_NOOP("CCommandBar", "删除"), "Del", false},
    {CCommandBar::kIdSave, QT_TRANSLATE_NOOP("CCommandBar", "保存"), 171,
     QT_TRANSLATE_NOOP("CCommandBar", "保存plt"), "Save plt", false},
    {CCommandBar::kIdInc, QT_TRANSLATE_NOOP("CCommandBar", "增加"), 176,
     QT_TRANSLATE_NOOP("CCommandBar", "增加"), "Inc", true},
    {CCommandBar::kIdDec, QT_TRANSLATE_NOOP("CCommandBar", "减少"), 177,
     QT_TRANSLATE_NOOP("CCommandBar", "减少"), "Dec", false},
    {CCommandBar::kIdRotate, QT_TRANSLATE_NOOP("CCommandBar", "旋转"), 178,
     QT_TRANSLATE_NOOP("CCommandBar", "旋转"), "Rotate", false},
    {279, QT_TRANSLATE_NOOP("CCommandBar", "左走"), 179, QT_TRANSLATE_NOOP("CCommandBar", "小车向左"),
     "Left", true},
    {280, QT_TRANSLATE_NOOP("CCommandBar", "右走"), 180, QT_TRANSLATE_NOOP("CCommandBar", "小车向右"),
     "Right", false},
    {281, QT_TRANSLATE_NOOP("CCommandBar", "进纸"), 181, QT_TRANSLATE_NOOP("CCommandBar", "送纸"),
     "Feed", false},
    {282, QT_TRANSLATE_NOOP("CCommandBar", "退纸"), 182, QT_TRANSLATE_NOOP("CCommandBar", "退纸"),
     "Back", false},
    {284, QT_TRANSLATE_NOOP("CCommandBar", "测试"), 184, QT_TRANSLATE_NOOP("CCommandBar", "测试喷头"),
     "Clean the nozzle", false},
    {CCommandBar::kIdOffset, QT_TRANSLATE_NOOP("CCommandBar", "偏移"), 185,
     QT_TRANSLATE_NOOP("CCommandBar", "设置起喷偏移"), "Set offset", true},
    {CCommandBar::kIdSetup, QT_TRANSLATE_NOOP("CCommandBar", "设置"), 186,
     QT_TRANSLATE_NOOP("CCommandBar", "设置"), "Setup", false},
    {CCommandBar::kIdParam, QT_TRANSLATE_NOOP("CCommandBar", "参数"), 187,
     QT_TRANSLATE_NOOP("CCommandBar", "参数"), "Parameter", false},
    {CCommandBar::kIdIp, "IP", 188, "IP", "IP", false},
}};

// The small tool buttons: row, column in their grid.
struct CToolButton {
    int m_nId;
    const char* szTipZh;
    const char* szTipEn;
    int m_nRow, m_nColumn;
};
constexpr std::array<CToolButton, 5> kToolButtons = {{
    {CCommandBar::kIdFit, QT_TRANSLATE_NOOP("CCommandBar", "适合"), "Fit", 0, 0},
    {CCommandBar::kIdSetStart, QT_TRANSLATE_NOOP("CCommandBar", "设置起喷点"), "Set start", 0, 1},
    {CCommandBar::kIdMoveView, QT_TRANSLATE_NOOP("CCommandBar", "移动视图"), "Move view", 0, 2},
    {CCommandBar::kIdSelect, QT_TRANSLATE_NOOP("CCommandBar", "选择线条"), "Select", 1, 0},
    {CCommandBar::kIdMoveLine, QT_TRANSLATE_NOOP("CCommandBar", "移动线条"), "Move line", 1, 1},
}};

constexpr int kLargeIcon = 40;
constexpr int kSmallIcon = 24;

bool IsJog(int nId) {
    return nId >= 279 && nId <= 282;
}

QString PauseCaption(bool bPaused) {
    return bPaused ? QCoreApplication::translate("CCommandBar", "继续")
                   : QCoreApplication::translate("CCommandBar", "暂停");
}

QFrame* Separator(QWidget* pParent) {
    auto* pLine = new QFrame(pParent);
    pLine->setFrameShape(QFrame::VLine);
    pLine->setFrameShadow(QFrame::Sunken);
    return pLine;
}

} // namespace

CCommandBar::CCommandBar(CSettings& settings, QWidget* pParent)
    : QWidget(pParent), m_settings(settings) {
    auto* pRow = new QHBoxLayout(this);
    pRow->setContentsMargins(2, 2, 2, 2);
    pRow->setSpacing(1);
    for (const CBarButton& b : kLargeButtons) {
        if (b.m_bSeparatorBefore)
            pRow->addWidget(Separator(this));
        pRow->addWidget(AddButton(b.m_nId, b.szCaption, b.m_nIcon, false));
    }
    pRow->addWidget(Separator(this));
    QToolButton* pAuto = AddButton(kIdAuto, QT_TRANSLATE_NOOP("CCommandBar", "自动"), 189, false);
    pAuto->setCheckable(true);
    pRow->addWidget(pAuto);
    pRow->addWidget(Separator(this));
    auto* pTools = new QGridLayout;
    pTools->setSpacing(1);
    for (const CToolButton& t : kToolButtons)
        pTools->addWidget(AddButton(t.m_nId, nullptr, 191, true), t.m_nRow, t.m_nColumn);
    pRow->addLayout(pTools);
    pRow->addWidget(Separator(this));
    QToolButton* pLanguage = AddButton(kIdLanguage, nullptr, 200, false);
    pLanguage->setIconSize(QSize(kLargeIcon + 16, kLargeIcon + 16));
    pRow->addWidget(pLanguage);
    m_pNotice =
        new QLabel(QCoreApplication::translate("CCommandBar", "语言设置改变，重启生效"), this);
    pRow->addWidget(m_pNotice);
    pRow->addStretch(1);

    // Initialisation: tooltips, icons, the notice hidden, tool states, the automatic box.
    SetToolTips();
    ShowLanguageButton(false);
    RefreshToolButtons();
    pAuto->setChecked(m_settings.AutoStartEnable != 0);
    SetIcon(kIdAuto, pAuto->isChecked() ? 190 : 189);
    m_nLargeIcon = kLargeIcon;
}

QToolButton* CCommandBar::AddButton(int nId, const char* szCaption, int nIcon, bool bSmall) {
    auto* pButton = new QToolButton(this);
    pButton->setObjectName(QStringLiteral("bar%1").arg(nId));
    pButton->setAutoRaise(true);
    const int nSize = bSmall ? kSmallIcon : kLargeIcon;
    pButton->setIconSize(QSize(nSize, nSize));
    if (szCaption != nullptr) {
        pButton->setText(QCoreApplication::translate("CCommandBar", szCaption));
        pButton->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    } else {
        pButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    m_buttons[nId] = pButton;
    SetIcon(nId, nIcon);
    if (IsJog(nId)) {
        connect(pButton, &QToolButton::pressed, this, [this, nId] { emit ButtonPress(nId, 1); });
        connect(pButton, &QToolButton::released, this, [this, nId] { emit ButtonPress(nId, 0); });
    } else if (nId == kIdAuto) {
        connect(pButton, &QToolButton::clicked, this, [this](bool b) { AutoClicked(b); });
    } else {
        connect(pButton, &QToolButton::clicked, this, [this, nId] { emit Command(nId); });
    }
    return pButton;
}

void CCommandBar::SetIcon(int nId, int nIcon) {
    m_icons[nId] = nIcon;
    // The images are compiled into the program; a bar without them (tests) keeps the numbers.
    const QString strPath = QStringLiteral(":/icons/%1.svg").arg(nIcon);
    QToolButton* pButton = Button(nId);
    if (pButton != nullptr && QFile::exists(strPath))
        pButton->setIcon(QIcon(strPath));
}

void CCommandBar::SetToolTips() {
    const int32_t nLanguage = m_settings.Language;
    for (const CBarButton& b : kLargeButtons)
        Button(b.m_nId)->setToolTip(LanguageText(nLanguage, "CCommandBar", b.szTipZh, b.szTipEn));
    for (const CToolButton& t : kToolButtons)
        Button(t.m_nId)->setToolTip(LanguageText(nLanguage, "CCommandBar", t.szTipZh, t.szTipEn));
}

void CCommandBar::UpdateMachineButtons(const CCommandBarState& state) {
    const bool bPaused = state.m_bJobRunning && state.m_nMachineState == kStatePaused;
    for (const CBarButton& b : kLargeButtons) {
        const CButtonAvailability can = ButtonAvailability(b.m_nId, state);
        QToolButton* pButton = Button(b.m_nId);
        QString tip = can.m_bEnabled
                          ? LanguageText(m_settings.Language, "CCommandBar", b.szTipZh, b.szTipEn)
                          : OperatorText({can.m_eWhyNot, {}});
        if (b.m_nId == kBtnPause && bPaused && can.m_bEnabled)
            tip = PauseCaption(true);
        pButton->setEnabled(can.m_bEnabled);
        if (pButton->toolTip() != tip)
            pButton->setToolTip(tip);
    }
    // While paused the button continues the job, and says so.
    QToolButton* pPause = Button(kBtnPause);
    pPause->setCheckable(true);
    pPause->setChecked(bPaused);
    if (pPause->text() != PauseCaption(bPaused))
        pPause->setText(PauseCaption(bPaused));
}

void CCommandBar::AutoClicked(bool bTicked) {
    m_settings.AutoStartEnable = bTicked ? 1 : 0;
    SetIcon(kIdAuto, bTicked ? 190 : 189);
    emit Command(kIdAuto);
}

void CCommandBar::RefreshToolButtons() {
    const int32_t nMode = m_settings.m_nMouseMode;
    SetIcon(kIdSelect, nMode == 1 ? 193 : 192);
    SetIcon(kIdMoveView, nMode == 0 ? 195 : 194);
    SetIcon(kIdMoveLine, nMode == 2 ? 197 : 196);
    SetIcon(kIdSetStart, nMode == 3 ? 199 : 198);
    SetIcon(kIdFit, 191);
}

void CCommandBar::ReleaseAutoButton() {
    m_settings.AutoStartEnable = 0;
    Button(kIdAuto)->setChecked(false);
    SetIcon(kIdAuto, 189);
}

int CCommandBar::LanguageIcon(int32_t nLanguage) {
    static constexpr std::array<int, 6> kIcons = {200, 201, 202, 205, 204, 203};
    return nLanguage >= 0 && nLanguage < 6 ? kIcons[static_cast<size_t>(nLanguage)] : 200;
}

void CCommandBar::ShowLanguageButton(bool bChanged) {
    SetIcon(kIdLanguage, LanguageIcon(m_settings.Language));
    m_pNotice->setVisible(bChanged);
}

void CCommandBar::CycleLanguage() {
    m_settings.Language =
        m_settings.Language >= 0 && m_settings.Language < 5 ? m_settings.Language + 1 : 0;
    ShowLanguageButton(true);
}

void CCommandBar::SetForm(bool bCompact, int nIcon) {
    if (bCompact == m_bCompact && nIcon == m_nLargeIcon)
        return;
    m_bCompact = bCompact;
    m_nLargeIcon = nIcon;
    for (auto& [nId, pButton] : m_buttons) {
        if (pButton->text().isEmpty()) // the tool and language buttons have icons only
            continue;
        pButton->setToolButtonStyle(bCompact ? Qt::ToolButtonIconOnly
                                             : Qt::ToolButtonTextUnderIcon);
        pButton->setIconSize(QSize(nIcon, nIcon));
    }
    Button(kIdLanguage)->setIconSize(QSize(nIcon + 16, nIcon + 16));
    // The tooltips of the auto box say its caption when the caption is not shown.
    Button(kIdAuto)->setToolTip(bCompact ? Button(kIdAuto)->text() : QString());
    if (layout() != nullptr)
        layout()->activate();
}

void CCommandBar::FitWidth(int nWidth) {
    // The notice takes the room it needs only while shown; the buttons come first.
    SetForm(false, kLargeIcon);
    if (sizeHint().width() <= nWidth)
        return;
    for (const int nIcon : {kLargeIcon, 32, 24, 20}) {
        SetForm(true, nIcon);
        if (sizeHint().width() <= nWidth)
            return;
    }
    SetForm(true, 16);
}

QSize CCommandBar::minimumSizeHint() const {
    return {1, sizeHint().height()};
}

int CCommandBar::IconOf(int nId) const {
    const auto it = m_icons.find(nId);
    return it == m_icons.end() ? 0 : it->second;
}

QString CCommandBar::ToolTipOf(int nId) const {
    QToolButton* pButton = Button(nId);
    return pButton != nullptr ? pButton->toolTip() : QString();
}

QToolButton* CCommandBar::Button(int nId) const {
    const auto it = m_buttons.find(nId);
    return it == m_buttons.end() ? nullptr : it->second;
}

bool CCommandBar::AutoTicked() const {
    return Button(kIdAuto)->isChecked();
}

bool CCommandBar::NoticeVisible() const {
    return !m_pNotice->isHidden();
}

} // namespace inkvale
