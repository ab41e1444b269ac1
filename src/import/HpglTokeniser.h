// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "import/HpglEscape.h"
#include "import/HpglFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace inkvale {

/// Cuts the bytes of an HP-GL file into commands (two letters), numeric parameters, label
/// text and terminator definitions, and hands every complete command to the reader's
/// Execute. The bytes may arrive in pieces of any size: every state, an unfinished number
/// and an escape sequence carry over from one piece to the next.
class CHpglTokeniser {
public:
    /// A number token longer than this (bytes) stops the read with "data over flow".
    static constexpr size_t kMaxNumberLen = 1000;

    explicit CHpglTokeniser(CHpglFile& file);

    /// Processes the next bytes of the file. False once the read has stopped (see Result).
    bool Feed(const char* pData, size_t nLen);
    /// The end-of-file rules: a pending command runs with the parameters completed so far,
    /// a number still being read is dropped; the parameter list is emptied.
    void Finish();
    /// kHpglReadOk, or the reason the read stopped.
    CHpglReadResult Result() const { return m_result; }

private:
    enum class EState : uint8_t {
        kLetters0,   // looking for the first letter of a command
        kLetters1,   // one letter read
        kNumeric,    // numbers separated by anything that is not a number character
        kNoParam,    // DF: nothing may follow but ';' or the next command
        kLabel,      // LB: text up to the terminator
        kLabelTerm,  // terminator seen; an 'L' would start a continuation
        kLabelTermL, // terminator and 'L' seen; a 'B' continues the label
        kDtFirst,    // DT: the terminator character
        kDtComma,    // DT: after the terminator, a ',' announces the mode digit
        kDtDigit,    // DT: the mode digit
        kPe,         // PE: encoded polyline bytes up to ';'
        kEscape,     // an escape sequence of the printer languages around HP-GL/2
        kSkip,       // binary data of an escape sequence, by its byte count
        kPjlStart,   // after the universal exit language: a PJL line may start
        kPjlLine,    // a PJL line up to its line end
    };

    const char* RunNumeric(const char* p, const char* pEnd);
    const char* RunLabel(const char* p, const char* pEnd);
    void StepChar(uint8_t c);
    void StepLetters(uint8_t c);
    void StepNoParam(uint8_t c);
    void StepLabelTerm(uint8_t c);
    void StepDt(uint8_t c);
    void StartEscape();
    void StepEscape(uint8_t c);
    void StepPjl(uint8_t c);
    const char* RunPe(const char* p, const char* pEnd);
    const char* RunSkip(const char* p, const char* pEnd);
    void EndNumeric(uint8_t c);
    void StartCommand(uint8_t c);
    const char* ScanPlainInteger(const char* p, const char* pEnd);
    void TakeNumberText(const char* p, size_t nLen, bool bEnded);
    void AppendLabel(const char* p, size_t nLen);
    void EndLabel();
    void ExecuteCommand();
    void Stop(int nStatus, bool bOverflow);

    CHpglFile& m_file;
    EState m_eState = EState::kLetters0;
    char m_szCmd[3] = {0, 0, 0};
    std::vector<double> m_arrParams;
    std::string m_strToken; // a number carried over from the previous piece
    int64_t m_nSkip = 0;
    CHpglEscape m_escape;
    EState m_eAfterEscape = EState::kLetters0; // where the read goes on after a sequence
    bool m_bStopped = false;
    CHpglReadResult m_result;
};

} // namespace inkvale
