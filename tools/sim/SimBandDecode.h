// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SimSheet.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace inkvale {
class CMachineParams;
struct CBandParams;
class CBandSheet;
} // namespace inkvale

namespace inkvale::sim {

/// The head layout the machine prints with, from its own parameter block (the host's
/// settings for the special bands are unknown to the machine and left off).
CBandParams MachineBandParams(const CMachineParams& params);

/// Words of one band's column image: (JobWidth + 30) columns of 22 or 44 words.
size_t ColumnImageWords(const CMachineParams& params, int32_t nJobWidth);

/// The sheet a job of these bands prints: bands[j] is band j's data (empty: it never
/// arrived), each decoded as the machine's nozzles print it.
CSimSheetImage AssembleSheet(const CMachineParams& params, int32_t nJobWidth,
                             const std::vector<std::vector<uint8_t>>& bands);

/// The printed sheet as a plain image for inspection and the PNG.
CSimSheetImage SheetImage(const CBandSheet& sheet);

} // namespace inkvale::sim
