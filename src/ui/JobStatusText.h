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
    int32_t m_nBandsDone = 0;     ///< bands the machine confirmed in this run of the job
    int32_t m_nBandCount = 0;     ///< bands of the whole job
    int32_t m_nFirstBand = 0;     ///< the band this run started from (0: not a resumed job)
    double m_dDoneM = 0;          ///< paper the confirmed bands of the whole job cover, metres
    double m_dTotalM = 0;         ///< paper the whole job covers, metres
    double m_dElapsedSeconds = 0; ///< since the job started, without the machine's silences
    int32_t m_nCopiesLeft = 0;    ///< copies still due after this one
    bool m_bPaused = false;
    std::time_t m_tSilentSince = 0; ///< the machine does not answer since then; 0: it does
};

/// "marker.plt: band 12 of 40, 3.0 m of 10.0 m, about 4 min left, 2 more copies"; a
/// resumed job counts in the whole job's bands, "band 44 of 231 (resumed at 41)". The time
/// left appears once a band is done, "paused" leads while the job is paused, and "the
/// plotter does not answer since 14:02:11" ends it while the machine is silent.
QString JobStatusText(const CJobProgress& job);
/// The printing row's progress through the whole job: "45%", or "paused 45%".
QString RowProgressText(const CJobProgress& job);
/// Metres as the operator reads them everywhere: one decimal.
QString MetresText(double dMetres);
/// The printing row's state cell: its own state text (strState, "Printing") with the
/// progress, or "Waiting for the plotter" while the machine is silent.
QString RowStateText(const QString& strState, const CJobProgress& job);

} // namespace inkvale
