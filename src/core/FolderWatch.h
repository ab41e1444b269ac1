// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace inkvale {

class IEngineHost;

/// Notices at once when a file in one of the two hot folders is written, moved in or out,
/// or deleted (inotify), and asks the host for a scan of that folder. The host posts the
/// scan to the owning thread, so a burst of changes costs one scan, and the timed folder
/// poll stays as the fallback where inotify cannot watch (a network share, a folder that
/// does not exist yet). Watch and Stop come from the owning thread; the watching thread
/// only posts.
class CFolderWatch {
public:
    /// The host must outlive this object.
    explicit CFolderWatch(IEngineHost& host);
    /// Stops as Stop does.
    ~CFolderWatch();
    CFolderWatch(const CFolderWatch&) = delete;
    CFolderWatch& operator=(const CFolderWatch&) = delete;

    /// Watches these folders from now on ("" for none); cheap when nothing changed, so a
    /// caller may repeat it whenever the settings may have changed. A folder that cannot be
    /// watched now is tried again at the next call. Starts the watching thread the first
    /// time.
    void Watch(const std::string& strManual, const std::string& strAuto);
    /// Whether each folder is watched now.
    bool WatchesManual() const { return m_nManual.load() >= 0; }
    bool WatchesAuto() const { return m_nAuto.load() >= 0; }
    /// Ends the watching thread and every watch; a later Watch starts again.
    void Stop();

private:
    bool Begin();
    int Rearm(int nWatch, int nOther, const std::string& strFolder, const std::string& strOld);
    void CloseAll();
    void Run();
    void Dispatch(const char* pBuffer, long nBytes);

    IEngineHost& m_host;
    int m_nInotify = -1;
    int m_nWake = -1;       ///< eventfd that ends the thread's poll
    bool m_bFailed = false; ///< inotify is not to be had: the poll alone
    std::mutex m_mutex;
    std::string m_strManual;        ///< owning thread
    std::string m_strAuto;          ///< owning thread
    std::atomic<int> m_nManual{-1}; ///< watch descriptor, -1 when none
    std::atomic<int> m_nAuto{-1};
    std::thread m_thread;
};

} // namespace inkvale
