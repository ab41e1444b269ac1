// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/HpglTokeniser.h"

#include "HpglTestSupport.h"

#include <gtest/gtest.h>

namespace inkvale {
namespace {

using test::CHpglRecorder;
using test::TokeniseInPieces;
using Log = std::vector<std::string>;

const std::string kEsc = "\x1b";
const std::string kEtx = "\x03";

struct Case {
    const char* name;
    std::string input;
    Log expected;
};

// Every case is also run with the input cut into pieces of 1, 2, 3 and 7 bytes: the result
// must not depend on where the reads of the file end.
const Case kCases[] = {
    {"commands and parameters",
     "IN;SP1;PU100,200;PD300,200,300,400;",
     {"IN", "SP 1", "PU 100,200", "PD 300,200,300,400"}},
    {"lower case",
     "in;sp1;pu100,200;pd300,200,300,400;",
     {"IN", "SP 1", "PU 100,200", "PD 300,200,300,400"}},
    {"a letter ends the command and starts the next", "PA10,20PD;", {"PA 10,20", "PD"}},
    {"end of file drops the unfinished number", "IN;PA10 20,30,40", {"IN", "PA 10,20,30"}},
    {"end of file after ';' executes nothing more", "IN;PA10,20;", {"IN", "PA 10,20"}},
    {"end of file without parameters", "IN;PG", {"IN", "PG"}},
    {"atof of the token text", "PA1-2,--5,+.5,-.25,7.,.,-;", {"PA 1,0,0.5,-0.25,7,0,0"}},
    {"empty fields, spaces, tabs and line ends separate", "PD1,,2 \t3\r\n4,;", {"PD 1,2,3,4"}},
    {"quotes and high bytes separate",
     "PD1\"2\xB0"
     "3;",
     {"PD 1,2,3"}},
    {"many digits and decimals",
     "PA123456789012345678901234,0.1000000000000000055511151231257827;",
     {"PA 1.2345678901234569e+23,0.10000000000000001"}},
    {"a lone letter is forgotten with what follows it", "P;IN;P1SP2;", {"IN", "SP 2"}},
    {"an escape sequence is skipped whole", kEsc + "%-1BIN;", {"IN"}},
    {"escape ends a numeric command", "PA1,2" + kEsc + "EIN;", {"PA 1,2", "IN"}},
    {"escape after a lone letter is dropped", "P" + kEsc + "EIN;", {"IN"}},
    {"a two-byte escape takes one letter", kEsc + "ABCDIN;", {"BC", "DI"}},
    {"DF without parameters", "DF;DFIN;DF ,\r\nSP1;", {"DF", "DF", "IN", "DF", "SP 1"}},
    {"label with the default terminator",
     "IN;LBABC" + kEtx + "PU1,1;",
     {"IN", "LB 'ABC'", "PU 1,1"}},
    {"label at the end of the file", "IN;LBABC", {"IN", "LB 'ABC'"}},
    {"label keeps line ends, escapes and high bytes",
     "LBa\r\nb" + kEsc + "\xC4\xE3" + kEtx,
     {"LB 'a\r\nb" + kEsc + "\xC4\xE3'"}},
    {"LB continuation joins labels", "LBAB" + kEtx + "LBCD" + kEtx, {"LB 'ABCD'"}},
    {"lower-case lb does not continue", "LBAB" + kEtx + "lbCD" + kEtx, {"LB 'AB'", "LB 'CD'"}},
    {"terminator then L then another letter", "LBAB" + kEtx + "LTSP1;", {"LB 'AB'", "LT", "SP 1"}},
    {"terminator then L at the end", "LBAB" + kEtx + "L", {"LB 'AB'"}},
    {"terminator then L and a non-letter", "LBAB" + kEtx + "L;IN;", {"LB 'AB'", "IN"}},
    {"DT terminator not printed", "DT*;LBX*", {"LB 'X'"}},
    {"DT terminator printed", "DT*,0;LBX*", {"LB 'X*'"}},
    {"DT mode 1 spelled out", "DT#,1;LBX#", {"LB 'X'"}},
    {"DT; restores ETX", "DT*,0;DT;LBX*Y" + kEtx, {"LB 'X*Y'"}},
    {"DT followed directly by a command", "DT#SP1;LBX#", {"SP 1", "LB 'X'"}},
    {"DT comma followed by a command", "DT#,SP1;LBX#", {"SP 1", "LB 'X'"}},
    {"DT with NUL keeps the terminator", std::string("DT\0;LBX", 7) + kEtx, {"LB 'X'"}},
    {"DT with ENQ keeps the terminator", "DT\x05LBX" + kEtx, {"LB 'X'"}},
    {"printed terminator at the end of a continuation", "DT$,0;LBA$LBB$", {"LB 'AB$'"}},
    {"DF and IN restore the terminator",
     "DT*;DF;LBX" + kEtx + "DT*;IN;LBY" + kEtx,
     {"DF", "LB 'X'", "IN", "LB 'Y'"}},
    {"unknown commands are read",
     "CI100;PR10,10;AA0,0,90;ZZ;",
     {"CI 100", "PR 10,10", "AA 0,0,90", "ZZ"}},
};

TEST(HpglTokeniser, CommandTable) {
    for (const Case& c : kCases) {
        for (size_t nPiece : {0, 1, 2, 3, 7}) {
            CHpglRecorder file;
            const CHpglReadResult r = TokeniseInPieces(file, c.input, nPiece);
            EXPECT_EQ(r.m_nCode, kHpglReadOk) << c.name;
            EXPECT_EQ(file.m_arrLog, c.expected) << c.name << ", pieces of " << nPiece;
        }
    }
}

TEST(HpglTokeniser, ParametersAreCompleteCommandByCommand) {
    // The classic example: two numbers for PU, four for PD.
    CHpglRecorder file;
    ASSERT_TRUE(file.ReadMemory("IN;SP1;PU100,200;PD300,200,300,400;").Ok());
    EXPECT_EQ(file.m_arrLog, (Log{"IN", "SP 1", "PU 100,200", "PD 300,200,300,400"}));
}

TEST(HpglTokeniser, NumberAcrossTheReadWindow) {
    // "...,45" ends one 1000-byte window and "67;" starts the next.
    std::string text = "IN;PA";
    text += std::string(1000 - text.size() - 3, '0') + ",45";
    ASSERT_EQ(text.size(), 1000u);
    text += "67;";
    CHpglRecorder file;
    ASSERT_TRUE(TokeniseInPieces(file, text, 1000).Ok());
    EXPECT_EQ(file.m_arrLog, (Log{"IN", "PA 0,4567"}));
}

TEST(HpglTokeniser, NumberAfterDfRejectsTheRead) {
    for (size_t nPiece : {0, 1}) {
        CHpglRecorder file;
        const CHpglReadResult r = TokeniseInPieces(file, "IN;DF1;SP2;", nPiece);
        EXPECT_EQ(r.m_nCode, kHpglRejected);
        EXPECT_TRUE(r.m_arrMessages.empty());
        EXPECT_EQ(file.m_arrLog, (Log{"IN"})) << "neither DF nor what follows runs";
    }
}

TEST(HpglTokeniser, OverlongNumberIsDataOverflow) {
    const std::string digits1000(1000, '7');
    for (size_t nPiece : {0, 3, 999}) {
        CHpglRecorder ok;
        EXPECT_TRUE(TokeniseInPieces(ok, "PA" + digits1000 + ",1;", nPiece).Ok());
        ASSERT_EQ(ok.m_arrLog.size(), 1u);

        CHpglRecorder bad;
        const CHpglReadResult r = TokeniseInPieces(bad, "SP1;PA" + digits1000 + "7,1;", nPiece);
        EXPECT_EQ(r.m_nCode, kHpglRejected);
        EXPECT_TRUE(r.Says(EMsg::kDataOverflow));
        EXPECT_EQ(bad.m_arrLog, (Log{"SP 1"})) << "the parameters are dropped";
    }
}

TEST(HpglTokeniser, LabelKeepsItsFirst512Bytes) {
    const std::string text = "LB" + std::string(600, 'x') + "\x03;LB" + std::string(10, 'y');
    CHpglRecorder file;
    ASSERT_TRUE(file.ReadMemory(text).Ok());
    ASSERT_EQ(file.m_arrLog.size(), 2u);
    EXPECT_EQ(file.m_arrLog[0], "LB '" + std::string(512, 'x') + "'");
    EXPECT_EQ(file.m_arrLog[1], "LB '" + std::string(10, 'y') + "'") << "a new label starts empty";
}

TEST(HpglTokeniser, TerminatorModeMarkersDoNotSurvive) {
    // A file ending inside DT leaves a plain mode behind.
    for (const char* text : {"IN;DT#", "IN;DT#,"}) {
        CHpglFile file;
        ASSERT_TRUE(file.ReadMemory(text).Ok());
        EXPECT_EQ(file.m_chTerminator, '#');
        EXPECT_EQ(file.m_nTermMode, 1) << text;
    }
}

} // namespace
} // namespace inkvale
