// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/link/LinkChoice.h"
#include "machine/link/MachineLink.h"

#include <cstdint>

namespace inkvale {

/// Time-outs of the Ethernet link. The program uses the defaults; tests shorten them.
struct CEthTimeouts {
    int m_nConnectMs = 5000; ///< wait for the TCP connection
    int m_nIoMs = 6000;      ///< every send, and every reply as a whole however it is cut
};

/// The Ethernet link: a TCP connection to `MachineIP`, kept open between exchanges until
/// the command layer closes it. Band data goes in 600-byte chunks.
/// Whether the Ethernet link may connect to this address (first octet in the lowest
/// byte). Builds made with INKVALE_LOOPBACK_ONLY (the default for development, tests and
/// the demo) reach loopback addresses only, so no test or demo run on a developer's or CI's
/// machine can reach a real plotter or any other host; the packaged program reaches every
/// address.
bool IsMachineAddressAllowed(uint32_t nIp);

class CTcpLink : public CMachineLink {
public:
    /// choice supplies `MachineIP` at every open. The program always uses port 5291; tests
    /// pass the port of their simulator.
    explicit CTcpLink(const ILinkChoice& choice, uint16_t nPort = kMachinePort,
                    CEthTimeouts timeouts = {});
    ~CTcpLink() override;

    int EnsureOpen() override;
    /// Only a connected link is closed; a socket of a failed open is left to the next open.
    void Close() override;
    bool IsOpen() const override { return m_bConnected; }
    /// kLoopbackOnly while a loopback-only build is asked for another address.
    CLinkRefusal Refusal() const override { return m_refusal; }
    size_t ChunkSize() const override { return kChunk; }

    static constexpr size_t kChunk = 600;

protected:
    bool SendFrame(const uint8_t* p, size_t n) override;
    int ReceiveReply(uint8_t* p, size_t nMax, size_t nLength) override;
    int PauseMicros() const override { return 5; }
    bool SignedResult() const override { return false; }

private:
    bool Connect(uint32_t nIp);
    void DropSocket();

    const ILinkChoice& m_choice;
    uint16_t m_nPort;
    CEthTimeouts m_timeouts;
    bool m_bConnected = false;
    int m_nSocket = -1;
    CLinkRefusal m_refusal;
};

} // namespace inkvale
