// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "import/HpglFile.h"
#include "import/HpglTokeniser.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace inkvale::test {

/// A reader that writes down every command it executes: "PA 10,20", "LB 'text'".
class CHpglRecorder : public CHpglFile {
public:
    void Execute(const char* pszCmd, const std::vector<double>& params) override {
        std::string line(pszCmd, 2);
        if (line == "LB") {
            line += " '" + std::string(m_szLabel, static_cast<size_t>(m_nLabelLen)) + "'";
        } else if (!params.empty()) {
            line += ' ';
            for (size_t i = 0; i < params.size(); ++i) {
                char buf[64];
                std::snprintf(buf, sizeof buf, "%s%.17g", i == 0 ? "" : ",", params[i]);
                line += buf;
            }
        }
        m_arrLog.push_back(line);
        CHpglFile::Execute(pszCmd, params);
    }

    std::vector<std::string> m_arrLog;
};

/// Runs the tokeniser over text handed over in pieces of nPiece bytes (0: all at once),
/// after a reset, with the end-of-file rules at the end.
inline CHpglReadResult TokeniseInPieces(CHpglFile& file, std::string_view text, size_t nPiece) {
    file.Reset();
    CHpglTokeniser tokeniser(file);
    const size_t nStep = nPiece == 0 ? text.size() : nPiece;
    bool bGoing = true;
    for (size_t i = 0; bGoing && i < text.size(); i += nStep)
        bGoing = tokeniser.Feed(text.data() + i, std::min(nStep, text.size() - i));
    tokeniser.Finish();
    return tokeniser.Result();
}

/// The plot list as text: "21:0,0 20:100,0,100,100 22 23:1 24:1".
inline std::string DumpPlotList(const CHpglPlotList& list) {
    std::string out;
    for (size_t i = 0; i < list.Size(); ++i) {
        const CHpglPlotList::CRecord& r = list[i];
        if (!out.empty())
            out += ' ';
        out += std::to_string(r.m_nKind);
        for (uint32_t k = 0; k < r.m_nCount; ++k)
            out += (k == 0 ? ":" : ",") + std::to_string(list.Data(r)[k]);
    }
    return out;
}

/// Curves as text: "0:0,0 100,0|1:5,5 6,6" (line type, then the vertices).
inline std::string DumpCurves(const CCurveArray& curves) {
    std::string out;
    for (const CCurve& c : curves) {
        if (!out.empty())
            out += '|';
        out += std::to_string(c.m_nLineType) + ":";
        for (size_t i = 0; i < c.m_arrPoints.size(); ++i) {
            out += (i == 0 ? "" : " ") + std::to_string(c.m_arrPoints[i].x) + "," +
                   std::to_string(c.m_arrPoints[i].y);
        }
    }
    return out;
}

} // namespace inkvale::test
