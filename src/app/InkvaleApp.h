// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/MachineParams.h"
#include "config/Settings.h"

#include <QLocalServer>
#include <QString>
#include <QTranslator>

#include <memory>
#include <string>

class QApplication;
class QSocketNotifier;

namespace inkvale {

class CMainFrame;

/// The application: process priority, installation directory, single instance, settings,
/// language, the main window, and saving the settings at exit.
class CInkvaleApp {
public:
    /// Raises the process priority before anything else (failure is ignored).
    CInkvaleApp();
    ~CInkvaleApp();

    /// The start-up steps up to the shown window; false when this start must end (another
    /// instance runs and was asked to show itself).
    bool InitInstance(QApplication& app);
    /// Saves the settings and closes the window (before the QApplication goes).
    void ExitInstance();

    /// SIGTERM, SIGINT and SIGHUP end the program as closing the window does (the settings
    /// are saved), without the question about a running job.
    void HandleTermination();

private:
    bool AskRunningInstance(const QString& strServer);
    void ListenForSecondStarts(const QString& strServer);
    void LoadLanguage(QApplication& app);
    bool LoadOwnTranslation(QApplication& app);
    void LoadQtTranslation(QApplication& app, const QString& strName);
    void OpenTaskFile(const std::string& strPath);
    void InhibitSleep();

    CSettings m_settings;
    CMachineParams m_params;
    std::unique_ptr<QLocalServer> m_pServer;
    std::unique_ptr<QTranslator> m_pTranslator;
    std::unique_ptr<QTranslator> m_pQtTranslator; ///< Qt's own buttons and standard dialogs
    std::unique_ptr<CMainFrame> m_pFrame;
    int m_nSleepLock = -1; ///< file descriptor of the logind sleep inhibitor
    std::unique_ptr<QSocketNotifier> m_pSignals;
};

} // namespace inkvale
