// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace inkvale::sim {

using CSimClock = std::chrono::steady_clock;

/// Faults the simulator can play. Each is bounded: by a number of replies, or by time.
enum class ESimFault {
    Lose,      ///< the reply is not sent
    Split,     ///< the reply is sent in two parts, m_nValue ms apart (default 30); the first
               ///< holds m_nFirst bytes (0: half the reply)
    Trickle,   ///< the reply is sent one byte at a time, m_nValue ms apart (default 5)
    Late,      ///< the reply is sent m_nValue ms late
    Garble,    ///< m_nValue 0: one byte short, 1: one byte too many, 2: byte 3 altered
    Drop,      ///< the connection is closed instead of replying
    RefuseJob, ///< a job header is answered with result m_nValue (default 1)
    Busy,      ///< a band request is answered with the busy result 1
    StopJob,   ///< the operator stops the job just before this reply (it carries state 1)
};

/// One fault rule: applies to the next m_nTimes replies that match.
struct CSimFault {
    ESimFault m_kind = ESimFault::Lose;
    /// Frame kind to match: 'P', 'Q', 'R', 'D' (a band-data chunk) or 0 for any.
    char m_cFrame = 0;
    /// Register address to match for reads and writes, -1 for any.
    int m_nAddress = -1;
    int m_nTimes = 1;
    int m_nValue = 0;
    /// Matching replies that pass unchanged before the fault acts.
    int m_nSkip = 0;
    /// Split: bytes sent before the pause; 0 for half the reply.
    int m_nFirst = 0;
};

/// What the transport does with one reply.
struct CSimReply {
    std::vector<uint8_t> m_bytes;
    bool m_bNone = false; ///< send nothing
    bool m_bDrop = false; ///< close the connection instead
    int m_nDelayMs = 0;   ///< wait before sending
    /// Two or more entries: the reply goes out in pieces of these sizes, m_nPauseMs apart,
    /// each its own write (on TCP its own segment).
    std::vector<size_t> m_pieces;
    int m_nPauseMs = 0;
};

/// One unit the machine received, in arrival order.
struct CSimFrameLog {
    char m_cKind = 0; ///< 'P', 'Q', 'R', 'D' (band-data chunk) or 'G' (garbage, discarded)
    std::vector<uint8_t> m_bytes;
    int m_nConnection = 0;
};

/// Machine timing. "fast" answers at once; "slow" behaves like a real machine printing.
struct CSimTiming {
    int m_nStartMs = 40;    ///< processing (3) -> printing (4) after a job header
    int m_nBandPrintMs = 0; ///< busy answers to band requests after each confirmed band
    int m_nFinishMs = 40;   ///< finishing (5) -> ready (1) after the last band
    int m_nResetMs = 150;   ///< initialising (0) after a reset
    int m_nTestMs = 150;    ///< cleaning / test plot (2) after the test action
    /// Each job's start, band and finish times come from the print-time model of its own
    /// parameter block and width instead of the three fixed times above.
    bool m_bModelled = false;
};

/// Counters a test or the program can show after a run.
struct CSimStats {
    int m_nConnections = 0;
    int m_nJobsAccepted = 0;
    int m_nJobsFinished = 0;
    int m_nJobsAborted = 0;
    int m_nBandsReceived = 0; ///< bands whose data arrived completely
    int m_nBandsConfirmed = 0;
    int m_nBadBands = 0; ///< bands confirmed without complete data, or overrunning data
    int m_nChunks = 0;
    int m_nSheetsWritten = 0;
    std::string m_strLastSheet;
};

} // namespace inkvale::sim
