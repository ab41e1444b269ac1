// SPDX-License-Identifier: GPL-3.0-or-later
// A machine that stops answering during a job: the monitor marks it offline within a few
// polls and tells the owning thread, the job goes on when the machine answers again, and
// only the link-lost limit counts the job as interrupted. With the pieces the front ends
// build their texts from: the silence watch and the job's time without its silences.

#include "PrintEngineFixture.h"
#include "machine/engine/JobActiveTime.h"
#include "machine/engine/SilenceWatch.h"

#include <chrono>
#include <vector>

namespace inkvale::test {
namespace {

using namespace std::chrono_literals;
using EChange = CSilenceWatch::EChange;

// Polls of a watch that counts three misses as silent, with what each poll must say.
TEST(SilenceWatch, ThreeMissedPollsInARowMakeTheMachineSilentUntilItAnswers) {
    struct Case {
        const char* m_pszName;
        std::vector<bool> m_polls; // answered?
        std::vector<EChange> m_changes;
        std::time_t m_tSinceAfter; // SilentSince after the last poll (polls at 100, 101, ...)
    };
    const Case cases[] = {
        {.m_pszName = "two misses are no silence",
         .m_polls = {true, false, false, true, false, false},
         .m_changes = {EChange::None, EChange::None, EChange::None, EChange::None, EChange::None,
                       EChange::None},
         .m_tSinceAfter = 0},
        {.m_pszName = "the third miss: silent since the last answer",
         .m_polls = {true, true, false, false, false, false},
         .m_changes = {EChange::None, EChange::None, EChange::None, EChange::None,
                       EChange::WentSilent, EChange::None},
         .m_tSinceAfter = 101},
        {.m_pszName = "an answer ends the silence, the next needs three misses again",
         .m_polls = {true, false, false, false, true, false, false},
         .m_changes = {EChange::None, EChange::None, EChange::None, EChange::WentSilent,
                       EChange::Answering, EChange::None, EChange::None},
         .m_tSinceAfter = 0},
        {.m_pszName = "never answered: silent since the first poll",
         .m_polls = {false, false, false},
         .m_changes = {EChange::None, EChange::None, EChange::WentSilent},
         .m_tSinceAfter = 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_pszName);
        CSilenceWatch watch(3);
        std::time_t t = 100;
        for (size_t i = 0; i < c.m_polls.size(); ++i)
            EXPECT_EQ(watch.Poll(c.m_polls[i], t++), c.m_changes[i]) << "poll " << i;
        EXPECT_EQ(watch.SilentSince(), c.m_tSinceAfter);
        EXPECT_EQ(watch.Silent(), c.m_tSinceAfter != 0);
    }
}

// The time left is figured from this: it stands still while the machine is silent, goes
// on from there once it answers, and a new job starts from zero.
TEST(JobActiveTime, SilentSpellsDoNotCount) {
    using CClock = CJobActiveTime::CClock;
    const CClock::time_point t0{};
    CJobActiveTime time;
    time.Tick(true, false, t0);
    time.Tick(true, false, t0 + 10s);
    EXPECT_DOUBLE_EQ(time.Seconds(t0 + 10s), 10.0);
    time.Tick(true, true, t0 + 12s);
    EXPECT_DOUBLE_EQ(time.Seconds(t0 + 12s), 12.0);
    EXPECT_DOUBLE_EQ(time.Seconds(t0 + 100s), 12.0); // silent: stands still
    time.Tick(true, false, t0 + 100s);
    EXPECT_DOUBLE_EQ(time.Seconds(t0 + 105s), 17.0); // goes on without the 88 s of silence
    time.Tick(false, false, t0 + 106s);
    EXPECT_DOUBLE_EQ(time.Seconds(t0 + 106s), 0.0);
    time.Tick(true, false, t0 + 200s); // the next job
    EXPECT_DOUBLE_EQ(time.Seconds(t0 + 203s), 3.0);
}

class SilentMachineTest : public CPrintEngineTest {
protected:
    void SetUp() override {
        CPrintEngineTest::SetUp();
        // Polls of 100 ms on the test clock (5 ms real): offline within a few milliseconds.
        m_pEngine->SetSilenceLimits({.m_poll = 100ms, .m_nMissedPolls = 3});
        GoOnline();
        m_pEngine->StartEngineThreads();
    }
    void TearDown() override {
        m_sim.SetSilentFor(0);
        CPrintEngineTest::TearDown();
    }
    // Starts a job of many bands and waits until the machine has confirmed a few.
    void StartLongJob() {
        m_task = LineTask(20000, 3000);
        ASSERT_TRUE(m_pEngine->StartPrintJob(m_task).Ok());
        ASSERT_TRUE(WaitFor([&] { return m_pEngine->State().m_nBandsDone >= 3; }));
    }
    COnePage m_task;
};

TEST_F(SilentMachineTest, OfflineWithinAFewPollsAndTheJobGoesOnWhenTheMachineAnswers) {
    StartLongJob();
    const int32_t nBandCount = m_pEngine->State().m_nBandCount;
    // Silent for longer than a poll series, shorter than the link-lost limit (two minutes).
    m_sim.SetSilentFor(1500);
    const auto silent = m_host.WaitSilenceEvent(0);
    ASSERT_TRUE(silent.has_value());
    EXPECT_TRUE(silent->m_bJobRunning);
    // The time it went silent is the monitor's last answered poll, on the engine's clock;
    // the shared state said so before the event was posted.
    EXPECT_EQ(silent->m_tSince, m_clock.m_tFixed);
    EXPECT_EQ(silent->m_tEngineSince, m_clock.m_tFixed);
    EXPECT_FALSE(silent->m_bOnline);
    const auto answering = m_host.WaitSilenceEvent(1);
    ASSERT_TRUE(answering.has_value());
    EXPECT_EQ(answering->m_tSince, 0);
    EXPECT_EQ(answering->m_tEngineSince, 0);
    EXPECT_TRUE(answering->m_bOnline);
    EXPECT_TRUE(answering->m_bJobRunning);
    // The job went on from where it stood and printed whole.
    EXPECT_EQ(m_host.WaitJobFinished(), kJobSuccess);
    EXPECT_EQ(m_pEngine->State().m_nBandsDone, nBandCount);
    const sim::CSimStats stats = m_sim.Stats();
    EXPECT_EQ(stats.m_nJobsFinished, 1);
    EXPECT_EQ(stats.m_nBadBands, 0);
    EXPECT_TRUE(m_sim.LastSheet().m_pixels == ExpectedSheet().m_pixels);
    // Whether a later poll was missed depends on the machine's load (a sanitizer build
    // misses some): only the silence made here is asserted.
}

// While silent, the shared state says so for every front end; the job counts as
// interrupted only once the link-lost limit has passed.
TEST_F(SilentMachineTest, OfflineAtOnceInterruptedOnlyAtTheLinkLostLimit) {
    m_pEngine->SetLinkLostLimit(1500ms);
    StartLongJob();
    m_sim.SetSilentFor(60000);
    const auto silent = m_host.WaitSilenceEvent(0);
    ASSERT_TRUE(silent.has_value());
    EXPECT_TRUE(silent->m_bJobRunning); // offline long before the job is given up
    EXPECT_EQ(silent->m_tEngineSince, m_clock.m_tFixed);
    EXPECT_FALSE(silent->m_bOnline);
    EXPECT_EQ(m_host.WaitJobFinished(), kJobFailure);
    (void)m_pEngine->JoinFinishedJob();
    EXPECT_EQ(m_pEngine->LastJobError(), "the machine has not answered for 1 s");
    EXPECT_EQ(m_pEngine->SilentSince(), 0); // no job: nothing to wait for
}

// An idle link during a job (the band sender busy producing a band, say) is no news: the
// monitor neither counts it as a miss nor asks the machine itself. An exchange the machine
// did not answer is a miss; one it answered ends the silence.
TEST_F(CPrintEngineTest, AnIdleLinkDuringAJobIsNoNewsAndTheBandSendersExchangesCount) {
    CEngineThreads& threads = m_pEngine->Services();
    threads.SetSilenceLimits({.m_poll = 100ms, .m_nMissedPolls = 1});
    const CEngineState& state = m_pEngine->State();
    GoOnline();
    m_status.m_bJobRunning = true; // a job whose band sender says nothing
    m_sim.ClearFrames();
    for (int i = 0; i < 3; ++i)
        threads.MonitorTurn();
    EXPECT_TRUE(m_sim.Frames().empty());
    EXPECT_EQ(state.m_nSilentSince, 0);
    m_sim.AddFault({sim::ESimFault::Garble, 'Q', kRegState, 1, 0, 0});
    EXPECT_EQ(m_pEngine->Link().ReadStatus(), -1); // as the band sender would
    threads.MonitorTurn();
    EXPECT_EQ(state.m_nSilentSince, m_clock.m_tFixed);
    EXPECT_EQ(state.m_nMachineOnline, 0);
    threads.MonitorTurn(); // nothing asked since: still silent
    EXPECT_EQ(state.m_nSilentSince, m_clock.m_tFixed);
    EXPECT_EQ(m_pEngine->Link().ReadStatus(), 0);
    threads.MonitorTurn();
    EXPECT_EQ(state.m_nSilentSince, 0);
    EXPECT_EQ(state.m_nMachineOnline, 1);
    m_status.m_bJobRunning = false;
}

} // namespace
} // namespace inkvale::test
