// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/HugePageHeap.h"

#include <array>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace inkvale {

namespace {

constexpr std::string_view kTunable = "glibc.malloc.hugetlb";

std::string KernelHugePageMode() {
    const int fd = open("/sys/kernel/mm/transparent_hugepage/enabled", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::array<char, 128> buf{};
    const ssize_t n = read(fd, buf.data(), buf.size());
    close(fd);
    return n > 0 ? std::string(buf.data(), static_cast<size_t>(n)) : std::string();
}

} // namespace

std::optional<std::string> HugePageHeapTunables(const char* pszTunables, std::string_view mode) {
    // The selected mode stands in brackets: "always [madvise] never".
    if (mode.find("[madvise]") == std::string_view::npos)
        return std::nullopt;
    const std::string_view tunables = pszTunables != nullptr ? pszTunables : "";
    if (tunables.find(kTunable) != std::string_view::npos)
        return std::nullopt;
    std::string value(tunables);
    if (!value.empty())
        value += ':';
    return value + std::string(kTunable) + "=1";
}

void RestartWithHugePageHeap(char** argv) {
#if defined(__SANITIZE_ADDRESS__)
    constexpr bool bOwnAllocator = true; // AddressSanitizer's heap takes no glibc tunable
#else
    constexpr bool bOwnAllocator = false;
#endif
    if (bOwnAllocator || std::getenv("INKVALE_SMALL_PAGES") != nullptr)
        return;
    const char* pszOld = std::getenv("GLIBC_TUNABLES");
    const std::optional<std::string> tunables = HugePageHeapTunables(pszOld, KernelHugePageMode());
    if (!tunables)
        return;
    const std::string old = pszOld != nullptr ? pszOld : "";
    if (setenv("GLIBC_TUNABLES", tunables->c_str(), 1) != 0)
        return;
    execv("/proc/self/exe", argv);
    // Not restarted (no /proc, say): run on with the environment as it was.
    if (pszOld != nullptr)
        setenv("GLIBC_TUNABLES", old.c_str(), 1);
    else
        unsetenv("GLIBC_TUNABLES");
}

} // namespace inkvale
