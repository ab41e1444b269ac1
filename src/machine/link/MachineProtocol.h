// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace inkvale {

/// Frame kinds: the second byte of every frame the host sends.
inline constexpr uint8_t kFrameAction = 0x50; ///< 'P': perform an action
inline constexpr uint8_t kFrameRead = 0x51;   ///< 'Q': read registers
inline constexpr uint8_t kFrameWrite = 0x52;  ///< 'R': write registers

/// Largest frame and largest reply the host handles; a write carries at most 196 data bytes.
inline constexpr size_t kFrameMax = 200;
inline constexpr size_t kWriteDataMax = kFrameMax - 4;
/// Replies are received into buffers of this size; ReadRegs' caller provides one.
inline constexpr size_t kReplyMax = 200;
/// Actions and chunk acknowledgements are received asking for up to this many bytes.
inline constexpr size_t kShortReplyMax = 64;
/// Exact reply lengths of an action, a write and a band-data chunk; a read's reply is its
/// register count plus 4.
inline constexpr int kActionReplyLen = 4;
inline constexpr int kWriteReplyLen = 6;
inline constexpr int kChunkReplyLen = 1;

using CReplyBuffer = std::array<uint8_t, kReplyMax>;

/// Machine action codes (the third byte of an action frame).
enum EMachineAction : uint8_t {
    kActJogStop = 1,
    kActFeed = 2,
    kActBack = 3,
    kActLeft = 4,
    kActRight = 5,
    kActTest = 10,
    kActPause = 11,
    kActResume = 12,
    kActStop = 13,
    kActReset = 15,
};

/// The machine's state byte; every reply but a register read carries it.
enum EMachineState : uint8_t {
    kStateInit = 0,
    kStateReady = 1,
    kStateCleaning = 2,
    kStateProcessing = 3,
    kStatePrinting = 4,
    kStateFinishing = 5,
    kStatePaused = 6,
    kStateMemoryError = 7,
    kStateResetTimeout = 8,
    kStateCarriageTimeout = 9,
    kStateNoAnswer = 0xFF, ///< set by the host, never sent by a machine
};

/// Register stretches of the machine's byte-addressed register space.
inline constexpr uint8_t kRegParams = 0; ///< 80 bytes, parameter block
inline constexpr uint8_t kRegParamsLen = 80;
inline constexpr uint8_t kRegMachineIp = 4;   ///< 4 bytes, first octet first
inline constexpr uint8_t kRegParamsEdit = 24; ///< 56 bytes written by the dialogs
inline constexpr uint8_t kRegParamsEditLen = 56;
inline constexpr uint8_t kRegExtFlag = 79; ///< 'Y' announces the extended block
inline constexpr uint8_t kExtFlagYes = 0x59;
inline constexpr uint8_t kRegJobHeader = 80;    ///< int32 JobWidth, int32 BandCount
inline constexpr uint8_t kRegPosition = 92;     ///< int32 X, int32 Y
inline constexpr uint8_t kRegState = 100;       ///< the state byte
inline constexpr uint8_t kRegBandRequest = 120; ///< int32 band index
inline constexpr uint8_t kRegBandDone = 124;    ///< int32 band index
inline constexpr uint8_t kRegExtParams = 128;   ///< 20 bytes, extended block
inline constexpr uint8_t kRegExtParamsLen = 20;

/// Band request results.
inline constexpr int kBandSendNow = 0;
inline constexpr int kBandBusy = 1;

/// TCP port of the machine's Ethernet link.
inline constexpr uint16_t kMachinePort = 5291;

/// Builds the three-byte action frame.
std::vector<uint8_t> BuildActionFrame(uint8_t nCode);
/// Builds the four-byte register read frame.
std::vector<uint8_t> BuildReadFrame(uint8_t nAddress, uint8_t nCount);
/// Builds a write frame: length, 'R', address, count, then the count data bytes.
/// nCount must not exceed kWriteDataMax.
std::vector<uint8_t> BuildWriteFrame(uint8_t nAddress, uint8_t nCount, const uint8_t* pData);

/// Little-endian helpers for the int32 payloads of the wire.
void PutLe32(uint8_t* p, uint32_t v);
uint32_t GetLe32(const uint8_t* p);
uint16_t GetLe16(const uint8_t* p);
/// The four bytes of an int32 payload (job header halves, band index).
std::array<uint8_t, 4> Le32Bytes(int32_t v);

} // namespace inkvale
