// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UiThreadHandOff.h"

#include "core/EngineHandOff.h"

#include "UiTestApp.h"

#include "common/RecordingEngineHost.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

#include <chrono>
#include <future>
#include <vector>

namespace inkvale {
namespace {

using CRecordingHost = test::CRecordingEngineHost;
constexpr int kStart = CRecordingHost::kStart;
constexpr int kScanAuto = CRecordingHost::kScanAuto;

// The engine's workers post their events and go on: nothing they send waits for the window
// thread, which runs the events in order; a scheduler call still waiting is not posted
// again.
TEST(UiThreadHandOffTest, WorkerEventsArePostedAndRunOnTheWindowThreadInOrder) {
    test::EnsureUiTestApp();
    CSettings settings;
    CRecordingHost target;
    CUiThreadHandOff handOff(settings);
    CHandOffEngineHost host(target, handOff);
    // The window thread runs no events meanwhile: a worker that waited for it would never end.
    auto worker = std::async(std::launch::async, [&] {
        host.ScanAutoFolder();
        host.JobFinished(kJobFailure);
        for (int i = 0; i < 5; ++i)
            host.StartNextTask();
    });
    ASSERT_EQ(worker.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    EXPECT_TRUE(target.m_arrCalls.empty());
    const auto tEnd = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (target.m_arrCalls.size() < 3 && std::chrono::steady_clock::now() < tEnd)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
    EXPECT_EQ(target.m_arrCalls, (std::vector<int>{kScanAuto, kJobFailure, kStart}));
    EXPECT_TRUE(target.m_bOnOwner);
    // On the window thread itself the call runs in place.
    host.StartNextTask();
    EXPECT_EQ(target.m_arrCalls.size(), 4u);
}

// Once the closing flag is set the window thread may be waiting for the workers to end:
// events posted then, and events still waiting, are dropped.
TEST(UiThreadHandOffTest, EventsAreDroppedOnceTheProgramCloses) {
    test::EnsureUiTestApp();
    CSettings settings;
    CRecordingHost target;
    CUiThreadHandOff handOff(settings);
    CHandOffEngineHost host(target, handOff);
    auto before = std::async(std::launch::async, [&] { host.ScanManualFolder(); });
    ASSERT_EQ(before.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    settings.m_nClosing = 1;
    auto after = std::async(std::launch::async, [&] { host.JobFinished(kJobFailure); });
    ASSERT_EQ(after.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    QCoreApplication::processEvents();
    EXPECT_TRUE(target.m_arrCalls.empty());
    host.ScanAutoFolder(); // on the window thread: still in place
    EXPECT_EQ(target.m_arrCalls, std::vector<int>{kScanAuto});
}

} // namespace
} // namespace inkvale
