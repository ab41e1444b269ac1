// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShapeEncoder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace inkvale::fontgen {

namespace {

// Direction nibble of a step along one of the 8 main directions, -1 for other steps.
int MainDirection(int dx, int dy) {
    const int sx = (dx > 0) - (dx < 0);
    const int sy = (dy > 0) - (dy < 0);
    if (dx != 0 && dy != 0 && std::abs(dx) != std::abs(dy))
        return -1;
    static const int kTable[3][3] = {{10, 8, 6}, {12, -1, 4}, {14, 0, 2}}; // [sx+1][sy+1]
    return kTable[sx + 1][sy + 1];
}

class CShapeWriter {
public:
    std::vector<uint8_t> m_bytes{0};

    void Vector(int dir, int length) {
        for (; length > 0; length -= 15)
            m_bytes.push_back(static_cast<uint8_t>(std::min(length, 15) << 4 | dir));
    }
    // Displacements limited to signed bytes; longer ones are cut into pieces on the line.
    void Displace(int dx, int dy) {
        const int pieces = std::max(1, (std::max(std::abs(dx), std::abs(dy)) + 126) / 127);
        int doneX = 0;
        int doneY = 0;
        for (int k = 1; k <= pieces; ++k) {
            const int x = dx * k / pieces;
            const int y = dy * k / pieces;
            m_run.push_back({x - doneX, y - doneY});
            doneX = x;
            doneY = y;
        }
    }
    void FlushRun() {
        if (m_run.size() == 1) {
            m_bytes.push_back(8);
            PushPair(m_run[0]);
        } else if (!m_run.empty()) {
            m_bytes.push_back(9);
            for (const CGlyphPoint& p : m_run)
                PushPair(p);
            m_bytes.push_back(0);
            m_bytes.push_back(0);
        }
        m_run.clear();
    }

private:
    void PushPair(const CGlyphPoint& p) {
        m_bytes.push_back(static_cast<uint8_t>(static_cast<int8_t>(p.x)));
        m_bytes.push_back(static_cast<uint8_t>(static_cast<int8_t>(p.y)));
    }
    std::vector<CGlyphPoint> m_run;
};

void EncodeSegments(CShapeWriter& w, const CStroke& stroke) {
    int runDir = -1;
    int runLength = 0;
    for (size_t i = 1; i < stroke.size(); ++i) {
        const int dx = stroke[i].x - stroke[i - 1].x;
        const int dy = stroke[i].y - stroke[i - 1].y;
        if (dx == 0 && dy == 0)
            continue;
        const int dir = MainDirection(dx, dy);
        if (dir != runDir || dir < 0) {
            w.Vector(runDir, runLength);
            runLength = 0;
        }
        runDir = dir;
        if (dir < 0) {
            w.Displace(dx, dy);
            continue;
        }
        w.FlushRun();
        runLength += std::max(std::abs(dx), std::abs(dy));
    }
    w.Vector(runDir, runLength);
    w.FlushRun();
}

void PutU16(std::vector<uint8_t>& out, unsigned v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>(v >> 8 & 0xFF));
}

void PutU32(std::vector<uint8_t>& out, unsigned v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

} // namespace

std::vector<uint8_t> EncodeShape(const std::vector<CStroke>& strokes) {
    if (strokes.empty())
        return {};
    CShapeWriter w;
    CGlyphPoint pos{0, 0};
    for (const CStroke& stroke : strokes) {
        w.m_bytes.push_back(2);
        if (!(stroke.front() == pos))
            w.Displace(stroke.front().x - pos.x, stroke.front().y - pos.y);
        w.FlushRun();
        w.m_bytes.push_back(1);
        if (stroke.size() == 1) {
            w.Vector(0, 1);
            pos = {stroke.front().x + 1, stroke.front().y};
            continue;
        }
        EncodeSegments(w, stroke);
        pos = stroke.back();
    }
    w.m_bytes.push_back(0);
    return w.m_bytes;
}

std::vector<uint8_t> BuildFontFile(const CFontImage& font) {
    std::vector<std::vector<uint8_t>> shapes;
    for (const CGlyph& g : font.m_arrGlyphs)
        shapes.push_back(EncodeShape(g.m_arrStrokes));
    std::vector<uint8_t> out;
    PutU16(out, font.m_nHeader1);
    PutU16(out, font.m_nHeader2);
    if (font.m_bSingleByte)
        PutU16(out, font.m_nHeader3);
    PutU32(out, static_cast<unsigned>(font.m_arrGlyphs.size()));
    const size_t recordSize = font.m_bSingleByte ? 10 : 8;
    size_t offset = out.size() + recordSize * font.m_arrGlyphs.size();
    for (size_t i = 0; i < font.m_arrGlyphs.size(); ++i) {
        PutU16(out, font.m_arrGlyphs[i].m_nCode);
        PutU16(out, static_cast<unsigned>(shapes[i].size()));
        if (font.m_bSingleByte)
            PutU16(out, font.m_arrGlyphs[i].m_nWidth);
        PutU32(out, static_cast<unsigned>(offset));
        offset += shapes[i].size();
    }
    for (const std::vector<uint8_t>& s : shapes)
        out.insert(out.end(), s.begin(), s.end());
    return out;
}

} // namespace inkvale::fontgen
