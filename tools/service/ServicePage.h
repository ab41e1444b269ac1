// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace inkvale::service {

/// The status page: the machine with the automatic mode, the job with its progress, the
/// queue in order with each task's time and the totals, the jobs that ended with their
/// outcome, the history and the refused files, in the operator's language, then kept up to
/// date from the event stream. The JSON texts are embedded as given (each a JSON value);
/// with bSignedIn the page offers the controls (pause, resume, stop, automatic printing,
/// copies, queue).
std::string StatusPageHtml(const std::string& strStatus, const std::string& strHistory,
                           const std::string& strRejected, bool bSignedIn);

/// The sign-in form of a browser on another machine; bWrongToken says the last try failed.
std::string SignInPageHtml(bool bWrongToken);

} // namespace inkvale::service
