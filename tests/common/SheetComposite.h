// SPDX-License-Identifier: GPL-3.0-or-later
// The sheets a machine printed for one job, laid together at the places of their first
// bands, against the render of the whole job: what the interruption harnesses compare.
#pragma once

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace inkvale::test {

/// One bit per pixel: the sheets laid together (a pixel has ink when any sheet has it there).
class CSheetComposite {
public:
    /// A sheet of nWidth feed pixels by nHeight carriage columns whose pixel (x, y) has ink
    /// when bInk(x, y), its first column at feed pixel nOffset.
    template <class FInk>
    void Add(int nWidth, int nHeight, int64_t nOffset, FInk bInk) {
        if (m_nHeight == 0)
            m_nHeight = nHeight;
        ASSERT_EQ(nHeight, m_nHeight);
        Grow(nOffset + nWidth);
        for (int y = 0; y < nHeight; ++y) {
            for (int x = 0; x < nWidth; ++x) {
                if (bInk(x, y))
                    m_bits[Index(y, nOffset + x)] = 1;
            }
        }
    }
    void Add(const QImage& sheet, int64_t nOffset) {
        const QImage mono = sheet.convertToFormat(QImage::Format_Mono);
        const int nInk = qGray(mono.color(1)) < 128 ? 1 : 0;
        Add(mono.width(), mono.height(), nOffset, [&](int x, int y) {
            return ((mono.constScanLine(y)[x >> 3] >> (7 - (x & 7))) & 1) == nInk;
        });
    }
    bool Ink(int y, int64_t x) const { return x < m_nWidth && m_bits[Index(y, x)] != 0; }
    int64_t Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    void Clear() { *this = CSheetComposite(); }

private:
    size_t Index(int y, int64_t x) const {
        return static_cast<size_t>(y) * static_cast<size_t>(m_nWidth) + static_cast<size_t>(x);
    }
    void Grow(int64_t nWidth) {
        if (nWidth <= m_nWidth)
            return;
        std::vector<uint8_t> bits(static_cast<size_t>(nWidth) * static_cast<size_t>(m_nHeight), 0);
        for (int y = 0; y < m_nHeight; ++y)
            std::copy_n(m_bits.begin() + static_cast<std::ptrdiff_t>(Index(y, 0)), m_nWidth,
                        bits.begin() + static_cast<std::ptrdiff_t>(y * nWidth));
        m_bits = std::move(bits);
        m_nWidth = nWidth;
    }

    std::vector<uint8_t> m_bits;
    int64_t m_nWidth = 0;
    int m_nHeight = 0;
};

/// The pixels where the render of the whole job (ink dark) and the composite differ, ink
/// beyond the render's end included; the render's ink pixels to *pInk.
inline int64_t DifferingPixels(const QImage& whole, const CSheetComposite& composite,
                               int64_t* pInk = nullptr) {
    const QImage mono = whole.convertToFormat(QImage::Format_Mono);
    const int nInk = qGray(mono.color(1)) < 128 ? 1 : 0;
    int64_t nDiffer = 0, nInkPixels = 0;
    const int nRows = std::max(mono.height(), composite.Height());
    for (int y = 0; y < nRows; ++y) {
        const uchar* p = y < mono.height() ? mono.constScanLine(y) : nullptr;
        const bool bRow = y < composite.Height();
        for (int64_t x = 0; x < std::max<int64_t>(mono.width(), composite.Width()); ++x) {
            const bool bWhole =
                p != nullptr && x < mono.width() && ((p[x >> 3] >> (7 - (x & 7))) & 1) == nInk;
            nInkPixels += bWhole ? 1 : 0;
            nDiffer += bWhole != (bRow && composite.Ink(y, x)) ? 1 : 0;
        }
    }
    if (pInk != nullptr)
        *pInk = nInkPixels;
    return nDiffer;
}

} // namespace inkvale::test
