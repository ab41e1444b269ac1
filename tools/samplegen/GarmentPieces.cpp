// SPDX-License-Identifier: GPL-3.0-or-later
#include "GarmentPieces.h"

#include <array>
#include <cmath>
#include <string_view>

namespace inkvale::samplegen {

namespace {

constexpr double kNotchSpacingMm = 6.0;
// The skirt panels are drawn for a 600 mm skirt and lengthened to knee length.
constexpr double kSkirtLength = 1.08;

// Grading by proportion from size M: lengths grow 1.5 % and girths 4 % a size.
struct CGrade {
    double sx = 1.0;
    double sy = 1.0;
    CPt operator()(double x, double y) const { return {x * sx, y * sy}; }
};

CGrade GradeOf(const std::string& strSize) {
    constexpr std::array<std::string_view, 6> kSizes = {"XS", "S", "M", "L", "XL", "XXL"};
    int g = 0;
    for (size_t i = 0; i < kSizes.size(); ++i) {
        if (kSizes[i] == strSize)
            g = static_cast<int>(i) - 2;
    }
    return {1.0 + 0.015 * g, 1.0 + 0.04 * g};
}

CPiece NewPiece(const char* pszCode, const char* pszZh, const std::string& strSize, int nCopies,
                double dTextMm) {
    CPiece p;
    p.strCode = pszCode;
    p.strNameZh = pszZh;
    p.strSize = strSize;
    p.nCopies = nCopies;
    p.dTextMm = dTextMm;
    return p;
}

CPiece FrontBodice(const CGrade& s, const std::string& strSize) {
    CPiece p = NewPiece("FRONT", "左前片", strSize, 2, 10.0);
    p.strNameZhB = "右前片";
    p.bMirroredPair = true;
    const double ext = -20.0; // button stand beyond the centre front, not graded
    p.outline = CounterClockwise(CPathBuilder(s(0, 72))
                                     .Line(s(45, 195))
                                     .Cubic(s(110, 185), s(200, 200), s(228, 245))
                                     .Line(s(420, 232))
                                     .Cubic(s(426, 150), s(432, 60), s(432, 0))
                                     .Line({432 * s.sx, ext})
                                     .Line({75 * s.sx, ext})
                                     .Line(s(75, 0))
                                     .Cubic(s(75, 42), s(40, 72), s(0, 72))
                                     .Finish(true));
    // Bust dart into the side seam.
    const CPt legA = s(290, 240.4);
    const CPt legB = s(320, 238.4);
    const CPt apex = s(300, 118);
    p.arrInner.push_back({legA, apex, legB});
    p.arrDrillCrosses.push_back(apex + CPt{0, 12});
    p.AddNotch(legA);
    p.AddNotch(legB);
    p.AddNotch(s(160, 194));                              // armhole
    p.AddNotch(s(431, 110));                              // waist, dart position of the skirt
    p.AddNotch(s(0, 72) + (s(45, 195) - s(0, 72)) * 0.5); // mid shoulder
    p.arrDashed.push_back({s(75, 0), s(432, 0)});         // centre front: button line
    for (const double x : {115.0, 195.0, 275.0, 355.0})
        p.arrDrillHoles.push_back(s(x, 0) + CPt{0, -2});
    p.arrDrillHoles.push_back(s(150, 110)); // chest pocket corners
    p.arrDrillHoles.push_back(s(150, 210));
    p.grainFrom = s(95, 150);
    p.grainTo = s(395, 150);
    p.labelAt = p.grainFrom + CPt{20, 8};
    return p;
}

CPiece BackBodice(const CGrade& s, const std::string& strSize) {
    CPiece p = NewPiece("BACK", "后片", strSize, 1, 10.0);
    const CPolyline half = CPathBuilder(s(20, 0))
                               .Cubic(s(20, 40), s(8, 70), s(0, 76))
                               .Line(s(42, 200))
                               .Cubic(s(100, 212), s(190, 212), s(230, 242))
                               .Line(s(420, 230))
                               .Line(s(420, 0))
                               .Finish(false);
    p.outline = CounterClockwise(MirrorAcrossCentre(half));
    for (const double side : {1.0, -1.0}) {
        const CPt legA = s(420, 80 * side);
        const CPt legB = s(420, 110 * side);
        const CPt apex = s(285, 95 * side);
        p.arrInner.push_back({legA, apex, legB});
        p.arrDrillCrosses.push_back(apex + CPt{12, 0});
        p.AddNotch(legA);
        p.AddNotch(legB);
        p.AddNotch(s(150, 208 * side), true); // back armhole: double notch
    }
    p.AddNotch(s(20, 0));
    p.AddNotch(s(420, 0));
    p.grainFrom = s(80, 0);
    p.grainTo = s(380, 0);
    p.labelAt = p.grainFrom + CPt{20, 8};
    return p;
}

CPiece Sleeve(const CGrade& s, const std::string& strSize) {
    CPiece p = NewPiece("SLEEVE", "左袖", strSize, 2, 10.0);
    p.strNameZhB = "右袖";
    p.bMirroredPair = true;
    p.outline = CounterClockwise(CPathBuilder(s(140, -170))
                                     .Cubic(s(110, -150), s(62, -116), s(45, -75))
                                     .Cubic(s(25, -42), s(0, -26), s(0, 0))
                                     .Cubic(s(0, 30), s(20, 56), s(40, 86))
                                     .Cubic(s(66, 126), s(115, 160), s(140, 172))
                                     .Line(s(560, 118))
                                     .Cubic(s(565, 40), s(563, -40), s(560, -112))
                                     .Finish(true));
    p.AddNotch(s(0, 0));          // shoulder
    p.AddNotch(s(62, -100));      // front armhole
    p.AddNotch(s(62, 118), true); // back armhole
    p.AddNotch(s(350, 140));      // elbow
    p.AddNotch(s(563, -30));      // cuff pleat
    p.AddNotch(s(563, -5));
    p.arrInner.push_back({s(561, 60), s(450, 60)}); // placket slit
    p.arrDrillHoles.push_back(s(444, 60));
    p.grainFrom = s(110, 0);
    p.grainTo = s(500, 0);
    p.labelAt = p.grainFrom + CPt{20, 8};
    return p;
}

// The waist-to-hip curve of both skirt panels.
CPathBuilder& SkirtSide(CPathBuilder& b, const CGrade& s) {
    return b.Cubic(s(40, 215), s(120, 245), s(200, 262)).Line(s(600, 335));
}

CPiece FrontSkirt(const CGrade& g, const std::string& strSize) {
    const CGrade s{g.sx * kSkirtLength, g.sy};
    CPiece p = NewPiece("FRONT SKIRT", "前裙片", strSize, 1, 10.0);
    CPathBuilder b(s(0, 0));
    b.Cubic(s(0, 70), s(-4, 140), s(-10, 185));
    SkirtSide(b, s).Cubic(s(606, 230), s(612, 120), s(612, 0));
    p.outline = CounterClockwise(MirrorAcrossCentre(b.Finish(false)));
    for (const double side : {1.0, -1.0}) {
        const CPt legA = s(-1.5, 82 * side);
        const CPt legB = s(-2.5, 108 * side);
        const CPt apex = s(105, 95 * side);
        p.arrInner.push_back({legA, apex, legB});
        p.arrDrillCrosses.push_back(apex + CPt{-12, 0});
        p.AddNotch(legA);
        p.AddNotch(legB);
        p.AddNotch(s(40, 215 * side)); // pocket opening
        p.AddNotch(s(200, 262 * side));
        p.arrDashed.push_back(CPathBuilder(s(570, 329.5 * side))
                                  .Cubic(s(576, 225 * side), s(582, 118 * side), s(582, 0))
                                  .Finish(false)); // hem fold
    }
    p.AddNotch(s(0, 0));
    p.AddNotch(s(612, 0));
    p.grainFrom = s(90, 0);
    p.grainTo = s(510, 0);
    p.labelAt = p.grainFrom + CPt{20, 8};
    return p;
}

CPiece BackSkirt(const CGrade& g, const std::string& strSize) {
    const CGrade s{g.sx * kSkirtLength, g.sy};
    CPiece p = NewPiece("BACK SKIRT", "左后裙片", strSize, 2, 10.0);
    p.strNameZhB = "右后裙片";
    p.bMirroredPair = true;
    CPathBuilder b(s(6, 0));
    b.Cubic(s(4, 70), s(-4, 140), s(-10, 185));
    SkirtSide(b, s).Cubic(s(606, 230), s(610, 120), s(610, 0));
    p.outline = CounterClockwise(b.Finish(true));
    const CPt legA = s(2.5, 82);
    const CPt legB = s(1.0, 108);
    const CPt apex = s(125, 95);
    p.arrInner.push_back({legA, apex, legB});
    p.arrDrillCrosses.push_back(apex + CPt{-12, 0});
    p.AddNotch(legA);
    p.AddNotch(legB);
    p.AddNotch(s(200, 0)); // end of the zip
    p.AddNotch(s(40, 215));
    p.AddNotch(s(200, 262));
    p.arrDashed.push_back(
        CPathBuilder(s(570, 329.5)).Cubic(s(576, 225), s(580, 118), s(580, 0)).Finish(false));
    p.grainFrom = s(90, 150);
    p.grainTo = s(500, 150);
    p.labelAt = p.grainFrom + CPt{20, 8};
    return p;
}

CPiece Waistband(const CGrade& s, const std::string& strSize) {
    CPiece p = NewPiece("WAISTBAND", "腰头", strSize, 1, 6.0);
    // Cut lengthwise: its length is the waist, which grades with the girth.
    const double len = 720.0 * s.sy;
    p.outline = CounterClockwise(CPathBuilder({0, 0})
                                     .Line({len, 0})
                                     .Line({len + 22, 37.5})
                                     .Line({len, 75})
                                     .Line({0, 75})
                                     .Finish(true));
    p.arrDashed.push_back({{0, 37.5}, {len + 22, 37.5}}); // fold
    const double waist = len - 40.0;
    for (int k = 0; k <= 4; ++k) { // centre fronts, sides and centre back
        const double x = 20.0 + waist * k / 4.0;
        p.AddNotch({x, 0});
        p.AddNotch({x, 75});
    }
    p.arrDrillHoles.push_back({len - 4, 18.75}); // buttonhole
    p.arrDrillHoles.push_back({20, 18.75});      // button
    p.grainFrom = {60, 15};
    p.grainTo = {360, 15};
    p.labelAt = {400, 45};
    return p;
}

CPiece Pocket(const CGrade& s, const std::string& strSize) {
    CPiece p = NewPiece("POCKET", "口袋", strSize, 2, 6.0);
    const double w = 125.0 * std::sqrt(s.sy);
    p.outline = CounterClockwise(CPathBuilder({0, 0})
                                     .Line({0, w})
                                     .Line({140, w})
                                     .Line({165, w / 2})
                                     .Line({140, 0})
                                     .Finish(true));
    p.arrDashed.push_back({{30, 0}, {30, w}}); // top hem fold
    p.arrDashed.push_back(
        {{40, 10}, {134, 10}, {153, w / 2}, {134, w - 10}, {40, w - 10}}); // topstitching
    p.AddNotch({30, 0});
    p.AddNotch({30, w});
    p.grainFrom = {45, 22};
    p.grainTo = {125, 22};
    p.labelAt = {50, 40};
    return p;
}

CPiece Collar(const CGrade& s, const std::string& strSize) {
    CPiece p = NewPiece("COLLAR", "领子", strSize, 2, 6.0);
    const CPolyline half = CPathBuilder({0, 0})
                               .Cubic({0, 100 * s.sy}, {-5, 190 * s.sy}, {-15, 228 * s.sy})
                               .Line({75, 206 * s.sy})
                               .Cubic({78, 150 * s.sy}, {82, 60 * s.sy}, {82, 0})
                               .Finish(false);
    p.outline = CounterClockwise(MirrorAcrossCentre(half));
    p.AddNotch({82, 0});
    p.AddNotch({80, 88 * s.sy});
    p.AddNotch({80, -88 * s.sy});
    p.arrDashed.push_back(CPathBuilder({10, -200 * s.sy})
                              .Cubic({12, -100 * s.sy}, {12, 100 * s.sy}, {10, 200 * s.sy})
                              .Finish(false)); // topstitching
    p.grainFrom = {18, -150};
    p.grainTo = {70, -150};
    p.labelAt = {14, -120};
    return p;
}

CPiece Cuff(const CGrade& s, const std::string& strSize) {
    CPiece p = NewPiece("CUFF", "袖克夫", strSize, 2, 6.0);
    const double len = 250.0 * std::sqrt(s.sy);
    p.outline = CounterClockwise(CPathBuilder({0, 0})
                                     .Line({0, len})
                                     .Line({115, len})
                                     .Cubic({123, len}, {130, len - 7}, {130, len - 15})
                                     .Line({130, 15})
                                     .Cubic({130, 7}, {123, 0}, {115, 0})
                                     .Finish(true));
    p.arrDashed.push_back({{65, 0}, {65, len}}); // fold
    p.AddNotch({65, 0});
    p.AddNotch({65, len});
    p.AddNotch({0, 30});
    p.arrDrillHoles.push_back({97, 15});
    p.arrDrillHoles.push_back({97, len - 15});
    p.grainFrom = {12, len - 55};
    p.grainTo = {118, len - 55};
    p.labelAt = {12, 40};
    return p;
}

CPiece Placket(const CGrade& s, const std::string& strSize) {
    CPiece p = NewPiece("PLACKET", "袖衩", strSize, 2, 4.0);
    p.bMirroredPair = true;
    const double len = 170.0 * s.sx;
    p.outline = CounterClockwise(
        CPathBuilder({0, 22.5}).Line({15, 0}).Line({len, 0}).Line({len, 45}).Line({15, 45}).Finish(
            true));
    p.arrDashed.push_back({{15, 22.5}, {len, 22.5}});
    p.AddNotch({len - 60, 0});
    p.grainFrom = {25, 10};
    p.grainTo = {len - 20, 10};
    p.labelAt = {30, 24};
    return p;
}

CPiece Facing(const CGrade& s, const std::string& strSize) {
    CPiece p = NewPiece("FACING", "左挂面", strSize, 2, 6.0);
    p.strNameZhB = "右挂面";
    p.bMirroredPair = true;
    // The front edge from the neck to the waist, 70 mm wide, along the front's neckline up
    // to 30 mm of the shoulder.
    const double ext = -20.0;
    const double inner = 50.0;
    p.outline = CounterClockwise(CPathBuilder({75 * s.sx, ext})
                                     .Line({432 * s.sx, ext})
                                     .Line({432 * s.sx, inner})
                                     .Line({130 * s.sx, inner})
                                     .Cubic({90 * s.sx, inner}, s(30, 80), s(10, 100))
                                     .Line(s(0, 72))
                                     .Cubic(s(40, 72), s(75, 42), s(75, 0))
                                     .Finish(true));
    p.arrDashed.push_back({s(75, 0), s(432, 0)}); // centre front
    p.AddNotch(s(431, 0) + CPt{0, 25});
    p.grainFrom = s(140, 0) + CPt{0, 20};
    p.grainTo = s(400, 0) + CPt{0, 20};
    p.labelAt = s(200, 0) + CPt{0, -16};
    return p;
}

CPiece Belt(const CGrade& s, const std::string& strSize) {
    CPiece p = NewPiece("BELT", "腰带", strSize, 1, 6.0);
    const double len = 1300.0 * std::sqrt(s.sy);
    p.outline = CounterClockwise(CPathBuilder({0, 25})
                                     .Line({30, 0})
                                     .Line({len - 30, 0})
                                     .Line({len, 25})
                                     .Line({len - 30, 50})
                                     .Line({30, 50})
                                     .Finish(true));
    p.arrDashed.push_back({{30, 25}, {len - 30, 25}}); // fold
    p.AddNotch({len / 2, 0});
    p.AddNotch({len / 2, 50});
    p.grainFrom = {100, 12};
    p.grainTo = {500, 12};
    p.labelAt = {560, 30};
    return p;
}

} // namespace

void CPiece::AddNotch(CPt p, bool bDouble) {
    CPt at;
    CPt tangent;
    NearestOnOutline(outline, p, at, tangent);
    const CPt inward{-tangent.y, tangent.x}; // left of a counter-clockwise outline
    if (!bDouble) {
        arrNotches.push_back({at, inward});
        return;
    }
    const CPt half = tangent * (kNotchSpacingMm / 2);
    arrNotches.push_back({at - half, inward});
    arrNotches.push_back({at + half, inward});
}

double CPiece::Area() const {
    return std::fabs(SignedArea2(outline)) / 2.0;
}

std::vector<CPiece> ShirtDressPieces(const std::string& strSize) {
    const CGrade s = GradeOf(strSize);
    return {FrontBodice(s, strSize), BackBodice(s, strSize), Sleeve(s, strSize),
            FrontSkirt(s, strSize),  BackSkirt(s, strSize),  Waistband(s, strSize),
            Pocket(s, strSize),      Collar(s, strSize),     Cuff(s, strSize),
            Placket(s, strSize),     Facing(s, strSize),     Belt(s, strSize)};
}

} // namespace inkvale::samplegen
