// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/MachineParams.h"

#include <algorithm>
#include <cassert>

namespace inkvale {
namespace {

constexpr CParamField kFields[] = {
    {"MachineIP", 4, 4, 1, false},         {"FeedStepBase", 24, 4, 1, false},
    {"XDotsPerMetre", 28, 4, 1, false},    {"CarriageTravelMm", 32, 2, 1, false},
    {"XSizeExpectReg", 34, 2, 1, false},   {"XSizeMeasureReg", 36, 2, 1, false},
    {"YSizeExpectReg", 38, 2, 1, false},   {"YSizeMeasureReg", 40, 2, 1, false},
    {"HeadPos", 42, 2, 4, false},          {"LeftOffsetMm", 50, 2, 1, false},
    {"HeadCombination", 52, 1, 1, false},  {"Bidirectional", 53, 1, 1, false},
    {"HeadOverlap", 54, 1, 3, false},      {"ReturnJoin", 57, 1, 4, false},
    {"ParamTag61", 61, 1, 1, false},       {"CarriageStartSpeed", 62, 1, 1, false},
    {"CarriageMaxSpeed", 63, 1, 1, false}, {"BrakeDistanceMm", 64, 1, 1, false},
    {"FeedBeforeMm", 65, 1, 1, false},     {"FeedAfterMm", 66, 1, 1, false},
    {"LineWidthPx", 67, 1, 1, false},      {"BoldLines", 68, 1, 1, false},
    {"FirePulseUs", 69, 1, 1, false},      {"BufferLeftMm", 70, 1, 1, false},
    {"BufferRightMm", 71, 1, 1, false},    {"MarginLeftMm", 72, 1, 1, false},
    {"MarginRightMm", 73, 1, 1, false},    {"EdgeAdjustLeft", 74, 1, 1, true},
    {"EdgeAdjustRight", 75, 1, 1, true},   {"FlatbedMode", 76, 1, 1, false},
    {"ExtFlag", 79, 1, 1, false},          {"KnifePos", 128, 2, 4, false},
    {"KnifeMode", 138, 1, 1, false},       {"CutterPressure", 139, 1, 1, false},
    {"ExtByte140", 140, 1, 1, false},      {"ColumnSpacing", 141, 1, 1, false},
    {"PreciseMode", 142, 1, 1, false},     {"InkColumns", 143, 1, 1, false},
    {"FeedSpeed", 144, 1, 1, false},
};

// Built-in values of the edit copy until a machine has been read; every field not named
// here is 0.
struct CDefault {
    const char* m_pszName;
    std::array<int64_t, 4> m_values;
};
constexpr CDefault kDefaults[] = {
    {"FeedStepBase", {57000}},
    {"XDotsPerMetre", {24612}},
    {"CarriageTravelMm", {2106}},
    {"XSizeExpectReg", {5000}},
    {"XSizeMeasureReg", {5000}},
    {"YSizeExpectReg", {5000}},
    {"YSizeMeasureReg", {5000}},
    {"HeadPos", {10, 180, 0, 0}},
    {"LeftOffsetMm", {80}},
    {"Bidirectional", {1}},
    {"ReturnJoin", {10, 10, 10, 10}},
    {"CarriageStartSpeed", {20}},
    {"CarriageMaxSpeed", {60}},
    {"BrakeDistanceMm", {25}},
    {"FeedBeforeMm", {50}},
    {"FeedAfterMm", {50}},
    {"LineWidthPx", {1}},
    {"FirePulseUs", {23}},
    {"BufferLeftMm", {20}},
    {"BufferRightMm", {20}},
    {"MarginLeftMm", {20}},
    {"MarginRightMm", {20}},
    {"ColumnSpacing", {26}},
};

constexpr int kIPAddr = 4;
constexpr int kKnife2StartAddr = 132; // KnifePos element 2
constexpr int kKnife2EndAddr = 134;   // KnifePos element 3

} // namespace

std::span<const CParamField> ParamFields() {
    return kFields;
}

const CParamField* FindParamField(std::string_view name) {
    for (const CParamField& field : kFields) {
        if (name == field.m_pszName)
            return &field;
    }
    return nullptr;
}

std::string FormatMachineIP(uint32_t nIP) {
    std::string text;
    for (int i = 0; i < 4; ++i) {
        if (i > 0)
            text += '.';
        text += std::to_string((nIP >> (8 * i)) & 0xFF);
    }
    return text;
}

CMachineParams::CMachineParams() {
    for (int a = 0; a < kSpan; ++a) {
        Put(m_arrMachine, a, 0);
        Put(m_arrEdit, a, 0);
    }
    ResetMachineParams();
}

CMachineParams::CMachineParams(const CMachineParams& other) {
    *this = other;
}

CMachineParams& CMachineParams::operator=(const CMachineParams& other) {
    if (this == &other)
        return *this;
    for (int a = 0; a < kSpan; ++a) {
        Put(m_arrMachine, a, Get(other.m_arrMachine, a));
        Put(m_arrEdit, a, Get(other.m_arrEdit, a));
    }
    return *this;
}

void CMachineParams::ResetMachineParams() {
    for (int a = 0; a < kSpan; ++a) {
        Put(m_arrEdit, a, 0);
        // Bytes 4..7 hold MachineIP as loaded from the settings file: they survive a reset.
        if (a < kIPAddr || a >= kIPAddr + 4)
            Put(m_arrMachine, a, 0);
    }
    for (const CDefault& def : kDefaults) {
        const CParamField* field = FindParamField(def.m_pszName);
        assert(field && "default for an unknown field");
        for (int i = 0; i < field->m_nCount; ++i)
            SetField(*field, def.m_values[static_cast<size_t>(i)], i);
    }
}

bool CMachineParams::StoreParamBlock(std::span<const uint8_t> block) {
    if (block.size() != static_cast<size_t>(kBlockSize))
        return false;
    for (int a = 0; a < kBlockSize; ++a) {
        const uint8_t n = block[static_cast<size_t>(a)];
        Put(m_arrMachine, a, n);
        if (a >= kEditBase)
            Put(m_arrEdit, a, n);
    }
    return true;
}

bool CMachineParams::StoreExtBlock(std::span<const uint8_t> block) {
    if (block.size() != static_cast<size_t>(kExtSize))
        return false;
    std::array<uint8_t, kExtSize> bytes;
    std::copy(block.begin(), block.end(), bytes.begin());
    // Knife 2 positions beyond the carriage range come from machines without a second
    // knife; they are held as 0. Knife 1 is kept as read.
    for (int addr : {kKnife2StartAddr, kKnife2EndAddr}) {
        const size_t i = static_cast<size_t>(addr - kExtBase);
        if ((bytes[i] | (bytes[i + 1] << 8)) > kKnifeMaxMm) {
            bytes[i] = 0;
            bytes[i + 1] = 0;
        }
    }
    for (int i = 0; i < kExtSize; ++i) {
        Put(m_arrMachine, kExtBase + i, bytes[static_cast<size_t>(i)]);
        Put(m_arrEdit, kExtBase + i, bytes[static_cast<size_t>(i)]);
    }
    return true;
}

std::array<uint8_t, CMachineParams::kEditSize> CMachineParams::CommitParams() {
    std::array<uint8_t, kEditSize> bytes;
    for (int i = 0; i < kEditSize; ++i) {
        bytes[static_cast<size_t>(i)] = Get(m_arrEdit, kEditBase + i);
        Put(m_arrMachine, kEditBase + i, bytes[static_cast<size_t>(i)]);
    }
    return bytes;
}

std::array<uint8_t, CMachineParams::kExtSize> CMachineParams::CommitExtParams() {
    std::array<uint8_t, kExtSize> bytes;
    for (int i = 0; i < kExtSize; ++i) {
        bytes[static_cast<size_t>(i)] = Get(m_arrEdit, kExtBase + i);
        Put(m_arrMachine, kExtBase + i, bytes[static_cast<size_t>(i)]);
    }
    return bytes;
}

bool CMachineParams::IsBlockAddr(int nAddr) {
    return (nAddr >= 0 && nAddr < kBlockSize) || (nAddr >= kExtBase && nAddr < kSpan);
}

uint8_t CMachineParams::Get(const CBytes& bytes, int nAddr) {
    if (!IsBlockAddr(nAddr))
        return 0;
    return bytes[static_cast<size_t>(nAddr)].load(std::memory_order_relaxed);
}

void CMachineParams::Put(CBytes& bytes, int nAddr, uint8_t nValue) {
    if (IsBlockAddr(nAddr))
        bytes[static_cast<size_t>(nAddr)].store(nValue, std::memory_order_relaxed);
}

uint8_t CMachineParams::MachineByte(int nAddr) const {
    return Get(m_arrMachine, nAddr);
}

uint8_t CMachineParams::EditByte(int nAddr) const {
    return Get(m_arrEdit, nAddr);
}

void CMachineParams::SetEditByte(int nAddr, uint8_t nValue) {
    Put(m_arrEdit, nAddr, nValue);
}

int64_t CMachineParams::Field(const CParamField& field, int nIndex) const {
    if (!InRange(nIndex, field.m_nCount))
        return 0;
    const CBytes& bytes = field.m_nAddr == kIPAddr ? m_arrMachine : m_arrEdit;
    const int nAddr = field.m_nAddr + nIndex * field.m_nWidth;
    uint32_t n = 0;
    for (int b = field.m_nWidth - 1; b >= 0; --b)
        n = (n << 8) | Get(bytes, nAddr + b);
    if (field.m_bSigned && field.m_nWidth == 1)
        return static_cast<int8_t>(n);
    return n;
}

void CMachineParams::SetField(const CParamField& field, int64_t nValue, int nIndex) {
    if (!InRange(nIndex, field.m_nCount))
        return;
    CBytes& bytes = field.m_nAddr == kIPAddr ? m_arrMachine : m_arrEdit;
    const int nAddr = field.m_nAddr + nIndex * field.m_nWidth;
    const uint64_t n = static_cast<uint64_t>(nValue);
    for (int b = 0; b < field.m_nWidth; ++b)
        Put(bytes, nAddr + b, static_cast<uint8_t>(n >> (8 * b)));
}

uint32_t CMachineParams::MachineIP() const {
    uint32_t n = 0;
    for (int b = 3; b >= 0; --b)
        n = (n << 8) | MachineByte(kIPAddr + b);
    return n;
}

void CMachineParams::SetMachineIP(uint32_t nIP) {
    for (int b = 0; b < 4; ++b)
        Put(m_arrMachine, kIPAddr + b, static_cast<uint8_t>(nIP >> (8 * b)));
}

int CMachineParams::U16(int nAddr) const {
    return EditByte(nAddr) | (EditByte(nAddr + 1) << 8);
}

uint32_t CMachineParams::U32(int nAddr) const {
    uint32_t n = 0;
    for (int b = 3; b >= 0; --b)
        n = (n << 8) | EditByte(nAddr + b);
    return n;
}

void CMachineParams::SetU16(int nAddr, uint16_t n) {
    SetEditByte(nAddr, static_cast<uint8_t>(n));
    SetEditByte(nAddr + 1, static_cast<uint8_t>(n >> 8));
}

void CMachineParams::SetU32(int nAddr, uint32_t n) {
    for (int b = 0; b < 4; ++b)
        SetEditByte(nAddr + b, static_cast<uint8_t>(n >> (8 * b)));
}

void CMachineParams::SetU16At(int i, int nCount, int nAddr, uint16_t n) {
    if (InRange(i, nCount))
        SetU16(nAddr + 2 * i, n);
}

void CMachineParams::SetU8At(int i, int nCount, int nAddr, uint8_t n) {
    if (InRange(i, nCount))
        SetEditByte(nAddr + i, n);
}

} // namespace inkvale
