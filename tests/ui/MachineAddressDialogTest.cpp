// SPDX-License-Identifier: GPL-3.0-or-later
// The offset dialog, the IP dialog and the parameter screenshot.
#include "ui/MachineAddressDialog.h"

#include "DlgTestSupport.h"
#include "common/TestPaths.h"
#include "config/MachineParams.h"
#include "config/Settings.h"
#include "machine/SimFixture.h"
#include "ui/MachineParamsDialog.h"
#include "ui/DlgScreenshot.h"
#include "ui/OffsetDialog.h"

#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace inkvale {
namespace {

class DlgMachineSimTest : public test::CSimCommuTest {
protected:
    void SetUp() override {
        test::CSimCommuTest::SetUp();
        test::EnsureDlgApp();
        m_machine.m_pCommu = m_pCommu.get();
        m_params.SetMachineIP(test::kLoopbackIp);
    }
    CSettings m_settings;
    CMachineParams m_params;
    test::CRecordingPrompts m_prompts;
    test::CTestDlgMachine m_machine;
};

TEST_F(DlgMachineSimTest, OffsetIsWrittenOnlineAndKeptOffline) {
    const char* const kNotice[] = {
        "脱机状态无法保存参数", "Offline", "Bağlı değil", "oflayn", "", ""};
    for (int nLang = 0; nLang < 6; ++nLang) {
        m_settings.Language = nLang;
        m_prompts.m_arrMessages.clear();
        COffsetDialog dlg(m_settings, m_params, m_machine, m_prompts);
        EXPECT_EQ(dlg.Field()->text().toStdString(),
                  nLang == 0 ? "80" : "9" + std::to_string(nLang - 1));
        dlg.Field()->setText(QString::number(90 + nLang));
        EXPECT_TRUE(dlg.OnOk());
        EXPECT_EQ(m_params.LeftOffsetMm(), 90 + nLang);
        const std::vector<std::string> expected =
            *kNotice[nLang] ? std::vector<std::string>{kNotice[nLang]} : std::vector<std::string>{};
        EXPECT_EQ(m_prompts.m_arrMessages, expected) << nLang;
    }
    EXPECT_EQ(m_machine.m_nWrites, 0);

    m_machine.m_bOnline = true;
    COffsetDialog dlg(m_settings, m_params, m_machine, m_prompts);
    // 65536 would not fit the 16-bit field; the refusal names the field and its range.
    for (const char* pszRefused : {"65536", "-1", "x"}) {
        m_prompts.m_arrMessages.clear();
        dlg.Field()->setText(pszRefused);
        EXPECT_FALSE(dlg.OnOk()) << pszRefused;
        EXPECT_EQ(m_prompts.m_arrMessages,
                  std::vector<std::string>{"左偏移：请输入一个 0 至 65535 之间的整数。"});
    }
    EXPECT_EQ(m_machine.m_nWrites, 0);
    dlg.Field()->setText("300");
    EXPECT_TRUE(dlg.OnOk());
    const auto regs = m_sim.Registers();
    EXPECT_EQ(regs[50] | regs[51] << 8, 300);
    EXPECT_EQ(m_params.MachineByte(50) | m_params.MachineByte(51) << 8, 300);

    m_prompts.m_arrMessages.clear();
    m_sim.AddFault({sim::ESimFault::Lose, 'R', 24, 1, 0, 0});
    COffsetDialog failing(m_settings, m_params, m_machine, m_prompts);
    EXPECT_TRUE(failing.OnOk());
    EXPECT_EQ(m_prompts.m_arrMessages, std::vector<std::string>{"参数保存失败"});
}

TEST_F(DlgMachineSimTest, IpDialogOfflineOnlineAndRefused) {
    CMachineAddressDialog dlg(m_params, m_machine, m_prompts);
    EXPECT_EQ(dlg.Octet(0)->value(), 127);
    EXPECT_EQ(dlg.Octet(3)->value(), 1);
    dlg.SetAddress(0x0200007Fu); // 127.0.0.2
    EXPECT_EQ(dlg.Address(), 0x0200007Fu);
    dlg.OnOk();
    EXPECT_EQ(m_params.MachineIP(), 0x0200007Fu);
    EXPECT_EQ(m_machine.m_nWrites, 0);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);

