// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/ViewTransform.h"
#include "geometry/Point.h"
#include "geometry/SizeRatio.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace inkvale {

class CArchiveReader;
class CArchiveWriter;

/// A screen rectangle in pixels: left <= x < right, top <= y < bottom.
struct CScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

/// One open polyline in plotter units; a closed outline repeats its first vertex at the end.
/// The box (m_nMinX..m_nMaxY) is valid only after CalcExtents; Offset keeps a valid box
/// valid, every other vertex change leaves it stale for the caller to recompute.
/// A line type as a curve keeps it: saturated to 16 bits, which keeps 0 (solid), 1 (dashed)
/// and every other value apart from both.
inline int16_t CurveLineType(int64_t nLineType) {
    return static_cast<int16_t>(std::clamp<int64_t>(nLineType, INT16_MIN, INT16_MAX));
}

class CCurve {
public:
    std::vector<CPoint> m_arrPoints;
    bool m_bSelected = false; ///< preview selection mark, not persisted
    /// 0 solid, 1 dashed; other values as read (CurveLineType). Sixteen bits keep the
    /// record at 48 bytes: a marker has half a million curves.
    int16_t m_nLineType = 0;
    int m_nPen = 1; ///< pen number; curves are joined only when their pens are equal
    int32_t m_nMinX = 0;
    int32_t m_nMaxX = 0;
    int32_t m_nMinY = 0;
    int32_t m_nMaxY = 0;

    void AddPoint(int32_t x, int32_t y) { m_arrPoints.push_back({x, y}); }
    /// Copies selection, pen, line type, box and vertices.
    void CopyFrom(const CCurve& other);
    /// Box from the vertices; requires at least one vertex.
    void CalcExtents();
    void Offset(int32_t dx, int32_t dy);
    /// Every vertex becomes ((int)(x * sx), (int)(y * sy)), truncated toward zero.
    void Scale(double sx, double sy);
    /// Every vertex becomes (x, a - y).
    void MirrorY(int32_t a);
    /// Every vertex becomes (x * XExpect / XMeasure, y * YExpect / YMeasure), computed in
    /// double and truncated toward zero. An axis whose measured or expected length is 0
    /// is left unchanged (a zero length would collapse or blow up the drawing).
    void ApplySizeCorrection(const CSizeRatio& ratio);
    /// Removes every vertex equal to the vertex before it.
    void RemoveDuplicates();
    /// Removes middle vertices of straight runs (exactly equal step angles only).
    void RemoveCollinear();
    /// Whether RemoveDuplicates and RemoveCollinear would leave the curve as it is: no vertex
    /// equals the one before it, and no three vertices in a row take equal step angles.
    bool IsClean() const;
    /// RemoveDuplicates, then RemoveCollinear. Returns IsClean() of the result, found with a
    /// look at only the vertices that took a removed one's place.
    bool Clean();
    /// Whether screen point (sx, sy) lies within 4 pixels of a segment, ends included.
    bool HitTest(const CViewTransform& disp, int sx, int sy) const;
    /// Whether the screen position of every vertex lies inside the rectangle.
    bool IsInsideRect(const CViewTransform& disp, const CScreenRect& rect) const;

    /// Writes the persisted record (tag, pen, box, line type, vertices).
    void Serialize(CArchiveWriter& ar) const;
    /// Reads the persisted record; on failure the reader is marked failed and the curve
    /// is left in an unspecified but valid state. Stores the tag read as the process tag.
    void Serialize(CArchiveReader& ar);

private:
    bool CollinearPass();
};

/// The curves of a page (or of a reader's output) in drawing order; the array owns them.
using CCurveArray = std::vector<CCurve>;

/// The process-wide tag written at the head of every curve record ("TAVO" at start-up);
/// reading a record replaces it with the tag read. Safe to call from any thread.
std::string GetCurveTag();
void SetCurveTag(const std::string& tag);

} // namespace inkvale
