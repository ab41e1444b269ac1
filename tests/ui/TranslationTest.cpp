// SPDX-License-Identifier: GPL-3.0-or-later
// The shipped translations and the About box: in a translated language every dialog reads
// that language from title to buttons, and the framework's field messages follow.
#include "DlgTestSupport.h"
#include "config/MachineParams.h"
#include "config/Settings.h"
#include "support/MessageSource.h"
#include "ui/AboutDialog.h"
#include "ui/DlgFields.h"
#include "ui/PasswordDialog.h"
#include "ui/MachineParamsDialog.h"
#include "ui/MachineAddressDialog.h"
#include "ui/OffsetDialog.h"
#include "ui/HpglUnitDialog.h"
#include "ui/SettingsDialog.h"
#include "ui/SettingsDialogHost.h"
#include "ui/InkvaleAppRules.h"
#include "ui/OperatorText.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace inkvale {
namespace {

class CNoHost : public CSettingsDialogHost {
public:
    void DiscardAllDrawings() override {}
};

// Every text a dialog shows: its title, labels, buttons, group titles, list items and tabs.
QStringList ShownTexts(QWidget& dlg) {
    QStringList texts{dlg.windowTitle()};
    for (QLabel* p : dlg.findChildren<QLabel*>())
        texts << p->text();
    for (QAbstractButton* p : dlg.findChildren<QAbstractButton*>())
        texts << p->text();
    for (QGroupBox* p : dlg.findChildren<QGroupBox*>())
        texts << p->title();
    for (QComboBox* p : dlg.findChildren<QComboBox*>())
        for (int i = 0; i < p->count(); ++i)
            texts << p->itemText(i);
    for (QTabWidget* p : dlg.findChildren<QTabWidget*>())
        for (int i = 0; i < p->count(); ++i)
            texts << p->tabText(i);
    return texts;
}

bool HasChinese(const QString& text) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF))
            return true;
    }
    return false;
}

TEST(AboutDialogTest, VersionAndReleaseDatePerLanguage) {
    test::EnsureDlgApp();
    CAboutDialog chinese(0);
    EXPECT_EQ(chinese.windowTitle(), QStringLiteral("关于Inkvale"));
    EXPECT_EQ(chinese.VersionLabel()->text(), QStringLiteral("Inkvale v1.6.5"));
    EXPECT_EQ(chinese.DateLabel()->text(), QStringLiteral("发布日期:2023年6月2日"));
    for (int nLanguage : {1, 2, 5}) {
        CAboutDialog other(nLanguage);
        EXPECT_EQ(other.DateLabel()->text(), QStringLiteral("Release date:5th Jan. 2023"))
            << nLanguage;
    }
}

#ifdef INKVALE_APP_PATH
class TranslatedDialogsTest : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureDlgApp(); }

    // The dialogs in a language, with its translation installed.
    std::vector<std::pair<const char*, std::unique_ptr<QWidget>>> MakeDialogs() {
        const CSysSetContext ctx{m_settings, m_params, m_machine, m_prompts, m_host};
        std::vector<std::pair<const char*, std::unique_ptr<QWidget>>> dialogs;
        dialogs.emplace_back(
            "parameters", std::make_unique<CMachineParamsDialog>(m_settings, m_params, m_machine, m_prompts));
        dialogs.emplace_back("settings", std::make_unique<CSettingsDialog>(ctx));
        dialogs.emplace_back("address",
                             std::make_unique<CMachineAddressDialog>(m_params, m_machine, m_prompts));
        dialogs.emplace_back(
            "offset", std::make_unique<COffsetDialog>(m_settings, m_params, m_machine, m_prompts));
        dialogs.emplace_back("unit", std::make_unique<CHpglUnitDialog>(m_settings));
        dialogs.emplace_back("password", std::make_unique<CPasswordDialog>());
        dialogs.emplace_back("about", std::make_unique<CAboutDialog>(m_settings.Language));
        return dialogs;
    }

    CSettings m_settings;
    CMachineParams m_params;
    test::CRecordingPrompts m_prompts;
    test::CTestDlgMachine m_machine;
    CNoHost m_host;
};

