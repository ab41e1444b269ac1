// SPDX-License-Identifier: GPL-3.0-or-later
// The manual machine commands: which button event sends which action in which state.

#include "SimFixture.h"
#include "config/Settings.h"
#include "machine/engine/ManualCommands.h"

#include <gtest/gtest.h>

namespace inkvale::test {
namespace {

enum EEvent { kPress, kRelease, kClick };

struct Case {
    int nButton;
    EEvent event;
    uint8_t nState;
    bool bOnline;
    bool bJob;
    CManualOutcome expected;
};

constexpr CManualOutcome kNothing{};
constexpr CManualOutcome Act(int n) {
    return {n, false, false};
}
constexpr CManualOutcome kPrintCurrent{kNoAction, true, false};
constexpr CManualOutcome kStop{kActStop, false, true};

// state byte, online flag, job running -> frame sent (or nothing) and further effects.
const Case kCases[] = {
    // Jog buttons: only the online flag counts, not the state byte.
    {kBtnLeft, kPress, 1, true, false, Act(kActLeft)},
    {kBtnRight, kPress, 0x37, true, true, Act(kActRight)},
    {kBtnFeed, kPress, 4, true, true, Act(kActFeed)},
    {kBtnBack, kPress, 1, true, false, Act(kActBack)},
    {kBtnLeft, kRelease, 1, true, false, Act(kActJogStop)},
    {kBtnBack, kRelease, 0xFF, true, false, Act(kActJogStop)},
    {kBtnLeft, kPress, 1, false, false, kNothing},
    {kBtnFeed, kRelease, 1, false, false, kNothing},
    {kBtnStart, kPress, 1, true, false, kNothing}, // press/release only moves jog buttons
    // Start: prints the current task without a job, resumes a paused job.
    {kBtnStart, kClick, 1, true, false, kPrintCurrent},
    {kBtnStart, kClick, 0xFF, false, false, kPrintCurrent},
    {kBtnStart, kClick, 6, true, true, Act(kActResume)},
    {kBtnStart, kClick, 4, true, true, kNothing},
    {kBtnStart, kClick, 0x16, true, true, kNothing}, // resume compares the whole byte
    // Pause and Stop compare the low four bits.
    {kBtnPause, kClick, 4, true, true, Act(kActPause)},
    {kBtnPause, kClick, 0x14, true, true, Act(kActPause)},
    {kBtnPause, kClick, 6, true, true, Act(kActResume)}, // pressed again: resumes
    {kBtnPause, kClick, 1, true, false, kNothing},
    {kBtnStop, kClick, 3, true, true, kStop},
    {kBtnStop, kClick, 4, true, true, kStop},
    {kBtnStop, kClick, 6, true, true, kStop},
    {kBtnStop, kClick, 0x14, true, true, kStop},
    {kBtnStop, kClick, 1, true, false, kNothing},
    {kBtnStop, kClick, 5, true, true, kNothing},
    // Reset and Test need the whole byte to be ready.
    {kBtnReset, kClick, 1, true, false, Act(kActReset)},
    {kBtnReset, kClick, 0x11, true, false, kNothing},
    {kBtnReset, kClick, 0x14, true, true, kNothing},
    {kBtnTest, kClick, 1, false, false, Act(kActTest)},
    {kBtnTest, kClick, 0x14, true, true, kNothing},
    {kBtnTest, kClick, 2, true, false, kNothing},
    // Clicks on the jog buttons and unknown ids do nothing.
    {kBtnLeft, kClick, 1, true, false, kNothing},
    {290, kClick, 1, true, false, kNothing},
};

TEST(ManualCommand, ConditionTable) {
    for (const Case& c : kCases) {
        const CCommandBarState state{c.nState, c.bOnline, c.bJob};
        const CManualOutcome got =
            c.event == kClick ? ButtonClicked(c.nButton, state)
                              : ButtonPressMessage(c.nButton, c.event == kPress ? 1 : 0, state);
        EXPECT_EQ(got.m_nAction, c.expected.m_nAction)
            << "button " << c.nButton << " event " << c.event << " state " << int{c.nState}
            << " online " << c.bOnline << " job " << c.bJob;
        EXPECT_EQ(got, c.expected) << "button " << c.nButton << " state " << int{c.nState};
    }
}

// A button is enabled only while its click can act; otherwise its tooltip says why.
TEST(ManualCommand, AvailabilityTable) {
    struct {
        int nButton;
        uint8_t nState;
        bool bOnline;
        bool bJob;
        EMsg eWhyNot; // kNone: enabled
    } const cases[] = {
        {kBtnStart, 1, true, false, EMsg::kNone},
        {kBtnStart, 1, false, false, EMsg::kMachineOffline},
        {kBtnStart, 2, true, false, EMsg::kMachineNotReady},
        {kBtnStart, 4, true, true, EMsg::kJobRunning},
        {kBtnStart, 6, true, true, EMsg::kNone}, // resumes
        {kBtnPause, 4, true, true, EMsg::kNone},
        {kBtnPause, 6, true, true, EMsg::kNone},
        {kBtnPause, 1, true, false, EMsg::kNothingToPause},
        {kBtnStop, 3, true, true, EMsg::kNone},
        {kBtnStop, 1, true, false, EMsg::kNothingToStop},
        {kBtnStop, 4, false, true, EMsg::kMachineOffline},
        {kBtnReset, 1, true, false, EMsg::kNone},
        {kBtnReset, 1, true, true, EMsg::kJobRunning},
        {kBtnTest, 9, true, false, EMsg::kMachineNotReady},
        {kBtnLeft, 4, true, true, EMsg::kJobRunning},
        {kBtnLeft, 1, true, false, EMsg::kNone},
        {290, 0xFF, false, false, EMsg::kNone},
        // The list's commands share the id range of the bar but never need the machine.
        {275, 0xFF, false, false, EMsg::kNone}, // delete
        {276, 0xFF, false, false, EMsg::kNone}, // copies up
        {277, 0xFF, false, false, EMsg::kNone}, // copies down
        {278, 0xFF, false, false, EMsg::kNone}, // rotate
        {kBtnFeed, 0xFF, false, false, EMsg::kMachineOffline},
    };
    for (const auto& c : cases) {
        const CButtonAvailability got =
            ButtonAvailability(c.nButton, {c.nState, c.bOnline, c.bJob});
        EXPECT_EQ(got, (CButtonAvailability{c.eWhyNot == EMsg::kNone, c.eWhyNot}))
            << "button " << c.nButton << " state " << int{c.nState};
    }
}

class ManualCommandSimTest : public CSimCommuTest {};

TEST_F(ManualCommandSimTest, LeftPressAndReleaseSendActionsFourThenOne) {
    CSettings settings;
    const CCommandBarState online{1, true, false};
    ApplyManualOutcome(JogPressed(kBtnLeft, online), *m_pCommu, settings);
    ApplyManualOutcome(JogReleased(kBtnLeft, online), *m_pCommu, settings);
    const CCommandBarState offline{1, false, false};
    ApplyManualOutcome(JogPressed(kBtnRight, offline), *m_pCommu, settings);
    ApplyManualOutcome(JogReleased(kBtnRight, offline), *m_pCommu, settings);
    const auto actions = FramesOfKind('P');
    ASSERT_EQ(actions.size(), 2u);
    EXPECT_EQ(actions[0], (std::vector<uint8_t>{0x03, 0x50, 0x04}));
    EXPECT_EQ(actions[1], (std::vector<uint8_t>{0x03, 0x50, 0x01}));
}

TEST_F(ManualCommandSimTest, StopOnlySwitchesAutomaticModeOffWhenItActs) {
    CSettings settings;
    settings.AutoStartEnable = 1;
    ApplyManualOutcome(ButtonClicked(kBtnStop, {1, true, false}), *m_pCommu, settings);
    EXPECT_EQ(settings.AutoStartEnable, 1);
    EXPECT_TRUE(FramesOfKind('P').empty());
    ApplyManualOutcome(ButtonClicked(kBtnStop, {4, true, true}), *m_pCommu, settings);
    EXPECT_EQ(settings.AutoStartEnable, 0);
    ASSERT_EQ(FramesOfKind('P').size(), 1u);
    EXPECT_EQ(FramesOfKind('P')[0], (std::vector<uint8_t>{0x03, 0x50, 0x0D}));
}

} // namespace
} // namespace inkvale::test
