// SPDX-License-Identifier: GPL-3.0-or-later
// The system settings sheet, its three pages and the HP-GL unit dialog.
#include "ui/SettingsDialog.h"

#include "DlgTestSupport.h"
#include "common/TestPaths.h"
#include "config/MachineParams.h"
#include "config/Settings.h"
#include "machine/SimFixture.h"
#include "ui/HpglUnitDialog.h"
#include "ui/UserSettingsPage.h"
#include "ui/DirectorySettingsPage.h"
#include "ui/PlotSettingsPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace inkvale {
namespace {

class CFakeSysSetHost : public CSettingsDialogHost {
public:
    void DiscardAllDrawings() override { ++m_nDiscards; }
    bool ChooseFolder(std::string& strFolder) override {
        strFolder = m_strAnswer;
        return !m_strAnswer.empty();
    }
    bool ChooseHistoryFile(std::string& strPath) override {
        strPath = m_strAnswer;
        return !m_strAnswer.empty();
    }
    bool ChooseColor(int32_t& nColor) override {
        nColor = m_nColor;
        return true;
    }
    int m_nDiscards = 0;
    std::string m_strAnswer;
    int32_t m_nColor = 0x123456;
};

class SettingsDialogTest : public test::CSimCommuTest {
protected:
    void SetUp() override {
        test::CSimCommuTest::SetUp();
        test::EnsureDlgApp();
        m_settings.m_strInstallDir = m_dir.Path().string() + "/";
        m_settings.DxfUnit = 40;
        m_settings.SplitGap = 10;
        m_params.SetMachineIP(test::kLoopbackIp);
    }
    CSysSetContext Ctx() { return {m_settings, m_params, m_machine, m_prompts, m_host}; }
    std::string Text(QLineEdit* pEdit) { return pEdit->text().toStdString(); }

