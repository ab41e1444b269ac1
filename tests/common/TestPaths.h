// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

namespace inkvale::test {

/// Top folder of the source tree.
std::filesystem::path SourceDir();

/// Folder of the small fixtures in tests/data.
std::filesystem::path DataDir();

/// Folder of the real-world HP-GL and DXF files copied from public projects (hpgl/, dxf/);
/// tests/data/corpus/SOURCES.md gives each file's source and licence.
std::filesystem::path CorpusDir();

/// A fresh empty folder under the system's temporary folder, removed when the object dies.
class CScratchDir {
public:
    CScratchDir();
    ~CScratchDir();
    CScratchDir(const CScratchDir&) = delete;
    CScratchDir& operator=(const CScratchDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    /// Path of a file inside the folder, as a string with '/' separators.
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

/// Whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);

/// Writes bytes to a file, replacing it; false when it cannot be written.
bool WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

} // namespace inkvale::test
