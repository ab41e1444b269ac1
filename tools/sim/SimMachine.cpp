// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimMachine.h"

#include "SimJob.h"
#include "config/MachineParams.h"
#include "machine/link/MachineProtocol.h"

#include <algorithm>
#include <utility>

namespace inkvale::sim {

namespace {

// Log memory bound: past it, band-data chunks keep only their first bytes.
constexpr size_t kLogBytesMax = 64u << 20;
constexpr size_t kLogChunkHead = 64;

int32_t Le32(const uint8_t* p) {
    return static_cast<int32_t>(GetLe32(p));
}

} // namespace

CSimMachine::CSimMachine() {
    const CMachineParams defaults;
    for (int a = CMachineParams::kEditBase; a < CMachineParams::kBlockSize; ++a)
        m_arrRegs[static_cast<size_t>(a)] = defaults.EditByte(a);
    for (int a = CMachineParams::kExtBase; a < CMachineParams::kExtBase + CMachineParams::kExtSize;
         ++a)
        m_arrRegs[static_cast<size_t>(a)] = defaults.EditByte(a);
    m_arrRegs[kRegExtFlag] = kExtFlagYes;
    const uint8_t loopback[4] = {127, 0, 0, 1};
    std::copy(loopback, loopback + 4, m_arrRegs.begin() + kRegMachineIp);
}

CSimMachine::~CSimMachine() = default;

bool CSimMachine::SetParam(const std::string& strName, int64_t nValue, int nIndex) {
    const CParamField* pField = FindParamField(strName);
    if (pField == nullptr || nIndex < 0 || nIndex >= pField->m_nCount)
        return false;
    std::lock_guard<std::mutex> guard(m_mutex);
    const size_t nAddr = static_cast<size_t>(pField->m_nAddr + nIndex * pField->m_nWidth);
    for (int i = 0; i < pField->m_nWidth; ++i)
        m_arrRegs[nAddr + static_cast<size_t>(i)] =
            static_cast<uint8_t>(static_cast<uint64_t>(nValue) >> (8 * i));
    return true;
}

void CSimMachine::SetTiming(const CSimTiming& timing) {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_timing = timing;
}

void CSimMachine::SetSheetPath(const std::string& strPath) {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_strSheetPath = strPath;
}

void CSimMachine::SetKeepLog(bool bKeep) {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_bKeepLog = bKeep;
}

void CSimMachine::SetKeepJobs(bool bKeep) {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_bKeepJobs = bKeep;
}

void CSimMachine::AddFault(const CSimFault& fault) {
    std::lock_guard<std::mutex> guard(m_mutex);
    if (fault.m_nTimes > 0)
        m_faults.push_back(fault);
}

void CSimMachine::SetSilentFor(int nMs) {
    const CChanged changed{*this};
    std::lock_guard<std::mutex> guard(m_mutex);
    m_tSilentUntil = CSimClock::now() + std::chrono::milliseconds(std::max(nMs, 0));
}

void CSimMachine::ForceState(uint8_t nState, int nMs) {
    const CChanged changed{*this};
    std::lock_guard<std::mutex> guard(m_mutex);
    if (m_pJob && nState != kStatePrinting && nState != kStatePaused && nState != kStateProcessing)
        EndJob(false);
    m_nState = nState;
    m_tStateUntil = CSimClock::now() + std::chrono::milliseconds(std::max(nMs, 0));
    m_nStateAfter = m_pJob ? m_nState : uint8_t{kStateReady};
}

void CSimMachine::PowerOff() {
    const CChanged changed{*this};
    std::lock_guard<std::mutex> guard(m_mutex);
    EndJob(false);
}

void CSimMachine::PanelAction(uint8_t nCode) {
    const CChanged changed{*this};
    std::lock_guard<std::mutex> guard(m_mutex);
    Tick(CSimClock::now());
    ApplyAction(nCode);
}

uint8_t CSimMachine::State() {
    std::lock_guard<std::mutex> guard(m_mutex);
    Tick(CSimClock::now());
    return m_nState;
}

std::vector<CSimFrameLog> CSimMachine::Frames() {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_log;
}

std::vector<CSimFrameLog> CSimMachine::TakeFrames() {
    std::lock_guard<std::mutex> guard(m_mutex);
    std::vector<CSimFrameLog> frames;
    frames.swap(m_log);
    m_nLogBytes = 0;
    return frames;
}

void CSimMachine::ClearFrames() {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_log.clear();
    m_nLogBytes = 0;
}

void CSimMachine::NoteChanged() {
    {
        std::lock_guard<std::mutex> guard(m_changeMutex);
        ++m_nChanges;
    }
    m_changed.notify_all();
}

bool CSimMachine::WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds bound) {
    const auto tEnd = std::chrono::steady_clock::now() + bound;
    for (;;) {
        uint64_t nSeen = 0;
        {
            std::lock_guard<std::mutex> guard(m_changeMutex);
            nSeen = m_nChanges;
        }
        if (done())
            return true;
        // The machine's timed states (a forced state, a job's print time) end by the clock,
        // not by an exchange: their end is a moment to look again too.
        auto tLook = tEnd;
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            for (const CSimClock::time_point t : {m_tStateUntil, m_tSilentUntil, m_tBusyUntil}) {
                if (t > CSimClock::now() && t < tLook)
                    tLook = t + std::chrono::milliseconds(1);
            }
        }
        std::unique_lock<std::mutex> lock(m_changeMutex);
        if (!m_changed.wait_until(lock, tLook, [&] { return m_nChanges != nSeen; }) &&
            tLook >= tEnd) {
            lock.unlock();
            return done();
        }
    }
}

