// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/DxfConvert.h"

#include "geometry/Rounding.h"
#include "import/DxfDrawingData.h"
#include "import/DxfLabels.h"
#include "import/HpglFile.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <new>

namespace inkvale {

namespace {

// The constants as the label and circle rules define them (not std::numbers::pi), so
// that segment counts and label directions come out exactly as specified.
constexpr double kPi = 3.14159265359;
constexpr double kTwoPi = 6.28318530718;
constexpr char kEtx = 3;

/// v with three decimals; a value that rounds to zero is written without a sign, so a
/// text at 90 degrees gets "DI0.000,1.000" although cos comes out a hair below zero.
void AppendFixed3(std::string& s, double v) {
    if (std::fabs(v) < 0.0005)
        v = 0.0;
    char buf[64];
    const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 3);
    s.append(buf, ec == std::errc() ? ptr : buf);
}

/// Whether the entity is left out because it has its own colour on a layer that is off.
bool HiddenByLayer(const DxfDrawing& d, const DxfEntityHeader& h) {
    if (h.m_nColor == kDxfColorByBlock || h.m_nColor == kDxfColorByLayer)
        return false;
    const ptrdiff_t i = DxfTableIndexByHandle(d.m_layers, h.m_nLayer);
    return i >= 0 && d.m_layers.m_arr[static_cast<size_t>(i)].m_nColor < 0;
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
    return &curve;
}

void ConvertLine(CDxfConvertContext& ctx, const DxfEntityData& d, CCurveArray& arrCurves) {
    CCurve* pCurve = NewCurve(ctx, arrCurves, 2);
    if (pCurve == nullptr)
        return;
    for (int i = 0; i < 2; ++i) {
        const DxfPoint3& pt = d.m_aPt[static_cast<size_t>(i)];
        pCurve->AddPoint(DxfToPlotter(pt.x, ctx.m_nUnit), DxfToPlotter(pt.y, ctx.m_nUnit));
    }
}

void ConvertCircle(CDxfConvertContext& ctx, const DxfEntityData& d, CCurveArray& arrCurves) {
    const int32_t n = DxfCircleSegments(d.m_dRadius, ctx.m_nUnit);
    CCurve* pCurve = NewCurve(ctx, arrCurves, int64_t{n} + 1);
    if (pCurve == nullptr)
        return;
    const DxfPoint3& c = d.m_aPt[0];
    const double r = d.m_dRadius;
    for (int32_t i = 0; i < n; ++i) {
        const double a = 2.0 * i * kPi / n;
        pCurve->AddPoint(DxfToPlotter(c.x + r * std::cos(a), ctx.m_nUnit),
                         DxfToPlotter(c.y + r * std::sin(a), ctx.m_nUnit));
    }
    // The outline closes exactly on its first point.
    pCurve->m_arrPoints.push_back(pCurve->m_arrPoints.front());
}

void ConvertPolyline(CDxfConvertContext& ctx, const DxfEntityData& d, CCurveArray& arrCurves) {
    const std::vector<DxfVertex>& arr = d.m_arrVertices;
    if (arr.empty())
        return; // a curve without vertices would only be dropped by the clean-up
    const bool bClosed = (d.m_nFlags & kDxfPolylineClosed) != 0;
    CCurve* pCurve = NewCurve(ctx, arrCurves, static_cast<int64_t>(arr.size()) + (bClosed ? 1 : 0));
    if (pCurve == nullptr)
        return;
    for (const DxfVertex& v : arr)
        pCurve->AddPoint(DxfToPlotter(v.x, ctx.m_nUnit), DxfToPlotter(v.y, ctx.m_nUnit));
    if (bClosed)
        pCurve->m_arrPoints.push_back(pCurve->m_arrPoints.front());
}

void ConvertInsert(CDxfConvertContext& ctx, const DxfEntityData& d, CCurveArray& arrCurves) {
    const int32_t nBlock = d.m_nBlock;
    if (DxfBlockIndexByHandle(*ctx.m_pDrawing, nBlock) < 0 ||
        !ctx.m_setActiveBlocks.insert(nBlock).second)
        return; // unknown block, or one already being drawn further up (self-insertion)
    const DxfEntity* pEntity = nullptr;
    for (int32_t h = DxfWalkBlockEntities(ctx.m_pDrawing, nBlock, DxfFind::First, &pEntity);
         h != 0 && !ctx.m_bOverBudget;
         h = DxfWalkBlockEntities(ctx.m_pDrawing, nBlock, DxfFind::Next, &pEntity)) {
        ConvertEntity(ctx, *pEntity, arrCurves);
    }
    ctx.m_setActiveBlocks.erase(nBlock);
}

} // namespace

