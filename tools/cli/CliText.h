// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/Result.h"

#include <cstdint>
#include <ctime>
#include <string>

namespace inkvale::cli {

/// Chooses the language of the command line once, for the installation in strHome: Chinese
/// when its Inkvale.ini sets Language=0, English for any other Language value; without a
/// Language line, Chinese when the locale (LC_ALL, LC_MESSAGES, LANG) is a Chinese one,
/// else English.
void ChooseCliLanguage(const std::string& strHome);

/// Whether the command line speaks Chinese (ChooseCliLanguage).
bool CliSpeaksChinese();

/// The text the program shows for a message, in the command line's language (the
/// nLanguage argument, the settings' value, counts only before ChooseCliLanguage ran:
/// Chinese for 0). The command line carries no other translations.
std::string CliText(const CMessage& message, int32_t nLanguage);

/// The text of a message in English, whatever the language (JSON output for scripts).
std::string CliEnglishText(const CMessage& message);
/// What the progress line adds while the machine does not answer during a job: "the
/// plotter does not answer since 14:02:11" (tSince in local time), in the settings' language.
std::string PlotterSilentText(std::time_t tSince, int32_t nLanguage);

/// Prints each of the result's messages on a line of its own on stderr.
void PrintMessages(const CResult& result, int32_t nLanguage);

} // namespace inkvale::cli
