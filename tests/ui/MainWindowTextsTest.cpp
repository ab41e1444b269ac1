// SPDX-License-Identifier: GPL-3.0-or-later
// Every text the operator reads in the main window, in each of the six languages, on the
// screen the test runs on: its menus, command bar captions and tooltips, the task list's
// headers and cells, the status panes, the settings sheet and the core's messages. In a
// translated language none is the Chinese source or the English text left untranslated,
// and none is cut: each fits the rectangle it is drawn in, measured with its own font.
// The window itself fits the screen. ctest runs this suite also on a 1366 x 768 screen and
// with QT_SCALE_FACTOR=2 on a 1600 x 1000 screen (tests/data/screens/).
#include "ui/MainWindow.h"

#include "DlgTestSupport.h"
#include "common/TestPaths.h"
#include "config/SettingsStore.h"
#include "queue/TaskListEdits.h"
#include "support/MessageSource.h"
#include "ui/CommandBar.h"
#include "ui/SettingsDialog.h"
#include "ui/SettingsDialogHost.h"
#include "ui/InkvaleAppRules.h"
#include "ui/ListTexts.h"
#include "ui/MainWindowPrompts.h"
#include "ui/OperatorText.h"
#include "ui/StatusPanes.h"

#include "UiTestApp.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <memory>
#include <set>

namespace inkvale {
namespace {

#ifdef INKVALE_APP_PATH

class CQuietPrompts : public CMainWindowPrompts {
public:
    void Inform(const std::string&, const std::string&) override {}
    void Error(const std::string&, const std::string&) override {}
    bool AskOkCancel(const std::string&, const std::string&) override { return false; }
    std::vector<std::string> OpenFiles(const std::string&, const std::string&) override {
        return {};
    }
    std::string SaveFile(const std::string&) override { return {}; }
    void About(int) override {}
    int Choose(const std::string&, const std::string&, const std::vector<std::string>&) override {
        return -1;
    }
};

class CNoHost : public CSettingsDialogHost {
public:
    void DiscardAllDrawings() override {}
};

bool HasChinese(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF))
            return true;
    }
    return false;
}

// One text on the screen: where it is (the same key in every language), what it says, and
// whether it is cut in the rectangle it is drawn in.
struct CShownText {
    QString m_text;
    bool m_bClipped = false;
};
using CTexts = std::map<std::string, CShownText>;

// Texts every language shows alike.
bool SameInEveryLanguage(const QString& text) {
    static const std::set<QString> kAlike = {QStringLiteral("IP"), QStringLiteral("OK"),
                                             QStringLiteral("X:0 Y:0"), QStringLiteral("Ethernet")};
    bool bLetters = false;
    for (const QChar c : text)
        bLetters = bLetters || c.isLetter();
    return !bLetters || kAlike.count(text) != 0 || text.contains(QStringLiteral("plt")) ||
           text.contains(QStringLiteral("mm"));
}

bool Cut(const QWidget& w, const QString& text, int nRoom) {
    return w.isVisible() && w.fontMetrics().horizontalAdvance(text) > nRoom;
}

// A label's single line within its contents; a button's caption within the size it asks.
void AddWidgetTexts(const std::string& strWhere, QWidget& top, CTexts& out) {
    int n = 0;
    for (QLabel* p : top.findChildren<QLabel*>()) {
        if (p->text().isEmpty() || p->objectName().startsWith(QStringLiteral("pane")))
            continue;
        const bool bCut = !p->wordWrap() && !p->text().contains(QLatin1Char('\n')) &&
                          Cut(*p, p->text(), p->contentsRect().width());
        out[strWhere + "/label" + std::to_string(n++)] = {p->text(), bCut};
    }
    for (QAbstractButton* p : top.findChildren<QAbstractButton*>()) {
        if (p->text().isEmpty() || qobject_cast<QToolButton*>(p) != nullptr)
            continue;
        const bool bCut = p->isVisible() && p->width() < p->sizeHint().width();
        out[strWhere + "/button" + std::to_string(n++)] = {p->text(), bCut};
    }
    for (QGroupBox* p : top.findChildren<QGroupBox*>())
        out[strWhere + "/group" + std::to_string(n++)] = {p->title(),
                                                          Cut(*p, p->title(), p->width())};
    for (QTabWidget* p : top.findChildren<QTabWidget*>())
        for (int i = 0; i < p->count(); ++i)
            out[strWhere + "/tab" + std::to_string(i)] = {p->tabText(i), false};
}

class MainWindowTextsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureUiTestApp();
        ASSERT_TRUE(
            test::WriteFileBytes(m_dir.Path() / "Inkvale.ini", "[Para]\nMachineIP=16777343\n"));
        m_strPlot = (m_dir.Path() / "marker.plt").string();
        ASSERT_TRUE(test::WriteFileBytes(m_strPlot, "IN;SP1;PU0,0;PD4000,0,4000,4000,0,0;PU;"));
    }

    // Opens the window in a language, as the program does on this screen, and reads it.
    CTexts Walk(int32_t nLanguage) {
        CSettings settings;
        CMachineParams params;
        (void)LoadSettings(settings, params, m_dir.Path().string());
        params.ResetMachineParams();
        EXPECT_EQ(params.MachineIP(), 16777343u); // loopback only
        settings.Language = nLanguage;
        CQuietPrompts prompts;
        CMainWindow frame(settings, params, &prompts, false);
        frame.AddPaths({m_strPlot});
        frame.show();
        QApplication::processEvents();
        frame.UpdateStatus();
        QApplication::processEvents();
        CTexts out;
        ExpectFitsTheScreen(frame, nLanguage);
        AddMenus(frame, out);
        AddBar(frame, out);
        AddList(frame, nLanguage, out);
        AddPanes(frame, out);
        AddSettingsSheet(settings, params, &frame, out);
        AddMessages(out);
        return out;
    }

    static void ExpectFitsTheScreen(const CMainWindow& frame, int32_t nLanguage) {
        const QRect room = frame.screen()->availableGeometry();
        EXPECT_LE(frame.frameGeometry().width(), room.width()) << nLanguage;
        EXPECT_LE(frame.frameGeometry().height(), room.height()) << nLanguage;
    }

    static void AddMenus(CMainWindow& frame, CTexts& out) {
        int n = 0;
        for (QAction* pMenu : frame.menuBar()->actions()) {
            out["menu" + std::to_string(n)] = {pMenu->text(), false};
            int m = 0;
            for (QAction* pItem : pMenu->menu()->actions())
                if (!pItem->isSeparator())
                    out["menu" + std::to_string(n) + "/" + std::to_string(m++)] = {pItem->text(),
                                                                                   false};
            ++n;
        }
    }

    // Captions under the icons fit their buttons, or the bar shows icons alone and each
    // button says what it does in its tooltip; every button lies inside the window.
    static void AddBar(CMainWindow& frame, CTexts& out) {
        CCommandBar& bar = frame.Bar();
        for (QToolButton* p : bar.findChildren<QToolButton*>()) {
            const std::string strId = p->objectName().toStdString();
            const bool bCaption = p->toolButtonStyle() == Qt::ToolButtonTextUnderIcon;
            const QRect inFrame(p->mapTo(&frame, QPoint(0, 0)), p->size());
            EXPECT_LE(inFrame.right(), frame.width()) << strId;
            if (bCaption)
                out["bar/" + strId] = {p->text(), Cut(*p, p->text(), p->width() - 4)};
            if (!p->toolTip().isEmpty())
                out["tip/" + strId] = {p->toolTip(), false};
            else
                EXPECT_TRUE(bCaption || p->objectName() == QStringLiteral("bar314")) << strId;
        }
    }

    static void AddList(CMainWindow& frame, int32_t nLanguage, CTexts& out) {
        CTaskListView& list = frame.TaskList();
        const QHeaderView* pHeader = list.horizontalHeader();
        const int nMargin =
            2 * list.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, pHeader);
        for (int c = 0; c < list.columnCount(); ++c) {
            const QString text = list.horizontalHeaderItem(c)->text();
            out["header" + std::to_string(c)] = {
                text,
                pHeader->fontMetrics().horizontalAdvance(text) + nMargin > pHeader->sectionSize(c)};
        }
        out["cell/state"] = {list.item(0, 1)->text(), false};
        out["cell/from"] = {list.item(0, 2)->text(), false};
        COnePage task;
        for (const int32_t nSource : {kSourceManDir, kSourceAutoDir})
            out["cell/from" + std::to_string(nSource)] = {
                QString::fromStdString(ListSourceText(nSource, nLanguage)), false};
    }

    // The panes sit side by side without overlapping, each text whole in its pane.
    static void AddPanes(CMainWindow& frame, CTexts& out) {
        int nRightOfLast = -1;
        for (const int nPane :
             {CMainWindow::kPaneMouse, CMainWindow::kPaneState, CMainWindow::kPanePos,
              CMainWindow::kPaneMachineIp, CMainWindow::kPaneLocalIp, CMainWindow::kPaneJob,
              CMainWindow::kPaneQueue}) {
            const QLabel* p = frame.Panes().Label(nPane);
            if (p->isHidden())
                continue;
            EXPECT_GT(p->geometry().left(), nRightOfLast) << nPane;
            nRightOfLast = p->geometry().right();
            out["pane" + std::to_string(nPane)] = {p->text(),
                                                   Cut(*p, p->text(), p->contentsRect().width())};
        }
    }

    static void AddSettingsSheet(CSettings& settings, CMachineParams& params, QWidget* pParent,
                                 CTexts& out) {
        test::CRecordingPrompts prompts;
        test::CTestDlgMachine machine;
        CNoHost host;
        CSettingsDialog sheet({settings, params, machine, prompts, host}, pParent);
        sheet.show();
        QApplication::processEvents();
        out["settings/title"] = {sheet.windowTitle(), false};
        AddWidgetTexts("settings", sheet, out);
    }

    static void AddMessages(CTexts& out) {
        const CMessage messages[] = {{EMsg::kOpenFileFailed, {"/nowhere/marker.plt"}},
                                     {EMsg::kJobTooWide, {}},
                                     {EMsg::kMachineOffline, {}},
                                     {EMsg::kPreflightTooWide, {"marker.plt", "2139", "1986"}}};
        for (const CMessage& message : messages)
            out["message" + std::to_string(static_cast<int>(message.m_eId))] = {
                OperatorText(message), false};
    }

    test::CScratchDir m_dir;
    std::string m_strPlot;
};

