// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ServiceJson.h"

#include <string>
#include <utility>
#include <vector>

namespace inkvale::service {

/// One answer of the HTTP interface: status, body, its type and extra headers.
struct CAnswer {
    CAnswer() = default;
    CAnswer(int nStatus, std::string strBody,
            std::string strType = "application/json; charset=utf-8")
        : m_nStatus(nStatus), m_strBody(std::move(strBody)), m_strType(std::move(strType)) {}

    int m_nStatus = 200;
    std::string m_strBody;
    std::string m_strType = "application/json; charset=utf-8";
    std::vector<std::pair<std::string, std::string>> m_headers;

    static CAnswer Json(int nStatus, std::string strBody) { return {nStatus, std::move(strBody)}; }
    static CAnswer Ok() { return Json(200, "{\"ok\": true}"); }
    /// Every refusal: {"error": "why"}.
    static CAnswer Error(int nStatus, const std::string& strWhy) {
        return Json(nStatus, "{\"error\": " + JsonText(strWhy) + "}");
    }
};

} // namespace inkvale::service
