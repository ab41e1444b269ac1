// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/Result.h"

#include <cstdint>
#include <ctime>
#include <string>

namespace inkvale::cli {

/// The text the program shows for a message, in the settings' language: Chinese for
/// Language 0, English for every other value (the command line carries no translations).
std::string CliText(const CMessage& message, int32_t nLanguage);

/// What the progress line adds while the machine does not answer during a job: "the
/// plotter does not answer since 14:02:11" (tSince in local time), in the settings' language.
std::string PlotterSilentText(std::time_t tSince, int32_t nLanguage);

/// Prints each of the result's messages on a line of its own on stderr.
void PrintMessages(const CResult& result, int32_t nLanguage);

} // namespace inkvale::cli
