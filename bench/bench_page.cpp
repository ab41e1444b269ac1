// SPDX-License-Identifier: GPL-3.0-or-later
// The page operations on a full-size marker: a 2 m x 20 m roll covered with garment-like
// pieces, about 1.2 million vertices. Every operation works on a fresh copy of the marker
// made outside the timed region.
#include "model/HpglWriter.h"
#include "model/OnePage.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <unistd.h>

namespace inkvale {
namespace {

constexpr int32_t kRollLength = 800000; // 20 m along the feed
constexpr int32_t kRollWidth = 80000;   // 2 m across
constexpr int kColumns = 100;
constexpr int kRows = 20;
constexpr int kVerticesPerPiece = 600;

// One closed wobbly outline per grid cell, with the repeated vertices and straight runs a
// CAD export contains, so that the clean-up has work to do.
CCurve Piece(int col, int row) {
    const double cellX = double(kRollLength) / kColumns;
    const double cellY = double(kRollWidth) / kRows;
    const double cx = (col + 0.5) * cellX;
    const double cy = (row + 0.5) * cellY;
    CCurve c;
    c.m_nPen = 1 + (col + row) % 2;
    for (int i = 0; i < kVerticesPerPiece; ++i) {
        const double t = 2 * std::numbers::pi * i / kVerticesPerPiece;
        const double r = 0.42 + 0.04 * std::sin(7 * t + col) + 0.02 * std::cos(13 * t + row);
        const int32_t x = static_cast<int32_t>(cx + r * cellX * std::cos(t));
        const int32_t y = static_cast<int32_t>(cy + r * cellY * std::sin(t));
        c.AddPoint(x, y);
        if (i % 50 == 0)
            c.AddPoint(x, y); // duplicate
    }
    c.AddPoint(c.m_arrPoints.front().x, c.m_arrPoints.front().y);
    return c;
}

const COnePage& Marker() {
    static const COnePage page = [] {
        COnePage p;
        for (int col = 0; col < kColumns; ++col)
            for (int row = 0; row < kRows; ++row)
                p.m_arrCurves.push_back(Piece(col, row));
        // Straight runs along the roll edges, cut into many collinear steps.
        for (int32_t y : {0, kRollWidth}) {
            CCurve edge;
            for (int32_t x = 0; x <= kRollLength; x += 100)
                edge.AddPoint(x, y);
            p.m_arrCurves.push_back(std::move(edge));
        }
        p.CalcExtents();
        return p;
    }();
    return page;
}

const COnePage& CleanMarker() {
    static const COnePage page = [] {
        COnePage p = Marker();
        p.CleanCurves();
        p.CalcExtents();
        return p;
    }();
    return page;
}

// Runs op on a fresh copy of the input in every iteration; only op is timed.
template <class Op>
void RunOnCopy(benchmark::State& state, const COnePage& input, Op op) {
    for (auto _ : state) {
        state.PauseTiming();
        COnePage page = input;
        state.ResumeTiming();
        op(page);
        benchmark::DoNotOptimize(page.m_arrCurves.data());
        state.PauseTiming();
        page = COnePage{}; // freeing the copy is not part of the operation
        state.ResumeTiming();
    }
    state.counters["vertices"] = double(input.VertexCount());
}

void BM_CleanCurves(benchmark::State& state) {
    RunOnCopy(state, Marker(), [](COnePage& p) { p.CleanCurves(); });
}

void BM_ExplodeJoin(benchmark::State& state) {
    RunOnCopy(state, CleanMarker(), [](COnePage& p) {
        p.ExplodeSegments();
        p.JoinSegments();
    });
}

void BM_SplitWidthThreeStrips(benchmark::State& state) {
    const int32_t w = CleanMarker().m_nMaxY / 3 + 1; // two passes: three strips
    RunOnCopy(state, CleanMarker(), [w](COnePage& p) { p.SplitWidth(w); });
}

void BM_SplitLengthMetrePieces(benchmark::State& state) {
    constexpr int32_t kMetre = 40000;
    RunOnCopy(state, CleanMarker(), [](COnePage& p) {
        // The first metre stays, the rest is cut again until nothing lies beyond a metre.
        std::vector<COnePage> pieces;
        COnePage* rest = &p;
        pieces.reserve(kRollLength / kMetre + 1);
        while (rest->m_nMaxX > kMetre) {
            pieces.emplace_back();
            rest->SplitAtLength(pieces.back(), kMetre);
            rest = &pieces.back();
        }
        benchmark::DoNotOptimize(pieces.data());
    });
}

void BM_WriteHpgl(benchmark::State& state) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("inkvale_bench_" + std::to_string(getpid()) + ".plt"))
                                 .string();
    const COnePage& page = CleanMarker();
    for (auto _ : state) {
        const CWriteResult res = WriteHpgl(page, path);
        if (!res.Ok())
            state.SkipWithError(res.m_strDiag.c_str());
    }
    state.counters["bytes"] = double(std::filesystem::file_size(path));
    state.counters["vertices"] = double(page.VertexCount());
    std::filesystem::remove(path);
}

BENCHMARK(BM_CleanCurves)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ExplodeJoin)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SplitWidthThreeStrips)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SplitLengthMetrePieces)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_WriteHpgl)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
} // namespace inkvale

BENCHMARK_MAIN();
