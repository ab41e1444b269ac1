// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/UndoHistory.h"

#include <algorithm>

namespace inkvale {

void CUndoHistory::Push(const CInkvaleDoc& doc) {
    // Redo states go first: dropping the oldest before them would keep a redo state
    // behind the new snapshot once the history is full.
    while (m_snapshots.size() > m_nPosition + 1)
        DropAt(m_snapshots.size() - 1);
    std::vector<uint8_t> snapshot = doc.Serialize();
    while (!m_snapshots.empty() &&
           (m_snapshots.size() >= kMaxSnapshots ||
            (m_snapshots.size() >= 2 && m_nBytes + snapshot.size() > m_nMaxBytes)))
        DropAt(0);
    m_nBytes += snapshot.size();
    m_snapshots.push_back(std::move(snapshot));
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

void CUndoHistory::DropAt(size_t nIndex) {
    m_nBytes -= m_snapshots[nIndex].size();
    m_snapshots.erase(m_snapshots.begin() + static_cast<std::ptrdiff_t>(nIndex));
}

} // namespace inkvale
