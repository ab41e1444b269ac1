// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/Settings.h"
#include "model/OnePage.h"

#include <string>

namespace inkvale::service {

/// A PNG of the task's drawing as the window's preview paints it (its colours, paper and
/// rulers), the whole drawing fitted into nWidth x nHeight pixels; "" when the task has no
/// drawing.
std::string ThumbnailPng(const COnePage& task, const CSettings& settings, int nWidth, int nHeight);

} // namespace inkvale::service
