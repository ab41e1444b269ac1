// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/HotFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <string_view>
#include <thread>

namespace inkvale {

namespace {

/// Closes a descriptor at the end of a scope.
class CFd {
public:
    explicit CFd(int fd) : m_fd(fd) {}
    ~CFd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

/// A writer that opens the file while this process holds its short read lease makes the
/// kernel signal the lease holder with SIGIO, whose default action ends the process. The
/// program uses SIGIO for nothing else, so it is ignored unless someone installed a handler.
void IgnoreLeaseBreakSignal() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction current {};
        if (::sigaction(SIGIO, nullptr, &current) == 0 && current.sa_handler == SIG_DFL &&
            (current.sa_flags & SA_SIGINFO) == 0) {
            struct sigaction ignore {};
            ignore.sa_handler = SIG_IGN;
            sigemptyset(&ignore.sa_mask);
            ::sigaction(SIGIO, &ignore, nullptr);
        }
    });
}

} // namespace

namespace {

// ASCII letters only: the patterns are file extensions.
bool EndsWithIgnoringCase(std::string_view name, std::string_view tail) {
    if (name.size() < tail.size())
        return false;
    const std::string_view end = name.substr(name.size() - tail.size());
    for (size_t i = 0; i < tail.size(); ++i) {
        const auto a = static_cast<unsigned char>(end[i]);
        const auto b = static_cast<unsigned char>(tail[i]);
        if (std::tolower(a) != std::tolower(b))
            return false;
    }
    return true;
}

} // namespace

std::vector<std::string> PatternList(const std::string& strExtensions) {
    std::vector<std::string> patterns;
    size_t nStart = 0;
    for (size_t n = strExtensions.find(';'); n != std::string::npos;
         n = strExtensions.find(';', nStart)) {
        patterns.push_back(strExtensions.substr(nStart, n - nStart));
        nStart = n + 1;
    }
    if (nStart < strExtensions.size())
        patterns.push_back(strExtensions.substr(nStart));
    return patterns;
}

bool MatchesPattern(const std::string& strName, const std::string& strPattern) {
    // The usual "*.ext" is a suffix test (a leading '*' does not match a leading '.');
    // fnmatch takes several times longer, which shows in scans of full folders.
    if (strPattern.size() >= 1 && strPattern[0] == '*' &&
        strPattern.find_first_of("*?[\\", 1) == std::string::npos)
        return !strName.empty() && strName[0] != '.' && strName.size() >= strPattern.size() - 1 &&
               EndsWithIgnoringCase(strName, std::string_view(strPattern).substr(1));
    return ::fnmatch(strPattern.c_str(), strName.c_str(), FNM_PERIOD | FNM_CASEFOLD) == 0;
}

namespace {

/// Fills in size and times of files[nFrom, nTo) (names relative to the folder's
/// descriptor); files that are no longer regular files get size -1.
void StatFiles(int nDirFd, std::vector<CFolderFile>& files, size_t nFrom, size_t nTo) {
    for (size_t i = nFrom; i < nTo; ++i) {
        CFolderFile& file = files[i];
        struct stat st {};
        if (::fstatat(nDirFd, file.m_strName.c_str(), &st, 0) != 0 || !S_ISREG(st.st_mode)) {
            file.m_nSize = -1;
            continue;
        }
        file.m_nSize = static_cast<int64_t>(st.st_size);
        file.m_tTime = static_cast<int64_t>(st.st_mtim.tv_sec);
        file.m_nMtimeNs =
            static_cast<int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    }
}

/// Folders this large have their files' status read by two threads: each status costs a
/// system call of a few microseconds, which dominates a scan of a full folder.
constexpr size_t kParallelStatFiles = 512;

} // namespace

std::vector<CFolderFile> ListFolderFiles(const std::string& strFolder, int64_t nLimitBytes,
                                         std::vector<CFolderFile>* pTooLarge) {
    std::vector<CFolderFile> files;
    if (strFolder.empty())
        return files;
    DIR* pDir = ::opendir(strFolder.c_str());
    if (pDir == nullptr)
        return files;
    const int nDirFd = ::dirfd(pDir);
    while (const dirent* pEntry = ::readdir(pDir)) {
        const std::string_view name(pEntry->d_name);
        if (name == "." || name == ".." || pEntry->d_type == DT_DIR)
            continue;
        files.emplace_back().m_strName = name;
    }
    if (files.size() >= kParallelStatFiles) {
        const size_t nHalf = files.size() / 2;
        std::thread helper([&] { StatFiles(nDirFd, files, nHalf, files.size()); });
        StatFiles(nDirFd, files, 0, nHalf);
        helper.join();
    } else {
        StatFiles(nDirFd, files, 0, files.size());
    }
    ::closedir(pDir);
    std::erase_if(files, [&](CFolderFile& f) {
        if (f.m_nSize >= nLimitBytes && pTooLarge != nullptr) {
            f.m_strPath = strFolder + f.m_strName;
            pTooLarge->push_back(std::move(f));
        }
        return f.m_nSize < 0 || f.m_nSize >= nLimitBytes;
    });
    std::sort(files.begin(), files.end(),
              [](const CFolderFile& a, const CFolderFile& b) { return a.m_strName < b.m_strName; });
    for (CFolderFile& file : files)
        file.m_strPath = strFolder + file.m_strName;
    return files;
}

