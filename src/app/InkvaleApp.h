// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/InstanceLock.h"
#include "config/MachineParams.h"
#include "config/Settings.h"

#include <QLocalServer>
#include <QMessageBox>
#include <QString>
#include <QTranslator>

#include <memory>
#include <string>

class QApplication;
class QSocketNotifier;

namespace inkvale {

class CMainWindow;

/// The application: process priority, installation directory, single instance, settings,
/// language, the main window, and saving the settings at exit.
class CInkvaleApp {
public:
    /// How a start ends up.
    enum class EStart {
        kRun,     ///< the window is up: run the event loop
        kEnded,   ///< end with status 0: another instance of the installation directory runs,
                  ///< or a termination request came during the start
        kRefused, ///< the start cannot go on safely (the operator was told why): status 1
    };

    /// Raises the process priority before anything else (failure is ignored).
    CInkvaleApp();
    ~CInkvaleApp();

    /// The start-up steps up to the shown window. strHome is the installation directory
    /// --home gave ("": the usual one, FindInstallDir); one that is missing or not writable
    /// refuses the start. Only the holder of the installation directory's lock goes on; a
    /// start that finds it held asks the holder to show its window, or says that the program
    /// runs already, and ends.
    EStart InitInstance(QApplication& app, const std::string& strHome = {});
    /// Saves the settings and closes the window (before the QApplication goes).
    void ExitInstance();

    /// SIGTERM, SIGINT and SIGHUP end the program as closing the window does (the settings
    /// are saved), without the question about a running job.
    void HandleTermination();

private:
    EStart EndStart(EStart eStart);
    bool AskRunningInstance(const QString& strServer);
    bool ListenForSecondStarts(const QString& strServer);
    void ReadSettingsOnly(const std::string& strInstallDir);
    void ShowStartMessage(QMessageBox::Icon eIcon, const QString& strText);
    void LoadLanguage(QApplication& app);
    bool LoadOwnTranslation(QApplication& app);
    void LoadQtTranslation(QApplication& app, const QString& strName);
    void OpenTaskFile(const std::string& strPath);
    void InhibitSleep();
    void ShowWindowTitle();

    CSettings m_settings;
    CMachineParams m_params;
    CInstanceLock m_lock; ///< held from the start to the end of the process
    std::unique_ptr<QLocalServer> m_pServer;
    std::unique_ptr<QTranslator> m_pTranslator;
    std::unique_ptr<QTranslator> m_pQtTranslator; ///< Qt's own buttons and standard dialogs
    std::unique_ptr<CMainWindow> m_pFrame;
    int m_nSleepLock = -1; ///< file descriptor of the logind sleep inhibitor
    std::unique_ptr<QSocketNotifier> m_pSignals;
    QMessageBox* m_pStartMessage = nullptr; ///< the start-up message waiting for the operator
    bool m_bEndRequested = false;           ///< a termination request came during the start
};

} // namespace inkvale
