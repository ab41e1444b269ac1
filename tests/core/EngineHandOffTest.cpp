// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/EngineHandOff.h"

#include "core/LoopHandOff.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>
#include <vector>

namespace inkvale {
namespace {

using namespace std::chrono_literals;

// What the recording host was called for; a job's end records its result (1 or 2).
constexpr int kStart = 10;
constexpr int kScanManual = 11;
constexpr int kScanAuto = 12;

// Records the calls and whether each ran on the owning thread. Owning thread only.
class CRecordingHost : public IEngineHost {
public:
    void JobFinished(int nResult) override { Record(nResult); }
    int StartNextTask() override {
        Record(kStart);
        return 0;
    }
    void ScanManualFolder() override { Record(kScanManual); }
    void ScanAutoFolder() override { Record(kScanAuto); }
    void Record(int n) {
        m_arrCalls.push_back(n);
        m_bOnOwner = m_bOnOwner && std::this_thread::get_id() == m_owner;
    }
    std::vector<int> m_arrCalls;
    bool m_bOnOwner = true;
    std::thread::id m_owner = std::this_thread::get_id();
};

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
