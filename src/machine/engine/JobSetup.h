// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "raster/BandParams.h"

#include <cstdint>
#include <ctime>
#include <string>

namespace inkvale {

class CMachineParams;
class COnePage;
struct CSettings;

/// Lead-in shift along X of the cleaning band, plotter units (three or four heads / others).
inline constexpr int32_t kCleanShiftFourHead = 2040;
inline constexpr int32_t kCleanShiftTwoHead = 1020;
/// Lead-in shift along X of precise mode (half a band), plotter units.
inline constexpr int32_t kPreciseShiftFourHead = 1020;
inline constexpr int32_t kPreciseShiftTwoHead = 508;

/// Steps 1 to 6 of a job start: work := a copy of the task's drawing (name, path, box and
/// start position included), size-corrected by the ratio in force, shifted along X by the
/// lead-in of the cleaning band (SpAutoClean) and of precise mode, its box recomputed, then
/// moved back by the task's start position. The result is the page both the print engine
/// and `inkvale-cli render` rasterise. Any thread that owns both pages.
void PrepareWorkPage(COnePage& work, const COnePage& task, const CSettings& settings,
                     const CMachineParams& params);

/// Band count of a prepared page: its drawing bands, plus the label band, doubled in
/// precise mode. Stores the job width in nJobWidth, which keeps its previous value when the
/// page box is empty (the band count is then 0, or what the label and precise mode add).
int64_t CountJobBands(const COnePage& work, const CBandParams& params, int32_t& nJobWidth);

/// Carriage columns of v millimetres: trunc(v x XDotsPerMetre / 1000), from the unsigned
/// product (taken in 64 bits, so a large resolution cannot wrap it).
int64_t CarriageDots(uint32_t nMm, uint32_t nXDotsPerMetre);

/// The carriage-width check: true when left buffer + 4 x JobWidth + right buffer + left
/// offset fit the carriage travel (all in carriage columns), and JobWidth fits the raster
/// buffers (CBandGeometry::kMaxJobWidth).
bool FitsCarriage(const CMachineParams& params, int32_t nJobWidth);

/// Most names WriteBackupFile tries for one job before it gives up on the backup.
inline constexpr int kMaxBackupNames = 1000;

/// The backup file of a job started at local time `local`: BackupDir +
/// "Y-M-D-hHmMsS_" (numbers without leading zeros) + the task's name.
std::string BackupFileName(const std::string& strBackupDir, const std::string& strTaskName,
                           const std::tm& local);
/// The name a task's backups end in: its name, or when it has none (tasks read from a task
/// file keep only their paths) the file name of its path; a '/' in it becomes '-'.
std::string BackupTaskName(const COnePage& task);
/// Writes the task's drawing (WriteHpgl) as the backup of a job started at `local` into a new
/// file named BackupFileName with BackupTaskName. When that name is taken (a second job of
/// the same name within the same second, or anything else there, a link included) the first
/// free "Y-M-D-hHmMsS(n)_" name with n = 2, 3, ... up to kMaxBackupNames names in all. The
/// file is always created new and never through a link, so no file is overwritten or
/// written through. Returns the path of the backup (incomplete when writing failed), or an
/// empty text when no file could be created (a missing folder, every name taken).
std::string WriteBackupFile(const COnePage& task, const std::string& strBackupDir,
                            const std::tm& local);

} // namespace inkvale
