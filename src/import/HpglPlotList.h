// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace inkvale {

/// The neutral output of the HP-GL interpreter: moves, polylines, page breaks, line-type and
/// pen changes in drawing order, with coordinates in file units. Records keep their values in
/// one shared array so that large files cost 4 bytes per value and one allocation.
class CHpglPlotList {
public:
    /// Record kinds, numbered as the plot list has always numbered them.
    enum EKind : int32_t {
        kPolyline = 20,  ///< x0, y0, x1, y1, ...
        kMove = 21,      ///< x, y: where the next polyline starts
        kPageBreak = 22, ///< no data
        kLineType = 23,  ///< no data, or one value 0 (solid) / 1 (dashed)
        kPenSelect = 24, ///< one value: the pen number
    };

    struct CRecord {
        int32_t m_nKind = 0;
        uint32_t m_nCount = 0; ///< number of int32 values
        uint32_t m_nStart = 0; ///< index of the first value in the shared array
    };

    /// Largest number of int32 values (16 million vertices, six times a 30 MB marker) and
    /// of records the list holds. Appends beyond them are dropped and Overflowed() turns
    /// true: a few megabytes of label text can otherwise ask for gigabytes of strokes.
    static constexpr size_t kMaxValues = size_t{1} << 25;
    static constexpr size_t kMaxRecords = size_t{1} << 24;
    static_assert(kMaxValues <= UINT32_MAX, "record starts are 32-bit");

    void Clear();
    /// Empties the records for the next part of the same drawing, keeping the memory: the
    /// limits below and PolylineCount go on counting everything since Clear.
    void ClearPart();
    /// Moves the records into part (dropping the part's own) and leaves this list empty,
    /// counting on as ClearPart does; the memory of the part's records is kept for reuse.
    void TakePart(CHpglPlotList& part);
    /// Reserves room for about nValues values. Untouched capacity costs no resident memory.
    void Reserve(size_t nRecords, size_t nValues);

    void AddMove(int32_t x, int32_t y);
    /// Starts an empty polyline record; AppendPoint fills it.
    void BeginPolyline();
    /// Appends a vertex to the last record when it is a polyline, else to a new polyline.
    void AppendPoint(int32_t x, int32_t y);
    void AddPageBreak();
    /// A line-type record without data.
    void AddLineType();
    void AddLineType(int32_t nValue);
    void AddPenSelect(int32_t nPen);

    /// Whether nothing was recorded since Clear (in any part).
    bool Empty() const { return m_nRecordsBefore == 0 && m_arrRecords.empty(); }
    size_t Size() const { return m_arrRecords.size(); }
    const CRecord& operator[](size_t i) const { return m_arrRecords[i]; }
    /// The values of a record (m_nCount of them).
    const int32_t* Data(const CRecord& r) const { return m_arrValues.data() + r.m_nStart; }
    size_t ValueCount() const { return m_arrValues.size(); }
    /// Whether some append was refused because the list reached kMaxValues.
    bool Overflowed() const { return m_bOverflow; }
    /// Values and records since Clear, those of parts already cleared included.
    size_t TotalValues() const { return m_nValuesBefore + m_arrValues.size(); }
    size_t TotalRecords() const { return m_nRecordsBefore + m_arrRecords.size(); }
    /// Polyline records since Clear, those of parts already cleared included.
    size_t PolylineCount() const { return m_nPolylines; }

private:
    bool AddRecord(int32_t nKind);
    void AddOne(int32_t nKind, int32_t nValue);
    bool Room(size_t nMore);

    std::vector<CRecord> m_arrRecords;
    std::vector<int32_t> m_arrValues;
    size_t m_nRecordsBefore = 0; ///< records of the parts already cleared
    size_t m_nValuesBefore = 0;  ///< values of the parts already cleared
    size_t m_nPolylines = 0;
    bool m_bOverflow = false;
};

} // namespace inkvale
