// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/LoopHandOff.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace inkvale {
namespace {

using namespace std::chrono_literals;

TEST(LoopHandOff, WorkerCallsRunOnTheLoopAndWaitForIt) {
    CSettings settings;
    CLoopHandOff handOff(settings);
    const std::thread::id owner = std::this_thread::get_id();
    std::vector<int> calls;
    std::atomic<int> nSeenByWorker{-1};
    std::thread worker([&] {
        handOff.Run([&] { calls.push_back(std::this_thread::get_id() == owner ? 1 : -1); });
        nSeenByWorker = static_cast<int>(calls.size()); // the call ran before Run returned
        handOff.Run([&] { calls.push_back(2); });
    });
    const auto tEnd = std::chrono::steady_clock::now() + 5s;
    while (calls.size() < 2 && std::chrono::steady_clock::now() < tEnd)
        handOff.RunOnce(10ms);
    worker.join();
    EXPECT_EQ(nSeenByWorker.load(), 1);
    EXPECT_EQ(calls, (std::vector<int>{1, 2}));
    // On the owning thread a call runs in place.
    handOff.Run([&] { calls.push_back(3); });
    EXPECT_EQ(calls.back(), 3);
}

TEST(LoopHandOff, ClosingOrStoppingReleasesAWaitingWorkerAndDropsItsCall) {
    for (const bool bStop : {false, true}) {
        CSettings settings;
        CLoopHandOff handOff(settings);
        std::atomic<bool> bReturned{false};
        bool bRan = false;
        // The loop does not run (it would be waiting for this worker in a shutdown).
        std::thread worker([&] {
            handOff.Run([&] { bRan = true; });
            bReturned = true;
        });
        std::this_thread::sleep_for(100ms);
        EXPECT_FALSE(bReturned.load());
        if (bStop)
            handOff.Stop();
        else
            settings.m_nClosing = 1;
        worker.join(); // must not hang
        handOff.RunOnce(0ms);
        EXPECT_FALSE(bRan) << (bStop ? "stopped" : "closing");
        // A new call from a worker returns at once.
        std::thread late([&] { handOff.Run([&] { bRan = true; }); });
        late.join();
        EXPECT_FALSE(bRan);
    }
}

} // namespace
} // namespace inkvale
