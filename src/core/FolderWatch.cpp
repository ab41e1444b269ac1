// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FolderWatch.h"

#include "machine/engine/EngineHost.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

namespace inkvale {

namespace {

// A file finished (closed after writing), moved in or out, or removed; a reopening writer
// closes after every chunk, and each close asks for a scan that the writer check answers.
constexpr uint32_t kEvents = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE |
                             IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

} // namespace

CFolderWatch::CFolderWatch(IEngineHost& host) : m_host(host) {}

CFolderWatch::~CFolderWatch() {
    Stop();
}

void CFolderWatch::Watch(const std::string& strManual, const std::string& strAuto) {
    if (!m_thread.joinable() && !Begin())
        return; // the poll alone then
    std::lock_guard<std::mutex> lock(m_mutex);
    m_nManual = Rearm(m_nManual, m_nAuto, strManual, m_strManual);
    m_strManual = strManual;
    m_nAuto = Rearm(m_nAuto, m_nManual, strAuto, m_strAuto);
    m_strAuto = strAuto;
}

bool CFolderWatch::Begin() {
    if (m_bFailed)
        return false;
    m_nInotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    m_nWake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_nInotify < 0 || m_nWake < 0) {
        m_bFailed = true;
        CloseAll();
        return false;
    }
    m_thread = std::thread([this] { Run(); });
    return true;
}

// The watch of one folder after a call: kept while the folder is the same and watched;
// otherwise the old watch goes and the new folder is tried. Both folders may be one, with
// one watch between them, which goes only when neither uses it.
int CFolderWatch::Rearm(int nWatch, int nOther, const std::string& strFolder,
                        const std::string& strOld) {
    if (nWatch >= 0 && strFolder == strOld)
        return nWatch;
    if (nWatch >= 0 && nWatch != nOther)
        (void)::inotify_rm_watch(m_nInotify, nWatch);
    if (strFolder.empty())
        return -1;
    return ::inotify_add_watch(m_nInotify, strFolder.c_str(), kEvents);
}

void CFolderWatch::Run() {
    alignas(inotify_event) char buffer[16 * 1024];
    pollfd fds[2] = {{m_nInotify, POLLIN, 0}, {m_nWake, POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 2, -1) < 0)
            continue; // EINTR
        if ((fds[1].revents & POLLIN) != 0)
            return;
        const long nBytes = ::read(m_nInotify, buffer, sizeof buffer);
        if (nBytes > 0)
            Dispatch(buffer, nBytes);
    }
}

// One scan per folder and batch; a folder that went away loses its watch (the next Watch
// call tries it again).
void CFolderWatch::Dispatch(const char* pBuffer, long nBytes) {
    bool bManual = false;
    bool bAuto = false;
    std::unique_lock<std::mutex> lock(m_mutex);
    for (long nAt = 0; nAt + static_cast<long>(sizeof(inotify_event)) <= nBytes;) {
        inotify_event event{};
        std::memcpy(&event, pBuffer + nAt, sizeof event);
        nAt += static_cast<long>(sizeof event) + event.len;
        const bool bGone = (event.mask & IN_IGNORED) != 0;
        if (event.wd == m_nManual.load()) {
            bManual = true;
            if (bGone)
                m_nManual = -1;
        }
        if (event.wd == m_nAuto.load()) {
            bAuto = true;
            if (bGone)
                m_nAuto = -1;
        }
    }
    lock.unlock();
    if (bManual)
        m_host.ScanManualFolder();
    if (bAuto)
        m_host.ScanAutoFolder();
}

void CFolderWatch::Stop() {
    if (m_nWake >= 0) {
        const uint64_t nOne = 1;
        (void)!::write(m_nWake, &nOne, sizeof nOne);
    }
    if (m_thread.joinable())
        m_thread.join();
    CloseAll();
}

void CFolderWatch::CloseAll() {
    for (int* pFd : {&m_nInotify, &m_nWake}) {
        if (*pFd >= 0)
            ::close(*pFd);
        *pFd = -1;
    }
    m_nManual = m_nAuto = -1;
    m_strManual.clear();
    m_strAuto.clear();
}

} // namespace inkvale
