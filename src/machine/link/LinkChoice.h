// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace inkvale {

/// Values of the setting `CommuVia`.
inline constexpr int kCommuEthernet = 0;
inline constexpr int kCommuUsbPrint = 1;
inline constexpr int kCommuUsb = 2;

/// The operator's link choices, which the command layer and the Ethernet link read afresh
/// at every call: the setting `CommuVia` and the address `MachineIP` (bytes 4..7 of the
/// machine copy of the parameter block). Called from any thread.
class ILinkChoice {
public:
    virtual ~ILinkChoice() = default;
    /// 1 the USB printer device, 2 the dedicated USB device, anything else Ethernet.
    virtual int CommuVia() const = 0;
    /// IPv4 address with the first octet in the lowest byte (the in-memory form of
    /// sockaddr_in::sin_addr).
    virtual uint32_t MachineIp() const = 0;
};

} // namespace inkvale
