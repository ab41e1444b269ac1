// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/Result.h"

#include "geometry/Curve.h"
#include "geometry/ViewTransform.h"
#include "geometry/SizeRatio.h"
#include "model/TaskPreflight.h"

#include <cstdint>
#include <initializer_list>
#include <string>

namespace inkvale {

/// Print states of a task (m_nPrintState).
inline constexpr int32_t PS_WAITING = 0;
inline constexpr int32_t PS_PRINTING = 1; ///< a job for this task is running
inline constexpr int32_t PS_REPEAT = 2;   ///< a copy was printed and more copies are due

/// Feed-direction gap between the strips laid out by SplitWidth (30 mm); fixed, the
/// SplitGap setting does not enter.
inline constexpr int32_t kStripGap = 1200;

/// Task source lists (m_nSource).
inline constexpr int32_t kSourceOpened = 0;
inline constexpr int32_t kSourceManDir = 1;
inline constexpr int32_t kSourceAutoDir = 2;

/// One print task: the drawing of one source file in plotter units (X along the paper
/// feed, Y across the roll) and the fields the task queue keeps for it.
/// Operations that change vertices leave the stored boxes stale unless they say they end
/// with CalcExtents; several operations read the stored page box and say so.
/// Not thread-safe: window thread only, or a page owned by one worker (the print engine's
/// working copy).
class COnePage {
public:
    COnePage();

    /// Limits of SplitWidth, far beyond any real marker: a fold into more strips, or one
    /// whose cut marks would take more curves, is refused.
    static constexpr int32_t kMaxFoldStrips = 1000;
    static constexpr int64_t kMaxFoldCutMarkCurves = 4'000'000;
    /// Curves that AddCutMarks adds for a page box whose maxX is given.
    static int64_t CutMarkCurves(int32_t maxX);

    /// The drawing; empty means that the drawing has not been read yet.
    CCurveArray m_arrCurves;
    /// Full path of the source file (UTF-8); "Combination" for merged tasks.
    std::string m_strPath;
    /// The part of the path after its last separator (UTF-8).
    std::string m_strName;
    int32_t m_nMaxX = 0; ///< page box, valid after CalcExtents
    int32_t m_nMinX = 0;
    int32_t m_nMaxY = 0;
    int32_t m_nMinY = 0;
    int32_t m_nSelMaxX = 0; ///< box of the selected curves, valid while m_bHasSelection
    int32_t m_nSelMinX = 0;
    int32_t m_nSelMaxY = 0;
    int32_t m_nSelMinY = 0;
    int32_t m_nSource = kSourceOpened; ///< list the task was last picked from
    int32_t m_bQueued = 0;             ///< queued for automatic printing
    int32_t m_nCopies = 1;             ///< copies still due; may reach 0
    int32_t m_nStartMm = 0;            ///< printing skips the first m_nStartMm millimetres of X
    int32_t m_nPrintState = PS_WAITING;
    int64_t m_tTime = 0; ///< source file's last-write time, s since 1970 UTC; now at construction
    int64_t m_nFileSize = 0;      ///< source file size in bytes
    int32_t m_bTaskSelected = 0;  ///< row selected in the task list
    bool m_bHasSelection = false; ///< a curve was selected at the last CalcSelectionExtents
    /// Why the task cannot be printed (its drawing could not be read, holds nothing, or its
    /// file is over the size limit); kNone while nothing is known against it. Not stored.
    CMessage m_problem;
    /// What the task's job will take and what may go wrong, from its drawing (not stored;
    /// CopyTask does not copy it).
    CPreflight m_preflight;
    /// Set by the loader (not stored): the drawing held nothing but label text, and (HP-GL)
    /// it reached below Y 0 before the origin rule moved it onto the paper.
    bool m_bOnlyLabels = false;
    bool m_bBelowPaper = false;
    /// Set by the loader (not stored): what the file held that the drawing leaves out, by
    /// kind ("HATCH", 12), in the order first met.
    std::vector<std::pair<std::string, int64_t>> m_arrNotDrawn;
    /// Unique within the process and never reused: a caller that waits in a dialog keeps
    /// this id, not a pointer, because the task may be deleted or replaced meanwhile.
    /// CopyTask does not copy it.
    uint64_t m_nTaskId;

