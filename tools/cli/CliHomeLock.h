// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/InstanceLock.h"

#include <string>

namespace inkvale::cli {

/// The installation directory's lock for a command that drives the machine or changes the
/// job ledger: one program per home, whichever front end. On refusal the reason is on
/// stderr ("the installation directory ... is used by process N") and the lock is not held.
CInstanceLock TakeHomeLock(const std::string& strHome, const char* pszCommand);

} // namespace inkvale::cli
