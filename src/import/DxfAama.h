// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "import/DxfGeometry.h"

#include <optional>
#include <string_view>
#include <vector>

// The marks of AAMA/ASTM garment exports (AAMA-292, ASTM D6673) that the CAD writes as
// points on numbered layers: drill holes (layer 13) and notches (layer 4). Turn and curve
// points (layers 2 and 3) only mark where the outline bends and are not drawn. The whole
// layer table is in docs/formats.md.

namespace inkvale {

/// What a POINT on a layer stands for in a garment export.
enum class EAamaPoint { kPlain, kTurnOrCurve, kNotch, kDrill };

EAamaPoint AamaPointKind(std::string_view layer);

/// Whether the layer holds a piece's boundary (1) or a CAD's own notch strokes (4, 80-83).
bool AamaBoundaryLayer(std::string_view layer);
bool AamaNotchLayer(std::string_view layer);

/// One piece's outline and the end points of the notch strokes the CAD drew, in the
/// coordinates of the block (or section) that holds them.
struct CAamaPiece {
    std::vector<std::pair<CDxfXY, CDxfXY>> m_arrBoundary;
    std::vector<CDxfXY> m_arrNotchEnds;
};

/// The slit of a notch at p: from p into the piece, dLength long, square to the nearest
/// boundary segment; none when the piece has no boundary or the CAD drew a notch there
/// itself (a notch stroke ends within dTolerance of p).
std::optional<std::pair<CDxfXY, CDxfXY>> AamaNotchSlit(const CAamaPiece& piece, CDxfXY p,
                                                       double dLength, double dTolerance);

} // namespace inkvale
