// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/BackgroundLoader.h"

#include "model/TaskDrawingLoader.h"
#include "queue/TaskQueue.h"

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
        }
        Load(request);
    }
}

// The page is the worker's own until the owning thread takes its curves.
void CBackgroundLoader::Load(const CRequest& request) {
    COnePage page;
    page.m_strPath = request.m_strPath;
    const CTaskLoadResult result = LoadTaskDrawing(page, request.m_settings, false);
    bool bMoreWaiting = false;
    {
        const std::lock_guard lock(m_mutex);
        bMoreWaiting = !m_requests.empty();
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
