// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/LanguageTable.h"

#include <cstdint>
#include <string>

namespace inkvale {

/// The instance name: installation directory and executable name, every byte below 9 or
/// above 127 replaced by '_'.
std::string InstanceName(const std::string& strInstallDir, const std::string& strExe);
/// Name of the local socket a running instance listens on (a short hash of the instance
/// name: the name itself is a path, too long and with slashes for a socket name).
std::string InstanceServerName(const std::string& strInstallDir, const std::string& strExe);
/// Text of a start that finds the program already running and cannot reach it to show its
/// window: Chinese for language 0, English for every other (the translation is not loaded
/// for such a start). When the holder's process id is known (nHolder > 0) a second line
/// names it and the lock file strLockFile.
std::string AlreadyRunningText(int32_t nLanguage, long nHolder, const std::string& strLockFile);
/// The desktop program's installation directory option, spelled as the command-line tool
/// spells it: "--home DIR".
struct CHomeOption {
    std::string m_strDir;   ///< the directory as given; "" when the option was not given
    std::string m_strError; ///< wrong usage (no directory, or the option twice); "" when none
};
/// Takes "--home DIR" out of the arguments wherever it stands (argv[0], the program, is no
/// option), so that Qt and the task file argument never see it: the others move up in their
/// order, argc shrinks and argv[argc] becomes nullptr. On wrong usage argv stays as it was.
CHomeOption TakeHomeOption(int& argc, char** argv);

/// Title of the main window: the program, the installation directory's own name and the
/// machine the window drives, "Inkvale — plotter-2 (127.0.0.3)": the dotted MachineIP for
/// Ethernet, "USB" for either USB link (CommuVia 1 or 2). A directory without a name of its
/// own (the root) leaves the name out: "Inkvale (127.0.0.3)".
std::string MainWindowTitle(const std::string& strInstallDir, int32_t nCommuVia,
                            uint32_t nMachineIP);

} // namespace inkvale
