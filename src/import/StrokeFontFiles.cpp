// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/StrokeFontFiles.h"

#include "import/StrokeFontData.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>
#include <system_error>
#include <unistd.h>

namespace inkvale {

namespace {

void EnsureOneFile(const std::string& strPath, std::span<const uint8_t> bytes) {
    std::error_code ec;
    if (std::filesystem::exists(strPath, ec) || ec)
        return;
    // The process id keeps two programs starting together from sharing a temporary file,
    // and the count two threads of one program (two loads at once).
    static std::atomic<unsigned> nextTemp{0};
    const std::string strTemp =
        strPath + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(nextTemp.fetch_add(1));
    std::ofstream out(strTemp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out || std::rename(strTemp.c_str(), strPath.c_str()) != 0)
        std::filesystem::remove(strTemp, ec);
}

} // namespace

std::string FontFilePath(const std::string& strAppDir, const char* pszName) {
    if (strAppDir.empty() || strAppDir.back() == '/')
        return strAppDir + pszName;
    return strAppDir + "/" + pszName;
}

void EnsureFontFiles(const std::string& strAppDir) {
    EnsureOneFile(FontFilePath(strAppDir, kEnFontFile), EmbeddedEnFont());
    EnsureOneFile(FontFilePath(strAppDir, kHzFontFile), EmbeddedHzFont());
}

} // namespace inkvale
