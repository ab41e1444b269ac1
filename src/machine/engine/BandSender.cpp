// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/engine/BandSender.h"

#include "machine/engine/EngineHost.h"
#include "machine/engine/EngineLink.h"
#include "machine/engine/JobJournal.h"

#include <chrono>
#include <string>

namespace inkvale {

namespace {

// Waits of the band sender, milliseconds.
constexpr int kStartDelayMs = 100;
constexpr int kStatePollMs = 10;
constexpr int kBeforeSendMs = 10;
constexpr int kAroundConfirmMs = 20;
constexpr int kRetryMs = 500;
constexpr int kLongRetryMs = 2000;
constexpr int kQuickRetries = 3; // failed sends before the long retry wait sets in
constexpr int kLinkFailureMs = 2000;
constexpr int kBusyMs = 200;
constexpr int kAfterPositionMs = 10;
constexpr int kPositionFailedMs = 500;
constexpr int kConfirmRetryMs = 100;

// Adds the time of its scope to one of the counters.
class CScopeTimer {
public:
    explicit CScopeTimer(int64_t& nTotal)
        : m_nTotal(nTotal), m_tStart(std::chrono::steady_clock::now()) {}
    ~CScopeTimer() {
        m_nTotal += std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::steady_clock::now() - m_tStart)
                        .count();
    }
    CScopeTimer(const CScopeTimer&) = delete;
    CScopeTimer& operator=(const CScopeTimer&) = delete;

private:
    int64_t& m_nTotal;
    std::chrono::steady_clock::time_point m_tStart;
};

} // namespace

CBandSender::CBandSender(CEngineLink& link, IEngineHost& host, std::unique_ptr<IBandSource> source,
                         int32_t nBandCount, std::chrono::milliseconds linkLostLimit,
                         CJobJournal* pJournal, int64_t nFirstBand)
    : m_link(link), m_host(host), m_pSource(std::move(source)), m_nBandCount(nBandCount),
      m_linkLostLimit(linkLostLimit), m_pJournal(pJournal), m_nFirstBand(nFirstBand) {}

bool CBandSender::StillReachable(bool bAnswered) {
    const auto tNow = std::chrono::steady_clock::now();
    if (bAnswered || !m_bSilent) {
        m_bSilent = !bAnswered;
        m_tSilentSince = tNow;
        return true;
    }
    if (tNow - m_tSilentSince <= m_linkLostLimit)
        return true;
    m_strError =
        "the machine has not answered for " +
        std::to_string(std::chrono::duration_cast<std::chrono::seconds>(m_linkLostLimit).count()) +
        " s";
    return false;
}

void CBandSender::Run() {
    int nResult = Job();
    // Every band confirmed is a printed sheet, whatever its end looked like (a machine
    // silent during the feed-out, say).
    if (nResult != kJobSuccess && m_nConfirmed >= m_nBandCount && !OperatorStopped()) {
        m_strNote = m_strError;
        m_strError.clear();
        nResult = kJobSuccess;
    }
    if (nResult != kJobSuccess)
        NoteEnd();
    // The outcome is on the disk before anyone acts on it (the file's disposal, the
    // next copy).
    if (m_pJournal != nullptr && nResult == kJobSuccess && !m_pJournal->Printed())
        m_strNote = m_pJournal->Error();
    if (m_pJournal != nullptr && nResult != kJobSuccess && !m_pJournal->Interrupted(m_strError))
        m_strError += "; " + m_pJournal->Error();
    // The source holds the raster buffers; the next job may need them as soon as the
    // window thread has handled the message.
    m_pSource.reset();
    m_host.JobFinished(nResult);
}

int CBandSender::Job() {
    if (!m_link.Wait(kStartDelayMs) || !WaitForPrinting() || !SendBands())
        return kJobFailure;
    return WaitJobEnd() ? kJobSuccess : kJobFailure;
}

// The machine takes a moment to go from processing to printing. Back in ready means it
// dropped the job; a failed read keeps the last state and the wait goes on.
bool CBandSender::WaitForPrinting() {
    CScopeTimer timer(m_times.m_nOtherNs);
    while (m_link.MachineState() != kStatePrinting) {
        if (!m_link.Wait(kStatePollMs))
            return false;
        const bool bAnswered = m_link.ReadStatus() == 0;
        if (bAnswered && JobLost(m_link.MachineState()))
            return false;
        if (!StillReachable(bAnswered))
            return false;
    }
    return true;
}

bool CBandSender::JobLost(uint8_t nState) {
    if (nState == kStateReady) {
        m_strError = OperatorStopped() ? "stopped by the operator" : "the machine dropped the job";
        return true;
    }
    if (nState == kStateMemoryError || nState == kStateResetTimeout ||
        nState == kStateCarriageTimeout) {
        m_strError = "the machine reported a fault (state " + std::to_string(nState) + ")";
        return true;
    }
    return false;
}

void CBandSender::NoteEnd() {
    if (!m_strError.empty())
        return;
    m_strError = m_link.Closing() ? "the program closed during the job" : "the job ended early";
}

