// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/link/LinkChoice.h"
#include "machine/link/MachineLink.h"
#include "machine/link/MachineStatus.h"

#include <cstddef>
#include <cstdint>

namespace inkvale {

/// The one door to the machine. Every call picks the link named by `CommuVia` at that
/// moment and runs one whole operation under that link's lock. Called from the window
/// thread, the monitor thread and the band sender thread.
///
/// Outside a print job every exchange opens the link, exchanges and closes it again; during
/// a job the link stays open as long as exchanges succeed (a write whose result is not 0
/// counts as unsuccessful and closes it too).
///
/// Every operation leaves in the status why its link refused to open, or kNone.
class CMachineCommands {
public:
    /// The links and the status live as long as this object.
    CMachineCommands(const ILinkChoice& choice, CMachineStatus& status, CMachineLink& eth,
             CMachineLink& usbPrint, CMachineLink& usb);

    /// Performs machine action nCode. 0 done (the state byte is updated); -1 link not
    /// available or frame not sent whole; -2 reply missing or not exactly 4 bytes.
    [[nodiscard]] int SendAction(uint8_t nCode);
    /// Reads nCount registers from nAddress. 0 with the whole reply in reply (register bytes
    /// from index 4), else -1. Never changes the state byte.
    [[nodiscard]] int ReadRegs(uint8_t nAddress, uint8_t nCount, CReplyBuffer& reply);
    /// Writes nCount bytes (at most 196) to nAddress. The machine's result byte, unsigned
    /// (0..255) on Ethernet and signed (-128..127) on both USB links; -1 when the link is not
    /// available, the frame was not sent whole or the reply is malformed.
    [[nodiscard]] int WriteRegs(uint8_t nAddress, uint8_t nCount, const uint8_t* pData);
    /// Streams one band in acknowledged chunks of the link's size; a short last chunk is
    /// padded with zeros. nLength when every chunk was acknowledged; 1 when an acknowledgement
    /// carried state 1 (the machine dropped the job); -1 on any failure. The link is closed
    /// after 1 and -1, left open after success.
    [[nodiscard]] int SendData(const uint8_t* pData, size_t nLength);
    /// Closes the Ethernet connection when `CommuVia` selects Ethernet (so the next exchange
    /// connects to a new `MachineIP`); does nothing for the USB links.
    void CloseEthLink();

    /// The link `CommuVia` selects now.
    CMachineLink& CurrentLink();

private:
    // Step 6 of every exchange: outside a job, or after a failure, the link is closed. The
    // link's refusal, if any, is passed on to the status first.
    void CloseAfter(CMachineLink& link, int nResult);

    const ILinkChoice& m_choice;
    CMachineStatus& m_status;
    CMachineLink& m_eth;
    CMachineLink& m_usbPrint;
    CMachineLink& m_usb;
};

} // namespace inkvale
