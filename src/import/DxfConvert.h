// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/Curve.h"
#include "import/DxfDrawing.h"
#include "import/DxfGeometry.h"
#include "support/Result.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

// Turning the entities of a DXF drawing into curves in plotter units. Every DXF
// coordinate v, once placed by the blocks it lies in, becomes (int)(v * unit), truncated
// toward zero (saturating), where unit is the DxfUnit setting (40: the drawing is in
// millimetres) or the unit the header names. Texts are drawn with the stroke fonts of the
// HP-GL labels, at their own height.

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

/// DxfUnit value that lets the drawing's header choose the unit ($INSUNITS, else
/// $MEASUREMENT; millimetres when it names none).
inline constexpr int32_t kDxfUnitAuto = 0;

/// Deepest nesting of blocks inside blocks that is drawn.
inline constexpr int kDxfMaxBlockDepth = 32;

/// How the conversion draws what the settings decide.
struct CDxfOptions {
    int32_t m_nUnit = 40;      ///< plotter units per drawing unit, or kDxfUnitAuto
    std::string m_strAppDir;   ///< where the font files are ("" for the built-in fonts)
    int32_t m_nDrillMark = 0;  ///< a garment drill hole as 0 a cross, 1 a circle
    double m_dDrillMm = 3.0;   ///< size of the drill mark
    double m_dNotchMm = 5.0;   ///< length of a notch slit
    double m_dMinTextMm = 1.5; ///< texts are drawn at least this tall
    /// Texts are drawn. Without them a drawing's extent is that of its geometry, which is
    /// what another reader's extent can be held against: text widths depend on the font.
    bool m_bDrawTexts = true;
};

/// Plotter units per drawing unit that the header's $INSUNITS (or, for none, $MEASUREMENT:
/// 0 inches, 1 millimetres) names; dFallback when it names no unit (-1: not given).
double DxfHeaderUnit(int nInsUnits, int nMeasurement, double dFallback);

/// What a load left out, by kind, in the order first met ("HATCH", 12).
using CDxfSkipped = std::vector<std::pair<std::string, int64_t>>;

/// The state of one conversion.
struct CDxfConvertContext {
    CDxfConvertContext();
    ~CDxfConvertContext();
    DxfDrawing* m_pDrawing = nullptr;
    int32_t m_nUnit = 40; ///< plotter units per drawing unit (DxfUnit), when m_dUnit is 0
    double m_dUnit = 0.0; ///< the same as a real number (units of the header may be fractions)
    CDxfOptions m_options;
    /// Blocks whose entities are being converted (an INSERT of one of them is not followed:
    /// a block that inserts itself, directly or through others, is drawn once).
    std::unordered_set<int32_t> m_setActiveBlocks;
    int64_t m_nByteBudget = CDxfLimits{}.m_nMaxCurveBytes;     ///< curve memory still allowed
    int64_t m_nEntityBudget = CDxfLimits{}.m_nMaxEntityVisits; ///< entity visits still allowed
    bool m_bOverBudget = false; ///< a budget ran out; the conversion stopped
    CDxfTransform m_xf;         ///< where the current block's coordinates land
    int32_t m_nBlock = 0;       ///< the block being converted (0: ENTITIES)
    int m_nDepth = 0;           ///< blocks inside blocks being converted
    CDxfSkipped m_arrSkipped;
    std::unordered_set<int32_t> m_setCountedBlocks; ///< blocks whose skipped entities count
    int64_t m_nTextCurves = 0;                      ///< curves the texts became
    int64_t m_nOtherCurves = 0;                     ///< curves of everything else
    struct CCaches;
    std::unique_ptr<CCaches> m_pCaches; ///< drawn texts and garment pieces
};

/// (int)(v * nUnit), truncated toward zero, saturating at the int32 range (NaN: 0).
int32_t DxfToPlotter(double v, int32_t nUnit);

/// Memory a curve of n vertices takes, as the budget counts it.
int64_t DxfCurveCost(int64_t nVertices);

/// Number of segments of a circle: (int)(r * 6.28318530718 * unit / 40), at least 8 and
/// at most kDxfMaxCircleSegments (one segment per millimetre of circumference).
int32_t DxfCircleSegments(double dRadius, int32_t nUnit);

/// Converts one entity, appending its curves to arrCurves (pen 1, solid) as they are
/// made: at the place the blocks it lies in put it (ctx.m_xf), texts in the stroke fonts at
/// their own size. Entities on a layer that is off or frozen, in paper space, and
/// invisible attributes are left out; what cannot be drawn is counted in ctx.m_arrSkipped.
void ConvertEntity(CDxfConvertContext& ctx, const DxfEntity& entity, CCurveArray& arrCurves);

/// Converts every entity of the ENTITIES section in order.
void ConvertDxfEntities(CDxfConvertContext& ctx, CCurveArray& arrCurves);

/// Outcome of reading a DXF file into curves: 0 or one of the codes below, why it failed in
/// the diagnostic, and what the load left out.
struct [[nodiscard]] CDxfCurvesResult : CResult {
    bool m_bOnlyLabels = false; ///< texts were drawn and nothing else
    CDxfSkipped m_arrSkipped;   ///< entities not drawn, by kind
    double m_dUnit = 0.0;       ///< the plotter units per drawing unit used
};

inline constexpr int kDxfLoadNoMemory = -1; ///< the drawing could not be created
inline constexpr int kDxfLoadImport = -2;   ///< DxfImport failed (see the message)
inline constexpr int kDxfLoadTooLarge = -3; ///< the drawing exceeds the conversion limits
/// The texts could not be drawn (the label reader's limits). -4 to -6 are the task
/// loader's (DxfTaskLoader.h).
inline constexpr int kDxfLoadLabels = -7;

/// Imports the DXF file and appends its curves to arrCurves in the order of the ENTITIES
/// walk (the fonts come from strAppDir, "" for the built-in ones). Nothing is written to
/// disk.
CDxfCurvesResult ReadDxfCurves(const std::string& strPath, int32_t nUnit,
                               const std::string& strAppDir, CCurveArray& arrCurves,
                               const CDxfLimits& limits = {});
CDxfCurvesResult ReadDxfCurves(const std::string& strPath, const CDxfOptions& options,
                               CCurveArray& arrCurves, const CDxfLimits& limits = {});

/// The name a skipped entity is reported under: its own, or "3D entities" for the solids,
/// faces, meshes and surfaces.
std::string DxfSkippedKind(const std::string& strName);

} // namespace inkvale
