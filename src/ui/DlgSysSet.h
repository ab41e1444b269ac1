// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/DlgSysSetHost.h"

#include <QDialog>

#include <string>
#include <vector>

class QTabWidget;

namespace inkvale {

class CPDlgSetPlot;
class CPDlgSetDir;
class CPDlgSetCus;

/// The tab captions of the system settings sheet in a language.
std::vector<std::string> SysSetTabCaptions(int nLanguage);

/// "系统设置" (command 285): the Plot, Directories and User pages. Each page stores its values
/// with its own Apply; OK applies every page changed since it opened or was last applied and
/// then closes (the main window then saves the settings). Cancel closes without applying;
/// values applied on a page stay in effect.
class CDlgSysSet : public QDialog {
    Q_OBJECT
public:
    explicit CDlgSysSet(CSysSetContext ctx, QWidget* pParent = nullptr);
    /// OK: applies the changed pages in tab order, each brought to the front while it
    /// applies. A page that refuses a value stays in front with its message and the sheet
    /// stays open; pages applied before it keep their values.
    void accept() override;
    QTabWidget* Tabs() const { return m_pTabs; }
    CPDlgSetPlot* PlotPage() const { return m_pPlot; }
    CPDlgSetDir* DirPage() const { return m_pDir; }
    CPDlgSetCus* UserPage() const { return m_pCus; }

private:
    QTabWidget* m_pTabs;
    CPDlgSetPlot* m_pPlot;
    CPDlgSetDir* m_pDir;
    CPDlgSetCus* m_pCus;
};

} // namespace inkvale
