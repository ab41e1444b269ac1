// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SettingsDialog.h"

#include "config/Settings.h"
#include "ui/UserSettingsPage.h"
#include "ui/DirectorySettingsPage.h"
#include "ui/PlotSettingsPage.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <array>

namespace inkvale {

namespace {

// Enter and Escape inside a page must not close the sheet (nor apply anything).
class CPageKeyFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override {
        if (pEvent->type() == QEvent::KeyPress) {
            const int nKey = static_cast<QKeyEvent*>(pEvent)->key();
            if (nKey == Qt::Key_Return || nKey == Qt::Key_Enter || nKey == Qt::Key_Escape)
                return true;
        }
        return QObject::eventFilter(pWatched, pEvent);
    }
};

void IgnoreEnterAndEscape(QWidget* pPage, QObject* pFilter) {
    for (QWidget* pChild : pPage->findChildren<QWidget*>())
        pChild->installEventFilter(pFilter);
}

} // namespace

std::vector<std::string> SysSetTabCaptions(int nLanguage) {
    switch (nLanguage) {
    case 0:
        return {"绘图设置", "目录设置", "用户设置"};
    case 2:
        return {"Çizim", "Dizin", "Kullanıcı"};
    case 3:
        return {"rəsm parametrləri", "kataloqlar", "İstifadəçi"};
    case 4:
        return {"Налаштування друку", "Налаштування папок", "Налаштування користувача"};
    case 5:
        return {"Настройки печати", "Настройки папок", "Настройки пользователя"};
    default:
        return {"Plot", "Directories", "User"};
    }
}

CSettingsDialog::CSettingsDialog(CSysSetContext ctx, QWidget* pParent)
    : QDialog(pParent), m_pTabs(new QTabWidget(this)), m_pPlot(new CPlotSettingsPage(ctx)),
      m_pDir(new CDirectorySettingsPage(ctx)), m_pCus(new CUserSettingsPage(ctx)) {
    setWindowTitle(tr("系统设置"));
    const std::vector<std::string> captions = SysSetTabCaptions(ctx.m_settings.Language);
    m_pTabs->addTab(m_pPlot, QString::fromStdString(captions[0]));
    m_pTabs->addTab(m_pDir, QString::fromStdString(captions[1]));
    m_pTabs->addTab(m_pCus, QString::fromStdString(captions[2]));
    auto* pFilter = new CPageKeyFilter(this);
    IgnoreEnterAndEscape(m_pPlot, pFilter);
    IgnoreEnterAndEscape(m_pDir, pFilter);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    pButtons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    pButtons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(m_pTabs);
    pLayout->addWidget(pButtons);
}

void CSettingsDialog::accept() {
    const std::array<CSettingsPage*, 3> pages{m_pPlot, m_pDir, m_pCus};
    for (CSettingsPage* pPage : pages) {
        if (!pPage->Modified())
            continue;
        // In front first, so its messages and a refused field show on the right page.
        m_pTabs->setCurrentWidget(pPage);
        if (!pPage->Apply())
            return;
    }
    QDialog::accept();
}

} // namespace inkvale
