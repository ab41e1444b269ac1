// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceListener.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

namespace inkvale::service {

namespace {

constexpr int kBacklog = 1024;

// The inodes of the sockets listening on nPort ("0A" is TCP_LISTEN in /proc/net/tcp).
std::set<std::string> ListeningInodes(int nPort) {
    std::set<std::string> inodes;
    for (const char* pszTable : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        std::ifstream in(pszTable);
        std::string strLine;
        std::getline(in, strLine);
        while (std::getline(in, strLine)) {
            std::istringstream row(strLine);
            std::string strSlot, strLocal, strRemote, strState, strSkip, strInode;
            row >> strSlot >> strLocal >> strRemote >> strState;
            for (int i = 0; i < 5; ++i)
                row >> strSkip;
            row >> strInode;
            const size_t nColon = strLocal.rfind(':');
            if (strState == "0A" && nColon != std::string::npos &&
                std::strtol(strLocal.c_str() + nColon + 1, nullptr, 16) == nPort)
                inodes.insert("socket:[" + strInode + "]");
        }
    }
    return inodes;
}

bool HoldsSocket(const std::string& strPid, const std::set<std::string>& inodes) {
    const std::string strFds = "/proc/" + strPid + "/fd";
    DIR* pDir = ::opendir(strFds.c_str());
    if (pDir == nullptr)
        return false;
    bool bHolds = false;
    while (const dirent* pEntry = ::readdir(pDir)) {
        char szLink[64] = {};
        const std::string strFd = strFds + "/" + pEntry->d_name;
        if (::readlink(strFd.c_str(), szLink, sizeof szLink - 1) > 0 && inodes.contains(szLink)) {
            bHolds = true;
            break;
        }
    }
    ::closedir(pDir);
    return bHolds;
}

} // namespace

bool IsLoopbackAddress(const std::string& strAddress) {
    in_addr a4{};
    in6_addr a6{};
    if (inet_pton(AF_INET, strAddress.c_str(), &a4) == 1)
        return (ntohl(a4.s_addr) >> 24) == 127;
    if (inet_pton(AF_INET6, strAddress.c_str(), &a6) == 1)
        return IN6_IS_ADDR_LOOPBACK(&a6) || (IN6_IS_ADDR_V4MAPPED(&a6) && a6.s6_addr[12] == 127);
    return false;
}

std::string PortHolder(int nPort) {
    const std::set<std::string> inodes = ListeningInodes(nPort);
    DIR* pProc = inodes.empty() ? nullptr : ::opendir("/proc");
    std::string strHolder;
    while (pProc != nullptr && strHolder.empty()) {
        const dirent* pEntry = ::readdir(pProc);
        if (pEntry == nullptr)
            break;
        const std::string strPid = pEntry->d_name;
        if (strPid.find_first_not_of("0123456789") != std::string::npos ||
            !HoldsSocket(strPid, inodes))
            continue;
        std::string strName;
        std::getline(std::ifstream("/proc/" + strPid + "/comm"), strName);
        strHolder = "process " + strPid + " (" + strName + ")";
    }
    if (pProc != nullptr)
        ::closedir(pProc);
    return strHolder.empty() ? "another process" : strHolder;
}

int ListenExclusive(const std::string& strAddress, int nPort, std::string& strError) {
    sockaddr_storage ss{};
    socklen_t nLen = 0;
    auto* p4 = reinterpret_cast<sockaddr_in*>(&ss);
    auto* p6 = reinterpret_cast<sockaddr_in6*>(&ss);
    if (inet_pton(AF_INET, strAddress.c_str(), &p4->sin_addr) == 1) {
        p4->sin_family = AF_INET;
        p4->sin_port = htons(static_cast<uint16_t>(nPort));
        nLen = sizeof *p4;
    } else if (inet_pton(AF_INET6, strAddress.c_str(), &p6->sin6_addr) == 1) {
        p6->sin6_family = AF_INET6;
        p6->sin6_port = htons(static_cast<uint16_t>(nPort));
        nLen = sizeof *p6;
    } else {
        strError = "the address " + strAddress + " is not an IPv4 or IPv6 address";
        return -1;
    }
    const int fd = ::socket(ss.ss_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const int nOn = 1;
    if (fd < 0 || ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &nOn, sizeof nOn) != 0) {
        strError = std::string("cannot make a socket: ") + std::strerror(errno);
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    if (::bind(fd, reinterpret_cast<sockaddr*>(&ss), nLen) != 0 || ::listen(fd, kBacklog) != 0) {
        const int nErr = errno;
        ::close(fd);
        strError = "cannot listen on " + strAddress + ":" + std::to_string(nPort) + ": " +
                   std::strerror(nErr);
        if (nErr == EADDRINUSE)
            strError += "; it is held by " + PortHolder(nPort);
        return -1;
    }
    return fd;
}

} // namespace inkvale::service
