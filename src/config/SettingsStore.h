// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/MachineParams.h"
#include "config/Settings.h"

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

/// Reads strInstallDir + "Inkvale.ini" into `settings`, and its MachineIP into bytes 4..7
/// of the machine copy of `params`. Sets m_strInstallDir (a '/' is added when missing) and
/// the two font paths, applies the defaults of missing keys and the CustomString rule, then
/// runs NormalizeFolders. A missing or unreadable file gives the defaults; nothing is
/// reported. Returns true when the file was read. Window thread (or start-up) only.
bool LoadSettings(CSettings& settings, CMachineParams& params, const std::string& strInstallDir);

/// Writes every stored key in the fixed key order into settings.m_strInstallDir +
/// "Inkvale.ini", keeping the file's other lines. The file is replaced atomically, so a
/// file that cannot be written keeps its old contents. Returns false then; the program
/// reports nothing. Window thread only.
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
/// "PrintHistory.csv". Folders chosen by the operator stay as they are. Failures to create
/// are not reported.
void NormalizeFolders(CSettings& settings);

} // namespace inkvale
