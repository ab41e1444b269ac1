// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceAccess.h"

#include "ServiceListener.h"
#include "ServiceToken.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace inkvale::service {

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The host of a Host header without its port: "[::1]:8291" -> "::1", "a.b:80" -> "a.b".
std::string HostName(const std::string& strHost) {
    if (strHost.starts_with('[')) {
        const size_t nEnd = strHost.find(']');
        return nEnd == std::string::npos ? std::string() : strHost.substr(1, nEnd - 1);
    }
    const size_t nColon = strHost.find(':');
    return Lower(nColon == std::string::npos ? strHost : strHost.substr(0, nColon));
}

bool PortPartValid(const std::string& strHost) {
    const size_t nAfter = strHost.starts_with('[') ? strHost.find(']') + 1 : strHost.find(':');
    if (nAfter == std::string::npos || nAfter >= strHost.size())
        return true;
    return strHost[nAfter] == ':' && nAfter + 1 < strHost.size() &&
           strHost.find_first_not_of("0123456789", nAfter + 1) == std::string::npos;
}

} // namespace

bool HostAllowed(const std::string& strHost, const std::vector<std::string>& allowed) {
    if (strHost.empty() || !PortPartValid(strHost))
        return false;
    const std::string strName = HostName(strHost);
    if (strName == "localhost" || strName.ends_with(".localhost") || IsLoopbackAddress(strName))
        return true;
    return std::any_of(allowed.begin(), allowed.end(),
                       [&](const std::string& s) { return !s.empty() && Lower(s) == strName; });
}

bool SameOrigin(const std::string& strOrigin, const std::string& strHost) {
    const std::string strOriginLower = Lower(strOrigin), strHostLower = Lower(strHost);
    return !strHost.empty() && (strOriginLower == "http://" + strHostLower ||
                                strOriginLower == "https://" + strHostLower);
}

std::string CookieValue(const std::string& strCookies, const std::string& strName) {
    size_t nAt = 0;
    while (nAt < strCookies.size()) {
        while (nAt < strCookies.size() && (strCookies[nAt] == ' ' || strCookies[nAt] == ';'))
            ++nAt;
        const size_t nEnd = std::min(strCookies.find(';', nAt), strCookies.size());
        const std::string strPair = strCookies.substr(nAt, nEnd - nAt);
        if (strPair.starts_with(strName + "="))
            return strPair.substr(strName.size() + 1);
        nAt = nEnd;
    }
    return {};
}

bool ParseNetworks(const std::string& strList, std::vector<CNetwork>& networks,
                   std::string& strError) {
    networks.clear();
    size_t nAt = 0;
    while (nAt < strList.size()) {
        const size_t nEnd = std::min(strList.find_first_of(", ", nAt), strList.size());
        const std::string strEntry = strList.substr(nAt, nEnd - nAt);
        nAt = nEnd + 1;
        if (strEntry.empty())
            continue;
        const size_t nSlash = strEntry.find('/');
        const std::string strAddress = strEntry.substr(0, nSlash);
        CNetwork net;
        net.m_bV6 = strAddress.find(':') != std::string::npos;
        const int nMax = net.m_bV6 ? 128 : 32;
        net.m_nBits = nSlash == std::string::npos ? nMax : std::atoi(strEntry.c_str() + nSlash + 1);
        const bool bBitsOk =
            nSlash == std::string::npos ||
            (nSlash + 1 < strEntry.size() &&
             strEntry.find_first_not_of("0123456789", nSlash + 1) == std::string::npos &&
             net.m_nBits <= nMax);
        if (!bBitsOk ||
            inet_pton(net.m_bV6 ? AF_INET6 : AF_INET, strAddress.c_str(), net.m_bytes) != 1) {
            strError = "not a network: " + strEntry;
            return false;
        }
        networks.push_back(net);
    }
    return true;
}

bool InNetworks(const void* pSockaddr, const std::vector<CNetwork>& networks) {
    const auto* pAddr = static_cast<const sockaddr*>(pSockaddr);
    uint8_t bytes[16] = {};
    bool bV6 = false;
    if (pAddr->sa_family == AF_INET) {
        std::memcpy(bytes, &static_cast<const sockaddr_in*>(pSockaddr)->sin_addr, 4);
    } else if (pAddr->sa_family == AF_INET6) {
        const in6_addr& a = static_cast<const sockaddr_in6*>(pSockaddr)->sin6_addr;
        bV6 = !IN6_IS_ADDR_V4MAPPED(&a);
        std::memcpy(bytes, bV6 ? a.s6_addr : a.s6_addr + 12, bV6 ? 16 : 4);
    } else {
        return false;
    }
    return std::any_of(networks.begin(), networks.end(), [&](const CNetwork& net) {
        if (net.m_bV6 != bV6)
            return false;
        const int nFull = net.m_nBits / 8, nRest = net.m_nBits % 8;
        if (std::memcmp(bytes, net.m_bytes, static_cast<size_t>(nFull)) != 0)
            return false;
        const auto nMask = static_cast<uint8_t>(0xff00 >> nRest);
        return nRest == 0 || (bytes[nFull] & nMask) == (net.m_bytes[nFull] & nMask);
    });
}

std::string CSessions::Create() {
    const std::string strId = RandomToken();
    const auto tNow = std::chrono::steady_clock::now();
    std::lock_guard<std::mutex> lock(m_mutex);
    std::erase_if(m_sessions, [&](const auto& s) { return s.second < tNow; });
    if (m_sessions.size() >= kMaxSessions) {
        m_sessions.erase(
            std::min_element(m_sessions.begin(), m_sessions.end(),
                             [](const auto& a, const auto& b) { return a.second < b.second; }));
    }
    m_sessions[strId] = tNow + kLifetime;
    return strId;
}

bool CSessions::Valid(const std::string& strId) {
    if (strId.empty())
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_sessions.find(strId);
    return it != m_sessions.end() && it->second > std::chrono::steady_clock::now();
}

void CSessions::End(const std::string& strId) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_sessions.erase(strId);
}

} // namespace inkvale::service