// Chinese, then English (the texts the others are compared with), then the four others.
TEST_F(MainWindowTextsTest, EveryTextTranslatedAndWholeInEveryLanguage) {
    CTexts english;
    std::cout << "screen " << QGuiApplication::primaryScreen()->size().width() << " x "
              << QGuiApplication::primaryScreen()->size().height() << " (logical), scale "
              << QGuiApplication::primaryScreen()->devicePixelRatio() << "\n"
              << "language | texts checked | untranslated | cut\n";
    for (const int32_t nLanguage : {0, 1, 2, 3, 4, 5}) {
        std::unique_ptr<test::CShippedTranslation> pTranslation;
        if (nLanguage != 0) {
            pTranslation =
                std::make_unique<test::CShippedTranslation>(TranslationFile(nLanguage).c_str());
            ASSERT_TRUE(pTranslation->Loaded()) << nLanguage;
        }
        const CTexts texts = Walk(nLanguage);
        int nUntranslated = 0;
        int nCut = 0;
        for (const auto& [strWhere, shown] : texts) {
            const std::string strText = shown.m_text.toStdString();
            nCut += shown.m_bClipped ? 1 : 0;
            EXPECT_FALSE(shown.m_bClipped) << nLanguage << " " << strWhere << ": " << strText;
            if (nLanguage == 0)
                continue;
            const auto itEnglish = english.find(strWhere);
            const bool bLeftChinese = HasChinese(shown.m_text);
            const bool bLeftEnglish = nLanguage >= 2 && itEnglish != english.end() &&
                                      itEnglish->second.m_text == shown.m_text &&
                                      !SameInEveryLanguage(shown.m_text);
            nUntranslated += bLeftChinese || bLeftEnglish ? 1 : 0;
            EXPECT_FALSE(bLeftChinese) << nLanguage << " " << strWhere << ": " << strText;
            EXPECT_FALSE(bLeftEnglish) << nLanguage << " " << strWhere << ": " << strText;
        }
        std::cout << nLanguage << " | " << texts.size() << " | " << nUntranslated << " | " << nCut
                  << "\n";
        if (nLanguage == 1)
            english = texts;
    }
}

#endif

} // namespace
} // namespace inkvale
