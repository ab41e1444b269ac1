// SPDX-License-Identifier: GPL-3.0-or-later
// HP-GL reader: any bytes are read without crashing, hanging or reading out of bounds, the
// result does not depend on how the bytes arrive in pieces, and every vertex of the plot
// list reaches the curves.

#include "import/HpglFile.h"
#include "import/HpglTokeniser.h"

#include <cstdlib>
#include <string_view>

namespace {

using namespace inkvale;

// The plot list after tokenising the bytes in pieces of nPiece bytes.
CHpglReadResult ReadInPieces(CHpglFile& file, std::string_view bytes, size_t nPiece) {
    file.Reset();
    CHpglTokeniser tokeniser(file);
    bool bGoing = true;
    for (size_t i = 0; bGoing && i < bytes.size(); i += nPiece)
        bGoing = tokeniser.Feed(bytes.data() + i, std::min(nPiece, bytes.size() - i));
    tokeniser.Finish();
    return tokeniser.Result();
}

bool SamePlotList(const CHpglPlotList& a, const CHpglPlotList& b) {
    if (a.Size() != b.Size() || a.ValueCount() != b.ValueCount())
        return false;
    for (size_t i = 0; i < a.Size(); ++i) {
        if (a[i].m_nKind != b[i].m_nKind || a[i].m_nCount != b[i].m_nCount)
            return false;
        for (uint32_t k = 0; k < a[i].m_nCount; ++k) {
            if (a.Data(a[i])[k] != b.Data(b[i])[k])
                return false;
        }
    }
    return true;
}

size_t PlotVertices(const CHpglPlotList& list) {
    size_t n = 0;
    for (size_t i = 0; i < list.Size(); ++i) {
        const int32_t nKind = list[i].m_nKind;
        if (nKind == CHpglPlotList::kPolyline || nKind == CHpglPlotList::kMove)
            n += list[i].m_nCount / 2;
    }
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CHpglFile whole;
    whole.m_nPltFileUnit = size > 0 ? data[0] % 4 : 0;
    const CHpglReadResult result = whole.ReadMemory(bytes);
    if (result.m_nCode == kHpglBadLength)
        return 0;

    CHpglFile pieces;
    pieces.m_nPltFileUnit = whole.m_nPltFileUnit;
    const size_t nPiece = 1 + (size > 1 ? data[1] % 13 : 0);
    const CHpglReadResult again = ReadInPieces(pieces, bytes, nPiece);
    if (again.m_nCode != result.m_nCode || again.m_arrMessages != result.m_arrMessages ||
        !SamePlotList(whole.PlotList(), pieces.PlotList()))
        std::abort();

    for (int nPGCmdType : {0, 1}) {
        CCurveArray curves;
        whole.ToCurves(curves, nPGCmdType);
        size_t nVertices = 0;
        for (const CCurve& c : curves) {
            if (c.m_arrPoints.empty() || c.m_nPen != 1 ||
                (c.m_nLineType != 0 && c.m_nLineType != 1))
                std::abort();
            nVertices += c.m_arrPoints.size();
        }
        if (nVertices != PlotVertices(whole.PlotList()))
            std::abort();
        // Read straight into curves, in parts, the same curves come out.
        CHpglFile direct;
        direct.m_nPltFileUnit = whole.m_nPltFileUnit;
        CCurveArray directCurves;
        const CHpglReadResult read = direct.ReadMemoryCurves(bytes, directCurves, nPGCmdType);
        if (read.m_nCode != result.m_nCode || directCurves.size() != curves.size())
            std::abort();
        for (size_t i = 0; i < curves.size(); ++i) {
            if (directCurves[i].m_arrPoints != curves[i].m_arrPoints ||
                directCurves[i].m_nLineType != curves[i].m_nLineType)
                std::abort();
        }
    }
    return 0;
}
