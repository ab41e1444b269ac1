// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/BandJob.h"

#include "BandTestApp.h"
#include "model/OnePage.h"
#include "raster/BandSheetImage.h"

#include <gtest/gtest.h>

#include <random>
#include <thread>

namespace inkvale {
namespace {

COnePage Drawing(int nCurves, int32_t nLength, int32_t nWidth, unsigned seed) {
    std::mt19937 rng(seed);
    COnePage page;
    page.m_strPath = "/data/marker.plt";
    for (int i = 0; i < nCurves; ++i) {
        CCurve c;
        c.m_nLineType = static_cast<int>(rng() % 3 == 0);
        const int n = 2 + static_cast<int>(rng() % 5);
        for (int k = 0; k < n; ++k)
            c.AddPoint(static_cast<int32_t>(rng() % static_cast<unsigned>(nLength)),
                       static_cast<int32_t>(rng() % static_cast<unsigned>(nWidth)));
        page.m_arrCurves.push_back(c);
    }
    page.CalcExtents();
    return page;
}

bool BitmapPixel(const uint8_t* p, int rowBytes, int row, int x) {
    return (p[row * rowBytes + x / 8] >> (7 - x % 8)) & 1u;
}

TEST(BandJobTest, RegularBandsDecodeToTheBitmapsPrintedPixels) {
    struct Case {
        int comb;
        int lineWidth;
        bool precise;
        int inkColumns;
    };
    const COnePage page = Drawing(60, 12000, 8000, 1);
    for (const Case& c : {Case{0, 1, false, 0}, Case{3, 2, true, 1}, Case{4, 1, true, 2},
                          Case{1, 3, false, 0}, Case{2, 1, false, 0}}) {
        CBandParams p;
        p.m_nHeadCombination = c.comb;
        p.m_nLineWidthPx = c.lineWidth;
        p.m_bPreciseMode = c.precise;
        p.m_nInkColumns = c.inkColumns;
        p.m_arrHeadOverlap = {3, 2, 1};
        p.m_arrHeadPos = {20, 170, 330, 480};
        p.m_arrReturnJoin = {5, 6, 7, 8};
        CBandJob job(page, p);
        ASSERT_GT(job.BandCount(), 5);
        CBandDecoder dec(p);
        const CBandGeometry& geo = job.Geometry();
        for (int64_t j = 0; j < job.BandCount(); ++j) {
            const CBandOutput r = job.RenderBand(j);
            ASSERT_TRUE(r.Ok()) << r.m_strDiag;
            ASSERT_TRUE(dec.Decode(r.m_data, job.JobWidth(), geo.IsReturnBand(j)).Ok());
            int nDiff = 0;
            for (int row = 0; row < job.JobWidth(); ++row)
                for (int x = 0; x < geo.BandHeight(); ++x)
                    nDiff += BitmapPixel(job.Bitmap(), geo.RowBytes(), row, x) != dec.Pixel(row, x);
            EXPECT_EQ(nDiff, 0) << "comb " << c.comb << " band " << j;
        }
    }
}

TEST(BandJobTest, JobSizesAndSpecialBands) {
    test::EnsureGuiApp();
    COnePage page;
    page.m_strPath = "/data/a.plt";
    page.m_arrCurves.push_back(CCurve{});
    page.m_arrCurves.back().m_arrPoints = {{0, 0}, {40000, 20000}};
    page.CalcExtents();
    CBandParams p;
    p.m_arrHeadPos = {0, 100, 0, 0};
    p.m_bSpAutoClean = p.m_bPrintFileName = p.m_bPreciseMode = true;
    p.m_tLabelTime = 1700000000;
    CBandJob job(page, p);
    EXPECT_EQ(job.CountedBands(), 40);
    EXPECT_EQ(job.BandCount(), 82);
    EXPECT_EQ(job.JobWidth(), 3239);
    for (int64_t j : {0, 1, 81}) {
        const CBandOutput r = job.RenderBand(j);
        ASSERT_TRUE(r.Ok()) << r.m_strDiag;
        EXPECT_GT(r.m_data.size(), 100u) << j;
    }
    EXPECT_FALSE(job.RenderBand(82).Ok());
    EXPECT_FALSE(job.RenderBand(-1).Ok());

    COnePage empty;
    CBandJob none(empty, CBandParams{}, 777);
    EXPECT_EQ(none.BandCount(), 0);
    EXPECT_EQ(none.JobWidth(), 777) << "JobWidth stays as it was";
}

TEST(BandJobTest, OverWideJobsAndBusyBuffersAreRefused) {
    COnePage page;
    page.m_arrCurves.push_back(CCurve{});
    page.m_arrCurves.back().m_arrPoints = {{0, 0}, {400, 200000}}; // 5 m across: 30 000+ columns
    page.CalcExtents();
    CBandJob wide(page, CBandParams{});
    EXPECT_FALSE(wide.FitsBuffers());
    const CBandOutput r = wide.RenderBand(0);
    EXPECT_FALSE(r.Ok());
    EXPECT_NE(r.m_strDiag.find("28000"), std::string::npos);

    const COnePage small = Drawing(5, 4000, 4000, 2);
    CBandJob first(small, CBandParams{});
    ASSERT_TRUE(first.RenderBand(0).Ok());
    CBandJob second(small, CBandParams{});
    EXPECT_FALSE(second.AcquireBuffers()) << "one band producer at a time";
    EXPECT_FALSE(second.RenderBand(0).Ok());
    // Released by whichever thread ends the job.
    std::thread([job = std::move(first)]() mutable { (void)job; }).join();
    EXPECT_TRUE(second.AcquireBuffers());
}

TEST(BandJobTest, SheetPlacesBandsAtTheirFeedOffsets) {
    COnePage page;
    page.m_strPath = "x";
    page.m_arrCurves.push_back(CCurve{});
    // Along the feed at Y = 400 (row 92) from X = 0 to X = 4000 (pixels 1..1182).
    page.m_arrCurves.back().m_arrPoints = {{0, 400}, {4000, 400}};
    page.CalcExtents();
    for (bool precise : {false, true}) {
        CBandParams p;
        p.m_bPreciseMode = precise;
        CBandJob job(page, p);
        CBandSheet sheet(p, job.JobWidth(), job.BandCount());
        for (int64_t j = 0; j < job.BandCount(); ++j) {
            const CBandOutput r = job.RenderBand(j);
            ASSERT_TRUE(r.Ok());
            ASSERT_TRUE(sheet.AddBand(j, r.m_data).Ok());
        }
        int nInk = 0;
        for (int32_t row = 0; row < sheet.Height(); ++row)
            for (int64_t x = 0; x < sheet.Width(); ++x)
                nInk += sheet.Pixel(row, x);
        EXPECT_EQ(nInk, 1182) << precise;
        EXPECT_TRUE(sheet.Pixel(92, 1) && sheet.Pixel(92, 1182)) << precise;
        EXPECT_FALSE(sheet.Pixel(92, 0) || sheet.Pixel(92, 1183)) << precise;
        const QImage image = BandSheetImage(sheet);
        EXPECT_EQ(image.width(), sheet.Width());
        EXPECT_EQ(image.pixelIndex(1, 92), 1);
    }
}

TEST(BandJobTest, SheetAcceptsChunkPaddingOnlyWhenAsked) {
    const COnePage page = Drawing(5, 4000, 4000, 3);
    CBandJob job(page, CBandParams{});
    const CBandOutput r = job.RenderBand(0);
    ASSERT_TRUE(r.Ok());
    std::vector<uint8_t> padded(r.m_data.begin(), r.m_data.end());
    padded.resize((padded.size() / 4096 + 1) * 4096, 0);
    CBandSheet sheet(CBandParams{}, job.JobWidth(), job.BandCount());
    EXPECT_FALSE(sheet.AddBand(0, padded).Ok());
    EXPECT_TRUE(sheet.AddBand(0, padded, true).Ok());
    padded.back() = 1;
    EXPECT_FALSE(sheet.AddBand(0, padded, true).Ok());
}

} // namespace
} // namespace inkvale
