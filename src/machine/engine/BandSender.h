// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "raster/BandSource.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace inkvale {

class CEngineLink;
class CJobJournal;
class IEngineHost;

/// Where a band sender's time went (steady-clock nanoseconds), for benchmarks.
struct CBandSenderTimes {
    int64_t m_nRenderNs = 0;  ///< producing band data
    int64_t m_nRequestNs = 0; ///< band requests, including their busy waits
    int64_t m_nSendNs = 0;    ///< band data on the link
    int64_t m_nConfirmNs = 0; ///< confirmations and the waits around them
    int64_t m_nOtherNs = 0;   ///< waiting for printing to start and for the job to end
    int32_t m_nResends = 0;   ///< bands whose data had to go out again
};

/// One job's band sender: waits for the machine to print, then produces, requests, sends
/// and confirms every band in turn, waits for the machine to finish, and reports the
/// result through the host (job finished, success or failure). Every wait gives way to the
/// closing flag; a job ended that way is reported as failed. A machine that does not answer
/// for longer than the link-lost limit (switched off, cable pulled) fails the job too, so
/// that no wait is without end. Band sender thread only.
class CBandSender {
public:
    /// How long the machine may go without answering before the job fails.
    static constexpr std::chrono::milliseconds kDefaultLinkLostLimit{120'000};

    CBandSender(CEngineLink& link, IEngineHost& host, std::unique_ptr<IBandSource> source,
                int32_t nBandCount, std::chrono::milliseconds linkLostLimit = kDefaultLinkLostLimit,
                CJobJournal* pJournal = nullptr, int64_t nFirstBand = 0);

    /// The whole job; returns after the host has handled the job-finished message.
    void Run();
    /// Times of the job so far (read after Run has returned).
    const CBandSenderTimes& Times() const { return m_times; }
    /// Why the job ended early (a band that could not be produced, a silent machine, a
    /// machine fault, the operator's Stop, the program closing), else "".
    const std::string& Error() const { return m_strError; }
    /// What went wrong in a job that printed all the same (its end unseen, its record
    /// not written), else "".
    const std::string& Note() const { return m_strNote; }

    /// Results of RequestBand.
    static constexpr int kRequestSendNow = 0;
    static constexpr int kRequestAbandon = 2;

private:
    int Job();
    bool WaitForPrinting();
    bool SendBands();
    void AbandonJob(int32_t j, const std::string& strWhy);
    int RequestBand(int32_t j);
    bool ConfirmBand(int32_t j);
    bool WaitJobEnd();
    bool OperatorStopped() const;
    /// The job cannot go on in this machine state (ready: the machine dropped it, or a
    /// fault); the job's error says why.
    bool JobLost(uint8_t nState);
    /// Why a job that ended early did, when no step said so.
    void NoteEnd();
    /// Notes an exchange's outcome; false once the machine has not answered for longer
    /// than the limit (the job's error then says so).
    bool StillReachable(bool bAnswered);

    CEngineLink& m_link;
    IEngineHost& m_host;
    std::unique_ptr<IBandSource> m_pSource;
    int32_t m_nBandCount;
    CBandSenderTimes m_times;
    std::string m_strError;
    std::string m_strNote;
    int32_t m_nConfirmed = 0; ///< bands of this job the machine confirmed
    std::chrono::milliseconds m_linkLostLimit;
    std::chrono::steady_clock::time_point m_tSilentSince{};
    bool m_bSilent = false;
    CJobJournal* m_pJournal;
    int64_t m_nFirstBand;
};

} // namespace inkvale
