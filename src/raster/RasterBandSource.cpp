// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/RasterBandSource.h"

#include "raster/BandJob.h"

namespace inkvale {

std::unique_ptr<IBandSource> CRasterBandFactory::CreateBandSource(const COnePage& work,
                                                                  const CBandParams& params,
                                                                  int32_t nJobWidth,
                                                                  int64_t nBandCount) {
    auto job = std::make_unique<CBandJob>(work, params, nJobWidth, nBandCount);
    if (!job->FitsBuffers() || !job->AcquireBuffers())
        return nullptr;
    return job;
}

} // namespace inkvale
