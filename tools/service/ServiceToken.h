// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace inkvale::service {

/// The file of the control token in the installation directory.
inline constexpr const char* kTokenFileName = "Service.token";

/// The control token: read from the installation directory, or made at the first start
/// (32 random bytes as hex) and stored there with mode 0600. "" with why in strError when
/// neither works, or when the file is a symbolic link or not this user's regular file.
std::string LoadOrCreateToken(const std::string& strInstallDir, std::string& strError);

/// 32 random bytes as 64 hex digits (the token, session identifiers).
std::string RandomToken();

/// Compares two texts in a time that does not depend on where they differ.
bool SameToken(const std::string& a, const std::string& b);

} // namespace inkvale::service
