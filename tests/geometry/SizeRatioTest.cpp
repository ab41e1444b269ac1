// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/SizeRatio.h"

#include "config/MachineParams.h"
#include "config/Settings.h"

#include <gtest/gtest.h>

namespace inkvale {
namespace {

TEST(SizeRatio, SettingsOrMachineByRatioSaveTo) {
    CSettings settings;
    settings.XSizeExpect = 1001;
    settings.XSizeMeasure = 1002;
    settings.YSizeExpect = 1003;
    settings.YSizeMeasure = 1004;
    CMachineParams params;
    params.SetXSizeExpectReg(2001);
    params.SetXSizeMeasureReg(2002);
    params.SetYSizeExpectReg(2003);
    params.SetYSizeMeasureReg(2004);

    struct Case {
        int ratioSaveTo;
        int base;
    };
    for (const Case c : {Case{0, 2000}, Case{1, 1000}, Case{-1, 1000}, Case{2, 1000}}) {
        settings.RatioSaveTo = c.ratioSaveTo;
        const CSizeRatio ratio = CurrentSizeRatio(settings, params);
        EXPECT_EQ(ratio.m_nXExpect, c.base + 1) << c.ratioSaveTo;
        EXPECT_EQ(ratio.m_nXMeasure, c.base + 2) << c.ratioSaveTo;
        EXPECT_EQ(ratio.m_nYExpect, c.base + 3) << c.ratioSaveTo;
        EXPECT_EQ(ratio.m_nYMeasure, c.base + 4) << c.ratioSaveTo;
    }
}

TEST(SizeRatio, MachineValuesAreUnsigned16Bit) {
    CSettings settings;
    CMachineParams params;
    params.SetXSizeMeasureReg(65535);
    EXPECT_EQ(CurrentSizeRatio(settings, params).m_nXMeasure, 65535);
    EXPECT_EQ(CurrentSizeRatio(settings, params).m_nYExpect, 5000);
}

} // namespace
} // namespace inkvale
