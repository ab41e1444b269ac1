#include "import/HpglPlotList.h"

namespace inkvale {

void CHpglPlotList::Clear() {
    m_arrRecords.clear();
    m_arrValues.clear();
    m_bOverflow = false;
}

void CHpglPlotList::Reserve(size_t nRecords, size_t nValues) {
    m_arrRecords.reserve(nRecords);
    m_arrValues.reserve(nValues < kMaxValues ? nValues : kMaxValues);
}

bool CHpglPlotList::Room(size_t nMore) {
    if (m_arrValues.size() + nMore <= kMaxValues)
        return true;
    m_bOverflow = true;
    return false;
}

void CHpglPlotList::AddRecord(int32_t nKind) {
    m_arrRecords.push_back({nKind, 0, m_arrValues.size()});
}

void CHpglPlotList::AddMove(int32_t x, int32_t y) {
    if (!Room(2))
        return;
    AddRecord(kMove);
    m_arrValues.push_back(x);
    m_arrValues.push_back(y);
    m_arrRecords.back().m_nCount = 2;
}

void CHpglPlotList::BeginPolyline() {
    AddRecord(kPolyline);
}

void CHpglPlotList::AppendPoint(int32_t x, int32_t y) {
    if (!Room(2))
        return;
    // A vertex never lands in a move or other record: a missing polyline is started here.
    if (m_arrRecords.empty() || m_arrRecords.back().m_nKind != kPolyline)
        AddRecord(kPolyline);
    m_arrValues.push_back(x);
    m_arrValues.push_back(y);
    m_arrRecords.back().m_nCount += 2;
}

void CHpglPlotList::AddPageBreak() {
    AddRecord(kPageBreak);
}

void CHpglPlotList::AddLineType() {
    AddRecord(kLineType);
}

void CHpglPlotList::AddLineType(int32_t nValue) {
    if (!Room(1))
        return;
    AddRecord(kLineType);
    m_arrValues.push_back(nValue);
    m_arrRecords.back().m_nCount = 1;
}

void CHpglPlotList::AddPenSelect(int32_t nPen) {
    if (!Room(1))
        return;
    AddRecord(kPenSelect);
    m_arrValues.push_back(nPen);
    m_arrRecords.back().m_nCount = 1;
}

} // namespace inkvale