    // Online: the machine stores it first; the old connection is dropped, then we switch.
    m_params.SetMachineIP(test::kLoopbackIp);
    m_machine.m_bOnline = true;
    m_sim.ClearFrames();
    m_sim.AddFault({sim::ESimFault::Lose, 'R', 4, 1, 0, 0});
    CMachineAddressDialog refused(m_params, m_machine, m_prompts);
    refused.Octet(3)->setValue(3);
    refused.OnOk();
    EXPECT_EQ(m_prompts.m_arrMessages, std::vector<std::string>{"IP保存失败"});
    EXPECT_EQ(m_params.MachineIP(), test::kLoopbackIp);
    EXPECT_EQ(m_machine.m_nCloses, 0);

    CMachineAddressDialog online(m_params, m_machine, m_prompts);
    online.Octet(3)->setValue(4);
    online.OnOk();
    const auto frames = FramesOfKind('R');
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(std::vector<uint8_t>(frames[1].begin() + 2, frames[1].end()),
              (std::vector<uint8_t>{4, 4, 127, 0, 0, 4}));
    EXPECT_EQ(m_machine.m_nCloses, 1);
    EXPECT_EQ(m_machine.m_arrSleeps, std::vector<int>{200});
    EXPECT_EQ(m_params.MachineIP(), 0x0400007Fu);
    EXPECT_EQ(m_prompts.m_arrMessages.size(), 1u);
}

TEST(DlgScreenshotTest, SixteenBitBitmapUnderTheDatedName) {
    test::EnsureDlgApp();
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 0));
    image.setPixel(0, 1, qRgb(0, 0, 255)); // bottom-left: first pixel of the file
    const std::vector<uint8_t> bmp = EncodeBmp16(image);
    ASSERT_EQ(bmp.size(), 54u + 2 * 8);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[2], 70); // file size
    EXPECT_EQ(bmp[10], 54);
    EXPECT_EQ(bmp[14], 40);
    EXPECT_EQ(bmp[18], 3);
    EXPECT_EQ(bmp[22], 2);
    EXPECT_EQ(bmp[28], 16);
    EXPECT_EQ(bmp[34], 16); // image size: 2 rows of 8 bytes (6 padded to 8)
    EXPECT_EQ(bmp[54] | bmp[55] << 8, 0x001F);
    EXPECT_EQ(bmp[56] | bmp[57] << 8, 0x7C00);

    std::tm tm{};
    tm.tm_year = 126;
    tm.tm_mon = 11;
    tm.tm_mday = 10;
    tm.tm_hour = 4;
    tm.tm_min = 5;
    tm.tm_sec = 6;
    EXPECT_EQ(ScreenshotFileName(0, tm), "参数2026年12月10日04时05分06秒.jpg");
    EXPECT_EQ(ScreenshotFileName(1, tm), "Para2026-12-10 04h05m06s.jpg");

    CSettings settings;
    CMachineParams params;
    test::CRecordingPrompts prompts;
    test::CTestDlgMachine machine;
    CMachineParamsDialog dlg(settings, params, machine, prompts);
    test::CScratchDir dir;
    const std::string strPath = dlg.SaveScreenshot(dir.Path().string());
    ASSERT_FALSE(strPath.empty());
    EXPECT_EQ(prompts.m_arrMessages, std::vector<std::string>{"Note: 截图成功保存到" + strPath});
    QFile file(QString::fromStdString(strPath));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));

    prompts.m_arrMessages.clear();
    EXPECT_EQ(dlg.SaveScreenshot(dir.Path().string() + "/missing/folder"), "");
    EXPECT_EQ(prompts.m_arrMessages, std::vector<std::string>{"提示: Create File Error!"});
}

} // namespace
} // namespace inkvale
