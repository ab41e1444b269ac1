// SPDX-License-Identifier: GPL-3.0-or-later
// The program as a process: a second start hands over to the first and ends, or says that
// the program runs when the first does not answer; a start that cannot take the installation
// directory's lock or listen for later starts refuses; a termination request ends the first
// with its settings saved, and --version and --help answer without starting anything.
// --home gives another installation directory: two directories run side by side, one that
// cannot be used is refused.
#include "common/TestPaths.h"
#include "config/InstanceLock.h"
#include "config/MachineParams.h"
#include "core/QueueAutosave.h"
#include "ui/InkvaleAppRules.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

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

// --home DIR is taken out wherever it stands; the other arguments keep their order.
TEST(InkvaleAppRulesTest, HomeOptionIsTakenOutOfTheArguments) {
    const struct {
        std::vector<std::string> arrArgs;
        std::string strDir;
        std::string strError;
        std::vector<std::string> arrLeft;
    } cases[] = {
        {{"inkvale"}, "", "", {"inkvale"}},
        {{"inkvale", "a.sptask"}, "", "", {"inkvale", "a.sptask"}},
        {{"inkvale", "--home", "/p/2", "a.sptask"}, "/p/2", "", {"inkvale", "a.sptask"}},
        {{"inkvale", "a.sptask", "-platform", "offscreen", "--home", "p2"},
         "p2",
         "",
         {"inkvale", "a.sptask", "-platform", "offscreen"}},
        {{"inkvale", "--home=/p/2"}, "", "", {"inkvale", "--home=/p/2"}}, // not the option
        {{"inkvale", "a.sptask", "--home"}, "", "--home needs a directory", {}},
        {{"inkvale", "--home", "", "a.sptask"}, "", "--home needs a directory", {}},
        {{"inkvale", "--home", "/a", "--home", "/b"}, "", "--home is given twice", {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arrArgs = c.arrArgs;
        std::vector<char*> argv;
        for (std::string& strArg : arrArgs)
            argv.push_back(strArg.data());
        argv.push_back(nullptr);
        int argc = static_cast<int>(arrArgs.size());
        const CHomeOption option = TakeHomeOption(argc, argv.data());
        EXPECT_EQ(option.m_strDir, c.strDir) << c.arrArgs.size();
        EXPECT_EQ(option.m_strError, c.strError) << c.arrArgs.size();
        // Wrong usage leaves the arguments as they were.
        const std::vector<std::string>& arrWanted = c.strError.empty() ? c.arrLeft : c.arrArgs;
        ASSERT_EQ(argc, static_cast<int>(arrWanted.size())) << c.arrArgs.size();
        for (int i = 0; i < argc; ++i)
            EXPECT_EQ(argv[static_cast<size_t>(i)], arrWanted[static_cast<size_t>(i)]) << i;
        EXPECT_EQ(argv[static_cast<size_t>(argc)], nullptr);
    }
}

// The title tells two windows apart by their directory and their machine.
TEST(InkvaleAppRulesTest, WindowTitleNamesTheDirectoryAndTheMachine) {
    constexpr uint32_t kIP = 0x0300007Fu; // 127.0.0.3, first octet in the lowest byte
    const struct {
        std::string strDir;
        int32_t nCommuVia;
        uint32_t nIP;
        std::string strTitle;
    } cases[] = {
        {"/home/anna/plotter-2/", 0, kIP, "Inkvale — plotter-2 (127.0.0.3)"},
        {"/home/anna/plotter-2", 0, kIP, "Inkvale — plotter-2 (127.0.0.3)"},
        {"plotter-2//", 0, kIP, "Inkvale — plotter-2 (127.0.0.3)"},
        {"/opt/ink/", 0, kDefaultMachineIP, "Inkvale — ink (192.168.1.175)"},
        {"/opt/ink/", 1, kIP, "Inkvale — ink (USB)"},
        {"/opt/ink/", 2, kIP, "Inkvale — ink (USB)"},
        {"/opt/ink/", 3, kIP, "Inkvale — ink (127.0.0.3)"}, // every other value is Ethernet
        {"/", 0, 16777343u, "Inkvale (127.0.0.1)"},
        {"", 1, 16777343u, "Inkvale (USB)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MainWindowTitle(c.strDir, c.nCommuVia, c.nIP), c.strTitle)
            << c.strDir << " " << c.nCommuVia;
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
    // A process that has ended has no id any more (0 would signal this whole group).
    if (program.state() == QProcess::NotRunning)
        return true;
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

// A random loopback address nobody listens on, as Inkvale.ini stores it (first octet in the
// lowest byte): the program looks for its machine there. nLast tells two apart.
uint32_t LoopbackNobodyListensOn(uint32_t nLast) {
    std::random_device rd;
    return 127u | ((1 + rd() % 250) << 8) | ((1 + rd() % 250) << 16) | (nLast << 24);
}

// Two plotters on one computer: two starts with two --home directories run side by side,
// each on its own settings, hot folders, lock and socket, and nothing of either lands beside
// the executable or in the user's default directory. A third start with the first directory,
// spelled another way, hands over to the first and ends with status 0.
TEST(InkvaleAppTest, TwoHomeDirectoriesRunSideBySideAndTheSameOneHandsOver) {
    test::CScratchDir dir;
    const std::filesystem::path root = std::filesystem::canonical(dir.Path());
    std::filesystem::create_directories(root / "bin");
    std::filesystem::create_directories(root / "user");
    std::filesystem::copy_file(INKVALE_APP_PATH, root / "bin" / "inkvale");
    const std::filesystem::path homes[] = {root / "plotter-1", root / "plotter-2"};
    const uint32_t arrIP[] = {LoopbackNobodyListensOn(2), LoopbackNobodyListensOn(3)};
    for (int n = 0; n < 2; ++n) {
        std::filesystem::create_directories(homes[n]);
        ASSERT_TRUE(test::WriteFileBytes(homes[n] / "Inkvale.ini",
                                         "[Para]\nMachineIP=" + std::to_string(arrIP[n]) + "\n"));
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), QString::fromStdString((root / "user").string()));
    const QString exe = QString::fromStdString((root / "bin" / "inkvale").string());

    QProcess running[2];
    for (int n = 0; n < 2; ++n) {
        running[n].setProcessEnvironment(env);
        running[n].start(exe, {QStringLiteral("--home"), QString::fromStdString(homes[n])});
        ASSERT_TRUE(running[n].waitForStarted(5000)) << n;
    }
    for (int n = 0; n < 2; ++n) {
        EXPECT_TRUE(WaitForServer(InstanceServerName(homes[n].string() + "/", "inkvale"),
                                  std::chrono::seconds(20)))
            << n;
        EXPECT_EQ(running[n].state(), QProcess::Running) << n;
        EXPECT_EQ(ReadText(homes[n] / kInstanceLockFileName),
                  std::to_string(running[n].processId()) + "\n");
        EXPECT_TRUE(std::filesystem::is_directory(homes[n] / "AutoDir")) << n;
    }

    QProcess third;
    third.setProcessEnvironment(env);
    third.start(exe, {QStringLiteral("--home"),
                      QString::fromStdString((root / "bin" / ".." / "plotter-1").string())});
    const bool bThirdEnded = third.waitForFinished(10000);
    EXPECT_TRUE(bThirdEnded) << third.readAllStandardError().toStdString();
    EXPECT_EQ(third.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(third.exitCode(), 0);
    if (!bThirdEnded)
        Terminate(third);

    const std::vector<std::filesystem::path> arrBinOnly = {root / "bin" / "inkvale"};
    EXPECT_EQ(
        std::vector<std::filesystem::path>(std::filesystem::directory_iterator(root / "bin"), {}),
        arrBinOnly);
    EXPECT_FALSE(std::filesystem::exists(root / "user" / ".local" / "share" / "Inkvale"));
    for (int n = 0; n < 2; ++n) {
        EXPECT_EQ(running[n].state(), QProcess::Running) << n;
        const bool bEnded = Terminate(running[n]);
        EXPECT_TRUE(bEnded) << n;
        EXPECT_EQ(running[n].exitStatus(), QProcess::NormalExit) << n;
        EXPECT_EQ(running[n].exitCode(), 0) << n;
        EXPECT_NE(ReadText(homes[n] / "Inkvale.ini")
                      .find("MachineIP=" + std::to_string(static_cast<int32_t>(arrIP[n]))),
                  std::string::npos)
            << n;
    }
}

// A --home directory that cannot be used (missing, a file, not writable) is refused: the
// message names it and why, the start ends with status 1 and creates nothing, neither there
// nor beside the executable nor in the user's default directory. --home without a directory
// is wrong usage and ends at once with status 1.
TEST(InkvaleAppTest, HomeThatCannotBeUsedIsRefused) {
    const struct {
        const char* pszName;
        const char* pszHome; ///< inside the scratch folder; nullptr: --home without it
        std::string strMessage;
    } cases[] = {
        {"missing", "no-such-dir", "No such file or directory"},
        {"a file", "file", "Not a directory"},
        {"not writable", "read-only", "Permission denied"},
        {"no directory", nullptr, "inkvale: --home needs a directory\nusage: inkvale [--home"},
    };
    for (const auto& c : cases) {
        test::CScratchDir dir;
        const std::filesystem::path root = std::filesystem::canonical(dir.Path());
        std::filesystem::create_directories(root / "bin");
        std::filesystem::create_directories(root / "user");
        std::filesystem::copy_file(INKVALE_APP_PATH, root / "bin" / "inkvale");
        ASSERT_TRUE(test::WriteFileBytes(root / "file", "[Para]\nMachineIP=16777343\n"));
        std::filesystem::create_directories(root / "read-only");
        std::filesystem::permissions(root / "read-only", std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::remove);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), QString::fromStdString((root / "user").string()));

        QProcess program;
        program.setProcessEnvironment(env);
        QStringList args = {QStringLiteral("--home")};
        std::string strHome;
        if (c.pszHome) {
            strHome = (root / c.pszHome).string();
            args << QString::fromStdString(strHome);
        }
        if (::geteuid() == 0 && std::strcmp(c.pszName, "not writable") == 0) {
            // Permissions do not stop root: the program runs as nobody, who may pass through
            // the scratch folder to the executable but write nowhere in it.
            std::filesystem::permissions(
                root, std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                          std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                          std::filesystem::perms::others_exec);
            program.setChildProcessModifier([] {
                if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                    ::_exit(127);
            });
        }
        program.start(QString::fromStdString((root / "bin" / "inkvale").string()), args);
        ASSERT_TRUE(program.waitForStarted(5000)) << c.pszName;
        const std::string strMessage =
            c.pszHome ? "Inkvale: 无法使用安装目录 " + strHome + "：" + c.strMessage : c.strMessage;
        const std::string strError = WaitForError(program, strMessage, std::chrono::seconds(20));
        EXPECT_NE(strError.find(strMessage), std::string::npos) << c.pszName << ": " << strError;
        // A refused home waits in its message for the operator; a usage error ends by itself
        // (a signal sent before it has would end it on its way out).
        const bool bEnded =
            c.pszHome ? Terminate(program)
                      : program.state() == QProcess::NotRunning || program.waitForFinished(20000);
        ASSERT_TRUE(bEnded) << c.pszName;
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << c.pszName;
        EXPECT_EQ(program.exitCode(), 1) << c.pszName;

        EXPECT_FALSE(std::filesystem::exists(root / "no-such-dir")) << c.pszName;
        EXPECT_TRUE(std::filesystem::is_empty(root / "read-only")) << c.pszName;
        EXPECT_FALSE(std::filesystem::exists(root / "user" / ".local" / "share" / "Inkvale"))
            << c.pszName;
        const std::vector<std::filesystem::path> arrBinOnly = {root / "bin" / "inkvale"};
        EXPECT_EQ(std::vector<std::filesystem::path>(
                      std::filesystem::directory_iterator(root / "bin"), {}),
                  arrBinOnly)
            << c.pszName;
        EXPECT_FALSE(std::filesystem::exists(QDir::tempPath().toStdString() + "/" +
                                             InstanceServerName(strHome + "/", "inkvale")))
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
        {"--help", "usage: inkvale [--home DIR] [TASKFILE.sptask]\n"},
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

// The queue survives the program being killed: the lists a previous run saved come back,
// a change made while running (a file dropped into the manual folder) is saved within a
// second or so, and after SIGKILL the next start finds the same tasks, copies, queued marks
// and states, the drawing of a split piece included.
void Stamp(COnePage& task) {
    struct stat st {};
    if (::stat(task.m_strPath.c_str(), &st) == 0) {
        task.m_nFileSize = static_cast<int64_t>(st.st_size);
        task.m_tTime = static_cast<int64_t>(st.st_mtim.tv_sec);
    }
}

CTaskLists SavedQueueOf(const std::filesystem::path& home) {
    const std::string strBytes = ReadText(home / "Queue" / CQueueAutosave::kFileName);
    CTaskLists doc;
    EXPECT_TRUE(ParseSavedQueue({strBytes.begin(), strBytes.end()}, doc).Ok());
    return doc;
}

void ExpectTheOperatorsQueue(const CTaskLists& doc) {
    ASSERT_EQ(doc.m_arrOpened.size(), 2u);
    EXPECT_EQ(doc.m_arrOpened[0]->m_strName, "a.plt");
    EXPECT_EQ(doc.m_arrOpened[0]->m_nCopies, 3);
    EXPECT_EQ(doc.m_arrOpened[0]->m_bQueued, 1);
    EXPECT_EQ(doc.m_arrOpened[0]->m_nPrintState, PS_REPEAT);
    EXPECT_EQ(doc.m_arrOpened[0]->m_nStartMm, 40);
    EXPECT_EQ(doc.m_arrOpened[1]->m_nCopies, 2);
    ASSERT_EQ(doc.m_arrOpened[1]->m_arrCurves.size(), 1u); // the piece's own drawing
    EXPECT_EQ(doc.m_arrOpened[1]->m_arrCurves[0].m_arrPoints.size(), 3u);
    ASSERT_GE(doc.m_arrManDir.size(), 1u);
    EXPECT_EQ(doc.m_arrManDir[0]->m_strName, "m1.plt");
    EXPECT_EQ(doc.m_arrManDir[0]->m_nCopies, 4);
    EXPECT_EQ(doc.m_arrManDir[0]->m_bQueued, 1);
}

TEST(InkvaleAppTest, QueueSurvivesKillNine) {
    CScratchInstall install("[Para]\nMachineIP=" + std::to_string(LoopbackNobodyListensOn(4)) +
                            "\nAutoStartEnable=0\n");
    ASSERT_TRUE(install.Ready());
    const std::filesystem::path& home = install.Home();
    std::ofstream(home / "Inkvale.ini", std::ios::app)
        << "ManDir=" << (home / "man").string() << "/\nAutoDir=" << (home / "auto").string()
        << "/\n";
    std::filesystem::create_directories(home / "man");
    std::filesystem::create_directories(home / "auto");
    std::filesystem::create_directories(home / "Queue");
    const std::string strA = (home / "a.plt").string(), strM1 = (home / "man" / "m1.plt").string();
    ASSERT_TRUE(test::WriteFileBytes(strA, "IN;SP1;PU0,0;PD4000,0,4000,4000;PU;"));
    ASSERT_TRUE(test::WriteFileBytes(strM1, "IN;SP1;PU0,0;PD8000,0;PU;"));

    // What a previous run left: an opened task with copies and its queued mark, a piece of
    // a split, and a manual-folder task with copies.
    CTaskLists saved;
    auto pA = std::make_unique<COnePage>();
    pA->m_strPath = strA;
    pA->m_strName = "a.plt";
    pA->m_nCopies = 3;
    pA->m_bQueued = 1;
    pA->m_nPrintState = PS_REPEAT;
    pA->m_nStartMm = 40;
    Stamp(*pA);
    auto pPiece = std::make_unique<COnePage>();
    pPiece->m_strPath = strA + "(1/2)";
    pPiece->m_strName = "a.plt(1/2)";
    pPiece->m_nCopies = 2;
    CCurve c;
    c.AddPoint(0, 0);
    c.AddPoint(2000, 2000);
    c.AddPoint(4000, 0);
    pPiece->m_arrCurves.push_back(c);
    pPiece->CalcExtents();
    auto pM1 = std::make_unique<COnePage>();
    pM1->m_strPath = strM1;
    pM1->m_strName = "m1.plt";
    pM1->m_nCopies = 4;
    pM1->m_bQueued = 1;
    pM1->m_nSource = kSourceManDir;
    Stamp(*pM1);
    saved.m_arrOpened.push_back(std::move(pA));
    saved.m_arrOpened.push_back(std::move(pPiece));
    saved.m_arrManDir.push_back(std::move(pM1));
    const std::vector<uint8_t> bytes = FormatSavedQueue(saved);
    ASSERT_TRUE(test::WriteFileBytes(home / "Queue" / CQueueAutosave::kFileName,
                                     std::string(bytes.begin(), bytes.end())));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(install.Exe(), {});
    ASSERT_TRUE(program.waitForStarted(5000));
    ASSERT_TRUE(
        WaitForServer(InstanceServerName(install.Dir(), "inkvale"), std::chrono::seconds(15)));
    // The manual list puts the newest file first: m2 is made older than m1, whatever second
    // the slow start ends in, so that it comes second.
    const std::string strM2 = (home / "man" / "m2.plt").string();
    ASSERT_TRUE(test::WriteFileBytes(strM2, "IN;SP1;PU0,0;PD4000,4000;PU;"));
    struct stat m1Stat {};
    ASSERT_EQ(::stat(strM1.c_str(), &m1Stat), 0);
    const timeval older[2] = {{m1Stat.st_mtime - 60, 0}, {m1Stat.st_mtime - 60, 0}};
    ASSERT_EQ(::utimes(strM2.c_str(), older), 0);
    bool bSaved = false;
    const auto tEnd = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!bSaved && std::chrono::steady_clock::now() < tEnd) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        bSaved = ReadText(home / "Queue" / CQueueAutosave::kFileName).find("name=m2.plt") !=
                 std::string::npos;
    }
    ::kill(static_cast<pid_t>(program.processId()), SIGKILL);
    program.waitForFinished(10000);
    ASSERT_TRUE(bSaved) << "the new manual-folder task was not saved";
    const CTaskLists afterKill = SavedQueueOf(home);
    ExpectTheOperatorsQueue(afterKill);
    ASSERT_EQ(afterKill.m_arrManDir.size(), 2u);
    EXPECT_EQ(afterKill.m_arrManDir[1]->m_strName, "m2.plt");

    // The next start takes the lists up again and leaves them as they were.
    QProcess next;
    next.setProcessEnvironment(env);
    next.start(install.Exe(), {});
    ASSERT_TRUE(next.waitForStarted(5000));
    EXPECT_TRUE(
        WaitForServer(InstanceServerName(install.Dir(), "inkvale"), std::chrono::seconds(15)));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_TRUE(Terminate(next));
    const CTaskLists afterRestart = SavedQueueOf(home);
    ExpectTheOperatorsQueue(afterRestart);
    EXPECT_EQ(afterRestart.m_arrManDir.size(), 2u);
}
#endif

} // namespace
} // namespace inkvale
