// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/link/LinkChoice.h"
#include "machine/link/MachineStatus.h"
#include "machine/link/MachineCommands.h"
#include "machine/link/TcpLink.h"
#include "machine/link/UsbBulkLink.h"
#include "machine/link/UsbPrinterLink.h"
#include "machine/link/UsbBus.h"

#include <string>

namespace inkvale {

class CMachineParams;
struct CSettings;

/// The link choice of the program: `CommuVia` from the settings record and `MachineIP` from
/// the machine copy of the parameter mirror, read at every call.
class CSettingsLinkChoice : public ILinkChoice {
public:
    CSettingsLinkChoice(const CSettings& settings, const CMachineParams& params)
        : m_settings(settings), m_params(params) {}
    int CommuVia() const override;
    uint32_t MachineIp() const override;

private:
    const CSettings& m_settings;
    const CMachineParams& m_params;
};

/// The program's door to the machine: the three links on the real transports (TCP port
/// 5291, the libusb bus, /dev/usb/lp*) behind one CMachineCommands. Lives for the whole run.
class CMachineLinks {
public:
    CMachineLinks(const CSettings& settings, const CMachineParams& params);
    CMachineLinks(const CMachineLinks&) = delete;
    CMachineLinks& operator=(const CMachineLinks&) = delete;

    CMachineCommands& Commu() { return m_commu; }
    CMachineStatus& Status() { return m_status; }

private:
    CSettingsLinkChoice m_choice;
    CMachineStatus m_status;
    CLibUsbBus m_bus;
    CTcpLink m_eth;
    CUsbPrinterLink m_usbPrint;
    CUsbBulkLink m_usb;
    CMachineCommands m_commu;
};

/// Reads the parameter block and, when it announces one, the extended block into the mirror
/// (as the program does when the machine comes online). 0, or -1 when a read failed.
int ReadParamBlock(CMachineCommands& commu, CMachineParams& params);

/// Reads the parameter block from the machine the settings name, over the link they choose,
/// for the command-line tools. False with the text to show in strError (the link's refusal
/// when it refused to open).
bool ReadParamsFromMachine(const CSettings& settings, CMachineParams& params,
                           std::string& strError);

} // namespace inkvale
