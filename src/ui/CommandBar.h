// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/engine/ManualCommands.h"

#include "config/Settings.h"

#include <QWidget>

#include <map>

class QLabel;
class QToolButton;

namespace inkvale {

/// The command bar docked at the top of the main window: job control, copies, rotation,
/// the four jog buttons, test, offset, settings, parameters, IP, the automatic-mode switch,
/// the preview's tool buttons and the language button. Every click goes out as Command(id);
/// the jog buttons also report press and release as ButtonPress(id, 1 / 0). The main window
/// decides what a command does. Icons are named by number (":/icons/<n>.svg").
class CCommandBar : public QWidget {
    Q_OBJECT
public:
    /// Control ids of the bar that are not machine buttons.
    enum : int {
        kIdAdd = 270,
        kIdSave = 271,
        kIdDelete = 275,
        kIdInc = 276,
        kIdDec = 277,
        kIdRotate = 278,
        kIdSetup = 285,
        kIdParam = 286,
        kIdIp = 287,
        kIdOffset = 288,
        kIdFit = 289,
        kIdSelect = 290,
        kIdMoveView = 291,
        kIdMoveLine = 292,
        kIdSetStart = 293,
        kIdAuto = 240,
        kIdLanguage = 314,
        kIdLanguageNotice = 530,
    };

    CCommandBar(CSettings& settings, QWidget* pParent = nullptr);

    /// Icons of the tool buttons from the preview's mouse mode.
    void RefreshToolButtons();
    /// Start, Pause, Stop, Reset, Test and the jog buttons are enabled only while they can
    /// act; a disabled one's tooltip says why. Pause stays pressed while the job is paused.
    void UpdateMachineButtons(const CCommandBarState& state);
    /// `AutoStartEnable` := 0 and the "自动" box unticked.
    void ReleaseAutoButton();
    /// The language icon of the current setting; the restart notice shown when bChanged.
    void ShowLanguageButton(bool bChanged);
    /// The language button: the next language (0..5, then 0) and the notice.
    void CycleLanguage();

    /// Number of the icon a control shows now (0 for an unknown id).
    int IconOf(int nId) const;
    /// The tooltip of a control ("" for none).
    QString ToolTipOf(int nId) const;
    QToolButton* Button(int nId) const;
    bool AutoTicked() const;
    bool NoticeVisible() const;

    /// Icon of the language button for a language value.
    static int LanguageIcon(int32_t nLanguage);

    /// Makes the bar fit nWidth pixels: the buttons with their captions when they fit
    /// whole, else icons alone (each with its tooltip) at the largest size that fits.
    void FitWidth(int nWidth);
    /// The buttons show icons alone.
    bool Compact() const { return m_bCompact; }
    /// The bar may be made narrower than its buttons ask (FitWidth makes them fit again),
    /// so that it never holds the window wider than its screen.
    QSize minimumSizeHint() const override;

signals:
    /// A button was clicked (the "自动" box after it has updated AutoStartEnable).
    void Command(int nId);
    /// Left button down (nLParam 1) or up (0) on a jog button.
    void ButtonPress(int nId, int nLParam);

private:
    QToolButton* AddButton(int nId, const char* szCaption, int nIcon, bool bSmall);
    void SetIcon(int nId, int nIcon);
    void SetToolTips();
    void AutoClicked(bool bTicked);

    CSettings& m_settings;
    std::map<int, QToolButton*> m_buttons;
    std::map<int, int> m_icons;
    QLabel* m_pNotice = nullptr;
    bool m_bCompact = false;
    int m_nLargeIcon = 0;
    void SetForm(bool bCompact, int nIcon);
};

} // namespace inkvale
