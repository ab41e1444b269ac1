// SPDX-License-Identifier: GPL-3.0-or-later
// inkvale-samplegen: writes the sample markers of samples/ (see samples/README.md). The
// output depends only on this program and on glibc's GB2312 converter, so running it again
// gives the same bytes.

#include "MarkerWriters.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace inkvale::samplegen {

namespace {

enum class EFormat { Hpgl, Dxf };

struct CSample {
    const char* pszName;
    EFormat eFormat;
    double dWidthMm;
    std::vector<std::string> arrSizes; // one entry per garment
};

// The garments of each marker are chosen so that it comes out at the length of a usual
// cutting-table lay: about 6 m for the main marker.
const std::vector<CSample>& Samples() {
    static const std::vector<CSample> samples = {
        {"marker.plt", EFormat::Hpgl, 1600.0, {"S", "M", "L", "XL"}},
        {"marker.dxf", EFormat::Dxf, 1600.0, {"M", "L"}},
        {"marker-wide.plt", EFormat::Hpgl, 2600.0, {"S", "M", "L", "XL", "XXL"}},
    };
    return samples;
}

size_t CountVertices(const CMarker& m) {
    size_t n = 0;
    for (const CPlacedPiece& p : m.arrPlaced)
        n += m.arrPieces[p.nPiece].outline.size();
    return n;
}

int Run(int argc, char** argv) {
    std::string strOutDir = "samples";
    if (argc == 3 && std::strcmp(argv[1], "--out-dir") == 0) {
        strOutDir = argv[2];
    } else if (argc != 1) {
        std::fprintf(stderr, "usage: inkvale-samplegen [--out-dir DIR]   (default: samples)\n");
        return 2;
    }
    for (const CSample& s : Samples()) {
        const CMarker marker = NestMarker(s.arrSizes, s.dWidthMm);
        const std::string path = strOutDir + "/" + s.pszName;
        std::string error;
        const bool bOk = s.eFormat == EFormat::Hpgl ? WriteHpglMarker(marker, path, error)
                                                    : WriteDxfMarker(marker, path, error);
        if (!bOk) {
            std::fprintf(stderr, "inkvale-samplegen: %s\n", error.c_str());
            return 1;
        }
        std::printf("%s: %.0f x %.0f mm, %zu pieces (%zu outline vertices), efficiency %.1f%%\n",
                    path.c_str(), marker.dWidthMm, marker.dLengthMm, marker.arrPlaced.size(),
                    CountVertices(marker), marker.Efficiency() * 100.0);
    }
    return 0;
}

} // namespace

} // namespace inkvale::samplegen

int main(int argc, char** argv) {
    return inkvale::samplegen::Run(argc, argv);
}
