// SPDX-License-Identifier: GPL-3.0-or-later
// inkvale-cli render FILE -o OUT.png: the whole job as the machine prints it, assembled
// from the band data the machine would receive (the plotter simulator's sheet geometry).

#include "CliBandJob.h"

#include "raster/BandSheetImage.h"

#include <cstdio>

namespace inkvale::cli {

int RunRender(const CCliContext& ctx) {
    CCliBandJob job;
    std::string out;
    if (const int status = PrepareCliBandJob(ctx, "render", job, out); status != kExitOk)
        return status;
    CBandJob& bands = *job.m_pJob;
    CBandSheet sheet(job.m_bandParams, bands.JobWidth(), bands.BandCount());
    for (int64_t j = 0; j < bands.BandCount(); ++j) {
        const CBandOutput r = bands.RenderBand(j);
        if (!r.Ok()) {
            std::fprintf(stderr, "inkvale-cli render: band %lld: %s\n", static_cast<long long>(j),
                         r.m_strDiag.c_str());
            return kExitFailed;
        }
        const CBandDecodeResult d = sheet.AddBand(j, r.m_data);
        if (!d.Ok()) {
            std::fprintf(stderr, "inkvale-cli render: band %lld: %s\n", static_cast<long long>(j),
                         d.m_strDiag.c_str());
            return kExitFailed;
        }
    }
    const QImage image = BandSheetImage(sheet);
    if (image.isNull() || !image.save(QString::fromStdString(out), "PNG")) {
        std::fprintf(stderr, "inkvale-cli render: cannot write %s (%lld x %d pixels)\n",
                     out.c_str(), static_cast<long long>(sheet.Width()), sheet.Height());
        return kExitFailed;
    }
    std::printf("JobWidth %d\nBandCount %lld\nimage %lld x %d\n", bands.JobWidth(),
                static_cast<long long>(bands.BandCount()), static_cast<long long>(sheet.Width()),
                sheet.Height());
    return kExitOk;
}

} // namespace inkvale::cli
