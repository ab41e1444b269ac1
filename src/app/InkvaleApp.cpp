// SPDX-License-Identifier: GPL-3.0-or-later
#include "InkvaleApp.h"

#include "config/SettingsStore.h"
#include "support/ProfileFile.h"
#include "ui/CommandBar.h"
#include "ui/InkvaleAppRules.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocalSocket>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <sys/resource.h>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>

namespace inkvale {

namespace {

constexpr int kRaisedNice = -10;
constexpr int kConnectWaitMs = 1000;
constexpr qint64 kKnockForMs = 3000;
constexpr unsigned long kKnockPauseMs = 100;
constexpr const char* kShowRequest = "show\n";

std::string WithSlash(std::string strDir) {
    if (!strDir.empty() && strDir.back() != '/')
        strDir += '/';
    return strDir;
}

// The directory --home names as an absolute path without links, ending in '/', so that
// every spelling of one directory shares its lock and its socket; "" with the system's
// reason in strError when it is missing, not a directory, or not writable.
std::string UsableHomeDir(const std::string& strDir, std::string& strError) {
    std::error_code ec;
    const std::filesystem::path dir = std::filesystem::canonical(strDir, ec);
    if (ec) {
        strError = ec.message();
        return {};
    }
    if (!std::filesystem::is_directory(dir, ec)) {
        strError = std::generic_category().message(ENOTDIR);
        return {};
    }
    if (::access(dir.c_str(), W_OK | X_OK) != 0) {
        strError = std::generic_category().message(errno);
        return {};
    }
    return WithSlash(dir.string());
}

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

CInkvaleApp::EStart CInkvaleApp::InitInstance(QApplication& app, const std::string& strHome) {
    HandleTermination(); // a request during a start-up message ends the start
    std::string strInstallDir;
    if (strHome.empty()) {
        strInstallDir = FindInstallDir();
    } else {
        // The operator chose the plotter by its directory: another directory would be another
        // plotter's settings and hot folders, so none is used instead, and nothing is created.
        std::string strError;
        strInstallDir = UsableHomeDir(strHome, strError);
        if (strInstallDir.empty()) {
            ReadSettingsOnly(WithSlash(strHome));
            LoadLanguage(app);
            ShowStartMessage(
                QMessageBox::Critical,
                QCoreApplication::translate("CInkvaleApp",
                                            "无法使用安装目录 %1：%2。--home 必须指向一个"
                                            "已存在且可写入的目录；程序不会启动。")
                    .arg(QString::fromStdString(strHome), QString::fromStdString(strError)));
            return EndStart(EStart::kRefused);
        }
    }
    const std::string strExe =
        QFileInfo(app.applicationFilePath()).completeBaseName().toStdString();
    const QString strServer = QString::fromStdString(InstanceServerName(strInstallDir, strExe));

    // Two copies of one installation directory would print the same automatic hot folder
    // twice: only the holder of the directory's lock goes on.
    m_lock = CInstanceLock::Acquire(strInstallDir);
    switch (m_lock.State()) {
    case CInstanceLock::EState::kAcquired:
        break;
    case CInstanceLock::EState::kHeld:
        if (AskRunningInstance(strServer))
            return EndStart(EStart::kEnded);
        // The holder does not answer (it is still starting, waits in a message of its own,
        // or is a front end without a window): the operator must at least know it runs.
        ReadSettingsOnly(strInstallDir);
        ShowStartMessage(QMessageBox::Information,
                         QString::fromStdString(AlreadyRunningText(
                             m_settings.Language, m_lock.Holder(), m_lock.Path())));
        return EndStart(EStart::kEnded);
    case CInstanceLock::EState::kFailed:
        // Without the lock nothing tells whether another copy runs.
        ReadSettingsOnly(strInstallDir);
        LoadLanguage(app);
        ShowStartMessage(QMessageBox::Critical,
                         QCoreApplication::translate(
                             "CInkvaleApp", "无法使用锁文件 %1：%2。无法确定程序是否已经在运行，"
                                            "因此程序不会启动。")
                             .arg(QString::fromStdString(m_lock.Path()),
                                  QString::fromStdString(m_lock.Error())));
        return EndStart(EStart::kRefused);
    }

    const CSettingsLoadResult loaded = LoadSettings(m_settings, m_params, strInstallDir);
    m_params.ResetMachineParams();
    if (!ListenForSecondStarts(strServer)) {
        // A later start could not reach this one; it would only be told that it runs.
        LoadLanguage(app);
        ShowStartMessage(
            QMessageBox::Critical,
            QCoreApplication::translate("CInkvaleApp",
                                        "无法在本地套接字 %1 上监听：%2。程序不会启动。")
                .arg(QDir(QDir::tempPath()).filePath(strServer), m_pServer->errorString()));
        return EndStart(EStart::kRefused);
    }
    LoadLanguage(app);
    if (m_bEndRequested)
        return EndStart(EStart::kEnded);
    InhibitSleep();

    m_pFrame = std::make_unique<CMainWindow>(m_settings, m_params);
    // The title names the plotter, so that two windows of two directories are told apart.
    // The machine's address and the link change through the bar's IP button and the link
    // menu; the frame's own handler of a command runs first (it was connected first, and a
    // dialog it opens has closed when it returns), so the title then follows the settings.
    ShowWindowTitle();
    QObject::connect(&m_pFrame->Bar(), &CCommandBar::Command, m_pFrame.get(),
                     [this] { ShowWindowTitle(); });
    for (QAction* pAction : m_pFrame->findChildren<QAction*>())
        QObject::connect(pAction, &QAction::triggered, m_pFrame.get(),
                         [this] { ShowWindowTitle(); });
    // The lists as the last run left them, however it ended; a task file named on the
    // command line takes their place.
    m_pFrame->RestoreQueue();
    const QStringList args = app.arguments();
    if (args.size() > 1)
        OpenTaskFile(args.at(1).toStdString());
    m_pFrame->showMaximized();
    // A settings file that could not be read was kept aside: the operator must know that
    // the program runs on the defaults. Told once the window is up.
    for (const CMessage& message : loaded.m_arrMessages)
        QTimer::singleShot(0, m_pFrame.get(), [this, message] { m_pFrame->ShowMessage(message); });
    return EStart::kRun;
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

// A start that ends before the window lets its Qt objects go while the application object
// still exists, as ExitInstance does; nothing is saved.
CInkvaleApp::EStart CInkvaleApp::EndStart(EStart eStart) {
    m_pSignals.reset();
    m_pServer.reset();
    m_pTranslator.reset();
    m_pQtTranslator.reset();
    return eStart;
}

// A second start asks the running one to show its window. The holder of the lock may be
// a moment away from listening (it has just started), so the knock is repeated for a while.
bool CInkvaleApp::AskRunningInstance(const QString& strServer) {
    QElapsedTimer elapsed;
    elapsed.start();
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(strServer);
        if (socket.waitForConnected(kConnectWaitMs))
            break;
        socket.abort();
        if (elapsed.elapsed() >= kKnockForMs)
            return false;
        QThread::msleep(kKnockPauseMs);
    }
    socket.write(kShowRequest);
    socket.waitForBytesWritten(kConnectWaitMs);
    socket.disconnectFromServer();
    return true;
}

// Only the lock's holder comes here, so a socket of the name is one a crashed run left.
bool CInkvaleApp::ListenForSecondStarts(const QString& strServer) {
    QLocalServer::removeServer(strServer);
    m_pServer = std::make_unique<QLocalServer>();
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_pServer->listen(strServer))
        return false;
    QObject::connect(m_pServer.get(), &QLocalServer::newConnection, [this] {
        while (QLocalSocket* pSocket = m_pServer->nextPendingConnection()) {
            QObject::connect(pSocket, &QLocalSocket::disconnected, pSocket, &QObject::deleteLater);
            if (m_pFrame)
                m_pFrame->ShowFromTray();
        }
    });
    return true;
}

// The settings as they are stored, for a start that ends before the window: nothing is
// written, moved or created (the running instance owns the settings file).
void CInkvaleApp::ReadSettingsOnly(const std::string& strInstallDir) {
    CProfileFile ini;
    if (!strInstallDir.empty())
        (void)ini.LoadFile(strInstallDir + kSettingsFileName);
    ReadSettings(ini, m_settings, m_params);
    m_settings.m_strInstallDir = strInstallDir;
}

// A message of the start-up, before or instead of the window: on the standard error too, for
// a start from a terminal or a service log. The box waits for the operator; a termination
// request closes it.
void CInkvaleApp::ShowStartMessage(QMessageBox::Icon eIcon, const QString& strText) {
    std::fputs(qPrintable(QStringLiteral("Inkvale: ") + strText + u'\n'), stderr);
    std::fflush(stderr);
    QMessageBox box(eIcon, QStringLiteral("Inkvale"), strText, QMessageBox::Ok);
    m_pStartMessage = &box;
    if (!m_bEndRequested)
        box.exec();
    m_pStartMessage = nullptr;
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
    ShowStartMessage(QMessageBox::Information,
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
        // Before the window there is no event loop to quit yet: the start ends instead.
        m_bEndRequested = true;
        if (m_pStartMessage)
            m_pStartMessage->reject();
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

void CInkvaleApp::ShowWindowTitle() {
    m_pFrame->setWindowTitle(QString::fromStdString(
        MainWindowTitle(m_settings.m_strInstallDir, m_settings.CommuVia, m_params.MachineIP())));
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
