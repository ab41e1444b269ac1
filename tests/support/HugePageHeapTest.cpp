// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/HugePageHeap.h"

#include <gtest/gtest.h>

namespace inkvale {
namespace {

TEST(HugePageHeap, RestartsOnceAndOnlyWhereTheKernelWaitsToBeAsked) {
    const struct {
        const char* m_pszTunables;
        const char* m_pszMode;
        std::optional<std::string> m_want;
    } cases[] = {
        {nullptr, "always [madvise] never\n", "glibc.malloc.hugetlb=1"},
        {"", "always [madvise] never\n", "glibc.malloc.hugetlb=1"},
        {"glibc.malloc.arena_max=2", "always [madvise] never\n",
         "glibc.malloc.arena_max=2:glibc.malloc.hugetlb=1"},
        // Set already, by the restart or by the operator: kept as it is.
        {"glibc.malloc.hugetlb=1", "always [madvise] never\n", std::nullopt},
        {"glibc.malloc.hugetlb=0", "always [madvise] never\n", std::nullopt},
        // Huge pages for everyone, for no one, or no such file.
        {nullptr, "[always] madvise never\n", std::nullopt},
        {nullptr, "always madvise [never]\n", std::nullopt},
        {nullptr, "", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.m_pszMode) + "/" + (c.m_pszTunables ? c.m_pszTunables : "-"));
        EXPECT_EQ(HugePageHeapTunables(c.m_pszTunables, c.m_pszMode), c.m_want);
    }
}

} // namespace
} // namespace inkvale
