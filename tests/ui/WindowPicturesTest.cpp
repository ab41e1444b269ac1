// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of the main window for the documentation, as an operator sees it while a job
// prints: the sample markers in the manual list, samples/marker.plt printing on the plotter
// simulator (loopback), the window maximised on the screen the test runs on, in English,
// Russian and Chinese. Written only when INKVALE_WINDOW_PICTURES names a folder (docs/ of the
// source tree), skipped otherwise; scripts/window-pictures.sh runs it on the screens the
// pictures are named after (window-LANG-1366.png; window-en-scale2.png at a scale factor of 2).
#include "MainWindowFixture.h"

#include "config/LanguageTable.h"
#include "machine/engine/ManualCommands.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <filesystem>
#include <optional>
#include <string>

namespace inkvale {
namespace {

namespace fs = std::filesystem;

struct CLanguage {
    int32_t m_nLanguage;
    const char* m_pszTag;
};

class WindowPicturesTest : public test::CMainWindowFixture,
                           public ::testing::WithParamInterface<CLanguage> {
protected:
    void SetUp() override {
        m_strFolder = qEnvironmentVariable("INKVALE_WINDOW_PICTURES");
        if (m_strFolder.isEmpty())
            GTEST_SKIP() << "set INKVALE_WINDOW_PICTURES to a folder to write the pictures";
        CMainWindowFixture::SetUp();
    }

    // The window anew in a language, with the sample markers in the manual folder.
    void OpenIn(int32_t nLanguage) {
        m_pFrame.reset();
        m_english.reset();
        if (nLanguage != 0)
            m_translation.emplace(TranslationFile(nLanguage).c_str());
        ASSERT_TRUE(nLanguage == 0 || m_translation->Loaded()) << nLanguage;
        ASSERT_TRUE(test::WriteFileBytes(
            m_home.Path() / "Inkvale.ini",
            "[Para]\nMachineIP=" + std::to_string(m_nIP) +
                "\nLanguage=" + std::to_string(nLanguage) +
                "\nAutoStartEnable=0\nSpAutoClean=0\nAutoDelFinish=0\nAutoPreview=1\n"
                "PrtFileExtension=*.plt;*.hpg;*.dxf;\n"));
        OpenWindow();
        for (const char* pszName : {"marker.plt", "marker.dxf"})
            fs::copy_file(test::SourceDir() / "samples" / pszName,
                          fs::path(m_settings.ManDir) / pszName);
        m_pFrame->showMaximized();
        ASSERT_TRUE(RunUntil([&] { return List().rowCount() == 2 && AllFiguresDone(); }))
            << List().rowCount() << " rows";
    }

    // samples/marker.plt prints a few bands; the window is grabbed while it goes on.
    void PictureWhilePrinting(const QString& strFile) {
        const int nRow = PathAtRow(0).ends_with("marker.plt") ? 0 : 1;
        ClickRow(nRow);
        ASSERT_TRUE(RunUntil([&] { return MachineReady(); }));
        ASSERT_TRUE(m_pFrame->RunCommand(kBtnStart));
        ASSERT_TRUE(RunUntil([&] { return m_pFrame->Engine().State().m_nBandsDone >= 6; }));
        m_pFrame->UpdateStatus();
        RunUntil([] { return false; }, std::chrono::milliseconds(200)); // the repaints land
        const QPixmap picture = m_pFrame->grab();
        ASSERT_FALSE(picture.isNull());
        EXPECT_TRUE(picture.save(strFile)) << strFile.toStdString();
        // The job stops (the question is answered yes) before the window closes.
        EXPECT_TRUE(m_pFrame->RunCommand(kBtnStop));
        EXPECT_TRUE(RunUntil([&] { return !m_pFrame->Engine().JobRunning(); }));
    }

    QString m_strFolder;
    std::optional<test::CShippedTranslation> m_translation;
};

// Named after the screen: its logical width, or "scale2" at a device pixel ratio of 2.
TEST_P(WindowPicturesTest, MainWindowWhileAJobPrints) {
    sim::CSimTiming timing;
    timing.m_nBandPrintMs = 150;
    m_machine.SetTiming(timing);
    const QScreen* pScreen = QGuiApplication::primaryScreen();
    const QString strScreen = pScreen->devicePixelRatio() > 1.5
                                  ? QStringLiteral("scale2")
                                  : QString::number(pScreen->size().width());
    ASSERT_NO_FATAL_FAILURE(OpenIn(GetParam().m_nLanguage));
    PictureWhilePrinting(m_strFolder + "/window-" + GetParam().m_pszTag + "-" + strScreen + ".png");
}

INSTANTIATE_TEST_SUITE_P(Languages, WindowPicturesTest,
                         ::testing::Values(CLanguage{.m_nLanguage = 1, .m_pszTag = "en"},
                                           CLanguage{.m_nLanguage = 5, .m_pszTag = "ru"},
                                           CLanguage{.m_nLanguage = 0, .m_pszTag = "zh"}),
                         [](const ::testing::TestParamInfo<CLanguage>& param) {
                             return std::string(param.param.m_pszTag);
                         });

} // namespace
} // namespace inkvale
