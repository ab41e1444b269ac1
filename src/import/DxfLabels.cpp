// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/DxfLabels.h"

#include "import/HpglCurveBuilder.h"
#include "import/HpglFile.h"
#include "support/TwoThreads.h"

#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

namespace inkvale {

namespace {

constexpr char kEtx = 3;

/// Distinct label commands from this many bytes on are drawn in two halves at once.
constexpr size_t kHalvesBytes = 64 * 1024;

// Every label sets its own position and direction before it is drawn and the label
// settings never change, so a label draws the same curves wherever it stands in the
// commands. What joins labels is the curve builder: a stroke that starts where the one
// before ended goes on with it, across labels too.

/// The curves of the distinct labels as drawn: their vertices and line types. The curve
/// builder gives a label's curves nothing else (the default pen, no box, no selection), so
/// a curve takes 26 bytes here instead of a whole CCurve until it is laid out.
struct CDrawnCurves {
    std::vector<std::vector<CPoint>> m_arrPoints;
    std::vector<int16_t> m_arrLineTypes;
};

/// A label's curves as drawn on their own, and what it adds to the reader's plot list.
struct CLabelDrawing {
    CDrawnCurves* m_pCurves = nullptr;
    size_t m_nFirstCurve = 0;
    size_t m_nCurves = 0;
    size_t m_nRecords = 0;
    size_t m_nValues = 0;
};

/// The HP-GL reader, turning each label into its own curves as soon as it is drawn.
class CLabelReader : public CHpglFile {
public:
    void Execute(const char* pszCmd, const std::vector<double>& params) override {
        CHpglFile::Execute(pszCmd, params);
        if (pszCmd[0] == 'L' && pszCmd[1] == 'B')
            TakeLabel();
    }

    CDrawnCurves m_drawn;
    std::vector<CLabelDrawing> m_arrDrawings;
    /// False when a label's strokes do not start with a move, which the joining rule needs,
    /// or when a curve came with more than vertices and a line type.
    bool m_bApart = true;

private:
    void TakeLabel() {
        const CHpglPlotList& list = m_arrPlotList;
        if (list.Size() > 0 && list[0].m_nKind != CHpglPlotList::kMove)
            m_bApart = false;
        CLabelDrawing d{&m_drawn, m_drawn.m_arrPoints.size(), 0, list.Size(), list.ValueCount()};
        m_label.clear(); // one label's curves at a time
        CHpglCurveBuilder builder(m_label, false);
        builder.Add(list);
        builder.Finish();
        const CCurve plain;
        for (CCurve& c : m_label) {
            m_bApart = m_bApart && c.m_nPen == plain.m_nPen && !c.m_bSelected && c.m_nMinX == 0 &&
                       c.m_nMaxX == 0 && c.m_nMinY == 0 && c.m_nMaxY == 0;
            m_drawn.m_arrPoints.push_back(std::move(c.m_arrPoints));
            m_drawn.m_arrLineTypes.push_back(c.m_nLineType);
        }
        d.m_nCurves = m_label.size();
        m_arrDrawings.push_back(d);
        m_arrPlotList.ClearPart();
    }

