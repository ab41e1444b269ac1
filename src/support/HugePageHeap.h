// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace inkvale {

/// The glibc tunables (GLIBC_TUNABLES) a program restarts with to have its heap in
/// transparent huge pages, given the current value (nullptr: unset) and the kernel's mode
/// (the text of /sys/kernel/mm/transparent_hugepage/enabled). Nothing when the kernel gives
/// huge pages to every program anyway or to none, or when the tunable is set already,
/// whatever its value (so the program restarts once at most).
std::optional<std::string> HugePageHeapTunables(const char* pszTunables, std::string_view mode);

/// A large drawing fills the heap with hundreds of thousands of small blocks, and with
/// 4 KB pages the kernel's page faults become a fifth of a load. Most distributions give
/// huge pages only to memory that asks for them, and glibc asks only when told at start,
/// so a program can restart itself once with the tunable set. Returns when nothing is to
/// be done (also with INKVALE_SMALL_PAGES set, or under AddressSanitizer, which brings its
/// own allocator) or when the restart failed; the program then runs on as it is.
void RestartWithHugePageHeap(char** argv);

} // namespace inkvale
