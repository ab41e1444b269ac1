// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

/// Reads the dialog fields with their range checks. The first failure shows its message,
/// puts the focus on that field and makes every later read fail silently, so a dialog
/// checks Ok() once after reading everything and stores nothing when it is false.
class CDlgFieldReader {
public:
    explicit CDlgFieldReader(CDlgPrompts& prompts) : m_prompts(prompts) {}
    /// A whole number in nMin..nMax (0 after a failure).
    int64_t Integer(QLineEdit* pEdit, int64_t nMin, int64_t nMax);
    /// A decimal number in dMin..dMax (0 after a failure).
    double Number(QLineEdit* pEdit, double dMin, double dMax);
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
