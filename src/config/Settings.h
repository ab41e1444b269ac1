// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace inkvale {

/// An int32 that one thread writes while others read it, and that still lets the record
/// holding it be copied (a copy takes the current value).
class CSharedInt {
public:
    CSharedInt(int32_t n = 0) : m_n(n) {}
    CSharedInt(const CSharedInt& other) : m_n(other.Load()) {}
    CSharedInt& operator=(const CSharedInt& other) {
        Store(other.Load());
        return *this;
    }
    CSharedInt& operator=(int32_t n) {
        Store(n);
        return *this;
    }
    operator int32_t() const { return Load(); }
    int32_t Load() const { return m_n.load(std::memory_order_acquire); }
    void Store(int32_t n) { m_n.store(n, std::memory_order_release); }

private:
    std::atomic<int32_t> m_n;
};

/// The operator's settings. Members named after an ini key are stored in Inkvale.ini under
/// that key (see SettingsStore.h); the m_-prefixed members are derived or run-time only.
/// Texts are UTF-8; folders end in '/'. Colours are 0x00BBGGRR values.
///
/// Threads: only the window thread writes the record, except m_nClosing, which the window
/// thread sets at close while worker threads read it (hence CSharedInt). Worker threads that
/// need other values should read them at job start on the window thread.
struct CSettings {
    std::string PrtFileExtension;  ///< hot-folder patterns, each followed by ';'
    std::string ManDir;            ///< manual hot folder, ends in '/'
    std::string AutoDir;           ///< automatic hot folder, ends in '/'
    std::string BackupDir;         ///< backups of started jobs, ends in '/'
    std::string m_strInstallDir;   ///< installation directory, ends in '/' (not stored)
    std::string m_strFontHzPath;   ///< m_strInstallDir + "fon_hz.bin" (not stored)
    std::string m_strFontEnPath;   ///< m_strInstallDir + "fon_en.bin" (not stored)
    std::string CustomString;      ///< logo text printed by the raster part
    std::string HistoryFile;       ///< print history CSV file
    int32_t ColorBg = 0;           ///< preview background (the ini default differs: 0x646464)
    int32_t ColorFr = 0x00FF00;    ///< preview paper frame, rulers and coordinates
    int32_t ColorGrid = 0x3C3C14;  ///< preview grid
    int32_t ColorCrv = 0xFFFFFF;   ///< preview curves
    int32_t AutoStartEnable = 0;   ///< automatic-folder tasks start by themselves
    int32_t AutoRotate = 1;        ///< rotate a drawing before splitting it
    int32_t AutoMirror = 0;        ///< mirror every loaded drawing
    int32_t SpAutoClean = 0;       ///< head-cleaning pattern before each job
    int32_t PrintFileName = 0;     ///< print the file name after the drawing
    CSharedInt m_nClosing;         ///< 1 once the main window closes; workers end on it
    int32_t AutoDelFinish = 0;     ///< remove tasks whose copies reached 0
    int32_t AutoPreview = 0;       ///< load the current task's drawing after every Add
    int32_t SplitEn = 0;           ///< split drawings wider than PaperLenMm
    int32_t CommuVia = 0;          ///< link: 0 Ethernet, 1 USB printer class, 2 dedicated USB
    int32_t m_nMouseMode = 0;      ///< the preview's mouse mode (not stored)
    int32_t PaperLenMm = 2100;     ///< split width, mm
    int32_t SplitGap = 0;          ///< split gap shown on the plot settings page, mm
    int32_t RatioSaveTo = 0;       ///< 0: the machine's size ratio, 1: the four values below
    int32_t ManualAddFileType = 0; ///< Add dialog filter: 0 all, 1 HP-GL, 2 DXF, 3 both
    int32_t Language = 0; ///< 0 Chinese, 1 English, 2 Turkish, 3 Azerbaijani, 4 Ukr., 5 Rus.
    int32_t DxfUnit = 0;  ///< DXF drawing unit in plotter units (40 = millimetres; 0: the
                          ///< unit the drawing's header names, millimetres when none)
    int32_t DxfDrillMark = 0;      ///< garment drill holes drawn as 0 a cross, 1 a circle
    int32_t DxfDrillSize = 30;     ///< size of a drill mark, 0.1 mm
    int32_t DxfNotchLength = 50;   ///< length of a notch slit, 0.1 mm
    int32_t DxfMinTextHeight = 15; ///< DXF texts are drawn at least this tall, 0.1 mm
    int32_t IBCleanThickness = 3;   ///< density of the head-cleaning pattern
    int32_t PltFileUnit = 0;        ///< HP-GL unit choice 0..3
    int32_t UnitNoHintNextTime = 0; ///< do not ask for the HP-GL unit on open
    int32_t BackupPrintedFiles = 0; ///< write a backup at every job start
    int32_t HistoryEnable = 0;      ///< append a history row at every job start
    int32_t PltMaxSizeMb = 0;       ///< size limit for added and hot-folder files, MiB
    /// Days that files removed from a hot folder stay in its Printed/ folder (used where
    /// the desktop trash cannot take them); below 0 keeps them for good.
    int32_t PrintedKeepDays = 0;
    /// How long an automatic-folder file's size and last-write time must stay the same
    /// before it is taken, milliseconds (a writer that reopens the file for every piece
    /// holds no open file between the pieces).
    int32_t FileSettleMs = 0;
    int32_t XSizeExpect = 5000;     ///< design length of the scale test, 0.1 mm
    int32_t YSizeExpect = 5000;     ///< design width, 0.1 mm
    int32_t XSizeMeasure = 5000;    ///< measured length, 0.1 mm
    int32_t YSizeMeasure = 5000;    ///< measured width, 0.1 mm
    int32_t PGCmdType = 0;          ///< handling of the HP-GL page command
    /// Not stored: the widest drawing the machine prints, mm (0: not known). A drawing folded
    /// into strips (a DXF wider than the roll, an HP-GL one with SplitEn) is folded to the
    /// lesser of the two, so that its strips print.
    int32_t m_nPrintableWidthMm = 0;
};

} // namespace inkvale
