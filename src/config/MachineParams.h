// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace inkvale {

/// One named field of the machine's parameter block, by register byte address.
struct CParamField {
    const char* m_pszName; ///< e.g. "HeadPos"
    int m_nAddr;           ///< register byte address of the first element
    int m_nWidth;          ///< bytes per element: 1, 2 or 4 (little-endian)
    int m_nCount;          ///< elements (HeadPos 4, KnifePos 4, ...), 1 for plain fields
    bool m_bSigned;        ///< s8 fields
};

/// The fields of bytes 24..79 and 128..147 in address order, plus MachineIP (bytes 4..7).
std::span<const CParamField> ParamFields();

/// The field called `name` (case-sensitive), or nullptr.
const CParamField* FindParamField(std::string_view name);

/// 192.168.1.175 as held in the block and stored as MachineIP in Inkvale.ini.
inline constexpr uint32_t kDefaultMachineIP = 0xAF01A8C0u;

/// "a.b.c.d" of an address whose lowest byte is the first octet.
std::string FormatMachineIP(uint32_t nIP);

/// The host's mirror of the machine parameter block (register bytes 0..79 and 128..147).
///
/// Two copies: the machine copy holds what was last read from or written to the machine;
/// the edit copy (bytes 24..79 and 128..147) is what dialogs edit and the raster and print
/// parts read. Getters read the edit copy, except MachineIP() which reads bytes 4..7 of the
/// machine copy. Multi-byte fields are little-endian whatever the host.
///
/// Threads: the monitor thread stores reads while the window thread edits; every byte is
/// an atomic so concurrent use is defined, but a multi-byte field read during a store may
/// mix old and new bytes. Take a copy (copy constructor) for a consistent snapshot.
class CMachineParams {
public:
    static constexpr int kBlockSize = 80;        ///< bytes 0..79
    static constexpr int kEditBase = 24;         ///< first byte of the editable part of the block
    static constexpr int kEditSize = 56;         ///< bytes 24..79
    static constexpr int kExtBase = 128;         ///< first byte of the extended block
    static constexpr int kExtSize = 20;          ///< bytes 128..147
    static constexpr uint8_t kExtPresent = 0x59; ///< byte 79 'Y': the machine has bytes 128..
    static constexpr int kKnifeMaxMm = 3000;     ///< knife 2 positions above this read as 0

    /// The built-in defaults in the edit copy, zeros in the machine copy (MachineIP 0).
    CMachineParams();
    CMachineParams(const CMachineParams& other);
    CMachineParams& operator=(const CMachineParams& other);

    /// Edit copy := the built-in defaults; machine copy := zeros except bytes 4..7
    /// (MachineIP as loaded from the settings), which are kept.
    void ResetMachineParams();
    /// The 80-byte reply of a block read: all into the machine copy (MachineIP included),
    /// bytes 24..79 into the edit copy. False (nothing changed) unless exactly 80 bytes.
    bool StoreParamBlock(std::span<const uint8_t> block);
    /// The 20-byte extended block: knife 2 start/end above 3000 become 0, then the bytes go
    /// into both copies. The caller reads it only when HasExtBlock(). False unless 20 bytes.
    bool StoreExtBlock(std::span<const uint8_t> block);
    /// Edit bytes 24..79 into the machine copy; returns those 56 bytes to send.
    std::array<uint8_t, kEditSize> CommitParams();
    /// The edit extended block into the machine copy; returns its 20 bytes to send.
    std::array<uint8_t, kExtSize> CommitExtParams();
    /// Byte 79 of the machine copy is 'Y'.
    bool HasExtBlock() const { return MachineByte(79) == kExtPresent; }

    /// Raw bytes by register address (0..79, 128..147); other addresses read 0 and are
    /// ignored on write.
    uint8_t MachineByte(int nAddr) const;
    uint8_t EditByte(int nAddr) const;
    void SetEditByte(int nAddr, uint8_t nValue);

