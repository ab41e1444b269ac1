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

} // namespace inkvale
