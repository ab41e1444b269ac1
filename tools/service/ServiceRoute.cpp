// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceRoute.h"

#include "ServiceJson.h"

#include <array>

namespace inkvale::service {

namespace {

struct CFixedRoute {
    const char* m_pszPath;
    ERoute m_eRoute;
    ERouteKind m_eKind;
    bool m_bPost;
    const char* m_pszWhat;
};

constexpr std::array kFixed = {
    CFixedRoute{"/", ERoute::kPage, ERouteKind::kRead, false, ""},
    CFixedRoute{"/api/status", ERoute::kStatus, ERouteKind::kRead, false, ""},
    CFixedRoute{"/api/events", ERoute::kEvents, ERouteKind::kRead, false, ""},
    CFixedRoute{"/api/history", ERoute::kHistory, ERouteKind::kRead, false, ""},
    CFixedRoute{"/api/rejected", ERoute::kRejected, ERouteKind::kRead, false, ""},
    CFixedRoute{"/api/login", ERoute::kLogin, ERouteKind::kSignIn, true, "login"},
    CFixedRoute{"/api/logout", ERoute::kLogin, ERouteKind::kSignIn, true, "logout"},
    CFixedRoute{"/api/upload", ERoute::kUpload, ERouteKind::kControl, true, ""},
    CFixedRoute{"/api/machine/pause", ERoute::kMachine, ERouteKind::kControl, true, "pause"},
    CFixedRoute{"/api/machine/resume", ERoute::kMachine, ERouteKind::kControl, true, "resume"},
    CFixedRoute{"/api/machine/stop", ERoute::kMachine, ERouteKind::kControl, true, "stop"},
    CFixedRoute{"/api/auto/on", ERoute::kAuto, ERouteKind::kControl, true, "on"},
    CFixedRoute{"/api/auto/off", ERoute::kAuto, ERouteKind::kControl, true, "off"},
};

// "/api/tasks/ID/copies" and the like, and "/api/thumbnail/ID.png".
bool TaskRoute(const std::string& strPath, CRoute& route) {
    const std::string strTasks = "/api/tasks/", strThumb = "/api/thumbnail/";
    std::string strDigits;
    if (strPath.starts_with(strThumb) && strPath.ends_with(".png")) {
        strDigits = strPath.substr(strThumb.size(), strPath.size() - strThumb.size() - 4);
        route.m_eRoute = ERoute::kThumbnail;
    } else if (strPath.starts_with(strTasks)) {
        const size_t nSlash = strPath.find('/', strTasks.size());
        if (nSlash == std::string::npos)
            return false;
        strDigits = strPath.substr(strTasks.size(), nSlash - strTasks.size());
        route.m_eRoute = ERoute::kTask;
        route.m_eKind = ERouteKind::kControl;
        route.m_bPost = true;
        route.m_strWhat = strPath.substr(nSlash + 1);
        if (route.m_strWhat != "copies" && route.m_strWhat != "queue" &&
            route.m_strWhat != "unqueue")
            return false;
    } else {
        return false;
    }
    if (strDigits.empty() || strDigits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    route.m_bIdValid = ParseId(strDigits, route.m_nId);
    return true;
}

// "/api/jobs/ID/resume" and "/api/jobs/ID/discard": ID is a job folder's name (digits,
// lower-case letters and '-'), never a path.
bool JobRoute(const std::string& strPath, CRoute& route) {
    const std::string strJobs = "/api/jobs/";
    if (!strPath.starts_with(strJobs))
        return false;
    const size_t nSlash = strPath.find('/', strJobs.size());
    if (nSlash == std::string::npos || nSlash == strJobs.size())
        return false;
    route.m_strJob = strPath.substr(strJobs.size(), nSlash - strJobs.size());
    route.m_strWhat = strPath.substr(nSlash + 1);
    if (route.m_strJob.find_first_not_of("0123456789abcdefghijklmnopqrstuvwxyz-") !=
            std::string::npos ||
        (route.m_strWhat != "resume" && route.m_strWhat != "discard"))
        return false;
    route.m_eRoute = ERoute::kJob;
    route.m_eKind = ERouteKind::kControl;
    route.m_bPost = true;
    return true;
}

} // namespace

CRoute RouteOf(const std::string& strMethod, const std::string& strPath) {
    CRoute route;
    bool bKnown = false;
    for (const CFixedRoute& fixed : kFixed) {
        if (strPath == fixed.m_pszPath) {
            route.m_eRoute = fixed.m_eRoute;
            route.m_eKind = fixed.m_eKind;
            route.m_bPost = fixed.m_bPost;
            route.m_strWhat = fixed.m_pszWhat;
            bKnown = true;
        }
    }
    if (!bKnown && !TaskRoute(strPath, route) && !JobRoute(strPath, route))
        return {};
    const bool bGet = strMethod == "GET" || strMethod == "HEAD";
    route.m_bWrongMethod = route.m_bPost ? strMethod != "POST" : !bGet;
    return route;
}

} // namespace inkvale::service
