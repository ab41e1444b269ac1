// SPDX-License-Identifier: GPL-3.0-or-later
// Band production: render + format + encode per band on a dense generated marker, and the
// zero-run coder on a worst-case column image.

#include "model/OnePage.h"
#include "raster/BandJob.h"
#include "raster/PrintHeadCodec.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>
#include <vector>

namespace inkvale {
namespace {

constexpr int32_t kMm = 40;

// One garment piece: a closed wobbly outline, a dashed seam line inside it, a grain line,
// notches and a few rows of small label strokes.
void AddPiece(CCurveArray& curves, std::mt19937& rng, int32_t x0, int32_t y0, int32_t w,
              int32_t h) {
    std::uniform_real_distribution<double> wobble(0.9, 1.0);
    const double cx = x0 + w / 2.0, cy = y0 + h / 2.0;
    CCurve outline, seam;
    seam.m_nLineType = 1;
    const int n = 240;
    for (int k = 0; k <= n; ++k) {
        const double a = 2 * M_PI * (k % n) / n;
        const double r = k == n ? 1.0 : wobble(rng);
        const double px = std::cos(a) * w / 2 * r, py = std::sin(a) * h / 2 * r;
        outline.AddPoint(static_cast<int32_t>(cx + px), static_cast<int32_t>(cy + py));
        seam.AddPoint(static_cast<int32_t>(cx + px * 0.92), static_cast<int32_t>(cy + py * 0.92));
    }
    outline.m_arrPoints.back() = outline.m_arrPoints.front();
    curves.push_back(outline);
    curves.push_back(seam);
    CCurve grain;
    grain.AddPoint(static_cast<int32_t>(cx - w / 3.0), static_cast<int32_t>(cy));
    grain.AddPoint(static_cast<int32_t>(cx + w / 3.0), static_cast<int32_t>(cy));
    curves.push_back(grain);
    for (int k = 0; k < 8; ++k) {
        CCurve notch;
        const int32_t nx = x0 + static_cast<int32_t>(rng() % static_cast<unsigned>(w));
        notch.AddPoint(nx, y0);
        notch.AddPoint(nx, y0 + 6 * kMm);
        curves.push_back(notch);
    }
    // Label strokes: 3 rows of 20 characters of 4 short strokes, 5 mm high.
    for (int row = 0; row < 3; ++row) {
        for (int ch = 0; ch < 20; ++ch) {
            const int32_t lx = static_cast<int32_t>(cx) - 50 * kMm + ch * 5 * kMm;
            const int32_t ly = static_cast<int32_t>(cy) + 10 * kMm + row * 8 * kMm;
            for (int s = 0; s < 4; ++s) {
                CCurve stroke;
                stroke.AddPoint(lx + static_cast<int32_t>(rng() % 160),
                                ly + static_cast<int32_t>(rng() % 200));
                stroke.AddPoint(lx + static_cast<int32_t>(rng() % 160),
                                ly + static_cast<int32_t>(rng() % 200));
                curves.push_back(stroke);
            }
        }
    }
}

// Pieces packed in columns across the roll, edge to edge with 5 mm gaps.
COnePage DenseMarker(int32_t nLengthMm, int32_t nWidthMm) {
    std::mt19937 rng(1234);
    COnePage page;
    page.m_strPath = "/bench/dense-marker.plt";
    const int32_t gap = 5 * kMm;
    for (int32_t x = 0; x < nLengthMm * kMm;) {
        const int32_t w = (150 + static_cast<int32_t>(rng() % 450)) * kMm;
        for (int32_t y = 0; y < nWidthMm * kMm;) {
            const int32_t h =
                std::min((100 + static_cast<int32_t>(rng() % 400)) * kMm, nWidthMm * kMm - y);
            if (h > 20 * kMm)
                AddPiece(page.m_arrCurves, rng, x, y, std::min(w, nLengthMm * kMm - x), h);
            y += h + gap;
        }
        x += w + gap;
    }
    page.CalcExtents();
    return page;
}

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// CPU time of all threads: the band thread, the thread that paints it, Qt's fill helpers.
double ProcessCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

long PeakRssKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

size_t VertexCount(const COnePage& page) {
    size_t n = 0;
    for (const CCurve& c : page.m_arrCurves)
        n += c.m_arrPoints.size();
    return n;
}

// Renders every band of the job once per iteration; reports per-band median, 95th
// percentile and maximum, and the growth of the peak resident size over the drawing.
void BandJob(benchmark::State& state, int comb, int32_t widthMm) {
    const COnePage page = DenseMarker(10000, widthMm);
    CBandParams p;
    p.m_nHeadCombination = comb;
    p.m_arrHeadPos =
        comb >= 3 ? std::array<int, 4>{10, 180, 350, 520} : std::array<int, 4>{10, 180, 0, 0};
    p.m_bPreciseMode = true;
    p.m_bBidirectional = true;
    const long rssBefore = PeakRssKb();
    std::vector<double> ms, cpu, procCpu;
    int64_t bands = 0;
    int32_t jobWidth = 0;
    uint32_t hash = 0; // FNV-1a of all bitmaps and band data: a speed-up must leave it unchanged
    for (auto _ : state) {
        CBandJob job(page, p);
        jobWidth = job.JobWidth();
        bands = job.BandCount();
        ms.clear();
        cpu.clear();
        procCpu.clear();
        size_t bytes = 0;
        hash = 2166136261u;
        for (int64_t j = 0; j < job.BandCount(); ++j) {
            const double c0 = ThreadCpuMs();
            const double p0 = ProcessCpuMs();
            const auto t0 = std::chrono::steady_clock::now();
            const CBandOutput r = job.RenderBand(j);
            const auto t1 = std::chrono::steady_clock::now();
            cpu.push_back(ThreadCpuMs() - c0);
            procCpu.push_back(ProcessCpuMs() - p0);
            if (!r.Ok()) {
                state.SkipWithError(r.m_strDiag.c_str());
                return;
            }
            bytes += r.m_data.size();
            for (uint8_t b : r.m_data)
                hash = (hash ^ b) * 16777619u;
            const size_t nBitmap = static_cast<size_t>(job.JobWidth()) *
                                   static_cast<size_t>(job.Geometry().RowBytes());
            for (size_t k = 0; k < nBitmap; ++k)
                hash = (hash ^ job.Bitmap()[k]) * 16777619u;
            ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        }
        benchmark::DoNotOptimize(bytes);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    std::sort(procCpu.begin(), procCpu.end());
    // Wall time suffers from other load on the machine; CPU time does not. The band
    // thread's CPU time leaves out the pool thread that paints the band (and Qt's fill
    // helpers); the process CPU time includes them, and any other thread of the process.
    state.counters["data_hash"] = static_cast<double>(hash);
    state.counters["median_cpu_ms"] = cpu[cpu.size() / 2];
    state.counters["median_process_cpu_ms"] = procCpu[procCpu.size() / 2];
    state.counters["bands"] = static_cast<double>(bands);
    state.counters["JobWidth"] = jobWidth;
    state.counters["curves"] = static_cast<double>(page.m_arrCurves.size());
    state.counters["vertices"] = static_cast<double>(VertexCount(page));
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p95_ms"] = ms[ms.size() * 95 / 100];
    state.counters["max_ms"] = ms.back();
    state.counters["peak_rss_growth_MB"] = (PeakRssKb() - rssBefore) / 1024.0;
}

void BM_BandJobTwoHeads(benchmark::State& state) {
    BandJob(state, 0, 2100);
}
void BM_BandJobFourHeads(benchmark::State& state) {
    BandJob(state, 3, 2100);
}
// 3.8 m across the carriage: JobWidth near 24 000.
void BM_BandJobFourHeadsWide(benchmark::State& state) {
    BandJob(state, 3, 3800);
}

BENCHMARK(BM_BandJobTwoHeads)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BandJobFourHeads)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BandJobFourHeadsWide)->Iterations(1)->Unit(benchmark::kMillisecond);

// Worst case for the coder: every other word zero (each zero costs two words out).
void BM_EncodeWorstCase(benchmark::State& state) {
    const int nColumns = 28030, nColumnBytes = 88;
    std::vector<uint8_t> image(static_cast<size_t>(nColumns * nColumnBytes));
    for (size_t i = 0; i < image.size(); i += 4)
        image[i] = 0x41;
    std::vector<uint8_t> out(2464000 * 2 + 4096);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            EncodeColumnImage(image.data(), nColumns, nColumnBytes, true, out.data(), out.size()));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(image.size()));
}
BENCHMARK(BM_EncodeWorstCase)->Unit(benchmark::kMillisecond);

void BM_EncodeEmpty(benchmark::State& state) {
    const int nColumns = 28030, nColumnBytes = 88;
    std::vector<uint8_t> image(static_cast<size_t>(nColumns * nColumnBytes));
    std::vector<uint8_t> out(2464000 * 2 + 4096);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            EncodeColumnImage(image.data(), nColumns, nColumnBytes, false, out.data(), out.size()));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(image.size()));
}
BENCHMARK(BM_EncodeEmpty)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace inkvale

BENCHMARK_MAIN();
