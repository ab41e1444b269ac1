// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "raster/BandParams.h"

#include <cstdint>

namespace inkvale {

class CMachineParams;

/// The print-time model, from the machine's parameter block:
/// - the carriage starts at CarriageStartSpeed and reaches CarriageMaxSpeed (both in units
///   of 10 mm/s) over BrakeDistanceMm, and brakes over the same distance; a pass shorter
///   than both ramps never reaches full speed;
/// - one pass travels BufferLeftMm + the job's width + BufferRightMm;
/// - bidirectional printing prints on both passes; one-way printing returns empty after
///   every band;
/// - after each band the paper feeds one band (half a band in precise mode) at FeedSpeed
///   (10 mm/s units; 0 means 100 mm/s); FeedBeforeMm is fed before the first band and
///   FeedAfterMm after the last.
/// The host adds its own rhythm: 50 ms of waits around every band, and a machine still busy
/// with the last band is asked again every 210 ms.
struct CJobTime {
    double m_dStartS = 0.0; ///< job header to the first band: the host's waits and the lead-in
    double m_dBandsS = 0.0; ///< every band, as the host paces them
    double m_dEndS = 0.0;   ///< the last feed out
    double TotalS() const { return m_dStartS + m_dBandsS + m_dEndS; }
};

/// Seconds the carriage needs for one pass of dTravelMm.
double PassSeconds(const CMachineParams& params, double dTravelMm);
/// Seconds the paper needs to feed dMm.
double FeedSeconds(const CMachineParams& params, double dMm);
/// Width of a job of nJobWidth carriage columns on the machine, millimetres.
double JobWidthMm(const CMachineParams& params, int32_t nJobWidth);
/// Seconds the machine is busy with one band after its data arrived: the printing pass, the
/// empty return of one-way printing, and the feed to the next band.
double BandSeconds(const CMachineParams& params, const CBandParams& bands, int32_t nJobWidth);
/// The whole job of nBandCount bands.
CJobTime EstimateJobTime(const CMachineParams& params, const CBandParams& bands, int32_t nJobWidth,
                         int64_t nBandCount);

} // namespace inkvale
