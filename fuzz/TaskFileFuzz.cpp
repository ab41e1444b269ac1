// SPDX-License-Identifier: GPL-3.0-or-later
// Task files and undo snapshots: any bytes are either read whole or rejected, and a
// rejected read leaves the document as it was.

#include "model/TaskLists.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace inkvale;
    CTaskLists doc;
    doc.m_arrOpened.push_back(std::make_unique<COnePage>());
    const std::vector<uint8_t> before = doc.Serialize();
    const CDocResult result = doc.Deserialize(data, size);
    if (!result.Ok() && doc.Serialize() != before)
        std::abort();
    if (result.Ok()) {
        // What was read writes out again and reads back to the same bytes.
        const std::vector<uint8_t> once = doc.Serialize();
        CTaskLists again;
        if (!again.Deserialize(once).Ok() || again.Serialize() != once)
            std::abort();
    }
    return 0;
}
