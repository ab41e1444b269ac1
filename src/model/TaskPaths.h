// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace inkvale {

// A task made from another task's drawing (a piece of a split, a mirrored copy) has the
// path of the file it came from followed by a suffix: "(2/3)", "(镜像)" or "(Mirror)",
// suffixes adding up ("a.plt(1/2)(Mirror)"). A piece's suffix holds a '/', which no file
// name can, so a derived path never names a real file.

/// The path of the file a task's drawing came from: strPath without derived suffixes.
std::string SourcePathOf(const std::string& strPath);
/// Whether the path is that of a derived task.
bool IsDerivedPath(const std::string& strPath);

} // namespace inkvale
