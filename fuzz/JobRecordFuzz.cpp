// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target of the job ledger's readers: any bytes give a record or a reason, a record
// read writes back to a text that reads back to the same record, and any bytes read as
// ledger frames give the frames that check (or "damaged") without reading past them.
#include "machine/engine/JobJournal.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace inkvale;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const CLedgerFrames frames = ReadLedgerFrames(input);
    if (frames.m_nGoodBytes > size)
        std::abort();
    CJobRecord replayed;
    std::string strReplay;
    if (!ReplayLedger(frames, replayed, strReplay) && strReplay.empty())
        std::abort();
    CJobRecord record;
    std::string strError;
    if (!ParseJobRecord(input, record, strError)) {
        if (strError.empty())
            std::abort();
        return 0;
    }
    const std::string text = FormatJobRecord(record);
    CJobRecord again;
    if (!ParseJobRecord(text, again, strError) || FormatJobRecord(again) != text)
        std::abort();
    return 0;
}
