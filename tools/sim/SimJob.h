// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SimMachine.h"
#include "config/MachineParams.h"
#include "raster/BandSheet.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace inkvale::sim {

/// The running job of the simulated machine: header values, the parameter block it prints
/// with, the band in transfer and the bands received so far.
struct CSimMachine::CJob {
    int32_t m_nJobWidth = 0;
    int32_t m_nBandCount = 0;
    CMachineParams m_params;
    size_t m_nExpectedWords = 0;
    int m_nBandPrintMs = 0; ///< busy after each confirmed band
    int m_nFinishMs = 0;    ///< finishing after the last band
    // Band in transfer.
    bool m_bReceiving = false;
    int32_t m_nBand = -1;
    std::vector<uint8_t> m_data;
    size_t m_nParsed = 0;  ///< bytes of m_data counted so far
    size_t m_nDecoded = 0; ///< column-image words they stand for
    bool m_bBad = false;
    // The printed sheet, and per band: 0 not arrived, 1 printed, 2 printed from bad data.
    std::unique_ptr<CBandSheet> m_pSheet;
    std::vector<uint8_t> m_bandState;
};

} // namespace inkvale::sim
