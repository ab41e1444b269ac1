// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/SkipCounts.h"

namespace inkvale {

void CSkipCounts::Add(std::string_view strKind, int64_t nCount) {
    for (CItem& item : m_arrItems) {
        if (item.m_strKind == strKind) {
            item.m_nCount += nCount;
            return;
        }
    }
    m_arrItems.push_back({std::string(strKind), nCount});
}

int64_t CSkipCounts::Count(std::string_view strKind) const {
    for (const CItem& item : m_arrItems) {
        if (item.m_strKind == strKind)
            return item.m_nCount;
    }
    return 0;
}

std::string CSkipCounts::Summary() const {
    std::string out;
    for (const CItem& item : m_arrItems) {
        if (!out.empty())
            out += ", ";
        out += item.m_strKind + ' ' + std::to_string(item.m_nCount);
    }
    return out;
}

} // namespace inkvale
