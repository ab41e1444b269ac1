// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace inkvale::sim {

/// A one-bit picture of what the machine printed: column = feed pixel of the job, row =
/// carriage column, the geometry of `inkvale-cli render`.
struct CSimSheetImage {
    int m_nWidth = 0;  ///< feed pixels
    int m_nHeight = 0; ///< carriage columns
    /// One bit per pixel, 1 = ink, row-major; each row starts on a byte (RowBytes), the
    /// leftmost pixel in the most significant bit, unused bits 0. Whole markers are
    /// gigapixel sheets, so bytes per pixel would not do.
    std::vector<uint8_t> m_pixels;

    size_t RowBytes() const { return (static_cast<size_t>(m_nWidth) + 7) / 8; }
    bool Empty() const { return m_nWidth == 0 || m_nHeight == 0; }
    bool Ink(int x, int y) const {
        return x >= 0 && y >= 0 && x < m_nWidth && y < m_nHeight &&
               (m_pixels[static_cast<size_t>(y) * RowBytes() + static_cast<size_t>(x) / 8] &
                (0x80u >> (x % 8))) != 0;
    }
    void SetInk(int x, int y) {
        m_pixels[static_cast<size_t>(y) * RowBytes() + static_cast<size_t>(x) / 8] |=
            static_cast<uint8_t>(0x80u >> (x % 8));
    }
    int64_t InkCount() const;
};

/// Writes the sheet as a one-bit PNG (ink black on white); false when it cannot be written.
bool WriteSheetPng(const CSimSheetImage& sheet, const std::string& strPath);

} // namespace inkvale::sim
