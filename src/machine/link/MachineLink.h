// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "machine/link/LinkRefusal.h"
#include "machine/link/MachineProtocol.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>

namespace inkvale {

/// One way to reach the machine. The four exchanges build the same frames on every link;
/// a link supplies the transport: open, close, one send, one receive, a band chunk.
/// Every member except Lock() must be called with Lock() held; CMachineCommands does that.
class CMachineLink {
public:
    virtual ~CMachineLink() = default;
    CMachineLink(const CMachineLink&) = delete;
    CMachineLink& operator=(const CMachineLink&) = delete;

    /// Serialises whole operations (open, exchange, close-after) on this link.
    std::mutex& Lock() { return m_lock; }

    /// 0 when the link is usable (opening it if needed), -1 otherwise.
    virtual int EnsureOpen() = 0;
    /// Closes the link if it is open; the next exchange opens it again.
    virtual void Close() = 0;
    /// True while the link is open (for tests and diagnostics).
    virtual bool IsOpen() const = 0;
    /// Why the last open was refused before any attempt to reach the machine; kNone when it
    /// opened, or failed for any other reason.
    virtual CLinkRefusal Refusal() const { return {}; }

    /// Action exchange: 0 done, -1 not open or frame not sent whole, -2 reply not 4 bytes.
    /// On success *pState receives the reply's state byte.
    int Action(uint8_t nCode, uint8_t* pState);
    /// Read exchange: 0 with the whole reply in reply (register bytes from index 4), else -1.
    int Read(uint8_t nAddress, uint8_t nCount, CReplyBuffer& reply);
    /// Write exchange: the machine's result byte (unsigned on Ethernet, signed on USB), or
    /// -1 when the link is not open, the frame was not sent whole, the reply is not 6 bytes
    /// or its byte 3 is not nCount. A well-formed reply sets state to its state byte.
    int Write(uint8_t nAddress, uint8_t nCount, const uint8_t* pData,
              std::optional<uint8_t>& state);
    /// Band data in acknowledged chunks: nLength when every chunk was acknowledged, 1 when an
    /// acknowledgement carried state 1 (the link is closed then), -1 on any failure (closed).
    /// Each acknowledgement is stored in state as it arrives.
    int SendData(const uint8_t* pData, size_t nLength, std::atomic<uint8_t>& state);

    /// Bytes per band-data chunk.
    virtual size_t ChunkSize() const = 0;

protected:
    CMachineLink() = default;

    /// Sends a whole frame with one transfer; false when it was not sent whole.
    virtual bool SendFrame(const uint8_t* p, size_t n) = 0;
    /// Receives one reply of nLength bytes (the length its frame kind fixes) into p, which
    /// has room for nMax. Returns the count received: nLength for a whole reply, any other
    /// count for a short or over-long one, -1 on failure or when nothing came in time. A
    /// stream link gathers pieces until nLength bytes have come, all within its receive
    /// time-out; a link whose transfers are messages takes one transfer as the reply.
    virtual int ReceiveReply(uint8_t* p, size_t nMax, size_t nLength) = 0;
    /// Sends one band-data chunk of ChunkSize() bytes; false when it was not sent whole.
    virtual bool SendChunk(const uint8_t* p) { return SendFrame(p, ChunkSize()); }
    /// Microseconds of busy-wait after each acknowledged chunk.
    virtual int PauseMicros() const = 0;
    /// True when the write result byte is taken as a signed byte.
    virtual bool SignedResult() const = 0;

private:
    std::mutex m_lock;
};

/// Busy-waits the given number of microseconds on the steady clock (no sleep: the pause
/// between chunks is shorter than any scheduler tick).
void BusyWaitMicros(int nMicros);

} // namespace inkvale
