// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/HpglPolylineEncoded.h"

#include <algorithm>
#include <cmath>

namespace inkvale {

namespace {

constexpr uint8_t kDigitFirst = 63;
constexpr uint8_t kLast8First = 191;
constexpr uint8_t kLast8End = 254;
constexpr uint8_t kLast7First = 95;
constexpr uint8_t kLast7End = 126;
// Digits beyond this many bits would overflow the value; such a number is garbage anyway.
constexpr int kMaxBits = 60;
// Fractional bits are held to a range where 2^bits stays an exact double.
constexpr int kMaxFractionBits = 40;

} // namespace

void CHpglPeDecoder::Begin() {
    *this = CHpglPeDecoder();
}

void CHpglPeDecoder::Feed(uint8_t c, IHpglPeSink& sink) {
    if (m_bSevenBit) {
        if (c >= kDigitFirst && c < kLast7First)
            TakeDigit(c - kDigitFirst, false, sink);
        else if (c >= kLast7First && c <= kLast7End)
            TakeDigit(c - kLast7First, true, sink);
        else
            Flag(c);
        return;
    }
    if (c >= kDigitFirst && c < kLast8First - 64)
        TakeDigit(c - kDigitFirst, false, sink);
    else if (c >= kLast8First && c <= kLast8End)
        TakeDigit(c - kLast8First, true, sink);
    else
        Flag(c);
}

void CHpglPeDecoder::TakeDigit(uint32_t nDigit, bool bLast, IHpglPeSink& sink) {
    if (m_nShift <= kMaxBits)
        m_nValue |= static_cast<uint64_t>(nDigit) << m_nShift;
    m_nShift += m_bSevenBit ? 5 : 6;
    if (!bLast)
        return;
    const auto nMagnitude = static_cast<int64_t>(m_nValue >> 1);
    const int64_t nValue = (m_nValue & 1) != 0 ? -nMagnitude : nMagnitude;
    m_nValue = 0;
    m_nShift = 0;
    TakeValue(nValue, sink);
}

void CHpglPeDecoder::TakeValue(int64_t nValue, IHpglPeSink& sink) {
    switch (m_eWant) {
    case EWant::kPen:
        sink.PeSelectPen(static_cast<int32_t>(std::clamp<int64_t>(nValue, -1, 1 << 16)));
        break;
    case EWant::kFraction:
        m_nFractionBits =
            static_cast<int>(std::clamp<int64_t>(nValue, -kMaxFractionBits, kMaxFractionBits));
        break;
    case EWant::kCoordinate: {
        const double d = std::ldexp(static_cast<double>(nValue), -m_nFractionBits);
        if (!m_bHaveX) {
            m_dX = d;
            m_bHaveX = true;
            return;
        }
        m_bHaveX = false;
        sink.PePoint(m_dX, d, m_bNextAbsolute, m_bNextUp);
        m_bNextAbsolute = m_bNextUp = false;
        return;
    }
    }
    m_eWant = EWant::kCoordinate;
}

// A flag drops a number or a half pair that it interrupts.
void CHpglPeDecoder::Flag(uint8_t c) {
    EWant eWant = EWant::kCoordinate;
    switch (c) {
    case ':':
        eWant = EWant::kPen;
        break;
    case '>':
        eWant = EWant::kFraction;
        break;
    case '<':
        m_bNextUp = true;
        break;
    case '=':
        m_bNextAbsolute = true;
        break;
    case '7':
        m_bSevenBit = true;
        break;
    default:
        return; // white space, line ends and bytes outside the digit ranges
    }
    m_eWant = eWant;
    m_nValue = 0;
    m_nShift = 0;
    m_bHaveX = false;
}

} // namespace inkvale