    test::CScratchDir m_dir;
    CSettings m_settings;
    CMachineParams m_params;
    test::CRecordingPrompts m_prompts;
    test::CTestDlgMachine m_machine;
    CFakeSysSetHost m_host;
};

TEST(SettingsDialogRulesTest, RatiosFoldersAndHistoryName) {
    EXPECT_DOUBLE_EQ(SizeRatioOf(1000, 998), 1.002);
    EXPECT_DOUBLE_EQ(SizeRatioOf(500, 500), 1.0);
    EXPECT_DOUBLE_EQ(SizeRatioOf(998, 1000), 0.998);
    EXPECT_DOUBLE_EQ(SizeRatioOf(5000, 0), 0.0); // a stored zero must not divide
    std::string strFolder = "old/";
    EXPECT_FALSE(AcceptChosenFolder("/opt/inkvale", "/opt/inkvale/", strFolder));
    EXPECT_FALSE(AcceptChosenFolder("/", "/opt/inkvale/", strFolder));
    EXPECT_EQ(strFolder, "old/");
    EXPECT_TRUE(AcceptChosenFolder("/srv/plots", "/opt/inkvale/", strFolder));
    EXPECT_EQ(strFolder, "/srv/plots/");
    EXPECT_EQ(HistoryFileWithExtension("/h/history"), "/h/history.CSV");
    EXPECT_EQ(HistoryFileWithExtension("/h/history.Csv"), "/h/history.Csv");
    EXPECT_EQ(HistoryFileWithExtension("/h/v1.5/history"), "/h/v1.5/history.CSV");
}

TEST_F(SettingsDialogTest, PlotPageShowsAndRecomputesRatios) {
    m_params.SetXSizeMeasureReg(4990);
    m_settings.XSizeExpect = 10000;
    m_settings.XSizeMeasure = 9980;
    CPlotSettingsPage page(Ctx());
    EXPECT_TRUE(page.Radio(234)->isChecked());
    EXPECT_EQ(Text(page.Edit(400)), "500");
    EXPECT_EQ(Text(page.Edit(401)), "499");
    EXPECT_EQ(Text(page.Edit(402)), "1.002");
    EXPECT_EQ(Text(page.Edit(405)), "1");
    page.Radio(235)->click();
    EXPECT_EQ(Text(page.Edit(400)), "1000");
    EXPECT_EQ(Text(page.Edit(401)), "998");
    page.Edit(404)->setText("400");
    EXPECT_TRUE(page.UpdateRatios());
    EXPECT_EQ(Text(page.Edit(405)), "1.25");
    page.Edit(403)->setText("99");
    EXPECT_FALSE(page.UpdateRatios());
    EXPECT_EQ(m_prompts.m_arrMessages.back(),
              "纸宽（设计尺寸）：请输入一个 100 至 5000 之间的数字。");
}

// Every number field of the Plot and User pages takes exactly the range its label shows: OK
// stores both ends; a step outside either end (or no number) keeps the sheet open on the page
// with a message that names the field and its range, and stores nothing.
TEST_F(SettingsDialogTest, PageFieldsTakeTheRangeTheirLabelsShow) {
    struct Field {
        int nId; // 0: the User page's cleaning density
        const char* pszName;
        double dMin;
        double dMax;
        bool bDecimal;
    };
    const Field fields[] = {
        {400, "纸长（设计尺寸）", 100, 5000, true},
        {401, "纸长（实测尺寸）", 100, 5000, true},
        {403, "纸宽（设计尺寸）", 100, 5000, true},
        {404, "纸宽（实测尺寸）", 100, 5000, true},
        {408, "分页宽度", 500, 5000, false},
        {409, "分页间距", 0, 200, false},
        {406, "打印前进纸", 0, 255, false},
        {407, "打印后进纸", 0, 255, false},
        {417, "Dxf文件单位", 1, 4000, false},
        {0, "喷头清洗浓度", 1, 5, false}, // any whole number was taken
    };
    const auto field = [](CSettingsDialog& sheet, int nId) {
        return nId == 0 ? sheet.UserPage()->Density() : sheet.PlotPage()->Edit(nId);
    };
    for (const Field& f : fields) {
        const double dStep = f.bDecimal ? 0.1 : 1;
        const std::string strMessage = std::string(f.pszName) + "：请输入一个 " +
                                       QString::number(f.dMin).toStdString() + " 至 " +
                                       QString::number(f.dMax).toStdString() +
                                       (f.bDecimal ? " 之间的数字。" : " 之间的整数。");
        const std::pair<QString, bool> entries[] = {
            {QString::number(f.dMin), true},
            {QString::number(f.dMax), true},
            {QString::number(f.dMin - dStep), false},
            {QString::number(f.dMax + dStep), false},
            {QStringLiteral("x"), false},
        };
        for (const auto& [strEntry, bTaken] : entries) {
            SCOPED_TRACE(std::to_string(f.nId) + " '" + strEntry.toStdString() + "'");
            CSettingsDialog sheet(Ctx());
            QWidget* pPage = f.nId == 0 ? static_cast<QWidget*>(sheet.UserPage())
                                        : static_cast<QWidget*>(sheet.PlotPage());
            QLabel* pLabel =
                f.nId == 0 ? sheet.UserPage()->DensityLabel() : sheet.PlotPage()->Label(f.nId);
            EXPECT_TRUE(pLabel->text().contains(QStringLiteral("(%1~%2").arg(f.dMin).arg(f.dMax)))
                << pLabel->text().toStdString();
            const QString strBefore = field(sheet, f.nId)->text();
            field(sheet, f.nId)->setText(strEntry);
            m_prompts.m_arrMessages.clear();
            sheet.accept();
            CSettingsDialog again(Ctx());
            if (bTaken) {
                EXPECT_EQ(sheet.result(), QDialog::Accepted);
                EXPECT_EQ(field(again, f.nId)->text(), strEntry);
                continue;
            }
            EXPECT_EQ(sheet.result(), QDialog::Rejected);
            EXPECT_EQ(sheet.Tabs()->currentWidget(), pPage);
            EXPECT_EQ(m_prompts.m_arrMessages, std::vector<std::string>{strMessage});
            EXPECT_EQ(field(sheet, f.nId)->text(), strEntry); // kept for correcting
            EXPECT_EQ(field(again, f.nId)->text(), strBefore);
        }
    }
}

TEST_F(SettingsDialogTest, PlotPageApplyDiscardsAndStores) {
    EXPECT_EQ(m_settings.DxfUnit, 40);
    {
        CPlotSettingsPage page(Ctx());
        page.Edit(417)->setText("400");
        ASSERT_TRUE(page.Apply());
        EXPECT_EQ(m_host.m_nDiscards, 0); // the DXF unit alone keeps loaded drawings
        EXPECT_EQ(m_settings.DxfUnit, 400);
    }
    CPlotSettingsPage page(Ctx());
    page.Edit(409)->setText("20");
    page.Radio(235)->click();
    page.Edit(400)->setText("1000.5");
    page.Edit(406)->setText("70");
    ASSERT_TRUE(page.Apply());
    EXPECT_EQ(m_host.m_nDiscards, 1);
    EXPECT_EQ(m_settings.SplitGap, 20);
    EXPECT_EQ(m_settings.RatioSaveTo, 1);
    EXPECT_EQ(m_settings.XSizeExpect, 10005);
    EXPECT_EQ(m_params.XSizeExpectReg(), 5000);
    EXPECT_EQ(m_params.FeedBeforeMm(), 70);

    CPlotSettingsPage board(Ctx());
    board.Radio(234)->click();
    board.Edit(401)->setText("498.7");
    ASSERT_TRUE(board.Apply());
    EXPECT_EQ(m_settings.RatioSaveTo, 0);
    EXPECT_EQ(m_params.XSizeMeasureReg(), 4987);
}

TEST_F(SettingsDialogTest, ApplyWritesOnlineAndNamesTheOfflineMachine) {
    const char* const kNotice[] = {"脱机状态无法保存参数", "Offline", "Çevrimdışı", "", "", ""};
    for (int nLang = 0; nLang < 6; ++nLang) {
        m_settings.Language = nLang;
        m_prompts.m_arrMessages.clear();
        CDirectorySettingsPage page(Ctx());
        ASSERT_TRUE(page.Apply());
        const std::vector<std::string> expected =
            *kNotice[nLang] ? std::vector<std::string>{kNotice[nLang]} : std::vector<std::string>{};
        EXPECT_EQ(m_prompts.m_arrMessages, expected) << nLang;
    }
    EXPECT_EQ(m_machine.m_nWrites, 0);

    m_machine.m_pCommu = m_pCommu.get();
    m_machine.m_bOnline = true;
    m_prompts.m_arrMessages.clear();
    m_sim.ClearFrames();
    CPlotSettingsPage page(Ctx());
    page.Edit(407)->setText("33");
    ASSERT_TRUE(page.Apply());
    EXPECT_TRUE(m_prompts.m_arrMessages.empty());
    const auto frames = FramesOfKind('R');
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0][2], 24);
    EXPECT_EQ(m_sim.Registers()[66], 33);

    m_sim.AddFault({sim::ESimFault::Lose, 'R', 24, 1, 0, 0});
    CDirectorySettingsPage dir(Ctx());
    ASSERT_TRUE(dir.Apply());
    EXPECT_EQ(m_prompts.m_arrMessages, std::vector<std::string>{"参数保存失败"});
}

