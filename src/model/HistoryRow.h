// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>
#include <string>

namespace inkvale {

class COnePage;

/// One print-history line for the task, ended by a single '\n':
/// "YYYY-MM-DD_hh:mm:ss,PATH,1,len=L.LLmm,width=W.WWmm" with the given local time, the
/// task's path (UTF-8) and the length and width of its stored page box in millimetres.
/// Numbers never depend on the process locale. Line breaks inside the path become '_' so
/// that one task always gives exactly one line. A field holding a comma or a double quote
/// is quoted as RFC 4180 says (inner quotes doubled); a field starting with '=', '+', '-',
/// '@' or a tab is quoted with an apostrophe in front, so that a spreadsheet opening the
/// history shows it as text instead of running it as a formula. Other fields are written
/// as they are.
std::string FormatHistoryRow(const COnePage& page, const std::tm& local);

/// Appends FormatHistoryRow for the current local time to the file at path (UTF-8),
/// creating the file when it does not exist. Silent: when the file can be neither opened
/// nor created (a missing folder, no permission) the row is lost without notice. A path
/// that is a symbolic link (even a dangling one) or anything but a regular file is never
/// written to: the row is lost the same way.
void AppendHistoryRow(const COnePage& page, const std::string& path);

} // namespace inkvale
