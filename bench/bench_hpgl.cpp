// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a full-size HP-GL marker: the 30 MB file a garment CAD system sends for one roll.
//
//   bench_hpgl --write-marker FILE [MB]   writes the marker file (deterministic)
//   INKVALE_BENCH_HPGL=FILE bench_hpgl     times Read, Read + ToCurves, and + CleanCurves
//
// bench/hpgl_vs_hp2xx.sh runs both and times the whole `inkvale-cli curves` next to hp2xx.
#include "import/HpglFile.h"
#include "model/OnePage.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <numbers>
#include <random>
#include <string>

namespace inkvale {
namespace {

constexpr int32_t kRollLength = 100000; // 2.5 m along the feed
constexpr int32_t kRollWidth = 80000;   // 2 m across

// A garment piece: an outline split into polylines of 2-200 vertices (as CAD systems send
// them, each its own PU/PD pair), a grain line, a few notches and sometimes a label.
void WritePiece(std::string& out, std::mt19937& rng) {
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const double r = 800 + 7000 * u(rng);
    const double cx = r + (kRollLength - 2 * r) * u(rng);
    const double cy = r + (kRollWidth - 2 * r) * u(rng);
    const int nOutline = 20 + static_cast<int>(700 * u(rng));
    const double wobble = u(rng) * 6;
    char buf[64];
    auto point = [&](int i, bool bFirst) {
        const double t = 2 * std::numbers::pi * i / nOutline;
        const double rr = r * (0.8 + 0.15 * std::sin(wobble * t) + 0.05 * std::cos(11 * t));
        std::snprintf(buf, sizeof buf, "%s%d,%d", bFirst ? "" : ",",
                      static_cast<int>(cx + rr * std::cos(t)),
                      static_cast<int>(cy + rr * std::sin(t)));
        out += buf;
    };
    for (int i = 0; i < nOutline;) {
        const int n = std::min(nOutline - i, 1 + static_cast<int>(u(rng) * 199));
        out += "PU";
        point(i, true);
        out += ";PD";
        for (int k = 1; k <= n; ++k)
            point(i + k, k == 1);
        out += ";";
        i += n;
    }
    for (int k = 0; k < 4; ++k) { // grain line and notches: two vertices each
        const double len = k == 0 ? r : 150;
        const double a = u(rng) * 2 * std::numbers::pi;
        std::snprintf(buf, sizeof buf, "PU%d,%d;PD%d,%d;", static_cast<int>(cx),
                      static_cast<int>(cy), static_cast<int>(cx + len * std::cos(a)),
                      static_cast<int>(cy + len * std::sin(a)));
        out += buf;
    }
    if (u(rng) < 0.3) {
        std::snprintf(buf, sizeof buf, "PU%d,%d;LBSIZE %d PIECE %d\x03", static_cast<int>(cx),
                      static_cast<int>(cy), 34 + static_cast<int>(u(rng) * 12),
                      static_cast<int>(u(rng) * 40));
        out += buf;
    }
}

std::string MakeMarker(size_t nBytes) {
    std::mt19937 rng(20240611);
    std::string out = "IN;SP1;";
    out.reserve(nBytes + 100000);
    while (out.size() < nBytes)
        WritePiece(out, rng);
    out += "PU0,0;PG;";
    return out;
}

const char* MarkerPath() {
    const char* path = std::getenv("INKVALE_BENCH_HPGL");
    return path != nullptr && *path != 0 ? path : nullptr;
}

int64_t FileBytes(const char* path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return in ? static_cast<int64_t>(in.tellg()) : 0;
}

void ReadMarker(benchmark::State& state, bool bCurves, bool bClean) {
    const char* path = MarkerPath();
    if (path == nullptr) {
        state.SkipWithError("set INKVALE_BENCH_HPGL to a marker file (bench_hpgl --write-marker)");
        return;
    }
    size_t nVertices = 0;
    for (auto _ : state) {
        COnePage page;
        {
            CHpglFile file;
            file.m_strPath = path;
            if (!file.Read().Ok()) {
                state.SkipWithError("the marker file could not be read");
                return;
            }
            if (bCurves)
                file.ToCurves(page.m_arrCurves, 0);
        }
        if (bClean)
            page.CleanCurves();
        nVertices = page.VertexCount();
        benchmark::DoNotOptimize(page.m_arrCurves.data());
    }
    state.SetBytesProcessed(state.iterations() * FileBytes(path));
    state.counters["vertices"] = static_cast<double>(nVertices);
}

void BM_Read(benchmark::State& state) {
    ReadMarker(state, false, false);
}
void BM_ReadToCurves(benchmark::State& state) {
    ReadMarker(state, true, false);
}
void BM_ReadToCurvesClean(benchmark::State& state) {
    ReadMarker(state, true, true);
}

BENCHMARK(BM_Read)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadToCurves)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadToCurvesClean)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
} // namespace inkvale

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--write-marker") == 0) {
        const size_t nMb = argc >= 4 ? std::strtoul(argv[3], nullptr, 10) : 30;
        const std::string marker = inkvale::MakeMarker(nMb * 1000 * 1000);
        std::ofstream out(argv[2], std::ios::binary);
        out.write(marker.data(), static_cast<std::streamsize>(marker.size()));
        return out ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