    /// Element `nIndex` of a field of the edit copy, sign-extended for s8 fields; 0 for an
    /// index out of range. MachineIP reads the machine copy.
    int64_t Field(const CParamField& field, int nIndex = 0) const;
    /// Writes element `nIndex` of a field of the edit copy (MachineIP: the machine copy),
    /// truncated to the field's width. Ignored for an index out of range.
    void SetField(const CParamField& field, int64_t nValue, int nIndex = 0);

    // Machine copy bytes 4..7: first octet in the lowest byte.
    uint32_t MachineIP() const;
    void SetMachineIP(uint32_t nIP);

    // Edit-copy fields, bytes 24..79. Index arguments count from 0.
    uint32_t FeedStepBase() const { return U32(24); }  ///< feed steps per mm x 1000
    uint32_t XDotsPerMetre() const { return U32(28); } ///< carriage pixels per 1000 mm
    int CarriageTravelMm() const { return U16(32); }
    int XSizeExpectReg() const { return U16(34); }                           ///< 0.1 mm
    int XSizeMeasureReg() const { return U16(36); }                          ///< 0.1 mm
    int YSizeExpectReg() const { return U16(38); }                           ///< 0.1 mm
    int YSizeMeasureReg() const { return U16(40); }                          ///< 0.1 mm
    int HeadPos(int i) const { return InRange(i, 4) ? U16(42 + 2 * i) : 0; } ///< heads 1..4
    int LeftOffsetMm() const { return U16(50); }
    /// 0 = 1#+2#, 1 = 1#, 2 = 2#, 3 = 1#+2#+3#+4#, 4 = 1#+2#+3#
    int HeadCombination() const { return EditByte(52); }
    int Bidirectional() const { return EditByte(53); }
    int HeadOverlap(int i) const { return InRange(i, 3) ? EditByte(54 + i) : 0; } ///< 1/2..3/4
    int ReturnJoin(int i) const { return InRange(i, 4) ? EditByte(57 + i) : 0; }  ///< pixels
    int ParamTag61() const { return EditByte(61); }
    int CarriageStartSpeed() const { return EditByte(62); }
    int CarriageMaxSpeed() const { return EditByte(63); }
    int BrakeDistanceMm() const { return EditByte(64); }
    int FeedBeforeMm() const { return EditByte(65); }
    int FeedAfterMm() const { return EditByte(66); }
    int LineWidthPx() const { return EditByte(67); }
    int BoldLines() const { return EditByte(68); }
    int FirePulseUs() const { return EditByte(69); }
    int BufferLeftMm() const { return EditByte(70); }
    int BufferRightMm() const { return EditByte(71); }
    int MarginLeftMm() const { return EditByte(72); }
    int MarginRightMm() const { return EditByte(73); }
    int EdgeAdjustLeft() const { return static_cast<int8_t>(EditByte(74)); }  ///< s8 pixels
    int EdgeAdjustRight() const { return static_cast<int8_t>(EditByte(75)); } ///< s8 pixels
    int FlatbedMode() const { return EditByte(76); }
    int ExtFlag() const { return EditByte(79); }

    // Edit-copy fields of the extended block, bytes 128..147.
    /// 0 knife 1 start, 1 knife 1 end, 2 knife 2 start, 3 knife 2 end; mm
    int KnifePos(int i) const { return InRange(i, 4) ? U16(128 + 2 * i) : 0; }
    int KnifeMode() const { return EditByte(138); } ///< 0 none, 1 knife 1, 2 knives 1 and 2
    int CutterPressure() const { return EditByte(139); }
    int ExtByte140() const { return EditByte(140); }
    int ColumnSpacing() const { return EditByte(141); } ///< nozzle column distance, pixels
    int PreciseMode() const { return EditByte(142); }
    int InkColumns() const { return EditByte(143); } ///< 0 both, 1 left only, 2 right only
    int FeedSpeed() const { return EditByte(144); }

