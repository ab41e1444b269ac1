// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/StatusPanes.h"

#include "ui/StatusTexts.h"

#include <QEvent>
#include <QLabel>
#include <QSizeGrip>
#include <QStatusBar>

#include <algorithm>

namespace inkvale {

namespace {

// Room around a pane's text: the label's margins and the leading space.
constexpr int kPaneMargin = 16;
// The status bar's own spacing between two panes and at its ends (Qt puts 6 px between
// them, 2 before the first and 4 after the last); a little more keeps clear of a style
// that uses more.
constexpr int kPaneSpacing = 8;
constexpr int kBarEnds = 12;
// Below this width a yielding pane is hidden rather than shown as a lone "…".
constexpr int kLeastUsefulWidth = 40;

} // namespace

CStatusPanes::CStatusPanes(QStatusBar& bar, const std::vector<int>& arrPanes,
                           const std::vector<int>& arrYieldOrder)
    : QObject(&bar), m_bar(bar), m_arrOrder(arrPanes), m_arrYield(arrYieldOrder) {
    for (const int nPane : arrPanes) {
        auto* pLabel = new QLabel(&bar);
        pLabel->setObjectName(QStringLiteral("pane%1").arg(nPane));
        pLabel->setAutoFillBackground(true);
        pLabel->setContentsMargins(kPaneMargin / 2, 0, kPaneMargin / 2, 0);
        m_panes[nPane].m_pLabel = pLabel;
        bar.addPermanentWidget(pLabel);
    }
    bar.installEventFilter(this);
    Arrange();
}

void CStatusPanes::SetText(int nPane, const QString& strText, uint32_t nColour,
                           const QString& strElidable) {
    CPane& pane = m_panes.at(nPane);
    if (pane.m_strText == strText && pane.m_nColour == nColour && pane.m_strElidable == strElidable)
        return;
    pane.m_strText = strText;
    pane.m_strElidable = strElidable;
    pane.m_nColour = nColour;
    QPalette palette = pane.m_pLabel->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(ColourRefToRgb(nColour)));
    palette.setColor(QPalette::WindowText, Qt::black);
    pane.m_pLabel->setPalette(palette);
    Arrange();
}

QString CStatusPanes::Text(int nPane) const {
    return m_panes.at(nPane).m_strText;
}

QString CStatusPanes::ShownText(int nPane) const {
    const QLabel* pLabel = m_panes.at(nPane).m_pLabel;
    return pLabel->isHidden() ? QString() : pLabel->text();
}

uint32_t CStatusPanes::Colour(int nPane) const {
    return m_panes.at(nPane).m_nColour;
}

int CStatusPanes::NeededWidth(const CPane& pane) const {
    if (pane.m_strText.isEmpty())
        return 0;
    return pane.m_pLabel->fontMetrics().horizontalAdvance(pane.m_strText) + kPaneMargin + 2;
}

int CStatusPanes::RoomForPanes() const {
    int nRoom = m_bar.width() - kBarEnds;
    if (const auto* pGrip = m_bar.findChild<QSizeGrip*>(); pGrip && pGrip->isVisible())
        nRoom -= pGrip->width();
    for (const int nPane : m_arrOrder)
        if (!m_panes.at(nPane).m_strText.isEmpty())
            nRoom -= kPaneSpacing;
    return std::max(nRoom, 0);
}

// Widths as the texts ask, then the yielding panes give up room in their order until the
// panes fit the bar; the last of them may shorten its text instead of vanishing.
void CStatusPanes::Arrange() {
    if (m_bArranging)
        return;
    m_bArranging = true;
    std::map<int, int> widths;
    int nTotal = 0;
    for (const int nPane : m_arrOrder) {
        widths[nPane] = NeededWidth(m_panes.at(nPane));
        nTotal += widths[nPane];
    }
    int nExcess = nTotal - RoomForPanes();
    for (const int nPane : m_arrYield) {
        if (nExcess <= 0)
            break;
        const int nGive = std::min(nExcess, widths[nPane]);
        widths[nPane] -= nGive;
        nExcess -= nGive;
        if (widths[nPane] < kLeastUsefulWidth) {
            nExcess -= widths[nPane]; // a pane too narrow to say anything goes altogether
            widths[nPane] = 0;
        }
    }
    for (const int nPane : m_arrOrder)
        Show(m_panes.at(nPane), widths[nPane]);
    m_bArranging = false;
}

void CStatusPanes::Show(CPane& pane, int nWidth) {
    QLabel* pLabel = pane.m_pLabel;
    if (nWidth <= 0) {
        pLabel->hide();
        return;
    }
    const QString shown = Fitted(pane, nWidth - kPaneMargin - 2);
    pLabel->setText(shown);
    // The tooltip holds the whole of a shortened text; a tooltip the window set for its
    // own reason (the state pane's) stays.
    if (shown != pane.m_strText) {
        pLabel->setToolTip(pane.m_strText);
        pane.m_bOwnTip = true;
    } else if (pane.m_bOwnTip) {
        pLabel->setToolTip(QString());
        pane.m_bOwnTip = false;
    }
    // At most its width, and no least width of its own: a bar made narrow (a window
    // resized by hand) never holds the window wide; the next arrangement fits the texts.
    pLabel->setMinimumWidth(1);
    pLabel->setMaximumWidth(nWidth);
    pLabel->show();
}

// The text within nTextWidth pixels: whole if it fits, else with its elidable part cut in
// the middle (the start and end of a file name say most), else cut at its end.
QString CStatusPanes::Fitted(const CPane& pane, int nTextWidth) const {
    const QFontMetrics fm = pane.m_pLabel->fontMetrics();
    if (fm.horizontalAdvance(pane.m_strText) <= nTextWidth)
        return pane.m_strText;
    const QString& name = pane.m_strElidable;
    const qsizetype nAt = name.isEmpty() ? -1 : pane.m_strText.indexOf(name);
    // Characters of the name kept, fewer and fewer, half from its start and half from its
    // end, until the line fits; at least two of each end.
    // end, until the line fits; at least two of each end. When even that is too long, the
    // line is cut at its end with the name at its shortest, so the progress shows longest.
    QString text = pane.m_strText;
    for (qsizetype nKeep = name.size() - 1; nAt >= 0 && nKeep >= 4; --nKeep) {
        text = pane.m_strText;
        text.replace(nAt, name.size(),
                     name.left(nKeep - nKeep / 2) + QChar(0x2026) + name.right(nKeep / 2));
        if (fm.horizontalAdvance(text) <= nTextWidth)
            return text;
    }
    return fm.elidedText(text, Qt::ElideRight, nTextWidth);
}

bool CStatusPanes::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pWatched == &m_bar && (pEvent->type() == QEvent::Resize || pEvent->type() == QEvent::Show))
        Arrange();
    return QObject::eventFilter(pWatched, pEvent);
}

} // namespace inkvale