TEST_F(SettingsDialogTest, DirectoryPageChoosersAndApply) {
    m_settings.AutoDir = "/srv/auto/";
    m_params.SetLineWidthPx(2);
    CDirectorySettingsPage page(Ctx());
    EXPECT_TRUE(page.Thickness()->button(1)->isChecked());
    m_host.m_strAnswer = m_dir.Path().string(); // the installation directory itself
    page.ChooseFolder(305);
    EXPECT_EQ(Text(page.Edit(412)), "/srv/auto/");
    page.ChooseFolder(307);
    EXPECT_EQ(m_prompts.m_arrMessages,
              (std::vector<std::string>{"非法的临时文件目录", "非法的备份文件目录"}));
    const std::string strBackup = m_dir.File("bk/new");
    m_host.m_strAnswer = strBackup;
    page.ChooseFolder(307);
    EXPECT_EQ(Text(page.Edit(413)), strBackup + "/");
    m_host.m_strAnswer = m_dir.File("history");
    page.ChooseHistoryFile();
    EXPECT_EQ(Text(page.Edit(428)), m_dir.File("history.CSV"));

    page.Thickness()->button(4)->setChecked(true);
    page.Check(250)->setChecked(true);
    page.Check(260)->setChecked(true);
    page.Edit(410)->setText("");
    ASSERT_TRUE(page.Apply());
    EXPECT_TRUE(std::filesystem::is_directory(strBackup));
    EXPECT_EQ(m_settings.BackupDir, strBackup + "/");
    EXPECT_EQ(m_settings.BackupPrintedFiles, 1);
    EXPECT_EQ(m_settings.HistoryFile, m_dir.File("history.CSV"));
    EXPECT_EQ(m_settings.PrtFileExtension, "*.plt;*.hpg;"); // an emptied list gets the default
    EXPECT_EQ(m_params.LineWidthPx(), 5);
    EXPECT_EQ(m_params.BoldLines(), 1);

    // A backup folder that cannot be made is reported while backups were on.
    std::ofstream(m_dir.File("plain")) << "x";
    m_prompts.m_arrMessages.clear();
    CDirectorySettingsPage again(Ctx());
    again.Edit(413)->setText(QString::fromStdString(m_dir.File("plain/sub")));
    ASSERT_TRUE(again.Apply());
    ASSERT_FALSE(m_prompts.m_arrMessages.empty());
    EXPECT_EQ(m_prompts.m_arrMessages[0], "创建备份目录失败!");

    // The automatic folder as the backup folder is refused and the old one kept.
    m_prompts.m_arrMessages.clear();
    const std::string strBefore = m_settings.BackupDir;
    CDirectorySettingsPage hot(Ctx());
    hot.Edit(413)->setText(QString::fromStdString(m_settings.AutoDir));
    EXPECT_FALSE(hot.Apply());
    EXPECT_EQ(m_settings.BackupDir, strBefore);
    EXPECT_EQ(Text(hot.Edit(413)), m_settings.AutoDir); // left for the operator to correct
    ASSERT_FALSE(m_prompts.m_arrMessages.empty());
    EXPECT_EQ(m_prompts.m_arrMessages[0], "备份目录不能是自动目录或手动目录，也不能在其中。");
}

