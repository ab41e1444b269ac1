// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/link/MachineLink.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

namespace inkvale {

int CMachineLink::Action(uint8_t nCode, uint8_t* pState) {
    if (EnsureOpen() != 0)
        return -1;
    const std::vector<uint8_t> frame = BuildActionFrame(nCode);
    if (!SendFrame(frame.data(), frame.size()))
        return -1;
    uint8_t reply[kShortReplyMax];
    if (ReceiveReply(reply, sizeof reply, kActionReplyLen) != kActionReplyLen)
        return -2;
    *pState = reply[3];
    return 0;
}

int CMachineLink::Read(uint8_t nAddress, uint8_t nCount, CReplyBuffer& reply) {
    if (EnsureOpen() != 0)
        return -1;
    const std::vector<uint8_t> frame = BuildReadFrame(nAddress, nCount);
    if (!SendFrame(frame.data(), frame.size()))
        return -1;
    const int nLength = int{nCount} + 4;
    if (ReceiveReply(reply.data(), reply.size(), static_cast<size_t>(nLength)) != nLength)
        return -1;
    return 0;
}

int CMachineLink::Write(uint8_t nAddress, uint8_t nCount, const uint8_t* pData,
                        std::optional<uint8_t>& state) {
    if (nCount > kWriteDataMax)
        return -1;
    if (EnsureOpen() != 0)
        return -1;
    const std::vector<uint8_t> frame = BuildWriteFrame(nAddress, nCount, pData);
    if (!SendFrame(frame.data(), frame.size()))
        return -1;
    CReplyBuffer reply{};
    if (ReceiveReply(reply.data(), reply.size(), kWriteReplyLen) != kWriteReplyLen ||
        reply[3] != nCount)
        return -1;
    state = reply[4];
    if (SignedResult())
        return static_cast<int8_t>(reply[5]);
    return reply[5];
}

int CMachineLink::SendData(const uint8_t* pData, size_t nLength, std::atomic<uint8_t>& state) {
    if (EnsureOpen() != 0)
        return -1;
    const size_t nChunk = ChunkSize();
    const size_t nChunks = (nLength + nChunk - 1) / nChunk;
    // The last chunk goes out at full size too; its tail is zero padding, never bytes
    // past the caller's data.
    std::vector<uint8_t> tail(nChunk, 0);
    for (size_t i = 0; i < nChunks; ++i) {
        const size_t nOffset = i * nChunk;
        const uint8_t* p = pData + nOffset;
        if (nLength - nOffset < nChunk) {
            std::copy(p, pData + nLength, tail.begin());
            p = tail.data();
        }
        uint8_t ack[kShortReplyMax];
        if (!SendChunk(p) || ReceiveReply(ack, sizeof ack, kChunkReplyLen) != kChunkReplyLen) {
            Close();
            return -1;
        }
        state = ack[0];
        if (ack[0] == kStateReady) {
            Close();
            return 1;
        }
        BusyWaitMicros(PauseMicros());
    }
    return static_cast<int>(nLength);
}

void BusyWaitMicros(int nMicros) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::microseconds(nMicros);
    while (std::chrono::steady_clock::now() < end) {
    }
}

} // namespace inkvale
