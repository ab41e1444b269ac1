// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/InkvaleCore.h"
#include "support/TextCodec.h"

#include <cstdint>
#include <mutex>
#include <string>

namespace inkvale::service {

/// A message's English text with its arguments (logs and the API speak English).
std::string EnglishText(const CMessage& message);

/// A message's text in the operator's language (the loaded translation) with its
/// arguments: the texts of the page and of the API.
std::string OperatorText(const CMessage& message);
/// The machine's state in the operator's language.
std::string MachineStateText(int nState);

/// The machine, the running job with its progress and time left, and the queue in order
/// with each task's size, copies and warnings, as one JSON object. Owning thread.
std::string StatusJson(CInkvaleCore& core, double dJobSeconds);
/// The jobs of the ledger that did not finish and wait for a decision (resume or discard),
/// as a JSON array: id, task, resume_band, bands, copies_owed, why, damaged.
std::string UnfinishedJobsJson(CInkvaleCore& core);
/// The last nRows rows of the history file, newest first, as a JSON array of objects with
/// the row's time, path and size.
std::string HistoryJson(const std::string& strHistoryFile, size_t nRows);
/// The history as HistoryJson gives it, read again only when the file changed (its size
/// or time). Any thread.
class CHistoryReader {
public:
    /// strFile "": the history is off, and the list empty.
    explicit CHistoryReader(std::string strFile) : m_strFile(std::move(strFile)) {}
    std::string Json();

private:
    std::string m_strFile;
    std::mutex m_mutex;
    int64_t m_nSize = -1;
    int64_t m_nMtimeNs = -1;
    std::string m_strJson = "[]";
};

/// The files the automatic folder refused (Rejected/ beside it) with their reasons.
std::string RejectedJson(const std::string& strAutoDir, size_t nMax);
/// The machine's state byte in words (the source text of its translation).
const char* MachineStateName(int nState);

} // namespace inkvale::service
