// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TwoThreads.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

namespace inkvale {
namespace {

TEST(TwoThreads, BothRunAndWhatEitherThrowsReachesTheCallerAfterBoth) {
    std::thread::id first;
    std::thread::id second;
    RunOnTwoThreads([&] { first = std::this_thread::get_id(); },
                    [&] { second = std::this_thread::get_id(); });
    EXPECT_EQ(first, std::this_thread::get_id());
    EXPECT_NE(second, std::thread::id{});

    bool bSecondRan = false;
    EXPECT_THROW(
        RunOnTwoThreads([] { throw std::runtime_error("first"); }, [&] { bSecondRan = true; }),
        std::runtime_error);
    EXPECT_TRUE(bSecondRan) << "the caller hears of the failure only once both have ended";
    bool bFirstRan = false;
    EXPECT_THROW(
        RunOnTwoThreads([&] { bFirstRan = true; }, [] { throw std::logic_error("second"); }),
        std::logic_error);
    EXPECT_TRUE(bFirstRan);
}

} // namespace
} // namespace inkvale
