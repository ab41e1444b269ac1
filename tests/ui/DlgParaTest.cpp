// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DlgPara.h"

#include "DlgTestSupport.h"
#include "config/MachineParams.h"
#include "config/Settings.h"
#include "machine/SimFixture.h"
#include "machine/engine/EngineState.h"
#include "ui/DlgGetPwd.h"

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

class DlgParaTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureDlgApp();
        m_params.SetMachineIP(test::kLoopbackIp);
    }
    void SetExtended() { m_params.SetEditByte(79, CMachineParams::kExtPresent); }
    std::string Text(CDlgPara& dlg, int nId) { return dlg.Edit(nId)->text().toStdString(); }

    CSettings m_settings;
    CMachineParams m_params;
    CRecordingPrompts m_prompts;
    CTestDlgMachine m_machine;
};

TEST_F(DlgParaTest, AccessCodeGuardsTheDialog) {
    EXPECT_TRUE(IsParaAccessCode("579"));
    EXPECT_FALSE(IsParaAccessCode("5790"));
    EXPECT_FALSE(IsParaAccessCode(""));
    EXPECT_TRUE(IsParaAccessCode(QString("579").toLower().toStdString()));

    int nRuns = 0;
    auto fnRun = [&](CDlgPara&) {
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

    CDlgGetPwd pwd;
    EXPECT_EQ(pwd.Field()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(pwd.Field()->maxLength(), 64);
}

TEST_F(DlgParaTest, OfflineDialogIsReadOnlyAndKeepsTheValuesOnTheHost) {
    const char* const kOpen[] = {"已脱机！", "Offline", "Bağlı değil",
                                 "oflayn",   "Оффлайн", "Оффлайн"};
    const char* const kSave[] = {
        "脱机状态无法保存参数", "Offline", "Bağlı değil", "oflayn", "Offline", "Offline"};
    for (int nLang = 0; nLang < 6; ++nLang) {
        SCOPED_TRACE(nLang);
        m_settings.Language = nLang;
        m_prompts.m_arrMessages.clear();
        const auto result =
            RunParaCommand(m_settings, m_params, m_machine, m_prompts, nullptr, [&](CDlgPara& dlg) {
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

TEST_F(DlgParaTest, FieldsOutsideTheirRangeKeepTheDialogOpen) {
    m_machine.m_bOnline = true;
    SetExtended();
    struct Case {
        int nId;
        const char* pszText;
        const char* pszMessage; // nullptr: accepted
    };
    const Case cases[] = {
        {414, "3800", nullptr},
        {414, "4001", "请输入一个 500 至 4000 之间的整数。"},
        {414, "499", "请输入一个 500 至 4000 之间的整数。"},
        {500, "29.9", "请输入一个 30 至 200 之间的数字。"},
        {500, "200", nullptr},
        {500, "x", "请输入一个数字。"},
        {381, "1001", "请输入一个 0 至 1000 之间的整数。"},
        {426, "17", "请输入一个 18 至 25 之间的整数。"},
        {447, "-6", "请输入一个 -5 至 5 之间的整数。"},
        {448, "-5", nullptr},
        {501, "40", nullptr},
        {501, "41", "请输入一个 10 至 40 之间的整数。"},
        {502, "86", "请输入一个 20 至 85 之间的整数。"},
        {503, "256", "请输入一个 0 至 255 之间的整数。"}, // one byte: no silent wrap to 0
        {427, "33", "请输入一个 20 至 32 之间的整数。"},
        {504, "0", "请输入一个 1 至 5 之间的整数。"},
        {444, "101", "请输入一个 0 至 100 之间的整数。"},
        {443, "3001", "请输入一个 0 至 3000 之间的整数。"},
        {430, "1.5", "请输入一个整数。"},
        {424, "", "请输入一个整数。"},
    };
    m_params.SetFeedSpeed(3);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.nId) + " " + c.pszText);
        CMachineParams before = m_params;
        m_prompts.m_arrMessages.clear();
        CTestDlgMachine offline; // writes are not what this test looks at
        CDlgPara dlg(m_settings, m_params, offline, m_prompts);
        dlg.Edit(c.nId)->setText(c.pszText);
        const bool bClosed = dlg.OnOk();
        if (c.pszMessage == nullptr) {
            EXPECT_TRUE(bClosed);
            EXPECT_EQ(dlg.result(), QDialog::Accepted);
        } else {
            EXPECT_FALSE(bClosed);
            EXPECT_EQ(dlg.result(), QDialog::Rejected);
            ASSERT_EQ(m_prompts.m_arrMessages.size(), 1u);
            EXPECT_EQ(m_prompts.m_arrMessages[0], c.pszMessage);
            for (int a = 24; a < 148; ++a)
                ASSERT_EQ(m_params.EditByte(a), before.EditByte(a)) << a;
        }
        m_params = before;
    }
}

TEST_F(DlgParaTest, LoadingShowsTheEditCopyWithItsCorrections) {
    m_machine.m_bOnline = true;
    SetExtended();
    m_params.SetReturnJoin(2, 45);
    m_params.SetReturnJoin(3, 40);
    m_params.SetKnifePos(1, 3500);
    m_params.SetInkColumns(1);
    m_params.SetKnifeMode(1);
    m_params.SetFeedStepBase(57300);
    CDlgPara dlg(m_settings, m_params, m_machine, m_prompts);
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

TEST_F(DlgParaTest, EnablingFollowsCombinationAndExtendedBlock) {
    m_machine.m_bOnline = true;
    const int kExt[] = {444, 440, 441, 442, 443};
    {
        CDlgPara dlg(m_settings, m_params, m_machine, m_prompts);
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
    CDlgPara dlg(m_settings, m_params, m_machine, m_prompts);
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

TEST_F(DlgParaTest, OkStoresTheFieldsWithTheirRules) {
    // Without the extended block the cutter, precise mode and ink columns are switched off.
    m_params.SetKnifeMode(2);
    m_params.SetPreciseMode(1);
    m_params.SetInkColumns(2);
    m_params.SetXDotsPerMetre(1);
    {
        CDlgPara dlg(m_settings, m_params, m_machine, m_prompts);
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
        CDlgPara dlg(m_settings, m_params, m_machine, m_prompts);
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

TEST_F(DlgParaTest, RestoreDefaultsTakesEffectAtOk) {
    CDlgPara dlg(m_settings, m_params, m_machine, m_prompts);
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
class DlgParaSimTest : public test::CSimCommuTest {
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

TEST_F(DlgParaSimTest, OkWritesTheBlockThenTheExtendedBlock) {
    m_sim.ClearFrames();
    CDlgPara dlg(m_settings, m_params, m_machine, m_prompts);
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

TEST_F(DlgParaSimTest, FailedWritesAreReportedAndTheDialogStillCloses) {
    m_sim.AddFault({sim::ESimFault::Lose, 'R', 24, 1, 0, 0});
    m_sim.AddFault({sim::ESimFault::Lose, 'R', 128, 1, 0, 0});
    CDlgPara dlg(m_settings, m_params, m_machine, m_prompts);
    EXPECT_TRUE(dlg.OnOk());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(m_prompts.m_arrMessages,
              (std::vector<std::string>{"参数保存失败", "扩展参数保存失败"}));
}

TEST_F(DlgParaSimTest, ProgramAdapterFollowsTheEngineAndWritesThroughTheCommandLayer) {
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
