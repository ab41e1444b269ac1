// SPDX-License-Identifier: GPL-3.0-or-later
// marker_gen hpgl FILE [MB]   a garment HP-GL marker (default 30 MB), one polyline a line
// marker_gen dxf FILE [MB]    an AAMA-style R12 DXF marker (default 20 MB), 2.2 m wide
// Writes the inputs that bench/hpgl_vs_hp2xx.sh and bench/dxf_compare.py time; the DXF
// writer prints what it put in the file on standard error.

#include "dxf_aama_file.h"
#include "hpgl_marker_file.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

bool WriteFile(const char* path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: marker_gen hpgl|dxf FILE [MB]\n");
        return 2;
    }
    const bool bDxf = std::strcmp(argv[1], "dxf") == 0;
    const size_t nMb = argc == 4 ? std::strtoul(argv[3], nullptr, 10) : (bDxf ? 20 : 30);
    if (!bDxf)
        return WriteFile(argv[2], inkvale::bench::MakeHpglMarkerFile(nMb * 1000 * 1000)) ? 0 : 1;
    inkvale::bench::CDxfAamaWriter writer(nMb * 1000 * 1000);
    const std::string text = writer.Build();
    const auto& n = writer.Counts();
    std::fprintf(stderr, "%d blocks, %d INSERTs, %d vertices, %d circles, %d texts\n", n.m_nBlocks,
                 n.m_nInserts, n.m_nVertices, n.m_nCircles, n.m_nTexts);
    return WriteFile(argv[2], text) ? 0 : 1;
}