// The line under the patterns says what the folders take: a last pattern without its ';'
// counts, and no pattern at all takes nothing.
TEST_F(SettingsDialogTest, DirectoryPageSaysWhichPatternsTheFoldersTake) {
    CDirectorySettingsPage page(Ctx());
    const struct {
        const char* pszTyped;
        const char* pszHint;
    } cases[] = {
        {"*.plt", "文件夹取用：*.plt（不区分大小写）"},
        {"*.plt;*.DXF", "文件夹取用：*.plt, *.DXF（不区分大小写）"},
        {"*.plt;;", "文件夹取用：*.plt（不区分大小写）"},
        {"", "没有文件模式：文件夹不会取任何文件。"},
        {";", "没有文件模式：文件夹不会取任何文件。"},
    };
    for (const auto& c : cases) {
        page.Edit(410)->setText(QString::fromUtf8(c.pszTyped));
        EXPECT_EQ(page.PatternHint()->text(), QString::fromUtf8(c.pszHint)) << c.pszTyped;
    }
}

TEST_F(SettingsDialogTest, UserPageAndSheetAndUnitDialog) {
    m_settings.ManualAddFileType = 2;
    m_settings.Language = 1;
    CUserSettingsPage page(Ctx());
    EXPECT_TRUE(page.FileType()->button(2)->isChecked());
    EXPECT_EQ(page.PageCommand()->itemText(1).toStdString(), "Type2");
    page.FileType()->button(3)->setChecked(true);
    page.Check(243)->setChecked(true);
    page.Density()->setText("5");
    page.PageCommand()->setCurrentIndex(1);
    page.ChooseColor(306);
    EXPECT_EQ(m_settings.ColorGrid, 0x3C3C14); // colours wait for Apply
    ASSERT_TRUE(page.Apply());
    EXPECT_EQ(m_settings.ManualAddFileType, 3);
    EXPECT_EQ(m_settings.SpAutoClean, 1);
    EXPECT_EQ(m_settings.IBCleanThickness, 5);
    EXPECT_EQ(m_settings.PGCmdType, 1);
    EXPECT_EQ(m_settings.ColorGrid, 0x123456);

    for (int nLang : {0, 1, 4}) {
        m_settings.Language = nLang;
        CSettingsDialog sheet(Ctx());
        ASSERT_EQ(sheet.Tabs()->count(), 3);
        const auto captions = SysSetTabCaptions(nLang);
        EXPECT_EQ(sheet.Tabs()->tabText(1).toStdString(), captions[1]);
        EXPECT_EQ(sheet.Tabs()->currentIndex(), 0);
    }
    EXPECT_EQ(SysSetTabCaptions(0)[0], "绘图设置");
    EXPECT_EQ(SysSetTabCaptions(7)[1], "Directories");

    m_settings.Language = 0;
    m_settings.PltFileUnit = 2;
    m_settings.UnitNoHintNextTime = 1;
    CHpglUnitDialog unit(m_settings);
    EXPECT_EQ(unit.Units()->currentText().toStdString(), "3-自动识别");
    unit.Units()->setCurrentIndex(3);
    unit.NoHint()->setChecked(false);
    unit.OnOk();
    EXPECT_EQ(m_settings.PltFileUnit, 3);
    EXPECT_EQ(m_settings.UnitNoHintNextTime, 0);
}