CWriterCheck::CWriterCheck(bool bUseLeases) : m_bUseLeases(bUseLeases) {
    IgnoreLeaseBreakSignal();
}

void CWriterCheck::Vouch(const std::string& strPath) {
    struct stat st {};
    if (::lstat(strPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return;
    m_vouched[strPath] = {static_cast<int64_t>(st.st_size),
                          static_cast<int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 +
                              st.st_mtim.tv_nsec};
}

bool CWriterCheck::WriterFinished(const CFolderFile& file, int32_t nSettleMs) {
    const CFd fd(
        ::open(file.m_strPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
    struct stat st {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    // What the listing saw must still be what the file is.
    const int64_t nMtimeNs =
        static_cast<int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    if (static_cast<int64_t>(st.st_size) != file.m_nSize || nMtimeNs != file.m_nMtimeNs) {
        Note(file);
        return false;
    }
    if (const auto it = m_vouched.find(file.m_strPath); it != m_vouched.end()) {
        const bool bAsPlaced = it->second == std::make_pair(file.m_nSize, nMtimeNs);
        m_vouched.erase(it);
        if (bAsPlaced)
            return true;
    }
    if (!m_bUseLeases)
        return Settled(file, nSettleMs) && StableSinceLastPoll(file);
    if (::fcntl(fd.Get(), F_SETLEASE, F_RDLCK) == 0) {
        ::fcntl(fd.Get(), F_SETLEASE, F_UNLCK);
        if (!Settled(file, nSettleMs))
            return false;
        m_seen.erase(file.m_strPath);
        return true;
    }
    if (errno == EAGAIN || errno == EBUSY) {
        // Open for writing somewhere: remember what it looked like meanwhile.
        Note(file);
        return false;
    }
    return Settled(file, nSettleMs) && StableSinceLastPoll(file);
}

namespace {

int64_t SteadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

// Remembers the file as it looks now; the settle time starts again when it changed.
void CWriterCheck::Note(const CFolderFile& file) {
    auto it = m_seen.find(file.m_strPath);
    if (it != m_seen.end() && it->second.m_nSize == file.m_nSize &&
        it->second.m_nMtimeNs == file.m_nMtimeNs) {
        it->second.m_bSeen = true;
        return;
    }
    m_seen[file.m_strPath] = {file.m_nSize, file.m_nMtimeNs, true, SteadyNs()};
}

bool CWriterCheck::Settled(const CFolderFile& file, int32_t nSettleMs) {
    if (nSettleMs <= 0)
        return true;
    const int64_t nSettleNs = int64_t{nSettleMs} * 1'000'000;
    const auto tWall = std::chrono::system_clock::now().time_since_epoch();
    const int64_t nAgeNs =
        std::chrono::duration_cast<std::chrono::nanoseconds>(tWall).count() - file.m_nMtimeNs;
    if (nAgeNs >= nSettleNs)
        return true;
    Note(file);
    const CSeen& seen = m_seen[file.m_strPath];
    // A last-write time in the future says nothing: the polls' own watch decides.
    return nAgeNs < 0 && SteadyNs() - seen.m_nSinceNs >= nSettleNs;
}

bool CWriterCheck::StableSinceLastPoll(const CFolderFile& file) {
    auto it = m_seen.find(file.m_strPath);
    if (it != m_seen.end() && it->second.m_nSize == file.m_nSize &&
        it->second.m_nMtimeNs == file.m_nMtimeNs) {
        m_seen.erase(it);
        return true;
    }
    Note(file);
    return false;
}

void CWriterCheck::ForgetUnseen() {
    m_vouched.clear(); // a vouch holds for the scan right after it only
    std::erase_if(m_seen, [](auto& entry) { return !entry.second.m_bSeen; });
    for (auto& entry : m_seen)
        entry.second.m_bSeen = false;
}

} // namespace inkvale
