// SPDX-License-Identifier: GPL-3.0-or-later
// dxflib_curves FILE: the reference for dxf_compare.sh. Reads a DXF with dxflib (Debian
// libdxflib-dev), makes the same curves as inkvale-cli curves (LINE, CIRCLE, POLYLINE,
// INSERT of a block at its own coordinates; texts are not drawn) and prints them in the
// same format: "curves N", then "PEN LINETYPE X,Y X,Y ..." per curve in 1/40 mm.
// dxflib_curves --parse-only FILE: only DL_Dxf::in with an interface that keeps nothing,
// the plain parser's own speed.

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using Curve = std::vector<std::pair<int, int>>;

/// A curve, or (when m_strInsert is set) the insertion of a block.
struct Item {
    Curve m_curve;
    std::string m_strInsert;
};

class CCollector : public DL_CreationAdapter {
public:
    void addBlock(const DL_BlockData& data) override { m_pCurrent = &m_blocks[data.name]; }
    void endBlock() override { m_pCurrent = &m_top; }
    void addLine(const DL_LineData& d) override {
        m_pCurrent->push_back({{P(d.x1, d.y1), P(d.x2, d.y2)}, {}});
    }
    void addCircle(const DL_CircleData& d) override {
        const int n = std::max(8, static_cast<int>(d.radius * 6.28318530718));
        Item item;
        for (int i = 0; i <= n; ++i) {
            const double a = 2.0 * i * 3.14159265359 / n;
            item.m_curve.push_back(P(d.cx + d.radius * std::cos(a), d.cy + d.radius * std::sin(a)));
        }
        m_pCurrent->push_back(std::move(item));
    }
    void addPolyline(const DL_PolylineData& d) override {
        m_pCurrent->emplace_back();
        m_bClosed = (d.flags & 1) != 0;
    }
    void addVertex(const DL_VertexData& d) override {
        if (!m_pCurrent->empty())
            m_pCurrent->back().m_curve.push_back(P(d.x, d.y));
    }
    void endSequence() override {
        if (m_bClosed && !m_pCurrent->empty() && !m_pCurrent->back().m_curve.empty())
            m_pCurrent->back().m_curve.push_back(m_pCurrent->back().m_curve.front());
        m_bClosed = false;
    }
    void addInsert(const DL_InsertData& d) override { m_pCurrent->push_back({{}, d.name}); }

    /// The curves of a list with its insertions expanded (at most 8 levels deep).
    void Expand(const std::vector<Item>& items, std::vector<Curve>& out, int nDepth) const {
        for (const Item& item : items) {
            if (item.m_strInsert.empty()) {
                if (!item.m_curve.empty())
                    out.push_back(item.m_curve);
                continue;
            }
            const auto it = m_blocks.find(item.m_strInsert);
            if (it != m_blocks.end() && nDepth < 8)
                Expand(it->second, out, nDepth + 1);
        }
    }
    std::vector<Item> m_top;

private:
    static std::pair<int, int> P(double x, double y) {
        return {static_cast<int>(x * 40), static_cast<int>(y * 40)};
    }
    std::map<std::string, std::vector<Item>> m_blocks;
    std::vector<Item>* m_pCurrent = &m_top;
    bool m_bClosed = false;
};

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--parse-only") {
        DL_CreationAdapter ignore;
        DL_Dxf dxf;
        return dxf.in(argv[2], &ignore) ? 0 : 1;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: dxflib_curves [--parse-only] FILE\n");
        return 2;
    }
    CCollector collector;
    DL_Dxf dxf;
    if (!dxf.in(argv[1], &collector)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<Curve> curves;
    collector.Expand(collector.m_top, curves, 0);
    std::string out = "curves " + std::to_string(curves.size()) + "\n";
    for (const Curve& c : curves) {
        out += "1 0";
        for (const auto& [x, y] : c)
            out += " " + std::to_string(x) + "," + std::to_string(y);
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
