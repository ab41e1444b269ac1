// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ProfileFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace inkvale {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t\r\v\f";

std::string_view Trim(std::string_view text) {
    const size_t nFirst = text.find_first_not_of(kBlanks);
    if (nFirst == std::string_view::npos)
        return {};
    const size_t nLast = text.find_last_not_of(kBlanks);
    return text.substr(nFirst, nLast - nFirst + 1);
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

// "[Name]" (blanks allowed around and inside the brackets) gives "Name".
std::optional<std::string_view> HeaderName(std::string_view line) {
    const std::string_view text = Trim(line);
    if (text.empty() || text.front() != '[')
        return std::nullopt;
    const size_t nClose = text.find(']');
    if (nClose == std::string_view::npos)
        return std::nullopt;
    return Trim(text.substr(1, nClose - 1));
}

struct CKeyLine {
    std::string_view m_key;
    std::string_view m_value;
};

std::optional<CKeyLine> KeyLine(std::string_view line) {
    const std::string_view text = Trim(line);
    if (text.empty() || text.front() == '[' || text.front() == ';')
        return std::nullopt;
    const size_t nEq = text.find('=');
    if (nEq == std::string_view::npos)
        return std::nullopt;
    const std::string_view key = Trim(text.substr(0, nEq));
    if (key.empty())
        return std::nullopt;
    return CKeyLine{key, Trim(text.substr(nEq + 1))};
}

// Reads a regular file of at most nMax bytes; FIFOs, devices and folders are refused
// (and never block the caller). bMissing tells whether a refusal was for nothing being there.
std::optional<std::string> ReadSmallFile(const std::string& strPath, size_t nMax, bool& bMissing) {
    const int fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    bMissing = fd < 0 && (errno == ENOENT || errno == ENOTDIR);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    std::optional<std::string> text;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        text.emplace();
        char buf[8192];
        for (;;) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 || text->size() + static_cast<size_t>(n) > nMax) {
                text.reset();
                break;
            }
            if (n == 0)
                break;
            text->append(buf, static_cast<size_t>(n));
        }
    }
    ::close(fd);
    return text;
}

bool WriteAll(int fd, const std::string& text) {
    size_t nDone = 0;
    while (nDone < text.size()) {
        const ssize_t n = ::write(fd, text.data() + nDone, text.size() - nDone);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        nDone += static_cast<size_t>(n);
    }
    return true;
}

// Index of the character after the one starting at i: a lead byte with its continuation
// bytes, or a single malformed byte.
size_t NextChar(std::string_view text, size_t i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const size_t nLen = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : c < 0xF8 ? 4 : 1;
    size_t j = i + 1;
    while (j < text.size() && j < i + nLen && (static_cast<unsigned char>(text[j]) & 0xC0) == 0x80)
        ++j;
    return j;
}

} // namespace

CProfileFile::ELoad CProfileFile::LoadFile(const std::string& strPath) {
    bool bMissing = false;
    const std::optional<std::string> text = ReadSmallFile(strPath, kMaxFileBytes, bMissing);
    Parse(text ? *text : std::string_view());
    if (text)
        return ELoad::kRead;
    return bMissing ? ELoad::kMissing : ELoad::kUnreadable;
}

void CProfileFile::Parse(std::string_view text) {
    m_lines.clear();
    m_bBom = text.starts_with(kBom);
    if (m_bBom)
        text.remove_prefix(kBom.size());
    const size_t nFirstLf = text.find('\n');
    m_bCrLf = nFirstLf != std::string_view::npos && nFirstLf > 0 && text[nFirstLf - 1] == '\r';
    while (!text.empty()) {
        const size_t nLf = text.find('\n');
        std::string_view line = text.substr(0, nLf);
        text.remove_prefix(nLf == std::string_view::npos ? text.size() : nLf + 1);
        while (line.ends_with('\r'))
            line.remove_suffix(1);
        m_lines.emplace_back(line);
    }
}

std::string CProfileFile::Text() const {
    std::string text(m_bBom ? kBom : std::string_view());
    const std::string_view eol = m_bCrLf ? "\r\n" : "\n";
    for (const std::string& line : m_lines) {
        text += line;
        text += eol;
    }
    return text;
}

