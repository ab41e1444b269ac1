// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Writes a realistic ASCII DXF for the DXF benchmarks: AutoCAD R12 layout with padded
// group codes and CR LF line ends, a HEADER, TABLES (LTYPE, LAYER, STYLE), BLOCKS of
// garment pieces (POLYLINE/VERTEX outlines, internal LINEs, TEXT labels) and ENTITIES with
// LINE, CIRCLE, TEXT and one INSERT per block. Deterministic for a given size.

#include "dxf_pair_writer.h"
#include <algorithm>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace inkvale::bench {

class CDxfBenchWriter : public CDxfPairWriter {
public:
    explicit CDxfBenchWriter(size_t nTargetBytes)
        : CDxfPairWriter(12345), m_nTarget(nTargetBytes) {}

    std::string Build() {
        m_s.reserve(m_nTarget + (1 << 20));
        Header();
        Tables();
        Blocks();
        Entities();
        return std::move(m_s);
    }

private:
    void Header() {
        Pair(0, "SECTION");
        Pair(2, "HEADER");
        Pair(9, "$ACADVER");
        Pair(1, "AC1009");
        Pair(9, "$INSUNITS");
        Int(70, 4);
        Pair(0, "ENDSEC");
    }

    void Tables() {
        Pair(0, "SECTION");
        Pair(2, "TABLES");
        Pair(0, "TABLE");
        Pair(2, "LTYPE");
        Int(70, 2);
        for (const char* name : {"CONTINUOUS", "DASHED"}) {
            Pair(0, "LTYPE");
            Pair(2, name);
            Int(70, 0);
            Pair(3, "");
            Int(72, 65);
            Int(73, 2);
            Real(40, 10.0);
            Real(49, 6.0);
            Real(49, -4.0);
        }
        Pair(0, "ENDTAB");
        Pair(0, "TABLE");
        Pair(2, "LAYER");
        Int(70, 16);
        for (int i = 0; i < 16; ++i) {
            Pair(0, "LAYER");
            Pair(2, std::to_string(i));
            Int(70, 0);
            Int(62, i == 15 ? -7 : 7);
            Pair(6, i % 4 == 3 ? "DASHED" : "CONTINUOUS");
        }
        Pair(0, "ENDTAB");
        Pair(0, "TABLE");
        Pair(2, "STYLE");
        Int(70, 1);
        Pair(0, "STYLE");
        Pair(2, "STANDARD");
        Int(70, 0);
        Real(40, 0.0);
        Real(41, 1.0);
        Pair(3, "txt");
        Pair(0, "ENDTAB");
        Pair(0, "ENDSEC");
    }

    void Text(double x, double y, const std::string& text) {
        Pair(0, "TEXT");
        Pair(8, "1");
        Real(10, x);
        Real(20, y);
        Real(30, 0.0);
        Real(40, 5.0);
        Real(50, 0.0);
        Pair(7, "STANDARD");
        Pair(1, text);
    }

    void Line(double x1, double y1, double x2, double y2, const char* pszLayer) {
        Pair(0, "LINE");
        Pair(8, pszLayer);
        Real(10, x1);
        Real(20, y1);
        Real(30, 0.0);
        Real(11, x2);
        Real(21, y2);
        Real(31, 0.0);
    }

    /// One outline run of a piece: a wobbly arc of vertices around (cx, cy).
    void Outline(double cx, double cy, double r, int nVertices) {
        Pair(0, "POLYLINE");
        Pair(8, "1");
        Int(66, 1);
        Int(70, 0);
        for (int i = 0; i < nVertices; ++i) {
            const double a = 6.283185307179586 * i / nVertices;
            const double rr = r * (0.9 + 0.2 * Next());
            Pair(0, "VERTEX");
            Pair(8, "1");
            Real(10, cx + rr * std::cos(a));
            Real(20, cy + rr * std::sin(a));
            Real(30, 0.0);
        }
        Pair(0, "SEQEND");
        Pair(8, "1");
    }

    void Blocks() {
        Pair(0, "SECTION");
        Pair(2, "BLOCKS");
        for (m_nBlocks = 0; m_nBlocks < 250 && m_s.size() < m_nTarget / 2; ++m_nBlocks) {
            const double cx = 300.0 + 500.0 * (m_nBlocks % 40);
            const double cy = 300.0 + 400.0 * (m_nBlocks / 40 % 4);
            Pair(0, "BLOCK");
            Pair(8, "1");
            Pair(2, "PIECE_" + std::to_string(m_nBlocks));
            Int(70, 64);
            Real(10, 0.0);
            Real(20, 0.0);
            Text(cx, cy, "Piece Name: P" + std::to_string(m_nBlocks));
            Text(cx, cy - 10, "SIZE: M");
            for (int k = 0; k < 8; ++k)
                Outline(cx, cy, 150.0 - 10.0 * k, 120);
            for (int k = 0; k < 20; ++k)
                Line(cx - 100 + 10 * k, cy - 50, cx - 100 + 10 * k, cy + 50, "8");
            Pair(0, "ENDBLK");
            Pair(8, "1");
        }
        Pair(0, "ENDSEC");
    }

    void Entities() {
        Pair(0, "SECTION");
        Pair(2, "ENTITIES");
        for (int i = 0; i < m_nBlocks; ++i) {
            Pair(0, "INSERT");
            Pair(8, "1");
            Pair(2, "PIECE_" + std::to_string(i));
            Real(10, 0.0);
            Real(20, 0.0);
        }
        for (int i = 0; m_s.size() < m_nTarget; ++i) {
            const double x = 20000.0 * Next();
            const double y = 1900.0 * Next();
            if (i % 50 == 0) {
                Text(x, y, "Marker note " + std::to_string(i));
            } else if (i % 10 == 0) {
                Pair(0, "CIRCLE");
                Pair(8, "2");
                Real(10, x);
                Real(20, y);
                Real(30, 0.0);
                Real(40, 2.0 + 20.0 * Next());
            } else {
                const double x2 = x + 50.0 * Next();
                Line(x, y, x2, std::min(y + 50.0 * Next(), 1999.0), "2");
            }
        }
        Pair(0, "ENDSEC");
        Pair(0, "EOF");
    }

    size_t m_nTarget;
    int m_nBlocks = 0;
};

/// The benchmark input of about nBytes bytes.
inline std::string MakeDxfBenchFile(size_t nBytes) {
    return CDxfBenchWriter(nBytes).Build();
}

} // namespace inkvale::bench
