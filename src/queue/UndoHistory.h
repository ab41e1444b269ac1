// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/InkvaleDoc.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace inkvale {

/// The undo history: up to kMaxSnapshots serialised documents (the task-file layout) and
/// the position of the one the document was last saved into or loaded from. Window thread.
class CUndoHistory {
public:
    static constexpr size_t kMaxSnapshots = 100;
    /// Bytes all snapshots may hold together: a hundred snapshots of a document of several
    /// large markers would otherwise take gigabytes. The newest two are always kept.
    static constexpr size_t kMaxBytes = size_t{1} << 30;

    explicit CUndoHistory(size_t nMaxBytes = kMaxBytes) : m_nMaxBytes(nMaxBytes) {}

    /// `PushUndoSnapshot`: drops every snapshot after the position, then the oldest while
    /// the history is full (kMaxSnapshots, the byte budget), and appends the document; the
    /// position becomes the last index.
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
    size_t Bytes() const { return m_nBytes; }

private:
    void DropAt(size_t nIndex);

    std::vector<std::vector<uint8_t>> m_snapshots;
    size_t m_nBytes = 0;
    size_t m_nMaxBytes;
    size_t m_nPosition = 0;
};

} // namespace inkvale
