// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceToken.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <random>

namespace inkvale::service {

namespace {

constexpr size_t kTokenBytes = 32;

bool ReadToken(const std::string& strPath, std::string& strToken) {
    FILE* f = std::fopen(strPath.c_str(), "r");
    if (f == nullptr)
        return false;
    char buf[256] = {};
    const size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    strToken.assign(buf, n);
    while (!strToken.empty() && (strToken.back() == '\n' || strToken.back() == '\r'))
        strToken.pop_back();
    return strToken.size() >= 32;
}

std::string RandomHex() {
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

} // namespace

std::string LoadOrCreateToken(const std::string& strInstallDir, std::string& strError) {
    const std::string strPath = strInstallDir + kTokenFileName;
    std::string strToken;
    if (ReadToken(strPath, strToken)) {
        // Whoever made it, it is for the operator alone.
        (void)::chmod(strPath.c_str(), 0600);
        return strToken;
    }
    strToken = RandomHex();
    const int fd =
        ::open(strPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
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
