// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SimMachine.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace inkvale::sim {

/// Cuts one byte stream (a TCP connection, a device) into frames and band-data chunks and
/// hands them to the machine. Frames carry their length in their first byte; band data has
/// no header, so while the machine expects a band every chunk of the link's size is data.
/// A complete frame that arrives instead of a chunk (another thread's action between a band
/// request and the data) is recognised once the stream stays quiet.
class CSimStream {
public:
    CSimStream(CSimMachine& machine, size_t nChunkSize);
    ~CSimStream();
    CSimStream(const CSimStream&) = delete;
    CSimStream& operator=(const CSimStream&) = delete;

    /// Appends received bytes; the replies of every complete frame or chunk, in order.
    std::vector<CSimReply> Feed(const uint8_t* p, size_t n);
    /// The stream has been quiet while bytes were kept back: settles them (a frame in place
    /// of band data, or garbage).
    std::vector<CSimReply> Settle();
    /// True when bytes are kept back waiting for more.
    bool HasPending() const { return !m_buffer.empty(); }
    int Connection() const { return m_nConnection; }

private:
    bool TakeUnit(std::vector<CSimReply>& replies);

    CSimMachine& m_machine;
    size_t m_nChunkSize;
    int m_nConnection;
    std::vector<uint8_t> m_buffer;
};

/// How long a stream with kept-back bytes must be quiet before they are settled.
inline constexpr int kSettleMs = 20;

/// Sends one reply on a file descriptor as the reply says (delay, pieces, nothing). Returns
/// false when the connection is to be closed (drop fault, write failure, the peer gone
/// between pieces). Waits end early when stopFd becomes readable.
bool SendReply(int fd, const CSimReply& reply, int nStopFd);

/// Serves one connected descriptor until the peer closes it, a drop fault closes it, or
/// stopFd becomes readable. Does not close fd.
void ServeDescriptor(CSimMachine& machine, int fd, size_t nChunkSize, int nStopFd);

} // namespace inkvale::sim
