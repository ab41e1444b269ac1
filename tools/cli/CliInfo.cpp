// SPDX-License-Identifier: GPL-3.0-or-later
// inkvale-cli info FILE [--json]: the preflight of one drawing: its size, bands, paper,
// print time and ink, and what would go wrong, as text or as one JSON object.

#include "CliCommand.h"
#include "CliText.h"

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "config/SettingsStore.h"
#include "model/OnePage.h"
#include "model/TaskDrawingLoader.h"
#include "queue/Preflight.h"
#include "support/TextCodec.h"

#include <cstdio>
#include <string>

namespace inkvale::cli {

namespace {

std::string Duration(double dSeconds) {
    const long n = static_cast<long>(dSeconds + 0.5);
    char sz[32];
    std::snprintf(sz, sizeof sz, "%ld:%02ld:%02ld", n / 3600, n / 60 % 60, n % 60);
    return sz;
}

void PrintText(const std::string& strFile, const CPreflight& p, int32_t nLanguage) {
    const CPreflightFigures& f = p.m_figures;
    std::printf("file %s\n", strFile.c_str());
    std::printf("size %.1f x %.1f mm (%.2f m x %.2f m, length x width)\n", f.m_dLengthMm,
                f.m_dWidthMm, f.m_dLengthMm / 1000.0, f.m_dWidthMm / 1000.0);
    std::printf("bands %lld\n", static_cast<long long>(f.m_nBands));
    std::printf("paper %.2f m\n", f.m_dPaperMm / 1000.0);
    std::printf("time %s (%.0f s)\n", Duration(f.m_dSeconds).c_str(), f.m_dSeconds);
    std::printf("ink ml %.3f %.3f %.3f %.3f (%lld dots)\n", f.m_arrInkMl[0], f.m_arrInkMl[1],
                f.m_arrInkMl[2], f.m_arrInkMl[3], static_cast<long long>(f.m_nDots));
    std::printf("warnings %zu\n", p.m_arrWarnings.size());
    for (const CPreflightWarning& w : p.m_arrWarnings)
        std::printf("%s %s: %s\n", w.m_bBlocking ? "blocking" : "warning",
                    PreflightKindName(w.m_eKind), CliText(w.m_message, nLanguage).c_str());
}

void PrintJson(const std::string& strFile, const CPreflight& p) {
    const CPreflightFigures& f = p.m_figures;
    std::printf("{\"schema\": 1, \"file\": %s, ", JsonString(strFile).c_str());
    std::printf("\"length_mm\": %.1f, \"width_mm\": %.1f, \"bands\": %lld, \"paper_m\": %.3f, ",
                f.m_dLengthMm, f.m_dWidthMm, static_cast<long long>(f.m_nBands),
                f.m_dPaperMm / 1000.0);
    std::printf("\"time_s\": %.1f, \"dots\": %lld, \"ink_ml\": [%.4f, %.4f, %.4f, %.4f], ",
                f.m_dSeconds, static_cast<long long>(f.m_nDots), f.m_arrInkMl[0], f.m_arrInkMl[1],
                f.m_arrInkMl[2], f.m_arrInkMl[3]);
    std::printf("\"blocking\": %s, \"warnings\": [", p.Blocking() ? "true" : "false");
    for (size_t i = 0; i < p.m_arrWarnings.size(); ++i) {
        const CPreflightWarning& w = p.m_arrWarnings[i];
        std::printf("%s{\"kind\": \"%s\", \"blocking\": %s, \"text\": %s}", i == 0 ? "" : ", ",
                    PreflightKindName(w.m_eKind), w.m_bBlocking ? "true" : "false",
                    JsonString(CliEnglishText(w.m_message)).c_str());
    }
    std::printf("]}\n");
}

std::string FileNameOf(const std::string& strPath) {
    const size_t nSlash = strPath.rfind('/');
    return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

} // namespace

void SetPrintableWidth(CSettings& settings) {
    CMachineParams params;
    params.ResetMachineParams();
    // A millimetre less than the limit: the job's width is rounded to whole dots.
    const double dWidest = WidestPrintableDrawingMm(settings, params) - 1.0;
    settings.m_nPrintableWidthMm = dWidest >= 1.0 ? static_cast<int32_t>(dWidest) : 0;
}

int RunInfo(const CCliContext& ctx) {
    std::string strFile;
    bool bJson = false;
    for (const std::string& a : ctx.m_args) {
        if (a == "--json" && !bJson)
            bJson = true;
        else if (strFile.empty() && !a.starts_with("-"))
            strFile = a;
        else
            return CommandUsageError("info");
    }
    if (strFile.empty())
        return CommandUsageError("info");
    CSettings settings;
    CMachineParams params;
    const CSettingsLoadResult settingsRead = LoadSettings(settings, params, ctx.m_strHome);
    PrintMessages(settingsRead, settings.Language);
    params.ResetMachineParams();
    SetPrintableWidth(settings);
    COnePage page;
    page.m_strPath = strFile;
    page.m_strName = FileNameOf(strFile);
    const CTaskLoadResult result = LoadTaskDrawing(page, settings, true);
    // A drawing with nothing to print is a finding of the preflight, not an error.
    if (!result.Ok() && result.m_nCode != kLoadEmpty) {
        PrintMessages(result, settings.Language);
        std::fprintf(stderr, "inkvale-cli info: %s\n", result.m_strDiag.c_str());
        return kExitFailed;
    }
    const CPreflight preflight = RunPreflight(page, settings, params);
    if (bJson)
        PrintJson(strFile, preflight);
    else
        PrintText(strFile, preflight, settings.Language);
    return kExitOk;
}

} // namespace inkvale::cli
