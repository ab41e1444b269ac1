// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace inkvale::service {

/// The requests the HTTP interface knows (docs/service-api.md).
enum class ERoute : uint8_t {
    kNone,
    kPage,
    kStatus,
    kEvents,
    kHistory,
    kRejected,
    kThumbnail,
    kLogin, ///< sign in and sign out (m_strWhat "login", "logout")
    kUpload,
    kTask,    ///< m_strWhat "copies", "queue", "unqueue"
    kMachine, ///< m_strWhat "pause", "resume", "stop"
    kAuto,    ///< m_strWhat "on", "off"
    kJob,     ///< an unfinished job of the ledger, m_strJob its id; m_strWhat "resume", "discard"
};

/// What a request needs: reading, control (the token), or neither (signing in).
enum class ERouteKind : uint8_t { kRead, kControl, kSignIn };

/// A request's route, taken from its method and path.
struct CRoute {
    ERoute m_eRoute = ERoute::kNone;
    ERouteKind m_eKind = ERouteKind::kRead;
    bool m_bPost = false;        ///< the route takes POST (else GET and HEAD)
    bool m_bWrongMethod = false; ///< the path is known, the method is not its own
    uint64_t m_nId = 0;
    bool m_bIdValid = true; ///< false: the id in the path is beyond 2^64 - 1 (no task has it)
    std::string m_strWhat;
    std::string m_strJob; ///< kJob: the job's id (its folder's name)
};

/// The route of a method and a path (without its query).
CRoute RouteOf(const std::string& strMethod, const std::string& strPath);

} // namespace inkvale::service
