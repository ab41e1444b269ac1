// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SimSheet.h"
#include "SimTypes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace inkvale::sim {

/// What the machine printed in one job, from its header to its end: kept for tests that
/// tell every job apart (which file it was, where a resumed job began).
struct CSimJobRecord {
    int32_t m_nJobWidth = 0;
    int32_t m_nBandCount = 0;    ///< as the header announced
    int32_t m_nBandsPrinted = 0; ///< bands whose data arrived and printed
    bool m_bFinished = false;    ///< every band printed and fed out (false: aborted)
    CSimSheetImage m_sheet;
};

/// The machine's side of the protocol, independent of the transport: register space with a
/// parameter block, the state byte and its walk through a job, band requests, band data
/// collected chunk by chunk into a printed sheet, and fault injection. Thread-safe: the
/// transports call the Handle* members while a test or the program configures and inspects.
class CSimMachine {
public:
    /// Parameter block with the built-in defaults, extended block announced, address
    /// 127.0.0.1, state ready.
    CSimMachine();
    ~CSimMachine();

    // Configuration (any thread).

    /// Sets a parameter-block field by its name (e.g. "HeadCombination", "HeadPos" with
    /// index 1). False for an unknown name or index.
    bool SetParam(const std::string& strName, int64_t nValue, int nIndex = 0);
    void SetTiming(const CSimTiming& timing);
    /// The printed sheet is written here as a PNG at the end of every job ("" for none).
    void SetSheetPath(const std::string& strPath);
    /// Keeps every received frame in the log (default); off keeps only the counters.
    void SetKeepLog(bool bKeep);
    /// Keeps a record of every job that ends, its sheet included (default off).
    void SetKeepJobs(bool bKeep);
    void AddFault(const CSimFault& fault);
    /// The machine reads but answers nothing for nMs milliseconds.
    void SetSilentFor(int nMs);
    /// Reports nState for nMs milliseconds (an error aborts a running job), then ready.
    void ForceState(uint8_t nState, int nMs);
    /// An action pressed on the machine's own panel (e.g. stop during a job).
    void PanelAction(uint8_t nCode);
    /// The machine is switched off: a job in progress ends unfinished, and its sheet (the
    /// bands printed so far) is written as any aborted job's.
    void PowerOff();

    // Inspection (any thread).
    uint8_t State();
    std::vector<CSimFrameLog> Frames();
    /// The frames logged so far, removing them from the log.
    std::vector<CSimFrameLog> TakeFrames();
    void ClearFrames();
    CSimStats Stats();
    /// The jobs that ended since the last call, in order, removing them from the record.
    std::vector<CSimJobRecord> TakeJobs();
    /// Waits until done() holds, looking again after every exchange with the host (a frame,
    /// a chunk, a connection made or lost) and every change made here; false when the bound
    /// passed first. done() may call the inspection functions.
    bool WaitUntil(const std::function<bool()>& done,
                   std::chrono::milliseconds bound = std::chrono::seconds(60));
    /// Wakes every WaitUntil to look again (a test's own condition changed).
    void Wake() { NoteChanged(); }
    std::array<uint8_t, 256> Registers();
    /// The sheet of the current or last job (empty before the first job).
    CSimSheetImage LastSheet();

    // Transport side.
    /// A new connection (or device session); returns its number for the log.
    int OnConnect();
    /// The connection went away: a band in transfer is abandoned (the host requests it again).
    void OnDisconnect();
    /// True while band data is expected instead of frames.
    bool ReceivingBand();
    /// One complete frame (length byte, kind, ...).
    CSimReply HandleFrame(int nConnection, const uint8_t* p, size_t n);
    /// One band-data chunk of the transport's chunk size.
    CSimReply HandleChunk(int nConnection, const uint8_t* p, size_t n);
    /// Bytes that form no frame; they are logged and dropped.
    void LogGarbage(int nConnection, const uint8_t* p, size_t n);

private:
    struct CJob;

    void Tick(CSimClock::time_point now);
    void Log(char cKind, int nConnection, const uint8_t* p, size_t n);
    std::vector<uint8_t> DoAction(uint8_t nCode);
    std::vector<uint8_t> DoRead(uint8_t nAddress, uint8_t nCount);
    std::vector<uint8_t> DoWrite(const uint8_t* p, size_t n);
    int WriteJobHeader(const uint8_t* pData);
    int BandRequest(int32_t nBand);
    int BandDone(int32_t nBand);
    void ApplyAction(uint8_t nCode);
    void EnterState(uint8_t nState, int nMs);
    void EndJob(bool bFinished);
    void PrintReceivedBand();
    void ApplyFaults(char cFrame, int nAddress, CSimReply& reply);
    void StopNow(char cFrame, CSimReply& reply);
    void FillDynamicRegisters();

    /// Tells WaitUntil that something may have changed; on leaving the function that made it
    /// (declared before that function's lock, so that it runs after the lock is released).
    struct CChanged {
        CSimMachine& m_machine;
        ~CChanged() { m_machine.NoteChanged(); }
    };
    void NoteChanged();

    std::mutex m_mutex;
    std::mutex m_changeMutex;
    std::condition_variable m_changed;
    uint64_t m_nChanges = 0;
    std::array<uint8_t, 256> m_arrRegs{};
    uint8_t m_nState = 1;
    CSimClock::time_point m_tStateUntil{}; ///< timed states end here (zero: not timed)
    uint8_t m_nStateAfter = 1;             ///< state after a timed state
    CSimClock::time_point m_tSilentUntil{};
    CSimClock::time_point m_tBusyUntil{};
    CSimTiming m_timing;
    std::string m_strSheetPath;
    bool m_bKeepLog = true;
    bool m_bKeepJobs = false;
    std::vector<CSimJobRecord> m_jobs;
    size_t m_nLogBytes = 0;
    std::deque<CSimFault> m_faults;
    std::vector<CSimFrameLog> m_log;
    CSimStats m_stats;
    int32_t m_nPosX = 0;
    int32_t m_nPosY = 0;
    std::unique_ptr<CJob> m_pJob;
    CSimSheetImage m_lastSheet;
};

} // namespace inkvale::sim