CSimStats CSimMachine::Stats() {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_stats;
}

std::vector<CSimJobRecord> CSimMachine::TakeJobs() {
    std::lock_guard<std::mutex> guard(m_mutex);
    return std::exchange(m_jobs, {});
}

std::array<uint8_t, 256> CSimMachine::Registers() {
    std::lock_guard<std::mutex> guard(m_mutex);
    FillDynamicRegisters();
    return m_arrRegs;
}

CSimSheetImage CSimMachine::LastSheet() {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_lastSheet;
}

int CSimMachine::OnConnect() {
    const CChanged changed{*this};
    std::lock_guard<std::mutex> guard(m_mutex);
    return ++m_stats.m_nConnections;
}

void CSimMachine::OnDisconnect() {
    const CChanged changed{*this};
    std::lock_guard<std::mutex> guard(m_mutex);
    if (m_pJob)
        m_pJob->m_bReceiving = false;
}

bool CSimMachine::ReceivingBand() {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_pJob && m_pJob->m_bReceiving;
}

void CSimMachine::LogGarbage(int nConnection, const uint8_t* p, size_t n) {
    std::lock_guard<std::mutex> guard(m_mutex);
    Log('G', nConnection, p, n);
}

void CSimMachine::Log(char cKind, int nConnection, const uint8_t* p, size_t n) {
    if (!m_bKeepLog)
        return;
    if (cKind == 'D' && m_nLogBytes > kLogBytesMax)
        n = std::min(n, kLogChunkHead);
    m_nLogBytes += n;
    m_log.push_back({cKind, std::vector<uint8_t>(p, p + n), nConnection});
}

void CSimMachine::Tick(CSimClock::time_point now) {
    if (m_tStateUntil == CSimClock::time_point{} || now < m_tStateUntil)
        return;
    m_tStateUntil = {};
    m_nState = m_nStateAfter;
}

void CSimMachine::EnterState(uint8_t nState, int nMs) {
    if (nMs <= 0) {
        m_nState = m_nStateAfter = nState;
        m_tStateUntil = {};
        return;
    }
    m_tStateUntil = CSimClock::now() + std::chrono::milliseconds(nMs);
    m_nStateAfter = nState;
}

