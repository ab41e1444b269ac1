// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "import/HpglCurveBuilder.h"
#include "import/HpglPlotList.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace inkvale {

/// Builds curves on a thread of its own while the reader goes on reading: the reader hands
/// over each full part of its plot list and fills an empty one meanwhile. The builder takes
/// the parts in the order they were handed, so the curves are those of one thread.
class CHpglPartPipe {
public:
    /// Starts the thread; throws std::system_error when none can be had.
    explicit CHpglPartPipe(CHpglCurveBuilder& builder);
    /// Stops and joins the thread (the parts not yet built are dropped).
    ~CHpglPartPipe();
    CHpglPartPipe(const CHpglPartPipe&) = delete;
    CHpglPartPipe& operator=(const CHpglPartPipe&) = delete;

    /// Waits until the part before is built, then takes the records of list for the builder
    /// and leaves the list empty, its limits still counting them (CHpglPlotList::TakePart).
    void Hand(CHpglPlotList& list);
    /// Waits until every part handed is built and stops the thread; rethrows what the
    /// builder threw (out of memory).
    void Finish();

private:
    void Run();
    void WaitIdle(std::unique_lock<std::mutex>& lock);

    CHpglCurveBuilder& m_builder;
    CHpglPlotList m_part; ///< the part being built
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_bFull = false; ///< m_part waits for the builder or is being built
    bool m_bStop = false;
    std::exception_ptr m_pFailure;
    std::thread m_thread;
};

} // namespace inkvale
