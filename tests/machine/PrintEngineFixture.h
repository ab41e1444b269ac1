// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The print engine in front of the in-process simulator on loopback, with a clock whose
// waits are shortened, a host that records the engine's messages and plays the queue's
// part of the job-finished handling, and a band source of synthetic bitmaps.

#include "SimBandDecode.h"
#include "SimFixture.h"
#include "config/MachineParams.h"
#include "config/Settings.h"
#include "machine/engine/PrintEngine.h"
#include "model/OnePage.h"
#include "raster/BandGeometry.h"
#include "raster/BandParams.h"
#include "raster/PrintHeadFormatter.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace inkvale::test {

/// Waits shortened by m_dScale (the program's waits keep their proportions); wall-clock
/// moments fixed.
class CTestEngineClock : public IEngineClock {
public:
    void SleepMs(int nMs) override {
        m_nSleptMs += nMs;
        const auto us = static_cast<int64_t>(nMs * 1000 * m_dScale);
        std::this_thread::sleep_for(std::chrono::microseconds(std::max<int64_t>(us, 50)));
    }
    std::time_t Now() override { return m_tFixed; }
    std::time_t LabelTime() override { return m_tFixed; }

    double m_dScale = 0.05;
    std::atomic<int64_t> m_nSleptMs{0};   ///< waits asked for, unscaled
    std::time_t m_tFixed = 1'781'000'000; // 2026-06-09, a fixed moment for names and labels
};

/// Records messages by number; a job-finished message runs the queue's part (ClearJob).
class CTestEngineHost : public IEngineHost {
public:
    void JobFinished(int nResult) override {
        if (m_pEngine != nullptr)
            m_pEngine->ClearJob();
        Record(kMsgJobFinished, nResult);
    }
    int StartNextTask() override {
        Record(kMsgStartNextTask, 0);
        return 0;
    }
    void ScanManualFolder() override { Record(kMsgScanManDir, 0); }
    void ScanAutoFolder() override { Record(kMsgScanAutoDir, 0); }
    /// Posted by the monitor: recorded in order, with the engine's state as it came.
    void MachineSilence(std::time_t tSilentSince) override {
        CSilenceEvent event{tSilentSince};
        if (m_pEngine != nullptr) {
            event.m_bJobRunning = m_pEngine->JobRunning();
            event.m_tEngineSince = m_pEngine->SilentSince();
            event.m_bOnline = m_pEngine->State().m_nMachineOnline != 0;
        }
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_silences.push_back(event);
        }
        m_cv.notify_all();
    }
    struct CSilenceEvent {
        std::time_t m_tSince = 0;
        bool m_bJobRunning = false;
        std::time_t m_tEngineSince = 0; ///< the engine's SilentSince as the event came
        bool m_bOnline = false;
    };
    /// The nth silence event (0-based), waiting for it up to timeout; nullopt if it did not come.
    std::optional<CSilenceEvent>
    WaitSilenceEvent(size_t n, std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_cv.wait_for(lock, timeout, [&] { return m_silences.size() > n; }))
            return std::nullopt;
        return m_silences[n];
    }

    /// The result of the next job-finished message not yet taken, or 0 on time-out.
    int WaitJobFinished(std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
        std::unique_lock<std::mutex> lock(m_mutex);
        const bool bArrived = m_cv.wait_for(lock, timeout, [this] { return m_nTaken < Count(); });
        if (!bArrived)
            return 0;
        for (size_t i = 0, n = 0; i < m_messages.size(); ++i) {
            if (m_messages[i].first == kMsgJobFinished && n++ == m_nTaken) {
                ++m_nTaken;
                return m_messages[i].second;
            }
        }
        return 0;
    }
    std::vector<std::pair<int, int>> Messages() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_messages;
    }
    int CountOf(int nMessage) {
        std::lock_guard<std::mutex> lock(m_mutex);
        int n = 0;
        for (const auto& m : m_messages)
            n += m.first == nMessage ? 1 : 0;
        return n;
    }

    CPrintEngine* m_pEngine = nullptr;

private:
    size_t Count() const {
        size_t n = 0;
        for (const auto& m : m_messages)
            n += m.first == kMsgJobFinished ? 1 : 0;
        return n;
    }
    void Record(int nMessage, int nParam) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_messages.emplace_back(nMessage, nParam);
        }
        m_cv.notify_all();
    }

    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<std::pair<int, int>> m_messages;
    std::vector<CSilenceEvent> m_silences;
    size_t m_nTaken = 0;
};

