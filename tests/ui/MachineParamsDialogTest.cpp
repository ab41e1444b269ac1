// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MachineParamsDialog.h"

#include "DlgTestSupport.h"
#include "config/MachineParams.h"
#include "config/Settings.h"
#include "machine/SimFixture.h"
#include "machine/engine/EngineState.h"
#include "ui/PasswordDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace inkvale {
namespace {

using test::CRecordingPrompts;
using test::CTestDlgMachine;

class MachineParamsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureDlgApp();
        m_params.SetMachineIP(test::kLoopbackIp);
    }
    void SetExtended() { m_params.SetEditByte(79, CMachineParams::kExtPresent); }
    std::string Text(CMachineParamsDialog& dlg, int nId) { return dlg.Edit(nId)->text().toStdString(); }

    CSettings m_settings;
    CMachineParams m_params;
    CRecordingPrompts m_prompts;
    CTestDlgMachine m_machine;
};

TEST_F(MachineParamsDialogTest, AccessCodeGuardsTheDialog) {
    EXPECT_TRUE(IsParaAccessCode("579"));
    EXPECT_FALSE(IsParaAccessCode("5790"));
    EXPECT_FALSE(IsParaAccessCode(""));
    EXPECT_TRUE(IsParaAccessCode(QString("579").toLower().toStdString()));

    int nRuns = 0;
    auto fnRun = [&](CMachineParamsDialog&) {
        ++nRuns;
        return int(QDialog::Rejected);
    };
    m_machine.m_bOnline = true;
    m_prompts.m_bAnswer = false;
    EXPECT_EQ(RunParaCommand(m_settings, m_params, m_machine, m_prompts, nullptr, fnRun),
              EParaCommandResult::Cancelled);
    m_prompts.m_bAnswer = true;
    m_prompts.m_strCode = "578";
    EXPECT_EQ(RunParaCommand(m_settings, m_params, m_machine, m_prompts, nullptr, fnRun),
              EParaCommandResult::WrongCode);
    EXPECT_EQ(m_prompts.m_arrMessages, std::vector<std::string>{"密码错误"});
    EXPECT_EQ(nRuns, 0);
    m_prompts.m_strCode = "579";
    EXPECT_EQ(RunParaCommand(m_settings, m_params, m_machine, m_prompts, nullptr, fnRun),
              EParaCommandResult::DialogCancelled);
    EXPECT_EQ(nRuns, 1);
    EXPECT_EQ(m_prompts.m_arrMessages.size(), 1u); // online: no notice

    CPasswordDialog pwd;
    EXPECT_EQ(pwd.Field()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(pwd.Field()->maxLength(), 64);
}

TEST_F(MachineParamsDialogTest, OfflineDialogIsReadOnlyAndKeepsTheValuesOnTheHost) {
    const char* const kOpen[] = {"已脱机！", "Offline", "Bağlı değil",
                                 "oflayn",   "Оффлайн", "Оффлайн"};
    const char* const kSave[] = {
        "脱机状态无法保存参数", "Offline", "Bağlı değil", "oflayn", "Offline", "Offline"};
    for (int nLang = 0; nLang < 6; ++nLang) {
        SCOPED_TRACE(nLang);
        m_settings.Language = nLang;
        m_prompts.m_arrMessages.clear();
        const auto result =
            RunParaCommand(m_settings, m_params, m_machine, m_prompts, nullptr, [&](CMachineParamsDialog& dlg) {
                EXPECT_FALSE(dlg.Edit(381)->isEnabled());
                EXPECT_FALSE(dlg.Edit(500)->isEnabled());
                EXPECT_FALSE(dlg.Check(242)->isEnabled());
                EXPECT_FALSE(dlg.Combination()->isEnabled());
                EXPECT_TRUE(dlg.Button(298)->isEnabled());
                EXPECT_TRUE(dlg.Button(1)->isEnabled());
                dlg.Edit(381)->setText("77"); // what the dialog holds is stored
                EXPECT_TRUE(dlg.OnOk());
                return dlg.result();
            });
        EXPECT_EQ(result, EParaCommandResult::DialogOk);
        EXPECT_EQ(m_prompts.m_arrMessages, (std::vector<std::string>{kOpen[nLang], kSave[nLang]}));
        EXPECT_EQ(m_params.HeadPos(0), 77);
    }
    EXPECT_EQ(m_machine.m_nWrites, 0);
}

// Every number field takes exactly the range its label shows: both ends are stored, a step
// outside either end (or no number at all) keeps the dialog open with a message that names the
// field and its range, and nothing of the block changes.
TEST_F(MachineParamsDialogTest, EveryFieldTakesTheRangeItsLabelShows) {
    SetExtended();
    m_params.SetFeedSpeed(3);
    struct Field {
        int nId;
        const char* pszName;
        double dMin;
        double dMax;
    };
    const Field fields[] = {
        {430, "喷头之间X向重合点数（1#2#之间）", 0, 10},
        {431, "喷头之间X向重合点数（2#3#之间）", 0, 10},
        {432, "喷头之间X向重合点数（3#4#之间）", 0, 10},
        {381, "喷头位置（喷头1）", 0, 1000},
        {382, "喷头位置（喷头2）", 0, 1000},
        {383, "喷头位置（喷头3）", 0, 1000},
        {384, "喷头位置（喷头4）", 0, 1000},
        {385, "回来接线（喷头1）", 0, 40},
        {386, "回来接线（喷头2）", 0, 40},
        {387, "回来接线（喷头3）", 0, 40},
        {388, "回来接线（喷头4）", 0, 40},
        {426, "点火脉宽", 18, 25},
        {427, "喷头左右两列间距", 20, 32},
        {424, "缓冲距离（左）", 10, 80},
        {425, "缓冲距离（右）", 10, 80},
        {445, "边距（左）", 10, 250},
        {446, "边距（右）", 10, 250},
        {447, "边线调整（左）", -5, 5},
        {448, "边线调整（右）", -5, 5},
        {414, "小车行程限制", 500, 4000}, // the label said 3500 while 4000 was taken
        {500, "走纸轴步长基准", 30, 200},
        {503, "刹车距离", 15, 60},     // the label said 15~60 while 0..255 was taken
        {501, "小车起始速度", 10, 40}, // the label said 10~30 while 40 was taken
        {502, "小车最大速度", 20, 85},
        {504, "进退纸速度", 1, 5},
        {444, "裁断刀压", 0, 100},
        {440, "第1刀（起点）", 0, 3000},
        {441, "第1刀（终点）", 0, 3000},
        {442, "第2刀（起点）", 0, 3000},
        {443, "第2刀（终点）", 0, 3000},
    };
    for (const Field& f : fields) {
        const bool bDecimal = f.nId == 500;
        const double dStep = bDecimal ? 0.1 : 1;
        const std::string strMessage = std::string(f.pszName) + "：请输入一个 " +
                                       QString::number(f.dMin).toStdString() + " 至 " +
                                       QString::number(f.dMax).toStdString() +
                                       (bDecimal ? " 之间的数字。" : " 之间的整数。");
        const std::pair<QString, bool> entries[] = {
            {QString::number(f.dMin), true},
            {QString::number(f.dMax), true},
            {QString::number(f.dMin - dStep), false},
            {QString::number(f.dMax + dStep), false},
            {bDecimal ? QStringLiteral("x") : QStringLiteral("1.5"), false},
            {QString(), false},
        };
        for (const auto& [strEntry, bTaken] : entries) {
            SCOPED_TRACE(std::to_string(f.nId) + " '" + strEntry.toStdString() + "'");
            const CMachineParams before = m_params;
            m_prompts.m_arrMessages.clear();
            CMachineParamsDialog dlg(m_settings, m_params, m_machine, m_prompts);
            EXPECT_TRUE(
                dlg.Label(f.nId)->text().contains(QStringLiteral("(%1~%2").arg(f.dMin).arg(f.dMax)))
                << dlg.Label(f.nId)->text().toStdString();
            dlg.Edit(f.nId)->setText(strEntry);
            EXPECT_EQ(dlg.OnOk(), bTaken);
            if (bTaken) {
                EXPECT_EQ(dlg.result(), QDialog::Accepted);
                CMachineParamsDialog again(m_settings, m_params, m_machine, m_prompts);
                EXPECT_EQ(again.Edit(f.nId)->text(), strEntry);
                continue;
            }
            EXPECT_EQ(dlg.result(), QDialog::Rejected);
            EXPECT_EQ(m_prompts.m_arrMessages, std::vector<std::string>{strMessage});
            for (int a = 24; a < 148; ++a)
                ASSERT_EQ(m_params.EditByte(a), before.EditByte(a)) << a;
        }
    }
}

TEST_F(MachineParamsDialogTest, LoadingShowsTheEditCopyWithItsCorrections) {
    m_machine.m_bOnline = true;
    SetExtended();
    m_params.SetReturnJoin(2, 45);
    m_params.SetReturnJoin(3, 40);
    m_params.SetKnifePos(1, 3500);
    m_params.SetInkColumns(1);
    m_params.SetKnifeMode(1);
    m_params.SetFeedStepBase(57300);
    CMachineParamsDialog dlg(m_settings, m_params, m_machine, m_prompts);
    EXPECT_EQ(m_params.ReturnJoin(2), 0);
    EXPECT_EQ(Text(dlg, 387), "0");
    EXPECT_EQ(Text(dlg, 388), "40");
    EXPECT_EQ(Text(dlg, 441), "0");
    EXPECT_EQ(m_params.KnifePos(1), 3500); // shown as 0, held as read
    EXPECT_EQ(Text(dlg, 500), "57.3");
    EXPECT_EQ(Text(dlg, 382), "180");
    EXPECT_TRUE(dlg.Check(257)->isChecked());
    EXPECT_FALSE(dlg.Check(258)->isChecked());
    EXPECT_TRUE(dlg.Check(254)->isChecked());
    EXPECT_FALSE(dlg.Check(255)->isChecked());
    EXPECT_EQ(dlg.MaxSpeedLabel()->text().toStdString(), "小车最大速度(20~85)");
}

TEST_F(MachineParamsDialogTest, EnablingFollowsCombinationAndExtendedBlock) {
    m_machine.m_bOnline = true;
    const int kExt[] = {444, 440, 441, 442, 443};
    {
        CMachineParamsDialog dlg(m_settings, m_params, m_machine, m_prompts);
        EXPECT_EQ(dlg.Combination()->count(), 3);
        for (int nId : kExt)
            EXPECT_FALSE(dlg.Edit(nId)->isEnabled()) << nId;
        EXPECT_FALSE(dlg.Check(256)->isEnabled());
        EXPECT_FALSE(dlg.Check(254)->isEnabled());
        EXPECT_FALSE(dlg.Check(255)->isEnabled());
        EXPECT_TRUE(dlg.Check(257)->isEnabled());
        EXPECT_FALSE(dlg.Edit(383)->isEnabled());
        EXPECT_TRUE(dlg.Edit(382)->isEnabled());
    }
    SetExtended();
    m_settings.Language = 1;
    CMachineParamsDialog dlg(m_settings, m_params, m_machine, m_prompts);
    EXPECT_EQ(dlg.Combination()->count(), 5);
    EXPECT_EQ(dlg.Combination()->itemText(3).toStdString(), "Combine4:1#+2#+3#+4#");
    EXPECT_EQ(dlg.MaxSpeedLabel()->text().toStdString(), "Max Pwm(20~85)");
    for (int nId : kExt)
        EXPECT_TRUE(dlg.Edit(nId)->isEnabled()) << nId;
    for (int nId : {383, 384, 387, 388, 431, 432})
        EXPECT_FALSE(dlg.Edit(nId)->isEnabled()) << nId;
    dlg.Combination()->setCurrentIndex(3);
    for (int nId : {383, 384, 387, 388, 431, 432})
        EXPECT_TRUE(dlg.Edit(nId)->isEnabled()) << nId;
    dlg.Combination()->setCurrentIndex(2);
    EXPECT_FALSE(dlg.Edit(384)->isEnabled());
}

TEST_F(MachineParamsDialogTest, OkStoresTheFieldsWithTheirRules) {
    // Without the extended block the cutter, precise mode and ink columns are switched off.
    m_params.SetKnifeMode(2);
    m_params.SetPreciseMode(1);
    m_params.SetInkColumns(2);
    m_params.SetXDotsPerMetre(1);
    {
        CMachineParamsDialog dlg(m_settings, m_params, m_machine, m_prompts);
        dlg.Edit(500)->setText("57.3");
        dlg.Combination()->setCurrentIndex(1);
        ASSERT_TRUE(dlg.OnOk());
    }
    EXPECT_EQ(m_params.FeedStepBase(), 57300u);
    EXPECT_EQ(m_params.XDotsPerMetre(), 24612u);
    EXPECT_EQ(m_params.ParamTag61(), 4);
    EXPECT_EQ(m_params.HeadCombination(), 1);
    EXPECT_EQ(m_params.KnifeMode(), 0);
    EXPECT_EQ(m_params.PreciseMode(), 0);
    EXPECT_EQ(m_params.InkColumns(), 0);

    SetExtended();
    struct Case {
        bool bKnife1, bKnife2, bLeft, bRight;
        int nKnifeMode, nInk;
    };
    const Case cases[] = {{false, true, false, false, 0, 0},
                          {true, false, true, false, 1, 1},
                          {true, true, false, true, 2, 2},
                          {false, false, true, true, 0, 0}};
    for (const Case& c : cases) {
        CMachineParamsDialog dlg(m_settings, m_params, m_machine, m_prompts);
        dlg.Check(254)->setChecked(c.bKnife1);
        dlg.Check(255)->setChecked(c.bKnife2);
        dlg.Check(257)->setChecked(c.bLeft);
        dlg.Check(258)->setChecked(c.bRight);
        dlg.Check(256)->setChecked(true);
        dlg.Edit(443)->setText("2999");
        dlg.Edit(504)->setText("4");
        ASSERT_TRUE(dlg.OnOk());
        EXPECT_EQ(m_params.KnifeMode(), c.nKnifeMode);
        EXPECT_EQ(m_params.InkColumns(), c.nInk);
        EXPECT_EQ(m_params.PreciseMode(), 1);
        EXPECT_EQ(m_params.KnifePos(3), 2999);
        EXPECT_EQ(m_params.FeedSpeed(), 4);
        if (c.nKnifeMode == 0) {
            EXPECT_FALSE(dlg.Check(255)->isChecked()); // a lone second knife is cleared
        }
    }
}

TEST_F(MachineParamsDialogTest, RestoreDefaultsTakesEffectAtOk) {
    CMachineParamsDialog dlg(m_settings, m_params, m_machine, m_prompts);
    dlg.Edit(424)->setText("11");
    dlg.Button(298)->click();
    EXPECT_EQ(Text(dlg, 424), "80");
    EXPECT_EQ(Text(dlg, 425), "80");
    EXPECT_EQ(Text(dlg, 500), "57");
    EXPECT_EQ(Text(dlg, 503), "40");
    EXPECT_EQ(Text(dlg, 501), "20");
    EXPECT_EQ(Text(dlg, 502), "60");
    EXPECT_EQ(m_params.BufferLeftMm(), 20);
    ASSERT_TRUE(dlg.OnOk());
    EXPECT_EQ(m_params.BufferLeftMm(), 80);
    EXPECT_EQ(m_params.BrakeDistanceMm(), 40);
    EXPECT_EQ(m_params.FeedStepBase(), 57000u);
}

// The OK steps as the machine sees them.
class MachineParamsDialogSimTest : public test::CSimCommuTest {
protected:
    void SetUp() override {
        test::CSimCommuTest::SetUp();
        test::EnsureDlgApp();
        m_machine.m_pCommu = m_pCommu.get();
        m_machine.m_bOnline = true;
        m_params.SetEditByte(79, CMachineParams::kExtPresent);
        m_params.SetFeedSpeed(3); // as a machine with the extended block reports it
    }
    CSettings m_settings;
    CMachineParams m_params;
    CRecordingPrompts m_prompts;
    test::CTestDlgMachine m_machine;
};

TEST_F(MachineParamsDialogSimTest, OkWritesTheBlockThenTheExtendedBlock) {
    m_sim.ClearFrames();
    CMachineParamsDialog dlg(m_settings, m_params, m_machine, m_prompts);
    dlg.Edit(381)->setText("123");
    dlg.Edit(440)->setText("15");
    ASSERT_TRUE(dlg.OnOk());
    EXPECT_TRUE(m_prompts.m_arrMessages.empty());
    EXPECT_EQ(m_machine.m_arrSleeps, std::vector<int>{1000});
    const auto frames = FramesOfKind('R');
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0][2], 24);
    EXPECT_EQ(frames[0][3], 56);
    EXPECT_EQ(frames[1][2], 128);
    EXPECT_EQ(frames[1][3], 20);
    const auto regs = m_sim.Registers();
    EXPECT_EQ(regs[42] | regs[43] << 8, 123);
    EXPECT_EQ(regs[28] | regs[29] << 8 | regs[30] << 16, 24612);
    EXPECT_EQ(regs[61], 4);
    EXPECT_EQ(regs[128], 15);
    for (int a = 24; a < 80; ++a)
        EXPECT_EQ(m_params.MachineByte(a), m_params.EditByte(a)) << a;
}

