// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/CurveHalves.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <stdexcept>
#include <thread>

namespace inkvale {
namespace {

CCurveArray RandomCurves(size_t nVertices) {
    std::mt19937 rng(3);
    CCurveArray curves;
    size_t n = 0;
    while (n < nVertices) {
        CCurve& c = curves.emplace_back();
        // A few long curves first, then many short ones, as in a marker with labels.
        const size_t nLength = curves.size() < 20 ? 5000 : 2 + rng() % 6;
        for (size_t k = 0; k < nLength; ++k)
            c.AddPoint(static_cast<int32_t>(rng() % 100), static_cast<int32_t>(rng() % 3));
        n += nLength;
    }
    return curves;
}

TEST(CurveHalves, EveryCurveOnceAndTheRunsHoldHalfTheVerticesEach) {
    CCurveArray curves = RandomCurves(3 * kCurveHalvesMinVertices);
    const size_t nSplit = CurveHalvesSplit(curves);
    if (std::thread::hardware_concurrency() >= 2) {
        ASSERT_GT(nSplit, 0u);
        size_t nFirst = 0, nAll = 0;
        for (size_t i = 0; i < curves.size(); ++i) {
            nAll += curves[i].m_arrPoints.size();
            nFirst += i < nSplit ? curves[i].m_arrPoints.size() : 0;
        }
        EXPECT_NEAR(static_cast<double>(nFirst) / static_cast<double>(nAll), 0.5, 0.01);
    }
    EXPECT_EQ(CurveHalvesSplit(RandomCurves(kCurveHalvesMinVertices / 2)), 0u)
        << "small: one thread";

    CCurveArray expected = curves;
    for (CCurve& c : expected) {
        c.RemoveDuplicates();
        c.RemoveCollinear();
    }
    std::atomic<size_t> nCalls{0};
    ForEachCurveInHalves(curves, [&](CCurve& c) {
        ++nCalls;
        c.RemoveDuplicates();
        c.RemoveCollinear();
    });
    EXPECT_EQ(nCalls, curves.size());
    ASSERT_EQ(curves.size(), expected.size());
    for (size_t i = 0; i < curves.size(); ++i)
        ASSERT_EQ(curves[i].m_arrPoints, expected[i].m_arrPoints) << i;
}

TEST(CurveHalves, AFailureOnTheSecondThreadReachesTheCaller) {
    CCurveArray curves = RandomCurves(3 * kCurveHalvesMinVertices);
    const CCurve* pLast = &curves.back();
    EXPECT_THROW(ForEachCurveInHalves(curves,
                                      [&](CCurve& c) {
                                          if (&c == pLast)
                                              throw std::runtime_error("failed");
                                      }),
                 std::runtime_error);
}

} // namespace
} // namespace inkvale
