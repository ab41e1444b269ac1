// SPDX-License-Identifier: GPL-3.0-or-later
// inkvale-fontgen: builds the two stroke-font files of the program from a Hershey font
// (single-byte font, ASCII) and GNU Unifont (double-byte font, GB2312), and the C++ source
// that embeds them. See README.md for the sources and their licences.

#include "HersheyFont.h"
#include "PixelTracer.h"
#include "ShapeEncoder.h"
#include "UnifontGb2312.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace inkvale::fontgen {

namespace {

// Single-byte font: the Hershey grid is kept 1:1, capitals 21 units above the baseline and
// descenders down to 7 below; the em is 5 + 21 = 26 units.
constexpr uint16_t kEnDescent = 5;
constexpr uint16_t kEnCapHeight = 21;
constexpr uint16_t kEnDescender = 7;
// Double-byte font: 16 x 16 pixel cells, advance 16, em 16.
constexpr uint16_t kHzAdvance = 16;
constexpr uint16_t kHzEm = 16;

struct COptions {
    std::string strHershey = "/usr/share/hershey-fonts/rowmans.jhf";
    std::string strUnifont = "/usr/share/unifont/unifont.hex";
    std::string strOutDir = "resources";
};

bool ParseArgs(int argc, char** argv, COptions& opt) {
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--hershey") == 0)
            opt.strHershey = argv[i + 1];
        else if (std::strcmp(argv[i], "--unifont") == 0)
            opt.strUnifont = argv[i + 1];
        else if (std::strcmp(argv[i], "--out-dir") == 0)
            opt.strOutDir = argv[i + 1];
        else
            return false;
    }
    return argc % 2 == 1;
}

bool WriteFile(const std::string& path, const void* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) {
        std::fprintf(stderr, "inkvale-fontgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

bool BuildHzFont(const std::string& strUnifont, CFontImage& font) {
    const auto bitmaps = ReadUnifontHex(strUnifont);
    CGb2312Decoder decoder;
    if (bitmaps.empty() || !decoder.IsOpen()) {
        std::fprintf(stderr, "inkvale-fontgen: cannot read %s or open iconv GB2312\n",
                     strUnifont.c_str());
        return false;
    }
    font = {false, kHzAdvance, kHzEm, 0, {}};
    for (int hi = 0xA1; hi <= 0xF7; ++hi) {
        for (int lo = 0xA1; lo <= 0xFE; ++lo) {
            const uint32_t cp = decoder.Decode(static_cast<uint8_t>(hi), static_cast<uint8_t>(lo));
            const auto it = bitmaps.find(cp);
            if (cp == 0 || it == bitmaps.end())
                continue;
            CGlyph g;
            g.m_nCode = static_cast<uint16_t>(hi << 8 | lo);
            g.m_arrStrokes = TraceBitmap(it->second);
            font.m_arrGlyphs.push_back(std::move(g));
        }
    }
    return true;
}

} // namespace

int Main(int argc, char** argv) {
    COptions opt;
    if (!ParseArgs(argc, argv, opt)) {
        std::fprintf(stderr, "usage: inkvale-fontgen [--hershey FILE.jhf] [--unifont FILE.hex] "
                             "[--out-dir DIR]\n");
        return 2;
    }
    std::string strError;
    CFontImage en{true, kEnDescent, kEnCapHeight, kEnDescender, {}};
    en.m_arrGlyphs = ReadHersheyAscii(opt.strHershey, kEnCapHeight, strError);
    CFontImage hz;
    if (en.m_arrGlyphs.empty()) {
        std::fprintf(stderr, "inkvale-fontgen: %s\n", strError.c_str());
        return 1;
    }
    if (!BuildHzFont(opt.strUnifont, hz))
        return 1;
    const std::vector<uint8_t> enBytes = BuildFontFile(en);
    const std::vector<uint8_t> hzBytes = BuildFontFile(hz);
    std::printf("fon_en.bin: %zu glyphs, %zu bytes\nfon_hz.bin: %zu glyphs, %zu bytes\n",
                en.m_arrGlyphs.size(), enBytes.size(), hz.m_arrGlyphs.size(), hzBytes.size());
    const bool bWritten =
        WriteFile(opt.strOutDir + "/fon_en.bin", enBytes.data(), enBytes.size()) &&
        WriteFile(opt.strOutDir + "/fon_hz.bin", hzBytes.data(), hzBytes.size());
    return bWritten ? 0 : 1;
}

} // namespace inkvale::fontgen

int main(int argc, char** argv) {
    return inkvale::fontgen::Main(argc, argv);
}