    CCurveArray m_label;
};

/// The commands as their labels, each up to and with its ETX; false when something follows
/// the last ETX.
bool SplitLabels(std::string_view labels, std::vector<std::string_view>& arrLabels) {
    size_t nStart = 0;
    while (nStart < labels.size()) {
        const size_t nEtx = labels.find(kEtx, nStart);
        if (nEtx == std::string_view::npos)
            return false;
        arrLabels.push_back(labels.substr(nStart, nEtx + 1 - nStart));
        nStart = nEtx + 1;
    }
    return true;
}

/// Reads labels [nFrom, nTo) of arrDistinct; true when each was read as one label.
bool DrawRun(const std::vector<std::string_view>& arrDistinct, size_t nFrom, size_t nTo,
             const std::string& strAppDir, CLabelReader& reader, CHpglReadResult& result) {
    std::string strCommands;
    for (size_t k = nFrom; k < nTo; ++k)
        strCommands += arrDistinct[k];
    reader.m_strAppDir = strAppDir;
    result = reader.ReadMemory(strCommands);
    return reader.m_bApart && reader.m_arrDrawings.size() == nTo - nFrom;
}

/// The index that parts the distinct labels into two runs of about equal bytes (0: one run).
size_t HalfwayLabel(const std::vector<std::string_view>& arrDistinct) {
    size_t nBytes = 0;
    for (const std::string_view label : arrDistinct)
        nBytes += label.size();
    if (nBytes < kHalvesBytes || std::thread::hardware_concurrency() < 2)
        return 0;
    size_t nSoFar = 0;
    for (size_t k = 0; k < arrDistinct.size(); ++k) {
        nSoFar += arrDistinct[k].size();
        if (2 * nSoFar >= nBytes)
            return k + 1;
    }
    return 0;
}

/// Draws every distinct label once, the two halves at once on two threads when there are
/// many. bApart turns false when the labels cannot be told apart as the joining rule needs:
/// they are then read at once.
CHpglReadResult DrawDistinct(const std::vector<std::string_view>& arrDistinct,
                             const std::string& strAppDir, CLabelReader& first,
                             CLabelReader& second, bool& bApart) {
    const size_t nSplit = HalfwayLabel(arrDistinct);
    CHpglReadResult result;
    CHpglReadResult secondResult;
    bool bSecondApart = true;
    const auto drawFirst = [&] {
        bApart = DrawRun(arrDistinct, 0, nSplit > 0 ? nSplit : arrDistinct.size(), strAppDir, first,
                         result);
    };
    if (nSplit == 0) {
        drawFirst();
    } else {
        RunOnTwoThreads(drawFirst, [&] {
            bSecondApart =
                DrawRun(arrDistinct, nSplit, arrDistinct.size(), strAppDir, second, secondResult);
        });
    }
    bApart = bApart && bSecondApart;
    return result.Ok() ? secondResult : result;
}

/// Where a label's curves go among the labels' curves.
struct CPlacement {
    size_t m_nOut = 0;     ///< index of the label's first curve that is not joined
    bool m_bJoins = false; ///< its first curve goes on with the curve before
    bool m_bLast = false;  ///< the last time the label comes: its curves are moved
};

/// Where every label's curves go, in order: a label's first curve joins the curve before
/// when it starts where that one ends. Returns the number of curves.
size_t PlaceLabels(const std::vector<CLabelDrawing>& arrDrawings,
                   const std::vector<size_t>& arrOrder, std::vector<CPlacement>& arrPlaces) {
    std::vector<size_t> arrLeft(arrDrawings.size(), 0); // times each label is still to come
    for (const size_t k : arrOrder)
        ++arrLeft[k];
    arrPlaces.resize(arrOrder.size());
    size_t nOut = 0;
    bool bAny = false;
    CPoint last{};
    for (size_t j = 0; j < arrOrder.size(); ++j) {
        const CLabelDrawing& d = arrDrawings[arrOrder[j]];
        CPlacement& place = arrPlaces[j];
        place.m_nOut = nOut;
        place.m_bLast = --arrLeft[arrOrder[j]] == 0;
        if (d.m_nCurves == 0)
            continue;
        const std::vector<std::vector<CPoint>>& drawn = d.m_pCurves->m_arrPoints;
        place.m_bJoins = bAny && drawn[d.m_nFirstCurve].front() == last;
        nOut += d.m_nCurves - (place.m_bJoins ? 1 : 0);
        last = drawn[d.m_nFirstCurve + d.m_nCurves - 1].back();
        bAny = true;
    }
    return nOut;
}

/// Curve k of the label's drawing into out: copied, or moved the last time.
void LayOut(const CLabelDrawing& d, size_t k, bool bMove, CCurve& out) {
    std::vector<CPoint>& points = d.m_pCurves->m_arrPoints[d.m_nFirstCurve + k];
    out.m_nLineType = d.m_pCurves->m_arrLineTypes[d.m_nFirstCurve + k];
    if (bMove)
        out.m_arrPoints = std::move(points);
    else
        out.m_arrPoints = points;
}

/// Copies the curves of the labels that come again later to their places.
void CopyLabels(const std::vector<CLabelDrawing>& arrDrawings, const std::vector<size_t>& arrOrder,
                const std::vector<CPlacement>& arrPlaces, CCurve* pOut) {
    for (size_t j = 0; j < arrPlaces.size(); ++j) {
        const CPlacement& place = arrPlaces[j];
        if (place.m_bLast)
            continue;
        const CLabelDrawing& d = arrDrawings[arrOrder[j]];
        const size_t nSkip = place.m_bJoins ? 1 : 0;
        for (size_t k = nSkip; k < d.m_nCurves; ++k)
            LayOut(d, k, false, pOut[place.m_nOut + k - nSkip]);
    }
}

/// Appends the labels' curves: the copies of labels that come again first, then in order
/// the joins and the moves of each label's last time. The array grows once.
void AppendLabels(const std::vector<CLabelDrawing>& arrDrawings,
                  const std::vector<size_t>& arrOrder, CCurveArray& arrCurves) {
    std::vector<CPlacement> arrPlaces;
    const size_t nOut = PlaceLabels(arrDrawings, arrOrder, arrPlaces);
    const size_t nBefore = arrCurves.size();
    arrCurves.resize(nBefore + nOut);
    CCurve* const pOut = arrCurves.data() + nBefore;
    CopyLabels(arrDrawings, arrOrder, arrPlaces, pOut);
    for (size_t j = 0; j < arrPlaces.size(); ++j) {
        const CPlacement& place = arrPlaces[j];
        const CLabelDrawing& d = arrDrawings[arrOrder[j]];
        const size_t nSkip = place.m_bJoins ? 1 : 0;
        if (place.m_bJoins) {
            auto& pts = pOut[place.m_nOut - 1].m_arrPoints;
            const auto& first = d.m_pCurves->m_arrPoints[d.m_nFirstCurve];
            pts.insert(pts.end(), first.begin(), first.end());
        }
        if (place.m_bLast) {
            for (size_t k = nSkip; k < d.m_nCurves; ++k)
                LayOut(d, k, true, pOut[place.m_nOut + k - nSkip]);
        }
    }
}

} // namespace

CResult DrawDxfLabelsAtOnce(std::string_view labels, const std::string& strAppDir,
                            CCurveArray& arrCurves) {
    if (labels.empty())
        return {};
    CHpglFile reader;
    reader.m_strAppDir = strAppDir;
    return reader.ReadMemoryCurves(labels, arrCurves, 0);
}

CResult DrawDxfLabels(std::string_view labels, const std::string& strAppDir,
                      CCurveArray& arrCurves) {
    std::vector<std::string_view> arrLabels;
    if (labels.size() < static_cast<size_t>(kHpglMinFileBytes) ||
        labels.size() > static_cast<size_t>(kHpglMaxFileBytes) || !SplitLabels(labels, arrLabels))
        return DrawDxfLabelsAtOnce(labels, strAppDir, arrCurves); // and its refusal
    std::unordered_map<std::string_view, size_t> mapDistinct;
    std::vector<std::string_view> arrDistinct;
    std::vector<size_t> arrOrder; // the distinct label of each label
    arrOrder.reserve(arrLabels.size());
    for (const std::string_view label : arrLabels) {
        const auto [it, bNew] = mapDistinct.try_emplace(label, arrDistinct.size());
        if (bNew)
            arrDistinct.push_back(label);
        arrOrder.push_back(it->second);
    }
    CLabelReader first;
    CLabelReader second;
    bool bApart = true;
    const CHpglReadResult result = DrawDistinct(arrDistinct, strAppDir, first, second, bApart);
    if (!result.Ok())
        return result; // the distinct labels alone are too much: all of them are too
    if (!bApart)
        return DrawDxfLabelsAtOnce(labels, strAppDir, arrCurves);
    std::vector<CLabelDrawing> arrDrawings = std::move(first.m_arrDrawings);
    arrDrawings.insert(arrDrawings.end(), second.m_arrDrawings.begin(), second.m_arrDrawings.end());
    // One reader stops where the plot list of all the labels passes its limits.
    size_t nRecords = 0;
    size_t nValues = 0;
    for (const size_t k : arrOrder) {
        nRecords += arrDrawings[k].m_nRecords;
        nValues += arrDrawings[k].m_nValues;
    }
    if (nValues > CHpglPlotList::kMaxValues || nRecords > CHpglPlotList::kMaxRecords)
        return HpglOverflowResult();
    AppendLabels(arrDrawings, arrOrder, arrCurves);
    return result;
}

} // namespace inkvale
