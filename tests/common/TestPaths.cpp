// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/TestPaths.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

namespace inkvale::test {

std::filesystem::path SourceDir() {
    return INKVALE_SOURCE_DIR;
}

std::filesystem::path DataDir() {
    return INKVALE_TEST_DATA_DIR;
}

std::filesystem::path CorpusDir() {
    return DataDir() / "corpus";
}

namespace {

// Hot-folder files that a test's queue removes go to the desktop trash: the tests' own,
// in the temporary folder, never the trash of the person running them.
void KeepTrashOutOfHome(const std::filesystem::path& base) {
    static const bool bDone = [&] {
        const char* pszData = std::getenv("XDG_DATA_HOME");
        const char* pszHome = std::getenv("HOME");
        if (pszData == nullptr || *pszData == '\0' ||
            (pszHome != nullptr && *pszHome != '\0' && std::string(pszData).starts_with(pszHome)))
            ::setenv("XDG_DATA_HOME", (base / "inkvale-test-data-home").c_str(), 1);
        return true;
    }();
    (void)bDone;
}

} // namespace

CScratchDir::CScratchDir() {
    KeepTrashOutOfHome(std::filesystem::temp_directory_path());
    std::random_device rd;
    std::mt19937_64 rng(rd());
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        std::ostringstream name;
        name << "inkvale-test-" << std::hex << rng();
        m_path = base / name.str();
        std::error_code ec;
        if (std::filesystem::create_directory(m_path, ec))
            return;
    }
}

CScratchDir::~CScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace inkvale::test
