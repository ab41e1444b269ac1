// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliHomeLock.h"

#include <cstdio>
#include <fstream>

namespace inkvale::cli {

namespace {

// The holder's program name, from its process entry, for the refusal's text.
std::string ProgramOf(pid_t nPid) {
    std::ifstream comm("/proc/" + std::to_string(nPid) + "/comm");
    std::string strName;
    std::getline(comm, strName);
    return strName;
}

} // namespace

CInstanceLock TakeHomeLock(const std::string& strHome, const char* pszCommand) {
    CInstanceLock lock = CInstanceLock::Acquire(strHome);
    if (lock.State() == CInstanceLock::EState::kHeld) {
        const std::string strProgram = lock.Holder() > 0 ? ProgramOf(lock.Holder()) : "";
        std::fprintf(stderr,
                     "inkvale-cli %s: the installation directory %s is used by %s process %d "
                     "(%s); it drives the machine of this home, so nothing was printed\n",
                     pszCommand, strHome.c_str(),
                     strProgram.empty() ? "another" : ("the " + strProgram).c_str(),
                     static_cast<int>(lock.Holder()), lock.Path().c_str());
    } else if (!lock.Acquired()) {
        std::fprintf(stderr, "inkvale-cli %s: cannot use the lock file %s: %s\n", pszCommand,
                     lock.Path().c_str(), lock.Error().c_str());
    }
    return lock;
}

} // namespace inkvale::cli
