// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/OnePage.h"

#include <string>

namespace inkvale::service {

/// A PNG of the task's drawing fitted into nWidth x nHeight pixels (the feed along X, as
/// the preview shows it: dark strokes on the paper); "" when the task has no drawing.
std::string ThumbnailPng(const COnePage& task, int nWidth, int nHeight);

} // namespace inkvale::service