    /// Deletes every curve.
    void ClearCurves();
    /// Copies name, path, page box and start position from the source and appends a deep
    /// copy of every source curve after the curves already present; nothing else changes.
    void CopyTask(const COnePage& source);
    /// Every curve recomputes its box; the page box becomes their union, (0,0,0,0) when
    /// there are no curves. A curve without vertices keeps its stored box and still counts.
    void CalcExtents();
    /// The selection box becomes the union of the stored boxes of the selected curves.
    void CalcSelectionExtents();
    void ClearCurveSelection();
    void SelectAllCurves();
    /// Removes every selected curve; the caller runs CalcExtents afterwards.
    void DeleteSelectedCurves();
    void OffsetSelected(int32_t dx, int32_t dy);
    /// Offsets every curve; the page box is not touched.
    void OffsetAll(int32_t dx, int32_t dy);
    /// Moves the box's lower-left corner to (0, 0); ends with a valid page box.
    void MoveToOrigin();
    /// Moves minX to 0 always, and minY to 0 only when it is negative.
    void NormalizeOrigin();
    /// NormalizeOrigin for a page whose box is current (after CalcExtents or CleanCurves),
    /// without the pass over every vertex that computing it again takes. Returns false when
    /// the move wrapped vertices round the 32-bit range (a box over 2^31 units wide), which
    /// changes the shapes of curves; true when every curve moved whole.
    bool NormalizeOriginOfCurrentBox();
    /// Shifts every curve by -m_nStartMm mm along X and lowers maxX alike; minX stays.
    void ApplyStartPosition();
    /// Scales every vertex, truncating toward zero; boxes become stale.
    void ScaleAll(double sx, double sy);
    /// Size correction of every curve; boxes become stale.
    void ApplySizeCorrectionAll(const CSizeRatio& ratio);
    /// Mirrors across the page's Y extent: every vertex becomes (x, maxY - y) with maxY
    /// from a fresh CalcExtents; boxes are stale afterwards.
    void MirrorPage();
    /// Every vertex (x, y) becomes (maxY - y, x) using the stored box; then CalcExtents.
    void RotateQuarter();
    /// Every vertex (x, y) becomes (y, maxX - x) using the stored box; then CalcExtents.
    void RotateQuarterBack();
    /// Replaces every polyline of n >= 2 vertices by its n - 1 two-vertex segments in
    /// drawing order (each with the pen, line type, selection and box of its polyline);
    /// curves with fewer than two vertices are removed.
    void ExplodeSegments();
    /// Joins each run of consecutive curves of equal pen where one curve's last vertex
    /// equals the next one's first; the meeting vertex is kept twice. Never reorders.
    void JoinSegments();
    /// RemoveDuplicates and RemoveCollinear on every curve; curves left with fewer than
    /// two vertices are removed. Ends like CalcExtents, with every box current. Returns
    /// whether cleaning again would change nothing (every curve IsClean). That is the rule on
    /// the curves of real drawings, but not a certainty: two equal step angles are equal
    /// as atan2 rounds them, and removing a vertex can put two near-equal ones side by side.
    bool CleanCurves();
    /// Cuts the drawing at X = a: everything beyond moves into the target page, shifted
    /// by -a. This page is exploded and rejoined; both pages end with CalcExtents.
    void SplitAtLength(COnePage& target, int32_t a);
    /// Folds a drawing wider than w into strips of width w laid one after another along X
    /// (gap kStripGap), with cut marks at every multiple of w; ends with CalcExtents.
    /// Nothing happens without curves, when w <= 0 or when the drawing is not wider than w.
    /// Returns false, leaving the page as it was except for its recomputed extents, when
    /// the fold would exceed kMaxFoldStrips strips or kMaxFoldCutMarkCurves cut-mark curves.
    bool SplitWidth(int32_t w);
    /// The same fold for a caller that cleans the curves (CleanCurves) right after: where
    /// segments join, the meeting vertex is kept once. Removing repeated vertices makes the
    /// two the same, and the fold then needs no second copy of the vertices. Such a caller
    /// has the box current (after CleanCurves or CalcExtents), and the fold starts from it.
    bool SplitWidthForCleaning(int32_t w);
    /// Adds the doubled dashed cut line at Y = a with its marks, when the stored maxX is
    /// at least 4000 (100 mm).
    void AddCutMarks(int32_t a);
    /// Adds the dashed seam at X = stored maxX, when the stored maxY exceeds 400.
    void AddSeam();
    /// CalcExtents of this page, then appends a copy of every source curve shifted by maxX.
    void AppendShifted(const COnePage& source);

    /// Inverts the selection of the first curve (pens 0 to 9 in turn, list order) whose hit
    /// area contains the screen point; false when none is hit.
    bool SelectCurveAt(const CViewTransform& disp, int sx, int sy);
    /// Selects every curve inside the screen rectangle and, when bCrossing is set, every
    /// curve with a segment (at least 5 units long) crossing one of its edges. Recomputes
    /// the curves' boxes. True when any curve was selected by this call.
    bool SelectCurvesInRect(const CViewTransform& disp, const CScreenRect& rect, bool bCrossing);

    /// Total vertex count of the drawing (for status lines and benchmarks).
    size_t VertexCount() const;

private:
    /// SplitWidth; bMeetingVerticesTwice false for SplitWidthForCleaning.
    bool Fold(int32_t w, bool bMeetingVerticesTwice);
    /// The page box from the stored curve boxes, which must be current.
    void UnionCurveBoxes();
    /// Appends a pen-1 solid polyline with a fresh box.
    void AddLine(std::initializer_list<CPoint> points);
};

/// Whether segment P1-P2 properly crosses segment P3-P4; touching ends, collinear and
/// parallel segments do not count.
bool SegmentsIntersect(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                       double y4);

} // namespace inkvale