bool CBandSender::SendBands() {
    int32_t j = 0;
    int nFailures = 0;
    while (j < m_nBandCount) {
        std::span<const uint8_t> band;
        {
            CScopeTimer timer(m_times.m_nRenderNs);
            CBandOutput output = m_pSource->RenderBand(j);
            if (!output.Ok()) {
                AbandonJob(j, output.m_strDiag);
                return false;
            }
            band = output.m_data;
        }
        if (RequestBand(j) != kRequestSendNow)
            return false;
        int n = -1;
        {
            CScopeTimer timer(m_times.m_nSendNs);
            if (!m_link.Wait(kBeforeSendMs))
                return false;
            n = m_link.Commu().SendData(band.data(), band.size());
        }
        if (!StillReachable(n >= 0))
            return false;
        if (n >= 0 && static_cast<size_t>(n) == band.size()) {
            if (!ConfirmBand(j))
                return false;
            nFailures = 0;
            ++j;
            continue;
        }
        // The band is produced, requested and sent again; from the fifth failure in a row
        // the machine gets longer to recover.
        ++m_times.m_nResends;
        if (nFailures > kQuickRetries && !m_link.Wait(kLongRetryMs))
            return false;
        ++nFailures;
        if (!m_link.Wait(kRetryMs))
            return false;
    }
    return true;
}

// The machine waits for a band the host cannot make: it is told to drop the job, so that it
// does not stay busy with a job nobody will finish.
void CBandSender::AbandonJob(int32_t j, const std::string& strWhy) {
    m_strError = "band " + std::to_string(j) + ": " + strWhy;
    (void)m_link.Commu().SendAction(kActStop);
}

int CBandSender::RequestBand(int32_t j) {
    CScopeTimer timer(m_times.m_nRequestNs);
    const auto index = Le32Bytes(j);
    for (;;) {
        const int r = m_link.Commu().WriteRegs(kRegBandRequest, 4, index.data());
        if (JobLost(m_link.MachineState()))
            return kRequestAbandon;
        if (r == kBandSendNow)
            return kRequestSendNow;
        bool bGoOn = StillReachable(r >= 0);
        if (r < 0) {
            bGoOn = bGoOn && m_link.Wait(kLinkFailureMs);
        } else if (r == kBandBusy) {
            bGoOn = m_link.Wait(kBusyMs) &&
                    m_link.Wait(m_link.ReadPosition() == 0 ? kAfterPositionMs : kPositionFailedMs);
        }
        if (!bGoOn || m_link.Closing())
            return kRequestAbandon;
    }
}

bool CBandSender::ConfirmBand(int32_t j) {
    CScopeTimer timer(m_times.m_nConfirmNs);
    if (!m_link.Wait(kAroundConfirmMs))
        return false;
    const auto index = Le32Bytes(j);
    while (m_link.Commu().WriteRegs(kRegBandDone, 4, index.data()) != 0) {
        // A machine without a job answers every confirmation with a refusal, so asking
        // again would never end. Ready after the last band means the first confirmation
        // went through and only its reply was lost: the machine finished the job. Ready
        // before it, or a carriage fault, means the job was dropped.
        const uint8_t nState = m_link.MachineState();
        if (nState == kStateReady && j == m_nBandCount - 1 && !OperatorStopped())
            break;
        if (JobLost(nState))
            return false;
        if (!StillReachable(false) || !m_link.Wait(kConfirmRetryMs))
            return false;
    }
    (void)StillReachable(true);
    CEngineState& state = m_link.State();
    state.m_nLastBandDone = j;
    ++state.m_nBandsDone;
    m_nConfirmed = j + 1;
    // No band without its record: a ledger that cannot be written stops the job here.
    if (m_pJournal != nullptr && !m_pJournal->Confirmed(m_nFirstBand + j + 1)) {
        m_strError = m_pJournal->Error();
        if (j + 1 < m_nBandCount)
            (void)m_link.Commu().SendAction(kActStop); // the job ends here either way
        return j + 1 >= m_nBandCount;
    }
    return m_link.Wait(kAroundConfirmMs);
}

// The machine finishes the last bands after their confirmation and feeds the paper out;
// the job is printed once it is back in ready from there. Any other end (a fault, a
// restart, the operator's Stop) is not a printed job, though one whose bands were all
// confirmed counts as printed (Run).
bool CBandSender::WaitJobEnd() {
    CScopeTimer timer(m_times.m_nOtherNs);
    for (;;) {
        if (!m_link.Wait(kStatePollMs))
            return false;
        const bool bAnswered = m_link.ReadStatus() == 0;
        if (!StillReachable(bAnswered))
            return false;
        if (!bAnswered)
            continue;
        const uint8_t nState = m_link.MachineState();
        if (nState == kStatePrinting || nState == kStatePaused || nState == kStateFinishing)
            continue;
        if (OperatorStopped()) {
            m_strError = "stopped by the operator";
            return false;
        }
        if (nState != kStateReady) {
            m_strError = "the machine ended the job in state " + std::to_string(nState);
            return false;
        }
        return true;
    }
}

bool CBandSender::OperatorStopped() const {
    return m_link.State().m_nOperatorStop.load() != 0;
}

} // namespace inkvale
