// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceToken.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

namespace inkvale::service {

namespace {

constexpr size_t kTokenBytes = 32;

enum class ERead { kMissing, kRead, kRefused };

// The token file is opened without following a link and must be a regular file of this
// user: a link planted in the directory would otherwise have its target read, chmodded and
// trusted. The mode is fixed on the open file, not on a path that could change meanwhile.
ERead ReadToken(const std::string& strPath, std::string& strToken, std::string& strError) {
    const int fd = ::open(strPath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 && errno == ENOENT)
        return ERead::kMissing;
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        strError = "the token file " + strPath +
                   " is a link, not a regular file of this user, or cannot be read";
        if (fd >= 0)
            ::close(fd);
        return ERead::kRefused;
    }
    (void)::fchmod(fd, 0600);
    char buf[256] = {};
    const ssize_t n = ::read(fd, buf, sizeof buf - 1);
    ::close(fd);
    strToken.assign(buf, n > 0 ? static_cast<size_t>(n) : 0);
    while (!strToken.empty() && (strToken.back() == '\n' || strToken.back() == '\r'))
        strToken.pop_back();
    if (strToken.size() >= 32)
        return ERead::kRead;
    strError = "the token file " + strPath + " holds fewer than 32 characters";
    return ERead::kRefused;
}

} // namespace

std::string RandomToken() {
    unsigned char bytes[kTokenBytes] = {};
    const int fd = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    bool bOk = fd >= 0 && ::read(fd, bytes, sizeof bytes) == static_cast<ssize_t>(sizeof bytes);
    if (fd >= 0)
        ::close(fd);
    if (!bOk) {
        std::random_device rd;
        for (unsigned char& b : bytes)
            b = static_cast<unsigned char>(rd());
    }
    static const char kHex[] = "0123456789abcdef";
    std::string s;
    for (const unsigned char b : bytes) {
        s += kHex[b >> 4];
        s += kHex[b & 15];
    }
    return s;
}

std::string LoadOrCreateToken(const std::string& strInstallDir, std::string& strError) {
    const std::string strPath = strInstallDir + kTokenFileName;
    std::string strToken;
    switch (ReadToken(strPath, strToken, strError)) {
    case ERead::kRead:
        return strToken;
    case ERead::kRefused:
        return {};
    case ERead::kMissing:
        break;
    }
    strToken = RandomToken();
    const int fd =
        ::open(strPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    const std::string strLine = strToken + "\n";
    if (fd < 0 ||
        ::write(fd, strLine.data(), strLine.size()) != static_cast<ssize_t>(strLine.size())) {
        if (fd >= 0)
            ::close(fd);
        strError = "cannot write the token file " + strPath;
        return {};
    }
    ::fchmod(fd, 0600);
    ::close(fd);
    return strToken;
}

bool SameToken(const std::string& a, const std::string& b) {
    unsigned diff = a.size() == b.size() ? 0u : 1u;
    for (size_t i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned>(a[i] ^ (i < b.size() ? b[i] : 0));
    return diff == 0 && !a.empty();
}

} // namespace inkvale::service
