// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "raster/BandBuffers.h"
#include "raster/BandGeometry.h"
#include "raster/BandSource.h"
#include "raster/PrintHeadFormatter.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace inkvale {

class COnePage;

/// The raster side of one print job: band count and JobWidth at job start, then band after
/// band the band bitmap, the column image and the band data in the process-wide buffers.
///
/// Construct on the window thread once the working page is prepared; RenderBand runs on the
/// band sender thread. The page must not change and must outlive the job.
class CBandRasteriser;

class CBandJob : public IBandSource {
public:
    /// Counts the page: nPreviousJobWidth is kept when the page's box is empty.
    CBandJob(const COnePage& page, const CBandParams& params, int32_t nPreviousJobWidth = 0);
    /// A job whose JobWidth and BandCount were counted by the caller.
    CBandJob(const COnePage& page, const CBandParams& params, int32_t nJobWidth,
             int64_t nBandCount);
    ~CBandJob() override;
    CBandJob(CBandJob&&) noexcept;
    CBandJob& operator=(CBandJob&&) noexcept;

    /// Takes the process-wide buffers now (else the first RenderBand does); false while
    /// another job holds them. They are released when the job is destroyed, on any thread.
    bool AcquireBuffers();

    const CBandGeometry& Geometry() const { return m_geo; }
    /// Bands of the drawing (CountBands), before the label band and precise doubling.
    int CountedBands() const { return m_nCounted; }
    int32_t JobWidth() const { return m_nJobWidth; }
    /// The job's BandCount.
    int64_t BandCount() const { return m_nBandCount; }
    /// Whether the bands fit the buffers; a job that does not must be refused before any
    /// band (the carriage check normally refuses it already).
    bool FitsBuffers() const { return m_nJobWidth <= CBandGeometry::kMaxJobWidth; }

    /// Renders band j (0 <= j < BandCount) and formats its data. Fails when the job does
    /// not fit the buffers, another job holds them, j is out of range, or the band needs text
    /// and no QGuiApplication provides fonts.
    CBandOutput RenderBand(int64_t j) override;

    /// The band bitmap and column image of the last rendered band (null before the first).
    const uint8_t* Bitmap() const { return m_lease ? m_lease.Bitmap() : nullptr; }
    const uint8_t* ColumnImage() const { return m_lease ? m_lease.ColumnImage() : nullptr; }

    /// Draw every curve in every band (for checking the buckets).
    void SetUseBuckets(bool bUse);

private:
    CBandGeometry m_geo;
    int m_nCounted = 0;
    int32_t m_nJobWidth = 0;
    int64_t m_nBandCount = 0;
    std::unique_ptr<CBandRasteriser> m_raster;
    CPrintHeadFormatter m_formatter;
    CBandBuffers::CLease m_lease;
};

} // namespace inkvale
