// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/DxfLabels.h"

#include "HpglTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace inkvale {
namespace {

using test::DumpCurves;

std::string Label(int x, int y, const char* pszDirection, const std::string& text) {
    return "PU" + std::to_string(x) + "," + std::to_string(y) + ";DI" + pszDirection + ";LB" +
           text + "\x03";
}

CCurveArray Whole(const std::string& labels) {
    CCurveArray curves(2); // the geometry drawn before the labels
    EXPECT_TRUE(DrawDxfLabelsSplitAt(labels, 0, "", curves).Ok());
    return curves;
}

// Texts drawn in two halves on two threads must give the curves of one reading wherever
// the halves part, also where the first stroke of a half goes on from the last stroke of
// the half before it, which one reader draws as one curve.
TEST(DxfLabels, HalvesGiveTheCurvesOfOneReading) {
    const std::string first = Label(1000, 1000, "1.000,0.000", "L");
    const CCurveArray alone = Whole(first);
    ASSERT_GT(alone.size(), 2u);
    const CPoint start = alone[2].m_arrPoints.front();
    const CPoint end = alone.back().m_arrPoints.back();
    // The same text again, placed so that it starts where the first one ended.
    const std::string second =
        Label(1000 + end.x - start.x, 1000 + end.y - start.y, "1.000,0.000", "L");
    std::vector<std::string> labels = {Label(500, 700, "0.000,1.000", "AB12"), first, second,
                                       Label(9000, 400, "-0.707,0.707", "Size M"),
                                       Label(20, 20, "1.000,0.000", "x")};
    std::string all;
    std::vector<size_t> starts;
    for (const std::string& label : labels) {
        starts.push_back(all.size());
        all += label;
    }
    const CCurveArray whole = Whole(all);
    ASSERT_EQ(Whole(first + second).size() + 1, Whole(first).size() + Whole(second).size() - 2)
        << "the second L goes on from the first";
    for (const size_t nSplit : starts) {
        CCurveArray curves(2);
        ASSERT_TRUE(DrawDxfLabelsSplitAt(all, nSplit, "", curves).Ok()) << nSplit;
        EXPECT_EQ(DumpCurves(curves), DumpCurves(whole)) << "halves parted at " << nSplit;
    }
}

TEST(DxfLabels, LongTextsAreDrawnInHalvesAsOneReading) {
    std::string all;
    for (int i = 0; all.size() < 3 * kDxfLabelHalvesBytes; ++i)
        all +=
            Label(100 + i * 37 % 90000, 100 + i * 53 % 20000, i % 3 ? "1.000,0.000" : "0.000,1.000",
                  "PIECE " + std::to_string(i) + " SIZE " + std::to_string(i % 7));
    CCurveArray curves(2);
    ASSERT_TRUE(DrawDxfLabels(all, "", curves).Ok());
    EXPECT_EQ(DumpCurves(curves), DumpCurves(Whole(all)));
}

} // namespace
} // namespace inkvale
