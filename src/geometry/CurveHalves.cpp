// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/CurveHalves.h"

#include "support/TwoThreads.h"

#include <thread>

namespace inkvale {

namespace {

void ForRun(CCurveArray& curves, size_t nBegin, size_t nEnd,
            const std::function<void(CCurve&)>& fn) {
    for (size_t i = nBegin; i < nEnd; ++i)
        fn(curves[i]);
}

} // namespace

size_t CurveHalvesSplit(const CCurveArray& curves) {
    size_t nVertices = 0;
    for (const CCurve& c : curves)
        nVertices += c.m_arrPoints.size();
    // Asked once: the answer may take the system a file read.
    static const unsigned nProcessors = std::thread::hardware_concurrency();
    if (nVertices < kCurveHalvesMinVertices || nProcessors < 2)
        return 0;
    size_t nSoFar = 0;
    for (size_t i = 0; i < curves.size(); ++i) {
        nSoFar += curves[i].m_arrPoints.size();
        if (2 * nSoFar >= nVertices)
            return i + 1;
    }
    return 0;
}

void ForEachCurveInHalves(CCurveArray& curves, const std::function<void(CCurve&)>& fn) {
    const size_t nSplit = CurveHalvesSplit(curves);
    if (nSplit == 0 || nSplit >= curves.size()) {
        ForRun(curves, 0, curves.size(), fn);
        return;
    }
    RunOnTwoThreads([&] { ForRun(curves, 0, nSplit, fn); },
                    [&] { ForRun(curves, nSplit, curves.size(), fn); });
}

} // namespace inkvale
