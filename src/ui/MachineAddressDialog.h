// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <array>
#include <cstdint>

class QSpinBox;

namespace inkvale {

class CMachineParams;
class CDlgPrompts;
class IDlgMachine;

/// "网络设置": the machine's IPv4 address. Offline, OK only changes `MachineIP`; online it
/// writes the address to the machine first and takes it only when the machine stored it.
class CMachineAddressDialog : public QDialog {
    Q_OBJECT
public:
    CMachineAddressDialog(CMachineParams& params, IDlgMachine& machine, CDlgPrompts& prompts,
               QWidget* pParent = nullptr);
    /// The four fields a.b.c.d of the address control.
    QSpinBox* Octet(int i) const { return m_arrOctets[static_cast<size_t>(i)]; }
    void SetAddress(uint32_t nIP);
    /// a + 256 b + 65536 c + 16777216 d.
    uint32_t Address() const;
    /// Always closes the dialog with OK.
    void OnOk();

private:
    CMachineParams& m_params;
    IDlgMachine& m_machine;
    CDlgPrompts& m_prompts;
    std::array<QSpinBox*, 4> m_arrOctets{};
};

} // namespace inkvale
