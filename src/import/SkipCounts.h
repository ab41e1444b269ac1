// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace inkvale {

/// What a reader met in a file and did not draw, counted by kind ("RTL raster", "HATCH"),
/// in the order the kinds first appeared.
class CSkipCounts {
public:
    struct CItem {
        std::string m_strKind;
        int64_t m_nCount = 0;
    };

    void Add(std::string_view strKind, int64_t nCount = 1);
    void Clear() { m_arrItems.clear(); }
    bool Empty() const { return m_arrItems.empty(); }
    const std::vector<CItem>& Items() const { return m_arrItems; }
    int64_t Count(std::string_view strKind) const;
    /// "RTL raster 1, HATCH 12": the kinds with their counts, for a message's argument.
    std::string Summary() const;

private:
    std::vector<CItem> m_arrItems;
};

} // namespace inkvale