// Every language with a translation reads without a Chinese character, title to buttons.
TEST_F(TranslatedDialogsTest, EveryDialogInEveryTranslatedLanguage) {
    for (int nLanguage = 1; nLanguage <= 5; ++nLanguage) {
        m_settings.Language = nLanguage;
        const std::string strFile = TranslationFile(nLanguage);
        test::CShippedTranslation translation(strFile.c_str());
        ASSERT_TRUE(translation.Loaded()) << strFile;
        for (const auto& [pszName, pDialog] : MakeDialogs()) {
            const QStringList texts = ShownTexts(*pDialog);
            EXPECT_GE(texts.size(), 3) << pszName;
            for (const QString& text : texts)
                EXPECT_FALSE(HasChinese(text))
                    << strFile << ", " << pszName << ": " << text.toStdString();
        }
    }
}

// The core's messages read in the language the program runs in: its own Chinese text without
// a translation, the English one (word for word) or another language's with one.
TEST_F(TranslatedDialogsTest, CoreMessagesFollowTheTranslation) {
    const CMessage open{EMsg::kAlreadyOpen, {}};
    const CMessage read{EMsg::kTaskFileRead, {"/tmp/q.sptask"}};
    EXPECT_EQ(OperatorText(open), QStringLiteral("重复打开"));
    EXPECT_EQ(OperatorText(read), QStringLiteral("读取 /tmp/q.sptask 时发生了错误。"));
    {
        test::CShippedTranslation english;
        ASSERT_TRUE(english.Loaded());
        EXPECT_EQ(OperatorText(open), QStringLiteral("Already Open"));
        EXPECT_EQ(OperatorText(CMessage{EMsg::kJobTooWide, {}}),
                  QStringLiteral("Out of size in Y: please change the right margin and the paper "
                                 "width, or open another plt file."));
    }
    for (int nLanguage = 2; nLanguage <= 5; ++nLanguage) {
        const std::string strFile = TranslationFile(nLanguage);
        test::CShippedTranslation translation(strFile.c_str());
        ASSERT_TRUE(translation.Loaded()) << strFile;
        for (const EMsg eId : {EMsg::kOpenFileFailed, EMsg::kAlreadyOpen, EMsg::kFileTooLarge,
                               EMsg::kJobTooWide, EMsg::kTaskFileFormat}) {
            const QString text = OperatorText(CMessage{eId, {}});
            EXPECT_FALSE(text.isEmpty() || HasChinese(text))
                << strFile << ": " << text.toStdString();
            EXPECT_NE(text.toStdString(), MessageSource(eId).m_pszEnglish) << strFile;
        }
        EXPECT_TRUE(OperatorText(read).contains(QStringLiteral("/tmp/q.sptask"))) << strFile;
    }
}

TEST_F(TranslatedDialogsTest, TitlesAndFieldMessagesInEnglish) {
    m_settings.Language = 1;
    auto pEnglish = std::make_unique<test::CShippedTranslation>();
    ASSERT_TRUE(pEnglish->Loaded());
    COffsetDialog offset(m_settings, m_params, m_machine, m_prompts);
    EXPECT_EQ(offset.windowTitle(), QStringLiteral("Left Offset"));
    EXPECT_EQ(CAboutDialog(1).windowTitle(), QStringLiteral("About Inkvale"));
    EXPECT_EQ(IntegerRangeMessage(500, 4000), "Please enter an integer between 500 and 4000.");
    EXPECT_EQ(NumberRangeMessage(30, 57.5), "Please enter a number between 30 and 57.5.");
    pEnglish.reset();
    EXPECT_EQ(IntegerRangeMessage(500, 4000), "请输入一个 500 至 4000 之间的整数。");
}
#endif

} // namespace
} // namespace inkvale
