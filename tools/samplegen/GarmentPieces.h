// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PatternGeometry.h"

#include <string>
#include <vector>

namespace inkvale::samplegen {

/// A notch: a short cut from the edge point into the piece.
struct CNotch {
    CPt at;
    CPt inward; ///< unit vector into the piece
};

/// One pattern piece of one size, in millimetres, grain line along x.
struct CPiece {
    std::string strCode;              ///< English piece name, "FRONT"
    std::string strNameZh;            ///< Chinese piece name (UTF-8)
    std::string strNameZhB;           ///< name of the mirrored copy of a pair, empty if the same
    std::string strSize;              ///< "M"
    int nCopies = 1;                  ///< pieces cut per garment
    bool bMirroredPair = false;       ///< the second copy is the mirror image (left and right)
    double dTextMm = 10.0;            ///< label height
    CPolyline outline;                ///< closed, counter-clockwise
    std::vector<CPolyline> arrInner;  ///< darts, slits: solid internal lines
    std::vector<CPolyline> arrDashed; ///< fold and stitch lines
    std::vector<CNotch> arrNotches;
    std::vector<CPt> arrDrillHoles;   ///< drawn as small circles
    std::vector<CPt> arrDrillCrosses; ///< drawn as small crosses
    CPt grainFrom;                    ///< grain line, grainFrom.x < grainTo.x
    CPt grainTo;
    CPt labelAt; ///< lower left corner of the label block; its lines run along +x

    /// A notch cut where the outline passes closest to p (bDouble: two notches 6 mm apart,
    /// the back's mark).
    void AddNotch(CPt p, bool bDouble = false);
    double Area() const;
};

/// The style every sample marker cuts: a shirt dress with a waist seam.
inline constexpr const char* kStyle = "KV-2317";

/// The pieces of one garment of the given size ("XS" ... "XXL"), graded from size M.
std::vector<CPiece> ShirtDressPieces(const std::string& strSize);

} // namespace inkvale::samplegen
