// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/SettingsStore.h"

#include "support/PlaceFile.h"
#include "support/ProfileFile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <span>
#include <system_error>

namespace inkvale {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDefaultLogo = "欢迎使用喷墨绘图仪";
constexpr std::string_view kDefaultPatterns = "*.plt;*.hpg;";

// An integer setting: its key, its member and its default when the key is missing.
struct CIntKey {
    const char* m_pszKey;
    int32_t CSettings::*m_pMember;
    int32_t m_nDefault;
};

// The integer keys read after MachineIP, in reading order.
constexpr CIntKey kIntKeysAfterIP[] = {
    {"CommuVia", &CSettings::CommuVia, 0},
    {"AutoStartEnable", &CSettings::AutoStartEnable, 0},
    {"AutoRotate", &CSettings::AutoRotate, 1},
    {"AutoMirror", &CSettings::AutoMirror, 0},
    {"SpAutoClean", &CSettings::SpAutoClean, 1},
    {"PrintFileName", &CSettings::PrintFileName, 1},
    {"ManualAddFileType", &CSettings::ManualAddFileType, 1},
    {"PaperLenMm", &CSettings::PaperLenMm, 2100},
    {"SplitGap", &CSettings::SplitGap, 10},
    {"RatioSaveTo", &CSettings::RatioSaveTo, 0},
    {"XSizeExpect", &CSettings::XSizeExpect, 5000},
    {"XSizeMeasure", &CSettings::XSizeMeasure, 5000},
    {"YSizeExpect", &CSettings::YSizeExpect, 5000},
    {"YSizeMeasure", &CSettings::YSizeMeasure, 5000},
    {"AutoDelFinish", &CSettings::AutoDelFinish, 1},
    {"AutoPreview", &CSettings::AutoPreview, 1},
    {"SplitEn", &CSettings::SplitEn, 0},
    {"DxfUnit", &CSettings::DxfUnit, 40},
    // Read only, like PrintedKeepDays: the operator writes them when the defaults do not suit.
    {"DxfDrillMark", &CSettings::DxfDrillMark, 0},
    {"DxfDrillSize", &CSettings::DxfDrillSize, 30},
    {"DxfNotchLength", &CSettings::DxfNotchLength, 50},
    {"DxfMinTextHeight", &CSettings::DxfMinTextHeight, 15},
    {"PltMaxSizeMb", &CSettings::PltMaxSizeMb, 30},
    {"IBCleanThickness", &CSettings::IBCleanThickness, 3},
    {"UnitNoHintNextTime", &CSettings::UnitNoHintNextTime, 1},
    {"PltFileUnit", &CSettings::PltFileUnit, 0},
    {"BackupPrintedFiles", &CSettings::BackupPrintedFiles, 0},
    {"HistoryEnable", &CSettings::HistoryEnable, 0},
    // Read only: a save writes the keys of kSaveOrder and keeps this line where an operator
    // wrote it.
    {"PrintedKeepDays", &CSettings::PrintedKeepDays, 30},
    {"FileSettleMs", &CSettings::FileSettleMs, 2000},
};

struct CTextKey {
    const char* m_pszKey;
    std::string CSettings::*m_pMember;
};
constexpr CTextKey kFolderKeys[] = {
    {"AutoDir", &CSettings::AutoDir},
    {"ManDir", &CSettings::ManDir},
    {"BackupDir", &CSettings::BackupDir},
    {"HistoryFile", &CSettings::HistoryFile},
};
constexpr CIntKey kColourKeys[] = {
    {"ColorBg", &CSettings::ColorBg, 0x646464},
    {"ColorFr", &CSettings::ColorFr, 0x00FF00},
    {"ColorGrid", &CSettings::ColorGrid, 0x3C3C14},
    {"ColorCrv", &CSettings::ColorCrv, 0xFFFFFF},
};

// One stored key in the order of a save: an integer member, a text member, or MachineIP
// (both members null).
struct CSaveKey {
    const char* m_pszKey;
    int32_t CSettings::*m_pInt;
    std::string CSettings::*m_pText;
};
constexpr CSaveKey kSaveOrder[] = {
    {"CustomString", nullptr, &CSettings::CustomString},
    {"Language", &CSettings::Language, nullptr},
    {"MachineIP", nullptr, nullptr},
    {"CommuVia", &CSettings::CommuVia, nullptr},
    {"AutoStartEnable", &CSettings::AutoStartEnable, nullptr},
    {"AutoRotate", &CSettings::AutoRotate, nullptr},
    {"AutoMirror", &CSettings::AutoMirror, nullptr},
    {"PaperLenMm", &CSettings::PaperLenMm, nullptr},
    {"SplitGap", &CSettings::SplitGap, nullptr},
    {"RatioSaveTo", &CSettings::RatioSaveTo, nullptr},
    {"XSizeExpect", &CSettings::XSizeExpect, nullptr},
    {"XSizeMeasure", &CSettings::XSizeMeasure, nullptr},
    {"YSizeExpect", &CSettings::YSizeExpect, nullptr},
    {"YSizeMeasure", &CSettings::YSizeMeasure, nullptr},
    {"AutoDelFinish", &CSettings::AutoDelFinish, nullptr},
    {"AutoPreview", &CSettings::AutoPreview, nullptr},
    {"SpAutoClean", &CSettings::SpAutoClean, nullptr},
    {"PrintFileName", &CSettings::PrintFileName, nullptr},
    {"ManualAddFileType", &CSettings::ManualAddFileType, nullptr},
    {"SplitEn", &CSettings::SplitEn, nullptr},
    {"DxfUnit", &CSettings::DxfUnit, nullptr},
    {"PltMaxSizeMb", &CSettings::PltMaxSizeMb, nullptr},
    {"IBCleanThickness", &CSettings::IBCleanThickness, nullptr},
    {"UnitNoHintNextTime", &CSettings::UnitNoHintNextTime, nullptr},
    {"BackupPrintedFiles", &CSettings::BackupPrintedFiles, nullptr},
    {"HistoryEnable", &CSettings::HistoryEnable, nullptr},
    {"PltFileUnit", &CSettings::PltFileUnit, nullptr},
    {"PrtFileExtension", nullptr, &CSettings::PrtFileExtension},
    {"PGCmdType", &CSettings::PGCmdType, nullptr},
    {"AutoDir", nullptr, &CSettings::AutoDir},
    {"ManDir", nullptr, &CSettings::ManDir},
    {"BackupDir", nullptr, &CSettings::BackupDir},
    {"HistoryFile", nullptr, &CSettings::HistoryFile},
    {"ColorBg", &CSettings::ColorBg, nullptr},
    {"ColorFr", &CSettings::ColorFr, nullptr},
    {"ColorGrid", &CSettings::ColorGrid, nullptr},
    {"ColorCrv", &CSettings::ColorCrv, nullptr},
};

void ReadInts(const CProfileFile& ini, CSettings& settings, std::span<const CIntKey> keys) {
    for (const CIntKey& key : keys)
        settings.*key.m_pMember = ini.GetInt(kSettingsSection, key.m_pszKey, key.m_nDefault);
}

std::string WithSlash(std::string path) {
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path;
}

std::string ExecutableDir() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || !exe.has_parent_path())
        return {};
    return WithSlash(exe.parent_path().string());
}

