// SPDX-License-Identifier: GPL-3.0-or-later
// Streams a 10 m marker through the print engine to the plotter simulator (in-process on
// 127.0.0.1, printing instantly) and reports bands per second and where the host's time
// went: producing bands versus the exchanges of the link.
//
// Three runs: with the program's waits between exchanges (10 ms before the data, 20 ms
// around each confirmation), and with every wait cut to nothing, which shows what the host
// itself can deliver, once without the job journal and once with it (a record replaced at
// every band and flushed to the disk every eight), to show what the journal costs.

#include "SimServer.h"
#include "SimUsbBus.h"
#include "config/MachineParams.h"
#include "config/Settings.h"
#include "machine/engine/EngineHost.h"
#include "machine/engine/JobJournal.h"
#include "machine/engine/PrintEngine.h"
#include "machine/link/MachineCommands.h"
#include "machine/link/TcpLink.h"
#include "machine/link/UsbBulkLink.h"
#include "machine/link/UsbPrinterLink.h"
#include "model/OnePage.h"
#include "model/TaskDrawingLoader.h"
#include "raster/RasterBandSource.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>

namespace inkvale {
namespace {

constexpr int32_t kMarkerLengthUnits = 10'000 * 40; // 10 m along the paper feed
constexpr int32_t kMarkerWidthUnits = 1'600 * 40;   // 1.6 m across the roll

class CLoopbackChoice : public ILinkChoice {
public:
    int CommuVia() const override { return kCommuEthernet; }
    uint32_t MachineIp() const override { return 0x0100007Fu; } // 127.0.0.1
};

// Waits as the program waits, or not at all.
class CBenchClock : public IEngineClock {
public:
    explicit CBenchClock(bool bRealWaits) : m_bRealWaits(bRealWaits) {}
    void SleepMs(int nMs) override {
        if (m_bRealWaits)
            std::this_thread::sleep_for(std::chrono::milliseconds(nMs));
    }
    std::time_t Now() override { return std::time(nullptr); }
    std::time_t LabelTime() override { return 0; }

private:
    bool m_bRealWaits;
};

class CBenchHost : public IEngineHost {
public:
    void JobFinished(int nResult) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pEngine->ClearJob();
        m_nResult = nResult;
        m_cv.notify_all();
    }
    int StartNextTask() override { return 0; }
    void ScanManualFolder() override {}
    void ScanAutoFolder() override {}
    int Wait() {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cv.wait(lock, [this] { return m_nResult != 0; });
        return m_nResult;
    }
    CPrintEngine* m_pEngine = nullptr;

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    int m_nResult = 0;
};

// A garment marker: the pieces of a real tank-top export (read in centimetres), laid out
// in rows and columns until the marker is 10 m long and 1.6 m wide.
const COnePage& Marker() {
    static const COnePage marker = [] {
        CSettings settings;
        settings.DxfUnit = 400;
        COnePage piece;
        piece.m_strPath = INKVALE_CORPUS_DIR "/dxf/astm-parser-WM_LOOSE_SHAPE_TANK.DXF";
        piece.m_strName = "marker.dxf";
        if (!LoadTaskDrawing(piece, settings, false).Ok())
            std::fprintf(stderr, "bench_print: cannot read %s\n", piece.m_strPath.c_str());
        piece.CalcExtents();
        COnePage page;
        page.m_strPath = "/bench/marker-10m.plt";
        page.m_strName = "marker-10m.plt";
        const int32_t nStepX = piece.m_nMaxX + 400;
        const int32_t nStepY = piece.m_nMaxY + 400;
        for (int32_t y = 0; y + piece.m_nMaxY <= kMarkerWidthUnits; y += nStepY) {
            for (int32_t x = 0; x + piece.m_nMaxX <= kMarkerLengthUnits; x += nStepX) {
                for (CCurve c : piece.m_arrCurves) {
                    c.Offset(x, y);
                    page.m_arrCurves.push_back(std::move(c));
                }
            }
        }
        page.CalcExtents();
        return page;
    }();
    return marker;
}

void EnsureFontDatabase() {
    static QGuiApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char arg0[] = "bench_print";
        static char* argv[] = {arg0, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

void BM_PrintMarker(benchmark::State& state) {
    EnsureFontDatabase();
    const bool bRealWaits = state.range(0) != 0;
    const bool bJournal = state.range(1) != 0;
    sim::CSimMachine machine;
    machine.SetKeepLog(false);
    machine.SetTiming({0, 0, 0, 0, 0}); // prints instantly
    sim::CSimServer server(machine);
    std::string strError;
    if (!server.Start("127.0.0.1", 0, &strError)) {
        state.SkipWithError(strError.c_str());
        return;
    }
    CLoopbackChoice choice;
    CMachineStatus status;
    CTcpLink eth(choice, server.Port());
    sim::CSimUsbBus bus(machine, std::vector<sim::CSimUsbDevice>{});
    CUsbBulkLink usb(bus);
    CUsbPrinterLink usbPrint(CUsbPrintPaths{"/nonexistent", "/nonexistent", 100});
    CMachineCommands commu(choice, status, eth, usbPrint, usb);
    CSettings settings;
    // The journal lives in the installation directory; here one of the build tree.
    char szHome[] = "/tmp/bench_print_XXXXXX";
    if (bJournal && ::mkdtemp(szHome) != nullptr)
        settings.m_strInstallDir = std::string(szHome) + "/";
    CMachineParams params;
    CBenchClock clock(bRealWaits);
    CBenchHost host;
    CRasterBandFactory bands;
    CPrintEngine engine(settings, params, commu, status, host, bands, clock);
    host.m_pEngine = &engine;
    if (engine.Link().ReadParams() != 0) {
        state.SkipWithError("no parameter block");
        return;
    }
    COnePage task = Marker();
    CBandSenderTimes times;
    int32_t nBands = 0;
    for (auto _ : state) {
        if (!engine.StartPrintJob(task).Ok() || host.Wait() != kJobSuccess) {
            state.SkipWithError("the job failed");
            break;
        }
        times = engine.JoinFinishedJob();
        nBands = engine.State().m_nBandCount;
    }
    settings.m_nClosing = 1;
    engine.Shutdown();
    server.Stop();
    if (!settings.m_strInstallDir.empty())
        std::filesystem::remove_all(settings.m_strInstallDir);
    const double dRender = times.m_nRenderNs / 1e9;
    const double dLink = (times.m_nRequestNs + times.m_nSendNs + times.m_nConfirmNs) / 1e9;
    const double dAll = dRender + dLink + times.m_nOtherNs / 1e9;
    state.counters["bands"] = nBands;
    state.counters["bands_per_s"] = dAll > 0 ? nBands / dAll : 0;
    state.counters["render_s"] = dRender;
    state.counters["link_s"] = dLink;
    state.counters["render_share"] = dAll > 0 ? dRender / dAll : 0;
    state.counters["link_share"] = dAll > 0 ? dLink / dAll : 0;
    state.counters["MB_sent"] = static_cast<double>(machine.Stats().m_nChunks) * 600 / 1e6;
}

BENCHMARK(BM_PrintMarker)
    ->ArgNames({"program_waits", "journal"})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

// What the ledger adds to one band: a checksummed record appended and flushed to the disk,
// on the band sender thread right after the band's confirmation.
void BM_JournalConfirmed(benchmark::State& state) {
    char szHome[] = "/tmp/bench_journal_XXXXXX";
    if (::mkdtemp(szHome) == nullptr) {
        state.SkipWithError("no scratch folder");
        return;
    }
    const std::string strDir = std::string(szHome) + "/Jobs/";
    COnePage page = Marker();
    CJobRecord record;
    record.m_strTaskPath = page.m_strPath;
    record.m_nBandCount = 1'000'000;
    record.m_nJobWidth = 20000;
    CJobJournal journal(strDir);
    journal.Begin(record, &page);
    if (!journal.Open().Ok()) {
        state.SkipWithError("the journal cannot be written");
        return;
    }
    int64_t n = 0;
    for (auto _ : state) {
        if (!journal.Confirmed(++n % 1'000'000)) {
            state.SkipWithError(journal.Error().c_str());
            break;
        }
    }
    std::filesystem::remove_all(szHome);
}

BENCHMARK(BM_JournalConfirmed)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace inkvale

BENCHMARK_MAIN();
