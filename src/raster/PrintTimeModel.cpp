// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PrintTimeModel.h"

#include "config/MachineParams.h"
#include "raster/BandGeometry.h"

#include <algorithm>
#include <cmath>

namespace inkvale {

namespace {

constexpr double kSpeedUnitMmS = 10.0;
constexpr double kDefaultFeedMmS = 100.0;
constexpr double kFeedPixelsPerMm = 300.0 / 25.4;
// The host's waits: 10 ms before a band's data, 20 ms on either side of its confirmation;
// a busy machine is asked again after 200 ms and a position read (10 ms).
constexpr double kHostBandS = 0.050;
constexpr double kAfterConfirmS = 0.020;
constexpr double kBusyPollS = 0.210;
// From the header to the band sender's first question: 300 ms before the header, 100 ms
// before the sender starts.
constexpr double kHostStartS = 0.400;

double Speed(int nUnits, double dFallback) {
    return nUnits > 0 ? nUnits * kSpeedUnitMmS : dFallback;
}

} // namespace

double PassSeconds(const CMachineParams& params, double dTravelMm) {
    const double vMax = Speed(params.CarriageMaxSpeed(), 600.0);
    const double vStart = std::min(Speed(params.CarriageStartSpeed(), vMax), vMax);
    const double dRamp = std::max(params.BrakeDistanceMm(), 0);
    if (dTravelMm <= 0.0)
        return 0.0;
    if (dRamp <= 0.0 || vStart >= vMax)
        return dTravelMm / vMax;
    // Constant acceleration from vStart to vMax over dRamp millimetres.
    const double a = (vMax * vMax - vStart * vStart) / (2.0 * dRamp);
    if (dTravelMm >= 2.0 * dRamp)
        return 2.0 * (vMax - vStart) / a + (dTravelMm - 2.0 * dRamp) / vMax;
    // Half the pass speeding up, half braking.
    const double vTop = std::sqrt(vStart * vStart + a * dTravelMm);
    return 2.0 * (vTop - vStart) / a;
}

double FeedSeconds(const CMachineParams& params, double dMm) {
    return std::max(dMm, 0.0) / Speed(params.FeedSpeed(), kDefaultFeedMmS);
}

double JobWidthMm(const CMachineParams& params, int32_t nJobWidth) {
    const double dDotsPerMm = params.XDotsPerMetre() / 1000.0;
    return dDotsPerMm > 0 ? 4.0 * nJobWidth / dDotsPerMm : 0.0;
}

double BandSeconds(const CMachineParams& params, const CBandParams& bands, int32_t nJobWidth) {
    const double dTravel =
        params.BufferLeftMm() + JobWidthMm(params, nJobWidth) + params.BufferRightMm();
    const double dPass = PassSeconds(params, dTravel);
    const CBandGeometry geo(bands);
    const double dStepPx = bands.m_bPreciseMode ? geo.BandHeight() / 2.0 : geo.BandHeight();
    return (bands.m_bBidirectional ? dPass : 2.0 * dPass) +
           FeedSeconds(params, dStepPx / kFeedPixelsPerMm);
}

CJobTime EstimateJobTime(const CMachineParams& params, const CBandParams& bands, int32_t nJobWidth,
                         int64_t nBandCount) {
    CJobTime t;
    if (nBandCount <= 0)
        return t;
    t.m_dStartS = kHostStartS + FeedSeconds(params, params.FeedBeforeMm());
    // The host asks for the next band 20 ms after a confirmation; while the machine is still
    // busy with the last one, it asks again every 210 ms.
    const double dBusy = BandSeconds(params, bands, nJobWidth);
    const double dWaits =
        std::ceil(std::max(dBusy - kAfterConfirmS, 0.0) / kBusyPollS) * kBusyPollS;
    t.m_dBandsS =
        static_cast<double>(nBandCount) * kHostBandS + static_cast<double>(nBandCount - 1) * dWaits;
    t.m_dEndS = FeedSeconds(params, params.FeedAfterMm());
    return t;
}

} // namespace inkvale
