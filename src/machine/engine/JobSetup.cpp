// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/engine/JobSetup.h"

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "geometry/SizeRatio.h"
#include "raster/BandGeometry.h"
#include "model/OnePage.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace inkvale {

void PrepareWorkPage(COnePage& work, const COnePage& task, const CSettings& settings,
                     const CMachineParams& params) {
    work.ClearCurves();
    work.CopyTask(task);
    work.ApplySizeCorrectionAll(CurrentSizeRatio(settings, params));
    const bool bFourHead = params.HeadCombination() > 2;
    if (settings.SpAutoClean != 0)
        work.OffsetAll(bFourHead ? kCleanShiftFourHead : kCleanShiftTwoHead, 0);
    if (params.PreciseMode() == 1)
        work.OffsetAll(bFourHead ? kPreciseShiftFourHead : kPreciseShiftTwoHead, 0);
    work.CalcExtents();
    work.ApplyStartPosition();
}

int64_t CountJobBands(const COnePage& work, const CBandParams& params, int32_t& nJobWidth) {
    const CBandGeometry geometry(params);
    return geometry.TotalBands(geometry.CountBands(work.m_nMaxX, work.m_nMaxY, nJobWidth));
}

int64_t CarriageDots(uint32_t nMm, uint32_t nXDotsPerMetre) {
    const uint64_t nProduct = uint64_t{nMm} * nXDotsPerMetre;
    return static_cast<int64_t>(nProduct / 1000u);
}

bool FitsCarriage(const CMachineParams& params, int32_t nJobWidth) {
    if (nJobWidth > CBandGeometry::kMaxJobWidth)
        return false;
    const uint32_t p = params.XDotsPerMetre();
    auto t = [p](int nMm) { return CarriageDots(static_cast<uint32_t>(nMm), p); };
    const int64_t nNeeded = t(params.BufferLeftMm()) + 4 * int64_t{nJobWidth} +
                            t(params.BufferRightMm()) + t(params.LeftOffsetMm());
    return nNeeded <= t(params.CarriageTravelMm());
}

namespace {

// "Y-M-D-hHmMsS" of the local time.
std::string Stamp(const std::tm& local) {
    char szStamp[96];
    std::snprintf(szStamp, sizeof szStamp, "%d-%d-%d-%dH%dM%dS", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return szStamp;
}

// Tries of FreeBackupFileName before it gives up and reuses the last name.
constexpr int kMaxBackupTries = 1000;

} // namespace

std::string BackupFileName(const std::string& strBackupDir, const std::string& strTaskName,
                           const std::tm& local) {
    return strBackupDir + Stamp(local) + "_" + strTaskName;
}

std::string FreeBackupFileName(const std::string& strBackupDir, const std::string& strTaskName,
                               const std::tm& local) {
    std::string strPath = BackupFileName(strBackupDir, strTaskName, local);
    std::error_code ec;
    for (int n = 2; n <= kMaxBackupTries && std::filesystem::exists(strPath, ec); ++n)
        strPath = strBackupDir + Stamp(local) + "(" + std::to_string(n) + ")_" + strTaskName;
    return strPath;
}

} // namespace inkvale
