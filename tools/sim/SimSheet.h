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
    int m_nWidth = 0;              ///< feed pixels
    int m_nHeight = 0;             ///< carriage columns
    std::vector<uint8_t> m_pixels; ///< row-major, 1 = ink

    bool Empty() const { return m_nWidth == 0 || m_nHeight == 0; }
    bool Ink(int x, int y) const {
        return x >= 0 && y >= 0 && x < m_nWidth && y < m_nHeight &&
               m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_nWidth) +
                        static_cast<size_t>(x)] != 0;
    }
    int InkCount() const;
};

/// Writes the sheet as a one-bit PNG (ink black on white); false when it cannot be written.
bool WriteSheetPng(const CSimSheetImage& sheet, const std::string& strPath);

} // namespace inkvale::sim
