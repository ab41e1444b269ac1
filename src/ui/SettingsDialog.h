// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/SettingsDialogHost.h"

#include <QDialog>

#include <string>
#include <vector>

class QTabWidget;

namespace inkvale {

class CPlotSettingsPage;
class CDirectorySettingsPage;
class CUserSettingsPage;

/// The tab captions of the system settings sheet in a language.
std::vector<std::string> SysSetTabCaptions(int nLanguage);

/// "系统设置" (command 285): the Plot, Directories and User pages. Each page stores its values
/// with its own Apply; OK applies every page changed since it opened or was last applied and
/// then closes (the main window then saves the settings). Cancel closes without applying;
/// values applied on a page stay in effect.
class CSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit CSettingsDialog(CSysSetContext ctx, QWidget* pParent = nullptr);
    /// OK: applies the changed pages in tab order, each brought to the front while it
    /// applies. A page that refuses a value stays in front with its message and the sheet
    /// stays open; pages applied before it keep their values.
    void accept() override;
    QTabWidget* Tabs() const { return m_pTabs; }
    CPlotSettingsPage* PlotPage() const { return m_pPlot; }
    CDirectorySettingsPage* DirPage() const { return m_pDir; }
    CUserSettingsPage* UserPage() const { return m_pCus; }

private:
    QTabWidget* m_pTabs;
    CPlotSettingsPage* m_pPlot;
    CDirectorySettingsPage* m_pDir;
    CUserSettingsPage* m_pCus;
};

} // namespace inkvale
