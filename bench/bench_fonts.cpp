// SPDX-License-Identifier: GPL-3.0-or-later
// Label drawing with the built-in stroke fonts: 10,000 labels of 20 characters, half ASCII
// and half GB2312, at varied directions and origins.

#include "import/HpglPlotList.h"
#include "import/StrokeFontText.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using inkvale::CLabelState;
using inkvale::CStrokeFontText;

constexpr int kLabels = 10000;

struct CLabelCase {
    std::string text;
    CLabelState state;
};

// Deterministic labels: 10 printable ASCII characters and 10 hanzi in random order. The hanzi
// come from a vocabulary of nVocabulary characters (the labels of a real drawing use a few
// hundred), or from all 6763 GB2312 hanzi when nVocabulary is 0, the worst case for caches.
std::vector<CLabelCase> MakeLabels(int nVocabulary) {
    std::mt19937 rng(7);
    std::vector<std::pair<char, char>> hanzi;
    for (int k = 0; k < (nVocabulary > 0 ? nVocabulary : 6763); ++k) {
        const int n = nVocabulary > 0 ? static_cast<int>(rng() % 6763) : k;
        hanzi.emplace_back(static_cast<char>(0xB0 + n / 94), static_cast<char>(0xA1 + n % 94));
    }
    std::vector<CLabelCase> labels(kLabels);
    for (int n = 0; n < kLabels; ++n) {
        CLabelCase& c = labels[static_cast<size_t>(n)];
        int ascii = 10;
        int wide = 10;
        while (ascii + wide > 0) {
            if (ascii > 0 && (wide == 0 || rng() % 2 == 0)) {
                c.text += static_cast<char>(0x21 + rng() % 94);
                --ascii;
            } else {
                const auto& h = hanzi[rng() % hanzi.size()];
                c.text += h.first;
                c.text += h.second;
                --wide;
            }
        }
        c.state.m_nPenX = 1000 + n * 10;
        c.state.m_nPenY = 5000 + n % 100 * 200;
        c.state.m_dLabelAngle = (n % 4) * 30.0;
        c.state.m_nLabelOrigin = 1 + n % 9;
        c.state.m_dCharHeight = 0.2 + (n % 5) * 0.1;
    }
    return labels;
}

// The cheapest possible destination: what the font code itself costs.
class CFlatSink : public inkvale::CStrokeSink {
public:
    std::vector<int32_t> m_values;
    size_t m_nPolylines = 0;
    void Clear() {
        m_values.clear();
        m_nPolylines = 0;
    }
    void StartPolyline(int32_t x, int32_t y) override {
        ++m_nPolylines;
        m_values.push_back(x);
        m_values.push_back(y);
    }
    void AppendVertex(int32_t x, int32_t y) override {
        m_values.push_back(x);
        m_values.push_back(y);
    }
};

// The HP-GL reader's plot list, as labels reach it when a file is read.
class CPlotListSink : public inkvale::CStrokeSink {
public:
    inkvale::CHpglPlotList m_list;
    void Clear() { m_list.Clear(); }
    void StartPolyline(int32_t x, int32_t y) override {
        m_list.AddMove(x, y);
        m_list.BeginPolyline();
    }
    void AppendVertex(int32_t x, int32_t y) override { m_list.AppendPoint(x, y); }
};

// bFresh: a new destination for every round, as every reader starts with an empty plot list
// (the cost then includes growing it); otherwise one cleared destination keeps its memory and
// the figure is the font code alone.
template <class Sink>
void DrawAll(benchmark::State& state, bool bFresh) {
    const std::vector<CLabelCase> labels = MakeLabels(static_cast<int>(state.range(0)));
    CStrokeFontText text;
    text.LoadFonts("");
    Sink reused;
    for (auto _ : state) {
        Sink fresh;
        Sink& sink = bFresh ? fresh : reused;
        sink.Clear();
        for (const CLabelCase& c : labels)
            text.DrawLabel(c.text.c_str(), c.text.size() + 1, c.state, sink);
        benchmark::DoNotOptimize(sink);
    }
    state.SetItemsProcessed(state.iterations() * kLabels);
}

void BM_DrawLabels_FlatSinkReused(benchmark::State& state) {
    DrawAll<CFlatSink>(state, false);
}
void BM_DrawLabels_FlatSinkFresh(benchmark::State& state) {
    DrawAll<CFlatSink>(state, true);
}
void BM_DrawLabels_PlotListFresh(benchmark::State& state) {
    DrawAll<CPlotListSink>(state, true);
}

// Loading both fonts from the installation folder, as every reader does at its start.
void BM_LoadFontsFromFiles(benchmark::State& state) {
    const std::string dir = "/tmp/inkvale-bench-fonts-" + std::to_string(::getpid());
    std::filesystem::create_directories(dir);
    CStrokeFontText text;
    for (auto _ : state) {
        text.LoadFonts(dir);
        benchmark::DoNotOptimize(text.HzFont().m_arrIndex.data());
    }
    std::filesystem::remove_all(dir);
}

} // namespace

// Argument: the hanzi vocabulary (0 = all hanzi).
BENCHMARK(BM_DrawLabels_FlatSinkReused)->Arg(300)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawLabels_FlatSinkFresh)->Arg(300)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawLabels_PlotListFresh)->Arg(300)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFontsFromFiles)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
