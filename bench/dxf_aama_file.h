// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Writes an R12 DXF marker in the manner of AAMA garment exports: every pattern piece is a
// BLOCK (boundary POLYLINE of VERTEXes, grain line and notch LINEs, five or six TEXT
// annotations), the marker lays each piece seven or eight times by INSERT (some turned half
// round), and a drill CIRCLE sits beside every laid piece. The lay is 2.2 m across and
// 20 m along, so it is wider than the default 2.1 m roll. Deterministic for a given size;
// at 20 MB it holds about 1,570 blocks, 12,000 INSERTs, 236,000 vertices, 12,000 circles
// and 9,200 texts.

#include "dxf_pair_writer.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

namespace inkvale::bench {

/// What the writer put in the file.
struct CDxfAamaCounts {
    int m_nBlocks = 0;
    int m_nInserts = 0;
    int m_nVertices = 0;
    int m_nCircles = 0;
    int m_nTexts = 0;
};

class CDxfAamaWriter : public CDxfPairWriter {
public:
    explicit CDxfAamaWriter(size_t nTargetBytes)
        : CDxfPairWriter(20240611), m_nTarget(nTargetBytes) {}

    std::string Build() {
        m_s.reserve(m_nTarget + (1 << 20));
        Header();
        Blocks();
        Entities();
        return std::move(m_s);
    }
    const CDxfAamaCounts& Counts() const { return m_counts; }

private:
    static constexpr double kWidthMm = 2200;
    static constexpr double kLengthMm = 20000;
    // The entities after the blocks take about a twelfth of the file.
    static constexpr double kBlockShare = 0.915;

    void Header() {
        Pair(0, "SECTION");
        Pair(2, "HEADER");
        Pair(9, "$ACADVER");
        Pair(1, "AC1009");
        Pair(0, "ENDSEC");
    }

    void Text(double x, double y, const std::string& text) {
        Pair(0, "TEXT");
        Pair(8, "1");
        Real(10, x);
        Real(20, y);
        Real(40, 3.0);
        Pair(1, text);
        ++m_counts.m_nTexts;
    }
    void Line(double x1, double y1, double x2, double y2, const char* pszLayer) {
        Pair(0, "LINE");
        Pair(8, pszLayer);
        Real(10, x1);
        Real(20, y1);
        Real(11, x2);
        Real(21, y2);
    }

    /// The closed boundary of a piece of radius r around the block origin.
    void Boundary(double r, int nVertices) {
        Pair(0, "POLYLINE");
        Pair(8, "1");
        Int(66, 1);
        Int(70, 1);
        const double wobble = 1 + std::floor(Next() * 5);
        for (int i = 0; i < nVertices; ++i) {
            const double a = 2 * std::numbers::pi * i / nVertices;
            const double rr = r * (0.85 + 0.1 * std::sin(wobble * a) + 0.02 * Next());
            Pair(0, "VERTEX");
            Pair(8, "1");
            Real(10, rr * std::cos(a));
            Real(20, rr * std::sin(a));
            Real(30, 0.0);
        }
        m_counts.m_nVertices += nVertices;
        Pair(0, "SEQEND");
    }

    void Block(int nBlock) {
        const double r = 60 + 160 * Next();
        m_arrRadius.push_back(r);
        Pair(0, "BLOCK");
        Pair(8, "1");
        Pair(2, "P" + std::to_string(nBlock));
        Int(70, 0);
        Real(10, 0.0);
        Real(20, 0.0);
        Boundary(r, 60 + static_cast<int>(180 * Next()));
        Line(-r / 2, 0, r / 2, 0, "7"); // grain line
        for (int k = 0; k < 6; ++k) {   // notches on the boundary
            const double a = 2 * std::numbers::pi * k / 6;
            Line(0.8 * r * std::cos(a), 0.8 * r * std::sin(a), 0.9 * r * std::cos(a),
                 0.9 * r * std::sin(a), "4");
        }
        const char* aLabel[] = {"Piece Name: P", "Size: 38 #",    "Quantity: 2 #",
                                "Material: A #", "Category: F #", "Annotation: grain #"};
        const int nTexts = nBlock % 6 < 5 ? 6 : 5;
        for (int k = 0; k < nTexts; ++k)
            Text(-r / 3, r / 3 - 6 * k, aLabel[k] + std::to_string(nBlock));
        Pair(0, "ENDBLK");
        Pair(8, "1");
        ++m_counts.m_nBlocks;
    }

    void Blocks() {
        Pair(0, "SECTION");
        Pair(2, "BLOCKS");
        for (int i = 0; static_cast<double>(m_s.size()) < m_nTarget * kBlockShare; ++i)
            Block(i);
        Pair(0, "ENDSEC");
    }

    void Insert(int nBlock) {
        const double r = m_arrRadius[static_cast<size_t>(nBlock)];
        const double x = r + (kLengthMm - 2 * r) * Next();
        const double y = r + (kWidthMm - 2 * r) * Next();
        Pair(0, "INSERT");
        Pair(8, "1");
        Pair(2, "P" + std::to_string(nBlock));
        Real(10, x);
        Real(20, y);
        if (Next() < 0.3)
            Real(50, 180.0);
        ++m_counts.m_nInserts;
        if (m_counts.m_nInserts == 1)
            return; // the first piece has no drill hole
        Pair(0, "CIRCLE");
        Pair(8, "13");
        Real(10, x + r / 4);
        Real(20, y);
        Real(40, 2.0 + 3.0 * Next());
        ++m_counts.m_nCircles;
    }

    void Entities() {
        Pair(0, "SECTION");
        Pair(2, "ENTITIES");
        for (int i = 0; i < m_counts.m_nBlocks; ++i) {
            const int nCopies = i % 20 < 13 ? 8 : 7;
            for (int k = 0; k < nCopies; ++k)
                Insert(i);
        }
        Pair(0, "ENDSEC");
        Pair(0, "EOF");
    }

    size_t m_nTarget;
    std::vector<double> m_arrRadius;
    CDxfAamaCounts m_counts;
};

} // namespace inkvale::bench