std::string HomeDir() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return {};
}

// A default folder: used when the stored one is too short or is the installation directory
// itself. Only default folders are created.
void NormalizeFolder(std::string& folder, const std::string& strInstallDir, const char* pszName) {
    if (CProfileFile::CountChars(folder) >= 3) {
        folder = WithSlash(folder);
        if (folder != strInstallDir)
            return;
    }
    folder = strInstallDir + pszName + "/";
    std::error_code ec;
    fs::create_directories(fs::path(folder.substr(0, folder.size() - 1)), ec);
}

// The folder as an absolute path without '.', '..' or links where they exist, ending in '/'.
std::string CanonicalFolder(const std::string& strFolder) {
    std::error_code ec;
    const fs::path path = fs::weakly_canonical(fs::absolute(strFolder, ec), ec);
    return WithSlash(ec ? strFolder : path.string());
}

} // namespace

bool FolderWithin(const std::string& strFolder, const std::string& strOuter) {
    if (strFolder.empty() || strOuter.empty())
        return false;
    return CanonicalFolder(strFolder).starts_with(CanonicalFolder(strOuter));
}

namespace {

// Names MoveAside tries for one file before it leaves the file where it is.
constexpr int kMaxAsideNames = 100;

// Moves a settings file that cannot be read out of the way, under a name that says so and
// when, so that the operator's settings survive the next save for someone to mend. Returns
// the new path, or an empty text when the file could not be moved.
std::string MoveAside(const std::string& strPath) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char szStamp[32] = "";
    if (localtime_r(&now, &local))
        std::strftime(szStamp, sizeof szStamp, "%Y%m%d-%H%M%S", &local);
    const std::string strBase = strPath + ".unreadable-" + szStamp;
    for (int n = 1; n <= kMaxAsideNames; ++n) {
        const std::string strAside = n == 1 ? strBase : strBase + "-" + std::to_string(n);
        if (PlaceWithoutReplacing(strPath, strAside) == EPlaced::kPlaced)
            return strAside;
        if (errno != EEXIST)
            break;
    }
    return {};
}

} // namespace

