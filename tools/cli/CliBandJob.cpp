// SPDX-License-Identifier: GPL-3.0-or-later
// The job preparation shared by `render` and `bands`.

#include "CliBandJob.h"

#include "CliText.h"

#include "config/SettingsStore.h"
#include "geometry/SizeRatio.h"
#include "machine/engine/JobSetup.h"
#include "machine/link/MachineLinks.h"
#include "model/TaskDrawingLoader.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace inkvale::cli {

void EnsureCliFonts() {
    static QGuiApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char arg0[] = "inkvale-cli";
        static char* argv[] = {arg0, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

namespace {

std::string NameOf(const std::string& path) {
    const size_t n = path.find_last_of('/');
    return n == std::string::npos ? path : path.substr(n + 1);
}

} // namespace

int PrepareCliBandJob(const CCliContext& ctx, const char* pszCommand, CCliBandJob& job,
                      std::string& strOut) {
    std::string file;
    bool bFromMachine = false;
    for (size_t i = 0; i < ctx.m_args.size(); ++i) {
        const std::string& a = ctx.m_args[i];
        if (a == "-o" && i + 1 < ctx.m_args.size()) {
            strOut = ctx.m_args[++i];
        } else if (a == "--from-machine") {
            bFromMachine = true;
        } else if (file.empty() && !a.starts_with("-")) {
            file = a;
        } else {
            file.clear();
            break;
        }
    }
    if (file.empty() || strOut.empty())
        return CommandUsageError(pszCommand);
    const CSettingsLoadResult settingsRead =
        LoadSettings(job.m_settings, job.m_params, ctx.m_strHome);
    PrintMessages(settingsRead, job.m_settings.Language);
    job.m_params.ResetMachineParams();
    // The block the machine holds, as the program reads it when the machine comes online.
    if (std::string strError;
        bFromMachine && !ReadParamsFromMachine(job.m_settings, job.m_params, strError)) {
        std::fprintf(stderr, "inkvale-cli %s: %s\n", pszCommand, strError.c_str());
        return kExitFailed;
    }
    job.m_task.m_strPath = file;
    job.m_task.m_strName = NameOf(file);
    const CTaskLoadResult loaded = LoadTaskDrawing(job.m_task, job.m_settings, true);
    if (!loaded.Ok()) {
        PrintMessages(loaded, job.m_settings.Language);
        if (!loaded.m_strDiag.empty())
            std::fprintf(stderr, "inkvale-cli %s: %s\n", pszCommand, loaded.m_strDiag.c_str());
        return kExitFailed;
    }
    PrepareWorkPage(job.m_work, job.m_task, job.m_settings, job.m_params);
    job.m_bandParams = MakeBandParams(job.m_params, job.m_settings);
    job.m_pJob = std::make_unique<CBandJob>(job.m_work, job.m_bandParams);
    if (!job.m_pJob->FitsBuffers()) {
        std::fprintf(stderr, "inkvale-cli %s: JobWidth %d exceeds the 28000 columns of a band\n",
                     pszCommand, job.m_pJob->JobWidth());
        return kExitFailed;
    }
    EnsureCliFonts();
    return kExitOk;
}

} // namespace inkvale::cli