/// Band data from synthetic bitmaps (a sparse diagonal pattern that differs from band to
/// band) through the real print-head formatter; keeps a copy of every band it produced.
class CPatternBandSource : public IBandSource {
public:
    CPatternBandSource(const CBandParams& params, int32_t nJobWidth, int64_t nBandCount,
                       std::vector<std::vector<uint8_t>>* pProduced)
        : m_geometry(params), m_formatter(m_geometry, 0, 0), m_nJobWidth(nJobWidth),
          m_nBandCount(nBandCount), m_pProduced(pProduced) {
        const size_t nColumns = static_cast<size_t>(nJobWidth) + CBandGeometry::kExtraColumns;
        m_bitmap.resize(static_cast<size_t>(nJobWidth) * m_geometry.RowBytes());
        m_columns.resize(nColumns * CBandGeometry::kMaxColumnBytes);
        m_out.resize(2 * m_columns.size() + 8192);
    }
    CBandOutput RenderBand(int64_t j) override {
        std::fill(m_bitmap.begin(), m_bitmap.end(), uint8_t{0});
        const int nRowBytes = m_geometry.RowBytes();
        for (int32_t r = 0; r < m_nJobWidth; ++r) {
            for (int x = 0; x < m_geometry.BandHeight(); ++x) {
                if ((r + 3 * x + 11 * j) % 53 == 0)
                    m_bitmap[static_cast<size_t>(r) * nRowBytes + x / 8] |=
                        static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        const size_t n = m_formatter.FormatBand(j, m_nBandCount, m_nJobWidth, m_bitmap.data(),
                                                m_columns.data(), m_out.data(), m_out.size());
        if (m_pProduced != nullptr) {
            m_pProduced->resize(static_cast<size_t>(m_nBandCount));
            (*m_pProduced)[static_cast<size_t>(j)].assign(m_out.begin(), m_out.begin() + n);
        }
        return {CResult{}, {m_out.data(), n}};
    }

private:
    CBandGeometry m_geometry;
    CPrintHeadFormatter m_formatter;
    int32_t m_nJobWidth;
    int64_t m_nBandCount;
    std::vector<std::vector<uint8_t>>* m_pProduced;
    std::vector<uint8_t> m_bitmap, m_columns, m_out;
};

class CPatternBandFactory : public IBandSourceFactory {
public:
    std::unique_ptr<IBandSource> CreateBandSource(const COnePage&, const CBandParams& params,
                                                  int32_t nJobWidth, int64_t nBands) override {
        ++m_nCreated;
        m_produced.clear();
        return std::make_unique<CPatternBandSource>(params, nJobWidth, nBands, &m_produced);
    }
    int m_nCreated = 0;
    std::vector<std::vector<uint8_t>> m_produced;
};

/// A task whose drawing is one line from (0, 0) to (nMaxX, nMaxY).
inline COnePage LineTask(int32_t nMaxX, int32_t nMaxY) {
    COnePage page;
    CCurve curve;
    curve.AddPoint(0, 0);
    curve.AddPoint(nMaxX, nMaxY);
    page.m_arrCurves.push_back(curve);
    page.m_strPath = "/tmp/line.plt";
    page.m_strName = "line.plt";
    page.CalcExtents();
    return page;
}

class CPrintEngineTest : public CSimCommuTest {
protected:
    void SetUp() override {
        CSimCommuTest::SetUp();
        // The machine's reply to the last confirmation comes after it has assembled the
        // whole sheet, which takes a while on a loaded computer.
        m_pCommu.reset();
        m_pEth = std::make_unique<CTcpLink>(m_choice, m_server.Port(), CEthTimeouts{1000, 2000});
        m_pCommu = std::make_unique<CMachineCommands>(m_choice, m_status, *m_pEth, *m_pUsbPrint, *m_pUsb);
        sim::CSimTiming timing;
        timing.m_nStartMs = 20;
        timing.m_nFinishMs = 20;
        m_sim.SetTiming(timing);
        m_pEngine = std::make_unique<CPrintEngine>(m_settings, m_params, *m_pCommu, m_status,
                                                   m_host, Factory(), m_clock);
        m_host.m_pEngine = m_pEngine.get();
    }
    void TearDown() override {
        m_settings.m_nClosing = 1;
        m_pEngine->Shutdown();
        CSimCommuTest::TearDown();
    }

    /// The band production the engine uses.
    virtual IBandSourceFactory& Factory() { return m_bands; }

    /// Reads the machine's block as the monitor does, so host and machine agree.
    void GoOnline() {
        ASSERT_EQ(m_pEngine->Link().ReadParams(), 0);
        m_pEngine->State().m_nMachineOnline = 1;
    }

    /// The sheet the machine should print from the bands the source produced.
    sim::CSimSheetImage ExpectedSheet() {
        return sim::AssembleSheet(m_params, m_pEngine->State().m_nJobWidth, m_bands.m_produced);
    }

    CSettings m_settings;
    CMachineParams m_params;
    CTestEngineClock m_clock;
    CTestEngineHost m_host;
    CPatternBandFactory m_bands;
    std::unique_ptr<CPrintEngine> m_pEngine;
};

/// Polls cond every millisecond for at most timeout; true once it holds.
template <class Cond>
bool WaitFor(Cond cond, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto tEnd = std::chrono::steady_clock::now() + timeout;
    while (!cond()) {
        if (std::chrono::steady_clock::now() > tEnd)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace inkvale::test
