#pragma once

#include "SimSheet.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace inkvale {
class CMachineParams;
struct CBandParams;
} // namespace inkvale

namespace inkvale::sim {

/// The head layout the machine prints with, from its own parameter block (the host's
/// settings for the special bands are unknown to the machine and left off).
CBandParams MachineBandParams(const CMachineParams& params);

/// Words of one band's column image: (JobWidth + 30) columns of 22 or 44 words.
size_t ColumnImageWords(const CMachineParams& params, int32_t nJobWidth);

/// Puts the received bands on a sheet as the nozzles print them: every record of column c,
/// lane h lands in row c - (lane offset of the band's direction), its fired nozzles at feed
/// pixels off(j) + the nozzle's pixel. bands[j] empty means band j never arrived.
CSimSheetImage AssembleSheet(const CMachineParams& params, int32_t nJobWidth,
                             const std::vector<std::vector<uint8_t>>& bands);

} // namespace inkvale::sim
