// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

namespace inkvale {

/// The file image of "fon_en.bin" built into the program: the bytes of resources/fon_en.bin
/// (made by tools/fontgen), linked in at build time.
std::span<const uint8_t> EmbeddedEnFont();

/// The file image of "fon_hz.bin" built into the program.
std::span<const uint8_t> EmbeddedHzFont();

} // namespace inkvale
