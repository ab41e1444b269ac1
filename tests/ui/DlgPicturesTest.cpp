// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of the dialogs for the documentation: written only when INKVALE_DIALOG_PICTURES
// names a folder (docs/ of the source tree), skipped otherwise.
#include "DlgTestSupport.h"
#include "config/MachineParams.h"
#include "config/Settings.h"
#include "ui/PasswordDialog.h"
#include "ui/MachineParamsDialog.h"
#include "ui/MachineAddressDialog.h"
#include "ui/OffsetDialog.h"
#include "ui/HpglUnitDialog.h"
#include "ui/SettingsDialog.h"

#include <QComboBox>
#include <QPixmap>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace inkvale {
namespace {

class CNoHost : public CSettingsDialogHost {
public:
    void DiscardAllDrawings() override {}
};

void Save(QWidget& widget, const QString& strFolder, const char* pszName) {
    widget.adjustSize();
    widget.show();
    const QPixmap pixmap = widget.grab();
    widget.hide();
    ASSERT_FALSE(pixmap.isNull());
    EXPECT_TRUE(pixmap.save(strFolder + "/dialog-" + pszName + ".png")) << pszName;
}

TEST(DlgPicturesTest, WritesOnePicturePerDialog) {
    const QString strFolder = qEnvironmentVariable("INKVALE_DIALOG_PICTURES");
    if (strFolder.isEmpty())
        GTEST_SKIP() << "set INKVALE_DIALOG_PICTURES to a folder to write the pictures";
    test::EnsureDlgApp();
    CSettings settings;
    settings.m_strInstallDir = "/opt/inkvale/";
    settings.ManDir = "/opt/inkvale/ManDir/";
    settings.AutoDir = "/opt/inkvale/AutoDir/";
    settings.BackupDir = "/opt/inkvale/Backup/";
    settings.HistoryFile = "/opt/inkvale/PrintHistory.csv";
    settings.PrtFileExtension = "*.plt;*.hpg;";
    settings.CustomString = "欢迎使用喷墨绘图仪";
    settings.DxfUnit = 40;
    settings.SplitGap = 10;
    CMachineParams params;
    params.SetEditByte(79, CMachineParams::kExtPresent);
    params.SetFeedSpeed(3);
    params.SetMachineIP(0x0100007Fu);
    test::CRecordingPrompts prompts;
    test::CTestDlgMachine machine;
    machine.m_bOnline = true;
    CNoHost host;

    CPasswordDialog pwd;
    Save(pwd, strFolder, "password");
    CMachineParamsDialog para(settings, params, machine, prompts);
    para.Combination()->setCurrentIndex(3);
    Save(para, strFolder, "machine-parameters");
    COffsetDialog offset(settings, params, machine, prompts);
    Save(offset, strFolder, "offset");
    CMachineAddressDialog eth(params, machine, prompts);
    Save(eth, strFolder, "ip");
    CHpglUnitDialog unit(settings);
    Save(unit, strFolder, "hpgl-unit");
    const char* const kPages[] = {"settings-plot", "settings-directories", "settings-user"};
    for (int i = 0; i < 3; ++i) {
        CSettingsDialog sheet({settings, params, machine, prompts, host});
        sheet.Tabs()->setCurrentIndex(i);
        Save(sheet, strFolder, kPages[i]);
    }
}

} // namespace
} // namespace inkvale
