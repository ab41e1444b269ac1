// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/Settings.h"
#include "model/OnePage.h"

#include <cstdint>
#include <list>
#include <mutex>
#include <string>

namespace inkvale::service {

/// A PNG of the task's drawing as the window's preview paints it (its colours, paper and
/// rulers), the whole drawing fitted into nWidth x nHeight pixels; "" when the task has no
/// drawing.
std::string ThumbnailPng(const COnePage& task, const CSettings& settings, int nWidth, int nHeight);

/// What a thumbnail was painted from: the task and the version of its drawing's file.
struct CThumbnailKey {
    uint64_t m_nTaskId = 0;
    std::string m_strPath;
    int64_t m_tTime = 0;
    int64_t m_nFileSize = 0;
    bool operator==(const CThumbnailKey&) const = default;
};

/// The last thumbnails painted, by task and drawing: one request of a big marker costs the
/// painting, the others a look-up. Any thread.
class CThumbnailCache {
public:
    /// The picture kept for the key; false when there is none.
    bool Find(const CThumbnailKey& key, std::string& strPng);
    void Keep(const CThumbnailKey& key, std::string strPng);

    static constexpr size_t kMaxEntries = 64;

private:
    std::mutex m_mutex;
    std::list<std::pair<CThumbnailKey, std::string>> m_entries; ///< most recent first
};

} // namespace inkvale::service
