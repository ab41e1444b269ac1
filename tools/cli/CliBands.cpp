// SPDX-License-Identifier: GPL-3.0-or-later
// inkvale-cli bands FILE -o DIR: each band's data as sent (band-0000.bin ...) and job.txt.

#include "CliBandJob.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace inkvale::cli {

namespace {

bool WriteFile(const std::filesystem::path& path, const void* p, size_t n) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(static_cast<const char*>(p), static_cast<std::streamsize>(n));
    return static_cast<bool>(f);
}

} // namespace

int RunBands(const CCliContext& ctx) {
    CCliBandJob job;
    std::string out;
    if (const int status = PrepareCliBandJob(ctx, "bands", job, out); status != kExitOk)
        return status;
    std::error_code ec;
    const std::filesystem::path dir(out);
    std::filesystem::create_directories(dir, ec);
    CBandJob& bands = *job.m_pJob;
    const std::string head = "JobWidth " + std::to_string(bands.JobWidth()) + "\nBandCount " +
                             std::to_string(bands.BandCount()) + "\n";
    if (!WriteFile(dir / "job.txt", head.data(), head.size())) {
        std::fprintf(stderr, "inkvale-cli bands: cannot write %s\n", (dir / "job.txt").c_str());
        return kExitFailed;
    }
    for (int64_t j = 0; j < bands.BandCount(); ++j) {
        const CBandOutput r = bands.RenderBand(j);
        if (!r.Ok()) {
            std::fprintf(stderr, "inkvale-cli bands: band %lld: %s\n", static_cast<long long>(j),
                         r.m_strDiag.c_str());
            return kExitFailed;
        }
        char name[32];
        std::snprintf(name, sizeof name, "band-%04lld.bin", static_cast<long long>(j));
        if (!WriteFile(dir / name, r.m_data.data(), r.m_data.size())) {
            std::fprintf(stderr, "inkvale-cli bands: cannot write %s\n", (dir / name).c_str());
            return kExitFailed;
        }
    }
    std::fputs(head.c_str(), stdout);
    return kExitOk;
}

} // namespace inkvale::cli
