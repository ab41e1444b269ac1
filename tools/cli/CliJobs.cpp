// SPDX-License-Identifier: GPL-3.0-or-later
// inkvale-cli jobs [--discard ID]: the jobs of the installation's ledger that did not
// finish (and printed ones that still owe copies), one line each; --discard forgets one.

#include "CliCommand.h"
#include "CliHomeLock.h"

#include "machine/engine/JobJournal.h"
#include "queue/InterruptedJob.h"

#include <cstdio>
#include <string>
#include <vector>

namespace inkvale::cli {

namespace {

void PrintJob(const std::string& strDir) {
    const CJobLoad load = CJobJournal::LoadRecord(strDir);
    const std::string strId = JobIdOf(strDir);
    if (!load.Ok()) {
        std::printf("%s damaged %s\n", strId.c_str(), load.m_strDiag.c_str());
        return;
    }
    const CJobRecord& r = load.m_record;
    const char* pszState = r.Printed()                                 ? "printed"
                           : r.m_eOutcome == EJobOutcome::kInterrupted ? "interrupted"
                                                                       : "running";
    std::printf("%s %s band %lld of %lld, %d copies owed: %s%s%s\n", strId.c_str(), pszState,
                static_cast<long long>(ResumeBandOf(r.m_params, r.m_nConfirmed)),
                static_cast<long long>(r.m_nBandCount), r.m_nCopiesOwed, r.m_strTaskName.c_str(),
                r.m_strWhy.empty() ? "" : " - ", r.m_strWhy.c_str());
}

} // namespace

int RunJobs(const CCliContext& ctx) {
    std::string strDiscard;
    for (size_t i = 0; i < ctx.m_args.size(); ++i) {
        if (ctx.m_args[i] == "--discard" && i + 1 < ctx.m_args.size() && strDiscard.empty())
            strDiscard = ctx.m_args[++i];
        else
            return CommandUsageError("jobs");
    }
    const std::string strJobsDir = ctx.m_strHome + "Jobs/";
    if (strDiscard.empty()) {
        for (const std::string& strDir : CJobJournal::ListJobs(strJobsDir)) {
            const CJobLoad load = CJobJournal::LoadRecord(strDir);
            if (!load.Ok() || !load.m_record.Printed() || load.m_record.m_nCopiesOwed > 0)
                PrintJob(strDir);
        }
        return kExitOk;
    }
    const CInstanceLock lock = TakeHomeLock(ctx.m_strHome, "jobs");
    if (!lock.Acquired())
        return kExitFailed;
    for (const std::string& strDir : CJobJournal::ListJobs(strJobsDir)) {
        if (JobIdOf(strDir) != strDiscard)
            continue;
        if (!CJobJournal::Remove(strDir)) {
            std::fprintf(stderr, "inkvale-cli jobs: %s could not be removed\n", strDir.c_str());
            return kExitFailed;
        }
        std::printf("discarded %s\n", strDiscard.c_str());
        return kExitOk;
    }
    std::fprintf(stderr, "inkvale-cli jobs: no job %s in %s\n", strDiscard.c_str(),
                 strJobsDir.c_str());
    return kExitFailed;
}

} // namespace inkvale::cli
