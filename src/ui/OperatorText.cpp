// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/OperatorText.h"

#include "support/MessageSource.h"

#include <QCoreApplication>

namespace inkvale {

QString OperatorText(const CMessage& message) {
    QString text =
        QCoreApplication::translate("Messages", MessageSource(message.m_eId).m_pszChinese);
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
