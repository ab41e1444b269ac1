// SPDX-License-Identifier: GPL-3.0-or-later
// The print-time model against the simulator paced by it, on three markers of different
// width, direction and carriage speed. The simulator's busy times come from the same model
// of the same parameter block, so this does not check the model against a real machine:
// it checks that the estimate accounts for how the host paces a job (its waits, its
// questions to a busy machine, the exchanges on the link, the start and the end), which
// are real here and not modelled by the simulator.

#include "raster/PrintTimeModel.h"
#include "PrintEngineFixture.h"
#include "machine/engine/JobSetup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace inkvale::test {
namespace {

struct CModelCase {
    const char* m_pszWhat;
    int32_t m_nLengthUnits;
    int32_t m_nWidthUnits;
    std::vector<std::pair<const char*, int>> m_params;
};

class PrintTimeModel : public CPrintEngineTest, public ::testing::WithParamInterface<CModelCase> {};

TEST_P(PrintTimeModel, EstimateMatchesTheSimulatedJobWithinTenPercent) {
    const CModelCase& c = GetParam();
    m_clock.m_dScale = 1.0; // the program's own waits, as they are
    sim::CSimTiming timing;
    timing.m_bModelled = true;
    m_sim.SetTiming(timing);
    for (const auto& [pszName, nValue] : c.m_params)
        ASSERT_TRUE(m_sim.SetParam(pszName, nValue));
    GoOnline();
    COnePage task = LineTask(c.m_nLengthUnits, c.m_nWidthUnits);
    COnePage work;
    PrepareWorkPage(work, task, m_settings, m_params);
    CBandParams bands = MakeBandParams(m_params, m_settings);
    int32_t nJobWidth = 0;
    const int64_t nBands = CountJobBands(work, bands, nJobWidth);
    const double dEstimate = EstimateJobTime(m_params, bands, nJobWidth, nBands).TotalS();

    const auto tStart = std::chrono::steady_clock::now();
    ASSERT_TRUE(m_pEngine->StartPrintJob(task).Ok());
    ASSERT_EQ(m_host.WaitJobFinished(std::chrono::seconds(60)), kJobSuccess);
    const double dTook =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - tStart).count();
    std::printf("[ model    ] %s: %lld bands, estimate %.2f s, took %.2f s\n", c.m_pszWhat,
                static_cast<long long>(nBands), dEstimate, dTook);
    EXPECT_NEAR(dTook, dEstimate, 0.1 * dEstimate);
}

INSTANTIATE_TEST_SUITE_P(
    Markers, PrintTimeModel,
    ::testing::Values(CModelCase{"0.2 m wide, both ways", 6000, 8000, {}},
                      CModelCase{"0.2 m wide, one way", 6000, 8000, {{"Bidirectional", 0}}},
                      CModelCase{"0.8 m wide, fast carriage",
                                 5000,
                                 32000,
                                 {{"CarriageMaxSpeed", 200}, {"FeedSpeed", 30}}}),
    [](const ::testing::TestParamInfo<CModelCase>& param) {
        return std::string(param.index == 0 ? "BothWays" : param.index == 1 ? "OneWay" : "Wide");
    });

} // namespace
} // namespace inkvale::test
