// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace inkvale {

/// A Windows-style profile file ("ini"): "[Section]" header lines and "Key=Value" lines.
///
/// Reading: section and key names are compared ASCII case-insensitively with surrounding
/// blanks ignored; the first matching section and, inside it, the first matching key win
/// (later duplicates are ignored); lines before any header, lines without '=', comment
/// lines starting with ';' and any other garbage are kept but never match. A value is the
/// text after the first '=', cut at the first NUL byte and after 4095 characters (UTF-8
/// characters; a byte that does not start a well-formed sequence counts as one), without
/// surrounding blanks (space, tab, CR, VT, FF).
///
/// Writing replaces a key's line in place, or appends the key after the last non-blank
/// line of its section, or appends the section at the end of the file. All other lines,
/// the line-ending style (CRLF or LF) and a UTF-8 byte-order mark are kept. Texts are
/// stored byte for byte; new files are UTF-8 with LF line ends.
class CProfileFile {
public:
    /// Longest text value returned, in characters.
    static constexpr size_t kMaxValueChars = 4095;
    /// Files larger than this are treated as unreadable (a settings file is a few KiB).
    static constexpr size_t kMaxFileBytes = 1u << 20;

    /// What LoadFile found at a path.
    enum class ELoad {
        kRead,       ///< a regular file of at most kMaxFileBytes, read whole
        kMissing,    ///< nothing there (a link to nothing counts as nothing)
        kUnreadable, ///< something that is not a readable settings file: too large, not a
                     ///< regular file (a folder, a FIFO, a device), no permission, a read error
    };

    /// Reads the file. A missing, unreadable or oversized file leaves the profile empty.
    /// Tells a missing file, which simply means no settings yet, from one that is there but
    /// cannot be read, which may hold settings that must not be lost.
    ELoad LoadFile(const std::string& strPath);
    /// LoadFile; true when the file was read.
    bool Load(const std::string& strPath) { return LoadFile(strPath) == ELoad::kRead; }
    /// Replaces the contents with `text` (any bytes).
    void Parse(std::string_view text);
    /// The whole file as it would be saved.
    std::string Text() const;
    /// Writes Text() to a temporary file in the same folder and renames it over `strPath`,
    /// so the old file stays intact on any failure. An existing file that is not writable
    /// is left alone. Returns true when the new contents are in place.
    bool Save(const std::string& strPath) const;

    /// The raw value of a key, or nothing when the section or key is missing.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    /// The value of a key, or `def` when the section or key is missing.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view def) const;
    /// The integer of a key: an optional sign and the leading decimal digits ("12ab" is 12,
    /// "ab" is 0). A missing key or an empty value gives `def`. Digits beyond the 32-bit
    /// range wrap modulo 2^32 (as the Windows profile functions do), so "4294967295" is -1
    /// and "3355443327" is -939523969; nothing overflows.
    int32_t GetInt(std::string_view section, std::string_view key, int32_t def) const;

    /// Stores "key=value". The value is cut at its first LF or NUL so that the file keeps
    /// one line per key; blanks around it are lost on the next read.
    void SetString(std::string_view section, std::string_view key, std::string_view value);
    /// Stores the integer as signed decimal text.
    void SetInt(std::string_view section, std::string_view key, int32_t n);

    /// Parses an integer value by the GetInt rule (empty text gives 0).
    static int32_t ParseInt(std::string_view text);
    /// `text` cut after `nMax` UTF-8 characters.
    static std::string_view CutChars(std::string_view text, size_t nMax);
    /// Number of UTF-8 characters, counted as CutChars counts them.
    static size_t CountChars(std::string_view text);

private:
    /// Index of the first header line of `section`, or npos.
    size_t FindSection(std::string_view section) const;
    /// Index of the first line of `key` in the section starting at nHeader, or npos.
    size_t FindKey(size_t nHeader, std::string_view key) const;
    /// Index just past the last line of the section starting at nHeader.
    size_t SectionEnd(size_t nHeader) const;

    std::vector<std::string> m_lines; ///< lines without their line ends
    bool m_bCrLf = false;             ///< the file's lines end in CR LF
    bool m_bBom = false;              ///< the file starts with a UTF-8 byte-order mark
};

} // namespace inkvale
