// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/engine/JobSetup.h"

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "geometry/SizeRatio.h"
#include "model/HpglWriter.h"
#include "model/OnePage.h"
#include "raster/BandGeometry.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

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

// Creates strPath as a new file for writing: O_EXCL refuses any existing name, a link
// included, whether or not it points anywhere.
int CreateNewFile(const std::string& strPath) {
    int fd = -1;
    do
        fd = ::open(strPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    return fd;
}

void WriteAll(int fd, const std::string& text) {
    size_t nDone = 0;
    while (nDone < text.size()) {
        const ssize_t n = ::write(fd, text.data() + nDone, text.size() - nDone);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        nDone += static_cast<size_t>(n);
    }
}

} // namespace

std::string BackupFileName(const std::string& strBackupDir, const std::string& strTaskName,
                           const std::tm& local) {
    return strBackupDir + Stamp(local) + "_" + strTaskName;
}

std::string BackupTaskName(const COnePage& task) {
    std::string strName = task.m_strName;
    if (strName.empty()) {
        const size_t nSlash = task.m_strPath.rfind('/');
        strName = nSlash == std::string::npos ? task.m_strPath : task.m_strPath.substr(nSlash + 1);
    }
    // The name of a split piece, "a.plt(1/3)", holds a '/', which no file name can.
    std::replace(strName.begin(), strName.end(), '/', '-');
    return strName;
}

std::string WriteBackupFile(const COnePage& task, const std::string& strBackupDir,
                            const std::tm& local) {
    const std::string strName = BackupTaskName(task);
    std::string strPath = BackupFileName(strBackupDir, strName, local);
    int fd = CreateNewFile(strPath);
    for (int n = 2; fd < 0 && n <= kMaxBackupNames; ++n) {
        // Only a taken name is worth another try; a missing folder stays missing.
        if (errno != EEXIST)
            return {};
        strPath = strBackupDir + Stamp(local) + "(" + std::to_string(n) + ")_" + strName;
        fd = CreateNewFile(strPath);
    }
    if (fd < 0)
        return {};
    // The drawing goes into the file just created, never to whatever the name may point to
    // by now. /proc/self/fd/N opens that very file again, so the writer streams the drawing
    // as it does into any file; without /proc the text is made whole and written here.
    const CWriteResult written = WriteHpgl(task, "/proc/self/fd/" + std::to_string(fd));
    if (written.Says(EMsg::kFileOpenError))
        WriteAll(fd, FormatHpgl(task));
    ::close(fd);
    return strPath;
}

} // namespace inkvale
