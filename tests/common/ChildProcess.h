// SPDX-License-Identifier: GPL-3.0-or-later
// The programs under test started as child processes of a test, and their ends waited for
// with a bound: the harnesses that kill and restart them.
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <future>
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
/// signal, -2 when it had to be killed. The wait itself blocks in waitpid on a thread of its
/// own, so the end is seen the moment it comes.
inline int Reap(pid_t pid, std::chrono::milliseconds bound) {
    std::promise<int> ended;
    std::future<int> status = ended.get_future();
    std::thread waiter([pid, &ended] {
        int nStatus = 0;
        while (::waitpid(pid, &nStatus, 0) < 0 && errno == EINTR) {
        }
        ended.set_value(nStatus);
    });
    bool bKilled = false;
    if (status.wait_for(bound) != std::future_status::ready) {
        ::kill(pid, SIGKILL);
        bKilled = true;
    }
    const int nStatus = status.get();
    waiter.join();
    if (bKilled) {
        ADD_FAILURE() << "process " << pid << " did not end within its bound";
        return -2;
    }
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
}

} // namespace inkvale::test
