// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/ViewTransform.h"

#include "geometry/Rounding.h"

namespace inkvale {

namespace {
constexpr int kOriginLeftPx = 50;
constexpr int kOriginBottomPx = 30;
} // namespace

CScreenPoint WorldToScreen(const CViewTransform& disp, int x, int y) {
    return {TruncToInt(x * disp.m_dScale + kOriginLeftPx - disp.m_nPanX),
            TruncToInt(disp.m_nViewHeight - y * disp.m_dScale - kOriginBottomPx - disp.m_nPanY)};
}

CScreenPoint ScreenToWorld(const CViewTransform& disp, int sx, int sy) {
    return {TruncToInt((disp.m_nPanX + sx - kOriginLeftPx) / disp.m_dScale),
            TruncToInt((disp.m_nViewHeight - disp.m_nPanY - sy - kOriginBottomPx) / disp.m_dScale)};
}

} // namespace inkvale
