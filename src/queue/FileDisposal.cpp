// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/FileDisposal.h"

#include "support/PlaceFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <vector>

namespace inkvale {

namespace {

// Names tried for one file in the trash or in Rejected/ before the move gives up.
constexpr int kMaxNames = 1000;

constexpr int64_t kSecondsPerDay = 24 * 60 * 60;

std::string ErrorText(int nErr) {
    return std::error_code(nErr, std::generic_category()).message();
}

CDisposal Failure(int nCode, std::string strDiag) {
    CDisposal result;
    result.m_nCode = nCode;
    result.m_strDiag = std::move(strDiag);
    return result;
}

// Joins a folder without its last '/' (or "/" itself) and a name.
std::string JoinPath(const std::string& strDir, const std::string& strName) {
    return strDir == "/" ? "/" + strName : strDir + "/" + strName;
}

// The folder holding strDir (absolute, no '/' at the end); "/" holds itself.
std::string ParentOf(const std::string& strDir) {
    const size_t nSlash = strDir.rfind('/');
    return nSlash == 0 || nSlash == std::string::npos ? "/" : strDir.substr(0, nSlash);
}

// The file to be moved: its absolute path (the folder without links) and its device.
struct CSource {
    std::string m_strDir;
    std::string m_strName;
    std::string m_strPath;
    dev_t m_dev = 0;
};

// Finds the regular file at strPath without following a link at its own name.
bool FindSource(const std::string& strPath, CSource& src, std::string& strWhy) {
    const size_t nSlash = strPath.rfind('/');
    const std::string strDir = nSlash == std::string::npos ? "." : strPath.substr(0, nSlash + 1);
    src.m_strName = nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
    char szDir[PATH_MAX];
    if (src.m_strName.empty() || ::realpath(strDir.c_str(), szDir) == nullptr) {
        strWhy = strPath + " is not a file";
        return false;
    }
    src.m_strDir = szDir;
    src.m_strPath = JoinPath(src.m_strDir, src.m_strName);
    struct stat st {};
    if (::lstat(src.m_strPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        strWhy = strPath + " is not a regular file (a link, a folder or nothing); it is left alone";
        return false;
    }
    src.m_dev = st.st_dev;
    return true;
}

// Makes the folder strDir unless it is there; true when it is a folder now.
bool MakeDir(const std::string& strDir, mode_t mode) {
    if (::mkdir(strDir.c_str(), mode) == 0)
        return true;
    struct stat st {};
    return errno == EEXIST && ::stat(strDir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Makes strDir (absolute) and every folder above it that is missing.
bool MakeDirs(const std::string& strDir, mode_t mode) {
    for (size_t n = strDir.find('/', 1); n != std::string::npos; n = strDir.find('/', n + 1)) {
        if (!MakeDir(strDir.substr(0, n), mode))
            return false;
    }
    return MakeDir(strDir, mode);
}

// "name", then "stem.2.ext", "stem.3.ext", ... ("name.2" for a name without extension).
std::string NumberedName(const std::string& strName, int n) {
    if (n == 1)
        return strName;
    const size_t nDot = strName.rfind('.');
    if (nDot == std::string::npos || nDot == 0)
        return strName + "." + std::to_string(n);
    return strName.substr(0, nDot) + "." + std::to_string(n) + strName.substr(nDot);
}

std::string LocalTimeText(std::time_t tTime, const char* pszFormat) {
    std::tm local{};
    char szText[64] = "";
    if (localtime_r(&tTime, &local) != nullptr)
        std::strftime(szText, sizeof szText, pszFormat, &local);
    return szText;
}

// Creates strPath as a new file with strText in it; EEXIST when the name is taken. A file
// that could not be written whole is removed again.
bool WriteNewFile(const std::string& strPath, const std::string& strText, mode_t mode) {
    int fd = -1;
    do
        fd = ::open(strPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return false;
    int nErr = 0;
    for (size_t nDone = 0; nDone < strText.size() && nErr == 0;) {
        const ssize_t n = ::write(fd, strText.data() + nDone, strText.size() - nDone);
        if (n > 0)
            nDone += static_cast<size_t>(n);
        else if (n == 0 || errno != EINTR)
            nErr = n == 0 ? EIO : errno;
    }
    if (::close(fd) != 0 && nErr == 0)
        nErr = errno;
    if (nErr == 0)
        return true;
    ::unlink(strPath.c_str());
    errno = nErr;
    return false;
}

// --- The home trash ---

// The path as the trash writes it: every byte but letters, digits, "-._~" and '/' as %XX.
std::string PercentEncoded(const std::string& strPath) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string strOut;
    for (const char c : strPath) {
        const auto b = static_cast<unsigned char>(c);
        const bool bKeep = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') ||
                           (b >= '0' && b <= '9') ||
                           std::string_view("-._~/").find(c) != std::string_view::npos;
        if (bKeep) {
            strOut += c;
        } else {
            strOut += '%';
            strOut += kHex[b >> 4];
            strOut += kHex[b & 0xF];
        }
    }
    return strOut;
}

// $XDG_DATA_HOME/Trash, or $HOME/.local/share/Trash; empty without either.
std::string TrashDir() {
    const char* pszData = std::getenv("XDG_DATA_HOME");
    if (pszData != nullptr && pszData[0] == '/')
        return JoinPath(pszData, "Trash");
    const char* pszHome = std::getenv("HOME");
    if (pszHome != nullptr && pszHome[0] == '/')
        return JoinPath(pszHome, ".local/share/Trash");
    return {};
}

// Makes the trash's folders; false (and why) when they cannot take the file by rename.
bool PrepareTrash(const std::string& strTrash, const CSource& src, std::string& strWhy) {
    if (strTrash.empty()) {
        strWhy = "no home folder for a trash";
        return false;
    }
    if (!MakeDirs(strTrash + "/files", 0700) || !MakeDir(strTrash + "/info", 0700)) {
        strWhy = "the trash " + strTrash + " cannot be made: " + ErrorText(errno);
        return false;
    }
    struct stat st {};
    if (::stat((strTrash + "/files").c_str(), &st) != 0 || st.st_dev != src.m_dev) {
        strWhy = "the trash " + strTrash + " is on another file system";
        return false;
    }
    return true;
}

std::string TrashInfo(const CSource& src, std::time_t tNow) {
    return "[Trash Info]\nPath=" + PercentEncoded(src.m_strPath) +
           "\nDeletionDate=" + LocalTimeText(tNow, "%Y-%m-%dT%H:%M:%S") + "\n";
}

// Writes the .trashinfo first, under a name nobody holds, then moves the file to go with it.
bool MoveIntoTrash(const CSource& src, std::time_t tNow, CDisposal& record, std::string& strWhy) {
    const std::string strTrash = TrashDir();
    if (!PrepareTrash(strTrash, src, strWhy))
        return false;
    const std::string strInfo = TrashInfo(src, tNow);
    for (int n = 1; n <= kMaxNames; ++n) {
        const std::string strName = NumberedName(src.m_strName, n);
        const std::string strInfoPath = strTrash + "/info/" + strName + ".trashinfo";
        const std::string strFilePath = strTrash + "/files/" + strName;
        if (!WriteNewFile(strInfoPath, strInfo, 0600)) {
            if (errno == EEXIST)
                continue;
            strWhy = "the trash's " + strInfoPath + " cannot be written: " + ErrorText(errno);
            return false;
        }
        if (PlaceWithoutReplacing(src.m_strPath, strFilePath) == EPlaced::kPlaced) {
            record.m_eWhere = EDisposal::kTrash;
            record.m_strPath = strFilePath;
            record.m_strSidecar = strInfoPath;
            return true;
        }
        const int nErr = errno;
        ::unlink(strInfoPath.c_str());
        if (nErr != EEXIST) {
            strWhy = "the trash refused the file: " + ErrorText(nErr);
            return false;
        }
    }
    strWhy = "the trash holds too many files of this name";
    return false;
}

// --- The Printed/ folder ---

// "YYYYMMDD-hhmmss_name", "YYYYMMDD-hhmmss-2_name", ...
std::string PrintedName(const std::string& strName, std::time_t tNow, int n) {
    const std::string strStamp = LocalTimeText(tNow, "%Y%m%d-%H%M%S");
    return strStamp + (n == 1 ? "" : "-" + std::to_string(n)) + "_" + strName;
}

bool MoveIntoPrinted(const CSource& src, std::time_t tNow, CDisposal& record, std::string& strWhy) {
    const std::string strDir = JoinPath(ParentOf(src.m_strDir), "Printed");
    if (!MakeDir(strDir, 0777)) {
        strWhy = strDir + " cannot be made: " + ErrorText(errno);
        return false;
    }
    for (int n = 1; n <= kMaxNames; ++n) {
        const std::string strPath = JoinPath(strDir, PrintedName(src.m_strName, tNow, n));
        if (PlaceWithoutReplacing(src.m_strPath, strPath) == EPlaced::kPlaced) {
            record.m_eWhere = EDisposal::kPrinted;
            record.m_strPath = strPath;
            return true;
        }
        if (errno != EEXIST) {
            strWhy = strDir + " refused the file: " + ErrorText(errno);
            return false;
        }
    }
    strWhy = strDir + " holds too many files of this name and time";
    return false;
}

bool AllDigits(std::string_view text) {
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return !text.empty();
}

int Number(std::string_view digits) {
    int n = 0;
    for (const char c : digits)
        n = n * 10 + (c - '0');
    return n;
}

// The removal time at the start of a name in Printed/; false for names not made there.
bool RemovalTime(std::string_view name, std::time_t& tRemoved) {
    const size_t nEnd = name.find('_');
    if (nEnd == std::string_view::npos || nEnd + 1 >= name.size() || nEnd < 15)
        return false;
    const std::string_view stamp = name.substr(0, nEnd);
    if (!AllDigits(stamp.substr(0, 8)) || stamp[8] != '-' || !AllDigits(stamp.substr(9, 6)))
        return false;
    if (stamp.size() > 15 && (stamp[15] != '-' || !AllDigits(stamp.substr(16))))
        return false;
    std::tm local{};
    local.tm_year = Number(stamp.substr(0, 4)) - 1900;
    local.tm_mon = Number(stamp.substr(4, 2)) - 1;
    local.tm_mday = Number(stamp.substr(6, 2));
    local.tm_hour = Number(stamp.substr(9, 2));
    local.tm_min = Number(stamp.substr(11, 2));
    local.tm_sec = Number(stamp.substr(13, 2));
    local.tm_isdst = -1;
    tRemoved = std::mktime(&local);
    return tRemoved != static_cast<std::time_t>(-1);
}

// The names of the regular files in the folder that were removed at tBefore or earlier.
std::vector<std::string> ExpiredNames(DIR* pDir, std::time_t tBefore) {
    std::vector<std::string> names;
    while (const dirent* pEntry = ::readdir(pDir)) {
        std::time_t tRemoved = 0;
        struct stat st {};
        if (RemovalTime(pEntry->d_name, tRemoved) && tRemoved <= tBefore &&
            ::fstatat(::dirfd(pDir), pEntry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode))
            names.emplace_back(pEntry->d_name);
    }
    return names;
}

// --- The Rejected/ folder ---

std::string WhyText(const CSource& src, const std::string& strReason, std::time_t tNow) {
    return "File: " + src.m_strPath + "\nRefused: " + LocalTimeText(tNow, "%Y-%m-%d %H:%M:%S") +
           "\nReason: " + strReason + "\n";
}

// Writes "<name>.why.txt" first, under a name nobody holds, then moves the file beside it.
bool MoveIntoRejected(const CSource& src, const std::string& strWhyText, CDisposal& record,
                      std::string& strWhy) {
    const std::string strDir = JoinPath(ParentOf(src.m_strDir), "Rejected");
    if (!MakeDir(strDir, 0777)) {
        strWhy = strDir + " cannot be made: " + ErrorText(errno);
        return false;
    }
    for (int n = 1; n <= kMaxNames; ++n) {
        const std::string strPath = JoinPath(strDir, NumberedName(src.m_strName, n));
        const std::string strWhyPath = strPath + ".why.txt";
        if (!WriteNewFile(strWhyPath, strWhyText, 0666)) {
            if (errno == EEXIST)
                continue;
            strWhy = strWhyPath + " cannot be written: " + ErrorText(errno);
            return false;
        }
        if (PlaceWithoutReplacing(src.m_strPath, strPath) == EPlaced::kPlaced) {
            record.m_eWhere = EDisposal::kRejected;
            record.m_strPath = strPath;
            record.m_strSidecar = strWhyPath;
            return true;
        }
        const int nErr = errno;
        ::unlink(strWhyPath.c_str());
        if (nErr != EEXIST) {
            strWhy = strDir + " refused the file: " + ErrorText(nErr);
            return false;
        }
    }
    strWhy = strDir + " holds too many files of this name";
    return false;
}

} // namespace

CDisposal MoveToTrash(const std::string& strPath, std::time_t tNow) {
    CSource src;
    std::string strWhy;
    if (!FindSource(strPath, src, strWhy))
        return Failure(kDisposeNotRegular, strWhy);
    CDisposal record;
    record.m_strOriginal = src.m_strPath;
    std::string strWhyPrinted;
    if (MoveIntoTrash(src, tNow, record, strWhy) ||
        MoveIntoPrinted(src, tNow, record, strWhyPrinted))
        return record;
    return Failure(kDisposeNoPlace,
                   src.m_strPath + " stays where it is: " + strWhy + "; " + strWhyPrinted);
}

CResult RestoreFile(const CDisposal& record) {
    if (record.m_eWhere == EDisposal::kNone)
        return CResult::Failure(kDisposeFailed, "the file was not moved");
    if (PlaceWithoutReplacing(record.m_strPath, record.m_strOriginal) != EPlaced::kPlaced) {
        const int nErr = errno;
        if (nErr == EEXIST)
            return CResult::Failure(kDisposeTaken, "a file is at " + record.m_strOriginal +
                                                       " again; the removed file stays at " +
                                                       record.m_strPath);
        return CResult::Failure(kDisposeFailed, record.m_strPath + " cannot go back to " +
                                                    record.m_strOriginal + ": " + ErrorText(nErr));
    }
    CResult result;
    if (!record.m_strSidecar.empty() && ::unlink(record.m_strSidecar.c_str()) != 0)
        result.m_strDiag = "restored; " + record.m_strSidecar + " stays: " + ErrorText(errno);
    return result;
}

CPruneResult PrunePrinted(const std::string& strFolder, int nKeepDays, std::time_t tNow) {
    CPruneResult result;
    if (nKeepDays < 0)
        return result;
    DIR* pDir = ::opendir(strFolder.c_str());
    if (pDir == nullptr)
        return result;
    const std::time_t tBefore = tNow - static_cast<std::time_t>(nKeepDays * kSecondsPerDay);
    for (const std::string& strName : ExpiredNames(pDir, tBefore)) {
        if (::unlinkat(::dirfd(pDir), strName.c_str(), 0) == 0) {
            ++result.m_nRemoved;
            continue;
        }
        result.m_nCode = kDisposeFailed;
        result.m_strDiag += strName + " cannot be removed: " + ErrorText(errno) + "; ";
    }
    ::closedir(pDir);
    return result;
}

CDisposal MoveToRejected(const std::string& strPath, const std::string& strReason,
                         std::time_t tNow) {
    CSource src;
    std::string strWhy;
    if (!FindSource(strPath, src, strWhy))
        return Failure(kDisposeNotRegular, strWhy);
    CDisposal record;
    record.m_strOriginal = src.m_strPath;
    if (MoveIntoRejected(src, WhyText(src, strReason, tNow), record, strWhy))
        return record;
    return Failure(kDisposeNoPlace, src.m_strPath + " stays where it is: " + strWhy);
}

} // namespace inkvale
