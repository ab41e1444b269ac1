// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace inkvale::service {

/// The status page: one HTML document with its script, its texts in the operator's
/// language (the program's translations), usable on a phone. It reads /api/events (a
/// Server-Sent Events stream of the status) and /api/history and /api/rejected; the page
/// comes with their state at the moment it is served, so that it shows them at once.
std::string StatusPageHtml(const std::string& strStatus, const std::string& strHistory,
                           const std::string& strRejected);

} // namespace inkvale::service
