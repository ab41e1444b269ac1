// SPDX-License-Identifier: GPL-3.0-or-later
// The job side of the simulated machine: job header, band requests, band data, band
// confirmations, the end of a job, and the faults that change replies.

#include "SimBandDecode.h"
#include "SimJob.h"
#include "SimMachine.h"
#include "config/MachineParams.h"
#include "machine/link/MachineProtocol.h"
#include "raster/PrintTimeModel.h"

#include <algorithm>
#include <cmath>

namespace inkvale::sim {

namespace {

constexpr size_t kBandBytesMax = 4928000 + 4096;
constexpr int32_t kJobWidthMax = 28000;
constexpr int32_t kBandCountMax = 1000000;
constexpr int kResultRefused = 1;
constexpr int kResultBadHeader = 2;
constexpr int kResultUnknownBand = 2;
constexpr uint8_t kBandPrinted = 1;
constexpr uint8_t kBandPrintedBadly = 2;

} // namespace

int CSimMachine::WriteJobHeader(const uint8_t* pData) {
    std::copy(pData, pData + 8, m_arrRegs.begin() + kRegJobHeader);
    for (auto it = m_faults.begin(); it != m_faults.end(); ++it) {
        if (it->m_kind == ESimFault::RefuseJob) {
            const int nResult = it->m_nValue != 0 ? it->m_nValue : kResultRefused;
            if (--it->m_nTimes <= 0)
                m_faults.erase(it);
            return nResult;
        }
    }
    // A machine still feeding out the last job (finishing) takes the next one already.
    if ((m_nState != kStateReady && m_nState != kStateFinishing) || m_pJob)
        return kResultRefused;
    const int32_t nWidth = static_cast<int32_t>(GetLe32(pData));
    const int32_t nBands = static_cast<int32_t>(GetLe32(pData + 4));
    if (nWidth <= 0 || nWidth > kJobWidthMax || nBands <= 0 || nBands > kBandCountMax)
        return kResultBadHeader;
    m_pJob = std::make_unique<CJob>();
    m_pJob->m_nJobWidth = nWidth;
    m_pJob->m_nBandCount = nBands;
    for (int a = CMachineParams::kEditBase; a < CMachineParams::kBlockSize; ++a)
        m_pJob->m_params.SetEditByte(a, m_arrRegs[static_cast<size_t>(a)]);
    for (int a = CMachineParams::kExtBase; a < CMachineParams::kExtBase + CMachineParams::kExtSize;
         ++a)
        m_pJob->m_params.SetEditByte(a, m_arrRegs[static_cast<size_t>(a)]);
    m_pJob->m_nExpectedWords = ColumnImageWords(m_pJob->m_params, nWidth);
    m_pJob->m_pSheet =
        std::make_unique<CBandSheet>(MachineBandParams(m_pJob->m_params), nWidth, nBands);
    m_pJob->m_bandState.resize(static_cast<size_t>(nBands), 0);
    int nStartMs = m_timing.m_nStartMs;
    m_pJob->m_nBandPrintMs = m_timing.m_nBandPrintMs;
    m_pJob->m_nFinishMs = m_timing.m_nFinishMs;
    if (m_timing.m_bModelled) {
        const CMachineParams& p = m_pJob->m_params;
        auto ms = [](double dSeconds) { return static_cast<int>(std::lround(dSeconds * 1000.0)); };
        nStartMs = ms(FeedSeconds(p, p.FeedBeforeMm()));
        m_pJob->m_nBandPrintMs = ms(BandSeconds(p, MachineBandParams(p), nWidth));
        m_pJob->m_nFinishMs = ms(FeedSeconds(p, p.FeedAfterMm()));
    }
    ++m_stats.m_nJobsAccepted;
    m_nState = kStateProcessing;
    EnterState(kStatePrinting, nStartMs);
    return 0;
}

int CSimMachine::BandRequest(int32_t nBand) {
    for (auto it = m_faults.begin(); it != m_faults.end(); ++it) {
        if (it->m_kind == ESimFault::Busy) {
            if (--it->m_nTimes <= 0)
                m_faults.erase(it);
            return kBandBusy;
        }
    }
    if (!m_pJob || m_nState != kStatePrinting || CSimClock::now() < m_tBusyUntil)
        return kBandBusy;
    if (nBand < 0 || nBand >= m_pJob->m_nBandCount)
        return kResultUnknownBand;
    CJob& job = *m_pJob;
    job.m_bReceiving = true;
    job.m_nBand = nBand;
    job.m_data.clear();
    job.m_nParsed = 0;
    job.m_nDecoded = 0;
    job.m_bBad = false;
    return kBandSendNow;
}

int CSimMachine::BandDone(int32_t nBand) {
    if (!m_pJob || nBand < 0 || nBand >= m_pJob->m_nBandCount)
        return kResultUnknownBand;
    CJob& job = *m_pJob;
    if (job.m_bReceiving && job.m_nBand == nBand) {
        // Confirmed before its data was complete: print what arrived and count it as bad.
        job.m_bReceiving = false;
        job.m_bBad = true;
        PrintReceivedBand();
    }
    if (job.m_bandState[static_cast<size_t>(nBand)] != kBandPrinted)
        ++m_stats.m_nBadBands;
    ++m_stats.m_nBandsConfirmed;
    m_nPosX += 300;
    m_nPosY = (nBand % 2 == 0) ? job.m_nJobWidth * 4 : 0;
    m_tBusyUntil = CSimClock::now() + std::chrono::milliseconds(job.m_nBandPrintMs);
    if (nBand == job.m_nBandCount - 1) {
        const int nFinishMs = job.m_nFinishMs;
        EndJob(true);
        m_nState = kStateFinishing;
        EnterState(kStateReady, nFinishMs);
    }
    return 0;
}

// Counts the column-image words the collected data stands for; the band is complete when
// they fill the column image. The rest of the last chunk is padding.
static void CountWords(std::vector<uint8_t>& data, size_t& nParsed, size_t& nDecoded,
                       size_t nExpected, bool& bBad) {
    while (nDecoded < nExpected && nParsed + 2 <= data.size()) {
        const uint16_t w = GetLe16(&data[nParsed]);
        if (w != 0) {
            ++nDecoded;
            nParsed += 2;
            continue;
        }
        if (nParsed + 4 > data.size())
            return; // the run length is in the next chunk
        const uint16_t z = GetLe16(&data[nParsed + 2]);
        if (z == 0 || z > 2200)
            bBad = true;
        nDecoded += z;
        nParsed += 4;
    }
    if (nDecoded > nExpected)
        bBad = true;
}

CSimReply CSimMachine::HandleChunk(int nConnection, const uint8_t* p, size_t n) {
    const CChanged changed{*this};
    std::lock_guard<std::mutex> guard(m_mutex);
    const auto now = CSimClock::now();
    Tick(now);
    Log('D', nConnection, p, n);
    ++m_stats.m_nChunks;
    CSimReply reply;
    if (now < m_tSilentUntil) {
        reply.m_bNone = true;
        return reply;
    }
    if (m_pJob && m_pJob->m_bReceiving) {
        CJob& job = *m_pJob;
        job.m_data.insert(job.m_data.end(), p, p + n);
        CountWords(job.m_data, job.m_nParsed, job.m_nDecoded, job.m_nExpectedWords, job.m_bBad);
        const bool bTooLong = job.m_data.size() > kBandBytesMax;
        if (job.m_nDecoded >= job.m_nExpectedWords || bTooLong) {
            job.m_bReceiving = false;
            job.m_bBad = job.m_bBad || bTooLong;
            PrintReceivedBand();
            ++m_stats.m_nBandsReceived;
        }
    }
    // A machine without a job (stopped, dropped) acknowledges with its ready state, which
    // tells the host to give the band up.
    reply.m_bytes = {m_nState};
    ApplyFaults('D', -1, reply);
    return reply;
}

// The band in transfer goes onto the sheet: its data up to the end of the column image (the
// rest of the last chunk is padding), decoded as the machine's nozzles print it.
void CSimMachine::PrintReceivedBand() {
    CJob& job = *m_pJob;
    job.m_data.resize(std::min(job.m_nParsed, job.m_data.size()));
    const CBandDecodeResult result = job.m_pSheet->AddBand(job.m_nBand, job.m_data);
    const bool bBad = job.m_bBad || !result.Ok();
    job.m_bandState[static_cast<size_t>(job.m_nBand)] = bBad ? kBandPrintedBadly : kBandPrinted;
    job.m_data = {};
}

void CSimMachine::EndJob(bool bFinished) {
    if (!m_pJob)
        return;
    CJob& job = *m_pJob;
    ++(bFinished ? m_stats.m_nJobsFinished : m_stats.m_nJobsAborted);
    m_lastSheet = SheetImage(*job.m_pSheet);
    if (!m_strSheetPath.empty() && WriteSheetPng(m_lastSheet, m_strSheetPath)) {
        ++m_stats.m_nSheetsWritten;
        m_stats.m_strLastSheet = m_strSheetPath;
    }
    if (m_bKeepJobs) {
        const auto nPrinted = std::count_if(job.m_bandState.begin(), job.m_bandState.end(),
                                            [](uint8_t n) { return n != 0; });
        m_jobs.push_back({job.m_nJobWidth, job.m_nBandCount, static_cast<int32_t>(nPrinted),
                          bFinished, m_lastSheet});
    }
    m_pJob.reset();
}

// The operator pressed stop just before this reply went out: it carries the ready state.
void CSimMachine::StopNow(char cFrame, CSimReply& reply) {
    ApplyAction(kActStop);
    const size_t nStateAt = cFrame == 'D' ? 0 : cFrame == kFrameAction ? 3 : 4;
    if (nStateAt < reply.m_bytes.size() && cFrame != kFrameRead)
        reply.m_bytes[nStateAt] = m_nState;
}

void CSimMachine::ApplyFaults(char cFrame, int nAddress, CSimReply& reply) {
    for (auto it = m_faults.begin(); it != m_faults.end(); ++it) {
        const bool bReplyFault =
            it->m_kind != ESimFault::RefuseJob && it->m_kind != ESimFault::Busy;
        if (!bReplyFault || (it->m_cFrame != 0 && it->m_cFrame != cFrame) ||
            (it->m_nAddress >= 0 && it->m_nAddress != nAddress))
            continue;
        if (it->m_nSkip > 0) {
            --it->m_nSkip;
            return;
        }
        switch (it->m_kind) {
        case ESimFault::Lose:
            reply.m_bNone = true;
            break;
        case ESimFault::Split: {
            // A one-byte reply (a chunk acknowledgement) has nothing to split and goes out
            // whole: inventing a second byte would make it a reply too long, another fault.
            const size_t n = reply.m_bytes.size();
            const size_t nFirst = it->m_nFirst > 0 ? static_cast<size_t>(it->m_nFirst) : n / 2;
            if (nFirst > 0 && nFirst < n)
                reply.m_pieces = {nFirst, n - nFirst};
            reply.m_nPauseMs = it->m_nValue > 0 ? it->m_nValue : 30;
            break;
        }
        case ESimFault::Trickle:
            reply.m_pieces.assign(reply.m_bytes.size(), 1);
            reply.m_nPauseMs = it->m_nValue > 0 ? it->m_nValue : 5;
            break;
        case ESimFault::Late:
            reply.m_nDelayMs = it->m_nValue;
            break;
        case ESimFault::Garble:
            if (it->m_nValue == 1 || reply.m_bytes.size() <= 1)
                reply.m_bytes.push_back(0xEE);
            else if (it->m_nValue == 2 && reply.m_bytes.size() > 3)
                reply.m_bytes[3] ^= 0x5A;
            else
                reply.m_bytes.pop_back();
            break;
        case ESimFault::Drop:
            reply.m_bDrop = true;
            break;
        case ESimFault::StopJob:
            StopNow(cFrame, reply);
            break;
        default:
            break;
        }
        if (--it->m_nTimes <= 0)
            m_faults.erase(it);
        return;
    }
}

} // namespace inkvale::sim
