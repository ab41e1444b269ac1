// SPDX-License-Identifier: GPL-3.0-or-later
#include "InkvaleApp.h"

#include "config/SettingsStore.h"
#include "ui/InkvaleAppRules.h"
#include "ui/MainFrame.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocalSocket>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

namespace inkvale {

namespace {

constexpr int kRaisedNice = -10;
constexpr int kConnectWaitMs = 1000;
constexpr const char* kShowRequest = "show\n";

// The write end of the signal pipe; the handler only writes one byte to it.
int g_nSignalWrite = -1;

extern "C" void OnTerminationSignal(int) {
    const char c = 1;
    (void)!::write(g_nSignalWrite, &c, 1);
}

} // namespace

CInkvaleApp::CInkvaleApp() {
    // A busy desktop must not starve the band sender; without the right to it nothing changes.
    (void)::setpriority(PRIO_PROCESS, 0, kRaisedNice);
}

CInkvaleApp::~CInkvaleApp() {
    m_pFrame.reset();
    if (m_nSleepLock >= 0)
        ::close(m_nSleepLock);
}

bool CInkvaleApp::InitInstance(QApplication& app) {
    HandleTermination(); // a request that comes during the start is served by the loop
    const std::string strInstallDir = FindInstallDir();
    const std::string strExe =
        QFileInfo(app.applicationFilePath()).completeBaseName().toStdString();
    const QString strServer = QString::fromStdString(InstanceServerName(strInstallDir, strExe));
    if (AskRunningInstance(strServer))
        return false;
    ListenForSecondStarts(strServer);

    const CSettingsLoadResult loaded = LoadSettings(m_settings, m_params, strInstallDir);
    m_params.ResetMachineParams();
    LoadLanguage(app);
    InhibitSleep();

    m_pFrame = std::make_unique<CMainFrame>(m_settings, m_params);
    const QStringList args = app.arguments();
    if (args.size() > 1)
        OpenTaskFile(args.at(1).toStdString());
    m_pFrame->showMaximized();
    // A settings file that could not be read was kept aside: the operator must know that
    // the program runs on the defaults. Told once the window is up.
    for (const CMessage& message : loaded.m_arrMessages)
        QTimer::singleShot(0, m_pFrame.get(), [this, message] { m_pFrame->ShowMessage(message); });
    return true;
}

void CInkvaleApp::ExitInstance() {
    if (m_pFrame)
        m_pFrame->Shutdown();
    if (!SaveSettings(m_settings, m_params))
        qWarning("Inkvale: the settings could not be saved to %s",
                 m_settings.m_strInstallDir.c_str());
    // Every window and Qt object goes while the application object still exists.
    m_pFrame.reset();
    m_pSignals.reset();
    m_pServer.reset();
    m_pTranslator.reset();
    m_pQtTranslator.reset();
}

// A second start asks the running one to show its window and ends.
bool CInkvaleApp::AskRunningInstance(const QString& strServer) {
    QLocalSocket socket;
    socket.connectToServer(strServer);
    if (!socket.waitForConnected(kConnectWaitMs))
        return false;
    socket.write(kShowRequest);
    socket.waitForBytesWritten(kConnectWaitMs);
    socket.disconnectFromServer();
    return true;
}

void CInkvaleApp::ListenForSecondStarts(const QString& strServer) {
    QLocalServer::removeServer(strServer); // a socket left by a crashed run
    m_pServer = std::make_unique<QLocalServer>();
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_pServer->listen(strServer)) {
        qWarning("Inkvale: no single-instance server: %s", qPrintable(m_pServer->errorString()));
        return;
    }
    QObject::connect(m_pServer.get(), &QLocalServer::newConnection, [this] {
        while (QLocalSocket* pSocket = m_pServer->nextPendingConnection()) {
            QObject::connect(pSocket, &QLocalSocket::disconnected, pSocket, &QObject::deleteLater);
            if (m_pFrame)
                m_pFrame->ShowFromTray();
        }
    });
}

void CInkvaleApp::LoadLanguage(QApplication& app) {
    const bool bLoaded = LoadOwnTranslation(app);
    LoadQtTranslation(app, QString::fromStdString(QtTranslationName(m_settings.Language, bLoaded)));
}

// The program's own texts in the chosen language; false (after its notice) when the
// language has a translation that cannot be loaded, and for Chinese.
bool CInkvaleApp::LoadOwnTranslation(QApplication& app) {
    const QString strFile = QString::fromStdString(TranslationFile(m_settings.Language));
    if (strFile.isEmpty())
        return false;
    const QString strAppDir = app.applicationDirPath();
    const QStringList arrDirs = {QString::fromStdString(m_settings.m_strInstallDir),
                                 strAppDir + QStringLiteral("/translations"),
                                 strAppDir + QStringLiteral("/../share/inkvale/translations")};
    auto pTranslator = std::make_unique<QTranslator>();
    for (const QString& strDir : arrDirs) {
        if (pTranslator->load(strFile, strDir)) {
            app.installTranslator(pTranslator.get());
            m_pTranslator = std::move(pTranslator);
            return true;
        }
    }
    QMessageBox::information(nullptr, QStringLiteral("Inkvale"),
                             QString::fromStdString(TranslationFailureText(m_settings.Language)));
    return false;
}

// Qt's buttons and standard dialogs (OK, Cancel, the file and colour choosers) in the
// language of the program's texts, when the system has Qt's translations.
void CInkvaleApp::LoadQtTranslation(QApplication& app, const QString& strName) {
    auto pTranslator = std::make_unique<QTranslator>();
    if (strName.isEmpty() ||
        !pTranslator->load(strName, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;
    app.installTranslator(pTranslator.get());
    m_pQtTranslator = std::move(pTranslator);
}

void CInkvaleApp::OpenTaskFile(const std::string& strPath) {
    const CDocResult result = m_pFrame->Doc().OpenTaskFile(strPath);
    for (const CMessage& message : result.m_arrMessages)
        m_pFrame->ShowMessage(message);
    m_pFrame->RefreshTaskList();
}

void CInkvaleApp::HandleTermination() {
    int arrPipe[2] = {-1, -1};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, arrPipe) != 0)
        return;
    g_nSignalWrite = arrPipe[0];
    m_pSignals = std::make_unique<QSocketNotifier>(arrPipe[1], QSocketNotifier::Read);
    QObject::connect(m_pSignals.get(), &QSocketNotifier::activated, [this, nRead = arrPipe[1]] {
        char c = 0;
        (void)!::read(nRead, &c, 1);
        if (m_pFrame)
            m_pFrame->Shutdown();
        QApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int nSignal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(nSignal, &action, nullptr);
}

// The computer must not go to sleep while the program runs; without logind nothing happens.
void CInkvaleApp::InhibitSleep() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep") << QStringLiteral("Inkvale")
         << QStringLiteral("the plotter may be printing") << QStringLiteral("block");
    const QDBusReply<QDBusUnixFileDescriptor> reply = QDBusConnection::systemBus().call(call);
    if (reply.isValid() && reply.value().isValid())
        m_nSleepLock = ::dup(reply.value().fileDescriptor());
}

} // namespace inkvale
