// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target of the settings file reader: any bytes must parse, every settings key must
// read, and what is written back must read back to the same settings.
#include "config/MachineParams.h"
#include "config/Settings.h"
#include "config/SettingsStore.h"
#include "support/ProfileFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using namespace inkvale;

// The 37 stored keys of `settings` as a fresh file's text.
std::string StoredText(const CSettings& settings, const CMachineParams& params) {
    CProfileFile ini;
    WriteSettings(ini, settings, params);
    return ini.Text();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    CProfileFile ini;
    ini.Parse(input);

    CSettings first;
    CMachineParams firstParams;
    ReadSettings(ini, first, firstParams);

    // Save into the same file (keeping its other lines), load again: nothing may change.
    WriteSettings(ini, first, firstParams);
    CProfileFile reread;
    reread.Parse(ini.Text());
    CSettings second;
    CMachineParams secondParams;
    ReadSettings(reread, second, secondParams);
    if (StoredText(first, firstParams) != StoredText(second, secondParams))
        std::abort();

    // The text of a parsed file parses to itself.
    const std::string text = reread.Text();
    CProfileFile again;
    again.Parse(text);
    if (again.Text() != text)
        std::abort();
    return 0;
}
