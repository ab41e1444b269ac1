// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/engine/EngineHost.h"

#include <thread>
#include <vector>

namespace inkvale::test {

/// Records the engine host's calls in order, and whether each ran on the thread that made
/// the recorder (the owning thread). Owning thread only.
class CRecordingEngineHost : public IEngineHost {
public:
    /// What was called; a job's end records its result (kJobSuccess or kJobFailure).
    static constexpr int kStart = 10;
    static constexpr int kScanManual = 11;
    static constexpr int kScanAuto = 12;

    void JobFinished(int nResult) override { Record(nResult); }
    int StartNextTask() override {
        Record(kStart);
        return 0;
    }
    void ScanManualFolder() override { Record(kScanManual); }
    void ScanAutoFolder() override { Record(kScanAuto); }

    std::vector<int> m_arrCalls;
    bool m_bOnOwner = true;

private:
    void Record(int n) {
        m_arrCalls.push_back(n);
        m_bOnOwner = m_bOnOwner && std::this_thread::get_id() == m_owner;
    }
    std::thread::id m_owner = std::this_thread::get_id();
};

} // namespace inkvale::test
