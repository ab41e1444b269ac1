// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/Result.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace inkvale {

class COnePage;
struct CBandParams;

/// One band as produced for the machine, or why it could not be produced.
struct [[nodiscard]] CBandOutput : CResult {
    std::span<const uint8_t> m_data; ///< valid until the next band or the job's end
};

/// The band data of one job, produced one band at a time just before it is requested
/// (band sender thread only).
class IBandSource {
public:
    virtual ~IBandSource() = default;
    /// Band j's data (0 <= j < the job's BandCount). The bytes stay valid until the next
    /// call, and the memory behind them is readable up to the next 4096-byte boundary
    /// past their end, since the links send whole chunks. A band that cannot be produced
    /// (not Ok) ends the job as failed.
    virtual CBandOutput RenderBand(int64_t j) = 0;
};

/// Makes the band source of a job, on the window thread at job start, after the working
/// page is prepared and counted. The source reads `work` (which stays unchanged until the
/// job has ended) on the band sender thread. nullptr when no source can be made now (the
/// raster buffers are held by another producer); the job is then not started.
class IBandSourceFactory {
public:
    virtual ~IBandSourceFactory() = default;
    virtual std::unique_ptr<IBandSource> CreateBandSource(const COnePage& work,
                                                          const CBandParams& params,
                                                          int32_t nJobWidth,
                                                          int64_t nBandCount) = 0;
};

} // namespace inkvale