TEST_F(MachineParamsDialogSimTest, FailedWritesAreReportedAndTheDialogStillCloses) {
    m_sim.AddFault({sim::ESimFault::Lose, 'R', 24, 1, 0, 0});
    m_sim.AddFault({sim::ESimFault::Lose, 'R', 128, 1, 0, 0});
    CMachineParamsDialog dlg(m_settings, m_params, m_machine, m_prompts);
    EXPECT_TRUE(dlg.OnOk());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(m_prompts.m_arrMessages,
              (std::vector<std::string>{"参数保存失败", "扩展参数保存失败"}));
}

TEST_F(MachineParamsDialogSimTest, ProgramAdapterFollowsTheEngineAndWritesThroughTheCommandLayer) {
    CEngineState state;
    CCommuDlgMachine machine(*m_pCommu, state);
    EXPECT_FALSE(machine.Online());
    state.m_nMachineOnline = 1;
    EXPECT_TRUE(machine.Online());
    m_params.SetLeftOffsetMm(321);
    EXPECT_EQ(WriteParams(machine, m_params), 0);
    m_params.SetKnifePos(0, 1234);
    EXPECT_EQ(WriteExtParams(machine, m_params), 0);
    const auto regs = m_sim.Registers();
    EXPECT_EQ(regs[50] | regs[51] << 8, 321);
    EXPECT_EQ(regs[128] | regs[129] << 8, 1234);
    EXPECT_EQ(m_params.MachineByte(128) | m_params.MachineByte(129) << 8, 1234);
}

} // namespace
} // namespace inkvale