CSimReply CSimMachine::HandleFrame(int nConnection, const uint8_t* p, size_t n) {
    const CChanged changed{*this};
    std::lock_guard<std::mutex> guard(m_mutex);
    const auto now = CSimClock::now();
    Tick(now);
    const char cKind = n >= 2 ? static_cast<char>(p[1]) : 'G';
    Log(cKind, nConnection, p, n);
    CSimReply reply;
    if (now < m_tSilentUntil) {
        reply.m_bNone = true;
        return reply;
    }
    int nAddress = -1;
    if (cKind == kFrameAction && n == 3) {
        reply.m_bytes = DoAction(p[2]);
    } else if (cKind == kFrameRead && n == 4) {
        nAddress = p[2];
        reply.m_bytes = DoRead(p[2], p[3]);
    } else if (cKind == kFrameWrite && n >= 4) {
        nAddress = p[2];
        reply.m_bytes = DoWrite(p, n);
    } else {
        reply.m_bNone = true;
        return reply;
    }
    ApplyFaults(cKind, nAddress, reply);
    return reply;
}

std::vector<uint8_t> CSimMachine::DoAction(uint8_t nCode) {
    ApplyAction(nCode);
    return {0x04, kFrameAction, nCode, m_nState};
}

void CSimMachine::ApplyAction(uint8_t nCode) {
    const uint8_t nLow = m_nState & 0x0F;
    switch (nCode) {
    case kActPause:
        if (nLow == kStatePrinting)
            m_nState = m_nStateAfter = kStatePaused;
        break;
    case kActResume:
        if (m_nState == kStatePaused)
            m_nState = m_nStateAfter = kStatePrinting;
        break;
    case kActStop:
        if (m_pJob &&
            (nLow == kStateProcessing || nLow == kStatePrinting || nLow == kStatePaused)) {
            EndJob(false);
            EnterState(kStateReady, 0);
        }
        break;
    case kActTest:
        if (m_nState == kStateReady) {
            m_nState = kStateCleaning;
            EnterState(kStateReady, m_timing.m_nTestMs);
        }
        break;
    case kActReset:
        if (!m_pJob) {
            m_nState = kStateInit;
            EnterState(kStateReady, m_timing.m_nResetMs);
        }
        break;
    case kActFeed:
        m_nPosX += 100;
        break;
    case kActBack:
        m_nPosX -= 100;
        break;
    case kActLeft:
        m_nPosY -= 100;
        break;
    case kActRight:
        m_nPosY += 100;
        break;
    default: // jog stop and codes this machine does not know
        break;
    }
}

void CSimMachine::FillDynamicRegisters() {
    PutLe32(&m_arrRegs[kRegPosition], static_cast<uint32_t>(m_nPosX));
    PutLe32(&m_arrRegs[kRegPosition + 4], static_cast<uint32_t>(m_nPosY));
    m_arrRegs[kRegState] = m_nState;
}

std::vector<uint8_t> CSimMachine::DoRead(uint8_t nAddress, uint8_t nCount) {
    FillDynamicRegisters();
    std::vector<uint8_t> reply = {static_cast<uint8_t>(nCount + 4), kFrameRead, nAddress, nCount};
    for (int i = 0; i < nCount; ++i) {
        const int nAt = nAddress + i;
        reply.push_back(nAt < 256 ? m_arrRegs[static_cast<size_t>(nAt)] : 0);
    }
    return reply;
}

std::vector<uint8_t> CSimMachine::DoWrite(const uint8_t* p, size_t n) {
    const uint8_t nAddress = p[2];
    const uint8_t nCount = p[3];
    const uint8_t* pData = p + 4;
    int nResult = 0;
    if (n != size_t{nCount} + 4 || p[0] != n) {
        nResult = 0xFE; // malformed frame: nothing stored
    } else if (nAddress == kRegJobHeader && nCount == 8) {
        nResult = WriteJobHeader(pData);
    } else if (nAddress == kRegBandRequest && nCount == 4) {
        nResult = BandRequest(Le32(pData));
    } else if (nAddress == kRegBandDone && nCount == 4) {
        nResult = BandDone(Le32(pData));
    } else {
        for (size_t i = 0; i < nCount && nAddress + i < 256; ++i)
            m_arrRegs[nAddress + i] = pData[i];
    }
    return {0x06, kFrameWrite, nAddress, nCount, m_nState, static_cast<uint8_t>(nResult)};
}

} // namespace inkvale::sim
