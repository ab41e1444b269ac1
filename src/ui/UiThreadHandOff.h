// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/Settings.h"
#include "core/EngineHandOff.h"

#include <QObject>

#include <functional>

namespace inkvale {

/// Hands the engine's calls over to the window thread and waits until they are handled,
/// as the engine requires. A call made on the window thread itself (a job refused inside
/// StartPrintJob) runs in place. Once the closing flag is set a waiting worker stops
/// waiting (and a new call returns at once), because the window thread may then be
/// waiting for that very worker to end; the abandoned call is dropped.
class CUiThreadHandOff : public QObject, public IThreadHandOff {
    Q_OBJECT
public:
    /// Calls run on the thread this object lives on (the window thread).
    explicit CUiThreadHandOff(const CSettings& settings, QObject* pParent = nullptr);

    void Run(const std::function<void()>& fn) override;
    /// A queued call on the window thread's event loop; never waited for.
    void Post(std::function<void()> fn) override;

private:
    const CSettings& m_settings;
};

} // namespace inkvale
