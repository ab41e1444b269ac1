// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

class QLineEdit;

namespace inkvale {

class CDlgPrompts;

/// Parses a whole number as the dialog fields accept it: optional blanks, an optional sign,
/// digits, optional blanks. Nothing else (no empty field, no overflow of 64 bits).
std::optional<int64_t> ParseDlgInteger(const std::string& strText);
/// Parses a decimal number ("57.3", "-2", "1e2"); blanks around it allowed.
std::optional<double> ParseDlgNumber(const std::string& strText);

/// "请输入一个 %1 至 %2 之间的整数。" filled in.
std::string IntegerRangeMessage(int64_t nMin, int64_t nMax);
/// "请输入一个 %1 至 %2 之间的数字。" filled in.
std::string NumberRangeMessage(double dMin, double dMax);

/// "name(min~maxunit)": the label of a field with the range its check enforces. A dialog
/// makes the label and the check from the same table entry, so the two cannot disagree.
QString RangeLabel(const QString& strName, double dMin, double dMax, const QString& strUnit = {});
/// "name（part）": one of several fields of a row, such as the left buffer or head 3.
QString PartName(const QString& strName, const QString& strPart);
/// "name：message": a refusal that says which field it is about.
std::string FieldMessage(const QString& strName, const std::string& strMessage);

/// Reads the dialog fields with their range checks. The first failure shows its message,
/// which names the field and its range, puts the focus on that field and makes every later
/// read fail silently, so a dialog checks Ok() once after reading everything and stores
/// nothing when it is false.
class CDlgFieldReader {
public:
    explicit CDlgFieldReader(CDlgPrompts& prompts) : m_prompts(prompts) {}
    /// A whole number in nMin..nMax (0 after a failure); strName is the field's name.
    int64_t Integer(QLineEdit* pEdit, const QString& strName, int64_t nMin, int64_t nMax);
    /// A decimal number in dMin..dMax (0 after a failure); strName is the field's name.
    double Number(QLineEdit* pEdit, const QString& strName, double dMin, double dMax);
    bool Ok() const { return m_bOk; }

private:
    void Fail(QLineEdit* pEdit, const std::string& strMessage);

    CDlgPrompts& m_prompts;
    bool m_bOk = true;
};

/// Shows a whole number or a decimal number in a field.
void SetDlgInteger(QLineEdit* pEdit, int64_t nValue);
void SetDlgNumber(QLineEdit* pEdit, double dValue);

} // namespace inkvale
