// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/Result.h"

#include <cstdint>
#include <string>

namespace inkvale::cli {

/// The text the program shows for a message, in the settings' language: Chinese for
/// Language 0, English for every other value (the command line carries no translations).
std::string CliText(const CMessage& message, int32_t nLanguage);

/// Prints each of the result's messages on a line of its own on stderr.
void PrintMessages(const CResult& result, int32_t nLanguage);

} // namespace inkvale::cli
