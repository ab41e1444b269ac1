// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace inkvale::service {

/// Whether a request's Host header names this service: a loopback name or address
/// ("localhost", 127.x.y.z, [::1]), with or without a port, or a name of strAllowed (the
/// names and addresses of [Service] Hosts=). A page of another site whose name was made to
/// point at this machine (DNS rebinding) sends its own name and is refused.
bool HostAllowed(const std::string& strHost, const std::vector<std::string>& allowed);

/// Whether the Origin header of a browser's request is this service's own page: its scheme
/// and authority are those the request was sent to (http:// or https:// and the Host).
bool SameOrigin(const std::string& strOrigin, const std::string& strHost);

/// The value of one cookie in a Cookie header; "" when it is not there.
std::string CookieValue(const std::string& strCookies, const std::string& strName);

/// A network in CIDR notation ("192.168.1.0/24", "127.0.0.0/8", "::1/128").
struct CNetwork {
    bool m_bV6 = false;
    uint8_t m_bytes[16] = {};
    int m_nBits = 0;
};

/// The networks of a list separated by commas or spaces; false with the bad entry in
/// strError.
bool ParseNetworks(const std::string& strList, std::vector<CNetwork>& networks,
                   std::string& strError);
/// Whether the address (sockaddr_in or sockaddr_in6; a v4-mapped v6 address counts as v4)
/// is in one of the networks.
bool InNetworks(const void* pSockaddr, const std::vector<CNetwork>& networks);

/// The sign-in sessions of browsers: a random identifier given as a cookie once the token
/// was shown, valid for a working day. Any thread.
class CSessions {
public:
    /// A new session's identifier (64 hex digits).
    std::string Create();
    /// Whether the identifier is a live session's.
    bool Valid(const std::string& strId);
    /// Ends the session.
    void End(const std::string& strId);

    static constexpr std::chrono::hours kLifetime{12};
    static constexpr size_t kMaxSessions = 1000;

private:
    std::mutex m_mutex;
    std::map<std::string, std::chrono::steady_clock::time_point> m_sessions;
};

} // namespace inkvale::service
