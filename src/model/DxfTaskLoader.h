// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/Settings.h"
#include "model/OnePage.h"
#include "support/Result.h"

#include <string>

namespace inkvale {

/// Outcome of the DXF part of a task load: 0, or a negative code of DxfConvert.h,
/// kDxfTaskNoCurves or kDxfTaskTooWide, with why it failed in the diagnostic.
using CDxfTaskResult = CResult;

/// The file held no entity that draws anything.
inline constexpr int kDxfTaskNoCurves = -4;
/// The drawing is so much wider than the roll that folding it makes no sense.
inline constexpr int kDxfTaskTooWide = -5;
/// The setting DxfUnit is not positive.
inline constexpr int kDxfTaskBadUnit = -6;

/// Reads the DXF file of the task (page.m_strPath) into its empty curve array and
/// places it: the geometry, then the texts (drawn by the HP-GL reader with the fonts of
/// settings.m_strInstallDir), joined, cleaned, with X starting at 0
/// and no negative Y, and split into strips of the roll width (PaperLenMm) when it is
/// wider, whatever SplitEn says (where the fold joins segments it keeps the meeting vertex
/// once, for the cleaning LoadTaskDrawing does next). On success the task's print state and start
/// position become 0, the task list is refreshed and the preview selects row 0 (pView may be
/// nullptr). On failure the task keeps no drawing. Window thread only.
/// With pCleaned, it tells whether the curves stand as CleanCurves would leave them (boxes
/// included), so that the cleaning that follows has nothing to do.
CDxfTaskResult LoadDxfTask(COnePage& page, const CSettings& settings, bool* pCleaned = nullptr);

} // namespace inkvale
