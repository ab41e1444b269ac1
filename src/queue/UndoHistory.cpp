// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/UndoHistory.h"

#include <algorithm>
#include <unordered_map>

namespace inkvale {

namespace {

template <class Fn>
void ForEachTask(const CTaskLists& doc, Fn fn) {
    for (const CTaskList* pList : {&doc.m_arrOpened, &doc.m_arrManDir, &doc.m_arrAutoDir}) {
        for (const auto& task : *pList)
            fn(*task);
    }
}

} // namespace

CUndoHistory::CSnapshot CUndoHistory::Take(const CTaskLists& doc, CUndoLabel label) const {
    CSnapshot snapshot{doc.Serialize(), {}, std::move(label)};
    ForEachTask(doc, [&](const COnePage& t) {
        snapshot.m_kept.push_back({t.m_nTaskId, t.m_nCopies, t.m_bQueued, t.m_nSource,
                                   t.m_bTaskSelected, t.m_nFileSize, t.m_strName, t.m_problem,
                                   t.m_preflight, t.m_bOnlyLabels, t.m_bBelowPaper});
    });
    return snapshot;
}

void CUndoHistory::Push(const CTaskLists& doc, CUndoLabel label) {
    Push(Take(doc, std::move(label)));
}

void CUndoHistory::Push(CSnapshot snapshot) {
    // Redo states go first: dropping the oldest before them would keep a redo state
    // behind the new snapshot once the history is full.
    while (m_snapshots.size() > m_nPosition + 1)
        DropAt(m_snapshots.size() - 1);
    const size_t nSize = snapshot.m_bytes.size();
    while (!m_snapshots.empty() && (m_snapshots.size() >= kMaxSnapshots ||
                                    (m_snapshots.size() >= 2 && m_nBytes + nSize > m_nMaxBytes)))
        DropAt(0);
    m_nBytes += nSize;
    m_snapshots.push_back(std::move(snapshot));
    m_nPosition = m_snapshots.size() - 1;
}

void CUndoHistory::KeepSelection(const CTaskLists& doc) {
    if (m_snapshots.empty())
        return;
    std::unordered_map<uint64_t, int32_t> selected;
    for (const CTaskList* pList : {&doc.m_arrOpened, &doc.m_arrManDir, &doc.m_arrAutoDir}) {
        for (const auto& pTask : *pList)
            selected[pTask->m_nTaskId] = pTask->m_bTaskSelected;
    }
    for (CKeptTask& kept : m_snapshots[m_nPosition].m_kept) {
        const auto it = selected.find(kept.m_nTaskId);
        kept.m_bTaskSelected = it != selected.end() ? it->second : 0;
    }
}

bool CUndoHistory::Undo(CTaskLists& doc) {
    if (!CanUndo())
        return false;
    const size_t nPos = std::min(m_nPosition, m_snapshots.size() - 1) - 1;
    // A snapshot that cannot be read leaves the document and the position as they were.
    if (!Load(m_snapshots[nPos], doc))
        return false;
    m_nPosition = nPos;
    return true;
}

bool CUndoHistory::Redo(CTaskLists& doc) {
    if (!CanRedo())
        return false;
    if (!Load(m_snapshots[m_nPosition + 1], doc))
        return false;
    ++m_nPosition;
    return true;
}

CUndoLabel CUndoHistory::UndoLabel() const {
    return CanUndo() ? m_snapshots[m_nPosition].m_label : CUndoLabel{};
}

CUndoLabel CUndoHistory::RedoLabel() const {
    return CanRedo() ? m_snapshots[m_nPosition + 1].m_label : CUndoLabel{};
}

bool CUndoHistory::Load(const CSnapshot& snapshot, CTaskLists& doc) const {
    if (!doc.Deserialize(snapshot.m_bytes).Ok())
        return false;
    size_t nIndex = 0;
    const auto restore = [&](COnePage& t) {
        if (nIndex >= snapshot.m_kept.size())
            return;
        const CKeptTask& k = snapshot.m_kept[nIndex++];
        t.m_nTaskId = k.m_nTaskId;
        t.m_nCopies = k.m_nCopies;
        t.m_bQueued = k.m_bQueued;
        t.m_nSource = k.m_nSource;
        t.m_bTaskSelected = k.m_bTaskSelected;
        t.m_nFileSize = k.m_nFileSize;
        t.m_strName = k.m_strName;
        t.m_problem = k.m_problem;
        t.m_preflight = k.m_preflight;
        t.m_bOnlyLabels = k.m_bOnlyLabels;
        t.m_bBelowPaper = k.m_bBelowPaper;
    };
    for (CTaskList* pList : {&doc.m_arrOpened, &doc.m_arrManDir, &doc.m_arrAutoDir}) {
        for (const auto& task : *pList)
            restore(*task);
    }
    return true;
}

void CUndoHistory::DropAt(size_t nIndex) {
    m_nBytes -= m_snapshots[nIndex].m_bytes.size();
    m_snapshots.erase(m_snapshots.begin() + static_cast<std::ptrdiff_t>(nIndex));
}

} // namespace inkvale
