// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace inkvale::service {

/// A listening TCP socket of this process alone on address:port (IPv4 or IPv6 literal).
/// SO_REUSEADDR only, never SO_REUSEPORT: a second service on the same port fails here
/// instead of taking part of the first one's connections. -1 with why (and, when the port
/// is taken, which process holds it) in strError.
int ListenExclusive(const std::string& strAddress, int nPort, std::string& strError);

/// Which process listens on TCP port nPort, as "process N (name)", found through /proc;
/// "another process" when it is not visible to this user.
std::string PortHolder(int nPort);

/// Whether strAddress is an IPv4 or IPv6 address of the loopback interface.
bool IsLoopbackAddress(const std::string& strAddress);

} // namespace inkvale::service
