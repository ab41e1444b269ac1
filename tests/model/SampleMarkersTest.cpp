// SPDX-License-Identifier: GPL-3.0-or-later
// The sample markers of samples/ (the demo prints them, the README shows them) load as
// samples/README.md describes them, with the settings of an installation whose Inkvale.ini
// is empty.
#include "common/TestPaths.h"
#include "config/SettingsStore.h"
#include "model/TaskDrawingLoader.h"
#include "support/ProfileFile.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace inkvale {
namespace {

constexpr int32_t kUnitsPerMm = 40;

struct CSample {
    test::CScratchDir m_dir;
    CSettings m_settings;
    COnePage m_page;

    explicit CSample(const char* pszName) {
        CMachineParams params;
        ReadSettings(CProfileFile(), m_settings, params);
        m_settings.m_strInstallDir = m_dir.Path().string() + "/";
        m_page.m_strPath = (test::SourceDir() / "samples" / pszName).string();
    }
    bool Load() {
        const CTaskLoadResult r = LoadTaskDrawing(m_page, m_settings, false);
        EXPECT_TRUE(r.Ok()) << r.m_strDiag;
        m_page.CalcExtents();
        return r.Ok();
    }
    size_t DashedCurves() const {
        return static_cast<size_t>(
            std::count_if(m_page.m_arrCurves.begin(), m_page.m_arrCurves.end(),
                          [](const CCurve& c) { return c.m_nLineType == 1; }));
    }
};

TEST(SampleMarkers, LoadAtTheirSizeAlongAndAcrossTheRoll) {
    struct Case {
        const char* m_pszName;
        int32_t m_nLengthMm; // the frame, from 0 along the roll
        int32_t m_nWidthMm;  // the frame across the roll; the marker's texts lie above it
        bool m_bDashed;      // fold and topstitching lines kept as dashed curves
        bool m_bWiderThanRoll;
    };
    const Case cases[] = {
        {"marker.plt", 5800, 1600, true, false},
        {"marker.dxf", 3190, 1600, false, false},
        {"marker-wide.plt", 4770, 2600, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_pszName);
        CSample s(c.m_pszName);
        ASSERT_TRUE(s.Load());
        EXPECT_EQ(s.m_page.m_nMinX, 0);
        EXPECT_EQ(s.m_page.m_nMaxX, c.m_nLengthMm * kUnitsPerMm);
        EXPECT_EQ(s.m_page.m_nMinY, 0);
        EXPECT_GT(s.m_page.m_nMaxY, c.m_nWidthMm * kUnitsPerMm);
        EXPECT_LT(s.m_page.m_nMaxY, (c.m_nWidthMm + 60) * kUnitsPerMm);
        EXPECT_EQ(s.DashedCurves() > 0, c.m_bDashed);
        EXPECT_EQ(s.m_page.m_nMaxY > RollWidthUnits(s.m_settings), c.m_bWiderThanRoll);
    }
}

TEST(SampleMarkers, TheWideMarkerIsFoldedToTheRollWhenSplittingIsOn) {
    CSample whole("marker-wide.plt");
    ASSERT_TRUE(whole.Load());
    CSample split("marker-wide.plt");
    split.m_settings.SplitEn = 1;
    ASSERT_TRUE(split.Load());
    EXPECT_LE(split.m_page.m_nMaxY, RollWidthUnits(split.m_settings));
    // Cutting the segments at the strip edges and the cut marks add curves.
    EXPECT_GT(split.m_page.m_arrCurves.size(), whole.m_page.m_arrCurves.size());
}

} // namespace
} // namespace inkvale
