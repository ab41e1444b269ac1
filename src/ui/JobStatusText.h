// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <ctime>
#include <string>

namespace inkvale {

/// What the window knows of the running job, for the status bar, the printing row and the
/// tray icon.
struct CJobProgress {
    std::string m_strName;        ///< the task's name
    int32_t m_nBandsDone = 0;     ///< bands the machine confirmed
    int32_t m_nBandCount = 0;     ///< bands of the job
    int32_t m_nLengthUnits = 0;   ///< the job's length along the feed, plotter units
    double m_dElapsedSeconds = 0; ///< since the job started, without the machine's silences
    int32_t m_nCopiesLeft = 0;    ///< copies still due after this one
    bool m_bPaused = false;
    std::time_t m_tSilentSince = 0; ///< the machine does not answer since then; 0: it does
};

/// "marker.plt: band 12 of 40, 3.0 m of 10.0 m, about 4 min left, 2 more copies"; the
/// time left appears once a band is done, "paused" leads while the job is paused, and
/// "the plotter does not answer since 14:02:11" ends it while the machine is silent.
QString JobStatusText(const CJobProgress& job);
/// The printing row's progress: "45%", or "paused 45%".
QString RowProgressText(const CJobProgress& job);
/// The printing row's state cell: its own state text (strState, "Printing") with the
/// progress, or "Waiting for the plotter" while the machine is silent.
QString RowStateText(const QString& strState, const CJobProgress& job);

} // namespace inkvale
