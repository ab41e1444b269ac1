// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/PlaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace inkvale {

namespace {

EPlaced Taken() {
    errno = EEXIST;
    return EPlaced::kExists;
}

// link() and unlink() in place of a renaming that cannot refuse a taken name; the second
// name is removed again when the first cannot go. Folders and link-less shares answer EPERM.
EPlaced PlaceByLink(const std::string& strFrom, const std::string& strTo) {
    if (::link(strFrom.c_str(), strTo.c_str()) != 0)
        return errno == EEXIST ? Taken() : EPlaced::kFailed;
    if (::unlink(strFrom.c_str()) == 0)
        return EPlaced::kPlaced;
    const int nErr = errno;
    (void)::unlink(strTo.c_str());
    errno = nErr;
    return EPlaced::kFailed;
}

} // namespace

EPlaced PlaceWithoutReplacing(const std::string& strFrom, const std::string& strTo) {
    if (::renameat2(AT_FDCWD, strFrom.c_str(), AT_FDCWD, strTo.c_str(), RENAME_NOREPLACE) == 0)
        return EPlaced::kPlaced;
    if (errno == EEXIST || errno == ENOTEMPTY)
        return Taken();
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return EPlaced::kFailed;
    const EPlaced linked = PlaceByLink(strFrom, strTo);
    if (linked != EPlaced::kFailed || (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS))
        return linked;
    struct stat st {};
    if (::lstat(strTo.c_str(), &st) == 0)
        return Taken();
    return std::rename(strFrom.c_str(), strTo.c_str()) == 0 ? EPlaced::kPlaced : EPlaced::kFailed;
}

} // namespace inkvale
