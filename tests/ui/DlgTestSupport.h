// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared pieces of the dialog tests: the application on the off-screen platform, recorded
// prompts and a machine that is either nothing (offline) or the simulator's command layer.

#include "machine/link/MachineCommands.h"
#include "ui/DlgMachineAccess.h"
#include "ui/DlgPrompts.h"

#include <QApplication>

#include "UiTestApp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace inkvale::test {

inline void EnsureDlgApp() {
    EnsureUiTestApp();
}

class CRecordingPrompts : public CDlgPrompts {
public:
    void ShowMessage(const std::string& strText) override { m_arrMessages.push_back(strText); }
    void ShowNote(const std::string& strCaption, const std::string& strText) override {
        m_arrMessages.push_back(strCaption + ": " + strText);
    }
    bool AskAccessCode(std::string& strCode) override {
        ++m_nCodeAsked;
        if (!m_bAnswer)
            return false;
        strCode = m_strCode;
        return true;
    }
    std::vector<std::string> m_arrMessages;
    bool m_bAnswer = true;
    std::string m_strCode = "579";
    int m_nCodeAsked = 0;
};

/// Offline without a command layer: any write fails the test.
class CTestDlgMachine : public IDlgMachine {
public:
    bool Online() const override { return m_bOnline; }
    int WriteRegs(uint8_t nAddress, uint8_t nCount, const uint8_t* pData) override {
        ++m_nWrites;
        if (m_pCommu == nullptr) {
            ADD_FAILURE() << "write without a machine";
            return -1;
        }
        return m_pCommu->WriteRegs(nAddress, nCount, pData);
    }
    void CloseEthLink() override {
        ++m_nCloses;
        if (m_pCommu != nullptr)
            m_pCommu->CloseEthLink();
    }
    void SleepMs(int nMs) override { m_arrSleeps.push_back(nMs); }

    CMachineCommands* m_pCommu = nullptr;
    bool m_bOnline = false;
    int m_nWrites = 0;
    int m_nCloses = 0;
    std::vector<int> m_arrSleeps;
};

} // namespace inkvale::test
