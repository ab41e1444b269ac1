// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/link/MachineProtocol.h"

#include <cassert>

namespace inkvale {

std::vector<uint8_t> BuildActionFrame(uint8_t nCode) {
    return {0x03, kFrameAction, nCode};
}

std::vector<uint8_t> BuildReadFrame(uint8_t nAddress, uint8_t nCount) {
    return {0x04, kFrameRead, nAddress, nCount};
}

std::vector<uint8_t> BuildWriteFrame(uint8_t nAddress, uint8_t nCount, const uint8_t* pData) {
    assert(nCount <= kWriteDataMax && "write frames hold at most 196 data bytes");
    std::vector<uint8_t> frame;
    frame.reserve(size_t{nCount} + 4);
    frame.push_back(static_cast<uint8_t>(nCount + 4));
    frame.push_back(kFrameWrite);
    frame.push_back(nAddress);
    frame.push_back(nCount);
    if (nCount > 0)
        frame.insert(frame.end(), pData, pData + nCount);
    return frame;
}

void PutLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t GetLe32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

uint16_t GetLe16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

std::array<uint8_t, 4> Le32Bytes(int32_t v) {
    std::array<uint8_t, 4> bytes{};
    PutLe32(bytes.data(), static_cast<uint32_t>(v));
    return bytes;
}

} // namespace inkvale
