// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/TaskLists.h"
#include "model/TaskPaths.h"

#include <cstdint>
#include <string>

namespace inkvale {

// Tasks made from another task's drawing: the pieces of a split along the paper feed and
// mirrored copies. Their drawing lives only in memory; their path is the path of the file
// they came from followed by a suffix, "(2/3)" for the second of three pieces, "(镜像)" or
// "(Mirror)" for a mirrored copy (suffixes add up: "a.plt(1/2)(Mirror)"). A piece's suffix
// holds a '/', which no file name can, so a derived path never names a real file, a rescan
// of a hot folder never takes a derived task for its file, and the file a task came from
// is always found again from the path alone, also after an undo or from a task file.
// Window thread only.

/// The suffix of piece k of n: "(k/n)".
std::string PieceSuffix(int k, int n);
/// The name shown for a task's path: the file name of its source with the derived suffixes.
std::string TaskNameOf(const std::string& strPath);

/// Codes of SplitTaskAlongFeed.
inline constexpr int kSplitNoTask = -1;     ///< no task has the id
inline constexpr int kSplitTooShort = -2;   ///< the length is under 100 mm
inline constexpr int kSplitNotShorter = -3; ///< the length is not shorter than the drawing

/// Shortest split length in plotter units (100 mm).
inline constexpr int32_t kMinSplitLength = 4000;

/// Cuts the task's drawing along the paper feed into pieces of nLength plotter units and
/// a remainder. The pieces and the remainder (when it has curves) replace the task at its
/// place in its list, in order, named "(1/n)" .. "(n/n)"; each keeps the source file's
/// time and size, so that a rescan knows the file and a delete recognises it. The task
/// object becomes the last piece, or leaves the list when nothing remains of it.
/// Fails without changing anything when the length is under 100 mm or not shorter than
/// the drawing (within 1 mm), with the message for the operator.
CResult SplitTaskAlongFeed(CTaskLists& doc, uint64_t nTaskId, int32_t nLength);

/// Inserts a mirrored copy of the task, its path and name followed by strSuffix, at the
/// front of the manual-folder list. The copy of the task, or nullptr when no task has the
/// id.
COnePage* InsertMirroredCopy(CTaskLists& doc, uint64_t nTaskId, const std::string& strSuffix);

} // namespace inkvale
