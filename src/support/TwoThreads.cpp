// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TwoThreads.h"

#include <exception>
#include <system_error>
#include <thread>

namespace inkvale {

void RunOnTwoThreads(const std::function<void()>& fnFirst, const std::function<void()>& fnSecond) {
    std::exception_ptr pSecondFailure;
    std::thread worker;
    try {
        worker = std::thread([&] {
            try {
                fnSecond();
            } catch (...) {
                pSecondFailure = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        fnFirst();
        fnSecond();
        return;
    }
    try {
        fnFirst();
    } catch (...) {
        worker.join();
        throw;
    }
    worker.join();
    if (pSecondFailure)
        std::rethrow_exception(pSecondFailure);
}

} // namespace inkvale
