// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace inkvale {

/// Runs fnFirst on this thread and fnSecond on a second thread at the same time, and returns
/// once both have ended; when no second thread can be had, fnSecond runs here after fnFirst.
/// What either throws reaches the caller after both have ended (fnFirst's first). The two
/// must not touch the same data.
void RunOnTwoThreads(const std::function<void()>& fnFirst, const std::function<void()>& fnSecond);

} // namespace inkvale
