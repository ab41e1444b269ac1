// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/Settings.h"

#include <cstdint>
#include <string>

namespace inkvale {

/// Reads the drawings of new tasks ahead of their first click, off the thread that owns the
/// queue, so that the task list shows their sizes at once and a big marker never freezes the
/// window. The result comes back through CTaskQueue::AcceptPreloaded on the owning thread.
class IDrawingPreloader {
public:
    virtual ~IDrawingPreloader() = default;
    /// Asks for the drawing of a task, read with a copy of the settings of the moment;
    /// nGeneration is the queue's drawing generation, by which it drops stale results.
    virtual void Preload(uint64_t nTaskId, const std::string& strPath, const CSettings& settings,
                         uint64_t nGeneration) = 0;
    /// Asks for a drawing someone waits for (a click, a start), ahead of the preloads still
    /// waiting, with the same hand-over.
    virtual void LoadFirst(uint64_t nTaskId, const std::string& strPath, const CSettings& settings,
                           uint64_t nGeneration) = 0;
};

} // namespace inkvale
