// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/HpglTokeniser.h"

#include "import/HpglNumber.h"

#include <array>
#include <cstring>

namespace inkvale {

namespace {

constexpr uint8_t kEtx = 3;
constexpr uint8_t kEnq = 5;
constexpr uint8_t kEsc = 27;
constexpr uint8_t kTermModeAfterChar = 0x81;  // DT: terminator read, ',' may follow
constexpr uint8_t kTermModeAfterComma = 0x82; // DT: ',' read, the mode digit may follow

enum : uint8_t { kOther = 0, kLetter = 1, kNumber = 2 };

// Letters are ASCII only and number characters are digits, signs and '.'; bytes from 0x80
// up are neither.
constexpr std::array<uint8_t, 256> MakeClasses() {
    std::array<uint8_t, 256> classes{};
    for (int c = 'A'; c <= 'Z'; ++c)
        classes[static_cast<size_t>(c)] = kLetter;
    for (int c = 'a'; c <= 'z'; ++c)
        classes[static_cast<size_t>(c)] = kLetter;
    for (int c = '0'; c <= '9'; ++c)
        classes[static_cast<size_t>(c)] = kNumber;
    classes['+'] = classes['-'] = classes['.'] = kNumber;
    return classes;
}

constexpr std::array<uint8_t, 256> kClasses = MakeClasses();

bool IsLetter(uint8_t c) {
    return kClasses[c] == kLetter;
}
bool IsNumberChar(uint8_t c) {
    return kClasses[c] == kNumber;
}
bool IsDigit(uint8_t c) {
    return c >= '0' && c <= '9';
}
char Upper(uint8_t c) {
    return static_cast<char>(c >= 'a' ? c - ('a' - 'A') : c);
}

constexpr ptrdiff_t kMaxPlainDigits = 15; // every 15-digit integer is exact in a double

} // namespace

CHpglTokeniser::CHpglTokeniser(CHpglFile& file) : m_file(file) {}

bool CHpglTokeniser::Feed(const char* pData, size_t nLen) {
    const char* p = pData;
    const char* const pEnd = pData + nLen;
    while (p < pEnd && !m_bStopped) {
        switch (m_eState) {
        case EState::kNumeric:
            p = RunNumeric(p, pEnd);
            break;
        case EState::kLabel:
            p = RunLabel(p, pEnd);
            break;
        case EState::kPe:
            p = RunPe(p, pEnd);
            break;
        case EState::kSkip:
            p = RunSkip(p, pEnd);
            break;
        default:
            StepChar(static_cast<uint8_t>(*p++));
            break;
        }
    }
    return !m_bStopped;
}

void CHpglTokeniser::Finish() {
    if (m_bStopped)
        return;
    switch (m_eState) {
    case EState::kNumeric: // an unfinished number is dropped
    case EState::kNoParam:
    case EState::kLabel:
        ExecuteCommand();
        break;
    case EState::kLabelTerm:
    case EState::kLabelTermL:
        EndLabel();
        break;
    case EState::kDtComma:
    case EState::kDtDigit:
        m_file.m_nTermMode = 1;
        break;
    case EState::kPe:
        ExecuteCommand();
        break;
    default:
        break;
    }
    m_strToken.clear();
    m_arrParams.clear();
    m_eState = EState::kLetters0;
    m_file.EndOfData();
}

// The hot loop of a plot file: runs of number characters are converted where they lie;
// only a run cut by the end of the piece is copied, to be finished by the next piece.
const char* CHpglTokeniser::RunNumeric(const char* p, const char* pEnd) {
    while (p < pEnd) {
        const auto c = static_cast<uint8_t>(*p);
        if (IsNumberChar(c)) {
            if (m_strToken.empty()) {
                const char* pAfter = ScanPlainInteger(p, pEnd);
                if (pAfter != nullptr) {
                    p = pAfter;
                    continue;
                }
            }
            const char* q = p + 1;
            while (q < pEnd && IsNumberChar(static_cast<uint8_t>(*q)))
                ++q;
            TakeNumberText(p, static_cast<size_t>(q - p), q < pEnd);
            if (m_bStopped)
                return pEnd;
            p = q;
            continue;
        }
        if (!m_strToken.empty())
            TakeNumberText(p, 0, true);
        ++p;
        EndNumeric(c);
        if (m_eState != EState::kNumeric)
            return p;
    }
    return p;
}

// The bulk of every plot file: a plain integer of up to 15 digits ended inside this piece is
// converted while it is scanned (exactly, as atof would). Anything else returns nullptr and
// takes the general way.
const char* CHpglTokeniser::ScanPlainInteger(const char* p, const char* pEnd) {
    const char* q = p;
    const bool bNegative = *q == '-';
    if (*q == '-' || *q == '+')
        ++q;
    const char* const pDigits = q;
    const char* const pLimit = pEnd - q > kMaxPlainDigits ? q + kMaxPlainDigits : pEnd;
    uint64_t nValue = 0;
    while (q < pLimit && IsDigit(static_cast<uint8_t>(*q))) {
        nValue = nValue * 10 + static_cast<uint64_t>(*q - '0');
        ++q;
    }
    if (q == pDigits || q >= pEnd || IsNumberChar(static_cast<uint8_t>(*q)))
        return nullptr;
    const auto dValue = static_cast<double>(nValue);
    m_arrParams.push_back(bNegative ? -dValue : dValue);
    return q;
}

void CHpglTokeniser::TakeNumberText(const char* p, size_t nLen, bool bEnded) {
    if (m_strToken.size() + nLen > kMaxNumberLen) {
        Stop(kHpglRejected, true);
        return;
    }
    if (!bEnded) {
        m_strToken.append(p, nLen);
        return;
    }
    if (m_strToken.empty()) {
        m_arrParams.push_back(HpglAtof(p, nLen));
        return;
    }
    m_strToken.append(p, nLen);
    m_arrParams.push_back(HpglAtof(m_strToken.data(), m_strToken.size()));
    m_strToken.clear();
}

// A character that is not part of a number ends the token before it; some also end the
// command.
void CHpglTokeniser::EndNumeric(uint8_t c) {
    if (c == ';') {
        ExecuteCommand();
        m_eState = EState::kLetters0;
    } else if (IsLetter(c)) {
        ExecuteCommand();
        m_szCmd[0] = Upper(c);
        m_eState = EState::kLetters1;
    } else if (c == kEsc) {
        ExecuteCommand();
        StartEscape();
    }
}

const char* CHpglTokeniser::RunLabel(const char* p, const char* pEnd) {
    const auto chTerm = static_cast<unsigned char>(m_file.m_chTerminator);
    const void* pFound = std::memchr(p, chTerm, static_cast<size_t>(pEnd - p));
    if (pFound == nullptr) {
        AppendLabel(p, static_cast<size_t>(pEnd - p));
        return pEnd;
    }
    const char* pTerm = static_cast<const char*>(pFound);
    AppendLabel(p, static_cast<size_t>(pTerm - p));
    m_eState = EState::kLabelTerm;
    return pTerm + 1;
}

void CHpglTokeniser::StepChar(uint8_t c) {
    switch (m_eState) {
    case EState::kLetters0:
    case EState::kLetters1:
        StepLetters(c);
        break;
    case EState::kNoParam:
        StepNoParam(c);
        break;
    case EState::kLabelTerm:
    case EState::kLabelTermL:
        StepLabelTerm(c);
        break;
    case EState::kDtFirst:
    case EState::kDtComma:
    case EState::kDtDigit:
        StepDt(c);
        break;
    case EState::kNumeric:
        Feed(reinterpret_cast<const char*>(&c), 1);
        break;
    case EState::kLabel:
        Feed(reinterpret_cast<const char*>(&c), 1);
        break;
    case EState::kPe:
    case EState::kSkip:
        Feed(reinterpret_cast<const char*>(&c), 1);
        break;
    case EState::kEscape:
        StepEscape(c);
        break;
    case EState::kPjlStart:
    case EState::kPjlLine:
        StepPjl(c);
        break;
    }
}

// PE data: every byte up to ';' belongs to the command, letters included. An escape ends
// it as well (a driver's reset after a cut-off job).
const char* CHpglTokeniser::RunPe(const char* p, const char* pEnd) {
    while (p < pEnd) {
        const auto c = static_cast<uint8_t>(*p++);
        if (c == ';' || c == kEsc) {
            ExecuteCommand();
            m_eState = EState::kLetters0;
            if (c == kEsc)
                StartEscape();
            return p;
        }
        m_file.FeedPe(c);
    }
    return p;
}

const char* CHpglTokeniser::RunSkip(const char* p, const char* pEnd) {
    const auto nHere = static_cast<int64_t>(pEnd - p);
    const int64_t n = std::min(m_nSkip, nHere);
    m_nSkip -= n;
    if (m_nSkip == 0)
        m_eState = m_eAfterEscape;
    return p + n;
}

void CHpglTokeniser::StartEscape() {
    m_escape.Begin();
    m_eAfterEscape = EState::kLetters0;
    m_eState = EState::kEscape;
}

void CHpglTokeniser::StepEscape(uint8_t c) {
    const CHpglEscape::EStep eStep = m_escape.Step(c);
    if (eStep == CHpglEscape::EStep::kMore)
        return;
    m_file.EscapeSkipped(m_escape);
    m_eState = m_eAfterEscape;
    switch (eStep) {
    case CHpglEscape::EStep::kDoneUnread:
        StepChar(c);
        break;
    case CHpglEscape::EStep::kData:
        m_nSkip = m_escape.DataBytes();
        m_eState = EState::kSkip;
        break;
    case CHpglEscape::EStep::kExitLanguage:
        m_eState = EState::kPjlStart;
        break;
    default:
        break;
    }
}

// After the universal exit language a job may hold PJL lines ("@PJL ENTER LANGUAGE=HPGL2");
// they are skipped whole, so that their words are never read as commands.
void CHpglTokeniser::StepPjl(uint8_t c) {
    if (m_eState == EState::kPjlLine) {
        if (c == '\n')
            m_eState = EState::kPjlStart;
        return;
    }
    if (c == '@') {
        m_eState = EState::kPjlLine;
    } else if (c == kEsc) {
        StartEscape();
    } else if (c != '\r' && c != '\n' && c != ' ' && c != 0) {
        m_eState = EState::kLetters0;
        StepChar(c);
    }
}

void CHpglTokeniser::StepLetters(uint8_t c) {
    if (m_eState == EState::kLetters0) {
        if (IsLetter(c)) {
            m_szCmd[0] = Upper(c);
            m_eState = EState::kLetters1;
        } else if (c == kEsc) {
            StartEscape();
        }
        return;
    }
    // Second place: anything but a letter forgets the first letter and is itself dropped.
    if (IsLetter(c))
        StartCommand(c);
    else if (c == kEsc)
        StartEscape();
    else
        m_eState = EState::kLetters0;
}

// The second letter chooses how the rest of the command is read.
void CHpglTokeniser::StartCommand(uint8_t c) {
    m_szCmd[1] = Upper(c);
    m_arrParams.clear();
    m_strToken.clear();
    if (m_szCmd[0] == 'D' && m_szCmd[1] == 'F') {
        m_eState = EState::kNoParam;
    } else if (m_szCmd[0] == 'L' && m_szCmd[1] == 'B') {
        std::memset(m_file.m_szLabel, 0, sizeof(m_file.m_szLabel));
        m_file.m_nLabelLen = 0;
        m_eState = EState::kLabel;
    } else if (m_szCmd[0] == 'D' && m_szCmd[1] == 'T') {
        m_eState = EState::kDtFirst;
    } else if (m_szCmd[0] == 'P' && m_szCmd[1] == 'E') {
        m_file.BeginPe();
        m_eState = EState::kPe;
    } else {
        m_eState = EState::kNumeric;
    }
}

void CHpglTokeniser::StepNoParam(uint8_t c) {
    if (c == ';') {
        ExecuteCommand();
        m_eState = EState::kLetters0;
    } else if (IsLetter(c)) {
        ExecuteCommand();
        m_szCmd[0] = Upper(c);
        m_eState = EState::kLetters1;
    } else if (IsNumberChar(c)) {
        Stop(kHpglRejected, false);
    }
}

// After a terminator, "LB" continues the same label; anything else ends it and is then read
// as the start of what follows.
void CHpglTokeniser::StepLabelTerm(uint8_t c) {
    if (m_eState == EState::kLabelTerm) {
        if (c == 'L') {
            m_eState = EState::kLabelTermL;
            return;
        }
        EndLabel();
        StepChar(c);
        return;
    }
    if (c == 'B') {
        m_eState = EState::kLabel;
        return;
    }
    EndLabel();
    StepChar('L');
    StepChar(c);
}

void CHpglTokeniser::StepDt(uint8_t c) {
    CHpglFile& f = m_file;
    if (m_eState == EState::kDtFirst) {
        m_eState = EState::kLetters0;
        if (c == ';') {
            f.m_chTerminator = kEtx;
            f.m_nTermMode = 1;
        } else if (c != 0 && c != kEnq && c != kEsc) {
            f.m_chTerminator = c;
            f.m_nTermMode = kTermModeAfterChar;
            m_eState = EState::kDtComma;
        }
        return;
    }
    if (m_eState == EState::kDtComma && c == ',') {
        f.m_nTermMode = kTermModeAfterComma;
        m_eState = EState::kDtDigit;
        return;
    }
    const bool bDigit = m_eState == EState::kDtDigit && (c == '0' || c == '1');
    f.m_nTermMode = (bDigit && c == '0') ? 0 : 1;
    m_eState = EState::kLetters0;
    if (!bDigit)
        StepChar(c);
}

void CHpglTokeniser::AppendLabel(const char* p, size_t nLen) {
    // Text beyond the label buffer is dropped; the drawing uses at most 512 bytes anyway.
    const size_t nRoom = sizeof(m_file.m_szLabel) - static_cast<size_t>(m_file.m_nLabelLen);
    const size_t n = nLen < nRoom ? nLen : nRoom;
    std::memcpy(m_file.m_szLabel + m_file.m_nLabelLen, p, n);
    m_file.m_nLabelLen += static_cast<int>(n);
}

void CHpglTokeniser::EndLabel() {
    if (m_file.m_nTermMode == 0) {
        const auto chTerm = static_cast<char>(m_file.m_chTerminator);
        AppendLabel(&chTerm, 1);
    }
    ExecuteCommand();
    m_eState = EState::kLetters0;
}

void CHpglTokeniser::ExecuteCommand() {
    m_file.Execute(m_szCmd, m_arrParams);
    m_arrParams.clear();
    if (m_file.m_arrPlotList.Overflowed())
        Stop(kHpglRejected, true);
    else
        m_file.PassPart();
}

void CHpglTokeniser::Stop(int nStatus, bool bOverflow) {
    m_bStopped = true;
    if (bOverflow) {
        m_result = HpglOverflowResult();
    } else {
        m_result.m_nCode = nStatus;
        m_result.m_strDiag = "a number after DF";
    }
    m_arrParams.clear();
    m_strToken.clear();
}

} // namespace inkvale
