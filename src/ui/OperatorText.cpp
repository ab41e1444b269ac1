// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/OperatorText.h"

#include "support/MessageSource.h"

#include "import/HpglFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace inkvale {

namespace {

QString Tr(const char* szText) {
    return QCoreApplication::translate("OperatorText", szText);
}

// Why a drawing file could not be read, as far as the file itself tells: the reader says
// only that it failed.
QString WhyUnreadable(const QFileInfo& file) {
    if (!file.exists())
        return Tr(QT_TRANSLATE_NOOP("OperatorText", "文件已不存在（被移走或删除）"));
    if (!file.isFile() || !file.isReadable())
        return Tr(QT_TRANSLATE_NOOP("OperatorText", "没有读取这个文件的权限"));
    if (file.size() < kHpglMinFileBytes)
        return Tr(QT_TRANSLATE_NOOP("OperatorText", "文件是空的或太短"));
    if (file.size() > kHpglMaxFileBytes)
        return Tr(QT_TRANSLATE_NOOP("OperatorText", "文件超过 32 MB"));
    return Tr(QT_TRANSLATE_NOOP("OperatorText", "文件内容无法作为 HP-GL 读取"));
}

} // namespace

QString OperatorText(const CMessage& message) {
    QString text =
        QCoreApplication::translate("Messages", MessageSource(message.m_eId).m_pszChinese);
    // The program's own text takes no file; the window adds which file and why.
    if (message.m_eId == EMsg::kOpenFileFailed) {
        if (message.m_arrArgs.empty())
            return text;
        const QFileInfo file(QString::fromStdString(message.m_arrArgs.front()));
        return text + QLatin1Char('\n') +
               Tr(QT_TRANSLATE_NOOP("OperatorText", "%1：%2"))
                   .arg(QDir::toNativeSeparators(file.filePath()), WhyUnreadable(file));
    }
    for (const std::string& strArg : message.m_arrArgs)
        text = text.arg(QString::fromStdString(strArg));
    return text;
}

QString LanguageText(int32_t nLanguage, const char* szContext, const char* szChinese,
                     const char* szEnglish) {
    const QString chinese = QString::fromUtf8(szChinese);
    if (nLanguage == 0)
        return chinese;
    const QString translated = QCoreApplication::translate(szContext, szChinese);
    return translated != chinese ? translated : QString::fromUtf8(szEnglish);
}

} // namespace inkvale
