// SPDX-License-Identifier: GPL-3.0-or-later
// What the preflight adds to a load: the HP-GL marker named by INKVALE_BENCH_HPGL (write one
// with `bench_hpgl --write-marker FILE 30`) loaded as the program loads a task, and then
// looked at, each timed on its own. The counter preflight_share is the preflight's time
// over the load's.

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "model/OnePage.h"
#include "model/TaskDrawingLoader.h"
#include "queue/Preflight.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

namespace inkvale {
namespace {

void BM_LoadThenPreflight(benchmark::State& state) {
    const char* pszPath = std::getenv("INKVALE_BENCH_HPGL");
    if (pszPath == nullptr) {
        state.SkipWithError("set INKVALE_BENCH_HPGL to a marker file (bench_hpgl --write-marker)");
        return;
    }
    CSettings settings;
    CMachineParams params;
    params.ResetMachineParams();
    double dLoad = 0.0, dPreflight = 0.0;
    for (auto _ : state) {
        COnePage task;
        task.m_strPath = pszPath;
        task.m_strName = "marker.plt";
        const auto t0 = std::chrono::steady_clock::now();
        if (!LoadTaskDrawing(task, settings, false).Ok()) {
            state.SkipWithError("the marker cannot be read");
            return;
        }
        const auto t1 = std::chrono::steady_clock::now();
        const CPreflight preflight = RunPreflight(task, settings, params);
        const auto t2 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(preflight.m_figures.m_nDots);
        dLoad += std::chrono::duration<double>(t1 - t0).count();
        dPreflight += std::chrono::duration<double>(t2 - t1).count();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["load_s"] = dLoad / n;
    state.counters["preflight_s"] = dPreflight / n;
    state.counters["preflight_share"] = dLoad > 0 ? dPreflight / dLoad : 0.0;
}

BENCHMARK(BM_LoadThenPreflight)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

} // namespace
} // namespace inkvale

BENCHMARK_MAIN();
