#pragma once

#include "config/MachineParams.h"
#include "config/Settings.h"

#include <QLocalServer>
#include <QString>
#include <QTranslator>

#include <memory>
#include <string>

class QApplication;

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
    /// Saves the settings.
    void ExitInstance();

    /// The instance name: installation directory and executable name, every character
    /// whose code is below 9 or above 127 replaced by '_'.
    static std::string InstanceName(const std::string& strInstallDir, const std::string& strExe);
    /// Name of the language file of a language (1..5), "" for the others.
    static QString TranslationFile(int32_t nLanguage);
    /// Text shown when the language file of a language (1..5) cannot be loaded.
    static QString TranslationFailureText(int32_t nLanguage);

private:
    bool AskRunningInstance(const QString& strServer);
    void ListenForSecondStarts(const QString& strServer);
    void LoadLanguage(QApplication& app);
    void OpenTaskFile(const std::string& strPath);
    void InhibitSleep();

    CSettings m_settings;
    CMachineParams m_params;
    std::unique_ptr<QLocalServer> m_pServer;
    std::unique_ptr<QTranslator> m_pTranslator;
    std::unique_ptr<CMainFrame> m_pFrame;
    int m_nSleepLock = -1; ///< file descriptor of the logind sleep inhibitor
};

} // namespace inkvale
