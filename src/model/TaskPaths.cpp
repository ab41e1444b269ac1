// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/TaskPaths.h"

#include <algorithm>
#include <string_view>

namespace inkvale {

namespace {

constexpr std::string_view kMirrorSuffixes[] = {"(镜像)", "(Mirror)"};

bool IsDigits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

/// Length of the derived suffix at the end of the path, 0 when there is none.
size_t DerivedSuffixLength(std::string_view path) {
    for (std::string_view suffix : kMirrorSuffixes) {
        if (path.size() > suffix.size() && path.ends_with(suffix))
            return suffix.size();
    }
    if (!path.ends_with(')'))
        return 0;
    const size_t nOpen = path.rfind('(');
    if (nOpen == std::string_view::npos || nOpen == 0)
        return 0;
    const std::string_view inner = path.substr(nOpen + 1, path.size() - nOpen - 2);
    const size_t nSlash = inner.find('/');
    if (nSlash == std::string_view::npos || !IsDigits(inner.substr(0, nSlash)) ||
        !IsDigits(inner.substr(nSlash + 1)))
        return 0;
    return path.size() - nOpen;
}

} // namespace

std::string SourcePathOf(const std::string& strPath) {
    std::string_view path(strPath);
    for (size_t n = DerivedSuffixLength(path); n != 0; n = DerivedSuffixLength(path))
        path.remove_suffix(n);
    return std::string(path);
}

bool IsDerivedPath(const std::string& strPath) {
    return DerivedSuffixLength(strPath) != 0;
}

} // namespace inkvale
