// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/RasterBandSource.h"

#include "raster/BandJob.h"

namespace inkvale {

namespace {

class CRasterBandSource : public IBandSource {
public:
    CRasterBandSource(const COnePage& work, const CBandParams& params, int32_t nJobWidth,
                      int64_t nBandCount)
        : m_job(work, params, nJobWidth, nBandCount) {}

    bool Ready() { return m_job.FitsBuffers() && m_job.AcquireBuffers(); }

    CBandOutput RenderBand(int64_t j) override {
        CBandResult r = m_job.RenderBand(j);
        return {r.m_data, r.Ok(), std::move(r.m_strMessage)};
    }

private:
    CBandJob m_job;
};

} // namespace

std::unique_ptr<IBandSource> CRasterBandFactory::CreateBandSource(const COnePage& work,
                                                                  const CBandParams& params,
                                                                  int32_t nJobWidth,
                                                                  int64_t nBandCount) {
    auto source = std::make_unique<CRasterBandSource>(work, params, nJobWidth, nBandCount);
    if (!source->Ready())
        return nullptr;
    return source;
}

} // namespace inkvale
