// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GarmentPieces.h"

#include <string>
#include <vector>

namespace inkvale::samplegen {

/// One cut piece on the marker: which pattern piece, which of its copies, where.
struct CPlacedPiece {
    size_t nPiece = 0; ///< index into CMarker::arrPieces
    int nCopy = 0;     ///< 0 or 1 for a pair
    CPlacement placement;
};

/// A marker: the pieces of some garments laid out on a roll of the given width, grain lines
/// along the roll.
struct CMarker {
    double dWidthMm = 0.0;
    double dLengthMm = 0.0;
    std::vector<std::string> arrSizes; ///< one entry per garment ("M", "M", "L" ...)
    std::vector<CPiece> arrPieces;
    std::vector<CPlacedPiece> arrPlaced;

    /// Share of the marker's area covered by pieces.
    double Efficiency() const;
};

/// Lays out every piece of one garment per entry of arrSizes on a roll dWidthMm wide,
/// largest pieces first, each at the lowest position along the roll it fits (in either of
/// its two grain-preserving orientations). The marker's length is rounded up to 10 mm.
CMarker NestMarker(const std::vector<std::string>& arrSizes, double dWidthMm);

} // namespace inkvale::samplegen
