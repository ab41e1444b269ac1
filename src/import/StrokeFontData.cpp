// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/StrokeFontData.h"

// The two font files of resources/ are linked in byte for byte: the assembler copies each
// file into read-only data between two labels, so the program carries the very files that
// are shipped and no generated copy of them has to be kept in the source tree. The build
// passes the files' paths (INKVALE_FON_EN_PATH, INKVALE_FON_HZ_PATH) and rebuilds this
// file when either changes.

#define INKVALE_EMBED_FILE(name, path)                                                             \
    __asm__(".pushsection .rodata.inkvale_" #name ",\"a\",@progbits\n"                             \
            ".balign 16\n"                                                                         \
            ".globl inkvale_" #name "_begin\n"                                                     \
            ".hidden inkvale_" #name "_begin\n"                                                    \
            "inkvale_" #name "_begin:\n"                                                           \
            ".incbin \"" path "\"\n"                                                               \
            ".globl inkvale_" #name "_end\n"                                                       \
            ".hidden inkvale_" #name "_end\n"                                                      \
            "inkvale_" #name "_end:\n"                                                             \
            ".popsection\n")

INKVALE_EMBED_FILE(fon_en, INKVALE_FON_EN_PATH);
INKVALE_EMBED_FILE(fon_hz, INKVALE_FON_HZ_PATH);

extern "C" {
extern const uint8_t inkvale_fon_en_begin[];
extern const uint8_t inkvale_fon_en_end[];
extern const uint8_t inkvale_fon_hz_begin[];
extern const uint8_t inkvale_fon_hz_end[];
}

namespace inkvale {

std::span<const uint8_t> EmbeddedEnFont() {
    return {inkvale_fon_en_begin, inkvale_fon_en_end};
}

std::span<const uint8_t> EmbeddedHzFont() {
    return {inkvale_fon_hz_begin, inkvale_fon_hz_end};
}

} // namespace inkvale
