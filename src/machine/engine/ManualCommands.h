// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/Result.h"

#include <cstdint>

namespace inkvale {

class CMachineCommands;
struct CSettings;

/// Control ids of the command-bar buttons that drive the machine.
enum EMachineButton : int {
    kBtnStart = 272,
    kBtnPause = 273,
    kBtnStop = 274,
    kBtnLeft = 279,
    kBtnRight = 280,
    kBtnFeed = 281,
    kBtnBack = 282,
    kBtnReset = 283,
    kBtnTest = 284,
};

/// The private message the bar's buttons send on left-button down (lParam 1) and up
/// (lParam 0), with the control id in wParam; only the jog buttons act on it.
inline constexpr uint32_t kMsgButtonPress = 9999;

/// What the command bar knows when a button is used.
struct CCommandBarState {
    uint8_t m_nMachineState = 0xFF; ///< `MachineState`
    bool m_bMachineOnline = false;  ///< `MachineOnline`
    bool m_bJobRunning = false;     ///< `JobThread` is set
};

/// No action frame.
inline constexpr int kNoAction = -1;

/// What one button event does.
struct CManualOutcome {
    int m_nAction = kNoAction;        ///< action code to send, or kNoAction
    bool m_bPrintCurrentTask = false; ///< Start without a job: print the current task
    bool m_bAutoStartOff = false;     ///< Stop: automatic mode off, the "自动" button up
    bool operator==(const CManualOutcome&) const = default;
};

/// A jog button (279..282) pressed: its movement while the machine is online.
CManualOutcome JogPressed(int nButton, const CCommandBarState& state);
/// A jog button released: stop the movement while the machine is online.
CManualOutcome JogReleased(int nButton, const CCommandBarState& state);
/// The private press/release message: JogPressed for lParam 1, JogReleased otherwise;
/// nothing for buttons other than the four jog buttons.
CManualOutcome ButtonPressMessage(int nButton, int nLParam, const CCommandBarState& state);
/// A click on Start, Pause, Stop, Reset or Test; nothing for other ids.
CManualOutcome ButtonClicked(int nButton, const CCommandBarState& state);

/// Whether a machine button can act in this state, and if not, why (for its tooltip).
struct CButtonAvailability {
    bool m_bEnabled = true;
    EMsg m_eWhyNot = EMsg::kNone;
    bool operator==(const CButtonAvailability&) const = default;
};
/// Start, Pause, Stop, Reset, Test and the four jog buttons; every other id is always
/// available. Pause is available while printing and while paused (a second press resumes).
CButtonAvailability ButtonAvailability(int nButton, const CCommandBarState& state);

/// Carries an outcome out: sends its action (the result is not examined; the state pane
/// shows what the machine did) and switches automatic mode off when asked. Printing the
/// current task is left to the caller (the queue). Window thread only.
void ApplyManualOutcome(const CManualOutcome& outcome, CMachineCommands& commu, CSettings& settings);

} // namespace inkvale
