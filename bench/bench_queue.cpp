// SPDX-License-Identifier: GPL-3.0-or-later
// The task queue's two hot paths: a scan of a hot folder holding 5,000 files that have not
// changed since the last scan (every file already has its task), and one undo snapshot of a
// document with 200 tasks and 1,000,000 vertices.
#include "queue/TaskQueue.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace inkvale {
namespace {

constexpr int kFolderFiles = 5000;
constexpr int kTasks = 200;
constexpr int kCurvesPerTask = 50;
constexpr int kVerticesPerCurve = 100; // 200 x 50 x 100 = 1,000,000 vertices

class CNullView : public CQueueView {
public:
    void RefreshTaskList() override {}
    void SelectRow(int) override {}
    void Redraw() override {}
    void ShowMessage(const CMessage&) override {}
    void AutoModeOff() override {}
};

class CIdleEngine : public IQueueEngine {
public:
    uint8_t MachineState() const override { return 4; }
    CJobStartResult StartPrintJob(COnePage&) override { return CResult::Failure(-1, "idle"); }
    void ClearJob() override {}
    void SleepMs(int) override {}
};

/// A scratch hot folder with kFolderFiles small drawings, removed at the end.
class CBenchFolder {
public:
    CBenchFolder() {
        char szTemplate[] = "/tmp/inkvale-bench-queue-XXXXXX";
        m_path = ::mkdtemp(szTemplate);
        for (int i = 0; i < kFolderFiles; ++i) {
            std::ofstream out(m_path / ("marker-" + std::to_string(i) + (i % 5 ? ".plt" : ".hpg")));
            out << "IN;SP1;PU0,0;PD" << 400 + i << ",0," << 400 + i << ",400;PU;";
        }
    }
    ~CBenchFolder() { std::filesystem::remove_all(m_path); }
    std::string Folder() const { return m_path.string() + "/"; }

private:
    std::filesystem::path m_path;
};

void BM_ScanUnchangedFolder(benchmark::State& state) {
    const bool bAuto = state.range(0) != 0;
    CBenchFolder folder;
    CSettings settings;
    settings.PrtFileExtension = "*.plt;*.hpg;";
    settings.PltMaxSizeMb = 30;
    settings.AutoDir = settings.ManDir = folder.Folder();
    CTaskLists doc;
    CNullView view;
    CIdleEngine engine;
    CTaskQueue queue(doc, settings, view, engine);
    const auto scan = [&] { bAuto ? queue.ScanAutoFolder() : queue.ScanManualFolder(); };
    scan(); // every file becomes a task
    const size_t nTasks = bAuto ? doc.m_arrAutoDir.size() : doc.m_arrManDir.size();
    if (nTasks != static_cast<size_t>(kFolderFiles)) {
        state.SkipWithError("the first scan did not take every file");
        return;
    }
    for (auto _ : state)
        scan();
    state.counters["files"] = kFolderFiles;
}
BENCHMARK(BM_ScanUnchangedFolder)->Arg(1)->Arg(0)->ArgName("auto")->Unit(benchmark::kMillisecond);

// The part of a scan that asks the file system: listing the folder with every file's status.
void BM_ListFolder(benchmark::State& state) {
    CBenchFolder folder;
    for (auto _ : state)
        benchmark::DoNotOptimize(ListFolderFiles(folder.Folder(), int64_t{30} << 20));
}
BENCHMARK(BM_ListFolder)->Unit(benchmark::kMillisecond);

CTaskLists BigDocument() {
    CTaskLists doc;
    for (int t = 0; t < kTasks; ++t) {
        auto task = std::make_unique<COnePage>();
        task->m_strPath = "/home/cad/markers/marker-" + std::to_string(t) + ".plt";
        task->m_strName = "marker-" + std::to_string(t) + ".plt";
        for (int c = 0; c < kCurvesPerTask; ++c) {
            CCurve curve;
            for (int v = 0; v < kVerticesPerCurve; ++v)
                curve.AddPoint(c * 1000 + v * 7, (v * v) % 40000);
            task->m_arrCurves.push_back(std::move(curve));
        }
        task->CalcExtents();
        (t % 3 == 0   ? doc.m_arrOpened
         : t % 3 == 1 ? doc.m_arrManDir
                      : doc.m_arrAutoDir)
            .push_back(std::move(task));
    }
    return doc;
}

void BM_UndoSnapshot(benchmark::State& state) {
    const CTaskLists doc = BigDocument();
    size_t nVertices = 0;
    for (const CTaskList* pList : {&doc.m_arrOpened, &doc.m_arrManDir, &doc.m_arrAutoDir})
        for (const auto& task : *pList)
            nVertices += task->VertexCount();
    CUndoHistory undo;
    for (auto _ : state) {
        undo.Push(doc);
        benchmark::DoNotOptimize(undo.Count());
    }
    state.counters["vertices"] = static_cast<double>(nVertices);
    state.counters["snapshot_MB"] = static_cast<double>(undo.Bytes()) / undo.Count() / 1e6;
    state.counters["history_MB"] = static_cast<double>(undo.Bytes()) / 1e6;
    state.counters["snapshots"] = static_cast<double>(undo.Count());
}
BENCHMARK(BM_UndoSnapshot)->Unit(benchmark::kMillisecond);

void BM_UndoRestore(benchmark::State& state) {
    CTaskLists doc = BigDocument();
    CUndoHistory undo;
    undo.Push(doc);
    undo.Push(doc);
    for (auto _ : state) {
        benchmark::DoNotOptimize(undo.Undo(doc));
        benchmark::DoNotOptimize(undo.Redo(doc));
    }
    state.SetLabel("one undo + one redo");
}
BENCHMARK(BM_UndoRestore)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace inkvale

BENCHMARK_MAIN();
