// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/TestPaths.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace inkvale::test {

/// DXF text from alternating group-code and value lines, each ended by strEol.
inline std::string DxfText(std::initializer_list<std::string_view> lines,
                           std::string_view strEol = "\n") {
    std::string s;
    for (std::string_view line : lines) {
        s += line;
        s += strEol;
    }
    return s;
}

/// A whole file: an ENTITIES section holding the given pairs, closed by ENDSEC and EOF.
inline std::string DxfEntities(const std::string& strBody) {
    return DxfText({"0", "SECTION", "2", "ENTITIES"}) + strBody +
           DxfText({"0", "ENDSEC", "0", "EOF"});
}

/// An LTYPE table with the given linetype names, as a TABLES body part.
inline std::string DxfLtypeTable(std::initializer_list<std::string_view> names) {
    std::string s = DxfText({"0", "TABLE", "2", "LTYPE", "70", "1"});
    for (std::string_view name : names)
        s += DxfText(
            {"0", "LTYPE", "2", name, "70", "0", "3", "", "72", "65", "73", "0", "40", "0.0"});
    return s + DxfText({"0", "ENDTAB"});
}

/// A LAYER table entry with colour and linetype (no group 6 when the linetype is "-").
inline std::string DxfLayerEntry(std::string_view name, std::string_view color,
                                 std::string_view ltype) {
    std::string s = DxfText({"0", "LAYER", "2", name, "70", "0", "62", color});
    if (ltype != "-")
        s += DxfText({"6", ltype});
    return s;
}

/// A TABLES section around the given tables.
inline std::string DxfTables(const std::string& strBody) {
    return DxfText({"0", "SECTION", "2", "TABLES"}) + strBody + DxfText({"0", "ENDSEC"});
}

} // namespace inkvale::test
