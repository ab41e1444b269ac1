// SPDX-License-Identifier: GPL-3.0-or-later
// DXF reading speed: DxfImport alone and the whole DXF task load, on a generated 20 MB
// drawing. `bench_dxf --write-dxf=FILE [--mb=N]` only writes the input (for dxf_compare.sh).

#include "dxf_bench_file.h"

#include "config/Settings.h"
#include "import/DxfDrawing.h"
#include "model/DxfTaskLoader.h"
#include "model/OnePage.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace inkvale::bench {
namespace {

constexpr size_t kDefaultBytes = 20u << 20;

bool WriteFile(const std::string& strPath, const std::string& bytes) {
    std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

/// The generated input in a private temporary folder, written once per process.
struct CBenchInput {
    std::string m_strDir;
    std::string m_strPath;
    size_t m_nBytes = 0;

    CBenchInput() {
        m_strDir = (std::filesystem::temp_directory_path() /
                    ("inkvale-bench-dxf-" + std::to_string(getpid())))
                       .string();
        std::filesystem::create_directories(m_strDir);
        m_strPath = m_strDir + "/marker.dxf";
        const std::string bytes = MakeDxfBenchFile(kDefaultBytes);
        m_nBytes = bytes.size();
        if (!WriteFile(m_strPath, bytes))
            std::abort();
    }
    ~CBenchInput() {
        std::error_code ec;
        std::filesystem::remove_all(m_strDir, ec);
    }
};

const CBenchInput& Input() {
    static const CBenchInput input;
    return input;
}

void BM_DxfImport(benchmark::State& state) {
    const CBenchInput& in = Input();
    for (auto _ : state) {
        DxfDrawingPtr pDrawing(DxfDrawingCreate());
        if (!DxfImport(pDrawing.get(), in.m_strPath))
            state.SkipWithError("import failed");
        benchmark::DoNotOptimize(pDrawing.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.m_nBytes));
}
BENCHMARK(BM_DxfImport)->Unit(benchmark::kMillisecond);

void BM_LoadDxfTask(benchmark::State& state) {
    const CBenchInput& in = Input();
    CSettings settings;
    settings.m_strInstallDir = in.m_strDir + "/";
    settings.DxfUnit = 40;
    settings.PaperLenMm = 2100;
    size_t nVertices = 0;
    for (auto _ : state) {
        COnePage page;
        page.m_strPath = in.m_strPath;
        if (!LoadDxfTask(page, settings).Ok())
            state.SkipWithError("load failed");
        nVertices = page.VertexCount();
        benchmark::DoNotOptimize(page.m_arrCurves.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.m_nBytes));
    state.counters["vertices"] = static_cast<double>(nVertices);
}
BENCHMARK(BM_LoadDxfTask)->Unit(benchmark::kMillisecond);

/// --write-dxf=FILE [--mb=N]: writes the input and returns true (the program then ends).
bool WriteOnly(int argc, char** argv, int& nStatus) {
    const char* pszOut = nullptr;
    size_t nBytes = kDefaultBytes;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--write-dxf=", 12) == 0)
            pszOut = argv[i] + 12;
        else if (std::strncmp(argv[i], "--mb=", 5) == 0)
            nBytes = static_cast<size_t>(std::atoi(argv[i] + 5)) << 20;
    }
    if (pszOut == nullptr)
        return false;
    nStatus = WriteFile(pszOut, MakeDxfBenchFile(nBytes)) ? 0 : 1;
    return true;
}

} // namespace
} // namespace inkvale::bench

int main(int argc, char** argv) {
    int nStatus = 0;
    if (inkvale::bench::WriteOnly(argc, argv, nStatus))
        return nStatus;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