// OK applies what the operator changed on every page, Apply pressed or not, then closes.
TEST_F(SettingsDialogTest, OkAppliesChangedPagesThatWereNeverApplied) {
    CSettingsDialog sheet(Ctx());
    sheet.show();
    sheet.PlotPage()->Edit(409)->setText("25");
    sheet.DirPage()->Edit(421)->setText("LOGO");
    sheet.UserPage()->Density()->setText("4");
    sheet.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(m_settings.SplitGap, 25);
    EXPECT_EQ(m_settings.CustomString, "LOGO");
    EXPECT_EQ(m_settings.IBCleanThickness, 4);
    EXPECT_EQ(m_host.m_nDiscards, 1);
}

// A value a page refuses at OK keeps the sheet open on that page with the message and the
// typed value. Changed pages before it are applied once; untouched pages are not applied.
TEST_F(SettingsDialogTest, OkStaysOpenOnThePageThatRefusesAValue) {
    m_settings.AutoDir = "/srv/auto/";
    CSettingsDialog sheet(Ctx());
    sheet.show();
    QPushButton* pOk = sheet.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    sheet.PlotPage()->Edit(409)->setText("30");
    sheet.UserPage()->Density()->setText("6");
    m_prompts.m_arrMessages.clear();
    pOk->click();
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(sheet.Tabs()->currentWidget(), sheet.UserPage());
    EXPECT_EQ(Text(sheet.UserPage()->Density()), "6");
    // The Plot page was applied (offline, it says so); the Directories page was left alone.
    EXPECT_EQ(m_prompts.m_arrMessages,
              (std::vector<std::string>{"脱机状态无法保存参数",
                                        "喷头清洗浓度：请输入一个 1 至 5 之间的整数。"}));
    EXPECT_EQ(m_settings.SplitGap, 30);
    EXPECT_EQ(m_settings.IBCleanThickness, 3);

    sheet.UserPage()->Density()->setText("2");
    sheet.DirPage()->Edit(413)->setText("/srv/auto/backup/");
    m_prompts.m_arrMessages.clear();
    pOk->click();
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(sheet.Tabs()->currentWidget(), sheet.DirPage());
    EXPECT_EQ(Text(sheet.DirPage()->Edit(413)), "/srv/auto/backup/");
    // First the refusal: the Plot page, applied already, is not applied again.
    ASSERT_FALSE(m_prompts.m_arrMessages.empty());
    EXPECT_EQ(m_prompts.m_arrMessages[0], "备份目录不能是自动目录或手动目录，也不能在其中。");
    EXPECT_EQ(m_settings.IBCleanThickness, 3); // the User page comes after

    const std::string strBackup = m_dir.File("bk") + "/";
    sheet.DirPage()->Edit(413)->setText(QString::fromStdString(strBackup));
    pOk->click();
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(m_settings.BackupDir, strBackup);
    EXPECT_EQ(m_settings.IBCleanThickness, 2);
}

TEST_F(SettingsDialogTest, EnterAndEscapeInsideThePlotAndDirectoryPagesDoNothing) {
    CSettingsDialog sheet(Ctx());
    sheet.show();
    for (QLineEdit* pEdit : {sheet.PlotPage()->Edit(408), sheet.DirPage()->Edit(410)}) {
        for (int nKey : {int(Qt::Key_Return), int(Qt::Key_Escape)}) {
            QKeyEvent press(QEvent::KeyPress, nKey, Qt::NoModifier);
            QCoreApplication::sendEvent(pEdit, &press);
            EXPECT_TRUE(sheet.isVisible()) << nKey;
        }
    }
    // Elsewhere Enter is the sheet's OK.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(sheet.UserPage()->Density(), &enter);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
}

} // namespace
} // namespace inkvale
