// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>

namespace inkvale {

class CMachineParams;
struct CSettings;

/// Everything the band rasteriser and the print-head formatter read: the head layout of
/// the machine parameter block and the four settings of the special bands. A plain copy
/// taken at job start, so a job is not disturbed by later edits of the block or settings.
/// Defaults are the parameter block's built-in values with every setting off.
struct CBandParams {
    // Machine parameter block (edit copy).
    int m_nHeadCombination = 0;        ///< 0 "1#+2#", 1 "1#", 2 "2#", 3 "1#+2#+3#+4#", 4 "1#+2#+3#"
    int m_nLineWidthPx = 1;            ///< stroke width and margin around the drawing, pixels
    uint32_t m_nXDotsPerMetre = 24612; ///< carriage pixels per 1000 mm
    std::array<int, 4> m_arrHeadPos = {10, 180, 0, 0};     ///< heads 1#..4#, carriage pixels
    std::array<int, 3> m_arrHeadOverlap = {0, 0, 0};       ///< nozzle rows shared by 1/2, 2/3, 3/4
    std::array<int, 4> m_arrReturnJoin = {10, 10, 10, 10}; ///< return-pass correction, pixels
    bool m_bBidirectional = true;
    int m_nInkColumns = 0;       ///< 0 both nozzle columns, 1 left only, 2 right only
    int m_nMarginLeftMm = 20;    ///< width of the left edge zone of the edge adjustment
    int m_nMarginRightMm = 20;   ///< width of the right edge zone
    int m_nEdgeAdjustLeft = 0;   ///< return bands: columns the left edge zone moves earlier
    int m_nEdgeAdjustRight = 0;  ///< forward bands: columns the right edge zone moves later
    bool m_bPreciseMode = false; ///< every band printed twice at half-band steps

    // Settings.
    bool m_bSpAutoClean = false;   ///< band 0 prints the head-cleaning pattern
    bool m_bPrintFileName = false; ///< the last band prints the file-name label
    int m_nIBCleanThickness = 3;   ///< thickness of the cleaning bars (1 to 5)
    std::string m_strCustomString; ///< UTF-8 logo text of the cleaning pattern
    int m_nLanguage = 0;           ///< 0 Chinese label text, any other value English

    /// Local time printed in the label; 0 means the moment the label band is rendered.
    std::time_t m_tLabelTime = 0;

    /// The first band the machine is sent, for a job that continues an interrupted one.
    /// Band numbers stay those of the whole job, but the machine counts its own bands from
    /// 0 and chooses each pass's direction by that count, so the directions follow it.
    int64_t m_nFirstBand = 0;
};

/// The raster inputs of a job from the edit copy of the parameter block and the settings.
CBandParams MakeBandParams(const CMachineParams& machine, const CSettings& settings);

/// The parameter-block part only (settings at their "off" values): what a machine, which
/// knows nothing of the host's settings, needs to place and decode band data.
CBandParams MakeBandParams(const CMachineParams& machine);

} // namespace inkvale
