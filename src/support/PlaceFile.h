// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace inkvale {

/// What PlaceWithoutReplacing did.
enum class EPlaced : uint8_t {
    kPlaced, ///< strFrom now has the name strTo
    kExists, ///< something already has the name strTo; nothing moved
    kFailed, ///< another error (errno tells); nothing moved
};

/// Gives the file or folder strFrom the name strTo unless something already has that name,
/// so that a file that appears there meanwhile is never replaced. Both names are on one file
/// system. Uses renameat2(RENAME_NOREPLACE); where the file system lacks it, link() and
/// unlink() for files (link fails when the name is taken) and, last, a look and rename() on
/// file systems without links, where only this program writes the target folder. errno is
/// EEXIST after kExists.
EPlaced PlaceWithoutReplacing(const std::string& strFrom, const std::string& strTo);

} // namespace inkvale
