// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/DxfConvert.h"

#include "geometry/Rounding.h"
#include "import/DxfAama.h"
#include "import/DxfDrawingData.h"
#include "import/DxfText.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <numbers>
#include <span>
#include <unordered_map>

namespace inkvale {

struct CDxfConvertContext::CCaches {
    explicit CCaches(const std::string& strAppDir) : m_text(strAppDir) {}
    CDxfTextDrawer m_text;
    std::unordered_map<int32_t, CAamaPiece> m_pieces; ///< by block (0: ENTITIES)
};

CDxfConvertContext::CDxfConvertContext() = default;
CDxfConvertContext::~CDxfConvertContext() = default;

namespace {

// The constant of the circle rule (not std::numbers::pi), so that segment counts come out
// exactly as before.
constexpr double kPi = 3.14159265359;
constexpr double kRadPerDeg = std::numbers::pi / 180.0;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kUnitsPerMm = 40.0;
/// Line spacing of MTEXT lines, in text heights (AutoCAD's default).
constexpr double kLineSpacing = 5.0 / 3.0;
/// Spline points follow the curve within this distance on the paper.
constexpr double kSplineToleranceMm = 0.05;

double Unit(const CDxfConvertContext& ctx) {
    return ctx.m_dUnit > 0.0 ? ctx.m_dUnit : ctx.m_nUnit;
}

/// Drawing units of the current block that make dMm on the paper.
double BlockUnits(const CDxfConvertContext& ctx, double dMm) {
    const double dScale = ctx.m_xf.Scale();
    return dMm * kUnitsPerMm / (Unit(ctx) * (dScale > 0.0 ? dScale : 1.0));
}

void CountSkipped(CDxfConvertContext& ctx, const std::string& strKind, int64_t n = 1) {
    for (auto& [strName, nCount] : ctx.m_arrSkipped) {
        if (strName == strKind) {
            nCount += n;
            return;
        }
    }
    ctx.m_arrSkipped.emplace_back(strKind, n);
}

/// Counts what the buffer of block nBlock left out, once per conversion.
void CountBufferSkipped(CDxfConvertContext& ctx, int32_t nBlock) {
    if (!ctx.m_setCountedBlocks.insert(nBlock).second)
        return;
    const DxfEntityBuffer* pBuffer = DxfBufferOf(*ctx.m_pDrawing, nBlock);
    if (pBuffer == nullptr)
        return;
    for (const auto& [strName, nCount] : pBuffer->m_arrSkipped)
        CountSkipped(ctx, DxfSkippedKind(strName), nCount);
}

/// Whether the entity is not drawn because of its layer: off or frozen. Inside a block, an
/// entity on layer 0 takes the layer of its INSERT, which was looked at already.
bool HiddenByLayer(const CDxfConvertContext& ctx, const DxfEntityHeader& h) {
    if (ctx.m_nDepth > 0 && h.m_strLayer == "0")
        return false;
    return DxfLayerHidden(*ctx.m_pDrawing, h.m_nLayer);
}

/// Appends a curve unless the memory budget is spent; returns it (nullptr when not).
CCurve* NewCurve(CDxfConvertContext& ctx, CCurveArray& arrCurves, int64_t nVertices) {
    const int64_t nBytes = DxfCurveCost(nVertices);
    if (nBytes > ctx.m_nByteBudget) {
        ctx.m_bOverBudget = true;
        return nullptr;
    }
    ctx.m_nByteBudget -= nBytes;
    CCurve& curve = arrCurves.emplace_back();
    curve.m_arrPoints.reserve(static_cast<size_t>(nVertices));
    ++ctx.m_nOtherCurves;
    return &curve;
}

void AddPoint(const CDxfConvertContext& ctx, CCurve& curve, const CDxfTransform& xf, CDxfXY p) {
    const CDxfXY q = xf.Map(p);
    const double dUnit = Unit(ctx);
    curve.AddPoint(TruncToInt(q.x * dUnit), TruncToInt(q.y * dUnit));
}

/// One curve through the points of path, placed by xf.
void EmitPath(CDxfConvertContext& ctx, const CDxfPath& path, const CDxfTransform& xf,
              CCurveArray& arrCurves) {
    if (path.empty())
        return;
    CCurve* pCurve = NewCurve(ctx, arrCurves, static_cast<int64_t>(path.size()));
    if (pCurve == nullptr)
        return;
    for (const CDxfXY& p : path)
        AddPoint(ctx, *pCurve, xf, p);
}

/// Where the entity's own coordinates land: its coordinate system, then the blocks'.
CDxfTransform EntityTransform(const CDxfConvertContext& ctx, const DxfEntityData& d,
                              double dZ = 0.0) {
    return ctx.m_xf.After(DxfOcsTransform(d.m_extrusion, dZ));
}

CDxfXY XY(const DxfPoint3& p) {
    return {p.x, p.y};
}

/// Plotter units per drawing unit of the entity as placed (for the density of arcs).
double PlacedUnit(const CDxfConvertContext& ctx, const CDxfTransform& xf) {
    const double dScale = xf.Scale();
    return Unit(ctx) * (dScale > 0.0 && std::isfinite(dScale) ? dScale : 1.0);
}

void ConvertLine(CDxfConvertContext& ctx, const DxfEntityData& d, CCurveArray& arrCurves) {
    EmitPath(ctx, {XY(d.m_aPt[0]), XY(d.m_aPt[1])}, ctx.m_xf, arrCurves);
}

/// DxfCircleSegments for a real number of plotter units per drawing unit.
int32_t CircleSegments(double dRadius, double dUnit) {
    const double dSegments = dRadius * 6.28318530718 * dUnit / 40.0;
    if (!(dSegments >= 8.0))
        return 8; // also NaN
    if (dSegments >= kDxfMaxCircleSegments)
        return kDxfMaxCircleSegments;
    return static_cast<int32_t>(dSegments);
}

void ConvertCircle(CDxfConvertContext& ctx, const DxfEntityData& d, CCurveArray& arrCurves) {
    const CDxfTransform xf = EntityTransform(ctx, d, d.m_aPt[0].z);
    const int32_t nSegments = CircleSegments(d.m_dRadius, PlacedUnit(ctx, xf));
    CCurve* pCurve = NewCurve(ctx, arrCurves, int64_t{nSegments} + 1);
    if (pCurve == nullptr)
        return;
    const DxfPoint3& c = d.m_aPt[0];
    const double r = d.m_dRadius;
    for (int32_t i = 0; i < nSegments; ++i) {
        const double a = 2.0 * i * kPi / nSegments;
        AddPoint(ctx, *pCurve, xf, {c.x + r * std::cos(a), c.y + r * std::sin(a)});
    }
    // The outline closes exactly on its first point.
    pCurve->m_arrPoints.push_back(pCurve->m_arrPoints.front());
}

void ConvertArc(CDxfConvertContext& ctx, const DxfEntityData& d, CCurveArray& arrCurves) {
    const CDxfTransform xf = EntityTransform(ctx, d, d.m_aPt[0].z);
    const double r = d.m_dRadius;
    if (!std::isfinite(d.m_dAngle) || !std::isfinite(d.m_dEndAngle) || !std::isfinite(r))
        return;
    double dSweep = std::fmod(d.m_dEndAngle - d.m_dAngle, 360.0);
    if (dSweep <= 0.0)
        dSweep += 360.0;
    const double a0 = d.m_dAngle * kRadPerDeg;
    const DxfPoint3& c = d.m_aPt[0];
    CDxfPath path{{c.x + r * std::cos(a0), c.y + r * std::sin(a0)}};
    DxfAppendArc(path, XY(c), r, a0, dSweep * kRadPerDeg, PlacedUnit(ctx, xf));
    EmitPath(ctx, path, xf, arrCurves);
}

/// A polyline with bulges: bulges[k] belongs to the segment from vertex k to k + 1.
CDxfPath BulgePath(const CDxfConvertContext& ctx, const CDxfTransform& xf,
                   const std::vector<DxfVertex>& arr, bool bClosed, bool bReversed) {
    CDxfPath path;
    path.reserve(arr.size() + (bClosed ? 1 : 0));
    const double dUnit = PlacedUnit(ctx, xf);
    path.push_back({arr[0].x, arr[0].y});
    const size_t n = arr.size();
    const size_t nSegments = bClosed ? n : n - 1;
    for (size_t k = 0; k < nSegments; ++k) {
        const DxfVertex& a = arr[k];
        const DxfVertex& b = arr[(k + 1) % n];
        // POLYLINE vertices are stored last first: a segment's bulge is that of its end,
        // turned the other way.
        const double dBulge = bReversed ? -b.bulge : a.bulge;
        DxfAppendBulge(path, {a.x, a.y}, {b.x, b.y}, dBulge, dUnit);
    }
    return path;
}

void ConvertPolyline(CDxfConvertContext& ctx, const DxfEntityData& d, bool bLightweight,
                     CCurveArray& arrCurves) {
    const std::vector<DxfVertex>& arr = d.m_arrVertices;
    if (arr.empty())
        return; // a curve without vertices would only be dropped by the clean-up
    const bool bClosed = (d.m_nFlags & kDxfPolylineClosed) != 0;
    // A 3D polyline (flag 8) is in world coordinates; a 2D one in its own system.
    const CDxfTransform xf =
        (d.m_nFlags & 8) != 0 ? ctx.m_xf : EntityTransform(ctx, d, d.m_aPt[0].z);
    EmitPath(ctx, BulgePath(ctx, xf, arr, bClosed, !bLightweight), xf, arrCurves);
}

void ConvertEllipse(CDxfConvertContext& ctx, const DxfEntityData& d, CCurveArray& arrCurves) {
    EmitPath(ctx, DxfEllipsePath(d, PlacedUnit(ctx, ctx.m_xf)), ctx.m_xf, arrCurves);
}

void ConvertSpline(CDxfConvertContext& ctx, const DxfEntityData& d, CCurveArray& arrCurves) {
    const double dTolerance = BlockUnits(ctx, kSplineToleranceMm);
    const auto nMax = static_cast<size_t>(std::max<int64_t>(ctx.m_nByteBudget, 0) /
                                          static_cast<int64_t>(sizeof(CPoint)));
    CDxfPath path;
    if (!DxfSplinePath(d, dTolerance, nMax, path)) {
        ctx.m_bOverBudget = true;
        return;
    }
    if ((d.m_nFlags & 1) != 0 && path.size() > 2)
        path.push_back(path.front());
    EmitPath(ctx, path, ctx.m_xf, arrCurves);
}

void ConvertSolid(CDxfConvertContext& ctx, const DxfEntityData& d, CCurveArray& arrCurves) {
    const CDxfTransform xf = EntityTransform(ctx, d, d.m_aPt[0].z);
    // The corners go 1, 2, 4, 3 round the outline; a triangle repeats its third.
    CDxfPath path{XY(d.m_aPt[0]), XY(d.m_aPt[1]), XY(d.m_aPt[3]), XY(d.m_aPt[2]), XY(d.m_aPt[0])};
    if (d.m_aPt[3].x == d.m_aPt[2].x && d.m_aPt[3].y == d.m_aPt[2].y)
        path.erase(path.begin() + 2);
    EmitPath(ctx, path, xf, arrCurves);
}

// ---- texts ----

/// Places one line of text: its strokes at height dHeight and width factor dWidth from its
/// baseline start, moved by (dx, dy) text heights... in drawing units, turned by the
/// rotation, at the insertion point, then by xf.
struct CTextPlacement {
    double m_dHeight = 1.0;
    double m_dWidthFactor = 1.0;
    double m_dAngle = 0.0; ///< radians
    double m_dDx = 0.0;    ///< offset of the baseline start, drawing units along the text
    double m_dDy = 0.0;
    CDxfXY m_at;
    bool m_bMirrorX = false;
    bool m_bMirrorY = false;
};

void EmitTextLine(CDxfConvertContext& ctx, const CDxfTextLine& line, const CTextPlacement& t,
                  const CDxfTransform& xf, CCurveArray& arrCurves) {
    const double dScale = t.m_dHeight * line.m_dScale;
    CDxfTransform local = CDxfTransform::ScaleXY(dScale * t.m_dWidthFactor, dScale);
    local = CDxfTransform::Translate(t.m_dDx, t.m_dDy).After(local);
    if (t.m_bMirrorX || t.m_bMirrorY)
        local = CDxfTransform::ScaleXY(t.m_bMirrorX ? -1.0 : 1.0, t.m_bMirrorY ? -1.0 : 1.0)
                    .After(local);
    local = CDxfTransform::Rotate(t.m_dAngle).After(local);
    local = CDxfTransform::Translate(t.m_at.x, t.m_at.y).After(local);
    local.m_bIdentity = false;
    const CDxfTransform all = xf.After(local);
    for (size_t i = 0; i < line.StrokeCount(); ++i) {
        const std::span<const CPoint> stroke = line.Stroke(i);
        CCurve* pCurve = NewCurve(ctx, arrCurves, static_cast<int64_t>(stroke.size()));
        if (pCurve == nullptr)
            return;
        for (const CPoint& p : stroke)
            AddPoint(ctx, *pCurve, all, {static_cast<double>(p.x), static_cast<double>(p.y)});
        --ctx.m_nOtherCurves;
        ++ctx.m_nTextCurves;
    }
}

/// The height a text is drawn at: its own, but not below the legible minimum on the paper.
double TextHeight(const CDxfConvertContext& ctx, const CDxfTransform& xf, double dHeight) {
    const double dScale = xf.Scale();
    const double dPlaced = Unit(ctx) * (dScale > 0.0 ? dScale : 1.0); // plotter units per unit
    const double dMin = ctx.m_options.m_dMinTextMm * kUnitsPerMm / dPlaced;
    if (!std::isfinite(dHeight) || dHeight < dMin)
        return dMin;
    return dHeight;
}

CDxfTextDrawer& TextDrawer(CDxfConvertContext& ctx) {
    if (!ctx.m_pCaches)
        ctx.m_pCaches = std::make_unique<CDxfConvertContext::CCaches>(ctx.m_options.m_strAppDir);
    return ctx.m_pCaches->m_text;
}

/// TEXT and ATTRIB: groups 72 (0 left, 1 centre, 2 right, 3 aligned, 4 middle, 5 fit) and
/// 73 (0 baseline, 1 bottom, 2 middle, 3 top) place the text at the alignment point.
void ConvertText(CDxfConvertContext& ctx, const DxfEntityData& d, CCurveArray& arrCurves) {
    if (!ctx.m_options.m_bDrawTexts)
        return;
    const std::string strText = DxfPlainText(d.m_strText);
    if (strText.empty())
        return;
    const CDxfTransform xf = EntityTransform(ctx, d, d.m_aPt[0].z);
    const CDxfTextLine& line = TextDrawer(ctx).Line(strText);
    CTextPlacement t;
    t.m_dHeight = TextHeight(ctx, xf, d.m_dRadius);
    t.m_dWidthFactor =
        d.m_dWidthFactor > 0.0 && std::isfinite(d.m_dWidthFactor) ? d.m_dWidthFactor : 1.0;
    t.m_dAngle = std::isfinite(d.m_dAngle) ? d.m_dAngle * kRadPerDeg : 0.0;
    t.m_bMirrorX = (d.m_nFlags & 2) != 0;
    t.m_bMirrorY = (d.m_nFlags & 4) != 0;
    t.m_at = XY(d.m_aPt[0]);
    const int h = d.m_nHAlign;
    const int v = d.m_nVAlign;
    const bool bAligned = (h == 0 && v == 0) || !d.m_bHasPoint1;
    if (!bAligned && (h == 3 || h == 5) && v == 0) {
        // Between the two points: aligned scales the whole text, fit only its width.
        const double dx = d.m_aPt[1].x - d.m_aPt[0].x;
        const double dy = d.m_aPt[1].y - d.m_aPt[0].y;
        const double dLen = std::hypot(dx, dy);
        const double dWidth = line.m_dWidth * t.m_dHeight * t.m_dWidthFactor;
        if (dLen > 0.0 && dWidth > 0.0) {
            t.m_dAngle = std::atan2(dy, dx);
            if (h == 3)
                t.m_dHeight *= dLen / dWidth;
            else
                t.m_dWidthFactor *= dLen / dWidth;
        }
    } else if (!bAligned) {
        t.m_at = XY(d.m_aPt[1]);
        const double dScale = t.m_dHeight * t.m_dWidthFactor;
        const double dMiddle = (line.m_dLeft + line.m_dWidth) / 2 * dScale;
        t.m_dDx = h == 1 || h == 4 ? -dMiddle : (h == 2 ? -line.m_dWidth * dScale : 0.0);
        if (h == 4 || v == 2)
            t.m_dDy = -t.m_dHeight / 2;
        else if (v == 3)
            t.m_dDy = -t.m_dHeight;
        else if (v == 1)
            t.m_dDy = -line.m_dBottom * t.m_dHeight;
    }
    EmitTextLine(ctx, line, t, xf, arrCurves);
}

/// MTEXT: its lines from the top down, placed by the attachment point (71: 1 top left ...
/// 9 bottom right).
void ConvertMText(CDxfConvertContext& ctx, const DxfEntityData& d, CCurveArray& arrCurves) {
    if (!ctx.m_options.m_bDrawTexts)
        return;
    const std::string strText = DxfPlainMText(d.m_strText);
    std::vector<std::string> arrLines;
    size_t nStart = 0;
    while (nStart <= strText.size()) {
        const size_t nEnd = std::min(strText.find('\n', nStart), strText.size());
        arrLines.push_back(strText.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    while (!arrLines.empty() && arrLines.back().empty())
        arrLines.pop_back();
    if (arrLines.empty())
        return;
    const CDxfTransform& xf = ctx.m_xf;
    const double dHeight = TextHeight(ctx, xf, d.m_dRadius);
    const double dFactor =
        d.m_dWidthFactor > 0.0 && std::isfinite(d.m_dWidthFactor) ? d.m_dWidthFactor : 1.0;
    const double dStep = dHeight * kLineSpacing * dFactor;
    const double dTotal = dHeight + dStep * static_cast<double>(arrLines.size() - 1);
    const int nAttach = d.m_nHAlign >= 1 && d.m_nHAlign <= 9 ? d.m_nHAlign : 1;
    const int nRow = (nAttach - 1) / 3;
    const int nColumn = (nAttach - 1) % 3;
    const double dTop = nRow == 0 ? 0.0 : (nRow == 1 ? dTotal / 2 : dTotal);
    double dAngle = std::isfinite(d.m_dAngle) ? d.m_dAngle * kRadPerDeg : 0.0;
    if (d.m_bHasPoint1 && (d.m_aPt[1].x != 0.0 || d.m_aPt[1].y != 0.0))
        dAngle = std::atan2(d.m_aPt[1].y, d.m_aPt[1].x);
    for (size_t i = 0; i < arrLines.size(); ++i) {
        if (arrLines[i].empty())
            continue;
        const CDxfTextLine& line = TextDrawer(ctx).Line(arrLines[i]);
        CTextPlacement t;
        t.m_dHeight = dHeight;
        t.m_dAngle = dAngle;
        t.m_at = XY(d.m_aPt[0]);
        const double dMiddle = (line.m_dLeft + line.m_dWidth) / 2 * dHeight;
        t.m_dDx = nColumn == 0 ? 0.0 : (nColumn == 1 ? -dMiddle : -line.m_dWidth * dHeight);
        t.m_dDy = dTop - dHeight - dStep * static_cast<double>(i);
        EmitTextLine(ctx, line, t, xf, arrCurves);
    }
}

// ---- garment marks ----

const CAamaPiece& PieceOf(CDxfConvertContext& ctx) {
    (void)TextDrawer(ctx); // makes the caches
    auto [it, bNew] = ctx.m_pCaches->m_pieces.try_emplace(ctx.m_nBlock);
    if (!bNew)
        return it->second;
    CAamaPiece& piece = it->second;
    const DxfEntityBuffer* pBuffer = DxfBufferOf(*ctx.m_pDrawing, ctx.m_nBlock);
    if (pBuffer == nullptr)
        return piece;
    for (const DxfEntity& e : pBuffer->m_arr) {
        const bool bBoundary = AamaBoundaryLayer(e.m_header.m_strLayer);
        const bool bNotch = AamaNotchLayer(e.m_header.m_strLayer);
        if (!bBoundary && !bNotch)
            continue;
        std::vector<CDxfXY> arr;
        if (e.m_header.m_nKind == kDxfLine) {
            arr = {XY(e.m_data.m_aPt[0]), XY(e.m_data.m_aPt[1])};
        } else if (e.m_header.m_nKind == kDxfPolyline || e.m_header.m_nKind == kDxfLwPolyline) {
            for (const DxfVertex& v : e.m_data.m_arrVertices)
                arr.push_back({v.x, v.y});
            if ((e.m_data.m_nFlags & kDxfPolylineClosed) != 0 && !arr.empty())
                arr.push_back(arr.front());
        }
        if (arr.empty())
            continue;
        if (bNotch) {
            piece.m_arrNotchEnds.push_back(arr.front());
            piece.m_arrNotchEnds.push_back(arr.back());
        } else {
            for (size_t i = 1; i < arr.size(); ++i)
                piece.m_arrBoundary.emplace_back(arr[i - 1], arr[i]);
        }
    }
    return piece;
}

void ConvertPoint(CDxfConvertContext& ctx, const DxfEntity& entity, CCurveArray& arrCurves) {
    const CDxfXY p = XY(entity.m_data.m_aPt[0]);
    switch (AamaPointKind(entity.m_header.m_strLayer)) {
    case EAamaPoint::kTurnOrCurve:
        return; // they only say where the outline bends
    case EAamaPoint::kDrill: {
        const double s = BlockUnits(ctx, ctx.m_options.m_dDrillMm) / 2;
        if (ctx.m_options.m_nDrillMark == 1) {
            CDxfPath path{{p.x + s, p.y}};
            DxfAppendArc(path, p, s, 0.0, kTwoPi, PlacedUnit(ctx, ctx.m_xf));
            EmitPath(ctx, path, ctx.m_xf, arrCurves);
        } else {
            EmitPath(ctx, {{p.x - s, p.y}, {p.x + s, p.y}}, ctx.m_xf, arrCurves);
            EmitPath(ctx, {{p.x, p.y - s}, {p.x, p.y + s}}, ctx.m_xf, arrCurves);
        }
        return;
    }
    case EAamaPoint::kNotch: {
        const double dLength = BlockUnits(ctx, ctx.m_options.m_dNotchMm);
        const auto slit = AamaNotchSlit(PieceOf(ctx), p, dLength, dLength * 0.02);
        if (slit)
            EmitPath(ctx, {slit->first, slit->second}, ctx.m_xf, arrCurves);
        return;
    }
    case EAamaPoint::kPlain:
        CountSkipped(ctx, "POINT");
        return;
    }
}

// ---- blocks ----

int32_t LayerHandle(const DxfDrawing& d, const std::string& strName) {
    const ptrdiff_t i = DxfTableIndexByName(d.m_layers, strName);
    return i < 0 ? 0 : d.m_layers.m_arr[static_cast<size_t>(i)].m_nHandle;
}

bool IsPaperSpaceBlock(const std::string& strName) {
    constexpr std::string_view kPaper = "*paper_space";
    if (strName.size() < kPaper.size())
        return false;
    for (size_t i = 0; i < kPaper.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(strName[i])) != kPaper[i])
            return false;
    }
    return true;
}

/// Converts a buffer's entities, then those whose block was defined after them.
void ConvertBuffer(CDxfConvertContext& ctx, const DxfEntityBuffer& buffer, CCurveArray& arrCurves) {
    for (size_t i = 0; i < buffer.m_arr.size() && !ctx.m_bOverBudget; ++i)
        ConvertEntity(ctx, buffer.m_arr[i], arrCurves);
    for (size_t i = 0; i < buffer.m_arrLate.size() && !ctx.m_bOverBudget; ++i) {
        DxfEntity late = buffer.m_arrLate[i];
        const ptrdiff_t iBlock = DxfBlockIndexByName(*ctx.m_pDrawing, late.m_data.m_strName);
        if (iBlock < 0) {
            if (late.m_header.m_nKind == kDxfInsert)
                CountSkipped(ctx, "INSERT of an undefined block (" + late.m_data.m_strName + ")");
            else
                CountSkipped(ctx, "DIMENSION");
            continue;
        }
        late.m_data.m_nBlock =
            ctx.m_pDrawing->m_arrBlocks[static_cast<size_t>(iBlock)].m_header.m_nHandle;
        late.m_header.m_nLayer = LayerHandle(*ctx.m_pDrawing, late.m_header.m_strLayer);
        ConvertEntity(ctx, late, arrCurves);
    }
}

/// Converts the block's entities once with the transform xf.
void ConvertBlockAt(CDxfConvertContext& ctx, int32_t nBlock, const CDxfTransform& xf,
                    CCurveArray& arrCurves) {
    const DxfEntityBuffer* pBuffer = DxfBufferOf(*ctx.m_pDrawing, nBlock);
    if (pBuffer == nullptr)
        return;
    const CDxfTransform saved = ctx.m_xf;
    const int32_t nSavedBlock = ctx.m_nBlock;
    ctx.m_xf = xf;
    ctx.m_nBlock = nBlock;
    ++ctx.m_nDepth;
    ConvertBuffer(ctx, *pBuffer, arrCurves);
    --ctx.m_nDepth;
    ctx.m_xf = saved;
    ctx.m_nBlock = nSavedBlock;
}

/// The block an INSERT or a DIMENSION draws, nullptr when it is not drawn: unknown, paper
/// space, already being drawn further up (a block inserting itself) or nested too deep.
const DxfBlock* BlockToDraw(CDxfConvertContext& ctx, int32_t nBlock) {
    const ptrdiff_t iBlock = DxfBlockIndexByHandle(*ctx.m_pDrawing, nBlock);
    if (iBlock < 0)
        return nullptr;
    const DxfBlock& block = ctx.m_pDrawing->m_arrBlocks[static_cast<size_t>(iBlock)].m_header;
    if (IsPaperSpaceBlock(block.m_strName))
        return nullptr;
    if (ctx.m_setActiveBlocks.contains(nBlock)) {
        CountSkipped(ctx, "INSERT of a block into itself (" + block.m_strName + ")");
        return nullptr;
    }
    if (ctx.m_nDepth >= kDxfMaxBlockDepth) {
        CountSkipped(ctx, "blocks nested deeper than " + std::to_string(kDxfMaxBlockDepth));
        return nullptr;
    }
    CountBufferSkipped(ctx, nBlock);
    return &block;
}

/// A dimension's block holds its lines, arrows and text where they stand in the drawing.
void ConvertDimension(CDxfConvertContext& ctx, const DxfEntityData& d, CCurveArray& arrCurves) {
    if (BlockToDraw(ctx, d.m_nBlock) == nullptr)
        return;
    ctx.m_setActiveBlocks.insert(d.m_nBlock);
    ConvertBlockAt(ctx, d.m_nBlock, ctx.m_xf, arrCurves);
    ctx.m_setActiveBlocks.erase(d.m_nBlock);
}

void ConvertInsert(CDxfConvertContext& ctx, const DxfEntityData& d, CCurveArray& arrCurves) {
    const int32_t nBlock = d.m_nBlock;
    const DxfBlock* pBlock = BlockToDraw(ctx, nBlock);
    if (pBlock == nullptr)
        return;
    const DxfBlock& block = *pBlock;
    ctx.m_setActiveBlocks.insert(nBlock);
    const CDxfTransform ocs = EntityTransform(ctx, d, d.m_aPt[0].z);
    const double sx = std::isfinite(d.m_scale.x) && d.m_scale.x != 0.0 ? d.m_scale.x : 1.0;
    const double sy = std::isfinite(d.m_scale.y) && d.m_scale.y != 0.0 ? d.m_scale.y : 1.0;
    const double dAngle = std::isfinite(d.m_dAngle) ? d.m_dAngle * kRadPerDeg : 0.0;
    const CDxfTransform scaled = CDxfTransform::ScaleXY(sx, sy).After(
        CDxfTransform::Translate(-block.m_base.x, -block.m_base.y));
    const int nColumns = std::max<int>(d.m_nColumns, 1);
    const int nRows = std::max<int>(d.m_nRows, 1);
    for (int r = 0; r < nRows && !ctx.m_bOverBudget; ++r) {
        for (int c = 0; c < nColumns && !ctx.m_bOverBudget; ++c) {
            // Every cell counts as a visit: the rows and columns of an empty block too.
            if (c + r > 0 && --ctx.m_nEntityBudget < 0) {
                ctx.m_bOverBudget = true;
                break;
            }
            const CDxfTransform cell =
                CDxfTransform::Translate(c * d.m_dColumnSpacing, r * d.m_dRowSpacing).After(scaled);
            const CDxfTransform placed = CDxfTransform::Translate(d.m_aPt[0].x, d.m_aPt[0].y)
                                             .After(CDxfTransform::Rotate(dAngle).After(cell));
            ConvertBlockAt(ctx, nBlock, ocs.After(placed), arrCurves);
        }
    }
    ctx.m_setActiveBlocks.erase(nBlock);
}

} // namespace

double DxfHeaderUnit(int nInsUnits, int nMeasurement, double dFallback) {
    switch (nInsUnits) {
    case 1:
        return 1016.0; // inches
    case 2:
        return 12192.0; // feet
    case 4:
        return 40.0; // millimetres
    case 5:
        return 400.0; // centimetres
    case 6:
        return 40000.0; // metres
    case 8:
        return 0.001016; // microinches
    case 9:
        return 1.016; // mils
    case 10:
        return 36576.0; // yards
    case 13:
        return 0.04; // micrometres
    case 14:
        return 4000.0; // decimetres
    default:
        break;
    }
    if (nMeasurement == 0)
        return 1016.0;
    if (nMeasurement == 1)
        return 40.0;
    return dFallback;
}

std::string DxfSkippedKind(const std::string& strName) {
    static constexpr std::string_view k3d[] = {
        "3DFACE",          "3DSOLID",      "BODY",         "REGION",          "MESH",
        "POLYLINE mesh",   "SURFACE",      "PLANESURFACE", "EXTRUDEDSURFACE", "LOFTEDSURFACE",
        "REVOLVEDSURFACE", "SWEPTSURFACE", "NURBSURFACE"};
    for (const std::string_view k : k3d) {
        if (strName == k)
            return "3D entities";
    }
    return strName;
}

int32_t DxfToPlotter(double v, int32_t nUnit) {
    return TruncToInt(v * nUnit);
}

int64_t DxfCurveCost(int64_t nVertices) {
    // The curve object, the allocator's share of its vertex block, and the vertices.
    return static_cast<int64_t>(sizeof(CCurve)) + 32 + nVertices * int64_t{sizeof(CPoint)};
}

int32_t DxfCircleSegments(double dRadius, int32_t nUnit) {
    return CircleSegments(dRadius, nUnit);
}

void ConvertEntity(CDxfConvertContext& ctx, const DxfEntity& entity, CCurveArray& arrCurves) {
    if (ctx.m_bOverBudget || --ctx.m_nEntityBudget < 0) {
        ctx.m_bOverBudget = true;
        return;
    }
    const DxfEntityHeader& h = entity.m_header;
    if (h.m_bPaperSpace || HiddenByLayer(ctx, h))
        return;
    const DxfEntityData& d = entity.m_data;
    switch (h.m_nKind) {
    case kDxfLine:
        ConvertLine(ctx, d, arrCurves);
        break;
    case kDxfCircle:
        ConvertCircle(ctx, d, arrCurves);
        break;
    case kDxfArc:
        ConvertArc(ctx, d, arrCurves);
        break;
    case kDxfEllipse:
        ConvertEllipse(ctx, d, arrCurves);
        break;
    case kDxfText:
        ConvertText(ctx, d, arrCurves);
        break;
    case kDxfAttrib:
        if ((d.m_nFlags & 1) == 0) // invisible attributes are not drawn
            ConvertText(ctx, d, arrCurves);
        break;
    case kDxfMText:
        ConvertMText(ctx, d, arrCurves);
        break;
    case kDxfInsert:
        ConvertInsert(ctx, d, arrCurves);
        break;
    case kDxfDimension:
        ConvertDimension(ctx, d, arrCurves);
        break;
    case kDxfPolyline:
    case kDxfLwPolyline:
        ConvertPolyline(ctx, d, h.m_nKind == kDxfLwPolyline, arrCurves);
        break;
    case kDxfSpline:
        ConvertSpline(ctx, d, arrCurves);
        break;
    case kDxfSolid:
    case kDxfTrace:
        ConvertSolid(ctx, d, arrCurves);
        break;
    case kDxfPoint:
        ConvertPoint(ctx, entity, arrCurves);
        break;
    default:
        break;
    }
}

/// Room in the curve array for what the drawing will likely make, taken at once: texts make
/// some three curves a character, and an array grown by doubling past half a million curves
/// moves them all each time and holds both copies meanwhile. Room never used costs no memory
/// that is touched; texts in blocks inserted many times may still grow the array.
void ReserveCurves(const CDxfConvertContext& ctx, CCurveArray& arrCurves) {
    constexpr int64_t kCurvesPerTextByte = 4;
    const DxfDrawing& d = *ctx.m_pDrawing;
    const int64_t nLimit = ctx.m_nByteBudget / static_cast<int64_t>(sizeof(CCurve));
    const int64_t nWanted = static_cast<int64_t>(d.m_entities.m_arr.size()) +
                            kCurvesPerTextByte * std::min(d.m_nTextBytes, nLimit);
    try {
        arrCurves.reserve(arrCurves.size() + static_cast<size_t>(std::min(nWanted, nLimit)));
    } catch (const std::exception&) {
        // without the room the array grows as it goes
    }
}

void ConvertDxfEntities(CDxfConvertContext& ctx, CCurveArray& arrCurves) {
    ReserveCurves(ctx, arrCurves);
    CountBufferSkipped(ctx, 0);
    ConvertBuffer(ctx, *DxfBufferOf(*ctx.m_pDrawing, 0), arrCurves);
}

CDxfCurvesResult ReadDxfCurves(const std::string& strPath, int32_t nUnit,
                               const std::string& strAppDir, CCurveArray& arrCurves,
                               const CDxfLimits& limits) {
    CDxfOptions options;
    options.m_nUnit = nUnit;
    options.m_strAppDir = strAppDir;
    return ReadDxfCurves(strPath, options, arrCurves, limits);
}

CDxfCurvesResult ReadDxfCurves(const std::string& strPath, const CDxfOptions& options,
                               CCurveArray& arrCurves, const CDxfLimits& limits) {
    DxfDrawingPtr pDrawing(DxfDrawingCreate());
    if (!pDrawing)
        return {CResult::Failure(kDxfLoadNoMemory, "out of memory"), {}, {}, 0.0};
    DxfImportError error = DxfImportError::kNone;
    if (!DxfImport(pDrawing.get(), strPath, &error))
        return {CResult::Failure(kDxfLoadImport, DxfImportErrorText(error)), {}, {}, 0.0};
    CDxfConvertContext ctx;
    ctx.m_pDrawing = pDrawing.get();
    ctx.m_options = options;
    ctx.m_nUnit = options.m_nUnit;
    ctx.m_dUnit = options.m_nUnit == kDxfUnitAuto
                      ? DxfHeaderUnit(pDrawing->m_nInsUnits, pDrawing->m_nMeasurement, 40.0)
                      : 0.0;
    ctx.m_nByteBudget = limits.m_nMaxCurveBytes;
    ctx.m_nEntityBudget = limits.m_nMaxEntityVisits;
    const size_t nCurvesBefore = arrCurves.size();
    try {
        ConvertDxfEntities(ctx, arrCurves);
    } catch (const std::bad_alloc&) {
        ctx.m_bOverBudget = true;
    }
    pDrawing.reset();
    if (ctx.m_bOverBudget) {
        // Half a drawing must not reach the plotter.
        arrCurves.resize(nCurvesBefore);
        return {CResult::Failure(kDxfLoadTooLarge,
                                 "the drawing is too large: its curves would take more than " +
                                     std::to_string(limits.m_nMaxCurveBytes >> 20) +
                                     " MB, or it expands to more than " +
                                     std::to_string(limits.m_nMaxEntityVisits) + " entities"),
                {},
                {},
                0.0};
    }
    const bool bOnlyLabels = ctx.m_nOtherCurves == 0 && ctx.m_nTextCurves > 0;
    return {CResult{}, bOnlyLabels, std::move(ctx.m_arrSkipped), Unit(ctx)};
}

} // namespace inkvale
