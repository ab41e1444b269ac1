// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace inkvale {

/// Where the decoded points of an encoded polyline go.
class IHpglPeSink {
public:
    virtual ~IHpglPeSink() = default;
    virtual void PeSelectPen(int32_t nPen) = 0;
    /// One coordinate pair in the current units: relative to the pen unless bAbsolute, drawn
    /// unless bPenUp.
    virtual void PePoint(double x, double y, bool bAbsolute, bool bPenUp) = 0;
};

/// Decodes the data of one PE (polyline encoded) command byte by byte, so that the data may
/// arrive in pieces. Numbers are base-64 digits (8-bit mode: 63..126 go on, 191..254 end a
/// number) or base-32 digits (7-bit mode: 63..94 go on, 95..126 end), least significant
/// first, with the sign in the lowest bit. Flags: ':' a pen number follows, '<' the next
/// pair is a pen-up move, '>' the count of fractional bits follows, '=' the next pair is
/// absolute, '7' seven-bit mode from here on. Other bytes are ignored.
class CHpglPeDecoder {
public:
    /// The start of a PE command: 8-bit mode, whole numbers, relative pen-down pairs.
    void Begin();
    void Feed(uint8_t c, IHpglPeSink& sink);

private:
    enum class EWant : uint8_t { kCoordinate, kPen, kFraction };

    void TakeDigit(uint32_t nDigit, bool bLast, IHpglPeSink& sink);
    void TakeValue(int64_t nValue, IHpglPeSink& sink);
    void Flag(uint8_t c);

    EWant m_eWant = EWant::kCoordinate;
    bool m_bSevenBit = false;
    bool m_bNextUp = false;
    bool m_bNextAbsolute = false;
    bool m_bHaveX = false;
    int m_nFractionBits = 0;
    int m_nShift = 0; // bits of the number read so far
    uint64_t m_nValue = 0;
    double m_dX = 0.0;
};

} // namespace inkvale
