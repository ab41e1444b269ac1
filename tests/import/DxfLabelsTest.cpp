// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/DxfLabels.h"

#include "import/HpglFile.h"

#include "HpglTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace inkvale {
namespace {

using test::DumpCurves;

std::string Label(int x, int y, const char* pszDirection, const std::string& text) {
    return "PU" + std::to_string(x) + "," + std::to_string(y) + ";DI" + pszDirection + ";LB" +
           text + "\x03";
}

CCurveArray AtOnce(const std::string& labels) {
    CCurveArray curves(2); // the geometry drawn before the labels
    EXPECT_TRUE(DrawDxfLabelsAtOnce(labels, "", curves).Ok());
    return curves;
}

// A label that comes again is drawn once and copied; the curves must be those of one
// reading, also where a label's first stroke goes on from the last stroke of the label
// before it, which one reader draws as one curve.
TEST(DxfLabels, RepeatedLabelsGiveTheCurvesOfOneReading) {
    const std::string first = Label(1000, 1000, "1.000,0.000", "L");
    const CCurveArray alone = AtOnce(first);
    ASSERT_GT(alone.size(), 2u);
    const CPoint start = alone[2].m_arrPoints.front();
    const CPoint end = alone.back().m_arrPoints.back();
    // The same text again, placed so that it starts where the first one ended.
    const std::string second =
        Label(1000 + end.x - start.x, 1000 + end.y - start.y, "1.000,0.000", "L");
    ASSERT_EQ(AtOnce(first + second).size() + 1, alone.size() + AtOnce(second).size() - 2)
        << "the second L goes on from the first";
    const std::string block = Label(500, 700, "0.000,1.000", "AB12") + first + second +
                              Label(9000, 400, "-0.707,0.707", "Size M") +
                              Label(20, 20, "1.000,0.000", "");
    const std::string cases[] = {
        first + second,
        block + block + block,           // a block inserted three times
        second + first + second + first, // the pair, and again after itself
        Label(5, 5, "1.000,0.000", "x") + block + Label(5, 5, "1.000,0.000", "x"),
    };
    for (const std::string& labels : cases) {
        CCurveArray curves(2);
        ASSERT_TRUE(DrawDxfLabels(labels, "", curves).Ok());
        EXPECT_EQ(DumpCurves(curves), DumpCurves(AtOnce(labels))) << labels;
    }
}

// Many repeated blocks of labels, some going on from the label before, placed and copied
// in one go, still give the curves of one reading.
TEST(DxfLabels, ManyLabelsGiveTheCurvesOfOneReading) {
    const std::string first = Label(1000, 1000, "1.000,0.000", "L");
    const CCurveArray alone = AtOnce(first);
    const CPoint start = alone[2].m_arrPoints.front();
    const CPoint end = alone.back().m_arrPoints.back();
    const std::string second =
        Label(1000 + end.x - start.x, 1000 + end.y - start.y, "1.000,0.000", "L");
    std::string labels;
    for (int i = 0; i < 3000; ++i) {
        const std::string block =
            Label(100 + i % 50 * 900, 100 + i % 7 * 3000, i % 3 ? "1.000,0.000" : "0.000,1.000",
                  "PIECE " + std::to_string(i % 400) + " SIZE M");
        labels += block + (i % 5 == 0 ? first + second : "") + block;
    }
    CCurveArray curves(2);
    ASSERT_TRUE(DrawDxfLabels(labels, "", curves).Ok());
    ASSERT_GT(curves.size(), 100'000u);
    EXPECT_EQ(DumpCurves(curves), DumpCurves(AtOnce(labels)));
}

// Labels drawn once each must still be refused where all of them together pass the
// reader's limits, as one reading of them would be.
TEST(DxfLabels, TheLimitsCountEveryLabelDrawn) {
    const std::string flood = Label(100, 100, "1.000,0.000", std::string(512, 'W'));
    std::string labels;
    while (labels.size() < 2'500'000)
        labels += flood;
    CCurveArray curves;
    const CResult result = DrawDxfLabels(labels, "", curves);
    EXPECT_EQ(result.m_nCode, kHpglRejected);
    EXPECT_TRUE(result.Says(EMsg::kDataOverflow));
    CCurveArray one;
    EXPECT_TRUE(DrawDxfLabels(flood, "", one).Ok());
}

} // namespace
} // namespace inkvale
