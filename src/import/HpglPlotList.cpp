// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/HpglPlotList.h"

#include <algorithm>

namespace inkvale {

void CHpglPlotList::Clear() {
    m_arrRecords.clear();
    m_arrValues.clear();
    m_nRecordsBefore = 0;
    m_nValuesBefore = 0;
    m_nPolylines = 0;
    m_bOverflow = false;
}

void CHpglPlotList::ClearPart() {
    m_nRecordsBefore += m_arrRecords.size();
    m_nValuesBefore += m_arrValues.size();
    m_arrRecords.clear();
    m_arrValues.clear();
}

void CHpglPlotList::TakePart(CHpglPlotList& part) {
    part.m_arrRecords.swap(m_arrRecords);
    part.m_arrValues.swap(m_arrValues);
    m_nRecordsBefore += part.m_arrRecords.size();
    m_nValuesBefore += part.m_arrValues.size();
    m_arrRecords.clear();
    m_arrValues.clear();
}

void CHpglPlotList::Reserve(size_t nRecords, size_t nValues) {
    m_arrRecords.reserve(std::min(nRecords, kMaxRecords));
    m_arrValues.reserve(std::min(nValues, kMaxValues));
}

bool CHpglPlotList::Room(size_t nMore) {
    if (m_nValuesBefore + m_arrValues.size() + nMore <= kMaxValues)
        return true;
    m_bOverflow = true;
    return false;
}

bool CHpglPlotList::AddRecord(int32_t nKind) {
    if (m_nRecordsBefore + m_arrRecords.size() >= kMaxRecords) {
        m_bOverflow = true;
        return false;
    }
    m_nPolylines += nKind == kPolyline ? 1 : 0;
    m_arrRecords.push_back({nKind, 0, static_cast<uint32_t>(m_arrValues.size())});
    return true;
}

void CHpglPlotList::AddMove(int32_t x, int32_t y) {
    if (!Room(2) || !AddRecord(kMove))
        return;
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
    if ((m_arrRecords.empty() || m_arrRecords.back().m_nKind != kPolyline) && !AddRecord(kPolyline))
        return;
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
    AddOne(kLineType, nValue);
}

void CHpglPlotList::AddPenSelect(int32_t nPen) {
    AddOne(kPenSelect, nPen);
}

void CHpglPlotList::AddOne(int32_t nKind, int32_t nValue) {
    if (!Room(1) || !AddRecord(nKind))
        return;
    m_arrValues.push_back(nValue);
    m_arrRecords.back().m_nCount = 1;
}

} // namespace inkvale
