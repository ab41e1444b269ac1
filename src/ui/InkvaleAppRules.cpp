// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/InkvaleAppRules.h"

#include <QByteArray>
#include <QCryptographicHash>

#include <array>

namespace inkvale {

namespace {

struct CLanguageFile {
    const char* szFile;
    const char* szFailure;
    const char* szQt; ///< Qt's own translation of the language, "" where it has none
};

// Translations of the languages 1..5 and the texts shown when one cannot be loaded.
constexpr std::array<CLanguageFile, 5> kLanguageFiles = {{
    {"inkvale_en.qm", "DLL_EN Load Failed!", ""},
    {"inkvale_tr.qm", "DLL_Turkey Load Failed!", "qtbase_tr"},
    {"inkvale_az.qm", "DLL_Azerice Load Failed!", ""},
    {"inkvale_uk.qm", "DLL_Ukraine Load Failed!", "qtbase_uk"},
    {"inkvale_ru.qm", "DLL_Russian Load Failed!", "qtbase_ru"},
}};

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

std::string TranslationFile(int32_t nLanguage) {
    if (nLanguage < 1 || nLanguage > 5)
        return {};
    return kLanguageFiles[static_cast<size_t>(nLanguage - 1)].szFile;
}

std::string TranslationFailureText(int32_t nLanguage) {
    if (nLanguage < 1 || nLanguage > 5)
        return {};
    return kLanguageFiles[static_cast<size_t>(nLanguage - 1)].szFailure;
}

std::string QtTranslationName(int32_t nLanguage, bool bTranslationLoaded) {
    if (nLanguage < 1 || nLanguage > 5 || !bTranslationLoaded)
        return "qtbase_zh_CN";
    return kLanguageFiles[static_cast<size_t>(nLanguage - 1)].szQt;
}

} // namespace inkvale
