// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/CurveHalves.h"

#include <exception>
#include <system_error>
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
    std::exception_ptr pFailure;
    std::thread worker;
    try {
        worker = std::thread([&] {
            try {
                ForRun(curves, nSplit, curves.size(), fn);
            } catch (...) {
                pFailure = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        ForRun(curves, 0, curves.size(), fn); // no second thread to be had
        return;
    }
    try {
        ForRun(curves, 0, nSplit, fn);
    } catch (...) {
        worker.join();
        throw;
    }
    worker.join();
    if (pFailure)
        std::rethrow_exception(pFailure);
}

} // namespace inkvale
