// SPDX-License-Identifier: GPL-3.0-or-later
#include "MarkerNesting.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace inkvale::samplegen {

namespace {

constexpr double kCellMm = 4.0;   // height of one row of the layout grid
constexpr double kGapMm = 3.0;    // clearance between pieces along the roll
constexpr double kMarginMm = 5.0; // clearance to the marker frame
constexpr double kEpsilonMm = 1e-6;
constexpr double kNone = std::numeric_limits<double>::infinity();

// A shape cut into grid rows: the x extent of the outline inside each row (row 0 at the
// shape's lowest y), and the same extents widened by the clearance a piece keeps to its
// neighbours: kGapMm along the roll and one row across it (so wide[] has one row more on
// either side: wide[r + 1] belongs to row r).
struct CRowProfile {
    int nRows = 0;
    std::vector<std::pair<double, double>> rows; // kNone, -kNone where the row is empty
    std::vector<std::pair<double, double>> wide;
};

CRowProfile ProfileOf(const CPolyline& shape, int nRows) {
    CRowProfile prof;
    prof.nRows = nRows;
    prof.rows.assign(static_cast<size_t>(nRows), {kNone, -kNone});
    for (size_t i = 0; i + 1 < shape.size(); ++i) {
        const CPt a = shape[i];
        const CPt b = shape[i + 1];
        const double y0 = std::min(a.y, b.y);
        const double y1 = std::max(a.y, b.y);
        const int r0 = std::clamp(static_cast<int>(y0 / kCellMm), 0, nRows - 1);
        const int r1 = std::clamp(static_cast<int>(y1 / kCellMm), 0, nRows - 1);
        for (int r = r0; r <= r1; ++r) {
            // The part of the edge inside the row, by its end points.
            auto& [lo, hi] = prof.rows[static_cast<size_t>(r)];
            for (const double y : {std::max(y0, r * kCellMm), std::min(y1, (r + 1) * kCellMm)}) {
                const double t = y1 > y0 ? std::clamp((y - a.y) / (b.y - a.y), 0.0, 1.0) : 0.0;
                lo = std::min(lo, a.x + (b.x - a.x) * t);
                hi = std::max(hi, a.x + (b.x - a.x) * t);
            }
        }
    }
    prof.wide.assign(static_cast<size_t>(nRows + 2), {kNone, -kNone});
    for (int r = 0; r < nRows; ++r) {
        const auto [lo, hi] = prof.rows[static_cast<size_t>(r)];
        for (int k = r; k <= r + 2; ++k) {
            auto& w = prof.wide[static_cast<size_t>(k)];
            w = {std::min(w.first, lo - kGapMm), std::max(w.second, hi + kGapMm)};
        }
    }
    return prof;
}

struct CInstance {
    size_t nPiece;
    int nCopy;
    double dArea;
};

// A piece turned as a placement says (its shift left out): the lowest x and y of the turned
// outline, and the row profile of the outline moved to start at 0, 0.
struct COriented {
    CPt corner;
    CRowProfile profile;
};

COriented Orient(const CPiece& piece, const CPlacement& pl) {
    CPlacement turn = pl;
    turn.shift = {};
    CPolyline shape = turn.Apply(piece.outline);
    COriented o{{kNone, kNone}, {}};
    double maxY = -kNone;
    for (const CPt& p : shape) {
        o.corner = {std::min(o.corner.x, p.x), std::min(o.corner.y, p.y)};
        maxY = std::max(maxY, p.y);
    }
    for (CPt& p : shape)
        p = p - o.corner;
    o.profile = ProfileOf(shape, static_cast<int>(std::ceil((maxY - o.corner.y) / kCellMm)));
    return o;
}

// The pieces already placed, as the x intervals they take in every grid row.
class COccupancy {
public:
    explicit COccupancy(int nRows) : m_arrRows(static_cast<size_t>(nRows)) {}
    int Rows() const { return static_cast<int>(m_arrRows.size()); }

    // The lowest x >= x0 at which the shape, its row 0 on grid row y0, keeps its clearance
    // to everything placed: every conflict moves it past the interval in the way.
    double FirstFree(const CRowProfile& prof, int y0, double x0) const {
        double x = x0;
        for (bool bMoved = true; bMoved;) {
            bMoved = false;
            for (int r = -1; r <= prof.nRows; ++r) {
                const int g = y0 + r;
                const auto [lo, hi] = prof.wide[static_cast<size_t>(r + 1)];
                if (g < 0 || g >= Rows() || lo == kNone)
                    continue;
                const double end = Blocking(g, x + lo, x + hi);
                if (end != -kNone) {
                    x = end - lo;
                    bMoved = true;
                }
            }
        }
        return x;
    }

