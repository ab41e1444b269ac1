// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DlgFields.h"

#include "ui/DlgPrompts.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QString>

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace inkvale {

namespace {

std::string Trimmed(const std::string& strText) {
    const size_t nFirst = strText.find_first_not_of(" \t");
    if (nFirst == std::string::npos)
        return "";
    const size_t nLast = strText.find_last_not_of(" \t");
    return strText.substr(nFirst, nLast - nFirst + 1);
}

// The framework's validation messages, translated like the dialogs that show them.
std::string FieldRangeText(const char* pszText, const std::string& strMin,
                           const std::string& strMax) {
    return QCoreApplication::translate("CDlgFieldReader", pszText)
        .arg(QString::fromStdString(strMin), QString::fromStdString(strMax))
        .toStdString();
}

// Shortest text that reads back as the same value ("30", "57.3", "200").
std::string FormatNumber(double d) {
    return QString::number(d, 'g', 15).toStdString();
}

} // namespace

std::optional<int64_t> ParseDlgInteger(const std::string& strText) {
    const std::string s = Trimmed(strText);
    if (s.empty())
        return std::nullopt;
    size_t i = (s[0] == '+' || s[0] == '-') ? 1 : 0;
    if (i == s.size())
        return std::nullopt;
    for (size_t k = i; k < s.size(); ++k) {
        if (s[k] < '0' || s[k] > '9')
            return std::nullopt;
    }
    errno = 0;
    const long long n = std::strtoll(s.c_str(), nullptr, 10);
    if (errno == ERANGE)
        return std::nullopt;
    return static_cast<int64_t>(n);
}

std::optional<double> ParseDlgNumber(const std::string& strText) {
    const std::string s = Trimmed(strText);
    if (s.empty())
        return std::nullopt;
    char* pEnd = nullptr;
    const double d = std::strtod(s.c_str(), &pEnd);
    if (pEnd != s.c_str() + s.size() || !std::isfinite(d))
        return std::nullopt;
    return d;
}

std::string IntegerRangeMessage(int64_t nMin, int64_t nMax) {
    return FieldRangeText(QT_TRANSLATE_NOOP("CDlgFieldReader", "请输入一个 %1 至 %2 之间的整数。"),
                          std::to_string(nMin), std::to_string(nMax));
}

std::string NumberRangeMessage(double dMin, double dMax) {
    return FieldRangeText(QT_TRANSLATE_NOOP("CDlgFieldReader", "请输入一个 %1 至 %2 之间的数字。"),
                          FormatNumber(dMin), FormatNumber(dMax));
}

QString RangeLabel(const QString& strName, double dMin, double dMax, const QString& strUnit) {
    const QString strMin = QString::fromStdString(FormatNumber(dMin));
    const QString strMax = QString::fromStdString(FormatNumber(dMax));
    // Two forms, so a language can put a space before a unit and none where there is no unit.
    if (strUnit.isEmpty())
        return QCoreApplication::translate("CDlgFieldReader", "%1(%2~%3)")
            .arg(strName, strMin, strMax);
    return QCoreApplication::translate("CDlgFieldReader", "%1(%2~%3%4)")
        .arg(strName, strMin, strMax, strUnit);
}

QString PartName(const QString& strName, const QString& strPart) {
    return QCoreApplication::translate("CDlgFieldReader", "%1（%2）").arg(strName, strPart);
}

std::string FieldMessage(const QString& strName, const std::string& strMessage) {
    return QCoreApplication::translate("CDlgFieldReader", "%1：%2")
        .arg(strName, QString::fromStdString(strMessage))
        .toStdString();
}

// Whatever is wrong with an entry (no number, a fraction, out of range), the message names
// the field and the range it takes.
int64_t CDlgFieldReader::Integer(QLineEdit* pEdit, const QString& strName, int64_t nMin,
                                 int64_t nMax) {
    if (!m_bOk)
        return 0;
    const std::optional<int64_t> n = ParseDlgInteger(pEdit->text().toStdString());
    if (!n || *n < nMin || *n > nMax) {
        Fail(pEdit, FieldMessage(strName, IntegerRangeMessage(nMin, nMax)));
        return 0;
    }
    return *n;
}

double CDlgFieldReader::Number(QLineEdit* pEdit, const QString& strName, double dMin, double dMax) {
    if (!m_bOk)
        return 0;
    const std::optional<double> d = ParseDlgNumber(pEdit->text().toStdString());
    if (!d || *d < dMin || *d > dMax) {
        Fail(pEdit, FieldMessage(strName, NumberRangeMessage(dMin, dMax)));
        return 0;
    }
    return *d;
}

void CDlgFieldReader::Fail(QLineEdit* pEdit, const std::string& strMessage) {
    m_bOk = false;
    m_prompts.ShowMessage(strMessage);
    pEdit->setFocus();
    pEdit->selectAll();
}

void SetDlgInteger(QLineEdit* pEdit, int64_t nValue) {
    pEdit->setText(QString::number(static_cast<qlonglong>(nValue)));
}

void SetDlgNumber(QLineEdit* pEdit, double dValue) {
    pEdit->setText(QString::fromStdString(FormatNumber(dValue)));
}

} // namespace inkvale
