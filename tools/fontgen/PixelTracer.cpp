// SPDX-License-Identifier: GPL-3.0-or-later
#include "PixelTracer.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

namespace inkvale::fontgen {

namespace {

// The 8 directions in turning order, as (dx, dy) in glyph units (y up).
constexpr std::array<CGlyphPoint, 8> kDirs = {
    {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}}};

class CPixelGraph {
public:
    explicit CPixelGraph(const CBitmap16& bitmap) : m_bitmap(bitmap) {
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                for (int d = 0; d < 8; ++d)
                    m_edges[Index(x, y)][d] = HasJoin(x, y, d);
    }

    bool Set(int x, int y) const {
        if (x < 0 || x > 15 || y < 0 || y > 15)
            return false;
        return (m_bitmap[15 - y] >> (15 - x)) & 1;
    }
    int Degree(int x, int y) const {
        int n = 0;
        for (int d = 0; d < 8; ++d)
            n += m_edges[Index(x, y)][d] ? 1 : 0;
        return n;
    }
    bool Edge(int x, int y, int d) const { return m_edges[Index(x, y)][d]; }
    void UseEdge(int x, int y, int d) {
        m_edges[Index(x, y)][d] = false;
        m_edges[Index(x + kDirs[d].x, y + kDirs[d].y)][(d + 4) % 8] = false;
    }

private:
    static int Index(int x, int y) { return y * 16 + x; }
    bool HasJoin(int x, int y, int d) const {
        const int nx = x + kDirs[d].x;
        const int ny = y + kDirs[d].y;
        if (!Set(x, y) || !Set(nx, ny))
            return false;
        if (d % 2 == 0)
            return true;
        return !Set(nx, y) && !Set(x, ny);
    }

    const CBitmap16& m_bitmap;
    std::array<std::array<bool, 8>, 256> m_edges{};
};

// Follows unused joins from (x, y), going straight on where it can, otherwise taking the
// smallest turn, until the pixel has no unused join left.
CStroke Walk(CPixelGraph& graph, int x, int y) {
    CStroke stroke{{x, y}};
    int last = -1;
    for (;;) {
        int next = -1;
        for (int turn : {0, 1, -1, 2, -2, 3, -3, 4}) {
            const int d = last < 0 ? (turn + 8) % 8 : (last + turn + 8) % 8;
            if (graph.Edge(x, y, d)) {
                next = d;
                break;
            }
        }
        if (next < 0)
            return stroke;
        graph.UseEdge(x, y, next);
        x += kDirs[next].x;
        y += kDirs[next].y;
        stroke.push_back({x, y});
        last = next;
    }
}

// Strokes start at line ends (odd joins) first, so that each walk covers a whole line.
std::vector<CStroke> WalkAll(CPixelGraph& graph) {
    std::vector<CStroke> strokes;
    for (bool oddOnly : {true, false}) {
        for (int y = 15; y >= 0; --y) {
            for (int x = 0; x < 16; ++x) {
                while (graph.Degree(x, y) > 0 && (!oddOnly || graph.Degree(x, y) % 2 == 1))
                    strokes.push_back(Walk(graph, x, y));
            }
        }
    }
    return strokes;
}

int Distance(const CGlyphPoint& a, const CGlyphPoint& b) {
    return std::abs(a.x - b.x) + std::abs(a.y - b.y);
}

// Greedy nearest-neighbour order; a stroke may be drawn backwards.
std::vector<CStroke> OrderStrokes(std::vector<CStroke> strokes) {
    std::vector<CStroke> ordered;
    CGlyphPoint pos{0, 0};
    while (!strokes.empty()) {
        size_t best = 0;
        bool reverse = false;
        int bestDist = std::numeric_limits<int>::max();
        for (size_t i = 0; i < strokes.size(); ++i) {
            const int dFront = Distance(pos, strokes[i].front());
            const int dBack = Distance(pos, strokes[i].back());
            if (dFront < bestDist || dBack < bestDist) {
                best = i;
                reverse = dBack < dFront;
                bestDist = reverse ? dBack : dFront;
            }
        }
        CStroke s = std::move(strokes[best]);
        strokes.erase(strokes.begin() + static_cast<std::ptrdiff_t>(best));
        if (reverse)
            std::reverse(s.begin(), s.end());
        pos = s.back();
        ordered.push_back(std::move(s));
    }
    return ordered;
}

} // namespace

std::vector<CStroke> TraceBitmap(const CBitmap16& bitmap) {
    CPixelGraph graph(bitmap);
    std::vector<CStroke> strokes = WalkAll(graph);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (graph.Set(x, y) && graph.Degree(x, y) == 0) {
                bool joined = false;
                for (int d = 0; d < 8 && !joined; ++d)
                    joined = graph.Set(x + kDirs[d].x, y + kDirs[d].y);
                // The dash stays inside the cell.
                if (!joined)
                    strokes.push_back({{x, y}, {x < 15 ? x + 1 : x - 1, y}});
            }
        }
    }
    return OrderStrokes(std::move(strokes));
}

} // namespace inkvale::fontgen