std::string FindInstallDir() {
    const std::string strExeDir = ExecutableDir();
    if (!strExeDir.empty() && ::access(strExeDir.c_str(), W_OK) == 0)
        return strExeDir;
    const std::string strHome = HomeDir();
    if (strHome.empty())
        return strExeDir;
    const fs::path dir = fs::path(strHome) / ".local" / "share" / "Inkvale";
    std::error_code ec;
    fs::create_directories(dir, ec);
    return WithSlash(dir.string());
}

CSettingsLoadResult LoadSettings(CSettings& settings, CMachineParams& params,
                                 const std::string& strInstallDir) {
    settings.m_strInstallDir = WithSlash(strInstallDir);
    settings.m_strFontHzPath = settings.m_strInstallDir + "fon_hz.bin";
    settings.m_strFontEnPath = settings.m_strInstallDir + "fon_en.bin";

    CSettingsLoadResult result;
    const std::string strPath = settings.m_strInstallDir + kSettingsFileName;
    CProfileFile ini;
    const CProfileFile::ELoad eLoad = ini.LoadFile(strPath);
    result.m_bRead = eLoad == CProfileFile::ELoad::kRead;
    if (eLoad == CProfileFile::ELoad::kUnreadable) {
        // Running on the defaults is better than not running, but the defaults (the factory
        // machine address among them) must not be saved over the operator's file.
        const std::string strAside = MoveAside(strPath);
        const std::string& strKept = strAside.empty() ? strPath : strAside;
        result.m_nCode = -1;
        result.m_strDiag =
            strPath + " cannot be read; the default settings are in use and " +
            (strAside.empty() ? "the file stays where it is" : "the file was moved to " + strAside);
        result.m_arrMessages.push_back({EMsg::kSettingsUnreadable, {strKept}});
    }
    ReadSettings(ini, settings, params);
    NormalizeFolders(settings);
    return result;
}

void ReadSettings(const CProfileFile& ini, CSettings& settings, CMachineParams& params) {
    settings.CustomString = ini.GetString(kSettingsSection, "CustomString", "");
    if (CProfileFile::CountChars(settings.CustomString) < 2)
        settings.CustomString = kDefaultLogo;
    settings.Language = ini.GetInt(kSettingsSection, "Language", 0);
    params.SetMachineIP(static_cast<uint32_t>(
        ini.GetInt(kSettingsSection, "MachineIP", static_cast<int32_t>(kDefaultMachineIP))));
    ReadInts(ini, settings, kIntKeysAfterIP);
    settings.PrtFileExtension = ini.GetString(kSettingsSection, "PrtFileExtension", "");
    settings.PGCmdType = ini.GetInt(kSettingsSection, "PGCmdType", 0);
    for (const CTextKey& key : kFolderKeys)
        settings.*key.m_pMember = ini.GetString(kSettingsSection, key.m_pszKey, "");
    ReadInts(ini, settings, kColourKeys);
}

bool SaveSettings(const CSettings& settings, const CMachineParams& params) {
    const std::string strPath = settings.m_strInstallDir + kSettingsFileName;
    // Lines the program does not own (other sections, comments) survive a save.
    CProfileFile ini;
    if (ini.LoadFile(strPath) == CProfileFile::ELoad::kUnreadable)
        return false;
    WriteSettings(ini, settings, params);
    return ini.Save(strPath);
}

void WriteSettings(CProfileFile& ini, const CSettings& settings, const CMachineParams& params) {
    for (const CSaveKey& key : kSaveOrder) {
        if (key.m_pText)
            ini.SetString(kSettingsSection, key.m_pszKey, settings.*key.m_pText);
        else if (key.m_pInt)
            ini.SetInt(kSettingsSection, key.m_pszKey, settings.*key.m_pInt);
        else
            ini.SetInt(kSettingsSection, key.m_pszKey, static_cast<int32_t>(params.MachineIP()));
    }
}

void NormalizeFolders(CSettings& settings) {
    const std::string& strInstallDir = settings.m_strInstallDir;
    if (settings.PrtFileExtension.empty())
        settings.PrtFileExtension = kDefaultPatterns;
    NormalizeFolder(settings.AutoDir, strInstallDir, "AutoDir");
    NormalizeFolder(settings.ManDir, strInstallDir, "ManDir");
    NormalizeFolder(settings.BackupDir, strInstallDir, "Backup");
    // Backups in a hot folder would be taken as new drawings and printed again, over and
    // over: such a backup folder gives way to the default one.
    if (FolderWithin(settings.BackupDir, settings.AutoDir) ||
        FolderWithin(settings.BackupDir, settings.ManDir)) {
        settings.BackupDir.clear();
        NormalizeFolder(settings.BackupDir, strInstallDir, "Backup");
    }
    if (CProfileFile::CountChars(settings.HistoryFile) < 3)
        settings.HistoryFile = strInstallDir + "PrintHistory.csv";
}

} // namespace inkvale
