// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/Settings.h"
#include "machine/EngineHost.h"

#include <QObject>

#include <functional>

namespace inkvale {

/// Hands the engine's calls over to the window thread and waits until they are handled,
/// as the engine requires. A call made on the window thread itself (a job refused inside
/// StartPrintJob) runs in place. Once the closing flag is set a waiting worker stops
/// waiting (and a new call returns at once), because the window thread may then be
/// waiting for that very worker to end; the abandoned call is dropped.
class CUiEngineHost : public QObject, public IEngineHost {
    Q_OBJECT
public:
    /// target handles the calls on the thread this object lives on (the window thread).
    CUiEngineHost(IEngineHost& target, const CSettings& settings, QObject* pParent = nullptr);

    void JobFinished(int nResult) override;
    void StartNextTask() override;
    void ScanManualFolder() override;
    void ScanAutoFolder() override;

private:
    void Deliver(const std::function<void()>& fn);

    IEngineHost& m_target;
    const CSettings& m_settings;
};

} // namespace inkvale
