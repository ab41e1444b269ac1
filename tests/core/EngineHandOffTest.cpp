// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/EngineHandOff.h"

#include "core/LoopHandOff.h"

#include "common/RecordingEngineHost.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>
#include <vector>

namespace inkvale {
namespace {

using namespace std::chrono_literals;

using CRecordingHost = test::CRecordingEngineHost;
constexpr int kStart = CRecordingHost::kStart;
constexpr int kScanManual = CRecordingHost::kScanManual;
constexpr int kScanAuto = CRecordingHost::kScanAuto;

// Runs the loop until n calls arrived, at most 10 s.
void RunUntil(CLoopHandOff& loop, const CRecordingHost& target, size_t n) {
    const auto tEnd = std::chrono::steady_clock::now() + 10s;
    while (target.m_arrCalls.size() < n && std::chrono::steady_clock::now() < tEnd)
        loop.RunOnce(10ms);
}

// A worker's calls return before the owner has run anything; the owner then runs them in
// order, a scheduler or scan call that is still waiting only once.
TEST(EngineHandOff, WorkersPostAndTheOwnerRunsEachWaitingCallOnce) {
    CSettings settings;
    CLoopHandOff loop(settings);
    CRecordingHost target;
    CHandOffEngineHost host(target, loop);
    auto worker = std::async(std::launch::async, [&] {
        host.ScanAutoFolder();
        host.ScanAutoFolder();
        host.JobFinished(kJobSuccess);
        for (int i = 0; i < 5; ++i)
            host.StartNextTask();
        host.ScanManualFolder();
    });
    ASSERT_EQ(worker.wait_for(30s), std::future_status::ready); // nothing waited for the loop
    EXPECT_TRUE(target.m_arrCalls.empty());
    RunUntil(loop, target, 4);
    loop.RunOnce(0ms);
    EXPECT_EQ(target.m_arrCalls, (std::vector<int>{kScanAuto, kJobSuccess, kStart, kScanManual}));
    EXPECT_TRUE(target.m_bOnOwner);

    // Once a call has started, the next turn of the worker is posted again.
    auto again = std::async(std::launch::async, [&] { host.StartNextTask(); });
    ASSERT_EQ(again.wait_for(30s), std::future_status::ready);
    RunUntil(loop, target, 5);
    EXPECT_EQ(target.m_arrCalls.back(), kStart);
}

// Once the program closes, the owner may be waiting for the workers to end: their calls are
// dropped, never run after.
TEST(EngineHandOff, CallsPostedWhileClosingAreDropped) {
    CSettings settings;
    CLoopHandOff loop(settings);
    CRecordingHost target;
    CHandOffEngineHost host(target, loop);
    settings.m_nClosing = 1;
    auto worker = std::async(std::launch::async, [&] {
        host.JobFinished(kJobFailure);
        host.ScanManualFolder();
    });
    ASSERT_EQ(worker.wait_for(30s), std::future_status::ready);
    loop.RunOnce(0ms); // nothing was queued: the calls were dropped as they came
    EXPECT_TRUE(target.m_arrCalls.empty());
}

} // namespace
} // namespace inkvale
