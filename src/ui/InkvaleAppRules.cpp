// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/InkvaleAppRules.h"

#include "config/MachineParams.h"
#include "machine/link/LinkChoice.h"

#include <QByteArray>
#include <QCryptographicHash>

#include <array>
#include <cstring>

namespace inkvale {

namespace {

constexpr int kServerHashChars = 16;

} // namespace

std::string InstanceName(const std::string& strInstallDir, const std::string& strExe) {
    std::string out = strInstallDir + strExe;
    for (char& c : out) {
        const auto n = static_cast<unsigned char>(c);
        if (n < 9 || n > 127)
            c = '_';
    }
    return out;
}

std::string InstanceServerName(const std::string& strInstallDir, const std::string& strExe) {
    const QByteArray hash = QCryptographicHash::hash(
        QByteArray::fromStdString(InstanceName(strInstallDir, strExe)), QCryptographicHash::Sha1);
    return "inkvale-" + hash.toHex().left(kServerHashChars).toStdString();
}

std::string AlreadyRunningText(int32_t nLanguage, long nHolder, const std::string& strLockFile) {
    const bool bChinese = nLanguage == 0;
    std::string strText = bChinese ? "程序已经在运行！若在任务栏里找不到，请双击系统托盘里的图标。"
                                   : "Application already running";
    if (nHolder > 0)
        strText += bChinese ? "\n进程 " + std::to_string(nHolder) + " 持有 " + strLockFile
                            : "\nProcess " + std::to_string(nHolder) + " holds " + strLockFile;
    return strText;
}

CHomeOption TakeHomeOption(int& argc, char** argv) {
    CHomeOption option;
    // Checked before anything moves, so that wrong usage leaves the arguments as they were.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--home") != 0)
            continue;
        if (!option.m_strDir.empty()) {
            option.m_strError = "--home is given twice";
        } else if (i + 1 >= argc || argv[i + 1][0] == '\0') {
            option.m_strError = "--home needs a directory";
        } else {
            option.m_strDir = argv[++i];
            continue;
        }
        option.m_strDir.clear();
        return option;
    }
    int nKept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--home") == 0)
            ++i; // and its directory
        else
            argv[nKept++] = argv[i];
    }
    argc = nKept;
    argv[argc] = nullptr;
    return option;
}

std::string MainWindowTitle(const std::string& strInstallDir, int32_t nCommuVia,
                            uint32_t nMachineIP) {
    const std::string strMachine =
        nCommuVia == kCommuUsbPrint || nCommuVia == kCommuUsb ? "USB" : FormatMachineIP(nMachineIP);
    const size_t nEnd = strInstallDir.find_last_not_of('/');
    std::string strName; // the last part of the path, without the '/' after it
    if (nEnd != std::string::npos) {
        const size_t nSlash = strInstallDir.rfind('/', nEnd);
        const size_t nStart = nSlash == std::string::npos ? 0 : nSlash + 1;
        strName = strInstallDir.substr(nStart, nEnd + 1 - nStart);
    }
    return strName.empty() ? "Inkvale (" + strMachine + ")"
                           : "Inkvale — " + strName + " (" + strMachine + ")";
}

} // namespace inkvale
