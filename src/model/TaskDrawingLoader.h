// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/Settings.h"
#include "model/OnePage.h"
#include "support/Result.h"

#include <string>
#include <string_view>
#include <vector>

namespace inkvale {

/// Codes of a failed load.
inline constexpr int kLoadUnreadable = -1; ///< the file could not be read
inline constexpr int kLoadEmpty = -2;      ///< read, but nothing in it can be drawn
inline constexpr int kLoadTooWide = -3;    ///< far wider than the roll (a wrong unit)
inline constexpr int kLoadPending = -4;    ///< being read off the window thread; not yet there

/// Outcome of loading a task's drawing: 0 when the task has a drawing now (or had one
/// already), else one of the codes above. The messages are for the operator (none for the
/// queue's silent loads); the diagnostic says why the load failed.
using CTaskLoadResult = CResult;

/// The strip count beyond which a loaded drawing is not folded: a drawing more than this
/// many roll widths across is a wrong unit, not a garment marker. (The page's own limits,
/// COnePage::kMaxFoldStrips and kMaxFoldCutMarkCurves, guard memory for every fold.)
inline constexpr int32_t kMaxSplitStrips = 200;

/// Whether the path names a DXF file: more than 5 characters, the last three "DXF" in any
/// letter case. Characters are counted as the operator sees them (UTF-16 units).
bool IsDxfPath(std::string_view strPath);

/// SplitWidth (w) of the page (its box must be valid). Without a roll width (w <= 0)
/// nothing happens. A fold into more than kMaxSplitStrips strips, or one the page refuses
/// as too large, does not happen and the result is false.
bool SplitWidthChecked(COnePage& page, int32_t w);
/// The same with SplitWidthForCleaning, for a caller that cleans the curves right after.
bool SplitWidthCheckedForCleaning(COnePage& page, int32_t w);

/// The roll width PaperLenMm in plotter units, within the int32 range.
int32_t RollWidthUnits(const CSettings& settings);
/// The width strips are folded to: the roll's (PaperLenMm), or the widest drawing the
/// machine prints when that is narrower and known, so that a strip width set wider than
/// the machine prints never folds into strips that are then refused.
int32_t FoldWidthUnits(const CSettings& settings);

/// Reads and prepares the drawing of a task whose curve array is empty; a task that has
/// curves is left exactly as it is. DXF paths (IsDxfPath) load through LoadDxfTask,
/// others through the HP-GL reader; then both are cleaned, scaled by PltFileUnit, moved
/// to the origin, mirrored (AutoMirror) and, with SplitEn, turned (AutoRotate) and split
/// to the roll width. On success the print state and start position become 0; the caller
/// shows the change (the loader touches no window). bShowErrors lets an unreadable HP-GL
/// file produce EMsg::kOpenFileFailed with the file's path. Window thread only.
CTaskLoadResult LoadTaskDrawing(COnePage& task, const CSettings& settings, bool bShowErrors);

} // namespace inkvale
