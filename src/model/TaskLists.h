// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/Result.h"

#include "model/OnePage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace inkvale {

/// A task list; the list owns its tasks.
using CTaskList = std::vector<std::unique_ptr<COnePage>>;

/// Outcome of reading a task file or snapshot; m_strMessage is the text to show.
/// Outcome of reading or writing the document: 0, -1 unreadable or unwritable file, -2 not a
/// task file; with the message for the operator.
using CDocResult = CResult;

/// The single document: the opened, manual-folder and automatic-folder task lists.
/// Its serialised form is the task file (*.sptask) and the undo snapshot. Window thread only.
class CTaskLists {
public:
    CTaskList m_arrOpened;  ///< tasks added by hand and merged tasks
    CTaskList m_arrManDir;  ///< tasks of the manual folder
    CTaskList m_arrAutoDir; ///< tasks of the automatic folder

    /// The three lists in the task-file layout.
    std::vector<uint8_t> Serialize() const;
    /// Replaces the three lists with those of a serialised document. On any failure the
    /// lists stay exactly as they were.
    CDocResult Deserialize(const uint8_t* data, size_t size);
    CDocResult Deserialize(const std::vector<uint8_t>& bytes) {
        return Deserialize(bytes.data(), bytes.size());
    }

    /// Reads a task file into the document (see Deserialize).
    CDocResult OpenTaskFile(const std::string& path);
    /// Writes the document as a task file (replacing it atomically).
    CDocResult SaveTaskFile(const std::string& path) const;

    /// Deletes every task of the three lists.
    void DeleteAllTasks();
};

/// Messages of the task-file reader.

} // namespace inkvale
