// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MarkerNesting.h"

#include <string>

namespace inkvale::samplegen {

/// Writes the marker as garment CAD plots it in HP-GL: "IN;SP1;", the frame, then piece by
/// piece one "PU...;PD...;" group per line (outline, dashed fold and stitch lines between
/// "LT2,4;" and "LT;", darts, notches, drill holes, grain line with arrow heads) and the
/// labels as "LB" texts in GB2312 ended by ETX, "PG;" at the end. 40 units per millimetre;
/// x along the roll, y across it. strError says what failed.
bool WriteHpglMarker(const CMarker& marker, const std::string& strPath, std::string& strError);

/// Writes the marker as an AAMA-style R12 DXF in millimetres with CRLF line ends: one BLOCK
/// per cut piece (outline on layer 1, notches on 4, grain line on 7, internal lines and
/// drill holes on 8, the piece texts), an INSERT of each in ENTITIES with the frame. The
/// blocks hold the pieces at their marker positions; every INSERT is at 0,0.
bool WriteDxfMarker(const CMarker& marker, const std::string& strPath, std::string& strError);

} // namespace inkvale::samplegen
