// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CliCommand.h"

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "model/OnePage.h"
#include "raster/BandJob.h"

#include <memory>
#include <string>

namespace inkvale::cli {

/// A print job prepared exactly as the print engine prepares it, for `render` and `bands`.
struct CCliBandJob {
    CSettings m_settings;
    CMachineParams m_params;
    CBandParams m_bandParams;
    COnePage m_task;
    COnePage m_work;
    std::unique_ptr<CBandJob> m_pJob;
};

/// Parses "FILE -o OUT", loads FILE as a task with the settings of the home folder and the
/// parameter block's built-in defaults, prepares the working page and counts the job.
/// Returns kExitOk, or the exit status after printing the message.
int PrepareCliBandJob(const CCliContext& ctx, const char* pszCommand, CCliBandJob& job,
                      std::string& strOut);

/// Makes the font database available (offscreen platform) for the cleaning and label bands.
void EnsureCliFonts();

} // namespace inkvale::cli
