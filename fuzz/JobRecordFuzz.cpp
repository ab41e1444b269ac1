// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target of the job journal's record reader: any bytes give a record or a reason, and
// a record read writes back to a text that reads back to the same record.
#include "machine/engine/JobJournal.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace inkvale;
    const std::string input(reinterpret_cast<const char*>(data), size);
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
