// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/EngineHandOff.h"
#include "queue/DrawingPreloader.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

namespace inkvale {

class CTaskQueue;

/// Reads the drawings the queue asks for on a thread of its own, one after another, and
/// hands each to the queue on its owning thread. Stop (or the destructor) ends the thread:
/// a read in progress finishes first, and requests still waiting are dropped.
class CBackgroundLoader : public IDrawingPreloader {
public:
    /// Both must outlive this object.
    CBackgroundLoader(CTaskQueue& queue, IThreadHandOff& handOff);
    ~CBackgroundLoader() override;
    CBackgroundLoader(const CBackgroundLoader&) = delete;
    CBackgroundLoader& operator=(const CBackgroundLoader&) = delete;

    void Preload(uint64_t nTaskId, const std::string& strPath, const CSettings& settings,
                 uint64_t nGeneration) override;
    /// Puts the request first; one already waiting for the task moves to the front instead,
    /// and none is added while the task's drawing is being read.
    void LoadFirst(uint64_t nTaskId, const std::string& strPath, const CSettings& settings,
                   uint64_t nGeneration) override;
    /// Ends the thread. The owner's closing flag must be set first: a hand-off waiting for
    /// the owner then returns without running.
    void Stop();

private:
    struct CRequest {
        uint64_t m_nTaskId = 0;
        std::string m_strPath;
        CSettings m_settings;
        uint64_t m_nGeneration = 0;
    };
    void Run();
    void Load(const CRequest& request);

    CTaskQueue& m_queue;
    IThreadHandOff& m_handOff;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<CRequest> m_requests;
    bool m_bStop = false;
    CRequest m_reading; ///< the request being read (task id 0 between reads)
    /// When the task list was last shown again; a burst of drawings refreshes it at most
    /// this often, and once more at its end.
    std::chrono::steady_clock::time_point m_tLastRefresh;
    static constexpr std::chrono::milliseconds kRefreshEvery{250};
    std::thread m_thread;
};

} // namespace inkvale
