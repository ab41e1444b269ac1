// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/TaskLists.h"
#include "support/Result.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace inkvale {

/// The saved queue as one file: a version line, one line per task for what the task file
/// does not hold (the list, copies, queued mark, source list, file size and name), then the
/// task file of the three lists. A task whose drawing comes from its file is saved without
/// its curves (its file is read again when needed); a task whose drawing exists only here
/// (a piece of a split, a mirrored copy, a merge) keeps its curves.
std::vector<uint8_t> FormatSavedQueue(const CTaskLists& doc);
/// Reads FormatSavedQueue's bytes into the document; a task that was printing comes back
/// waiting. On any failure the document is left as it was and the reason is in the diag.
CResult ParseSavedQueue(const std::vector<uint8_t>& bytes, CTaskLists& doc);

/// Keeps the document saved in a folder of the installation directory, so that a crash or
/// a power failure loses nothing of the queue: the front end asks for a save after changes
/// (or at every tick: a save happens only when the lists changed), the bytes are made on
/// the owning thread and written by a thread of its own, atomically and flushed to the disk,
/// at most once a second.
class CQueueAutosave {
public:
    static constexpr const char* kFileName = "queue.state";
    static constexpr std::chrono::milliseconds kMinInterval{1000};

    /// strDir ends in '/'.
    explicit CQueueAutosave(std::string strDir);
    /// Writes what is still pending, then ends the writer.
    ~CQueueAutosave();
    CQueueAutosave(const CQueueAutosave&) = delete;
    CQueueAutosave& operator=(const CQueueAutosave&) = delete;

    /// Restores the saved queue into the document (nothing saved: an empty queue, code 1).
    /// A save that cannot be read is set aside as "queue.state.damaged-<time>" and reported
    /// (EMsg::kQueueDamaged); the document stays empty. Owning thread, before any save.
    CResult Restore(CTaskLists& doc);
    /// Takes note that the document changed; the next SaveIfChanged saves it. Owning
    /// thread; cheap, since it may come many times within one command.
    void MarkChanged() { m_bChanged = true; }
    /// Saves the document if it was marked changed since the last save, or if any of the
    /// few numbers a task has that a save would change with (copies, mark, state, start,
    /// list, box, curve count, file) differs: a change nobody told of is still saved.
    /// Owning thread, at a quiet moment (the lists whole, e.g. on a timer's tick).
    void SaveIfChanged(const CTaskLists& doc);
    /// Waits until everything handed over has been written (for a clean end, and tests).
    void Flush();
    /// Waits up to `bound` until done(last error, number written) holds, looking again
    /// after every write attempt; whether it held. Any thread but the writer's.
    bool WaitFor(const std::function<bool(const std::string&, uint64_t)>& done,
                 std::chrono::milliseconds bound);

    const std::string& Path() const { return m_strPath; }
    /// Files written so far.
    int Writes() const;
    /// Why the last write failed, "" when it succeeded. A failed write is tried again
    /// (every kMinInterval) until it succeeds or newer lists replace it. Any thread.
    std::string LastError() const;
    /// Number of the lists handed over last (each SaveIfChanged that found a change adds
    /// one), and the number of the last lists written to the disk: once Written() has
    /// reached a Handed() value, those lists or newer ones are safe. Owning thread.
    uint64_t Handed() const { return m_nHanded; }
    uint64_t Written() const;

private:
    void WriterLoop();

    std::string m_strDir;
    std::string m_strPath;
    std::vector<uint8_t> m_lastHanded;
    std::vector<int64_t> m_lastSignature;
    bool m_bChanged = false;
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<uint8_t> m_pending;
    bool m_bPending = false;
    bool m_bWriting = false;
    bool m_bStop = false;
    int m_nWrites = 0;
    uint64_t m_nHanded = 0;
    uint64_t m_nPendingNumber = 0;
    uint64_t m_nWritten = 0;
    uint64_t m_nAttempts = 0;
    std::string m_strLastError;
    std::chrono::steady_clock::time_point m_tLastWrite{};
    std::thread m_writer;
};

} // namespace inkvale
