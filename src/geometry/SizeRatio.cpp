// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/SizeRatio.h"

#include "config/MachineParams.h"
#include "config/Settings.h"

namespace inkvale {

CSizeRatio CurrentSizeRatio(const CSettings& settings, const CMachineParams& params) {
    if (settings.RatioSaveTo != 0)
        return {settings.XSizeExpect, settings.XSizeMeasure, settings.YSizeExpect,
                settings.YSizeMeasure};
    return {params.XSizeExpectReg(), params.XSizeMeasureReg(), params.YSizeExpectReg(),
            params.YSizeMeasureReg()};
}

} // namespace inkvale
