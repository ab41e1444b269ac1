// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/HpglEscape.h"

namespace inkvale {

namespace {

constexpr int64_t kUelValue = 12345;
constexpr int64_t kMaxValue = int64_t{1} << 40;

bool IsLower(uint8_t c) {
    return c >= 0x60 && c <= 0x7E;
}
bool IsUpper(uint8_t c) {
    return c >= 0x40 && c <= 0x5E;
}
bool IsDigit(uint8_t c) {
    return c >= '0' && c <= '9';
}
bool IsParameterised(uint8_t c) {
    return c >= 0x21 && c <= 0x2F;
}

} // namespace

void CHpglEscape::Begin() {
    *this = CHpglEscape();
}

CHpglEscape::EStep CHpglEscape::Step(uint8_t c) {
    switch (m_eState) {
    case EState::kFirst:
        if (c == '%') {
            m_chFamily = c;
            m_eState = EState::kValue;
            return EStep::kMore;
        }
        if (c == '.') {
            m_eState = EState::kDevice;
            return EStep::kMore;
        }
        if (IsParameterised(c)) {
            m_chFamily = c;
            m_eState = EState::kGroup;
            return EStep::kMore;
        }
        // Two-byte sequences (ESC E, ESC 9); a control byte is no sequence at all.
        return c >= 0x30 && c <= 0x7E ? EStep::kDone : EStep::kDoneUnread;
    case EState::kDevice:
        m_eState = EState::kDeviceParams;
        return EStep::kMore;
    case EState::kDeviceParams:
        if (c == ':')
            return EStep::kDone;
        return IsDigit(c) || c == ';' || c == ' ' ? EStep::kMore : EStep::kDoneUnread;
    case EState::kGroup:
        m_eState = EState::kValue;
        if (IsLower(c)) {
            m_chGroup = c;
            return EStep::kMore;
        }
        return StepValue(c);
    default:
        return StepValue(c);
    }
}

CHpglEscape::EStep CHpglEscape::StepValue(uint8_t c) {
    if (IsDigit(c) || c == '+' || c == '-' || c == '.') {
        if (++m_nValueChars > kMaxValueChars)
            return EStep::kDoneUnread;
        if (c == '-')
            m_bNegative = true;
        else if (c == '.')
            m_bFraction = true;
        else if (IsDigit(c) && !m_bFraction && m_nValue < kMaxValue)
            m_nValue = m_nValue * 10 + (c - '0');
        return EStep::kMore;
    }
    if (IsLower(c) || IsUpper(c))
        return EndParameter(c);
    return EStep::kDoneUnread;
}

// A parameter letter: lower case combines the next parameter into the same sequence, upper
// case ends it.
CHpglEscape::EStep CHpglEscape::EndParameter(uint8_t c) {
    const auto upper = static_cast<uint8_t>(IsLower(c) ? c - 0x20 : c);
    const int64_t nValue = m_bNegative ? -m_nValue : m_nValue;
    if (m_chFamily == '%')
        return upper == 'X' && nValue == -kUelValue ? EStep::kExitLanguage : EStep::kDone;
    if (m_chFamily == '*' && m_chGroup == 'r') {
        m_bStartRaster = m_bStartRaster || upper == 'A';
        m_bEndRaster = m_bEndRaster || upper == 'B' || upper == 'C';
    }
    if (upper == 'W') {
        m_bRasterRow = m_chFamily == '*' && m_chGroup == 'b';
        m_nData = nValue > 0 ? nValue : 0;
        return m_nData > 0 ? EStep::kData : EStep::kDone;
    }
    if (IsUpper(c))
        return EStep::kDone;
    m_nValue = 0;
    m_nValueChars = 0;
    m_bNegative = m_bFraction = false;
    return EStep::kMore;
}

} // namespace inkvale
