#include "InkvaleApp.h"

#include "config/SettingsStore.h"
#include "ui/MainFrame.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>
#include <QFileInfo>
#include <QLocalSocket>
#include <QMessageBox>

#include <sys/resource.h>
#include <unistd.h>

#include <array>

namespace inkvale {

namespace {

constexpr int kRaisedNice = -10;
constexpr int kConnectWaitMs = 1000;
constexpr const char* kShowRequest = "show\n";

struct CLanguageFile {
    const char* szFile;
    const char* szFailure;
};

// Language files of the languages 1..5 and the texts shown when one cannot be loaded.
constexpr std::array<CLanguageFile, 5> kLanguageFiles = {{
    {"inkvale_en.qm", "DLL_EN Load Failed!"},
    {"inkvale_tr.qm", "DLL_Turkey Load Failed!"},
    {"inkvale_az.qm", "DLL_Azerice Load Failed!"},
    {"inkvale_uk.qm", "DLL_Ukraine Load Failed!"},
    {"inkvale_ru.qm", "DLL_Russian Load Failed!"},
}};

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

std::string CInkvaleApp::InstanceName(const std::string& strInstallDir, const std::string& strExe) {
    std::string out = strInstallDir + strExe;
    for (char& c : out) {
        const auto n = static_cast<unsigned char>(c);
        if (n < 9 || n > 127)
            c = '_';
    }
    return out;
}

QString CInkvaleApp::TranslationFile(int32_t nLanguage) {
    if (nLanguage < 1 || nLanguage > 5)
        return {};
    return QString::fromLatin1(kLanguageFiles[static_cast<size_t>(nLanguage - 1)].szFile);
}

QString CInkvaleApp::TranslationFailureText(int32_t nLanguage) {
    if (nLanguage < 1 || nLanguage > 5)
        return {};
    return QString::fromLatin1(kLanguageFiles[static_cast<size_t>(nLanguage - 1)].szFailure);
}

bool CInkvaleApp::InitInstance(QApplication& app) {
    const std::string strInstallDir = FindInstallDir();
    const std::string strExe =
        QFileInfo(app.applicationFilePath()).completeBaseName().toStdString();
    // The server name is a hash: the instance name is a path, too long and with slashes.
    const QString strServer =
        QStringLiteral("inkvale-") +
        QString::fromLatin1(
            QCryptographicHash::hash(QByteArray::fromStdString(InstanceName(strInstallDir, strExe)),
                                     QCryptographicHash::Sha1)
                .toHex()
                .left(16));
    if (AskRunningInstance(strServer))
        return false;
    ListenForSecondStarts(strServer);

    (void)LoadSettings(m_settings, m_params, strInstallDir);
    m_params.ResetMachineParams();
    LoadLanguage(app);
    InhibitSleep();

    m_pFrame = std::make_unique<CMainFrame>(m_settings, m_params);
    const QStringList args = app.arguments();
    if (args.size() > 1)
        OpenTaskFile(args.at(1).toStdString());
    m_pFrame->showMaximized();
    return true;
}

void CInkvaleApp::ExitInstance() {
    if (m_pFrame)
        m_pFrame->Shutdown();
    if (!SaveSettings(m_settings, m_params))
        qWarning("Inkvale: the settings could not be saved to %s",
                 m_settings.m_strInstallDir.c_str());
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
    const QString strFile = TranslationFile(m_settings.Language);
    if (strFile.isEmpty())
        return;
    const QString strAppDir = app.applicationDirPath();
    const QStringList arrDirs = {QString::fromStdString(m_settings.m_strInstallDir),
                                 strAppDir + QStringLiteral("/translations"),
                                 strAppDir + QStringLiteral("/../share/inkvale/translations")};
    auto pTranslator = std::make_unique<QTranslator>();
    for (const QString& strDir : arrDirs) {
        if (pTranslator->load(strFile, strDir)) {
            app.installTranslator(pTranslator.get());
            m_pTranslator = std::move(pTranslator);
            return;
        }
    }
    QMessageBox::information(nullptr, QStringLiteral("Inkvale"),
                             TranslationFailureText(m_settings.Language));
}

void CInkvaleApp::OpenTaskFile(const std::string& strPath) {
    const CDocResult result = m_pFrame->Doc().OpenTaskFile(strPath);
    if (!result.Ok())
        m_pFrame->ShowMessage(result.m_strMessage);
    m_pFrame->RefreshTaskList();
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
