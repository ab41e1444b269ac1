// SPDX-License-Identifier: GPL-3.0-or-later
// Every DXF file of the corpus against the record an independent reader (ezdxf) made of it
// (tests/data/dxf_golden.txt, written by tests/data/dxf_golden.py): the extent of what draws
// ink, and the entity counts of the model space.

#include "import/DxfConvert.h"
#include "import/DxfDrawing.h"

#include "common/TestPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace inkvale {
namespace {

struct Golden {
    std::string m_strFile;
    bool m_bEmpty = false;
    double m_dX = 0.0;
    double m_dY = 0.0;
    std::map<std::string, int> m_counts;
};

std::vector<Golden> ReadGolden() {
    std::ifstream in(test::DataDir() / "dxf_golden.txt");
    std::vector<Golden> arr;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        Golden g;
        std::string x, y, counts;
        fields >> g.m_strFile >> x >> y >> counts;
        g.m_bEmpty = x == "-";
        if (!g.m_bEmpty) {
            g.m_dX = std::stod(x);
            g.m_dY = std::stod(y);
        }
        std::istringstream items(counts);
        std::string item;
        while (std::getline(items, item, ',')) {
            const size_t eq = item.find('=');
            if (eq != std::string::npos)
                g.m_counts[item.substr(0, eq)] = std::stoi(item.substr(eq + 1));
        }
        arr.push_back(g);
    }
    return arr;
}

/// Where the reference is not what a plotter should draw.
const std::map<std::string, std::string> kReferenceDiffers = {
    {"ezdxf-POLI-ALL210_12.DXF",
     "the reference's extent takes in the widths of wide polylines and their thickness, "
     "extruded along a tilted normal; the plotter draws the centre line"},
};

/// Entity kinds of the reader and the names the reference counts them under.
const std::map<int16_t, std::string> kKindNames = {
    {kDxfLine, "LINE"},       {kDxfCircle, "CIRCLE"},     {kDxfArc, "ARC"},
    {kDxfEllipse, "ELLIPSE"}, {kDxfSpline, "SPLINE"},     {kDxfLwPolyline, "LWPOLYLINE"},
    {kDxfText, "TEXT"},       {kDxfMText, "MTEXT"},       {kDxfSolid, "SOLID"},
    {kDxfPoint, "POINT"},     {kDxfPolyline, "POLYLINE"}, {kDxfInsert, "INSERT"},
};

std::map<std::string, int> CountKinds(const std::string& strPath) {
    std::map<std::string, int> counts;
    DxfDrawingPtr pDrawing(DxfDrawingCreate());
    if (!DxfImport(pDrawing.get(), strPath))
        return counts;
    const DxfEntity* pEntity = nullptr;
    for (int32_t h = DxfWalkEntities(pDrawing.get(), nullptr, DxfFind::First, &pEntity); h != 0;
         h = DxfWalkEntities(pDrawing.get(), nullptr, DxfFind::Next, &pEntity)) {
        const auto it = kKindNames.find(pEntity->m_header.m_nKind);
        if (it != kKindNames.end())
            ++counts[it->second];
    }
    return counts;
}

TEST(DxfCorpus, SizesAndCountsAgreeWithTheReference) {
    const std::vector<Golden> arr = ReadGolden();
    ASSERT_GE(arr.size(), 25u) << "the records are read";
    std::printf("%-44s %12s %12s %12s %12s %8s\n", "file", "X", "X ref", "Y", "Y ref", "curves");
    for (const Golden& g : arr) {
        SCOPED_TRACE(g.m_strFile);
        const std::string strPath = (test::CorpusDir() / "dxf" / g.m_strFile).string();
        CDxfOptions options; // DxfUnit 40: a drawing unit is a millimetre
        options.m_bDrawTexts = false;
        CCurveArray arrCurves;
        const CDxfCurvesResult r = ReadDxfCurves(strPath, options, arrCurves);
        ASSERT_TRUE(r.Ok()) << r.m_strDiag;
        int64_t x0 = INT64_MAX, y0 = INT64_MAX, x1 = INT64_MIN, y1 = INT64_MIN;
        for (const CCurve& c : arrCurves) {
            for (const CPoint& p : c.m_arrPoints) {
                x0 = std::min<int64_t>(x0, p.x);
                y0 = std::min<int64_t>(y0, p.y);
                x1 = std::max<int64_t>(x1, p.x);
                y1 = std::max<int64_t>(y1, p.y);
            }
        }
        const double dX = arrCurves.empty() ? 0.0 : (x1 - x0) / 40.0;
        const double dY = arrCurves.empty() ? 0.0 : (y1 - y0) / 40.0;
        std::printf("%-44s %12.3f %12.3f %12.3f %12.3f %8zu\n", g.m_strFile.c_str(), dX, g.m_dX, dY,
                    g.m_dY, arrCurves.size());
        for (const auto& [strKind, nCount] : CountKinds(strPath)) {
            if (strKind != "INSERT") { // INSERTs of undefined blocks are not kept
                EXPECT_EQ(nCount, g.m_counts.count(strKind) ? g.m_counts.at(strKind) : 0)
                    << strKind;
            }
        }
        if (kReferenceDiffers.contains(g.m_strFile))
            continue;
        if (g.m_bEmpty) {
            EXPECT_TRUE(arrCurves.empty());
            continue;
        }
        EXPECT_NEAR(dX, g.m_dX, std::max(g.m_dX * 0.01, 1.0));
        EXPECT_NEAR(dY, g.m_dY, std::max(g.m_dY * 0.01, 1.0));
    }
}

} // namespace
} // namespace inkvale
