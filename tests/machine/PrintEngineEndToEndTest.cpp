// SPDX-License-Identifier: GPL-3.0-or-later
// Whole jobs of real drawings through the program's band production and the simulator:
// the printed sheet must equal, pixel for pixel, what `inkvale-cli render` makes of the
// same file with the same settings and parameter block.

#include "PrintEngineFixture.h"
#include "common/TestPaths.h"
#include "config/SettingsStore.h"
#include "machine/engine/JobSetup.h"
#include "model/TaskDrawingLoader.h"
#include "raster/BandJob.h"
#include "raster/BandSheet.h"
#include "raster/RasterBandSource.h"

#include <QGuiApplication>

#include <fstream>

// Qt's font database hands fontconfig patterns to a cache that lives until the process
// ends; the leak checker of sanitizer builds is told so.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

namespace inkvale::test {
namespace {

// The cleaning and label bands draw text, which needs Qt's font database.
void EnsureFonts() {
    static QGuiApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char arg0[] = "test_machine";
        static char* argv[] = {arg0, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

struct Case {
    const char* pszFile; ///< under the corpus folder
    int nCombination;
    int nPrecise;
    bool bSpecialBands; ///< cleaning band and label band
};

// Readable case names in the test listing.
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.pszFile << " heads " << c.nCombination << " precise " << c.nPrecise
        << (c.bSpecialBands ? " with cleaning and label bands" : "");
}

class PrintEngineEndToEnd : public CPrintEngineTest, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override {
        EnsureFonts();
        // The program's settings file: loopback machine, DXF drawings in centimetres so the
        // marker stays a manageable sheet.
        std::ofstream ini(m_home.File("Inkvale.ini"));
        ini << "[Para]\nMachineIP=16777343\nDxfUnit=400\n";
        ini.close();
        ASSERT_TRUE(LoadSettings(m_settings, m_params, m_home.Path().string() + "/"));
        m_params.ResetMachineParams();
        CPrintEngineTest::SetUp();
    }
    IBandSourceFactory& Factory() override { return m_raster; }

    /// What `inkvale-cli render` builds: the prepared page, every band of CBandJob, each
    /// decoded onto one CBandSheet.
    sim::CSimSheetImage RenderLikeTheCli(const COnePage& task) {
        COnePage work;
        PrepareWorkPage(work, task, m_settings, m_params);
        CBandParams params = MakeBandParams(m_params, m_settings);
        params.m_tLabelTime = m_clock.LabelTime();
        CBandJob job(work, params);
        CBandSheet sheet(params, job.JobWidth(), job.BandCount());
        for (int64_t j = 0; j < job.BandCount(); ++j) {
            const CBandOutput r = job.RenderBand(j);
            EXPECT_TRUE(r.Ok()) << r.m_strDiag;
            EXPECT_TRUE(sheet.AddBand(j, r.m_data).Ok());
        }
        return sim::SheetImage(sheet);
    }

    CScratchDir m_home;
    CRasterBandFactory m_raster;
};

TEST_P(PrintEngineEndToEnd, PrintedSheetEqualsTheRender) {
    const Case& c = GetParam();
    ASSERT_TRUE(m_sim.SetParam("HeadCombination", c.nCombination));
    ASSERT_TRUE(m_sim.SetParam("PreciseMode", c.nPrecise));
    ASSERT_TRUE(m_sim.SetParam("Bidirectional", 1));
    m_settings.SpAutoClean = c.bSpecialBands ? 1 : 0;
    m_settings.PrintFileName = c.bSpecialBands ? 1 : 0;
    GoOnline();
    COnePage task;
    task.m_strPath = (CorpusDir() / c.pszFile).string();
    task.m_strName = task.m_strPath.substr(task.m_strPath.find_last_of('/') + 1);
    const CTaskLoadResult loaded = LoadTaskDrawing(task, m_settings, false);
    ASSERT_TRUE(loaded.Ok()) << loaded.m_strDiag;

    ASSERT_TRUE(m_pEngine->StartPrintJob(task).Ok());
    ASSERT_EQ(m_host.WaitJobFinished(std::chrono::seconds(60)), kJobSuccess);
    m_pEngine->JoinFinishedJob();
    EXPECT_EQ(m_pEngine->LastJobError(), "");
    const sim::CSimSheetImage printed = m_sim.LastSheet();
    EXPECT_EQ(m_sim.Stats().m_nBadBands, 0);

    const sim::CSimSheetImage rendered = RenderLikeTheCli(task);
    ASSERT_GT(rendered.InkCount(), 1000);
    EXPECT_EQ(printed.m_nWidth, rendered.m_nWidth);
    EXPECT_EQ(printed.m_nHeight, rendered.m_nHeight);
    EXPECT_TRUE(printed.m_pixels == rendered.m_pixels)
        << "ink printed " << printed.InkCount() << ", rendered " << rendered.InkCount();
}

const Case kCases[] = {
    {"dxf/astm-parser-WM_LOOSE_SHAPE_TANK.DXF", 0, 0, false},
    {"dxf/astm-parser-WM_LOOSE_SHAPE_TANK.DXF", 0, 1, false},
    {"dxf/astm-parser-WM_LOOSE_SHAPE_TANK.DXF", 3, 0, false},
    {"dxf/astm-parser-WM_LOOSE_SHAPE_TANK.DXF", 3, 1, true},
    {"dxf/astm-parser-WM_LOOSE_SHAPE_TANK.DXF", 0, 0, true},
    {"hpgl/hp2xx-286x192.5_lh.hpg", 4, 0, true},
};

INSTANTIATE_TEST_SUITE_P(Markers, PrintEngineEndToEnd, ::testing::ValuesIn(kCases));

} // namespace
} // namespace inkvale::test