    void Occupy(const CRowProfile& prof, int y0, double x) {
        for (int r = 0; r < prof.nRows; ++r) {
            const auto [lo, hi] = prof.rows[static_cast<size_t>(r)];
            if (lo == kNone)
                continue;
            auto& row = m_arrRows[static_cast<size_t>(y0 + r)];
            row.insert(std::upper_bound(row.begin(), row.end(), std::pair{x + lo, x + hi}),
                       {x + lo, x + hi});
        }
    }

private:
    // The end of the last interval of row g (sorted by start) overlapping [a, b], or -kNone.
    double Blocking(int g, double a, double b) const {
        double end = -kNone;
        for (const auto& [from, to] : m_arrRows[static_cast<size_t>(g)]) {
            if (from >= b)
                break;
            if (to > a + kEpsilonMm) // touching is not overlapping, despite rounding
                end = std::max(end, to);
        }
        return end;
    }

    std::vector<std::vector<std::pair<double, double>>> m_arrRows;
};

struct CCandidate {
    double dX = kNone;
    int nRow = 0;
    CPlacement placement;
    CRowProfile profile;
};

// The lowest place along the roll where the piece fits, in either orientation.
CCandidate BestPlacement(const CPiece& piece, int nCopy, const COccupancy& occ) {
    CCandidate best;
    for (const bool bHalfTurn : {false, true}) {
        CPlacement pl;
        pl.bMirror = piece.bMirroredPair && nCopy == 1;
        pl.bHalfTurn = bHalfTurn;
        const COriented o = Orient(piece, pl);
        for (int y0 = 0; y0 + o.profile.nRows <= occ.Rows(); ++y0) {
            const double x = occ.FirstFree(o.profile, y0, kMarginMm);
            if (x < best.dX) {
                best.dX = x;
                best.nRow = y0;
                best.placement = pl;
                best.placement.shift = CPt{x, kMarginMm + y0 * kCellMm} - o.corner;
                best.profile = o.profile;
            }
        }
    }
    return best;
}

} // namespace

double CMarker::Efficiency() const {
    double area = 0.0;
    for (const CPlacedPiece& p : arrPlaced)
        area += arrPieces[p.nPiece].Area();
    return dWidthMm > 0 && dLengthMm > 0 ? area / (dWidthMm * dLengthMm) : 0.0;
}

CMarker NestMarker(const std::vector<std::string>& arrSizes, double dWidthMm) {
    CMarker m;
    m.dWidthMm = dWidthMm;
    m.arrSizes = arrSizes;
    // One set of pattern pieces per size, however many garments of it the marker cuts.
    std::map<std::string, std::pair<size_t, size_t>> setOfSize; // first piece, count
    std::vector<CInstance> instances;
    for (const std::string& size : arrSizes) {
        auto [it, bNew] = setOfSize.try_emplace(size, m.arrPieces.size(), 0);
        if (bNew) {
            for (CPiece& p : ShirtDressPieces(size)) {
                m.arrPieces.push_back(std::move(p));
                ++it->second.second;
            }
        }
        for (size_t k = 0; k < it->second.second; ++k) {
            const size_t i = it->second.first + k;
            for (int c = 0; c < m.arrPieces[i].nCopies; ++c)
                instances.push_back({i, c, m.arrPieces[i].Area()});
        }
    }
    std::stable_sort(instances.begin(), instances.end(),
                     [](const CInstance& a, const CInstance& b) { return a.dArea > b.dArea; });

    COccupancy occ(static_cast<int>((dWidthMm - 2 * kMarginMm) / kCellMm));
    for (const CInstance& inst : instances) {
        const CCandidate c = BestPlacement(m.arrPieces[inst.nPiece], inst.nCopy, occ);
        if (c.dX == kNone)
            continue; // wider than the roll: left out
        occ.Occupy(c.profile, c.nRow, c.dX);
        m.arrPlaced.push_back({inst.nPiece, inst.nCopy, c.placement});
    }
    double end = 0.0;
    for (const CPlacedPiece& p : m.arrPlaced) {
        for (const CPt& q : p.placement.Apply(m.arrPieces[p.nPiece].outline))
            end = std::max(end, q.x);
    }
    m.dLengthMm = std::ceil((end + kMarginMm) / 10.0) * 10.0;
    return m;
}

} // namespace inkvale::samplegen
