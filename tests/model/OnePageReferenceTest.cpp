// SPDX-License-Identifier: GPL-3.0-or-later
// The list operations of COnePage run in linear time; these tests hold them to the plain
// element-by-element rules (insertions and removals in the middle of the list), written
// out literally below, on random drawings.
#include "model/OnePage.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace inkvale {
namespace {

CCurve CopyWithPoints(const CCurve& model, CPoint p, CPoint q) {
    CCurve c;
    c.CopyFrom(model);
    c.m_arrPoints = {p, q};
    return c;
}

void RefExplode(CCurveArray& list) {
    size_t i = 0;
    while (i < list.size()) {
        const size_t n = list[i].m_arrPoints.size();
        if (n < 2) {
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        if (n > 2) {
            CCurve head;
            head.CopyFrom(list[i]);
            head.m_arrPoints.resize(2);
            list.insert(list.begin() + static_cast<std::ptrdiff_t>(i), head);
            auto& rest = list[i + 1].m_arrPoints;
            rest.erase(rest.begin());
        }
        ++i;
    }
}

void RefJoin(CCurveArray& list) {
    size_t k = 0;
    while (k + 1 < list.size()) {
        CCurve& a = list[k];
        const CCurve& b = list[k + 1];
        if (a.m_nPen == b.m_nPen && !a.m_arrPoints.empty() && !b.m_arrPoints.empty() &&
            a.m_arrPoints.back() == b.m_arrPoints.front()) {
            a.m_arrPoints.insert(a.m_arrPoints.end(), b.m_arrPoints.begin(), b.m_arrPoints.end());
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(k + 1));
        } else {
            ++k;
        }
    }
}

int32_t Cut(int32_t a0, int32_t c0, int32_t a1, int32_t c1, int32_t cut) {
    return static_cast<int32_t>(c0 + int64_t{cut - a0} * (c1 - c0) / (a1 - a0));
}

void RefSplitAtLength(COnePage& page, COnePage& target, int32_t a) {
    if (page.m_arrCurves.empty())
        return;
    CCurveArray& list = page.m_arrCurves;
    RefExplode(list);
    for (size_t i = 0; i < list.size();) {
        CCurve& s = list[i];
        const CPoint p0 = s.m_arrPoints[0], p1 = s.m_arrPoints[1];
        if (p0.x <= a && p1.x <= a) {
            ++i;
        } else if (p0.x < a && a < p1.x) {
            const int32_t yc = Cut(p0.x, p0.y, p1.x, p1.y, a);
            s.m_arrPoints = {p0, {a, yc}};
            target.m_arrCurves.push_back(CopyWithPoints(s, {0, yc}, {p1.x - a, p1.y}));
            ++i;
        } else if (p0.x > a && a > p1.x) {
            const int32_t yc = Cut(p0.x, p0.y, p1.x, p1.y, a);
            s.m_arrPoints = {{a, yc}, p1};
            target.m_arrCurves.push_back(CopyWithPoints(s, {p0.x - a, p0.y}, {0, yc}));
            ++i;
        } else {
            target.m_arrCurves.push_back(CopyWithPoints(s, {p0.x - a, p0.y}, {p1.x - a, p1.y}));
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    RefJoin(list);
    page.CalcExtents();
    target.CalcExtents();
}

void RefSplitWidth(COnePage& page, int32_t w) {
    if (page.m_arrCurves.empty())
        return;
    page.CalcExtents();
    if (page.m_nMaxY <= w)
        return;
    const int32_t k = page.m_nMaxY / w;
    for (int32_t j = 1; j <= k; ++j)
        page.AddCutMarks(j * w);
    CCurveArray& list = page.m_arrCurves;
    RefExplode(list);
    const int32_t shift = page.m_nMaxX + kStripGap;
    for (int32_t pass = 1; pass <= k; ++pass) {
        size_t bound = list.size();
        for (size_t i = 0; i < bound;) {
            CCurve& s = list[i];
            const CPoint p0 = s.m_arrPoints[0], p1 = s.m_arrPoints[1];
            if (p0.y <= w && p1.y <= w) {
                ++i;
            } else if (p0.y < w && w < p1.y) {
                const int32_t xc = Cut(p0.y, p0.x, p1.y, p1.x, w);
                CCurve piece = CopyWithPoints(s, {xc + shift, 0}, {p1.x + shift, p1.y - w});
                s.m_arrPoints = {p0, {xc, w}};
                list.push_back(piece);
                ++bound;
                ++i;
            } else if (p0.y > w && w > p1.y) {
                const int32_t xc = Cut(p0.y, p0.x, p1.y, p1.x, w);
                CCurve piece = CopyWithPoints(s, {p0.x + shift, p0.y - w}, {xc + shift, 0});
                s.m_arrPoints = {{xc, w}, p1};
                list.push_back(piece);
                ++bound;
                ++i;
            } else {
                CCurve moved =
                    CopyWithPoints(s, {p0.x + shift, p0.y - w}, {p1.x + shift, p1.y - w});
                list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
                list.push_back(moved);
                --bound;
            }
        }
    }
    RefJoin(list);
    page.CalcExtents();
}

// Random polylines on a coarse grid, so that vertices land on cut lines, segments run
// along them, consecutive curves often meet and pens and line types vary.
COnePage RandomPage(std::mt19937& rng, int maxX, int maxY) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    COnePage page;
    const int curves = pick(0, 20);
    CPoint last{0, 0};
    for (int i = 0; i < curves; ++i) {
        CCurve c;
        c.m_nPen = pick(1, 2);
        c.m_nLineType = pick(0, 1);
        c.m_bSelected = pick(0, 1);
        const int n = pick(0, 6);
        CPoint p =
            pick(0, 1) ? last : CPoint{pick(-2, maxX / 250) * 250, pick(-1, maxY / 250) * 250};
        for (int k = 0; k < n; ++k) {
            c.m_arrPoints.push_back(p);
            // Mostly grid steps, sometimes an odd offset that makes cuts truncate.
            p.x = pick(-2, maxX / 250) * 250 + (pick(0, 3) == 0 ? pick(-99, 99) : 0);
            p.y = pick(-1, maxY / 250) * 250 + (pick(0, 3) == 0 ? pick(-99, 99) : 0);
        }
        if (!c.m_arrPoints.empty())
            last = c.m_arrPoints.back();
        c.CalcExtents();
        page.m_arrCurves.push_back(std::move(c));
    }
    return page;
}

std::string Dump(const COnePage& page) {
    std::ostringstream os;
    os << "box " << page.m_nMinX << " " << page.m_nMinY << " " << page.m_nMaxX << " "
       << page.m_nMaxY << "\n";
    for (const CCurve& c : page.m_arrCurves) {
        os << c.m_nPen << " " << c.m_nLineType << " " << c.m_bSelected << " [" << c.m_nMinX << " "
           << c.m_nMinY << " " << c.m_nMaxX << " " << c.m_nMaxY << "]";
        for (const CPoint& p : c.m_arrPoints)
            os << " " << p.x << "," << p.y;
        os << "\n";
    }
    return os.str();
}

constexpr int kRounds = 300;

TEST(OnePageReference, ExplodeAndJoinMatchTheStepByStepRules) {
    std::mt19937 rng(1);
    for (int round = 0; round < kRounds; ++round) {
        COnePage fast = RandomPage(rng, 3000, 3000);
        COnePage ref = fast;
        fast.ExplodeSegments();
        RefExplode(ref.m_arrCurves);
        ASSERT_EQ(Dump(fast), Dump(ref)) << "explode, round " << round;
        fast.JoinSegments();
        RefJoin(ref.m_arrCurves);
        ASSERT_EQ(Dump(fast), Dump(ref)) << "join, round " << round;
        // Joining unexploded drawings too (curves of any length meet end to start).
        COnePage raw = RandomPage(rng, 3000, 3000);
        COnePage rawRef = raw;
        raw.JoinSegments();
        RefJoin(rawRef.m_arrCurves);
        ASSERT_EQ(Dump(raw), Dump(rawRef)) << "raw join, round " << round;
    }
}

TEST(OnePageReference, SplitAtLengthMatchesTheStepByStepRules) {
    std::mt19937 rng(2);
    for (int round = 0; round < kRounds; ++round) {
        COnePage fast = RandomPage(rng, 4000, 2000);
        COnePage ref = fast;
        // A target that already holds curves is appended to, never cleared.
        COnePage fastTarget = round % 2 ? RandomPage(rng, 500, 500) : COnePage{};
        COnePage refTarget = fastTarget;
        const int32_t a = std::uniform_int_distribution<int>(0, 12)(rng) * 250;
        fast.SplitAtLength(fastTarget, a);
        RefSplitAtLength(ref, refTarget, a);
        ASSERT_EQ(Dump(fast), Dump(ref)) << "page, round " << round << ", a " << a;
        ASSERT_EQ(Dump(fastTarget), Dump(refTarget)) << "target, round " << round;
    }
}

TEST(OnePageReference, SplitWidthMatchesTheStepByStepRules) {
    std::mt19937 rng(3);
    for (int round = 0; round < kRounds; ++round) {
        // Long drawings get cut marks; strip widths leave one to ten strips.
        COnePage fast = RandomPage(rng, round % 2 ? 9000 : 3000, 5000);
        COnePage ref = fast;
        const int32_t w = std::uniform_int_distribution<int>(2, 16)(rng) * 250 + (round % 3) * 37;
        fast.SplitWidth(w);
        RefSplitWidth(ref, w);
        ASSERT_EQ(Dump(fast), Dump(ref)) << "round " << round << ", w " << w;
    }
}

// The fold shares attribute entries among curves up to a limit; curves of many pens pass it.
TEST(OnePageReference, SplitWidthOfManyPensMatchesTheStepByStepRules) {
    std::mt19937 rng(4);
    for (int round = 0; round < kRounds / 3; ++round) {
        COnePage fast;
        for (int k = 0; k < 8; ++k) {
            COnePage part = RandomPage(rng, 9000, 5000);
            for (CCurve& c : part.m_arrCurves) {
                c.m_nPen = std::uniform_int_distribution<int>(1, 100)(rng);
                fast.m_arrCurves.push_back(std::move(c));
            }
        }
        COnePage ref = fast;
        const int32_t w = std::uniform_int_distribution<int>(2, 16)(rng) * 250;
        fast.SplitWidth(w);
        RefSplitWidth(ref, w);
        ASSERT_EQ(Dump(fast), Dump(ref)) << "round " << round << ", w " << w;
    }
}

} // namespace
} // namespace inkvale
