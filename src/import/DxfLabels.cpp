// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/DxfLabels.h"

#include "import/HpglFile.h"

#include <new>
#include <system_error>
#include <thread>

namespace inkvale {

namespace {

constexpr char kEtx = 3;

// Each label sets its own position and direction ("PUx,y;DIc,s;LB...ETX") and the label
// settings are never changed, so a run of whole labels reads the same from a fresh reader
// as after the labels before it. The halves part after the ETX nearest the middle.
size_t HalfwayLabel(std::string_view labels) {
    if (labels.size() < kDxfLabelHalvesBytes ||
        static_cast<int64_t>(labels.size()) > kHpglMaxFileBytes)
        return 0; // small, or refused as a whole by the reader's length rule
    const size_t nEtx = labels.find(kEtx, labels.size() / 2);
    if (nEtx == std::string_view::npos || labels.size() - (nEtx + 1) < kHpglMinFileBytes)
        return 0;
    return nEtx + 1;
}

struct CHalf {
    CHpglFile reader;
    CCurveArray curves;
    CHpglReadResult result;
};

CHpglReadResult ReadWhole(std::string_view labels, const std::string& strAppDir,
                          CCurveArray& arrCurves) {
    CHpglFile reader;
    reader.m_strAppDir = strAppDir;
    return reader.ReadMemoryCurves(labels, arrCurves, 0);
}

// The curve the first half ended on goes on with the second half's first stroke when that
// starts where it ended, as one reader would have drawn it.
void AppendSecondHalf(CCurveArray& arrCurves, size_t nFirstHalfCurves, CCurveArray& second) {
    size_t nFrom = 0;
    if (nFirstHalfCurves > 0 && !second.empty() &&
        second.front().m_arrPoints.front() == arrCurves.back().m_arrPoints.back()) {
        auto& pts = arrCurves.back().m_arrPoints;
        pts.insert(pts.end(), second.front().m_arrPoints.begin(), second.front().m_arrPoints.end());
        nFrom = 1;
    }
    arrCurves.reserve(arrCurves.size() + second.size() - nFrom);
    for (size_t i = nFrom; i < second.size(); ++i)
        arrCurves.push_back(std::move(second[i]));
}

} // namespace

CResult DrawDxfLabels(std::string_view labels, const std::string& strAppDir,
                      CCurveArray& arrCurves) {
    return DrawDxfLabelsSplitAt(labels, HalfwayLabel(labels), strAppDir, arrCurves);
}

CResult DrawDxfLabelsSplitAt(std::string_view labels, size_t nSplit, const std::string& strAppDir,
                             CCurveArray& arrCurves) {
    if (labels.empty())
        return {};
    if (nSplit == 0 || nSplit >= labels.size())
        return ReadWhole(labels, strAppDir, arrCurves);
    CHalf second;
    second.reader.m_strAppDir = strAppDir;
    bool bOutOfMemory = false;
    std::thread worker;
    try {
        worker = std::thread([&] {
            try {
                second.result =
                    second.reader.ReadMemoryCurves(labels.substr(nSplit), second.curves, 0);
            } catch (const std::bad_alloc&) {
                bOutOfMemory = true;
            }
        });
    } catch (const std::system_error&) {
        return ReadWhole(labels, strAppDir, arrCurves); // no second thread to be had
    }
    const size_t nBefore = arrCurves.size();
    CHpglFile first;
    first.m_strAppDir = strAppDir;
    CHpglReadResult result;
    try {
        result = first.ReadMemoryCurves(labels.substr(0, nSplit), arrCurves, 0);
    } catch (...) {
        worker.join();
        throw;
    }
    worker.join();
    if (bOutOfMemory)
        throw std::bad_alloc();
    if (!result.Ok())
        return result;
    if (!second.result.Ok())
        return second.result;
    // One reader would have stopped where the two together pass the plot list's limits.
    const CHpglPlotList& a = first.PlotList();
    const CHpglPlotList& b = second.reader.PlotList();
    if (a.TotalValues() + b.TotalValues() > CHpglPlotList::kMaxValues ||
        a.TotalRecords() + b.TotalRecords() > CHpglPlotList::kMaxRecords)
        return HpglOverflowResult();
    AppendSecondHalf(arrCurves, arrCurves.size() - nBefore, second.curves);
    return result;
}

} // namespace inkvale
