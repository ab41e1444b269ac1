// SPDX-License-Identifier: GPL-3.0-or-later
// The programs under test started as child processes of a test, and their ends waited for
// with a bound: the harnesses that kill and restart them.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace inkvale::test {

/// Starts args[0] with the arguments, its stderr to strStderr and stdout to strStdout.
inline pid_t Spawn(const std::vector<std::string>& args, const std::string& strStderr,
                   const std::string& strStdout = "/dev/null") {
    // The child's freopen would write out what the parent still buffers.
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const FILE* pErr = std::freopen(strStderr.c_str(), "w", stderr);
    const FILE* pOut = std::freopen(strStdout.c_str(), "w", stdout);
    (void)pErr;
    (void)pOut;
    ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
    ::execv(argv[0], argv.data());
    _exit(127);
}

/// Waits for the process; kills it (and fails) after the bound. The exit status, -1 for a
/// signal, -2 when it had to be killed.
inline int Reap(pid_t pid, std::chrono::milliseconds bound) {
    const auto tEnd = std::chrono::steady_clock::now() + bound;
    int nStatus = 0;
    while (::waitpid(pid, &nStatus, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > tEnd) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &nStatus, 0);
            ADD_FAILURE() << "process " << pid << " did not end within its bound";
            return -2;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
}

} // namespace inkvale::test
