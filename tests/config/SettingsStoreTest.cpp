// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/SettingsStore.h"

#include "common/TestPaths.h"
#include "support/ProfileFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace inkvale {
namespace {

namespace fs = std::filesystem;
using test::CScratchDir;
using test::ReadFileBytes;
using test::WriteFileBytes;

// Every test keeps the machine address on loopback.
constexpr const char* kLoopbackIni = "[Para]\nMachineIP=16777343\n";

class SettingsStore : public ::testing::Test {
protected:
    std::string Home() const { return m_dir.Path().string() + "/"; }
    std::string IniPath() const { return m_dir.File("Inkvale.ini"); }
    void WriteIni(const std::string& text) { ASSERT_TRUE(WriteFileBytes(IniPath(), text)); }
    bool Load() { return static_cast<bool>(LoadSettings(m_settings, m_params, Home())); }

    CScratchDir m_dir;
    CSettings m_settings;
    CMachineParams m_params;
};

TEST_F(SettingsStore, FirstStartGivesTheDefaultsAndCreatesTheFolders) {
    const CSettingsLoadResult result = LoadSettings(m_settings, m_params, Home());
    EXPECT_FALSE(result);
    // No file is no failure: nothing to tell the operator.
    EXPECT_TRUE(result.Ok());
    EXPECT_TRUE(result.m_arrMessages.empty());
    const CSettings& s = m_settings;
    EXPECT_EQ(s.CustomString, "欢迎使用喷墨绘图仪");
    EXPECT_EQ(s.CommuVia, 0);
    EXPECT_EQ(m_params.MachineIP(), kDefaultMachineIP);
    EXPECT_EQ(FormatMachineIP(m_params.MachineIP()), "192.168.1.175");
    EXPECT_EQ(s.ColorBg, 0x646464); // the constructor's 0 is not the file default
    EXPECT_EQ(s.PrtFileExtension, "*.plt;*.hpg;");
    EXPECT_EQ(s.AutoDir, Home() + "AutoDir/");
    EXPECT_EQ(s.ManDir, Home() + "ManDir/");
    EXPECT_EQ(s.BackupDir, Home() + "Backup/");
    EXPECT_EQ(s.HistoryFile, Home() + "PrintHistory.csv");
    EXPECT_EQ(s.m_strInstallDir, Home());
    EXPECT_EQ(s.m_strFontHzPath, Home() + "fon_hz.bin");
    EXPECT_EQ(s.m_strFontEnPath, Home() + "fon_en.bin");
    for (const char* folder : {"AutoDir", "ManDir", "Backup"})
        EXPECT_TRUE(fs::is_directory(m_dir.Path() / folder)) << folder;
    EXPECT_FALSE(fs::exists(s.HistoryFile));
}

TEST_F(SettingsStore, FirstSaveWritesAll37KeysInOrder) {
    Load();
    m_params.SetMachineIP(16777343);
    ASSERT_TRUE(SaveSettings(m_settings, m_params));
    const std::string expected = "[Para]\n"
                                 "CustomString=欢迎使用喷墨绘图仪\n"
                                 "Language=0\n"
                                 "MachineIP=16777343\n"
                                 "CommuVia=0\n"
                                 "AutoStartEnable=0\n"
                                 "AutoRotate=1\n"
                                 "AutoMirror=0\n"
                                 "PaperLenMm=2100\n"
                                 "SplitGap=10\n"
                                 "RatioSaveTo=0\n"
                                 "XSizeExpect=5000\n"
                                 "XSizeMeasure=5000\n"
                                 "YSizeExpect=5000\n"
                                 "YSizeMeasure=5000\n"
                                 "AutoDelFinish=1\n"
                                 "AutoPreview=1\n"
                                 "SpAutoClean=1\n"
                                 "PrintFileName=1\n"
                                 "ManualAddFileType=1\n"
                                 "SplitEn=0\n"
                                 "DxfUnit=40\n"
                                 "PltMaxSizeMb=30\n"
                                 "IBCleanThickness=3\n"
                                 "UnitNoHintNextTime=1\n"
                                 "BackupPrintedFiles=0\n"
                                 "HistoryEnable=0\n"
                                 "PltFileUnit=0\n"
                                 "PrtFileExtension=*.plt;*.hpg;\n"
                                 "PGCmdType=0\n"
                                 "AutoDir=" +
                                 Home() + "AutoDir/\n" + "ManDir=" + Home() + "ManDir/\n" +
                                 "BackupDir=" + Home() + "Backup/\n" + "HistoryFile=" + Home() +
                                 "PrintHistory.csv\n"
                                 "ColorBg=6579300\n"
                                 "ColorFr=65280\n"
                                 "ColorGrid=3947540\n"
                                 "ColorCrv=16777215\n";
    EXPECT_EQ(ReadFileBytes(IniPath()), expected);
}

TEST_F(SettingsStore, ReadingRules) {
    struct Case {
        const char* name;
        std::string lines; // after the header
        std::string customString;
        int32_t paperLenMm;
        int32_t colorBg;
        uint32_t machineIP;
    };
    const std::string logo = "欢迎使用喷墨绘图仪";
    const Case cases[] = {
        {"one-character logo", "CustomString=A\n", logo, 2100, 0x646464, kDefaultMachineIP},
        {"one CJK character", "CustomString=中\n", logo, 2100, 0x646464, kDefaultMachineIP},
        {"two characters kept", "CustomString=AB\n", "AB", 2100, 0x646464, kDefaultMachineIP},
        {"blank value", "CustomString=   \nPaperLenMm=\n", logo, 2100, 0x646464, kDefaultMachineIP},
        {"stored address", "MachineIP=-1358845760\n", logo, 2100, 0x646464, 0xAF01A8C0u},
        {"loopback", "MachineIP=16777343\n", logo, 2100, 0x646464, 16777343u},
        {"leading digits", "PaperLenMm=1500mm\nColorBg=0\n", logo, 1500, 0, kDefaultMachineIP},
        {"no range test", "PaperLenMm=-7\n", logo, -7, 0x646464, kDefaultMachineIP},
        {"case-insensitive key", "paperlenmm=900\n", logo, 900, 0x646464, kDefaultMachineIP},
    };
    for (const Case& c : cases) {
        WriteIni("[Para]\n" + c.lines);
        CSettings settings;
        CMachineParams params;
        EXPECT_TRUE(LoadSettings(settings, params, Home())) << c.name;
        EXPECT_EQ(settings.CustomString, c.customString) << c.name;
        EXPECT_EQ(settings.PaperLenMm, c.paperLenMm) << c.name;
        EXPECT_EQ(settings.ColorBg, c.colorBg) << c.name;
        EXPECT_EQ(params.MachineIP(), c.machineIP) << c.name;
    }
    // The stored address is bytes 192, 168, 1, 175 of the block, first octet first.
    WriteIni("[Para]\nMachineIP=-1358845760\n");
    Load();
    EXPECT_EQ(m_params.MachineByte(4), 192);
    EXPECT_EQ(m_params.MachineByte(7), 175);
}

TEST_F(SettingsStore, StartUpOrderKeepsTheStoredAddressThroughTheReset) {
    WriteIni(kLoopbackIni);
    ASSERT_TRUE(Load());
    m_params.ResetMachineParams();
    EXPECT_EQ(m_params.MachineIP(), 16777343u);
    EXPECT_EQ(m_params.HeadPos(1), 180);
}

TEST_F(SettingsStore, RoundTripKeepsEveryValueAndNonAsciiTexts) {
    WriteIni(kLoopbackIni);
    Load();
    CSettings& s = m_settings;
    s.CustomString = "Ünïcødé 中文 ✓ Привет";
    s.AutoDir = Home() + "自动/";
    s.ManDir = Home() + "Çalışma/";
    s.BackupDir = Home() + "Резерв/";
    s.HistoryFile = Home() + "история.csv";
    s.PrtFileExtension = "*.plt;*.HPG;*.spl;";
    s.Language = 5;
    s.CommuVia = 2;
    s.RatioSaveTo = 1;
    s.XSizeMeasure = 4990;
    s.ColorCrv = 0x123456;
    s.PltMaxSizeMb = -1;
    s.PGCmdType = 1;
    ASSERT_TRUE(SaveSettings(s, m_params));

    CSettings loaded;
    CMachineParams params;
    ASSERT_TRUE(LoadSettings(loaded, params, Home()));
    EXPECT_EQ(loaded.CustomString, s.CustomString);
    EXPECT_EQ(loaded.AutoDir, s.AutoDir);
    EXPECT_EQ(loaded.ManDir, s.ManDir);
    EXPECT_EQ(loaded.BackupDir, s.BackupDir);
    EXPECT_EQ(loaded.HistoryFile, s.HistoryFile);
    EXPECT_EQ(loaded.PrtFileExtension, s.PrtFileExtension);
    EXPECT_EQ(loaded.Language, 5);
    EXPECT_EQ(loaded.CommuVia, 2);
    EXPECT_EQ(loaded.RatioSaveTo, 1);
    EXPECT_EQ(loaded.XSizeMeasure, 4990);
    EXPECT_EQ(loaded.ColorCrv, 0x123456);
    EXPECT_EQ(loaded.PltMaxSizeMb, -1);
    EXPECT_EQ(loaded.PGCmdType, 1);
    EXPECT_EQ(params.MachineIP(), 16777343u);
    // Folders chosen by the operator are not created.
    EXPECT_FALSE(fs::exists(m_dir.Path() / "自动"));
}

TEST_F(SettingsStore, SaveKeepsForeignLinesAndKeyPositions) {
    WriteIni("; written by hand\r\n[Para]\r\nColorCrv=1\r\nMachineIP=16777343\r\nMine=x\r\n"
             "\r\n[Other]\r\nLanguage=4\r\n");
    Load();
    m_settings.ColorCrv = 2;
    ASSERT_TRUE(SaveSettings(m_settings, m_params));
    const std::string text = ReadFileBytes(IniPath());
    EXPECT_TRUE(text.starts_with("; written by hand\r\n[Para]\r\nColorCrv=2\r\n"
                                 "MachineIP=16777343\r\nMine=x\r\nCustomString="))
        << text;
    EXPECT_TRUE(text.ends_with("ColorGrid=3947540\r\n\r\n[Other]\r\nLanguage=4\r\n")) << text;
    CProfileFile ini;
    ASSERT_TRUE(ini.Load(IniPath()));
    EXPECT_EQ(ini.GetString("Para", "Mine", ""), "x");
}

TEST_F(SettingsStore, SaveIntoAMissingFolderFailsQuietly) {
    m_settings.m_strInstallDir = Home() + "gone/";
    EXPECT_FALSE(SaveSettings(m_settings, m_params));
    EXPECT_FALSE(fs::exists(m_dir.Path() / "gone"));
}

// Anything at the settings file's name that cannot be read as one is renamed aside before
// the program runs on the defaults, so that saving the defaults cannot destroy it.
TEST(SettingsStoreUnreadable, FileIsKeptAsideAndReported) {
    const std::string oversized =
        std::string(kLoopbackIni) + "CommuVia=2\n" + std::string(CProfileFile::kMaxFileBytes, ';');
    struct Case {
        const char* name;
        std::function<void(const std::string&)> make;
        std::string bytes; // what the file kept aside holds, for regular files
    };
    const Case cases[] = {
        {"oversized", [&](const std::string& p) { ASSERT_TRUE(WriteFileBytes(p, oversized)); },
         oversized},
        {"folder", [](const std::string& p) { ASSERT_TRUE(fs::create_directory(p)); }, ""},
        {"fifo", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, ""},
    };
    for (const Case& c : cases) {
        CScratchDir dir;
        const std::string home = dir.Path().string() + "/";
        const std::string ini = home + "Inkvale.ini";
        c.make(ini);
        CSettings settings;
        CMachineParams params;
        const CSettingsLoadResult result = LoadSettings(settings, params, home);
        EXPECT_FALSE(result) << c.name;
        EXPECT_FALSE(result.Ok()) << c.name;
        ASSERT_EQ(result.m_arrMessages.size(), 1u) << c.name;
        const CMessage& message = result.m_arrMessages[0];
        EXPECT_EQ(message.m_eId, EMsg::kSettingsUnreadable) << c.name;
        ASSERT_EQ(message.m_arrArgs.size(), 1u) << c.name;
        const std::string aside = message.m_arrArgs[0];
        // "Inkvale.ini.unreadable-YYYYMMDD-HHMMSS"
        const std::string prefix = ini + ".unreadable-";
        ASSERT_TRUE(aside.starts_with(prefix)) << aside;
        const std::string stamp = aside.substr(prefix.size());
        EXPECT_EQ(stamp.size(), 15u) << stamp;
        EXPECT_EQ(stamp.find_first_not_of("0123456789-"), std::string::npos) << stamp;
        EXPECT_EQ(stamp.find('-'), 8u) << stamp;
        EXPECT_FALSE(fs::exists(fs::symlink_status(ini))) << c.name;
        EXPECT_EQ(params.MachineIP(), kDefaultMachineIP) << c.name;
        EXPECT_EQ(settings.CommuVia, 0) << c.name;

        // The next save starts a new file; the kept one stays as it was.
        params.SetMachineIP(16777343);
        settings.CommuVia = 1;
        ASSERT_TRUE(SaveSettings(settings, params)) << c.name;
        if (!c.bytes.empty())
            EXPECT_EQ(ReadFileBytes(aside), c.bytes) << c.name;
        else
            EXPECT_TRUE(fs::exists(aside)) << c.name;
        CSettings again;
        CMachineParams againParams;
        const CSettingsLoadResult reloaded = LoadSettings(again, againParams, home);
        EXPECT_TRUE(reloaded) << c.name;
        EXPECT_TRUE(reloaded.Ok()) << c.name;
        EXPECT_EQ(again.CommuVia, 1) << c.name;
    }
}

TEST_F(SettingsStore, KeptFilesNeverReplaceOneAnother) {
    const std::string first =
        "[Para]\nCommuVia=1\n" + std::string(CProfileFile::kMaxFileBytes, ';');
    const std::string second =
        "[Para]\nCommuVia=2\n" + std::string(CProfileFile::kMaxFileBytes, ';');
    WriteIni(first);
    const CSettingsLoadResult one = LoadSettings(m_settings, m_params, Home());
    WriteIni(second);
    const CSettingsLoadResult two = LoadSettings(m_settings, m_params, Home());
    ASSERT_TRUE(one.Says(EMsg::kSettingsUnreadable));
    ASSERT_TRUE(two.Says(EMsg::kSettingsUnreadable));
    const std::string firstAside = one.m_arrMessages[0].m_arrArgs.at(0);
    const std::string secondAside = two.m_arrMessages[0].m_arrArgs.at(0);
    EXPECT_NE(firstAside, secondAside);
    EXPECT_EQ(ReadFileBytes(firstAside), first);
    EXPECT_EQ(ReadFileBytes(secondAside), second);
}

// Saving never replaces a file it cannot read, whether or not a load moved it aside first.
TEST_F(SettingsStore, SaveNeverReplacesAnUnreadableFile) {
    const std::string big =
        std::string(kLoopbackIni) + std::string(CProfileFile::kMaxFileBytes, ';');
    WriteIni(big);
    m_settings.m_strInstallDir = Home();
    EXPECT_FALSE(SaveSettings(m_settings, m_params));
    EXPECT_EQ(ReadFileBytes(IniPath()), big);

    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
    // A folder the file cannot be renamed in: it stays, is reported where it is, and is kept.
    ASSERT_EQ(::chmod(m_dir.Path().c_str(), 0500), 0);
    const CSettingsLoadResult result = LoadSettings(m_settings, m_params, Home());
    const bool bSaved = SaveSettings(m_settings, m_params);
    ASSERT_EQ(::chmod(m_dir.Path().c_str(), 0700), 0);
    ASSERT_TRUE(result.Says(EMsg::kSettingsUnreadable));
    EXPECT_EQ(result.m_arrMessages[0].m_arrArgs, std::vector<std::string>{IniPath()});
    EXPECT_FALSE(bSaved);
    EXPECT_EQ(ReadFileBytes(IniPath()), big);
}

TEST_F(SettingsStore, FolderRules) {
    const std::string home = Home();
    struct Case {
        std::string stored;
        std::string result;
        bool created; // the result folder exists afterwards
    };
    const Case cases[] = {
        {"", home + "AutoDir/", true},
        {"ab", home + "AutoDir/", true},
        {"中文", home + "AutoDir/", true},                // 2 characters, 6 bytes
        {home, home + "AutoDir/", true},                  // the installation directory itself
        {m_dir.Path().string(), home + "AutoDir/", true}, // ... without its '/'
        {home + "Hot/", home + "Hot/", false}, // chosen by the operator: kept, not created
        {home + "Hot", home + "Hot/", false},  // a folder always ends in '/'
        {home.substr(0, home.size() - 1) + "X/", home.substr(0, home.size() - 1) + "X/", false},
    };
    for (const Case& c : cases) {
        fs::remove_all(m_dir.Path() / "AutoDir");
        CSettings s;
        s.m_strInstallDir = home;
        s.AutoDir = c.stored;
        NormalizeFolders(s);
        EXPECT_EQ(s.AutoDir, c.result) << c.stored;
        EXPECT_EQ(fs::is_directory(c.result), c.created) << c.stored;
    }

    CSettings s;
    s.m_strInstallDir = home;
    s.PrtFileExtension = "*.plt";
    s.HistoryFile = "h.";
    s.ManDir = home;
    s.BackupDir = "/x";
    NormalizeFolders(s);
    EXPECT_EQ(s.PrtFileExtension, "*.plt"); // only an empty list is replaced
    EXPECT_EQ(s.HistoryFile, home + "PrintHistory.csv");
    EXPECT_EQ(s.ManDir, home + "ManDir/");
    EXPECT_EQ(s.BackupDir, home + "Backup/");
    s.HistoryFile = "h.c";
    NormalizeFolders(s);
    EXPECT_EQ(s.HistoryFile, "h.c");
}

// Backups written into a hot folder would be taken as new drawings and printed again and
// again: a backup folder that is a hot folder, or lies inside one, gives way to the default.
TEST_F(SettingsStore, BackupFolderIsNeverAHotFolder) {
    const std::string home = Home();
    fs::create_directories(m_dir.Path() / "Hot" / "sub");
    struct Case {
        std::string backup;
        std::string result;
    };
    const Case cases[] = {
        {home + "Hot/", home + "Backup/"},          // the automatic folder itself
        {home + "Hot", home + "Backup/"},           // ... without its '/'
        {home + "Hot/sub/", home + "Backup/"},      // inside it
        {home + "Hot/../Hot/./", home + "Backup/"}, // spelled otherwise
        {home + "Man/", home + "Backup/"},          // the manual folder
        {home + "Kept/", home + "Kept/"},           // beside them: kept
        {home + "HotX/", home + "HotX/"},           // a name that only starts alike
    };
    for (const Case& c : cases) {
        CSettings s;
        s.m_strInstallDir = home;
        s.AutoDir = home + "Hot/";
        s.ManDir = home + "Man/";
        s.BackupDir = c.backup;
        NormalizeFolders(s);
        EXPECT_EQ(s.BackupDir, c.result) << c.backup;
    }
}

TEST(SettingsInstallDir, IsTheExecutablesFolderWhenWritable) {
    const std::string dir = FindInstallDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    const fs::path exe = fs::read_symlink("/proc/self/exe");
    if (::access(exe.parent_path().c_str(), W_OK) == 0)
        EXPECT_EQ(dir, exe.parent_path().string() + "/");
    else
        EXPECT_TRUE(dir.ends_with("/.local/share/Inkvale/")) << dir;
}

TEST(SettingsRecord, ConstructorValuesAndCopies) {
    CSettings s;
    EXPECT_EQ(s.ColorBg, 0);
    EXPECT_EQ(s.ColorGrid, 0x3C3C14);
    EXPECT_EQ(s.AutoRotate, 1);
    EXPECT_EQ(s.IBCleanThickness, 3);
    EXPECT_EQ(s.YSizeMeasure, 5000);
    EXPECT_EQ(s.SpAutoClean, 0);
    EXPECT_EQ(s.PltMaxSizeMb, 0);
    EXPECT_TRUE(s.CustomString.empty());
    s.m_nClosing = 1;
    const CSettings copy = s;
    EXPECT_EQ(copy.m_nClosing, 1);
}

} // namespace
} // namespace inkvale
