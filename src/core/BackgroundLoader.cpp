// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/BackgroundLoader.h"

#include "model/TaskDrawingLoader.h"
#include "queue/Preflight.h"
#include "queue/TaskQueue.h"

#include <algorithm>

namespace inkvale {

CBackgroundLoader::CBackgroundLoader(CTaskQueue& queue, IThreadHandOff& handOff)
    : m_queue(queue), m_handOff(handOff), m_thread([this] { Run(); }) {}

CBackgroundLoader::~CBackgroundLoader() {
    Stop();
}

void CBackgroundLoader::Preload(uint64_t nTaskId, const std::string& strPath,
                                const CSettings& settings, uint64_t nGeneration) {
    {
        const std::lock_guard lock(m_mutex);
        if (m_bStop)
            return;
        m_requests.push_back({nTaskId, strPath, settings, nGeneration});
    }
    m_wake.notify_one();
}

void CBackgroundLoader::LoadFirst(uint64_t nTaskId, const std::string& strPath,
                                  const CSettings& settings, uint64_t nGeneration) {
    {
        const std::lock_guard lock(m_mutex);
        if (m_bStop || (m_reading.m_nTaskId == nTaskId && m_reading.m_nGeneration == nGeneration))
            return;
        const auto same =
            std::find_if(m_requests.begin(), m_requests.end(), [&](const CRequest& r) {
                return r.m_nTaskId == nTaskId && r.m_nGeneration == nGeneration;
            });
        if (same != m_requests.end()) {
            std::rotate(m_requests.begin(), same, same + 1);
            return;
        }
        m_requests.push_front({nTaskId, strPath, settings, nGeneration});
    }
    m_wake.notify_one();
}

void CBackgroundLoader::Stop() {
    {
        const std::lock_guard lock(m_mutex);
        m_bStop = true;
        m_requests.clear();
    }
    m_wake.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

void CBackgroundLoader::Run() {
    for (;;) {
        CRequest request;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_bStop || !m_requests.empty(); });
            if (m_bStop)
                return;
            request = std::move(m_requests.front());
            m_requests.pop_front();
            m_reading.m_nTaskId = request.m_nTaskId;
            m_reading.m_nGeneration = request.m_nGeneration;
        }
        Load(request);
    }
}

// The page is the worker's own until the owning thread takes its curves.
void CBackgroundLoader::Load(const CRequest& request) {
    COnePage page;
    page.m_strPath = request.m_strPath;
    const CTaskLoadResult result = LoadTaskDrawing(page, request.m_settings, false);
    if (result.Ok()) {
        // What the queue would otherwise do on the window thread with the drawing.
        page.CalcExtents();
        page.m_preflight.m_nContentHash = PreflightContentHash(page);
    }
    bool bMoreWaiting = false;
    {
        const std::lock_guard lock(m_mutex);
        bMoreWaiting = !m_requests.empty();
        m_reading.m_nTaskId = 0;
    }
    const auto tNow = std::chrono::steady_clock::now();
    const bool bRefresh = !bMoreWaiting || tNow - m_tLastRefresh >= kRefreshEvery;
    if (bRefresh)
        m_tLastRefresh = tNow;
    m_handOff.Run([&] {
        m_queue.AcceptPreloaded(request.m_nTaskId, request.m_nGeneration, page, result, bRefresh);
    });
}

} // namespace inkvale
