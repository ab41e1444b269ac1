// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/Curve.h"
#include "import/DxfDrawing.h"
#include "support/Result.h"

#include <cstdint>
#include <string>
#include <unordered_set>

// Turning the entities of a DXF drawing into curves in plotter units. Every DXF
// coordinate v becomes (int)(v * unit), truncated toward zero (saturating), where unit is
// the DxfUnit setting (40: the drawing is in millimetres). Texts become HP-GL label
// commands, which the HP-GL reader then draws from memory with its stroke fonts, so DXF
// texts look like HP-GL labels.

namespace inkvale {

/// Most segments a circle gets (a circle of about 10 m radius at one per millimetre).
inline constexpr int32_t kDxfMaxCircleSegments = 65536;

/// Limits that keep a hostile or broken file (blocks inserting blocks many times over,
/// absurd sizes) from exhausting time and memory. A drawing beyond them is refused
/// rather than loaded in part.
struct CDxfLimits {
    /// Memory the curves may take (DxfCurveCost): some ten times what the largest real
    /// markers need, and small enough that the array's growth keeps the whole load within a
    /// few hundred MB whatever the file.
    int64_t m_nMaxCurveBytes = int64_t{256} << 20;
    int64_t m_nMaxEntityVisits = 50'000'000; ///< entities converted, INSERTs expanded
};

/// The state of one conversion.
struct CDxfConvertContext {
    DxfDrawing* m_pDrawing = nullptr;
    int32_t m_nUnit = 40;    ///< plotter units per drawing unit (DxfUnit)
    std::string m_strLabels; ///< label commands collected from the TEXT entities
    /// Blocks whose entities are being converted (an INSERT of one of them is skipped: a
    /// block that inserts itself, directly or through others, is drawn once).
    std::unordered_set<int32_t> m_setActiveBlocks;
    int64_t m_nByteBudget = CDxfLimits{}.m_nMaxCurveBytes;     ///< curve memory still allowed
    int64_t m_nEntityBudget = CDxfLimits{}.m_nMaxEntityVisits; ///< entity visits still allowed
    bool m_bOverBudget = false; ///< a budget ran out; the conversion stopped
};

/// (int)(v * nUnit), truncated toward zero, saturating at the int32 range (NaN: 0).
int32_t DxfToPlotter(double v, int32_t nUnit);

/// Memory a curve of n vertices takes, as the budget counts it.
int64_t DxfCurveCost(int64_t nVertices);

/// Number of segments of a circle: (int)(r * 6.28318530718 * unit / 40), at least 8 and
/// at most kDxfMaxCircleSegments (one segment per millimetre of circumference).
int32_t DxfCircleSegments(double dRadius, int32_t nUnit);

/// The label commands of one TEXT: "PU%d,%d;DI%.3f,%.3f;LB" + text + ETX, with the
/// insertion point in plotter units and the cosine and sine of the rotation (degrees).
std::string FormatDxfLabel(const DxfEntityData& text, int32_t nUnit);

/// Converts one entity, appending its curves to arrCurves (pen 1, solid) as they are
/// made; a TEXT appends its label to ctx.m_strLabels; an INSERT converts the entities
/// of its block at their own coordinates (insertion point, scale and rotation are not
/// applied). An entity whose own colour is set while its layer is off is left out.
void ConvertEntity(CDxfConvertContext& ctx, const DxfEntity& entity, CCurveArray& arrCurves);

/// Converts every entity of the ENTITIES section in order.
void ConvertDxfEntities(CDxfConvertContext& ctx, CCurveArray& arrCurves);

/// Outcome of reading a DXF file into curves: 0 or one of the codes below, why it failed in
/// the diagnostic, and the HP-GL label commands the texts became.
struct [[nodiscard]] CDxfCurvesResult : CResult {
    std::string m_strLabels;
    bool m_bOnlyLabels = false; ///< texts were drawn and nothing else
};

inline constexpr int kDxfLoadNoMemory = -1; ///< the drawing could not be created
inline constexpr int kDxfLoadImport = -2;   ///< DxfImport failed (see the message)
inline constexpr int kDxfLoadTooLarge = -3; ///< the drawing exceeds the conversion limits
/// The texts could not be drawn (the label reader's limits). -4 to -6 are the task
/// loader's (DxfTaskLoader.h).
inline constexpr int kDxfLoadLabels = -7;

/// Imports the DXF file and appends its curves to arrCurves: first the geometry of the
/// ENTITIES walk, then the labels, drawn by the HP-GL reader from memory (the fonts come
/// from strAppDir, "" for the built-in ones). Nothing is written to disk.
CDxfCurvesResult ReadDxfCurves(const std::string& strPath, int32_t nUnit,
                               const std::string& strAppDir, CCurveArray& arrCurves,
                               const CDxfLimits& limits = {});

} // namespace inkvale
