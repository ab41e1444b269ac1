// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/TaskLists.h"
#include "model/TaskPreflight.h"
#include "support/Result.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace inkvale {

/// The operator's commands that change the lists, as the Undo and Redo menu items name them.
enum class EUndoStep : uint8_t {
    kNone, ///< the lists as they were before the first command
    kAdd,
    kDelete,
    kCopies,
    kQueue,
    kUnqueue,
    kMerge,
    kSplit,
    kMirror,
    kRotate,
    kOpen,
    kMove,
    kEdit, ///< an edit of a drawing in the preview
};

/// What a snapshot was taken after: the command and the task it acted on (its name), or
/// the number of tasks when it acted on several.
struct CUndoLabel {
    EUndoStep m_eStep = EUndoStep::kNone;
    std::string m_strSubject;
    int m_nTasks = 0;
    friend bool operator==(const CUndoLabel&, const CUndoLabel&) = default;
};

/// The undo history: up to kMaxSnapshots serialised documents (the task-file layout) and
/// the position of the one the document was last saved into or loaded from. The task file
/// leaves out what the queue knows of a task besides its drawing (copies, queued mark,
/// problem, preflight figures, its id): each snapshot keeps those beside the bytes, so that
/// an undo brings the tasks back exactly as they were. Window thread.
class CUndoHistory {
public:
    static constexpr size_t kMaxSnapshots = 100;
    /// Bytes all snapshots may hold together: a hundred snapshots of a document of several
    /// large markers would otherwise take gigabytes. The newest two are always kept.
    static constexpr size_t kMaxBytes = size_t{1} << 30;

    explicit CUndoHistory(size_t nMaxBytes = kMaxBytes) : m_nMaxBytes(nMaxBytes) {}

    /// A task's fields that the task file does not hold.
    struct CKeptTask {
        uint64_t m_nTaskId = 0;
        int32_t m_nCopies = 1;
        int32_t m_bQueued = 0;
        int32_t m_nSource = 0;
        int32_t m_bTaskSelected = 0;
        int64_t m_nFileSize = 0;
        std::string m_strName;
        CMessage m_problem;
        CPreflight m_preflight;
        bool m_bOnlyLabels = false;
        bool m_bBelowPaper = false;
    };
    struct CSnapshot {
        std::vector<uint8_t> m_bytes;
        std::vector<CKeptTask> m_kept;
        CUndoLabel m_label;
    };

    /// The document as a snapshot keeps it, for a Push that may come later or never.
    CSnapshot Take(const CTaskLists& doc, CUndoLabel label = {}) const;
    /// Push of a snapshot taken before.
    void Push(CSnapshot snapshot);

    /// `PushUndoSnapshot`: drops every snapshot after the position, then the oldest while
    /// the history is full (kMaxSnapshots, the byte budget), and appends the document; the
    /// position becomes the last index.
    void Push(const CTaskLists& doc, CUndoLabel label = {});
    /// The highlight the operator made since the snapshot at the position, taken into it:
    /// selecting is no command of its own, and an undo of the next command brings the
    /// tasks back highlighted as they were just before it. For a document that equals that
    /// snapshot but for the highlight.
    void KeepSelection(const CTaskLists& doc);
    /// `Undo`: with at least two snapshots and the position above 0, loads the one before
    /// the position. True when the document was replaced.
    bool Undo(CTaskLists& doc);
    /// `Redo`: with at least two snapshots and the position below the last, loads the
    /// one after it. True when the document was replaced.
    bool Redo(CTaskLists& doc);

    bool CanUndo() const { return m_snapshots.size() >= 2 && m_nPosition >= 1; }
    bool CanRedo() const { return m_snapshots.size() >= 2 && m_nPosition + 1 < m_snapshots.size(); }
    /// The command an Undo takes back, and the one a Redo makes again (kNone: none).
    CUndoLabel UndoLabel() const;
    CUndoLabel RedoLabel() const;

    size_t Count() const { return m_snapshots.size(); }
    /// Position index (0 while the history is empty).
    size_t Position() const { return m_nPosition; }
    /// Bytes held by all snapshots.
    size_t Bytes() const { return m_nBytes; }

private:
    bool Load(const CSnapshot& snapshot, CTaskLists& doc) const;
    void DropAt(size_t nIndex);

    std::vector<CSnapshot> m_snapshots;
    size_t m_nBytes = 0;
    size_t m_nMaxBytes;
    size_t m_nPosition = 0;
};

} // namespace inkvale
