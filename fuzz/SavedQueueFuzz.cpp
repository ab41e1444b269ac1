// SPDX-License-Identifier: GPL-3.0-or-later
// The saved lists the desktop program finds at its start: any bytes are either read whole or
// rejected, a rejected read leaves the document as it was, and what was read saves to bytes
// that read back to the same.

#include "core/QueueAutosave.h"

#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace inkvale;
    CTaskLists doc;
    doc.m_arrOpened.push_back(std::make_unique<COnePage>());
    const std::vector<uint8_t> before = FormatSavedQueue(doc);
    const CResult result = ParseSavedQueue(std::vector<uint8_t>(data, data + size), doc);
    if (!result.Ok() && FormatSavedQueue(doc) != before)
        std::abort();
    if (result.Ok()) {
        const std::vector<uint8_t> once = FormatSavedQueue(doc);
        CTaskLists again;
        if (!ParseSavedQueue(once, again).Ok() || FormatSavedQueue(again) != once)
            std::abort();
    }
    return 0;
}
