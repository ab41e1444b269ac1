// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The rows of number fields of the machine parameters dialog (CMachineParamsDialog::Rows()). The dialog
// makes each row's label from its entry and OK checks the same entry, so the range a label
// shows is the range that is enforced, and a refusal names the field.

#include <array>

namespace inkvale {

/// One field of a row: its control, the field of the parameter block it goes to and, in a row
/// of several, which one it is.
struct CParaEdit {
    int m_nId = 0;                    ///< 0 after the row's last field
    const char* m_pszParam = nullptr; ///< name in the parameter block
    int m_nIndex = 0;
    /// Translated by CMachineParamsDialog::tr; nullptr when alone in its row.
    const char* m_pszPart = nullptr;
};

/// One row: its name, the accepted range and its unit, and its fields.
struct CParaRow {
    const char* m_pszName; ///< translated by CMachineParamsDialog::tr
    const char* m_pszUnit; ///< shown after the range, translated by CMachineParamsDialog::tr; "" for none
    double m_dMin;
    double m_dMax;
    bool m_bDecimal;  ///< a decimal number (the feed step base), else a whole number
    bool m_bExtended; ///< fields of the extended block
    std::array<CParaEdit, 4> m_edits;
};

} // namespace inkvale