    // Setters of the edit copy; values are truncated to the field's width.
    void SetFeedStepBase(uint32_t n) { SetU32(24, n); }
    void SetXDotsPerMetre(uint32_t n) { SetU32(28, n); }
    void SetCarriageTravelMm(uint16_t n) { SetU16(32, n); }
    void SetXSizeExpectReg(uint16_t n) { SetU16(34, n); }
    void SetXSizeMeasureReg(uint16_t n) { SetU16(36, n); }
    void SetYSizeExpectReg(uint16_t n) { SetU16(38, n); }
    void SetYSizeMeasureReg(uint16_t n) { SetU16(40, n); }
    void SetHeadPos(int i, uint16_t n) { SetU16At(i, 4, 42, n); }
    void SetLeftOffsetMm(uint16_t n) { SetU16(50, n); }
    void SetHeadCombination(uint8_t n) { SetEditByte(52, n); }
    void SetBidirectional(uint8_t n) { SetEditByte(53, n); }
    void SetHeadOverlap(int i, uint8_t n) { SetU8At(i, 3, 54, n); }
    void SetReturnJoin(int i, uint8_t n) { SetU8At(i, 4, 57, n); }
    void SetParamTag61(uint8_t n) { SetEditByte(61, n); }
    void SetCarriageStartSpeed(uint8_t n) { SetEditByte(62, n); }
    void SetCarriageMaxSpeed(uint8_t n) { SetEditByte(63, n); }
    void SetBrakeDistanceMm(uint8_t n) { SetEditByte(64, n); }
    void SetFeedBeforeMm(uint8_t n) { SetEditByte(65, n); }
    void SetFeedAfterMm(uint8_t n) { SetEditByte(66, n); }
    void SetLineWidthPx(uint8_t n) { SetEditByte(67, n); }
    void SetBoldLines(uint8_t n) { SetEditByte(68, n); }
    void SetFirePulseUs(uint8_t n) { SetEditByte(69, n); }
    void SetBufferLeftMm(uint8_t n) { SetEditByte(70, n); }
    void SetBufferRightMm(uint8_t n) { SetEditByte(71, n); }
    void SetMarginLeftMm(uint8_t n) { SetEditByte(72, n); }
    void SetMarginRightMm(uint8_t n) { SetEditByte(73, n); }
    void SetEdgeAdjustLeft(int8_t n) { SetEditByte(74, static_cast<uint8_t>(n)); }
    void SetEdgeAdjustRight(int8_t n) { SetEditByte(75, static_cast<uint8_t>(n)); }
    void SetFlatbedMode(uint8_t n) { SetEditByte(76, n); }
    void SetKnifePos(int i, uint16_t n) { SetU16At(i, 4, 128, n); }
    void SetKnifeMode(uint8_t n) { SetEditByte(138, n); }
    void SetCutterPressure(uint8_t n) { SetEditByte(139, n); }
    void SetExtByte140(uint8_t n) { SetEditByte(140, n); }
    void SetColumnSpacing(uint8_t n) { SetEditByte(141, n); }
    void SetPreciseMode(uint8_t n) { SetEditByte(142, n); }
    void SetInkColumns(uint8_t n) { SetEditByte(143, n); }
    void SetFeedSpeed(uint8_t n) { SetEditByte(144, n); }

private:
    static constexpr int kSpan = kExtBase + kExtSize; ///< addresses 0..147
    using CBytes = std::array<std::atomic<uint8_t>, kSpan>;

    static bool InRange(int i, int nCount) { return i >= 0 && i < nCount; }
    static bool IsBlockAddr(int nAddr);
    static uint8_t Get(const CBytes& bytes, int nAddr);
    static void Put(CBytes& bytes, int nAddr, uint8_t nValue);
    int U16(int nAddr) const;
    uint32_t U32(int nAddr) const;
    void SetU16(int nAddr, uint16_t n);
    void SetU32(int nAddr, uint32_t n);
    void SetU16At(int i, int nCount, int nAddr, uint16_t n);
    void SetU8At(int i, int nCount, int nAddr, uint8_t n);

    CBytes m_arrMachine; ///< machine copy
    CBytes m_arrEdit;    ///< edit copy (bytes 0..23 unused)
};

} // namespace inkvale
