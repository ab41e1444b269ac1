// SPDX-License-Identifier: GPL-3.0-or-later
// The saved lists with 200 tasks: what a save costs the window thread (the check for a
// change, the bytes made and handed over), the check when nothing changed, and the
// writer thread's durable write of those bytes. 180 tasks have a drawing read from their
// file (saved without it) and 20 are split pieces whose 100,000 vertices only exist in
// memory (saved with them).
#include "core/QueueAutosave.h"
#include "support/AtomicFile.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace inkvale {
namespace {

constexpr int kFileTasks = 180;
constexpr int kPieces = 20;
constexpr int kCurvesPerTask = 50;
constexpr int kVerticesPerCurve = 100;

void AddDrawing(COnePage& task) {
    for (int c = 0; c < kCurvesPerTask; ++c) {
        CCurve curve;
        for (int v = 0; v < kVerticesPerCurve; ++v)
            curve.AddPoint(v * 40, c * 400 + (v % 7) * 13);
        task.m_arrCurves.push_back(std::move(curve));
    }
    task.CalcExtents();
}

/// A scratch installation with the drawings' files and the document of 200 tasks.
class CBenchQueue {
public:
    CBenchQueue() {
        char szTemplate[] = "/tmp/inkvale-bench-autosave-XXXXXX";
        m_path = ::mkdtemp(szTemplate);
        for (int i = 0; i < kFileTasks + kPieces; ++i) {
            auto task = std::make_unique<COnePage>();
            const std::string strFile =
                (m_path / ("marker-" + std::to_string(i) + ".plt")).string();
            std::ofstream(strFile) << "IN;SP1;PU0,0;PD4000,0;PU;";
            task->m_strPath = i < kFileTasks ? strFile : strFile + "(1/2)";
            task->m_strName = task->m_strPath.substr(task->m_strPath.rfind('/') + 1);
            task->m_nCopies = 1 + i % 3;
            task->m_bQueued = i % 2;
            AddDrawing(*task);
            (i % 3 == 0 ? m_doc.m_arrOpened : m_doc.m_arrManDir).push_back(std::move(task));
        }
    }
    ~CBenchQueue() { std::filesystem::remove_all(m_path); }
    std::string Dir() const { return m_path.string() + "/Queue/"; }

    CTaskLists m_doc;

private:
    std::filesystem::path m_path;
};

void BM_SaveOnTheWindowThread(benchmark::State& state) {
    CBenchQueue queue;
    CQueueAutosave autosave(queue.Dir());
    COnePage& task = *queue.m_doc.m_arrOpened.front();
    for (auto _ : state) {
        ++task.m_nCopies;
        autosave.MarkChanged();
        autosave.SaveIfChanged(queue.m_doc);
    }
    state.counters["bytes"] = static_cast<double>(FormatSavedQueue(queue.m_doc).size());
}
BENCHMARK(BM_SaveOnTheWindowThread)->Unit(benchmark::kMillisecond);

void BM_NothingChanged(benchmark::State& state) {
    CBenchQueue queue;
    CQueueAutosave autosave(queue.Dir());
    autosave.SaveIfChanged(queue.m_doc);
    for (auto _ : state)
        autosave.SaveIfChanged(queue.m_doc);
}
BENCHMARK(BM_NothingChanged)->Unit(benchmark::kMicrosecond);

void BM_WriterWritesDurably(benchmark::State& state) {
    CBenchQueue queue;
    std::filesystem::create_directories(queue.Dir());
    const std::vector<uint8_t> bytes = FormatSavedQueue(queue.m_doc);
    const std::string strPath = queue.Dir() + CQueueAutosave::kFileName;
    for (auto _ : state) {
        if (!WriteFileAtomically(strPath, bytes, true))
            state.SkipWithError("the save could not be written");
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_WriterWritesDurably)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace inkvale

BENCHMARK_MAIN();
