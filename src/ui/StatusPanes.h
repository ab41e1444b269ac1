// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <map>
#include <vector>

class QLabel;
class QStatusBar;

namespace inkvale {

/// The panes of the main window's status bar. A pane is as wide as its text; when the bar
/// cannot hold them all they yield in a fixed order (each one shortened, with "…", down to
/// nothing), so that no pane ever runs into another. The job pane yields last: before its
/// own text is cut at the end, the file name inside it is shortened in the middle. A pane
/// whose text is shortened holds the whole text as its tooltip. Window thread only.
class CStatusPanes : public QObject {
public:
    /// The panes in their order on the bar, left to right; arrYieldOrder: which of them
    /// give up room first (panes not listed keep their width).
    CStatusPanes(QStatusBar& bar, const std::vector<int>& arrPanes,
                 const std::vector<int>& arrYieldOrder);

    /// The pane's whole text and background (a Windows colour value 0x00BBGGRR).
    /// strElidable: a part of the text (a file name) that is shortened in the middle first.
    void SetText(int nPane, const QString& strText, uint32_t nColour,
                 const QString& strElidable = {});
    /// The whole text, as set.
    QString Text(int nPane) const;
    /// The text the pane shows now (shortened when the bar is short of room).
    QString ShownText(int nPane) const;
    uint32_t Colour(int nPane) const;
    QLabel* Label(int nPane) const { return m_panes.at(nPane).m_pLabel; }
    /// Shares the bar's width among the panes again.
    void Arrange();

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    struct CPane {
        QLabel* m_pLabel = nullptr;
        QString m_strText;
        QString m_strElidable;
        uint32_t m_nColour = 0;
        bool m_bOwnTip = false; ///< the tooltip is the whole of a shortened text
    };
    int NeededWidth(const CPane& pane) const;
    int RoomForPanes() const;
    void Show(CPane& pane, int nWidth);
    QString Fitted(const CPane& pane, int nTextWidth) const;

    QStatusBar& m_bar;
    std::vector<int> m_arrOrder;
    std::vector<int> m_arrYield;
    std::map<int, CPane> m_panes;
    bool m_bArranging = false;
};

} // namespace inkvale