bool CProfileFile::Save(const std::string& strPath) const {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path target = strPath;
    // Saving through a link updates the file it points to, not the link.
    if (fs::is_symlink(target, ec)) {
        target = fs::weakly_canonical(target, ec);
        if (ec)
            return false;
    }
    struct stat st {};
    const bool bExists = ::stat(target.c_str(), &st) == 0;
    if (bExists && (!S_ISREG(st.st_mode) || ::access(target.c_str(), W_OK) != 0))
        return false;
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string strTemp = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(strTemp.data());
    if (fd < 0)
        return false;
    const mode_t mode = bExists ? (st.st_mode & 07777) : 0644;
    bool bOk = WriteAll(fd, Text()) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    bOk = (::close(fd) == 0) && bOk;
    if (bOk && std::rename(strTemp.c_str(), target.c_str()) == 0)
        return true;
    ::unlink(strTemp.c_str());
    return false;
}

size_t CProfileFile::FindSection(std::string_view section) const {
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const auto name = HeaderName(m_lines[i]);
        if (name && EqualNoCase(*name, Trim(section)))
            return i;
    }
    return std::string::npos;
}

size_t CProfileFile::SectionEnd(size_t nHeader) const {
    size_t i = nHeader + 1;
    while (i < m_lines.size() && !HeaderName(m_lines[i]))
        ++i;
    return i;
}

size_t CProfileFile::FindKey(size_t nHeader, std::string_view key) const {
    for (size_t i = nHeader + 1; i < m_lines.size() && !HeaderName(m_lines[i]); ++i) {
        const auto line = KeyLine(m_lines[i]);
        if (line && EqualNoCase(line->m_key, Trim(key)))
            return i;
    }
    return std::string::npos;
}

std::optional<std::string> CProfileFile::Find(std::string_view section,
                                              std::string_view key) const {
    const size_t nHeader = FindSection(section);
    if (nHeader == std::string::npos)
        return std::nullopt;
    const size_t nLine = FindKey(nHeader, key);
    if (nLine == std::string::npos)
        return std::nullopt;
    return std::string(KeyLine(m_lines[nLine])->m_value);
}

std::string CProfileFile::GetString(std::string_view section, std::string_view key,
                                    std::string_view def) const {
    const std::optional<std::string> value = Find(section, key);
    if (!value)
        return std::string(def);
    // Trimmed again after the cuts, so that what is returned is what a save and a load of
    // it give back.
    std::string_view text = *value;
    text = text.substr(0, text.find('\0'));
    return std::string(Trim(CutChars(text, kMaxValueChars)));
}

int32_t CProfileFile::GetInt(std::string_view section, std::string_view key, int32_t def) const {
    const std::optional<std::string> value = Find(section, key);
    if (!value || value->empty())
        return def;
    return ParseInt(*value);
}

void CProfileFile::SetString(std::string_view section, std::string_view key,
                             std::string_view value) {
    value = value.substr(0, value.find_first_of(std::string_view("\n\0", 2)));
    while (value.ends_with('\r'))
        value.remove_suffix(1);
    std::string line = std::string(Trim(key)) + "=" + std::string(value);
    const size_t nHeader = FindSection(section);
    if (nHeader == std::string::npos) {
        if (!m_lines.empty() && !Trim(m_lines.back()).empty())
            m_lines.emplace_back();
        m_lines.push_back("[" + std::string(Trim(section)) + "]");
        m_lines.push_back(std::move(line));
        return;
    }
    const size_t nLine = FindKey(nHeader, key);
    if (nLine != std::string::npos) {
        // The key keeps the spelling the file already has.
        m_lines[nLine] = std::string(KeyLine(m_lines[nLine])->m_key) + "=" + std::string(value);
        return;
    }
    // After the section's last non-blank line, so a blank line before the next header stays.
    size_t nPos = SectionEnd(nHeader);
    while (nPos > nHeader + 1 && Trim(m_lines[nPos - 1]).empty())
        --nPos;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(nPos), std::move(line));
}

void CProfileFile::SetInt(std::string_view section, std::string_view key, int32_t n) {
    SetString(section, key, std::to_string(n));
}

int32_t CProfileFile::ParseInt(std::string_view text) {
    text = Trim(text);
    size_t i = 0;
    bool bNegative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        bNegative = text[i] == '-';
        ++i;
    }
    // Unsigned arithmetic: overlong digit strings wrap instead of overflowing.
    uint32_t n = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        n = n * 10u + static_cast<uint32_t>(text[i] - '0');
    if (bNegative)
        n = 0u - n;
    return static_cast<int32_t>(n);
}

std::string_view CProfileFile::CutChars(std::string_view text, size_t nMax) {
    size_t i = 0;
    for (size_t nChars = 0; i < text.size() && nChars < nMax; ++nChars)
        i = NextChar(text, i);
    return text.substr(0, i);
}

size_t CProfileFile::CountChars(std::string_view text) {
    size_t nChars = 0;
    for (size_t i = 0; i < text.size(); ++nChars)
        i = NextChar(text, i);
    return nChars;
}

} // namespace inkvale
