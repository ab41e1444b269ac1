// SPDX-License-Identifier: GPL-3.0-or-later
// The program as a process: a second start hands over to the first and ends, or says that
// the program runs when the first does not answer; a start that cannot take the installation
// directory's lock or listen for later starts refuses; a termination request ends the first
// with its settings saved, and --version and --help answer without starting anything.
#include "common/TestPaths.h"
#include "config/InstanceLock.h"
#include "ui/InkvaleAppRules.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace inkvale {
namespace {

TEST(InkvaleAppRulesTest, InstanceNameTranslationsAndTheirFailureTexts) {
    EXPECT_EQ(InstanceName("/opt/ink/", "inkvale"), "/opt/ink/inkvale");
    EXPECT_EQ(InstanceName("/d/\xe6\x96\x87\x08/", "a\tb"), "/d/____/a\tb");
    EXPECT_NE(InstanceServerName("/a/", "inkvale"), InstanceServerName("/b/", "inkvale"));
    EXPECT_EQ(InstanceServerName("/a/", "inkvale").find('/'), std::string::npos);
    const char* kFailures[] = {"",
                               "DLL_EN Load Failed!",
                               "DLL_Turkey Load Failed!",
                               "DLL_Azerice Load Failed!",
                               "DLL_Ukraine Load Failed!",
                               "DLL_Russian Load Failed!",
                               ""};
    for (int32_t n = 0; n <= 6; ++n)
        EXPECT_EQ(TranslationFailureText(n), kFailures[n]) << n;
    EXPECT_EQ(TranslationFile(1), "inkvale_en.qm");
    EXPECT_EQ(TranslationFile(0), "");
    EXPECT_EQ(TranslationFile(-1), "");
    // Qt's own texts follow the language the program's texts actually run in.
    EXPECT_EQ(QtTranslationName(0, false), "qtbase_zh_CN");
    EXPECT_EQ(QtTranslationName(1, true), "");
    EXPECT_EQ(QtTranslationName(5, true), "qtbase_ru");
    EXPECT_EQ(QtTranslationName(5, false), "qtbase_zh_CN"); // its translation failed to load
    EXPECT_EQ(QtTranslationName(3, true), "");              // Qt has no Azerbaijani
}

TEST(InkvaleAppRulesTest, AlreadyRunningTextInChineseOrEnglishWithItsHolder) {
    const char* kChinese = "程序已经在运行！若在任务栏里找不到，请双击系统托盘里的图标。";
    const struct {
        int32_t nLanguage;
        long nHolder;
        std::string strText;
    } cases[] = {
        {0, 0, kChinese},
        {0, 4321, std::string(kChinese) + "\n进程 4321 持有 /opt/ink/Inkvale.lock"},
        {1, 0, "Application already running"},
        {5, 4321, "Application already running\nProcess 4321 holds /opt/ink/Inkvale.lock"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AlreadyRunningText(c.nLanguage, c.nHolder, "/opt/ink/Inkvale.lock"), c.strText)
            << c.nLanguage << " " << c.nHolder;
}

#ifdef INKVALE_APP_PATH
// The running instance's local socket appears in the temporary folder.
bool WaitForServer(const std::string& strServer, std::chrono::seconds limit) {
    const std::filesystem::path socket = QDir::tempPath().toStdString() + "/" + strServer;
    const auto tEnd = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < tEnd) {
        if (std::filesystem::exists(socket))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST(InkvaleAppTest, SecondStartHandsOverAndTerminationSavesTheSettings) {
    test::CScratchDir dir;
    const std::filesystem::path home = std::filesystem::canonical(dir.Path());
    std::filesystem::copy_file(INKVALE_APP_PATH, home / "inkvale");
    // A loopback address nobody listens on: the program looks for its machine there.
    std::random_device rd;
    const uint32_t nIP =
        127u | ((1 + rd() % 250) << 8) | ((1 + rd() % 250) << 16) | ((2 + rd() % 250) << 24);
    ASSERT_TRUE(test::WriteFileBytes(home / "Inkvale.ini",
                                     "[Para]\nMachineIP=" + std::to_string(nIP) + "\n"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QString exe = QString::fromStdString((home / "inkvale").string());

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(exe, {});
    ASSERT_TRUE(first.waitForStarted(5000));
    const bool bUp =
        WaitForServer(InstanceServerName(home.string() + "/", "inkvale"), std::chrono::seconds(15));
    EXPECT_TRUE(bUp);
    // The first holds the installation directory's lock and names itself in its file.
    EXPECT_EQ(ReadText(home / kInstanceLockFileName), std::to_string(first.processId()) + "\n");

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(exe, {});
    const bool bSecondEnded = second.waitForFinished(10000);
    EXPECT_TRUE(bSecondEnded);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    if (!bSecondEnded)
        second.kill();

    ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
    const bool bFirstEnded = first.waitForFinished(15000);
    if (!bFirstEnded) {
        first.kill();
        first.waitForFinished(5000);
    }
    ASSERT_TRUE(bFirstEnded);
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_EQ(ReadText(home / kInstanceLockFileName), ""); // given up with the process
    const std::string strIni = ReadText(home / "Inkvale.ini");
    EXPECT_NE(strIni.find("AutoDelFinish="), std::string::npos) << strIni;
    // Stored as a signed 32-bit number, as the settings file has always held it.
    EXPECT_NE(strIni.find("MachineIP=" + std::to_string(static_cast<int32_t>(nIP))),
              std::string::npos);
}

// A scratch installation directory with a copy of the program and a settings file.
class CScratchInstall {
public:
    explicit CScratchInstall(const std::string& strIni)
        : m_home(std::filesystem::canonical(m_dir.Path())) {
        std::filesystem::copy_file(INKVALE_APP_PATH, m_home / "inkvale");
        m_bReady = test::WriteFileBytes(m_home / "Inkvale.ini", strIni);
    }
    bool Ready() const { return m_bReady; }
    const std::filesystem::path& Home() const { return m_home; }
    std::string Dir() const { return m_home.string() + "/"; }
    QString Exe() const { return QString::fromStdString((m_home / "inkvale").string()); }
    std::string ServerSocket() const {
        return QDir::tempPath().toStdString() + "/" + InstanceServerName(Dir(), "inkvale");
    }

private:
    test::CScratchDir m_dir;
    std::filesystem::path m_home;
    bool m_bReady = false;
};

// The standard error of a running program until it holds strWanted, or the time is up.
std::string WaitForError(QProcess& program, const std::string& strWanted,
                         std::chrono::seconds limit) {
    std::string strError;
    const auto tEnd = std::chrono::steady_clock::now() + limit;
    while (strError.find(strWanted) == std::string::npos &&
           std::chrono::steady_clock::now() < tEnd && program.state() == QProcess::Running) {
        program.waitForReadyRead(100);
        strError += program.readAllStandardError().toStdString();
    }
    return strError + program.readAllStandardError().toStdString();
}

// A termination request, as the desktop sends at log-out: it also closes a message that
// waits for the operator. False when the program did not end in time (it is killed).
bool Terminate(QProcess& program) {
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    if (program.waitForFinished(10000))
        return true;
    program.kill();
    program.waitForFinished(5000);
    return false;
}

// Another process of the installation directory holds its lock but does not answer on the
// socket (it is still starting, or waits in a message of its own): the start says that the
// program runs, in the stored language, naming the holder; it starts no window, touches no
// setting and ends with status 0.
TEST(InkvaleAppTest, SecondStartWhoseHolderDoesNotAnswerSaysItRunsAndEnds) {
    const struct {
        int32_t nLanguage;
        std::string strFirstLine;
    } cases[] = {
        {0, "程序已经在运行！若在任务栏里找不到，请双击系统托盘里的图标。"},
        {1, "Application already running"},
    };
    for (const auto& c : cases) {
        const std::string strIni =
            "[Para]\nMachineIP=16777343\nLanguage=" + std::to_string(c.nLanguage) + "\n";
        CScratchInstall install(strIni);
        ASSERT_TRUE(install.Ready());
        const CInstanceLock holder = CInstanceLock::Acquire(install.Dir());
        ASSERT_TRUE(holder.Acquired()) << holder.Error();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

        QProcess second;
        second.setProcessEnvironment(env);
        second.start(install.Exe(), {});
        ASSERT_TRUE(second.waitForStarted(5000));
        const std::string strExpected = "Inkvale: " + c.strFirstLine + "\n" +
                                        (c.nLanguage == 0 ? "进程 " : "Process ") +
                                        std::to_string(::getpid());
        const std::string strError = WaitForError(second, strExpected, std::chrono::seconds(20));
        EXPECT_NE(strError.find(strExpected), std::string::npos) << strError;
        // The message waits for the operator.
        EXPECT_EQ(second.state(), QProcess::Running);
        const bool bEnded = Terminate(second);
        ASSERT_TRUE(bEnded) << c.nLanguage;
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), 0);

        EXPECT_FALSE(std::filesystem::exists(install.ServerSocket()));
        EXPECT_EQ(test::ReadFileBytes(install.Home() / "Inkvale.ini"), strIni);
        EXPECT_FALSE(std::filesystem::exists(install.Home() / "AutoDir"));
        EXPECT_EQ(test::ReadFileBytes(holder.Path()), std::to_string(::getpid()) + "\n");
    }
}

// A start that cannot take the lock (its file is a link) or cannot listen for later starts
// (the temporary folder is a file) says why and ends with status 1, without a window.
TEST(InkvaleAppTest, StartThatCannotBeTheOnlyOneRefuses) {
    const struct {
        const char* pszName;
        bool bLinkedLockFile;
        bool bNoTempFolder;
        std::string strMessage; ///< after the installation directory's path
    } cases[] = {
        {"linked lock file", true, false, "/Inkvale.lock："},
        {"no temporary folder", false, true, "/tmp/inkvale-"},
    };
    for (const auto& c : cases) {
        CScratchInstall install("[Para]\nMachineIP=16777343\n");
        ASSERT_TRUE(install.Ready());
        if (c.bLinkedLockFile)
            std::filesystem::create_symlink(install.Home() / "Inkvale.ini",
                                            install.Home() / kInstanceLockFileName);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        if (c.bNoTempFolder) { // a file where the folder should be: no socket fits in it
            ASSERT_TRUE(test::WriteFileBytes(install.Home() / "tmp", ""));
            env.insert(QStringLiteral("TMPDIR"),
                       QString::fromStdString((install.Home() / "tmp").string()));
        }

        QProcess program;
        program.setProcessEnvironment(env);
        program.start(install.Exe(), {});
        ASSERT_TRUE(program.waitForStarted(5000));
        const std::string strMessage =
            (c.bLinkedLockFile ? "Inkvale: 无法使用锁文件 " : "Inkvale: 无法在本地套接字 ") +
            install.Home().string() + c.strMessage;
        const std::string strError = WaitForError(program, strMessage, std::chrono::seconds(20));
        EXPECT_NE(strError.find(strMessage), std::string::npos) << c.pszName << ": " << strError;
        const bool bEnded = Terminate(program);
        ASSERT_TRUE(bEnded) << c.pszName;
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << c.pszName;
        EXPECT_EQ(program.exitCode(), 1) << c.pszName;
        EXPECT_FALSE(std::filesystem::exists(install.ServerSocket())) << c.pszName;
        EXPECT_EQ(test::ReadFileBytes(install.Home() / "Inkvale.ini"),
                  "[Para]\nMachineIP=16777343\n")
            << c.pszName;
    }
}

// A listening socket where a running instance's would be: it notes every start that knocks.
class CFakeRunningInstance {
public:
    explicit CFakeRunningInstance(const std::string& strPath) : m_strPath(strPath) {
        m_nSocket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        if (m_nSocket < 0 || strPath.size() >= sizeof addr.sun_path)
            return;
        std::memcpy(addr.sun_path, strPath.c_str(), strPath.size() + 1);
        ::unlink(strPath.c_str());
        m_bListening =
            ::bind(m_nSocket, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0 &&
            ::listen(m_nSocket, 4) == 0;
    }
    ~CFakeRunningInstance() {
        if (m_nSocket >= 0)
            ::close(m_nSocket);
        ::unlink(m_strPath.c_str());
    }
    CFakeRunningInstance(const CFakeRunningInstance&) = delete;
    CFakeRunningInstance& operator=(const CFakeRunningInstance&) = delete;

    bool Listening() const { return m_bListening; }
    /// True when a start has connected since the last call.
    bool Knocked() {
        const int nPeer = ::accept4(m_nSocket, nullptr, nullptr, SOCK_CLOEXEC);
        if (nPeer < 0)
            return false;
        ::close(nPeer);
        return true;
    }

private:
    std::string m_strPath;
    int m_nSocket = -1;
    bool m_bListening = false;
};

// The version of the project, as its top CMakeLists.txt declares it.
std::string ProjectVersion() {
    const std::string strTop = ReadText(test::SourceDir() / "CMakeLists.txt");
    std::smatch match;
    if (!std::regex_search(strTop, match, std::regex(R"(project\(Inkvale VERSION ([0-9.]+))")))
        return "?";
    return match[1];
}

// --version and --help end at once with status 0: no window (the off-screen platform would
// keep it running), and no knock at a running instance (which would take the start over).
TEST(InkvaleAppTest, VersionAndHelpAnswerWithoutAWindowOrTheInstanceLock) {
    test::CScratchDir dir;
    const std::filesystem::path home = std::filesystem::canonical(dir.Path());
    std::filesystem::copy_file(INKVALE_APP_PATH, home / "inkvale");
    CFakeRunningInstance running(QDir::tempPath().toStdString() + "/" +
                                 InstanceServerName(home.string() + "/", "inkvale"));
    ASSERT_TRUE(running.Listening());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const std::pair<const char*, std::string> cases[] = {
        {"--version", "inkvale " + ProjectVersion() + "\n"},
        {"--help", "usage: inkvale [TASKFILE.sptask]\n"},
    };
    for (const auto& [pszOption, strStart] : cases) {
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QString::fromStdString((home / "inkvale").string()),
                      {QString::fromUtf8(pszOption)});
        const bool bEnded = program.waitForFinished(15000);
        if (!bEnded) {
            program.kill();
            program.waitForFinished(5000);
        }
        EXPECT_TRUE(bEnded) << pszOption;
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << pszOption;
        EXPECT_EQ(program.exitCode(), 0) << pszOption;
        const std::string strOut = program.readAllStandardOutput().toStdString();
        if (std::string(pszOption) == "--version")
            EXPECT_EQ(strOut, strStart);
        else
            EXPECT_TRUE(strOut.starts_with(strStart)) << strOut;
        EXPECT_FALSE(running.Knocked()) << pszOption;
    }
}
#endif

} // namespace
} // namespace inkvale
