// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

namespace inkvale {

/// CRC-32C (Castagnoli, as iSCSI and ext4 use it) of the bytes, continued from nCrc (the
/// value of the bytes before, 0 for none): the checksum of each job ledger record.
uint32_t Crc32c(std::span<const uint8_t> bytes, uint32_t nCrc = 0);

} // namespace inkvale
