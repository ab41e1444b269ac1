// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/Settings.h"

#include <string>
#include <vector>

namespace inkvale::cli {

/// What every command gets: the installation directory in use (ends in '/') and the
/// arguments after the command name.
struct CCliContext {
    std::string m_strHome;
    std::vector<std::string> m_args;
};

/// Exit statuses of inkvale-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; ///< input could not be read, loaded or printed
inline constexpr int kExitUsage = 2;

/// A command returns its exit status; it prints its own results to stdout and the
/// message the program would show to stderr.
using CliCommandFn = int (*)(const CCliContext&);

struct CCliCommand {
    const char* m_pszName;
    const char* m_pszUsage; ///< one line for the usage text
    /// The command's own usage, for `COMMAND --help` (stdout) and after wrong usage
    /// (stderr): its "usage:" line first, then what it does and its options.
    const char* m_pszHelp;
    CliCommandFn m_fn;
};

// The commands, one source file each.
int RunTasks(const CCliContext& ctx);
int RunCurves(const CCliContext& ctx);
int RunPreview(const CCliContext& ctx);
int RunRender(const CCliContext& ctx);
int RunBands(const CCliContext& ctx);
int RunInfo(const CCliContext& ctx);
int RunPrint(const CCliContext& ctx);
int RunResume(const CCliContext& ctx);
int RunJobs(const CCliContext& ctx);

/// The commands, in the order the usage text lists them (defined in CliMain.cpp).
const std::vector<CCliCommand>& CliCommands();

/// After wrong usage: prints the command's own usage to stderr and returns kExitUsage.
int CommandUsageError(const char* pszName);

/// Sets the widest drawing the machine of the built-in parameter block prints into the
/// settings (m_nPrintableWidthMm), so that curves, preview and info fold a DXF drawing wider
/// than the roll alike, into strips the machine prints.
void SetPrintableWidth(CSettings& settings);

} // namespace inkvale::cli
