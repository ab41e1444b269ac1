// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/engine/ManualCommands.h"

#include "config/Settings.h"
#include "machine/link/MachineProtocol.h"
#include "machine/link/MachineCommands.h"

namespace inkvale {

namespace {

bool IsJogButton(int nButton) {
    return nButton >= kBtnLeft && nButton <= kBtnBack;
}

/// The ids between Stop and the jog buttons belong to the list's commands (delete, copies,
/// rotate), which need no machine: only the buttons themselves are machine buttons.
bool IsMachineButton(int nButton) {
    switch (nButton) {
    case kBtnStart:
    case kBtnPause:
    case kBtnStop:
    case kBtnReset:
    case kBtnTest:
        return true;
    default:
        return IsJogButton(nButton);
    }
}

int JogAction(int nButton) {
    switch (nButton) {
    case kBtnLeft:
        return kActLeft;
    case kBtnRight:
        return kActRight;
    case kBtnFeed:
        return kActFeed;
    default:
        return kActBack;
    }
}

CManualOutcome Send(int nAction) {
    return {nAction, false, false};
}

CManualOutcome StartClicked(const CCommandBarState& state) {
    if (!state.m_bJobRunning)
        return {kNoAction, true, false};
    return state.m_nMachineState == kStatePaused ? Send(kActResume) : CManualOutcome{};
}

CManualOutcome StopClicked(const CCommandBarState& state) {
    const int nLow = state.m_nMachineState & 0x0F;
    if (nLow != kStateProcessing && nLow != kStatePrinting && nLow != kStatePaused)
        return {};
    return {kActStop, false, true};
}

} // namespace

CManualOutcome JogPressed(int nButton, const CCommandBarState& state) {
    if (!IsJogButton(nButton) || !state.m_bMachineOnline)
        return {};
    return Send(JogAction(nButton));
}

CManualOutcome JogReleased(int nButton, const CCommandBarState& state) {
    if (!IsJogButton(nButton) || !state.m_bMachineOnline)
        return {};
    return Send(kActJogStop);
}

CManualOutcome ButtonPressMessage(int nButton, int nLParam, const CCommandBarState& state) {
    return nLParam == 1 ? JogPressed(nButton, state) : JogReleased(nButton, state);
}

CManualOutcome ButtonClicked(int nButton, const CCommandBarState& state) {
    switch (nButton) {
    case kBtnStart:
        return StartClicked(state);
    case kBtnPause:
        if ((state.m_nMachineState & 0x0F) == kStatePrinting)
            return Send(kActPause);
        return state.m_nMachineState == kStatePaused ? Send(kActResume) : CManualOutcome{};
    case kBtnStop:
        return StopClicked(state);
    case kBtnReset:
        return state.m_nMachineState == kStateReady ? Send(kActReset) : CManualOutcome{};
    case kBtnTest:
        return state.m_nMachineState == kStateReady ? Send(kActTest) : CManualOutcome{};
    default:
        return {};
    }
}

CButtonAvailability ButtonAvailability(int nButton, const CCommandBarState& state) {
    const int nLow = state.m_nMachineState & 0x0F;
    const bool bReady = state.m_bMachineOnline && state.m_nMachineState == kStateReady;
    const auto why = [](EMsg eWhy) { return CButtonAvailability{false, eWhy}; };
    if (!state.m_bMachineOnline && IsMachineButton(nButton))
        return why(EMsg::kMachineOffline);
    switch (nButton) {
    case kBtnStart:
        if (state.m_bJobRunning)
            return state.m_nMachineState == kStatePaused ? CButtonAvailability{}
                                                         : why(EMsg::kJobRunning);
        return bReady ? CButtonAvailability{} : why(EMsg::kMachineNotReady);
    case kBtnPause:
        return nLow == kStatePrinting || state.m_nMachineState == kStatePaused
                   ? CButtonAvailability{}
                   : why(EMsg::kNothingToPause);
    case kBtnStop:
        return nLow == kStateProcessing || nLow == kStatePrinting || nLow == kStatePaused
                   ? CButtonAvailability{}
                   : why(EMsg::kNothingToStop);
    case kBtnReset:
    case kBtnTest:
        if (state.m_bJobRunning)
            return why(EMsg::kJobRunning);
        return bReady ? CButtonAvailability{} : why(EMsg::kMachineNotReady);
    default:
        if (IsJogButton(nButton) && state.m_bJobRunning)
            return why(EMsg::kJobRunning);
        return {};
    }
}

void ApplyManualOutcome(const CManualOutcome& outcome, CMachineCommands& commu, CSettings& settings) {
    if (outcome.m_nAction != kNoAction)
        (void)commu.SendAction(static_cast<uint8_t>(outcome.m_nAction));
    if (outcome.m_bAutoStartOff)
        settings.AutoStartEnable = 0;
}

} // namespace inkvale
