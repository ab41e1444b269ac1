// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace inkvale {

struct CSettings;
class CMachineParams;

/// The four lengths of the size-ratio test, all in 0.1 mm: a drawing is scaled by
/// Expect / Measure along each axis when it is prepared for printing.
struct CSizeRatio {
    int32_t m_nXExpect = 5000;
    int32_t m_nXMeasure = 5000;
    int32_t m_nYExpect = 5000;
    int32_t m_nYMeasure = 5000;
};

/// The ratio in force: the settings' four values when RatioSaveTo is non-zero, otherwise
/// the machine's four values held in the parameter block.
CSizeRatio CurrentSizeRatio(const CSettings& settings, const CMachineParams& params);

} // namespace inkvale
