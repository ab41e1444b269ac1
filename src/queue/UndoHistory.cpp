#include "queue/UndoHistory.h"

#include <algorithm>

namespace inkvale {

void CUndoHistory::Push(const CInkvaleDoc& doc) {
    // Redo states go first: dropping the oldest before them would keep a redo state
    // behind the new snapshot once the history is full.
    if (!m_snapshots.empty())
        m_snapshots.resize(std::min(m_snapshots.size(), m_nPosition + 1));
    while (m_snapshots.size() >= kMaxSnapshots)
        m_snapshots.erase(m_snapshots.begin());
    m_snapshots.push_back(doc.Serialize());
    m_nPosition = m_snapshots.size() - 1;
}

bool CUndoHistory::Undo(CInkvaleDoc& doc) {
    if (m_snapshots.size() < 2 || m_nPosition < 1)
        return false;
    const size_t nPos = std::min(m_nPosition, m_snapshots.size() - 1) - 1;
    // A snapshot that cannot be read leaves the document and the position as they were.
    if (!doc.Deserialize(m_snapshots[nPos]).Ok())
        return false;
    m_nPosition = nPos;
    return true;
}

bool CUndoHistory::Redo(CInkvaleDoc& doc) {
    if (m_snapshots.size() < 2 || m_nPosition + 1 >= m_snapshots.size())
        return false;
    if (!doc.Deserialize(m_snapshots[m_nPosition + 1]).Ok())
        return false;
    ++m_nPosition;
    return true;
}

size_t CUndoHistory::Bytes() const {
    size_t n = 0;
    for (const auto& s : m_snapshots)
        n += s.size();
    return n;
}

} // namespace inkvale