int32_t DxfToPlotter(double v, int32_t nUnit) {
    return TruncToInt(v * nUnit);
}

int64_t DxfCurveCost(int64_t nVertices) {
    // The curve object, the allocator's share of its vertex block, and the vertices.
    return static_cast<int64_t>(sizeof(CCurve)) + 32 + nVertices * int64_t{sizeof(CPoint)};
}

int32_t DxfCircleSegments(double dRadius, int32_t nUnit) {
    const double dSegments = dRadius * kTwoPi * nUnit / 40.0;
    if (!(dSegments >= 8.0))
        return 8; // also NaN
    if (dSegments >= kDxfMaxCircleSegments)
        return kDxfMaxCircleSegments;
    return static_cast<int32_t>(dSegments);
}

std::string FormatDxfLabel(const DxfEntityData& text, int32_t nUnit) {
    const double a = text.m_dAngle * kPi / 180.0;
    std::string s = "PU";
    s += std::to_string(DxfToPlotter(text.m_aPt[0].x, nUnit));
    s += ',';
    s += std::to_string(DxfToPlotter(text.m_aPt[0].y, nUnit));
    s += ";DI";
    AppendFixed3(s, std::cos(a));
    s += ',';
    AppendFixed3(s, std::sin(a));
    s += ";LB";
    // The label ends at the first ETX: one inside the text would end it early and turn the
    // rest of the text into plotter commands.
    for (const char c : text.m_strText) {
        if (c != kEtx)
            s += c;
    }
    s += kEtx;
    return s;
}

void ConvertEntity(CDxfConvertContext& ctx, const DxfEntity& entity, CCurveArray& arrCurves) {
    if (ctx.m_bOverBudget || --ctx.m_nEntityBudget < 0) {
        ctx.m_bOverBudget = true;
        return;
    }
    const DxfEntityHeader& h = entity.m_header;
    if (h.m_nKind != kDxfText && HiddenByLayer(*ctx.m_pDrawing, h))
        return;
    switch (h.m_nKind) {
    case kDxfLine:
        ConvertLine(ctx, entity.m_data, arrCurves);
        break;
    case kDxfCircle:
        ConvertCircle(ctx, entity.m_data, arrCurves);
        break;
    case kDxfText:
        ctx.m_strLabels += FormatDxfLabel(entity.m_data, ctx.m_nUnit);
        break;
    case kDxfInsert:
        ConvertInsert(ctx, entity.m_data, arrCurves);
        break;
    case kDxfPolyline:
        ConvertPolyline(ctx, entity.m_data, arrCurves);
        break;
    default:
        break; // POINT, ARC, SOLID draw nothing
    }
}

void ConvertDxfEntities(CDxfConvertContext& ctx, CCurveArray& arrCurves) {
    const DxfEntity* pEntity = nullptr;
    for (int32_t h = DxfWalkEntities(ctx.m_pDrawing, nullptr, DxfFind::First, &pEntity);
         h != 0 && !ctx.m_bOverBudget;
         h = DxfWalkEntities(ctx.m_pDrawing, nullptr, DxfFind::Next, &pEntity)) {
        ConvertEntity(ctx, *pEntity, arrCurves);
    }
}

CDxfCurvesResult ReadDxfCurves(const std::string& strPath, int32_t nUnit,
                               const std::string& strAppDir, CCurveArray& arrCurves,
                               const CDxfLimits& limits) {
    DxfDrawingPtr pDrawing(DxfDrawingCreate());
    if (!pDrawing)
        return {CResult::Failure(kDxfLoadNoMemory, "out of memory"), {}};
    DxfImportError error = DxfImportError::kNone;
    if (!DxfImport(pDrawing.get(), strPath, &error))
        return {CResult::Failure(kDxfLoadImport, DxfImportErrorText(error)), {}};
    CDxfConvertContext ctx;
    ctx.m_pDrawing = pDrawing.get();
    ctx.m_nUnit = nUnit;
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
                {}};
    }
    const bool bNoGeometry = arrCurves.size() == nCurvesBefore;
    // A marker whose piece labels are lost must not print as if it were whole.
    CResult labels = DrawDxfLabels(ctx.m_strLabels, strAppDir, arrCurves);
    if (!labels.Ok()) {
        arrCurves.resize(nCurvesBefore);
        return {CResult::Failure(kDxfLoadLabels,
                                 "the texts cannot be drawn (" + labels.m_strDiag + ")",
                                 std::move(labels.m_arrMessages)),
                {}};
    }
    const bool bOnlyLabels = bNoGeometry && arrCurves.size() > nCurvesBefore;
    return {CResult{}, std::move(ctx.m_strLabels), bOnlyLabels};
}

} // namespace inkvale
