// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace inkvale {

/// Reads one escape sequence of the printer languages that drivers wrap around HP-GL/2, a
/// byte at a time after the ESC: PCL and RTL (ESC E, ESC%#A/B, ESC&l#A, ESC*r#A, ESC*b#W
/// with its data, combined sequences such as ESC*r1u5000S), the universal exit language
/// (ESC%-12345X, after which PJL lines may follow) and the RS-232 device controls of pen
/// plotters (ESC.I81;;17:).
class CHpglEscape {
public:
    enum class EStep : uint8_t {
        kMore,         ///< the sequence goes on
        kDone,         ///< the byte ended the sequence
        kDoneUnread,   ///< the sequence ended before this byte, which is read as usual
        kData,         ///< ended; DataBytes() bytes of binary data follow
        kExitLanguage, ///< ended with the universal exit language: PJL lines may follow
    };

    /// Longest value field read; a longer one ends the sequence.
    static constexpr int kMaxValueChars = 24;

    void Begin();
    EStep Step(uint8_t c);
    int64_t DataBytes() const { return m_nData; }
    /// ESC*r#A: the sequence started raster graphics (an RTL raster section).
    bool StartedRaster() const { return m_bStartRaster; }
    /// ESC*rB or ESC*rC: the sequence ended raster graphics.
    bool EndedRaster() const { return m_bEndRaster; }
    /// The sequence was an ESC*b#W row of raster data.
    bool RasterRow() const { return m_bRasterRow; }

private:
    enum class EState : uint8_t { kFirst, kPercent, kDevice, kDeviceParams, kGroup, kValue };

    EStep StepValue(uint8_t c);
    EStep EndParameter(uint8_t c);

    EState m_eState = EState::kFirst;
    uint8_t m_chFamily = 0; // '*', '&', '(', ')' or '%'
    uint8_t m_chGroup = 0;  // the lower-case group letter, 0 when none
    int m_nValueChars = 0;
    int64_t m_nValue = 0;
    bool m_bNegative = false;
    bool m_bFraction = false;
    int64_t m_nData = 0;
    bool m_bStartRaster = false;
    bool m_bEndRaster = false;
    bool m_bRasterRow = false;
};

} // namespace inkvale
