// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/link/MachineLinks.h"

#include "config/MachineParams.h"
#include "config/Settings.h"

#include <span>

namespace inkvale {

int CSettingsLinkChoice::CommuVia() const {
    return m_settings.CommuVia;
}

uint32_t CSettingsLinkChoice::MachineIp() const {
    return m_params.MachineIP();
}

CMachineLinks::CMachineLinks(const CSettings& settings, const CMachineParams& params)
    : m_choice(settings, params), m_eth(m_choice), m_usb(m_bus),
      m_commu(m_choice, m_status, m_eth, m_usbPrint, m_usb) {}

int ReadParamBlock(CMachineCommands& commu, CMachineParams& params) {
    CReplyBuffer reply{};
    if (commu.ReadRegs(kRegParams, kRegParamsLen, reply) != 0)
        return -1;
    const std::span<const uint8_t> block(reply.data() + 4, kRegParamsLen);
    (void)params.StoreParamBlock(block);
    if (block[kRegExtFlag] != kExtFlagYes)
        return 0;
    if (commu.ReadRegs(kRegExtParams, kRegExtParamsLen, reply) != 0)
        return -1;
    (void)params.StoreExtBlock(std::span<const uint8_t>(reply.data() + 4, kRegExtParamsLen));
    return 0;
}

bool ReadParamsFromMachine(const CSettings& settings, CMachineParams& params,
                           std::string& strError) {
    // The links read MachineIP while the block is being stored: they look at a copy.
    const CMachineParams address(params);
    CMachineLinks links(settings, address);
    if (ReadParamBlock(links.Commu(), params) == 0)
        return true;
    const CLinkRefusal refusal = links.Status().m_linkRefusal.Load();
    strError = refusal.Refused() ? LinkRefusalText(refusal)
                                 : "cannot read the parameter block from the machine at " +
                                       FormatMachineIP(address.MachineIP());
    return false;
}

} // namespace inkvale
