// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/BandJob.h"

#include "raster/BandRasteriser.h"

#include "model/OnePage.h"
#include "support/Utf.h"

#include <ctime>

namespace inkvale {

namespace {

int Utf16Length(const std::string& s) {
    return static_cast<int>(Utf8ToUtf16(s).size());
}

int CountJob(const CBandGeometry& geo, const COnePage& page, int32_t& nJobWidth) {
    return geo.CountBands(page.m_nMaxX, page.m_nMaxY, nJobWidth);
}

} // namespace

CBandJob::CBandJob(const COnePage& page, const CBandParams& params, int32_t nPreviousJobWidth)
    : m_geo(params), m_nJobWidth(nPreviousJobWidth),
      m_formatter(m_geo, Utf16Length(params.m_strCustomString), Utf16Length(page.m_strPath)) {
    m_nCounted = CountJob(m_geo, page, m_nJobWidth);
    m_nBandCount = m_geo.TotalBands(m_nCounted);
    m_raster = std::make_unique<CBandRasteriser>(m_geo, page.m_arrCurves, page.m_strPath,
                                                 m_nJobWidth, m_nBandCount);
}

CBandJob::CBandJob(const COnePage& page, const CBandParams& params, int32_t nJobWidth,
                   int64_t nBandCount)
    : m_geo(params), m_nJobWidth(nJobWidth), m_nBandCount(nBandCount),
      m_formatter(m_geo, Utf16Length(params.m_strCustomString), Utf16Length(page.m_strPath)) {
    m_raster = std::make_unique<CBandRasteriser>(m_geo, page.m_arrCurves, page.m_strPath,
                                                 m_nJobWidth, m_nBandCount);
}

bool CBandJob::AcquireBuffers() {
    if (!m_lease)
        m_lease = CBandBuffers::Instance().TryAcquire();
    return static_cast<bool>(m_lease);
}

CBandJob::~CBandJob() = default;
CBandJob::CBandJob(CBandJob&&) noexcept = default;
CBandJob& CBandJob::operator=(CBandJob&&) noexcept = default;

void CBandJob::SetUseBuckets(bool bUse) {
    m_raster->SetUseBuckets(bUse);
}

CBandOutput CBandJob::RenderBand(int64_t j) {
    CBandOutput result;
    result.m_nCode = -1;
    if (!FitsBuffers() || m_nJobWidth < 0) {
        result.m_strDiag = "job width " + std::to_string(m_nJobWidth) +
                           " exceeds the band buffers (28000 columns)";
        return result;
    }
    if (j < 0 || j >= m_nBandCount) {
        result.m_strDiag = "band " + std::to_string(j) + " is not a band of this job";
        return result;
    }
    if (!AcquireBuffers()) {
        result.m_strDiag = "the band buffers are in use by another job";
        return result;
    }
    const CBandParams& p = m_geo.Params();
    const std::time_t tNow = p.m_tLabelTime != 0 ? p.m_tLabelTime : std::time(nullptr);
    if (!m_raster->DrawBand(j, m_lease.Canvas(), m_lease.Bitmap(), tNow)) {
        result.m_strDiag = "the cleaning and label bands need fonts (no QGuiApplication)";
        return result;
    }
    const size_t nBytes = m_formatter.FormatBand(j, m_nBandCount, m_nJobWidth, m_lease.Bitmap(),
                                                 m_lease.ColumnImage(), m_lease.BandData(),
                                                 CBandBuffers::kBandDataBytes);
    result.m_nCode = 0;
    result.m_data = std::span<const uint8_t>(m_lease.BandData(), nBytes);
    return result;
}

} // namespace inkvale
