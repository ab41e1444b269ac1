// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "raster/BandSource.h"

namespace inkvale {

/// The program's band production: each job rasterises its working page with CBandJob in
/// the process-wide raster buffers, which the job holds from its start to its end.
class CRasterBandFactory : public IBandSourceFactory {
public:
    /// nullptr while another job still holds the raster buffers.
    std::unique_ptr<IBandSource> CreateBandSource(const COnePage& work, const CBandParams& params,
                                                  int32_t nJobWidth, int64_t nBandCount) override;
};

} // namespace inkvale
