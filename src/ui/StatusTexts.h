// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace inkvale {

/// Background colours of the status panes, Windows colour values 0x00BBGGRR.
inline constexpr uint32_t kPaneGrey = 0xF0F0F0;
inline constexpr uint32_t kPaneGreen = 0x00FF00;
inline constexpr uint32_t kPaneYellow = 0x00FFFF;
inline constexpr uint32_t kPaneRed = 0x0000FF;

/// Text and colour of one status pane.
struct CPaneText {
    std::string m_strText; ///< UTF-8
    uint32_t m_nColour = kPaneGrey;
    bool operator==(const CPaneText&) const = default;
};

/// What the machine-state pane shows.
struct CStatePane {
    CPaneText m_pane;
    bool m_bDrawProgress = false; ///< the preview marks the last confirmed band
};

/// The machine-state pane for a state byte, language and progress. Offline (bOnline false)
/// wins over the state byte. The progress is nLastBandDone x 100 / nBandCount (0 when
/// nBandCount is 0).
CStatePane StatePaneText(int nState, bool bOnline, int32_t nLanguage, int32_t nBandCount,
                         int32_t nLastBandDone);

/// Pane 601: the mouse position, x and y in plotter units (40 per mm).
std::string MousePositionText(int32_t nLanguage, int32_t nX, int32_t nY);
/// Pane 603: the carriage position, X in feed steps, Y in carriage pixels; a zero scale
/// shows 0 instead of dividing by it.
std::string PositionText(int32_t nPosX, int32_t nPosY, uint32_t nFeedStepBase,
                         uint32_t nXDotsPerMetre);
/// Pane 604: the machine address (first octet in the lowest byte).
std::string MachineIpText(int32_t nLanguage, uint32_t nIP);
/// Pane 605: the computer's addresses, at most ten, as "(1)a.b.c.d (2)...".
std::string LocalIpText(int32_t nLanguage, const std::string& strList);
/// Joins up to ten dotted addresses as "(%d)%s " slots.
std::string JoinLocalAddresses(const std::vector<std::string>& arrAddresses);

/// Converts a Windows colour value 0x00BBGGRR into 0xRRGGBB.
inline uint32_t ColourRefToRgb(uint32_t c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

} // namespace inkvale
