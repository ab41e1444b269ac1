#pragma once

#include "layout/InkvaleDoc.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace inkvale {

/// The undo history: up to kMaxSnapshots serialised documents (the task-file layout) and
/// the position of the one the document was last saved into or loaded from. Window thread.
class CUndoHistory {
public:
    static constexpr size_t kMaxSnapshots = 100;

    /// `PushUndoSnapshot`: drops every snapshot after the position, then the oldest while
    /// the history is full, and appends the document; the position becomes the last index.
    void Push(const CInkvaleDoc& doc);
    /// `Undo`: with at least two snapshots and the position above 0, loads the one before
    /// the position. True when the document was replaced.
    bool Undo(CInkvaleDoc& doc);
    /// `Redo`: with at least two snapshots and the position below the last, loads the
    /// one after it. True when the document was replaced.
    bool Redo(CInkvaleDoc& doc);

    size_t Count() const { return m_snapshots.size(); }
    /// Position index (0 while the history is empty).
    size_t Position() const { return m_nPosition; }
    /// Bytes held by all snapshots.
    size_t Bytes() const;

private:
    std::vector<std::vector<uint8_t>> m_snapshots;
    size_t m_nPosition = 0;
};

} // namespace inkvale
