// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "support/Result.h"

#include <string>

namespace inkvale {

class CProfileFile;

/// Name of the settings file inside the installation directory.
inline constexpr const char* kSettingsFileName = "Inkvale.ini";
/// The only section of the settings file.
inline constexpr const char* kSettingsSection = "Para";

/// The installation directory, ending in '/': the directory of the running executable, or
/// ~/.local/share/Inkvale/ (created) when that directory is not writable. Empty only when
/// neither can be found.
std::string FindInstallDir();

/// Outcome of LoadSettings. Code 0 when the settings file was read, or when there was none
/// (a first start). Code -1 with EMsg::kSettingsUnreadable when a file was there but could
/// not be read (CProfileFile::ELoad::kUnreadable); its argument %1 is where that file is
/// kept now. Either way the settings hold what was read, or the defaults.
struct [[nodiscard]] CSettingsLoadResult : CResult {
    bool m_bRead = false; ///< the file was read
    /// Whether the file was read, so that a caller asking only that can test the result.
    explicit operator bool() const { return m_bRead; }
};

/// Reads strInstallDir + "Inkvale.ini" into `settings`, and its MachineIP into bytes 4..7
/// of the machine copy of `params`. Sets m_strInstallDir (a '/' is added when missing) and
/// the two font paths, applies the defaults of missing keys and the CustomString rule, then
/// runs NormalizeFolders. A missing file gives the defaults. A file that is there but cannot
/// be read (larger than CProfileFile::kMaxFileBytes, not a regular file, no permission) also
/// gives the defaults, but is first renamed to "Inkvale.ini.unreadable-YYYYMMDD-HHMMSS" (a
/// "-2", "-3" ... added when that name is taken, never replacing anything), so that the next
/// save starts a new file and the operator's file survives; the result says where it is. When
/// it cannot be renamed it stays where it is, and SaveSettings refuses to replace it.
/// Window thread (or start-up) only.
CSettingsLoadResult LoadSettings(CSettings& settings, CMachineParams& params,
                                 const std::string& strInstallDir);

/// Writes every stored key in the fixed key order into settings.m_strInstallDir +
/// "Inkvale.ini", keeping the file's other lines. The file is replaced atomically, so a
/// file that cannot be written keeps its old contents. A file that is there but cannot be
/// read is never replaced, since its settings would be lost. Returns false when nothing was
/// saved; the program reports nothing. Window thread only.
bool SaveSettings(const CSettings& settings, const CMachineParams& params);

/// Reads every settings key of a parsed profile into `settings` (MachineIP into the machine
/// copy of `params`) with the defaults and the CustomString rule; no folder rules.
void ReadSettings(const CProfileFile& ini, CSettings& settings, CMachineParams& params);

/// Writes every stored key, in the fixed key order, into a profile.
void WriteSettings(CProfileFile& ini, const CSettings& settings, const CMachineParams& params);

/// Folder rules: an empty PrtFileExtension becomes "*.plt;*.hpg;"; AutoDir, ManDir and
/// BackupDir shorter than 3 characters or equal to the installation directory become
/// installation directory + "AutoDir/", "ManDir/", "Backup/" and are created when missing;
/// a HistoryFile shorter than 3 characters becomes installation directory +
/// "PrintHistory.csv". Folders chosen by the operator stay as they are, except a BackupDir
/// that is the automatic or manual folder or lies inside one: its backups would be printed
/// again, so it becomes the default folder. Failures to create are not reported.
void NormalizeFolders(CSettings& settings);

/// Whether strFolder is strOuter or lies inside it, after resolving '.', '..' and links.
bool FolderWithin(const std::string& strFolder, const std::string& strOuter);

} // namespace inkvale
